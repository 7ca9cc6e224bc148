"use strict";
// The page (build-web/site/) in Debian's headless Chromium, opened from
// file:// as a user opens it: the classic window against its layout table,
// and the figures, texts, files and report against the native program.
//
//   LANSHI_SITE  the built page (default build-web/site/)
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { spawnSync } = require("node:child_process");
const { pathToFileURL } = require("node:url");
const { chromium } = require("playwright-core");
const { root, lanshi, runNative, temporaryFolder, formats, designs, nativeDesignFile, listenForFileChoosers } = require("../helpers.cjs");

const site = process.env.LANSHI_SITE || path.join(root, "build-web", "site");
const nativeBuild = process.env.LANSHI_NATIVE_BUILD || path.join(root, "build");
const pageUrl = pathToFileURL(path.join(site, "index.html")).href;

// The machine's network is closed: nothing in Chromium may try to reach it.
const chromiumFlags = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// The twelve figures a calculation writes.
const figures = ["Text2", "Text8", "Text10", "Text4", "Text11", "Text12", "Text13", "Text14",
                 "Text30", "Text31", "Text32", "Text33"];

let browser;

test.before(async () => {
  assert.ok(fs.existsSync(path.join(site, "index.html")), `${site} is missing: make web builds it`);
  // Playwright gives each launch a fresh, empty --user-data-dir of its own.
  browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: chromiumFlags });
});

test.after(async () => {
  if (browser) {
    await browser.close();
  }
});

// A new page on the site, ready to type; every request it makes is kept.
// Without `fileSystemAccess` the page is in a browser that cannot write files
// in place: it opens through the file input and saves by download.
async function openPage({
  url = pageUrl,
  query = "",
  viewport = { width: 900, height: 600 },
  locale = "zh-CN",
  fileSystemAccess = false,
} = {}) {
  const context = await browser.newContext({ viewport, acceptDownloads: true, locale });
  if (!fileSystemAccess) {
    await context.addInitScript(() => {
      delete window.showOpenFilePicker;
      delete window.showSaveFilePicker;
    });
  }
  const page = await context.newPage();
  listenForFileChoosers(page);
  const requests = [];
  const errors = [];
  page.on("request", (request) => requests.push(request.url()));
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("console", (message) => {
    if (message.type() === "error") {
      errors.push(message.text());
    }
  });
  await page.goto(url + query);
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
  return { context, page, requests, errors };
}

function replay(line) {
  const run = runNative("tools/replay", [], `${JSON.stringify(line)}\n`);
  assert.equal(run.status, 0, run.stderr);
  return JSON.parse(run.stdout.toString("utf8"));
}

// What a command put on the clipboard: emptied first (the clipboard is the
// browser's, shared by the tests), then waited for, since the page writes it
// asynchronously.
async function copiedBy(page, command) {
  // Only the focused page may use the clipboard.
  await page.bringToFront();
  await page.evaluate(() => navigator.clipboard.writeText(""));
  await command();
  for (let tries = 0; tries < 50; ++tries) {
    const text = await page.evaluate(() => navigator.clipboard.readText());
    if (text !== "") {
      return text;
    }
    await page.waitForTimeout(20);
  }
  return "";
}

async function texts(page) {
  return page.evaluate(() => {
    const all = {};
    for (let n = 1; n <= 33; ++n) {
      all[`Text${n}`] = document.getElementById(`Text${n}`).value;
    }
    return all;
  });
}

// Each control's rectangle in twips from the client area's corner, as the
// page draws it: CSS pixels times 15.
async function drawnRectangles(page) {
  return page.evaluate(() => {
    const form = document.getElementById("Form1").getBoundingClientRect();
    const drawn = {};
    for (const element of document.querySelectorAll("#Form1 [data-kind]")) {
      const r = element.getBoundingClientRect();
      drawn[element.id] = {
        kind: element.dataset.kind,
        caption:
          element.dataset.kind === "TextField" ? null
          : element.dataset.kind === "Frame" ? element.querySelector(".frame-caption").textContent
          : element.textContent,
        left: (r.left - form.left) * 15,
        top: (r.top - form.top) * 15,
        width: r.width * 15,
        height: r.height * 15,
        colour: getComputedStyle(element).color,
      };
    }
    return { drawn, width: form.width * 15, height: form.height * 15 };
  });
}

test("every control at its table row, with its caption and colour; nothing leaves the machine", async () => {
  const module = await lanshi();
  const table = module.layout();
  const { context, page, requests, errors } = await openPage();
  try {
    const { drawn, width, height } = await drawnRectangles(page);
    assert.equal(width, table.clientWidth);
    assert.equal(height, table.clientHeight);
    const rows = new Map(table.map((row) => [row.name, row]));
    assert.deepEqual(Object.keys(drawn).sort(), [...rows.keys()].sort());
    for (const row of table) {
      const frame = row.frame ? rows.get(row.frame) : { left: 0, top: 0 };
      const expected = {
        kind: row.kind,
        caption: row.kind === "TextField" ? null : row.caption,
        left: frame.left + row.left,
        top: frame.top + row.top,
        width: row.width,
        height: row.height,
      };
      const { colour, ...shown } = drawn[row.name];
      assert.deepEqual(shown, expected, row.name);
      if (row.textColour !== null && row.textColour !== undefined) {
        const [r, g, b] = [16, 8, 0].map((shift) => (row.textColour >> shift) & 0xff);
        assert.equal(colour, `rgb(${r}, ${g}, ${b})`, `${row.name}'s text colour`);
      }
    }
    assert.equal(await page.textContent("#caption"), module.identity().caption);
    assert.deepEqual(errors, []);
    const elsewhere = requests.filter((url) => !/^(file|data|blob):/.test(url));
    assert.deepEqual(elsewhere, [], "requests beyond the page's own files");
    const policy = await page.getAttribute('meta[http-equiv="Content-Security-Policy"]', "content");
    assert.match(policy, /default-src 'none'/);
  } finally {
    await context.close();
  }
});

// The focus visits the controls in ascending TabIndex; an option group is
// one stop, at its selected button, as the desktop's.
test("Tab visits the controls in the table's order", async () => {
  const module = await lanshi();
  const table = module.layout();
  const window = module.classicWindow(formats.usual);
  const state = window.event("load").state;
  window.delete();
  const stops = table
    .filter((row) => ["TextField", "Button", "OptionButton", "CheckBox"].includes(row.kind))
    .sort((a, b) => a.tabIndex - b.tabIndex);
  const expected = [];
  const groups = new Set();
  for (const row of stops) {
    if (row.kind !== "OptionButton") {
      expected.push(row.name);
    } else if (!groups.has(row.frame)) {
      groups.add(row.frame);
      const members = stops.filter((m) => m.kind === "OptionButton" && m.frame === row.frame);
      expected.push((members.find((m) => state.options[m.name]) || row).name);
    }
  }
  const { context, page } = await openPage();
  try {
    const focused = () =>
      page.evaluate(() => document.activeElement.dataset.control || document.activeElement.id);
    const visited = [await focused()];
    for (let i = 1; i < expected.length; ++i) {
      await page.keyboard.press("Tab");
      visited.push(await focused());
    }
    assert.deepEqual(visited, expected);
    await page.keyboard.press("Shift+Tab");
    assert.equal(await focused(), expected[expected.length - 2]);
  } finally {
    await context.close();
  }
});

test("计算 from the defaults writes the native figures", async (t) => {
  const expected = replay({});
  const { context, page } = await openPage();
  try {
    // The click runs to its end synchronously: its time is the handler's.
    const took = await page.evaluate(() => {
      const start = performance.now();
      document.getElementById("Command1").click();
      return performance.now() - start;
    });
    t.diagnostic(`计算 click to figures: ${took.toFixed(2)} ms`);
    const shown = await texts(page);
    assert.deepEqual(shown, expected.fields);
    for (const name of figures) {
      assert.notEqual(shown[name], "", `${name} is written`);
    }
  } finally {
    await context.close();
  }
});

// The native window's answer to a case of typed fields and events
// (build/tools/classicevents).
function nativeEvents(line) {
  const run = runNative("tools/classicevents", [], `${JSON.stringify(line)}\n`);
  assert.equal(run.status, 0, run.stderr);
  return JSON.parse(run.stdout.toString("utf8"));
}

