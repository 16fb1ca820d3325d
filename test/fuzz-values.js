'use strict';
// Hostile JavaScript values for the export fuzzer, drawn from a seeded
// generator so that a run is reproduced by its seed. Objects may carry
// getters, valueOf and toString that throw, detach buffers or call back into
// the module through `hooks.reenter`.

// sfc32: small, fast, and the same sequence on every platform.
function rng(seed) {
  let a = 0x9e3779b9, b = 0x243f6a88, c = 0xb7e15162, d = seed >>> 0;
  const next = () => {
    a >>>= 0; b >>>= 0; c >>>= 0; d >>>= 0;
    const t = (a + b) | 0;
    a = b ^ (b >>> 9);
    b = (c + (c << 3)) | 0;
    c = (c << 21) | (c >>> 11);
    d = (d + 1) | 0;
    const r = (t + d) | 0;
    c = (c + r) | 0;
    return (r >>> 0) / 4294967296;
  };
  for (let i = 0; i < 16; i++) next();
  const r = {
    next,
    int: (n) => Math.floor(next() * n),
    chance: (p) => next() < p,
    pick: (list) => list[Math.floor(next() * list.length)],
  };
  return r;
}

// Thrown by hostile getters and callbacks: recognised as the fuzzer's own.
class Sentinel extends Error {
  constructor(where) {
    super(`fuzz sentinel: ${where}`);
    this.name = 'Sentinel';
  }
}

const detach = (ab) => {
  try {
    if (ab instanceof ArrayBuffer && ab.byteLength >= 0) structuredClone(ab, { transfer: [ab] });
  } catch {
    // not transferable (a Buffer pool slice, already detached)
  }
};

// Built once: big values are costly to make, not to pass.
let big;
function bigValues() {
  if (!big) {
    big = {
      megabyteString: 'x'.repeat(1 << 20),
      hundredThousand: Array.from({ length: 100000 }, (_, i) => i),
    };
  }
  return big;
}

const NUMBERS = [0, -0, NaN, Infinity, -Infinity, 2 ** 31, 2 ** 32, 2 ** 53, -1, 0.5, -1.5, 1e308, 5e-324,
  1, 2, 3, 7, 10, 20, 255, 256, 768, 1280, -(2 ** 31), 2 ** 31 - 1, 4294967295];
const STRINGS = ['', '0', '1', '-1', '42', '1e3', '0x10', ' 7 ', 'abc', 'null', 'undefined', '\uD800', 'a\uDC00b',
  '\uDBFF\uDFFF', 'é漢字', 'a\u0000b', '{"enableAutoLeaveRoom4660": true}', '{"DISABLE_RELEASE_RENDER": 1}',
  '{"enableElectronFrameCopyOptimize": true, "enableElectronFrameUpdateOptimize20260407": true}', '{', 'true'];
const TYPED = [Int8Array, Uint8Array, Uint8ClampedArray, Int16Array, Uint16Array, Int32Array, Uint32Array,
  Float32Array, Float64Array, BigInt64Array, BigUint64Array];

