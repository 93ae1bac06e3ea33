// Draws one frame with the generated data through the game's own drawing
// code, so a person can look at it: text in the four fonts, the loading
// picture, every cursor, rectangles and lines.
//   zor_showcase <gamedata dir> <output.bmp>
#include <SDL.h>

#include <cstdio>
#include <string>

#include "framework/qno_animation.h"
#include "framework/qno_bitmap.h"
#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "manifest.h"
#include "writers/blob_writers.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <gamedata dir> <output.bmp>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  QnoResourceManager resources;
  for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
    char path[512];
    QnoMakeValidPathname(dir.c_str(), name, ".GLA", path, sizeof path);
    if (resources.AddWadFile(path) != 0) {
      std::fprintf(stderr, "cannot open %s\n", path);
      return 1;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  QnoView view;
  SDL_Surface* screen = view.OpenScreen(nullptr, 800, 600, false, false);
  if (!screen) {
    std::fprintf(stderr, "no 16-bit 565 screen\n");
    SDL_Quit();
    return 1;
  }
  QnoRenderBuffer* rb = view.GetRenderBuffer();
  if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);

  rb->FillRect(0, 0, 800, 600, rb->GetClosestColor(86, 120, 78));
  // a window-like panel
  rb->FillRect(20, 20, 520, 330, rb->GetClosestColor(222, 226, 234));
  rb->FrameRect(20, 20, 519, 329, 0);
  rb->FillRect(21, 21, 519, 44, rb->GetClosestColor(39, 48, 70));

  auto text = [&](uint32_t font, int x, int y, const char* utf8, int r, int g, int b) {
    const std::string s = zorgen::Utf8ToCp1252(utf8);
    rb->RenderText(QnoBitmapFont::FromResource(&resources, font), x, y, s.c_str(), rb->GetClosestColor(r, g, b));
  };
  text(zorgen::FONT_TITLE, 28, 25, "Verkehrsplanung – Übersicht (49713)", 240, 242, 248);
  int y = 56;
  const char* lines[] = {"Größere Straßen führen zu mehr Verkehr.", "Öffentlicher Nahverkehr: Busse, Bahnen, Ä Ö Ü ä ö ü ß",
                         "The quick brown fox jumps over the lazy dog. 0123456789 € §"};
  for (const char* l : lines) {
    text(zorgen::FONT_STANDARD, 30, y, l, 39, 48, 70);
    y += 18;
  }
  text(zorgen::FONT_STANDARD, 30, y, "823: Standardschrift, grau (120, 120, 120)", 120, 120, 120);
  y += 26;
  for (const char* l : {"19671: Ew: 125.430   Kosten: 12.500 DM   Jan 2004", "Linie 4 – Hauptbahnhof – Rathausplatz"}) {
    text(zorgen::FONT_STATUS, 30, y, l, 42, 52, 76);
    y += 16;
  }
  y += 8;
  for (const char* l : {"28387: Fahrzeuge 1.250 / Verkauf 320", "Hilfe: Wählen Sie eine Straße aus."}) {
    text(zorgen::FONT_FIGURES, 30, y, l, 42, 52, 76);
    y += 16;
  }
  // the status line look: light text on the dark bar
  rb->FillRect(20, 290, 520, 320, rb->GetClosestColor(39, 48, 70));
  text(zorgen::FONT_STATUS, 30, 298, "Pop: 125.430   cost: 12.500   Mär 2004   Geschwindigkeit: normal", 173, 179, 195);

  // the loading picture with a half-full progress bar, as the game draws it
  const int bx = 660, by = 60;
  rb->DrawBitmap(QnoBitmap::FromResource(&resources, zorgen::PIC_LOADING_DE), bx, by, 0);
  rb->FillRect(bx - 143 + 16, by - 40 + 55, bx - 143 + 16 + 170, by - 40 + 71, rb->GetClosestColor(0, 255, 0));
  rb->DrawBitmap(QnoBitmap::FromResource(&resources, zorgen::PIC_LOADING_EN), bx, by + 95, 0);

  // lines of every slope
  for (int i = 0; i < 12; ++i)
    CIsoSprite::Line(rb, 560, 420, 560 + (i < 6 ? 200 : 200 - (i - 6) * 40), 420 - (i < 6 ? i * 40 : 200),
                     static_cast<uint16_t>(rb->GetClosestColor(255, 255 - i * 20, i * 20)));

  // every cursor on a grid of light and dark tiles
  QnoAnimationContext ctx;
  ctx.manager = &resources;
  ctx.renderBuffer = rb;
  ctx.tick = 100;
  int i = 0;
  for (const zorgen::CursorEntry& c : zorgen::Cursors()) {
    const int cx = 40 + (i % 12) * 40, cy = 370 + (i / 12) * 44;
    rb->FillRect(cx - 18, cy - 18, cx + 18, cy + 20, (i % 2) ? rb->GetClosestColor(200, 204, 210) : rb->GetClosestColor(60, 90, 60));
    QnoAniMotor motor(&resources);
    motor.SetResourceID(c.animationId, 0);
    QnoAnimation2D(&ctx, &motor, cx - 10, cy - 10, 1.0f);
    ++i;
  }
  // the pointer where the mouse is
  QnoAniMotor pointer(&resources);
  pointer.SetResourceID(1409, 0);
  QnoAnimation2D(&ctx, &pointer, 300, 200, 1.0f);

  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  view.GetDisplay()->FlipBuffer();
  const int saved = SDL_SaveBMP(screen, argv[2]);
  SDL_Delay(200);
  SDL_Quit();
  return saved == 0 ? 0 : 1;
}
