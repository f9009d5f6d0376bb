// One way to drive the page in Chromium, Firefox and WebKitGTK, and in an older WPE WebKit
// without wasm SIMD, so that the same test can run in each and skip, by name, what an
// engine cannot show.
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { proxy, session, xServer } from './webdriver.mjs';

const modulesFolder = process.env.VIRETA_WEB_MODULES;
if (!modulesFolder) throw new Error('VIRETA_WEB_MODULES is not set (ctest sets it)');
const puppeteer = createRequire(path.join(modulesFolder, 'node_modules') + '/')('puppeteer-core');

export const engines = ['chromium', 'firefox', 'webkit'];

// Chromium on this machine only: even with the first switches it looks up its makers'
// hosts, so only loopback names may resolve.
export const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
                              '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic',
                              '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE localhost, EXCLUDE 127.0.0.1'];
export const olderEngine = 'wpe';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Browsers left open are ended at exit, and their profiles removed, all the same.
const homes = new Map();  // profile folder -> its browser's process, where puppeteer started it
process.on('exit', () => {
  if (!homes.size) return;
  for (const child of homes.values()) child?.kill('SIGKILL');
  Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 300);  // the killed may still be writing
  [...homes.keys()].forEach(removeHome);
});
function scratch() {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'vireta-browser-'));
  homes.set(home, null);
  return home;
}
function removeHome(home) {
  fs.rmSync(home, { recursive: true, force: true });
  homes.delete(home);
}

