// Writes the page's layout.js at build time: the classic window's layout
// table, the windows' command tables (lanshi.commands) and the program's
// identity, as the built module gives them, so the page draws the window, its
// menu and the JGJ 55-2011 view's toolbar before the module has loaded and
// needs no fetch (a page opened from file:// may not fetch its own files).
//
//   node exportlayout.cjs build-web/web/lanshi.js build-web/site/layout.js
"use strict";

const fs = require("fs");
const path = require("path");

async function main() {
  const [modulePath, output] = process.argv.slice(2);
  if (!modulePath || !output) {
    throw new Error("usage: node exportlayout.cjs LANSHI.JS LAYOUT.JS");
  }
  const lanshi = await require(path.resolve(modulePath))();
  const table = lanshi.layout();
  const built = {
    layout: Array.from(table),
    client: { width: table.clientWidth, height: table.clientHeight },
    commands: {
      classic: lanshi.commands("classic"),
      jgj55: lanshi.commands("jgj55"),
      gbt50107: lanshi.commands("gbt50107"),
    },
    identity: lanshi.identity(),
  };
  if (built.layout.length === 0 || !built.client.width || !built.client.height) {
    throw new Error("the module's layout() has no controls and client size");
  }
  for (const [kind, commands] of Object.entries(built.commands)) {
    if (!Array.isArray(commands) || commands.length === 0) {
      throw new Error(`the module's commands("${kind}") has no commands: ${JSON.stringify(commands)}`);
    }
  }
  const text =
    "// Written by web/exportlayout.cjs from the built module: the classic window's\n" +
    "// layout table (twips), the windows' commands and the program's identity.\n" +
    "// Do not edit.\n" +
    `globalThis.lanshiBuilt = ${JSON.stringify(built, null, 1)};\n`;
  fs.writeFileSync(output, text);
}

main().catch((error) => {
  console.error(`exportlayout: ${error.message}`);
  process.exit(1);
});
