#include "session/jgj55form.h"

#include "calc/conversions.h"
#include "jgj55/designfile.h"
#include "jgj55/rounding.h"
#include "report/jgj55report.h"
#include "report/numbers.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace session {

namespace {

using Field = Jgj55Form::Field;
using Kind = Jgj55Form::Kind;

constexpr std::string_view kMpa = "MPa";
constexpr std::string_view kKg = "kg/m³";
constexpr std::string_view kPercent = "%";

constexpr std::string_view kRequirements = "设计要求";
constexpr std::string_view kMaterials = "原材料";
constexpr std::string_view kBinders = "外加剂与掺合料";
constexpr std::string_view kParameters = "计算参数";

// The entries of each choice, in the order of the design's enumerations; an
// entry past them ("不限", "（用实测强度）") leaves the input absent.
constexpr std::array<std::string_view, 3> kStructures = {"素混凝土", "钢筋混凝土", "预应力混凝土"};
constexpr std::array<std::string_view, 6> kEnvironments = {"一",  "二a", "二b",
                                                           "三a", "三b", "不限"};
constexpr int kNoEnvironment = 5;
constexpr std::array<std::string_view, 4> kCementGrades = {"32.5", "42.5", "52.5",
                                                           "（用实测强度）"};
constexpr int kMeasuredCement = 3;
constexpr std::array<std::string_view, 2> kStones = {"碎石", "卵石"};
constexpr std::array<std::string_view, 3> kFlyAshGrades = {"I", "II", "III"};
constexpr std::array<std::string_view, 3> kSlagGrades = {"S75", "S95", "S105"};
constexpr std::array<std::string_view, 2> kMethods = {"质量法", "体积法"};

constexpr Field number(std::string_view key, std::string_view caption, std::string_view unit,
                       std::string_view group, double scale = 1.0) {
    return {.key = key, .caption = caption, .unit = unit, .group = group, .scale = scale};
}

constexpr Field choice(std::string_view key, std::string_view caption, std::string_view group,
                       std::span<const std::string_view> choices, int initial) {
    return {.key = key,
            .caption = caption,
            .group = group,
            .kind = Kind::Choice,
            .choices = choices,
            .initialChoice = initial};
}

// The form, group by group. The numbers are read in this order, so that of
// two unreadable fields the first one shown is the one named.
constexpr std::array kFields = {
    number("fcuk", "强度标准值 fcu,k", kMpa, kRequirements),
    number("sigma", "标准差 σ", kMpa, kRequirements),
    number("slump", "坍落度", "mm", kRequirements),
    number("vebe", "维勃稠度", "s", kRequirements),
    choice("structure", "结构", kRequirements, kStructures, 1),
    choice("environment", "环境类别", kRequirements, kEnvironments, kNoEnvironment),

    choice("cementGrade", "水泥强度等级", kMaterials, kCementGrades, 1),
    number("gammaC", "富余系数 γc", "", kMaterials),
    number("fce", "实测强度 fce", kMpa, kMaterials),
    choice("stone", "粗骨料", kMaterials, kStones, 0),
    number("maxSize", "最大公称粒径", "mm", kMaterials),
    number("cementDensity", "水泥密度 ρc", kKg, kMaterials),
    number("sandDensity", "砂表观密度 ρs", kKg, kMaterials),
    number("stoneDensity", "石子表观密度 ρg", kKg, kMaterials),
    number("waterDensity", "水的密度 ρw", kKg, kMaterials),
    number("sandMoisture", "砂含水率", kPercent, kMaterials),
    number("stoneMoisture", "石子含水率", kPercent, kMaterials),

    number("flyAsh.fraction", "粉煤灰掺量 βf", kPercent, kBinders, 100.0),
    choice("flyAsh.grade", "粉煤灰等级", kBinders, kFlyAshGrades, 1),
    number("flyAsh.gammaF", "影响系数 γf", "", kBinders),
    number("flyAsh.density", "粉煤灰密度 ρf", kKg, kBinders),
    number("slag.fraction", "矿渣粉掺量 βk", kPercent, kBinders, 100.0),
    choice("slag.grade", "矿渣粉等级", kBinders, kSlagGrades, 1),
    number("slag.gammaS", "影响系数 γs", "", kBinders),
    number("slag.density", "矿渣粉密度 ρk", kKg, kBinders),
    number("admixture.fraction", "外加剂掺量 βa", kPercent, kBinders, 100.0),
    number("admixture.waterReduction", "减水率 β", kPercent, kBinders, 100.0),

    number("water", "用水量 mw0′", kKg, kParameters),
    number("sandRatio", "砂率 βs", kPercent, kParameters),
    number("alphaA", "回归系数 αa", "", kParameters),
    number("alphaB", "回归系数 αb", "", kParameters),
    choice("method", "计算方法", kParameters, kMethods, 0),
    number("assumedDensity", "假定表观密度 mcp", kKg, kParameters),
    number("air", "含气量 α", kPercent, kParameters),
};

// The results, by the step that computes each.
constexpr std::array<Jgj55Form::ResultField, 16> kResults = {{
    {"fcu0", "配制强度 fcu,0", "fcu,0", "MPa"},
    {"fce", "水泥强度 fce", "fce", "MPa"},
    {"gammaF", "粉煤灰影响系数 γf", "γf", ""},
    {"gammaS", "矿渣粉影响系数 γs", "γs", ""},
    {"fb", "胶凝材料强度 fb", "fb", "MPa"},
    {"waterBinder", "水胶比 W/B", "W/B", ""},
    {"water", "用水量 mw0", "mw0", "kg/m³"},
    {"binder", "胶凝材料 mb0", "mb0", "kg/m³"},
    {"cement", "水泥 mc0", "mc0", "kg/m³"},
    {"flyAsh", "粉煤灰 mf0", "mf0", "kg/m³"},
    {"slag", "矿渣粉 mk0", "mk0", "kg/m³"},
    {"admixture", "外加剂 ma0", "ma0", "kg/m³"},
    {"sandRatio", "砂率 βs", "βs", "%"},
    {"sand", "砂 ms0", "ms0", "kg/m³"},
    {"stone", "石子 mg0", "mg0", "kg/m³"},
    {"apparentDensity", "计算表观密度 ρc,c", "ρc,c", "kg/m³"},
}};

// The steps whose figure a field shows greyed when the field is empty.
// The sand ratio shows its final figure with the table it started from.
struct TableValue {
    std::string_view key;
    std::string_view symbol;
    std::string_view table; // the step that read the table
};
constexpr TableValue kTableValues[] = {
    {"sigma", "σ", "σ"},         {"gammaC", "γc", "γc"},       {"flyAsh.gammaF", "γf", "γf"},
    {"slag.gammaS", "γs", "γs"}, {"alphaA", "αa", "αa"},       {"alphaB", "αb", "αb"},
    {"water", "mw0′", "mw0′"},   {"sandRatio", "βs", "βs,表"}, {"assumedDensity", "mcp", "mcp"},
};

// Defaults with no step of their own (the volume method's constants).
struct DefaultValue {
    std::string_view key;
    double value;
};
constexpr DefaultValue kDefaults[] = {
    {"cementDensity", jgj55::kDefaultCementDensity},
    {"flyAsh.density", jgj55::kDefaultFlyAshDensity},
    {"slag.density", jgj55::kDefaultSlagDensity},
    {"sandDensity", jgj55::kDefaultSandDensity},
    {"stoneDensity", jgj55::kDefaultStoneDensity},
    {"waterDensity", jgj55::kDefaultWaterDensity},
    {"air", jgj55::kDefaultAir},
};

constexpr std::string_view kNoFigure = "—";
constexpr std::string_view kTitle = "JGJ 55-2011 配合比设计";

std::size_t indexOf(std::string_view key) {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].key == key) {
            return i;
        }
    }
    return kFields.size();
}

