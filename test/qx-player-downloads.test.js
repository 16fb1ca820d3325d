'use strict';
// Downloads, the key preloader and external data sources.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { waitFor } = require('./helpers');

test('shared downloader and preloader', async (t) => {
  sim.reset();
  await t.test('isPaused answers true without a shared downloader, else the downloader\'s state', () => {
    assert.equal(addon.QXPlayer_downloader_isPaused(), false);
    addon.QXPlayer_downloader_pause();
    assert.equal(addon.QXPlayer_downloader_isPaused(), true);
    addon.QXPlayer_downloader_resume();
    sim.script('korin.QXPlayerCoreDownloader.GetDownloader', false);
    assert.equal(addon.QXPlayer_downloader_isPaused(), true);
    sim.clearJournal();
    addon.QXPlayer_downloader_addDownload({ url: 'u' });
    assert.deepEqual(sim.journal(/QXPlayerCoreDownloader\./), []);
  });
  await t.test('requests and preloaded sources are converted', () => {
    sim.reset();
    addon.QXPlayer_downloader_addDownload({ url: 'u', urlPrefixes: ['a'], position: 2 ** 40, preferH265: 1 });
    const [r] = sim.journal('korin.QXPlayerCoreDownloader.AddDownload')[0].args;
    assert.equal(r.url, 'u');
    assert.deepEqual(r.url_prefixes, ['a']);
    assert.equal(r.position, 2 ** 40);
    assert.equal(r.length, -1, 'default kept');
    assert.equal(r.prefer_h265, true);
    addon.QXPlayer_preloader_preload({ url: 'k', keyServer: 'ks' });
    const [s] = sim.journal('korin.QXPlayerCoreDecryptionKeyPreloader.Preload')[0].args;
    assert.equal(s.key_server, 'ks');
    assert.equal(s.clip_end_ms, -1);
  });
});

test('V2 downloader', async (t) => {
  sim.reset();
  addon.QXPlayer_downloaderV2_destroy();

  await t.test('one per process: a second init keeps the first', () => {
    assert.equal(addon.QXPlayer_downloaderV2_isInitialized(), false);
    assert.equal(addon.QXPlayer_downloaderV2_init({ maxParallelDownloads: 3, userId: 'u1' }), true);
    assert.equal(addon.QXPlayer_downloaderV2_init({ maxParallelDownloads: 9 }), true);
    assert.equal(sim.journal('korin.QXPlayerCoreDownloaderV2.Create').length, 1);
    assert.deepEqual(sim.journal('korin.QXPlayerCoreDownloaderV2.Init')[0].args[0], { max_parallel_downloads: 3, user_id: 'u1' });
    assert.equal(sim.objects().playerDownloadersV2, 1);
    assert.throws(() => addon.QXPlayer_downloaderV2_addDownloadRequest(), { message: 'Expected 1 argument: request' });
  });

  await t.test('query answers reach their callbacks on the JavaScript thread', async () => {
    const answers = [];
    addon.QXPlayer_downloaderV2_getDownloadStatus((list) => answers.push(['status', list]));
    addon.QXPlayer_downloaderV2_getTemporaryCacheSize((bytes) => answers.push(['size', bytes]));
    assert.ok(sim.fire('downloaderV2.getTemporaryCacheSize', [2 ** 40]));
    assert.ok(sim.fire('downloaderV2.getDownloadStatus', ['https://a/b', 10, 100, 2, 0, 1.5]));
    await waitFor(() => answers.length === 2);
    // One strand per downloader: answers arrive in the order they were given.
    assert.deepEqual(answers[0], ['size', 2 ** 40]);
    const [, [s]] = answers[1];
    assert.equal(s.request.url, 'https://a/b');
    assert.deepEqual([s.downloadSize, s.totalSize, s.state, s.error, s.downloadSpeed], [10, 100, 2, 0, 1.5]);
    // Answered once: a second firing finds no query waiting.
    sim.fire('downloaderV2.getTemporaryCacheSize', [1]);
    await new Promise((r) => setTimeout(r, 30));
    assert.equal(answers.length, 2);
  });

  await t.test('listeners hear status changes until removed or released', async () => {
    const heard = [];
    const h = addon.QXPlayer_downloaderV2_addDownloadListener({ url: 'https://x/y' }, { onDownloadStatusChanged: (s) => heard.push(s) });
    assert.ok(h > 0);
    const name = sim.held().filter((n) => n.startsWith('downloaderV2.listener#')).at(-1);
    sim.fire(name, [undefined, 5, 50, 1, 0, 2]);
    await waitFor(() => heard.length === 1);
    assert.equal(heard[0].request.url, 'https://x/y');
    assert.equal(heard[0].downloadSize, 5);
    addon.QXPlayer_downloaderV2_releaseDownloadListener(h);
    assert.equal(sim.fire(name, [undefined, 6]), false, 'the downloader let go of it');
    addon.QXPlayer_downloaderV2_releaseDownloadListener(h); // stale: ignored
  });

  await t.test('destroy drops unanswered queries without calling them', async () => {
    let called = false;
    addon.QXPlayer_downloaderV2_getTemporaryCacheSize(() => { called = true; });
    addon.QXPlayer_downloaderV2_destroy();
    assert.equal(addon.QXPlayer_downloaderV2_isInitialized(), false);
    assert.equal(sim.fire('downloaderV2.getTemporaryCacheSize', [1]), false);
    await new Promise((r) => setTimeout(r, 30));
    assert.equal(called, false);
    assert.equal(sim.objects().playerDownloadersV2, 0);
  });
});

test('external data sources', async (t) => {
  sim.reset();
  await t.test('bytes pushed reach the player that reads it, even after JavaScript destroyed the source', () => {
    const ds = addon.QXPlayerExternalDataSource_constructor();
    const h = addon.QXPlayer_constructor();
    addon.QXPlayer_initPlayer(h);
    addon.QXPlayer_setExternalDataSource(h, ds);
    assert.equal(addon.QXPlayerExternalDataSource_pushData(ds, { type: 1, seekPosition: 2 ** 33, data: Buffer.from('abc') }), 3);
    assert.equal(addon.QXPlayerExternalDataSource_pushData(ds, { type: 1, bytes: new Uint8Array([100]).buffer }), 1);
    assert.deepEqual(sim.journal('korin.QXPlayerCoreExternalDataSource.PushData')[0].args, [1, 2 ** 33, 3]);
    addon.QXPlayerExternalDataSource_destroy(ds);
    // Shared ownership: the player's share keeps it alive.
    assert.equal(sim.objects().playerDataSources, 1);
    assert.equal(addon.QXPlayerExternalDataSource_pushData(ds, { data: Buffer.from('x') }), -1);
    assert.deepEqual(sim.readPlayerData(addon.QXPlayer_getId(h)), Buffer.from('abcd'));
    addon.QXPlayer_destroy(h);
    assert.equal(sim.objects().playerDataSources, 0);
  });
});
