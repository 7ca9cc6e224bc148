"use strict";
// The page's budgets as README.md states them, measured in Debian's headless
// Chromium on the built site (build-web/site/, opened from file://):
//   ready to type   navigation start to the first field taking keys (the
//                   module loaded, the window's load event carried out),
//                   median of fresh contexts, so no cache helps
//   计算 click      a click on 计算 to the figures in the fields, median
//   transferred     each file of the page gzip-compressed (-9), as a static
//                   host serves it; the guide apart, loaded only by F1
// With --pictures, also the page at desktop width after 计算
// (docs/images/web-desktop.png) and both views at 360 px: the classic window
// at a finger's size and fitted to the screen, and the JGJ 55-2011 view
// (docs/screenshots/page-classic-360.png, page-classic-360-fitted.png,
// page-jgj55-360.png).
//
//   node web/tests/browser/budgets.cjs [--pictures]
const fs = require("node:fs");
const path = require("node:path");
const zlib = require("node:zlib");
const { pathToFileURL } = require("node:url");
const { chromium } = require("playwright-core");

const root = path.resolve(__dirname, "..", "..", "..");
const site = process.env.LANSHI_SITE || path.join(root, "build-web", "site");
const pageUrl = pathToFileURL(path.join(site, "index.html")).href;
const flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"];

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function ready(browser, viewport) {
  const context = await browser.newContext({ viewport, locale: "zh-CN" });
  const page = await context.newPage();
  await page.goto(pageUrl);
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
  return { context, page };
}

async function takePictures(browser) {
  const desktop = await ready(browser, { width: 900, height: 420 });
  await desktop.page.click("#Command1");
  await desktop.page.screenshot({ path: path.join(root, "docs", "images", "web-desktop.png") });
  await desktop.context.close();

  const folder = path.join(root, "docs", "screenshots");
  fs.mkdirSync(folder, { recursive: true });
  const phone = await ready(browser, { width: 360, height: 640 });
  const { page } = phone;
  await page.click("#Command1");
  // From the top left, where the page opens: the switch and the window's
  // first frame.
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: path.join(folder, "page-classic-360.png") });
  await page.click("#fitWindow");
  await page.screenshot({ path: path.join(folder, "page-classic-360-fitted.png") });
  // A C30 with fly ash in the JGJ 55-2011 view, its results in sight.
  await page.keyboard.press("Control+J");
  await page.waitForSelector("#jgj55:not([hidden])");
  for (const [key, value] of [["fcuk", "30"], ["slump", "180"], ["maxSize", "20"], ["flyAsh.fraction", "20"]]) {
    await page.fill(`[id="jgj55-${key}"]`, value);
  }
  await page.screenshot({ path: path.join(folder, "page-jgj55-360.png"), fullPage: true });
  await phone.context.close();
  console.log("pictures: docs/images/web-desktop.png, docs/screenshots/page-*-360*.png");
}

async function main() {
  const pictures = process.argv.includes("--pictures");
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: flags });
  try {
    const loads = [];
    const clicks = [];
    for (let run = 0; run < 11; ++run) {
      const { context, page } = await ready(browser, { width: 900, height: 600 });
      loads.push(await page.evaluate(() => performance.getEntriesByName("lanshi-ready")[0].startTime));
      for (let press = 0; press < 5; ++press) {
        clicks.push(await page.evaluate(() => {
          document.getElementById("Command3").click();
          const start = performance.now();
          document.getElementById("Command1").click();
          return performance.now() - start;
        }));
      }
      await context.close();
    }
    console.log(`ready to type: median ${median(loads).toFixed(0)} ms ` +
                `(${Math.min(...loads).toFixed(0)}–${Math.max(...loads).toFixed(0)} ms over ${loads.length} loads)`);
    console.log(`计算 click to figures: median ${median(clicks).toFixed(2)} ms ` +
                `(max ${Math.max(...clicks).toFixed(2)} ms over ${clicks.length} clicks)`);

    const page = ["index.html", "lanshi.css", "lanshi.svg", "layout.js", "lanshi.js", "files.js",
                  "reportview.js", "noticeview.js", "classicview.js", "jgj55view.js", "page.js"];
    const gzipped = (name) => zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length;
    const total = page.reduce((sum, name) => sum + gzipped(name), 0);
    for (const name of [...page, "guide.html"]) {
      console.log(`  ${name}: ${(gzipped(name) / 1000).toFixed(1)} kB gzip`);
    }
    console.log(`transferred: ${(total / 1000).toFixed(0)} kB gzip for the page, ` +
                `${((total + gzipped("guide.html")) / 1000).toFixed(0)} kB with the guide`);

    if (pictures) {
      await takePictures(browser);
    }
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