std::size_t resultIndexOf(std::string_view key) {
    for (std::size_t i = 0; i < kResults.size(); ++i) {
        if (kResults[i].key == key) {
            return i;
        }
    }
    return kResults.size();
}

const jgj55::Step* lastStep(const jgj55::Result& r, std::string_view symbol) {
    const jgj55::Step* found = nullptr;
    for (const jgj55::Step& s : r.steps) {
        if (s.symbol == symbol) {
            found = &s;
        }
    }
    return found;
}

// The code point of the UTF-8 sequence at `at`, and its length; length 0 for
// a byte that starts no well-formed sequence.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        return {lead, 1};
    }
    if ((lead & 0xE0U) == 0xC0) {
        length = 2;
        code = lead & 0x1FU;
    } else if ((lead & 0xF0U) == 0xE0) {
        length = 3;
        code = lead & 0x0FU;
    } else if ((lead & 0xF8U) == 0xF0) {
        length = 4;
        code = lead & 0x07U;
    } else {
        return {0, 0};
    }
    if (at + length > text.size()) {
        return {0, 0};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0U) != 0x80) {
            return {0, 0};
        }
        code = (code << 6U) | (next & 0x3FU);
    }
    return {code, length};
}

// The characters a field may hold and still count as empty: the separators
// (spaces of every width, the line and paragraph separators) and the control
// characters that break or space text, as the desktop's text fields trim
// them. An ideographic space typed by an input method leaves a field empty.
bool isSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool isBlank(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto [code, length] = decode(text, at);
        if (length == 0 || !isSpace(code)) {
            return false;
        }
        at += length;
    }
    return true;
}

