#include <gtest/gtest.h>

#include <cstring>

#include "framework/qno_animation.h"
#include "framework/qno_bytes.h"
#include "gfx_test_util.h"

using gfxtest::AddArchive;
using gfxtest::Canvas;
using gfxtest::Solid;
using zorgen::AniAtom;
using zorgen::AniState;
using zorgen::Bytes;

namespace {

constexpr uint32_t ANIM = 500;

// Pictures 1..4: 3 x 3 squares in colours 1..4.
std::vector<std::pair<uint32_t, Bytes>> Pictures() {
  std::vector<std::pair<uint32_t, Bytes>> v;
  for (uint32_t i = 1; i <= 4; ++i) v.push_back({i, zorgen::WriteQbmp16(Solid(3, 3, static_cast<uint16_t>(i)), zorgen::KEY_565, false)});
  return v;
}

AniState State(uint32_t duration, uint32_t followUp, std::vector<uint32_t> pictures) {
  AniState s{duration, followUp, {}};
  for (uint32_t p : pictures) s.frames.push_back({AniAtom{p, 0, 0, 0, 0}});
  return s;
}

struct Fixture {
  QnoResourceManager manager;
  Fixture(const std::vector<AniState>& states) {
    auto blobs = Pictures();
    blobs.push_back({ANIM, zorgen::WriteAnimation(states)});
    AddArchive(manager, "a.gla", blobs);
  }
  // The picture id of the current frame of track 0, 0 for none.
  static uint32_t Shown(QnoAniMotor& m, uint32_t t) {
    unsigned count = 0;
    const uint8_t* atoms = m.GetAtom2D(count, t);
    return atoms ? QnoAniAtom::Read(atoms).pictureId : 0;
  }
};

}  // namespace

TEST(Animation, FramesDivideTheStateEvenlyAndLoop) {
  Fixture f({State(1000, 0, {1, 2, 3, 4})});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 100);
  EXPECT_EQ(Fixture::Shown(m, 100), 1u);
  EXPECT_EQ(Fixture::Shown(m, 599), 2u);
  EXPECT_EQ(Fixture::Shown(m, 600), 3u);
  EXPECT_EQ(Fixture::Shown(m, 849), 3u);
  EXPECT_EQ(Fixture::Shown(m, 850), 4u);
  // Looping: 1000 ms on it shows frame 0 and the start moves by whole durations.
  EXPECT_EQ(Fixture::Shown(m, 2150), 1u);
  EXPECT_EQ(m.GetStartTick(), 2100u);
}

TEST(Animation, ExpiredStatesHandOverToTheirFollowUp) {
  Fixture f({State(200, 1, {1}), State(300, 2, {2}), State(1000, 2, {3, 4})});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 0);
  EXPECT_EQ(Fixture::Shown(m, 150), 1u);
  // The follow-up starts at the tick of the lookup that found the state over.
  EXPECT_EQ(Fixture::Shown(m, 700), 2u);
  EXPECT_EQ(m.GetState(), 1u);
  EXPECT_EQ(m.GetStartTick(), 700u);
  EXPECT_EQ(Fixture::Shown(m, 1000), 3u);
  EXPECT_EQ(Fixture::Shown(m, 1500), 4u);
  EXPECT_EQ(Fixture::Shown(m, 2000), 3u);  // the last state loops
}

TEST(Animation, InvalidFollowUpUnbindsAndRebindingRestarts) {
  Fixture f({State(100, 9, {1}), State(100, 1, {2})});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 0);
  EXPECT_EQ(Fixture::Shown(m, 150), 0u);
  EXPECT_FALSE(m.IsBound());
  EXPECT_EQ(Fixture::Shown(m, 160), 0u);
  m.SetResourceID(ANIM, 1000);
  EXPECT_TRUE(m.IsBound());
  m.SetState(1, 1000);
  EXPECT_EQ(Fixture::Shown(m, 1010), 2u);
  m.SetResourceID(ANIM, 2000);  // the same id: back to state 0
  EXPECT_EQ(m.GetState(), 0u);
  EXPECT_EQ(Fixture::Shown(m, 2010), 1u);
  m.SetState(5, 2020);
  EXPECT_FALSE(m.IsBound());
}

