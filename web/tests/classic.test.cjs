"use strict";
// The classic window of the page (lanshi.classicWindow) against the desktop's
// behaviour: the figures as the native replay writes them, the stop box and
// the field that gets the focus as the native session gives them, design
// files opened and saved byte for byte.
const test = require("node:test");
const assert = require("node:assert/strict");
const { lanshi, runNative, readLines, formats, designs, nativeDesignFile } = require("./helpers.cjs");

const OPTIONS = ["option1", "option2", "细砂", "粗砂"];
const CHECKS = ["卵石", "碎石"];

// Each case on the native window (build/tools/classicevents), one line each.
function nativeEvents(cases) {
  const run = runNative("tools/classicevents", [], cases.map((c) => JSON.stringify(c)).join("\n") + "\n");
  assert.equal(run.status, 0, run.stderr);
  return run.stdout
    .toString("utf8")
    .split("\n")
    .slice(0, -1)
    .map((line) => JSON.parse(line));
}

// The same case on the page's window: loaded, the texts typed by hand, the
// choices made, then the events; in the tool's terms.
async function webEvents(c) {
  const wasm = await lanshi();
  const w = wasm.classicWindow(c.format);
  try {
    w.event("load");
    for (const [name, text] of Object.entries(c.fields || {})) {
      w.setText(name, text);
      w.edited(name);
    }
    for (const name of OPTIONS) {
      if (c[name] === true) {
        w.select(name);
      }
    }
    for (const name of CHECKS) {
      if (name in c) {
        w.setChecked(name, c[name]);
      }
    }
    const events = (c.events || []).map((name) => {
      const e = w.event(name);
      return {
        boxes: e.boxes.map(({ icon, title, text }) => ({ icon, title, text })),
        focus: e.focus,
        exit: e.exit,
        openUrl: e.openUrl,
      };
    });
    return { events, fields: w.state().texts };
  } finally {
    w.delete();
  }
}

// The golden cases a window can be given by hand: one press, no design
// file, exactly one method selected (the replay sets the options as given,
// the window's group keeps one).
// Lines the replay refuses (no JSON, a field that is no text, a format it
// cannot read) are the tool's own cases, not a window's.
function windowCases() {
  const cases = readLines("tests/golden/cases.jsonl");
  const expected = readLines("tests/golden/expected.jsonl");
  return cases
    .map((line, i) => ({ line, expected: JSON.parse(expected[i]) }))
    .filter(({ expected: e }) => !("error" in e))
    .map(({ line, expected: e }) => ({ ...JSON.parse(line), expected: e }))
    .filter((c) => !("lanshi-design" in c) && !("presses" in c))
    .filter((c) => Object.keys(c.fields || {}).every((k) => /^Text([1-9]|[12][0-9]|3[0-3])$/.test(k)))
    .filter((c) => (c.option1 ?? true) !== (c.option2 ?? false));
}

test("calculate: the figures and notices of every golden case, as the native replay writes them", async () => {
  const cases = windowCases();
  assert.ok(cases.length > 40, `only ${cases.length} golden cases fit a window`);
  for (const { expected: replayed, ...c } of cases) {
    const web = await webEvents({ ...c, events: ["Command1"] });
    assert.deepEqual(web.fields, replayed.fields, c.id);
    const notices = web.events[0].boxes.filter((box) => box.icon === "none").map((box) => box.text);
    assert.deepEqual(notices, replayed.notices, c.id);
    assert.equal(web.events[0].boxes.some((box) => box.icon === "warning"), replayed.stop !== null, c.id);
  }
});

test("a stop: the box and the field that gets the focus are the desktop's", async () => {
  const stops = [
    ...windowCases().map(({ expected, ...c }) => ({ ...c, events: ["Command1"] })),
    { id: "unreadable", fields: { Text5: "abc" }, events: ["Command1"] },
    { id: "zero ratio", fields: { Text8: "0" }, events: ["Command1"] },
    { id: "sand ratio one", fields: { Text15: "1" }, events: ["Command1"] },
    { id: "german", format: formats.german, fields: { Text5: "42.5" }, events: ["Command1"] },
    { id: "mass method", option2: true, fields: { Text20: "x" }, events: ["Command1", "Command1"] },
  ];
  const native = nativeEvents(stops);
  let stopped = 0;
  for (const [i, c] of stops.entries()) {
    assert.equal(native[i].error, undefined, c.id);
    const web = await webEvents(c);
    assert.deepEqual(web, native[i], c.id);
    stopped += native[i].events.filter((e) => e.focus !== null).length;
  }
  assert.ok(stopped >= 8, `only ${stopped} stops put the focus on a field`);
});

