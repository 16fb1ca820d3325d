'use strict';
// Refusal texts and failure values of room replay and the replay downloader, as the contract
// words them (test/refusals.test.js says what each field means). getSpeechOutputLevel refuses
// nothing: bad arguments answer 0 (test/qx-replay.test.js).
const ROOM = 'Expected arguments: nativeEngine';
const STREAM = 'Expected arguments: nativeEngine, bizInfo';
const WRONG = 'wrong arguments';

module.exports = {
  rows: {
    QXReplay_enterRoom: { message: 'Expected arguments: roomInfo, listener', failure: false },
    QXReplay_leaveRoom: { message: ROOM, failure: undefined },
    QXReplay_play: { message: ROOM, failure: undefined },
    QXReplay_pause: { message: ROOM, failure: undefined },
    QXReplay_seekTo: { message: 'Expected arguments: nativeEngine, pos, callback', failure: undefined },
    QXReplay_videoStartReceive: { message: 'Expected arguments: nativeEngine, bizInfo, render, listener', failure: undefined },
    QXReplay_videoStopReceive: { message: STREAM, failure: undefined },
    QXReplay_audioStartReceive: { message: STREAM, failure: undefined },
    QXReplay_audioStopReceive: { message: STREAM, failure: undefined },
    QXReplay_setPlayRate: { message: 'Expected arguments: nativeEngine, playRate', failure: undefined },
    QXReplay_setMute: { message: 'Expected arguments: nativeEngine, mute', failure: undefined },
    QXReplay_getState: { message: ROOM, failure: false },
    QXReplay_setSpatialAudioPosition: { message: null },
    QXReplay_fetchUserData: { message: WRONG, failure: undefined },
    QXReplay_fetchRadioData: { message: WRONG, failure: undefined },
    QXReplay_getSpeechOutputLevel: { message: null },
    QXReplay_downloader_setCacheDirectory: { message: WRONG, failure: undefined },
    QXReplay_downloader_init: { message: WRONG, failure: 0 },
    QXReplay_downloader_destroy: { message: WRONG, failure: undefined },
    QXReplay_downloader_isInitialized: { message: WRONG, failure: false },
    QXReplay_downloader_addDownloadRequest: { message: WRONG, failure: undefined },
    QXReplay_downloader_pause: { message: WRONG, failure: undefined },
    QXReplay_downloader_resume: { message: WRONG, failure: undefined },
    QXReplay_downloader_pauseAll: { message: WRONG, failure: undefined },
    QXReplay_downloader_resumeAll: { message: WRONG, failure: undefined },
    QXReplay_downloader_remove: { message: WRONG, failure: undefined },
    QXReplay_downloader_removeWithRoomId: { message: WRONG, failure: undefined },
    QXReplay_downloader_removeAll: { message: WRONG, failure: undefined },
    QXReplay_downloader_getDownloadStatus: { message: WRONG, failure: undefined },
    QXReplay_downloader_getTemporaryCacheSize: { message: WRONG, failure: undefined },
    QXReplay_downloader_getTemporaryCacheSizeSync: { message: WRONG, failure: 0 },
    QXReplay_downloader_removeTemporaryCache: { message: WRONG, failure: undefined },
  },
};
