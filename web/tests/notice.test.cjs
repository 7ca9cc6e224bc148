"use strict";
// 配合比通知单 through the WebAssembly module, either design: the dialog's
// fields, the details kept and saved with the design, and the notice the same
// text as `lanshi --notice` writes for the saved design.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { lanshi, runNative, temporaryFolder, formats } = require("./helpers.cjs");

const date = "2024-05-01";

// The notice `lanshi --notice` writes for `bytes` saved as `name` (txt or json).
function nativeNotice(bytes, name, kind) {
  const folder = temporaryFolder();
  try {
    const file = path.join(folder, name);
    fs.writeFileSync(file, bytes);
    const out = `${file}.${kind}`;
    const run = runNative("lanshi", ["--notice", file, "-o", out], "", {
      LC_ALL: "C.UTF-8",
      QT_QPA_PLATFORM: "offscreen",
    });
    return { status: run.status, stderr: run.stderr, text: run.status === 0 ? fs.readFileSync(out, "utf8") : "" };
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

const texts = (answer) => Object.fromEntries(answer.fields.map((f) => [f.key, f.text]));

// The day's moisture and a 0.5 m³ mixer, the materials as a lab names them.
const details = {
  number: "TZ-2024-017",
  sandMoisture: "3.5",
  stoneMoisture: "1",
  batchVolume: "0.5",
  cement: "P·O 42.5 某厂",
  sand: "中砂 II区 细度模数 2.6",
  permeability: "P8",
};

test("the classic sheet: refused before 计算; the dialog's fields; the notice as natively, kept in the saved file", async () => {
  const wasm = await lanshi();
  const w = wasm.classicWindow(formats.usual);
  try {
    w.event("load");
    const before = w.noticeFields();
    assert.match(before.refusal, /\S/);
    assert.deepEqual(
      before.fields.map((f) => [f.key, f.caption, f.kind]),
      [["number", "编号", "text"], ["sandMoisture", "砂含水率", "number"], ["stoneMoisture", "石子含水率", "number"],
       ["batchVolume", "每盘方量", "number"], ["cement", "水泥", "text"], ["sand", "砂", "text"],
       ["stone", "石子", "text"], ["flyAsh", "粉煤灰", "text"], ["slag", "矿渣粉", "text"],
       ["admixture", "外加剂", "text"], ["permeability", "抗渗等级", "text"], ["frost", "抗冻等级", "text"]]);
    assert.equal(w.notice({ date }).error, before.refusal);

    w.event("Command1");
    assert.equal(w.noticeFields().refusal, null);
    const made = w.notice({ date, details });
    assert.ok("html" in made, JSON.stringify(made));
    assert.equal(made.state.modified, true);
    assert.deepEqual(texts(w.noticeFields()), {
      ...texts(before), ...details,
    });

    const saved = w.save();
    w.saved();
    assert.deepEqual(JSON.parse(new TextDecoder().decode(saved.bytes)).notice, {
      number: "TZ-2024-017", sandMoisture: 3.5, stoneMoisture: 1, batchVolume: 0.5,
      materials: { cement: "P·O 42.5 某厂", sand: "中砂 II区 细度模数 2.6" }, permeability: "P8",
    });
    // Saved, the notice names the file, as the native one of that file.
    const named = w.notice({ date, details });
    assert.equal(named.state.modified, false, "the same details are no change");
    const native = nativeNotice(saved.bytes, saved.file, "txt");
    assert.equal(native.status, 0, native.stderr);
    // The native notice is dated today; the rest is the same text.
    assert.equal(named.text.replace(date, "DATE"), native.text.replace(/\d{4}-\d{2}-\d{2}/, "DATE"));
    const json = JSON.parse(nativeNotice(saved.bytes, saved.file, "json").text);
    assert.equal(json.batchVolume, 0.5);

    // Opened again: the dialog proposes what the file keeps.
    const again = wasm.classicWindow(formats.usual);
    again.event("load");
    assert.equal(again.open(saved.bytes, saved.file).opened, true);
    assert.deepEqual(texts(again.noticeFields()), texts(w.noticeFields()));
    again.delete();
    assert.equal(w.notice({ date, details: { frost: "F150" } }).state.modified, true);
  } finally {
    w.delete();
  }
});

test("a number's text is read in the window's format; one that is no number is named and keeps nothing", async () => {
  const wasm = await lanshi();
  const w = wasm.classicWindow(formats.german);
  try {
    w.event("load");
    w.event("Command1");
    const given = w.notice({ date, details: { sandMoisture: "2,5", batchVolume: "1,25" } });
    assert.ok("html" in given, JSON.stringify(given));
    assert.equal(texts(w.noticeFields()).sandMoisture, "2,5");
    assert.equal(texts(w.noticeFields()).batchVolume, "1,25");
    const saved = w.save();
    w.saved();
    assert.equal(JSON.parse(new TextDecoder().decode(saved.bytes)).notice.sandMoisture, 2.5);

    const refused = w.notice({ date, details: { sandMoisture: "1", stoneMoisture: "viel" } });
    assert.deepEqual([refused.error, refused.entry], ["石子含水率“viel”：不是一个数。", "stoneMoisture"]);
    assert.equal(refused.state.modified, false);
    assert.equal(texts(w.noticeFields()).sandMoisture, "2,5");

    // A moisture of 100 % is no moisture: said, naming the entry.
    const wet = w.notice({ date, details: { sandMoisture: "100" } });
    assert.match(wet.error, /^砂含水率 100 % 不在/);
    // Emptied, the detail is none again.
    assert.ok("html" in w.notice({ date, details: { sandMoisture: "" } }));
    assert.equal(texts(w.noticeFields()).sandMoisture, "");
  } finally {
    w.delete();
  }
});

test("the JGJ 55-2011 form: the notice as natively for its saved design; none while a field is wrong", async () => {
  const wasm = await lanshi();
  const f = wasm.jgj55Form(formats.usual);
  try {
    for (const [key, value] of [["fcuk", "30"], ["maxSize", "20"], ["slump", "180"]]) {
      f.set(key, value);
    }
    assert.equal(f.noticeFields().refusal, null);
    const made = f.notice({ date, details });
    assert.ok("html" in made, JSON.stringify(made));
    assert.equal(made.state.modified, true);
    const saved = f.save();
    f.saved("C30.lanshi");
    assert.equal(f.state().modified, false);
    assert.equal(JSON.parse(new TextDecoder().decode(saved.bytes)).notice.batchVolume, 0.5);
    const native = nativeNotice(saved.bytes, "C30.lanshi", "txt");
    assert.equal(native.status, 0, native.stderr);
    const named = f.notice({ date });
    assert.equal(named.text.replace(date, "DATE"), native.text.replace(/\d{4}-\d{2}-\d{2}/, "DATE"));

    f.set("fcuk", "x");
    const none = f.noticeFields();
    assert.match(none.refusal, /\S/);
    assert.equal(f.notice({ date }).error, none.refusal);
  } finally {
    f.delete();
  }
});
