'use strict';
// npm run demo:live: the simulated class watched live in a browser. Prints
// the page's address and runs until interrupted (or for DEMO_SECONDS).
//   node demo/live_page.js [--port N]
const { startLiveServer } = require('./live/server');

const portArg = process.argv.indexOf('--port');
const port = Number(portArg > 0 ? process.argv[portArg + 1] : process.env.LIVE_PAGE_PORT || 0);
const seconds = Number(process.env.DEMO_SECONDS || 0);
const started = Date.now();
const stamp = () => `${((Date.now() - started) / 1000).toFixed(3).padStart(7)}s`;

// Once the address is out, the console shows what the class does (the page
// shows the joining and the chatter of the room too).
let printing = false;
const log = (kind, text) => printing && kind !== 'room' && console.log(stamp(), text);

startLiveServer({ port, log }).then((live) => {
  console.log(`Live class: ${live.url}`);
  printing = true;
  if (live.joined !== 0) console.log(stamp(), `joining the class failed: ${live.joined}`);
  let stopping = false;
  const stop = async () => {
    if (stopping) return;
    stopping = true;
    await live.close();
    // Nothing is left to keep the loop alive; idle HTTP connections of the
    // engine's requests may linger for a few seconds.
    setTimeout(() => process.exit(0), 2000).unref();
  };
  process.on('SIGINT', stop);
  process.on('SIGTERM', stop);
  if (seconds > 0) setTimeout(stop, seconds * 1000);
}, (err) => {
  console.error(`the live page could not start: ${err.message}`);
  process.exit(1);
});
