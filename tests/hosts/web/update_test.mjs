// A new build reaching players of the page: build A as built, build B assembled beside it
// from the page's sources with one harmless change, both served in turn at one address
// by a careless host (max-age on everything). A page runs one build whole, the worker
// keeps only the build's bytes, and a half-deployed build never takes over.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { launch, scratch, watch, web } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const sources = path.join(here, '../../../hosts/web');
const work = scratch();

const hash = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

// A page folder as the test knows it: its stamp and every kept file's hash.
function build(dir) {
  const worker = fs.readFileSync(path.join(dir, 'service-worker.js'), 'utf8');
  const stamp = /const BUILD = '([0-9a-f]+)'/.exec(worker)[1];
  const files = {};
  for (const name of fs.readdirSync(dir)) {
    if (name !== 'service-worker.js') files[name] = hash(fs.readFileSync(path.join(dir, name)));
  }
  return { dir, stamp, files, bytes: (name) => fs.readFileSync(path.join(dir, name)) };
}

let A;
let B;
before(() => {
  // A copy of the real build, which a rebuild running beside the test cannot change.
  fs.cpSync(path.join(web, 'page'), path.join(work, 'A'), { recursive: true });
  A = build(path.join(work, 'A'));
  const copy = path.join(work, 'sources');
  fs.cpSync(path.join(sources, 'page'), copy, { recursive: true });
  fs.appendFileSync(path.join(copy, 'vireta.css'), '/* build B */\n');
  const names = ['index.html', 'vireta-page.js', 'page-layout.js', 'page-address.js', 'page-drive.js', 'vireta.css',
                 'manifest.webmanifest', 'service-worker.js'];
  const games = ['vireta.js', 'vireta.wasm', 'scalar/vireta.js', 'scalar/vireta.wasm'];
  const icons = [48, 192, 512].map((size) => path.join(web, 'icons', `vireta-${size}.png`));
  const made = spawnSync('cmake', [
    `-DSOURCES=${names.map((name) => path.join(copy, name)).join(';')}`,
    `-DGAMES=${games.map((name) => path.join(web, name)).join(';')}`,
    `-DICONS=${icons.join(';')}`, `-DOUT=${path.join(work, 'B')}`, `-DSTAMP=${path.join(work, 'B.stamp')}`,
    '-P', path.join(sources, 'assemble_page.cmake')], { encoding: 'utf8', timeout: 60000 });
  assert.equal(made.status, 0, made.stderr);
  B = build(path.join(work, 'B'));
  assert.notEqual(A.stamp, B.stamp);
});
after(() => fs.rmSync(work, { recursive: true, force: true }));

const types = { '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// One address serving whichever build is deployed, with `answers` in place of some of its
// files, or nothing at all while it is down.
async function host() {
  const state = { build: A, answers: new Map(), down: false };
  const server = http.createServer((request, response) => {
    if (state.down) {
      request.socket.destroy();
      return;
    }
    let name = decodeURIComponent(new URL(request.url, 'http://here').pathname).slice(1);
    if (name === '') name = 'index.html';
    const body = state.answers.get(name) ??
      (Object.hasOwn(state.build.files, name) || name === 'service-worker.js' ? state.build.bytes(name) : null);
    if (!body) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'content-type': types[path.extname(name)] || 'application/octet-stream',
                              'cache-control': 'max-age=3600' }).end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(state, {
    url: `http://127.0.0.1:${server.address().port}/`,
    close() {
      server.closeAllConnections();
      server.close();
    },
  });
}

// A browser of its own (nothing kept from another test) on a host of its own, both closed
// whatever happens.
async function session(body) {
  const server = await host();
  const browser = await launch();
  try {
    const page = await browser.newPage();
    const seen = watch(page);
    await body({ server, page, seen });
  } finally {
    await browser.close();
    server.close();
  }
}

const playing = (page) => page.waitForFunction(() => window.viretaPage?.frames > 0, { timeout: 20000 });

async function visit(page, url) {
  await page.goto(url, { timeout: 20000 });
  await playing(page);
}

// Until the page is in the hands of an activated worker with nothing newer on its way.
async function controlled(page) {
  await page.waitForFunction(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    return navigator.serviceWorker.controller?.state === 'activated' && !registration.installing &&
      !registration.waiting;
  }, { timeout: 15000, polling: 100 });
}

// Until `check` returns true, for at most `ms`; false if it never does.
async function until(check, ms) {
  const end = Date.now() + ms;
  do {
    if (await check()) return true;
    await new Promise((resolve) => setTimeout(resolve, 100));
  } while (Date.now() < end);
  return false;
}