TEST(Animation, OnlyValidAnimationsBind) {
  QnoResourceManager manager;
  Bytes good = zorgen::WriteAnimation({State(100, 0, {1, 2})});
  Bytes wrongType = good;
  qno_wr16(wrongType.data(), 4, 5);
  Bytes badState = good;
  qno_wr32(badState.data(), 24, 0x7FFFFFF0u);
  Bytes badFrame = good;
  qno_wr32(badFrame.data(), qno_rd32(good.data(), 24) + 16 + 8, 9999);  // frame 0 of track 0
  Bytes cut(good.begin(), good.end() - 1);
  AddArchive(manager, "a.gla", {{1, wrongType}, {2, badState}, {3, badFrame}, {4, cut}, {5, good}});
  for (uint32_t id = 1; id <= 5; ++id) {
    QnoAniMotor m(&manager);
    m.SetResourceID(id, 0);
    EXPECT_EQ(m.IsBound(), id == 5) << id;
  }
  QnoAniMotor none(&manager);
  none.SetResourceID(77, 0);
  EXPECT_FALSE(none.IsBound());
}

TEST(Animation, DrawsAtomsOffsetAndFillsTheBoundingBox) {
  AniState s{1000, 0, {{AniAtom{1, 5, 0, 0, 0}, AniAtom{2, -5, 2, 0, 0}}}};
  Fixture f({s});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 0);
  Canvas c(40, 40);
  int box[4] = {};
  QnoAnimationContext ctx;
  ctx.manager = &f.manager;
  ctx.renderBuffer = &c.rb;
  ctx.boundingRect = box;
  ctx.tick = 10;
  EXPECT_EQ(QnoAnimation2D(&ctx, &m, 20, 20, 0.0f), 2);
  EXPECT_EQ(c.At(25, 20), 1);
  EXPECT_EQ(c.At(15, 22), 2);
  EXPECT_EQ(c.surface.CountNot(0), 18);
  EXPECT_EQ(box[0], 15 - 1 - 1);
  EXPECT_EQ(box[1], 20 - 1 - 1);
  EXPECT_EQ(box[2], 25 + 1 + 1);
  EXPECT_EQ(box[3], 22 + 1 + 1);
  // Box only: nothing drawn.
  Canvas d(40, 40);
  ctx.renderBuffer = &d.rb;
  ctx.flags = QNO_ANICTX_BOX_ONLY;
  QnoAnimation2D(&ctx, &m, 20, 20, 1.0f);
  EXPECT_EQ(d.surface.CountNot(0), 0);
}

TEST(Animation, InterpolatedFramesMoveTowardsTheNextOne) {
  AniState s{1000, 0, {{AniAtom{1, 0, 0, 0, QNO_ATOM_INTERPOLATE}}, {AniAtom{1, 20, 0, 0, QNO_ATOM_INTERPOLATE}}}};
  Fixture f({s});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 0);
  Canvas c(60, 20);
  QnoAnimationContext ctx;
  ctx.manager = &f.manager;
  ctx.renderBuffer = &c.rb;
  ctx.tick = 250;  // half way through frame 0
  QnoAnimation2D(&ctx, &m, 10, 10, 1.0f);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{19, 9, 21, 11}));
}

