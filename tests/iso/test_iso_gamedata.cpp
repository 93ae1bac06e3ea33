// The generated map art, read through the map's views: every tile, group and
// sprite is readable, every catalogue object can be placed, the ground tiles
// cover the map without gaps, and a group looks the same whichever pair of
// object direction and view rotation gives the same drawing rotation.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <vector>

#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "manifest.h"
#include "support/test_support.h"

namespace {

constexpr int YD[3] = {23, 11, 6};

class MapArt : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
      ASSERT_EQ(m.AddWadFile(path), 0) << path;
    }
  }
  QnoResourceManager m;
};

// A 16-bit picture the tests draw tiles into as the map does.
struct Frame {
  int w, h;
  std::vector<uint16_t> px;
  static constexpr uint16_t BACK = 0x0821;
  Frame(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, BACK) {}
  // One sprite layer of a tile with the cell's diamond top at (rx, ry).
  bool Draw(QnoResourceManager& m, const IsoTileEntry& e, int zoom, int rx, int ry) {
    if (!e.spriteId) return true;
    const void* s = CIsoSprite::FromResource(&m, e.spriteId);
    if (!s) return false;
    const int sw = static_cast<int>(CIsoSprite::GetWidth(s)), sh = static_cast<int>(CIsoSprite::GetHeight(s));
    const int left = rx - 2 * YD[zoom] + e.x, top = ry + 2 * YD[zoom] - (e.y + sh);
    if (left < 0 || top < 0 || left + sw > w || top + sh > h) return false;
    CIsoSprite::PutXYClipped16BitSprite(&px[static_cast<size_t>(top) * w + left], s, 0, 0, sw, sh, w * 2);
    return true;
  }
  // The painted pixels cut to their bounding box.
  std::vector<uint16_t> Painted(int* bw, int* bh) const {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (px[static_cast<size_t>(y) * w + x] != BACK) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    std::vector<uint16_t> out;
    *bw = x1 - x0 + 1, *bh = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) out.push_back(px[static_cast<size_t>(y) * w + x]);
    return out;
  }
};

void ScreenOf(int rot, int x, int y, int yd, int* rx, int* ry) {
  const int xd = 2 * yd;
  switch (rot) {
    case 0: *rx = (x - y) * xd, *ry = (x + y) * yd; break;
    case 1: *rx = -(x + y) * xd, *ry = (x - y) * yd; break;
    case 2: *rx = -(x - y) * xd, *ry = -(x + y) * yd; break;
    default: *rx = (x + y) * xd, *ry = (y - x) * yd; break;
  }
}

// Draws a group placed at the origin turned to `dir`, seen in view
// rotation `rot`, with the map's cell order for its parts and its passes.
std::vector<uint16_t> DrawGroup(QnoResourceManager& m, uint32_t id, int dir, int rot, int zoom, int* bw, int* bh) {
  const IsoGroupBlob g = IsoGroupBlob::FromResource(&m, id);
  const int W = static_cast<int>(g.Width()), D = static_cast<int>(g.Depth());
  struct Part {
    int rx, ry;
    IsoTileBlob tile;
  };
  std::vector<Part> parts;
  for (int b = 0; b < D; ++b)
    for (int a = 0; a < W; ++a) {
      int cx, cy;
      switch (dir) {  // the map's placement of part (a, b)
        case 0: cx = a, cy = b; break;
        case 1: cx = D - 1 - b, cy = a; break;
        case 2: cx = W - 1 - a, cy = D - 1 - b; break;
        default: cx = b, cy = W - 1 - a; break;
      }
      Part p;
      ScreenOf(rot, cx, cy, YD[zoom], &p.rx, &p.ry);
      p.rx += 450, p.ry += 400;
      p.tile = IsoTileBlob::FromResource(&m, static_cast<unsigned>(g.FindObject(a, b, 0)));
      parts.push_back(p);
    }
  std::sort(parts.begin(), parts.end(), [rot](const Part& a, const Part& b) {
    return a.ry != b.ry ? a.ry < b.ry : (rot == 0 ? a.rx < b.rx : a.rx > b.rx);
  });
  Frame f(900, 700);
  for (int pass = 0; pass < 2; ++pass)
    for (const Part& p : parts)
      for (int l = 0; l <= p.tile.HighestLayer(); ++l) {
        const IsoTileEntry e = p.tile.Entry(zoom, (rot + dir) & 3, l);
        if ((e.z <= ISO_Z_FLOOR_MAX) == (pass == 0)) {
          EXPECT_TRUE(f.Draw(m, e, zoom, p.rx, p.ry)) << id;
        }
      }
  return f.Painted(bw, bh);
}

}  // namespace

