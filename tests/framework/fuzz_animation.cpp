// Animations from arbitrary bytes, served as resource 1 beside a picture
// with id 2: a motor binds what validates and is stepped through its states
// on the manual clock, drawing each frame with and without a bounding box.
// The blob must be left as it was validated.
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/qno_animation.h"
#include "framework/zor_seams.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!QnoValidateAnimation(data, static_cast<uint32_t>(size))) return 0;
  static ZorManualClock clock;
  ZorSetClock(&clock);
  clock.Set(0);
  QnoResourceManager* m = zorfuzz::Serve({{1, std::vector<uint8_t>(data, data + size)}, {2, zorfuzz::Picture()}});
  if (!m) return 0;
  QnoAniMotor motor(m);
  motor.SetResourceID(1, 0);
  const uint32_t states = qno_rd32(data, 12);
  if (motor.IsBound() != (states > 0)) __builtin_trap();  // it validated: state 0 plays when there is one
  QnoAnimationContext ctx;
  ctx.manager = m;
  ctx.renderBuffer = &zorfuzz::Buffer();
  int box[4];
  for (uint32_t t : {0u, 1u, 7u, 500u, 4999u, 100000u, 0xFFFFFFF0u}) {
    clock.Set(t);
    ctx.tick = t;
    ctx.boundingRect = (t & 1) ? box : nullptr;
    ctx.flags = (t & 2) ? QNO_ANICTX_NO_SCALE : 0;
    QnoAnimation2D(&ctx, &motor, 20, 20, (t & 4) ? 0.5f : 1.0f);
    unsigned s, e;
    motor.GetNextTrackChild(0, t, s, e);
    for (unsigned track = 1; track < QNO_ANI_MAX_TRACKS; ++track) motor.GetCurrentTrackChild(track, t);
    if (states) motor.SetState(t % states, t);
  }
  const auto* held = static_cast<const uint8_t*>(m->GetResource(1));
  if (!held || std::memcmp(held, data, size) != 0) __builtin_trap();
  ZorSetClock(nullptr);
  return 0;
}
