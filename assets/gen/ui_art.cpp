// The interface pictures: the game bar, the tool buttons and their menus, the
// thematic map's frame, pages, layer buttons and legends, the small widgets
// every window shares, and the notices drawn over the map. One colour scheme
// throughout: slate-blue panels, light bevels, a warm yellow for what the
// pointer is over, and the map's own colours wherever a picture stands for it.
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "gen/ui_paint.h"

namespace zorgen {

namespace {

// ------------------------------------------------------------ icons
// Icons are drawn into a 36 x 36 design square; smaller buttons scale it.

void RemoveMark(cairo_t* cr) {
  Disc(cr, 27, 27, 6.5, kRed);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 24.2, 24.2, 29.8, 29.8, 2, kWhite);
  Line(cr, 29.8, 24.2, 24.2, 29.8, 2, kWhite);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// A road seen from above, running diagonally from the lower left.
void Road(cairo_t* cr, double width, int lanes) {
  cairo_save(cr);
  cairo_translate(cr, 18, 18);
  cairo_rotate(cr, -M_PI / 4);
  FillRect(cr, -20, -width / 2 - 1.5, 40, width + 3, kGrass);
  FillRect(cr, -20, -width / 2, 40, width, kRoad);
  const double dash[] = {3.0, 2.5};
  if (lanes == 2) {
    cairo_set_dash(cr, dash, 2, 0);
    Line(cr, -20, 0, 20, 0, 1.3, kWhite);
    cairo_set_dash(cr, nullptr, 0, 0);
  } else if (lanes == 4) {
    Line(cr, -20, -0.9, 20, -0.9, 0.9, kAccent);
    Line(cr, -20, 0.9, 20, 0.9, 0.9, kAccent);
    cairo_set_dash(cr, dash, 2, 0);
    Line(cr, -20, -width / 4 - 0.5, 20, -width / 4 - 0.5, 1, kWhite);
    Line(cr, -20, width / 4 + 0.5, 20, width / 4 + 0.5, 1, kWhite);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  cairo_restore(cr);
}

void Rails(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, 18, 18);
  cairo_rotate(cr, -M_PI / 4);
  FillRect(cr, -20, -7, 40, 14, {150, 140, 120});
  for (double x = -19; x < 20; x += 4) FillRect(cr, x, -6, 2.2, 12, {110, 74, 40});
  Line(cr, -20, -3.5, 20, -3.5, 1.6, {200, 204, 214});
  Line(cr, -20, 3.5, 20, 3.5, 1.6, {200, 204, 214});
  cairo_restore(cr);
}

// The round stop sign: a yellow disc with a green H.
void StopDisc(cairo_t* cr, double x, double y, double r) {
  Disc(cr, x, y, r + 1, {40, 110, 50});
  Disc(cr, x, y, r, {250, 210, 40});
  Text(cr, kBold, r * 1.35, "H", x, y + r * 0.48, {30, 110, 50}, Align::Centre);
}

void SignPole(cairo_t* cr, double x) {
  FillRect(cr, x - 1, 14, 2, 17, {200, 204, 214});
  StopDisc(cr, x, 11, 6);
}

void Shelter(cairo_t* cr) {
  FillRect(cr, 15, 15, 17, 2.5, {60, 70, 100});
  FillRect(cr, 16, 17.5, 1.5, 13, {60, 70, 100});
  FillRect(cr, 29.5, 17.5, 1.5, 13, {60, 70, 100});
  cairo_rectangle(cr, 17.5, 17.5, 12, 10);
  Set(cr, {170, 210, 240}, 0.9);
  cairo_fill(cr);
  FillRect(cr, 18, 25, 11, 2, {120, 80, 50});
}

void Bus(cairo_t* cr, double x, double y, double s) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, s, s);
  RoundedRect(cr, -9, -10, 18, 19, 3);
  Set(cr, {240, 200, 40});
  cairo_fill(cr);
  FillRect(cr, -7, -7, 14, 7, {150, 200, 240});
  FillRect(cr, -7, -9, 14, 1.2, {60, 70, 90});
  Disc(cr, -5, 4.5, 1.6, kWhite);
  Disc(cr, 5, 4.5, 1.6, kWhite);
  FillRect(cr, -8, 9, 3.5, 2.5, {30, 30, 36});
  FillRect(cr, 4.5, 9, 3.5, 2.5, {30, 30, 36});
  cairo_restore(cr);
}

void Train(cairo_t* cr, double x, double y) {
  RoundedRect(cr, x - 8, y - 11, 16, 19, 4);
  Set(cr, {200, 40, 40});
  cairo_fill(cr);
  FillRect(cr, x - 6, y - 8, 12, 6, {160, 210, 245});
  Disc(cr, x - 4, y + 3, 1.5, kWhite);
  Disc(cr, x + 4, y + 3, 1.5, kWhite);
  Line(cr, x - 6, y + 8, x - 9, y + 12, 1.5, {200, 204, 214});
  Line(cr, x + 6, y + 8, x + 9, y + 12, 1.5, {200, 204, 214});
}

void House(cairo_t* cr, double x, double base, double w, double h, Rgb8 wall, Rgb8 roof) {
  FillRect(cr, x, base - h, w, h, wall);
  Poly(cr, {{x - 1.5, base - h + 0.5}, {x + w / 2, base - h - w * 0.45}, {x + w + 1.5, base - h + 0.5}}, roof);
  FillRect(cr, x + w / 2 - 1.5, base - h * 0.55, 3, h * 0.55, {110, 70, 40});
}

void Tower(cairo_t* cr, double x, double base, double w, double h, Rgb8 wall) {
  FillRect(cr, x, base - h, w, h, wall);
  for (double yy = base - h + 2; yy < base - 2; yy += 3.5)
    for (double xx = x + 1.5; xx < x + w - 2; xx += 3.5) FillRect(cr, xx, yy, 2, 2, {190, 225, 250});
}

void Factory(cairo_t* cr, Rgb8 wall) {
  Poly(cr, {{6, 30}, {6, 19}, {13, 23}, {13, 19}, {20, 23}, {20, 19}, {27, 23}, {27, 9}, {31, 9}, {31, 30}}, wall);
  FillRect(cr, 9, 25, 3, 3, {60, 60, 70});
  FillRect(cr, 16, 25, 3, 3, {60, 60, 70});
  FillRect(cr, 23, 25, 3, 3, {60, 60, 70});
  Disc(cr, 30, 6, 2.2, {200, 200, 210});
}

void Ground(cairo_t* cr, Rgb8 c) {
  Poly(cr, {{3, 30}, {18, 24}, {33, 30}, {18, 35}}, c);
}

void ParkingP(cairo_t* cr, double x, double y, double size) {
  RoundedRect(cr, x - size / 2, y - size / 2, size, size, 3);
  Set(cr, {30, 90, 200});
  cairo_fill(cr);
  Text(cr, kBold, size * 0.8, "P", x, y + size * 0.3, kWhite, Align::Centre);
}

