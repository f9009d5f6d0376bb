// Keeps the page's files so the game plays offline. The address of the page is asked of
// the network first (so a new build is found), then of the cache; the build's own files
// are named after it and never change, so they come from the cache. Files are fetched
// past the HTTP cache and kept only when their hash is the build's, and checked again
// whenever they are served from the cache.
'use strict';

const BUILD = '@BUILD@';
const FILES = @FILES@;
const CACHE = 'vireta-' + BUILD;
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
    for (const name of Object.keys(FILES)) {
      if (name === 'service-worker.js') continue;
      const kept = await fetchChecked(name);
      // A server that answers with another build's file is mid-update: try again later.
      if (!kept) throw new Error(`${name} is not this build's`);
      await cache.put(name, kept);
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

function withTimeout(promise, ms) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('slow network')), ms);
    promise.then((value) => { clearTimeout(timer); resolve(value); },
                 (error) => { clearTimeout(timer); reject(error); });
  });
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  const scope = new URL(self.registration.scope);
  if (!url.pathname.startsWith(scope.pathname)) return;
  let name = url.pathname.slice(scope.pathname.length);
  if (name === '') name = 'index.html';
  if (!Object.prototype.hasOwnProperty.call(FILES, name) || name === 'service-worker.js') return;
  if (name === 'index.html' || name === 'manifest.webmanifest') {
    // The page's options are in its address; they make no other page.
    event.respondWith(withTimeout(fetch(new Request(name, { cache: 'no-cache' })), NETWORK_WAIT)
      .then((answer) => (answer.ok ? answer : Promise.reject(new Error(String(answer.status)))))
      .catch(async (error) => (await fromCache(name)) || Promise.reject(error)));
    return;
  }
  event.respondWith(fromCache(name).then((kept) => kept || fetch(request)));
});
