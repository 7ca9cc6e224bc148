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
const { root, lanshi, runNative, temporaryFolder, formats, designs, nativeDesignFile } = require("../helpers.cjs");

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
  // Listening for file choosers from the start: Playwright turns the
  // interception of the chooser on only when someone listens, and a listener
  // added just before the key press can lose the race with the page's click.
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

test("a 360 px wide screen shows the whole window, scaled, not reflowed", async () => {
  const { context, page } = await openPage({ viewport: { width: 360, height: 640 } });
  try {
    const seen = await page.evaluate(() => {
      const form = document.getElementById("Form1").getBoundingClientRect();
      const label = document.getElementById("Label27").getBoundingClientRect();
      return {
        left: form.left,
        right: form.right,
        ratio: form.width / form.height,
        overflow: document.documentElement.scrollWidth - document.documentElement.clientWidth,
        labelInside: label.right <= form.right && label.bottom <= form.bottom,
      };
    });
    assert.ok(seen.left >= 0 && seen.right <= 360, JSON.stringify(seen));
    assert.equal(seen.overflow, 0);
    assert.ok(Math.abs(seen.ratio - 8040 / 4965) < 0.01, "the window keeps its proportions");
    assert.ok(seen.labelInside);
  } finally {
    await context.close();
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
