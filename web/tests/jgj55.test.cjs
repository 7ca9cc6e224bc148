"use strict";
// The JGJ 55-2011 form through the WebAssembly module (lanshi.jgj55Form):
// the figures, the report and the refusals of the native program for the
// same design file, and the form driven field by field as the page drives it.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { lanshi, runNative, temporaryFolder, formats } = require("./helpers.cjs");

function designFile(inputs) {
  return Buffer.from(
    JSON.stringify({ "lanshi-design": 1, standard: "JGJ 55-2011", "jgj55-2011": inputs }),
    "utf8",
  );
}

// Designs that take different roads: fly ash and an admixture by the mass
// method; slag S105, gravel, a measured cement strength, moist aggregates by
// the volume method; a durability limit and a typed standard deviation.
const designs = {
  exampleA: {
    fcuk: 30,
    cementGrade: "42.5",
    flyAsh: { fraction: 0.2 },
    admixture: { fraction: 0.01, waterReduction: 0.2 },
    stone: "crushed",
    maxSize: 20,
    slump: 180,
  },
  volumeWithSlag: {
    fcuk: 40,
    fce: 48.5,
    slag: { fraction: 0.15, grade: "S105" },
    stone: "gravel",
    maxSize: 31.5,
    slump: 90,
    method: "volume",
    sandMoisture: 3.5,
    stoneMoisture: 1.2,
  },
  durability: {
    fcuk: 20,
    sigma: 4.5,
    cementGrade: "52.5",
    stone: "crushed",
    maxSize: 40,
    vebe: 10,
    sandRatio: 30,
    structure: "prestressed",
    environment: "三a",
  },
};

// The regional settings the native program is started under, and the format
// the module is handed for them.
const locales = [
  { locale: "C.UTF-8", format: formats.usual },
  { locale: "de_DE.UTF-8", format: formats.german },
];

