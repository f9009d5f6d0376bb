// The page in the three engines phones use (Blink, Gecko, WebKit): what it shows is what
// the native handset shows, the phone's tilt steers the same way and every run is levelled
// alike, taps and keys play, the end and a new start, offline play; an older WebKit
// without SIMD plays the scalar build; and the page as serve_web.py serves it.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { olderEngine, openBrowser } from './browsers.mjs';
import { canvasPicture, difference, inEachEngine, readPng, run, scratch, screenPoint, serve, shows, web } from './support.mjs';

const work = scratch();
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The native screenshot after `script`, on a screen of `size`.
const shots = new Map();
function nativeShot(name, script, size = '480x640') {
  if (shots.has(name)) return shots.get(name);
  const file = path.join(work, name + '.txt');
  fs.writeFileSync(file, script);
  const result = run('native', ['--headless', '--script', file, '--shots', work, '--screen', size]);
  assert.equal(result.code, 0, result.err);
  shots.set(name, readPng(path.join(work, name + '.png')));
  return shots.get(name);
}
const firstShot = (size) => nativeShot('first-' + size, `shot first-${size}\n`, size);
const aboutShot = () => nativeShot('about', 'wait 100\ntap 360 614\nwait 100\ntap 395 548\nwait 100\nshot about\n');

const playing = (page) => page.waitFor(() => window.viretaPage?.frames > 0, { timeout: 30000 });
const ended = (page) => page.waitFor(() => window.viretaPage?.exitCode !== undefined && {
  code: window.viretaPage.exitCode, words: document.getElementById('message').textContent,
  recording: window.viretaPage.recording,
}, { timeout: 20000 });

async function tap(page, x, y) {
  const at = await screenPoint(page, x, y);
  await page.click(at.x, at.y);
}

