// How an app plays files and streams through the player core, type-checked
// against the declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  DataSourceHandle,
  PlayerHandle,
  QXDownloadListener,
  QXDownloadRequest,
  QXDownloadStatus,
  QXPlayerCallback,
  QXPlayerDataSource,
  QXPlayerPlaybackStatus,
  QXPlayerRender,
  QXPlayerRenderFrame,
} from 'lumen_engine_addon';

const frames: QXPlayerRenderFrame[] = [];
const render: QXPlayerRender = {
  OnVideoRenderFrame(frame) {
    if (frame.format === 'abgr') frames.push(frame);
  },
};
const events: QXPlayerCallback = {
  OnPrepared() {},
  OnPlayerV2Error(what, extra) {
    console.log(what + extra);
  },
  OnVideoPointHit(point) {
    console.log(point.segmentIndex, point.autoPause);
  },
  OnSubtitle(subtitle) {
    console.log(subtitle.text.length, subtitle.show);
  },
};

addon.QXPlayer_globalInit();
const version: string = addon.QXPlayer_getVersion();
addon.QXPlayer_checkAndRemoveCache('/tmp/cache', 1 << 30, 0.8);

const player: PlayerHandle = addon.QXPlayer_constructor();
const inited: boolean =
  addon.QXPlayer_initPlayer(player) ||
  addon.QXPlayer_initPlayerWithShortAudioMode(player) ||
  addon.QXPlayer_initPlayerWithRender(player, render);
const source: QXPlayerDataSource = { url: 'https://example.invalid/a.m3u8', cache_dir: '/tmp', equivalentHosts: [['a', 'b']] };
addon.QXPlayer_setOutputYuv(player, false);
addon.QXPlayer_setDataSources(player, [source], true);
addon.QXPlayer_setDataSource(player, source);
addon.QXPlayer_setSubtitles(player, [{ url: 'sub.srt' }]);
addon.QXPlayer_setOptions(player, { startOnPrepared: true, playRate: 1.5, bizInfo: { userId: 3 } });
addon.QXPlayer_setCallback(player, events);
const actions: boolean[] = [
  addon.QXPlayer_prepare(player),
  addon.QXPlayer_play(player),
  addon.QXPlayer_pause(player),
  addon.QXPlayer_seekTo(player, 1000),
  addon.QXPlayer_seekTo(player, 1000, 1),
  addon.QXPlayer_seekToSegment(player, 1, 0),
  addon.QXPlayer_setMute(player, true),
  addon.QXPlayer_setBlind(player, false),
  addon.QXPlayer_setPlayRate(player, 2),
  addon.QXPlayer_setLooping(player, true),
  addon.QXPlayer_setVolume(player, 0.5, 0.5),
  addon.QXPlayer_setLazyLoad(player, false),
  addon.QXPlayer_isPlaying(player),
  addon.QXPlayer_setSegmentAutoPlay(player, true),
  addon.QXPlayer_markVideoPoint(player, { segmentIndex: 0, pos: 500 }),
];
const numbers: number[] = [
  addon.QXPlayer_getVideoWidth(player),
  addon.QXPlayer_getVideoHeight(player),
  addon.QXPlayer_getVideoSarNum(player),
  addon.QXPlayer_getVideoSarDen(player),
  addon.QXPlayer_getVideoRotate(player),
  addon.QXPlayer_getVideoFPS(player),
  addon.QXPlayer_getDuration(player),
  addon.QXPlayer_getCurrentPosition(player),
  addon.QXPlayer_getPlayablePosition(player),
  addon.QXPlayer_getIOSpeedInBytesPerSecond(player),
  addon.QXPlayer_getSegmentNum(player),
  addon.QXPlayer_getCurrentIndex(player),
  addon.QXPlayer_getSegmentDuration(player, 0),
  addon.QXPlayer_getId(player),
];
addon.QXPlayer_insertSegment(player, source, 1);
addon.QXPlayer_deleteSegment(player, 1);
const status: QXPlayerPlaybackStatus | undefined = addon.QXPlayer_getPlaybackStatus(player);
if (status) console.log(status.datasources.map((d) => d.cacheDir), status.errorInfo.msg);

const external: DataSourceHandle = addon.QXPlayerExternalDataSource_constructor();
addon.QXPlayer_setExternalDataSource(player, external);
const pushed: number = addon.QXPlayerExternalDataSource_pushData(external, { type: 0, data: new Uint8Array(16) });
addon.QXPlayerExternalDataSource_destroy(external);
addon.QXPlayer_destroy(player);

const request: QXDownloadRequest = { url: 'https://example.invalid/b.mp4', position: 0, length: 1024 };
addon.QXPlayer_downloader_setCacheDirectory('/tmp/downloads', 1 << 28);
addon.QXPlayer_downloader_addDownload(request);
addon.QXPlayer_downloader_removeResourceWithUrl('https://example.invalid/b.mp4');
addon.QXPlayer_downloader_removeResourceWithId('b');
addon.QXPlayer_downloader_pause();
addon.QXPlayer_downloader_resume();
const paused: boolean = addon.QXPlayer_downloader_isPaused();

const listener: QXDownloadListener = {
  onDownloadStatusChanged(s: QXDownloadStatus) {
    console.log(s.downloadSize / s.totalSize, s.request.url);
  },
};
if (addon.QXPlayer_downloaderV2_init({ maxParallelDownloads: 2 }) && addon.QXPlayer_downloaderV2_isInitialized()) {
  addon.QXPlayer_downloaderV2_addDownloadRequest(request);
  addon.QXPlayer_downloaderV2_pause(request);
  addon.QXPlayer_downloaderV2_resume(request);
  addon.QXPlayer_downloaderV2_clearTask(request);
  addon.QXPlayer_downloaderV2_remove(request);
  addon.QXPlayer_downloaderV2_pauseAll();
  addon.QXPlayer_downloaderV2_resumeAll();
  addon.QXPlayer_downloaderV2_clearAllTemporaryTask();
  addon.QXPlayer_downloaderV2_removeAll();
  addon.QXPlayer_downloaderV2_removeTemporaryCache();
  addon.QXPlayer_downloaderV2_getDownloadStatus((all) => console.log(all.length));
  addon.QXPlayer_downloaderV2_getTemporaryCacheSize((bytes) => console.log(bytes.toFixed(0)));
  const handle = addon.QXPlayer_downloaderV2_addDownloadListener(request, listener);
  if (handle !== 0) {
    addon.QXPlayer_downloaderV2_removeDownloadListener(request, handle);
    addon.QXPlayer_downloaderV2_releaseDownloadListener(handle);
  }
  addon.QXPlayer_downloaderV2_destroy();
}
addon.QXPlayer_preloader_preload({ url: 'https://example.invalid/c.m3u8', keyServer: 'k' });

console.log(version, inited, actions, numbers, pushed, paused, frames);

// @ts-expect-error a player is a number, not an object
addon.QXPlayer_play({ player });
// @ts-expect-error a data source's number is no player's
addon.QXPlayer_play(external);
// @ts-expect-error nor is a plain number
addon.QXPlayer_destroy(4096);
// @ts-expect-error a player's number is no data source's
addon.QXPlayerExternalDataSource_pushData(player, { type: 0, data: new Uint8Array(1) });
// @ts-expect-error seekTo needs a position
addon.QXPlayer_seekTo(player);
// @ts-expect-error the render object must implement OnVideoRenderFrame
addon.QXPlayer_initPlayerWithRender(player, {});