// Reads the numbers of the fields in the form's order, stopping at the first
// that holds text but no number.
class Reader {
public:
    Reader(const std::vector<std::string>& texts, const calc::NumberFormat& format)
        : m_texts(texts), m_format(format) {}

    std::optional<double> number(std::string_view key) {
        if (failed()) {
            return std::nullopt;
        }
        const std::size_t i = indexOf(key);
        const Field& field = kFields[i];
        const std::string& text = m_texts[i];
        if (isBlank(text)) {
            return std::nullopt;
        }
        if (calc::parseStrict(text, m_format).status != calc::StrictStatus::Ok) {
            m_key = std::string(key);
            m_why = "「" + std::string(field.caption) + "」不是一个数：" + text;
            return std::nullopt;
        }
        // Checked whole by the strict reading, read at its full double value.
        const double value = calc::readLenient(text, m_format);
        return field.scale == 1.0 ? value : jgj55::roundHalfUp(value / field.scale, 12);
    }

    bool failed() const { return !m_key.empty(); }
    const std::string& key() const { return m_key; }
    const std::string& why() const { return m_why; }

private:
    const std::vector<std::string>& m_texts;
    const calc::NumberFormat& m_format;
    std::string m_key;
    std::string m_why;
};

template <typename E> std::optional<E> entry(int index, int absentFrom) {
    if (index >= absentFrom) {
        return std::nullopt;
    }
    return static_cast<E>(index);
}

template <typename E> int indexOf(const std::optional<E>& value, int absent) {
    return value ? static_cast<int>(*value) : absent;
}

} // namespace

Jgj55Form::Jgj55Form(calc::NumberFormat format)
    : m_format(std::move(format)), m_texts(kFields.size()), m_choices(kFields.size(), -1),
      m_fieldStates(kFields.size()), m_resultStates(kResults.size()) {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].kind == Kind::Choice) {
            m_choices[i] = kFields[i].initialChoice;
        }
    }
    recompute();
}

std::span<const Jgj55Form::Field> Jgj55Form::fields() {
    return kFields;
}

std::span<const Jgj55Form::ResultField> Jgj55Form::resultFields() {
    return kResults;
}

const Jgj55Form::Field* Jgj55Form::findField(std::string_view key) {
    const std::size_t i = indexOf(key);
    return i < kFields.size() ? &kFields[i] : nullptr;
}

