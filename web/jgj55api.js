// The JavaScript API of the JGJ 55-2011 form in the lanshi WebAssembly module
// (build-web/web/lanshi.js): the form of the desktop's JGJ 55-2011 window,
// its fields, live results, marks and status line, driven from a page.
// Appended to Emscripten's loader after web/api.js (a second --post-js), whose
// lanshiCall and lanshiBytes it uses.
//
//   const lanshi = await createLanshi();
//   lanshi.jgj55Fields() → [{key, caption, unit, kind, group, choices?}]
//       The form's inputs in the order it shows them, in four groups
//       ("设计要求", "原材料", "外加剂与掺合料", "计算参数"). kind is "number"
//       (the user types a text) or "choice" (one of `choices`).
//   const f = lanshi.jgj55Form(format)
//       A new form in the regional number format `format` ({decimal, group,
//       groupSize, negative}; the usual settings when left out), in the usual
//       start, designed. Throws a TypeError for a format it cannot take.
//   f.fields() → lanshi.jgj55Fields()
//   f.state() → {values, chosen, placeholders, greyed, tips, results, marks, warnings,
//                notes, noteCount, trialTitle, status, designed, fileName,
//                title, modified, project, batchLitres}
//       values       {key: the text of a number field, the entry of a choice}
//       chosen       {key: the index of a choice's entry}
//       placeholders {key: "5（标准差 σ 取值表）"}: greyed in an empty field,
//                    the value the design takes instead and its table (or
//                    "默认值")
//       greyed       {key: "5"}: the placeholder's figure alone, what the
//                    field shows (the view gives the rest in its title)
//       tips         {key: the table row the value comes from, or why the
//                    field is marked}
//       results      [{key, caption, unit, group, text, tip, warning,
//                    construction, trial}]: group "计算结果"; text "—"
//                    without a design; tip the working ("W/B = … = 0.52");
//                    warning the notes of 注意 on this figure ("" when none);
//                    construction and trial a mass in the construction mix
//                    (with the moistures) and in the trial batch ("" else)
//       marks        {key: why}: the fields to mark, with the message
//       warnings     {key: what to look at}: a value outside its usual range
//                    ("砂率 0.4 % 不在常用范围 20–50 %，是否应为 40？") or a
//                    note of 注意 on the field; shown with a ⚠, not refused
//       notes        [{text, key, onResult}]: every note of 注意, with the
//                    field (onResult false) or figure it concerns ("" none)
//       noteCount    the line above the results: "注意 2 条，1 项不在常用范围"
//                    ("" when there is nothing to look at)
//       trialTitle   the trial batch's heading: "试拌 20 L"
//       status       {text, error}: the status line ("" when all is well)
//       designed     whether there is a design (and so a report)
//       fileName     the design file's name, "" before open or save
//       title        the window's title, without the mark of unsaved changes
//       modified     whether saving would write other bytes than the file
//                    opened or last saved (a new form: than its start), the
//                    report's details included
//       project      {name, part, client}: the project block the next report
//                    names and the file keeps
//       batchLitres  the trial batch the next report names, in litres
//   f.set(key, value) → state | {error}
//       A number field's text (a string), or a choice by its entry (a string
//       of `choices`) or index (a number); the form designs again. {error}
//       (in English, a fault of the caller) for a key or entry it lacks.
//   f.mayReplace() → {ask: false} | {ask: true, box}
//       Before another design replaces the form's: the question to ask when
//       it has unsaved changes, whose answers are "save" (save first; go on
//       only when saved), "discard" and "cancel" (as lanshi.classicWindow's).
//   f.mayClose() → {ask: false} | {ask: true, box}
//       Before the form is closed (the session ends): the same, with the
//       question of closing.
//   f.open(bytes, fileName) → {opened, elsewhere, state}
//       A design file's bytes (Uint8Array or ArrayBuffer) opened into the
//       form. A classic design belongs to the classic window: opened false,
//       elsewhere "classic", the form as it was. Bytes the JGJ 55-2011 reader
//       refuses: opened false, elsewhere null, the form keeps its values and
//       the status line says why, in Chinese.
//   f.save() → {bytes, state} | {state}
//       The bytes (Uint8Array) of the design file, the same the desktop
//       writes; no bytes when a field holds no number (it is marked). Then
//       say how the write went:
//   f.saved(fileName, reason) → {state}
//       Written as fileName ("JGJ55设计.lanshi" when left out): the form's
//       file from now on; or, with a reason (the browser's words), refused,
//       which the status line says. It answers for the oldest save not yet
//       answered for: a page writes one save at a time, in order.
//   f.report(options) → {text, html, state} | {error, state}
//       The 计算书 of the design. Options: date ("2024-05-01"), program,
//       version, batchLitres (a number, or the text the user typed, read in
//       the form's format), project {name, part, client}, use ("preview",
//       "pdf" or "copy": the command that asks). The form keeps batchLitres
//       and project for the next report and saves them with the design: a
//       change marks it modified. {error}: a trial batch out of 0.1 to
//       10 000 L or no number (the kept one stands), or no design (the
//       status line's words, for the command of `use`).
//   f.copied() → {state}
//       The page put the report on the clipboard: the status line says so.
//   f.noticeFields() → {fields, refusal}
//   f.notice(options) → {text, html, state} | {error, entry, state}
//       配合比通知单… of the form's design, as lanshi.classicWindow's
//       w.noticeFields() and w.notice(): the dialog's fields with the
//       design's details, or why there is no notice yet (no design); then
//       the details kept with the design (saved under "notice"; a change
//       marks it modified) and the notice, or why not.
//   f.importSigma(bytes, fileName) → state
//       导入强度标准差…: the σ for design an evaluation file (GB/T 50107-2010)
//       gives, in the field σ, its source kept; the status line says what was
//       taken, or why nothing was (fewer than 30 groups, another class).
//   f.trials(texts) → {texts, html, problem, plot, state}
//       The laboratory's trials (试配、调整…): with texts ({mixerCapacity,
//       water, sandRatio, density, rows: [[W/B, strength, specimen 1, 2,
//       3], …]}, each a text in the form's format) they are read and kept
//       with the design; without, only asked. texts as the form keeps them
//       (six rows at least); html the chapter 试配、调整与确定; problem the
//       one line that names what is wrong ("" when all is well); plot
//       {points: [{binderWater, strength}], a, b, fcu0, binderWater} once
//       three strengths give a fit, else null.
//   f.delete()
//       Frees the form; any later call answers {error}.
//
// Numbers and texts follow the regional format given. No function throws for
// bad input, but jgj55Form for a format it cannot take and open for bytes
// that are no Uint8Array or ArrayBuffer (a TypeError, as lanshi.openDesign).

