'use strict';
// Handles of the QXPlayer group: players (initialised, some with a renderer
// and a callback object so that their events and frames are in flight when
// they are destroyed), external data sources and download listeners.
let made = 0;
const renderer = { OnVideoRenderFrame() {} };
const events = new Proxy({}, { get: (_, key) => (typeof key === 'string' && /^On/.test(key) ? () => {} : undefined) });

module.exports = {
  player: {
    made: ['QXPlayer_constructor'],
    create(addon) {
      const h = addon.QXPlayer_constructor();
      if (++made % 2) addon.QXPlayer_initPlayerWithRender(h, renderer);
      else addon.QXPlayer_initPlayer(h);
      addon.QXPlayer_setCallback(h, events);
      return h;
    },
    destroy(addon, h) {
      addon.QXPlayer_destroy(h);
    },
  },
  'external data source': {
    made: ['QXPlayerExternalDataSource_constructor'],
    create: (addon) => addon.QXPlayerExternalDataSource_constructor(),
    destroy: (addon, h) => addon.QXPlayerExternalDataSource_destroy(h),
  },
  'download listener': {
    made: ['QXPlayer_downloaderV2_addDownloadListener'],
    create(addon) {
      if (!addon.QXPlayer_downloaderV2_isInitialized()) addon.QXPlayer_downloaderV2_init({ maxParallelDownloads: 1 });
      return addon.QXPlayer_downloaderV2_addDownloadListener({ url: 'https://cdn.example/a.m3u8' }, { onDownloadStatusChanged() {} });
    },
    destroy: (addon, h) => addon.QXPlayer_downloaderV2_releaseDownloadListener(h),
  },
};
