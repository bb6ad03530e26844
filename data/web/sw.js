// Keeps every file of the page, so that it opens and works with no network
// once it has been opened. Each build names its cache after the contents of
// its files: a changed page is fetched whole and replaces the old one.
const CACHE = 'quorvel-@QUORVEL_SITE_VERSION@';
const FILES = [@QUORVEL_SITE_FILES@];

self.addEventListener('install', (event) => {
  // Asked of the server again, not taken from the browser's cache, so that
  // the cache holds this build's files and no older ones.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys
      .filter((key) => key.startsWith('quorvel-') && key !== CACHE)
      .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

// Opened once for every fetch while this worker runs.
let opened;

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin)
    return;
  // The page is kept under the folder's own address, which is how a visit
  // asks for it; index.html is the same page.
  const wanted = request.mode === 'navigate' && url.pathname.endsWith('/index.html')
    ? new URL('./', url).href : request;
  opened = opened || caches.open(CACHE);
  event.respondWith(opened
    .then((cache) => cache.match(wanted, { ignoreVary: true }))
    .then((kept) => kept || fetch(request)));
});