// A state record may overlap its own tracks: here every track of state 0
// starts on the state record, so track 0's frame count is the state's
// duration. A duration of 0 is played as 1 ms without writing that into the
// blob, which would give the track a frame the validator never saw.
TEST(Animation, PlayingLeavesTheBlobAsValidated) {
  Bytes blob(40, 0);
  std::memcpy(blob.data(), "ZANi", 4);
  qno_wr16(blob.data(), 4, QNO_ANIMATION_TYPE);  // also state 0's track count: 6
  qno_wr32(blob.data(), 12, 1);                  // one state, also its follow-up
  qno_wr32(blob.data(), 24, 4);                  // state 0 at offset 4
  ASSERT_TRUE(QnoValidateAnimation(blob.data(), static_cast<uint32_t>(blob.size())));
  QnoResourceManager manager;
  auto blobs = Pictures();
  blobs.push_back({ANIM, blob});
  AddArchive(manager, "a.gla", blobs);
  QnoAniMotor m(&manager);
  m.SetResourceID(ANIM, 0);
  ASSERT_TRUE(m.IsBound());
  Canvas c(16, 16);
  QnoAnimationContext ctx;
  ctx.manager = &manager;
  ctx.renderBuffer = &c.rb;
  for (uint32_t t : {0u, 1u, 5u}) {
    unsigned count = 7;
    EXPECT_EQ(m.GetAtom2D(count, t), nullptr) << t;
    EXPECT_EQ(count, 0u);
    ctx.tick = t;
    EXPECT_EQ(QnoAnimation2D(&ctx, &m, 8, 8, 1.0f), 0);
  }
  const auto* held = static_cast<const uint8_t*>(manager.GetResource(ANIM));
  EXPECT_EQ(Bytes(held, held + blob.size()), blob);
}

// A zero duration still plays: every lookup is past it, so the state hands
// over to its follow-up, and a state that loops on itself shows frame 0.
TEST(Animation, ZeroDurationStatesPlayAsOneMillisecond) {
  Fixture f({State(0, 1, {1}), State(0, 1, {2, 3})});
  QnoAniMotor m(&f.manager);
  m.SetResourceID(ANIM, 10);
  EXPECT_EQ(Fixture::Shown(m, 10), 1u);
  EXPECT_EQ(Fixture::Shown(m, 11), 2u);
  EXPECT_EQ(m.GetState(), 1u);
  EXPECT_EQ(Fixture::Shown(m, 500), 2u);
  const auto* held = static_cast<const uint8_t*>(f.manager.GetResource(ANIM));
  EXPECT_EQ(qno_rd32(held, qno_rd32(held, 24) + 4), 0u);
}

// An atom's scale can blow a picture up past any int: its box is held to
// 2^24 pixels each side of the anchor instead of wrapping round.
TEST(Animation, HugeScalesKeepTheBoxInRange) {
  QnoResourceManager manager;
  AniState s{1000, 0, {{AniAtom{5, 0, 0, 0xFFFFFFFFu, 0}}}};
  AddArchive(manager, "a.gla",
             {{5, zorgen::WriteQbmp16(Solid(16384, 1, 7), zorgen::KEY_565, false)}, {ANIM, zorgen::WriteAnimation({s})}});
  QnoAniMotor m(&manager);
  m.SetResourceID(ANIM, 0);
  Canvas c(16, 16);
  int box[4] = {};
  QnoAnimationContext ctx;
  ctx.manager = &manager;
  ctx.renderBuffer = &c.rb;
  ctx.boundingRect = box;
  ctx.flags = QNO_ANICTX_BOX_ONLY;
  QnoAnimation2D(&ctx, &m, 20, 30, 1.0f);
  EXPECT_EQ(box[0], 20 - (1 << 24) - 1);
  EXPECT_EQ(box[2], 20 + (1 << 24) + 1);
  EXPECT_EQ(box[1], 30 - 1);  // one row: half its height is 0 at any scale
  EXPECT_EQ(box[3], 30 + 1);
}