// The worker's caches and, for each kept file, its name and the hash of its bytes. Not
// while a worker is activating: opening a cache it is deleting would make it anew.
function kept(page) {
  return page.evaluate(async () => {
    const hex = async (response) => Array.from(
      new Uint8Array(await crypto.subtle.digest('SHA-256', await response.arrayBuffer())),
      (byte) => byte.toString(16).padStart(2, '0')).join('');
    const names = await caches.keys();
    const files = {};
    for (const name of names) {
      const cache = await caches.open(name);
      for (const request of await cache.keys()) {
        files[name + ':' + new URL(request.url).pathname.slice(1)] = await hex(await cache.match(request));
      }
    }
    return { names, files };
  });
}

function keeps(found, build) {
  assert.deepEqual(found.names, ['vireta-' + build.stamp]);
  const expected = Object.fromEntries(Object.entries(build.files).map(([name, sum]) => [`vireta-${build.stamp}:${name}`, sum]));
  assert.deepEqual(found.files, expected);
}
const keepsWhole = async (page, build) => {
  try {
    keeps(await kept(page), build);
    return true;
  } catch (error) {
    return false;
  }
};

// Every script, style and WebAssembly file the page named or fetched is one of `build`'s,
// and the game it plays came from it.
async function runsWhole(page, build) {
  const { fetched, named, simd } = await page.evaluate(() => {
    const name = (url) => new URL(url).pathname.slice(1);
    return {
      fetched: performance.getEntriesByType('resource').map((entry) => name(entry.name))
        .filter((file) => /\.(js|wasm|css)$/.test(file)),
      named: [...document.querySelectorAll('script, link[rel=stylesheet]')].map((tag) => name(tag.src || tag.href)),
      simd: window.viretaPage.simd,
    };
  });
  const game = (simd ? 'vireta-' : 'vireta-scalar-') + build.stamp;
  for (const file of [`vireta-page-${build.stamp}.js`, game + '.js', game + '.wasm']) {
    assert.ok(fetched.includes(file), `${file} was not loaded: ${fetched}`);
  }
  for (const file of [...fetched, ...named]) {
    assert.ok(Object.hasOwn(build.files, file) && file.includes(build.stamp), `${file} is not of ${build.stamp}`);
  }
}

test('the next visit after a deployment runs the new build whole, and its worker takes over with only its own files',
     { timeout: 60000 }, async () => {
  await session(async ({ server, page, seen }) => {
    await visit(page, server.url);
    await controlled(page);
    keeps(await kept(page), A);

    server.build = B;
    await visit(page, server.url);
    await runsWhole(page, B);
    // The browser looks for a new worker some seconds after a navigation, later when busy.
    assert.ok(await until(() => page.evaluate(async (mine) => (await caches.keys()).join() === mine, 'vireta-' + B.stamp),
                          30000), "B's worker never took over");
    await controlled(page);
    keeps(await kept(page), B);
    assert.deepEqual(seen.errors, []);

    // B's worker alone now plays B.
    server.down = true;
    await page.reload({ timeout: 20000 });
    await playing(page);
    await runsWhole(page, B);
    assert.deepEqual(seen.errors, []);
  });
});

test('a page playing when the new build takes over plays on, and its next run is the new build loaded whole',
     { timeout: 60000 }, async (t) => {
  for (const visited of [false, true]) {
    await t.test(visited ? 'opened under the old worker' : 'opened on a first visit', async () => {
      await session(async ({ server, page, seen }) => {
        await visit(page, server.url);
        await controlled(page);
        if (visited) await visit(page, server.url);
        await page.evaluate(() => { window.before = window.viretaPage; });

        server.build = B;
        const taken = await page.evaluate(async () => {
          const registration = await navigator.serviceWorker.getRegistration();
          const change = new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
          registration.update().catch(() => {});
          return Promise.race([change.then(() => true), new Promise((resolve) => setTimeout(resolve, 15000, false))]);
        });
        assert.ok(taken, "B's worker did not take the page");
        const frames = await page.evaluate(() => window.viretaPage.frames);
        await page.keyboard.press('ArrowUp');
        await page.waitForFunction((then) => window.viretaPage.frames > then, { timeout: 5000 }, frames);
        assert.equal(await page.evaluate(() => window.viretaPage === window.before), true, 'the run was replaced');

        await page.keyboard.press('F1');  // Aceptar: the game ends
        await page.waitForFunction(() => window.viretaPage.exitCode !== undefined, { timeout: 10000 });
        assert.match(await page.$eval('#message', (message) => message.textContent), /Toca la pantalla/);
        const box = await page.$eval('#screen', (canvas) => {
          const r = canvas.getBoundingClientRect();
          return { x: r.left + r.width / 2, y: r.top + r.height / 4 };
        });
        await page.mouse.click(box.x, box.y);
        await page.waitForFunction(() => window.viretaPage !== window.before && window.viretaPage?.frames > 0,
                                   { timeout: 20000 });
        assert.equal(await page.evaluate(() => 'before' in window), false, 'the next run started in place, not reloaded');
        await runsWhole(page, B);
        assert.equal(await page.evaluate(() => window.viretaPage.failure), undefined);
        assert.deepEqual(seen.errors, []);
      });
    });
  }
});

