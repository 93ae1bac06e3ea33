// Every blob kind's check against arbitrary bytes: what passes is drawn,
// and drawing must stay inside the blob and the surface.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/qno_animation.h"
#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"

namespace {

// One archive holding the blob under id 1 (and as picture 1 of animations).
bool WriteArchive(const std::vector<uint8_t>& blob) {
  std::vector<uint8_t> a(44, 0);
  std::memcpy(a.data(), "DATA", 4);
  qno_wr32(a.data(), 4, 1);
  qno_wr32(a.data(), 8, static_cast<uint32_t>(44 + blob.size()));
  a.insert(a.end(), blob.begin(), blob.end());
  uint8_t entry[12];
  qno_wr32(entry, 0, 1);
  qno_wr32(entry, 4, 44);
  qno_wr32(entry, 8, static_cast<uint32_t>(blob.size()));
  a.insert(a.end(), entry, entry + 12);
  FILE* f = std::fopen("blob.gla", "wb");
  if (!f) return false;
  std::fwrite(a.data(), 1, a.size(), f);
  return std::fclose(f) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t kind = data[0] % 5;
  std::vector<uint8_t> blob(data + 1, data + size);
  const uint32_t n = static_cast<uint32_t>(blob.size());
  static SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 48, 16, 0xF800, 0x07E0, 0x001F, 0);
  QnoDisplayCreateStruct cs;
  cs.screenWidth = 64, cs.screenHeight = 48;
  QnoRenderBuffer rb;
  rb.Create(nullptr, &cs, surface);
  rb.SetClipRect(3, 2, 60, 45);
  switch (kind) {
    case 0:
      if (QnoBitmap::Validate(blob.data(), n)) {
        QnoBitmap* b = reinterpret_cast<QnoBitmap*>(blob.data());
        rb.DrawBitmap(b, 10, 10, 1);
        rb.DrawBitmap(b, 60, 40, 0);
      }
      break;
    case 1:
      if (QnoBitmapFont::Validate(blob.data(), n)) {
        char text[64];
        for (int i = 0; i < 63; ++i) text[i] = static_cast<char>(i * 4 + 1);
        text[63] = 0;
        const QnoBitmapFont* f = reinterpret_cast<const QnoBitmapFont*>(blob.data());
        rb.GetTextLength(f, text);
        rb.RenderText(f, -5, 3, text, 0xFFFF);
      }
      break;
    case 2:
      if (CIsoSprite::Validate(blob.data(), n)) {
        CIsoSprite::RenderClipped(&rb, blob.data(), -3, -4);
        CIsoSprite::RenderIsoClipped(&rb, blob.data(), 1, 1, 0, 0, 40, 20);
      }
      break;
    case 3:
      QnoRgbPalette::Validate(blob.data(), n);
      QnoValidateText(blob.data(), n);
      break;
    case 4: {
      if (!WriteArchive(blob)) break;
      QnoResourceManager m;
      if (m.AddWadFile("blob.gla") != 0) break;
      QnoAniMotor motor(&m);
      motor.SetResourceID(1, 0);
      QnoAnimationContext ctx;
      ctx.manager = &m;
      ctx.renderBuffer = &rb;
      int box[4];
      ctx.boundingRect = box;
      for (uint32_t t : {0u, 7u, 500u, 100000u}) {
        ctx.tick = t;
        QnoAnimation2D(&ctx, &motor, 20, 20, 1.0f);
        unsigned s, e;
        motor.GetNextTrackChild(0, t, s, e);
        motor.GetCurrentTrackChild(1, t);
        motor.SetState(t % 3, t);
      }
      break;
    }
  }
  return 0;
}