test("a bad value stops with the native box and the focus on its field, its text selected", async () => {
  const typed = { Text8: "0.5x" };
  const native = nativeEvents({ fields: typed, events: ["Command1"] });
  const answer = native.events[0];
  assert.ok(answer.focus && answer.boxes.length === 1, JSON.stringify(native));
  const { context, page } = await openPage();
  try {
    for (const [name, text] of Object.entries(typed)) {
      await page.fill(`#${name}`, text);
    }
    await page.click("#Command1");
    await page.waitForSelector("#box[open]");
    assert.equal(await page.textContent("#box-title"), answer.boxes[0].title);
    assert.equal(await page.textContent("#box-text"), answer.boxes[0].text);
    assert.equal(await page.getAttribute("#box-icon", "class"), answer.boxes[0].icon);
    // Modal: the window takes no click while the box is open.
    await assert.rejects(page.click("#Command3", { timeout: 300 }));
    await page.click("#box-buttons button");
    await page.waitForFunction(() => !document.getElementById("box").open);
    const focus = await page.evaluate(() => {
      const field = document.activeElement;
      return { id: field.id, start: field.selectionStart, end: field.selectionEnd, all: field.value.length };
    });
    assert.deepEqual(focus, { id: answer.focus, start: 0, end: focus.all, all: focus.all });
    assert.deepEqual(await texts(page), native.fields);
  } finally {
    await context.close();
  }
});

test("a German browser, or ?locale=de-DE, reads and writes decimal commas as the native program does", async () => {
  const expected = replay({ format: formats.german });
  for (const way of [{ locale: "de-DE" }, { query: "?locale=de-DE" }]) {
    const { context, page } = await openPage(way);
    try {
      await page.click("#Command1");
      const shown = await texts(page);
      assert.deepEqual(shown, expected.fields, JSON.stringify(way));
      assert.match(shown.Text2, /^\d+,\d+$/);
    } finally {
      await context.close();
    }
  }
});


test("a design saved by the native program opens, and saves again with the same bytes", async () => {
  const { context, page } = await openPage();
  try {
    for (const [name, design] of Object.entries({ c35Crushed: designs.c35Crushed, massMethodTyped: designs.massMethodTyped })) {
      const bytes = nativeDesignFile(design);
      const fileName = `${name}.lanshi`;
      const chooser = page.nextFileChooser();
      await page.keyboard.press("Control+O");
      await (await chooser).setFiles({ name: fileName, mimeType: "application/x-lanshi-design", buffer: bytes });
      await page.waitForFunction((file) => document.title.includes(file.replace(/\.lanshi$/, "")), fileName);
      const download = page.waitForEvent("download");
      await page.keyboard.press("Control+S");
      const saved = await download;
      assert.equal(saved.suggestedFilename(), fileName);
      const again = fs.readFileSync(await saved.path());
      assert.ok(again.equals(bytes), `${name}: the bytes differ\n${again}\n---\n${bytes}`);
    }
  } finally {
    await context.close();
  }
});

