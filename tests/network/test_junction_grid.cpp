// A town of 10 x 10 grid nodes built street by street with the street
// tool's operation, some streets deleted again, then saved and read into a
// new game: the junction graphics, the links between junctions and streets,
// the micro cells joining them and the demand simulation's crossings and
// streets stay what they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "junction_scene.h"
#include "microsim/micro_cells.h"
#include "support/test_support.h"
#include "writers/iso_writers.h"

namespace {

using namespace junctiontest;

constexpr uint32_t kStreetCells = 800;
constexpr uint32_t kJunctionCells = 801;
constexpr int kNodes = 10;
constexpr int kStep = 6;
constexpr int kOrigin = 10;

// Every junction graphic of the tables.
const std::vector<int> kJunctionTiles = {1482, 1503, 1558, 1559, 1587, 1601, 1616, 1630,
                                         1644, 1657, 1678, 1691, 1705, 1720, 1734};

// A layout of `lanes` separate two-cell lanes, each cell with no successor
// at its end and no predecessor at its start.
zorgen::Bytes Lanes(int lanes) {
  zorgen::MicroLayoutContent content;
  content.firstRender = 1;
  for (int i = 0; i < lanes; ++i) {
    const auto a = static_cast<uint16_t>(2 * i + 1), b = static_cast<uint16_t>(2 * i + 2);
    zorgen::MicroCellContent first, second;
    first.id = a;
    first.x = static_cast<int16_t>(4 * i);
    first.successors[0] = b;
    first.nextRender = b;
    second.id = b;
    second.x = static_cast<int16_t>(4 * i + 2);
    second.y = 6;
    second.predecessor = a;
    second.nextRender = i + 1 < lanes ? static_cast<uint32_t>(b + 1) : 0;
    content.cells.push_back(first);
    content.cells.push_back(second);
  }
  return zorgen::WriteMicroLayout(content);
}

zorgen::Bytes TileWithCells(uint32_t cells) {
  isotest::TileLayer layer = isotest::FlatLayer(isotest::FloorSprite, 0);
  for (auto& zoom : layer.data)
    for (uint32_t& d : zoom) d = cells;
  return isotest::MakeTile({layer});
}

std::map<uint32_t, zorgen::Bytes> GridBlobs() {
  auto b = JunctionBlobs();
  b[kStreetCells] = Lanes(2);
  b[kJunctionCells] = Lanes(4);
  for (int id : {kStraight, kCurve, kEnd}) b[static_cast<uint32_t>(id)] = TileWithCells(kStreetCells);
  for (int id : kJunctionTiles) b[static_cast<uint32_t>(id)] = TileWithCells(kJunctionCells);
  return b;
}

int Node(int i) { return kOrigin + kStep * i; }

// Rows alternate between types 1 and 2, columns run one-way in every third.
TStrassenType RowType(int j) { return j % 2 == 0 ? STRASSE_1 : STRASSE_2; }
TStrassenType ColumnType(int i) { return i % 3 == 1 ? STRASSE_EINBAHN : STRASSE_1; }

void BuildGrid(World& w) {
  for (int j = 0; j < kNodes; ++j)
    for (int i = 0; i + 1 < kNodes; ++i) {
      // Every row after the first starts from the column built before it.
      if (j > 0 && i == 0) {
        ASSERT_EQ(w.Build(Node(0), Node(j - 1), Node(0), Node(j)), STR_BUILD_OK) << j;
      }
      ASSERT_EQ(w.Build(Node(i), Node(j), Node(i + 1), Node(j), RowType(j)), STR_BUILD_OK) << i << "/" << j;
    }
  for (int i = 1; i < kNodes; ++i)
    for (int j = 0; j + 1 < kNodes; ++j)
      ASSERT_EQ(w.Build(Node(i), Node(j), Node(i), Node(j + 1), ColumnType(i)), STR_BUILD_OK) << i << "/" << j;
}

// Whether the junction's cells lead into a layout of another tile once for
// every street that a vehicle may take from it: not into a one-way street
// that ends here.
bool CellsLinkedOut(CStrJunction* j) {
  CQnoMicroZelle* own = j->GetMicroZelle(static_cast<short>(j->GetXPos()), static_cast<short>(j->GetYPos()));
  if (!own) return false;
  int out = 0;
  for (int k = 0; k < own->GetCount(); ++k) {
    BinaryMicroSimObject* c = own->GetZelle(k);
    for (BinaryMicroSimObject* n : c->m_pNachfolger) out += n && n->m_pOwner != own;
  }
  int leaving = 0;
  for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
    CStrStrasse* s = j->GetStreetByNR(i);
    leaving += s->GetStreetType() != STRASSE_EINBAHN || s->GetStartJunction() == j;
  }
  return out >= leaving;
}

