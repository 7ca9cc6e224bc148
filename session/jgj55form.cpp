#include "session/jgj55form.h"

#include "calc/conversions.h"
#include "calc/numberscan.h"
#include "calc/plainnumbers.h"
#include "jgj55/designfile.h"
#include "jgj55/inputs.h"
#include "jgj55/resultjson.h"
#include "jgj55/rounding.h"
#include "report/jgj55report.h"
#include "report/numbers.h"
#include "session/jgj55ranges.h"
#include "session/typedinput.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace session {

namespace {

using Field = Jgj55Form::Field;
using Kind = Jgj55Form::Kind;

constexpr std::string_view kRequirements = "设计要求";
constexpr std::string_view kMaterials = "原材料";
constexpr std::string_view kBinders = "外加剂与掺合料";
constexpr std::string_view kParameters = "计算参数";

// Where each input of the design stands on the form, group by group. The
// numbers are read in this order, so that of two unreadable fields the first
// one shown is the one named. A choice starts on the entry named `initial`
// (its file name), or on `absent` — an entry of the form's own that leaves
// the input absent ("不限": no environment limit; for the cement, its measured
// strength) — when it names one.
struct Placement {
    std::string_view key;
    std::string_view group;
    std::string_view initial = {};
    std::string_view absent = {};
};
constexpr Placement kPlacements[] = {
    {"fcuk", kRequirements},
    {"sigma", kRequirements},
    {"slump", kRequirements},
    {"vebe", kRequirements},
    {"structure", kRequirements, "reinforced"},
    {"environment", kRequirements, {}, "不限"},

    {"cementType", kMaterials, "P·O"},
    {"cementGrade", kMaterials, "42.5", "（用实测强度）"},
    {"gammaC", kMaterials},
    {"fce", kMaterials},
    {"stone", kMaterials, "crushed"},
    {"maxSize", kMaterials},
    {"cementDensity", kMaterials},
    {"sandDensity", kMaterials},
    {"stoneDensity", kMaterials},
    {"waterDensity", kMaterials},
    {"sandMoisture", kMaterials},
    {"stoneMoisture", kMaterials},

    {"flyAsh.fraction", kBinders},
    {"flyAsh.grade", kBinders, "II"},
    {"flyAsh.gammaF", kBinders},
    {"flyAsh.density", kBinders},
    {"slag.fraction", kBinders},
    {"slag.grade", kBinders, "S95"},
    {"slag.gammaS", kBinders},
    {"slag.density", kBinders},
    {"admixture.fraction", kBinders},
    {"admixture.waterReduction", kBinders},

    {"waterBinder", kParameters},
    {"water", kParameters},
    {"sandRatio", kParameters},
    {"alphaA", kParameters},
    {"alphaB", kParameters},
    {"method", kParameters, "mass"},
    {"assumedDensity", kParameters},
    {"air", kParameters},
};

struct Placed {
    Field field;
    const jgj55::InputRow* row = nullptr;
};

std::vector<Placed> place() {
    std::vector<Placed> placed;
    for (const Placement& p : kPlacements) {
        const jgj55::InputRow* row = jgj55::findInput(p.key);
        Field field{.key = row->key,
                    .caption = row->caption,
                    .unit = row->unit,
                    .group = p.group,
                    .kind =
                        row->kind == jgj55::InputRow::Kind::Number ? Kind::Number : Kind::Choice,
                    .typedShift = row->typedShift};
        for (const jgj55::ChoiceEntry& entry : row->choices) {
            if (entry.name == p.initial) {
                field.initialChoice = static_cast<int>(field.choices.size());
            }
            field.choices.push_back(entry.shown);
        }
        if (!p.absent.empty()) {
            field.absentChoice = static_cast<int>(field.choices.size());
            field.choices.push_back(p.absent);
            if (p.initial.empty()) {
                field.initialChoice = field.absentChoice;
            }
        }
        placed.push_back({std::move(field), row});
    }
    return placed;
}

const std::vector<Placed>& placed() {
    static const std::vector<Placed> all = place();
    return all;
}

const std::vector<Field>& fieldList() {
    static const std::vector<Field> all = [] {
        std::vector<Field> fields;
        for (const Placed& p : placed()) {
            fields.push_back(p.field);
        }
        return fields;
    }();
    return all;
}

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
    {"sigma", "σ", "σ"},           {"gammaC", "γc", "γc"},       {"flyAsh.gammaF", "γf", "γf"},
    {"slag.gammaS", "γs", "γs"},   {"alphaA", "αa", "αa"},       {"alphaB", "αb", "αb"},
    {"water", "mw0′", "mw0′"},     {"sandRatio", "βs", "βs,表"}, {"assumedDensity", "mcp", "mcp"},
    {"waterBinder", "W/B", "W/B"},
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
constexpr std::string_view kPercentUnit = "%";
constexpr std::string_view kTitle = "JGJ 55-2011 配合比设计";

std::size_t indexOf(std::string_view key) {
    const std::vector<Field>& fields = fieldList();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].key == key) {
            return i;
        }
    }
    return fields.size();
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

