"use strict";
// The strength evaluation's form through the WebAssembly module
// (lanshi.evaluationForm): the record and the result file of the native
// program for the same evaluation file, cells typed and pasted as the page
// sends them, and the σ the JGJ 55-2011 form imports from it.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { lanshi, runNative, temporaryFolder, formats } = require("./helpers.cjs");

function evaluationFile(inputs) {
  return Buffer.from(
    JSON.stringify({ "lanshi-design": 1, standard: "GB/T 50107-2010", "gbt50107-2010": inputs }),
    "utf8",
  );
}

function today() {
  const now = new Date();
  const two = (n) => String(n).padStart(2, "0");
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

// The guide's example (statistical, ten groups, 合格) and a non-statistical
// one with a group left out (不合格).
const evaluations = {
  statistical: {
    fcuk: 30,
    groups: [[33.1, 34.5, 33.2], 37.6, [40.0, 41.5, 48.0], 30.6, 36.1, 36.9, 38.7, 35.0, 39.1, 34.8],
  },
  nonStatistical: { fcuk: 30, groups: [[30.0, 31.0, 32.0], [20, 30, 40], 28.0] },
};

for (const [name, inputs] of Object.entries(evaluations)) {
  test(`${name}: the form's record and figures are the native ones`, async () => {
    const wasm = await lanshi();
    const folder = temporaryFolder();
    const form = wasm.evaluationForm(formats.usual);
    try {
      const file = path.join(folder, `${name}.lanshi`);
      fs.writeFileSync(file, evaluationFile(inputs));
      const opened = form.open(fs.readFileSync(file), `${name}.lanshi`);
      assert.ok(opened.opened, JSON.stringify(opened.state.status));
      assert.ok(opened.state.evaluated);
      for (const suffix of ["json", "txt"]) {
        const out = path.join(folder, `out.${suffix}`);
        const run = runNative("lanshi", ["--report", file, "-o", out], "", {
          LC_ALL: "C.UTF-8",
          QT_QPA_PLATFORM: "offscreen",
        });
        assert.equal(run.status, 0, run.stderr);
      }
      const figures = JSON.parse(fs.readFileSync(path.join(folder, "out.json"), "utf8"));
      assert.equal(opened.state.passed, figures.passed);
      assert.deepEqual(
        opened.state.conditions,
        figures.conditions.map((c) => ({ text: c.text, holds: c.holds })),
      );
      const record = form.report({ date: today() });
      assert.equal(record.text, fs.readFileSync(path.join(folder, "out.txt"), "utf8"), record.error);
    } finally {
      form.delete();
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}

test("cells typed and pasted: the verdict follows, a bad cell is marked and kept", async () => {
  const wasm = await lanshi();
  const form = wasm.evaluationForm(formats.german);
  try {
    form.set("fcuk", "25");
    let state = form.paste(0, 0, "30,1\t31,2\t29,8\n");
    assert.equal(state.verdict, "合格");
    assert.equal(state.rows[0][3].placeholder, "30,4");
    state = form.setCell(1, 3, "2x");
    assert.equal(state.evaluated, false);
    assert.equal(state.rows[1][3].text, "2x");
    assert.ok(state.rows[1][3].marked);
    assert.equal(state.status.text, "第 2 组代表值不是一个数：2x");
    assert.equal(form.save().bytes, undefined);
    state = form.setCell(1, 3, "20");
    assert.match(state.verdict, /^不合格/);
    assert.ok(form.save().bytes.length > 0);
    assert.deepEqual(form.setCell(0, 9, "1"), { error: 'no entry or cell for "setCell"' });
  } finally {
    form.delete();
  }
});

test("the JGJ 55-2011 form imports the σ for design of thirty groups", async () => {
  const wasm = await lanshi();
  const form = wasm.jgj55Form(formats.usual);
  try {
    form.set("fcuk", "30");
    const groups = Array.from({ length: 30 }, (_, i) => 38 + (i % 5));
    const state = form.importSigma(evaluationFile({ fcuk: 30, groups }), "评定.lanshi");
    assert.equal(state.values.sigma, "3");
    assert.match(state.status.text, /^强度标准差 σ = 3\.00 MPa 取自强度检验评定“评定\.lanshi”/);
    const refused = form.importSigma(evaluationFile({ fcuk: 30, groups: [35] }), "少.lanshi");
    assert.equal(refused.values.sigma, "3");
    assert.match(refused.status.text, /少于 30 组/);
  } finally {
    form.delete();
  }
});