test("the other events: load, 帮助, 清零, 退出 and 更多软件 as on the desktop", async () => {
  const c = { fields: { Text1: "35", Text31: "9" }, events: ["load", "Command2", "Command3", "Command5", "Command4"] };
  const [native] = nativeEvents([c]);
  const web = await webEvents(c);
  assert.deepEqual(web, native);
  // The first tab stop is an option button: the focus goes to the selected
  // member of its group.
  assert.equal(web.events[0].focus, "细砂");
  assert.deepEqual(web.events[1].boxes, [{ icon: "none", title: "青禾工作室", text: "澜石" }]);
  assert.equal(web.fields.Text1, "20", "清零 resets");
  assert.equal(web.fields.Text31, "9", "清零 leaves the proportion row");
});

// A design as the window saves it: the sheet alone, without the keys of the
// file that the window does not read (as the desktop saves it).
function asTheWindowSavesIt(design) {
  return Object.fromEntries(
    Object.entries(design).filter(([key]) => key === "lanshi-design" || key === "format" || key === "fields" || OPTIONS.includes(key) || CHECKS.includes(key)),
  );
}

test("design files: opened and saved byte for byte, a changed sheet asks first", async () => {
  const wasm = await lanshi();
  for (const [name, design] of Object.entries(designs)) {
    const file = nativeDesignFile(design);
    const windowFile = nativeDesignFile(asTheWindowSavesIt(design));
    const w = wasm.classicWindow(design.format || formats.usual);
    try {
      w.event("load");
      const opened = w.open(file, `${name}.lanshi`);
      assert.ok(opened.opened, JSON.stringify(opened.boxes));
      assert.equal(opened.state.modified, false, name);
      assert.equal(opened.state.file, `${name}.lanshi`);
      assert.equal(w.mayReplace().ask, false, name);
      const saved = w.save();
      assert.ok(saved.bytes, JSON.stringify(saved.boxes));
      assert.equal(saved.file, `${name}.lanshi`);
      w.saved();
      assert.equal(Buffer.compare(Buffer.from(saved.bytes), windowFile), 0, `${name}: saved bytes differ`);

      w.setText("Text1", "45");
      // A write the browser refuses leaves the sheet modified, and says why
      // as the desktop does; one that succeeds makes it unmodified.
      assert.ok(w.save().bytes);
      const refused = w.cannotSave("磁盘已满");
      assert.equal(refused.state.modified, true, name);
      assert.equal(refused.boxes.length, 1);
      assert.equal(refused.boxes[0].icon, "warning");
      assert.ok(refused.boxes[0].text.includes(`${name}.lanshi`) && refused.boxes[0].text.includes("磁盘已满"),
                refused.boxes[0].text);
      w.save();
      assert.equal(w.saved().modified, false, name);
      w.setText("Text1", "50");
      const asked = w.mayReplace();
      assert.equal(asked.ask, true, name);
      assert.equal(asked.box.text, `设计“${name}.lanshi”已修改。\n打开另一个设计之前，是否保存修改？`);
      assert.deepEqual(
        asked.box.buttons.map((b) => b.answer),
        ["save", "discard", "cancel"],
      );
    } finally {
      w.delete();
    }
  }
});

test("a JGJ 55-2011 design belongs to its own form, a broken file is refused with the reader's reason", async () => {
  const wasm = await lanshi();
  const w = wasm.classicWindow();
  try {
    const before = w.event("load").state;
    const jgj = w.open(new TextEncoder().encode('{"lanshi-design": 1, "standard": "JGJ 55-2011"}'), "c30.lanshi");
    assert.equal(jgj.elsewhere, "jgj55-2011");
    assert.equal(jgj.opened, false);
    assert.deepEqual(jgj.state, before);

    const broken = Buffer.from('{"lanshi-design": 2}');
    const native = runNative("tools/designfile", ["open"], broken);
    const refused = w.open(broken, "旧.lanshi");
    assert.equal(refused.opened, false);
    assert.equal(refused.elsewhere, null);
    assert.equal(refused.boxes.length, 1);
    assert.equal("designfile: " + refused.boxes[0].text.split("：\n")[1] + "\n", native.stderr);
    assert.equal(refused.boxes[0].text.split("：\n")[0], "无法打开设计文件“旧.lanshi”");
    assert.deepEqual(refused.state, before);
  } finally {
    w.delete();
  }
});