// A number as its decimal digits: value = digits × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The shortest decimal that reads back as `value` (finite).
Decimal shortestOf(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), value);
    Decimal d;
    const char* p = buffer.data();
    if (ec != std::errc{}) {
        d.digits = "0";
        return d;
    }
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    bool point = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
        } else {
            d.digits += *p;
            d.exponent -= point ? 1 : 0;
        }
    }
    if (p < end) {
        int power = 0;
        // The writer's exponent always reads: "e-07", "e+21".
        static_cast<void>(std::from_chars(p + (p[1] == '+' ? 2 : 1), end, power));
        d.exponent += power;
    }
    const std::size_t first = d.digits.find_first_not_of('0');
    d.digits = first == std::string::npos ? "0" : d.digits.substr(first);
    return d;
}

// The decimal in plain notation, with the regional decimal symbol and
// negative sign and no grouping: "12.3456789", "2400", "0.05".
std::string plainOf(const Decimal& d, const calc::NumberFormat& format) {
    std::string digits = d.digits;
    std::string text;
    if (d.exponent >= 0) {
        text = digits == "0" ? digits : digits + std::string(std::size_t(d.exponent), '0');
    } else {
        const auto fraction = std::size_t(-d.exponent);
        if (digits.size() <= fraction) {
            digits.insert(0, fraction - digits.size() + 1, '0');
        }
        text = digits.substr(0, digits.size() - fraction) + format.decimal +
               digits.substr(digits.size() - fraction);
        while (text.ends_with('0')) {
            text.pop_back();
        }
        if (text.ends_with(format.decimal)) {
            text.resize(text.size() - format.decimal.size());
        }
    }
    return (d.negative && digits != "0" ? format.negative : std::string()) + text;
}

// What a field shows for the file's `value`: the shortest text that reads
// back as it, the decimal point moved by the field's shift (0.123456789 as
// a percentage: 12.3456789), never a display format.
std::string typedText(double value, const calc::NumberFormat& format, int shift) {
    Decimal d = shortestOf(value);
    d.exponent += shift;
    return plainOf(d, format);
}

