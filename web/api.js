// The JavaScript API of the lanshi WebAssembly module (build-web/web/lanshi.js).
// Appended to Emscripten's loader (--post-js), so it runs inside the module.
//
//   const createLanshi = require("./lanshi.js");   // in a page: <script src="lanshi.js">
//   const lanshi = await createLanshi();
//
//   lanshi.replay(line) → string
//       One case of the replay tool as a JSON line ({"fields": {"Text1": "20", …},
//       "option1": true, "format": {…}} or a whole design file) → its JSON line of
//       results: all 33 texts, the notices and the stop, exactly as
//       build/tools/replay writes it.
//   lanshi.openDesign(bytes, format) → {text} | {error}
//       A design file's bytes (Uint8Array) opened under the regional number
//       format `format` ({decimal, group, groupSize, negative}; the usual
//       settings when left out): the design as this program writes it in that
//       format (the JSON text of a .lanshi file), or why it cannot be opened.
//   lanshi.saveDesign(designText) → {bytes} | {error}
//       A design as JSON text, taken as it stands → the bytes (Uint8Array) of
//       its design file; the same bytes the desktop program saves.
//   lanshi.report(bytes, options) → {text, html} | {stop} | {error}
//       The 计算书 of a design file of either kind (the classic design or a
//       JGJ 55-2011 design) as `lanshi --report` makes it. Options: format
//       (as above), date ("2024-05-01"), program, version, designFile (the
//       name in the heading), batchLitres (the file's own, else 20, when left
//       out; a number, or a text read in `format`; 0.1 to 10 000 L, else
//       {error} says so in Chinese). A stopped classic calculation gives
//       {stop: {stage, field, reason}} in the replay's terms.
//
// The classic window (the window of the desktop program, its behaviour in the
// module; the page draws it):
//
//   lanshi.layout() → [{name, kind, frame, caption, left, top, width, height,
//                       tabIndex, buddy, checked, textColour}]
//       Every control of the window, in twips (1/1440 inch; 15 twips are one
//       pixel at 96 dpi), frames first. kind: "Frame", "Label", "TextField",
//       "OptionButton", "CheckBox" or "Button"; frame: the frame it sits in,
//       "" for the client area (a frame's rectangle is relative to the client
//       area, a control's to its frame); caption: its caption, or a text
//       field's start text; buddy: the text field a label captions, or "";
//       checked: selected or checked at start; textColour: 0xRRGGBB or null.
//       The array's clientWidth and clientHeight: the client area in twips.
//   lanshi.commands(kind) → [{name, text, keys, separated}] | {error}
//       The commands of a window of `kind` ("classic" or "jgj55") beside its
//       events, in the order of its menu, as the desktop makes its actions:
//       name ("saveDesign"), text ("保存设计"), keys ("Ctrl+S", as
//       Qt spells them; "" for none), separated (a line before it).
//   lanshi.identity() → {caption, applicationName, version, helpTitle, helpText,
//                        makerPage}
//   const w = lanshi.classicWindow(format)
//       A new window under the regional format `format` (as above), before
//       its load: send w.event("load") first, as the desktop does when it
//       first shows the window. Free it with w.delete().
//   w.state() → {texts: {Text1: "…", …, Text33: "…"},
//                options: {option1, option2, 细砂, 粗砂}, checks: {卵石, 碎石},
//                caption, modified, file, project: {name, part, client},
//                batchLitres, findings}
//       caption: the window's caption with the design file's name, without
//       the mark of unsaved changes; modified: whether the sheet differs from
//       what was last opened or saved (from the state after the load before);
//       file: the design file's name, or ""; project and batchLitres: the
//       project block and the trial batch the next report names (the opened
//       design's own, or the last ones given), saved with the design;
//       findings: the lines of the window's foot after the last 计算 that ran
//       to its end (a stale or implausible figure), [] when there is none.
//   w.setText(name, text) → state     a field's text ("Text1" … "Text33")
//   w.edited(name) → state            after the user typed into the field:
//                                     its text is the user's from now on
//   w.select(optionName) → state      an option button; its partner clears
//   w.setChecked(checkName, bool) → state
//   w.event(name) → {boxes, focus, exit, leaving, openUrl, browserFailure, state}
//       name: "load", "Command1" (计算), "Command2" (帮助), "Command3" (清零),
//       "Command4" (退出), "Command5" (更多软件). Do in this order: show each
//       box of `boxes` (the calculation's notices come first) and wait until
//       it is closed; give the focus to the control named `focus` (or none),
//       its text selected; end when `exit`, after asking `leaving` (a box as
//       w.mayReplace()'s, or null when nothing is unsaved); open `openUrl`
//       (or none) in a new tab, and show `browserFailure` when that fails.
//   w.recalculateAll() → as w.event's
//       全部重新计算: the base values a calculation wrote and the user has not
//       typed since emptied, then 计算.
//   w.mayReplace() → {ask: false} | {ask: true, box}
//       Before another design replaces the sheet: the question to ask, whose
//       answers are "save" (save first; go on only when saved), "discard" and
//       "cancel" (also when the box is closed).
//   w.mayClose() → {ask: false} | {ask: true, box}
//       The same before the sheet is closed (the session ends).
//   w.open(bytes, fileName) → {opened, boxes, elsewhere, state}
//       A design file's bytes (Uint8Array or ArrayBuffer) put on the sheet.
//       Refused: opened false and a box with the reason. elsewhere:
//       "jgj55-2011" when the file is a JGJ 55-2011 design, which belongs to
//       that form (the sheet is left as it was), else null.
//   w.save(fileName) → {bytes, file, state} | {boxes}
//       The design file's bytes (Uint8Array), the same the desktop saves, to
//       be written as `file` (fileName, or the file's own name, or
//       "配合比设计.lanshi"; ".lanshi" added when missing). Then say how the
//       write went:
//   w.saved() → state
//       The bytes were written (or handed to the browser as a download):
//       from now on the sheet is unmodified against them.
//   w.cannotSave(reason) → {boxes, state}
//       The browser refused to write them, for `reason` (its own words): the
//       box the desktop shows for a failed save; the sheet stays modified.
//       saved() and cannotSave() answer for the oldest save not yet answered
//       for: a page writes one save at a time, in order.
//   w.report(options) → {text, html, state} | {boxes, state} | {error, state}
//       The 计算书 of the last calculation, or the box that says why there
//       is none. Options: date, project ({name, part, client}) and
//       batchLitres (a number, or the text the user typed, read in the
//       window's format), which the window keeps for the next report and
//       saves with the design: a change of either marks the design modified
//       (state). A trial batch out of 0.1 to 10 000 L, or a text that is no
//       number, is refused: {error} says why, in Chinese, and the kept one
//       stands. The design file's name in the heading is the window's own
//       (w.state().file).
//   w.noticeFields() → {fields: [{key, caption, unit, kind, text}], refusal}
//       配合比通知单…: the fields of the notice's dialog in the desktop's
//       order (number, sandMoisture, stoneMoisture, batchVolume, cement,
//       sand, stone, flyAsh, slag, admixture, permeability, frost; kind
//       "number" or "text"), each with the design's detail as its text (a
//       number written in the window's format; "" for none); refusal: why
//       the sheet has no notice yet (nothing calculated, a stop), in
//       Chinese, or null.
//   w.notice(options) → {text, html, state} | {error, entry, state}
//       The notice (配合比通知单) of the sheet's mix. Options: date, details
//       ({key: text}, a number's text read in the window's format, "" for
//       none; keys left out keep the design's), which the window keeps and
//       saves with the design under "notice": a change marks it modified.
//       {error}: why there is no notice, in one line of Chinese; entry: the
//       key of a field whose text is no number (nothing is kept then), or "".
//   w.delete()
//
// A box is {icon: "none" | "information" | "warning" | "question", title,
// text, buttons: [{answer, caption}]} (answer "ok" for a plain box).
//
// Texts go in and come out as JavaScript strings (UTF-8 inside); bytes as
// Uint8Array. No function throws for bad input: it answers {error}.

