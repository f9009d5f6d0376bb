// The page's clock: a tap answers at once whatever the handset's clock reads, the clock
// stands still while the page is hidden, and catching up after a stall never freezes
// the page.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { launch, readPng, run, scratch, screenPoint, serve, shows } from './support.mjs';

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

// performance.now() as the page sees it, moved on by window.skip: time passing at once.
const skippableClock = () => {
  const now = performance.now.bind(performance);
  window.skip = 0;
  performance.now = () => now() + window.skip;
};

async function open(query) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 480, height: 720 });
  await page.evaluateOnNewDocument(skippableClock);
  await page.goto(server.url + query);
  await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
  return { page, close: () => context.close() };
}

async function tapScreen(page, x, y) {
  const at = await screenPoint(page, x, y);
  await page.mouse.click(at.x, at.y);
}

test('near the wraps of the tick count, a tap answers at once', async () => {
  for (const clock of ['2147483000', '3000000000', '4294967000']) {
    const script = path.join(work, `menu-${clock}.txt`);
    fs.writeFileSync(script, 'wait 100\ntap 360 614\nwait 100\nshot menu\n');
    const native = run('native', ['--headless', '--script', script, '--shots', work, '--clock', clock]);
    assert.equal(native.code, 0, native.err);
    const menu = readPng(path.join(work, 'menu.png'));
    const { page, close } = await open(`?clock=${clock}&tilt=keys`);
    try {
      await tapScreen(page, 360, 614);  // AYUDA
      assert.equal(await shows(page, menu, 2000), null, `clock ${clock}: the menu never came`);
    } finally {
      await close();
    }
  }
});

test('a page hidden for a minute resumes where it stopped', async () => {
  const { page, close } = await open('?record&tilt=keys');
  try {
    await new Promise((resolve) => setTimeout(resolve, 500));
    // The page hidden, a minute passing, the page shown again.
    await page.evaluate(() => {
      Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
      Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
      document.dispatchEvent(new Event('visibilitychange'));
      window.skip += 60000;
    });
    await new Promise((resolve) => setTimeout(resolve, 300));
    await page.evaluate(() => {
      delete document.hidden;
      delete document.visibilityState;
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await new Promise((resolve) => setTimeout(resolve, 500));
    await page.keyboard.press('F1');
    await page.waitForFunction(() => window.viretaPage.exitCode !== undefined, { timeout: 20000 });
    const recording = await page.evaluate(() => window.viretaPage.recording);
    const [, ms, ticks] = /^# session ended at (\d+) ms after (\d+) ticks(?:;.*)?$/m.exec(recording).map(Number);
    // About 1.3 s of play: the hidden minute is not in it.
    assert.ok(ms < 10000, `the session lasted ${ms} ms`);
    assert.ok(ticks < 200, `${ticks} ticks`);
  } finally {
    await close();
  }
});

test('catching up after an hour-long stall leaves the page answering', async () => {
  const { page, close } = await open('?tilt=keys');
  try {
    const gaps = await page.evaluate(async () => {
      const seen = [];
      const timer = setInterval(() => seen.push(performance.now() - window.skip), 10);
      window.skip += 3600000;
      const caughtUp = window.viretaPage.frames;
      await new Promise((resolve) => setTimeout(resolve, 3000));
      clearInterval(timer);
      const longest = seen.length < 2 ? 3000 : Math.max(...seen.slice(1).map((at, i) => at - seen[i]));
      return { longest, frames: window.viretaPage.frames - caughtUp };
    });
    // Without turns for the browser, the catch-up holds it for seconds.
    assert.ok(gaps.longest < 500, `the page froze for ${gaps.longest.toFixed(0)} ms`);
    assert.ok(gaps.frames > 0, 'no frame came while catching up');
  } finally {
    await close();
  }
});