// The file's number of a field's text, read exactly: the decimal point moved
// back by the field's shift before the digits are rounded to a double once.
std::optional<double> typedValue(std::string_view text, const calc::NumberFormat& format,
                                 int shift) {
    const std::optional<calc::NumberParts> parts = calc::scanNumber(text, format);
    if (!parts || !parts->hasDigits()) {
        return std::nullopt;
    }
    int exponent = 0;
    if (!parts->exponentDigits.empty()) {
        long long power = 0;
        for (const char c : parts->exponentDigits) {
            power = std::min<long long>(power * 10 + (c - '0'), 100000);
        }
        exponent = static_cast<int>(parts->exponentNegative ? -power : power);
    }
    const std::string plain = std::string(parts->negative() ? "-" : "") + parts->integerDigits() +
                              "." + std::string(parts->fraction) + "e" +
                              std::to_string(exponent - shift);
    double value = 0.0;
    const auto [end, ec] = calc::readPlainNumber(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The number of a field's text at `shift` (the field's own: the file's
// value; 0: the value as typed), read as a Chinese input method types it:
// full-width digits and signs, and a "%" after a percentage.
std::optional<double> readTyped(std::string_view text, const Field& field,
                                const calc::NumberFormat& format, int shift) {
    const std::string typed = typedNumber(text, field.unit == kPercentUnit);
    return calc::parseStrict(typed, format).status == calc::StrictStatus::Ok
               ? typedValue(typed, format, shift)
               : std::nullopt;
}

// Which input or figure a note of 注意 concerns, by the words it uses: the
// first row whose words the note holds. The rules that raise or cap a value
// come first, then the figures a note names.
struct NoteTarget {
    std::string_view words;
    std::string_view key;
    bool onResult;
};
constexpr NoteTarget kNoteTargets[] = {
    {"计算水胶比", "waterBinder", true},
    {"最低强度等级", "fcuk", false},
    {"最小胶凝材料用量", "binder", true},
    {"骨料带入的水", "water", true},
    {"标准差", "sigma", false},
    {"粉煤灰", "flyAsh.fraction", false},
    {"矿渣粉", "slag.fraction", false},
    {"外加剂", "admixture.fraction", false},
    {"胶凝材料", "binder", true},
    {"水胶比", "waterBinder", true},
    {"用水量", "water", true},
    {"水泥用量", "cement", true},
    {"砂率", "sandRatio", true},
};

// The form's field for the design input a note names ("flyAsh" is its
// fraction's field); empty when the note names none the form shows. It
// places the notes whose words kNoteTargets does not know (the cement type's,
// the structure's).
std::string_view fieldOfInput(const std::string& input) {
    if (input.empty()) {
        return {};
    }
    const std::vector<Field>& fields = fieldList();
    for (const std::string& key : {input, input + ".fraction"}) {
        if (const std::size_t i = indexOf(key); i < fields.size()) {
            return fields[i].key;
        }
    }
    return {};
}

// Where a note of 注意 goes: by its words, else at the input it names.
Jgj55Form::Note placed(const jgj55::Message& m) {
    Jgj55Form::Note note;
    for (const NoteTarget& t : kNoteTargets) {
        if (m.pattern.find(t.words) != std::string::npos) {
            note.key = t.key;
            note.onResult = t.onResult;
            return note;
        }
    }
    note.key = fieldOfInput(m.input);
    return note;
}

// Reads the numbers of the fields in the form's order, stopping at the first
// that holds text but no number.
class Reader {
public:
    Reader(const std::vector<std::string>& texts, const calc::NumberFormat& format)
        : m_texts(texts), m_format(format) {}

    std::optional<double> number(std::size_t i) {
        if (failed()) {
            return std::nullopt;
        }
        const Field& field = fieldList()[i];
        const std::string& text = m_texts[i];
        if (isBlank(text)) {
            return std::nullopt;
        }
        const std::optional<double> value = readTyped(text, field, m_format, field.typedShift);
        if (!value) {
            m_key = std::string(field.key);
            m_why = "「" + std::string(field.caption) + "」不是一个数：" + text;
        }
        return value;
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

} // namespace

Jgj55Form::Jgj55Form(calc::NumberFormat format)
    : m_format(std::move(format)), m_texts(fieldList().size()), m_choices(fieldList().size(), -1),
      m_chosen(fieldList().size(), false), m_fieldStates(fieldList().size()),
      m_resultStates(kResults.size()) {
    startNew();
}

void Jgj55Form::startNew() {
    // A new form's choices are made: saved, it names each of them.
    for (std::size_t i = 0; i < fieldList().size(); ++i) {
        m_texts[i].clear();
        m_chosen[i] = fieldList()[i].kind == Kind::Choice;
        m_choices[i] = m_chosen[i] ? fieldList()[i].initialChoice : -1;
    }
    m_openedGroups.clear();
    m_file.clear();
    m_details = {};
    m_notice = {};
    m_status = {};
    recompute();
    m_savedBytes = m_input ? bytesOf(*m_input) : std::string();
}

std::string Jgj55Form::numberText(double value, const calc::NumberFormat& format) {
    return typedText(value, format, 0);
}

std::optional<double> Jgj55Form::numberOf(std::string_view text, const calc::NumberFormat& format) {
    if (calc::parseStrict(text, format).status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    return typedValue(text, format, 0);
}

std::span<const Jgj55Form::Field> Jgj55Form::fields() {
    return fieldList();
}

std::span<const Jgj55Form::ResultField> Jgj55Form::resultFields() {
    return kResults;
}

const Jgj55Form::Field* Jgj55Form::findField(std::string_view key) {
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? &fieldList()[i] : nullptr;
}

// The field, then what is typed into it, as everywhere in the form.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
bool Jgj55Form::setText(std::string_view key, std::string_view text) {
    const std::size_t i = indexOf(key);
    if (i == fieldList().size() || fieldList()[i].kind != Kind::Number) {
        return false;
    }
    m_texts[i] = std::string(text);
    if (m_sigmaSource && key == "sigma" && text != m_sigmaText) {
        m_sigmaSource.reset(); // a σ of the user's own
    }
    recompute();
    return true;
}

bool Jgj55Form::choose(std::string_view key, int index) {
    const std::size_t i = indexOf(key);
    if (i == fieldList().size() || fieldList()[i].kind != Kind::Choice || index < 0 ||
        static_cast<std::size_t>(index) >= fieldList()[i].choices.size()) {
        return false;
    }
    m_choices[i] = index;
    m_chosen[i] = true;
    recompute();
    return true;
}

const std::string& Jgj55Form::text(std::string_view key) const {
    static const std::string none;
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_texts[i] : none;
}

int Jgj55Form::choice(std::string_view key) const {
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_choices[i] : -1;
}

const Jgj55Form::FieldState& Jgj55Form::field(std::string_view key) const {
    static const FieldState none;
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_fieldStates[i] : none;
}

const Jgj55Form::ResultState& Jgj55Form::result(std::string_view key) const {
    static const ResultState none{.text = std::string(kNoFigure), .tip = {}};
    const std::size_t i = resultIndexOf(key);
    return i < kResults.size() ? m_resultStates[i] : none;
}

std::string Jgj55Form::figure(double value) const {
    return report::figure(value, m_format);
}

// The inputs as the fields hold them: the numbers first, each of which makes
// its group; then the groups the file named; then the choices made, a
// member of a group only where the group is.
jgj55::Input Jgj55Form::readInputs() {
    Reader read(m_texts, m_format);
    jgj55::Input in;
    const std::vector<Placed>& all = placed();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].field.kind == Kind::Number) {
            all[i].row->setNumber(in, read.number(i));
        }
    }
    for (const std::string_view group : m_openedGroups) {
        jgj55::makeGroup(in, group);
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Placed& p = all[i];
        if (p.field.kind != Kind::Choice || !m_chosen[i] || m_choices[i] == p.field.absentChoice) {
            continue;
        }
        const std::string_view group = p.row->group();
        if (!group.empty() && !jgj55::hasGroup(in, group)) {
            continue;
        }
        p.row->setChoice(in, p.row->choices[static_cast<std::size_t>(m_choices[i])].value);
    }
    if (read.failed()) {
        m_unreadKey = read.key();
        m_unreadWhy = read.why();
    }
    return in;
}

void Jgj55Form::recompute() {
    for (FieldState& state : m_fieldStates) {
        state = FieldState{};
    }
    m_result.reset();
    m_input.reset();
    m_unreadKey.clear();
    m_unreadWhy.clear();
    // Figures as the report writes them; a "{.N}" one at its N decimals.
    const auto write = [this](double x, int places) {
        return places < 0 ? figure(x) : report::fixed(x, places, m_format);
    };

    const jgj55::Input in = readInputs();
    if (!m_unreadKey.empty()) {
        mark(m_unreadKey, m_unreadWhy);
    } else {
        m_input = in;
        jgj55::Outcome out = jgj55::design(in);
        if (out) {
            m_result = std::move(out.result);
            m_status = Status{};
        } else {
            mark(out.refusal.input,
                 jgj55::fill(out.refusal.message.pattern, out.refusal.message.numbers, write));
        }
    }

    for (std::size_t i = 0; i < kResults.size(); ++i) {
        ResultState& shown = m_resultStates[i];
        shown.warning.clear();
        shown.construction.clear();
        shown.trial.clear();
        if (!m_result) {
            shown = ResultState{.text = std::string(kNoFigure), .tip = {}};
            continue;
        }
        shown.text = figure(jgj55::figure(*m_result, kResults[i].key).value_or(0.0));
        shown.tip.clear();
        if (const jgj55::Step* step = lastStep(*m_result, kResults[i].symbol)) {
            std::string tip(step->formula);
            if (step->formula != step->symbol) {
                tip += " = " + jgj55::fill(step->substituted, step->operands.view(), write);
            }
            shown.tip = tip + " = " + figure(step->value);
        }
    }
    showTableValues();
    showMixes();
    showNotes();
    recomputeTrials();
}

// Each readable value outside its usual range, and each note of 注意 on the
// input or figure it concerns.
void Jgj55Form::showNotes() {
    m_outOfRange = 0;
    const std::vector<Field>& fields = fieldList();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].kind != Kind::Number || isBlank(m_texts[i])) {
            continue;
        }
        const std::optional<double> typed = readTyped(m_texts[i], fields[i], m_format, 0);
        const std::string finding =
            typed ? implausible(fields[i].key, fields[i].caption, fields[i].unit, *typed, m_format)
                  : std::string();
        if (!finding.empty()) {
            m_fieldStates[i].warning = finding;
            ++m_outOfRange;
        }
    }
    m_notes.clear();
    if (!m_result) {
        return;
    }
    const auto write = [this](double x) { return figure(x); };
    const auto add = [](std::string& to, const std::string& text) {
        to += (to.empty() ? "" : "\n") + text;
    };
    for (const std::vector<jgj55::Message>* list : {&m_result->notes, &m_result->warnings}) {
        for (const jgj55::Message& m : *list) {
            Note note = placed(m);
            note.text = jgj55::fill(m.pattern, m.numbers, write) + "。";
            if (note.onResult) {
                add(m_resultStates[resultIndexOf(note.key)].warning, note.text);
            } else if (!note.key.empty()) {
                add(m_fieldStates[indexOf(note.key)].warning, note.text);
            }
            m_notes.push_back(std::move(note));
        }
    }
}

