'use strict';
// Every argument the contract makes 64-bit keeps a value above 2^32 on its way
// to the engine: a conversion narrowed to 32 bits anywhere would wrap it.
// Neighbouring keys carry different values, so a key read from its
// neighbour shows too.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, startClass } = require('./live-helpers');

const W = 2 ** 40 + 3;
const last = (op) => {
  const calls = sim.journal(op);
  assert.ok(calls.length > 0, `${op} was not called`);
  return calls.at(-1).args;
};

test('live play: track ssrcs, user lists, communication ids, users and capture sources', () => {
  fresh();
  startClass();
  assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
  sim.waitIdle();
  const view = { onVideoFrame() {} };
  const cases = [
    [() => addon.livePlayEngine_audioStartSend({ ssrc: W }), 'tavel.LivePlayEngine.AudioStartSend', (a) => a[0].ssrc, W],
    [() => addon.livePlayEngine_videoStartReceive({ ssrc: W, ssrcFec: W + 2, ssrcNack: W + 4 }, view),
      'tavel.LivePlayEngine.VideoStartReceive', ([v]) => [v.ssrc, v.ssrc_fec, v.ssrc_nack], [W, W + 2, W + 4]],
    [() => addon.livePlayEngine_audioStartSendToGroup({}, [W, W + 2]), 'tavel.LivePlayEngine.AudioStartSendToGroup',
      (a) => a[1], [W, W + 2]],
    [() => addon.livePlayEngine_startGroupAudio({}, [W], true), 'tavel.LivePlayEngine.StartGroupAudio', (a) => a[1], [W]],
    [() => addon.livePlayEngine_videoStartCaptureAndSendToGroup({}, view, [W]), 'tavel.LivePlayEngine.VideoStartSendToGroup',
      (a) => a[1], [W]],
    [() => addon.livePlayEngine_audioStartRecording({}, {}, [W]), 'tavel.LivePlayEngine.AudioStartRecording', (a) => a[2], [W]],
    [() => addon.livePlayEngine_startCommunication(W, [W + 2]), 'tavel.LivePlayEngine.StartCommunication',
      (a) => a.slice(0, 2), [W, [W + 2]]],
    [() => addon.livePlayEngine_stopCommunication(W + 4), 'tavel.LivePlayEngine.StopCommunication', (a) => a[0], W + 4],
    [() => addon.livePlayEngine_getMediaNetworkConditionByUser(W, {}), 'tavel.LivePlayEngine.GetMediaNetworkConditionByUser',
      (a) => a[0], W],
    [() => addon.livePlayEngine_startScreenShare({}, { windowId: W, excludeWindList: [W + 2, W + 4] }),
      'tavel.LivePlayEngine.StartScreenShare', ([, c]) => [c.source_id, c.exclude_window_list], [W, [W + 2, W + 4]]],
  ];
  for (const [call, op, pick, expected] of cases) {
    call();
    assert.deepEqual(pick(last(op)), expected, op);
  }
});

test('environment services: the dump manager\'s number and the log episode id', () => {
  fresh();
  addon.engineSdk_initDumpManager(W, 'a', 'b', 'c', 'd', true);
  assert.equal(last('korin.media_dump.Init')[0], W);
  addon.log_addEpisodeId('room', W + 2);
  assert.deepEqual(last('rtc.LogMessage.AddEpisodeId'), ['room', W + 2]);
});

test('player core and downloads: positions, clip times, buffer sizes, cache sizes, request ranges', () => {
  fresh();
  const p = addon.QXPlayer_constructor();
  assert.equal(addon.QXPlayer_initPlayer(p), true);
  try {
    addon.QXPlayer_seekTo(p, W);
    assert.deepEqual(last('korin.QXPlayerCore.SeekTo'), [W]);
    addon.QXPlayer_seekToSegment(p, 1, W + 2);
    assert.deepEqual(last('korin.QXPlayerCore.SeekToSegment'), [1, W + 2]);
    addon.QXPlayer_setDataSource(p, { clipStartMs: W, clipEndMs: W + 2, startAtPositionMs: W + 4, hlsPresetStartTimeMs: W + 6 });
    const [[source]] = last('korin.QXPlayerCore.SetDataSources');
    assert.deepEqual([source.clip_start_ms, source.clip_end_ms, source.start_at_position_ms, source.hls_preset_start_time_ms],
      [W, W + 2, W + 4, W + 6]);
    addon.QXPlayer_setOptions(p, { readyToPlayBufferMs: W, bufferSizeBytes: W + 2, bufferingEndThresholdMs: W + 4 });
    addon.QXPlayer_prepare(p);
    const [options] = last('korin.QXPlayerCore.Prepare');
    assert.deepEqual([options.ready_to_play_buffer_ms, options.buffer_size_bytes, options.buffering_end_threshold_ms],
      [W, W + 2, W + 4]);
    addon.QXPlayer_markVideoPoint(p, { segmentIndex: 1, pos: W });
    assert.equal(last('korin.QXPlayerCore.MarkVideoPoint')[0].pos, W);
  } finally {
    addon.QXPlayer_destroy(p);
  }
  addon.QXPlayer_checkAndRemoveCache('/cache', W, 0.5);
  assert.equal(last('korin.QXPlayerCore.CheckAndRemoveCache')[1], W);
  addon.QXPlayer_downloader_setCacheDirectory('/cache', W + 2);
  assert.equal(last('korin.QXPlayerCoreDownloader.SetCacheDirectory')[1], W + 2);
  addon.QXPlayer_downloader_addDownload({ position: W, length: W + 2 });
  const [request] = last('korin.QXPlayerCoreDownloader.AddDownload');
  assert.deepEqual([request.position, request.length], [W, W + 2]);
});

test('AI agent: user and agent ids', () => {
  fresh();
  const agent = addon.QXAIAgent_createInstance({ userId: W, agentId: W + 2, signature: 's', authExtension: '', noTimeout: false }, {});
  try {
    const [config] = last('korin.QXAIAgentFactory.CreateAIAgent');
    assert.deepEqual([config.user_id, config.agent_id], [W, W + 2]);
  } finally {
    addon.QXAIAgent_destroyInstance(agent);
  }
});
