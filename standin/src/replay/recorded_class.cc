#include "replay/recorded_class.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "sim/replay.h"
#include "sim/sim.h"

namespace room_replay {
namespace {

constexpr uint8_t kWhite = 235, kBlack = 16, kNeutral = 128;
constexpr uint8_t kPad = 0xEE;  // bytes between a row's end and its stride
constexpr int kStridePad = 16;
// Chroma of each role's background: the teacher bluish, the student reddish.
constexpr uint8_t kRoleU[sim::kReplayRoles] = {170, 90};
constexpr uint8_t kRoleV[sim::kReplayRoles] = {100, 170};
// 3x5 digits, then '.', row by row from the top left (bit 14).
constexpr uint16_t kGlyphs[11] = {0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9, 0x79CF,
                                  0x79EF, 0x7249, 0x7BEF, 0x7BCF, 0x0002};

// Rows of the bar and of each bit row: even, so that no chroma row straddles two bands.
int BandRows(int height) { return std::max(2, (height / 8) & ~1); }

std::string Format(const char* fmt, long long a, long long b = 0, long long c = 0) {
  char buf[96];
  std::snprintf(buf, sizeof buf, fmt, a, b, c);
  return buf;
}

sim::Bytes Tagged(const std::string& text) {
  sim::Bytes out(text.begin(), text.end());
  out.push_back(0x00);  // a string conversion would stop here
  out.push_back(0xFF);
  return out;
}

}  // namespace

std::vector<int64_t> Times(Cadence c, int64_t from, int64_t to, int64_t duration_ms) {
  std::vector<int64_t> out;
  from = std::max<int64_t>(from, 0);
  to = std::min(to, duration_ms);
  if (from >= to) return out;
  int64_t k = from <= c.offset_ms ? 0 : (from - c.offset_ms + c.period_ms - 1) / c.period_ms;
  for (int64_t t = c.offset_ms + k * c.period_ms; t < to; t += c.period_ms) out.push_back(t);
  return out;
}

std::vector<StatusAt> ActionStatuses(int role, int64_t from, int64_t to, int64_t duration_ms) {
  std::vector<StatusAt> out;
  if (role < 0 || role >= sim::kReplayRoles) return out;
  const Cadence c = kStatuses[role];
  const long long user = static_cast<long long>(sim::ReplayStream(role).user_id);
  for (int64_t t : Times(c, from, to, duration_ms)) {
    const int64_t k = (t - c.offset_ms) / c.period_ms;
    korin::replay::ActionStatus s;
    s.action_type = static_cast<int32_t>(1 + k % 3);
    s.duration_ms = 500 + 100 * (k % 5);
    s.extra_data = Format("user=%lld npt=%lld", user, static_cast<long long>(t));
    out.push_back({t, s});
  }
  return out;
}

int32_t SpeechLevel(int role, int64_t position_ms) {
  return static_cast<int32_t>(10 + (std::max<int64_t>(position_ms, 0) / 100 + 37 * role) % 81);
}

korin::replay::VideoFrame FrameBuffer::Draw(int role, int width, int height, int64_t position_ms,
                                            int64_t duration_ms, uint32_t frame) {
  const int sy = width + kStridePad, sc = (width + 1) / 2 + kStridePad, ch = (height + 1) / 2;
  const size_t ny = static_cast<size_t>(sy) * height, nc = static_cast<size_t>(sc) * ch;
  if (y_.size() != ny || u_.size() != nc) {
    y_.assign(ny, kPad);
    u_.assign(nc, kPad);
    v_.assign(nc, kPad);
  }
  sim::ReplayPicture(role, width, height, position_ms, duration_ms, frame, y_.data(), sy, u_.data(), sc, v_.data(),
                     sc);
  korin::replay::VideoFrame f;
  f.width = width;
  f.height = height;
  f.npt_ms = position_ms;
  f.data_y = y_.data();
  f.data_u = u_.data();
  f.data_v = v_.data();
  f.stride_y = sy;
  f.stride_u = f.stride_v = sc;
  return f;
}

}  // namespace room_replay

