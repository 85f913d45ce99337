// The web page in Debian's Chromium, driven by puppeteer-core: its pictures
// against kaldra-render's pixel for pixel, its keys and menu, files in and
// out, edits, and links. Run by run_browser_tests.sh with the site's address,
// the renderer, the corpus of scene files, and the site's address on a host
// that does not isolate it.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';
import puppeteer from 'puppeteer-core';

const [site, renderer, corpus, plainSite] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'kaldra-web-'));
let browser;

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    // Without the background services Chromium makes no connection that this
    // machine's closed network would refuse.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${fs.mkdtempSync(path.join(work, 'profile-'))}`]});
});
after(async () => { await browser?.close(); fs.rmSync(work, {recursive: true, force: true}); });

// A page at `fragment`, its downloads going to a folder of their own.
async function open(fragment, host = site) {
  const page = await browser.newPage();
  page.on('pageerror', (e) => { throw e; });
  await page.setViewport({width: 900, height: 700, deviceScaleFactor: 1});
  page.downloads = fs.mkdtempSync(path.join(work, 'downloads-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: page.downloads, eventsEnabled: true});
  // Chromium writes a download under its final name as it goes: it is read
  // once the browser says it is complete.
  const names = new Map();
  page.completed = new Set();
  cdp.on('Browser.downloadWillBegin', (e) => names.set(e.guid, e.suggestedFilename));
  cdp.on('Browser.downloadProgress', (e) => e.state === 'completed' && page.completed.add(names.get(e.guid)));
  await page.goto(`${host}#${fragment}`);
  await page.waitForFunction(() => window.kaldra);
  return page;
}
const idle = (page) => page.waitForSelector('#canvas[aria-busy="false"]');
const state = (page) => page.evaluate(() => window.kaldra.state());
const said = (page) => page.waitForSelector('#message[open]').then(() => page.$eval('#message-text', (e) => e.textContent));

function render(...args) {
  const png = path.join(work, `render-${process.hrtime.bigint()}.png`);
  execFileSync(renderer, [...args, '--png', png, '--quiet']);
  return fs.readFileSync(png);
}

// The pixels that differ between the canvas and a PNG, decoded by the browser.
function differ(page, png) {
  return page.evaluate(async (base64) => {
    const bitmap = await createImageBitmap(new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))]),
                                           {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
    const decoded = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
    decoded.drawImage(bitmap, 0, 0);
    const want = decoded.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const canvas = document.getElementById('canvas');
    const got = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    if (got.length !== want.length) return `size ${canvas.width}x${canvas.height}, not ${bitmap.width}x${bitmap.height}`;
    let count = 0;
    for (let k = 0; k < got.length; ++k) count += got[k] !== want[k];
    return count;
  }, png.toString('base64'));
}
const picture = (page) => page.evaluate(() => document.getElementById('canvas').toDataURL())
  .then((url) => Buffer.from(url.split(',')[1], 'base64'));

async function downloaded(page, name) {
  const file = path.join(page.downloads, name);
  for (let wait = 0; !page.completed.has(name) && wait < 200; ++wait) await new Promise((r) => setTimeout(r, 50));
  assert.ok(page.completed.has(name), `${name} was downloaded`);
  return fs.readFileSync(file);
}

for (const seed of [0, 3, 4, 725, 1980]) {
  test(`#seed=${seed} draws the renderer's picture`, async () => {
    const page = await open(`seed=${seed}`);
    await idle(page);
    assert.equal(await differ(page, render('--seed', seed)), 0);
    await page.close();
  });
}

test('an opened scene file draws the renderer\'s picture, and so does its link in a fresh page', async () => {
  const page = await open('seed=3');
  const file = path.join(corpus, 'ok-edges.scene');
  await (await page.$('#open-file')).uploadFile(file);
  await page.waitForFunction(() => window.kaldra.state().link.startsWith('scene='));
  await idle(page);
  const want = render('--scene', file);
  assert.equal(await differ(page, want), 0);
  const linked = await open((await state(page)).link);
  await idle(linked);
  assert.equal(await differ(linked, want), 0);
  await Promise.all([page.close(), linked.close()]);
});

test('a refused file is named with the reader\'s reason, and the scene stays', async () => {
  const page = await open('seed=3');
  await idle(page);
  await (await page.$('#open-file')).uploadFile(path.join(corpus, 'bad-crossing.scene'));
  assert.equal(await said(page), 'bad-crossing.scene:4: the segment crosses the segment on line 2');
  assert.equal((await state(page)).link, 'seed=3');
  assert.equal(await differ(page, render('--seed', 3)), 0);
  await page.close();
});

test('a refused link is named with the reader\'s reason, and a random scene is drawn', async () => {
  const page = await open('scene=1,2,3');
  assert.equal(await said(page), 'link:1: expected four numbers x1 y1 x2 y2, found 3');
  await idle(page);
  assert.match((await state(page)).link, /^seed=\d+$/);
  await page.close();
});

