// The page against hostile links and browsers that cannot play: nothing from the address
// becomes markup, and every failure to start is told in words, with a way out.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { launch, serve, watch, web } from './support.mjs';

let server;
let browser;
let answers = () => null;  // the server's answer for a file, while a test wants another
before(async () => {
  server = await serve({ answer: (name) => answers(name) });
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.close();
});
const opened = [];
afterEach(async () => {
  answers = () => null;
  for (const page of opened.splice(0)) await page.close().catch(() => {});
});

// Each page in a context of its own: no service worker of another test answers for it.
async function open(query = '', { setUp = async () => {}, touch = false } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.once('close', () => context.close().catch(() => {}));
  opened.push(page);
  const seen = watch(page);
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, isMobile: touch, hasTouch: touch });
  await setUp(page);
  await page.goto(server.url + query);
  return { page, seen };
}

// Waits until the game shows a frame or the page says something: what came.
// Two tabs load and start at once on a machine busy with other tests: give them time.
async function outcome(page, timeout = 20000) {
  await page.waitForFunction(() => window.viretaPage?.frames > 0 ||
    (document.getElementById('message').textContent !== '' &&
     !/^Cargando/.test(document.getElementById('message').textContent)), { timeout });
  return page.evaluate(() => ({
    playing: window.viretaPage?.frames > 0,
    words: document.getElementById('message').textContent,
    buttons: [...document.querySelectorAll('#message button')].map((b) => b.textContent),
    injected: window.injected ?? null,
    markup: document.querySelectorAll('body img, body svg, body iframe, body script:not([src]), body [onerror]').length,
  }));
}

