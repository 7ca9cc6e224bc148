#include "report/report.h"

#include "calc/conversions.h"
#include "calc/fields.h"
#include "calc/stages.h"
#include "report/numbers.h"

#include <array>
#include <cmath>
#include <set>
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

// The items of the design in the words of the design rules, where the
// window keeps its classic captions ("σ取值", "A", "富裕系数").
struct Term {
    TextField field;
    std::string_view name;
};
constexpr std::array kTerms{
    Term{Text1, "混凝土立方体抗压强度标准值"},
    Term{Text2, "混凝土配制强度"},
    Term{Text3, "强度标准差"},
    Term{Text4, "水泥用量"},
    Term{Text5, "水泥强度等级值"},
    Term{Text6, "回归系数"},
    Term{Text7, "回归系数"},
    Term{Text8, "水灰比"},
    Term{Text9, "富余系数"},
    Term{Text10, "灰水比"},
    Term{Text15, "砂率"},
    Term{Text16, "石子（确定砂率）"},
    Term{Text17, "砂（确定砂率）"},
    Term{Text18, "水泥密度"},
    Term{Text19, "砂密度"},
    Term{Text20, "混凝土拌合物假定表观密度"},
    Term{Text21, "砂含水率"},
    Term{Text22, "石子密度"},
    Term{Text23, "水的密度"},
    Term{Text24, "石子含水率"},
    Term{Text25, "含气量"},
    Term{Text26, "单位用水量"},
    Term{Text27, "维勃稠度"},
    Term{Text28, "坍落度"},
    Term{Text29, "石子最大粒径"},
};

std::string termOf(TextField field) {
    for (const Term& term : kTerms) {
        if (term.field == field) {
            return std::string(term.name);
        }
    }
    return std::string(calc::fieldInfo(field).caption);
}

// The field's symbol with its subscript marked.
std::string sym(TextField field) {
    return symbol(calc::fieldInfo(field).symbol);
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
            return userText(trimmed(read->text));
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
        return w ? userText(w->text) : std::string(kUnknown);
    }
    // "= 0.5201886 ≈ 0.52": the quantity as computed and the text the stage
    // wrote from it, once when they read alike.
    static std::string result(const std::string& computed, const std::string& text) {
        return computed == text ? "= " + text : "= " + computed + " ≈ " + text;
    }
    std::string c(std::string_view ascii) const { return constant(ascii, m_format); }
    // A step's title, numbered in the order the steps stand.
    std::string titled(std::string_view title) const {
        return std::to_string(++m_steps) + ". " + std::string(title);
    }

    // The base value taken as given, or nothing when its stage ran.
    std::optional<Step> given(TextField field, const std::string& title) const {
        const calc::TraceWrite* g = m_trace.givenText(field);
        if (!g) {
            return std::nullopt;
        }
        return Step{title,
                    {sym(field) + " = " + userText(g->text) + unit(calc::fieldInfo(field).unit) +
                     "（输入值）"},
                    {"此项在计算前已填写，按输入值采用，不再计算。"}};
    }

    Section designData() const;
    Table recordedOnly() const;
    Section working() const;
    Section mix() const;
    Section trialBatch() const;

    Step designStrength() const;
    std::optional<Step> cementStrength() const;
    Step waterCementRatio() const;
    Step cementWaterRatio() const;
    Step cementContent() const;
    Step volumeMethod() const;
    Step massMethod() const;
    Step proportions(const StageTrace* method, const std::string& title) const;
    Step moistureAdjustment() const;

    Table rowsTable(const std::array<std::string, 8>& texts) const;
    Paragraph apparentDensity(const std::array<std::string, 8>& texts) const;
    std::vector<std::string> warnings() const;
    std::vector<std::string> staleWorking() const;
    std::pair<std::string, std::string> changedReads(const StageTrace& stage) const;
    void emptyReads(std::vector<std::string>& notes) const;
    void implausibleMasses(std::vector<std::string>& notes) const;
    std::optional<double> valueOf(TextField field) const {
        const calc::StrictValue v = calc::parseStrict(m_sheet.text(field), m_format);
        if (v.status != calc::StrictStatus::Ok) {
            return std::nullopt;
        }
        return static_cast<double>(v.value);
    }
    // The cement term of a ratio: "1.00" wherever it stands, the moisture
    // correction writing it "1" and the dry mix "1.00".
    std::string cementTerm(const std::string& text) const {
        const calc::StrictValue v = calc::parseStrict(text, m_format);
        return v.status == calc::StrictStatus::Ok && v.value == 1.0f ? c("1.00") : text;
    }
    std::string shownText(TextField field) const { return userText(trimmed(m_sheet.text(field))); }
    std::array<std::string, 8> sheetRows() const;
    std::array<std::string, 8> rowsWritten(const StageTrace* stage) const;

    const StageTrace* method() const {
        const StageTrace* volume = m_trace.find(Stage::tjfjs);
        return volume ? volume : m_trace.find(Stage::zhiliangfa);
    }
    const StageTrace* moisture() const { return m_trace.find(Stage::tiaozheng); }
    std::string moistureContents() const {
        const StageTrace* driver = m_trace.driverReadsFor(Stage::tiaozheng);
        return "砂含水率 " + sym(Text21) + " = " + read(driver, Text21) + "，石子含水率 " +
               sym(Text24) + " = " + read(driver, Text24);
    }

    const calc::Sheet& m_sheet;
    const calc::Trace& m_trace;
    const calc::NumberFormat& m_format;
    const Options& m_options;
    mutable int m_steps = 0;
};

