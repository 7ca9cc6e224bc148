#include "session/evaluationform.h"

#include "calc/conversions.h"
#include "gbt50107/evaluationfile.h"
#include "gbt50107/resultjson.h"
#include "report/gbt50107record.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace session {

namespace {

using gbt50107::Entry;
using gbt50107::InputFault;
using gbt50107::Place;
using Field = EvaluationForm::Field;
using Kind = EvaluationForm::Kind;

constexpr std::string_view kTitle = "混凝土强度检验评定";
constexpr std::string_view kNoFigure = "—";

constexpr gbt50107::SpecimenSize kSizes[] = {gbt50107::SpecimenSize::Cube100,
                                             gbt50107::SpecimenSize::Cube150,
                                             gbt50107::SpecimenSize::Cube200};
constexpr gbt50107::Method kMethods[] = {gbt50107::Method::Auto, gbt50107::Method::KnownSigma,
                                         gbt50107::Method::Statistical,
                                         gbt50107::Method::NonStatistical};

const std::vector<Field>& fieldList() {
    static const std::vector<Field> all = [] {
        std::vector<Field> fields;
        fields.push_back({.key = "fcuk", .caption = "强度等级 fcu,k", .unit = "MPa"});
        fields.push_back({.key = "specimenSize",
                          .caption = "试件尺寸",
                          .unit = "mm",
                          .kind = Kind::Choice,
                          .choices = {"100", "150", "200"},
                          .initialChoice = 1});
        fields.push_back({.key = "sizeFactor", .caption = "尺寸换算系数", .unit = ""});
        Field method{.key = "method", .caption = "评定方法", .unit = "", .kind = Kind::Choice};
        for (const gbt50107::Method m : kMethods) {
            method.choices.push_back(gbt50107::methodName(m));
        }
        fields.push_back(std::move(method));
        fields.push_back({.key = "sigma0", .caption = "已知标准差 σ0", .unit = "MPa"});
        fields.push_back({.key = "previous",
                          .caption = "上一期强度代表值",
                          .unit = "MPa",
                          .kind = Kind::Values});
        return fields;
    }();
    return all;
}

std::size_t indexOf(std::string_view key) {
    const std::vector<Field>& all = fieldList();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].key == key) {
            return i;
        }
    }
    return all.size();
}

// The text without the blanks around it: spaces, tabs, line breaks, the
// no-break space and the ideographic space of a Chinese input method.
std::string_view trimmed(std::string_view text) {
    static constexpr std::string_view kBlanks[] = {" ",  "\t",       "\r",
                                                   "\n", "\xC2\xA0", "\xE3\x80\x80"};
    bool changed = true;
    while (changed && !text.empty()) {
        changed = false;
        for (const std::string_view b : kBlanks) {
            if (text.starts_with(b)) {
                text.remove_prefix(b.size());
                changed = true;
            }
            if (text.ends_with(b)) {
                text.remove_suffix(b.size());
                changed = true;
            }
        }
    }
    return text;
}

bool blank(std::string_view text) {
    return trimmed(text).empty();
}

bool blankRow(const gbt50107::GroupRow& row) {
    return blank(row.specimens[0]) && blank(row.specimens[1]) && blank(row.specimens[2]) &&
           blank(row.value);
}

// The previous period's values as cells: every cell of every line.
std::vector<std::string> valueCells(std::string_view text, const calc::NumberFormat& format) {
    std::vector<std::string> cells;
    for (std::vector<std::string>& row : gbt50107::splitCells(text, format)) {
        for (std::string& cell : row) {
            if (!cell.empty()) {
                cells.push_back(std::move(cell));
            }
        }
    }
    return cells;
}

// A figure as the user would type it: its shortest decimal.
std::string typed(double value, const calc::NumberFormat& format) {
    return gbt50107::decimalText(value, 0, format);
}

bool hasNumber(const std::vector<std::string>& row, const calc::NumberFormat& format) {
    return std::any_of(row.begin(), row.end(), [&](const std::string& cell) {
        return calc::parseStrict(cell, format).status == calc::StrictStatus::Ok;
    });
}

// A line of a CSV file as a row of the table: one cell is a group value,
// more are the specimens and then the group value; cells beyond are counted
// in `leftOut`.
gbt50107::GroupRow importedRow(const std::vector<std::string>& cells, int& leftOut) {
    gbt50107::GroupRow row;
    if (cells.size() == 1) {
        row.value = cells[0];
        return row;
    }
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c < 3) {
            row.specimens[c] = cells[c];
        } else if (c == 3) {
            row.value = cells[c];
        } else {
            leftOut += cells[c].empty() ? 0 : 1;
        }
    }
    return row;
}

} // namespace

