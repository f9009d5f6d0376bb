// The page in Debian's Chromium: what it shows is what the native handset shows, the
// phone's tilt steers, taps and keys play, the end and a new start, and a recording
// that replays natively.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { canvasPicture, difference, launch, readPng, run, scratch, serve, watch } from './support.mjs';

const work = scratch();
let server;
let browser;
before(async () => {
  server = await serve();
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.close();
});

// The native screenshot after `script`, on a screen of `size`.
function nativeShot(name, script, size = '480x640') {
  const file = path.join(work, name + '.txt');
  fs.writeFileSync(file, script);
  const result = run('native', ['--headless', '--script', file, '--shots', work, '--screen', size]);
  assert.equal(result.code, 0, result.err);
  return readPng(path.join(work, name + '.png'));
}

// Pages opened by a test, closed after it whatever happened: a game left running
// would keep the next test's page out.
const opened = [];
afterEach(async () => {
  for (const page of opened.splice(0)) await page.close().catch(() => {});
});

async function open(query = '', setUp = async () => {}) {
  const page = await browser.newPage();
  opened.push(page);
  const seen = watch(page);
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 3 });
  await setUp(page);
  await page.goto(server.url + query);
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  return { page, seen };
}

// Waits until the canvas shows `picture`; the difference if it never does.
async function shows(page, picture, timeout = 5000) {
  const end = Date.now() + timeout;
  let last;
  do {
    last = difference(await canvasPicture(page), picture);
    if (last === null) return null;
    await new Promise((resolve) => setTimeout(resolve, 100));
  } while (Date.now() < end);
  return last;
}

async function tap(page, x, y) {
  // The canvas's own pixels to the page's CSS pixels.
  const box = await page.$eval('#screen', (canvas) => {
    const r = canvas.getBoundingClientRect();
    const shown = window.viretaLayout.shown;
    const css = r.width / canvas.width;
    return { left: r.left + shown.left * css, top: r.top + shown.top * css, scale: shown.scale * css };
  });
  await page.mouse.click(box.left + (x + 0.5) * box.scale, box.top + (y + 0.5) * box.scale);
}

async function ended(page) {
  await page.waitForFunction(() => window.viretaPage?.exitCode !== undefined, { timeout: 20000 });
  return page.evaluate(() => ({ code: window.viretaPage.exitCode, message: document.getElementById('message').textContent,
                               recording: window.viretaPage.recording }));
}

test('the first frame is the native one, with nothing on the console', async () => {
  for (const size of ['480x640', '240x320']) {
    const expected = nativeShot('first-' + size, 'shot first-' + size + '\n', size);
    const { page, seen } = await open('?screen=' + size);
    assert.equal(difference(await canvasPicture(page, true), expected), null, size);
    const style = await page.$eval('#screen', (canvas) => getComputedStyle(canvas).imageRendering);
    assert.equal(style, 'pixelated');
    assert.deepEqual(seen.errors, [], size);
    await page.close();
  }
});

test('taps open the About box from the menu and close it; Ctrl+Q ends; a tap starts again', async () => {
  const about = nativeShot('about', 'wait 100\ntap 360 614\nwait 100\ntap 395 548\nwait 100\nshot about\n');
  const { page, seen } = await open();
  await tap(page, 360, 614);  // AYUDA
  await new Promise((resolve) => setTimeout(resolve, 300));
  await tap(page, 395, 548);  // Acerca de
  assert.equal(await shows(page, about), null, 'the About box');
  await tap(page, 428, 26);  // its ok
  await page.waitForFunction(() => true);
  assert.notEqual(await shows(page, about, 300), null, 'the About box stayed');
  await page.keyboard.down('Control');
  await page.keyboard.press('q');
  await page.keyboard.up('Control');
  const end = await ended(page);
  assert.equal(end.code, 0);
  assert.match(end.message, /terminado/);
  const first = await page.evaluate(() => window.viretaPage);
  await page.mouse.click(100, 100);
  await page.waitForFunction((old) => window.viretaPage !== old && window.viretaPage.frames > 0, { timeout: 20000 }, first);
  assert.deepEqual(seen.errors, []);
});

test("the phone's tilt steers, and the recording replays natively tick for tick", async () => {
  let session;
  const { page } = await open('?tilt=motion&record', async (p) => {
    session = await p.createCDPSession();
    // Tipped back 46 degrees from upright and turned 20 degrees to the left.
    await session.send('DeviceOrientation.setDeviceOrientationOverride', { alpha: 0, beta: 46, gamma: -20 });
  });
  await new Promise((resolve) => setTimeout(resolve, 1000));
  await session.send('DeviceOrientation.setDeviceOrientationOverride', { alpha: 0, beta: 46, gamma: 20 });
  await new Promise((resolve) => setTimeout(resolve, 1000));
  await page.keyboard.press('F1');  // Aceptar
  const end = await ended(page);
  assert.equal(end.code, 0);
  // The accelerometer's model: 42 degrees of throttle, 18 to the left, then to the right.
  assert.match(end.recording, /^tilt 42 18$/m);
  assert.match(end.recording, /^tilt 42 342$/m);
  assert.ok(await page.$('#recording'), 'no link to save the drive');
  const file = path.join(work, 'drive.txt');
  fs.writeFileSync(file, end.recording);
  const ticks = Number(/^# session ended at \d+ ms after (\d+) ticks$/m.exec(end.recording)?.[1]);
  const trace = path.join(work, 'drive.jsonl');
  const replay = run('native', ['--headless', '--script', file, '--trace', trace]);
  assert.equal(replay.code, 0, replay.err);
  const lines = fs.readFileSync(trace, 'utf8').split('\n');
  assert.equal(lines.filter((line) => line.includes('"ev":"tick"')).length, ticks);
  assert.ok(lines.some((line) => line.includes('"steerAngle":18')), 'the replay never steered left');
  assert.ok(lines.some((line) => line.includes('"steerAngle":342')), 'the replay never steered right');
});

test('a second tab finds the game running in the first and stays out', async () => {
  const { page } = await open();
  const second = await browser.newPage();
  opened.push(second);
  await second.goto(server.url);
  await second.waitForFunction(() => /otra pestaña/.test(document.getElementById('message').textContent),
                               { timeout: 20000 });
  assert.equal(await second.evaluate(() => window.viretaPage), null);
});

test('once loaded, the page plays offline from its service worker', async () => {
  const { page } = await open();
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
    }
  });
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
  assert.deepEqual(manifest.icons.map((icon) => icon.sizes), ['48x48', '192x192', '512x512']);
});