// The masses of the construction mix and of the trial batch, beside the
// design's: the trial batch from the construction mix when there is one, as
// the report weighs it.
void Jgj55Form::showMixes() {
    if (!m_result) {
        return;
    }
    const jgj55::Result& r = *m_result;
    const std::optional<jgj55::ConstructionMix>& c = r.construction;
    struct Mass {
        std::string_view key;
        double design;
        double construction;
    };
    const Mass masses[] = {
        {"water", r.water, c ? c->water : 0.0},
        {"cement", r.cement, c ? c->cement : 0.0},
        {"flyAsh", r.flyAsh, c ? c->flyAsh : 0.0},
        {"slag", r.slag, c ? c->slag : 0.0},
        {"admixture", r.admixture, c ? c->admixture : 0.0},
        {"sand", r.sand, c ? c->sand : 0.0},
        {"stone", r.stone, c ? c->stone : 0.0},
    };
    for (const Mass& m : masses) {
        ResultState& shown = m_resultStates[resultIndexOf(m.key)];
        const std::string perCubic = figure(c ? m.construction : m.design);
        if (c) {
            shown.construction = perCubic;
        }
        shown.trial = report::trialMass(perCubic, m_details.litres, m_format).value_or("—");
    }
}

void Jgj55Form::setReportDetails(const ReportDetails& details) {
    m_details = details;
    showMixes();
}