void Magnifier(cairo_t* cr, bool plus) {
  cairo_arc(cr, 15, 15, 9, 0, 2 * M_PI);
  Set(cr, {200, 225, 250});
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 3);
  Set(cr, kTextLight);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 22, 22, 30, 30, 5, kTextLight);
  Line(cr, 10, 15, 20, 15, 3, kTextDark);
  if (plus) Line(cr, 15, 10, 15, 20, 3, kTextDark);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// A bold three-quarter turn with its arrowhead, turning clockwise on screen
// unless mirrored.
void RotateArrow(cairo_t* cr, bool clockwise) {
  cairo_save(cr);
  if (!clockwise) {
    cairo_translate(cr, 36, 0);
    cairo_scale(cr, -1, 1);
  }
  const double cx = 17, cy = 19, r = 11, end = 2.05 * M_PI;
  cairo_arc(cr, cx, cy, r, 0.8 * M_PI, end);
  cairo_set_line_width(cr, 5.5);
  Set(cr, kTextLight);
  cairo_stroke(cr);
  // the head points along the turn at its end
  const double ex = cx + r * std::cos(end), ey = cy + r * std::sin(end);
  const double tx = -std::sin(end), ty = std::cos(end);  // direction of travel
  const double nx = -ty, ny = tx;
  Poly(cr, {{ex + tx * 8, ey + ty * 8}, {ex + nx * 7, ey + ny * 7}, {ex - nx * 7, ey - ny * 7}}, kTextLight);
  cairo_restore(cr);
}


// ---- the building palette's pictures

// A small car seen from the side.
void Car(cairo_t* cr, double x, double y, Rgb8 body) {
  Poly(cr, {{x - 9, y + 2}, {x - 9, y - 2}, {x - 5, y - 3}, {x - 3, y - 7}, {x + 4, y - 7}, {x + 7, y - 3},
            {x + 9, y - 2}, {x + 9, y + 2}},
       body);
  FillRect(cr, x - 2.5, y - 6, 2.5, 3, {170, 215, 245});
  FillRect(cr, x + 1, y - 6, 3, 3, {170, 215, 245});
  Disc(cr, x - 5, y + 2.5, 2.2, {30, 30, 36});
  Disc(cr, x + 5, y + 2.5, 2.2, {30, 30, 36});
}

void Tree(cairo_t* cr, double x, double base, double r) {
  FillRect(cr, x - 1.2, base - r, 2.4, r, {110, 70, 40});
  Disc(cr, x, base - r * 1.6, r, {40, 150, 60});
  Disc(cr, x - r * 0.45, base - r * 1.8, r * 0.55, {70, 180, 80});
}

// The sizes of a building group: one, two or three storeys of one house.
void SizeIcon(cairo_t* cr, int size) {
  Ground(cr, {120, 170, 110});
  const double h = 7 + 7 * size, w = 8 + 4 * size;
  FillRect(cr, 18 - w / 2, 30 - h, w, h, {235, 228, 210});
  for (int f = 0; f < size + 1; ++f)
    for (double xx = 18 - w / 2 + 2; xx < 18 + w / 2 - 2; xx += 4)
      FillRect(cr, xx, 30 - h + 2 + f * 6.5, 2, 3, {120, 160, 210});
}

// Car parks of the three classes: an open lot, a larger lot, a deck.
void CarParkIcon(cairo_t* cr, int size) {
  Ground(cr, {150, 150, 156});
  if (size < 3) {
    for (int i = 0; i < size + 1; ++i) Car(cr, 10 + i * 8, 29 - i * 2, i % 2 ? Rgb8{60, 100, 200} : Rgb8{200, 60, 50});
  } else {
    for (int f = 0; f < 3; ++f) FillRect(cr, 8, 30 - 7 * (f + 1), 20, 2, {120, 124, 132});
    FillRect(cr, 8, 8, 2, 22, {120, 124, 132});
    FillRect(cr, 26, 8, 2, 22, {120, 124, 132});
  }
  ParkingP(cr, 27, 9, 12);
}