TEST_F(MapArt, EveryMapBlobOfTheListPassesTheMapsValidators) {
  std::ifstream list(zortest::BinaryDir() + "/gamedata/" + zorgen::MANIFEST_FILE);
  ASSERT_TRUE(list);
  std::string archive, kindName;
  uint32_t id;
  int counted[3] = {};
  while (list >> archive >> id >> kindName) {
    zorgen::BlobKind kind;
    ASSERT_TRUE(zorgen::KindFromName(kindName, &kind)) << kindName;
    const auto* blob = static_cast<const uint8_t*>(m.GetResource(id));
    const uint32_t n = m.GetResourceLength(id);
    if (kind == zorgen::BlobKind::IsoTile) {
      EXPECT_TRUE(ValidateIsoTile(blob, n)) << id;
      ++counted[0];
    } else if (kind == zorgen::BlobKind::IsoGroup) {
      EXPECT_TRUE(ValidateIsoGroup(blob, n)) << id;
      ++counted[1];
    } else if (kind == zorgen::BlobKind::MicroLayout) {
      EXPECT_TRUE(ValidateMicroLayout(blob, n)) << id;
      ++counted[2];
    }
  }
  int tiles = static_cast<int>(zorgen::IsoTiles().size()), groups = static_cast<int>(zorgen::IsoGroups().size());
  int layouts = 0;
  for (const auto& g : zorgen::IsoGroups()) tiles += g.width * g.depth;
  for (const auto& n : zorgen::NetPieces()) {
    tiles += n.group ? n.Parts() : 1;
    groups += n.group;
    layouts += static_cast<int>(n.LayoutCount());
  }
  EXPECT_EQ(counted[0], tiles);
  EXPECT_EQ(counted[1], groups);
  EXPECT_EQ(counted[2], layouts);
  EXPECT_GT(layouts, 0);
}

TEST_F(MapArt, TheTilesTheMapNamesExistWithASpriteForEveryLayerAndView) {
  std::vector<uint32_t> named = {10538, 10539, 10540, 10541, 10542, 10543, 10544, 10545, 10547, 39640, 39641,
                                 39642, 44316, 44108, 44122, 44102, 44103, 44106, 44110, 44111, 44112, 44115,
                                 44123, 49647, 49652, 17015, 17017, 17018, 17019, 17020, 17021, 17022, 37800,
                                 37801, 37802, 37803, 37804, 37805, 37806, 37807, 37813, 38398, 38399, 38400,
                                 38401};
  for (const auto& g : zorgen::IsoGroups())
    for (int i = 0; i < g.width * g.depth; ++i) named.push_back(g.firstTile + static_cast<uint32_t>(i));
  for (uint32_t id : named) {
    const IsoTileBlob t = IsoTileBlob::FromResource(&m, id);
    ASSERT_FALSE(t.Empty()) << id;
    for (int zoom = 0; zoom < 3; ++zoom)
      for (int rot = 0; rot < 4; ++rot)
        for (int l = 0; l <= t.HighestLayer(); ++l) {
          const IsoTileEntry e = t.Entry(zoom, rot, l);
          ASSERT_NE(e.spriteId, 0u) << id << " " << zoom << rot << l;  // a missing layer would be logged each frame
          ASSERT_NE(CIsoSprite::FromResource(&m, e.spriteId), nullptr) << id << " sprite " << e.spriteId;
          EXPECT_EQ(CIsoSprite::GetTag(CIsoSprite::FromResource(&m, e.spriteId)), QNO_SPRITE_TAG_565);
          EXPECT_EQ(e.dataId, 0u) << id;  // nothing here carries vehicles
        }
    // Ground, water and overlay tiles lie flat, drawn in the floor pass.
    if (id < zorgen::ISO_PART_TILES_FIRST) {
      EXPECT_LE(t.Entry(0, 0, 0).z, ISO_Z_FLOOR_MAX) << id;
    }
  }
}

