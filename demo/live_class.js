'use strict';
// Smoke run: loads the add-on and lists its export groups.
const addon = require('..');

const groups = new Map();
for (const name of Object.keys(addon)) {
  const cut = name.indexOf('_');
  const group = cut > 0 ? name.slice(0, cut) : name;
  groups.set(group, (groups.get(group) || 0) + 1);
}
for (const [group, count] of groups) console.log(`${group.padEnd(28)} ${count}`);
console.log(`${'total'.padEnd(28)} ${Object.keys(addon).length}`);
