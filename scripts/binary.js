'use strict';
// Where the binaries are. LUMEN_ENGINE_ADDON_BUILD names a build folder (the
// sanitizer run points it at its own build); otherwise node-gyp-build finds
// the add-on: build/Release after a build from source, else the prebuilt
// folder of this platform under prebuilds/. The control module and the
// engine library lie beside the add-on in each.
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');
const ADDON = 'lumen_engine_addon';
const SIM = 'lumen_engine_sim.node';

function buildDir() {
  return process.env.LUMEN_ENGINE_ADDON_BUILD || path.join(root, 'build', 'Release');
}

let resolved = null;
function addonPath() {
  if (process.env.LUMEN_ENGINE_ADDON_BUILD) return path.join(process.env.LUMEN_ENGINE_ADDON_BUILD, `${ADDON}.node`);
  if (resolved) return resolved;
  const found = require('node-gyp-build').resolve(root);
  // The folder holds the control module too, and node-gyp-build takes the
  // first .node file that fits: the add-on is named apart in either layout.
  const own = [`${ADDON}.node`, 'node.napi.node'].map((n) => path.join(path.dirname(found), n)).find((p) => fs.existsSync(p));
  resolved = own || found;
  return resolved;
}

function simPath() {
  return path.join(path.dirname(addonPath()), SIM);
}

module.exports = { buildDir, addonPath, simPath };