function lanshiJgj55(name, args) {
  return JSON.parse(lanshiCall(name, args));
}

let lanshiJgj55FieldList = null;
function lanshiJgj55Fields() {
  if (lanshiJgj55FieldList === null) {
    lanshiJgj55FieldList = lanshiJgj55("lanshi_jgj55_fields", []);
  }
  // A copy, so that a caller who changes it changes no one else's.
  return JSON.parse(JSON.stringify(lanshiJgj55FieldList));
}

Module["jgj55Fields"] = lanshiJgj55Fields;

Module["jgj55Form"] = function (format) {
  const made = lanshiJgj55("lanshi_jgj55_new", [
    JSON.stringify(format === undefined ? {} : { format: format }),
  ]);
  if ("error" in made) {
    throw new TypeError("lanshi: " + made.error);
  }
  const id = made.form;
  const byKey = new Map(lanshiJgj55Fields().map((field) => [field.key, field]));
  return {
    fields: lanshiJgj55Fields,
    state() {
      return lanshiJgj55("lanshi_jgj55_state", [id]);
    },
    set(key, value) {
      const field = byKey.get(String(key));
      if (field === undefined) {
        return { error: `no field "${key}"` };
      }
      if (field.kind === "number") {
        return lanshiJgj55("lanshi_jgj55_set_text", [id, field.key, String(value)]);
      }
      const index = typeof value === "number" ? value : field.choices.indexOf(String(value));
      if (!Number.isInteger(index) || index < 0) {
        return { error: `"${value}" is no entry of "${key}"` };
      }
      return lanshiJgj55("lanshi_jgj55_choose", [id, field.key, index]);
    },
    mayReplace() {
      return lanshiJgj55("lanshi_jgj55_may_replace", [id]);
    },
    mayClose() {
      return lanshiJgj55("lanshi_jgj55_may_close", [id]);
    },
    open(bytes, fileName) {
      const data = lanshiBytes(bytes);
      return lanshiJgj55("lanshi_jgj55_open", [
        id,
        data,
        data.length,
        fileName === undefined ? "" : String(fileName),
      ]);
    },
    save() {
      const saved = lanshiJgj55("lanshi_jgj55_save", [id]);
      if ("text" in saved) {
        return { bytes: new TextEncoder().encode(saved.text), state: saved.state };
      }
      return saved;
    },
    saved(fileName, reason) {
      return lanshiJgj55("lanshi_jgj55_saved", [
        id,
        fileName === undefined ? "JGJ55设计.lanshi" : String(fileName),
        reason === undefined ? "" : String(reason),
      ]);
    },
    report(options) {
      return lanshiJgj55("lanshi_jgj55_report", [
        id,
        JSON.stringify(options === undefined ? {} : options),
      ]);
    },
    copied() {
      return lanshiJgj55("lanshi_jgj55_copied", [id]);
    },
    noticeFields() {
      return lanshiJgj55("lanshi_jgj55_notice_fields", [id]);
    },
    notice(options) {
      return lanshiJgj55("lanshi_jgj55_notice", [id, JSON.stringify(options === undefined ? {} : options)]);
    },
    importSigma(bytes, fileName) {
      const data = lanshiBytes(bytes);
      return lanshiJgj55("lanshi_jgj55_import_sigma", [
        id,
        data,
        data.length,
        fileName === undefined ? "" : String(fileName),
      ]).state;
    },
    trials(texts) {
      return lanshiJgj55("lanshi_jgj55_trials", [
        id,
        JSON.stringify(texts === undefined ? {} : { texts: texts }),
      ]);
    },
    delete() {
      lanshiJgj55("lanshi_jgj55_delete", [id]);
    },
  };
};
