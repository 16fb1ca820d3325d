'use strict';
// Refusal texts and failure values of the media player exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  // What an export logs when its engine is absent.
  missing: { text: 'Player engine is not created yet.', tag: 'EngineAddon', severity: 12 },
  rows: {
    mediaPlayerEngine_registerMediaPlayerCallback: { message: 'Expected arguments : callback', failure: -1, absent: -1 },
    mediaPlayerEngine_prepareAsync: { message: 'Expected arguments : file, sendout, playout, info', failure: -1, absent: -1 },
    MediaPlayerEngine_prepareAsyncWithPrefixs: { message: 'Expected arguments: path, prefix, id, info', failure: -1, absent: -1 },
    mediaPlayerEngine_start: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_pause: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_setLooping: { message: 'Expected arguments: id, loop', failure: -1, absent: -1 },
    mediaPlayerEngine_setSpeed: { message: 'Expected arguments: id, speed', failure: -1, absent: -1 },
    mediaPlayerEngine_setVolume: { message: 'Expected arguments: id, volume, delay', failure: -1, absent: -1 },
    mediaPlayerEngine_seekTo: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_getCurrentPositionMs: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_getDurationMs: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_destroy: { message: 'Expected arguments: id', failure: -1, absent: -1 },
    mediaPlayerEngine_ringBell: { message: 'Expected 3 arguments:file, speed, volum', failure: -1, absent: -1 },
  },
};