test("the report of the last calculation, or the box that says why there is none", async () => {
  const wasm = await lanshi();
  const w = wasm.classicWindow();
  try {
    w.event("load");
    const none = w.report({ date: "2024-05-01" });
    assert.equal(none.boxes.length, 1);
    assert.equal(none.boxes[0].icon, "information");
    w.event("Command1");
    const made = w.report({ date: "2024-05-01", batchLitres: 25, project: { name: "桥墩" } });
    assert.ok(made.text.includes("2024-05-01"), made.text);
    assert.ok(made.text.includes("桥墩"), made.text);
    assert.deepEqual(w.state().project, { name: "桥墩", part: "", client: "" });
    w.setText("Text12", "1");
    const changed = w.report({ date: "2024-05-01" });
    assert.equal(changed.boxes.length, 1);
    assert.notEqual(changed.boxes[0].text, none.boxes[0].text);
  } finally {
    w.delete();
  }
});

test("the layout table and the identity the page draws the window with", async () => {
  const wasm = await lanshi();
  const controls = wasm.layout();
  assert.equal(controls.length, 80);
  assert.equal(controls.clientWidth, 8040);
  assert.equal(controls.clientHeight, 4965);
  const text8 = controls.find((c) => c.name === "Text8");
  assert.deepEqual(
    [text8.kind, text8.frame, text8.caption],
    ["TextField", "Frame4", "Text8"],
  );
  assert.equal(controls.find((c) => c.name === "Label26").textColour, 0x0000c0);
  const identity = wasm.identity();
  assert.equal(identity.applicationName, "普通澜石");
  const w = wasm.classicWindow();
  assert.equal(identity.caption, w.state().caption);
  w.delete();
});

// The commands beside the events, from the one table the desktop makes its
// actions from: the page draws its menus and binds its keys from these.
test("the commands of both windows: names, texts and keys, each key once", async () => {
  const wasm = await lanshi();
  const classic = wasm.commands("classic");
  const jgj55 = wasm.commands("jgj55");
  const keysOf = (commands) => Object.fromEntries(commands.map((c) => [c.name, c.keys]));
  assert.deepEqual(keysOf(classic), {
    openDesign: "Ctrl+O",
    saveDesign: "Ctrl+S",
    saveDesignAs: "Ctrl+Shift+S",
    previewReport: "Ctrl+P",
    exportReportPdf: "Ctrl+Shift+E",
    copyReport: "Ctrl+Shift+C",
    mixNotice: "Ctrl+Shift+N",
    recalculateAll: "Ctrl+Shift+R",
    newJgj55Design: "Ctrl+J",
    newEvaluation: "Ctrl+G",
    openGuide: "F1",
  });
  // The JGJ 55-2011 window has the same commands, the classic sheet's own
  // aside, and takes σ from a strength evaluation.
  const classicOnly = ["newJgj55Design", "recalculateAll"];
  assert.deepEqual(
    jgj55.filter((c) => !["newDesign", "importSigma", "trialMixes"].includes(c.name)),
    classic.filter((c) => !classicOnly.includes(c.name)),
  );
  assert.ok(jgj55.some((c) => c.name === "importSigma" && c.text === "导入强度标准差…"));
  // The strength evaluation's window: the record's own copy, CSV, rows.
  const gbt50107 = wasm.commands("gbt50107");
  assert.deepEqual(
    gbt50107.map((c) => c.name),
    ["openDesign", "saveDesign", "saveDesignAs", "previewReport", "exportReportPdf", "copyReport",
     "importCsv", "removeRows", "openGuide"],
  );
  assert.equal(keysOf(jgj55).trialMixes, "Ctrl+Shift+T");
  for (const commands of [classic, jgj55, gbt50107]) {
    const keys = commands.map((c) => c.keys).filter((k) => k !== "");
    assert.equal(new Set(keys).size, keys.length);
    assert.ok(commands.every((c) => /\S/.test(c.text) && typeof c.separated === "boolean"));
  }
  assert.match(wasm.commands("jgj55-2011").error, /jgj55/);
  assert.match(wasm.commands().error, /classic/);
});