function today() {
  const now = new Date();
  const two = (n) => String(n).padStart(2, "0");
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

function nativeReport(file, output, locale) {
  return runNative("lanshi", ["--report", file, "-o", output], "", {
    LC_ALL: locale,
    LANG: locale,
    QT_QPA_PLATFORM: "offscreen",
  });
}

for (const [name, inputs] of Object.entries(designs)) {
  for (const { locale, format } of locales) {
    test(`${name} under ${locale}: the form's figures and report are the native ones`, async () => {
      const wasm = await lanshi();
      const folder = temporaryFolder();
      const form = wasm.jgj55Form(format);
      try {
        const file = path.join(folder, `${name}.lanshi`);
        fs.writeFileSync(file, designFile(inputs));
        const opened = form.open(fs.readFileSync(file), `${name}.lanshi`);
        assert.ok(opened.opened, JSON.stringify(opened.state.status));
        assert.equal(opened.state.status.text, "");
        assert.ok(opened.state.designed);

        const json = nativeReport(file, path.join(folder, "out.json"), locale);
        assert.equal(json.status, 0, json.stderr);
        const figures = JSON.parse(fs.readFileSync(path.join(folder, "out.json"), "utf8"));
        let compared = 0;
        for (const result of opened.state.results) {
          if (result.key in figures) {
            const plain = Number(result.text.split(format.decimal).join("."));
            assert.equal(plain, figures[result.key], `${result.key}: ${result.text}`);
            compared += 1;
          }
        }
        assert.equal(compared, 15);

        const text = nativeReport(file, path.join(folder, "out.txt"), locale);
        assert.equal(text.status, 0, text.stderr);
        const web = form.report({ date: today() });
        assert.ok("text" in web, web.error);
        assert.equal(web.text, fs.readFileSync(path.join(folder, "out.txt"), "utf8"));

        // lanshi.report of the file's bytes: what `lanshi --report` writes.
        const html = nativeReport(file, path.join(folder, "out.html"), locale);
        assert.equal(html.status, 0, html.stderr);
        const made = wasm.report(fs.readFileSync(file), { format, date: today(), designFile: `${name}.lanshi` });
        assert.equal(made.text, web.text, made.error);
        assert.equal(made.html, fs.readFileSync(path.join(folder, "out.html"), "utf8"));
      } finally {
        form.delete();
        fs.rmSync(folder, { recursive: true, force: true });
      }
    });
  }
}

test("a design the rules refuse: the form's mark says what the native program says", async () => {
  const wasm = await lanshi();
  const folder = temporaryFolder();
  const form = wasm.jgj55Form();
  try {
    const inputs = { ...designs.exampleA, flyAsh: { fraction: 0.45 } };
    const file = path.join(folder, "refused.lanshi");
    fs.writeFileSync(file, designFile(inputs));
    const native = nativeReport(file, path.join(folder, "out.json"), "C.UTF-8");
    assert.notEqual(native.status, 0);

    const state = form.open(fs.readFileSync(file), "refused.lanshi").state;
    assert.equal(state.designed, false);
    assert.deepEqual(Object.keys(state.marks), ["flyAsh.fraction"]);
    const why = state.marks["flyAsh.fraction"];
    assert.ok(native.stderr.trimEnd().endsWith(`：${why}`), `${native.stderr} / ${why}`);
    assert.deepEqual(state.status, { text: why, error: true });
    assert.ok(state.results.every((r) => r.text === "—"));
  } finally {
    form.delete();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("typed as on the desktop: results, greyed table values, a mark and its message", async () => {
  const wasm = await lanshi();
  const form = wasm.jgj55Form(formats.german);
  try {
    form.set("fcuk", "30");
    form.set("maxSize", "20");
    form.set("slump", "180");
    form.set("flyAsh.fraction", "20");
    form.set("admixture.fraction", "1");
    let state = form.set("admixture.waterReduction", "20");
    const shown = Object.fromEntries(state.results.map((r) => [r.key, r]));
    assert.equal(shown.waterBinder.text, "0,52");
    assert.equal(shown.sand.text, "756");
    assert.equal(
      shown.waterBinder.tip,
      "W/B = αa·fb / (fcu,0 + αa·αb·fb) = 0,53 × 41,9 / (38,2 + 0,53 × 0,20 × 41,9) = 0,52",
    );
    assert.equal(state.placeholders.sigma, "5（标准差 σ 取值表）");
    assert.equal(state.placeholders.cementDensity, "3100（默认值）");
    assert.equal(state.greyed.sigma, "5");

    state = form.set("slump", "1x0");
    assert.deepEqual(state.marks, { slump: "「坍落度」不是一个数：1x0" });
    assert.deepEqual(state.status, { text: "「坍落度」不是一个数：1x0", error: true });
    assert.equal(form.save().bytes, undefined);

    form.set("slump", "180");
    state = form.set("cementGrade", "（用实测强度）");
    assert.equal(state.chosen.cementGrade, 3);
    assert.equal(state.designed, false);
    assert.ok(state.status.error);
    assert.ok("error" in form.set("cementGrade", "62.5"));
    assert.ok("error" in form.set("nothing", "1"));

    form.set("cementGrade", 1);
    const saved = form.save();
    assert.ok(saved.bytes instanceof Uint8Array);
    // The file is the form's only once the page has written it.
    const refused = form.saved("b.lanshi", "磁盘已满");
    assert.ok(refused.state.status.error && refused.state.status.text.includes("磁盘已满"),
              JSON.stringify(refused.state.status));
    assert.equal(refused.state.fileName, "");
    // Each save is answered for once: saved again, then written.
    assert.ok(form.save().bytes instanceof Uint8Array);
    assert.equal(form.saved("a.lanshi").state.title, "a.lanshi - JGJ 55-2011 配合比设计 - 普通澜石");
    const again = wasm.jgj55Form();
    try {
      const reopened = again.open(saved.bytes, "a.lanshi");
      assert.ok(reopened.opened);
      assert.equal(reopened.state.values.maxSize, "20");
      assert.equal(Buffer.compare(Buffer.from(again.save().bytes), Buffer.from(saved.bytes)), 0);
    } finally {
      again.delete();
    }
  } finally {
    form.delete();
  }
  assert.ok("error" in form.state(), "a deleted form answers with an error");
});

test("the form asks before its design is replaced, keeps itself on a refused open and says where a classic design belongs", async () => {
  const wasm = await lanshi();
  const form = wasm.jgj55Form(formats.usual);
  try {
    assert.deepEqual(form.mayReplace(), { ask: false });
    const opened = form.open(designFile(designs.exampleA), "A.lanshi");
    assert.ok(opened.opened);
    assert.equal(opened.state.modified, false);
    assert.deepEqual(form.mayReplace(), { ask: false });

    // Refused: nothing of the form changes, whatever the bytes.
    const kept = form.state();
    const refusals = [
      [designFile({ ...designs.exampleA, fcuk: "三十" }), null],
      [Buffer.from('{"lanshi-design": 1, "fields": {"Text1": "30"}}'), "classic"],
      [Buffer.from("not a design"), "classic"],
    ];
    for (const [bytes, elsewhere] of refusals) {
      const refused = form.open(bytes, "B.lanshi");
      assert.equal(refused.opened, false);
      assert.equal(refused.elsewhere, elsewhere);
      assert.deepEqual(refused.state.values, kept.values);
      assert.deepEqual(refused.state.results, kept.results);
      assert.equal(refused.state.fileName, "A.lanshi");
    }

    // A change of a field or of the report's project block is a change of
    // the design; the question names its file.
    const changes = [() => form.set("slump", "160"), () => form.report({ project: { name: "桥墩" } }).state];
    for (const change of changes) {
      assert.equal(change().modified, true);
      const asked = form.mayReplace();
      assert.ok(asked.ask);
      assert.match(asked.box.text, /A\.lanshi/);
      assert.deepEqual(asked.box.buttons.map((b) => b.answer), ["save", "discard", "cancel"]);
      assert.ok(form.save().bytes);
      assert.equal(form.saved("A.lanshi").state.modified, false);
    }
    assert.equal(form.copied().state.status.text, "计算书已复制。");
  } finally {
    form.delete();
  }
});

test("full-width digits and a percent sign are read; a value outside its usual range and each note of 注意 are marked where they belong and counted", async () => {
  const wasm = await lanshi();
  const form = wasm.jgj55Form();
  try {
    for (const [key, text] of [["fcuk", "２０"], ["maxSize", "20"], ["slump", "180"], ["flyAsh.fraction", "２０％"]]) {
      form.set(key, text);
    }
    form.set("environment", "三b");
    let state = form.set("sandRatio", "0.4");
    assert.equal(state.designed, true, state.status.text);
    assert.deepEqual(state.marks, {});
    assert.equal(state.warnings.sandRatio, "砂率 0.4 % 不在常用范围 20–50 %，是否应为 40？");
    assert.match(state.warnings.fcuk, /最低强度等级/);
    assert.match(state.results.find((r) => r.key === "waterBinder").warning, /计算水胶比/);
    assert.equal(state.noteCount, `注意 ${state.notes.length} 条，1 项不在常用范围`);
    assert.ok(state.notes.every((n) => n.key !== ""), JSON.stringify(state.notes));

    state = form.set("sandMoisture", "3%");
    form.set("sandRatio", "40");
    state = form.set("stoneMoisture", "１");
    const sand = state.results.find((r) => r.key === "sand");
    assert.notEqual(sand.construction, "");
    assert.notEqual(sand.trial, "");
    assert.equal(state.trialTitle, "试拌 20 L");
  } finally {
    form.delete();
  }
});

// 试配、调整…: the trials typed as the page's table holds them, under a
// decimal comma, worked out as the native program works out the same file:
// the report with its chapter 试配、调整与确定 and the laboratory mix.
test("the trials typed in the page give the native report and are kept with the design", async () => {
  const wasm = await lanshi();
  const folder = temporaryFolder();
  const form = wasm.jgj55Form(formats.german);
  try {
    assert.ok(form.open(designFile(designs.exampleA), "T.lanshi").opened);
    const asked = form.trials();
    assert.equal(asked.texts.rows.length, 6);
    assert.equal(asked.plot, null);
    assert.equal(asked.state.modified, false, "asking changes nothing");

    const rows = [
      ["0,47", "", "46,2", "47,5", "48,1"],
      ["0,52", "41,8", "", "", ""],
      ["0,57", "", "35,1", "36,9", "43"],
    ];
    const texts = { mixerCapacity: "60", water: "185", sandRatio: "40", density: "2450", rows };
    const typed = form.trials(texts);
    assert.equal(typed.problem, "");
    assert.equal(typed.plot.binderWater, 1.798);
    assert.equal(typed.plot.points.length, 3);
    assert.match(typed.html, /试验室配合比/);
    assert.equal(typed.state.modified, true);

    const file = path.join(folder, "T.lanshi");
    fs.writeFileSync(file, form.save().bytes);
    const native = nativeReport(file, path.join(folder, "out.txt"), "de_DE.UTF-8");
    assert.equal(native.status, 0, native.stderr);
    const web = form.report({ date: today() });
    assert.equal(web.text, fs.readFileSync(path.join(folder, "out.txt"), "utf8"));
    assert.match(web.text, /1,021/);

    // A text that is no number is named and changes nothing kept.
    const bad = form.trials({ ...texts, density: "24x0" });
    assert.match(bad.problem, /「实测表观密度」不是一个数/);
    assert.equal(bad.texts.density, "2450");
  } finally {
    form.delete();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