function replays(recording) {
  const file = path.join(work, 'drive.txt');
  fs.writeFileSync(file, recording);
  const ticks = Number(/^# session ended at \d+ ms after (\d+) ticks(?:;.*)?$/m.exec(recording)?.[1]);
  const trace = path.join(work, 'drive.jsonl');
  const replay = run('native', ['--headless', '--script', file, '--trace', trace]);
  assert.equal(replay.code, 0, replay.err);
  const lines = fs.readFileSync(trace, 'utf8').split('\n');
  return { ticks, replayed: lines.filter((line) => line.includes('"ev":"tick"')).length, lines };
}
const tilts = (recording) => recording.split('\n').filter((line) => line.startsWith('tilt '));

inEachEngine((context) => {
  async function open(query = '') {
    const page = await context.open(query);
    await playing(page);
    return page;
  }

  test('the first frame is the native one, with nothing on the console', async () => {
    const page = await open();
    try {
      assert.equal(difference(await canvasPicture(page, true), firstShot('480x640')), null);
      assert.deepEqual(await page.errors(), []);
    } finally {
      await page.close();
    }
  });

  test('taps open the About box and close it; Ctrl+Q ends; Enter and a tap start again', async () => {
    const page = await open();
    try {
      await tap(page, 360, 614);  // AYUDA
      await sleep(300);
      await tap(page, 395, 548);  // Acerca de
      assert.equal(await shows(page, aboutShot()), null, 'the About box');
      await tap(page, 428, 26);  // its ok
      assert.notEqual(await shows(page, aboutShot(), 300), null, 'the About box stayed');
      await page.key('q', { ctrl: true });
      const end = await ended(page);
      assert.equal(end.code, 0);
      assert.match(end.words, /terminado/);
      await page.evaluate(() => { window.lastRun = window.viretaPage; });
      await page.key('Enter');
      await page.waitFor(() => window.viretaPage !== window.lastRun && window.viretaPage.frames > 0, { timeout: 20000 });
      await page.key('F1');  // Aceptar
      await ended(page);
      await page.evaluate(() => { window.lastRun = window.viretaPage; });
      await tap(page, 240, 320);
      await page.waitFor(() => window.viretaPage !== window.lastRun && window.viretaPage.frames > 0, { timeout: 20000 });
      assert.deepEqual(await page.errors(), []);
    } finally {
      await page.close();
    }
  });

  test("the phone's tilt steers, every run is levelled by its first tap, and a drive replays natively", async () => {
    const page = await open('?tilt=motion&record');
    try {
      // Tipped back 46 degrees from upright and turned 20 degrees to the left, then right.
      await page.orientation({ alpha: 0, beta: 46, gamma: -20 });
      await sleep(400);
      await page.orientation({ alpha: 0, beta: 46, gamma: 20 });
      await sleep(400);
      await tap(page, 240, 200);  // held so, the phone is level from now on
      await sleep(400);
      await page.key('F1');
      const first = await ended(page);
      // The accelerometer's model: 42 degrees of throttle, 18 to the left, then to the right.
      assert.deepEqual(tilts(first.recording).slice(0, 4), ['tilt 44 0', 'tilt 42 18', 'tilt 42 342', 'tilt 44 0']);
      const drive = replays(first.recording);
      assert.equal(drive.replayed, drive.ticks);
      assert.ok(drive.lines.some((line) => line.includes('"steerAngle":18')), 'the replay never steered left');
      assert.ok(drive.lines.some((line) => line.includes('"steerAngle":342')), 'the replay never steered right');
      // A stray tap beside the link to save the drive starts nothing: the link stays.
      await page.evaluate(() => { window.lastRun = window.viretaPage; });
      const beside = await page.evaluate(() => {
        const box = document.getElementById('message').getBoundingClientRect();
        return { x: box.left + 4, y: box.bottom - 4 };
      });
      await page.click(beside.x, beside.y);
      await sleep(300);
      assert.deepEqual(await page.evaluate(() => [window.viretaPage === window.lastRun,
                                                  !!document.getElementById('recording')]), [true, true]);
      // The same grip, a new run started by a tap: level again, with no new reading.
      await tap(page, 240, 200);
      await page.waitFor(() => window.viretaPage !== window.lastRun && window.viretaPage.frames > 0, { timeout: 20000 });
      await sleep(300);
      await page.key('F1');
      const second = await ended(page);
      assert.deepEqual(tilts(second.recording), ['tilt 44 0']);
    } finally {
      await page.close();
    }
  });

  test('once loaded, the page plays offline from its service worker', async () => {
    const page = await open();
    try {
      await page.waitFor(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
      await page.setOffline(true);
      await page.reload();
      await playing(page);
      const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
      assert.deepEqual(manifest.icons.map((icon) => icon.sizes), ['48x48', '192x192', '512x512']);
      assert.equal(difference(await canvasPicture(page, true), firstShot('480x640')), null);
    } finally {
      await page.setOffline(false);
      await page.close();
    }
  });
});

test('an older WebKit without SIMD plays the scalar build, its first frame the native one', async () => {
  const server = await serve();
  const browser = await openBrowser(olderEngine);
  try {
    const page = await browser.newPage({ width: 480, height: 720 });
    await page.goto(server.url + '?screen=240x320');
    await playing(page);
    assert.equal(await page.evaluate(() => window.viretaPage.simd), false);
    assert.equal(difference(await canvasPicture(page, true), firstShot('240x320')), null);
    await page.close();
  } finally {
    await browser.close();
    server.close();
  }
});

test('served by serve_web.py, every file of the page arrives and the game plays', async () => {
  const tool = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../../tools/serve_web.py');
  const server = spawn('python3', [tool, path.join(web, 'page'), '--port', '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  const browser = await openBrowser('chromium');
  try {
    const url = await new Promise((resolve, reject) => {
      let said = '';
      server.stdout.on('data', (chunk) => {
        said += chunk;
        const found = /(http:\/\/\S+\/)/.exec(said);
        if (found) resolve(found[1]);
      });
      server.on('exit', (code) => reject(new Error(`serve_web.py ended with ${code}`)));
      setTimeout(() => reject(new Error('serve_web.py said no address')), 10000);
    });
    const page = await browser.newPage({ width: 480, height: 720 });
    await page.goto(url);
    await playing(page);
    await page.waitFor(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
    assert.deepEqual(await page.errors(), []);
    await page.close();
  } finally {
    await browser.close();
    server.kill();
  }
});
