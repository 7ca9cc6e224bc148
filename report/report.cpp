#include "report/report.h"

#include "calc/conversions.h"
#include "calc/fields.h"
#include "calc/stages.h"
#include "report/numbers.h"

#include <array>
#include <utility>

namespace report {

using calc::FieldInfo;
using calc::Stage;
using calc::StageTrace;
using calc::TextField;
using calc::TraceRead;
using enum calc::TextField;

namespace {

constexpr std::string_view kUnknown = "?";

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

class Builder {
public:
    Builder(const calc::Sheet& sheet, const calc::Trace& trace, const Options& options)
        : m_sheet(sheet), m_trace(trace), m_format(sheet.numberFormat()), m_options(options) {}

    Document build();

private:
    // A value as the stage read it: the text the user sees, when the whole
    // text was read; otherwise the number the reading took from it.
    std::string shown(const TraceRead* read) const {
        if (!read) {
            return std::string(kUnknown);
        }
        if (read->conversion == calc::Conversion::parseStrict ||
            calc::parseStrict(read->text, m_format).status == calc::StrictStatus::Ok) {
            return trimmed(read->text);
        }
        return figure(read->value, m_format);
    }
    std::string read(const StageTrace* stage, TextField field) const {
        return shown(stage ? stage->read(field) : nullptr);
    }
    std::string quantity(const StageTrace* stage, std::string_view name) const {
        const calc::TraceQuantity* q = stage ? stage->quantity(name) : nullptr;
        return q ? figure(q->value, m_format) : std::string(kUnknown);
    }
    std::string written(const StageTrace* stage, TextField field) const {
        const calc::TraceWrite* w = stage ? stage->written(field) : nullptr;
        return w ? w->text : std::string(kUnknown);
    }
    // "= 0.5201886 ≈ 0.52": the quantity as computed and the text the stage
    // wrote from it, once when they read alike.
    static std::string result(const std::string& computed, const std::string& text) {
        return computed == text ? "= " + text : "= " + computed + " ≈ " + text;
    }
    std::string c(std::string_view ascii) const { return constant(ascii, m_format); }
    static std::string unit(std::string_view u) { return u.empty() ? "" : " " + std::string(u); }

    // The base value taken as given, or nothing when its stage ran.
    std::optional<Step> given(TextField field, const std::string& title) const {
        const calc::TraceWrite* g = m_trace.givenText(field);
        if (!g) {
            return std::nullopt;
        }
        const FieldInfo& info = calc::fieldInfo(field);
        return Step{title,
                    {std::string(info.symbol) + " = " + g->text + unit(info.unit) + "（输入值）"},
                    {"此项在计算前已填写，按输入值采用，不再计算。"}};
    }

    Section designData() const;
    Table recordedOnly() const;
    Section working() const;
    Section mix() const;
    Section trialBatch() const;

    Step designStrength() const;
    Step waterCementRatio() const;
    Step cementWaterRatio() const;
    Step cementContent() const;
    Step volumeMethod() const;
    Step massMethod() const;
    Step proportions(const StageTrace* method, const std::string& title) const;
    Step moistureAdjustment() const;

    Table rowsTable(const std::array<std::string, 8>& texts) const;
    std::array<std::string, 8> sheetRows() const;
    std::array<std::string, 8> rowsWritten(const StageTrace* stage) const;

    const StageTrace* method() const {
        const StageTrace* volume = m_trace.find(Stage::tjfjs);
        return volume ? volume : m_trace.find(Stage::zhiliangfa);
    }
    const StageTrace* moisture() const { return m_trace.find(Stage::tiaozheng); }
    std::string moistureContents() const {
        const StageTrace* driver = m_trace.driverReadsFor(Stage::tiaozheng);
        return "砂含水率 ws = " + read(driver, Text21) +
               "，石子含水率 wg = " + read(driver, Text24);
    }

