// The street network's savegame record: a network read back is the network
// written, and a record that is cut short, names junctions that are not
// there, holds impossible places or counts, or gives a junction a fifth
// street is refused and leaves no network behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <cstring>
#include <tuple>
#include <vector>

#include "junction_scene.h"
#include "support/test_support.h"

namespace {

using namespace junctiontest;
using zortest::ByteList;
using zortest::RecordFile;

// Junction entry in the list record: name length, "CStrJunction" and its
// NUL, the key, then type, crossing id, x, y, street count, control and the
// crossing object's empty record.
constexpr size_t kListHead = 5;
constexpr size_t kEntry = 1 + 13 + 4 + 4 + 2 + 2 + 2 + 1 + 4 + CKreuzObj::kRecordSize;
constexpr size_t kId = 22, kX = 24, kCount = 28;
// Offsets in a street record; its pieces' list follows the 138 bytes.
constexpr size_t kStreetEndCrossing = 136, kStreetPieces = 138;

struct JunctionShape {
  unsigned short id, x, y;
  int streets, type, res;
  bool operator==(const JunctionShape&) const = default;
};
struct StreetShape {
  int x1, y1, x2, y2;
  short id, back;
  unsigned pieces;
  int type;
  auto operator<=>(const StreetShape&) const = default;
};

std::vector<JunctionShape> JunctionsOf(World& w) {
  std::vector<JunctionShape> out;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    out.push_back({j->GetSimID(), j->GetXPos(), j->GetYPos(), j->GetAnzLinkedStreets(), j->GetType().GetValue(),
                   w.GroundRes(j->GetXPos(), j->GetYPos())});
  }
  return out;
}

std::vector<StreetShape> StreetsOf(World& w) {
  std::vector<StreetShape> out;
  for (CStrStrasse* s : w.Streets())
    out.push_back({s->GetStartJunction()->GetXPos(), s->GetStartJunction()->GetYPos(), s->GetEndJunction()->GetXPos(),
                   s->GetEndJunction()->GetYPos(), s->GetSimID(), s->GetSimIDSecond(), s->GetNumber(),
                   s->GetStreetType().GetValue()});
  // A junction holds the streets it ends before those it starts after
  // loading; the set of streets is what is kept.
  std::sort(out.begin(), out.end());
  return out;
}

// A crossing, T junctions, bends, a type-2 street and a one-way arm.
void BuildTown(World& w) {
  BuildCrossing(w);
  ASSERT_EQ(w.Build(10, 20, 2, 20, STRASSE_EINBAHN), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 25, 5, 35, STRASSE_2), STR_BUILD_OK);
}

struct JunctionRecord : ::testing::Test {
  void SetUp() override {
    g_ZorLoadVersion = 240;
    World w;
    BuildTown(w);
    ExpectConsistent(w);
    junctions = JunctionsOf(w);
    streets = StreetsOf(w);
    RecordFile f;
    ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
    bytes = f.Bytes();
  }
  void TearDown() override { g_ZorLoadVersion = 0; }
  static int Load(World& w, const ByteList& b) {
    RecordFile f(b);
    return w.net->SerializeGameLoad(f.f());
  }
  // A new game refuses the record, and nothing of it is left: no junction,
  // no world object, no crossing in the demand simulation, nothing drawn.
  void ExpectRefused(const ByteList& b) {
    World w;
    const size_t objects = w.host.objects.size();
    EXPECT_EQ(Load(w, b), 1);
    EXPECT_EQ(w.Junctions(), 0);
    EXPECT_EQ(w.host.objects.size(), objects);
    for (const JunctionShape& j : junctions) {
      EXPECT_FALSE(Registered(w, j.id));
      EXPECT_EQ(w.net->GetJunctionByID(j.id), nullptr);
      EXPECT_NE(w.GroundType(j.x, j.y), OBJ_CROSSING);
    }
    for (const StreetShape& s : streets) EXPECT_EQ(w.net->GetStreetByID(s.id), nullptr);
    // The refused game still builds streets.
    EXPECT_EQ(w.Build(60, 60, 60, 70), STR_BUILD_OK);
  }
  size_t StreetsStart() const { return kListHead + kEntry * junctions.size(); }

  std::vector<JunctionShape> junctions;
  std::vector<StreetShape> streets;
  ByteList bytes;
};