Document Builder::build() {
    // The method is the classic one of JGJ 55-2000: the water-cement ratio
    // from fce = γc·fce,g, the 260 kg/m³ floor on cement.
    Document document =
        reportFrame("JGJ 55-2000《普通混凝土配合比设计规程》（水灰比法）", m_options);
    document.sections = {designData(), working(), mix(), trialBatch()};
    return document;
}

Section Builder::designData() const {
    Section section{"一、设计资料", {}};
    const bool volume = m_trace.find(Stage::tjfjs) != nullptr;

    Table inputs{{"项目", "符号", "数值", "单位", "说明"}, {}};
    auto row = [&](TextField field, std::string note = {}) {
        const FieldInfo& info = calc::fieldInfo(field);
        const std::string text = userText(m_sheet.text(field));
        inputs.rows.push_back({termOf(field), sym(field), text.empty() ? "（空）" : text,
                               std::string(info.unit), std::move(note)});
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
        const std::string text = userText(m_sheet.text(field));
        recorded.rows.push_back({termOf(field), text.empty() ? "（空）" : text,
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
    const std::string title = titled("混凝土配制强度");
    if (auto typed = given(Text2, title)) {
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第一步);
    return Step{title,
                {sym(Text2) + " = " + sym(Text1) + " + " + c("1.645") + "σ = " + read(s, Text1) +
                 " + " + c("1.645") + " × " + read(s, Text3) + " " +
                 result(quantity(s, "fcu0"), written(s, Text2)) + unit("MPa")},
                {}};
}

// fce = γc·fce,g on its own, as a checker computes it first. The classic
// stage multiplies in another order (γc × (fce,g × αa)) and never holds fce;
// this figure is the product of the two texts read, in single precision as
// every step of the stage.
std::optional<Step> Builder::cementStrength() const {
    const StageTrace* s = m_trace.find(Stage::第二步);
    if (!s) {
        return std::nullopt;
    }
    const TraceRead* gamma = s->read(Text9);
    const TraceRead* strength = s->read(Text5);
    std::string fce(kUnknown);
    if (gamma && strength) {
        const float product =
            static_cast<float>(gamma->value) * static_cast<float>(strength->value);
        if (std::isfinite(product)) {
            fce = figure(static_cast<double>(product), m_format);
        }
    }
    return Step{titled("水泥实际强度"),
                {"f" + sub("ce") + " = " + sym(Text9) + "·" + sym(Text5) + " = " + read(s, Text9) +
                 " × " + read(s, Text5) + " = " + fce + unit("MPa")},
                {}};
}

Step Builder::waterCementRatio() const {
    const std::string title = titled("水灰比");
    if (auto typed = given(Text8, title)) {
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第二步);
    const std::string A = quantity(s, "A");
    const std::string aFce = sym(Text6) + "·f" + sub("ce");
    return Step{title,
                {aFce + " = " + sym(Text9) + " × (" + sym(Text5) + " × " + sym(Text6) +
                     ") = " + read(s, Text9) + " × (" + read(s, Text5) + " × " + read(s, Text6) +
                     ") = " + read(s, Text9) + " × " + quantity(s, "a") + " = " + A + unit("MPa"),
                 "W/C = " + aFce + " / (" + sym(Text2) + " + " + sym(Text7) + " × " + aFce +
                     ") = " + A + " / (" + read(s, Text2) + " + " + read(s, Text7) + " × " + A +
                     ") = " + A + " / (" + read(s, Text2) + " + " + quantity(s, "b") + ") = " + A +
                     " / " + quantity(s, "B") + " " + result(quantity(s, "wc"), written(s, Text8))},
                {"程序按 " + sym(Text9) + " × (" + sym(Text5) + " × " + sym(Text6) +
                 ") 的次序运算，每步运算结果取单精度。"}};
}

Step Builder::cementWaterRatio() const {
    const std::string title = titled("灰水比");
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
    const std::string title = titled("水泥用量");
    if (auto typed = given(Text4, title)) {
        typed->notes = {"此项在计算前已填写，按输入值采用，不作最小水泥用量检验。"};
        return *typed;
    }
    const StageTrace* s = m_trace.find(Stage::第四步);
    const std::string computed =
        s && !s->writes.empty() ? userText(s->writes.front().text) : std::string(kUnknown);
    Step step{title,
              {sym(Text4) + " = " + sym(Text26) + " / (W/C) = " + read(s, Text26) + " / " +
               read(s, Text8) + " " + result(quantity(s, "mc0"), computed) + unit("kg/m³")},
              {}};
    const std::string minimum = c("260");
    if (s && !s->notices.empty()) {
        step.notes.push_back(computed + unit("kg/m³") + " < " + minimum + unit("kg/m³") +
                             "，取最小水泥用量 " + sym(Text4) + " = " + written(s, Text4) +
                             unit("kg/m³") + "（程序提示：" + userText(s->notices.front()) +
                             "）。");
    } else {
        step.notes.push_back(read(s, Text4) + unit("kg/m³") + " ≥ " + minimum + unit("kg/m³") +
                             "，满足最小水泥用量。");
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
    const std::string Vc = "V" + sub("c");
    const std::string Vw = "V" + sub("w");
    const std::string mg0 = "m" + sub("g0");
    const std::string ms0 = "m" + sub("s0");
    const std::string beta = sym(Text15);
    return Step{
        titled("砂石用量（体积法）"),
        {Vc + " = " + sym(Text4) + " / " + sym(Text18) + " = " + read(stone, Text4) + " / " +
             read(stone, Text18) + " " + result(quantity(stone, "Vc"), VcCut) + unit("L"),
         Vw + " = " + sym(Text26) + " / " + sym(Text23) + " = " + read(stone, Text26) + " / " +
             read(stone, Text23) + " " + result(quantity(stone, "Vw"), VwCut) + unit("L"),
         "V = 1000 − 10α − " + Vc + " − " + Vw + " = 1000 − 10 × " + read(stone, Text25) + " − " +
             VcCut + " − " + VwCut + " = " + V + unit("L"),
         mg0 + " = " + sym(Text22) + " × V × (1 − " + beta + ") = " + read(stone, Text22) + " × " +
             V + " × (1 − " + betaStone + ") = " + read(stone, Text22) + " × " + V + " × " +
             quantity(stone, "k") + " " + result(quantity(stone, "G"), written(tj, Text13)) +
             unit("kg/m³"),
         ms0 + " = " + mg0 + " × " + beta + " / (1 − " + beta + ") = " + quantity(sand, "G") +
             " × " + betaSand + " / " + quantity(sand, "k") + " " +
             result(quantity(sand, "S"), written(tj, Text12)) + unit("kg/m³"),
         "m" + sub("c") + " = " + sym(Text4) + " = " + written(tj, Text11) + unit("kg/m³") + "，m" +
             sub("w") + " = " + sym(Text26) + " = " + written(tj, Text14) + unit("kg/m³")},
        {Vc + "、" + Vw +
         " 为水泥、水的体积，取两位小数；10α 为含气体积（含气量每 1% 占 10 "
         "L）；V 为每立方米混凝土中骨料的体积，砂、石均按石子密度 " +
         sym(Text22) + " 计。"}};
}

Step Builder::massMethod() const {
    const StageTrace* driver = m_trace.driverReadsFor(Stage::zhiliangfa);
    const StageTrace* s = m_trace.find(Stage::zhiliangfa);
    const std::string beta = read(driver, Text15);
    const std::string A = quantity(s, "A");
    const std::string S = quantity(s, "S");
    const std::string ms0 = "m" + sub("s0");
    return Step{
        titled("砂石用量（质量法）"),
        {"A = " + sym(Text20) + " − " + sym(Text4) + " − " + sym(Text26) + " = " +
             read(driver, Text20) + " − " + read(driver, Text4) + " − " + read(driver, Text26) +
             " = " + A + unit("kg/m³"),
         ms0 + " = A × " + sym(Text15) + " = " + A + " × " + beta + " " +
             result(S, written(s, Text12)) + unit("kg/m³"),
         "m" + sub("g0") + " = (" + ms0 + " − " + ms0 + " × " + sym(Text15) + ") / " + sym(Text15) +
             " = (" + S + " − " + quantity(s, "P") + ") / " + beta + " = " + quantity(s, "D") +
             " / " + beta + " " + result(quantity(s, "G"), written(s, Text13)) + unit("kg/m³"),
         "m" + sub("c") + " = " + sym(Text4) + " = " + written(s, Text11) + unit("kg/m³") + "，m" +
             sub("w") + " = " + sym(Text26) + " = " + written(s, Text14) + unit("kg/m³")},
        {"A 为每立方米混凝土中骨料（砂与石子）的质量。"}};
}

Step Builder::proportions(const StageTrace* method, const std::string& title) const {
    const std::string mc = written(method, Text11);
    const std::string m_c = "m" + sub("c");
    return Step{title,
                {"水泥 : 砂 : 石子 : 水 = " + m_c + "/" + m_c + " : m" + sub("s") + "/" + m_c +
                 " : m" + sub("g") + "/" + m_c + " : m" + sub("w") + "/" + m_c + " = " + mc + "/" +
                 mc + " : " + written(method, Text12) + "/" + mc + " : " + written(method, Text13) +
                 "/" + mc + " : " + written(method, Text14) + "/" + mc + " = " +
                 cementTerm(written(method, Text30)) + " : " + written(method, Text31) + " : " +
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
    const std::string m_c = "m" + sub("c");
    const std::string m_s = "m" + sub("s");
    const std::string m_g = "m" + sub("g");
    const std::string m_w = "m" + sub("w");
    const std::string w_s = sym(Text21);
    const std::string w_g = sym(Text24);
    const std::string W_s = "W" + sub("s");
    const std::string W_g = "W" + sub("g");
    return Step{
        titled("含水率调整（施工配合比）"),
        {moistureContents(),
         m_s + " = (" + m_s + "/" + m_c + ") × " + sym(Text4) + " = " + read(driver, Text31) +
             " × " + mc0 + " = " + S + unit("kg/m³"),
         W_s + " = " + m_s + " × " + w_s + " = " + S + " × " + ws + " = " + Ws + unit("kg/m³"),
         m_s + "′ = " + m_s + " × " + w_s + " + " + m_s + " = " + S + " × " + ws + " + " + S + " " +
             result(quantity(s, "Swet"), written(s, Text12)) + unit("kg/m³"),
         m_g + " = (" + m_g + "/" + m_c + ") × " + sym(Text4) + " = " + read(driver, Text32) +
             " × " + mc0 + " = " + G + unit("kg/m³"),
         W_g + " = " + m_g + " × " + w_g + " = " + G + " × " + wg + " = " + Wg + unit("kg/m³"),
         m_g + "′ = " + m_g + " × " + w_g + " + " + m_g + " = " + G + " × " + wg + " + " + G + " " +
             result(quantity(s, "Gwet"), written(s, Text13)) + unit("kg/m³"),
         m_w + "′ = " + sym(Text26) + " − " + W_g + " − " + W_s + " = " + read(s, Text26) + " − " +
             Wg + " − " + Ws + " " + result(quantity(s, "Wadd"), written(s, Text14)) +
             unit("kg/m³"),
         m_c + " = " + mc + unit("kg/m³"),
         "水泥 : 砂 : 石子 : 水 = " + m_c + "/" + m_c + " : " + m_s + "′/" + m_c + " : " + m_g +
             "′/" + m_c + " : " + m_w + "′/" + m_c + " = " + cementTerm(written(s, Text30)) +
             " : " + written(s, Text31) + " : " + written(s, Text32) + " : " + written(s, Text33)},
        {"干砂、干石子用量按两位小数的配合比乘水泥用量求得；" + m_s + "′、" + m_g +
         "′ 为含水砂、石子的用量，" + m_w + "′ 为扣除骨料所含水后的加水量。"}};
}

// The inputs a stage read that have changed since: as they were
// ("Fcu,k = 20") and as they are ("Fcu,k 现为 30"); both empty when none did.
std::pair<std::string, std::string> Builder::changedReads(const StageTrace& stage) const {
    std::string before;
    std::string now;
    std::set<TextField> changed;
    for (const TraceRead& r : stage.reads) {
        if (!r.field) {
            continue;
        }
        const calc::FieldRole role = calc::fieldInfo(*r.field).role;
        // A stage that reads back what it wrote (the cement content
        // before its minimum) may write the field again after.
        if ((role != calc::FieldRole::Input && role != calc::FieldRole::ComputedIfEmpty) ||
            stage.written(*r.field) || r.text == m_sheet.text(*r.field) ||
            !changed.insert(*r.field).second) {
            continue;
        }
        // An empty field is said to be empty: never a blank after "=".
        const std::string then =
            trimmed(r.text).empty() ? std::string("（空）") : userText(trimmed(r.text));
        const std::string present = shownText(*r.field);
        if (!before.empty()) {
            before += "、";
            now += "、";
        }
        before += sym(*r.field);
        before += " = ";
        before += then;
        now += sym(*r.field);
        now += " 现为 ";
        now += present.empty() ? std::string("（空）") : present;
    }
    return {before, now};
}

// Base values kept from an earlier calculation whose inputs have changed
// since: the classic rule keeps them, the report says so.
std::vector<std::string> Builder::staleWorking() const {
    std::vector<std::string> notes;
    std::set<TextField> told;
    for (const StageTrace& stage : m_trace.stages) {
        const auto [before, now] = changedReads(stage);
        if (before.empty()) {
            continue;
        }
        for (const calc::TraceWrite& w : stage.writes) {
            const calc::FieldRole role = calc::fieldInfo(w.field).role;
            if (role != calc::FieldRole::ComputedIfEmpty || !told.insert(w.field).second) {
                continue;
            }
            std::string note = sym(w.field);
            note += " = ";
            note += shownText(w.field);
            note += " 按 ";
            note += before;
            note += " 算得，";
            note += now;
            note += "；清空 ";
            note += sym(w.field);
            note += " 后重新计算。";
            notes.push_back(std::move(note));
        }
    }
    return notes;
}

// A field a stage read leniently while it was empty counted as 0.
void Builder::emptyReads(std::vector<std::string>& notes) const {
    std::set<TextField> empty;
    for (const StageTrace& stage : m_trace.stages) {
        for (const TraceRead& r : stage.reads) {
            if (r.field && r.conversion == calc::Conversion::readLenient &&
                trimmed(r.text).empty() && empty.insert(*r.field).second) {
                notes.push_back(sym(*r.field) + "（" +
                                std::string(calc::fieldInfo(*r.field).caption) +
                                "）是空的，计算中按 0 计。");
            }
        }
    }
}

// A mass that is not positive: no mix at all.
void Builder::implausibleMasses(std::vector<std::string>& notes) const {
    const std::array<std::pair<TextField, const char*>, 4> masses{
        {{Text11, "水泥"}, {Text12, "砂"}, {Text13, "石子"}, {Text14, "水"}}};
    auto checkMasses = [&](const std::array<std::string, 8>& rows, const std::string& which) {
        for (std::size_t i = 0; i < masses.size(); ++i) {
            const calc::StrictValue v = calc::parseStrict(rows[i], m_format);
            if (v.status == calc::StrictStatus::Ok && !(v.value > 0.0f)) {
                notes.push_back(which + masses[i].second + "用量为 " + userText(rows[i]) +
                                unit("kg/m³") + "，不是正数，配合比不能使用；请检查设计资料。");
            }
        }
    };
    if (moisture()) {
        checkMasses(rowsWritten(method()), "计算配合比中");
        checkMasses(sheetRows(), "施工配合比中");
    } else {
        checkMasses(sheetRows(), "");
    }
}

// What a checker would question, said and never acted on: no figure changes.
std::vector<std::string> Builder::warnings() const {
    std::vector<std::string> notes = staleWorking();
    emptyReads(notes);
    implausibleMasses(notes);
    if (const auto beta = valueOf(Text15); beta && (*beta < 0.2 || *beta > 0.5)) {
        notes.push_back("砂率 " + sym(Text15) + " = " + shownText(Text15) + " 不在 " + c("0.2") +
                        "～" + c("0.5") + " 之间；此栏填小数（" + c("0.36") +
                        " 即 36 %），填 36 即为 3600 %。");
    }
    const auto fcu0 = valueOf(Text2);
    const auto fcuk = valueOf(Text1);
    if (fcu0 && fcuk && *fcu0 < *fcuk) {
        notes.push_back("混凝土配制强度 " + sym(Text2) + " = " + shownText(Text2) + unit("MPa") +
                        " 低于强度标准值 " + sym(Text1) + " = " + shownText(Text1) + unit("MPa") +
                        "。");
    }
    if (const auto wc = valueOf(Text8); wc && (*wc < 0.3 || *wc > 0.8)) {
        notes.push_back("水灰比 W/C = " + shownText(Text8) + " 不在 " + c("0.3") + "～" + c("0.8") +
                        " 之间。");
    }
    if (const auto mc0 = valueOf(Text4); mc0 && *mc0 > 550.0) {
        notes.push_back("水泥用量 " + sym(Text4) + " = " + shownText(Text4) + unit("kg/m³") +
                        " 大于 550" + unit("kg/m³") + "。");
    }
    const std::array<std::string, 8> dry = moisture() ? rowsWritten(method()) : sheetRows();
    if (const auto sum = sumOf({dry[0], dry[1], dry[2], dry[3]}, m_format)) {
        const calc::StrictValue v = calc::parseStrict(*sum, m_format);
        if (v.status == calc::StrictStatus::Ok && (v.value < 2200.0f || v.value > 2600.0f)) {
            notes.push_back("计算表观密度 " + symbol("ρc,c") + " = " + *sum + unit("kg/m³") +
                            " 不在 2200～2600" + unit("kg/m³") + " 之间。");
        }
    }
    return notes;
}

Section Builder::working() const {
    Section section{"二、计算过程", {}};
    section.blocks.emplace_back(designStrength());
    if (!m_trace.givenText(Text8)) {
        if (auto fce = cementStrength()) {
            section.blocks.emplace_back(std::move(*fce));
        }
    }
    section.blocks.emplace_back(waterCementRatio());
    section.blocks.emplace_back(cementWaterRatio());
    section.blocks.emplace_back(cementContent());
    const StageTrace* m = method();
    section.blocks.emplace_back(m && m->stage == Stage::tjfjs ? volumeMethod() : massMethod());
    section.blocks.emplace_back(proportions(m, titled("计算配合比")));
    if (moisture()) {
        section.blocks.emplace_back(moistureAdjustment());
    }
    if (std::vector<std::string> notes = warnings(); !notes.empty()) {
        section.blocks.emplace_back(List{"注意", std::move(notes)});
    }
    return section;
}

std::array<std::string, 8> Builder::sheetRows() const {
    std::array<std::string, 8> texts;
    const std::array fields{Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        texts[i] = userText(m_sheet.text(fields[i]));
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
    auto kilograms = [this](const std::string& mass) {
        const std::optional<std::string> rounded = roundedToKilogram(mass, m_format);
        return rounded ? *rounded : std::string("—");
    };
    return Table{{"", "水泥", "砂", "石子", "水"},
                 {{"每立方米用量（kg/m³）", t[0], t[1], t[2], t[3]},
                  {"取整至 1 kg（kg/m³）", kilograms(t[0]), kilograms(t[1]), kilograms(t[2]),
                   kilograms(t[3])},
                  {"配合比", cementTerm(t[4]), t[5], t[6], t[7]}}};
}

Paragraph Builder::apparentDensity(const std::array<std::string, 8>& t) const {
    const std::optional<std::string> sum = sumOf({t[0], t[1], t[2], t[3]}, m_format);
    return Paragraph{"计算表观密度 " + symbol("ρc,c") + " = m" + sub("c") + " + m" + sub("s") +
                     " + m" + sub("g") + " + m" + sub("w") + " = " + t[0] + " + " + t[1] + " + " +
                     t[2] + " + " + t[3] + " = " + (sum ? *sum : std::string(kUnknown)) +
                     unit("kg/m³")};
}

Section Builder::mix() const {
    Section section{"三、配合比", {}};
    const std::array<std::string, 8> rows = sheetRows();
    auto ratio = [this](const std::array<std::string, 8>& t) {
        return Paragraph{"水泥 : 砂 : 石子 : 水 = " + cementTerm(t[4]) + " : " + t[5] + " : " +
                         t[6] + " : " + t[7]};
    };
    const std::array<std::string, 8> dry = moisture() ? rowsWritten(method()) : rows;
    section.blocks.emplace_back(
        Paragraph{std::string(moisture() ? "（一）" : "") + "计算配合比（骨料按干燥状态计）"});
    section.blocks.emplace_back(rowsTable(dry));
    section.blocks.emplace_back(ratio(dry));
    section.blocks.emplace_back(apparentDensity(dry));
    if (moisture()) {
        section.blocks.emplace_back(Paragraph{"（二）施工配合比（" + moistureContents() + "）"});
        section.blocks.emplace_back(rowsTable(rows));
        section.blocks.emplace_back(ratio(rows));
    }
    return section;
}

Section Builder::trialBatch() const {
    Section section{"四、试拌用量", {}};
    const std::string litres = figure(m_options.batchLitres, m_format);
    section.blocks.emplace_back(
        Paragraph{"试拌 " + litres + unit("L") + " 混凝土：各材料用量 = 每立方米用量 × " + litres +
                  " / 1000，按上表每立方米用量的显示值计算，四舍五入至 " + c("0.001") + unit("kg") +
                  "（1 g）。" + (moisture() ? "砂、石子为含水状态的用量，水为应加的水量。" : "")});
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

std::string refusalText(NoReport why) {
    std::string text;
    switch (why) {
    case NoReport::NoCalculation:
        text = "还没有完成的计算。";
        break;
    case NoReport::Stopped:
        text = "上一次计算已中止，没有完整的结果。";
        break;
    case NoReport::Changed:
        text = "计算之后有数据被修改，计算书将与窗口中的数据不符。";
        break;
    }
    return text + "\n请先按\"计算\"。";
}

} // namespace report