const std::map<uint32_t, Icon>& Icons() {
  static const std::map<uint32_t, Icon> icons = {
      // networks
      {18641, [](cairo_t* cr) { Road(cr, 8, 1); }},
      {18643, [](cairo_t* cr) { Road(cr, 12, 2); }},
      {18686, [](cairo_t* cr) { Road(cr, 18, 4); }},
      {18688, [](cairo_t* cr) { Rails(cr); }},
      {18692, [](cairo_t* cr) { StopDisc(cr, 18, 18, 11); }},
      {18644,
       [](cairo_t* cr) {
         Road(cr, 12, 2);
         RemoveMark(cr);
       }},
      {18762,
       [](cairo_t* cr) {
         Road(cr, 10, 2);
         cairo_save(cr);
         cairo_translate(cr, 36, 0);
         cairo_scale(cr, -1, 1);
         Road(cr, 10, 2);
         cairo_restore(cr);
         Disc(cr, 18, 18, 4, kRoad);
       }},
      // stops
      {50860, [](cairo_t* cr) { SignPole(cr, 18); }},
      {19388,
       [](cairo_t* cr) {
         Shelter(cr);
         SignPole(cr, 10);
       }},
      {18690,
       [](cairo_t* cr) {
         FillRect(cr, 3, 27, 30, 4, {170, 170, 176});
         Train(cr, 21, 16);
         StopDisc(cr, 8, 10, 5);
       }},
      {18693,
       [](cairo_t* cr) {
         SignPole(cr, 14);
         RemoveMark(cr);
       }},
      // services
      {18708, [](cairo_t* cr) { Bus(cr, 18, 18, 1.2); }},
      {18763,
       [](cairo_t* cr) {
         Bus(cr, 14, 19, 0.95);
         StopDisc(cr, 27, 10, 6);
       }},
      {26588,
       [](cairo_t* cr) {
         RoundedRect(cr, 6, 5, 24, 19, 5);
         Set(cr, kWhite);
         cairo_fill(cr);
         Poly(cr, {{11, 23}, {10, 31}, {18, 23}}, kWhite);
         Text(cr, kBold, 16, "i", 18, 21, {30, 90, 200}, Align::Centre);
       }},
      // parking and guidance
      {18705,
       [](cairo_t* cr) {
         ParkingP(cr, 12, 14, 16);
         Text(cr, kBold, 11, "+R", 24, 31, kTextLight, Align::Centre);
       }},
      {18706,
       [](cairo_t* cr) {
         ParkingP(cr, 15, 15, 20);
         Disc(cr, 26, 26, 7, kWhite);
         Line(cr, 26, 26, 26, 21.5, 1.5, kTextDark);
         Line(cr, 26, 26, 29, 26, 1.5, kTextDark);
       }},
      {18761, [](cairo_t* cr) { ParkingP(cr, 18, 18, 24); }},
      {18707,
       [](cairo_t* cr) {
         FillRect(cr, 17, 20, 2.5, 12, {200, 204, 214});
         RoundedRect(cr, 4, 5, 28, 16, 2);
         Set(cr, {20, 120, 70});
         cairo_fill(cr);
         Line(cr, 8, 10, 18, 10, 1.8, kWhite);
         Poly(cr, {{18, 7}, {22, 10}, {18, 13}}, kWhite);
         Line(cr, 28, 16, 14, 16, 1.8, kWhite);
         Poly(cr, {{14, 13}, {10, 16}, {14, 19}}, kWhite);
       }},
      // zones
      {18638,
       [](cairo_t* cr) {
         Ground(cr, {0, 207, 0});
         House(cr, 10, 28, 16, 11, {245, 240, 225}, {190, 60, 50});
       }},
      {18639,
       [](cairo_t* cr) {
         Ground(cr, {60, 100, 230});
         Tower(cr, 11, 29, 14, 24, {120, 150, 210});
       }},
      {18635,
       [](cairo_t* cr) {
         Ground(cr, {230, 210, 40});
         Factory(cr, {200, 190, 170});
       }},
      {18772,
       [](cairo_t* cr) {
         for (int i = 0; i < 3; ++i)
           for (int j = 0; j < 3; ++j) {
             const Rgb8 c = (i + j) % 3 == 0   ? Rgb8{0, 207, 0}
                            : (i + j) % 3 == 1 ? Rgb8{60, 100, 230}
                                               : Rgb8{230, 210, 40};
             FillRect(cr, 5 + i * 8.5, 5 + j * 8.5, 7.5, 7.5, c);
           }
         RemoveMark(cr);
       }},
      {18764,
       [](cairo_t* cr) {
         const Rgb8 c[4] = {{0, 207, 0}, {60, 100, 230}, {230, 210, 40}, {0, 207, 0}};
         for (int i = 0; i < 4; ++i) FillRect(cr, 5 + (i % 2) * 13.5, 5 + (i / 2) * 13.5, 12.5, 12.5, c[i]);
         cairo_rectangle(cr, 4.5, 4.5, 27, 27);
         cairo_set_line_width(cr, 1);
         Set(cr, kTextLight);
         cairo_stroke(cr);
       }},
      {26591, [](cairo_t* cr) { House(cr, 11, 30, 14, 9, {245, 240, 225}, {190, 60, 50}); }},
      {26592,
       [](cairo_t* cr) {
         Tower(cr, 6, 31, 11, 26, {230, 225, 210});
         Tower(cr, 19, 31, 11, 19, {210, 205, 190});
       }},
      // the building palette
      {30068,
       [](cairo_t* cr) {
         House(cr, 5, 31, 13, 9, {245, 240, 225}, {190, 60, 50});
         Tower(cr, 20, 31, 12, 24, {120, 150, 210});
       }},
      {30069,
       [](cairo_t* cr) {
         ParkingP(cr, 11, 11, 14);
         Car(cr, 20, 28, {200, 60, 50});
         Text(cr, kCondensedBold, 8, "Verkehr", 18, 35, kTextLight, Align::Centre);
       }},
      {50831,
       [](cairo_t* cr) {
         ParkingP(cr, 11, 11, 14);
         Car(cr, 20, 28, {200, 60, 50});
         Text(cr, kCondensedBold, 8, "Traffic", 18, 35, kTextLight, Align::Centre);
       }},
      {18699,
       [](cairo_t* cr) {
         House(cr, 6, 30, 16, 11, {245, 240, 225}, {190, 60, 50});
         RemoveMark(cr);
       }},
      {18695,
       [](cairo_t* cr) {
         FillRect(cr, 6, 14, 24, 17, {235, 228, 210});
         for (int i = 0; i < 6; ++i) Poly(cr, {{6 + i * 4.0, 10}, {10 + i * 4.0, 10}, {8 + i * 4.0, 16}}, i % 2 ? kWhite : kRed);
         FillRect(cr, 9, 20, 8, 7, {170, 215, 245});
         FillRect(cr, 20, 20, 6, 11, {110, 70, 40});
       }},
      {18696,
       [](cairo_t* cr) {
         FillRect(cr, 5, 16, 26, 15, {220, 190, 150});
         Poly(cr, {{4, 16}, {18, 9}, {32, 16}}, {150, 70, 50});
         for (int i = 0; i < 4; ++i) FillRect(cr, 7.5 + i * 6, 19, 3, 4, {120, 160, 210});
         Line(cr, 18, 9, 18, 2, 1.2, kTextLight);
         Poly(cr, {{18, 2}, {25, 4}, {18, 6}}, {40, 120, 200});
       }},
      {18697,
       [](cairo_t* cr) {
         FillRect(cr, 5, 8, 26, 24, {120, 30, 40});
         FillRect(cr, 5, 8, 26, 4, {200, 160, 40});
         Poly(cr, {{5, 12}, {14, 12}, {8, 32}, {5, 32}}, {190, 40, 50});
         Poly(cr, {{31, 12}, {22, 12}, {28, 32}, {31, 32}}, {190, 40, 50});
         Disc(cr, 18, 22, 3.5, kAccent);
       }},
      {18698,
       [](cairo_t* cr) {
         Disc(cr, 18, 18, 12, kWhite);
         Poly(cr, {{18, 12}, {23.5, 16}, {21.5, 22.5}, {14.5, 22.5}, {12.5, 16}}, {30, 30, 36});
         cairo_arc(cr, 18, 18, 12, 0, 2 * M_PI);
         cairo_set_line_width(cr, 1.2);
         Set(cr, {30, 30, 36});
         cairo_stroke(cr);
       }},
      {30079,
       [](cairo_t* cr) {
         Ground(cr, {60, 170, 70});
         Tree(cr, 12, 30, 6);
         Tree(cr, 24, 31, 7);
       }},
      {28131,
       [](cairo_t* cr) {
         House(cr, 4, 20, 16, 10, {245, 240, 225}, {40, 140, 90});
         Car(cr, 22, 28, {40, 160, 100});
       }},
      {28132,
       [](cairo_t* cr) {
         FillRect(cr, 7, 8, 2, 23, {200, 204, 214});
         Disc(cr, 8, 8, 5, {40, 160, 100});
         Car(cr, 22, 28, {40, 160, 100});
       }},
      {28730,
       [](cairo_t* cr) {
         Line(cr, 18, 5, 11, 32, 1.6, kTextLight);
         Line(cr, 18, 5, 25, 32, 1.6, kTextLight);
         for (int i = 1; i < 4; ++i) Line(cr, 18 - i * 1.7, 5 + i * 6.5, 18 + i * 1.7, 5 + i * 6.5, 1.2, kTextLight);
         for (int r = 4; r <= 10; r += 3) {
           cairo_arc(cr, 18, 5, r, -0.9 * M_PI / 2 - 0.6, -0.9 * M_PI / 2 + 0.6);
           cairo_set_line_width(cr, 1.2);
           Set(cr, kAccent);
           cairo_stroke(cr);
         }
       }},
      {49626,
       [](cairo_t* cr) {
         FillRect(cr, 5, 12, 26, 19, {235, 228, 210});
         FillRect(cr, 5, 10, 26, 3, {40, 90, 170});
         Disc(cr, 18, 21, 6, {30, 90, 200});
         Text(cr, kBold, 10, "i", 18, 25, kWhite, Align::Centre);
       }},
      {37574,
       [](cairo_t* cr) {
         ParkingP(cr, 11, 12, 16);
         Text(cr, kBold, 9, "+R", 11, 31, kTextLight, Align::Centre);
         Bus(cr, 26, 22, 0.7);
       }},
      {26597, [](cairo_t* cr) { SizeIcon(cr, 1); }},
      {26598, [](cairo_t* cr) { SizeIcon(cr, 2); }},
      {26599, [](cairo_t* cr) { SizeIcon(cr, 3); }},
      {26594, [](cairo_t* cr) { CarParkIcon(cr, 1); }},
      {26595, [](cairo_t* cr) { CarParkIcon(cr, 2); }},
      {26596, [](cairo_t* cr) { CarParkIcon(cr, 3); }},
      // buildings and administration
      {18765,
       [](cairo_t* cr) {
         Line(cr, 9, 32, 9, 5, 2.5, kAccent);
         Line(cr, 4, 7, 31, 7, 2.5, kAccent);
         Line(cr, 9, 12, 15, 7, 1.2, kAccent);
         Line(cr, 25, 7, 25, 15, 1, kTextLight);
         FillRect(cr, 22, 15, 6, 4, {200, 200, 210});
         House(cr, 15, 32, 14, 8, {245, 240, 225}, {190, 60, 50});
       }},
      {18760,
       [](cairo_t* cr) {
         Poly(cr, {{4, 13}, {18, 4}, {32, 13}}, {210, 205, 190});
         FillRect(cr, 5, 13, 26, 2, {210, 205, 190});
         for (int i = 0; i < 4; ++i) FillRect(cr, 7 + i * 6.5, 15, 3, 12, {230, 225, 210});
         FillRect(cr, 4, 27, 28, 3, {210, 205, 190});
         Disc(cr, 27, 27, 7, kAccent);
         Text(cr, kBold, 9, "$", 27, 30.5, {120, 90, 10}, Align::Centre);
       }},
      // view buttons of the bar; 22088's button shows more of the map
      // (zooms out), 22087's less (zooms in)
      {22087, [](cairo_t* cr) { Magnifier(cr, true); }},
      {22088, [](cairo_t* cr) { Magnifier(cr, false); }},
      {22089, [](cairo_t* cr) { RotateArrow(cr, false); }},
      {22090, [](cairo_t* cr) { RotateArrow(cr, true); }},
      {22091,
       [](cairo_t* cr) {
         Line(cr, 3, 28, 14, 12, 5, {220, 60, 60});
         Line(cr, 14, 12, 33, 12, 5, {220, 60, 60});
         Disc(cr, 3, 28, 5, kWhite);
         Disc(cr, 33, 12, 5, kWhite);
       }},
      {22092, [](cairo_t* cr) { House(cr, 8, 33, 20, 15, {245, 240, 225}, {190, 60, 50}); }},
      {22093, [](cairo_t* cr) { StopDisc(cr, 18, 18, 14); }},
      {22094,
       [](cairo_t* cr) {
         RoundedRect(cr, 3, 14, 30, 12, 4);
         Set(cr, {220, 60, 60});
         cairo_fill(cr);
         Poly(cr, {{9, 14}, {13, 6}, {24, 6}, {28, 14}}, {220, 60, 60});
         FillRect(cr, 13, 8, 10, 6, {170, 215, 245});
         Disc(cr, 10, 27, 4, {30, 30, 36});
         Disc(cr, 26, 27, 4, {30, 30, 36});
       }},
      {39446,
       [](cairo_t* cr) {
         // a floppy disk: load, save and options
         RoundedRect(cr, 4, 4, 28, 28, 3);
         Set(cr, {40, 70, 150});
         cairo_fill(cr);
         FillRect(cr, 10, 4, 16, 10, {220, 224, 232});
         FillRect(cr, 20, 6, 4, 6, {40, 70, 150});
         FillRect(cr, 9, 19, 18, 13, kWhite);
       }},
      {22095,
       [](cairo_t* cr) {
         Disc(cr, 18, 18, 15, kAccent);
         Text(cr, kBold, 24, "!", 18, 27, kTextDark, Align::Centre);
       }},
      {22098,
       [](cairo_t* cr) {
         // a folded map
         Poly(cr, {{3, 8}, {13, 4}, {23, 8}, {33, 4}, {33, 28}, {23, 32}, {13, 28}, {3, 32}}, {235, 230, 200});
         Poly(cr, {{13, 4}, {23, 8}, {23, 32}, {13, 28}}, {215, 208, 175});
         Line(cr, 5, 22, 16, 14, 2.5, {220, 60, 60});
         Line(cr, 16, 14, 31, 18, 2.5, {220, 60, 60});
         Disc(cr, 26, 12, 3, kGrass);
       }},
      // widgets
      {25863,
       [](cairo_t* cr) {
         Disc(cr, 18, 18, 15, {30, 90, 200});
         Text(cr, kBold, 24, "?", 18, 27, kWhite, Align::Centre);
       }},
      {25866,
       [](cairo_t* cr) {
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
         cairo_move_to(cr, 8, 19);
         cairo_line_to(cr, 15, 27);
         cairo_line_to(cr, 29, 9);
         cairo_set_line_width(cr, 6);
         Set(cr, kAccent);
         cairo_stroke(cr);
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
       }},
      {44382,
       [](cairo_t* cr) {
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
         Line(cr, 9, 9, 27, 27, 5, {240, 90, 80});
         Line(cr, 27, 9, 9, 27, 5, {240, 90, 80});
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
       }},
  };
  return icons;
}