// The field, then what is typed into it, as everywhere in the form.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
bool Jgj55Form::setText(std::string_view key, std::string_view text) {
    const std::size_t i = indexOf(key);
    if (i == kFields.size() || kFields[i].kind != Kind::Number) {
        return false;
    }
    m_texts[i] = std::string(text);
    recompute();
    return true;
}

bool Jgj55Form::choose(std::string_view key, int index) {
    const std::size_t i = indexOf(key);
    if (i == kFields.size() || kFields[i].kind != Kind::Choice || index < 0 ||
        static_cast<std::size_t>(index) >= kFields[i].choices.size()) {
        return false;
    }
    m_choices[i] = index;
    recompute();
    return true;
}

const std::string& Jgj55Form::text(std::string_view key) const {
    static const std::string none;
    const std::size_t i = indexOf(key);
    return i < kFields.size() ? m_texts[i] : none;
}

int Jgj55Form::choice(std::string_view key) const {
    const std::size_t i = indexOf(key);
    return i < kFields.size() ? m_choices[i] : -1;
}

const Jgj55Form::FieldState& Jgj55Form::field(std::string_view key) const {
    static const FieldState none;
    const std::size_t i = indexOf(key);
    return i < kFields.size() ? m_fieldStates[i] : none;
}

const Jgj55Form::ResultState& Jgj55Form::result(std::string_view key) const {
    static const ResultState none{.text = std::string(kNoFigure), .tip = {}};
    const std::size_t i = resultIndexOf(key);
    return i < kResults.size() ? m_resultStates[i] : none;
}

std::string Jgj55Form::figure(double value) const {
    return report::figure(value, m_format);
}

void Jgj55Form::recompute() {
    using namespace jgj55;
    for (FieldState& state : m_fieldStates) {
        state = FieldState{};
    }
    m_result.reset();
    m_input.reset();
    m_unreadKey.clear();
    m_unreadWhy.clear();

    const auto chosen = [this](std::string_view key) { return m_choices[indexOf(key)]; };
    Reader read(m_texts, m_format);
    Input in;
    in.fcuk = read.number("fcuk");
    in.sigma = read.number("sigma");
    in.slump = read.number("slump");
    in.vebe = read.number("vebe");
    in.structure = static_cast<Structure>(chosen("structure"));
    in.environment = entry<Environment>(chosen("environment"), kNoEnvironment);
    in.cementGrade = entry<CementGrade>(chosen("cementGrade"), kMeasuredCement);
    in.gammaC = read.number("gammaC");
    in.fce = read.number("fce");
    in.stone = static_cast<Stone>(chosen("stone"));
    in.maxSize = read.number("maxSize");
    in.cementDensity = read.number("cementDensity");
    in.sandDensity = read.number("sandDensity");
    in.stoneDensity = read.number("stoneDensity");
    in.waterDensity = read.number("waterDensity");
    in.sandMoisture = read.number("sandMoisture");
    in.stoneMoisture = read.number("stoneMoisture");
    FlyAsh flyAsh{.fraction = read.number("flyAsh.fraction"),
                  .grade = static_cast<FlyAshGrade>(chosen("flyAsh.grade")),
                  .gammaF = read.number("flyAsh.gammaF"),
                  .density = read.number("flyAsh.density")};
    if (flyAsh.fraction || flyAsh.gammaF || flyAsh.density) {
        in.flyAsh = flyAsh;
    }
    Slag slag{.fraction = read.number("slag.fraction"),
              .grade = static_cast<SlagGrade>(chosen("slag.grade")),
              .gammaS = read.number("slag.gammaS"),
              .density = read.number("slag.density")};
    if (slag.fraction || slag.gammaS || slag.density) {
        in.slag = slag;
    }
    Admixture admixture{.fraction = read.number("admixture.fraction"),
                        .waterReduction = read.number("admixture.waterReduction")};
    if (admixture.fraction || admixture.waterReduction) {
        in.admixture = admixture;
    }
    in.water = read.number("water");
    in.sandRatio = read.number("sandRatio");
    in.alphaA = read.number("alphaA");
    in.alphaB = read.number("alphaB");
    in.method = static_cast<Method>(chosen("method"));
    in.assumedDensity = read.number("assumedDensity");
    in.air = read.number("air");

    if (read.failed()) {
        m_unreadKey = read.key();
        m_unreadWhy = read.why();
        mark(m_unreadKey, m_unreadWhy);
    } else {
        m_input = in;
        Outcome out = design(in);
        if (out) {
            m_result = std::move(out.result);
            m_status = Status{};
        } else {
            mark(out.refusal.input, plainText(out.refusal.message));
        }
    }

    const auto write = [this](double x) { return figure(x); };
    for (std::size_t i = 0; i < kResults.size(); ++i) {
        ResultState& shown = m_resultStates[i];
        if (!m_result) {
            shown = ResultState{.text = std::string(kNoFigure), .tip = {}};
            continue;
        }
        shown.text = figure(jgj55::figure(*m_result, kResults[i].key).value_or(0.0));
        shown.tip.clear();
        if (const Step* step = lastStep(*m_result, kResults[i].symbol)) {
            std::string tip(step->formula);
            if (step->formula != step->symbol) {
                tip += " = " + fill(step->substituted, step->operands.view(), write);
            }
            shown.tip = tip + " = " + figure(step->value);
        }
    }
    showTableValues();
}