TEST_F(JunctionRecord, ANetworkReadBackIsTheNetworkWritten) {
  ASSERT_GE(junctions.size(), 7u);
  World w;
  // A good record is read without a word of refusal in the log.
  const size_t logged = zortest::ReadFile("errors.log").size();
  ASSERT_EQ(Load(w, bytes), 0);
  EXPECT_EQ(zortest::ReadFile("errors.log").find("CStrJunctionList", logged), std::string::npos);
  EXPECT_EQ(JunctionsOf(w), junctions);
  EXPECT_EQ(StreetsOf(w), streets);
  ExpectConsistent(w);
  // Written again, the record is the same bytes.
  RecordFile again;
  ASSERT_EQ(w.net->SerializeGameStore(again.f()), 0);
  EXPECT_EQ(again.Bytes(), bytes);
  // The network goes on being edited after loading.
  EXPECT_EQ(w.Build(5, 35, 15, 35), STR_BUILD_OK);
  ExpectConsistent(w);
}

TEST_F(JunctionRecord, CutShortRecordsAreRefusedWhole) {
  // Cuts inside the list, at the start of the streets, inside the first
  // street and one byte before the end.
  for (size_t n : {size_t{0}, size_t{3}, kListHead + 20, kListHead + kEntry + 40, StreetsStart(), StreetsStart() + 2,
                   StreetsStart() + 150, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(n);
    ExpectRefused(ByteList(bytes.begin(), bytes.begin() + static_cast<long>(n)));
  }
}

TEST_F(JunctionRecord, RecordsThatDescribeNoNetworkAreRefused) {
  const size_t first = kListHead;
  std::vector<std::tuple<const char*, size_t, std::vector<uint8_t>>> faults = {
      {"a street count the streets do not match", first + kCount, {static_cast<uint8_t>(bytes[first + kCount] + 1)}},
      {"more than four streets", first + kCount, {5}},
      {"a cell outside the map", first + kX, {200, 0}},
      {"a junction moved off its streets' ends", first + kX, {static_cast<uint8_t>(bytes[first + kX] + 1), 0}},
      {"two junctions with one crossing id", first + kEntry + kId, {bytes[first + kId], bytes[first + kId + 1]}},
      {"a crossing id of 0", first + kId, {0, 0}},
  };
  // The first junction that has streets of its own: its street's end is
  // made a crossing that does not exist, or it claims five streets.
  size_t at = StreetsStart();
  for (const JunctionShape& j : junctions) {
    (void)j;
    if (bytes[at] != 0) break;
    ++at;
  }
  ASSERT_LT(at, bytes.size());
  faults.push_back({"a street to a missing junction", at + 1 + kStreetEndCrossing, {0xE7, 0x03}});
  faults.push_back({"five streets starting at one junction", at, {5}});
  // Its first street's first piece, after the entry's name and key: end
  // x/y, then start x/y, moved one cell off the junction.
  const size_t piece = at + 1 + kStreetPieces + kListHead;
  const size_t startX = piece + 1 + bytes[piece] + 1 + 4 + 4;
  faults.push_back(
      {"a street piece that does not start at its junction", startX, {static_cast<uint8_t>(bytes[startX] + 1)}});
  for (const auto& [what, offset, patch] : faults) {
    SCOPED_TRACE(what);
    ByteList b = bytes;
    ASSERT_LE(offset + patch.size(), b.size());
    std::memcpy(b.data() + offset, patch.data(), patch.size());
    ExpectRefused(b);
  }
}

// A town of more junctions than the index's first size: the index grows
// to take them all.
TEST_F(JunctionRecord, ATownOfOverAThousandJunctionsIsReadBack) {
  std::vector<JunctionShape> before;
  ByteList record;
  {
    World w;
    // A comb: a street with 25 teeth, each with 22 short stubs.
    ASSERT_EQ(w.Build(2, 4, 102, 4), STR_BUILD_OK);
    for (int x = 4; x <= 100; x += 4) {
      ASSERT_EQ(w.Build(x, 4, x, 60), STR_BUILD_OK) << x;
      for (int y = 6; y <= 48; y += 2) ASSERT_EQ(w.Build(x, y, x + 2, y), STR_BUILD_OK) << x << "/" << y;
    }
    ASSERT_GT(w.Junctions(), 1000);
    before = JunctionsOf(w);
    RecordFile f;
    ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
    record = f.Bytes();
  }
  World w;
  ASSERT_EQ(Load(w, record), 0);
  EXPECT_EQ(JunctionsOf(w), before);
  ExpectConsistent(w);
}

TEST_F(JunctionRecord, ANetworkIsLoadedOnlyIntoAnEmptyList) {
  World w;
  ASSERT_EQ(Load(w, bytes), 0);
  EXPECT_EQ(Load(w, bytes), 1);
  EXPECT_EQ(JunctionsOf(w), junctions);
  ExpectConsistent(w);
}

}  // namespace