function lanshiCall(name, args) {
  const held = [];
  try {
    // Strings and bytes are copied into the module's memory for the call;
    // numbers (sizes) go as they are.
    const pointers = args.map((arg) => {
      if (typeof arg === "string") {
        const size = lengthBytesUTF8(arg) + 1;
        const at = _malloc(size);
        held.push(at);
        stringToUTF8(arg, at, size);
        return at;
      }
      if (typeof arg === "number") {
        return arg;
      }
      const at = _malloc(Math.max(arg.length, 1));
      held.push(at);
      HEAPU8.set(arg, at);
      return at;
    });
    return UTF8ToString(Module["_" + name].apply(null, pointers));
  } finally {
    held.forEach((at) => _free(at));
  }
}

function lanshiBytes(value) {
  if (value instanceof Uint8Array) {
    return value;
  }
  if (value instanceof ArrayBuffer) {
    return new Uint8Array(value);
  }
  throw new TypeError("lanshi: a design file's bytes must be a Uint8Array or an ArrayBuffer");
}

Module["replay"] = function (line) {
  return lanshiCall("lanshi_replay", [String(line)]);
};

Module["openDesign"] = function (bytes, format) {
  const data = lanshiBytes(bytes);
  const options = JSON.stringify(format === undefined ? {} : { format: format });
  return JSON.parse(lanshiCall("lanshi_open_design", [data, data.length, options]));
};