test('a kept file that is no longer the build\'s is never served: offline the page says so, online the worker mends it',
     { timeout: 60000 }, async () => {
  await session(async ({ server, page }) => {
    await visit(page, server.url);
    await controlled(page);
    const script = Buffer.from('window.tampered = true;\n');
    const tampered = {
      [`vireta-page-${A.stamp}.js`]: script,
      [`vireta-${A.stamp}.js`]: script,
      // Another game that would play, only not the one this build names.
      [`vireta-${A.stamp}.wasm`]: A.bytes(`vireta-scalar-${A.stamp}.wasm`),
      'index.html': Buffer.from('<!doctype html><title>tampered</title><script src="tampered.js"></script>\n'),
    };
    const tamper = (name) => page.evaluate(async (cache, file, base64, type) => {
      const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
      await (await caches.open(cache)).put(file, new Response(bytes, { headers: { 'content-type': type } }));
    }, 'vireta-' + A.stamp, name, tampered[name].toString('base64'), types[path.extname(name)]);

    for (const name of Object.keys(tampered)) {
      server.down = true;
      await tamper(name);
      const served = await page.evaluate(async (file) => {
        try {
          const answer = await fetch(file);
          if (!answer.ok) return null;
          const digest = await crypto.subtle.digest('SHA-256', await answer.arrayBuffer());
          return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
        } catch (error) {
          return null;
        }
      }, name);
      assert.ok(served === null || served === A.files[name], `${name}: the worker served other bytes`);

      await tamper(name);
      await page.reload({ timeout: 15000 }).catch(() => {});
      // Offline the right bytes are nowhere: the worker says so before the page can stop
      // half-loaded.
      const verdict = await page.waitForFunction(() => {
        if (window.tampered || document.title === 'tampered') return 'ran the tampered file';
        if (window.viretaPage?.frames > 0) return 'played';
        const words = document.body?.innerText ?? '';
        if (document.querySelector('#message button')?.textContent === 'Reintentar') return 'the game failed: ' + words;
        if (!document.getElementById('screen') && /dañad/.test(words)) return 'told';
        return false;
      }, { timeout: 10000, polling: 100 }).then((answer) => answer.jsonValue(), () => 'neither played nor said why');
      assert.equal(verdict, 'told', `${name}, offline`);

      server.down = false;
      await page.reload({ timeout: 15000 });
      await playing(page);
      await runsWhole(page, A);
      assert.ok(await until(() => keepsWhole(page, A), 5000), `${name} was not kept again once the network was back`);
      server.down = true;
      await page.reload({ timeout: 15000 }).catch(() => {});
      await playing(page);
      await runsWhole(page, A);
      server.down = false;
    }
  });
});

test('a host answering with a mix of builds does not get the new worker installed, and the old build still plays offline',
     { timeout: 60000 }, async () => {
  await session(async ({ server, page, seen }) => {
    await visit(page, server.url);
    await controlled(page);
    const mixes = {
      "A's index.html beside B's worker": ['index.html', A.bytes('index.html')],
      "A's page script under B's name": [`vireta-page-${B.stamp}.js`, A.bytes(`vireta-page-${A.stamp}.js`)],
      "B's game cut short": [`vireta-${B.stamp}.wasm`, B.bytes(`vireta-${B.stamp}.wasm`).subarray(0, 500000)],
    };
    for (const [mix, [name, bytes]] of Object.entries(mixes)) {
      server.build = B;
      server.answers = new Map([[name, bytes]]);
      const outcome = await page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        const found = new Promise((resolve) => {
          registration.addEventListener('updatefound', () => {
            const worker = registration.installing;
            worker.addEventListener('statechange', () => {
              if (worker.state !== 'installing') resolve(worker.state);
            });
          }, { once: true });
        });
        registration.update().catch(() => {});
        return Promise.race([found, new Promise((resolve) => setTimeout(resolve, 15000, 'no answer'))]);
      });
      assert.equal(outcome, 'redundant', mix);
      keeps(await kept(page), A);
    }
    server.down = true;
    await page.reload({ timeout: 20000 });
    await playing(page);
    await runsWhole(page, A);
    assert.deepEqual(seen.errors, []);
  });
});
