// What the form of a JGJ 55-2011 design does, apart from any window: its
// fields in four groups beside its results, the texts the user types read in
// the regional number format, a new design after every change, the values a
// table supplies shown greyed in their empty fields with the table named, the
// results with their working, the field an input cannot be read or designed
// in marked and named in the status line, the design file as bytes and the
// report of the design. The desktop window (ui/jgj55window) and the page
// (web/jgj55api) are two views over it: each puts the user's texts and
// choices in, and shows what the form says after each one.
//
//     session::Jgj55Form form(format);
//     form.setText("fcuk", "30");          // designs again
//     form.result("sand").text;            // "756", or "—" without a design
//     form.field("sigma").placeholder;     // "5（标准差 σ 取值表）"
//     form.status();                       // {"「坍落度」不是一个数：1x0", true}
//
// Standard C++ only: files are bytes here, dates and the program's name come
// from the front end.
#pragma once

#include "calc/numberformat.h"
#include "jgj55/design.h"
#include "jgj55/trials.h"
#include "report/report.h"
#include "session/document.h"
#include "session/sigmasource.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace session {

class Jgj55Form : public Document {
public:
    enum class Kind { Number, Choice };

    // An input of the form, as the design's table of inputs gives it
    // (jgj55/inputs.h), placed in a group. A number field holds the user's
    // text; a choice field one of its entries, by index.
    struct Field {
        std::string_view key;     // the design file's key: "fcuk", "flyAsh.fraction"
        std::string_view caption; // "强度标准值 fcu,k"
        std::string_view unit;    // "MPa"; empty for a ratio
        std::string_view group; // "设计要求", "原材料", "外加剂与掺合料", "计算参数"
        Kind kind = Kind::Number;
        // The file's value × 10^typedShift is the field's: a fraction of the
        // binder is typed as a percentage.
        int typedShift = 0;
        std::vector<std::string_view> choices; // a choice field's entries, as shown
        int initialChoice = 0;                 // the entry of a new form
        // The entry that leaves the input absent ("不限"); -1 when every entry
        // is a value.
        int absentChoice = -1;
    };

    // The title of the results beside the groups of inputs.
    static constexpr std::string_view kResultsGroup = "计算结果";

    // A figure of the design, shown beside the inputs.
    struct ResultField {
        std::string_view key;     // "waterBinder"
        std::string_view caption; // "水胶比 W/B"
        std::string_view symbol;  // the design step that computes it: "W/B"
        std::string_view unit;
    };

    // What a number field shows besides its text.
    struct FieldState {
        // Greyed while the field is empty: the value the design takes
        // instead, with the table it comes from or "默认值".
        std::string placeholder;
        // The placeholder's figure alone ("5"), for a field too narrow for
        // the table's name, which the view then gives in the tip.
        std::string greyed;
        // Why the field is marked, or the table row its value comes from.
        std::string tip;
        bool marked = false;
        // What the user should look at, shown beside the field with a mark:
        // a value outside its usual range (session/jgj55ranges.h), or a note
        // of the design's 注意 that concerns this input. Empty when none.
        std::string warning;
    };

    struct ResultState {
        std::string text; // the figure in the regional format; "—" without a design
        std::string tip;  // formula = figures put in = result; empty without a design
        // The notes of the design's 注意 that concern this figure; empty when none.
        std::string warning;
        // A mass's figure in the construction mix (when the moistures are
        // given) and in the trial batch of the report's volume; empty for
        // another figure or without a design.
        std::string construction;
        std::string trial;
    };

    // A note or warning of the design's 注意, as the report writes it, with
    // the input or the figure it concerns.
    struct Note {
        std::string text;
        std::string_view key; // a field's or a result's key; empty when it concerns none of them
        bool onResult = false;
    };

    struct Status {
        std::string text;
        bool error = false;
        friend bool operator==(const Status&, const Status&) = default;
    };

    using ReportDetails = session::ReportDetails;
    using ReportStamp = session::ReportStamp;

    // The commands that need a report.
    enum class ReportUse { Preview, Pdf, Copy };

    // A new form in the usual start (reinforced concrete, no environment
    // limit, cement 42.5, fly ash II, slag S95, all numbers empty), designed.
    explicit Jgj55Form(calc::NumberFormat format);

    // Back to the start of a new form (新建): no file, the usual choices,
    // every number empty, the report's details and the notice's as new.
    void startNew();

    // The inputs in the order the form shows them, group by group.
    static std::span<const Field> fields();
    // The results in the order the form shows them.
    static std::span<const ResultField> resultFields();
    // The field of `key`; nullptr when the form has none.
    static const Field* findField(std::string_view key);

    const calc::NumberFormat& format() const { return m_format; }

    // A number as a field of the form shows it (the shortest text that reads
    // back as it), and a text read as a field reads it: nothing when it is
    // not as a whole a number in `format`.
    static std::string numberText(double value, const calc::NumberFormat& format);
    static std::optional<double> numberOf(std::string_view text, const calc::NumberFormat& format);

    // Puts `text` in number field `key` and designs again; false (nothing
    // changed) when `key` is no number field.
    bool setText(std::string_view key, std::string_view text);
    // Chooses entry `index` of choice field `key` and designs again; false
    // (nothing changed) when `key` is no choice field or has no such entry.
    bool choose(std::string_view key, int index);