TEST_F(MapArt, EveryCatalogueGroupCanBePlacedAndHasTheSizeItsRulesExpect) {
  const uint32_t catalogue[] = {
      35759, 35797, 35838, 35837, 32290, 32289, 30084, 30085, 18981, 24501, 21996, 21018, 43861, 30083, 28686,
      29793, 25669, 32456, 33149, 33173, 33174, 39431, 39432, 39433, 27552, 27563, 27574, 28031, 28042, 27993,
      28201, 10302, 10306, 10311, 10315, 10288, 10297, 12479, 12480, 18423, 28205, 11871, 10319, 10323, 10328,
      10333, 10343, 8937,  10289, 10290, 39546, 10351, 10360, 18372, 12638, 18383, 18400, 18411, 18437, 18457,
      10378, 12485, 11878, 27510, 29937, 29939, 27521, 28699, 26509, 26387, 30011, 30008, 30009, 30010, 30262,
      30263, 30264, 30265, 37749, 37750, 28200, 28202, 28203, 19987, 14023, 18510, 11896, 11897, 11898, 11907,
      11941, 11949, 36838, 19986, 19988, 14073, 14045, 14059, 14072, 36856, 49788, 49787, 49786, 28716, 16851,
      16918, 18332, 39828, 42258, 12652, 12555, 33653, 30526, 30540, 30882, 12513, 32756, 40086, 51739, 51759,
      33880};
  for (uint32_t id : catalogue) {
    const IsoGroupBlob g = IsoGroupBlob::FromResource(&m, id);
    ASSERT_FALSE(g.Empty()) << id;
    ASSERT_GE(g.Width(), 1u) << id;
    ASSERT_GE(g.Depth(), 1u) << id;
    // Placement reads layer 0 of every part and stops at the first missing one.
    for (uint32_t b = 0; b < g.Depth(); ++b)
      for (uint32_t a = 0; a < g.Width(); ++a) {
        const int tile = g.FindObject(static_cast<int>(a), static_cast<int>(b), 0);
        EXPECT_GE(tile, 1) << id << " part " << a << "," << b;
        EXPECT_FALSE(IsoTileBlob::FromResource(&m, static_cast<unsigned>(tile)).Empty()) << id;
      }
    for (int zoom = 0; zoom < 2; ++zoom)
      for (int rot = 0; rot < 4; ++rot) EXPECT_EQ(g.MicroLayoutId(zoom, rot), 0u) << id;
  }
  // Stops are as long as their kind's footprint: 1 to 4 cells along the
  // street; the tram stop is 3 x 2.
  const std::pair<uint32_t, std::pair<uint32_t, uint32_t>> sizes[] = {
      {32290, {1, 1}}, {32289, {1, 2}}, {30084, {1, 3}}, {30085, {1, 4}}, {18981, {3, 2}}, {33880, {1, 1}}};
  for (const auto& [id, wd] : sizes) {
    const IsoGroupBlob g = IsoGroupBlob::FromResource(&m, id);
    EXPECT_EQ(g.Width(), wd.first) << id;
    EXPECT_EQ(g.Depth(), wd.second) << id;
  }
  // Stops and signs go over streets: they must not hide the street in the
  // floor pass.
  for (uint32_t id : {32290u, 32289u, 30084u, 30085u, 18981u, 24501u, 21996u, 21018u, 43861u}) {
    const IsoGroupBlob g = IsoGroupBlob::FromResource(&m, id);
    const IsoTileBlob t = IsoTileBlob::FromResource(&m, static_cast<unsigned>(g.FindObject(0, 0, 0)));
    for (int l = 0; l <= t.HighestLayer(); ++l) EXPECT_GT(t.Entry(0, 0, l).z, ISO_Z_MIDDLE) << id;
  }
}

