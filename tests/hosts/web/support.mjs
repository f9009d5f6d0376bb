// What the web tests share: the page's files served on loopback, Debian's Chromium, the
// native program beside the WebAssembly one, and PNG pictures as pixels.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe } from 'node:test';
import { chromiumFlags, engines, openBrowser } from './browsers.mjs';

function need(name) {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set (ctest sets it)`);
  return value;
}

export const native = need('VIRETA');          // the native program
export const web = need('VIRETA_WEB');         // the WebAssembly build's folder
const modules = createRequire(path.join(need('VIRETA_WEB_MODULES'), 'node_modules') + '/');
const puppeteer = modules('puppeteer-core');
const { PNG } = modules('pngjs');

export function scratch() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'vireta-web-'));
}

// Runs the native program or the node one with `args`; what it wrote and how it ended.
export function run(which, args) {
  const [command, before] = which === 'native' ? [native, []]
    : [process.execPath, ['--no-experimental-fetch', path.join(web, 'vireta-headless.js')]];
  const result = spawnSync(command, [...before, ...args], { encoding: 'utf8', timeout: 120000 });
  if (result.error) throw result.error;
  return { code: result.status, out: result.stdout, err: result.stderr };
}

// A picture as 0xRRGGBB values, top row first.
export function readPng(file) {
  const png = PNG.sync.read(fs.readFileSync(file));
  const pixels = new Uint32Array(png.width * png.height);
  for (let i = 0; i < pixels.length; ++i) {
    pixels[i] = (png.data[4 * i] << 16) | (png.data[4 * i + 1] << 8) | png.data[4 * i + 2];
  }
  return { width: png.width, height: png.height, pixels };
}

// How two pictures differ: null when they are the same, else the count and the first few.
export function difference(a, b) {
  if (a.width !== b.width || a.height !== b.height) return `${a.width}x${a.height} against ${b.width}x${b.height}`;
  const first = [];
  let count = 0;
  for (let i = 0; i < a.pixels.length; ++i) {
    if (a.pixels[i] !== b.pixels[i]) {
      if (first.length < 5) {
        first.push(`(${i % a.width},${Math.floor(i / a.width)}) ${a.pixels[i].toString(16)} vs ${b.pixels[i].toString(16)}`);
      }
      ++count;
    }
  }
  return count === 0 ? null : `${count} pixels differ, first ${first.join(', ')}`;
}

const types = { '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
                '.webmanifest': 'application/manifest+json' };

// Serves the build's page folder on 127.0.0.1 (a secure origin, as device orientation needs).
// `answer(name)` may answer a file otherwise: {status, body} or nothing.
export async function serve({ answer = () => null } = {}) {
  const root = fs.realpathSync(path.join(web, 'page'));
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://here').pathname);
    const other = answer(name.slice(1));
    if (other) {
      response.writeHead(other.status ?? 200, { 'content-type': types[path.extname(name)] || 'text/plain' })
        .end(other.body ?? '');
      return;
    }
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, data) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'content-type': types[path.extname(file)] || 'application/octet-stream' }).end(data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

export async function launch({ args = [] } = {}) {
  const home = scratch();
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(home, 'profile'),
    args: [...chromiumFlags, ...args],
    env: { ...process.env, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home },
  });
  return browser;
}

// Every console message and page error of `page`, kept for the test to look at.
export function watch(page) {
  const seen = { errors: [], lines: [] };
  page.on('console', (message) => {
    (['error', 'warning', 'warn'].includes(message.type()) ? seen.errors : seen.lines).push(message.text());
  });
  page.on('pageerror', (error) => seen.errors.push(error.message));
  page.on('requestfailed', (request) => seen.errors.push(`${request.url()}: ${request.failure()?.errorText}`));
  return seen;
}

// The canvas as a picture; with `first`, the first frame the page showed.
export async function canvasPicture(page, first = false) {
  const { width, height, data } = await page.evaluate((firstFrame) => {
    const image = firstFrame ? window.viretaPage.first : window.viretaPage.picture();
    let text = '';
    for (let i = 0; i < image.data.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, image.data.subarray(i, i + 0x8000));
    }
    return { width: image.width, height: image.height, data: btoa(text) };
  }, first);
  const bytes = Buffer.from(data, 'base64');
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i) pixels[i] = (bytes[4 * i] << 16) | (bytes[4 * i + 1] << 8) | bytes[4 * i + 2];
  return { width, height, pixels };
}

// A point of the handset's screen `x`, `y` in the page's CSS pixels, where the page shows it.
export function screenPoint(page, x, y) {
  return page.evaluate((sx, sy) => {
    const canvas = document.getElementById('screen');
    const box = canvas.getBoundingClientRect();
    const shown = window.viretaLayout.shown;
    const css = box.width / canvas.width;
    return { x: box.left + (shown.left + (sx + 0.5) * shown.scale) * css,
             y: box.top + (shown.top + (sy + 0.5) * shown.scale) * css };
  }, x, y);
}

// Waits until the canvas shows `picture`; the difference if it never does.
export async function shows(page, picture, timeout = 5000) {
  const end = Date.now() + timeout;
  let last;
  do {
    last = difference(await canvasPicture(page), picture);
    if (last === null) return null;
    await new Promise((resolve) => setTimeout(resolve, 100));
  } while (Date.now() < end);
  return last;
}

// The tests `body` declares, once in each engine, each time with a page server and that
// engine's browser open around them; `open(address)` gives a new page of the phone's size
// at that address of the server's.
export function inEachEngine(body) {
  for (const engine of engines) {
    describe(engine, () => {
      const context = { engine };
      before(async () => {
        context.server = await serve();
        context.browser = await openBrowser(engine);
      });
      after(async () => {
        await context.browser?.close();
        context.server?.close();
      });
      context.open = async (address) => {
        const page = await context.browser.newPage({ width: 480, height: 720 });
        await page.goto(context.server.url + address);
        return page;
      };
      body(context);
    });
  }
}
