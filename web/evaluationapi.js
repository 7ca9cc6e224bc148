// The JavaScript API of the strength evaluation's form in the lanshi
// WebAssembly module: the form of the desktop's evaluation window (GB/T
// 50107-2010), its entries, its table of groups, the verdict, figures,
// conditions and status line, driven from a page. Appended to Emscripten's
// loader after web/api.js (a --post-js), whose lanshiCall and lanshiBytes it
// uses.
//
//   const lanshi = await createLanshi();
//   lanshi.evaluationFields() → [{key, caption, unit, kind, choices?}]
//       The entries above the table. kind is "number" (a text), "choice"
//       (an index of `choices`) or "values" (the previous period's group
//       values, one text).
//   const e = lanshi.evaluationForm(format)
//       A new form in the regional number format `format` (the usual one
//       when left out). Throws a TypeError for a format it cannot take.
//   e.state() → {values, marks, rows, evaluated, passed, verdict, figures,
//                conditions, chart, status, fileName, title, modified, project}
//       values     {key: an entry's text, or a choice's index}
//       marks      {key: why the entry is marked}
//       rows       [[{text, placeholder?, tip?, marked?} × 4]]: the table,
//                  three specimen cells and the group value; placeholder the
//                  group value the program finds, greyed in an empty cell
//       evaluated  whether there is an evaluation (and so a record)
//       verdict    "合格", "不合格（不满足 …）", or "" without an evaluation
//       figures    [{caption, text}]; conditions [{text, holds}]
//       chart      {values: [a group value, or null for a group left out],
//                   lines: [{role: "class" | "mean" | "limit", label, value}]}
//       status     {text, error}
//   e.set(key, value)              an entry's text, or a choice's index
//   e.setCell(row, column, text)   a cell (0–2 specimens, 3 the group value)
//   e.paste(row, column, text)     a spreadsheet's cells from that cell on
//   e.importCsv(text, fileName)    a CSV file's rows after the table's
//   e.removeRows(first, count)
//       Each → the state after it, or {error} (in English, a fault of the
//       caller) for a key or cell it lacks.
//   e.mayReplace() → {ask: false} | {ask: true, box}
//   e.open(bytes, fileName) → {opened, elsewhere, state}
//       elsewhere "classic" or "jgj55" for a design file of another kind.
//   e.save() → {bytes, state} | {state};  e.saved(fileName, reason) → {state}
//   e.report(options) → {text, html, state} | {error, state}
//       The record (混凝土强度检验评定记录); options date, program, version,
//       project {name, part, client}, use ("preview", "pdf" or "copy").
//   e.copied() → {state};  e.delete()

function lanshiEvaluation(name, args) {
  return JSON.parse(lanshiCall(name, args));
}

Module["evaluationFields"] = function () {
  return lanshiEvaluation("lanshi_gbt50107_fields", []);
};

Module["evaluationForm"] = function (format) {
  const made = lanshiEvaluation("lanshi_gbt50107_new", [
    JSON.stringify(format === undefined ? {} : { format: format }),
  ]);
  if ("error" in made) {
    throw new TypeError("lanshi: " + made.error);
  }
  const id = made.form;
  const call = (request) =>
    lanshiEvaluation("lanshi_gbt50107_call", [id, JSON.stringify(request)]);
  const kinds = new Map(Module["evaluationFields"]().map((field) => [field.key, field.kind]));
  return {
    fields: Module["evaluationFields"],
    state() {
      return lanshiEvaluation("lanshi_gbt50107_state", [id]);
    },
    set(key, value) {
      const kind = kinds.get(String(key));
      if (kind === undefined) {
        return { error: `no entry "${key}"` };
      }
      return kind === "choice"
        ? call({ call: "choose", key: String(key), index: Number(value) })
        : call({ call: "setText", key: String(key), text: String(value) });
    },
    setCell(row, column, text) {
      return call({ call: "setCell", row, column, text: String(text) });
    },
    paste(row, column, text) {
      return call({ call: "paste", row, column, text: String(text) });
    },
    importCsv(text, fileName) {
      return call({ call: "importCsv", text: String(text), fileName: String(fileName || "CSV") });
    },
    removeRows(first, count) {
      return call({ call: "removeRows", first, count });
    },
    mayReplace() {
      return lanshiEvaluation("lanshi_gbt50107_may_replace", [id]);
    },
    open(bytes, fileName) {
      const data = lanshiBytes(bytes);
      return lanshiEvaluation("lanshi_gbt50107_open", [
        id,
        data,
        data.length,
        fileName === undefined ? "" : String(fileName),
      ]);
    },
    save() {
      const saved = lanshiEvaluation("lanshi_gbt50107_save", [id]);
      if ("text" in saved) {
        return { bytes: new TextEncoder().encode(saved.text), state: saved.state };
      }
      return saved;
    },
    saved(fileName, reason) {
      return lanshiEvaluation("lanshi_gbt50107_saved", [
        id,
        fileName === undefined ? "强度评定.lanshi" : String(fileName),
        reason === undefined ? "" : String(reason),
      ]);
    },
    report(options) {
      return lanshiEvaluation("lanshi_gbt50107_report", [
        id,
        JSON.stringify(options === undefined ? {} : options),
      ]);
    },
    copied() {
      return lanshiEvaluation("lanshi_gbt50107_copied", [id]);
    },
    delete() {
      lanshiEvaluation("lanshi_gbt50107_delete", [id]);
    },
  };
};
