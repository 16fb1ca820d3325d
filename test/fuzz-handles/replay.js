'use strict';
// Handles of room replay: rooms that play and receive the teacher's video and
// audio, with a seek and a fetch owed (so that completions and frames are in
// flight when they are left), and downloaders with a query owed.
const TEACHER = { bizType: 1, userId: 10000000001, groupId: 0 };
const render = { OnVideoRenderFrame() {} };
const events = new Proxy({}, { get: (_, key) => (typeof key === 'string' && /^on[A-Z]/.test(key) ? () => {} : undefined) });

module.exports = {
  'replay room': {
    made: ['QXReplay_enterRoom'],
    create(addon) {
      const h = addon.QXReplay_enterRoom({ roomId: 2 ** 40 + 1, timeToPlayMs: 1000 }, events);
      if (!h) return h;
      addon.QXReplay_play(h);
      addon.QXReplay_videoStartReceive(h, TEACHER, render, {});
      addon.QXReplay_audioStartReceive(h, TEACHER, { onActionStatus() {} });
      addon.QXReplay_seekTo(h, 5000, () => {});
      addon.QXReplay_fetchUserData(h, 0, 60000, () => {});
      return h;
    },
    destroy: (addon, h) => addon.QXReplay_leaveRoom(h),
  },
  'replay downloader': {
    made: ['QXReplay_downloader_init'],
    create(addon) {
      const h = addon.QXReplay_downloader_init({ maxParallelDownloads: 1 });
      if (!h) return h;
      addon.QXReplay_downloader_addDownloadRequest(h, { host: 'h', roomInfo: { roomId: 7 }, startNpt: 0, endNpt: 1000 });
      addon.QXReplay_downloader_getDownloadStatus(h, () => {});
      return h;
    },
    destroy: (addon, h) => addon.QXReplay_downloader_destroy(h),
  },
};
