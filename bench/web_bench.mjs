// The page's figures beside the native ones, in one run: a drive's ticks and paints in
// Chromium's WebAssembly and natively, page load to first frame, and the page's size.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launch, native, scratch, serve, web } from '../tests/hosts/web/support.mjs';

const drive = process.argv[2];
const ticks = Number(process.argv[3]);
const work = scratch();
const best = (times) => Math.min(...times);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const nativeMs = [];
for (let i = 0; i < 3; ++i) {
  const start = process.hrtime.bigint();
  execFileSync(native, ['--headless', '--script', drive]);
  nativeMs.push(Number(process.hrtime.bigint() - start) / 1e6);
}

// Native start to first frame: a run that ends as soon as it has shown one.
const firstScript = path.join(work, 'first.txt');
fs.writeFileSync(firstScript, 'shot first\n');
const nativeStarts = [];
for (let i = 0; i < 5; ++i) {
  const start = process.hrtime.bigint();
  execFileSync(native, ['--headless', '--script', firstScript, '--shots', work]);
  nativeStarts.push(Number(process.hrtime.bigint() - start) / 1e6);
}

// The page's folder, and beside it the page's build with the headless host in it.
const server = await serve({
  answer: (name) => (name.startsWith('vireta-bench.') ? { body: fs.readFileSync(path.join(web, name)) } : null),
});
const browser = await launch();
const page = await browser.newPage();
await page.goto(server.url + 'index.html?tilt=keys');
await page.waitForFunction(() => window.viretaPage?.frames > 0);
const script = fs.readFileSync(drive, 'utf8');
// A fresh instance for each run: the program's records live as long as its instance.
await page.addScriptTag({ url: 'vireta-bench.js' });
const pageMs = await page.evaluate(async (text) => {
  const times = [];
  for (let i = 0; i < 3; ++i) {
    const said = [];
    const game = await createViretaBench({ print: (l) => said.push(l), printErr: (l) => said.push(l) });
    game.FS.writeFile('/drive.txt', text);
    const start = performance.now();
    const code = game.ccall('vireta_headless', 'number', ['string'], ['--script\n/drive.txt']);
    times.push(performance.now() - start);
    if (code !== 0) throw new Error('the drive ended with ' + code + ': ' + said.join(' / '));
  }
  return times;
}, script);
await page.close();

const loads = [];
for (let i = 0; i < 5; ++i) {
  const context = await browser.createBrowserContext();
  const fresh = await context.newPage();
  await fresh.goto(server.url);
  loads.push(await fresh.waitForFunction(() => window.viretaPage?.firstAt).then((handle) => handle.jsonValue()));
  await context.close();
}
await browser.close();
server.close();

// What a browser with SIMD fetches: every file of the page but the scalar build.
const files = fs.readdirSync(path.join(web, 'page')).filter((name) => !name.startsWith('vireta-scalar-'));
const gzip = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
const gzipped = files.reduce((sum, file) => sum + gzip(path.join(web, 'page', file)), 0);
const modules = process.env.VIRETA_MODULE_DIR;
const nativeFiles = [native, ...fs.readdirSync(modules).map((name) => path.join(modules, name))];
const nativeGzipped = nativeFiles.reduce((sum, file) => sum + gzip(file), 0);

const perTick = (ms) => (1000 * ms / ticks).toFixed(1);
console.log(`drive of ${ticks} ticks, best of 3: native ${best(nativeMs).toFixed(0)} ms (${perTick(best(nativeMs))} µs a tick), ` +
            `Chromium's WebAssembly ${best(pageMs).toFixed(0)} ms (${perTick(best(pageMs))} µs a tick): ` +
            `${(best(pageMs) / best(nativeMs)).toFixed(2)}x`);
console.log(`page load to first frame, median of 5 fresh loads: ${median(loads).toFixed(0)} ms ` +
            `(${loads.map((ms) => ms.toFixed(0)).join(', ')}); native start to first frame, headless: ` +
            `${median(nativeStarts).toFixed(0)} ms`);
console.log(`the page's files gzip-compressed: ${(gzipped / 1e6).toFixed(2)} MB (${files.length} files); ` +
            `the native program and its modules: ${(nativeGzipped / 1e6).toFixed(2)} MB`);
