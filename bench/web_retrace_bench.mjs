// The re-trace of a drag in the web page, in headless Chromium, as the native
// drag benchmark (bench_drag, Drag/17_segments) drags in the window: the
// 17-segment scene of seed 4, the right end of its middle segment pressed and
// moved round a circle of 4 pixels, twice, in POSITIONS steps at most one
// every 8 ms (a 125 Hz mouse), each position's picture waited for. Prints the
// median, least and most milliseconds from the accepted position to its
// complete picture, as the page measures them (WebPage::LastTraceMs), the
// pictures measured, and whether the page's threads shared their indices
// through shared memory (an isolated page) or through the page.
//
//   node web_retrace_bench.mjs SITE_URL SCENE_FILE [POSITIONS]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, sceneFile, positions = 250] = process.argv.slice(2);
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
// The segments in the order of the file, which is the scene's.
const segments = fs.readFileSync(sceneFile, 'utf8').split('\n').filter((l) => /^[0-9]/.test(l))
  .map((l) => l.trim().split(/\s+/).map(Number));
const [, , endX, endY] = segments[segments.length >> 1];
const canvas = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
const x = canvas.x + endX, y = canvas.y + endY;
await page.keyboard.press('d');
await page.mouse.move(x, y);
await page.mouse.down();
const times = [];
// The canvas's paints when the last picture measured was painted.
let picture = await page.evaluate(() => window.kaldra.paints());
for (let k = 0; k < positions; ++k) {
  const begun = performance.now(), turn = 2 * Math.PI * k / (positions / 2);
  await page.mouse.move(x + 4 * Math.cos(turn), y + 4 * Math.sin(turn));
  await idle();
  // A position that moved no pixel of the pointer brings no new picture.
  const [ms, paints] = await page.evaluate(() => [window.kaldra.state().trace_ms, window.kaldra.paints()]);
  if (paints !== picture) times.push(ms), picture = paints;
  const rest = 8 - (performance.now() - begun);
  if (rest > 0) await new Promise((done) => setTimeout(done, rest));
}
await page.mouse.up();
const shared = await page.evaluate(() => crossOriginIsolated);
await browser.close();
times.sort((a, b) => a - b);
const ms = (t) => t.toFixed(2);
console.log(JSON.stringify({median_ms: ms(times[times.length >> 1]), least_ms: ms(times[0]),
                            most_ms: ms(times[times.length - 1]), pictures: times.length,
                            shared_memory: shared}));
