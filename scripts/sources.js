// Lists the C++ sources below a folder for binding.gyp, which cannot glob.
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

process.stdout.write(walk(process.argv[2], []).sort().join(' '));
