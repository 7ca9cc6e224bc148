"use strict";
// The page's budgets as README.md states them, measured in Debian's headless
// Chromium on the built site (build-web/site/, opened from file://):
//   ready to type   navigation start to the first field taking keys (the
//                   module loaded, the window's load event carried out),
//                   median of fresh contexts, so no cache helps
//   计算 click      a click on 计算 to the figures in the fields, median
//   transferred     each file of the page gzip-compressed (-9), as a static
//                   host serves it; the guide apart, loaded only by F1
// With --pictures, also the page at desktop width and at 360 px into
// docs/images/web-desktop.png and docs/images/web-phone.png.
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
                  "reportview.js", "classicview.js", "jgj55view.js", "page.js"];
    const gzipped = (name) => zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length;
    const total = page.reduce((sum, name) => sum + gzipped(name), 0);
    for (const name of [...page, "guide.html"]) {
      console.log(`  ${name}: ${(gzipped(name) / 1000).toFixed(1)} kB gzip`);
    }
    console.log(`transferred: ${(total / 1000).toFixed(0)} kB gzip for the page, ` +
                `${((total + gzipped("guide.html")) / 1000).toFixed(0)} kB with the guide`);

    if (pictures) {
      for (const [name, width, height] of [["web-desktop", 900, 420], ["web-phone", 360, 640]]) {
        const { context, page: shown } = await ready(browser, { width, height });
        await shown.click("#Command1");
        await shown.screenshot({ path: path.join(root, "docs", "images", `${name}.png`) });
        await context.close();
      }
      console.log("pictures: docs/images/web-desktop.png, docs/images/web-phone.png");
    }
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
