"use strict";
// What the web tests share: the WebAssembly module, the native tools they are
// held against, and designs to feed both.
//
//   LANSHI_WEB_MODULE    the module (default build-web/web/lanshi.js)
//   LANSHI_NATIVE_BUILD  the native build with tools/replay, tools/designfile
//                        and lanshi (default build/)
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { spawnSync } = require("node:child_process");

const root = path.resolve(__dirname, "..", "..");
const modulePath = process.env.LANSHI_WEB_MODULE || path.join(root, "build-web", "web", "lanshi.js");
const nativeBuild = process.env.LANSHI_NATIVE_BUILD || path.join(root, "build");

let loaded;
function lanshi() {
  if (!loaded) {
    if (!fs.existsSync(modulePath)) {
      throw new Error(`${modulePath} is missing: make web builds it`);
    }
    loaded = require(modulePath)();
  }
  return loaded;
}

// Runs a native program of the build: its exit status, its standard output as
// bytes and its standard error as text.
function runNative(program, args, input, env) {
  const file = path.join(nativeBuild, program);
  if (!fs.existsSync(file)) {
    throw new Error(`${file} is missing: make web-test builds it`);
  }
  const result = spawnSync(file, args, {
    input,
    env: { ...process.env, ...env },
    maxBuffer: 256 * 1024 * 1024,
  });
  if (result.error) {
    throw result.error;
  }
  return { status: result.status, stdout: result.stdout, stderr: result.stderr.toString() };
}

function readLines(file) {
  return fs.readFileSync(path.join(root, file), "utf8").split("\n").filter((line) => line !== "");
}

function temporaryFolder() {
  return fs.mkdtempSync(path.join(os.tmpdir(), "lanshi-web-"));
}

// The regional formats the tests work in.
const formats = {
  usual: { decimal: ".", group: ",", groupSize: 3, negative: "-" },
  german: { decimal: ",", group: ".", groupSize: 3, negative: "-" },
  swiss: { decimal: ".", group: "\u2019", groupSize: 3, negative: "\u2212" },
  french: { decimal: ",", group: "\u202f", groupSize: 3, negative: "-" },
};

// A small, seeded generator, so that every run feeds the same values.
function seeded(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// The design file of `design` (an object in the file's keys) as the native
// program writes it.
function nativeDesignFile(design) {
  const saved = runNative("tools/designfile", ["save"], JSON.stringify(design));
  if (saved.status !== 0) {
    throw new Error(`designfile save refused ${JSON.stringify(design)}: ${saved.stderr}`);
  }
  return saved.stdout;
}

// Designs of every kind the window saves: each method, each option, other
// regional formats with grouped numbers, Chinese text, a key of a later
// feature kept aside.
const designs = {
  defaults: { "lanshi-design": 1 },
  massMethod: { "lanshi-design": 1, option1: false, option2: true, 粗砂: true, 细砂: false },
  massMethodTyped: {
    "lanshi-design": 1,
    fields: { Text1: "25", Text20: "2400", Text33: "0.48" },
    option1: false,
    option2: true,
  },
  c35Crushed: {
    "lanshi-design": 1,
    fields: { Text1: "35", Text3: "5", Text5: "42.5", Text19: "2.72", Text22: "3.5", Text23: "1.2" },
    卵石: false,
    碎石: true,
  },
  german: {
    "lanshi-design": 1,
    format: formats.german,
    fields: { Text1: "27,5", Text4: "1.205,5", Text6: "1,13", Text20: "2.450" },
  },
  swiss: {
    "lanshi-design": 1,
    format: formats.swiss,
    fields: { Text1: "30", Text4: "1\u2019180.25", Text22: "\u22121.5" },
    option1: false,
    option2: true,
  },
  chineseAndExtras: {
    "lanshi-design": 1,
    fields: { Text1: "二十", Text2: "  30 ", Text7: "1e2" },
    备注: { 工程: "桥墩", 体积: 12.5, 批次: [1, 2.25, "三"] },
  },
};

// Gives `page` a nextFileChooser(): the next file chooser the page opens.
// It listens from the start: Playwright intercepts the chooser only once
// someone listens, and a listener added just before the key press can lose
// the race with the page's click.
function listenForFileChoosers(page) {
  const choosers = [];
  page.on("filechooser", (chooser) => {
    const waiting = choosers.shift();
    if (waiting) {
      waiting(chooser);
    }
  });
  page.nextFileChooser = () =>
    new Promise((resolve, reject) => {
      choosers.push(resolve);
      setTimeout(() => reject(new Error("no file chooser within 30 s")), 30000).unref();
    });
}

module.exports = {
  root,
  lanshi,
  runNative,
  readLines,
  temporaryFolder,
  formats,
  seeded,
  nativeDesignFile,
  designs,
  listenForFileChoosers,
};