// ------------------------------------------------------------ button faces

// ------------------------------------------------------------ thematic map

struct LayerLabel {
  uint32_t de, en;
  const char* textDE;
  const char* textEN;
  Rgb8 swatch;
};

const LayerLabel kLayerLabels[] = {
    {36453, 50557, "Stadtstruktur", "City structure", {0, 207, 0}},
    {36456, 50552, "Bevölkerungsdichte", "Population density", {40, 200, 90}},
    {36474, 50551, "Arbeitsplätze", "Jobs", {60, 100, 230}},
    {36454, 50556, "Leere Wohnungen", "Vacant apartments", {220, 150, 40}},
    {36455, 50554, "Leere Gewerbeflächen", "Vacant commercial space", {220, 110, 40}},
    {36457, 50572, "Straßentypen", "Street types", {255, 0, 255}},
    {36458, 50571, "Straßenauslastung", "Street utilisation", {230, 60, 40}},
    {36460, 50566, "Bus-/Bahnnetz", "Transit network", {250, 210, 40}},
    {36459, 50567, "ÖPNV-Nutzeranteil", "Transit user share", {200, 170, 30}},
    {36461, 50561, "Sendemasten", "Transmitter masts", {120, 180, 250}},
    {36462, 50562, "Carsharing", "Car sharing", {150, 90, 220}},
    {36464, 50569, "Parkplätze", "Parking", {30, 90, 200}},
    {36465, 50570, "Pkw-Erreichbarkeit", "Car accessibility", {200, 60, 60}},
    {36471, 50558, "Schadstoffe", "Pollutants", {120, 120, 120}},
    {36472, 50559, "Lärm", "Noise", {180, 80, 160}},
    {36473, 50748, "Wohnqualität", "Housing quality", {80, 190, 120}},
};