// A refusal names the design file's input: a group ("flyAsh") is marked on
// its first field, its fraction. An input without a field of its own (a
// choice) is named in the status line alone.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the field, then why.
void Jgj55Form::mark(const std::string& key, std::string why) {
    std::size_t i = indexOf(key);
    if (i == kFields.size() || kFields[i].kind != Kind::Number) {
        i = indexOf(key + ".fraction");
    }
    if (i < kFields.size() && kFields[i].kind == Kind::Number) {
        m_fieldStates[i].marked = true;
        m_fieldStates[i].tip = why;
    }
    m_status = Status{.text = std::move(why), .error = true};
}

void Jgj55Form::showTableValues() {
    for (const DefaultValue& d : kDefaults) {
        m_fieldStates[indexOf(d.key)].placeholder = figure(d.value) + "（默认值）";
    }
    if (!m_result) {
        return;
    }
    const auto write = [this](double x) { return figure(x); };
    for (const TableValue& t : kTableValues) {
        const jgj55::Step* step = lastStep(*m_result, t.symbol);
        const jgj55::Step* read = lastStep(*m_result, t.table);
        if (step == nullptr || read == nullptr || read->origin == jgj55::Origin::Given) {
            continue;
        }
        const std::string source = jgj55::fill(read->source, read->sourceNumbers.view(), write);
        // The placeholder names the table alone: the source up to its first
        // clause; the tip gives the row and column read.
        constexpr std::string_view kClause = "，";
        const std::string table =
            source.empty() ? std::string("计算") : source.substr(0, source.find(kClause));
        FieldState& state = m_fieldStates[indexOf(t.key)];
        state.placeholder = figure(step->value) + "（" + table + "）";
        state.tip = source;
    }
}

