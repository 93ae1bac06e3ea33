// The vehicles' sprite table against the generated archives: every id of
// the table is a readable sprite that the generator lists, the pictures turn
// with the direction the micro simulation chooses for a move on the screen,
// and each zoom column shows the vehicle at its zoom's scale, short enough
// for the spacing the simulation keeps between vehicles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <vector>

#include "framework/qno_bitmap.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "manifest.h"
#include "microsim/vehicle_sprites.h"
#include "support/test_support.h"

namespace {

using namespace zorveh;
constexpr double PI = std::numbers::pi;
constexpr int XD[2] = {46, 22}, YD[2] = {23, 11};

// The visible pixels of a sprite: drawn over two backgrounds, a pixel is
// the sprite's where both drawings agree.
struct Pixels {
  int w = 0, h = 0;
  std::vector<std::pair<int, int>> at;
  std::vector<uint16_t> colour;
};

Pixels Decode(const void* s) {
  Pixels p;
  p.w = static_cast<int>(CIsoSprite::GetWidth(s)), p.h = static_cast<int>(CIsoSprite::GetHeight(s));
  std::vector<uint16_t> a(static_cast<size_t>(p.w) * p.h, 0x0000), b(a.size(), 0xFFFF);
  CIsoSprite::PutXYClipped16BitSprite(a.data(), s, 0, 0, p.w, p.h, p.w * 2);
  CIsoSprite::PutXYClipped16BitSprite(b.data(), s, 0, 0, p.w, p.h, p.w * 2);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (a[static_cast<size_t>(y) * p.w + x] == b[static_cast<size_t>(y) * p.w + x]) {
        p.at.push_back({x, y});
        p.colour.push_back(a[static_cast<size_t>(y) * p.w + x]);
      }
  return p;
}

// The screen angle (radians, y downwards, modulo pi) of the long axis of
// the visible pixels, from their second moments.
double AxisAngle(const Pixels& p) {
  double mx = 0, my = 0;
  for (auto [x, y] : p.at) mx += x, my += y;
  mx /= static_cast<double>(p.at.size()), my /= static_cast<double>(p.at.size());
  double xx = 0, yy = 0, xy = 0;
  for (auto [x, y] : p.at) xx += (x - mx) * (x - mx), yy += (y - my) * (y - my), xy += (x - mx) * (y - my);
  return 0.5 * std::atan2(2 * xy, xx - yy);
}

// The smallest difference of two axis angles, modulo pi, in degrees.
double AxisGap(double a, double b) {
  double d = std::fmod(std::fabs(a - b), PI);
  return std::min(d, PI - d) * 180 / PI;
}

// The direction the micro simulation gives a vehicle moving by (dx, dy) on
// the screen: the angle's 64th, stepped to a multiple of 4, 40 meaning right.
int DirectionOfMove(double dx, double dy) {
  const double a = std::atan2(100.0 * dy, 100.0 * dx);
  int i = static_cast<int>(std::floor(a * 64.0 / (2.0 * PI)));
  if (i < 0) i += 64;
  int q = i / 4;
  if ((a > 0.0 && a < PI / 2.0) || (a <= 0.0 && -a >= PI / 2.0)) ++q;
  const int dir = 4 * q + 40;
  return dir > 63 ? dir - 64 : dir;
}

// The vehicle length the simulation spaces vehicles by, in pixels, by
// sprite kind and column.
double SpacingPixels(int kind, int column) {
  const int k = VehicleSpriteSource(kind);
  const int tenths = k >= 17 ? 320 : (k >= 10 && k <= 16) ? 140 : 160;
  return tenths / 10.0 / (column ? 2 : 1);
}

class VehicleSprites : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
      ASSERT_EQ(m.AddWadFile(path), 0) << path;
    }
  }
  const void* Sprite(int kind, int column, int dir) {
    return CIsoSprite::FromResource(&m, VehicleSpriteId(kind, column, VehicleEntry(dir)));
  }
  QnoResourceManager m;
};

