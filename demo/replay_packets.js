'use strict';
// Packets of a short recorded class in the stand-in's replay format (see
// docs/sim-playback.md): video packets carry a 20-byte header ("LRVF", user
// id, stream type, width, height, frame index; little endian) and the
// frame's pixels (B, G, R, A), audio packets 20 ms of 16 kHz PCM.
const HEADER = 20;

function videoPacket(userId, streamType, width, height, frame, pixels) {
  const packet = Buffer.alloc(HEADER + (pixels ? pixels.length : 0));
  packet.write('LRVF', 0, 'latin1');
  packet.writeUInt32LE(userId >>> 0, 4);
  packet.writeInt32LE(streamType, 8);
  packet.writeUInt16LE(width, 12);
  packet.writeUInt16LE(height, 14);
  packet.writeUInt32LE(frame, 16);
  if (pixels) Buffer.from(pixels.buffer, pixels.byteOffset, pixels.byteLength).copy(packet, HEADER);
  return packet;
}

// A whiteboard: a light page with a dark line drawn further each frame and
// a coloured marker square where the pen is.
function whiteboard(width, height, frame, frames) {
  const pixels = Buffer.alloc(width * height * 4);
  const put = (x, y, b, g, r) => {
    const i = (y * width + x) * 4;
    pixels[i] = b; pixels[i + 1] = g; pixels[i + 2] = r; pixels[i + 3] = 255;
  };
  for (let y = 0; y < height; y++) for (let x = 0; x < width; x++) put(x, y, 235, 240, 245);
  const reach = Math.round(((frame + 1) / frames) * (width - 20));
  const rowOf = (x) => Math.round(height / 2 + (height / 4) * Math.sin(x / 12));
  for (let x = 10; x < 10 + reach; x++) {
    for (let d = -1; d <= 1; d++) put(x, rowOf(x) + d, 60, 40, 30);
  }
  const px = 10 + reach;
  for (let y = rowOf(px) - 4; y <= rowOf(px) + 4; y++) {
    for (let x = px - 4; x <= px + 4; x++) if (x >= 0 && x < width && y >= 0 && y < height) put(x, y, 40, 90, 230);
  }
  return pixels;
}

function audioPacket(index) {
  const pcm = Buffer.alloc(320 * 2);
  for (let i = 0; i < 320; i++) pcm.writeInt16LE(Math.round(6000 * Math.sin((2 * Math.PI * 440 * (index * 320 + i)) / 16000)), i * 2);
  return pcm;
}

// The class: `frames` whiteboard frames of the teacher (user 1001, stream
// type 1) with one audio packet before each.
function recordedClass({ frames = 12, width = 160, height = 90, userId = 1001, streamType = 1 } = {}) {
  const packets = [];
  for (let f = 0; f < frames; f++) {
    packets.push({ data: audioPacket(f), info: { isAudio: true, isRtp: false } });
    packets.push({ data: videoPacket(userId, streamType, width, height, f, whiteboard(width, height, f, frames)),
      info: { isAudio: false, isRtp: false } });
  }
  return { userId, streamType, width, height, packets };
}

// FNV-1a, as the stand-in journals packets.
function checksum(bytes) {
  let h = 2166136261;
  for (const b of bytes) h = Math.imul(h ^ b, 16777619) >>> 0;
  return h >>> 0;
}

module.exports = { HEADER, videoPacket, whiteboard, audioPacket, recordedClass, checksum };
