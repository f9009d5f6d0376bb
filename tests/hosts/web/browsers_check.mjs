// Each engine, through browsers.mjs, on a small page of its own: the pointer, keys and
// tilt land where and as they were sent, errors from the page's first line are seen,
// offline is offline, the viewport and screenshots have the size asked for, and only
// the older engine lacks wasm SIMD.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { beforeLoad, engines, olderEngine, openBrowser } from './browsers.mjs';

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vireta-browsers-'));
fs.writeFileSync(path.join(folder, 'index.html'), `<!doctype html>
<html><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'self'; script-src 'self' 'wasm-unsafe-eval'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<link rel="stylesheet" href="check.css"></head>
<body><button id="button">press</button><img src="missing.png" alt="">
<script src="check.js"></script></body></html>`);
fs.writeFileSync(path.join(folder, 'check.css'), `html, body { margin: 0 }
#button { position: absolute; left: 40px; top: 60px; width: 120px; height: 80px }`);
fs.writeFileSync(path.join(folder, 'check.js'), `
window.seen = { early: window.beforeLoadRan === true, events: [] };
for (const type of ['pointerdown', 'pointerup', 'click', 'keydown', 'deviceorientation']) {
  addEventListener(type, (e) => seen.events.push({ type, trusted: e.isTrusted, target: e.target.id || String(e.target),
    x: e.clientX, y: e.clientY, key: e.key, ctrl: e.ctrlKey, beta: e.beta, gamma: e.gamma }));
}
console.error('check.js says hello');
console.warn('check.js warns');
Promise.reject(new Error('nobody catches this'));`);

let server;
before(async () => {
  server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://here').pathname.slice(1) || 'index.html';
    const type = { html: 'text/html', css: 'text/css', js: 'text/javascript' }[name.split('.').pop()];
    if (!type || !fs.readdirSync(folder).includes(name)) return response.writeHead(404).end();
    response.writeHead(200, { 'content-type': type }).end(fs.readFileSync(path.join(folder, name)));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
});
after(() => {
  server?.close();
  fs.rmSync(folder, { recursive: true, force: true });
});
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const url = () => `http://127.0.0.1:${server.address().port}/`;

// A module of one function giving a v128.const: valid only where wasm has SIMD.
const simd = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 22, 1, 20, 0, 253, 12,
              ...new Array(16).fill(0), 11];

for (const engine of [...engines, olderEngine]) {
  describe(engine, () => {
    let browser;
    before(async () => {
      const start = Date.now();
      browser = await openBrowser(engine);
      const page = await browser.newPage({ width: 360, height: 640 });
      await page.close();  // and so the pages below come after a closed one
      console.log(`${engine}: browser and a first page in ${Date.now() - start} ms`);
    });
    after(() => browser?.close());

    test('pointer, keys and tilt arrive as sent; errors from the first line on are seen', async () => {
      const page = await browser.newPage({ width: 360, height: 640 });
      try {
        const early = await beforeLoad(page, () => { window.beforeLoadRan = true; });
        await page.goto(url());
        assert.deepEqual(await page.evaluate(() => [innerWidth, innerHeight]), [page.size.width, page.size.height]);
        assert.equal(await page.evaluate(() => seen.early), early, 'the script before the page');

        await page.click(100, 100);
        await page.key('a', { ctrl: true });
        await page.key('F2');
        const events = await page.evaluate(() => seen.events.splice(0));
        // Chromium tells a new listener, at once, that it has no sensor: that is not input.
        const clicks = events.filter((event) => ['pointerdown', 'pointerup', 'click'].includes(event.type));
        assert.deepEqual(clicks.map((event) => [event.type, event.target]),
                         [['pointerdown', 'button'], ['pointerup', 'button'], ['click', 'button']]);
        assert.deepEqual([clicks[2].x, clicks[2].y], [100, 100]);
        const keys = events.filter((event) => event.type === 'keydown' && event.key !== 'Control');
        assert.deepEqual(keys.map((event) => [event.key, event.ctrl]), [['a', true], ['F2', false]]);
        assert.ok([...clicks, ...keys].every((event) => event.trusted), 'untrusted input');

        // The same reading twice must reach the page twice: a held tilt is still a tilt.
        for (const reading of [{ alpha: 0, beta: 46, gamma: -20 }, { alpha: 0, beta: 46, gamma: -20 },
                               { alpha: 0, beta: -12.5, gamma: 30 }]) {
          await page.orientation(reading);
          const tilt = await page.waitFor(
            () => seen.events.find((event) => event.type === 'deviceorientation' && event.beta !== null),
            { timeout: 5000 });
          assert.deepEqual([tilt.beta, tilt.gamma], [reading.beta, reading.gamma]);
          assert.equal(tilt.trusted, browser.can.trustedOrientation);
          await page.evaluate(() => { seen.events.length = 0; });
        }

        assert.equal(await page.evaluate((bytes) => WebAssembly.validate(new Uint8Array(bytes)), simd),
                     engine !== olderEngine, 'wasm SIMD');
        let errors = '';  // an unhandled rejection is told when the engine gets round to it
        const told = () => /nobody catches this/.test(errors) && /missing\.png/.test(errors);
        for (const end = Date.now() + 5000; !told() && Date.now() < end; await sleep(100)) {
          errors = (await page.errors()).join('\n');
        }
        assert.match(errors, /check\.js says hello/);
        assert.match(errors, /check\.js warns/);
        assert.match(errors, /nobody catches this/);
        assert.match(errors, /missing\.png/);
      } finally {
        await page.close();
      }
    });

    test('offline, the server cannot be reached; online again, it can', async () => {
      const page = await browser.newPage({ width: 360, height: 640 });
      try {
        await page.goto(url());
        const get = () => page.evaluate(() => fetch('check.css?' + Math.random())
          .then((answer) => answer.status, () => 'failed'));
        await page.setOffline(true);
        assert.equal(await get(), 'failed');
        await page.setOffline(false);
        assert.equal(await get(), 200);
      } finally {
        await page.close();
      }
    });

    test('a screenshot is the viewport in device pixels', async (t) => {
      if (!browser.can.ratio(2)) return t.skip(`${engine} cannot show a device pixel ratio of 2`);
      const page = await browser.newPage({ width: 360, height: 480, ratio: 2 });
      try {
        await page.goto(url());
        assert.deepEqual(await page.evaluate(() => [innerWidth, innerHeight, devicePixelRatio]), [360, 480, 2]);
        const file = path.join(folder, `${engine}.png`);
        await page.screenshot(file);
        const png = fs.readFileSync(file);
        assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [720, 960]);
      } finally {
        await page.close();
      }
    });
  });
}