std::string Jgj55Form::noteCount() const {
    std::string text;
    if (!m_notes.empty()) {
        text = "注意 " + std::to_string(m_notes.size()) + " 条";
    }
    if (m_outOfRange > 0) {
        text += (text.empty() ? "" : "，") + std::to_string(m_outOfRange) + " 项不在常用范围";
    }
    return text;
}

std::string Jgj55Form::trialTitle() const {
    return "试拌 " + figure(m_details.litres) + " L";
}

void Jgj55Form::setTrials(std::optional<jgj55::Trials> trials) {
    m_trials = std::move(trials);
    recompute();
}

// The trials on the design as it stands; a refusal goes to the status line,
// the design's figures stay.
void Jgj55Form::recomputeTrials() {
    m_trialOutcome.reset();
    if (!m_trials || !m_result || !m_input) {
        return;
    }
    m_trialOutcome = jgj55::runTrials(*m_input, *m_result, *m_trials);
    if (!*m_trialOutcome) {
        m_status = Status{.text = trialsProblem(), .error = true};
    }
}

std::string Jgj55Form::trialsProblem() const {
    if (!m_trialOutcome || *m_trialOutcome) {
        return {};
    }
    return "试配：" + m_trialOutcome->refusal.message;
}

// A refusal names the design file's input: a group ("flyAsh") is marked on
// its first field, its fraction. An input without a field of its own (a
// choice) is named in the status line alone.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the field, then why.
void Jgj55Form::mark(const std::string& key, std::string why) {
    const std::vector<Field>& fields = fieldList();
    std::size_t i = indexOf(key);
    if (i == fields.size() || fields[i].kind != Kind::Number) {
        i = indexOf(key + ".fraction");
    }
    if (i < fields.size() && fields[i].kind == Kind::Number) {
        m_fieldStates[i].marked = true;
        m_fieldStates[i].tip = why;
    }
    m_status = Status{.text = std::move(why), .error = true};
}

