"use strict";
// The strength evaluation's view in Chromium: opened by 新建强度评定… (Ctrl+G)
// of the classic window, cells typed and a spreadsheet's block pasted, the
// verdict and the figures after each, a bad cell marked without a box, and an
// evaluation file opened in the classic window coming here.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { pathToFileURL } = require("node:url");
const { chromium } = require("playwright-core");
const { root, temporaryFolder, listenForFileChoosers } = require("../helpers.cjs");

const site = process.env.LANSHI_SITE || path.join(root, "build-web", "site");
const pageUrl = pathToFileURL(path.join(site, "index.html")).href;
const chromiumFlags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                       "--no-first-run", "--disable-background-networking",
                       "--disable-component-update", "--disable-sync"];

let browser;

test.before(async () => {
  browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: chromiumFlags });
});

test.after(async () => {
  if (browser) {
    await browser.close();
  }
});

async function openPage() {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 }, locale: "zh-CN" });
  await context.addInitScript(() => {
    delete window.showOpenFilePicker;
    delete window.showSaveFilePicker;
  });
  const page = await context.newPage();
  listenForFileChoosers(page);
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(pageUrl);
  await page.waitForSelector("html[data-ready=true]");
  return { context, page, errors };
}

// A paste of `text` into the cell, as a spreadsheet's copied block arrives.
function paste(page, selector, text) {
  return page.$eval(selector, (input, copied) => {
    input.focus();
    const data = new DataTransfer();
    data.setData("text/plain", copied);
    input.dispatchEvent(new ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true }));
  }, text);
}

const cell = (row, column) => `#gbt50107-groups input[data-row="${row}"][data-column="${column}"]`;

test("新建强度评定…, typed and pasted cells, the verdict as one types, a bad cell marked", async () => {
  const { context, page, errors } = await openPage();
  try {
    await page.click("#Form1", { button: "right", position: { x: 390, y: 320 } });
    await page.click("#menu [data-command=newEvaluation]");
    await page.waitForSelector("#gbt50107:not([hidden])");
    assert.equal(await page.textContent("#gbt50107-verdict"), "尚未评定");
    await page.fill("#gbt50107-fcuk", "30");
    await paste(page, cell(0, 0), "33.1\t34.5\t33.2\n\t\t\t37.6\n40.0\t41.5\t48.0\n");
    assert.equal(await page.inputValue(cell(2, 2)), "48.0");
    assert.equal(await page.getAttribute(cell(2, 3), "placeholder"), "41.5");
    // Three groups, non-statistical: mfcu 37.6 ≥ 1.15 × 30 = 34.5, fcu,min 33.6 ≥ 28.5.
    assert.equal(await page.textContent("#gbt50107-verdict"), "合格");
    await page.fill(cell(3, 3), "20");
    assert.match(await page.textContent("#gbt50107-verdict"), /^不合格/);
    await page.fill(cell(3, 1), "x");
    assert.equal(await page.textContent("#gbt50107-verdict"), "尚未评定");
    assert.ok(await page.$eval(cell(3, 1), (input) => input.classList.contains("marked")));
    assert.match(await page.textContent("#gbt50107-status"), /^第 4 组试件 2 不是一个数：x/);
    assert.equal(await page.inputValue(cell(3, 1)), "x");
    assert.ok(await page.isHidden("#box"));
    assert.match(await page.title(), /混凝土强度检验评定.*\*$/);
    if (process.env.LANSHI_SCREENSHOT) {
      await page.screenshot({ path: process.env.LANSHI_SCREENSHOT });
    }
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test("an evaluation file opened in the classic window opens in this view", async () => {
  const folder = temporaryFolder();
  const { context, page, errors } = await openPage();
  try {
    const file = path.join(folder, "E.lanshi");
    fs.writeFileSync(file, JSON.stringify({ "lanshi-design": 1, standard: "GB/T 50107-2010",
                                            "gbt50107-2010": { fcuk: 25, groups: [30.1, 31.2] } }));
    const chooser = page.nextFileChooser();
    await page.keyboard.press("Control+O");
    await (await chooser).setFiles(file);
    await page.waitForSelector("#gbt50107:not([hidden])");
    assert.equal(await page.inputValue(cell(1, 3)), "31.2");
    assert.equal(await page.textContent("#gbt50107-verdict"), "合格");
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
