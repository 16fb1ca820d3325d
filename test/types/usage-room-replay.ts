// How an app replays a recorded class in a room and downloads replays,
// type-checked against the declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  QXReplayActionStatus,
  QXReplayActionStatusListener,
  QXReplayBizInfo,
  QXReplayChunk,
  QXReplayDownloadRequest,
  QXReplayDownloadStatus,
  QXReplayListener,
  QXReplayRender,
  QXReplayRenderFrame,
  QXReplayRoomInfo,
  QXReplayState,
  ReplayDownloaderHandle,
  ReplayRoomHandle,
} from 'lumen_engine_addon';

const teacher: QXReplayBizInfo = { bizType: 1, userId: 10000000001, groupId: 0 };
const text = (data: ArrayBuffer) => Buffer.from(data).toString('utf8');

const listener: QXReplayListener = {
  onMetaResolved() {},
  onError(errorCode, subCode) {
    console.log(errorCode, subCode);
  },
  onSnapshotWithChunkData(chunks: QXReplayChunk[]) {
    for (const c of chunks) console.log(c.npt, text(c.data));
  },
  onUserData(chunks: ArrayBuffer[]) {
    console.log(chunks.map(text));
  },
  onRadioMessageWithChunkData(chunks) {
    console.log(chunks.length);
  },
  onBufferStarted() {},
  onBufferEnded() {},
  onCompleted() {},
};
const frames: QXReplayRenderFrame[] = [];
const render: QXReplayRender = {
  OnVideoRenderFrame(frame) {
    // Reused for frames of one size: copied before returning.
    if (frame.format === 'abgr' && frame.rotation === 0) frames.push({ ...frame, buffer: frame.buffer.slice(0) });
  },
};
const speaker: QXReplayActionStatusListener = {
  onActionStatus(status: QXReplayActionStatus) {
    console.log(status.actionType, status.durationMs, status.extraData);
  },
};

const info: QXReplayRoomInfo = { roomId: 2 ** 40 + 3, signature: 's', timeToPlayMs: 0, isSlim: true };
const entered: ReplayRoomHandle | 0 = addon.QXReplay_enterRoom(info, listener);
if (entered !== 0) {
  const room: ReplayRoomHandle = entered;
  addon.QXReplay_play(room);
  addon.QXReplay_videoStartReceive(room, teacher, render, {});
  addon.QXReplay_audioStartReceive(room, teacher, speaker);
  addon.QXReplay_audioStartReceive(room, { ...teacher, userId: 10000000002 });
  addon.QXReplay_seekTo(room, 30000, () => console.log('sought'));
  addon.QXReplay_setPlayRate(room, 2);
  addon.QXReplay_setMute(room, false);
  addon.QXReplay_fetchUserData(room, 0, 60000, (chunks) => console.log(chunks.map((c) => c.npt)));
  addon.QXReplay_fetchRadioData(room, 0, 60000, (chunks) => console.log(chunks.length));
  const level: number = addon.QXReplay_getSpeechOutputLevel(room, teacher);
  const state: QXReplayState | false = addon.QXReplay_getState(room);
  if (state !== false) console.log(state.positionMs / state.durationMs, state.videoStreams.length, state.error.errorCode, level);
  addon.QXReplay_setSpatialAudioPosition(room, 1, 2, 3);
  addon.QXReplay_videoStopReceive(room, teacher);
  addon.QXReplay_audioStopReceive(room, teacher);
  addon.QXReplay_pause(room);
  addon.QXReplay_leaveRoom(room);
  // @ts-expect-error: a room handle is no downloader handle
  addon.QXReplay_downloader_pauseAll(room);
}
// @ts-expect-error: the room info is required
addon.QXReplay_enterRoom(listener);
// @ts-expect-error: a seek's callback gets no arguments to use
addon.QXReplay_seekTo(0 as unknown as ReplayRoomHandle, 1, (x: number) => x);

addon.QXReplay_downloader_setCacheDirectory('/tmp/replays', 2 ** 33);
const made: ReplayDownloaderHandle | 0 = addon.QXReplay_downloader_init({ maxParallelDownloads: 2, userId: 2 ** 40 });
if (made !== 0) {
  const downloader: ReplayDownloaderHandle = made;
  const request: QXReplayDownloadRequest = {
    host: 'h',
    roomInfo: { roomId: 2 ** 40 + 3, businessId: 'b' },
    spans: [{ startNpt: 0, endNpt: 60000 }],
  };
  const initialized: boolean = addon.QXReplay_downloader_isInitialized(downloader);
  addon.QXReplay_downloader_addDownloadRequest(downloader, request);
  addon.QXReplay_downloader_pause(downloader, request.roomInfo);
  addon.QXReplay_downloader_resume(downloader, request.roomInfo);
  addon.QXReplay_downloader_pauseAll(downloader);
  addon.QXReplay_downloader_resumeAll(downloader);
  addon.QXReplay_downloader_getDownloadStatus(downloader, (statuses: QXReplayDownloadStatus[]) => {
    for (const s of statuses) console.log(s.request.roomInfo.roomId, s.downloadSize / s.totalSize, s.state, initialized);
  });
  addon.QXReplay_downloader_getTemporaryCacheSize(downloader, (bytes) => console.log(bytes));
  const bytes: number = addon.QXReplay_downloader_getTemporaryCacheSizeSync(downloader);
  if (bytes > 2 ** 32) addon.QXReplay_downloader_removeTemporaryCache(downloader, true);
  addon.QXReplay_downloader_remove(downloader, request.roomInfo, false);
  addon.QXReplay_downloader_removeWithRoomId(downloader, { roomId: 1 }, true);
  addon.QXReplay_downloader_removeAll(downloader, false);
  addon.QXReplay_downloader_destroy(downloader);
}
// @ts-expect-error: a download request names its room
addon.QXReplay_downloader_addDownloadRequest(0 as unknown as ReplayDownloaderHandle, { host: 'h' });
