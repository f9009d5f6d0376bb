// The headless host under node is the native one: for the same script and options it
// writes the very same trace, output and exit code.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { difference, native, readPng, run, scratch, web } from './support.mjs';

const drives = process.env.VIRETA_DRIVES;
const work = scratch();
function script(name, text) {
  const file = path.join(work, name + '.txt');
  fs.writeFileSync(file, text);
  return file;
}
const boxes = script('boxes', 'wait 100\nok\nwait 100\nok\nwait 100\n');

const runs = [
  ['wide_full_throttle', path.join(drives, 'wide_full_throttle.txt'), '--screen', '480x640'],
  ['small_throttle_20', path.join(drives, 'small_throttle_20.txt'), '--screen', '240x320'],
  ['tall_stop', path.join(drives, 'tall_stop.txt'), '--screen', '480x800'],
  ...['--without sensor-service', '--without sensor-library', '--lacking HTCSensorSDK.dll:HTCSensorGetDataOutput',
      '--without nav-library', '--lacking HTCAPI.dll:HTCNavSetMode', '--without aygshell-notify',
      '--service-stops-early', '--without soft-key-bar'].map((options) => [options, boxes, ...options.split(' ')]),
  ['the menu and the About box', script('about', 'wait 100\ntap 360 614\nwait 100\ntap 395 548\nwait 100\ntap 428 26\nwait 100\nkey ctrl+a\nwait 50\nok\nwait 50\nkey ctrl+q\nwait 200\n')],
  ['a box answered off its buttons', script('off', 'wait 100\nok retry\nwait 100\n'), '--without sensor-library'],
  ['a clock near its wrap', script('wrap', 'wait 3000\n'), '--clock', '4294966000'],
];

test('traces, output and exit codes are the native ones', () => {
  for (const [name, file, ...options] of runs) {
    const traces = ['native', 'node'].map((which) => {
      const trace = path.join(work, `${which}.jsonl`);
      const result = run(which, ['--headless', '--script', file, '--trace', trace, ...options]);
      return { ...result, trace: fs.readFileSync(trace, 'utf8') };
    });
    const [mine, theirs] = traces;
    assert.equal(theirs.code, mine.code, name);
    assert.equal(theirs.out, mine.out, name);
    assert.equal(theirs.err, mine.err, name);
    assert.ok(theirs.trace === mine.trace, `${name}: the traces differ`);
  }
});

test('--laps prints the laps as natively, last', () => {
  const drive = path.join(drives, 'wide_full_throttle.txt');
  const [mine, theirs] = ['native', 'node'].map((which) =>
    run(which, ['--headless', '--script', drive, '--screen', '480x640', '--laps']));
  assert.equal(mine.code, 0, mine.err);
  assert.deepEqual([theirs.code, theirs.out, theirs.err], [mine.code, mine.out, mine.err]);
  assert.match(mine.out, /^(lap [1-6]: \d+\.\d\d\n){6}best lap: \d+\.\d\d\n$/);
});

test('bad input is refused as natively', () => {
  const bad = [
    ['--headless', '--script', script('bad', 'tilt 1\n')],
    ['--headless', '--script', path.join(work, 'missing.txt')],
    ['--headless', '--script', boxes, '--screen', '100x100'],
    ['--headless', '--script', boxes, '--bogus'],
  ];
  for (const args of bad) {
    const [mine, theirs] = ['native', 'node'].map((which) => run(which, args));
    assert.equal(theirs.code, mine.code, args.join(' '));
    assert.notEqual(theirs.code, 0, args.join(' '));
    assert.equal(theirs.err, mine.err, args.join(' '));
  }
});

test('shots hold the native pixels', () => {
  const shots = script('shots', 'wait 500\nshot race\nkey ctrl+a\nwait 100\nshot about\nok\n');
  const folders = ['native', 'node'].map((which) => {
    const folder = path.join(work, `shots-${which}`);
    fs.mkdirSync(folder);
    assert.equal(run(which, ['--headless', '--script', shots, '--shots', folder]).code, 0, which);
    return folder;
  });
  for (const name of ['race.png', 'about.png']) {
    assert.equal(difference(readPng(path.join(folders[1], name)), readPng(path.join(folders[0], name))), null, name);
  }
});

test('a trace to a pipe or a FIFO is written as natively; a session is refused under node', () => {
  const drive = path.join(drives, 'small_throttle_20.txt');
  const fifo = path.join(work, 'trace.fifo');
  spawnSync('mkfifo', [fifo]);
  // Through a shell, so that the trace's end is a real pipe or FIFO with a reader.
  const shell = (line, command) => spawnSync('sh', ['-c', line, 'sh', fifo, ...command], { encoding: 'utf8', timeout: 120000, maxBuffer: 1 << 28 });
  const [mine, theirs] = ['native', 'node'].map((which) => {
    const command = [...(which === 'native' ? [native] : [process.execPath, '--no-experimental-fetch',
                                                          path.join(web, 'vireta-headless.js')]),
                     '--headless', '--script', drive, '--trace'];
    const piped = shell('shift; "$@" /dev/stdout | cat', command);
    const viaFifo = shell('f=$1; shift; cat "$f" > "$f.copy" & "$@" "$f"; code=$?; wait; exit $code', command);
    return { piped, viaFifo, read: fs.readFileSync(`${fifo}.copy`, 'utf8') };
  });
  for (const [what, ran] of [['a pipe', theirs.piped], ['a FIFO', theirs.viaFifo]]) assert.equal(ran.status, 0, `${what}: ${ran.stderr}`);
  assert.ok(mine.piped.stdout.length > 0 && theirs.piped.stdout === mine.piped.stdout, 'the piped traces differ');
  assert.ok(mine.read.length > 0 && theirs.read === mine.read, 'the FIFO traces differ');
  const session = run('node', ['--headless', '--script', drive, '--session', 'shared']);
  assert.deepEqual([session.code, session.err],
                   [2, '--session is not available under node: it has no other processes to find\n']);
});
