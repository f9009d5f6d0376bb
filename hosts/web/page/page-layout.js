// Places the handset's screen on the page: each of its pixels a whole number of device
// pixels (or a whole fraction of one when the window is smaller than the screen), its
// corner on a device pixel, in the room the message leaves, so rows never smear and
// the words never cover the game.
'use strict';

(function (exports) {
  // Where the screen goes in `room` (device pixels, whole numbers): its scale in device
  // pixels per screen pixel, and its box in device pixels.
  function placement(room, screenWidth, screenHeight) {
    const width = Math.max(room.right - room.left, 1);
    const height = Math.max(room.bottom - room.top, 1);
    const fits = Math.min(width / screenWidth, height / screenHeight);
    const scale = fits >= 1 ? Math.floor(fits) : 1 / Math.ceil(1 / fits);
    const w = Math.round(screenWidth * scale);
    const h = Math.round(screenHeight * scale);
    return { scale, width: w, height: h,
             left: room.left + Math.max(Math.floor((width - w) / 2), 0),
             top: room.top + Math.max(Math.floor((height - h) / 2), 0) };
  }
  exports.placement = placement;
  if (typeof document === 'undefined') return;

  const canvas = document.getElementById('screen');
  const message = document.getElementById('message');
  const gap = 8;  // CSS pixels between the game and the message

  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const viewWidth = document.documentElement.clientWidth || innerWidth;
    const viewHeight = document.documentElement.clientHeight || innerHeight;
    const room = { left: 0, top: 0, right: Math.floor(viewWidth * ratio), bottom: Math.floor(viewHeight * ratio) };
    if (message.childElementCount > 0) {
      const box = message.getBoundingClientRect();
      if (matchMedia('(orientation: landscape)').matches) {
        room.right = Math.min(room.right, Math.floor((box.left - gap) * ratio));
      } else {
        room.bottom = Math.min(room.bottom, Math.floor((box.top - gap) * ratio));
      }
    }
    const place = placement(room, canvas.width, canvas.height);
    canvas.style.left = place.left / ratio + 'px';
    canvas.style.top = place.top / ratio + 'px';
    canvas.style.width = place.width / ratio + 'px';
    canvas.style.height = place.height / ratio + 'px';
    canvas.classList.add('fitted');
    exports.shown = { ...place, ratio };  // for the page's tests
  }
  exports.fit = fit;

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
  if (window.ResizeObserver) new ResizeObserver(fit).observe(message);
  fit();
})(typeof module === 'object' ? module.exports : (window.viretaLayout = {}));