const char* kTabsDE[3] = {"Stadt", "Verkehr", "Umwelt"};
const char* kTabsEN[3] = {"City", "Traffic", "Environment"};
// The tabs' hot areas: page 202 at 0-71, 204 at 71-120, 203 at 119-173.
const double kTabX[4] = {0, 71, 120, 173};

Image16 PageHeader(const UiArt& a, int activeTab, bool english, int buttons) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 15, a.width, a.height - 15);
  const char** tabs = english ? kTabsEN : kTabsDE;
  for (int t = 0; t < 3; ++t) {
    const double x = kTabX[t], w = kTabX[t + 1] - kTabX[t];
    const bool on = t == activeTab;
    cairo_rectangle(cr, x, on ? 0 : 2, w, on ? 16 : 13);
    if (on)
      Gradient(cr, x, 0, w, 16, kPanelTop, kPanelTop);
    else
      Gradient(cr, x, 2, w, 13, {46, 54, 80}, {30, 36, 54});
    Bevel(cr, x, on ? 0 : 2, w, on ? 16 : 13, true);
    Text(cr, on ? kCondensedBold : kCondensed, english && t == 2 ? 7 : 10, tabs[t], x + w / 2, 12,
         on ? kAccent : kEdgeLight, Align::Centre);
  }
  FillRect(cr, kTabX[activeTab] + 1, 14, kTabX[activeTab + 1] - kTabX[activeTab] - 2, 3, kPanelTop);
  Text(cr, kCondensedBold, 9, english ? "Show on the map:" : "Auf der Karte zeigen:", 7, 23, kEdgeLight);
  // slots behind the layer buttons
  Well(cr, 5, 25, 163, buttons * 17 + 1);
  return c.ToImage();
}

struct Category {
  Rgb8 colour;
  const char* de;
  const char* en;
};

// A legend: its title, and either named colours or the slot of the colour
// key (at rows 33-47 of the picture) with its two ends named.
Image16 Legend(const UiArt& a, bool english, const char* titleDE, const char* titleEN, const Category* cats,
               int count, const char* lowDE, const char* lowEN, const char* highDE, const char* highEN) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  Text(cr, kCondensedBold, 10, english ? "Key" : "Legende", 7, 13, kAccent);
  Text(cr, kCondensed, 9.5, english ? titleEN : titleDE, 7, 26, kTextLight);
  if (cats) {
    const int rows = (count + 1) / 2;
    for (int i = 0; i < count; ++i) {
      const double x = 7 + (i / rows) * 84, y = 32 + (i % rows) * 14;
      FillRect(cr, x, y, 11, 9, cats[i].colour);
      cairo_rectangle(cr, x + 0.5, y + 0.5, 10, 8);
      cairo_set_line_width(cr, 1);
      Set(cr, kEdgeDark);
      cairo_stroke(cr);
      Text(cr, kCondensed, 9, english ? cats[i].en : cats[i].de, x + 15, y + 8.5, kTextLight);
    }
  } else {
    Well(cr, 10, 33, 154, 14);
    Text(cr, kCondensed, 9, english ? lowEN : lowDE, 11, 58, kEdgeLight);
    Text(cr, kCondensed, 9, english ? highEN : highDE, 163, 58, kEdgeLight, Align::Right);
  }
  return c.ToImage();
}

Image16 DrawLegend(const UiArt& a) {
  const bool en = a.id >= 50000;
  static const Category structure[] = {
      {{0, 207, 0}, "Wohnen", "Housing"},          {{0, 0, 207}, "Büros", "Offices"},
      {{255, 255, 0}, "Industrie", "Industry"},     {{255, 191, 16}, "Einkauf", "Shopping"},
      {{252, 22, 22}, "Schulen", "Schools"},        {{207, 16, 255}, "Freizeit", "Leisure"},
      {{96, 0, 127}, "Parkhäuser", "Car parks"},    {{240, 128, 128}, "Verkehr", "Transport"},
      {{180, 180, 180}, "Straßen", "Streets"},      {{120, 120, 120}, "Schienen", "Rails"},
  };
  static const Category streets[] = {
      {{255, 0, 255}, "Nebenstraße", "Side street"}, {{72, 255, 0}, "Hauptstraße", "Main street"},
      {{0, 0, 255}, "4-spurig", "Four-lane"},        {{255, 255, 0}, "Busspur", "Bus lane"},
  };
  switch (a.id) {
    case 36448: case 50020:
      return Legend(a, en, "Nutzung der Gebäude", "Use of the buildings", structure, 10, "", "", "", "");
    case 36441: case 50013:
      return Legend(a, en, "Einwohner je Bezirk", "Inhabitants per district", nullptr, 0, "wenige", "few", "viele",
                    "many");
    case 49792: case 50023:
      return Legend(a, en, "Arbeitsplätze je Bezirk", "Jobs per district", nullptr, 0, "wenige", "few", "viele",
                    "many");
    case 36440: case 50012:
      return Legend(a, en, "Leerstand je Bezirk", "Vacancy per district", nullptr, 0, "gering", "low", "hoch",
                    "high");
    case 36447: case 50019:
      return Legend(a, en, "Straßen nach Typ", "Streets by type", streets, 4, "", "", "", "");
    case 36446: case 50018:
      return Legend(a, en, "Auslastung der Straßen", "Load of the streets", nullptr, 0, "frei", "free", "Stau",
                    "jammed");
    case 36445: case 50017:
      return Legend(a, en, "Anteil der Fahrgäste", "Share of passengers", nullptr, 0, "gering", "low", "hoch",
                    "high");
    case 36444: case 50016:
      return Legend(a, en, "Fahrzeit mit dem Pkw", "Travel time by car", nullptr, 0, "kurz", "short", "lang",
                    "long");
    case 36442: case 50014:
      return Legend(a, en, "Schadstoffbelastung", "Pollution", nullptr, 0, "gering", "low", "hoch", "high");
    case 36443: case 50015:
      return Legend(a, en, "Lärmbelastung", "Noise level", nullptr, 0, "leise", "quiet", "laut", "loud");
    case 36449: case 50022:
      return Legend(a, en, "Wohnqualität", "Housing quality", nullptr, 0, "schlecht", "poor", "gut", "good");
    default:  // 36439, 50011: reach and coverage
      return Legend(a, en, "Erreichbarkeit", "Coverage", nullptr, 0, "gering", "low", "hoch", "high");
  }
}