TEST_F(MapArt, GroundTilesCoverTheMapWithoutGapsAtEveryZoom) {
  const uint32_t ground[] = {10538, 10539, 10540, 10541, 10542, 10543, 10544, 10545, 10547, 39640, 39641, 39642, 44316};
  for (int zoom = 0; zoom < 3; ++zoom) {
    Frame f(40 * YD[zoom] + 200, 20 * YD[zoom] + 200);
    for (int x = 0; x < 6; ++x)
      for (int y = 0; y < 6; ++y) {
        const IsoTileBlob t = IsoTileBlob::FromResource(&m, ground[(x * 7 + y * 3) % 13]);
        int rx, ry;
        ScreenOf(0, x, y, YD[zoom], &rx, &ry);
        ASSERT_TRUE(f.Draw(m, t.Entry(zoom, 0, 0), zoom, rx + f.w / 2, ry + 50));
      }
    // Inside the diamond of the inner 4 x 4 cells every pixel is painted.
    int holes = 0, inside = 0;
    for (int y = 0; y < f.h; ++y)
      for (int x = 0; x < f.w; ++x) {
        const double u = (x - f.w / 2.0) / (4.0 * YD[zoom]) + (y - 50.0) / (2.0 * YD[zoom]);
        const double v = (y - 50.0) / (2.0 * YD[zoom]) - (x - f.w / 2.0) / (4.0 * YD[zoom]);
        if (u < 1.1 || u > 4.9 || v < 1.1 || v > 4.9) continue;
        ++inside;
        holes += f.px[static_cast<size_t>(y) * f.w + x] == Frame::BACK;
      }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(holes, 0) << "zoom " << zoom;
  }
}

TEST_F(MapArt, AGroupLooksTheSameForEveryDirectionAndRotationWithTheSameDrawingTurn) {
  // A square, a long and a deep group, placed on the ground layer and over streets.
  for (uint32_t id : {35759u, 37750u, 11907u, 16851u, 30085u, 42258u}) {
    for (int zoom : {0, 2})
      for (int turn = 0; turn < 4; ++turn) {
        int w0, h0;
        const std::vector<uint16_t> first = DrawGroup(m, id, turn, 0, zoom, &w0, &h0);
        ASSERT_GT(w0, 2 * YD[zoom]) << id;
        for (int dir = 1; dir < 4; ++dir) {
          int w, h;
          const std::vector<uint16_t> other = DrawGroup(m, id, (turn - dir + 4) % 4, dir, zoom, &w, &h);
          EXPECT_EQ(w, w0) << id << " turn " << turn << " rotation " << dir;
          EXPECT_EQ(h, h0) << id << " turn " << turn << " rotation " << dir;
          EXPECT_TRUE(other == first) << id << " turn " << turn << " rotation " << dir;
        }
      }
  }
}

