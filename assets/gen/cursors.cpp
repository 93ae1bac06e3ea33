// Mouse cursors: a pointer arrow, with a round badge naming the tool for the
// tool cursors; centred symbols for waiting, panning and dragging.
#include <cmath>

#include "gen/generator.h"

namespace zorgen {

namespace {

constexpr int SIZE = 32;  // every cursor picture is 32 x 32
using D = CursorDesign;

void Arrow(cairo_t* cr, double scale) {
  const double pts[][2] = {{0, 0}, {0, 17}, {4.2, 13.2}, {7.2, 19.6}, {10, 18.4}, {7.1, 12.2}, {12.6, 12.2}};
  cairo_save(cr);
  cairo_translate(cr, 1.5, 1.5);
  cairo_scale(cr, scale, scale);
  cairo_move_to(cr, pts[0][0], pts[0][1]);
  for (const auto& p : pts) cairo_line_to(cr, p[0], p[1]);
  cairo_close_path(cr);
  cairo_restore(cr);
  SetRgb(cr, 255, 255, 255);
  cairo_fill_preserve(cr);
  SetRgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1.4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

struct Rgb {
  int r, g, b;
};

void Badge(cairo_t* cr, Rgb fill) {
  cairo_arc(cr, 22.5, 22.5, 8.6, 0, 2 * M_PI);
  SetRgb(cr, fill.r, fill.g, fill.b);
  cairo_fill_preserve(cr);
  SetRgb(cr, 20, 24, 34);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2, double w, Rgb c) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_set_line_width(cr, w);
  SetRgb(cr, c.r, c.g, c.b);
  cairo_stroke(cr);
}

void Cross(cairo_t* cr, Rgb c) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 19, 19, 26, 26, 2.4, c);
  Line(cr, 26, 19, 19, 26, 2.4, c);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void RemoveMark(cairo_t* cr) {
  // a small red disc with a white cross at the badge's top right
  cairo_arc(cr, 27.5, 17.5, 4.2, 0, 2 * M_PI);
  SetRgb(cr, 210, 40, 40);
  cairo_fill_preserve(cr);
  SetRgb(cr, 255, 255, 255);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  Line(cr, 25.8, 15.8, 29.2, 19.2, 1.3, {255, 255, 255});
  Line(cr, 29.2, 15.8, 25.8, 19.2, 1.3, {255, 255, 255});
}

void Road(cairo_t* cr, double width, Rgb surface, bool centreDashes) {
  cairo_rectangle(cr, 22.5 - width / 2, 15, width, 15);
  SetRgb(cr, surface.r, surface.g, surface.b);
  cairo_fill(cr);
  if (centreDashes) {
    const double dash[] = {2.0, 2.0};
    cairo_set_dash(cr, dash, 2, 0);
    Line(cr, 22.5, 15, 22.5, 30, 1.2, {255, 255, 255});
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

void House(cairo_t* cr, double w, double h, Rgb roof) {
  const double x = 22.5 - w / 2, y = 27 - h;
  cairo_rectangle(cr, x, y, w, h);
  SetRgb(cr, 255, 255, 255);
  cairo_fill(cr);
  cairo_move_to(cr, x - 1.5, y + 0.5);
  cairo_line_to(cr, 22.5, y - w / 2);
  cairo_line_to(cr, x + w + 1.5, y + 0.5);
  cairo_close_path(cr);
  SetRgb(cr, roof.r, roof.g, roof.b);
  cairo_fill(cr);
  cairo_rectangle(cr, 21.5, 27 - h / 2, 2, h / 2);
  SetRgb(cr, roof.r, roof.g, roof.b);
  cairo_fill(cr);
}

void Tower(cairo_t* cr, double w, double h) {
  cairo_rectangle(cr, 22.5 - w / 2, 28 - h, w, h);
  SetRgb(cr, 255, 255, 255);
  cairo_fill(cr);
  for (double y = 28 - h + 1.5; y < 27; y += 2.5)
    Line(cr, 22.5 - w / 2 + 1, y, 22.5 + w / 2 - 1, y, 1, {40, 90, 170});
}

void Factory(cairo_t* cr) {
  cairo_move_to(cr, 16, 28);
  cairo_line_to(cr, 16, 21);
  cairo_line_to(cr, 20, 23.5);
  cairo_line_to(cr, 20, 21);
  cairo_line_to(cr, 24, 23.5);
  cairo_line_to(cr, 24, 16);
  cairo_line_to(cr, 27, 16);
  cairo_line_to(cr, 27, 28);
  cairo_close_path(cr);
  SetRgb(cr, 255, 255, 255);
  cairo_fill(cr);
}

void Letter(cairo_t* cr, const char* text, double size, Rgb c, double dx = 0) {
  cairo_font_face_t* face = LoadFontFace(FontPath("DejaVuSans-Bold.ttf"));
  if (face) cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text, &te);
  cairo_move_to(cr, 22.5 + dx - te.width / 2 - te.x_bearing, 22.5 - te.height / 2 - te.y_bearing);
  SetRgb(cr, c.r, c.g, c.b);
  cairo_show_text(cr, text);
}

// A bus-line badge: a route through two stops, with a sign.
void LineBadge(cairo_t* cr, const char* sign) {
  Badge(cr, {128, 64, 160});
  Line(cr, 16.5, 25, 28.5, 20, 2.2, {255, 255, 255});
  cairo_arc(cr, 17.5, 24.6, 2, 0, 2 * M_PI);
  cairo_arc(cr, 27.5, 20.4, 2, 0, 2 * M_PI);
  SetRgb(cr, 255, 210, 60);
  cairo_fill(cr);
  if (*sign) {
    cairo_arc(cr, 27.5, 27.5, 4.2, 0, 2 * M_PI);
    SetRgb(cr, 255, 255, 255);
    cairo_fill(cr);
    Letter(cr, sign, 7.5, {128, 64, 160}, 5);
  }
}

void StopSign(cairo_t* cr) {
  cairo_arc(cr, 22.5, 22.5, 8.6, 0, 2 * M_PI);
  SetRgb(cr, 250, 210, 40);
  cairo_fill_preserve(cr);
  SetRgb(cr, 20, 110, 60);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  Letter(cr, "H", 10, {20, 110, 60});
}

void ToolBadge(cairo_t* cr, D d) {
  const Rgb asphalt{70, 74, 84}, green{52, 150, 72}, blue{44, 104, 190}, ochre{196, 140, 40},
      red{200, 48, 48};
  switch (d) {
    case D::Street: Badge(cr, {150, 156, 168}); Road(cr, 7, asphalt, true); break;
    case D::StreetWide: Badge(cr, {150, 156, 168}); Road(cr, 10, asphalt, true); break;
    case D::StreetOneWay:
      Badge(cr, {150, 156, 168});
      Road(cr, 8, asphalt, false);
      cairo_move_to(cr, 22.5, 16.5);
      cairo_line_to(cr, 26, 21);
      cairo_line_to(cr, 19, 21);
      cairo_close_path(cr);
      SetRgb(cr, 255, 255, 255);
      cairo_fill(cr);
      Line(cr, 22.5, 21, 22.5, 28, 1.6, {255, 255, 255});
      break;
    case D::StreetFourLane:
      Badge(cr, {150, 156, 168});
      Road(cr, 12, asphalt, false);
      Line(cr, 22.5, 15, 22.5, 30, 1.0, {250, 210, 40});
      break;
    case D::StreetBusLane: Badge(cr, {150, 156, 168}); Road(cr, 9, {176, 60, 50}, true); break;
    case D::StreetBridge:
      Badge(cr, {70, 140, 210});
      Road(cr, 8, asphalt, true);
      Line(cr, 17.5, 15, 17.5, 30, 1.2, {255, 255, 255});
      Line(cr, 27.5, 15, 27.5, 30, 1.2, {255, 255, 255});
      break;
    case D::Rail:
      Badge(cr, {150, 156, 168});
      for (double y = 16; y < 30; y += 3) Line(cr, 18, y, 27, y, 1.3, {120, 80, 50});
      Line(cr, 20, 14, 20, 31, 1.3, {40, 40, 44});
      Line(cr, 25, 14, 25, 31, 1.3, {40, 40, 44});
      break;
    case D::Stop: StopSign(cr); break;
    case D::RemoveStop: StopSign(cr); RemoveMark(cr); break;
    case D::ParkingSmall: Badge(cr, blue); Letter(cr, "P", 9, {255, 255, 255}); break;
    case D::ParkingMedium: Badge(cr, blue); Letter(cr, "P", 11, {255, 255, 255}); break;
    case D::ParkingLarge: Badge(cr, blue); Letter(cr, "P", 13, {255, 255, 255}); break;
    case D::RemoveStreet: Badge(cr, {150, 156, 168}); Road(cr, 7, asphalt, true); RemoveMark(cr); break;
    case D::ResidentialSmall: Badge(cr, green); House(cr, 7, 5, {176, 60, 50}); break;
    case D::ResidentialLarge: Badge(cr, green); House(cr, 10, 7, {176, 60, 50}); break;
    case D::CommercialSmall: Badge(cr, blue); Tower(cr, 6, 9); break;
    case D::CommercialLarge: Badge(cr, blue); Tower(cr, 8, 13); break;
    case D::Industrial: Badge(cr, ochre); Factory(cr); break;
    case D::ClearLand: Badge(cr, {150, 120, 80}); Cross(cr, {255, 255, 255}); break;
    case D::LineAdd: LineBadge(cr, "+"); break;
    case D::LineRemove: LineBadge(cr, "\xe2\x88\x92"); break;
    case D::LineStopAdd: LineBadge(cr, "H"); break;
    case D::LineStopRemove: LineBadge(cr, "\xc3\x97"); break;
    case D::LineRoute: LineBadge(cr, ""); break;
    case D::Info: Badge(cr, {44, 104, 190}); Letter(cr, "i", 12, {255, 255, 255}); break;
    default: (void)red; break;
  }
}

// An arrow head with a short shaft, pointing along angle (0 = right),
// ending `reach` pixels from the centre.
void DirectionArrow(cairo_t* cr, double angle, double reach, double head) {
  cairo_save(cr);
  cairo_translate(cr, 16, 16);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, reach, 0);
  cairo_line_to(cr, reach - head, -head * 0.8);
  cairo_line_to(cr, reach - head, -head * 0.3);
  cairo_line_to(cr, 2, -head * 0.3);
  cairo_line_to(cr, 2, head * 0.3);
  cairo_line_to(cr, reach - head, head * 0.3);
  cairo_line_to(cr, reach - head, head * 0.8);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void Outlined(cairo_t* cr, Rgb fill) {
  SetRgb(cr, fill.r, fill.g, fill.b);
  cairo_fill_preserve(cr);
  SetRgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1.4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
}

void Pan(cairo_t* cr, int directions, Rgb fill) {
  for (int i = 0; i < 4; ++i)
    if (directions & (1 << i)) DirectionArrow(cr, i * M_PI / 2, 14.5, 6.5);
  Outlined(cr, fill);
  cairo_arc(cr, 16, 16, 2.5, 0, 2 * M_PI);
  Outlined(cr, fill);
}

void SingleArrow(cairo_t* cr, double angle) {
  cairo_save(cr);
  cairo_translate(cr, 16, 16);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, 13, 0);
  cairo_line_to(cr, 1, -10);
  cairo_line_to(cr, 1, -4);
  cairo_line_to(cr, -12, -4);
  cairo_line_to(cr, -12, 4);
  cairo_line_to(cr, 1, 4);
  cairo_line_to(cr, 1, 10);
  cairo_close_path(cr);
  cairo_restore(cr);
  Outlined(cr, {255, 255, 255});
}

// One frame of the waiting spinner: twelve dots, the lit one moving round.
void Spinner(cairo_t* cr, int frame, int frames) {
  cairo_arc(cr, 16, 16, 13.5, 0, 2 * M_PI);
  SetRgb(cr, 30, 36, 52, 0.9);
  cairo_fill(cr);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 - M_PI / 2;
    const int age = (frame - i + frames) % frames;  // 0 = the lit dot
    const int level = 255 - age * 24;
    cairo_arc(cr, 16 + 8.5 * std::cos(a), 16 + 8.5 * std::sin(a), age == 0 ? 3.0 : 2.4, 0, 2 * M_PI);
    SetRgb(cr, level, level, std::min(255, level + 20));
    cairo_fill(cr);
  }
}

