// Lays out the prebuilt binaries of this machine for the package, as
// prebuildify does: prebuilds/<platform>-<arch>/node.napi.node (Node-API, so
// one file serves every Node and Electron with Node-API 8), and beside it the
// engine library it links and, with the stand-in, the control module.
//   node scripts/prebuild.js [--out=<folder>]   (default: the package's own prebuilds/)
// Builds first when needed; the binaries are stripped of their symbols.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const outArg = process.argv.slice(2).find((a) => a.startsWith('--out='));
const out = path.resolve(outArg ? outArg.slice('--out='.length) : path.join(root, 'prebuilds'));
const release = path.join(root, 'build', 'Release');

const built = spawnSync(process.execPath, [path.join(__dirname, 'build.js')], { stdio: 'inherit' });
if (built.status !== 0) process.exit(built.status || 1);

const target = path.join(out, `${process.platform}-${process.arch}`);
fs.rmSync(target, { recursive: true, force: true });
fs.mkdirSync(target, { recursive: true });
const files = [['lumen_engine_addon.node', 'node.napi.node']];
for (const name of fs.readdirSync(release)) {
  if (name === 'lumen_engine_sim.node' || /^(lib)?live_engine_shared\.(so|dll|dylib)$/.test(name)) files.push([name, name]);
}
for (const [from, to] of files) {
  fs.copyFileSync(path.join(release, from), path.join(target, to));
  // Symbols are for debugging the build tree, not for apps.
  if (process.platform === 'linux') spawnSync('strip', ['--strip-unneeded', path.join(target, to)], { stdio: 'inherit' });
}
console.log(`prebuilds: ${path.relative(process.cwd(), target)}: ${files.map(([, to]) => to).join(', ')}`);