    // The text of number field `key`; empty for any other key.
    const std::string& text(std::string_view key) const;
    // The entry chosen in choice field `key`; -1 for any other key.
    int choice(std::string_view key) const;
    // What number field `key` shows besides its text; all empty for any
    // other key.
    const FieldState& field(std::string_view key) const;
    // Result `key` as shown; "—" for a key that is no result.
    const ResultState& result(std::string_view key) const;
    const Status& status() const { return m_status; }
    // The notes and warnings of the last design's 注意, in the report's order.
    const std::vector<Note>& notes() const { return m_notes; }
    // The line above the results that counts what to look at: "注意 2 条",
    // "注意 1 条，1 项不在常用范围"; empty when there is nothing.
    std::string noteCount() const;
    // The title of the trial batch's figures: "试拌 20 L".
    std::string trialTitle() const;

    // The inputs as the fields held them at the last change; nothing when a
    // field held no number (that field is marked).
    const std::optional<jgj55::Input>& input() const { return m_input; }
    // The design of those inputs; nothing when they could not be designed.
    const std::optional<jgj55::Result>& result() const { return m_result; }

    // The laboratory's trials (kept in the design file under "trials"; a
    // change is a modification like any other): none, or what was given.
    const std::optional<jgj55::Trials>& trials() const { return m_trials; }
    // Keeps the trials and works them out again on the design.
    void setTrials(std::optional<jgj55::Trials> trials);
    // The trials worked out on the last design; nothing without trials or
    // without a design. A refusal is also in the status line.
    const std::optional<jgj55::TrialOutcome>& trialOutcome() const { return m_trialOutcome; }

    // Opens the bytes of a JGJ 55-2011 design file: its values in the fields,
    // each as the shortest text that reads back as the file's number,
    // designed, and `file` the form's file. False, with the reason in the
    // status line and the form as it was, when the bytes are no such design.
    bool open(std::string_view bytes, FileName file);
    // 导入强度标准差…: the σ that the strength evaluation file `file` gives the
    // next design put in the field σ, designed again, and its source kept
    // (in the design file and the 计算书) while the field holds it. False,
    // with the reason in the status line and the form as it was, when the
    // file gives no σ or one for another class than the design's.
    bool importSigma(std::string_view bytes, FileName file);
    // Where σ was taken from, while the field holds the σ imported.
    const std::optional<SigmaSource>& sigmaSource() const { return m_sigmaSource; }
    // The file `shownAs` could not be read at all: the status line says why.
    void cannotOpen(std::string_view shownAs, std::string_view reason);
    // The bytes of the design file of the fields; none when a field holds
    // no number (it is marked and named in the status line).
    Saving save();
    // The bytes of the last save() were written as `file`: the form's file
    // from now on, unmodified.
    void saved(const Saving& saving, FileName file);
    // The bytes could not be written: the status line says why.
    void cannotSave(std::string_view shownAs, std::string_view reason);
    // The window's title: "[file - ]JGJ 55-2011 配合比设计 - program",
    // without the mark of unsaved changes (modified()).
    std::string title(std::string_view program) const;

    // The document. Its report is that of the last design, for the project
    // and the trial batch last given and the form's file; none when there is
    // no design (report.refusal: what stands in the way).
    DocumentKind kind() const override { return DocumentKind::jgj55; }
    Opening openBytes(std::string_view bytes, FileName file) override;
    Saving saveBytes() const override;
    void savedAs(const Saving& saving, FileName file) override;
    bool modified() const override;
    const std::string& file() const override { return m_file; }
    const ReportDetails& reportDetails() const override { return m_details; }
    // The trial batch's figures follow the details' volume.
    void setReportDetails(const ReportDetails& details) override;
    std::string calculateForReport() override;
    Reporting report(const ReportStamp& stamp) const override;
    Saving resultJson() const override;
    // There is no report for `use`: the status line says so.
    void noReport(ReportUse use);
    // The report was written as a PDF to `shownAs`; or not, for `reason`
    // (empty when it was).
    void reportExported(std::string_view shownAs, std::string_view reason);
    void reportCopied();

protected:
    NoticeBasis noticeBasis() const override;
    const calc::NumberFormat& noticeFormat() const override { return m_format; }

private:
    void recompute();
    void recomputeTrials();
    // Why the trials keep the design from a report; empty when nothing does.
    std::string trialsProblem() const;
    jgj55::Input readInputs();
    void mark(const std::string& key, std::string why);
    void showTableValues();
    void showNotes();
    void showMixes();
    std::string figure(double value) const;
    // The bytes of the design file of `input`, with the report's details.
    std::string bytesOf(const jgj55::Input& input) const;

    calc::NumberFormat m_format;
    std::vector<std::string> m_texts; // by field, as fields() orders them
    std::vector<int> m_choices;
    // Whether a choice was made (a new form's, the user's, or the file's):
    // a choice not made leaves its input absent, so a file without it is
    // saved without it.
    std::vector<bool> m_chosen;
    // The groups the opened file named ("flyAsh"), kept even while empty.
    std::vector<std::string_view> m_openedGroups;
    std::vector<FieldState> m_fieldStates;
    std::vector<ResultState> m_resultStates;
    Status m_status;
    std::vector<Note> m_notes;
    int m_outOfRange = 0; // fields whose value is outside its usual range
    std::optional<jgj55::Input> m_input;
    std::optional<jgj55::Result> m_result;
    std::optional<jgj55::Trials> m_trials;
    std::optional<jgj55::TrialOutcome> m_trialOutcome;
    // Why m_input is missing: the field and the message.
    std::string m_unreadKey;
    std::string m_unreadWhy;
    std::string m_file;
    ReportDetails m_details;
    std::optional<SigmaSource> m_sigmaSource;
    std::string m_sigmaText; // the field's text the import wrote
    // The bytes of the file as opened (as this program writes that design)
    // or last saved; a new form's start.
    std::string m_savedBytes;
};

} // namespace session