    const calc::Sheet& m_sheet;
    const calc::Trace& m_trace;
    const calc::NumberFormat& m_format;
    const Options& m_options;
};

Document Builder::build() {
    Document document;
    document.title = "普通混凝土配合比设计计算书";
    // The method is the classic one of JGJ 55-2000: the water-cement ratio
    // from fce = γc·fce,g, the 260 kg/m³ floor on cement.
    document.heading.push_back("设计依据：JGJ 55-2000《普通混凝土配合比设计规程》（水灰比法）");
    document.heading.push_back("计算日期：" + m_options.date);
    document.heading.push_back("计算程序：" + m_options.program + " " + m_options.version);
    if (!m_options.designFile.empty()) {
        document.heading.push_back("设计文件：" + userText(m_options.designFile));
    }
    document.project = {userText(m_options.project.name), userText(m_options.project.part),
                        userText(m_options.project.client)};
    document.sections = {designData(), working(), mix(), trialBatch()};
    document.signatures = standardSignatures();
    return document;
}

Section Builder::designData() const {
    Section section{"一、设计资料", {}};
    const bool volume = m_trace.find(Stage::tjfjs) != nullptr;

    Table inputs{{"项目", "符号", "数值", "单位", "说明"}, {}};
    auto row = [&](TextField field, std::string note = {}) {
        const FieldInfo& info = calc::fieldInfo(field);
        const std::string text = m_sheet.text(field);
        inputs.rows.push_back({std::string(info.caption), std::string(info.symbol),
                               text.empty() ? "（空）" : text, std::string(info.unit),
                               std::move(note)});
    };
    for (TextField field : {Text1, Text3, Text5, Text9, Text6, Text7, Text26, Text15}) {
        row(field);
    }
    if (volume) {
        for (TextField field : {Text18, Text23, Text22, Text25}) {
            row(field);
        }
    } else {
        row(Text20, "质量法用");
    }
    const bool adjusted = moisture() != nullptr;
    for (TextField field : {Text21, Text24}) {
        if (!m_sheet.text(field).empty()) {
            row(field, adjusted ? "用于含水率调整" : "只填写了一项含水率，未作调整");
        }
    }
    for (const calc::TraceWrite& g : m_trace.given) {
        row(g.field, "输入值，不经计算");
    }
    section.blocks.emplace_back(std::move(inputs));
    section.blocks.emplace_back(
        Paragraph{std::string("砂石用量的计算方法：") + (volume ? "体积法" : "质量法") + "。"});

    section.blocks.emplace_back(Paragraph{"以下各项仅作记录，不参与计算："});
    section.blocks.emplace_back(recordedOnly());
    return section;
}

Table Builder::recordedOnly() const {
    Table recorded{{"项目", "数值", "单位", "说明"}, {}};
    for (TextField field : {Text28, Text27, Text29, Text19, Text16, Text17}) {
        const FieldInfo& info = calc::fieldInfo(field);
        const std::string text = m_sheet.text(field);
        recorded.rows.push_back({std::string(info.caption), text.empty() ? "（空）" : text,
                                 std::string(info.unit), std::string(info.meaning)});
    }
    const bool fine = m_sheet.isSelected(calc::Option::细砂);
    const bool coarse = m_sheet.isSelected(calc::Option::粗砂);
    recorded.rows.push_back({"砂", fine ? "细砂" : coarse ? "粗砂" : "（未选）", "", "砂的粗细"});
    const bool pebble = m_sheet.isChecked(calc::Check::卵石);
    const bool crushed = m_sheet.isChecked(calc::Check::碎石);
    recorded.rows.push_back({"石子",
                             pebble && crushed ? "卵石、碎石"
                             : pebble          ? "卵石"
                             : crushed         ? "碎石"
                                               : "（未选）",
                             "", "石子的种类"});
    return recorded;
}

Step Builder::designStrength() const {
    const std::string title = "1. 混凝土配制强度";
    if (auto typed = given(Text2, title)) {
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第一步);
    return Step{title,
                {"fcu,0 = fcu,k + " + c("1.645") + "σ = " + read(s, Text1) + " + " + c("1.645") +
                 " × " + read(s, Text3) + " " + result(quantity(s, "fcu0"), written(s, Text2)) +
                 " MPa"},
                {}};
}

Step Builder::waterCementRatio() const {
    const std::string title = "2. 水灰比";
    if (auto typed = given(Text8, title)) {
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第二步);
    const std::string A = quantity(s, "A");
    return Step{title,
                {"αa·fce = γc × (fce,g × αa) = " + read(s, Text9) + " × (" + read(s, Text5) +
                     " × " + read(s, Text6) + ") = " + read(s, Text9) + " × " + quantity(s, "a") +
                     " = " + A + " MPa",
                 "W/C = αa·fce / (fcu,0 + αb × αa·fce) = " + A + " / (" + read(s, Text2) + " + " +
                     read(s, Text7) + " × " + A + ") = " + A + " / (" + read(s, Text2) + " + " +
                     quantity(s, "b") + ") = " + A + " / " + quantity(s, "B") + " " +
                     result(quantity(s, "wc"), written(s, Text8))},
                {"其中 fce = γc·fce,g 为水泥实际强度；每步运算结果取单精度。"}};
}

Step Builder::cementWaterRatio() const {
    const std::string title = "3. 灰水比";
    if (auto typed = given(Text10, title)) {
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第三步);
    return Step{title,
                {"C/W = 1 / (W/C) = 1 / " + read(s, Text8) + " " +
                 result(quantity(s, "cw"), written(s, Text10))},
                {}};
}

Step Builder::cementContent() const {
    const std::string title = "4. 水泥用量";
    if (auto typed = given(Text4, title)) {
        typed->notes = {"此项在计算前已填写，按输入值采用，不作最小水泥用量检验。"};
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第四步);
    const std::string computed =
        s && !s->writes.empty() ? s->writes.front().text : std::string(kUnknown);
    Step step{title,
              {"mc0 = mw0 / (W/C) = " + read(s, Text26) + " / " + read(s, Text8) + " " +
               result(quantity(s, "mc0"), computed) + " kg/m³"},
              {}};
    const std::string minimum = c("260");
    if (s && !s->notices.empty()) {
        step.notes.push_back(computed + " kg/m³ < " + minimum +
                             " kg/m³，取最小水泥用量 mc0 = " + written(s, Text4) +
                             " kg/m³（程序提示：" + s->notices.front() + "）。");
    } else {
        step.notes.push_back(read(s, Text4) + " kg/m³ ≥ " + minimum + " kg/m³，满足最小水泥用量。");
    }
    return step;
}

Step Builder::volumeMethod() const {
    const StageTrace* tj = m_trace.find(Stage::tjfjs);
    const StageTrace* stone = m_trace.find(Stage::tijifa, 0);
    const StageTrace* sand = m_trace.find(Stage::tijifa, 1);
    const std::string VcCut = quantity(stone, "VcCut");
    const std::string VwCut = quantity(stone, "VwCut");
    const std::string V = quantity(stone, "V");
    const std::string betaStone = shown(tj && !tj->reads.empty() ? &tj->reads[0] : nullptr);
    const std::string betaSand = shown(tj && tj->reads.size() > 1 ? &tj->reads[1] : nullptr);
    return Step{"5. 砂石用量（体积法）",
                {"Vc = mc0 / ρc = " + read(stone, Text4) + " / " + read(stone, Text18) + " " +
                     result(quantity(stone, "Vc"), VcCut) + " L",
                 "Vw = mw0 / ρw = " + read(stone, Text26) + " / " + read(stone, Text23) + " " +
                     result(quantity(stone, "Vw"), VwCut) + " L",
                 "V = 1000 − 10α − Vc − Vw = 1000 − 10 × " + read(stone, Text25) + " − " + VcCut +
                     " − " + VwCut + " = " + V + " L",
                 "mg0 = ρg × V × (1 − βs) = " + read(stone, Text22) + " × " + V + " × (1 − " +
                     betaStone + ") = " + read(stone, Text22) + " × " + V + " × " +
                     quantity(stone, "k") + " " +
                     result(quantity(stone, "G"), written(tj, Text13)) + " kg/m³",
                 "ms0 = mg0 × βs / (1 − βs) = " + quantity(sand, "G") + " × " + betaSand + " / " +
                     quantity(sand, "k") + " " + result(quantity(sand, "S"), written(tj, Text12)) +
                     " kg/m³",
                 "mc = mc0 = " + written(tj, Text11) + " kg/m³，mw = mw0 = " + written(tj, Text14) +
                     " kg/m³"},
                {"Vc、Vw 为水泥、水的体积，取两位小数；10α 为含气体积（含气量每 1% 占 10 L）；"
                 "V 为每立方米混凝土中骨料的体积，砂、石均按石子密度 ρg 计。"}};
}

Step Builder::massMethod() const {
    const StageTrace* driver = m_trace.driverReadsFor(Stage::zhiliangfa);
    const StageTrace* s = m_trace.find(Stage::zhiliangfa);
    const std::string beta = read(driver, Text15);
    const std::string A = quantity(s, "A");
    const std::string S = quantity(s, "S");
    return Step{
        "5. 砂石用量（质量法）",
        {"A = mcp − mc0 − mw0 = " + read(driver, Text20) + " − " + read(driver, Text4) + " − " +
             read(driver, Text26) + " = " + A + " kg/m³",
         "ms0 = A × βs = " + A + " × " + beta + " " + result(S, written(s, Text12)) + " kg/m³",
         "mg0 = (ms0 − ms0 × βs) / βs = (" + S + " − " + quantity(s, "P") + ") / " + beta + " = " +
             quantity(s, "D") + " / " + beta + " " + result(quantity(s, "G"), written(s, Text13)) +
             " kg/m³",
         "mc = mc0 = " + written(s, Text11) + " kg/m³，mw = mw0 = " + written(s, Text14) +
             " kg/m³"},
        {"A 为每立方米混凝土中骨料（砂与石子）的质量。"}};
}

Step Builder::proportions(const StageTrace* method, const std::string& title) const {
    const std::string mc = written(method, Text11);
    return Step{title,
                {"水泥 : 砂 : 石子 : 水 = mc/mc : ms/mc : mg/mc : mw/mc = " + mc + "/" + mc +
                 " : " + written(method, Text12) + "/" + mc + " : " + written(method, Text13) +
                 "/" + mc + " : " + written(method, Text14) + "/" + mc + " = " +
                 written(method, Text30) + " : " + written(method, Text31) + " : " +
                 written(method, Text32) + " : " + written(method, Text33)},
                {"各比值取两位小数。"}};
}

Step Builder::moistureAdjustment() const {
    const StageTrace* driver = m_trace.driverReadsFor(Stage::tiaozheng);
    const StageTrace* s = moisture();
    const std::string ws = read(driver, Text21);
    const std::string wg = read(driver, Text24);
    const std::string mc0 = read(driver, Text4);
    const std::string S = quantity(s, "S");
    const std::string G = quantity(s, "G");
    const std::string Ws = quantity(s, "Ws");
    const std::string Wg = quantity(s, "Wg");
    const std::string mc = written(s, Text11);
    return Step{
        "7. 含水率调整（施工配合比）",
        {moistureContents(),
         "ms = (ms/mc) × mc0 = " + read(driver, Text31) + " × " + mc0 + " = " + S + " kg/m³",
         "Ws = ms × ws = " + S + " × " + ws + " = " + Ws + " kg/m³",
         "ms′ = ms × ws + ms = " + S + " × " + ws + " + " + S + " " +
             result(quantity(s, "Swet"), written(s, Text12)) + " kg/m³",
         "mg = (mg/mc) × mc0 = " + read(driver, Text32) + " × " + mc0 + " = " + G + " kg/m³",
         "Wg = mg × wg = " + G + " × " + wg + " = " + Wg + " kg/m³",
         "mg′ = mg × wg + mg = " + G + " × " + wg + " + " + G + " " +
             result(quantity(s, "Gwet"), written(s, Text13)) + " kg/m³",
         "mw′ = mw0 − Wg − Ws = " + read(s, Text26) + " − " + Wg + " − " + Ws + " " +
             result(quantity(s, "Wadd"), written(s, Text14)) + " kg/m³",
         "mc = " + mc + " kg/m³",
         "水泥 : 砂 : 石子 : 水 = 1 : ms′/mc : mg′/mc : mw′/mc = " + written(s, Text30) + " : " +
             written(s, Text31) + " : " + written(s, Text32) + " : " + written(s, Text33)},
        {"干砂、干石子用量按两位小数的配合比乘水泥用量求得；ms′、mg′ 为含水砂、石子的用量，"
         "mw′ 为扣除骨料所含水后的加水量。"}};
}

Section Builder::working() const {
    Section section{"二、计算过程", {}};
    section.blocks.emplace_back(designStrength());
    section.blocks.emplace_back(waterCementRatio());
    section.blocks.emplace_back(cementWaterRatio());
    section.blocks.emplace_back(cementContent());
    const StageTrace* m = method();
    section.blocks.emplace_back(m && m->stage == Stage::tjfjs ? volumeMethod() : massMethod());
    section.blocks.emplace_back(proportions(m, "6. 配合比"));
    if (moisture()) {
        section.blocks.emplace_back(moistureAdjustment());
    }
    return section;
}

std::array<std::string, 8> Builder::sheetRows() const {
    std::array<std::string, 8> texts;
    const std::array fields{Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        texts[i] = m_sheet.text(fields[i]);
    }
    return texts;
}

std::array<std::string, 8> Builder::rowsWritten(const StageTrace* stage) const {
    std::array<std::string, 8> texts;
    const std::array fields{Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        texts[i] = written(stage, fields[i]);
    }
    return texts;
}

Table Builder::rowsTable(const std::array<std::string, 8>& t) const {
    return Table{
        {"", "水泥", "砂", "石子", "水"},
        {{"每立方米用量（kg/m³）", t[0], t[1], t[2], t[3]}, {"配合比", t[4], t[5], t[6], t[7]}}};
}

Section Builder::mix() const {
    Section section{"三、配合比", {}};
    const std::array<std::string, 8> rows = sheetRows();
    auto ratio = [](const std::array<std::string, 8>& t) {
        return Paragraph{"水泥 : 砂 : 石子 : 水 = " + t[4] + " : " + t[5] + " : " + t[6] + " : " +
                         t[7]};
    };
    if (moisture()) {
        const std::array<std::string, 8> design = rowsWritten(method());
        section.blocks.emplace_back(Paragraph{"（一）设计配合比（骨料按干燥状态计）"});
        section.blocks.emplace_back(rowsTable(design));
        section.blocks.emplace_back(ratio(design));
        section.blocks.emplace_back(Paragraph{"（二）施工配合比（" + moistureContents() + "）"});
    }
    section.blocks.emplace_back(rowsTable(rows));
    section.blocks.emplace_back(ratio(rows));
    return section;
}

Section Builder::trialBatch() const {
    Section section{"四、试拌用量", {}};
    const std::string litres = figure(m_options.batchLitres, m_format);
    section.blocks.emplace_back(Paragraph{
        "试拌 " + litres + " L 混凝土：各材料用量 = 每立方米用量 × " + litres +
        " / 1000，按上表每立方米用量的显示值计算，四舍五入至 " + c("0.001") + " kg（1 g）。" +
        (moisture() ? "砂、石子为含水状态的用量，水为应加的水量。" : "")});
    Table table{{"材料", "每立方米用量（kg）", "试拌用量（kg）"}, {}};
    const std::array<std::string, 8> rows = sheetRows();
    const std::array<const char*, 4> names{"水泥", "砂", "石子", "水"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::optional<std::string> mass = trialMass(rows[i], m_options.batchLitres, m_format);
        table.rows.push_back({names[i], rows[i], mass ? *mass : "—"});
    }
    section.blocks.emplace_back(std::move(table));
    return section;
}

} // namespace

std::optional<Document> buildReport(const calc::Sheet& sheet, const calc::Trace& trace,
                                    const Options& options) {
    if (!trace.completed() || (!trace.find(Stage::tjfjs) && !trace.find(Stage::zhiliangfa))) {
        return std::nullopt;
    }
    return Builder(sheet, trace, options).build();
}

std::string refusalText(Refusal refusal) {
    std::string why;
    switch (refusal) {
    case Refusal::NoCalculation:
        why = "还没有完成的计算。";
        break;
    case Refusal::Stopped:
        why = "上一次计算已中止，没有完整的结果。";
        break;
    case Refusal::Changed:
        why = "计算之后有数据被修改，计算书将与窗口中的数据不符。";
        break;
    }
    return why + "\n请先按\"计算\"。";
}

} // namespace report
