// The page's host: the handset's screen on the canvas, the player's keys, taps and tilt
// into the handset, one run after another. The game is vireta-BUILD.js and its
// WebAssembly, with SIMD where the browser has it and without where it has not.
'use strict';

(() => {
  const BUILD = '@BUILD@';
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', { alpha: false });
  // The handset's screen at its own size; the canvas shows it scaled to device pixels.
  const source = document.createElement('canvas');
  source.width = canvas.width;
  source.height = canvas.height;
  const sourceContext = source.getContext('2d');
  const message = document.getElementById('message');
  const layout = window.viretaLayout;

  // Words on the page are always text: nothing from the address, a link or the game is
  // markup. `text` is a line, or a list of them.
  function say(text, ...actions) {
    const lines = (Array.isArray(text) ? text : [text]).filter((line) => line).map((line) => {
      const words = document.createElement('p');
      words.textContent = line;
      return words;
    });
    message.replaceChildren(...lines, ...actions);
    layout.fit();
  }
  function button(label, act) {
    const element = document.createElement('button');
    element.type = 'button';
    element.textContent = label;
    element.addEventListener('pointerdown', (event) => event.stopPropagation());
    element.addEventListener('click', (event) => {
      event.stopPropagation();
      act();
    });
    return element;
  }
  const retryButton = () => button('Reintentar', () => location.reload());

  // ---- The clock. A phone's clock does not run while it sleeps: the page's stands still
  // while the page is hidden and goes on from where it stopped.
  let hiddenSince = document.hidden ? performance.now() : null;
  let hiddenFor = 0;
  const clock = () => (hiddenSince === null ? performance.now() : hiddenSince) - hiddenFor;

  let page = null;  // the running game's end of the bridge (page_bridge.cpp)
  let running = false;
  let starting = false;  // a tap asked for a run that is still being made

  function wake() { if (page && page.wake) page.wake(); }

  function push(input) {
    if (!page || !running || page.watching) return;
    input.at = clock();
    page.inputs.push(input);
    wake();
  }

  function draw() {
    const shown = layout.shown;
    context.imageSmoothingEnabled = false;
    context.drawImage(source, shown.left, shown.top, shown.width, shown.height);
  }
  // Only a new place or size leaves old pixels beside the screen.
  layout.onChange = () => {
    context.fillStyle = '#000';
    context.fillRect(0, 0, canvas.width, canvas.height);
    draw();
  };

  // A point of the page in the handset's screen pixels.
  function screenPoint(event) {
    const box = canvas.getBoundingClientRect();
    const shown = layout.shown;
    return {
      x: Math.floor(((event.clientX - box.left) * canvas.width / box.width - shown.left) / shown.scale),
      y: Math.floor(((event.clientY - box.top) * canvas.height / box.height - shown.top) / shown.scale),
    };
  }
  const onScreen = (at) => at.x >= 0 && at.y >= 0 && at.x < source.width && at.y < source.height;

  // ---- Keys, as a script names them; arrows also tilt the phone while held.
  const named = { F1: 'softkey1', F2: 'softkey2', Enter: 'enter', Escape: 'escape',
                  ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right' };
  const arrows = { ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right' };
  function keyName(event) {
    if (named[event.key]) return named[event.key];
    const letter = event.key.length === 1 ? event.key.toLowerCase() : '';
    if (letter >= 'a' && letter <= 'z') return (event.ctrlKey ? 'ctrl+' : '') + letter;
    return null;
  }
  function releaseArrows() {
    if (page) for (const a of Object.values(arrows)) page.tilt[a] = false;
  }
  addEventListener('keydown', (event) => {
    if (!running) {
      if (event.key === 'Enter' && restart) {
        event.preventDefault();
        restart();
      }
      return;
    }
    const name = keyName(event);
    if (!name) return;
    event.preventDefault();
    if (arrows[event.key]) page.tilt[arrows[event.key]] = true;
    if (!event.repeat) push({ kind: 'key', key: name });
  });
  addEventListener('keyup', (event) => {
    if (page && arrows[event.key]) page.tilt[arrows[event.key]] = false;
  });
  addEventListener('blur', releaseArrows);

  // ---- The phone's motion. The latest reading is kept across runs; the first tap of
  // every run takes the way the phone is held then as level.
  let reading = null;
  let levelWanted = false;
  const touchScreen = matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
  function screenAngle() {
    return (screen.orientation && screen.orientation.angle) || window.orientation || 0;
  }
  function level() {
    levelWanted = false;
    Object.assign(page.tilt, { levelled: true, levelBeta: reading.beta, levelGamma: reading.gamma,
                               levelScreenAngle: reading.screenAngle });
  }
  addEventListener('deviceorientation', (event) => {
    if (typeof event.beta !== 'number' || typeof event.gamma !== 'number') return;
    reading = { beta: event.beta, gamma: event.gamma, screenAngle: screenAngle() };
    if (!page) return;
    Object.assign(page.tilt, { motion: true, beta: reading.beta, gamma: reading.gamma,
                               screenAngle: reading.screenAngle });
    if (levelWanted) level();
  });

  // Where motion is refused or never comes on a touch screen, a finger steers: its place
  // over the screen tilts the phone, as a pointer does, and taps stay stylus taps.
  let permission = 'unknown';
  let fingerSteers = false;
  function motionOff() {
    if (fingerSteers) return;
    fingerSteers = true;
    if (page) page.tilt.fingerSteers = true;
    say('La inclinación está desactivada. Conduce con el dedo sobre la pantalla: a los lados giras, ' +
        'arriba aceleras, abajo frenas.', button('Entendido', () => say('')));
  }
  // Asked in pointerdown (a gesture to WebKit) and again in click (one to the HTML
  // standard) while the first did not count.
  function askMotion() {
    const ask = window.DeviceOrientationEvent && DeviceOrientationEvent.requestPermission;
    if (!ask || permission !== 'unknown') return;
    permission = 'asking';
    let answer;
    try {
      answer = DeviceOrientationEvent.requestPermission();
    } catch (error) {
      permission = 'unknown';
      return;
    }
    Promise.resolve(answer).then((state) => {
      permission = state === 'granted' ? 'granted' : 'denied';
      if (permission === 'denied') motionOff();
    }, () => { permission = 'unknown'; });
  }
  function expectMotion() {
    if (!touchScreen || reading || fingerSteers) return;
    setTimeout(() => {
      if (!reading && permission !== 'asking' && running) motionOff();
      else if (!reading && permission === 'asking') expectMotion();
    }, 1500);
  }

  // ---- The screen kept awake while a run goes on, asked for within the tap itself.
  let wakeLock = null;
  let wakeAsked = false;
  function keepAwake() {
    if (!(running || starting) || !navigator.wakeLock || wakeLock || wakeAsked || document.hidden) return;
    wakeAsked = true;
    navigator.wakeLock.request('screen').then((lock) => {
      wakeAsked = false;
      if (!running && !starting) {
        lock.release();
        return;
      }
      wakeLock = lock;
      lock.addEventListener('release', () => { if (wakeLock === lock) wakeLock = null; });
    }, () => { wakeAsked = false; });
  }

  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      if (hiddenSince === null) hiddenSince = performance.now();
      releaseArrows();
      return;
    }
    if (hiddenSince !== null) {
      hiddenFor += performance.now() - hiddenSince;
      hiddenSince = null;
    }
    wake();
    keepAwake();
  });

  let firstTapOfRun = false;
  function takeLevel() {
    firstTapOfRun = false;
    try { screen.orientation.lock('portrait').catch(() => {}); } catch (error) { /* not where forbidden */ }
    if (reading) level();
    else levelWanted = true;
    expectMotion();
  }
  canvas.addEventListener('pointerdown', (event) => {
    if (!event.isPrimary) return;
    event.preventDefault();
    if (!running) {
      // The tap that starts a run is its first: it levels the new run.
      if (restart) restart(true);
      return;
    }
    keepAwake();
    askMotion();
    if (firstTapOfRun) takeLevel();
    const at = screenPoint(event);
    if (fingerSteers) Object.assign(page.tilt, { pointerSeen: true, pointerX: at.x, pointerY: at.y });
    if (onScreen(at)) push({ kind: 'tap', x: at.x, y: at.y });
  });
  // Engines that count only pointerup and click as a gesture get the questions again here.
  canvas.addEventListener('click', () => {
    if (!running) return;
    keepAwake();
    askMotion();
  });
  canvas.addEventListener('pointermove', (event) => {
    if (!page || (fingerSteers && event.buttons === 0 && event.pointerType !== 'mouse')) return;
    const at = screenPoint(event);
    Object.assign(page.tilt, { pointerSeen: true, pointerX: at.x, pointerY: at.y });
  });
  for (const type of ['pointerup', 'pointercancel']) {
    canvas.addEventListener(type, (event) => {
      if (page && fingerSteers && event.pointerType !== 'mouse') page.tilt.pointerSeen = false;
    });
  }
  for (const type of ['touchmove', 'gesturestart', 'dblclick', 'contextmenu']) {
    addEventListener(type, (event) => event.preventDefault(), { passive: false });
  }

  // The end of a run the C++ ends at once, throwing through the program's frames.
  class RunEnd {
    constructor(code) { this.code = code; }
  }

  function freshPage() {
    const motion = reading !== null;
    return {
      RunEnd,
      inputs: [],
      tilt: { pointerSeen: false, pointerX: 0, pointerY: 0, left: false, right: false, up: false, down: false,
              motion, beta: motion ? reading.beta : 0, gamma: motion ? reading.gamma : 0,
              screenAngle: motion ? reading.screenAngle : 0, levelled: false, levelBeta: 0, levelGamma: 0,
              levelScreenAngle: 0, fingerSteers },
      wake: null,
      recording: '',
      laps: null,  // {times, best} the run closed, as the game shows them
      drive: null,  // a drive's bytes to watch instead of playing
      watching: false,
      speed: 1,
      told: [],
      frames: 0,
      clock,
      show(rgba, width, height) {
        if (source.width !== width || source.height !== height) {
          source.width = width;
          source.height = height;
          layout.screen(width, height);
        }
        const image = new ImageData(new Uint8ClampedArray(rgba), width, height);
        sourceContext.putImageData(image, 0, 0);
        this.last = image;
        draw();
        if (++this.frames === 1) {
          this.first = image;
          this.firstAt = performance.now();
        }
      },
      // The handset's screen as it is now, for the page's tests.
      picture() { return this.last; },
      tell(line) {
        console.log(line);
        this.lastLine = line;
        this.told.push(line);
      },
    };
  }

  // ---- Loading the game once a page: its WebAssembly compiled once, every run a fresh
  // instance of it, so a page never runs the files of two builds.
  // A module of one SIMD instruction: browsers without wasm SIMD play the scalar build.
  const simdProbe = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8,
                                    0, 65, 0, 253, 15, 253, 98, 11]);
  class StartFailure extends Error {}
  let game = null;
  function loadGame() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
      return Promise.reject(new StartFailure('Este navegador no ejecuta WebAssembly (¿está en un modo que lo ' +
                                             'desactiva, como el modo de aislamiento?), y Vireta lo necesita.'));
    }
    const simd = WebAssembly.validate(simdProbe);
    const name = (simd ? 'vireta-' : 'vireta-scalar-') + BUILD;
    const glue = new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = name + '.js';
      script.onload = () => (typeof createVireta === 'function' ? resolve(createVireta)
        : reject(new StartFailure(`${name}.js no trae el juego.`)));
      script.onerror = () => reject(new StartFailure(`No se pudo cargar ${name}.js.`));
      document.head.append(script);
    });
    const compiled = fetch(name + '.wasm').then((answer) => {
      if (!answer.ok) throw new StartFailure(`No se pudo cargar ${name}.wasm (${answer.status}).`);
      // Compiled while it downloads, where the server names its type.
      if (WebAssembly.compileStreaming && /^application\/wasm/.test(answer.headers.get('content-type') || '')) {
        return WebAssembly.compileStreaming(answer);
      }
      return answer.arrayBuffer().then((bytes) => WebAssembly.compile(bytes));
    }, () => { throw new StartFailure(`No se pudo cargar ${name}.wasm: no hay conexión.`); })
      .catch((error) => {
        if (error instanceof StartFailure) throw error;
        throw new StartFailure(`${name}.wasm está dañado (${error.message}).`);
      });
    return Promise.all([glue, compiled]).then(([create, module]) => ({ create, module, simd }));
  }

  function instance(run) {
    return new Promise((resolve, reject) => {
      const fail = (error) => reject(error instanceof WebAssembly.LinkError
        ? new StartFailure('Los archivos del juego son de dos versiones distintas.')
        : error);
      game.create({
        page: run, print: console.log, printErr: console.warn,
        instantiateWasm(imports, receive) {
          WebAssembly.instantiate(game.module, imports).then((made) => receive(made, game.module), fail);
          return {};
        },
        onAbort: (what) => fail(new Error(String(what))),
      }).then(resolve, fail);
    });
  }

  // ---- One tab at a time: a lock the browser releases when a tab closes.
  // A retry waits a moment: the other tab may be closing, and its lock goes a little after
  // it (longer on a busy phone).
  const kRetryPatienceMs = 3000;
  function oneTab(body, patient) {
    if (!navigator.locks) return body();
    if (!patient) {
      return navigator.locks.request('vireta', { ifAvailable: true }, (lock) => (lock ? body() : 'elsewhere'));
    }
    const giveUp = new AbortController();
    const timer = setTimeout(() => giveUp.abort(), kRetryPatienceMs);
    let granted = false;
    return navigator.locks.request('vireta', { signal: giveUp.signal }, () => {
      granted = true;
      clearTimeout(timer);
      return body();
    }).catch((error) => {
      if (!granted) return 'elsewhere';
      throw error;
    });
  }

  // A new build took over while this page was open: the next run loads it whole.
  let updated = false;
  let restart = null;  // while a run has ended: starts the next one
  function restartRun(tapped) {
    restart = null;
    if (updated) {
      location.reload();
      return;
    }
    if (tapped) {
      starting = true;
      keepAwake();
      askMotion();
    }
    start(tapped);
  }

  // A link that carries the whole drive, shared where the browser can, else copied; made
  // as the run ends, so a tap on the button shares at once, within its gesture.
  function offerShare(run) {
    const drives = window.viretaDrive;
    if (!drives.canShare()) return [];
    run.shareLink = drives.linkFor(run.recording, location.href);
    run.shareLink.catch(() => {});
    const note = document.createElement('p');
    note.id = 'shared';
    const tell = (...what) => {
      note.replaceChildren(...what);
      layout.fit();
    };
    const share = button('Compartir', async () => {
      let url;
      try {
        url = await run.shareLink;
      } catch (error) {
        tell(`No se pudo preparar el enlace: ${error.message || error}`);
        return;
      }
      if (navigator.share) {
        try {
          await navigator.share({ title: 'Vireta', text: 'Mira mi recorrido en Vireta.', url });
          tell('Enlace compartido.');
          return;
        } catch (error) {
          if (error && error.name === 'AbortError') return;
        }
      }
      try {
        await navigator.clipboard.writeText(url);
        tell('Enlace copiado: pégalo donde quieras compartirlo.');
      } catch (error) {
        const field = document.createElement('input');
        field.readOnly = true;
        field.value = url;
        field.addEventListener('pointerdown', (event) => event.stopPropagation());
        tell('Copia este enlace: ', field);
        field.select();
      }
    });
    share.id = 'share';
    return [share, note];
  }

  // The pace of a watched drive: its own, or `fast` times that.
  function paceButton(run, fast) {
    const pace = button('', () => {
      run.speed = run.speed > 1 ? 1 : fast;
      name();
    });
    const name = () => {
      pace.textContent = run.speed > 1 ? 'Verlo a su ritmo' : `Verlo más rápido (×${fast})`;
    };
    name();
    pace.id = 'pace';
    return pace;
  }

  // A shared drive in the address is watched before anything else; once seen or refused,
  // it leaves the address, so the next run is the player's own.
  let sharedDrive = window.viretaDrive.carriesDrive(location.hash);
  function forgetDrive() {
    if (!sharedDrive) return;
    sharedDrive = false;
    history.replaceState(null, '', location.pathname + location.search);
  }
  addEventListener('hashchange', () => {
    if (window.viretaDrive.carriesDrive(location.hash)) location.reload();
  });
  const playAgain = 'Toca la pantalla o pulsa Intro para jugar.';

  // What the drive's own replay gave: never what its comments claim.
  function endOfWatch(run, code) {
    forgetDrive();
    const laps = run.laps || { times: [], best: null };
    if (code !== 0) {
      say([`El recorrido no se pudo ver: ${run.lastLine || 'terminó con el código ' + code}`, playAgain]);
    } else if (laps.times.length === 0) {
      say(['Recorrido visto: no completa ninguna vuelta.', playAgain]);
    } else {
      say([`Récord verificado: ${laps.best}`, `Vueltas: ${laps.times.join(' · ')}`,
           ...(run.told.length ? ['Aviso: ' + run.told[0]] : []), playAgain]);
    }
  }

  function offerRecording(script) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([script], { type: 'text/plain' }));
    link.download = 'vireta-drive.txt';
    link.textContent = 'Guardar el recorrido';
    link.id = 'recording';
    link.addEventListener('pointerdown', (event) => event.stopPropagation());
    return link;
  }

  async function runOnce(options, tapped, drive) {
    const run = freshPage();
    run.drive = drive;
    run.watching = drive !== null;
    run.speed = options.speed;
    page = run;
    window.viretaPage = run;  // for the page's tests
    const made = await instance(run);
    // The browser's turn to paint what it has (the loading words at first) before the game
    // starts: an instance and a start-up in one go would hold it too long.
    await new Promise((resolve) => {
      requestAnimationFrame(() => setTimeout(resolve, 0));
      setTimeout(resolve, 100);
    });
    run.game = made;
    run.readyAt = performance.now();
    run.simd = game.simd;
    if (run.watching) say('Viendo un recorrido compartido.', paceButton(run, options.speed > 1 ? options.speed : 8));
    else say('');
    running = true;
    starting = false;
    firstTapOfRun = true;
    levelWanted = false;
    if (tapped) takeLevel();
    try {
      return await made.ccall('vireta_run', 'number', ['string'], [options.args.join('\n')], { async: true });
    } catch (error) {
      if (error instanceof RunEnd) return error.code;
      throw error;
    } finally {
      running = false;
      levelWanted = false;
      if (wakeLock) wakeLock.release();
    }
  }

  async function start(tapped = false, retry = false) {
    const options = window.viretaAddress.optionsFromAddress(location.search);
    if (options.error) {
      const plain = document.createElement('a');
      plain.href = './';
      plain.textContent = 'Jugar sin opciones';
      say('La dirección no vale: ' + options.error, plain);
      return;
    }
    let drive = null;
    if (sharedDrive) {
      try {
        drive = await window.viretaDrive.driveFrom(location.hash);
      } catch (error) {
        forgetDrive();
        say([String(error.message || error), playAgain]);
        restart = restartRun;
        return;
      }
    }
    try {
      if (!game) game = await loadGame();
      const code = await oneTab(() => runOnce(options, tapped, drive), retry);
      if (code === 'elsewhere') {
        starting = false;
        page = null;
        window.viretaPage = null;
        document.title = 'Vireta (en otra pestaña)';
        say('Vireta ya está abierto en otra pestaña.', button('Intentar de nuevo', () => start(false, true)));
        return;
      }
      document.title = 'Vireta';
      page.exitCode = code;
      if (drive) {
        endOfWatch(page, code);
      } else {
        const recording = page.recording ? [offerRecording(page.recording), ...offerShare(page)] : [];
        const best = page.laps && page.laps.best ? `Mejor vuelta: ${page.laps.best}` : '';
        say([code === 0 ? 'Vireta ha terminado. Toca la pantalla o pulsa Intro para jugar otra vez.'
          : `Vireta terminó con el código ${code}${page.lastLine ? ': ' + page.lastLine : ''}. ` +
            'Toca la pantalla o pulsa Intro para volver a empezar.', best], ...recording);
      }
      restart = restartRun;
    } catch (error) {
      running = false;
      starting = false;
      if (page) page.failure = String(error.message || error);
      if (error instanceof StartFailure) {
        say(error.message, retryButton());
      } else {
        say('Vireta se detuvo por un error: ' + (error.message || error), retryButton());
      }
    }
  }

  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    // The first worker taking over a first visit brings nothing new; any later one does.
    let controlled = !!navigator.serviceWorker.controller;
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      if (controlled) updated = true;
      controlled = true;
    });
    navigator.serviceWorker.register('service-worker.js', { updateViaCache: 'none' })
      .catch(() => { /* plays online only */ });
  }
  start();
})();
