// Served from a web server, the page can be installed as an app and, once
// visited, starts with no network. Opened from the disk it needs neither,
// and a worker could not be registered there anyway.
'use strict';

if ('serviceWorker' in navigator && (location.protocol === 'https:' || location.protocol === 'http:')) {
  navigator.serviceWorker.register('sw.js').catch((error) => {
    console.warn('Veridrift will need the network next time: ' + error.message);
  });
}