test('a run-time error is told as the window tells it, and the program ends', async () => {
  const page = await open('seed=3');
  await (await page.$('#open-file')).uploadFile(path.join(corpus, 'ok-divides-by-zero.scene'));
  assert.equal(await said(page), 'Kaldra stopped drawing because of a run-time error:\n\n' +
    'Run-time error: division by zero in sweep 1, pair (0, 1), endpoint bisector 1 (left ends)');
  assert.ok(await page.$eval('#ended', (e) => !e.hidden));
  await page.close();
});

test('keys and menu: new scene, redraw, pace, pause, and End within 100 ms', async () => {
  const page = await open('seed=4');
  await idle(page);
  await page.keyboard.press('n');
  await page.waitForFunction(() => window.kaldra.state().link !== 'seed=4');
  await idle(page);
  // The menu, from a right click: Slower twice, then Redraw; the keys: P.
  const menu = async (name) => {
    await page.mouse.click(400, 300, {button: 'right'});
    await page.click(`#menu button[data-name="${name}"]`);
  };
  await menu('slower');
  await menu('slower');
  assert.equal((await state(page)).pace_label, 'Pace: 50 ms per pair');
  await menu('redraw');
  await page.waitForSelector('#canvas[aria-busy="true"]');
  await page.keyboard.press('p');
  await page.waitForFunction(() => /paused/.test(document.getElementById('status').textContent));
  await page.evaluate(() => {
    addEventListener('keydown', (e) => { window.pressed = e.timeStamp; }, true);
    new MutationObserver(() => { window.ended = performance.now(); })
      .observe(document.getElementById('ended'), {attributes: true});
  });
  await page.keyboard.down('Alt');
  await page.keyboard.press('e');
  await page.keyboard.up('Alt');
  await page.waitForSelector('#ended:not([hidden])');
  assert.ok(await page.evaluate(() => window.ended - window.pressed) < 100);
  const shown = await picture(page);
  await new Promise((r) => setTimeout(r, 300));
  assert.deepEqual(await picture(page), shown, 'nothing is drawn after End');
  assert.ok(await page.$eval('#menu-button', (b) => b.disabled));
  await page.close();
});

test('saved picture and scene: the PNG is the canvas, the scene file the seed\'s', async () => {
  const page = await open('seed=4');
  await idle(page);
  await page.keyboard.down('Control');
  await page.keyboard.press('s');
  await page.keyboard.up('Control');
  assert.equal(await differ(page, await downloaded(page, 'kaldra-4.png')), 0);
  await page.keyboard.down('Control');
  await page.keyboard.down('Shift');
  await page.keyboard.press('s');
  await page.keyboard.up('Shift');
  await page.keyboard.up('Control');
  const scene = path.join(work, 'seed-4.scene');
  execFileSync(renderer, ['--seed', '4', '--save-scene', scene, '--quiet']);
  assert.deepEqual(await downloaded(page, 'kaldra-4.scene'), fs.readFileSync(scene));
  await page.close();
});

test('edits: a drag, a refused one, undo and redo, and the link after the edit', async () => {
  const page = await open('seed=3');
  await idle(page);
  const at = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
  const drag = async (from, to, steps) => {
    await page.mouse.move(at.x + from[0], at.y + from[1]);
    await page.mouse.down();
    await page.mouse.move(at.x + to[0], at.y + to[1], {steps});
  };
  await page.keyboard.press('d');
  // Segment 4's right end up from (434, 167), as in the README's picture.
  await drag([434, 167], [434, 110], 5);
  await page.mouse.up();
  await idle(page);
  const edited = await picture(page);
  const link = (await state(page)).link;
  assert.match(link, /^scene=/);
  // At once to where the segment would cross segment 2: refused, and held.
  await drag([434, 110], [434, 40], 1);
  assert.match(await page.$eval('#status', (e) => e.textContent), /crosses/);
  await page.mouse.up();
  await idle(page);
  assert.equal((await state(page)).link, link);
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await idle(page);
  assert.equal(await differ(page, render('--seed', 3)), 0, 'undone');
  await page.keyboard.down('Shift');
  await page.keyboard.press('z');
  await page.keyboard.up('Shift');
  await page.keyboard.up('Control');
  await idle(page);
  assert.equal(await differ(page, edited), 0, 'redone');
  const fresh = await open(link);
  await idle(fresh);
  assert.equal(await differ(fresh, edited), 0, 'the link');
  await Promise.all([page.close(), fresh.close()]);
});

test('on a host that does not isolate it, the page hands out the indices itself: the same pictures', async () => {
  const page = await open('seed=3', plainSite);
  assert.equal(await page.evaluate(() => crossOriginIsolated), false);
  await idle(page);
  assert.equal(await differ(page, render('--seed', 3)), 0);
  const at = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
  await page.keyboard.press('d');
  await page.mouse.move(at.x + 434, at.y + 167);
  await page.mouse.down();
  await page.mouse.move(at.x + 434, at.y + 110, {steps: 5});
  await page.mouse.up();
  await idle(page);
  const linked = await open((await state(page)).link);
  await idle(linked);
  assert.equal(await differ(linked, await picture(page)), 0);
  await Promise.all([page.close(), linked.close()]);
});