test("the report: copied as the native text, printed with every figure", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  try {
    const fileName = "c35Crushed.lanshi";
    const file = path.join(folder, fileName);
    // With the project block the file keeps, which the report names and its
    // fields propose, as the desktop's dialog does.
    const project = { name: "滨江大桥", part: "墩身", client: "市政设计院" };
    fs.writeFileSync(file, nativeDesignFile({ ...designs.c35Crushed, project }));
    const chooser = page.nextFileChooser();
    await page.keyboard.press("Control+O");
    await (await chooser).setFiles(file);
    await page.waitForFunction(() => document.title.includes("c35Crushed"));
    await page.click("#Command1");

    const native = runNative("lanshi", ["--report", file, "-o", `${file}.txt`], "", {
      LC_ALL: "C.UTF-8",
      QT_QPA_PLATFORM: "offscreen",
    });
    assert.equal(native.status, 0, native.stderr);
    const copied = await copiedBy(page, () => page.keyboard.press("Control+Shift+C"));
    assert.equal(copied, fs.readFileSync(`${file}.txt`, "utf8"));

    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    assert.deepEqual(
      [await page.inputValue("#projectName"), await page.inputValue("#projectPart"), await page.inputValue("#projectClient")],
      [project.name, project.part, project.client],
    );
    const pdf = path.join(folder, "report.pdf");
    await page.pdf({ path: pdf, format: "A4" });
    const printed = spawnSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
    assert.equal(printed.status, 0, printed.stderr);
    const shown = await texts(page);
    for (const name of figures) {
      assert.ok(printed.stdout.includes(shown[name]), `${name} (${shown[name]}) is not printed`);
    }
    assert.match(printed.stdout, /第 1 页，共 \d+ 页/);

    // The desktop report dialog's fields: another trial batch, as
    // `lanshi --report --batch-volume` gives it, and a project block.
    const native25 = runNative("lanshi", ["--report", file, "-o", `${file}.25.txt`, "--batch-volume", "25"], "", {
      LC_ALL: "C.UTF-8",
      QT_QPA_PLATFORM: "offscreen",
    });
    assert.equal(native25.status, 0, native25.stderr);
    await page.fill("#batchLitres", "25");
    await page.press("#batchLitres", "Enter");
    await page.locator("#batchLitres").blur();
    const copied25 = await copiedBy(page, () => page.click("#report [data-command=copyReport]"));
    assert.equal(copied25, fs.readFileSync(`${file}.25.txt`, "utf8"));
    await page.fill("#projectName", "桥墩");
    await page.locator("#projectName").blur();
    const withProject = await copiedBy(page, () => page.click("#report [data-command=copyReport]"));
    assert.match(withProject, /工程名称：桥墩/);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

// What sticks out of a 360 px screen: each element whose box reaches past
// the viewport's edge, and how far the page scrolls sideways.
async function overflowAt(page) {
  return page.evaluate(() => {
    const width = document.documentElement.clientWidth;
    const wider = [];
    for (const element of document.querySelectorAll("body *")) {
      const r = element.getBoundingClientRect();
      if (r.width > 0 && (r.left < -0.5 || r.right > width + 0.5)) {
        wider.push(`${element.tagName.toLowerCase()}#${element.id} ${r.left.toFixed(0)}–${r.right.toFixed(0)}`);
      }
    }
    return { wider, scroll: document.documentElement.scrollWidth - width };
  });
}

// The drawn window: the client area's box, each text field's height and
// how far the page scrolls sideways.
async function windowOnScreen(page) {
  return page.evaluate(() => {
    const form = document.getElementById("Form1").getBoundingClientRect();
    const fields = Array.from(document.querySelectorAll("#Form1 input[type=text]"));
    return {
      left: form.left,
      right: form.right,
      ratio: form.width / form.height,
      lowestField: Math.min(...fields.map((field) => field.getBoundingClientRect().height)),
      scroll: document.documentElement.scrollWidth - document.documentElement.clientWidth,
    };
  });
}

test("a 360 px wide screen shows the window at a finger's size, scrolling sideways; 适合屏幕宽度 fits it, never reflowed", async () => {
  const { context, page } = await openPage({ viewport: { width: 360, height: 640 } });
  try {
    const proportions = 8040 / 4965;
    const large = await windowOnScreen(page);
    assert.ok(large.lowestField >= 32, JSON.stringify(large));
    assert.ok(large.scroll > 0 && large.right > 360, "the page scrolls sideways to the window's right");
    assert.ok(Math.abs(large.ratio - proportions) < 0.01, "the window keeps its proportions");
    assert.equal(await page.getAttribute("#fitWindow", "aria-pressed"), "false");

    // A typed field stays where the finger put it, at that size.
    await page.click("#Text1");
    await page.keyboard.type("5");
    assert.match(await page.textContent("#caption"), /\*$/);

    await page.click("#fitWindow");
    const fitted = await windowOnScreen(page);
    assert.ok(fitted.left >= 0 && fitted.right <= 360, JSON.stringify(fitted));
    assert.ok(Math.abs(fitted.ratio - proportions) < 0.01);
    assert.deepEqual(await overflowAt(page), { wider: [], scroll: 0 });
    const labelInside = await page.evaluate(() => {
      const form = document.getElementById("Form1").getBoundingClientRect();
      const label = document.getElementById("Label27").getBoundingClientRect();
      return label.right <= form.right && label.bottom <= form.bottom;
    });
    assert.ok(labelInside);
    assert.equal(await page.getAttribute("#fitWindow", "aria-pressed"), "true");

    // And back to a finger's size.
    await page.click("#fitWindow");
    assert.ok((await windowOnScreen(page)).lowestField >= 32);
  } finally {
    await context.close();
  }
  // A screen the window fits: drawn at its size, no switch.
  const wide = await openPage();
  try {
    assert.ok(await wide.page.isHidden("#sizes"));
    const shown = await windowOnScreen(wide.page);
    assert.ok(Math.abs(shown.right - shown.left - 8040 / 15) < 0.01, JSON.stringify(shown));
  } finally {
    await wide.context.close();
  }
});

test("at 360 px the JGJ 55-2011 view is one column: nothing wider than the screen, every unit whole", async () => {
  const { context, page } = await openPage({ viewport: { width: 360, height: 640 } });
  try {
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    // A design with results, a field's mark and a long status line.
    await page.fill("#jgj55-fcuk", "30");
    await page.fill('[id="jgj55-flyAsh.fraction"]', "20");
    await page.fill("#jgj55-slump", "180");
    await page.fill("#jgj55-maxSize", "20");
    await page.selectOption("#jgj55-environment", "二a");
    await page.fill("#jgj55-sigma", "x");
    assert.ok(await page.$eval("#jgj55-results", (table) => table.tBodies[0].rows.length > 0));
    assert.deepEqual(await overflowAt(page), { wider: [], scroll: 0 });
    const seen = await page.evaluate(() => ({
      lefts: Array.from(document.querySelectorAll("#jgj55 fieldset"), (set) => set.getBoundingClientRect().left),
      cutUnits: Array.from(document.querySelectorAll("#jgj55 .unit, #jgj55-results td"))
        .filter((cell) => cell.scrollWidth > cell.clientWidth + 1)
        .map((cell) => cell.textContent),
    }));
    assert.ok(seen.lefts.length > 1 && seen.lefts.every((left) => left === seen.lefts[0]),
              `the groups stand one under another: ${seen.lefts}`);
    assert.deepEqual(seen.cutUnits, []);

    // The day's moistures add the construction mix and the trial batch.
    await page.fill("#jgj55-sigma", "");
    await page.fill("#jgj55-sandMoisture", "3");
    await page.fill("#jgj55-stoneMoisture", "1");
    const heading = await page.$eval("#jgj55-results", (table) =>
      table.tHead ? Array.from(table.tHead.rows[0].cells, (c) => c.textContent) : []);
    assert.deepEqual(heading, ["", "计算配合比", "", "", "施工配合比", "试拌 20 L"]);
    assert.deepEqual(await overflowAt(page), { wider: [], scroll: 0 });
  } finally {
    await context.close();
  }
});

test("the guide at 360 px: its wide tables scroll inside their own box, the page does not", async () => {
  const { context, page } = await openPage({ viewport: { width: 360, height: 640 } });
  try {
    await page.goto(new URL("guide.html", pageUrl).href);
    assert.deepEqual(await overflowAt(page).then((seen) => seen.scroll), 0);
    const tables = await page.evaluate(() =>
      Array.from(document.querySelectorAll("table"), (table) => {
        const box = table.parentElement;
        return {
          boxed: box.classList.contains("wide") && getComputedStyle(box).overflowX === "auto",
          boxRight: box.getBoundingClientRect().right,
          wider: table.scrollWidth > box.clientWidth,
        };
      }));
    assert.ok(tables.length > 0);
    assert.ok(tables.every((table) => table.boxed && table.boxRight <= 360), JSON.stringify(tables));
    assert.ok(tables.some((table) => table.wider), "no table of the guide is wider than a phone");
  } finally {
    await context.close();
  }
});

// The report printed by the page (Chromium's print, A4 as the page sets it):
// its section 四、试拌用量 alone, placed so that the page ends in it, where
// the heading or the table would otherwise be cut from what follows.
test("the report printed from the page: a heading never ends a page, a table crossing one repeats its header row", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  try {
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    for (const [key, value] of [["fcuk", "30"], ["slump", "180"], ["maxSize", "20"], ["flyAsh.fraction", "20"]]) {
      await page.fill(`[id="jgj55-${key}"]`, value);
    }
    await page.click("#jgj55 [data-command=previewReport]");
    await page.waitForSelector("#report:not([hidden])");
    const section = "四、试拌用量";
    const kept = await page.evaluate((title) => {
      const body = document.getElementById("reportDocument").shadowRoot.querySelector(".report-body");
      const heading = Array.from(body.querySelectorAll("h2")).find((h2) => h2.textContent === title);
      const parts = [heading];
      for (let next = heading.nextElementSibling; next && next.tagName !== "H2"; next = next.nextElementSibling) {
        parts.push(next);
      }
      body.replaceChildren(document.createElement("div"), ...parts);
      const table = body.querySelector("table");
      return {
        header: Array.from(table.tHead.rows[0].cells, (cell) => cell.textContent).join("").replace(/\s+/g, ""),
        rows: Array.from(table.tBodies[0].rows, (row) =>
          Array.from(row.cells, (cell) => cell.textContent).join("").replace(/\s+/g, "")),
      };
    }, section);
    // The printed pages, the spacer before the section `gap` points short
    // of the printable height (A4 less the page's margins, 259 mm).
    const printed = async (gap) => {
      await page.evaluate((height) => {
        const body = document.getElementById("reportDocument").shadowRoot.querySelector(".report-body");
        body.firstElementChild.style.height = height;
      }, `calc(259mm - ${gap}pt)`);
      const pdf = path.join(folder, `report-${gap}.pdf`);
      await page.pdf({ path: pdf, format: "A4" });
      const run = spawnSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
      assert.equal(run.status, 0, run.stderr);
      return run.stdout.split("\f").map((text) => text.replace(/\s+/g, "")).filter((text) => text !== "");
    };
    // Room for the heading's line, not for the line it heads.
    for (const gap of [30, 45, 60]) {
      const pages = await printed(gap);
      const at = pages.findIndex((text) => text.includes(section));
      assert.ok(at > 0, `gap ${gap}: the heading on the second page, with what it heads`);
    }
    // The table starts on the first page and ends on the second: each part
    // under its header row.
    for (const gap of [110, 150]) {
      const pages = await printed(gap);
      const holding = pages.filter((text) => kept.rows.some((row) => text.includes(row)));
      assert.equal(holding.length, 2, `gap ${gap}: the table crosses a page`);
      for (const text of holding) {
        assert.ok(text.includes(kept.header), `gap ${gap}: a page of the table without its header row`);
      }
    }
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("F1 opens the guide shipped beside the page, as the desktop renders it", async () => {
  const { context, page } = await openPage();
  try {
    const popup = context.waitForEvent("page");
    await page.keyboard.press("F1");
    const guide = await popup;
    assert.equal(guide.url(), new URL("guide.html", pageUrl).href);
    const desktop = path.join(nativeBuild, "docs", "guide.html");
    assert.ok(fs.readFileSync(path.join(site, "guide.html")).equals(fs.readFileSync(desktop)),
              "the page's guide differs from the desktop's");
  } finally {
    await context.close();
  }
});

// 试配、调整… (Ctrl+Shift+T) in the page's JGJ 55-2011 view: the trials of
// the file in the panel, a strength typed works them out again, the fit
// plotted, and a design field changed shows its mixes again.
test("the trials of a JGJ 55-2011 design are typed in the page and worked out as one types", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage({ viewport: { width: 1000, height: 1400 } });
  try {
    const design = {
      "lanshi-design": 1,
      standard: "JGJ 55-2011",
      "jgj55-2011": { fcuk: 30, cementGrade: "42.5", flyAsh: { fraction: 0.2 },
                      admixture: { fraction: 0.01, waterReduction: 0.2 }, stone: "crushed", maxSize: 20, slump: 180 },
      trials: { mixerCapacity: 60, water: 185, sandRatio: 40, density: 2450,
                strengths: [{ waterBinder: 0.47, specimens: [46.2, 47.5, 48.1] },
                            { waterBinder: 0.57, specimens: [35.1, 36.9, 43.0] }] },
    };
    const file = path.join(folder, "T.lanshi");
    fs.writeFileSync(file, JSON.stringify(design));
    const chooser = page.nextFileChooser();
    await page.keyboard.press("Control+O");
    await (await chooser).setFiles(file);
    await page.waitForSelector("#jgj55:not([hidden])");
    await page.click("#jgj55 [data-command=trialMixes]");
    await page.waitForSelector("#jgj55-trials:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-trial-fields [data-trial=water]"), "185");
    assert.match(await page.textContent("#jgj55-trial-problem"), /至少要三组/);

    const third = "#jgj55-trial-rows tbody tr:nth-child(3) input";
    await page.fill(`${third} >> nth=0`, "0.52");
    await page.fill(`${third} >> nth=1`, "41.8");
    assert.equal(await page.textContent("#jgj55-trial-problem"), "");
    assert.equal(await page.locator("#jgj55-trial-plot circle").count(), 3);
    const chapter = await page.$eval("#jgj55-trial-chapter", (frame) => frame.srcdoc);
    assert.match(chapter, /试验室配合比/);
    assert.match(chapter, /1\.021/);
    assert.match(await page.textContent("#jgj55-title"), /\*$/);
    if (process.env.LANSHI_SCREENSHOT) {
      await page.screenshot({ path: process.env.LANSHI_SCREENSHOT, fullPage: true });
    }

    await page.fill("#jgj55-fcuk", "35");
    assert.notEqual(await page.$eval("#jgj55-trial-chapter", (frame) => frame.srcdoc), chapter);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("a JGJ 55-2011 design opened in the classic window goes to its form; its report as natively", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  try {
    const design = {
      "lanshi-design": 1,
      standard: "JGJ 55-2011",
      "jgj55-2011": { fcuk: 30, cementGrade: "42.5", flyAsh: { fraction: 0.2 }, stone: "crushed", maxSize: 20, slump: 180 },
    };
    const file = path.join(folder, "C30.lanshi");
    fs.writeFileSync(file, JSON.stringify(design));
    const chooser = page.nextFileChooser();
    await page.keyboard.press("Control+O");
    await (await chooser).setFiles(file);
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "30");

    const native = runNative("lanshi", ["--report", file, "-o", `${file}.txt`], "", {
      LC_ALL: "C.UTF-8",
      QT_QPA_PLATFORM: "offscreen",
    });
    assert.equal(native.status, 0, native.stderr);
    await page.click("#jgj55 [data-command=previewReport]");
    await page.waitForSelector("#report:not([hidden])");
    const copied = await copiedBy(page, () => page.click("#report [data-command=copyReport]"));
    assert.equal(copied, fs.readFileSync(`${file}.txt`, "utf8"));

    // Back to the form: saved, the bytes the program writes for that design.
    await page.click("[data-command=closeReport]");
    const module = await lanshi();
    const form = module.jgj55Form(formats.usual);
    const opened = form.open(fs.readFileSync(file), "C30.lanshi");
    assert.ok(opened.opened, JSON.stringify(opened));
    const expected = form.save();
    form.delete();
    const download = page.waitForEvent("download");
    await page.keyboard.press("Control+S");
    const saved = await download;
    assert.equal(saved.suggestedFilename(), "C30.lanshi");
    assert.ok(fs.readFileSync(await saved.path()).equals(Buffer.from(expected.bytes)));

    // The form follows a keystroke.
    const before = await page.textContent("#jgj55-results");
    await page.fill("#jgj55-fcuk", "35");
    assert.notEqual(await page.textContent("#jgj55-results"), before);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("帮助, the context menu, the question before replacing changes, a dropped file, 退出 and 重新开始", async () => {
  const native = nativeEvents({ events: ["Command2", "Command4"] });
  const [help, exit] = native.events;
  const module = await lanshi();
  const window = module.classicWindow(formats.usual);
  window.event("load");
  window.setText("Text1", "25");
  window.edited("Text1");
  const question = window.mayReplace();
  window.delete();
  assert.ok(question.ask, JSON.stringify(question));

  const { context, page } = await openPage();
  try {
    await page.click("#Command2");
    await page.waitForSelector("#box[open]");
    assert.equal(await page.textContent("#box-title"), help.boxes[0].title);
    assert.equal(await page.textContent("#box-text"), help.boxes[0].text);
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => !document.getElementById("box").open);

    // The menu of the window's face, with the desktop's entries and keys.
    await page.click("#Form1", { button: "right", position: { x: 390, y: 320 } });
    assert.ok(await page.isVisible("#menu"));
    assert.match(await page.textContent("#menu"), /打开设计….*Ctrl\+O.*复制计算书.*Ctrl\+Shift\+C.*使用说明.*F1/);
    await page.keyboard.press("Escape");
    assert.ok(await page.isHidden("#menu"));

    // A changed sheet: the module's question first; 取消 leaves it as it is.
    await page.fill("#Text1", "25");
    assert.match(await page.textContent("#caption"), /\*$/);
    await page.keyboard.press("Control+O");
    await page.waitForSelector("#box[open]");
    assert.equal(await page.textContent("#box-text"), question.box.text);
    await page.click('#box-buttons button[data-answer="cancel"]');
    assert.equal(await page.inputValue("#Text1"), "25");

    // A design dropped on the window, after 不保存.
    const bytes = nativeDesignFile(designs.c35Crushed);
    const drop = await page.evaluateHandle((data) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(data)], "dropped.lanshi"));
      return transfer;
    }, [...bytes]);
    await page.dispatchEvent("#Form1", "dragover", { dataTransfer: drop });
    await page.dispatchEvent("#Form1", "drop", { dataTransfer: drop });
    await page.waitForSelector("#box[open]");
    await page.click('#box-buttons button[data-answer="discard"]');
    await page.waitForFunction(() => document.title.includes("dropped"));
    assert.equal(await page.inputValue("#Text1"), designs.c35Crushed.fields.Text1);

    // 退出 ends the session in the page; 重新开始 starts a new one.
    assert.equal(exit.exit, true);
    await page.click("#Command4");
    assert.ok(await page.isVisible("#exited"));
    assert.ok(await page.isHidden("#classic"));
    await page.click("#exited button");
    await page.waitForSelector("#classic:not([hidden])");
    assert.equal(await page.inputValue("#Text1"), native.fields.Text1);
  } finally {
    await context.close();
  }
});

// The module's questions before the session ends, as the page must show them.
async function leavingQuestions() {
  const module = await lanshi();
  const window = module.classicWindow(formats.usual);
  window.event("load");
  assert.equal(window.event("Command4").leaving, null, "an unchanged sheet is not asked about");
  window.setText("Text1", "25");
  window.edited("Text1");
  const classic = window.event("Command4").leaving;
  assert.deepEqual(window.mayClose(), { ask: true, box: classic });
  window.delete();
  const form = module.jgj55Form(formats.usual);
  assert.deepEqual(form.mayClose(), { ask: false });
  form.set("fcuk", "30");
  const jgj55 = form.mayClose().box;
  form.delete();
  return { classic: classic.text, jgj55: jgj55.text };
}

async function boxText(page) {
  await page.waitForSelector("#box[open]");
  return page.textContent("#box-text");
}

async function answerBox(page, answer) {
  await page.click(`#box-buttons button[data-answer="${answer}"]`);
  await page.waitForFunction(() => !document.getElementById("box").open);
}

test("退出 asks 保存 / 不保存 / 取消 about unsaved work, the sheet's then the JGJ 55-2011 form's; nothing when nothing changed; 重新开始 starts anew", async () => {
  const questions = await leavingQuestions();
  assert.match(questions.classic, /关闭之前/);
  const { context, page } = await openPage();
  try {
    const defaultText1 = await page.inputValue("#Text1");
    // Unchanged: gone at once, and back without a question.
    await page.click("#Command4");
    assert.ok(await page.isVisible("#exited"));
    assert.equal(await page.evaluate(() => document.getElementById("box").open), false);
    await page.click("#exited button");
    await page.waitForSelector("#classic:not([hidden])");
    assert.equal(await page.evaluate(() => document.getElementById("box").open), false);

    // Changed: 取消 keeps the session as it was.
    await page.fill("#Text1", "25");
    await page.click("#Command4");
    assert.equal(await boxText(page), questions.classic);
    await answerBox(page, "cancel");
    assert.ok(await page.isVisible("#classic"));
    assert.equal(await page.inputValue("#Text1"), "25");

    // 保存: the design is written (here a download), then the session ends.
    await page.click("#Command4");
    await boxText(page);
    const download = page.waitForEvent("download");
    await page.click('#box-buttons button[data-answer="save"]');
    const saved = JSON.parse(fs.readFileSync(await (await download).path(), "utf8"));
    assert.equal(saved.fields.Text1, "25");
    await page.waitForSelector("#exited:not([hidden])");
    await page.click("#exited button");
    await page.waitForSelector("#classic:not([hidden])");
    assert.equal(await page.inputValue("#Text1"), defaultText1);

    // An edited JGJ 55-2011 form asks about its own, over itself; 取消
    // leaves both as they are, 不保存 ends the session.
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    await page.fill("#jgj55-fcuk", "30");
    await page.click("#jgj55 [data-command=showClassic]");
    await page.click("#Command4");
    assert.equal(await boxText(page), questions.jgj55);
    assert.ok(await page.isVisible("#jgj55"));
    await answerBox(page, "cancel");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "30");
    await page.click("#jgj55 [data-command=showClassic]");
    await page.click("#Command4");
    await boxText(page);
    await answerBox(page, "discard");
    assert.ok(await page.isVisible("#exited"));
    // The form went with the session: a new one is empty.
    await page.click("#exited button");
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "");
  } finally {
    await context.close();
  }
});