Image16 DrawCursor(D design, int frame, int frames) {
  Canvas c(SIZE, SIZE);
  cairo_t* cr = c.cr();
  switch (design) {
    case D::Wait: Spinner(cr, frame, frames); break;
    case D::Pan: Pan(cr, 15, {255, 255, 255}); break;
    case D::Drag: Pan(cr, 15, frame == 0 ? Rgb{255, 255, 255} : Rgb{250, 210, 40}); break;
    case D::PanRight: SingleArrow(cr, 0); break;
    case D::PanDown: SingleArrow(cr, M_PI / 2); break;
    case D::PanLeft: SingleArrow(cr, M_PI); break;
    case D::PanUp: SingleArrow(cr, -M_PI / 2); break;
    case D::Pointer: Arrow(cr, 1.0); break;
    default:
      ToolBadge(cr, design);
      Arrow(cr, 0.85);
      break;
  }
  return c.ToImage();
}

bool CentredHotSpot(D d) { return d == D::Wait || d == D::Pan || d == D::Drag || (d >= D::PanLeft && d <= D::PanDown); }

}  // namespace

bool ProduceCursors(GameDataBuilder& out) {
  bool ok = true;
  for (const CursorEntry& c : Cursors()) {
    std::vector<AniState> states;
    // Pointers have their tip at picture pixel (1, 1); the atom moves the
    // centred picture so that the tip lands on the mouse position.
    const int16_t offset = CentredHotSpot(c.design) ? 0 : SIZE / 2 - 1;
    for (uint32_t i = 0; i < c.pictureCount; ++i) {
      ok &= out.Put(c.firstPictureId + i, WriteQbmp16(DrawCursor(c.design, i, c.pictureCount), KEY_565, false));
    }
    if (c.design == D::Wait) {
      AniState s{800, 0, {}};
      for (uint32_t i = 0; i < c.pictureCount; ++i) s.frames.push_back({{c.firstPictureId + i, offset, offset, 0, 0}});
      states.push_back(s);
    } else {
      // One looping state per picture (the drag cursor has two).
      for (uint32_t i = 0; i < c.pictureCount; ++i)
        states.push_back({1000, i, {{{c.firstPictureId + i, offset, offset, 0, 0}}}});
    }
    ok &= out.Put(c.animationId, WriteAnimation(states));
  }
  return ok;
}

}  // namespace zorgen
