#include "calc/fields.h"

#include <array>

namespace calc {

namespace {

using enum FieldRole;

constexpr std::string_view kMPa = "MPa";
constexpr std::string_view kKgPerM3 = "kg/m³";
constexpr std::string_view kGPerCm3 = "g/cm³";

// Text1..Text33 at index n - 1, then the four option buttons in the order of
// Option, then the two check boxes in the order of Check.
constexpr auto kFields = std::to_array<FieldInfo>({
    {"Text1", "混凝土强度等级(Fcu,k)", "fcu,k", kMPa, "15～60", Input,
     "混凝土立方体抗压强度标准值（强度等级）"},
    {"Text2", "混凝土配置强度", "fcu,0", kMPa, "20～70", ComputedIfEmpty,
     "混凝土配制强度 fcu,0 = fcu,k + 1.645σ"},
    {"Text3", "σ取值", "σ", kMPa, "3～6", Input, "混凝土强度标准差"},
    {"Text4", "水泥用量", "mc0", kKgPerM3, "260～550", ComputedIfEmpty,
     "每立方米混凝土的水泥用量 mc0 = mw0 / (W/C)，求出时不小于 260 kg"},
    {"Text5", "水泥28天强度", "fce,g", kMPa, "32.5～62.5", Input, "水泥 28 天胶砂抗压强度"},
    {"Text6", "A", "αa", {}, "0.46～0.53", Input, "水灰比公式的回归系数 αa"},
    {"Text7", "B", "αb", {}, "0.07～0.33", Input, "水灰比公式的回归系数 αb"},
    {"Text8",
     "水灰比",
     "W/C",
     {},
     "0.30～0.65",
     ComputedIfEmpty,
     "水灰比 W/C = αa·fce / (fcu,0 + αa·αb·fce)"},
    {"Text9", "富裕系数", "γc", {}, "1.00～1.16", Input, "水泥强度富余系数（fce = γc · fce,g）"},
    {"Text10", "灰水比", "C/W", {}, "1.5～3.3", ComputedIfEmpty, "灰水比 C/W = 1 / (W/C)"},
    {"Text11", "每立方米水泥用量", "mc", kKgPerM3, {}, Result, "每立方米混凝土的水泥用量"},
    {"Text12", "每立方米砂用量", "ms", kKgPerM3, {}, Result, "每立方米混凝土的砂用量"},
    {"Text13", "每立方米石子用量", "mg", kKgPerM3, {}, Result, "每立方米混凝土的石子用量"},
    {"Text14", "每立方米用水量", "mw", kKgPerM3, {}, Result, "每立方米混凝土的用水量"},
    {"Text15", "砂率", "βs", {}, "0.26～0.44", Input, "砂率，砂占砂石总质量的比例（0.36 即 36%）"},
    {"Text16", "石子", {}, {}, {}, RecordedOnly, "“确定砂率”栏中的石子"},
    {"Text17", "砂子", {}, {}, {}, RecordedOnly, "“确定砂率”栏中的砂子"},
    {"Text18", "水泥密度", "ρc", kGPerCm3, "2.9～3.1", Input, "水泥密度"},
    {"Text19", "砂密度", "ρs", kGPerCm3, "2.6～2.7", RecordedOnly, "砂的密度"},
    {"Text20", "砼密度", "mcp", kKgPerM3, "2350～2450", Input,
     "混凝土拌合物的假定表观密度（每立方米的质量），质量法用"},
    {"Text21",
     "砂子w",
     "ws",
     {},
     "0～0.07",
     Input,
     "砂的含水率（0.03 即 3%）；与石子含水率都填写时，按含水率调整用量"},
    {"Text22", "石子密度", "ρg", kGPerCm3, "2.6～2.8", Input, "石子密度"},
    {"Text23", "水密度", "ρw", kGPerCm3, "1", Input, "水的密度"},
    {"Text24",
     "石子w",
     "wg",
     {},
     "0～0.02",
     Input,
     "石子的含水率（0.01 即 1%）；与砂子含水率都填写时，按含水率调整用量"},
    {"Text25", "砼含气量", "α", "%", "1～6", Input, "混凝土含气量（每 1% 占每立方米中的 10 升）"},
    {"Text26", "用水量", "mw0", kKgPerM3, "150～230", Input, "单位用水量，每立方米混凝土的用水量"},
    {"Text27", "维勃稠度", {}, "s", "5～20", RecordedOnly, "混凝土拌合物的维勃稠度"},
    {"Text28", "塌落度", {}, "mm", "10～90", RecordedOnly, "混凝土拌合物的坍落度"},
    {"Text29", "石子粒径", {}, "mm", "10～40", RecordedOnly, "石子的最大粒径"},
    {"Text30", "配合比中的水泥", {}, {}, {}, Result, "配合比中的水泥，恒为 1"},
    {"Text31", "配合比中的砂", {}, {}, {}, Result, "配合比中的砂：砂用量 / 水泥用量"},
    {"Text32", "配合比中的石子", {}, {}, {}, Result, "配合比中的石子：石子用量 / 水泥用量"},
    {"Text33", "配合比中的水", {}, {}, {}, Result, "配合比中的水：用水量 / 水泥用量"},

    {"option1", "体积法", {}, {}, {}, Input, "用体积法计算砂石用量"},
    {"option2", "质量法", {}, {}, {}, Input, "用质量法计算砂石用量（按砼密度）"},
    {"细砂", "细砂", {}, {}, {}, RecordedOnly, "砂为细砂"},
    {"粗砂", "粗砂", {}, {}, {}, RecordedOnly, "砂为粗砂"},

    {"卵石", "卵石", {}, {}, {}, RecordedOnly, "石子为卵石"},
    {"碎石", "碎石", {}, {}, {}, RecordedOnly, "石子为碎石"},
});

constexpr std::size_t kOptionsAt = kTextFieldCount;
constexpr std::size_t kChecksAt = kOptionsAt + kOptionCount;
static_assert(kFields.size() == kChecksAt + kCheckCount);

} // namespace

const FieldInfo& fieldInfo(TextField field) {
    return kFields[static_cast<std::size_t>(field) - 1];
}

const FieldInfo& fieldInfo(Option option) {
    return kFields[kOptionsAt + static_cast<std::size_t>(option)];
}

const FieldInfo& fieldInfo(Check check) {
    return kFields[kChecksAt + static_cast<std::size_t>(check)];
}

std::span<const FieldInfo> sheetFields() {
    return kFields;
}

const FieldInfo* findField(std::string_view name) {
    for (const FieldInfo& info : kFields) {
        if (info.name == name) {
            return &info;
        }
    }
    return nullptr;
}

std::string_view roleName(FieldRole role) {
    switch (role) {
    case Input:
        return "input";
    case ComputedIfEmpty:
        return "computed-if-empty";
    case Result:
        return "result";
    case RecordedOnly:
        return "recorded-only";
    }
    return {};
}

} // namespace calc