Image16 MapFrame(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  cairo_rectangle(cr, 1, 1, a.width - 2, 20);
  Gradient(cr, 1, 1, a.width - 2, 20, {96, 112, 156}, {58, 70, 102});
  // a folded-map sign in the caption instead of a word: the frame serves both languages
  cairo_save(cr);
  cairo_translate(cr, 6, 2);
  cairo_scale(cr, 0.5, 0.5);
  Icons().at(22098)(cr);
  cairo_restore(cr);
  for (int i = 0; i < 3; ++i) Line(cr, 30, 7.5 + i * 3, 420, 7.5 + i * 3, 1, {120, 134, 176});
  // the close box at 430, 3
  RoundedRect(cr, 430.5, 3.5, 11, 11, 2);
  Set(cr, kRed);
  cairo_fill(cr);
  Line(cr, 433, 6, 439, 12, 1.5, kWhite);
  Line(cr, 439, 6, 433, 12, 1.5, kWhite);
  Well(cr, 12, 28, 260, 260);
  FillRect(cr, 14, 30, 256, 256, {12, 16, 26});
  Well(cr, 277, 27, 177, 262);
  return c.ToImage();
}

// ------------------------------------------------------------ the game bar

Image16 GameBar(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  // The panel leaves the map free on the left and rises in a slant along
  // the small map's side.
  cairo_move_to(cr, 186, 140);
  cairo_line_to(cr, 186, 96);
  cairo_line_to(cr, 238, 44);
  cairo_line_to(cr, 270, 0);
  cairo_line_to(cr, 800, 0);
  cairo_line_to(cr, 800, 140);
  cairo_close_path(cr);
  cairo_save(cr);
  Gradient(cr, 0, 0, 800, 140, kPanelTop, kPanelBottom);
  cairo_restore(cr);
  cairo_move_to(cr, 186.5, 140);
  cairo_line_to(cr, 186.5, 96);
  cairo_line_to(cr, 238.5, 44);
  cairo_line_to(cr, 270.5, 0.5);
  cairo_line_to(cr, 800, 0.5);
  cairo_set_line_width(cr, 1);
  Set(cr, kEdgeLight);
  cairo_stroke(cr);
  // a fine stripe under the top edge
  Line(cr, 272, 3.5, 800, 3.5, 1, {96, 110, 150});
  // the small map's diamond well (286, 8, 140 x 72): left open, so that the
  // small map drawn before the panel shows through it
  cairo_move_to(cr, 284, 44);
  cairo_line_to(cr, 356, 6);
  cairo_line_to(cr, 428, 44);
  cairo_line_to(cr, 356, 82);
  cairo_close_path(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_fill_preserve(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  Set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // the tool row: one tray for the six buttons and the rating dial
  RoundedRect(cr, 445, 40, 346, 47, 6);
  Set(cr, kWell, 0.5);
  cairo_fill(cr);
  // the status fields: account, inhabitants, time, year
  Well(cr, 416, 97, 125, 15);
  Well(cr, 542, 97, 110, 15);
  Well(cr, 653, 97, 54, 15);
  // the ticker line
  Well(cr, 416, 119, 310, 15);
  // the map button's seat
  RoundedRect(cr, 195, 100, 46, 29, 5);
  Set(cr, kWell, 0.55);
  cairo_fill(cr);
  // the name of the game in the bottom left of the panel
  Text(cr, kBold, 10, "ZORVANTA", 300, 132, {120, 134, 176}, Align::Centre);
  return c.ToImage();
}

Image16 YearField(const UiArt& a) {
  Canvas c(a.width, a.height);
  Well(c.cr(), 0, 0, a.width, a.height);
  return c.ToImage();
}

// The time of day: a sky strip whose sun climbs and sets over seven looks.
Image16 Clock(const UiArt& a, int frame) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const double t = frame / 6.0;
  const double day = std::sin(t * M_PI);
  const Rgb8 top{static_cast<int>(40 + 60 * day), static_cast<int>(50 + 120 * day), static_cast<int>(110 + 120 * day)};
  const Rgb8 low{static_cast<int>(230 - 60 * day), static_cast<int>(140 + 60 * day), static_cast<int>(80 + 150 * day)};
  cairo_rectangle(cr, 0, 0, a.width, a.height);
  Gradient(cr, 0, 0, a.width, a.height, top, low);
  const double sx = 4 + t * (a.width - 8), sy = a.height - 3 - day * (a.height - 7);
  Disc(cr, sx, sy, 3.5, {255, 226, 90});
  Line(cr, 0, a.height - 1.5, a.width, a.height - 1.5, 1.5, {30, 90, 50});
  Bevel(cr, 0, 0, a.width, a.height, false);
  return c.ToImage();
}

Image16 MenuBackground(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  if (a.width > a.height) {
    for (int x = 2; x + 38 <= a.width; x += 37) Well(cr, x, 4, 38, 38);
  } else {
    for (int y = 16; y + 37 <= a.height; y += 37) Well(cr, 4, y, 38, 38);
  }
  return c.ToImage();
}

Image16 MenuCaption(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, a.width, a.height);
  Gradient(cr, 0, 0, a.width, a.height, state == 1 ? Rgb8{120, 136, 180} : Rgb8{96, 112, 156}, {58, 70, 102});
  Bevel(cr, 0, 0, a.width, a.height, true);
  for (int i = 0; i < 3; ++i) Line(cr, 4, 4.5 + i * 3, 30, 4.5 + i * 3, 1, state == 1 ? kAccent : kEdgeLight);
  // The caption is drawn over the menu's close box: it carries the box.
  CloseBoxFace(cr, 34, 3, 9, 9, 0);
  return c.ToImage();
}

// The bar toggle: a chevron; state 1 shows the bar pinned.
Image16 BarToggle(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state == 2 ? 2 : 0, 3);
  if (state == 1) {
    Disc(cr, a.width / 2.0, a.height / 2.0, 4, kAccent);
  } else {
    const double dy = state == 2 ? 1 : 0;
    Poly(cr, {{5, 6 + dy}, {a.width - 5.0, 6 + dy}, {a.width / 2.0, 12 + dy}}, kTextLight);
  }
  return c.ToImage();
}

Image16 Arrow(const UiArt& a, int state, bool right, Rgb8 colour) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 1.5);
  const double cy = a.height / 2.0 + (state == 2 ? 1 : 0);
  if (right)
    Poly(cr, {{2, cy - 4}, {6.5, cy}, {2, cy + 4}}, state == 1 ? kAccent : colour);
  else
    Poly(cr, {{6, cy - 4}, {1.5, cy}, {6, cy + 4}}, state == 1 ? kAccent : colour);
  return c.ToImage();
}

Image16 ScrollArrow(const UiArt& a, int state, bool up) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 2);
  const double d = state == 2 ? 1 : 0, cx = a.width / 2.0 + d, cy = a.height / 2.0 + d;
  if (up)
    Poly(cr, {{cx - 4, cy + 2}, {cx, cy - 3}, {cx + 4, cy + 2}}, state == 1 ? kAccent : kTextLight);
  else
    Poly(cr, {{cx - 4, cy - 2}, {cx, cy + 3}, {cx + 4, cy - 2}}, state == 1 ? kAccent : kTextLight);
  return c.ToImage();
}

Image16 Knob(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 2);
  for (int i = 0; i < 3; ++i) Line(cr, 3, 6.5 + i * 2.5, a.width - 3, 6.5 + i * 2.5, 1, state == 1 ? kAccent : kEdgeLight);
  return c.ToImage();
}