void Jgj55Form::showTableValues() {
    for (const DefaultValue& d : kDefaults) {
        FieldState& state = m_fieldStates[indexOf(d.key)];
        state.greyed = figure(d.value);
        state.placeholder = state.greyed + "（默认值）";
    }
    if (!m_result) {
        return;
    }
    const auto write = [this](double x, int places) {
        return places < 0 ? figure(x) : report::fixed(x, places, m_format);
    };
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
        state.greyed = figure(step->value);
        state.placeholder = state.greyed + "（" + table + "）";
        state.tip = source;
    }
}

std::string Jgj55Form::bytesOf(const jgj55::Input& input) const {
    return jgj55::serialize(
        input, m_details.project, m_details.litres,
        m_notice.empty() ? nlohmann::ordered_json() : notice::detailsBlock(m_notice), m_trials,
        m_sigmaSource ? sigmaSourceBlock(*m_sigmaSource) : nlohmann::ordered_json());
}

Document::NoticeBasis Jgj55Form::noticeBasis() const {
    if (!m_result || !m_input) {
        return {std::nullopt, "设计尚不完整，不能开具配合比通知单。" + m_status.text};
    }
    if (const std::string problem = trialsProblem(); !problem.empty()) {
        return {std::nullopt, problem};
    }
    const jgj55::Result& r = *m_result;
    notice::Basis basis;
    basis.kind = notice::Basis::Kind::Calculated;
    basis.standard = "JGJ 55-2011《普通混凝土配合比设计规程》";
    basis.mix = {.binder = r.binder,
                 .cement = r.cement,
                 .flyAsh = r.flyAsh,
                 .slag = r.slag,
                 .water = r.water,
                 .sand = r.sand,
                 .stone = r.stone,
                 .admixture = r.admixture};
    basis.waterBinder = r.waterBinder;
    basis.sandRatio = r.sandRatio;
    // The laboratory mix, once the trials have given one.
    const jgj55::Adjustment* adjusted =
        m_trialOutcome && *m_trialOutcome && m_trialOutcome->result->adjustment
            ? &*m_trialOutcome->result->adjustment
            : nullptr;
    if (adjusted != nullptr && adjusted->lab) {
        const jgj55::LabMix& lab = *adjusted->lab;
        basis.kind = notice::Basis::Kind::Lab;
        basis.mix = {.binder = lab.binder,
                     .cement = lab.cement,
                     .flyAsh = lab.flyAsh,
                     .slag = lab.slag,
                     .water = lab.water,
                     .sand = lab.sand,
                     .stone = lab.stone,
                     .admixture = lab.admixture};
        basis.waterBinder = adjusted->waterBinder;
        basis.sandRatio = adjusted->mix.sandRatio;
    }
    basis.waterCement = basis.mix.flyAsh == 0.0 && basis.mix.slag == 0.0;
    basis.slump = m_input->slump;
    basis.strengthClass = "C" + typedText(m_input->fcuk.value_or(0.0), calc::NumberFormat{}, 0);
    return {std::move(basis), {}};
}