TEST_F(VehicleSprites, EveryEntryOfTheTableIsAListedReadableSprite) {
  std::set<uint32_t> drawn;
  for (int kind = 0; kind < VEHICLE_SPRITE_KINDS; ++kind)
    for (int column = 0; column < VEHICLE_SPRITE_COLUMNS; ++column)
      for (int entry = 0; entry < VEHICLE_DIRECTIONS; ++entry) {
        const uint32_t id = VehicleSpriteId(kind, column, entry);
        ASSERT_GT(id, 0u) << kind << "/" << column << "/" << entry;
        ASSERT_LT(id, QNO_MAX_RESOURCES);
        const zorgen::ManifestEntry* e = zorgen::FindInManifest(id);
        ASSERT_NE(e, nullptr) << id;
        EXPECT_EQ(e->kind, zorgen::BlobKind::Sprite) << id;
        const void* s = CIsoSprite::FromResource(&m, id);
        ASSERT_NE(s, nullptr) << id;
        // Drawn centred on a point, an even size puts the middle on a whole pixel.
        EXPECT_EQ(CIsoSprite::GetWidth(s) % 2, 0u) << id;
        EXPECT_EQ(CIsoSprite::GetHeight(s) % 2, 0u) << id;
        if (VehicleSpriteSource(kind) == kind && column < VEHICLE_DRAWN_COLUMNS) drawn.insert(id);
      }
  // Every kind with pictures of its own has its own 128 sprites.
  EXPECT_EQ(drawn.size(), static_cast<size_t>(VEHICLE_DRAWN_KIND_COUNT * VEHICLE_DRAWN_COLUMNS * VEHICLE_DIRECTIONS));
  // The ids the game names for the first entries.
  const std::pair<int, std::pair<uint32_t, uint32_t>> first[] = {
      {0, {44614, 44500}}, {23, {48819, 48786}}, {24, {49049, 48950}},
      {25, {49067, 49147}}, {26, {49212, 49277}}, {27, {46526, 46461}}};
  for (const auto& [kind, ids] : first) {
    EXPECT_EQ(VehicleSpriteId(kind, 0, 0), ids.first) << kind;
    EXPECT_EQ(VehicleSpriteId(kind, 1, 0), ids.second) << kind;
  }
  // Out of range asks get no id; the farthest zoom shows the second column.
  EXPECT_EQ(VehicleSpriteId(28, 0, 0), 0u);
  EXPECT_EQ(VehicleSpriteId(0, 3, 0), 0u);
  EXPECT_EQ(VehicleSpriteId(0, 0, 64), 0u);
  EXPECT_EQ(VehicleSpriteId(-1, 0, 0), 0u);
  EXPECT_EQ(VehicleSpriteId(5, 2, 9), VehicleSpriteId(6, 1, 9));
}

TEST_F(VehicleSprites, NoIdOfTheGameDataIsListedTwice) {
  std::map<uint32_t, int> seen;
  for (const zorgen::ManifestEntry& e : zorgen::Manifest()) ++seen[e.id];
  for (const auto& [id, count] : seen) EXPECT_EQ(count, 1) << id;
}

TEST_F(VehicleSprites, EveryDirectionShowsItsOwnPicture) {
  for (int kind : VEHICLE_DRAWN_KINDS)
    for (int column = 0; column < VEHICLE_DRAWN_COLUMNS; ++column) {
      std::vector<std::vector<uint16_t>> seen;
      int sameAsNext = 0;
      for (int dir = 0; dir < VEHICLE_DIRECTIONS; ++dir) {
        const void* s = Sprite(kind, column, dir);
        ASSERT_NE(s, nullptr);
        const Pixels p = Decode(s);
        std::vector<uint16_t> key = {static_cast<uint16_t>(p.w), static_cast<uint16_t>(p.h)};
        for (size_t i = 0; i < p.at.size(); ++i)
          key.insert(key.end(), {static_cast<uint16_t>(p.at[i].first), static_cast<uint16_t>(p.at[i].second), p.colour[i]});
        if (!seen.empty() && seen.back() == key) ++sameAsNext;
        seen.push_back(key);
      }
      // The directions the simulation uses (every fourth) all differ.
      for (int a = 0; a < VEHICLE_DIRECTIONS; a += 4)
        for (int b = a + 4; b < VEHICLE_DIRECTIONS; b += 4)
          EXPECT_NE(seen[static_cast<size_t>(a)], seen[static_cast<size_t>(b)]) << kind << "/" << column << ": " << a << " " << b;
      EXPECT_EQ(sameAsNext, 0) << kind << "/" << column;
    }
}

