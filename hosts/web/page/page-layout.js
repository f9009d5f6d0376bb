// Places the handset's screen on the page. The canvas covers the room the message
// leaves, and its own pixels are the device's (as the browser reports them, or whole CSS
// pixels times the ratio): the screen is drawn into it at a whole number of device pixels
// per screen pixel (a whole fraction when the window is smaller), at a whole device
// pixel, so rows never smear at any ratio and the words never cover the game.
'use strict';

(function (exports) {
  // Where a screen of `width` × `height` goes in a room of device pixels: its scale and
  // its box, in device pixels.
  function placement(roomWidth, roomHeight, width, height) {
    const fits = Math.min(Math.max(roomWidth, 1) / width, Math.max(roomHeight, 1) / height);
    const scale = fits >= 1 ? Math.floor(fits) : 1 / Math.ceil(1 / fits);
    const w = Math.round(width * scale);
    const h = Math.round(height * scale);
    return { scale, width: w, height: h,
             left: Math.max(Math.floor((roomWidth - w) / 2), 0), top: Math.max(Math.floor((roomHeight - h) / 2), 0) };
  }
  exports.placement = placement;
  if (typeof document === 'undefined') return;

  const canvas = document.getElementById('screen');
  const message = document.getElementById('message');
  const gap = 8;  // CSS pixels between the game and the message
  let screenSize = { width: canvas.width, height: canvas.height };
  let devicePixels = null;  // the canvas's size in device pixels, from the browser
  exports.onChange = () => {};

  function place() {
    const ratio = window.devicePixelRatio || 1;
    const box = canvas.getBoundingClientRect();
    const width = devicePixels ? devicePixels.width : Math.round(box.width * ratio);
    const height = devicePixels ? devicePixels.height : Math.round(box.height * ratio);
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    exports.shown = { ...placement(width, height, screenSize.width, screenSize.height), ratio };
    canvas.classList.add('fitted');
    exports.onChange();
  }

  function fit() {
    const viewWidth = Math.floor(document.documentElement.clientWidth || innerWidth);
    const viewHeight = Math.floor(document.documentElement.clientHeight || innerHeight);
    let width = viewWidth;
    let height = viewHeight;
    if (message.childElementCount > 0) {
      const box = message.getBoundingClientRect();
      if (matchMedia('(orientation: landscape)').matches) width = Math.floor(box.left - gap);
      else height = Math.floor(box.top - gap);
    }
    canvas.style.width = Math.max(width, 1) + 'px';
    canvas.style.height = Math.max(height, 1) + 'px';
    place();
  }
  exports.fit = fit;
  // The handset's screen took another size.
  exports.screen = (width, height) => {
    if (screenSize.width === width && screenSize.height === height) return;
    screenSize = { width, height };
    place();
  };

  if (window.ResizeObserver) {
    const observer = new ResizeObserver((entries) => {
      const size = entries[0].devicePixelContentBoxSize?.[0];
      if (size) devicePixels = { width: size.inlineSize, height: size.blockSize };
      place();
    });
    try {
      observer.observe(canvas, { box: 'device-pixel-content-box' });
    } catch (error) {
      observer.observe(canvas);
    }
    new ResizeObserver(fit).observe(message);
  }
  // A new ratio (zoom, another monitor) is a change of one media query at a time.
  let resolution = null;
  function watchRatio() {
    resolution?.removeEventListener?.('change', onRatio);
    resolution = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    resolution.addEventListener?.('change', onRatio);
  }
  function onRatio() {
    watchRatio();
    fit();
  }
  watchRatio();
  addEventListener('resize', fit);
  addEventListener('orientationchange', fit);
  fit();
})(typeof module === 'object' ? module.exports : (window.viretaLayout = {}));