// The two-picture switches: an empty box, and a ticked one.
Image16 SwitchPicture(const UiArt& a, bool on) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Well(cr, 0, 0, a.width, a.height);
  if (on) {
    cairo_move_to(cr, 2.5, a.height / 2.0);
    cairo_line_to(cr, a.width / 2.0 - 0.5, a.height - 3.0);
    cairo_line_to(cr, a.width - 2.5, 2.5);
    cairo_set_line_width(cr, 2);
    Set(cr, kAccent);
    cairo_stroke(cr);
  }
  return c.ToImage();
}

// The switch button: state 0 off, 1 on (its value), 2 pressed.
Image16 SwitchButton(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Well(cr, 0, 0, a.width, a.height);
  if (state >= 1) {
    cairo_save(cr);
    cairo_scale(cr, a.width / 36.0, a.height / 36.0);
    Icons().at(25866)(cr);
    cairo_restore(cr);
  }
  return c.ToImage();
}

Image16 Notice(const UiArt& a, const char* text) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  cairo_rectangle(cr, 2.5, 2.5, a.width - 5, a.height - 5);
  cairo_set_line_width(cr, 1);
  Set(cr, kAccent);
  cairo_stroke(cr);
  Text(cr, kBold, a.height > 30 ? 13 : 12, text, a.width / 2.0, a.height / 2.0 + 5, kTextLight, Align::Centre);
  return c.ToImage();
}

// The warning window: a warning sign at the left, a sheet for the message
// and the close box at the top right; the whole window can be dragged.
Image16 WarningPanel(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  Sheet(cr, 40, 6, a.width - 46, a.height - 12);
  Poly(cr, {{21, 22}, {37, 52}, {5, 52}}, kAccent);
  Poly(cr, {{21, 26.5}, {33.5, 49.5}, {8.5, 49.5}}, {60, 44, 20});
  Poly(cr, {{21, 29}, {31.5, 48}, {10.5, 48}}, kAccent);
  Line(cr, 21, 34, 21, 42, 2.6, {60, 44, 20});
  Disc(cr, 21, 45.2, 1.5, {60, 44, 20});
  cairo_rectangle(cr, 285, 3, 14, 13);
  Set(cr, kRed);
  cairo_fill(cr);
  Line(cr, 287, 5, 297, 14, 1.4, kWhite);
  Line(cr, 297, 5, 287, 14, 1.4, kWhite);
  return c.ToImage();
}

// The yes/no window: a sheet for the question above its two buttons.
Image16 QuestionPanel(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  cairo_rectangle(cr, 2.5, 2.5, a.width - 5, a.height - 5);
  cairo_set_line_width(cr, 1);
  Set(cr, kAccent);
  cairo_stroke(cr);
  Sheet(cr, 12, 9, a.width - 24, 66);
  return c.ToImage();
}

Image16 StopMarker(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const double r = a.width / 2.0 - 0.5;
  Disc(cr, a.width / 2.0, a.height / 2.0, r, {40, 110, 50});
  Disc(cr, a.width / 2.0, a.height / 2.0, r - 1.5, {250, 210, 40});
  return c.ToImage();
}

// The rating dial of the indicators button, with its label.
Image16 RatingButton(const UiArt& a, int state, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 5);
  const double d = state == 2 ? 1 : 0, cx = a.width / 2.0 + d, cy = 27 + d;
  const Rgb8 arcs[3] = {{220, 60, 50}, {240, 200, 40}, {60, 190, 80}};
  for (int i = 0; i < 3; ++i) {
    cairo_arc(cr, cx, cy, 16, M_PI + i * M_PI / 3, M_PI + (i + 1) * M_PI / 3);
    cairo_set_line_width(cr, 6);
    Set(cr, arcs[i]);
    cairo_stroke(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, cx, cy, cx + 9, cy - 11, 2.5, kWhite);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Disc(cr, cx, cy, 3, kWhite);
  // The word stays where it is when the button is pressed: it fills the
  // button's width.
  Text(cr, kCondensedBold, 9, english ? "Rating" : "Bewertung", a.width / 2.0, 45 + d, state == 1 ? kAccent : kTextLight,
       Align::Centre);
  return c.ToImage();
}


// ---- selection-list rows: light faces, so that the rows' dark text reads --------

constexpr Rgb8 kRowFace{206, 213, 232};
constexpr Rgb8 kRowLine{150, 162, 196};

// A row button: state 0 its face (tinted for a line that serves the chosen
// stop or lacks vehicles), 1 lit, 2 pressed; a second set of three for
// processed entries, drawn greyed.
Image16 RowButton(const UiArt& a, int state, Rgb8 face) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const int look = state % 3;
  const bool done = state >= 3;
  Rgb8 fill = look == 1 ? Rgb8{240, 226, 150} : look == 2 ? Rgb8{176, 186, 212} : face;
  if (done) fill = Rgb8{(fill.r + 170) / 2, (fill.g + 170) / 2, (fill.b + 170) / 2};
  FillRect(cr, 0, 0, a.width, a.height, fill);
  Line(cr, 0, a.height - 0.5, a.width, a.height - 0.5, 1, kRowLine);
  if (look == 1) {
    cairo_rectangle(cr, 0.5, 0.5, a.width - 1, a.height - 1);
    cairo_set_line_width(cr, 1);
    Set(cr, Rgb8{150, 120, 20});
    cairo_stroke(cr);
  }
  return c.ToImage();
}

// The processed mark of an event: an empty box, ticked from state 3 on.
Image16 ProcessedMark(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state % 3, 2);
  FillRect(cr, 4, 4, a.width - 8, a.height - 8, kRowFace);
  if (state >= 3) {
    cairo_move_to(cr, 4.5, a.height / 2.0);
    cairo_line_to(cr, a.width / 2.0 - 0.5, a.height - 4.5);
    cairo_line_to(cr, a.width - 4.0, 3.5);
    cairo_set_line_width(cr, 2);
    Set(cr, Rgb8{30, 130, 60});
    cairo_stroke(cr);
  }
  return c.ToImage();
}

// The jump to a place on the map: cross hairs in a ring, greyed from state 3.
Image16 JumpButton(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state % 3, 2);
  const Rgb8 ink = state >= 3 ? Rgb8{150, 150, 150} : state % 3 == 1 ? kAccent : kTextLight;
  const double cx = a.width / 2.0, cy = a.height / 2.0;
  cairo_arc(cr, cx, cy, 4, 0, 6.2832);
  cairo_set_line_width(cr, 1.5);
  Set(cr, ink);
  cairo_stroke(cr);
  Line(cr, cx, 2, cx, a.height - 2, 1, ink);
  Line(cr, 2, cy, a.width - 2, cy, 1, ink);
  return c.ToImage();
}

// A light sunken field behind figures of a row, or the row's background.
Image16 RowWell(const UiArt& a, bool sunken) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, sunken ? Rgb8{226, 231, 243} : kRowFace);
  if (sunken)
    Bevel(cr, 0, 0, a.width, a.height, false);
  else
    Line(cr, 0, a.height - 0.5, a.width, a.height - 0.5, 1, kRowLine);
  return c.ToImage();
}

