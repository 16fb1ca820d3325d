// npm's install script. An app gets the prebuilt binaries of its platform
// (prebuilds/<platform>-<arch>/) when the package has them; otherwise, or with
// --build-from-source or an engine_sdk to build against, the add-on is
// compiled here (scripts/build.js).
'use strict';
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const fromSource = process.env.npm_config_build_from_source === 'true' ||
  !!(process.env.npm_config_engine_sdk || process.env.LUMEN_ENGINE_SDK);

function prebuilt() {
  try {
    const found = require('node-gyp-build').resolve(root);
    return path.relative(root, found).split(path.sep)[0] === 'prebuilds' ? path.dirname(found) : null;
  } catch {
    return null;
  }
}

const dir = fromSource ? null : prebuilt();
if (dir) {
  console.log(`lumen_engine_addon: using the prebuilt binaries in ${path.relative(root, dir)}`);
} else {
  const r = spawnSync(process.execPath, [path.join(__dirname, 'build.js')], { stdio: 'inherit' });
  process.exit(r.status === null ? 1 : r.status);
}
