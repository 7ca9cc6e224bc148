"use strict";
// The 计算书 of design files through the WebAssembly module, the same text
// and the same HTML as `lanshi --report` writes.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { lanshi, runNative, temporaryFolder, formats, designs, nativeDesignFile, root } = require("./helpers.cjs");

// Today as the native program dates its report (the local date).
function today() {
  const now = new Date();
  const two = (n) => String(n).padStart(2, "0");
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

// The native report of a design file in `kind` ("txt" or "html").
function nativeReport(file, kind, locale, litres) {
  const out = `${file}.${kind}`;
  const args = ["--report", file, "-o", out];
  if (litres !== undefined) {
    args.push("--batch-volume", String(litres));
  }
  const run = runNative("lanshi", args, "", { LC_ALL: locale, LANG: locale, QT_QPA_PLATFORM: "offscreen" });
  return { status: run.status, stderr: run.stderr, bytes: run.status === 0 ? fs.readFileSync(out) : null };
}

// The regional settings the native program is started under, and the format
// the module is handed for them.
const locales = [
  { locale: "C.UTF-8", format: formats.usual },
  { locale: "de_DE.UTF-8", format: formats.german },
];

const cases = [
  { name: "defaults", design: designs.defaults },
  { name: "massMethodTyped", design: designs.massMethodTyped, litres: 25 },
  { name: "c35Crushed", design: designs.c35Crushed, litres: 12.5 },
  { name: "german", design: designs.german },
  { name: "chineseAndExtras", design: designs.chineseAndExtras },
];

for (const { name, design, litres } of cases) {
  for (const { locale, format } of locales) {
    test(`${name} under ${locale}: the report's text and HTML as natively`, async () => {
      const wasm = await lanshi();
      const folder = temporaryFolder();
      try {
        const file = path.join(folder, `${name}.lanshi`);
        const bytes = nativeDesignFile(design);
        fs.writeFileSync(file, bytes);
        const options = { format, date: today(), designFile: `${name}.lanshi` };
        if (litres !== undefined) {
          options.batchLitres = litres;
        }
        const web = wasm.report(bytes, options);
        assert.ok("text" in web, JSON.stringify(web));
        const text = nativeReport(file, "txt", locale, litres);
        assert.equal(text.status, 0, text.stderr);
        assert.equal(web.text, text.bytes.toString("utf8"));
        assert.ok(Buffer.from(web.text, "utf8").equals(text.bytes), "the text differs in its bytes");
        const html = nativeReport(file, "html", locale, litres);
        assert.equal(html.status, 0, html.stderr);
        assert.equal(web.html, html.bytes.toString("utf8"));
        assert.ok(Buffer.from(web.html, "utf8").equals(html.bytes), "the HTML differs in its bytes");
      } finally {
        fs.rmSync(folder, { recursive: true, force: true });
      }
    });
  }
}

test("the start design gives the kept report of the native tests", async () => {
  const wasm = await lanshi();
  const web = wasm.report(nativeDesignFile(designs.defaults), {
    date: "2024-05-01",
    program: "普通澜石",
    version: "1.00",
  });
  const kept = fs.readFileSync(path.join(root, "tests", "golden", "report-defaults.txt"), "utf8");
  assert.equal(web.text, kept);
});

test("a calculation that stops gives no report, natively neither", async () => {
  const wasm = await lanshi();
  const folder = temporaryFolder();
  try {
    for (const design of [designs.massMethod, designs.swiss]) {
      const bytes = nativeDesignFile(design);
      const file = path.join(folder, "stops.lanshi");
      fs.writeFileSync(file, bytes);
      const web = wasm.report(bytes, { format: design.format || formats.usual });
      // The stop the replay of the same design reports.
      assert.deepEqual(web, { stop: JSON.parse(wasm.replay(JSON.stringify(design))).stop });
      assert.equal(nativeReport(file, "txt", "C.UTF-8").status, 1);
    }
    assert.match(wasm.report(new Uint8Array([1, 2, 3])).error, /\S/);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

// The trial batch: one range (0.1 to 10 000 L) for the report of a file, of
// the classic window and of the JGJ 55-2011 form; a text read in the
// caller's format; a refusal keeps the batch the design had.
test("the trial batch: one range and one reading for every report", async () => {
  const wasm = await lanshi();
  const jgj55File = Buffer.from(JSON.stringify({
    "lanshi-design": 1,
    standard: "JGJ 55-2011",
    "jgj55-2011": { fcuk: 30, cementGrade: "42.5", stone: "crushed", maxSize: 20, slump: 180 },
  }));
  const cases = [
    [0.1, 0.1],
    [0.09, null],
    [10000, 10000],
    [10000.01, null],
    ["12.5", 12.5],
    [" 25 ", 25],
    ["0.099", null],
    ["10,000", 10000],
    ["1e40", null],
    ["abc", null],
    ["", null],
  ];
  const german = { ...formats.german };
  for (const format of [formats.usual, german]) {
    const classic = wasm.classicWindow(format);
    const form = wasm.jgj55Form(format);
    try {
      classic.event("load");
      classic.event("Command1");
      assert.ok(form.open(jgj55File, "C30.lanshi").opened);
      for (const [given, litres] of cases) {
        // Under a decimal comma the same texts are written with one.
        const typed = typeof given === "string" && format === german
          ? given.replace(",", "\u0000").replace(".", ",").replace("\u0000", ".")
          : given;
        const label = `${JSON.stringify(typed)} under "${format.decimal}"`;
        const file = wasm.report(nativeDesignFile(designs.defaults), { format, batchLitres: typed });
        const jgj55 = wasm.report(jgj55File, { format, batchLitres: typed });
        const window = classic.report({ batchLitres: typed });
        const ofForm = form.report({ batchLitres: typed });
        if (litres === null) {
          for (const refused of [file, jgj55, window, ofForm]) {
            assert.match(refused.error || "", /试拌体积/, label);
          }
          assert.equal(window.state.batchLitres, 20, label);
          assert.equal(ofForm.state.batchLitres, 20, label);
        } else {
          for (const made of [file, jgj55, window, ofForm]) {
            assert.ok(made.text, `${label}: ${made.error}`);
          }
          assert.equal(window.state.batchLitres, litres, label);
          assert.equal(ofForm.state.batchLitres, litres, label);
          classic.report({ batchLitres: 20 });
          form.report({ batchLitres: 20 });
        }
      }
    } finally {
      classic.delete();
      form.delete();
    }
  }
});
