// The page on phones' screens: at every device pixel ratio and both ways round, the
// handset's screen covers whole device pixels exactly, nothing shifts once painted, and
// the message never covers the game.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { createRequire } from 'node:module';
import path from 'node:path';
import { launch, serve } from './support.mjs';

const { PNG } = createRequire(path.join(process.env.VIRETA_WEB_MODULES, 'node_modules') + '/')('pngjs');

let server;
before(async () => { server = await serve(); });
after(() => server?.close());

// What a device-pixel screenshot shows where the game is, against the handset's own
// pixels scaled as the page says it scaled them: the first pixel that differs, if any.
// The race goes on meanwhile: a screenshot counts only when no frame came during it.
async function exactness(page) {
  for (let tries = 0; tries < 20; ++tries) {
    const frames = await page.evaluate(() => window.viretaPage.frames);
    const shot = PNG.sync.read(await page.screenshot());
    const still = await page.evaluate((before) => window.viretaPage.frames === before, frames);
    if (still) return compare(page, shot);
  }
  return 'the game never held still for a screenshot';
}

async function compare(page, shot) {
  const { shown, width, pixels } = await page.evaluate(() => {
    const image = window.viretaPage.picture();
    const box = document.getElementById('screen').getBoundingClientRect();
    const place = window.viretaLayout.shown;
    return { shown: { ...place, left: place.left + Math.round(box.left * devicePixelRatio),
                      top: place.top + Math.round(box.top * devicePixelRatio) },
             width: image.width, pixels: Array.from(new Uint32Array(image.data.buffer)) };
  });
  // One device pixel of black all round, then the picture.
  for (let y = -1; y <= shown.height; ++y) {
    for (let x = -1; x <= shown.width; ++x) {
      const [dx, dy] = [shown.left + x, shown.top + y];
      if (dx < 0 || dy < 0 || dx >= shot.width || dy >= shot.height) continue;
      const at = 4 * (dy * shot.width + dx);
      const seen = (shot.data[at] << 16) | (shot.data[at + 1] << 8) | shot.data[at + 2];
      const inside = x >= 0 && y >= 0 && x < shown.width && y < shown.height;
      const word = inside ? pixels[Math.floor(y / shown.scale) * width + Math.floor(x / shown.scale)] : 0;
      const wanted = ((word & 0xff) << 16) | (word & 0xff00) | ((word >> 16) & 0xff);
      if (seen !== wanted) return `(${x},${y}) shows ${seen.toString(16)}, not ${wanted.toString(16)}`;
    }
  }
  return null;
}

const overlap = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;

for (const ratio of [1, 1.75, 2, 2.625, 3]) {
  test(`at a device pixel ratio of ${ratio}`, async () => {
    // The ratio as a phone has it, not emulated: the page's pixels are the device's.
    const browser = await launch({ args: [`--force-device-scale-factor=${ratio}`] });
    try {
      for (const [width, height] of [[390, 844], [844, 390]]) {
        const where = `${width}x${height} at ${ratio}`;
        const page = await browser.newPage();
        await page.setViewport({ width, height, deviceScaleFactor: 0, isMobile: true, hasTouch: true });
        await page.evaluateOnNewDocument(() => {
          window.shifts = 0;
          new PerformanceObserver((list) => {
            for (const entry of list.getEntries()) window.shifts += entry.value;
          }).observe({ type: 'layout-shift', buffered: true });
        });
        await page.goto(server.url + '?tilt=keys');
        await page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });
        assert.equal(await page.evaluate(() => devicePixelRatio), ratio, where);
        assert.equal(await exactness(page), null, where);
        assert.equal(await page.evaluate(() => window.shifts), 0, `${where}: the page shifted`);
        // The end's message beside or below the game, never over it, and the game still exact.
        await page.keyboard.press('F1');
        await page.waitForFunction(() => window.viretaPage.exitCode !== undefined, { timeout: 20000 });
        const boxes = await page.evaluate(() => {
          const screen = document.getElementById('screen').getBoundingClientRect();
          const place = window.viretaLayout.shown;
          const css = screen.width / document.getElementById('screen').width;
          const game = { left: screen.left + place.left * css, top: screen.top + place.top * css };
          Object.assign(game, { right: game.left + place.width * css, bottom: game.top + place.height * css });
          return { game, message: document.getElementById('message').getBoundingClientRect().toJSON(),
                   view: { right: innerWidth, bottom: innerHeight } };
        });
        assert.ok(!overlap(boxes.game, boxes.message), `${where}: ${JSON.stringify(boxes)}`);
        assert.ok(boxes.message.right <= boxes.view.right && boxes.message.bottom <= boxes.view.bottom, where);
        assert.equal(await exactness(page), null, `${where}, with the message`);
        await page.close();
      }
    } finally {
      await browser.close();
    }
  });
}