Opening Jgj55Form::openBytes(std::string_view bytes, FileName file) {
    const jgj55::ReadResult read = jgj55::read(bytes);
    if (!read) {
        return {.opened = false, .error = read.error};
    }
    // Everything is read before anything of the form changes.
    notice::Details noticeDetails;
    if (!read.notice.is_null()) {
        const notice::DetailsReading reading = notice::readDetails(read.notice);
        if (!reading) {
            return {.opened = false, .error = reading.error};
        }
        noticeDetails = *reading.details;
    }
    const jgj55::Input& in = *read.input;
    const std::vector<Placed>& all = placed();
    m_openedGroups.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Placed& p = all[i];
        if (p.field.kind == Kind::Number) {
            const std::optional<double> value = p.row->number(in);
            m_texts[i] = value ? typedText(*value, m_format, p.field.typedShift) : std::string();
            continue;
        }
        // A choice the file leaves out shows what the design takes instead
        // and stays unmade, so that saving leaves it out too.
        const std::optional<int> value = p.row->choice(in);
        m_chosen[i] = value.has_value();
        m_choices[i] = p.field.absentChoice >= 0 ? p.field.absentChoice : p.field.initialChoice;
        for (std::size_t e = 0; value && e < p.row->choices.size(); ++e) {
            if (p.row->choices[e].value == *value) {
                m_choices[i] = static_cast<int>(e);
            }
        }
    }
    for (const jgj55::InputRow& row : jgj55::inputRows()) {
        const std::string_view group = row.group();
        if (!group.empty() && jgj55::hasGroup(in, group) &&
            std::find(m_openedGroups.begin(), m_openedGroups.end(), group) ==
                m_openedGroups.end()) {
            m_openedGroups.push_back(group);
        }
    }
    m_notice = noticeDetails;
    m_trials = read.trials;
    m_details = {.litres = read.batchLitres, .project = read.project};
    // A source that no longer names the design's σ is not believed.
    m_sigmaSource = sigmaSourceFrom(bytes);
    if (m_sigmaSource && in.sigma != m_sigmaSource->sigma) {
        m_sigmaSource.reset();
    }
    m_sigmaText = m_texts[indexOf("sigma")];
    m_file = std::string(file.path);
    recompute();
    // The design as this program writes it: a file written by hand in
    // another order or spelling is not a change.
    m_savedBytes = bytesOf(in);
    return {.opened = true, .error = {}};
}

bool Jgj55Form::open(std::string_view bytes, FileName file) {
    const Opening opening = openBytes(bytes, file);
    if (!opening.opened) {
        cannotOpen(file.shown, opening.error);
    }
    return opening.opened;
}

bool Jgj55Form::importSigma(std::string_view bytes, FileName file) {
    std::string name(file.path);
    if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const SigmaImport imported = session::importSigma(bytes, name);
    std::string refusal = imported.reason;
    if (imported.source && m_input && m_input->fcuk && *m_input->fcuk != imported.source->fcuk) {
        refusal = "评定的强度等级为 " + strengthClass(imported.source->fcuk) + "，设计为 " +
                  strengthClass(*m_input->fcuk) + "：σ 应取自同一强度等级的混凝土";
    }
    if (!refusal.empty()) {
        m_status =
            Status{.text = "无法从 " + std::string(file.shown) + " 导入强度标准差：" + refusal,
                   .error = true};
        return false;
    }
    m_sigmaSource = imported.source;
    m_sigmaText = shortestText(imported.source->sigma, m_format);
    m_texts[indexOf("sigma")] = m_sigmaText;
    recompute();
    // Said first; what still stands in the way of the design follows.
    m_status.text = sigmaSourceNote(*m_sigmaSource, m_format) + m_status.text;
    return true;
}