namespace sim {
namespace {

struct ClassState {
  std::mutex mu;
  ReplayClass value;
};

ClassState& C() {
  static auto* c = new ClassState;
  return *c;
}

const bool kResetHook = (OnReset([] { SetReplayClass(ReplayClass()); }), true);

}  // namespace

void SetReplayClass(const ReplayClass& in) {
  ReplayClass c = in;
  c.duration_ms = std::clamp<int64_t>(c.duration_ms, 1, 36000000);
  c.fps = std::clamp(c.fps, 0, 240);
  c.buffer_ms = std::clamp(c.buffer_ms, 0, 60000);
  c.enter_delay_ms = std::clamp(c.enter_delay_ms, 0, 60000);
  for (int* w : {&c.teacher_width, &c.student_width}) *w = std::clamp(*w, 32, 4096);
  for (int* h : {&c.teacher_height, &c.student_height}) *h = std::clamp(*h, 8, 4096);
  std::lock_guard<std::mutex> lock(C().mu);
  C().value = c;
}

ReplayClass GetReplayClass() {
  std::lock_guard<std::mutex> lock(C().mu);
  return C().value;
}

korin::replay::BizInfo ReplayStream(int role) {
  korin::replay::BizInfo b;
  b.biz_type = 1;
  b.user_id = role == kReplayTeacher ? 10000000001LL : 10000000002LL;
  b.group_id = role == kReplayTeacher ? 0 : 3;
  return b;
}

int ReplayRoleOf(const korin::replay::BizInfo& stream) {
  for (int r = 0; r < kReplayRoles; ++r)
    if (ReplayStream(r) == stream) return r;
  return -1;
}

std::vector<ReplayChunkBytes> ReplayTimeline(const std::string& kind, int64_t start, int64_t end,
                                             int64_t duration_ms, int64_t room_id) {
  std::vector<ReplayChunkBytes> out;
  if (kind == "snapshot") {
    for (int part = 1; part <= 2; ++part)
      out.push_back({start, room_replay::Tagged(room_replay::Format("snapshot room=%lld npt=%lld part=%lld",
                                                                    room_id, start, part))});
    return out;
  }
  const bool user = kind == "user";
  if (!user && kind != "radio") return out;
  for (int64_t t : room_replay::Times(user ? room_replay::kUserData : room_replay::kRadio, start, end, duration_ms))
    out.push_back({t, room_replay::Tagged(room_replay::Format(user ? "user-data npt=%lld" : "radio npt=%lld", t))});
  return out;
}

// Rows: the bar (position / duration of the width), the position in ms and
// the frame number as 32 cells each (most significant first, white = 1),
// then the position in seconds drawn in digits over the role's colour.
void ReplayPicture(int role, int width, int height, int64_t position_ms, int64_t duration_ms, uint32_t frame,
                   uint8_t* y, int stride_y, uint8_t* u, int stride_u, uint8_t* v, int stride_v) {
  using namespace room_replay;
  role = std::clamp(role, 0, kReplayRoles - 1);
  const int band = BandRows(height);
  const int64_t pos = std::max<int64_t>(position_ms, 0);
  const int64_t bar = duration_ms > 0 ? std::min(pos, duration_ms) * width / duration_ms : 0;
  const uint32_t words[2] = {static_cast<uint32_t>(pos), frame};
  const std::string text = Format("%lld.%lld", pos / 1000, pos % 1000 / 100);
  const int len = static_cast<int>(text.size());
  const int scale = std::max(1, std::min((height - 3 * band) / 7, width / (4 * len + 1)));
  const int x0 = (width - (4 * len - 1) * scale) / 2;
  const int y0 = 3 * band + (height - 3 * band - 5 * scale) / 2;
  std::vector<uint8_t> cell(width), background(width);
  for (int x = 0; x < width; ++x) {
    cell[x] = static_cast<uint8_t>(static_cast<int64_t>(x) * 32 / width);
    background[x] = static_cast<uint8_t>(40 + 100 * x / width);
  }
  for (int row = 0; row < height; ++row) {
    uint8_t* p = y + static_cast<size_t>(row) * stride_y;
    if (row < band) {
      for (int x = 0; x < width; ++x) p[x] = x < bar ? kWhite : kBlack;
    } else if (row < 3 * band) {
      const uint32_t word = words[row / band - 1];
      for (int x = 0; x < width; ++x) p[x] = (word >> (31 - cell[x])) & 1 ? kWhite : kBlack;
    } else {
      const int gy = row >= y0 ? (row - y0) / scale : 5;
      for (int x = 0; x < width; ++x) {
        p[x] = background[x];
        if (gy >= 5 || x < x0) continue;
        const int gx = (x - x0) / scale, ch = gx / 4, col = gx % 4;
        if (ch >= len || col == 3) continue;
        const char c = text[ch];
        const uint16_t glyph = kGlyphs[c == '.' ? 10 : c - '0'];
        if ((glyph >> (14 - (gy * 3 + col))) & 1) p[x] = kWhite;
      }
    }
  }
  const int cw = (width + 1) / 2, chroma_rows = (height + 1) / 2;
  for (int row = 0; row < chroma_rows; ++row) {
    const bool bands = 2 * row < 3 * band;
    std::memset(u + static_cast<size_t>(row) * stride_u, bands ? kNeutral : kRoleU[role], cw);
    std::memset(v + static_cast<size_t>(row) * stride_v, bands ? kNeutral : kRoleV[role], cw);
  }
}

}  // namespace sim
