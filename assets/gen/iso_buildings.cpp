// The models of the building catalogue, in cell units of the unturned
// footprint. Each kind has a shape of its own (pitched roofs for houses,
// flat slabs for flats, glass for offices, saw-tooth halls and chimneys for
// industry, pitches for sports ...) so it reads at the nearest zoom; the
// variant and the id vary colours and proportions within a kind.
#include <cmath>

#include "gen/iso_art.h"

namespace zorgen {

namespace {

constexpr double ST = 0.2;  // one storey

using W = IsoScene::Windows;

const unsigned WALLS[] = {0xe9dcc0, 0xf1ede4, 0xeed9a0, 0xe8c6b4, 0xd9c8a8, 0xc9d3c8};
const unsigned ROOFS[] = {0xb8462e, 0x8e3a2a, 0x6e4632, 0x56606c, 0xa35a3a};
const unsigned CARS[] = {0xc83a32, 0x3a62b8, 0xe8e4da, 0x3a3c40, 0xd8b030, 0x4a8a4a, 0x9aa0a8};

Rgb Pick(ArtRandom& r, const unsigned* list, int n) { return Hex(list[r.Pick(n)]); }

const Rgb LEAF = Hex(0x4f8a34);
const Rgb FLATROOF = Hex(0x8e8c88);
const Rgb GLASS = Hex(0x5d7fa3);
const Rgb WINDOW = Hex(0x46566a);
const Rgb LINE = Hex(0xf0f0ea);

void Rect(IsoScene& s, double p0, double q0, double p1, double q1, Rgb c, double h = 0) {
  s.Decal({{p0, q0}, {p1, q0}, {p1, q1}, {p0, q1}}, h, c);
}

void Trees(IsoScene& s, ArtRandom& r, int n, double p0, double q0, double p1, double q1, double size) {
  for (int i = 0; i < n; ++i)
    s.Tree(r.Range(p0, p1), r.Range(q0, q1), size * r.Range(0.8, 1.15), LEAF.Scaled(r.Range(0.85, 1.15)));
}

void RoofUnits(IsoScene& s, ArtRandom& r, double p0, double q0, double p1, double q1, double h) {
  const int n = 1 + r.Pick(3);
  for (int i = 0; i < n; ++i) {
    const double p = r.Range(p0 + 0.1, p1 - 0.25), q = r.Range(q0 + 0.1, q1 - 0.25);
    s.Box(p, q, p + 0.15, q + 0.12, h, h + 0.06, Hex(0xb0b0ac), Hex(0xc4c4c0));
  }
}

void Parking(IsoScene& s, ArtRandom& r, double p0, double q0, double p1, double q1, bool alongP, double fill) {
  // stalls across the lot, in rows along the other axis
  const double len = alongP ? p1 - p0 : q1 - q0;
  const int stalls = std::max(1, static_cast<int>(len / 0.2));
  const double step = len / stalls;
  const double a0 = alongP ? q0 : p0, a1 = alongP ? q1 : p1;
  for (double row = a0 + 0.05; row + 0.4 <= a1 + 1e-6; row += 0.5) {
    for (int i = 0; i <= stalls; ++i) {
      const double t = (alongP ? p0 : q0) + i * step;
      if (alongP) Rect(s, t - 0.01, row, t + 0.01, row + 0.4, LINE);
      else Rect(s, row, t - 0.01, row + 0.4, t + 0.01, LINE);
    }
    for (int i = 0; i < stalls; ++i) {
      if (r.Unit() > fill) continue;
      const double t = (alongP ? p0 : q0) + (i + 0.5) * step;
      if (alongP) s.Car(t, row + 0.2, false, Pick(r, CARS, 7));
      else s.Car(row + 0.2, t, true, Pick(r, CARS, 7));
    }
  }
}

void House(IsoScene& s, ArtRandom& r, double p0, double q0, double p1, double q1, int storeys) {
  const Rgb wall = Pick(r, WALLS, 6), roof = Pick(r, ROOFS, 5);
  const bool alongP = r.Pick(2);
  const double h = storeys * ST;
  s.Box(p0, q0, p1, q1, 0, h, wall, wall, W{storeys, 3.5, WINDOW});
  const double door = (p0 + p1) / 2 - 0.05;  // on the garden side
  s.Box(door, q1, door + 0.1, q1 + 0.015, 0, 0.14, Hex(0x6a4430), Hex(0x6a4430));
  s.Gable(p0 - 0.03, q0 - 0.03, p1 + 0.03, q1 + 0.03, h, 0.24, alongP, roof, wall);
  const double cp = alongP ? p0 + (p1 - p0) * 0.7 : (p0 + p1) / 2 + 0.05;
  const double cq = alongP ? (q0 + q1) / 2 + 0.05 : q0 + (q1 - q0) * 0.7;
  s.Box(cp, cq, cp + 0.07, cq + 0.07, h + 0.05, h + 0.3, Hex(0x9a5a44), Hex(0x6a3a2c));
}

void Houses(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  House(s, r, 0.2, 0.22, 0.78, 0.74, 1 + r.Pick(2));
  if (r.Pick(2)) s.Tree(0.12, 0.85, 0.26, LEAF);
  else s.Conifer(0.85, 0.12, 0.2, Hex(0x2f6a3a));
  if (g.variant % 3 == 1) Rect(s, 0.45, 0.74, 0.6, 1.0, Hex(0xb4aa98));  // the garden path
}

void RowHouses(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const bool alongP = g.width >= g.depth;
  const double len = alongP ? g.width : g.depth, wide = alongP ? g.depth : g.width;
  const int rows = wide >= 2 ? 2 : 1;
  const Rgb roof = Pick(r, ROOFS, 5);
  for (int row = 0; row < rows; ++row) {
    const double c0 = row + 0.22, c1 = row + 0.72;
    const int units = static_cast<int>(len * 2);
    for (int i = 0; i < units; ++i) {
      const double a0 = 0.08 + i * (len - 0.16) / units, a1 = 0.08 + (i + 1) * (len - 0.16) / units;
      const Rgb wall = Pick(r, WALLS, 6);
      if (alongP) s.Box(a0, c0, a1, c1, 0, 2 * ST, wall, wall, W{2, 2.5, WINDOW});
      else s.Box(c0, a0, c1, a1, 0, 2 * ST, wall, wall, W{2, 2.5, WINDOW});
    }
    if (alongP) s.Gable(0.05, c0 - 0.03, len - 0.05, c1 + 0.03, 2 * ST, 0.22, true, roof, Hex(WALLS[0]));
    else s.Gable(c0 - 0.03, 0.05, c1 + 0.03, len - 0.05, 2 * ST, 0.22, false, roof, Hex(WALLS[0]));
  }
  for (int i = 0; i < static_cast<int>(len); ++i) {
    if (alongP) s.Tree(i + 0.5, rows - 0.12, 0.18, LEAF);
    else s.Tree(rows - 0.12, i + 0.5, 0.18, LEAF);
  }
}

void Apartments(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const Rgb wall = Pick(r, WALLS, 6);
  const Rgb accent = Hex(r.Pick(2) ? 0xc47a52 : 0x7a94b4);
  const Rgb roof = Pick(r, ROOFS, 5);
  const bool big = g.width * g.depth >= 6;
  const int storeys = big ? 5 + r.Pick(2) : 3 + r.Pick(2);
  const double h = storeys * ST;
  const double W_ = g.width, D_ = g.depth;
  // Smaller blocks carry pitched roofs; the large slabs flat ones with a
  // coloured parapet. Balconies (accent colour) stand out from the walls.
  auto slab = [&](double p0, double q0, double p1, double q1) {
    s.Box(p0, q0, p1, q1, 0, h, wall, FLATROOF, W{storeys, 3.0, WINDOW});
    const bool alongP = p1 - p0 >= q1 - q0;
    for (int i = 0; i < storeys; ++i) {
      const double b0 = i * ST + 0.02, b1 = b0 + 0.05;
      if (alongP) s.Box(p0 + 0.1, q1, p1 - 0.1, q1 + 0.04, b0, b1, accent, accent);
      else s.Box(p1, q0 + 0.1, p1 + 0.04, q1 - 0.1, b0, b1, accent, accent);
    }
    if (big) {
      s.Box(p0, q0, p1, q1, h, h + 0.04, accent, FLATROOF);
    } else {
      s.Gable(p0 - 0.03, q0 - 0.03, p1 + 0.03, q1 + 0.03, h, 0.26, alongP, roof, wall);
    }
  };
  if (W_ >= 3 && D_ >= 3) {
    slab(0.2, 0.2, 1.1, D_ - 0.25);
    slab(1.1, 0.2, W_ - 0.25, 1.1);
    Trees(s, r, 4, 1.5, 1.5, W_ - 0.3, D_ - 0.3, 0.28);
  } else if (W_ >= 3 || D_ >= 3) {
    const bool alongP = W_ > D_;
    if (alongP) slab(0.15, 0.3, W_ - 0.15, 1.25);
    else slab(0.3, 0.15, 1.25, D_ - 0.15);
    if (alongP) Trees(s, r, 3, 0.3, 1.55, W_ - 0.3, D_ - 0.2, 0.25);
    else Trees(s, r, 3, 1.55, 0.3, W_ - 0.2, D_ - 0.3, 0.25);
  } else {
    slab(0.25, 0.3, W_ - 0.3, D_ - 0.45);
    s.Tree(W_ - 0.15, 0.4, 0.22, LEAF);
    s.Tree(0.4, D_ - 0.15, 0.22, LEAF);
  }
}

void Tower(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const Rgb wall = Pick(r, WALLS, 6).Mixed(Hex(0xcfcac4), 0.4);
  const int storeys = 10 + r.Pick(4);
  const double c = g.width / 2.0;
  s.Box(0.3, 0.3, g.width - 0.3, g.depth - 0.3, 0, ST, Hex(0xb8b2aa), FLATROOF, W{1, 4, GLASS, true});
  s.Box(c - 0.75, c - 0.65, c + 0.75, c + 0.65, ST, storeys * ST, wall, FLATROOF, W{storeys, 3.0, WINDOW});
  s.Box(c - 0.3, c - 0.25, c + 0.3, c + 0.25, storeys * ST, storeys * ST + 0.12, wall.Scaled(0.9), FLATROOF);
  Trees(s, r, 3, 0.15, g.depth - 0.35, g.width - 0.2, g.depth - 0.1, 0.24);
}

void Office(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  static const unsigned walls[] = {0xd0d4d8, 0xc4ccd4, 0xdadcd8, 0xb9c2cc};
  static const unsigned glass[] = {0x4f79a8, 0x5b8c9a, 0x46689a};
  const Rgb wall = Pick(r, walls, 4);
  const int storeys = 2 + r.Pick(3) + (g.width * g.depth >= 4 ? 1 : 0);
  const double m = 0.14;
  s.Box(m, m, g.width - m, g.depth - m, 0, storeys * ST, wall, FLATROOF, W{storeys, 3, Pick(r, glass, 3), true});
  s.Box(m, m, g.width - m, g.depth - m, storeys * ST, storeys * ST + 0.03, wall.Scaled(0.85), FLATROOF);
  RoofUnits(s, r, m, m, g.width - m, g.depth - m, storeys * ST + 0.03);
}

void OfficeTower(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  static const unsigned glass[] = {0x4f79a8, 0x5b8c9a, 0x3f5f8a, 0x6d8fb0};
  const Rgb gl = Pick(r, glass, 4);
  const double big = g.width * g.depth;
  const int storeys = big >= 6 ? 11 + r.Pick(4) : big >= 4 ? 8 + r.Pick(3) : 6 + r.Pick(3);
  const double m = big >= 4 ? 0.3 : 0.18;
  const double p1 = g.width - m, q1 = g.depth - m;
  s.Box(0.1, 0.1, g.width - 0.1, g.depth - 0.1, 0, ST, Hex(0xc8c4bc), FLATROOF, W{1, 3, GLASS, true});
  s.Box(m, m, p1, q1, ST, storeys * ST, Hex(0xd4d8dc), FLATROOF, W{storeys, 4, gl, true});
  s.Box(m + 0.08, m + 0.08, p1 - 0.08, q1 - 0.08, storeys * ST, storeys * ST + 0.15, Hex(0xaeb4ba), FLATROOF);
  if (big >= 4) s.Pole((m + p1) / 2, (m + q1) / 2, storeys * ST + 0.5, Hex(0xd0d0d0));
}

void SawtoothHall(IsoScene& s, double p0, double q0, double p1, double q1, double h, Rgb wall, Rgb roof) {
  s.Box(p0, q0, p1, q1, 0, h, wall, roof, W{1, 2.0, Hex(0x6a7888), true});
  const int teeth = std::max(2, static_cast<int>((p1 - p0) / 0.35));
  const double step = (p1 - p0) / teeth;
  for (int i = 0; i < teeth; ++i)
    s.Gable(p0 + i * step, q0, p0 + (i + 1) * step, q1, h, 0.14, false, roof, wall);
}

void Workshop(IsoScene& s, ArtRandom& r, const IsoGroupArt&) {
  const Rgb wall = Hex(r.Pick(2) ? 0xb8b0a0 : 0x9fa8a8);
  SawtoothHall(s, 0.15, 0.15, 0.85, 0.65, 0.28, wall, Hex(0x7c8086));
  s.Box(0.6, 0.75, 0.75, 0.9, 0, 0.1, Hex(0xa07840), Hex(0xb48c50));  // crates
  s.Car(0.3, 0.82, true, Hex(0xe8e4da));
}

void Factory(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const Rgb wall = Hex(r.Pick(2) ? 0xb4a890 : 0x9ea4a4);
  const double W_ = g.width, D_ = g.depth;
  SawtoothHall(s, 0.15, 0.2, W_ - 0.9, D_ - 0.2, 0.5, wall, Hex(0x6e7276));
  s.Box(W_ - 0.85, 0.2, W_ - 0.15, 0.9, 0, 0.45, Hex(0xc4b6a0), FLATROOF, W{2, 3, WINDOW});
  s.Cylinder(W_ - 0.5, D_ - 0.6, 0.16, 0, 0.5, Hex(0xb8bcc0));
  if (D_ >= 3) s.Cylinder(W_ - 0.5, D_ - 1.2, 0.16, 0, 0.5, Hex(0xb8bcc0));
  s.Cylinder(W_ - 0.55, 1.2, 0.07, 0, 1.5, Hex(0xa84a36));
  s.Cylinder(W_ - 0.55, 1.2, 0.075, 1.35, 1.5, Hex(0xeeeeee));
}

void Court(IsoScene& s, double p0, double q0, double p1, double q1, Rgb field) {
  Rect(s, p0, q0, p1, q1, field);
  const double t = 0.02;
  Rect(s, p0 + 0.05, q0 + 0.05, p1 - 0.05, q0 + 0.05 + t, LINE);
  Rect(s, p0 + 0.05, q1 - 0.05 - t, p1 - 0.05, q1 - 0.05, LINE);
  Rect(s, p0 + 0.05, q0 + 0.05, p0 + 0.05 + t, q1 - 0.05, LINE);
  Rect(s, p1 - 0.05 - t, q0 + 0.05, p1 - 0.05, q1 - 0.05, LINE);
  Rect(s, (p0 + p1) / 2 - t / 2, q0 + 0.05, (p0 + p1) / 2 + t / 2, q1 - 0.05, LINE);
}

void School(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const Rgb brick = Hex(0xb9643f), roof = Hex(0x7a4a3a);
  const double W_ = g.width, D_ = g.depth;
  const int storeys = g.width * g.depth >= 9 ? 3 : 2;
  const double h = storeys * ST;
  s.Box(0.15, 0.15, W_ - 0.15, 0.85, 0, h, brick, roof, W{storeys, 3.5, Hex(0xdfe8ee)});
  s.Gable(0.12, 0.12, W_ - 0.12, 0.88, h, 0.2, true, roof, brick);
  s.Box(0.15, 0.85, 0.85, D_ - 0.15, 0, h, brick, roof, W{storeys, 3.5, Hex(0xdfe8ee)});
  s.Gable(0.12, 0.88, 0.88, D_ - 0.12, h, 0.2, false, roof, brick);
  Court(s, 1.05, 1.05, W_ - 0.1, D_ - 0.1, Hex(0xc8704a));
  s.Pole(0.95, D_ - 0.2, 0.9, Hex(0xdddddd));
  s.Board(0.95, D_ - 0.2, 0.9, 0.5, 0.3, Hex(0x3a78c8), LINE, nullptr);
  if (r.Pick(2)) s.Tree(W_ - 0.2, 1.0, 0.25, LEAF);
}

void Shopping(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  static const unsigned fascia[] = {0xd2402e, 0x2e7fd2, 0xe89a20, 0x8a3ab0};
  const Rgb band = Pick(r, fascia, 4);
  const double W_ = g.width, D_ = g.depth;
  const double front = D_ >= 3 ? 1.0 : 0.7;  // parking in front along +q
  s.Box(0.12, 0.12, W_ - 0.12, D_ - front, 0, 0.42, Hex(0xe6e0d4), FLATROOF, W{1, 2, GLASS, true});
  s.Box(0.12, 0.12, W_ - 0.12, D_ - front, 0.42, 0.5, band, FLATROOF);
  RoofUnits(s, r, 0.12, 0.12, W_ - 0.12, D_ - front, 0.5);
  s.Board(W_ / 2, D_ - front, 0.62, 0.7, 0.42, band, LINE, "%");
  Parking(s, r, 0.1, D_ - front + 0.02, W_ - 0.1, D_ - 0.02, true, 0.7);
}

void Sports(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const double W_ = g.width, D_ = g.depth;
  const Rgb pitch = Hex(0x4fa844);
  if (W_ >= 4) {
    // a stadium: stands around the pitch
    Court(s, 0.8, 0.8, W_ - 0.8, D_ - 0.8, pitch);
    const Rgb stand = Hex(0xb8b4ac), seats = Hex(0xc8463c);
    s.Box(0.1, 0.1, W_ - 0.1, 0.7, 0, 0.5, stand, seats);
    s.Box(0.1, 0.7, 0.7, D_ - 0.1, 0, 0.5, stand, seats);
    s.Box(W_ - 0.7, 0.7, W_ - 0.1, D_ - 0.7, 0, 0.35, stand, seats);
    s.Box(0.7, D_ - 0.7, W_ - 0.1, D_ - 0.1, 0, 0.35, stand, seats);
    for (double c : {0.2, W_ - 0.2}) s.Pole(c, c, 1.4, Hex(0xe0e0e0));
    s.Pole(0.2, D_ - 0.2, 1.4, Hex(0xe0e0e0));
    s.Pole(W_ - 0.2, 0.2, 1.4, Hex(0xe0e0e0));
  } else if (W_ >= 3) {
    Rect(s, 0.1, 0.1, W_ - 0.1, D_ - 0.1, Hex(0xb8563c));  // the running track
    Court(s, 0.4, 0.4, W_ - 0.4, D_ - 0.4, pitch);
    s.Box(0.15, D_ - 0.1, W_ - 0.15, D_ - 0.02, 0, 0.02, Hex(0xb8563c), Hex(0xb8563c));
    Trees(s, r, 2, 0.05, 0.05, 0.3, D_ - 0.1, 0.2);
  } else {
    s.Box(0.12, 0.12, W_ - 0.12, 1.1, 0, 0.4, Hex(0xd8d4cc), Hex(0x4f7fa8), W{1, 3, GLASS, true});
    s.Gable(0.1, 0.1, W_ - 0.1, 1.12, 0.4, 0.12, true, Hex(0x4f7fa8), Hex(0xd8d4cc));
    Court(s, 0.1, 1.2, W_ - 0.1, D_ - 0.1, Hex(0x3f8ac0));
  }
}

void Park(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const double W_ = g.width, D_ = g.depth;
  const Rgb path = Hex(0xcdbf98);
  Rect(s, 0.05, 0.05, W_ - 0.05, D_ - 0.05, Hex(0x7cb54e));  // a mown lawn, lighter than the fields
  Rect(s, W_ / 2 - 0.07, 0, W_ / 2 + 0.07, D_, path);
  Rect(s, 0, D_ / 2 - 0.07, W_, D_ / 2 + 0.07, path);
  const Rgb flowers[] = {Hex(0xe05a6a), Hex(0xf0d040), Hex(0xd070c0)};
  for (int i = 0; i < 4; ++i) {
    const double p = i % 2 ? W_ / 2 + 0.12 : W_ / 2 - 0.37, q = i / 2 ? D_ / 2 + 0.12 : D_ / 2 - 0.37;
    Rect(s, p, q, p + 0.25, q + 0.25, flowers[i % 3]);
  }
  if (W_ >= 3) {
    std::vector<std::pair<double, double>> pond;
    const double cp = W_ * 0.72, cq = D_ * 0.72, rp = W_ * 0.16, rq = D_ * 0.13;
    for (int i = 0; i < 16; ++i) pond.push_back({cp + rp * std::cos(i * M_PI / 8), cq + rq * std::sin(i * M_PI / 8)});
    s.Decal(pond, 0, Hex(0x4a8cc4));
  }
  s.Cylinder(W_ / 2, D_ / 2, 0.12, 0, 0.06, Hex(0xc8c4bc));
  s.Cylinder(W_ / 2, D_ / 2, 0.03, 0.06, 0.16, Hex(0x9cc8e8));
  if (W_ >= 4) {
    s.Box(0.5, 0.5, 1.0, 1.0, 0.1, 0.14, Hex(0xe8e0d0), Hex(0xe8e0d0));
    s.Pyramid(0.45, 0.45, 1.05, 1.05, 0.3, 0.22, Hex(0x3a7a5a));
    for (double p : {0.52, 0.98})
      for (double q : {0.52, 0.98}) s.Cylinder(p, q, 0.02, 0, 0.3, Hex(0xe8e0d0));
  }
  const int n = static_cast<int>(W_ * D_ * 3);
  for (int i = 0; i < n; ++i) {
    const double p = r.Range(0.15, W_ - 0.15), q = r.Range(0.15, D_ - 0.15);
    if (std::fabs(p - W_ / 2) < 0.45 && std::fabs(q - D_ / 2) < 0.45) continue;
    if (std::fabs(p - W_ / 2) < 0.17 || std::fabs(q - D_ / 2) < 0.17) continue;
    if (W_ >= 3 && std::fabs(p - W_ * 0.72) < W_ * 0.2 && std::fabs(q - D_ * 0.72) < D_ * 0.17) continue;
    if (W_ >= 4 && p < 1.2 && q < 1.2) continue;
    if (r.Pick(4) == 0) s.Conifer(p, q, 0.24, Hex(0x2f6a3a));
    else s.Tree(p, q, r.Range(0.26, 0.38), LEAF.Scaled(r.Range(0.85, 1.2)));
  }
}

void Entertainment(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const double W_ = g.width, D_ = g.depth;
  if (W_ >= 3 && D_ >= 3) {
    s.Cylinder(W_ / 2, D_ / 2, 1.15, 0, 0.45, Hex(0xd8d0e0));
    s.Cylinder(W_ / 2, D_ / 2, 0.9, 0.45, 0.6, Hex(0x9a78c0));
    s.Cylinder(W_ / 2, D_ / 2, 0.55, 0.6, 0.7, Hex(0xb89ad8));
  } else if (W_ >= 3) {
    const Rgb stone = Hex(0xe4dccb);
    s.Box(0.2, 0.15, W_ - 0.2, D_ - 0.55, 0, 0.55, stone, Hex(0x6fa090), W{2, 2.5, WINDOW});
    s.Gable(0.18, 0.13, W_ - 0.18, D_ - 0.53, 0.55, 0.22, true, Hex(0x6fa090), stone);
    for (int i = 0; i < 6; ++i) s.Cylinder(0.45 + i * (W_ - 0.9) / 5, D_ - 0.42, 0.04, 0, 0.5, stone);
    s.Box(0.3, D_ - 0.5, W_ - 0.3, D_ - 0.35, 0.5, 0.6, stone, Hex(0x6fa090));
  } else {
    s.Box(0.15, 0.15, W_ - 0.15, D_ - 0.4, 0, 0.55, Hex(0x5a3a78), Hex(0x4a4a50));
    s.Board(W_ / 2, D_ - 0.4, 0.62, 1.4, 0.35, Hex(0xf4d040), Hex(0x7a1a3a), "\xe2\x98\x85 \xe2\x98\x85 \xe2\x98\x85");
    Rect(s, 0.15, D_ - 0.4, W_ - 0.15, D_ - 0.05, Hex(0xb83a4a));
  }
  (void)r;
}

// A car park's three looks (the variant) show it nearly empty, half full
// and full, as the game picks them by its use.
constexpr double kCarParkFill[3] = {0.12, 0.5, 0.95};

void CarPark(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  Parking(s, r, 0.05, 0.05, g.width - 0.05, g.depth - 0.05, g.width >= g.depth, kCarParkFill[g.variant % 3]);
  s.Pole(0.1, g.depth - 0.1, 0.5, Hex(0xdddddd));
  s.Board(0.1, g.depth - 0.1, 0.5, 0.45, 0.45, Hex(0x2a5ab8), LINE, "P");
}

void Deck(IsoScene& s, ArtRandom& r, const IsoGroupArt& g, int levels) {
  const double W_ = g.width, D_ = g.depth;
  const Rgb concrete = Hex(0xbcb8b0);
  for (int i = 0; i < levels; ++i)
    s.Box(0.1, 0.1, W_ - 0.1, D_ - 0.1, i * 0.22, (i + 1) * 0.22, concrete, Hex(0x70727a),
          W{1, 1.0, Hex(0x3c3e44), true});
  // The cars on the top deck, more the fuller the look.
  const int cars = 1 + 3 * (g.variant % 3);
  for (int i = 0; i < cars; ++i)
    s.Car(0.4 + r.Range(0, W_ - 0.8), 0.4 + r.Range(0, D_ - 0.8), r.Pick(2), Pick(r, CARS, 7));
  s.Board(W_ - 0.3, D_ - 0.1, levels * 0.22 + 0.35, 0.5, 0.5, Hex(0x2a5ab8), LINE, "P");
}

void ParkRide(IsoScene& s, ArtRandom& r, const IsoGroupArt& g) {
  const double W_ = g.width, D_ = g.depth;
  // The three looks of a station show how full it is.
  const double fill = g.id == 33174 ? 0.95 : g.id == 33173 ? 0.65 : 0.3;
  Parking(s, r, 0.05, 0.05, W_ - 0.05, D_ - 0.55, true, fill);
  Rect(s, 0.05, D_ - 0.5, W_ - 0.05, D_ - 0.05, Hex(0xb4aa98));
  s.Box(0.3, D_ - 0.35, 0.9, D_ - 0.15, 0, 0.22, Hex(0x9fc8e0), Hex(0x4f5a66));
  s.Pole(W_ - 0.2, D_ - 0.2, 0.55, Hex(0xdddddd));
  s.Board(W_ - 0.2, D_ - 0.2, 0.55, 0.8, 0.42, Hex(0x2a5ab8), LINE, "P+R");
}

void Mast(IsoScene& s, ArtRandom&, const IsoGroupArt&) {
  s.Box(0.15, 0.55, 0.45, 0.85, 0, 0.2, Hex(0xc8c4bc), Hex(0x7a7c80));
  for (int i = 0; i < 6; ++i)
    s.Box(0.52, 0.42, 0.6, 0.5, i * 0.3, (i + 1) * 0.3, Hex(i % 2 ? 0xeeeeee : 0xc83a32), Hex(0xeeeeee));
  s.Box(0.48, 0.38, 0.64, 0.54, 1.5, 1.58, Hex(0xb0b4b8), Hex(0xc0c4c8));
}

void CarSharing(IsoScene& s, ArtRandom& r, const IsoGroupArt& g, bool centre) {
  const Rgb green = Hex(0x2f9a5a);
  const double W_ = g.width, D_ = g.depth;
  if (centre) {
    s.Box(0.15, 0.15, W_ - 0.15, 0.95, 0, 0.42, Hex(0xe8e8e2), FLATROOF, W{2, 3, GLASS, true});
    s.Box(0.15, 0.15, W_ - 0.15, 0.95, 0.42, 0.48, green, FLATROOF);
  }
  const double q0 = centre ? 1.05 : 0.3;
  for (int i = 0; i < (centre ? 5 : 3); ++i) {
    const double p = 0.2 + i * ((W_ - 0.4) / (centre ? 5 : 3)) + 0.12;
    Rect(s, p - 0.13, q0, p - 0.11, q0 + 0.45, LINE);
    s.Car(p, q0 + 0.22, false, green.Scaled(r.Range(0.95, 1.1)));
  }
  s.Pole(W_ - 0.12, D_ - 0.12, 0.55, Hex(0xdddddd));
  s.Board(W_ - 0.12, D_ - 0.12, 0.55, 0.5, 0.42, green, LINE, "\xe2\x87\x84");
}

void Kiosk(IsoScene& s, ArtRandom&, const IsoGroupArt&) {
  s.Box(0.3, 0.3, 0.7, 0.7, 0, 0.22, Hex(0xeee2c8), Hex(0xeee2c8), W{1, 2, GLASS, true});
  s.Pyramid(0.25, 0.25, 0.75, 0.75, 0.22, 0.2, Hex(0x3a7a5a));
  s.Tree(0.15, 0.8, 0.2, LEAF);
}

void AdviceCentre(IsoScene& s, ArtRandom&, const IsoGroupArt& g) {
  s.Box(0.15, 0.2, g.width - 0.15, 0.8, 0, 0.45, Hex(0xdfe6ec), Hex(0x8a9aa8), W{2, 3, GLASS, true});
  s.Box(0.15, 0.2, g.width - 0.15, 0.8, 0.45, 0.5, Hex(0x2a6ac0), Hex(0x8a9aa8));
  s.Board(g.width - 0.4, 0.8, 0.62, 0.4, 0.4, Hex(0x2a6ac0), LINE, "i");
}

void StopSign(IsoScene& s, double p, double q) {
  s.Pole(p, q, 0.55, Hex(0x8a8c90));
  s.Board(p, q, 0.62, 0.36, 0.36, Hex(0xf0c828), Hex(0x2a7a3a), "H");
}

void Shelter(IsoScene& s, double p0, double q0, double p1, double q1) {
  s.Box(p0, q0, p1, q1, 0, 0.26, Hex(0xb8d8e8), Hex(0x4f5a66));
  s.Box(p0 - 0.03, q0 - 0.03, p1 + 0.03, q1 + 0.03, 0.26, 0.3, Hex(0x4f5a66), Hex(0x5f6a76));
}

void Stop(IsoScene& s, const IsoGroupArt& g) {
  if (g.design == IsoDesign::BusStop) {
    StopSign(s, 0.85, 0.15);
    return;
  }
  // the sign on the street cell(s), shelters on the free cells at both ends
  StopSign(s, 0.85, 1.15);
  Shelter(s, 0.55, 0.2, 0.9, 0.8);
  Shelter(s, 0.55, g.depth - 0.8, 0.9, g.depth - 0.2);
}

void TramStop(IsoScene& s, const IsoGroupArt& g) {
  for (double q : {0.08, g.depth - 0.38}) {
    s.Box(0.1, q, g.width - 0.1, q + 0.3, 0, 0.05, Hex(0xb8b4ac), Hex(0xc8c4bc));
    s.Box(g.width / 2 - 0.4, q + 0.05, g.width / 2 + 0.4, q + 0.25, 0.05, 0.3, Hex(0xb8d8e8), Hex(0x4f5a66));
  }
  StopSign(s, 0.3, 0.2);
}

void Signs(IsoScene& s, const IsoGroupArt& g) {
  if (g.design == IsoDesign::GuidanceSign) {
    s.Pole(0.85, 0.15, 0.6, Hex(0x8a8c90));
    s.Board(0.85, 0.15, 0.85, 0.7, 0.55, Hex(0x2a5ab8), LINE, g.variant ? "P 48" : "P 12");
  } else {
    s.Pole(0.85, 0.15, 0.7, Hex(0x8a8c90));
    s.Board(0.85, 0.15, 0.95, 0.9, 0.5, g.variant ? Hex(0x2a5ab8) : Hex(0x2a8a4a), LINE, "\xe2\x86\x92");
  }
}

// A frame round the footprint: cyan round a building or junction, yellow
// round a street.
void Marker(IsoScene& s, const IsoGroupArt& g) {
  const double a = 0.04, b = 0.12, W = g.width, D = g.depth;
  const Rgb c = g.id == GROUP_MARKER ? Hex(0x5ae8f0) : Hex(0xffe24a);
  Rect(s, a, a, W - a, b, c, 0.01);
  Rect(s, a, D - b, W - a, D - a, c, 0.01);
  Rect(s, a, a, b, D - a, c, 0.01);
  Rect(s, W - b, a, W - a, D - a, c, 0.01);
}

}  // namespace

IsoGround GroundOf(IsoDesign design) {
  switch (design) {
    case IsoDesign::Office:
    case IsoDesign::OfficeTower:
    case IsoDesign::Shopping:
    case IsoDesign::Entertainment:
    case IsoDesign::AdviceCentre:
    case IsoDesign::Kiosk: return IsoGround::Paving;
    case IsoDesign::CarPark:
    case IsoDesign::CarParkGarage:
    case IsoDesign::CarParkDeck:
    case IsoDesign::ParkRide:
    case IsoDesign::CarSharingCentre:
    case IsoDesign::CarSharingStation: return IsoGround::Asphalt;
    case IsoDesign::Workshop:
    case IsoDesign::Factory:
    case IsoDesign::Mast: return IsoGround::Yard;
    default: return IsoGround::Lawn;
  }
}

void BuildGroupModel(IsoScene& s, const IsoGroupArt& g) {
  ArtRandom r(g.id);
  switch (g.design) {
    case IsoDesign::House: Houses(s, r, g); break;
    case IsoDesign::RowHouses: RowHouses(s, r, g); break;
    case IsoDesign::Apartments: Apartments(s, r, g); break;
    case IsoDesign::Tower: Tower(s, r, g); break;
    case IsoDesign::Office: Office(s, r, g); break;
    case IsoDesign::OfficeTower: OfficeTower(s, r, g); break;
    case IsoDesign::Workshop: Workshop(s, r, g); break;
    case IsoDesign::Factory: Factory(s, r, g); break;
    case IsoDesign::School: School(s, r, g); break;
    case IsoDesign::Shopping: Shopping(s, r, g); break;
    case IsoDesign::Sports: Sports(s, r, g); break;
    case IsoDesign::Park: Park(s, r, g); break;
    case IsoDesign::Entertainment: Entertainment(s, r, g); break;
    case IsoDesign::CarPark: CarPark(s, r, g); break;
    case IsoDesign::CarParkGarage: Deck(s, r, g, 2); break;
    case IsoDesign::CarParkDeck: Deck(s, r, g, 5); break;
    case IsoDesign::ParkRide: ParkRide(s, r, g); break;
    case IsoDesign::Mast: Mast(s, r, g); break;
    case IsoDesign::CarSharingCentre: CarSharing(s, r, g, true); break;
    case IsoDesign::CarSharingStation: CarSharing(s, r, g, false); break;
    case IsoDesign::Kiosk: Kiosk(s, r, g); break;
    case IsoDesign::AdviceCentre: AdviceCentre(s, r, g); break;
    case IsoDesign::BusStop:
    case IsoDesign::BusShelterStop: Stop(s, g); break;
    case IsoDesign::TramStop: TramStop(s, g); break;
    case IsoDesign::GuidanceSign:
    case IsoDesign::TrafficSign: Signs(s, g); break;
    case IsoDesign::Marker: Marker(s, g); break;
    default: break;
  }
}

}  // namespace zorgen