EvaluationForm::EvaluationForm(calc::NumberFormat format)
    : m_format(std::move(format)), m_texts(fieldList().size()), m_choices(fieldList().size(), -1),
      m_fieldStates(fieldList().size()) {
    for (std::size_t i = 0; i < fieldList().size(); ++i) {
        if (fieldList()[i].kind == Kind::Choice) {
            m_choices[i] = fieldList()[i].initialChoice;
        }
    }
    recompute();
    m_savedBytes = bytesOf();
}

std::span<const Field> EvaluationForm::fields() {
    return fieldList();
}

const Field* EvaluationForm::findField(std::string_view key) {
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? &fieldList()[i] : nullptr;
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the entry, then what is typed in it
bool EvaluationForm::setText(std::string_view key, std::string_view text) {
    const std::size_t i = indexOf(key);
    if (i == fieldList().size() || fieldList()[i].kind == Kind::Choice) {
        return false;
    }
    m_texts[i] = std::string(text);
    recompute();
    return true;
}

bool EvaluationForm::choose(std::string_view key, int index) {
    const std::size_t i = indexOf(key);
    if (i == fieldList().size() || fieldList()[i].kind != Kind::Choice || index < 0 ||
        static_cast<std::size_t>(index) >= fieldList()[i].choices.size()) {
        return false;
    }
    m_choices[i] = index;
    recompute();
    return true;
}

const std::string& EvaluationForm::text(std::string_view key) const {
    static const std::string none;
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_texts[i] : none;
}

int EvaluationForm::choice(std::string_view key) const {
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_choices[i] : -1;
}

const EvaluationForm::CellState& EvaluationForm::field(std::string_view key) const {
    static const CellState none;
    const std::size_t i = indexOf(key);
    return i < fieldList().size() ? m_fieldStates[i] : none;
}

const std::string& EvaluationForm::cell(int row, int column) const {
    static const std::string none;
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return none;
    }
    const gbt50107::GroupRow& r = m_rows[static_cast<std::size_t>(row)];
    return column == kValueColumn ? r.value : r.specimens[static_cast<std::size_t>(column)];
}

const EvaluationForm::CellState& EvaluationForm::cellState(int row, int column) const {
    static const CellState none;
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return none;
    }
    return m_cellStates[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

bool EvaluationForm::setCell(int row, int column, std::string_view text) {
    if (row < 0 || column < 0 || column >= kColumns) {
        return false;
    }
    if (row >= rowCount()) {
        m_rows.resize(static_cast<std::size_t>(row) + 1);
    }
    gbt50107::GroupRow& r = m_rows[static_cast<std::size_t>(row)];
    (column == kValueColumn ? r.value : r.specimens[static_cast<std::size_t>(column)]) =
        std::string(text);
    recompute();
    return true;
}

EvaluationForm::Pasted EvaluationForm::paste(int row, int column, std::string_view text) {
    Pasted pasted;
    if (row < 0 || column < 0 || column >= kColumns) {
        return pasted;
    }
    const std::vector<std::vector<std::string>> rows = gbt50107::splitCells(text, m_format);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t at = static_cast<std::size_t>(row) + r;
        if (at >= m_rows.size()) {
            m_rows.resize(at + 1);
        }
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::size_t to = static_cast<std::size_t>(column) + c;
            if (to >= kColumns) {
                pasted.leftOut += rows[r][c].empty() ? 0 : 1;
                continue;
            }
            (to == kValueColumn ? m_rows[at].value : m_rows[at].specimens[to]) = rows[r][c];
            pasted.columns = std::max(pasted.columns, static_cast<int>(c) + 1);
        }
    }
    pasted.rows = static_cast<int>(rows.size());
    recompute();
    // Said before any fault of the cells, which their marks show.
    if (pasted.leftOut > 0) {
        m_status = {.text = "粘贴的内容多于四列：" + std::to_string(pasted.leftOut) +
                            " 个单元格超出代表值一列，未粘贴。",
                    .error = true};
    }
    return pasted;
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the bytes, then the file's name
int EvaluationForm::importCsv(std::string_view bytes, std::string_view shownAs) {
    std::vector<std::vector<std::string>> rows = gbt50107::splitCells(bytes, m_format);
    // A heading (试件 1, 试件 2, …) holds no number.
    std::size_t first = 0;
    while (first < rows.size() && !hasNumber(rows[first], m_format)) {
        ++first;
    }
    while (!m_rows.empty() && blankRow(m_rows.back())) {
        m_rows.pop_back();
    }
    int added = 0;
    int leftOut = 0;
    for (std::size_t r = first; r < rows.size(); ++r) {
        m_rows.push_back(importedRow(rows[r], leftOut));
        ++added;
    }
    recompute();
    if (added == 0) {
        m_status = {.text = "“" + std::string(shownAs) + "”中没有强度数据，未导入。",
                    .error = true};
    } else {
        std::string text =
            "已从“" + std::string(shownAs) + "”导入 " + std::to_string(added) + " 组。";
        if (leftOut > 0) {
            text += std::to_string(leftOut) + " 个单元格超出代表值一列，未导入。";
        }
        if (m_status.error) {
            text += m_status.text;
        }
        m_status = {.text = std::move(text), .error = leftOut > 0 || m_status.error};
    }
    return added;
}