using Shape = std::tuple<int, int, unsigned short, int, int>;
std::vector<Shape> Shapes(World& w) {
  std::vector<Shape> out;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    out.emplace_back(j->GetXPos(), j->GetYPos(), j->GetSimID(), j->GetAnzLinkedStreets(),
                     w.GroundRes(j->GetXPos(), j->GetYPos()));
  }
  std::sort(out.begin(), out.end());
  return out;
}

void ExpectDrawnAndLinked(World& w) {
  ExpectConsistent(w);
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    SCOPED_TRACE(testing::Message() << j->GetXPos() << "/" << j->GetYPos());
    CIsoRichtung dir;
    const int res = j->GetResID(&dir);
    if (j->GetAnzLinkedStreets() >= 3) {
      EXPECT_NE(res, 0);
      EXPECT_EQ(w.GroundRes(j->GetXPos(), j->GetYPos()), res);
    }
    EXPECT_EQ(w.GroundType(j->GetXPos(), j->GetYPos()), OBJ_CROSSING);
    EXPECT_TRUE(CellsLinkedOut(j));
  }
}

TEST(JunctionGrid, ATownBuiltEditedSavedAndReadBackKeepsItsNetwork) {
  g_ZorLoadVersion = 240;
  std::vector<Shape> shapes;
  std::vector<std::tuple<short, short, short>> streetIds;
  zortest::ByteList bytes;
  {
    World w(GridBlobs());
    BuildGrid(w);
    // Corners are bends; the other border nodes are T junctions, the inner
    // ones crossings.
    EXPECT_EQ(w.Junctions(), kNodes * kNodes - 4);
    EXPECT_EQ(w.At(Node(0), Node(0)), nullptr);
    ASSERT_NE(w.At(Node(4), Node(4)), nullptr);
    EXPECT_EQ(w.At(Node(4), Node(4))->GetAnzLinkedStreets(), 4);
    EXPECT_EQ(w.At(Node(4), Node(0))->GetAnzLinkedStreets(), 3);
    ExpectDrawnAndLinked(w);

    // Deleting two arms of an inner crossing leaves it a bend: gone.
    ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(Node(5), Node(5), Node(6), Node(5))), 0);
    ASSERT_NE(w.At(Node(5), Node(5)), nullptr);
    EXPECT_EQ(w.At(Node(5), Node(5))->GetAnzLinkedStreets(), 3);
    ExpectDrawnAndLinked(w);
    CStrStrasse* second = w.StreetBetween(Node(5), Node(4), Node(5), Node(5));
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(w.net->DeleteStreet(second), 0);
    EXPECT_EQ(w.At(Node(5), Node(5)), nullptr);
    ExpectDrawnAndLinked(w);

    shapes = Shapes(w);
    for (CStrStrasse* s : w.Streets())
      streetIds.emplace_back(s->GetSimID(), s->GetSimIDSecond(), static_cast<short>(s->GetNumber()));
    std::sort(streetIds.begin(), streetIds.end());
    zortest::RecordFile f;
    ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
    bytes = f.Bytes();
  }
  World w(GridBlobs());
  zortest::RecordFile f(bytes);
  ASSERT_EQ(w.net->SerializeGameLoad(f.f()), 0);
  EXPECT_EQ(Shapes(w), shapes);
  std::vector<std::tuple<short, short, short>> ids;
  for (CStrStrasse* s : w.Streets()) {
    ids.emplace_back(s->GetSimID(), s->GetSimIDSecond(), static_cast<short>(s->GetNumber()));
    short a = 0, b = 0;
    EXPECT_TRUE(w.sim->GetCrossingsOfStreet(s->GetSimID(), &a, &b));
    EXPECT_EQ(a, static_cast<short>(s->GetStartJunction()->GetSimID()));
    EXPECT_EQ(b, static_cast<short>(s->GetEndJunction()->GetSimID()));
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, streetIds);
  ExpectDrawnAndLinked(w);
  // A turn of the view makes every layout again and joins them again.
  EXPECT_EQ(w.net->TurnMicroSim(), 0);
  for (CStrStrasse* s : w.Streets()) EXPECT_NE(s->GetFirstMicroZelle(), nullptr);
  ExpectDrawnAndLinked(w);
  g_ZorLoadVersion = 0;
}

}  // namespace
