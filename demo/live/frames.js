'use strict';
// Frames on their way from the add-on's renderers to the page's sockets.
//
// A frame message is a 16-byte header (user id, width, height, frame number:
// unsigned 32-bit, little-endian) followed by width × height × 4 pixel bytes
// in the engine's order. Its Buffer is reused once no socket holds it, so the
// server's memory does not follow the frame rate.
const HEADER_BYTES = 16;

class Frame {
  constructor(pool, bytes) {
    this.pool = pool;
    this.message = Buffer.allocUnsafe(bytes);
    this.refs = 0;
  }

  retain() {
    this.refs++;
    return this;
  }

  release() {
    if (--this.refs === 0) this.pool.giveBack(this);
  }
}

// The reusable frames of one stream; a size change lets the old ones go.
class FramePool {
  constructor(keep = 4) {
    this.keep = keep;
    this.free = [];
    this.bytes = 0;
    this.allocated = 0;
  }

  // A frame with header and pixels copied in, held once by the caller, who
  // releases it after handing it on.
  fill(userId, width, height, number, pixels) {
    const bytes = HEADER_BYTES + pixels.length;
    if (bytes !== this.bytes) {
      this.free = [];
      this.bytes = bytes;
    }
    let frame = this.free.pop();
    if (!frame) {
      frame = new Frame(this, bytes);
      this.allocated++;
    }
    frame.refs = 1;
    const m = frame.message;
    m.writeUInt32LE(userId >>> 0, 0);
    m.writeUInt32LE(width, 4);
    m.writeUInt32LE(height, 8);
    m.writeUInt32LE(number >>> 0, 12);
    pixels.copy(m, HEADER_BYTES);
    return frame;
  }

  giveBack(frame) {
    if (frame.message.length === this.bytes && this.free.length < this.keep) this.free.push(frame);
  }
}

function parseFrame(message) {
  const b = Buffer.isBuffer(message) ? message : Buffer.from(message);
  return {
    userId: b.readUInt32LE(0),
    width: b.readUInt32LE(4),
    height: b.readUInt32LE(8),
    number: b.readUInt32LE(12),
    pixels: b.subarray(HEADER_BYTES),
  };
}

// One socket's frames: at most `window` frames of a stream in flight (sent,
// not yet acknowledged by the page), and while that many are, only the newest
// waits; a newer frame replaces a waiting one. A page that stops
// acknowledging (busy, hidden, slow) holds one waiting frame per stream here,
// whatever the frame rate. With two in flight the next frame travels while
// the page draws the last, so the acknowledgement's round trip does not cap
// the rate.
//   send(key, frame, sent)  writes frame.message; sent() once the socket let go of it
//   ready()                 false while the socket's own buffer is too full to add a frame
class FrameOutbox {
  constructor(send, ready = () => true, window = 2) {
    this.send = send;
    this.ready = ready;
    this.window = window;
    this.streams = new Map(); // key -> { inflight: count, waiting }
    this.sent = 0;
    this.replaced = 0;
  }

  stream(key) {
    let s = this.streams.get(key);
    if (!s) this.streams.set(key, (s = { inflight: 0, waiting: null }));
    return s;
  }

  offer(key, frame) {
    const s = this.stream(key);
    frame.retain();
    if (s.waiting) {
      s.waiting.release();
      this.replaced++;
    }
    s.waiting = frame;
    this.pump(key, s);
  }

  // The page took the stream's oldest frame in flight (drew or skipped it).
  ack(key) {
    const s = this.streams.get(key);
    if (!s || !s.inflight) return;
    s.inflight--;
    this.pump(key, s);
  }

  pump(key, s) {
    if (s.inflight >= this.window || !s.waiting || !this.ready()) return;
    const frame = s.waiting;
    s.waiting = null;
    s.inflight++;
    this.sent++;
    let done = false;
    this.send(key, frame, () => {
      if (done) return;
      done = true;
      frame.release();
    });
  }

  // The stream ended: its waiting frame will never be sent.
  drop(key) {
    const s = this.streams.get(key);
    if (!s) return;
    if (s.waiting) s.waiting.release();
    s.waiting = null;
  }

  close() {
    for (const key of this.streams.keys()) this.drop(key);
    this.streams.clear();
  }

  // Bytes of frames waiting here (not yet handed to the socket).
  waitingBytes() {
    let n = 0;
    for (const s of this.streams.values()) if (s.waiting) n += s.waiting.message.length;
    return n;
  }

  inflight() {
    let n = 0;
    for (const s of this.streams.values()) n += s.inflight;
    return n;
  }
}

module.exports = { HEADER_BYTES, FramePool, FrameOutbox, parseFrame };