void EvaluationForm::removeRows(int first, int count) {
    if (first < 0 || count <= 0 || first >= rowCount()) {
        return;
    }
    const auto begin = m_rows.begin() + first;
    m_rows.erase(begin, begin + std::min(count, rowCount() - first));
    recompute();
}

// The entries above the table: each number read whole in the regional
// format, a text that is none a fault of its entry.
void EvaluationForm::readEntries(std::vector<InputFault>& faults) {
    const auto number = [&](std::string_view key, Entry entry) -> std::optional<double> {
        const std::string_view t = trimmed(m_texts[indexOf(key)]);
        if (t.empty()) {
            return std::nullopt;
        }
        if (calc::parseStrict(t, m_format).status != calc::StrictStatus::Ok) {
            const Place place{entry};
            faults.push_back(
                {place, gbt50107::faultMessage(place, "不是一个数：" + std::string(t))});
            return std::nullopt;
        }
        return calc::readLenient(t, m_format);
    };
    m_input.fcuk = number("fcuk", Entry::Fcuk);
    m_input.sizeFactor = number("sizeFactor", Entry::SizeFactor);
    m_input.sigma0 = number("sigma0", Entry::Sigma0);
    m_input.specimenSize = kSizes[m_choices[indexOf("specimenSize")]];
    m_input.method = kMethods[m_choices[indexOf("method")]];
    const std::vector<std::string> cells = valueCells(m_texts[indexOf("previous")], m_format);
    gbt50107::ValueCells previous = gbt50107::readPreviousCells(cells, m_format);
    m_input.previous = std::move(previous.values);
    faults.insert(faults.end(), previous.faults.begin(), previous.faults.end());
}

void EvaluationForm::recompute() {
    std::vector<InputFault> faults;
    readEntries(faults);
    gbt50107::GroupCells read = gbt50107::readGroupRows(m_rows, m_format);
    m_input.groups = std::move(read.groups);
    faults.insert(faults.end(), read.faults.begin(), read.faults.end());
    gbt50107::Outcome out = gbt50107::evaluate(m_input, faults);
    m_evaluation = std::move(out.evaluation);
    m_faults = std::move(out.faults);
    markFaults();
    showEvaluation();
}

void EvaluationForm::markFaults() {
    for (CellState& state : m_fieldStates) {
        state = CellState{};
    }
    m_cellStates.assign(m_rows.size(), {});
    const auto mark = [](CellState& state, const std::string& why) {
        if (!state.marked) {
            state.marked = true;
            state.tip = why;
        }
    };
    for (const InputFault& fault : m_faults) {
        const Place& p = fault.place;
        if (p.entry != Entry::Groups) {
            const std::size_t i = indexOf(gbt50107::entryKey(p.entry));
            if (i < m_fieldStates.size()) {
                mark(m_fieldStates[i], fault.message);
            }
            continue;
        }
        if (p.group < 0 || static_cast<std::size_t>(p.group) >= m_cellStates.size()) {
            continue; // the table as a whole: the status line names it
        }
        auto& row = m_cellStates[static_cast<std::size_t>(p.group)];
        if (p.cell >= 0 && p.cell < kColumns) {
            mark(row[static_cast<std::size_t>(p.cell)], fault.message);
        } else {
            for (CellState& state : row) {
                mark(state, fault.message);
            }
        }
    }
    if (m_faults.empty()) {
        m_status = {};
        return;
    }
    std::string text = m_faults.front().message;
    if (m_faults.size() > 1) {
        text += "（另有 " + std::to_string(m_faults.size() - 1) + " 处有误）";
    }
    m_status = {.text = std::move(text), .error = true};
}

