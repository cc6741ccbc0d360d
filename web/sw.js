// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's service worker keeps the files of one build of the game, so that
// after the first visit the game starts with no network at all. scripts/web.sh
// stamps the build's version here: a new build brings a new worker, whose
// files replace the old ones all at once, never a new page with an old program.
const cacheName = 'gomirlo-@VERSION@';
const files = ['./', 'index.html', 'qtloader.js', 'gomirlo.js', 'gomirlo.wasm', 'manifest.webmanifest',
               'gomirlo.png', 'gomirlo.svg', 'suoni/Esatto.wav', 'suoni/no.wav'];

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name.startsWith('gomirlo-') && name !== cacheName)
                                          .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The game's own files come from the cache; anything else (the licences) from
// the network.
self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(caches.open(cacheName)
        .then((cache) => cache.match(event.request, {ignoreSearch: true}))
        .then((kept) => kept || fetch(event.request)));
});
