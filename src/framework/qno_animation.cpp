#include "framework/qno_animation.h"

#include <algorithm>
#include <iterator>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "framework/zor_seams.h"

QnoAniAtom QnoAniAtom::Read(const uint8_t* p) {
  QnoAniAtom a;
  a.pictureId = qno_rd32(p, 0);
  a.dx = static_cast<int16_t>(qno_rd16(p, 4));
  a.dy = static_cast<int16_t>(qno_rd16(p, 6));
  a.scale = qno_rd32(p, 8);
  a.flags = qno_rd32(p, 12);
  return a;
}

namespace {

// Indirect nodes may point at further indirect nodes; a short chain is
// plenty and a cycle must not hang the reader.
constexpr int MAX_NODE_DEPTH = 4;

bool ValidateNode(const uint8_t* d, uint32_t len, uint32_t kind, uint64_t at, int depth) {
  switch (kind) {
    case QNO_NODE_ATOM:
      return qno_in_blob(at, QNO_ANI_ATOM_SIZE, len);
    case QNO_NODE_ATOM_ARRAY: {
      if (!qno_in_blob(at, 12, len)) return false;
      const uint32_t count = qno_rd32(d, static_cast<uint32_t>(at) + 4);
      const uint64_t atoms = at + qno_rd32(d, static_cast<uint32_t>(at) + 8);
      return qno_in_blob(atoms, static_cast<uint64_t>(count) * QNO_ANI_ATOM_SIZE, len);
    }
    case QNO_NODE_INDIRECT: {
      if (depth >= MAX_NODE_DEPTH || !qno_in_blob(at, 12, len)) return false;
      const uint32_t inner = qno_rd16(d, static_cast<uint32_t>(at));
      return ValidateNode(d, len, inner, at + qno_rd32(d, static_cast<uint32_t>(at) + 8), depth + 1);
    }
    default:
      return true;  // shows nothing, reads nothing
  }
}

}  // namespace

bool QnoValidateAnimation(const uint8_t* d, uint32_t len) {
  if (!d || len < 24 || qno_rd16(d, 4) != QNO_ANIMATION_TYPE) return false;
  const uint32_t states = qno_rd32(d, 12);
  if (!qno_in_blob(24, 4ull * states, len)) return false;
  for (uint32_t i = 0; i < states; ++i) {
    const uint64_t state = qno_rd32(d, 24 + 4 * i);
    if (!qno_in_blob(state, 12, len)) return false;
    const uint32_t tracks = qno_rd32(d, static_cast<uint32_t>(state));
    if (tracks > QNO_ANI_MAX_TRACKS || !qno_in_blob(state + 12, 4ull * tracks, len)) return false;
    for (uint32_t t = 0; t < tracks; ++t) {
      const uint64_t track = state + qno_rd32(d, static_cast<uint32_t>(state + 12 + 4 * t));
      if (!qno_in_blob(track, 8, len)) return false;
      const uint32_t kind = qno_rd32(d, static_cast<uint32_t>(track));
      const uint32_t frames = qno_rd32(d, static_cast<uint32_t>(track) + 4);
      if (!qno_in_blob(track + 8, 4ull * frames, len)) return false;
      for (uint32_t k = 0; k < frames; ++k) {
        const uint64_t frame = track + qno_rd32(d, static_cast<uint32_t>(track + 8 + 4 * k));
        if (!ValidateNode(d, len, kind, frame, 0)) return false;
      }
    }
  }
  return true;
}

QnoAniMotor::QnoAniMotor(QnoResourceManager* manager) : m_startTick(kfx_GetTicks()), m_manager(manager) {}

void QnoAniMotor::Unbind() {
  m_blob = nullptr;
  m_length = 0;
  m_stateRecord = nullptr;
  m_trackCount = 0;
  std::fill(std::begin(m_tracks), std::end(m_tracks), nullptr);
}

void QnoAniMotor::ReleaseResource() {
  Unbind();
  m_resourceId = 0;
}