test("closing the tab asks (the browser's beforeunload) only while the sheet or the JGJ 55-2011 form holds unsaved work", async () => {
  const closing = async (change) => {
    const { context, page } = await openPage();
    const dialogs = [];
    page.on("dialog", (dialog) => {
      dialogs.push(dialog.type());
      dialog.dismiss(); // stay on the page
    });
    try {
      // The browser asks only on a page the user has touched.
      await page.click("#Text1");
      await change(page);
      const closed = new Promise((resolve) => page.once("close", resolve));
      await page.close({ runBeforeUnload: true });
      const stayed = await Promise.race([closed.then(() => false), page.waitForTimeout(1500).then(() => true)]);
      return { dialogs, stayed };
    } finally {
      await context.close();
    }
  };
  assert.deepEqual(await closing(async () => {}), { dialogs: [], stayed: false });
  assert.deepEqual(await closing((page) => page.keyboard.type("5")), { dialogs: ["beforeunload"], stayed: true });
  assert.deepEqual(
    await closing(async (page) => {
      await page.keyboard.press("Control+J");
      await page.waitForSelector("#jgj55:not([hidden])");
      await page.click("#jgj55-fcuk");
      await page.keyboard.type("30");
    }),
    { dialogs: ["beforeunload"], stayed: true });
  // Saved, nothing is lost any more.
  assert.deepEqual(
    await closing(async (page) => {
      await page.keyboard.type("5");
      const download = page.waitForEvent("download");
      await page.keyboard.press("Control+S");
      await download;
      await page.waitForFunction(() => !document.getElementById("caption").textContent.endsWith("*"));
    }),
    { dialogs: [], stayed: false });
});