void Jgj55Form::cannotOpen(std::string_view shownAs, std::string_view reason) {
    m_status = Status{.text = "无法打开 " + std::string(shownAs) + "：" + std::string(reason),
                      .error = true};
}

Saving Jgj55Form::saveBytes() const {
    if (!m_input) {
        return {.bytes = std::nullopt, .error = m_unreadWhy};
    }
    return {.bytes = bytesOf(*m_input), .error = {}};
}

Saving Jgj55Form::save() {
    Saving saving = saveBytes();
    if (!saving) {
        // Named again: the status line may have said something else since.
        mark(m_unreadKey, m_unreadWhy);
    }
    return saving;
}

void Jgj55Form::savedAs(const Saving& saving, FileName file) {
    m_file = std::string(file.path);
    if (saving.bytes) {
        m_savedBytes = *saving.bytes;
    }
}

void Jgj55Form::saved(const Saving& saving, FileName file) {
    savedAs(saving, file);
    m_status = Status{.text = "已保存到 " + std::string(file.shown), .error = false};
}

bool Jgj55Form::modified() const {
    const Saving now = saveBytes();
    // A field that holds no number is a change the file cannot hold yet.
    return !now.bytes || *now.bytes != m_savedBytes;
}

void Jgj55Form::cannotSave(std::string_view shownAs, std::string_view reason) {
    m_status = Status{.text = "无法保存到 " + std::string(shownAs) + "：" + std::string(reason),
                      .error = true};
}

std::string Jgj55Form::title(std::string_view program) const {
    std::string title;
    if (!m_file.empty()) {
        title = fileName() + " - ";
    }
    return title + std::string(kTitle) + " - " + std::string(program);
}

std::string Jgj55Form::calculateForReport() {
    // Designed on every change: what stands in the way is in the status line.
    if (!m_result) {
        return m_status.text;
    }
    return trialsProblem();
}

Reporting Jgj55Form::report(const ReportStamp& stamp) const {
    if (!m_result || !m_input) {
        return {.document = std::nullopt, .refusal = m_status.text};
    }
    if (std::string problem = trialsProblem(); !problem.empty()) {
        return {.document = std::nullopt, .refusal = std::move(problem)};
    }
    report::Options options;
    options.date = stamp.date;
    options.program = stamp.program;
    options.version = stamp.version;
    options.designFile = fileName();
    options.batchLitres = m_details.litres;
    options.project = m_details.project;
    const jgj55::TrialResult* trial =
        m_trialOutcome ? (m_trialOutcome->result ? &*m_trialOutcome->result : nullptr) : nullptr;
    report::Document document =
        report::buildJgj55Report(*m_input, *m_result, m_format, options, trial);
    if (m_sigmaSource && !document.sections.empty()) {
        document.sections.front().blocks.emplace_back(
            report::Paragraph{sigmaSourceNote(*m_sigmaSource, m_format)});
    }
    return {.document = std::move(document), .refusal = {}};
}

Saving Jgj55Form::resultJson() const {
    if (!m_result) {
        return {.bytes = std::nullopt, .error = m_status.text};
    }
    if (std::string problem = trialsProblem(); !problem.empty()) {
        return {.bytes = std::nullopt, .error = std::move(problem)};
    }
    const jgj55::TrialResult* trial =
        m_trialOutcome ? (m_trialOutcome->result ? &*m_trialOutcome->result : nullptr) : nullptr;
    return {.bytes = jgj55::resultJson(*m_result, trial), .error = {}};
}

void Jgj55Form::noReport(ReportUse use) {
    // A design whose trials are refused has no report either.
    const std::string why = m_result ? "试配数据有误" : "设计尚不完整";
    switch (use) {
    case ReportUse::Preview:
        // What stands in the way follows, as the status line said it.
        m_status = Status{.text = why + "，没有计算书可预览。" + m_status.text, .error = true};
        break;
    case ReportUse::Pdf:
        m_status = Status{.text = why + "，没有计算书可导出。", .error = true};
        break;
    case ReportUse::Copy:
        m_status = Status{.text = why + "，没有计算书可复制。", .error = true};
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