const bait = 'window.injected=1';
test('a hostile address injects nothing: the game starts or says why, in text', async () => {
  const cases = [
    // [address, what the page does]
    [`?tilt=<img src=x onerror="${bait}">`, /--tilt needs keys, pointer or motion, got "<img src=x onerror=/],
    [`?screen=<svg onload="${bait}">`, /screen size '<svg onload=/],
    [`?clock=<img src=x onerror="${bait}">`, /--clock '<img src=x/],
    [`?without=<img src=x onerror="${bait}">`, /--without/],
    [`?lacking=<img src=x onerror="${bait}">`, /--lacking/],
    [`?<img src=x onerror="${bait}">=1`, 'plays'],
    ['?utm_source=newsletter&fbclid=IwAR0abc&gclid=x', 'plays'],
    ['?record&utm_campaign=spring', 'plays'],
    ['?record=1', /«record» no lleva valor/],
    ['?screen', /«screen» necesita un valor/],
    ['?tilt=keys%0A--clock%0A5', /«tilt» lleva un carácter de control/],
    ['?screen=240x320%00--record', /«screen» lleva un carácter de control/],
    ['?tilt=%E2%80%A8keys', /«tilt» lleva un carácter de control/],
  ];
  for (const [query, expected] of cases) {
    const { page, seen } = await open(query);
    const seenNow = await outcome(page);
    assert.equal(seenNow.injected, null, query);
    assert.equal(seenNow.markup, 0, query);
    if (expected === 'plays') assert.ok(seenNow.playing, `${query}: ${seenNow.words}`);
    else assert.match(seenNow.words, expected, query);
    assert.deepEqual(seen.errors.filter((e) => !/Content Security Policy/.test(e)), [], query);
    await page.close();
  }
});

// The page's file `vireta-STAMP.extension`.
function stamped(extension) {
  const name = fs.readdirSync(path.join(web, 'page')).find((n) => new RegExp(`^vireta-[0-9a-f]{12}\\${extension}$`).test(n));
  assert.ok(name, `no vireta-STAMP${extension} in the page`);
  return name;
}

test('a browser or a server that cannot give the game: told in words, with a retry', async () => {
  const wasm = stamped('.wasm');
  const glue = stamped('.js');
  const otherBuild = fs.readFileSync(path.join(web, 'vireta-headless.wasm'));
  const cases = [
    ['no WebAssembly', { before: () => { delete window.WebAssembly; } }, /no ejecuta WebAssembly/],
    ['the wasm missing', { file: wasm, status: 404 }, new RegExp(`No se pudo cargar ${wasm}`)],
    ['the wasm corrupt', { file: wasm, body: Buffer.from('\0asm\x01\0\0\0garbage') }, /está dañado/],
    ['the glue missing', { file: glue, status: 404 }, new RegExp(`No se pudo cargar ${glue}`)],
    ['glue and wasm of two builds', { file: wasm, body: otherBuild }, /dos versiones distintas/],
  ];
  for (const [what, how, expected] of cases) {
    answers = (name) => (name === how.file ? { status: how.status ?? 200, body: how.body ?? '' } : null);
    const { page, seen } = await open('', { setUp: (p) => how.before && p.evaluateOnNewDocument(how.before) });
    const result = await outcome(page);
    assert.equal(result.playing, false, what);
    assert.match(result.words, expected, what);
    assert.deepEqual(result.buttons, ['Reintentar'], what);
    // The failed file itself is the only error.
    assert.deepEqual(seen.errors.filter((e) => !/Failed to load resource|ERR_ABORTED/.test(e)), [], what);
    // Once the server mends, the retry plays.
    answers = () => null;
    if (!how.before) {
      await page.click('#message button');
      await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
    }
    await page.close();
  }
});

test('without SIMD the scalar build plays', async () => {
  const { page } = await open('', {
    setUp: (p) => p.evaluateOnNewDocument(() => {
      const validate = WebAssembly.validate;
      // An engine without SIMD refuses any module that holds a v128.
      WebAssembly.validate = (bytes) => (new Uint8Array(bytes.buffer ?? bytes).includes(123) &&
                                         new Uint8Array(bytes.buffer ?? bytes).includes(253) ? false : validate(bytes));
    }),
  });
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  const loaded = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => e.name.split('/').pop()));
  assert.ok(loaded.some((name) => /^vireta-scalar-[0-9a-f]{12}\.wasm$/.test(name)), loaded.join(' '));
  assert.ok(!loaded.some((name) => /^vireta-[0-9a-f]{12}\.wasm$/.test(name)), loaded.join(' '));
  assert.equal(await page.evaluate(() => window.viretaPage.simd), false);
});

// A phone that asks before it gives motion: `answer` is what the player says, after `ms`.
function askingPhone(answer, ms) {
  return (page) => page.evaluateOnNewDocument((said, wait) => {
    window.asked = [];
    window.DeviceOrientationEvent = class extends Event {};
    window.DeviceOrientationEvent.requestPermission = () => {
      window.asked.push(navigator.userActivation.isActive);
      if (!navigator.userActivation.isActive) return Promise.reject(new DOMException('no gesture', 'NotAllowedError'));
      return new Promise((resolve) => setTimeout(() => resolve(said), wait));
    };
    // The wake lock as a phone grants it: only within a gesture.
    window.locks = [];
    Object.defineProperty(navigator, 'wakeLock', { value: { request: async () => {
      if (!navigator.userActivation.isActive) throw new DOMException('not in a gesture', 'NotAllowedError');
      const lock = new EventTarget();
      lock.released = false;
      lock.release = async () => { lock.released = true; lock.dispatchEvent(new Event('release')); };
      window.locks.push(lock);
      return lock;
    } } });
  }, answer, ms);
}

async function touchAt(page, x, y, hold = 0) {
  await page.touchscreen.touchStart(x, y);
  if (hold) {
    await page.touchscreen.touchMove(x, y + 1);
    await new Promise((resolve) => setTimeout(resolve, hold));
  }
  await page.touchscreen.touchEnd();
}

test('motion refused: the page says so once and a finger steers, taps still tap', async () => {
  const { page } = await open('?record', { setUp: askingPhone('denied', 50), touch: true });
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  const box = await page.$eval('#screen', (c) => c.getBoundingClientRect().toJSON());
  await touchAt(page, box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForFunction(() => /inclinación está desactivada/.test(document.getElementById('message').textContent),
                             { timeout: 5000 });
  // The finger held at the left edge, high up: turned left, flat out.
  await touchAt(page, box.x + 10, box.y + box.height * 0.3, 600);
  await page.keyboard.press('F1');
  await page.waitForFunction(() => window.viretaPage?.exitCode !== undefined, { timeout: 20000 });
  const recording = await page.evaluate(() => window.viretaPage.recording);
  const tilts = recording.split('\n').filter((line) => line.startsWith('tilt '));
  assert.ok(tilts.some((line) => { const [, throttle, steer] = line.split(' ').map(Number); return throttle < 44 && steer > 0 && steer < 90; }),
            tilts.join(' / '));
  assert.match(recording, /^tilt 44 0$/m, 'the finger lifted did not level the phone again');
  assert.match(recording, /^tap \d+ \d+$/m);
});

test('permission answered after 6 s: the wake lock was taken in the tap and is still held', async () => {
  const { page } = await open('', { setUp: askingPhone('granted', 6000), touch: true });
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  const box = await page.$eval('#screen', (c) => c.getBoundingClientRect().toJSON());
  await touchAt(page, box.x + box.width / 2, box.y + box.height / 2);
  await new Promise((resolve) => setTimeout(resolve, 6500));
  const state = await page.evaluate(() => ({ asked: window.asked.at(-1), locks: window.locks.map((l) => l.released) }));
  assert.deepEqual(state, { asked: true, locks: [false] });
});

test('two tabs opened together: one plays, the other says so and can try again', async () => {
  const context = await browser.createBrowserContext();
  const pages = await Promise.all([context.newPage(), context.newPage()]);
  opened.push(...pages);
  await Promise.all(pages.map((p) => p.goto(server.url)));
  // Only the tab in front is visible, and a hidden page draws no frames: whichever tab
  // the game did not refuse is brought forward to show that it plays.
  const saysElsewhere = (p) => p.waitForFunction(() => /otra pestaña/.test(document.getElementById('message').textContent),
    { timeout: 60000 }).then(() => p);
  const first = await Promise.any(pages.map(saysElsewhere));
  await pages.find((p) => p !== first).bringToFront();
  const settled = await Promise.all(pages.map((p) => outcome(p, 60000)));
  assert.deepEqual(settled.map((s) => s.playing).sort(), [false, true]);
  const refused = pages[settled.findIndex((s) => !s.playing)];
  const playing = pages[settled.findIndex((s) => s.playing)];
  assert.match(await refused.$eval('#message', (m) => m.textContent), /otra pestaña/);
  await playing.close();
  await refused.bringToFront();
  await refused.click('#message button');
  await refused.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 60000 });
});