void QnoAniMotor::SetResourceID(unsigned id, uint32_t tick) {
  if (id == m_resourceId && m_blob) {
    EnterState(0, tick);
    return;
  }
  if (!m_manager) return;
  ReleaseResource();
  if (id == 0) return;
  const auto* blob = static_cast<const uint8_t*>(m_manager->GetResource(id, &QnoValidateAnimation));
  if (!blob) return;
  m_blob = blob;
  m_length = m_manager->GetResourceLength(id);
  m_resourceId = id;
  EnterState(0, tick);
}

void QnoAniMotor::SetState(unsigned state, uint32_t tick) {
  if (m_blob) EnterState(state, tick);
}

bool QnoAniMotor::InBlob(uint64_t at, uint64_t size) const { return m_blob && qno_in_blob(at, size, m_length); }

// Every offset is checked again here although the validator passed the
// blob: the motor must not read outside it whatever the blob says.
void QnoAniMotor::EnterState(unsigned state, uint32_t tick) {
  if (!m_blob || state >= qno_rd32(m_blob, 12) || !InBlob(24 + 4ull * state, 4)) {
    Unbind();
    return;
  }
  const uint32_t at = qno_rd32(m_blob, 24 + 4 * state);
  const uint32_t tracks = InBlob(at, 12) ? qno_rd32(m_blob, at) : QNO_ANI_MAX_TRACKS + 1;
  if (tracks > QNO_ANI_MAX_TRACKS || !InBlob(at + 12ull, 4ull * tracks)) {
    Unbind();
    return;
  }
  m_state = state;
  m_stateRecord = m_blob + at;
  const uint32_t duration = qno_rd32(m_stateRecord, 4);
  m_duration = duration == 0 ? 1 : duration;
  std::fill(std::begin(m_tracks), std::end(m_tracks), nullptr);
  m_trackCount = 0;
  for (uint32_t t = 0; t < tracks; ++t) {
    const uint64_t track = at + uint64_t{qno_rd32(m_stateRecord, 12 + 4 * t)};
    if (!InBlob(track, 8)) break;
    m_tracks[t] = m_blob + track;
    m_trackCount = t + 1;
  }
  m_startTick = tick;
  m_lastSoundFrame = -1;
}

uint32_t QnoAniMotor::Duration() const { return m_duration; }
uint32_t QnoAniMotor::FollowUp() const { return qno_rd32(m_stateRecord, 8); }
uint32_t QnoAniMotor::TrackCount() const { return m_stateRecord ? m_trackCount : 0; }

// Frames whose offset table runs past the blob are not counted.
uint32_t QnoAniMotor::FrameCount(unsigned track) const {
  const uint32_t n = qno_rd32(m_tracks[track], 4);
  const uint64_t at = static_cast<uint64_t>(m_tracks[track] - m_blob);
  return InBlob(at + 8, 4ull * n) ? n : 0;
}

uint32_t QnoAniMotor::GetTrackKind(unsigned track) const {
  return track < TrackCount() ? qno_rd32(m_tracks[track], 0) : 0;
}

const uint8_t* QnoAniMotor::Frame(unsigned track, unsigned index) const {
  const uint64_t at = static_cast<uint64_t>(m_tracks[track] - m_blob) + qno_rd32(m_tracks[track], 8 + 4 * index);
  return InBlob(at, 0) ? m_blob + at : nullptr;
}

int QnoAniMotor::CurrentIndex(unsigned track, uint32_t tick) {
  // Every pass either settles or enters the follow-up state; a chain longer
  // than the state table is a cycle of zero-length states.
  for (uint32_t guard = 0; m_blob && guard <= qno_rd32(m_blob, 12); ++guard) {
    if (!m_stateRecord || track >= TrackCount()) return -1;
    const uint64_t n = FrameCount(track);
    if (n == 0) return -1;
    const uint32_t elapsed = tick - m_startTick;
    const uint32_t duration = Duration();
    if (elapsed < duration) return static_cast<int>(n * elapsed / duration);
    const uint32_t r = elapsed % duration;
    if (FollowUp() == m_state) {
      m_startTick = tick - r;
      m_lastSoundFrame = -1;
      return static_cast<int>(n * r / duration);
    }
    EnterState(FollowUp(), tick);
  }
  return -1;
}