Module["saveDesign"] = function (designText) {
  const result = JSON.parse(lanshiCall("lanshi_save_design", [String(designText)]));
  return "error" in result ? result : { bytes: new TextEncoder().encode(result.text) };
};

Module["report"] = function (bytes, options) {
  const data = lanshiBytes(bytes);
  const given = JSON.stringify(options === undefined ? {} : options);
  return JSON.parse(lanshiCall("lanshi_report", [data, data.length, given]));
};

Module["layout"] = function () {
  const table = JSON.parse(lanshiCall("lanshi_layout", []));
  const controls = table.controls || [];
  controls.clientWidth = table.clientWidth;
  controls.clientHeight = table.clientHeight;
  return controls;
};

Module["commands"] = function (kind) {
  const answer = JSON.parse(lanshiCall("lanshi_commands", [String(kind)]));
  return "error" in answer ? answer : answer.commands;
};

Module["identity"] = function () {
  return JSON.parse(lanshiCall("lanshi_identity", []));
};

Module["classicWindow"] = function (format) {
  const made = JSON.parse(
    lanshiCall("lanshi_classic_new", [JSON.stringify(format === undefined ? {} : { format: format })]),
  );
  if ("error" in made) {
    throw new Error("lanshi: " + made.error);
  }
  const handle = made.handle;
  const call = (request) => JSON.parse(lanshiCall("lanshi_classic_call", [handle, JSON.stringify(request)]));
  return {
    state: () => call({ call: "state" }),
    setText: (name, text) => call({ call: "setText", name: String(name), text: String(text) }),
    edited: (name) => call({ call: "edited", name: String(name) }),
    select: (name) => call({ call: "select", name: String(name) }),
    setChecked: (name, checked) => call({ call: "setChecked", name: String(name), checked: Boolean(checked) }),
    event: (name) => call({ call: "event", name: String(name) }),
    recalculateAll: () => call({ call: "recalculateAll" }),
    mayReplace: () => call({ call: "mayReplace" }),
    mayClose: () => call({ call: "mayClose" }),
    open: (bytes, fileName) => {
      const data = lanshiBytes(bytes);
      return JSON.parse(
        lanshiCall("lanshi_classic_open", [handle, data, data.length, String(fileName === undefined ? "" : fileName)]),
      );
    },
    save: (fileName) => {
      const saved = call({ call: "save", file: fileName === undefined ? "" : String(fileName) });
      if (!("text" in saved)) {
        return saved;
      }
      return { bytes: new TextEncoder().encode(saved.text), file: saved.file, state: saved.state };
    },
    saved: () => call({ call: "saved" }),
    cannotSave: (reason) => call({ call: "cannotSave", reason: String(reason) }),
    report: (options) => call(Object.assign({}, options === undefined ? {} : options, { call: "report" })),
    noticeFields: () => call({ call: "noticeFields" }),
    notice: (options) => call(Object.assign({}, options === undefined ? {} : options, { call: "notice" })),
    delete: () => Module["_lanshi_classic_delete"](handle),
  };
};
