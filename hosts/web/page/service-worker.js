// Keeps the page's files so the game plays offline. The address of the page is asked of
// the network first (so a new build is found), then of the cache; the build's own files
// are named after it and never change, so they come from the cache. Files are fetched
// past the HTTP cache and kept only when their hash is the build's, and checked again
// whenever they are served from the cache.
'use strict';

const BUILD = '@BUILD@';
const FILES = @FILES@;
const CACHE = 'vireta-' + BUILD;
const KEPT = Object.keys(FILES).filter((name) => name !== 'service-worker.js');
const NETWORK_WAIT = 4000;  // ms before a slow network loses to the cache

async function sha256(buffer) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', buffer));
  return Array.from(digest, (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// The build's file `name` from the network, as a response to keep, or null when what
// came is not that file.
async function fetchChecked(name) {
  const answer = await fetch(new Request(name, { cache: 'reload', credentials: 'same-origin' }));
  if (!answer.ok) return null;
  const body = await answer.arrayBuffer();
  if (await sha256(body) !== FILES[name]) return null;
  return new Response(body, { headers: { 'content-type': answer.headers.get('content-type') || '' } });
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    try {
      for (const name of KEPT) {
        const kept = await fetchChecked(name);
        // A server that answers with another build's file is mid-update: try again later.
        if (!kept) throw new Error(`${name} is not this build's`);
        await cache.put(name, kept);
      }
    } catch (error) {
      // Nothing is left of a build that did not come whole.
      await caches.delete(CACHE);
      throw error;
    }
    await self.skipWaiting();
  })());
});

// The new build's worker serves every open page at once; a page that is playing keeps
// its game (compiled when it loaded) and reloads before its next run.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const names = await caches.keys();
    await Promise.all(names.filter((name) => name.startsWith('vireta-') && name !== CACHE)
      .map((name) => caches.delete(name)));
    await self.clients.claim();
  })());
});

// The build's file behind `name` from the cache, when it is still the one kept.
async function fromCache(name) {
  const cache = await caches.open(CACHE);
  const kept = await cache.match(name);
  if (!kept) return null;
  const body = await kept.clone().arrayBuffer();
  if (await sha256(body) === FILES[name]) return kept;
  await cache.delete(name);
  return null;
}

// A file lost or damaged is fetched again and kept, so the next start offline has it.
// Null when the network has no such file: never bytes that are not the build's.
async function buildFile(name) {
  const kept = await fromCache(name);
  if (kept) return kept;
  const fresh = await fetchChecked(name);
  if (fresh) await (await caches.open(CACHE)).put(name, fresh.clone());
  return fresh;
}

// Offline, the page starts only when nothing it plays from is damaged: else it would stop
// half-loaded, telling nothing.
async function whole() {
  return (await Promise.all(KEPT.map(fromCache))).every(Boolean);
}

// A page asks only for its own game, and for index.html of the network: the rest is
// mended here, while the network still serves this build.
async function mend(index) {
  if (await sha256(await index.arrayBuffer()) !== FILES['index.html']) return;
  await Promise.all(KEPT.map((name) => buildFile(name).catch(() => null)));
}

// In the page's language: the browser's own error would not tell the player what to do.
function damaged() {
  const words = 'La copia de Vireta guardada en este navegador está dañada. ' +
    'Vuelve a abrir Vireta con conexión a Internet para recuperarla.';
  return new Response(`<!doctype html><html lang="es"><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>Vireta</title><p>${words}</p>`,
    { status: 503, headers: { 'content-type': 'text/html; charset=utf-8', 'content-security-policy': "default-src 'none'" } });
}

function withTimeout(promise, ms) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('slow network')), ms);
    promise.then((value) => { clearTimeout(timer); resolve(value); },
                 (error) => { clearTimeout(timer); reject(error); });
  });
}

async function networkFirst(name, event) {
  let answer = null;
  try {
    answer = await withTimeout(fetch(new Request(name, { cache: 'no-cache' })), NETWORK_WAIT);
  } catch (error) { /* offline, or too slow: the kept one */ }
  if (answer && answer.ok) {
    if (name === 'index.html') event.waitUntil(mend(answer.clone()));
    return answer;
  }
  if (name === 'index.html' && !(await whole())) return damaged();
  return (await fromCache(name)) || answer || Response.error();
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  const scope = new URL(self.registration.scope);
  if (!url.pathname.startsWith(scope.pathname)) return;
  let name = url.pathname.slice(scope.pathname.length);
  if (name === '') name = 'index.html';
  if (!KEPT.includes(name)) return;
  if (name === 'index.html' || name === 'manifest.webmanifest') {
    // The page's options are in its address; they make no other page.
    event.respondWith(networkFirst(name, event));
    return;
  }
  event.respondWith(buildFile(name).then((file) => file ||
    new Response(null, { status: 502, statusText: 'Not this build' })));
});
