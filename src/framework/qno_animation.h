#pragma once
// Animations: a blob holding a small state machine of states, each with a
// duration, a follow-up state and tracks of key frames. A motor plays one
// animation on the millisecond clock; QnoAnimation2D draws its frame.
#include <cstdint>

class QnoResourceManager;
class QnoRenderBuffer;

constexpr uint16_t QNO_ANIMATION_TYPE = 6;
constexpr unsigned QNO_ANI_MAX_TRACKS = 8;
constexpr uint32_t QNO_ANI_ATOM_SIZE = 16;

enum : uint32_t {
  QNO_NODE_INDIRECT = 4,
  QNO_NODE_ATOM_ARRAY = 6,
  QNO_NODE_ATOM = 7,
};

enum : uint32_t {
  QNO_ATOM_DOWN = 1,
  QNO_ATOM_UP = 2,
  QNO_ATOM_BOX_V = 4,
  QNO_ATOM_RIGHT = 8,
  QNO_ATOM_LEFT = 16,
  QNO_ATOM_BOX_H = 32,
  QNO_ATOM_INTERPOLATE = 64,
  QNO_ATOM_UNSCALED = 128,
};

struct QnoAniAtom {
  uint32_t pictureId;
  int16_t dx;
  int16_t dy;
  uint32_t scale;  // 1/16384; 0 = 1.0
  uint32_t flags;
  static QnoAniAtom Read(const uint8_t* p);
};

// True when every state, track, frame, node and atom lies inside the blob.
bool QnoValidateAnimation(const uint8_t* data, uint32_t length);

class QnoAniMotor {
 public:
  explicit QnoAniMotor(QnoResourceManager* manager);
  ~QnoAniMotor() { ReleaseResource(); }

  void SetResourceID(unsigned id, uint32_t tick);
  void SetState(unsigned state, uint32_t tick);
  void ReleaseResource();

  // The current frame's atoms of track 0 (count 1 for a single atom), null
  // when there is nothing to show.
  const uint8_t* GetAtom2D(unsigned& count, uint32_t tick);
  // The current frame node of a track; null when none (track 1 reports each
  // frame once).
  const uint8_t* GetCurrentTrackChild(unsigned track, uint32_t tick);
  // The frame after the current one, with its time span.
  const uint8_t* GetNextTrackChild(unsigned track, uint32_t tick, unsigned& start, unsigned& end);

  // Atoms of a frame node of the given kind; null when it shows nothing or
  // any node on the way lies outside the bound blob.
  const uint8_t* FrameAtoms(uint32_t kind, const uint8_t* frame, unsigned& count) const;

  bool IsBound() const { return m_blob != nullptr; }
  unsigned GetState() const { return m_state; }
  unsigned GetResourceID() const { return m_resourceId; }
  uint32_t GetStartTick() const { return m_startTick; }
  uint32_t GetTrackKind(unsigned track) const;

 private:
  void EnterState(unsigned state, uint32_t tick);
  // True when [at, at + size) lies inside the bound blob.
  bool InBlob(uint64_t at, uint64_t size) const;
  void Unbind();
  // Frame index of `track` at `tick`, following expired states; -1 for none.
  int CurrentIndex(unsigned track, uint32_t tick);
  const uint8_t* Frame(unsigned track, unsigned index) const;
  uint32_t Duration() const;
  uint32_t FollowUp() const;
  uint32_t TrackCount() const;
  uint32_t FrameCount(unsigned track) const;

  unsigned m_state = 0;
  unsigned m_resourceId = 0;
  uint32_t m_startTick = 0;
  int m_lastSoundFrame = -1;
  // The blob is shared by every motor playing it and stays as validated:
  // what a state needs at play time (a zero duration taken as 1 ms) is kept
  // here, never written back.
  const uint8_t* m_blob = nullptr;
  uint32_t m_length = 0;
  const uint8_t* m_stateRecord = nullptr;
  uint32_t m_duration = 1;
  uint32_t m_trackCount = 0;
  const uint8_t* m_tracks[QNO_ANI_MAX_TRACKS] = {};
  QnoResourceManager* m_manager;
};

enum : uint32_t {
  QNO_ANICTX_NO_SCALE = 1,
  QNO_ANICTX_BOX_ONLY = 32,
  QNO_ANICTX_NO_BOX = 64,
};

struct QnoAnimationContext {
  QnoResourceManager* manager = nullptr;
  QnoRenderBuffer* renderBuffer = nullptr;
  uint32_t flags = 0;
  int* boundingRect = nullptr;  // left, top, right, bottom; may be null
  uint32_t tick = 0;
};

// Draws the current frame of the motor's track 0 at (x, y); returns the
// number of atoms drawn.
int QnoAnimation2D(QnoAnimationContext* context, QnoAniMotor* motor, int x, int y, float scale);