Image16 DrawState(const UiArt& a, int state) {
  if (Image16 own; DrawAdviserArt(a, state, &own) || DrawOpnvArt(a, state, &own) || DrawGameMenuArt(a, state, &own) ||
                   DrawCrossingArt(a, state, &own) || DrawVerwaltungArt(a, state, &own) ||
                   DrawIndicatorArt(a, state, &own) || DrawParkenArt(a, state, &own) ||
                   DrawMassnahmenArt(a, state, &own) ||
                   DrawExpoArt(a, state, &own))
    return own;
  const auto& icons = Icons();
  for (const LayerLabel& l : kLayerLabels) {
    if (a.id == l.de) return LabelButton(a, state, l.textDE, 10, l.swatch, true);
    if (a.id == l.en) return LabelButton(a, state, l.textEN, 10, l.swatch, true);
  }
  switch (a.id) {
    case 24557: return Clock(a, state);
    case 49828: return BarToggle(a, state);
    case 19022: return MenuCaption(a, state);
    case 19021: return CloseBox(a, state);
    case 37555: return LabelButton(a, state, "Berater", 9, {}, false);
    case 41484: return LabelButton(a, state, "Ja", 10, {}, false);
    case 50609: return LabelButton(a, state, "Yes", 10, {}, false);
    case 41485: return LabelButton(a, state, "Nein", 10, {}, false);
    case 50612: return LabelButton(a, state, "No", 10, {}, false);
    case 50624: return LabelButton(a, state, "Adviser", 9, {}, false);
    case 22005: return RatingButton(a, state, false);
    case 50595: return RatingButton(a, state, true);
    case 25864: case 42304: return Arrow(a, state, false, a.id == 42304 ? kAccent : kTextLight);
    case 25865: case 42303: return Arrow(a, state, true, a.id == 42303 ? kAccent : kTextLight);
    case 25866: return SwitchButton(a, state);
    case 25935: return ScrollArrow(a, state, true);
    case 25936: return ScrollArrow(a, state, false);
    case 28545: return Knob(a, state);
    case 40664: return IconButton(a, state, icons.at(25863), false);
    // selection-list rows
    case 25923: case 42492: case 49520: case 37568: case 49445: case 49490: return RowButton(a, state, kRowFace);
    case 49521: return RowButton(a, state, {186, 226, 194});
    case 49671: return RowButton(a, state, {240, 192, 180});
    case 44405: case 49527: return Arrow(a, state, false, kTextLight);
    case 44406: case 49528: return Arrow(a, state, true, kTextLight);
    case 26659: case 49488: return JumpButton(a, state);
    case 49489: return ProcessedMark(a, state);
    case 36485: case 50644: return LabelButton(a, state, "PRS", 8, {}, false);
    case 36484: case 50642: return LabelButton(a, state, "PLS", 8, {}, false);
    default: break;
  }
  const bool unframed = a.id == 22095 || a.id == 39446 || a.id == 25863;
  return IconButton(a, state, icons.at(a.id), !unframed);
}

Image16 DrawBitmap(const UiArt& a) {
  if (Image16 own; DrawAdviserArt(a, 0, &own) || DrawOpnvArt(a, 0, &own) || DrawGameMenuArt(a, 0, &own) ||
                   DrawCrossingArt(a, 0, &own) || DrawVerwaltungArt(a, 0, &own) ||
                   DrawIndicatorArt(a, 0, &own) || DrawParkenArt(a, 0, &own) ||
                   DrawMassnahmenArt(a, 0, &own) ||
                   DrawExpoArt(a, 0, &own))
    return own;
  switch (a.id) {
    case 50868: return GameBar(a);
    case 28432: return YearField(a);
    case 36438: return MapFrame(a);
    case 36450: return PageHeader(a, 0, false, 5);
    case 50024: return PageHeader(a, 0, true, 5);
    case 36452: return PageHeader(a, 1, false, 8);
    case 50026: return PageHeader(a, 1, true, 8);
    case 36451: return PageHeader(a, 2, false, 3);
    case 50025: return PageHeader(a, 2, true, 3);
    case 18527: case 18529: case 18533: case 18534: case 18675: case 28380: return MenuBackground(a);
    case 30076: case 30077: case 30078: case 28381: return MenuBackground(a);
    case 25849: case 33720: return SwitchPicture(a, false);
    case 25850: case 33721: return SwitchPicture(a, true);
    case 49785: return Notice(a, "Spiel wird gespeichert \xe2\x80\xa6");
    case 50123: return Notice(a, "Saving the game \xe2\x80\xa6");
    case 49784: return Notice(a, "Spiel wird geladen \xe2\x80\xa6");
    case 50122: return Notice(a, "Loading the game \xe2\x80\xa6");
    case 49888: return Notice(a, "PAUSE");
    case 50120: return Notice(a, "PAUSED");
    case 28320: case 28321: return StopMarker(a);
    case 37549: case 50088: case 41475: case 50090: return WarningPanel(a);
    case 49889: return QuestionPanel(a);
    case 49502: case 49503: case 28539: return RowWell(a, true);
    case 26639: case 28182: return RowWell(a, false);
    default: return DrawLegend(a);
  }
}

// Every interface picture as its blobs: a still picture under its own id,
// an animation's states under their picture ids and the animation under
// its own. Each blob is handed over with the words its drawing cut.
void DrawInterfaceArt(const std::function<void(uint32_t, Bytes, const std::vector<std::string>&)>& take) {
  TakeCutWords();
  for (const UiArt& a : UiArts()) {
    if (!a.Animated()) {
      Bytes blob = WriteQbmp16(DrawBitmap(a), KEY_565, false);
      take(a.id, std::move(blob), TakeCutWords());
      continue;
    }
    std::vector<AniState> states;
    for (uint32_t s = 0; s < a.states; ++s) {
      Bytes blob = WriteQbmp16(DrawState(a, static_cast<int>(s)), KEY_565, false);
      take(a.firstPicture + s, std::move(blob), TakeCutWords());
      states.push_back({1000, s, {{AniAtom{a.firstPicture + s, 0, 0, 0, 0}}}});
    }
    take(a.id, WriteAnimation(states), {});
  }
}

void ReportCutWords(uint32_t id, const std::vector<std::string>& words) {
  for (const std::string& w : words)
    std::fprintf(stderr, "zor_gamedata: picture %u cuts the words \"%s\"\n", id, w.c_str());
}

}  // namespace

bool ProduceInterfaceArt(GameDataBuilder& out) {
  bool ok = true;
  DrawInterfaceArt([&](uint32_t id, Bytes blob, const std::vector<std::string>& cut) {
    ReportCutWords(id, cut);
    ok &= out.Put(id, std::move(blob));
  });
  return ok;
}

int CountCutWords() {
  int cut = 0;
  DrawInterfaceArt([&](uint32_t id, Bytes, const std::vector<std::string>& words) {
    ReportCutWords(id, words);
    cut += static_cast<int>(words.size());
  });
  return cut;
}

}  // namespace zorgen
