// A three-minute session in the page, steered all the while and with the About box
// opened and closed: the page's WebAssembly memory never grows, and its heap in use
// settles once the handset's caches (glyphs, handles, queues) have their size.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { launch, serve } from './support.mjs';

test('three minutes of play leave the memory as it was', { timeout: 300000 }, async () => {
  const server = await serve();
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(server.url + '?tilt=pointer');
    await page.waitForFunction(() => window.viretaPage?.frames > 0);
    const box = await page.$eval('#screen', (canvas) => {
      const r = canvas.getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height };
    });
    const memory = () => page.evaluate(() => ({
      bytes: window.viretaPage.game._vireta_memory_bytes(),
      heap: window.viretaPage.game._vireta_heap_in_use(),
    }));
    const samples = [];
    const start = Date.now();
    for (let second = 0; Date.now() - start < 180000; ++second) {
      // Weave across the road, faster and slower, and look at the About box now and then.
      const x = box.left + box.width * (0.5 + 0.4 * Math.sin(second / 3));
      const y = box.top + box.height * (0.45 + 0.2 * Math.cos(second / 7));
      await page.mouse.move(x, y);
      if (second % 40 === 39) {
        await page.keyboard.down('Control');
        await page.keyboard.press('a');
        await page.keyboard.up('Control');
        await new Promise((resolve) => setTimeout(resolve, 500));
        await page.keyboard.press('Enter');
      }
      if (second % 30 === 0) samples.push({ second, ...(await memory()) });
      await new Promise((resolve) => setTimeout(resolve, 1000));
    }
    samples.push({ second: 180, ...(await memory()) });
    const first = samples[0];
    const settled = samples.find((sample) => sample.second === 90);
    const last = samples[samples.length - 1];
    assert.equal(last.bytes, first.bytes, JSON.stringify(samples));
    // Seen here: about 1 KiB more over the last 90 s, after 45 KiB of caches filled.
    assert.ok(last.heap - settled.heap < 4096, JSON.stringify(samples));
    assert.equal(await page.evaluate(() => window.viretaPage.exitCode), undefined, 'the game ended');
  } finally {
    await browser.close();
    server.close();
  }
});