TEST_F(VehicleSprites, ALongVehicleTurnsWithItsMoveOnTheScreen) {
  // Along the streets (the map's axes) and along the screen's axes (straight
  // up itself falls on the boundary to the next direction; just right of it).
  const double moves[][2] = {{46, 23}, {-46, 23}, {-46, -23}, {46, -23}, {1, 0}, {0, 1}, {-1, 0}, {1, -100}};
  std::set<int> dirs;
  for (int kind : {18, 23, 27})
    for (const auto& mv : moves) {
      const int dir = DirectionOfMove(mv[0], mv[1]);
      dirs.insert(dir);
      const Pixels p = Decode(Sprite(kind, 0, dir));
      EXPECT_LT(AxisGap(AxisAngle(p), std::atan2(mv[1], mv[0])), 12.0) << "kind " << kind << " dir " << dir;
    }
  EXPECT_EQ(dirs.size(), 8u);
}

TEST_F(VehicleSprites, TheLongAxisTurnsSteadilyThroughAllDirections) {
  for (int kind : {0, 17, 18, 23, 27}) {
    for (int dir = 0; dir < VEHICLE_DIRECTIONS; ++dir) {
      // The map heading of the direction, projected onto the screen.
      const double a = (dir - VEHICLE_DIR_PLUS_X) * 2 * PI / VEHICLE_DIRECTIONS;
      const double sx = (std::cos(a) - std::sin(a)) * XD[0], sy = (std::cos(a) + std::sin(a)) * YD[0];
      const Pixels p = Decode(Sprite(kind, 0, dir));
      EXPECT_LT(AxisGap(AxisAngle(p), std::atan2(sy, sx)), 18.0) << "kind " << kind << " dir " << dir;
    }
  }
}

TEST_F(VehicleSprites, EachColumnShowsTheVehicleAtItsZoomWithinItsSpacing) {
  for (int kind : VEHICLE_DRAWN_KINDS) {
    double mapLength[2];
    for (int column = 0; column < VEHICLE_DRAWN_COLUMNS; ++column) {
      // Heading straight right (direction 40) only the length shows across:
      // the map length is the width over the projection of a map unit.
      const Pixels p = Decode(Sprite(kind, column, 40));
      int x0 = p.w, x1 = -1;
      for (auto [x, y] : p.at) x0 = std::min(x0, x), x1 = std::max(x1, x);
      mapLength[column] = (x1 - x0 + 1) / (std::sqrt(2.0) * XD[column]);
      // Along a street that length covers this much of the path on screen.
      const double alongStreet = mapLength[column] * std::hypot(XD[column], YD[column]);
      EXPECT_LE(alongStreet, SpacingPixels(kind, column) + 1.0) << "kind " << kind << " column " << column;
      EXPECT_GE(alongStreet, SpacingPixels(kind, column) * 0.55) << "kind " << kind << " column " << column;
    }
    // Both columns show the same vehicle, each at its zoom.
    EXPECT_NEAR(mapLength[1], mapLength[0], 1.5 / (std::sqrt(2.0) * XD[1])) << kind;
  }
}

TEST_F(VehicleSprites, TheLineVehiclesHaveTheirOwnPictures) {
  const uint32_t ids[] = {VEHICLE_PICTURE_BUS, VEHICLE_PICTURE_BUS_LOWFLOOR, VEHICLE_PICTURE_BUS_H2,
                          VEHICLE_PICTURE_BUS_ELECTRIC, VEHICLE_PICTURE_TRAM};
  std::vector<std::vector<uint16_t>> looks;
  for (uint32_t id : ids) {
    const QnoBitmap* b = QnoBitmap::FromResource(&m, id);
    ASSERT_NE(b, nullptr) << id;
    EXPECT_EQ(b->GetSizeX(), VEHICLE_PICTURE_WIDTH);
    EXPECT_EQ(b->GetSizeY(), VEHICLE_PICTURE_HEIGHT);
    EXPECT_EQ(b->GetBitsPerPixel(), 16);
    std::vector<uint16_t> px;
    for (int y = 0; y < VEHICLE_PICTURE_HEIGHT; ++y)
      for (int x = 0; x < VEHICLE_PICTURE_WIDTH; ++x) {
        const uint8_t* p = b->GetPixelPtr() + static_cast<size_t>(y) * b->GetRowBytes() + 2 * x;
        px.push_back(static_cast<uint16_t>(p[0] | p[1] << 8));
      }
    // Not a blank frame: the vehicle covers a good part of it.
    const size_t background = static_cast<size_t>(std::count(px.begin(), px.end(), px.front()));
    EXPECT_LT(background, px.size() * 3 / 4) << id;
    for (const auto& other : looks) EXPECT_NE(other, px) << id;
    looks.push_back(px);
  }
}

}  // namespace
