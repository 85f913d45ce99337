// The re-trace of a drag in the web page, in headless Chromium: the
// 17-segment scene of seed 4 (the native benchmark's, bench_retrace), the
// middle of its longest segment dragged one pixel down and back, ROUNDS
// times, each position's picture waited for. Prints the median, least and
// most milliseconds from the accepted position to its complete picture, as
// the page measures them (WebPage::LastTraceMs), and whether the workers
// shared their indices through shared memory (an isolated page) or through
// the page.
//
//   node web_retrace_bench.mjs SITE_URL SCENE_FILE [ROUNDS]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, sceneFile, rounds = 40] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         `--user-data-dir=${fs.mkdtempSync(path.join(os.tmpdir(), 'kaldra-bench-'))}`]});
const page = await browser.newPage();
await page.setViewport({width: 900, height: 700, deviceScaleFactor: 1});
await page.goto(`${site}#seed=4`);
const idle = () => page.waitForFunction(() => window.kaldra && !window.kaldra.state().busy,
                                        {polling: 'raf'});
await idle();
const segments = fs.readFileSync(sceneFile, 'utf8').split('\n').filter((l) => /^[0-9]/.test(l))
  .map((l) => l.trim().split(/\s+/).map(Number));
const length = ([x1, y1, x2, y2]) => Math.hypot(x2 - x1, y2 - y1);
const longest = segments.reduce((a, b) => (length(b) > length(a) ? b : a));
const canvas = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
const x = canvas.x + (longest[0] + longest[2]) / 2, y = canvas.y + (longest[1] + longest[3]) / 2;
await page.keyboard.press('d');
await page.mouse.move(x, y);
await page.mouse.down();
const times = [];
for (let k = 0; k < rounds; ++k) {
  await page.mouse.move(x, y + (k % 2 ? 0 : 1));
  await idle();
  times.push(await page.evaluate(() => window.kaldra.state().trace_ms));
}
await page.mouse.up();
const shared = await page.evaluate(() => crossOriginIsolated);
await browser.close();
times.sort((a, b) => a - b);
const ms = (t) => t.toFixed(2);
console.log(JSON.stringify({median_ms: ms(times[times.length >> 1]), least_ms: ms(times[0]),
                            most_ms: ms(times[times.length - 1]), rounds: times.length,
                            shared_memory: shared}));