bool Jgj55Form::open(std::string_view bytes, FileName file) {
    using namespace jgj55;
    const ReadResult read = jgj55::read(bytes);
    if (!read) {
        cannotOpen(file.shownAs, read.error);
        return false;
    }
    const Input& in = *read.input;
    const auto put = [this](std::string_view key, const std::optional<double>& value) {
        const std::size_t i = indexOf(key);
        m_texts[i] = value ? figure(roundHalfUp(*value * kFields[i].scale, 10)) : std::string();
    };
    const auto set = [this](std::string_view key, int index) { m_choices[indexOf(key)] = index; };
    put("fcuk", in.fcuk);
    put("sigma", in.sigma);
    put("slump", in.slump);
    put("vebe", in.vebe);
    set("structure", indexOf(in.structure, 1));
    set("environment", indexOf(in.environment, kNoEnvironment));
    set("cementGrade", indexOf(in.cementGrade, kMeasuredCement));
    put("gammaC", in.gammaC);
    put("fce", in.fce);
    set("stone", indexOf(in.stone, 0));
    put("maxSize", in.maxSize);
    put("cementDensity", in.cementDensity);
    put("sandDensity", in.sandDensity);
    put("stoneDensity", in.stoneDensity);
    put("waterDensity", in.waterDensity);
    put("sandMoisture", in.sandMoisture);
    put("stoneMoisture", in.stoneMoisture);
    const FlyAsh flyAsh = in.flyAsh.value_or(FlyAsh{});
    put("flyAsh.fraction", flyAsh.fraction);
    set("flyAsh.grade", indexOf(flyAsh.grade, 1));
    put("flyAsh.gammaF", flyAsh.gammaF);
    put("flyAsh.density", flyAsh.density);
    const Slag slag = in.slag.value_or(Slag{});
    put("slag.fraction", slag.fraction);
    set("slag.grade", indexOf(slag.grade, 1));
    put("slag.gammaS", slag.gammaS);
    put("slag.density", slag.density);
    const Admixture admixture = in.admixture.value_or(Admixture{});
    put("admixture.fraction", admixture.fraction);
    put("admixture.waterReduction", admixture.waterReduction);
    put("water", in.water);
    put("sandRatio", in.sandRatio);
    put("alphaA", in.alphaA);
    put("alphaB", in.alphaB);
    set("method", indexOf(in.method, 0));
    put("assumedDensity", in.assumedDensity);
    put("air", in.air);
    m_fileName = std::string(file.name);
    recompute();
    return true;
}

void Jgj55Form::cannotOpen(std::string_view shownAs, std::string_view reason) {
    m_status = Status{.text = "无法打开 " + std::string(shownAs) + "：" + std::string(reason),
                      .error = true};
}

std::optional<std::string> Jgj55Form::save() {
    if (!m_input) {
        // Named again: the status line may have said something else since.
        mark(m_unreadKey, m_unreadWhy);
        return std::nullopt;
    }
    return jgj55::serialize(*m_input);
}

void Jgj55Form::saved(FileName file) {
    m_fileName = std::string(file.name);
    m_status = Status{.text = "已保存到 " + std::string(file.shownAs), .error = false};
}

void Jgj55Form::cannotSave(std::string_view shownAs, std::string_view reason) {
    m_status = Status{.text = "无法保存到 " + std::string(shownAs) + "：" + std::string(reason),
                      .error = true};
}

std::string Jgj55Form::title(std::string_view program) const {
    std::string title;
    if (!m_fileName.empty()) {
        title = m_fileName + " - ";
    }
    return title + std::string(kTitle) + " - " + std::string(program);
}

std::optional<report::Document> Jgj55Form::report(const ReportStamp& stamp) const {
    if (!m_result || !m_input) {
        return std::nullopt;
    }
    report::Options options;
    options.date = stamp.date;
    options.program = stamp.program;
    options.version = stamp.version;
    options.designFile = m_fileName;
    options.batchLitres = m_details.litres;
    options.project = m_details.project;
    return report::buildJgj55Report(*m_input, *m_result, m_format, options);
}

void Jgj55Form::noReport(ReportUse use) {
    switch (use) {
    case ReportUse::Preview:
        // What stands in the way follows, as the status line said it.
        m_status =
            Status{.text = "设计尚不完整，没有计算书可预览。" + m_status.text, .error = true};
        break;
    case ReportUse::Pdf:
        m_status = Status{.text = "设计尚不完整，没有计算书可导出。", .error = true};
        break;
    case ReportUse::Copy:
        m_status = Status{.text = "设计尚不完整，没有计算书可复制。", .error = true};
        break;
    }
}

void Jgj55Form::reportExported(std::string_view shownAs, std::string_view reason) {
    m_status = reason.empty()
                   ? Status{.text = "计算书已导出到 " + std::string(shownAs), .error = false}
                   : Status{.text = "无法写入 " + std::string(shownAs) + "：" + std::string(reason),
                            .error = true};
}

void Jgj55Form::reportCopied() {
    m_status = Status{.text = "计算书已复制。", .error = false};
}

} // namespace session
