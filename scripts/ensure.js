// Makes `npm test` and `npm start` work as the first command of a fresh
// clone: installs the npm dependencies when they are missing (the package's
// install script then builds), otherwise brings the build up to date.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const pkg = require(path.join(root, 'package.json'));
const needed = [...Object.keys(pkg.dependencies || {}), ...Object.keys(pkg.devDependencies || {})];
const installed = (name) => fs.existsSync(path.join(root, 'node_modules', name, 'package.json'));

function run(cmd, argv) {
  const r = spawnSync(cmd, argv, { cwd: root, stdio: 'inherit' });
  if (r.error) {
    console.error(`${path.basename(cmd)}: ${r.error.message}`);
    process.exit(1);
  }
  if (r.status !== 0) process.exit(r.status || 1);
}

if (needed.every(installed)) {
  run(process.execPath, [path.join(root, 'scripts', 'build.js')]);
} else if (process.env.npm_execpath && /\.[cm]?js$/.test(process.env.npm_execpath)) {
  // Under npm: the same npm, run by the same Node.
  run(process.execPath, [process.env.npm_execpath, 'install']);
} else {
  run('npm', ['install']);
}