const uint8_t* QnoAniMotor::GetCurrentTrackChild(unsigned track, uint32_t tick) {
  const int index = CurrentIndex(track, tick);
  if (index < 0) return nullptr;
  if (track == 1) {
    if (index == m_lastSoundFrame) return nullptr;
    m_lastSoundFrame = index;
  }
  return Frame(track, static_cast<unsigned>(index));
}

// The span returned is the current frame's, over which a frame moves
// towards the next one.
const uint8_t* QnoAniMotor::GetNextTrackChild(unsigned track, uint32_t tick, unsigned& start, unsigned& end) {
  const int index = CurrentIndex(track, tick);
  if (index < 0) return nullptr;
  const uint64_t n = FrameCount(track);
  const uint32_t duration = Duration();
  start = m_startTick + static_cast<uint32_t>(duration * static_cast<uint64_t>(index) / n);
  end = start + static_cast<uint32_t>(duration / n);
  const unsigned next = static_cast<unsigned>((static_cast<uint64_t>(index) + 1) % n);
  if (next == 0 && FollowUp() != m_state) return nullptr;
  return Frame(track, next);
}

const uint8_t* QnoAniMotor::FrameAtoms(uint32_t kind, const uint8_t* frame, unsigned& count) const {
  count = 0;
  if (!frame || !m_blob) return nullptr;
  uint64_t at = static_cast<uint64_t>(frame - m_blob);
  for (int depth = 0; depth <= MAX_NODE_DEPTH; ++depth) {
    switch (kind) {
      case QNO_NODE_ATOM:
        if (!InBlob(at, QNO_ANI_ATOM_SIZE)) return nullptr;
        count = 1;
        return m_blob + at;
      case QNO_NODE_ATOM_ARRAY: {
        if (!InBlob(at, 12)) return nullptr;
        const uint32_t n = qno_rd32(m_blob, static_cast<uint32_t>(at) + 4);
        const uint64_t atoms = at + qno_rd32(m_blob, static_cast<uint32_t>(at) + 8);
        if (n == 0 || !InBlob(atoms, uint64_t{n} * QNO_ANI_ATOM_SIZE)) return nullptr;
        count = n;
        return m_blob + atoms;
      }
      case QNO_NODE_INDIRECT:
        if (!InBlob(at, 12)) return nullptr;
        kind = qno_rd16(m_blob, static_cast<uint32_t>(at));
        at += qno_rd32(m_blob, static_cast<uint32_t>(at) + 8);
        break;
      default:
        return nullptr;
    }
  }
  return nullptr;
}

const uint8_t* QnoAniMotor::GetAtom2D(unsigned& count, uint32_t tick) {
  count = 0;
  const uint8_t* frame = GetCurrentTrackChild(0, tick);
  if (!frame) return nullptr;
  return FrameAtoms(GetTrackKind(0), frame, count);
}

namespace {

// A scaled length or offset in whole pixels, cut towards zero like a cast;
// scales from the blob can make it larger than any int, so it is held to a
// range far beyond any screen (and a NaN counts as 0).
int ScaledPixels(float v) {
  constexpr float limit = 1 << 24;
  if (!(v > -limit)) return v < 0 ? -(1 << 24) : 0;
  if (v > limit) return 1 << 24;
  return static_cast<int>(v);
}

}  // namespace