// Offsets scale with the atom (unless marked unscaled), the side flags move
// a picture by half its scaled size, and the box follows; a run-length
// picture's box is its unscaled size around the same point.
TEST(Animation, ScaledOffsetsSideFlagsAndBoxes) {
  zorgen::Image8 rle{5, 3, std::vector<uint8_t>(15, 1), {}};
  auto box = [&](uint32_t picture, uint32_t flags) {
    QnoResourceManager manager;
    auto blobs = Pictures();
    blobs.push_back({5, zorgen::WriteQbmp8(rle, 0, zorgen::Rle::SchemeA)});
    blobs.push_back({ANIM, zorgen::WriteAnimation({AniState{1000, 0, {{AniAtom{picture, 4, 2, 32768, flags}}}}})});
    AddArchive(manager, "a.gla", blobs);
    QnoAniMotor m(&manager);
    m.SetResourceID(ANIM, 0);
    Canvas c(64, 64);
    std::vector<int> b(4, 0);
    QnoAnimationContext ctx;
    ctx.manager = &manager;
    ctx.renderBuffer = &c.rb;
    ctx.boundingRect = b.data();
    QnoAnimation2D(&ctx, &m, 20, 20, 1.0f);
    return b;
  };
  // Scale 2: the 3 x 3 picture's half size is 2, the offset (8, 4).
  EXPECT_EQ(box(1, 0), (std::vector<int>{25, 21, 31, 27}));
  EXPECT_EQ(box(1, QNO_ATOM_DOWN), (std::vector<int>{25, 23, 31, 29}));
  EXPECT_EQ(box(1, QNO_ATOM_UP | QNO_ATOM_RIGHT), (std::vector<int>{27, 19, 33, 25}));
  EXPECT_EQ(box(1, QNO_ATOM_LEFT), (std::vector<int>{23, 21, 29, 27}));
  EXPECT_EQ(box(1, QNO_ATOM_UNSCALED), (std::vector<int>{21, 19, 27, 25}));
  EXPECT_EQ(box(5, 0), (std::vector<int>{26, 23, 30, 25}));
}

// Interpolation needs a next frame and a span: on the last frame of a state
// that hands over, and in a state shorter than its frame count, the atom
// stays where it is.
TEST(Animation, InterpolationWithoutNextFrameOrSpanStaysPut) {
  for (uint32_t duration : {1000u, 1u}) {
    AniState s{duration, 1, {{AniAtom{1, 0, 0, 0, QNO_ATOM_INTERPOLATE}}, {AniAtom{1, 20, 0, 0, QNO_ATOM_INTERPOLATE}}}};
    Fixture f({s, State(1000, 1, {2})});
    QnoAniMotor m(&f.manager);
    m.SetResourceID(ANIM, 0);
    Canvas c(60, 20);
    QnoAnimationContext ctx;
    ctx.manager = &f.manager;
    ctx.renderBuffer = &c.rb;
    ctx.tick = duration == 1 ? 0 : 750;  // frame 0 of a 0 ms span, or the last frame
    QnoAnimation2D(&ctx, &m, 10, 10, 1.0f);
    const int x = duration == 1 ? 10 : 30;
    EXPECT_EQ(c.surface.Box(0), (std::vector<int>{x - 1, 9, x + 1, 11})) << duration;
  }
}

// A state without tracks shows nothing; releasing forgets the id.
TEST(Animation, TracklessStatesShowNothingAndReleaseForgetsTheId) {
  Bytes blob(40, 0);
  qno_wr16(blob.data(), 4, QNO_ANIMATION_TYPE);
  qno_wr32(blob.data(), 12, 1);
  qno_wr32(blob.data(), 24, 28);
  qno_wr32(blob.data(), 32, 100);  // duration; no tracks, follow-up 0
  QnoResourceManager manager;
  AddArchive(manager, "a.gla", {{ANIM, blob}});
  QnoAniMotor m(&manager);
  m.SetResourceID(ANIM, 0);
  ASSERT_TRUE(m.IsBound());
  unsigned count = 3;
  EXPECT_EQ(m.GetAtom2D(count, 50), nullptr);
  EXPECT_EQ(m.GetTrackKind(0), 0u);
  EXPECT_EQ(m.GetResourceID(), ANIM);
  m.ReleaseResource();
  EXPECT_FALSE(m.IsBound());
  EXPECT_EQ(m.GetResourceID(), 0u);
}