void EvaluationForm::showEvaluation() {
    m_verdict.clear();
    m_conditions.clear();
    if (!m_evaluation) {
        // The captions stay, every figure a dash.
        m_figures = figuresOf(gbt50107::Evaluation{});
        for (Figure& f : m_figures) {
            f.text = std::string(kNoFigure);
        }
        return;
    }
    const gbt50107::Evaluation& e = *m_evaluation;
    m_figures = figuresOf(e);
    for (const gbt50107::Condition& c : e.conditions) {
        m_conditions.push_back({gbt50107::conditionText(e, c, m_format), c.holds});
    }
    m_verdict = gbt50107::verdict(e);
    showGroupValues(e);
    m_status = {.text = "评定结果：" + m_verdict, .error = false};
}

std::vector<EvaluationForm::Figure> EvaluationForm::figuresOf(const gbt50107::Evaluation& e) const {
    const auto strength = [&](double x) { return gbt50107::decimalText(x, 1, m_format) + " MPa"; };
    const auto two = [&](const std::optional<double>& x) {
        return x ? gbt50107::decimalText(*x, 2, m_format) : std::string(kNoFigure);
    };
    const bool known = e.method == gbt50107::Method::KnownSigma;
    std::string sd = two(e.sdUsed);
    if (e.sd && e.sdUsed && *e.sd != *e.sdUsed) {
        sd = two(e.sd) + "，取 " + sd; // the 2.5 MPa floor
    }
    return {
        {"评定方法", std::string(gbt50107::methodName(e.method)) + "（" +
                         std::string(gbt50107::methodClause(e.method)) +
                         (e.chosen ? "，自动" : "") + "）"},
        {"组数 n", std::to_string(e.n)},
        {"平均值 mfcu", strength(e.mean)},
        {"最小值 fcu,min", strength(e.min)},
        {known ? "标准差 σ0" : "标准差 Sfcu", e.sdUsed ? sd + " MPa" : sd},
        {"λ1", two(e.lambda1)},
        {"λ2", two(e.lambda2)},
        {"λ3", two(e.lambda3)},
        {"λ4", two(e.lambda4)},
        {"尺寸换算系数", two(e.sizeFactor)},
        {"可用于配合比设计的 σ",
         e.designSigma ? two(e.designSigma->value) + " MPa" : std::string(kNoFigure)},
    };
}

// The value the program finds for each group of three, greyed in its empty
// cell of the group value, and how it was found.
void EvaluationForm::showGroupValues(const gbt50107::Evaluation& e) {
    const auto strength = [&](double x) { return gbt50107::decimalText(x, 1, m_format); };
    for (std::size_t g = 0; g < e.groups.size() && g < m_cellStates.size(); ++g) {
        const gbt50107::GroupValue& v = e.groups[g];
        CellState& state = m_cellStates[g][kValueColumn];
        if (v.rule == gbt50107::GroupRule::Given) {
            continue;
        }
        const bool leftOut = v.rule == gbt50107::GroupRule::LeftOut;
        state.placeholder = leftOut ? "不计" : strength(v.value);
        state.tip = gbt50107::ruleNote(v);
        if (!leftOut && v.value != v.tested) {
            state.tip +=
                (state.tip.empty() ? "" : "；") + std::string("换算前 ") + strength(v.tested);
        }
    }
}

std::vector<EvaluationForm::ChartLine> EvaluationForm::chartLines() const {
    std::vector<ChartLine> lines;
    if (!m_evaluation) {
        return lines;
    }
    const gbt50107::Evaluation& e = *m_evaluation;
    const auto strength = [&](double x) { return gbt50107::decimalText(x, 1, m_format); };
    lines.push_back(
        {ChartLine::Role::Class, "fcu,k = " + gbt50107::decimalText(e.fcuk, 0, m_format), e.fcuk});
    lines.push_back({ChartLine::Role::Mean, "mfcu = " + strength(e.mean), e.mean});
    for (const gbt50107::Condition& c : e.conditions) {
        if (c.kind == gbt50107::ConditionKind::StatisticalMean) {
            // Drawn as the level mfcu must reach, fcu,k + λ1·Sfcu, and
            // labelled with its terms: the condition itself is judged on
            // mfcu − λ1·Sfcu rounded, as the record shows.
            const double sd = e.sdUsed.value_or(0.0);
            lines.push_back(
                {ChartLine::Role::Limit,
                 "mfcu ≥ fcu,k + λ1·Sfcu = " + gbt50107::decimalText(e.fcuk, 0, m_format) + " + " +
                     gbt50107::decimalText(c.coefficient, 2, m_format) + " × " +
                     gbt50107::decimalText(sd, 2, m_format),
                 c.right + c.coefficient * sd});
            continue;
        }
        lines.push_back({ChartLine::Role::Limit,
                         gbt50107::conditionFormula(c) + "：" + strength(c.right), c.right});
    }
    return lines;
}

