// Drives shared by link, in the three engines: a drive the page records replays natively
// as made; a link plays in the page to the laps the native host counts, and a tampered
// one to its own; a long drive's link stays short; a link too long, an inflating bomb and
// a bad line are each refused in one line, and nothing of a link becomes markup.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import zlib from 'node:zlib';
import { inEachEngine, run, scratch } from './support.mjs';

const work = scratch();
const drives = process.env.VIRETA_DRIVES;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const version = run('native', ['--version']).out.trim();

// The page's choice: deflate-raw, in base64url.
const linkData = (text) => zlib.deflateRawSync(Buffer.from(text)).toString('base64url');
const driveOf = (link) => zlib.inflateRawSync(Buffer.from(link.split('#drive=')[1], 'base64url')).toString();

function file(name, text) {
  const where = path.join(work, name);
  fs.writeFileSync(where, text);
  return where;
}

// The native host's laps for `text`: each lap's time and the best.
function nativeLaps(text) {
  const ran = run('native', ['--headless', '--script', file('laps.txt', text), '--laps']);
  assert.equal(ran.code, 0, ran.err);
  const times = [...ran.out.matchAll(/^lap \d+: (\S+)$/gm)].map((found) => found[1]);
  return { times, best: /^best lap: (\S+)$/m.exec(ran.out)?.[1] };
}

// A drive as the page records it: its header, then the drive, then a note of laps it
// claims (which nobody may take for verified).
const claimed = '# session ended at 180000 ms after 3600 ticks; laps 10.00 10.00, best 10.00\n';
const wide = `# recording: ${version}: --screen 480x640 --clock 0\n` +
  fs.readFileSync(path.join(drives, 'wide_full_throttle.txt'), 'utf8') + claimed;
// One line changed: the first bend taken the other way.
const lines = wide.split('\n');
const bend = lines.indexOf('tilt 0 335');
const tampered = [...lines.slice(0, bend), 'tilt 0 20', ...lines.slice(bend + 1)].join('\n');

// `minutes` of a drive whose tilt changes every tick (50 ms): steering through bends with
// a hand's tremor, the throttle eased in and out.
function continuousDrive(minutes) {
  let seed = 12345;
  const random = () => {
    seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0;
    return seed / 2 ** 32;
  };
  const out = [`# recording: ${version}: --screen 480x640 --clock 0`, 'wait 1000'];
  let last = '';
  for (let tick = 0; tick < minutes * 60 * 20; ++tick) {
    const bendAngle = 25 * Math.sin(tick / 90) + 10 * Math.sin(tick / 23);
    const steer = Math.round(bendAngle + (random() - 0.5) * 3);
    const throttle = Math.round(40 + 6 * Math.sin(tick / 140) + (random() - 0.5) * 2);
    let tilt = `tilt ${throttle} ${(steer + 360) % 360}`;
    if (tilt === last) tilt = `tilt ${throttle + 1} ${(steer + 360) % 360}`;
    out.push('wait 50', tilt);
    last = tilt;
  }
  return out.join('\n') + '\n';
}

// The page's words, a line each, once `ready` holds in the page.
const said = (page, timeout = 20000) => page.waitFor(() => {
  const words = [...document.querySelectorAll('#message p')].map((p) => p.textContent);
  return words.length > 0 && !/^(Cargando|Viendo)/.test(words[0]) && words;
}, { timeout });

