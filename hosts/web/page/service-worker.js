// Keeps the page's files so the game plays offline: served from the cache, refreshed
// from the network whenever it answers.
'use strict';

const CACHE = 'vireta-@VERSION@';
const FILES = ['./', 'index.html', 'vireta.js', 'vireta.wasm', 'vireta-page.js', 'manifest.webmanifest',
               'vireta-48.png', 'vireta-192.png', 'vireta-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  // The address's options do not make another page.
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(request, { ignoreSearch: true }).then((kept) => kept || fetch(request).then((answer) => {
      if (answer.ok) cache.put(request, answer.clone());
      return answer;
    }))));
});