std::vector<std::optional<double>> EvaluationForm::chartValues() const {
    std::vector<std::optional<double>> values;
    if (!m_evaluation) {
        return values;
    }
    for (const gbt50107::GroupValue& v : m_evaluation->groups) {
        values.push_back(v.rule == gbt50107::GroupRule::LeftOut ? std::nullopt
                                                                : std::optional<double>(v.value));
    }
    return values;
}

std::string EvaluationForm::title(std::string_view program) const {
    std::string title;
    if (!m_file.empty()) {
        title = fileName() + " - ";
    }
    return title + std::string(kTitle) + " - " + std::string(program);
}

// The first text that the evaluation file cannot keep: a cell or an entry
// that holds no number, a group value beside specimen strengths, an empty
// value of the previous period.
std::optional<InputFault> EvaluationForm::unkept() const {
    if (std::optional<InputFault> entry = unkeptEntry()) {
        return entry;
    }
    return unkeptCell();
}

std::optional<InputFault> EvaluationForm::unkeptEntry() const {
    for (const InputFault& fault : m_faults) {
        const Place& p = fault.place;
        if (p.entry == Entry::Previous && p.group >= 0) {
            return fault;
        }
        if (p.entry == Entry::Fcuk || p.entry == Entry::SizeFactor || p.entry == Entry::Sigma0) {
            const std::size_t i = indexOf(gbt50107::entryKey(p.entry));
            const std::string_view t = trimmed(m_texts[i]);
            if (!t.empty() && calc::parseStrict(t, m_format).status != calc::StrictStatus::Ok) {
                return fault;
            }
        }
    }
    return std::nullopt;
}

std::optional<InputFault> EvaluationForm::unkeptCell() const {
    for (std::size_t g = 0; g < m_rows.size() && g < m_input.groups.size(); ++g) {
        const gbt50107::GroupRow& row = m_rows[g];
        const gbt50107::Group& group = m_input.groups[g];
        for (std::size_t k = 0; k < 3; ++k) {
            if (!blank(row.specimens[k]) && !group.specimens[k]) {
                const Place place{Entry::Groups, static_cast<int>(g), static_cast<int>(k)};
                return InputFault{place,
                                  gbt50107::faultMessage(place, "不是一个数：" + row.specimens[k])};
            }
        }
        const Place place{Entry::Groups, static_cast<int>(g), kValueColumn};
        if (blank(row.value)) {
            continue;
        }
        if (!blank(row.specimens[0]) || !blank(row.specimens[1]) || !blank(row.specimens[2])) {
            return InputFault{place, gbt50107::placeName(place) +
                                         "与试件强度不能同时保存：请删去其中之一"};
        }
        if (!group.value) {
            return InputFault{place, gbt50107::faultMessage(place, "不是一个数：" + row.value)};
        }
    }
    return std::nullopt;
}

std::string EvaluationForm::bytesOf() const {
    return gbt50107::serialize({m_input, m_details.project});
}

Saving EvaluationForm::saveBytes() const {
    if (const std::optional<InputFault> fault = unkept()) {
        return {.bytes = std::nullopt, .error = "无法保存：" + fault->message};
    }
    return {.bytes = bytesOf(), .error = {}};
}

Saving EvaluationForm::save() {
    Saving saving = saveBytes();
    if (!saving) {
        m_status = {.text = saving.error, .error = true};
    }
    return saving;
}

bool EvaluationForm::modified() const {
    const Saving now = saveBytes();
    return !now.bytes || *now.bytes != m_savedBytes;
}

