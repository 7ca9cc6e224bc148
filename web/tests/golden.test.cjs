"use strict";
// Whole calculations through the WebAssembly module, line for line the same
// as the native replay tool writes them.
const test = require("node:test");
const assert = require("node:assert/strict");
const { lanshi, runNative, readLines, formats, seeded, designs } = require("./helpers.cjs");

function nativeReplay(lines) {
  const run = runNative("tools/replay", [], lines.join("\n") + "\n");
  assert.equal(run.status, 0, run.stderr);
  return run.stdout.toString("utf8").split("\n").slice(0, -1);
}

async function webReplay(lines) {
  const wasm = await lanshi();
  return lines.map((line) => wasm.replay(line));
}

test("the golden cases give the kept lines, as the native replay does", async () => {
  const cases = readLines("tests/golden/cases.jsonl");
  const expected = readLines("tests/golden/expected.jsonl");
  assert.equal(cases.length, expected.length);
  const web = await webReplay(cases);
  assert.deepEqual(web, expected);
  assert.deepEqual(web, nativeReplay(cases));
});

test("design files, other formats and refused lines replay as natively", async () => {
  const lines = [
    ...Object.values(designs).map((design) => JSON.stringify(design)),
    JSON.stringify({ id: "german", format: formats.german, fields: { Text1: "1.234,5", Text4: "0,5" } }),
    JSON.stringify({ id: "french", format: formats.french, fields: { Text5: "42,5", Text20: "2\u202f450" } }),
    JSON.stringify({ id: "pressed-thrice", presses: 3, option2: true, option1: false }),
    JSON.stringify({ id: "neither-method", option1: false, option2: false }),
    JSON.stringify({ id: "huge", fields: { Text1: "9".repeat(5000) } }),
    JSON.stringify({ id: "tiny", fields: { Text1: "1e-400", Text6: "-0" } }),
    "not a case",
    JSON.stringify({ fields: { Text99: "1" } }),
    JSON.stringify({ presses: 0 }),
    JSON.stringify({ "lanshi-design": 2 }),
  ];
  assert.deepEqual(await webReplay(lines), nativeReplay(lines));
});

// Every field typed at random, in the spellings people type (grouped, signed,
// with exponents, too long, with stray characters), under four formats: the
// conversions of the module against the standard library's, in place.
test("random texts in every field replay as natively", async () => {
  const random = seeded(19);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const digits = (count) => Array.from({ length: count }, () => Math.floor(random() * 10)).join("");
  // A number in the given format: sign, whole part (grouped now and then),
  // fraction, exponent; now and then something after it.
  const number = (format) => {
    let whole = digits(1 + Math.floor(random() * 7));
    if (random() < 0.3 && format.groupSize > 0) {
      whole = whole.replace(/\B(?=(\d{3})+(?!\d))/g, format.group);
    }
    const fraction = random() < 0.6 ? format.decimal + digits(1 + Math.floor(random() * 9)) : "";
    const exponent = random() < 0.15 ? "e" + pick(["", "-", "+"]) + digits(1 + Math.floor(random() * 3)) : "";
    const sign = random() < 0.25 ? format.negative : "";
    const after = random() < 0.1 ? pick([" ", "kg", "%", "\t"]) : "";
    return sign + whole + fraction + exponent + after;
  };
  const lines = [];
  for (let n = 0; n < 400; n++) {
    const format = pick(Object.values(formats));
    const fields = {};
    for (let field = 1; field <= 33; field++) {
      if (random() < 0.3) {
        fields["Text" + field] = number(format);
      }
    }
    const mass = random() < 0.5;
    lines.push(JSON.stringify({ id: n, format, fields, option1: !mass, option2: mass }));
  }
  const web = await webReplay(lines);
  assert.deepEqual(web, nativeReplay(lines));
  // Enough of them go the whole way for the figures to count.
  const completed = web.filter((line) => JSON.parse(line).stop === null).length;
  assert.ok(completed >= lines.length / 10, `only ${completed} of ${lines.length} calculated to the end`);
});