test("after 计算 the window's foot says what a checker would question; 全部重新计算 (Ctrl+Shift+R) keeps typed values and recomputes the rest", async () => {
  const module = await lanshi();
  const window = module.classicWindow(formats.usual);
  window.event("load");
  window.event("Command1");
  window.setText("Text1", "30");
  window.edited("Text1");
  const stale = window.event("Command1").state;
  const again = window.recalculateAll().state;
  window.delete();
  assert.ok(stale.findings.length > 0 && stale.findings[0].includes("30"), JSON.stringify(stale.findings));
  assert.equal(again.texts.Text2, "36.58"); // 30 + 1.645 × 4, σ as it stands

  const { context, page } = await openPage();
  try {
    const foot = () => page.$$eval("#findings p", (lines) => lines.map((line) => line.textContent));
    const client = () => page.$eval("#Form1", (form) => JSON.stringify(form.getBoundingClientRect()));
    const before = await client();
    await page.click("#Command1");
    assert.ok(await page.isHidden("#findings"));
    await page.fill("#Text1", "30");
    await page.click("#Command1");
    assert.deepEqual(await foot(), stale.findings.map((line) => `⚠ ${line}`));
    assert.equal(await client(), before, "the client area keeps its place and size");
    const below = await page.evaluate(() =>
      document.getElementById("findings").getBoundingClientRect().top >=
      document.getElementById("Form1").getBoundingClientRect().bottom);
    assert.ok(below);
    await page.keyboard.press("Control+Shift+R");
    await page.waitForFunction(() => document.getElementById("Text2").value === "36.58");
    assert.equal(await page.inputValue("#Text1"), "30");
    assert.deepEqual(await foot(), again.findings.map((line) => `⚠ ${line}`));
    assert.equal(await page.isHidden("#findings"), again.findings.length === 0);
  } finally {
    await context.close();
  }
});