inEachEngine((context) => {
  const { open } = context;
  test('a drive recorded at 240x320 replays natively with no option, and its link carries it whole', async () => {
    const page = await open('?screen=240x320&record&tilt=motion');
    try {
      await page.waitFor(() => window.viretaPage?.frames > 0, { timeout: 30000 });
      await page.orientation({ alpha: 0, beta: 46, gamma: -20 });
      await sleep(400);
      await page.orientation({ alpha: 0, beta: 46, gamma: 20 });
      await sleep(400);
      await page.key('F1');
      const recording = await page.waitFor(() => window.viretaPage?.exitCode !== undefined &&
        document.getElementById('share') && window.viretaPage.recording, { timeout: 20000 });
      assert.match(recording, /^# recording: .*: --screen 240x320 --clock 0\n/);
      const ticks = Number(/^# session ended at \d+ ms after (\d+) ticks/m.exec(recording)?.[1]);
      const traces = [[], ['--screen', '240x320']].map((options) => {
        const trace = path.join(work, 'recorded.jsonl');
        const ran = run('native', ['--headless', '--script', file('recorded.txt', recording), '--trace', trace,
                                   ...options]);
        assert.equal(ran.code, 0, ran.err);
        return fs.readFileSync(trace, 'utf8');
      });
      assert.ok(traces[0] === traces[1], 'the replay with no option is not the one at 240x320');
      const states = traces[0].split('\n').filter((line) => line.includes('"ev":"tick"')).map(JSON.parse);
      assert.equal(states.length, ticks);
      assert.ok(states.length > 0 && states.every((state) => state.clientWidth === states[0].clientWidth &&
                                                    state.clientHeight === states[0].clientHeight));
      assert.deepEqual([states[0].clientWidth, states[0].clientHeight], [240, 268]);
      // Compartir hands the browser's share sheet the link, which carries the drive whole.
      await page.evaluate(() => {
        navigator.share = (data) => {
          window.sharedData = data;
          return Promise.resolve();
        };
      });
      const box = await page.evaluate(() => {
        const at = document.getElementById('share').getBoundingClientRect();
        return { x: at.left + at.width / 2, y: at.top + at.height / 2 };
      });
      await page.click(box.x, box.y);
      const shared = await page.waitFor(() => window.sharedData && [window.sharedData.url,
                                                                    document.getElementById('shared').textContent]);
      assert.equal(shared[1], 'Enlace compartido.');
      assert.ok(shared[0].startsWith(context.server.url + '#drive='), shared[0].slice(0, 80));
      assert.equal(driveOf(shared[0]), recording);
      assert.deepEqual(await page.errors(), []);
    } finally {
      await page.close();
    }
  });

  test('a shared link plays to the native laps; a tampered one to its own, never to those it claims', async () => {
    for (const [what, text] of [['the drive', wide], ['the tampered drive', tampered]]) {
      const laps = nativeLaps(text);
      assert.equal(laps.times.length, 6, `${what} closes six laps natively`);
      const page = await open(`?speed=64#drive=${linkData(text)}`);
      try {
        const words = await said(page, 180000);
        assert.deepEqual(words, [`Récord verificado: ${laps.best}`, `Vueltas: ${laps.times.join(' · ')}`,
                                 'Toca la pantalla o pulsa Intro para jugar.'], what);
        assert.equal(await page.evaluate(() => location.hash), '', `${what} stays in the address`);
        assert.deepEqual(await page.errors(), [], what);
      } finally {
        await page.close();
      }
    }
    assert.notDeepEqual(nativeLaps(tampered), nativeLaps(wide), 'the tampering changed nothing');
  });

  test('a drive is watched at its own pace, and eight times faster at a tap', async () => {
    const header = `# recording: ${version}: --screen 480x640 --clock 0\n`;
    const slow = await open(`#drive=${linkData(header + 'wait 4000\n')}`);
    try {
      const from = await slow.waitFor(() => document.getElementById('pace') && performance.now());
      assert.deepEqual(await said(slow), ['Recorrido visto: no completa ninguna vuelta.',
                                          'Toca la pantalla o pulsa Intro para jugar.']);
      const took = await slow.evaluate((start) => performance.now() - start, from);
      assert.ok(took > 3000, `four seconds of a drive went by in ${Math.round(took)} ms`);
    } finally {
      await slow.close();
    }
    // A minute of a drive, at eight times its pace once the button is pressed.
    const fast = await open(`#drive=${linkData(header + 'wait 60000\n')}`);
    try {
      const box = await fast.waitFor(() => {
        const at = document.getElementById('pace')?.getBoundingClientRect();
        return at && { x: at.left + at.width / 2, y: at.top + at.height / 2 };
      });
      await fast.click(box.x, box.y);
      assert.equal(await fast.evaluate(() => [window.viretaPage.speed, document.getElementById('pace').textContent]
        .join(' ')), '8 Verlo a su ritmo');
      assert.equal((await said(fast, 45000))[0], 'Recorrido visto: no completa ninguna vuelta.');
    } finally {
      await fast.close();
    }
  });

  test('a link too long, an inflating bomb and a bad line are each refused in one line', async () => {
    const bomb = zlib.deflateRawSync(Buffer.alloc(16 << 20, 0x20)).toString('base64url');
    const cases = [
      ['a link too long', 'A'.repeat(65537),
       'El enlace es demasiado largo: su recorrido ocupa 65537 caracteres y caben 65536.'],
      ['an inflating bomb', bomb, 'El recorrido del enlace pasa de 4 MiB al descomprimirlo: no se abre.'],
      ['not base64url', '<img src=x onerror="window.injected=1">',
       'El enlace está dañado: su recorrido no está en base64url.'],
      ['not deflated', Buffer.from('tilt 40 0\n').toString('base64url'),
       'El enlace está dañado: su recorrido no se puede descomprimir.'],
      ['a bad line', linkData(`# recording: ${version}: --screen 480x640 --clock 0\nwait 100\ntilt 40\n`),
       'El recorrido no se pudo ver: vireta: drive:3: tilt needs two numbers 0..4294967295 (throttle, steer)'],
      ['a tap off its screen', linkData(`# recording: ${version}: --screen 240x320 --clock 0\ntap 300 10\n`),
       'El recorrido no se pudo ver: vireta: drive:2: tap 300 10 is off the 240x320 screen'],
    ];
    for (const [what, data, line] of cases) {
      const page = await open(`#drive=${data}`);
      try {
        const words = await said(page);
        assert.equal(words.length, 2, `${what}: ${words.join(' | ')}`);
        assert.ok(words[0].startsWith(line), `${what}: ${words[0]}`);
        assert.deepEqual(await page.evaluate(() => [window.injected ?? null,
                                                    document.querySelectorAll('#message *').length]), [null, 2]);
      } finally {
        await page.close();
      }
    }
  });

  test("a ten-minute drive by continuous tilt makes a link under 32 KB, by the page's own deflate", async () => {
    for (const [minutes, most] of [[3, 16384], [10, 32768]]) {
      const text = continuousDrive(minutes);
      const page = await open('');
      try {
        await page.waitFor(() => window.viretaDrive);
        const link = await page.evaluate((drive) => window.viretaDrive.linkFor(drive, location.href), text);
        assert.equal(driveOf(link), text);
        const size = Buffer.byteLength(link);
        console.log(`${context.engine}: ${minutes} minutes of tilt, ${text.length} bytes: a link of ${size} bytes`);
        assert.ok(size < most, `${minutes} minutes: a link of ${size} bytes`);
      } finally {
        await page.close();
      }
    }
  });
});
