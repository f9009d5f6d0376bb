// The page's host: the handset's screen on the canvas, the player's keys, taps and tilt
// into the handset, one run after another. The game itself is vireta.js (WebAssembly).
'use strict';

(() => {
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const message = document.getElementById('message');
  const query = new URLSearchParams(location.search);

  // ?screen=240x320&tilt=pointer&record as the options --screen 240x320 --tilt pointer --record.
  const args = [];
  for (const [name, value] of query) {
    args.push('--' + name);
    if (value !== '') args.push(value);
  }

  let page = null;  // the running game's end of the bridge (page_bridge.cpp)
  let running = false;

  // The canvas keeps the handset's size; CSS shows each of its pixels as a whole number
  // of device pixels, as large as the viewport allows.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = Math.min(innerWidth * ratio / canvas.width, innerHeight * ratio / canvas.height);
    const scale = room >= 1 ? Math.floor(room) : 1 / Math.ceil(1 / room);
    canvas.style.width = (canvas.width * scale / ratio) + 'px';
    canvas.style.height = (canvas.height * scale / ratio) + 'px';
  }
  addEventListener('resize', fit);
  matchMedia('(resolution: 1dppx)').addEventListener?.('change', fit);
  fit();

  function say(html) { message.innerHTML = html; }

  function wake() { if (page && page.wake) page.wake(); }

  function push(input) {
    if (!page || !running) return;
    input.at = performance.now();
    page.inputs.push(input);
    wake();
  }

  function screenPoint(event) {
    const box = canvas.getBoundingClientRect();
    return {
      x: Math.floor((event.clientX - box.left) * canvas.width / box.width),
      y: Math.floor((event.clientY - box.top) * canvas.height / box.height),
    };
  }

  // Keys as a script names them; arrows also tilt the phone while held.
  const named = { F1: 'softkey1', F2: 'softkey2', Enter: 'enter', Escape: 'escape',
                  ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right' };
  const arrows = { ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right' };
  function keyName(event) {
    if (named[event.key]) return named[event.key];
    const letter = event.key.length === 1 ? event.key.toLowerCase() : '';
    if (letter >= 'a' && letter <= 'z') return (event.ctrlKey ? 'ctrl+' : '') + letter;
    return null;
  }
  addEventListener('keydown', (event) => {
    if (!running) return;
    const name = keyName(event);
    if (!name) return;
    event.preventDefault();
    if (arrows[event.key]) page.tilt[arrows[event.key]] = true;
    if (!event.repeat) push({ kind: 'key', key: name });
  });
  addEventListener('keyup', (event) => {
    if (page && arrows[event.key]) page.tilt[arrows[event.key]] = false;
  });
  addEventListener('blur', () => {
    if (page) for (const a of Object.values(arrows)) page.tilt[a] = false;
  });

  // The phone's orientation; the way it is held at the first tap is level.
  let wantLevel = false;
  function screenAngle() {
    return (screen.orientation && screen.orientation.angle) || window.orientation || 0;
  }
  addEventListener('deviceorientation', (event) => {
    if (!page || event.beta === null || event.gamma === null) return;
    const tilt = page.tilt;
    tilt.motion = true;
    tilt.beta = event.beta;
    tilt.gamma = event.gamma;
    tilt.screenAngle = screenAngle();
    if (wantLevel) {
      wantLevel = false;
      Object.assign(tilt, { levelled: true, levelBeta: tilt.beta, levelGamma: tilt.gamma,
                            levelScreenAngle: tilt.screenAngle });
    }
  });

  let firstTap = true;
  async function settle() {
    firstTap = false;
    wantLevel = true;
    const asking = window.DeviceOrientationEvent && DeviceOrientationEvent.requestPermission;
    if (asking) {
      try { await DeviceOrientationEvent.requestPermission(); } catch (e) { /* keys and taps still play */ }
    }
    try { await screen.orientation.lock('portrait'); } catch (e) { /* not where the browser forbids it */ }
    keepAwake();
  }

  let wakeLock = null;
  async function keepAwake() {
    if (!running || !navigator.wakeLock || wakeLock) return;
    try {
      wakeLock = await navigator.wakeLock.request('screen');
      wakeLock.addEventListener('release', () => { wakeLock = null; });
    } catch (e) { /* the screen may sleep */ }
  }
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && !firstTap) keepAwake();
  });

  canvas.addEventListener('pointerdown', (event) => {
    if (!running || !event.isPrimary) return;
    event.preventDefault();
    if (firstTap) settle();
    const at = screenPoint(event);
    if (at.x >= 0 && at.y >= 0 && at.x < canvas.width && at.y < canvas.height) push({ kind: 'tap', x: at.x, y: at.y });
  });
  canvas.addEventListener('pointermove', (event) => {
    if (!page) return;
    const at = screenPoint(event);
    Object.assign(page.tilt, { pointerSeen: true, pointerX: at.x, pointerY: at.y });
  });
  for (const type of ['touchmove', 'gesturestart', 'dblclick', 'contextmenu']) {
    addEventListener(type, (event) => event.preventDefault(), { passive: false });
  }

  function freshPage() {
    return {
      inputs: [],
      tilt: { pointerSeen: false, pointerX: 0, pointerY: 0, left: false, right: false, up: false, down: false,
              motion: false, beta: 0, gamma: 0, screenAngle: 0, levelled: false, levelBeta: 0, levelGamma: 0,
              levelScreenAngle: 0 },
      wake: null,
      recording: '',
      frames: 0,
      show(rgba, width, height) {
        if (canvas.width !== width || canvas.height !== height) {
          canvas.width = width;
          canvas.height = height;
          fit();
        }
        const image = new ImageData(new Uint8ClampedArray(rgba), width, height);
        context.putImageData(image, 0, 0);
        if (++this.frames === 1) {
          this.first = image;
          this.firstAt = performance.now();
        }
      },
      tell(line) { console.log(line); this.lastLine = line; },
    };
  }

  // Another tab of this page answers while its game runs: then this one stays out.
  const channel = 'BroadcastChannel' in window ? new BroadcastChannel('vireta') : null;
  if (channel) {
    channel.onmessage = (event) => { if (event.data === 'who' && running) channel.postMessage('here'); };
  }
  function otherTabRuns() {
    if (!channel) return Promise.resolve(false);
    return new Promise((resolve) => {
      const listen = (event) => { if (event.data === 'here') finish(true); };
      const finish = (answer) => { channel.removeEventListener('message', listen); clearTimeout(timer); resolve(answer); };
      // A running tab answers within a few milliseconds, even in the background.
      const timer = setTimeout(() => finish(false), 60);
      channel.addEventListener('message', listen);
      channel.postMessage('who');
    });
  }

  function offerRecording(script) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([script], { type: 'text/plain' }));
    link.download = 'vireta-drive.txt';
    link.textContent = 'Guardar el recorrido';
    link.id = 'recording';
    link.addEventListener('pointerdown', (event) => event.stopPropagation());
    message.append(document.createElement('br'), link);
  }

  async function run() {
    say('');
    page = freshPage();
    window.viretaPage = page;  // for the page's tests
    const [game, other] = await Promise.all([createVireta({ page, print: console.log, printErr: console.warn }),
                                             otherTabRuns()]);
    if (other) {
      page = null;
      window.viretaPage = null;
      say('Vireta ya está abierto en otra pestaña.');
      document.title = 'Vireta (en otra pestaña)';
      return;
    }
    page.game = game;
    page.readyAt = performance.now();
    running = true;
    const code = await game.ccall('vireta_run', 'number', ['string'], [args.join('\n')], { async: true });
    running = false;
    if (wakeLock) wakeLock.release();
    page.exitCode = code;
    say(code === 0 ? 'Vireta ha terminado. Toca para jugar otra vez.'
                   : 'Vireta terminó con el código ' + code + (page.lastLine ? ': ' + page.lastLine : '') +
                     '. Toca para volver a empezar.');
    if (page.recording) offerRecording(page.recording);
    addEventListener('pointerdown', () => run(), { once: true });
  }

  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('service-worker.js').catch(() => { /* plays online only */ });
  }
  run();
})();