async function bounded(promise, ms, what) {
  let timer;
  const late = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer in ${ms} ms`)), ms);
  });
  try {
    return await Promise.race([promise, late]);
  } finally {
    clearTimeout(timer);
  }
}

// In the page: feeds one orientation reading as a script can, where no sensor can be faked.
function dispatchOrientation({ alpha, beta, gamma }) {
  const reading = { alpha: alpha ?? null, beta: beta ?? null, gamma: gamma ?? null };
  let event;
  if (typeof DeviceOrientationEvent === 'function') {
    event = new DeviceOrientationEvent('deviceorientation', { ...reading, absolute: false });
  } else {  // WebKit on a desktop has no such event at all
    event = new Event('deviceorientation');
    for (const [name, value] of Object.entries({ ...reading, absolute: false })) {
      Object.defineProperty(event, name, { value, enumerable: true });
    }
  }
  window.dispatchEvent(event);
  return reading;
}

// In the page: errors and warnings as puppeteer would report them, for engines that report none.
function watchErrors() {
  if (window.__viretaErrors) return;
  const seen = window.__viretaErrors = [];
  for (const level of ['error', 'warn']) {
    const original = console[level];
    console[level] = function (...words) {
      seen.push(words.map(String).join(' '));
      return original.apply(this, words);
    };
  }
  window.addEventListener('error', (event) => {
    seen.push(event.message || `could not load ${event.target?.src || event.target?.href || event.target}`);
  }, true);
  window.addEventListener('unhandledrejection', (event) => {
    seen.push(`unhandled rejection: ${event.reason?.message ?? event.reason}`);
  });
}

const firefoxPrefs = {  // beyond puppeteer's own: nothing may try to leave the machine
  'app.update.auto': false, 'app.normandy.enabled': false, 'app.shield.optoutstudies.enabled': false,
  'browser.region.network.url': '', 'browser.region.update.enabled': false, 'browser.ping-centre.telemetry': false,
  'browser.safebrowsing.downloads.remote.enabled': false, 'browser.safebrowsing.provider.google4.updateURL': '',
  'browser.safebrowsing.provider.mozilla.updateURL': '', 'browser.topsites.contile.enabled': false,
  'captivedetect.canonicalURL': '', 'network.captive-portal-service.enabled': false,
  'network.connectivity-service.enabled': false, 'network.trr.mode': 5, 'network.dns.disablePrefetch': true,
  'network.prefetch-next': false, 'network.predictor.enabled': false, 'network.http.http3.enable': false,
  'toolkit.telemetry.enabled': false, 'toolkit.telemetry.unified': false, 'toolkit.telemetry.server': '',
  'dom.push.connection.enabled': false, 'dom.push.serverURL': '', 'geo.provider.network.url': '',
  'extensions.blocklist.enabled': false, 'media.gmp-gmpopenh264.enabled': false, 'security.OCSP.enabled': 0,
  'security.remote_settings.crlite_filters.enabled': false, 'security.remote_settings.intermediates.enabled': false,
  'services.settings.server': 'data:,#remote-settings-dummy/v1',
};

// A running engine. `can` says what it can show: ratio(r), offline, touch (touch events,
// not a mouse), beforeLoad, trustedOrientation, and pages (how many at once). A page's
// `size` is the viewport it got: WebKitGTK's is at least 334 wide (447 for a second
// window, which keeps its toolbar), WPE's always 800x600.
export async function openBrowser(engine) {
  const home = scratch();
  try {
    if (engine === 'chromium' || engine === 'firefox') return await openPuppeteer(engine, home);
    if (engine === 'webkit' || engine === olderEngine) return await openWebDriver(engine, home);
    throw new Error(`no engine ${engine}`);
  } catch (error) {
    removeHome(home);
    throw error;
  }
}

// Runs fn(...args) in every document the page loads from now on, before the document's own
// scripts; false where the engine cannot.
export function beforeLoad(page, fn, ...args) {
  return page.beforeLoad(fn, ...args);
}

async function openPuppeteer(engine, home) {
  const chromium = engine === 'chromium';
  const browser = await puppeteer.launch({
    browser: chromium ? 'chrome' : 'firefox',
    executablePath: chromium ? '/usr/bin/chromium' : '/usr/bin/firefox-esr',
    headless: true, timeout: 30000, protocolTimeout: 30000,
    userDataDir: path.join(home, 'profile'),
    args: chromium ? chromiumFlags : [],
    extraPrefsFirefox: firefoxPrefs,
    // Firefox's own switch for tests: no connection but to this machine, and its settings
    // server preference obeyed (a release build ignores it otherwise).
    env: { ...process.env, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home, MOZ_CRASHREPORTER_DISABLE: '1',
           ...(chromium ? {} : { MOZ_DISABLE_NONLOCAL_CONNECTIONS: '1' }) },
  });
  homes.set(home, browser.process());
  return {
    engine,
    can: { ratio: (r) => r > 0, offline: true, touch: true, beforeLoad: true, trustedOrientation: chromium,
           pages: Infinity },
    newPage: (options) => puppeteerPage(browser, engine, options),
    async close() {
      await bounded(browser.close(), 10000, `closing ${engine}`).catch(() => browser.process()?.kill('SIGKILL'));
      removeHome(home);
    },
  };
}

async function puppeteerPage(browser, engine, { width = 800, height = 600, ratio = 1, mobile = false,
                                                 touch = false } = {}) {
  const page = await browser.newPage();
  const seen = [];
  page.on('console', (message) => {
    if (['error', 'warn', 'warning'].includes(message.type())) seen.push(message.text());
  });
  page.on('pageerror', (error) => seen.push(error.message));
  page.on('requestfailed', (request) => seen.push(`${request.url()}: ${request.failure()?.errorText}`));
  // A missing file by name: Firefox says nothing of it, Chromium's console line not which.
  page.on('response', (answer) => answer.status() >= 400 && seen.push(`${answer.url()}: ${answer.status()}`));
  await page.setViewport({ width, height, deviceScaleFactor: ratio, isMobile: mobile, hasTouch: touch });
  const sensor = engine === 'chromium' ? await page.createCDPSession() : null;
  let lastSent;
  const load = { waitUntil: 'load', timeout: 30000 };
  return {
    engine,
    size: { width, height, ratio },
    goto: (url) => page.goto(url, load),
    reload: () => page.reload(load),
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    waitFor: (fn, { timeout = 10000 } = {}, ...args) =>
      page.waitForFunction(fn, { timeout, polling: 50 }, ...args).then((handle) => handle.jsonValue()),
    click: (x, y) => (touch ? page.touchscreen.tap(x, y) : page.mouse.click(x, y)),
    async pointer(x, y, kind) {
      if (touch) {
        await (kind === 'down' ? page.touchscreen.touchStart(x, y)
          : kind === 'move' ? page.touchscreen.touchMove(x, y) : page.touchscreen.touchEnd());
      } else {
        await page.mouse.move(x, y);
        if (kind !== 'move') await page.mouse[kind]();
      }
    },
    async key(name, { ctrl = false, shift = false } = {}) {
      if (ctrl) await page.keyboard.down('Control');
      if (shift) await page.keyboard.down('Shift');
      await page.keyboard.press(name);
      if (shift) await page.keyboard.up('Shift');
      if (ctrl) await page.keyboard.up('Control');
    },
    // The reading as the page got it.
    async orientation(reading) {
      if (!sensor) return page.evaluate(dispatchOrientation, reading);
      // The sensor keeps tenths of a degree and fires nothing for the same reading twice: a held
      // tilt is told again with the compass turned a tenth, as a real one is never quite still.
      const tenths = (value) => Math.round(10 * (value ?? 0));
      let sent = { alpha: tenths(reading.alpha) / 10, beta: tenths(reading.beta) / 10,
                   gamma: tenths(reading.gamma) / 10 };
      if (JSON.stringify(sent) === JSON.stringify(lastSent)) {
        sent = { ...sent, alpha: (tenths(sent.alpha) + 1) % 3600 / 10 };
      }
      const count = await page.evaluate(() => {
        if (!window.__viretaTilt) {  // a listener added late is given no reading of its own
          const tilt = window.__viretaTilt = { count: 0 };
          window.addEventListener('deviceorientation', ({ alpha, beta, gamma }) => {
            tilt.count += 1;
            tilt.last = { alpha, beta, gamma };
          });
        }
        return window.__viretaTilt.count;
      });
      await sensor.send('DeviceOrientation.setDeviceOrientationOverride', sent);
      const got = await page.waitForFunction((before) => window.__viretaTilt.count > before && window.__viretaTilt.last,
                                             { timeout: 5000, polling: 20 }, count);
      lastSent = sent;
      return got.jsonValue();
    },
    setOffline: (value) => page.setOfflineMode(value),
    screenshot: (file) => page.screenshot({ path: file }),
    errors: async () => [...seen],
    async beforeLoad(fn, ...args) {
      await page.evaluateOnNewDocument(fn, ...args);
      return true;
    },
    close: () => bounded(page.close(), 10000, `closing a page of ${engine}`),
  };
}

async function openWebDriver(engine, home) {
  const webkit = engine === 'webkit';
  const env = { ...process.env, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home, XDG_DATA_HOME: home };
  // Documents take the scripts of the page that last navigated through us: a page that
  // reloads itself after another has navigated gets that other's.
  let active;
  const network = await proxy(() => [[watchErrors], ...(active?.scripts ?? [])]
    .map(([fn, ...args]) => `(${fn})(...${JSON.stringify(args)});`).join('\n'));
  const x = webkit ? await xServer().catch(async (error) => {
    await network.close();
    throw error;
  }) : null;
  const sessions = new Map();  // WebKitGTK's ratio is its process's GDK_SCALE: one browser for each
  function sessionFor(ratio) {
    if (!sessions.has(ratio)) {
      const started = webkit
        ? session('WebKitWebDriver', {
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {
            binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
            // Full screen hides the toolbar, which would take height and hold the width at 447 or more.
            args: ['--automation', '--full-screen', `--proxy=${network.url}`] } },
        { ...env, DISPLAY: x.display, GDK_SCALE: String(ratio) })
        : session('WPEWebDriver', {
          browserName: 'cog',
          'wpe:browserOptions': {
            binary: '/usr/bin/cog', args: ['--automation', '--platform=headless', `--proxy=${network.url}`] } },
        env);
      sessions.set(ratio, started.then(async (call) => ({
        call, first: await call('GET', '/window'), firstFree: true, current: null, queue: Promise.resolve() })));
    }
    return sessions.get(ratio);
  }
  const can = { ratio: (r) => (webkit ? [1, 2, 3].includes(r) : r === 1), offline: true, touch: false,
                beforeLoad: true, trustedOrientation: false, pages: webkit ? Infinity : 1 };
  const pages = new Set();
  const context = { engine, network, pages, activate: (page) => { active = page; } };
  return {
    engine, can,
    async newPage({ width = 800, height = 600, ratio = 1 } = {}) {
      if (!can.ratio(ratio)) throw new Error(`${engine} cannot show a device pixel ratio of ${ratio}`);
      return webDriverPage(context, await sessionFor(ratio), { width, height, ratio });
    },
    async close() {
      for (const page of pages) await page.close().catch(() => {});
      for (const started of sessions.values()) await (await started.catch(() => null))?.call.end();
      await network.close();
      await x?.end();
      removeHome(home);
    },
  };
}

const webDriverKeys = {
  Enter: '\uE007', Escape: '\uE00C', Tab: '\uE004', Backspace: '\uE003', Delete: '\uE017', Space: ' ',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Home: '\uE011', End: '\uE010',
  PageUp: '\uE00E', PageDown: '\uE00F', Control: '\uE009', Shift: '\uE008',
  ...Object.fromEntries(Array.from({ length: 12 }, (_, i) => [`F${i + 1}`, String.fromCharCode(0xe031 + i)])),
};

async function webDriverPage({ engine, network, pages, activate }, where, size) {
  const { call } = where;
  let handle;
  if (where.firstFree) {  // only the first window opens full screen, so it is used while it can be
    where.firstFree = false;
    handle = where.first;
  } else {
    if (engine === olderEngine) throw new Error(`${engine} shows one page at a time: close the other first`);
    handle = (await call('POST', '/window/new', { type: 'window' })).handle;
  }
  // Commands of two pages of one browser must not interleave, as each picks its window first.
  const inWindow = (work) => {
    const turn = where.queue.then(async () => {
      if (where.current !== handle) await call('POST', '/window', { handle });
      where.current = handle;
      return work();
    });
    where.queue = turn.catch(() => {});
    return turn;
  };
  async function evaluate(fn, ...args) {
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => (${fn}).apply(null, Array.prototype.slice.call(arguments, 0, -1))).then(
        (value) => done({ value: value === undefined ? null : value }),
        (error) => done({ error: String(error?.stack || error) }));`;
    const answer = await inWindow(() => call('POST', '/execute/async', { script, args }));
    if ('error' in answer) throw new Error(`${engine}: ${answer.error}`);
    return answer.value;
  }
  const earlier = [];  // errors of documents already left
  const collect = () => evaluate(() => window.__viretaErrors?.splice(0) ?? [])
    .then((seen) => earlier.push(...seen), () => {});
  const navigate = async (path, body) => {
    await collect();
    activate(page);
    await inWindow(() => call('POST', path, body));
    await evaluate(watchErrors);  // for a document that came without the proxy's script
  };
  const actions = (list) => inWindow(() => call('POST', '/actions', { actions: list }));
  const move = (x, y) => ({ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 });
  const press = (kind) => ({ type: kind === 'down' ? 'pointerDown' : 'pointerUp', button: 0 });
  const pointer = (steps) => actions([{ type: 'pointer', id: 'finger', parameters: { pointerType: 'mouse' },
                                        actions: steps }]);
  const page = {
    engine, size, scripts: [],
    goto: (url) => navigate('/url', { url }),
    reload: () => navigate('/refresh', {}),
    evaluate,
    async waitFor(fn, { timeout = 10000 } = {}, ...args) {
      let last;
      for (const end = Date.now() + timeout; Date.now() < end; await sleep(50)) {
        // A navigation under way fails an evaluation: that is only a no.
        const value = await evaluate(fn, ...args).catch((error) => { last = error; });
        if (value) return value;
      }
      const why = last ? `; last it failed: ${last.message}` : '';
      throw new Error(`${engine}: waited ${timeout} ms for ${String(fn).slice(0, 200)}${why}`);
    },
    click: (x, y) => pointer([move(x, y), press('down'), press('up')]),
    pointer: (x, y, kind) => pointer([move(x, y), ...(kind === 'move' ? [] : [press(kind)])]),
    key(name, { ctrl = false, shift = false } = {}) {
      const value = webDriverKeys[name] ?? name;
      const held = [...(ctrl ? [webDriverKeys.Control] : []), ...(shift ? [webDriverKeys.Shift] : [])];
      return actions([{ type: 'key', id: 'keys', actions: [
        ...held.map((key) => ({ type: 'keyDown', value: key })),
        { type: 'keyDown', value }, { type: 'keyUp', value },
        ...held.reverse().map((key) => ({ type: 'keyUp', value: key }))] }]);
    },
    orientation: (reading) => evaluate(dispatchOrientation, reading),
    setOffline: async (value) => network.setOffline(value),
    async screenshot(file) {
      fs.writeFileSync(file, Buffer.from(await inWindow(() => call('GET', '/screenshot')), 'base64'));
    },
    errors: () => evaluate(() => [...(window.__viretaErrors ?? [])])
      .catch(() => []).then((now) => [...earlier, ...now]),
    async beforeLoad(fn, ...args) {
      page.scripts.push([fn, ...args]);
      return true;
    },
    async close() {
      if (!pages.delete(page)) return;
      if (handle === where.first) {
        await inWindow(() => call('POST', '/url', { url: 'about:blank' })).catch(() => {});
        where.firstFree = true;
      } else {
        await inWindow(() => call('DELETE', '/window')).catch(() => {});
        where.current = null;
      }
    },
  };
  pages.add(page);
  const viewport = () => evaluate(() => [innerWidth, innerHeight]);
  await inWindow(() => call('POST', '/window/rect', { width: size.width, height: size.height }).catch(() => {}));
  const [width, height] = await viewport();
  if (width !== size.width || height !== size.height) {
    // A later WebKitGTK window keeps its toolbar: make room for it, as far as it lets.
    const rect = await inWindow(() => call('GET', '/window/rect'));
    await inWindow(() => call('POST', '/window/rect', { width: rect.width + size.width - width,
                                                      height: rect.height + size.height - height })).catch(() => {});
    const [gotWidth, gotHeight] = await viewport();
    page.size = { width: gotWidth, height: gotHeight, ratio: size.ratio };
  }
  return page;
}
