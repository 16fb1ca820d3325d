// Lists the C++ sources below a folder for binding.gyp, which cannot glob.
//   node scripts/sources.js <folder> [<gyp OS>]
// Files named *_win.cc are built for Windows only, *_posix.cc everywhere
// else; the OS is gyp's (win, linux, mac, ...), by default this machine's.
'use strict';
const fs = require('fs');
const path = require('path');

function walk(dir, out) {
  for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
    const p = path.posix.join(dir, e.name);
    if (e.isDirectory()) walk(p, out);
    else if (/\.(cc|cpp)$/.test(e.name)) out.push(p);
  }
  return out;
}

function sources(dir, os = process.platform === 'win32' ? 'win' : process.platform) {
  const win = os === 'win';
  return walk(dir, [])
    .filter((f) => !(win ? /_posix\.(cc|cpp)$/ : /_win\.(cc|cpp)$/).test(f))
    .sort();
}

if (require.main === module) process.stdout.write(sources(process.argv[2], process.argv[3]).join(' '));
module.exports = { sources };
