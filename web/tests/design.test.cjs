"use strict";
// Design files through the WebAssembly module: the bytes the native program
// writes, opened and saved again without a byte changed.
const test = require("node:test");
const assert = require("node:assert/strict");
const { lanshi, runNative, formats, designs, nativeDesignFile } = require("./helpers.cjs");

const encoder = new TextEncoder();

for (const [name, design] of Object.entries(designs)) {
  test(`${name}: saved as natively, opened and saved again byte for byte`, async () => {
    const wasm = await lanshi();
    const native = nativeDesignFile(design);

    const saved = wasm.saveDesign(JSON.stringify(design));
    assert.ok(saved.bytes, saved.error);
    assert.equal(Buffer.compare(Buffer.from(saved.bytes), native), 0, "saveDesign differs from the native file");

    const fileFormat = design.format || formats.usual;
    const opened = wasm.openDesign(native, fileFormat);
    assert.ok("text" in opened, opened.error);
    assert.equal(Buffer.compare(Buffer.from(encoder.encode(opened.text)), native), 0, "opened and saved again, the file changed");
    const resaved = wasm.saveDesign(opened.text);
    assert.equal(Buffer.compare(Buffer.from(resaved.bytes), native), 0);
  });
}

test("a design opened under another format is respelled as natively", async () => {
  const wasm = await lanshi();
  for (const design of Object.values(designs)) {
    const file = nativeDesignFile(design);
    for (const format of Object.values(formats)) {
      const native = runNative("tools/designfile", ["open", JSON.stringify(format)], file);
      assert.equal(native.status, 0, native.stderr);
      const opened = wasm.openDesign(file, format);
      assert.equal(opened.text, native.stdout.toString("utf8"));
    }
  }
});

test("a file that is no design is refused with the native reason", async () => {
  const wasm = await lanshi();
  const refused = [
    Buffer.from("not json at all"),
    Buffer.from('{"lanshi-design": 2}'),
    Buffer.from('{"lanshi-design": 1, "fields": {"Text1": 20}}'),
    Buffer.from('{"lanshi-design": 1, "option1": true, "option2": true}'),
    Buffer.from([0x7b, 0x22, 0xff, 0xfe, 0x22, 0x3a, 0x31, 0x7d]), // not UTF-8
    Buffer.alloc(0),
  ];
  for (const bytes of refused) {
    const native = runNative("tools/designfile", ["open"], bytes);
    assert.equal(native.status, 1, `native opened ${bytes}`);
    const opened = wasm.openDesign(bytes);
    assert.equal(typeof opened.error, "string", `the module opened ${bytes}`);
    assert.equal("designfile: " + opened.error + "\n", native.stderr);
  }
  assert.throws(() => wasm.openDesign("a string is no file's bytes"), TypeError);
});