// `keys`: record keys the module reads; `methods`: callback method names it
// calls; `hooks.reenter()`: one random call back into the module.
function values(r, { keys, methods, hooks }) {
  const depthLimit = 3;

  function number() {
    return r.chance(0.7) ? r.pick(NUMBERS) : (r.next() - 0.5) * 2 ** r.int(40);
  }
  function string() {
    const k = r.int(10);
    if (k === 0) return bigValues().megabyteString;
    if (k < 7) return r.pick(STRINGS);
    let s = '';
    for (let n = r.int(12); n > 0; n--) s += String.fromCharCode(r.chance(0.8) ? 32 + r.int(95) : r.int(0x10000));
    return s;
  }
  function typedArray() {
    const T = r.pick(TYPED);
    const k = r.int(5);
    if (k === 0) return new T(0);
    if (k === 1) {
      const ab = new ArrayBuffer(64);
      const view = new T(ab, T.BYTES_PER_ELEMENT * (1 + r.int(3)), 2 + r.int(3));
      return view;
    }
    if (k === 2) {
      const view = new T(8);
      detach(view.buffer);
      return view;
    }
    if (k === 3) return Buffer.from(string().slice(0, 64));
    const view = new T(1 + r.int(16));
    for (let i = 0; i < view.length; i++) view[i] = T.name.startsWith('Big') ? BigInt(r.int(1000)) : r.int(300);
    return view;
  }
  function arrayBuffer() {
    const k = r.int(3);
    if (k === 0) return new ArrayBuffer(r.int(32));
    if (k === 1) {
      const ab = new ArrayBuffer(16);
      detach(ab);
      return ab;
    }
    return new SharedArrayBuffer(8);
  }
  function array(depth) {
    const k = r.int(6);
    if (k === 0) return [];
    if (k === 1) return bigValues().hundredThousand;
    if (k === 2) {
      const a = [];
      a[r.int(1000)] = any(depth + 1);
      return a;
    }
    if (k === 3) return [[1, [2, [3]]], [], any(depth + 1)];
    const a = Array.from({ length: r.int(6) }, () => (r.chance(0.6) ? number() : any(depth + 1)));
    if (r.chance(0.3) && a.length) Object.defineProperty(a, r.int(a.length), { get: hostileGetter('element'), enumerable: true });
    return a;
  }
  // What a getter or callback does when called.
  function action(where) {
    const k = r.int(8);
    return function hostile(...args) {
      switch (k) {
        case 0: throw new Sentinel(where);
        case 1: return hooks.reenter();
        case 2: return hooks.leave();
        case 3:
          for (const a of args) if (a && a.buffer instanceof ArrayBuffer) detach(a.buffer);
          return undefined;
        case 4: return hooks.reenter(), any(depthLimit);
        default: return undefined;
      }
    };
  }
  function hostileGetter(where) {
    const act = action(where);
    const value = r.chance(0.5) ? number() : r.chance(0.5) ? string() : undefined;
    return function get() {
      const out = act();
      return out === undefined ? value : out;
    };
  }
  const define = (o, key, d) => Object.defineProperty(o, key, { enumerable: true, configurable: true, ...d });
  function record(depth) {
    const o = r.chance(0.1) ? Object.create(null) : {};
    for (let n = r.int(8); n > 0; n--) {
      const key = r.chance(0.85) ? r.pick(keys) : string().slice(0, 8);
      if (r.chance(0.2)) define(o, key, { get: hostileGetter(key) });
      else define(o, key, { value: depth < depthLimit ? any(depth + 1) : number(), writable: true });
    }
    for (let n = r.int(4); n > 0; n--) define(o, r.pick(methods), { value: action('callback'), writable: true });
    if (r.chance(0.15)) define(o, 'valueOf', { value: action('valueOf') });
    if (r.chance(0.15)) define(o, 'toString', { value: action('toString') });
    if (r.chance(0.05)) define(o, Symbol.toPrimitive, { value: action('toPrimitive') });
    return o;
  }
  function fn() {
    const k = r.int(6);
    if (k === 0) return () => {};
    if (k === 1) return action('function');
    if (k === 2) return async () => { throw new Sentinel('async'); };
    if (k === 3) return class {};
    if (k === 4) return function* gen() {};
    const f = function withMethods() {};
    for (let n = r.int(4); n > 0; n--) define(f, r.pick(methods), { value: action('callback'), writable: true });
    return f;
  }
  function proxy(depth) {
    const k = r.int(4);
    if (k === 0) {
      const p = Proxy.revocable({}, {});
      p.revoke();
      return p.proxy;
    }
    const throwing = () => { throw new Sentinel('proxy trap'); };
    if (k === 1) return new Proxy({}, { get: throwing, has: throwing, ownKeys: throwing, getOwnPropertyDescriptor: throwing, set: throwing });
    const target = k === 2 ? [1, 2, 3] : record(depth + 1);
    return new Proxy(target, {
      get(t, key) {
        if (r.chance(0.2)) throw new Sentinel(`proxy get ${String(key)}`);
        if (r.chance(0.2)) return action(`proxy ${String(key)}`);
        return r.chance(0.5) ? Reflect.get(t, key) : depth < depthLimit ? any(depth + 1) : number();
      },
    });
  }
  function any(depth = 0) {
    switch (r.int(depth >= depthLimit ? 9 : 16)) {
      case 0: return undefined;
      case 1: return null;
      case 2: return r.chance(0.5);
      case 3: case 4: return number();
      case 5: return r.pick([0n, 1n, -1n, 2n ** 64n]);
      case 6: return r.pick([Symbol('fuzz'), Symbol.iterator, Symbol.for('fuzz')]);
      case 7: case 8: return string();
      case 9: case 10: return record(depth);
      case 11: return array(depth);
      case 12: return typedArray();
      case 13: return arrayBuffer();
      case 14: return fn();
      default: return proxy(depth);
    }
  }
  // A value that passes one admission letter (export_table.h) in most draws.
  function of(letter) {
    switch (letter) {
      case 'o':
      case 'c':
      case 'w': return r.pick([record, record, record, fn, proxy, array, typedArray])(0);
      case 'f': return fn();
      case 'F': return r.chance(0.3) ? null : fn();
      case 's': return string();
      case 'n': return number();
      case 'b': return r.chance(0.5);
      case 'a': return array(0);
      case 't': return typedArray();
      case 'B': return r.chance(0.5) ? arrayBuffer() : typedArray();
      default: return any();
    }
  }
  return { any, of, record, number, string, fn, action };
}

module.exports = { rng, values, Sentinel, detach };