test("更多软件 opens the native page in a tab of its own; a blocked tab gets the native box", async () => {
  const [native] = nativeEvents({ events: ["Command5"] }).events;
  assert.match(native.openUrl ?? "", /^https?:\/\//, JSON.stringify(native));
  const module = await lanshi();
  const window = module.classicWindow(formats.usual);
  window.event("load");
  const blockedBox = window.event("Command5").browserFailure;
  window.delete();

  const { context, page } = await openPage();
  try {
    // The page on the web answered here, so that its tab commits to it.
    await context.route(native.openUrl, (route) => route.fulfill({ contentType: "text/html", body: "" }));
    const opened = context.waitForEvent("page");
    await page.click("#Command5");
    const tab = await opened;
    await tab.waitForLoadState();
    assert.equal(tab.url(), native.openUrl);
    assert.equal(await tab.evaluate(() => window.opener), null, "the new tab can reach back into the page");
    assert.ok(await page.isHidden("#box[open]"));
    await tab.close();

    // A browser that blocks the tab: the box the desktop shows when no
    // browser starts.
    await page.evaluate(() => {
      window.open = () => null;
    });
    await page.click("#Command5");
    await page.waitForSelector("#box[open]");
    assert.equal(await page.textContent("#box-title"), blockedBox.title);
    assert.equal(await page.textContent("#box-text"), blockedBox.text);
  } finally {
    await context.close();
  }
});

// A browser that lets the page write the file it opened (the File System
// Access API, here with a picker that answers without a dialog): 保存设计
// writes the same bytes back in place, asking for no name; 另存为 asks.
test("where the browser allows, 保存设计 writes the opened file in place", async () => {
  const bytes = nativeDesignFile(designs.massMethodTyped);
  const { context, page } = await openPage({ fileSystemAccess: true });
  try {
    await page.evaluate((data) => {
      const file = { name: "在位.lanshi", bytes: new Uint8Array(data), writes: [] };
      window.testFiles = { file, saveAsked: 0 };
      const handle = {
        name: file.name,
        getFile: async () => new File([file.bytes], file.name),
        createWritable: async () => {
          if (window.testFiles.refuse) {
            throw new DOMException("磁盘已满", "QuotaExceededError");
          }
          const parts = [];
          return {
            write: async (part) => parts.push(new Uint8Array(part)),
            close: async () => file.writes.push(Array.from(parts.flatMap((p) => Array.from(p)))),
          };
        },
      };
      window.showOpenFilePicker = async () => [handle];
      window.showSaveFilePicker = async () => {
        window.testFiles.saveAsked += 1;
        return handle;
      };
    }, [...bytes]);
    await page.keyboard.press("Control+O");
    await page.waitForFunction(() => document.title.includes("在位"));
    await page.keyboard.press("Control+S");
    await page.waitForFunction(() => window.testFiles.file.writes.length === 1);
    const written = await page.evaluate(() => window.testFiles);
    assert.equal(written.saveAsked, 0);
    assert.ok(Buffer.from(written.file.writes[0]).equals(bytes));
    await page.keyboard.press("Control+Shift+S");
    await page.waitForFunction(() => window.testFiles.file.writes.length === 2);
    assert.equal(await page.evaluate(() => window.testFiles.saveAsked), 1);

    // A write the browser refuses: the desktop's box for a failed save, and
    // the changes still marked as unsaved.
    await page.fill("#Text1", "45");
    await page.evaluate(() => (window.testFiles.refuse = true));
    await page.keyboard.press("Control+S");
    await page.waitForSelector("#box[open]");
    assert.ok((await page.textContent("#box-text")).includes("磁盘已满"));
    assert.ok((await page.textContent("#caption")).endsWith("*"));
    assert.equal(await page.evaluate(() => window.testFiles.file.writes.length), 2);
  } finally {
    await context.close();
  }
});

// Any static host: the same folder served over HTTP (here by node on the
// loopback address), with the usual types and nothing else.
test("served by a plain static host, the page works as from file://", async () => {
  const http = require("node:http");
  const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css" };
  const server = http.createServer((request, response) => {
    const name = path.join(site, path.normalize(decodeURIComponent(new URL(request.url, "http://host").pathname)));
    if (!name.startsWith(site) || !fs.existsSync(name) || !fs.statSync(name).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(name)] || "application/octet-stream" });
    response.end(fs.readFileSync(name));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  const { context, page, requests, errors } = await openPage({ url: `${origin}/index.html` });
  try {
    await page.click("#Command1");
    assert.deepEqual(await texts(page), replay({}).fields);
    assert.deepEqual(errors, []);
    assert.deepEqual(requests.filter((address) => !address.startsWith(`${origin}/`)), []);
  } finally {
    await context.close();
    server.close();
  }
});

// ---- The page as a view of the module's two documents ---------------------

const c30 = {
  "lanshi-design": 1,
  standard: "JGJ 55-2011",
  "jgj55-2011": { fcuk: 30, cementGrade: "42.5", flyAsh: { fraction: 0.2 }, stone: "crushed", maxSize: 20, slump: 180 },
};

// A file the user picks through the page's file input, after `keys`.
async function pickFile(page, keys, file) {
  const chooser = page.nextFileChooser();
  await page.keyboard.press(keys);
  await (await chooser).setFiles(file);
}

// Waits for the box, answers it with `answer` ("ok", "save", "discard",
// "cancel") and gives its text.
async function answerBox(page, answer, timeout = 5000) {
  await page.waitForSelector("#box[open]", { timeout });
  const text = await page.textContent("#box-text");
  await page.click(`#box-buttons button[data-answer="${answer}"]`);
  await page.waitForFunction(() => !document.getElementById("box").open);
  return text;
}

// Everything the JGJ 55-2011 view shows of its design: each field's value
// and the results.
async function jgj55Shown(page) {
  return page.evaluate(() => ({
    values: Array.from(document.querySelectorAll("#jgj55-fields input, #jgj55-fields select"), (f) => [f.id, f.value]),
    results: document.getElementById("jgj55-results").textContent,
  }));
}

function nativeReportText(file, extra = []) {
  const run = runNative("lanshi", ["--report", file, "-o", `${file}.txt`, ...extra], "", {
    LC_ALL: "C.UTF-8",
    QT_QPA_PLATFORM: "offscreen",
  });
  assert.equal(run.status, 0, run.stderr);
  return fs.readFileSync(`${file}.txt`, "utf8");
}

test("both windows' commands, texts and keys are the module's table; the JGJ 55-2011 view has the desktop window's", async () => {
  const module = await lanshi();
  const table = (kind) => module.commands(kind).map((c) => [c.name, c.text, c.keys]);
  const folder = temporaryFolder();
  const { context, page, errors } = await openPage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  try {
    const file = path.join(folder, "C30.lanshi");
    fs.writeFileSync(file, JSON.stringify(c30));
    const menu = () =>
      page.$$eval("#menu button", (items) =>
        items.map((i) => [i.dataset.command, i.querySelector("span").textContent, i.querySelector("kbd").textContent]));

    await page.click("#Form1", { button: "right", position: { x: 390, y: 320 } });
    assert.deepEqual(await menu(), table("classic"));
    await page.keyboard.press("Escape");

    await pickFile(page, "Control+O", file);
    await page.waitForSelector("#jgj55:not([hidden])");
    const toolbar = await page.$$eval("#jgj55 .toolbar button[data-command]", (buttons) =>
      buttons.filter((b) => b.dataset.command !== "showClassic").map((b) => [b.dataset.command, b.textContent, b.title]));
    assert.deepEqual(toolbar, table("jgj55"));
    await page.click("#jgj55-results", { button: "right" });
    assert.deepEqual(await menu(), table("jgj55"));
    await page.keyboard.press("Escape");

    // 复制计算书: the report as `lanshi --report` writes it; the status line says so.
    const copied = await copiedBy(page, () => page.keyboard.press("Control+Shift+C"));
    assert.equal(copied, nativeReportText(file));
    assert.match(await page.textContent("#jgj55-status"), /复制/);

    // 另存为: the form's bytes under its file's name.
    const download = page.waitForEvent("download");
    await page.keyboard.press("Control+Shift+S");
    assert.equal((await download).suggestedFilename(), "C30.lanshi");

    // 导出 PDF: the report, then the browser's print (its "Save as PDF");
    // in the report, 打印预览's keys print.
    await page.evaluate(() => {
      window.printed = 0;
      window.print = () => (window.printed += 1);
    });
    await page.keyboard.press("Control+Shift+E");
    await page.waitForSelector("#report:not([hidden])");
    await page.waitForFunction(() => window.printed === 1);
    await page.keyboard.press("Control+P");
    await page.waitForFunction(() => window.printed === 2);
    await page.click("[data-command=closeReport]");
    await page.waitForSelector("#jgj55:not([hidden])");

    const popup = context.waitForEvent("page");
    await page.keyboard.press("F1");
    assert.equal((await popup).url(), new URL("guide.html", pageUrl).href);
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("a file the JGJ 55-2011 view cannot open leaves its form as it was", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  try {
    const file = path.join(folder, "C30.lanshi");
    fs.writeFileSync(file, JSON.stringify(c30));
    await pickFile(page, "Control+O", file);
    await page.waitForSelector("#jgj55:not([hidden])");
    const before = await jgj55Shown(page);
    assert.ok(before.values.some(([id, value]) => id === "jgj55-fcuk" && value === "30"));

    // A JGJ 55-2011 design its reader refuses: the status line says why.
    const refused = path.join(folder, "refused.lanshi");
    fs.writeFileSync(refused, JSON.stringify({ ...c30, "jgj55-2011": { ...c30["jgj55-2011"], fcuk: "三十" } }));
    await pickFile(page, "Control+O", refused);
    await page.waitForFunction(() => document.getElementById("jgj55-status").textContent.includes("refused.lanshi"));
    assert.deepEqual(await jgj55Shown(page), before);
    // Dropped on the view, the same.
    const drop = await page.evaluateHandle((data) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(data)], "dropped.lanshi"));
      return transfer;
    }, [...fs.readFileSync(refused)]);
    await page.dispatchEvent("#jgj55", "dragover", { dataTransfer: drop });
    await page.dispatchEvent("#jgj55", "drop", { dataTransfer: drop });
    await page.waitForFunction(() => document.getElementById("jgj55-status").textContent.includes("dropped.lanshi"));
    assert.deepEqual(await jgj55Shown(page), before);

    // Torn bytes belong to no standard: the classic reader's box says why.
    const torn = path.join(folder, "torn.lanshi");
    fs.writeFileSync(torn, '{"lanshi-design": 1, "standard": "JGJ 55-2011", ');
    await pickFile(page, "Control+O", torn);
    assert.match(await answerBox(page, "ok"), /torn\.lanshi/);
    assert.ok(await page.isVisible("#jgj55"));
    assert.deepEqual(await jgj55Shown(page), before);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("another JGJ 55-2011 design asks before an edited form is replaced: 取消 keeps it, 不保存 lets it go", async () => {
  const module = await lanshi();
  const form = module.jgj55Form(formats.usual);
  form.set("fcuk", "35");
  const question = form.mayReplace();
  form.delete();
  assert.ok(question.ask, JSON.stringify(question));
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  try {
    const file = path.join(folder, "C30.lanshi");
    fs.writeFileSync(file, JSON.stringify(c30));
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    await page.fill("#jgj55-fcuk", "35");

    // Ctrl+J again: the form's question; 取消 shows the form as it stands.
    await page.click("[data-command=showClassic]");
    await page.keyboard.press("Control+J");
    assert.equal(await answerBox(page, "cancel"), question.box.text);
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "35");

    // A JGJ 55-2011 design opened in the classic window: 取消, then 不保存.
    await page.click("[data-command=showClassic]");
    await pickFile(page, "Control+O", file);
    assert.equal(await answerBox(page, "cancel"), question.box.text);
    assert.equal(await page.inputValue("#jgj55-fcuk"), "35");
    await pickFile(page, "Control+O", file);
    await answerBox(page, "discard");
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "30");

    // The design as opened has nothing to lose: a new one at once.
    await page.click("[data-command=showClassic]");
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.equal(await page.inputValue("#jgj55-fcuk"), "");
    assert.ok(await page.isHidden("#box[open]"));
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("each design's report names its own project: one written for the JGJ 55-2011 report stays with that design", async () => {
  const folder = temporaryFolder();
  const { context, page } = await openPage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  try {
    const project = { name: "滨江大桥", part: "墩身", client: "市政设计院" };
    const file = path.join(folder, "c35Crushed.lanshi");
    fs.writeFileSync(file, nativeDesignFile({ ...designs.c35Crushed, project }));
    await pickFile(page, "Control+O", file);
    await page.waitForFunction(() => document.title.includes("c35Crushed"));
    await page.click("#Command1");

    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    for (const [key, value] of [["fcuk", "30"], ["maxSize", "20"], ["slump", "180"]]) {
      await page.fill(`#jgj55-${key}`, value);
    }
    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    assert.equal(await page.inputValue("#projectName"), "");
    await page.fill("#projectName", "JGJ工程");
    await page.press("#projectName", "Tab");
    await page.click("[data-command=closeReport]");
    await page.click("[data-command=showClassic]");

    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    assert.deepEqual(
      [await page.inputValue("#projectName"), await page.inputValue("#projectPart"), await page.inputValue("#projectClient")],
      [project.name, project.part, project.client],
    );
    const copied = await copiedBy(page, () => page.click("#report [data-command=copyReport]"));
    assert.match(copied, /工程名称：滨江大桥/);
    assert.doesNotMatch(copied, /JGJ工程/);
    await page.click("[data-command=closeReport]");
    const download = page.waitForEvent("download");
    await page.keyboard.press("Control+S");
    const saved = fs.readFileSync(await (await download).path(), "utf8");
    assert.match(saved, /滨江大桥/);
    assert.doesNotMatch(saved, /JGJ工程/);

    // The JGJ 55-2011 design kept its own (its form is asked about first).
    await page.keyboard.press("Control+J");
    await answerBox(page, "cancel");
    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    assert.equal(await page.inputValue("#projectName"), "JGJ工程");
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("a project written in the report's fields is a change of the design: the caption marks it, 打开 asks", async () => {
  const { context, page } = await openPage();
  try {
    await page.click("#Command1");
    let download = page.waitForEvent("download");
    await page.keyboard.press("Control+S");
    await download;
    assert.doesNotMatch(await page.textContent("#caption"), /\*$/);
    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    await page.fill("#projectName", "新工程");
    await page.press("#projectName", "Tab");
    await page.click("[data-command=closeReport]");
    assert.match(await page.textContent("#caption"), /\*$/);
    await page.keyboard.press("Control+O");
    await answerBox(page, "cancel");

    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    for (const [key, value] of [["fcuk", "30"], ["maxSize", "20"], ["slump", "180"]]) {
      await page.fill(`#jgj55-${key}`, value);
    }
    download = page.waitForEvent("download");
    await page.keyboard.press("Control+S");
    await download;
    assert.doesNotMatch(await page.textContent("#jgj55-title"), /\*$/);
    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    await page.fill("#projectClient", "市政设计院");
    await page.press("#projectClient", "Tab");
    await page.click("[data-command=closeReport]");
    assert.match(await page.textContent("#jgj55-title"), /\*$/);
  } finally {
    await context.close();
  }
});

test("the trial batch's text is read by the module in the page's format; a text it refuses is said and changes nothing", async () => {
  const module = await lanshi();
  const session = (format) => {
    const window = module.classicWindow(format);
    window.event("load");
    window.event("Command1");
    return window;
  };
  const usual = session(formats.usual);
  const german = session(formats.german);
  const date = await (async () => {
    const now = new Date();
    const two = (n) => String(n).padStart(2, "0");
    return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
  })();
  const { context, page } = await openPage({ query: "?locale=de-DE" });
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  try {
    await page.click("#Command1");
    await page.keyboard.press("Control+P");
    await page.waitForSelector("#report:not([hidden])");
    assert.equal(await page.inputValue("#batchLitres"), "20");
    const copy = () => copiedBy(page, () => page.click("#report [data-command=copyReport]"));
    const before = await copy();
    for (const text of ["abc", "0,09", "10000,01", "", "12.5.0"]) {
      await page.fill("#batchLitres", text);
      await page.press("#batchLitres", "Enter");
      const refusal = german.report({ batchLitres: text }).error;
      assert.ok(refusal, text);
      assert.equal(await page.textContent("#reportProblem"), refusal, JSON.stringify(text));
      assert.equal(await page.getAttribute("#batchLitres", "aria-invalid"), "true");
    }
    assert.equal(await copy(), before);

    // A decimal comma in a German browser: 12,5 L, the report the module
    // writes for 12.5 L.
    await page.fill("#batchLitres", "12,5");
    await page.press("#batchLitres", "Enter");
    assert.equal(await page.textContent("#reportProblem"), "");
    assert.equal(await copy(), german.report({ date, batchLitres: 12.5 }).text);
    assert.notEqual(german.report({ date, batchLitres: 12.5 }).text, usual.report({ date, batchLitres: 12.5 }).text);
  } finally {
    usual.delete();
    german.delete();
    await context.close();
  }
});

// A browser that writes in place (File System Access), with a file whose
// writes go as the test plans them: each {delay, refuse} in turn.
async function plannedFile(page, bytes) {
  await page.evaluate((data) => {
    const file = { name: "在位.lanshi", bytes: new Uint8Array(data), writes: [] };
    const planned = { file, plan: [], writing: 0, most: 0 };
    window.testFiles = planned;
    const handle = {
      name: file.name,
      getFile: async () => new File([file.bytes], file.name),
      createWritable: async () => {
        const step = planned.plan.shift() || {};
        planned.writing += 1;
        planned.most = Math.max(planned.most, planned.writing);
        const parts = [];
        return {
          write: async (part) => parts.push(new Uint8Array(part)),
          close: async () => {
            try {
              await new Promise((resolve) => setTimeout(resolve, step.delay || 0));
              if (step.refuse) {
                throw new DOMException(step.refuse, "QuotaExceededError");
              }
              file.writes.push(parts.flatMap((p) => Array.from(p)));
            } finally {
              planned.writing -= 1;
            }
          },
        };
      },
    };
    window.showOpenFilePicker = async () => [handle];
    window.showSaveFilePicker = async () => handle;
  }, [...bytes]);
}

test("two quick saves are written one after the other: a slow write that fails is said, and the caption is saved only when the disk holds the sheet", async () => {
  const module = await lanshi();
  const text1Of = (bytes) => JSON.parse(module.openDesign(new Uint8Array(bytes)).text).fields.Text1;
  const { context, page, errors } = await openPage({ fileSystemAccess: true });
  try {
    await plannedFile(page, nativeDesignFile(designs.massMethodTyped));
    await page.keyboard.press("Control+O");
    await page.waitForFunction(() => document.title.includes("在位"));
    const settled = () => page.waitForFunction(() => window.testFiles.plan.length === 0 && window.testFiles.writing === 0);
    const caption = () => page.textContent("#caption");

    // The first write slow and refused, the second written.
    await page.evaluate(() => (window.testFiles.plan = [{ delay: 800, refuse: "磁盘已满" }, {}]));
    await page.fill("#Text1", "45");
    await page.keyboard.press("Control+S");
    await page.fill("#Text1", "46");
    await page.keyboard.press("Control+S");
    assert.match(await answerBox(page, "ok"), /磁盘已满/);
    await settled();
    await page.waitForFunction(() => window.testFiles.file.writes.length === 1);
    assert.equal(text1Of(await page.evaluate(() => window.testFiles.file.writes[0])), "46");
    await page.waitForFunction(() => !document.getElementById("caption").textContent.endsWith("*"));

    // The first written slowly, the second refused: the disk holds the
    // first, the sheet the second.
    await page.evaluate(() => (window.testFiles.plan = [{ delay: 800 }, { refuse: "磁盘已满" }]));
    await page.fill("#Text1", "47");
    await page.keyboard.press("Control+S");
    await page.fill("#Text1", "48");
    await page.keyboard.press("Control+S");
    assert.match(await answerBox(page, "ok"), /磁盘已满/);
    await settled();
    assert.equal(text1Of(await page.evaluate(() => window.testFiles.file.writes.at(-1))), "47");
    assert.match(await caption(), /\*$/);

    assert.equal(await page.evaluate(() => window.testFiles.most), 1, "two writes at once");
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

// ---- 配合比通知单… -----------------------------------------------------------

// The shown notice's mix table: each material's row, by its name.
async function noticeRows(page) {
  return page.evaluate(() => {
    const root = document.getElementById("noticeDocument").shadowRoot;
    const table = Array.from(root.querySelectorAll("table")).find((t) => t.textContent.includes("施工配合比"));
    const header = Array.from(table.rows[0].cells, (cell) => cell.textContent);
    const rows = {};
    for (const row of Array.from(table.rows).slice(1)) {
      rows[row.cells[0].textContent] = Array.from(row.cells, (cell) => cell.textContent);
    }
    return { header, rows };
  });
}

// The dialog's fields given (a selector's id after "notice-" → its text),
// then 显示通知单.
async function giveNotice(page, values) {
  await page.waitForSelector("#noticeDialog[open]");
  for (const [key, text] of Object.entries(values)) {
    await page.fill(`#notice-${key}`, text);
  }
  await page.click("#noticeShow");
}

test("配合比通知单… in both views: refused without a mix, the details asked once and kept in the saved design, the construction mix as `lanshi --notice`", async () => {
  const module = await lanshi();
  const sheet = module.classicWindow(formats.usual);
  sheet.event("load");
  const noMix = sheet.noticeFields().refusal;
  sheet.delete();
  const folder = temporaryFolder();
  const { context, page, errors } = await openPage();
  try {
    // Before 计算 the sheet has no mix: the module's box, no dialog.
    await page.keyboard.press("Control+Shift+N");
    assert.equal(await answerBox(page, "ok"), noMix);
    assert.equal(await page.$("#noticeDialog[open]"), null);

    await page.click("#Command1");
    await page.click("#Form1", { button: "right", position: { x: 390, y: 320 } });
    await page.click("#menu [data-command=mixNotice]");
    // A moisture that is no number is named in the dialog, which stays.
    await giveNotice(page, { sandMoisture: "三" });
    assert.equal(await page.textContent("#noticeProblem"), "砂含水率“三”：不是一个数。");
    assert.equal(await page.getAttribute("#notice-sandMoisture", "aria-invalid"), "true");
    await giveNotice(page, { sandMoisture: "3.5", stoneMoisture: "1", batchVolume: "0.5", cement: "P·O 42.5 某厂" });
    await page.waitForSelector("#notice:not([hidden])");

    // Saved from the notice: the file keeps the details under "notice".
    const download = page.waitForEvent("download");
    await page.keyboard.press("Control+S");
    const file = path.join(folder, (await download).suggestedFilename());
    await (await download).saveAs(file);
    assert.deepEqual(JSON.parse(fs.readFileSync(file, "utf8")).notice, {
      sandMoisture: 3.5, stoneMoisture: 1, batchVolume: 0.5, materials: { cement: "P·O 42.5 某厂" },
    });
    // The construction mix and the batch, figure by figure, as the native
    // notice of that file gives them.
    const run = runNative("lanshi", ["--notice", file, "-o", `${file}.json`], "", { LC_ALL: "C.UTF-8", QT_QPA_PLATFORM: "offscreen" });
    assert.equal(run.status, 0, run.stderr);
    const native = JSON.parse(fs.readFileSync(`${file}.json`, "utf8"));
    const { header, rows } = await noticeRows(page);
    // (The table keeps "0.5 m³" on one line: a space that does not break.)
    const construction = header.findIndex((h) => h.startsWith("施工配合比"));
    const batch = header.findIndex((h) => /^每盘\s0\.5\sm³/.test(h));
    assert.ok(construction > 0 && batch > 0, JSON.stringify(header));
    for (const [name, key] of [["水泥", "cement"], ["水", "water"], ["砂", "sand"], ["石子", "stone"]]) {
      assert.equal(Number(rows[name][construction]), native.construction[key], `${name} per m³`);
      assert.equal(Number(rows[name][batch]), native.batch[key], `${name} per batch`);
    }

    // Printed through the browser, saved as HTML beside the design's name.
    await page.evaluate(() => {
      window.printed = 0;
      window.print = () => (window.printed += 1);
    });
    await page.click("[data-command=printNotice]");
    await page.waitForFunction(() => window.printed === 1);
    const html = page.waitForEvent("download");
    await page.click("[data-command=saveNoticeHtml]");
    assert.equal((await html).suggestedFilename(), "配合比设计-通知单.html");
    // Saved, the sheet is unmodified; another detail is a change of it.
    assert.doesNotMatch(await page.textContent("#caption"), /\*$/);
    await page.click("#notice [data-command=mixNotice]");
    await giveNotice(page, { number: "TZ-1" });
    await page.waitForFunction(() => document.getElementById("caption").textContent.endsWith("*"));
    await page.click("[data-command=closeNotice]");
    await page.waitForSelector("#classic:not([hidden])");

    // Opened again in a new session, the dialog proposes what the file keeps.
    const again = await openPage();
    try {
      await pickFile(again.page, "Control+O", file);
      await again.page.waitForFunction(() => document.title.includes("配合比设计"));
      await again.page.keyboard.press("Control+Shift+N");
      await again.page.waitForSelector("#noticeDialog[open]");
      assert.deepEqual(
        await again.page.$$eval("#noticeFields input", (inputs) => inputs.slice(0, 5).map((i) => i.value)),
        ["", "3.5", "1", "0.5", "P·O 42.5 某厂"]);
      await again.page.click("#noticeCancel");
      assert.equal(await again.page.$("#noticeDialog[open]"), null);
      assert.doesNotMatch(await again.page.textContent("#caption"), /\*$/);
    } finally {
      await again.context.close();
    }

    // The JGJ 55-2011 view: its toolbar's 配合比通知单…, the form's own
    // details; a form without a design is refused.
    await page.keyboard.press("Control+J");
    await page.waitForSelector("#jgj55:not([hidden])");
    for (const [key, value] of [["fcuk", "30"], ["maxSize", "20"], ["slump", "180"]]) {
      await page.fill(`#jgj55-${key}`, value);
    }
    await page.click("#jgj55 [data-command=mixNotice]");
    assert.equal(await page.inputValue("#notice-batchVolume"), "");
    await giveNotice(page, { batchVolume: "2" });
    await page.waitForSelector("#notice:not([hidden])");
    assert.ok((await noticeRows(page)).header.some((h) => /^每盘\s2\sm³/.test(h)));
    await page.click("[data-command=closeNotice]");
    await page.waitForSelector("#jgj55:not([hidden])");
    assert.match(await page.textContent("#jgj55-title"), /\*$/);
    await page.fill("#jgj55-fcuk", "x");
    await page.click("#jgj55 [data-command=mixNotice]");
    assert.match(await answerBox(page, "ok"), /\S/);
    assert.equal(await page.$("#noticeDialog[open]"), null);
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