Opening EvaluationForm::openBytes(std::string_view bytes, FileName file) {
    const gbt50107::FileReading read = gbt50107::read(bytes);
    if (!read) {
        return {.opened = false, .error = read.error};
    }
    const gbt50107::Input& in = read.file->input;
    const auto shown = [&](const std::optional<double>& x) {
        return x ? typed(*x, m_format) : std::string();
    };
    m_texts[indexOf("fcuk")] = shown(in.fcuk);
    m_texts[indexOf("sizeFactor")] = shown(in.sizeFactor);
    m_texts[indexOf("sigma0")] = shown(in.sigma0);
    std::string previous;
    for (std::size_t i = 0; i < in.previous.size(); ++i) {
        constexpr std::size_t kPerLine = 10;
        previous +=
            (i == 0 ? "" : (i % kPerLine == 0 ? "\n" : " ")) + typed(in.previous[i], m_format);
    }
    m_texts[indexOf("previous")] = std::move(previous);
    m_choices[indexOf("specimenSize")] = static_cast<int>(
        std::find(std::begin(kSizes), std::end(kSizes), in.specimenSize) - std::begin(kSizes));
    m_choices[indexOf("method")] = static_cast<int>(
        std::find(std::begin(kMethods), std::end(kMethods), in.method) - std::begin(kMethods));
    m_rows.clear();
    for (const gbt50107::Group& group : in.groups) {
        gbt50107::GroupRow row;
        for (std::size_t k = 0; k < 3; ++k) {
            row.specimens[k] = shown(group.specimens[k]);
        }
        if (!group.hasSpecimens()) {
            row.value = shown(group.value);
        }
        m_rows.push_back(std::move(row));
    }
    m_details = {.litres = m_details.litres, .project = read.file->project};
    m_file = std::string(file.path);
    recompute();
    // As this program writes the file: another spelling is no change.
    m_savedBytes = bytesOf();
    return {.opened = true, .error = {}};
}

bool EvaluationForm::open(std::string_view bytes, FileName file) {
    const Opening opening = openBytes(bytes, file);
    if (!opening.opened) {
        cannotOpen(file.shown, opening.error);
    }
    return opening.opened;
}

void EvaluationForm::cannotOpen(std::string_view shownAs, std::string_view reason) {
    m_status = {.text = "无法打开 " + std::string(shownAs) + "：" + std::string(reason),
                .error = true};
}

void EvaluationForm::savedAs(const Saving& saving, FileName file) {
    m_file = std::string(file.path);
    if (saving.bytes) {
        m_savedBytes = *saving.bytes;
    }
}

void EvaluationForm::saved(const Saving& saving, FileName file) {
    savedAs(saving, file);
    m_status = {.text = "已保存到 " + std::string(file.shown), .error = false};
}

void EvaluationForm::cannotSave(std::string_view shownAs, std::string_view reason) {
    m_status = {.text = "无法保存到 " + std::string(shownAs) + "：" + std::string(reason),
                .error = true};
}

std::string EvaluationForm::calculateForReport() {
    return m_evaluation ? std::string() : m_status.text;
}

Reporting EvaluationForm::report(const ReportStamp& stamp) const {
    if (!m_evaluation) {
        return {.document = std::nullopt, .refusal = m_status.text};
    }
    report::Options options;
    options.date = stamp.date;
    options.program = stamp.program;
    options.version = stamp.version;
    options.designFile = fileName();
    options.project = m_details.project;
    return {.document = report::buildGbt50107Record(m_input, *m_evaluation, m_format, options),
            .refusal = {}};
}

Saving EvaluationForm::resultJson() const {
    if (!m_evaluation) {
        return {.bytes = std::nullopt, .error = m_status.text};
    }
    return {.bytes = gbt50107::resultJson(*m_evaluation), .error = {}};
}

void EvaluationForm::noReport(ReportUse use) {
    const char* what = use == ReportUse::Preview ? "预览" : use == ReportUse::Pdf ? "导出" : "复制";
    m_status = {.text = "评定尚不能进行，没有评定记录可" + std::string(what) + "。" +
                        (m_faults.empty() ? std::string() : m_faults.front().message),
                .error = true};
}

void EvaluationForm::reportExported(std::string_view shownAs, std::string_view reason) {
    m_status = reason.empty()
                   ? Status{.text = "评定记录已导出到 " + std::string(shownAs), .error = false}
                   : Status{.text = "无法写入 " + std::string(shownAs) + "：" + std::string(reason),
                            .error = true};
}

void EvaluationForm::reportCopied() {
    m_status = {.text = "评定记录已复制。", .error = false};
}

} // namespace session
