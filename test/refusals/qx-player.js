'use strict';
// Refusal texts and failure values of the player core, its downloads and external data sources, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  rows: {
    QXPlayer_constructor: { message: null },
    QXPlayer_globalInit: { message: null },
    QXPlayer_getVersion: { message: null },
    QXPlayer_checkAndRemoveCache: { message: 'invalid arguments', failure: undefined },
    QXPlayer_initPlayer: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_initPlayerWithShortAudioMode: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_initPlayerWithRender: { message: 'Expected arguments: player_ptr, render', failure: 0 },
    QXPlayer_setOutputYuv: { message: 'Expected arguments: player_ptr, enable', failure: undefined },
    QXPlayer_setDataSources: { message: 'Expected arguments: player_ptr, datasources', failure: undefined }, // the contract has no words for it
    QXPlayer_setDataSource: { message: 'Expected arguments: pos, player_ptr', failure: undefined },
    QXPlayer_setSubtitles: { message: 'Expected arguments: player_ptr, subtitles', failure: undefined },
    QXPlayer_setOptions: { message: 'Expected arguments: player_ptr, options', failure: undefined },
    QXPlayer_setCallback: { message: 'Expected arguments: player_ptr, callback', failure: undefined },
    QXPlayer_prepare: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_play: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_pause: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_seekTo: { message: 'Expected arguments: player_ptr, pos', failure: 0 }, // the contract has no words for it
    QXPlayer_seekToSegment: { message: 'Expected arguments: player_ptr, segment, pos', failure: 0 }, // the contract has no words for it
    QXPlayer_destroy: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_setMute: { message: 'Expected arguments: player_ptr, mute', failure: 0 }, // the contract has no words for it
    QXPlayer_setBlind: { message: 'Expected arguments: player_ptr, blind', failure: 0 }, // the contract has no words for it
    QXPlayer_setPlayRate: { message: 'Expected arguments: player_ptr, rate', failure: 0 }, // the contract has no words for it
    QXPlayer_setLooping: { message: 'Expected 2 arguments', failure: 0 },
    QXPlayer_setVolume: { message: 'Expected arguments: player_ptr, left, right', failure: 0 }, // the contract has no words for it
    QXPlayer_setLazyLoad: { message: 'Expected arguments: player_ptr, lazyLoad', failure: 0 },
    QXPlayer_isPlaying: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoWidth: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoHeight: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoSarNum: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoSarDen: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoRotate: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getVideoFPS: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getDuration: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getCurrentPosition: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getPlayablePosition: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getIOSpeedInBytesPerSecond: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getSegmentNum: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getCurrentIndex: { message: 'Expected arguments: player_ptr', failure: 0 },
    QXPlayer_getSegmentDuration: { message: 'Expected arguments: player_ptr, duration', failure: 0 },
    QXPlayer_insertSegment: { message: 'Expected arguments: player_ptr, segment, index', failure: undefined },
    QXPlayer_deleteSegment: { message: 'Expected arguments: id, playerPtr', failure: undefined },
    QXPlayer_setSegmentAutoPlay: { message: 'Expected arguments: id, auto play', failure: 0 },
    QXPlayer_markVideoPoint: { message: 'Expected arguments: id, object', failure: 0 },
    QXPlayer_getId: { message: 'invalid arguments.', failure: -1 },
    QXPlayer_getPlaybackStatus: { message: 'Expected arguments: player_ptr', failure: undefined }, // the contract has no words for it
    QXPlayer_setExternalDataSource: { message: 'Expected arguments: player_ptr, ds_ptr', failure: undefined },
    QXPlayer_downloader_setCacheDirectory: { message: 'Expected 2 arguments', failure: undefined },
    QXPlayer_downloader_addDownload: { message: 'Expected 1 arguments', failure: undefined },
    QXPlayer_downloader_removeResourceWithUrl: { message: 'Expected 1 arguments', failure: undefined },
    QXPlayer_downloader_removeResourceWithId: { message: 'Expected 1 arguments', failure: undefined },
    QXPlayer_downloader_pause: { message: null },
    QXPlayer_downloader_resume: { message: null },
    QXPlayer_downloader_isPaused: { message: null },
    QXPlayer_downloaderV2_init: { message: 'Expected 1 argument: config', failure: 0 }, // the contract has no words for it
    QXPlayer_downloaderV2_destroy: { message: null },
    QXPlayer_downloaderV2_isInitialized: { message: null },
    QXPlayer_downloaderV2_addDownloadRequest: { message: 'Expected 1 argument: request', failure: undefined },
    QXPlayer_downloaderV2_pause: { message: 'Expected 1 argument: request', failure: undefined },
    QXPlayer_downloaderV2_resume: { message: 'Expected 1 argument: request', failure: undefined },
    QXPlayer_downloaderV2_clearTask: { message: 'Expected 1 argument: request', failure: undefined },
    QXPlayer_downloaderV2_remove: { message: 'Expected 1 argument: request', failure: undefined },
    QXPlayer_downloaderV2_pauseAll: { message: null },
    QXPlayer_downloaderV2_resumeAll: { message: null },
    QXPlayer_downloaderV2_clearAllTemporaryTask: { message: null },
    QXPlayer_downloaderV2_removeAll: { message: null },
    QXPlayer_downloaderV2_removeTemporaryCache: { message: null },
    QXPlayer_downloaderV2_getDownloadStatus: { message: 'Expected 1 argument: callback', failure: undefined },
    QXPlayer_downloaderV2_getTemporaryCacheSize: { message: 'Expected 1 argument: callback', failure: undefined },
    QXPlayer_downloaderV2_addDownloadListener: { message: 'Expected 2 arguments: request, listener', failure: 0 }, // the contract has no words for it
    QXPlayer_downloaderV2_removeDownloadListener: { message: 'Expected 2 arguments: request, handle', failure: undefined },
    QXPlayer_downloaderV2_releaseDownloadListener: { message: 'Expected 1 argument: handle', failure: undefined },
    QXPlayer_preloader_preload: { message: 'Expected 1 arguments', failure: undefined },
    QXPlayerExternalDataSource_constructor: { message: null },
    QXPlayerExternalDataSource_pushData: { message: 'Expected arguments: ds_ptr, data', failure: -1 }, // the contract has no words for it
    QXPlayerExternalDataSource_destroy: { message: 'Expected arguments: ds_ptr', failure: undefined }, // the contract has no words for it
  },
};
