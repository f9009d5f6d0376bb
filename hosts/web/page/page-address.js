// The page's address as the game's options. Only the names the page documents are read:
// a link shared through a messenger or a social site brings its own (utm_source,
// fbclid), which are none of the game's business. A value with a control character, a
// valued option without one and a flag given one are refused, saying which.
'use strict';

(function (exports) {
  const valued = new Map([['screen', '--screen'], ['tilt', '--tilt'], ['clock', '--clock'],
                          ['without', '--without'], ['lacking', '--lacking']]);
  const flags = new Map([['record', '--record'], ['service-stops-early', '--service-stops-early']]);
  // C0 and C1 controls: the options travel one a line, and a NUL would cut them short.
  const control = /[\u0000-\u001f\u007f-\u009f\u2028\u2029]/;

  // How many times faster than real time a shared drive is watched: the page's, not the game's.
  const fastest = 64;

  // {args} for the game and the {speed} of a watch, or {error} in the page's words.
  function optionsFromAddress(search) {
    const args = [];
    let speed = 1;
    for (const [name, value] of new URLSearchParams(search)) {
      if (name === 'speed') {
        if (!/^[0-9]{1,2}$/.test(value) || Number(value) < 1 || Number(value) > fastest) {
          return { error: `«speed» va de 1 a ${fastest}, como ?speed=8.` };
        }
        speed = Number(value);
      } else if (valued.has(name)) {
        if (value === '') return { error: `«${name}» necesita un valor, como ${example(name)}.` };
        if (control.test(value)) return { error: `el valor de «${name}» lleva un carácter de control.` };
        args.push(valued.get(name), value);
      } else if (flags.has(name)) {
        if (value !== '') return { error: `«${name}» no lleva valor: escribe ?${name} sin «=».` };
        args.push(flags.get(name));
      }
    }
    return { args, speed };
  }

  function example(name) {
    return { screen: '?screen=240x320', tilt: '?tilt=pointer', clock: '?clock=0', without: '?without=sensor-service',
             lacking: '?lacking=HTCAPI.dll:HTCNavOpen' }[name];
  }

  exports.optionsFromAddress = optionsFromAddress;
})(typeof module === 'object' ? module.exports : (window.viretaAddress = {}));
