// What the form of a strength evaluation to GB/T 50107-2010 does, apart from
// any window: a few entries (class, cube size, size factor, method, σ0, the
// previous period's group values) above a table of groups, one row a group
// of three specimen cells and the cell of a group value given alone; cells
// pasted from a spreadsheet or imported from a CSV file; the evaluation
// again after every change, with the verdict, every figure, each condition
// with both sides and the lines a chart of the group values draws; each bad
// cell marked with its reason and the first named in the status line, never
// a box; the evaluation file as bytes and its record. Nothing typed is lost:
// a cell keeps its text, whatever it holds, until the user changes it. The
// desktop window (ui/evaluationwindow) and the page (web/evaluationapi) are
// two views over it.
//
//     session::EvaluationForm form(format);
//     form.setText("fcuk", "30");
//     form.paste(0, 0, "33.1\t35.2\t34.0\n31.5\t30.2\t32.8\n");
//     form.verdict();                  // "合格"
//     form.cellState(1, 2).marked;     // false
//
// Standard C++ only: files are bytes here, dates and the program's name come
// from the front end.
#pragma once

#include "calc/numberformat.h"
#include "gbt50107/cells.h"
#include "gbt50107/evaluation.h"
#include "session/document.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace session {

class EvaluationForm : public Document {
public:
    // The table's columns: the three specimens, then the group value.
    static constexpr int kColumns = 4;
    static constexpr int kValueColumn = gbt50107::kValueCell;

    enum class Kind { Number, Choice, Values };

    // An entry above the table, keyed as the evaluation file keys it.
    struct Field {
        std::string_view key;     // "fcuk"
        std::string_view caption; // "强度等级 fcu,k"
        std::string_view unit;    // "MPa"; empty for none
        Kind kind = Kind::Number;
        std::vector<std::string_view> choices; // a choice's entries, as shown
        int initialChoice = 0;
    };

    // What a cell or an entry shows besides its text.
    struct CellState {
        std::string placeholder; // greyed while empty: the group value the program finds
        std::string tip;         // why it is marked; how the group value was found
        bool marked = false;
    };

    struct Status {
        std::string text;
        bool error = false;
        friend bool operator==(const Status&, const Status&) = default;
    };

    // A figure of the evaluation beside the table.
    struct Figure {
        std::string caption; // "平均值 mfcu"
        std::string text;    // "34.1 MPa"; "—" without an evaluation
    };

    struct ConditionLine {
        std::string text; // with both sides and its judgement
        bool holds = false;
    };

    // A level a chart of the group values draws across: the class, the mean
    // and the limit of each condition, MPa.
    struct ChartLine {
        enum class Role { Class, Mean, Limit };
        Role role = Role::Limit;
        std::string label; // "fcu,k = 30", "fcu,min ≥ λ2·fcu,k：27.0"
        double value = 0.0;
    };

    // Cells put in by paste: how many rows and columns, and the cells that
    // found no column (beyond the group value) and were left out.
    struct Pasted {
        int rows = 0;
        int columns = 0;
        int leftOut = 0;
    };

    enum class ReportUse { Preview, Pdf, Copy };

    // A new form: 150 mm cubes, the method chosen from the data, nothing
    // typed.
    explicit EvaluationForm(calc::NumberFormat format);

    static std::span<const Field> fields();
    static const Field* findField(std::string_view key);
    const calc::NumberFormat& format() const { return m_format; }

    // Puts `text` in number or values entry `key` and evaluates again; false
    // (nothing changed) for any other key.
    bool setText(std::string_view key, std::string_view text);
    // Chooses entry `index` of choice `key` and evaluates again.
    bool choose(std::string_view key, int index);
    const std::string& text(std::string_view key) const;
    int choice(std::string_view key) const;
    const CellState& field(std::string_view key) const;