int QnoAnimation2D(QnoAnimationContext* ctx, QnoAniMotor* motor, int x, int y, float scale) {
  if (!ctx || !motor) return 0;
  if (scale == 0.0f) scale = 1.0f;
  const uint32_t t = ctx->tick;
  unsigned count = 0;
  const uint8_t* atoms = motor->GetAtom2D(count, t);
  if (!atoms || count == 0) return 0;
  const QnoAniAtom first = QnoAniAtom::Read(atoms);
  if (first.flags & QNO_ATOM_INTERPOLATE) {
    unsigned start = 0, end = 0, nextCount = 0;
    const uint8_t* next = motor->GetNextTrackChild(0, t, start, end);
    const uint8_t* nextAtoms = next ? motor->FrameAtoms(motor->GetTrackKind(0), next, nextCount) : nullptr;
    if (nextAtoms && nextCount > 0 && end > start) {
      const QnoAniAtom n = QnoAniAtom::Read(nextAtoms);
      const int64_t done = static_cast<int64_t>(t - start), span = static_cast<int64_t>(end - start);
      x += static_cast<int>((n.dx - first.dx) * done / span);
      y += static_cast<int>((n.dy - first.dy) * done / span);
      const float f = static_cast<float>(done) / static_cast<float>(span);
      const float cur = first.scale ? first.scale : 16384.0f, nxt = n.scale ? n.scale : 16384.0f;
      scale *= (cur + (nxt - cur) * f) / cur;
    }
  }
  QnoRenderBuffer* rb = ctx->renderBuffer;
  int drawn = 0;
  bool boxSet = false;
  int* box = (ctx->flags & QNO_ANICTX_NO_BOX) ? nullptr : ctx->boundingRect;
  for (unsigned i = 0; i < count; ++i) {
    const QnoAniAtom a = QnoAniAtom::Read(atoms + i * QNO_ANI_ATOM_SIZE);
    if (a.pictureId == 0) continue;
    QnoBitmap* picture = QnoBitmap::FromResource(ctx->manager, a.pictureId);
    if (!picture) continue;
    const float s = (ctx->flags & QNO_ANICTX_NO_SCALE) ? 1.0f : (a.scale ? a.scale / 16384.0f : 1.0f) * scale;
    const int w = picture->GetSizeX(), h = picture->GetSizeY();
    const int hw = ScaledPixels((w >> 1) * s), hh = ScaledPixels((h >> 1) * s);
    int px, py;
    if (first.flags & QNO_ATOM_UNSCALED) {
      px = x + a.dx;
      py = y + a.dy;
    } else {
      px = x + ScaledPixels(a.dx * s);
      py = y + ScaledPixels(a.dy * s);
    }
    if (first.flags & QNO_ATOM_DOWN) py += hh;
    if (first.flags & QNO_ATOM_UP) py -= hh;
    if (first.flags & QNO_ATOM_RIGHT) px += hw;
    if (first.flags & QNO_ATOM_LEFT) px -= hw;
    int r[4];
    if (picture->HasRleTable()) {
      r[0] = px - w / 2, r[1] = py - h / 2, r[2] = px + w / 2, r[3] = py + h / 2;
    } else {
      r[0] = px - hw - 1, r[1] = py - hh - 1, r[2] = px + hw + 1, r[3] = py + hh + 1;
    }
    const bool boxAtom = i == 0 && (first.flags & (QNO_ATOM_BOX_V | QNO_ATOM_BOX_H));
    if (boxAtom && rb) {
      if (first.flags & QNO_ATOM_BOX_H) r[0] = 0, r[2] = rb->GetWidth();
      if (first.flags & QNO_ATOM_BOX_V) r[1] = 0, r[3] = rb->GetHeight();
    }
    if (!boxAtom && !(ctx->flags & QNO_ANICTX_BOX_ONLY) && rb) {
      rb->DrawBitmap(picture, px, py, 1);
      ++drawn;
    }
    if (box) {
      if (!boxSet) {
        std::copy(r, r + 4, box);
        boxSet = true;
      } else {
        box[0] = std::min(box[0], r[0]);
        box[1] = std::min(box[1], r[1]);
        box[2] = std::max(box[2], r[2]);
        box[3] = std::max(box[3], r[3]);
      }
    }
  }
  return drawn;
}