TEST(MapArtPlan, IdsStayInTheirBlocksAndNoIdIsListedTwice) {
  std::set<uint32_t> seen;
  for (const zorgen::ManifestEntry& e : zorgen::Manifest()) EXPECT_TRUE(seen.insert(e.id).second) << e.id << " " << e.what;
  uint32_t lastSprite = 0, lastTile = 0;
  for (const auto& t : zorgen::IsoTiles()) lastSprite = std::max(lastSprite, t.firstSprite + t.SpriteCount());
  for (const auto& g : zorgen::IsoGroups()) {
    lastSprite = std::max(lastSprite, g.firstSprite + g.SpriteCount());
    lastTile = std::max(lastTile, g.firstTile + static_cast<uint32_t>(g.width * g.depth));
    // Slices are numbered along the front, one per front cell.
    EXPECT_EQ(g.SlicesPerView(), static_cast<uint32_t>(g.width + g.depth - 1)) << g.id;
  }
  EXPECT_LE(lastSprite, zorgen::ISO_SPRITES_END);
  EXPECT_LE(lastTile, zorgen::NET_PART_TILES_FIRST);
  // The street network's cells, sprites and layouts stay in blocks of their own.
  uint32_t netTile = zorgen::NET_PART_TILES_FIRST, netSprite = zorgen::NET_SPRITES_FIRST;
  uint32_t netLayout = zorgen::NET_LAYOUTS_FIRST;
  for (const auto& n : zorgen::NetPieces()) {
    if (n.group) {
      EXPECT_EQ(n.firstTile, netTile) << n.id;
      netTile += static_cast<uint32_t>(n.Parts());
    }
    if (netSprite + n.SpriteCount() > zorgen::NET_SPRITES_END && netSprite <= zorgen::NET_SPRITES_END &&
        netSprite >= zorgen::NET_SPRITES_FIRST)
      netSprite = zorgen::NET_SPRITES_MORE_FIRST;
    else if (netSprite + n.SpriteCount() > zorgen::NET_SPRITES_MORE_END && netSprite < zorgen::NET_SPRITES_MORE_END)
      netSprite = zorgen::NET_SPRITES_RAIL_FIRST;
    EXPECT_EQ(n.firstSprite, netSprite) << n.id;
    netSprite += n.SpriteCount();
    if (n.firstLayout) {
      EXPECT_EQ(n.firstLayout, netLayout) << n.id;
      netLayout += n.LayoutCount();
    }
  }
  EXPECT_LE(netTile, zorgen::ISO_SPRITES_FIRST);
  EXPECT_LE(netSprite, netSprite >= zorgen::NET_SPRITES_FIRST        ? zorgen::NET_SPRITES_END
                       : netSprite >= zorgen::NET_SPRITES_MORE_FIRST ? zorgen::NET_SPRITES_MORE_END
                                                                     : zorgen::NET_SPRITES_RAIL_END);
  EXPECT_LE(netLayout, zorgen::NET_LAYOUTS_END);
  // The blocks hold nothing else, and no id the game names falls into them.
  for (const zorgen::ManifestEntry& e : zorgen::Manifest()) {
    const bool inBlocks = e.id >= zorgen::ISO_PART_TILES_FIRST && e.id < zorgen::NET_SPRITES_MORE_END;
    const bool generated = e.kind == zorgen::BlobKind::Sprite || (e.kind == zorgen::BlobKind::IsoTile && e.id < lastTile) ||
                           (e.kind == zorgen::BlobKind::IsoTile && e.id >= zorgen::NET_PART_TILES_FIRST && e.id < netTile);
    if (inBlocks) {
      EXPECT_TRUE(generated) << e.id << " " << e.what;
    }
  }
  // A tile that turns has a sprite per rotation; one that does not shares it.
  const zorgen::IsoTileArt* mark = zorgen::FindIsoTile(zorgen::TILE_MARK_EDGE);
  ASSERT_NE(mark, nullptr);
  EXPECT_NE(mark->Sprite(1, 0, 0), mark->Sprite(1, 1, 0));
  const zorgen::IsoTileArt* grass = zorgen::FindIsoTile(10538);
  ASSERT_NE(grass, nullptr);
  EXPECT_EQ(grass->Sprite(1, 0, 0), grass->Sprite(1, 3, 0));
}

// A car park's three looks stand for its use below 30 %, up to 60 % and
// above: the fuller look shows more cars, so the player sees an empty car
// park as empty. Cars are the coloured pixels on the grey lot and deck.
TEST_F(MapArt, ACarParksLooksShowMoreCarsTheFullerItIs) {
  const auto colouredPixels = [](const std::vector<uint16_t>& px) {
    int n = 0;
    for (uint16_t p : px) {
      const int r = (p >> 11 & 31) * 8, g = (p >> 5 & 63) * 4, b = (p & 31) * 8;
      n += std::max({r, g, b}) - std::min({r, g, b}) > 60;
    }
    return n;
  };
  const uint32_t looks[3][3] = {{39431, 39432, 39433}, {27552, 27563, 27574}, {28031, 28042, 27993}};
  for (const auto& row : looks) {
    int cars[3];
    for (int state = 0; state < 3; ++state) {
      int w, h;
      cars[state] = colouredPixels(DrawGroup(m, row[state], 0, 0, 0, &w, &h));
    }
    EXPECT_LT(cars[0], cars[1]) << row[0];
    EXPECT_LT(cars[1], cars[2]) << row[0];
  }
}
