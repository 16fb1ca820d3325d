'use strict';
// A minimal PNG writer (8-bit RGBA, no filtering) for the demo's snapshots.
const zlib = require('zlib');

const CRC_TABLE = new Int32Array(256).map((_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c;
});

function crc32(buf) {
  let c = -1;
  for (const b of buf) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ -1) >>> 0;
}

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'ascii');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}

// pixels: width × height × 4 bytes, each pixel's red, green, blue and alpha
// at the offsets `at` gives.
function encode(width, height, pixels, at) {
  const raw = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; y++) {
    const row = y * (width * 4 + 1);
    raw[row] = 0;
    for (let x = 0; x < width; x++) {
      const s = (y * width + x) * 4;
      const d = row + 1 + x * 4;
      raw[d] = pixels[s + at[0]];
      raw[d + 1] = pixels[s + at[1]];
      raw[d + 2] = pixels[s + at[2]];
      raw[d + 3] = pixels[s + at[3]];
    }
  }
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr[8] = 8; // bit depth
  ihdr[9] = 6; // RGBA
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', ihdr),
    chunk('IDAT', zlib.deflateSync(raw)),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

// BGRA in memory, as the live and player frames arrive.
const encodeBgra = (width, height, pixels) => encode(width, height, pixels, [2, 1, 0, 3]);
// RGBA in memory (what the engine calls ABGR), as room replay frames arrive.
const encodeRgba = (width, height, pixels) => encode(width, height, pixels, [0, 1, 2, 3]);

// Width, height and RGBA rows of a PNG as encode writes it (8-bit RGBA,
// no filtering): for the tests that read the demos' pictures.
function decodeRgba(png) {
  const width = png.readUInt32BE(16);
  const height = png.readUInt32BE(20);
  const parts = [];
  for (let at = 8; at < png.length;) {
    const length = png.readUInt32BE(at);
    if (png.toString('ascii', at + 4, at + 8) === 'IDAT') parts.push(png.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(parts));
  const rows = [];
  for (let at = 0; at < raw.length; at += 1 + width * 4) rows.push(raw.subarray(at + 1, at + 1 + width * 4));
  return { width, height, rgba: Buffer.concat(rows) };
}

module.exports = { encodeBgra, encodeRgba, decodeRgba };
