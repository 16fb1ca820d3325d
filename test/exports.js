'use strict';
// The module's own description of its exports: every export function carries
// its table row under Symbol.for('lumen_engine_addon.export'). Tests, the
// fuzzer and the declarations check read it here instead of keeping tables
// of their own, so none of them can fall behind the module.
const KEY = Symbol.for('lumen_engine_addon.export');

// Every export in registration order: { name, group, check, types, message,
// refusal, tag, failure, forwards, handle, handles }. Checks: free, none,
// atLeast, exactly, lenient, lenientMin. refusal: 'throw' (the message is
// thrown) or 'log' (written as an error line under `tag`). handle: the kind
// of the first argument's handle, or null; handles: the kind at each
// argument position (null where there is none). Type letters: o record, c callbacks object, w object written
// into, f function, F function or null, s string, n number, b boolean,
// a array, t typed array or Buffer, B bytes (ArrayBuffer, typed array or
// DataView), * anything.
function describeExports(addon) {
  return Object.keys(addon).map((name) => {
    const fn = addon[name];
    const d = typeof fn === 'function' ? fn[KEY] : undefined;
    if (!d) throw new Error(`${name} carries no description`);
    return d;
  });
}

// One admissible value per letter; `make` overrides letters (for example
// { o: () => record, c: () => callbacks }).
function admittedArgs(d, make = {}) {
  const base = {
    o: () => ({}), c: () => ({}), w: () => ({}), f: () => () => {}, F: () => null, s: () => 's', n: () => 1,
    b: () => true, a: () => [1, 2], t: () => new Uint8Array([1, 2, 3]), '*': () => 'x',
    B: () => new Uint8Array([1, 2, 3]).buffer,
  };
  return [...d.types].map((letter, i) => (make[letter] || base[letter])(i));
}

// Calls that the row refuses: too few arguments, a wrong type in the first
// typed place, or (for exports that take none) one argument. Empty when the
// row admits everything.
function refusedCalls(d) {
  switch (d.check) {
    case 'free':
      return [];
    case 'none':
      return [[1]];
    case 'atLeast':
    case 'exactly': {
      const calls = [d.types.length > 0 ? admittedArgs(d).slice(0, -1) : null];
      const typed = [...d.types].findIndex((l) => l !== '*');
      if (typed >= 0) {
        const args = admittedArgs(d);
        args[typed] = Symbol('wrong type');
        calls.push(args);
      }
      if (d.check === 'exactly') calls.push([...admittedArgs(d), 1]);
      return calls.filter(Boolean);
    }
    case 'lenient':
    case 'lenientMin':
      // Refused only when the count is wrong and no argument has its type.
      return d.types.length > 0 ? [[]] : [];
    default:
      throw new Error(`unknown check ${d.check}`);
  }
}

module.exports = { KEY, describeExports, admittedArgs, refusedCalls };