    // The rows the table holds, empty ones at the end included.
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // The text of a cell; empty beyond the rows.
    const std::string& cell(int row, int column) const;
    // Puts `text` in a cell (rows are added up to it) and evaluates again;
    // false for a column outside the table or a negative row.
    bool setCell(int row, int column, std::string_view text);
    // A spreadsheet's cells (tab-, semicolon-, comma- or line-separated),
    // put in from the cell (row, column) on, rows added as needed.
    Pasted paste(int row, int column, std::string_view text);
    // The rows of a CSV file added after the last row that holds anything:
    // heading lines without a figure are skipped; a line of one cell is a
    // group value, a longer one the three specimens (and a fourth cell the
    // group value). Returns the rows added; the status line says so, or why
    // none were.
    int importCsv(std::string_view bytes, std::string_view shownAs);
    // Removes `count` rows from `first` on and evaluates again.
    void removeRows(int first, int count);
    const CellState& cellState(int row, int column) const;

    // The input as the texts hold it (a cell that holds no number left out).
    const gbt50107::Input& input() const { return m_input; }
    // The evaluation of the input; nothing when a cell or an entry stands in
    // the way (each marked).
    const std::optional<gbt50107::Evaluation>& evaluation() const { return m_evaluation; }
    const std::vector<gbt50107::InputFault>& faults() const { return m_faults; }
    // "合格", "不合格（不满足 …）", or empty without an evaluation.
    const std::string& verdict() const { return m_verdict; }
    const std::vector<Figure>& figures() const { return m_figures; }
    const std::vector<ConditionLine>& conditions() const { return m_conditions; }
    std::vector<ChartLine> chartLines() const;
    // The values a chart draws, one a group in the table's order; nothing for
    // a group left out.
    std::vector<std::optional<double>> chartValues() const;
    const Status& status() const { return m_status; }

    // The window's title: "[file - ]混凝土强度检验评定 - program".
    std::string title(std::string_view program) const;
    bool open(std::string_view bytes, FileName file);
    void cannotOpen(std::string_view shownAs, std::string_view reason);
    // The bytes of the evaluation file; none while a cell or an entry holds
    // text that the file cannot keep (it is marked and named).
    Saving save();
    void saved(const Saving& saving, FileName file);
    void cannotSave(std::string_view shownAs, std::string_view reason);
    void noReport(ReportUse use);
    void reportExported(std::string_view shownAs, std::string_view reason);
    void reportCopied();

    DocumentKind kind() const override { return DocumentKind::gbt50107; }
    Opening openBytes(std::string_view bytes, FileName file) override;
    Saving saveBytes() const override;
    void savedAs(const Saving& saving, FileName file) override;
    bool modified() const override;
    const std::string& file() const override { return m_file; }
    const ReportDetails& reportDetails() const override { return m_details; }
    void setReportDetails(const ReportDetails& details) override { m_details = details; }
    std::string calculateForReport() override;
    Reporting report(const ReportStamp& stamp) const override;
    Saving resultJson() const override;

protected:
    const calc::NumberFormat& noticeFormat() const override { return m_format; }

private:
    void recompute();
    void readEntries(std::vector<gbt50107::InputFault>& faults);
    void markFaults();
    void showEvaluation();
    std::vector<Figure> figuresOf(const gbt50107::Evaluation& evaluation) const;
    void showGroupValues(const gbt50107::Evaluation& evaluation);
    // The first text the file cannot keep, as a fault; nothing when none.
    std::optional<gbt50107::InputFault> unkept() const;
    std::optional<gbt50107::InputFault> unkeptEntry() const;
    std::optional<gbt50107::InputFault> unkeptCell() const;
    std::string bytesOf() const;

    calc::NumberFormat m_format;
    std::vector<std::string> m_texts; // by field
    std::vector<int> m_choices;
    std::vector<CellState> m_fieldStates;
    std::vector<gbt50107::GroupRow> m_rows;
    std::vector<std::array<CellState, kColumns>> m_cellStates;
    gbt50107::Input m_input;
    std::vector<gbt50107::InputFault> m_faults;
    std::optional<gbt50107::Evaluation> m_evaluation;
    std::string m_verdict;
    std::vector<Figure> m_figures;
    std::vector<ConditionLine> m_conditions;
    Status m_status;
    std::string m_file;
    ReportDetails m_details;
    std::string m_savedBytes;
};

} // namespace session
