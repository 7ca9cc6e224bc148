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
//       The 计算书 of a design file as `lanshi --report` makes it. Options:
//       format (as above), date ("2024-05-01"), program, version, designFile
//       (the name in the heading), batchLitres (20 when left out). A stopped
//       calculation gives {stop: {stage, field, reason}} in the replay's terms.
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
