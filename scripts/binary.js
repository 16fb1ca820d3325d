'use strict';
// Where the built binaries are: build/Release, or the folder named by
// LUMEN_ENGINE_ADDON_BUILD (the sanitizer run points it at its own build).
const path = require('path');

function buildDir() {
  return process.env.LUMEN_ENGINE_ADDON_BUILD || path.join(__dirname, '..', 'build', 'Release');
}

module.exports = {
  buildDir,
  addonPath: () => path.join(buildDir(), 'lumen_engine_addon.node'),
  simPath: () => path.join(buildDir(), 'lumen_engine_sim.node'),
};
