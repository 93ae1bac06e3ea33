// The rail network: tracks and rail junctions built as groups, level
// crossings where tracks and streets cross (whichever comes first), train
// stops, removal, and the rail network's savegame record.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_crossing_check.h"
#include "rail_scene.h"
#include "support/test_support.h"

namespace {

using namespace railtest;
using zortest::ByteList;
using zortest::RecordFile;

int GroupRes(RailWorld& w, int x, int y, TBaseType layer = ISO_LAYER_GROUND) {
  CIsoObjGroup* g = w.map->GetIsoInfo(x, y)->GetGroupObj(layer);
  return g ? g->GetResID() : 0;
}

// The demand model's crossings and streets 1..40, created or not.
std::vector<bool> DemandModel(RailWorld& w) {
  std::vector<bool> out;
  CSimTrafficSlot* slot = w.sim->EditingSlot();
  for (short id = 1; id <= 40; ++id) {
    CSimCrossing* c = slot->GetCrossing(id);
    CSimStreet* s = slot->GetStreet(id);
    out.push_back(c && c->IsCreated());
    out.push_back(s && s->IsCreated());
  }
  return out;
}

TEST(RailNetwork, ATrackAcrossAStreetGetsALevelCrossingAtTheStreet) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  const std::vector<bool> demand = DemandModel(w);
  ASSERT_EQ(w.Track(2, 20, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.rails->GetNumber(), 2u);
  ASSERT_EQ(w.Tracks().size(), 1u);
  const std::vector<CGrdCrossing*> crossings = w.Crossings();
  ASSERT_EQ(crossings.size(), 1u);
  EXPECT_EQ(crossings[0]->GetResID(), CGrdCrossing::kResID);
  EXPECT_TRUE(crossings[0]->IsOnRail());
  // Three cells along the track, both of its rows, the street in the middle.
  for (int x = 8; x <= 13; ++x)
    for (int y = 19; y <= 22; ++y) {
      const bool inside = x >= 9 && x <= 11 && y >= 20 && y <= 21;
      EXPECT_EQ(w.rails->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y)), inside) << x << "/" << y;
      if (inside) {
        EXPECT_EQ(GroupRes(w, x, y), CGrdCrossing::kResID);
        EXPECT_EQ(w.GroundType(x, y), OBJ_RAIL_PIECE);
      }
    }
  // The street goes on beside the track, the track beside the street.
  EXPECT_EQ(w.GroundType(10, 19), OBJ_STREET_PIECE);
  EXPECT_EQ(w.GroundType(10, 22), OBJ_STREET_PIECE);
  EXPECT_EQ(GroupRes(w, 14, 20), CStrSchienen::kStraightResID);
  // The upper and lower street cells of the crossing are the street's.
  short ux = 0, uy = 0, lx = 0, ly = 0;
  crossings[0]->GetUpperStreetPos(ux, uy);
  crossings[0]->GetLowerStreetPos(lx, ly);
  EXPECT_EQ(std::make_tuple(ux, uy, lx, ly), std::make_tuple(short{10}, short{19}, short{10}, short{22}));
  // The demand model never sees the track.
  EXPECT_EQ(DemandModel(w), demand);
}

TEST(RailNetwork, AStreetBuiltAcrossATrackGetsALevelCrossingOfItsType) {
  for (TStrassenType type : {STRASSE_1, STRASSE_VIERSPURIG}) {
    SCOPED_TRACE(static_cast<int>(type));
    RailWorld w;
    ASSERT_EQ(w.Track(2, 20, 20, 20), STR_BUILD_OK);
    EXPECT_TRUE(w.Crossings().empty());
    ASSERT_EQ(w.Build(10, 10, 10, 30, type), STR_BUILD_OK);
    const std::vector<CGrdCrossing*> crossings = w.Crossings();
    ASSERT_EQ(crossings.size(), 1u);
    const int res = type == STRASSE_VIERSPURIG ? CGrdCrossing::kResID4 : CGrdCrossing::kResID;
    EXPECT_EQ(crossings[0]->GetResID(), res);
    EXPECT_EQ(GroupRes(w, 10, 20), res);
    EXPECT_EQ(GroupRes(w, 10, 21), res);
    EXPECT_TRUE(w.rails->HasGrdCrossingAt(9, 20));
    // Building another street elsewhere makes no second crossing here.
    ASSERT_EQ(w.Build(10, 30, 18, 30, type), STR_BUILD_OK);
    EXPECT_EQ(w.Crossings().size(), 1u);
  }
}

TEST(RailNetwork, ATrackThroughAStreetGridCrossesEveryStreetOnce) {
  RailWorld w;
  ASSERT_EQ(w.Build(5, 5, 35, 5), STR_BUILD_OK);
  for (int x = 10; x <= 30; x += 5) ASSERT_EQ(w.Build(x, 5, x, 35), STR_BUILD_OK);
  const size_t streets = w.Streets().size();
  ASSERT_EQ(w.Track(2, 22, 40, 22), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 5u);
  for (int x = 10; x <= 30; x += 5) {
    EXPECT_TRUE(w.rails->HasGrdCrossingAt(static_cast<short>(x), 22)) << x;
    EXPECT_EQ(w.GroundType(x, 21), OBJ_STREET_PIECE) << x;
    EXPECT_EQ(w.GroundType(x, 24), OBJ_STREET_PIECE) << x;
  }
  // The street grid stays whole: the crossings split no street.
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_FALSE(w.rails->HasGrdCrossingAt(8, 22));
}

TEST(RailNetwork, AStreetAcrossTwoTracksKeepsBothCrossingsShownThroughLaterEdits) {
  RailWorld w;
  ASSERT_EQ(w.Track(10, 40, 10, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Track(10, 10, 30, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Track(30, 10, 30, 40), STR_BUILD_OK);
  ASSERT_EQ(w.Build(2, 25, 38, 25), STR_BUILD_OK);
  ASSERT_EQ(w.Crossings().size(), 2u);
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE(step);
    for (int x : {10, 30})
      for (int y : {25, 26}) {
        EXPECT_EQ(GroupRes(w, x, y), CGrdCrossing::kResID) << x << "/" << y;
        EXPECT_EQ(w.GroundType(x, y), OBJ_RAIL_PIECE) << x << "/" << y;
      }
    // Every edit of the street network checks the crossings again.
    ASSERT_EQ(w.Build(2, 25 + 4 * step, 2, 29 + 4 * step), STR_BUILD_OK);
  }
  EXPECT_EQ(w.Crossings().size(), 2u);
}

TEST(RailNetwork, EachEditCrossesTheStreetsItTouchedWhereverItWasAndWhateverCameBetween) {
  RailWorld w;
  auto missed = [&] { return MissedCrossings(w.net.get(), w.rails.get()); };
  ASSERT_EQ(w.Track(2, 20, 44, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 8, 10, 14), STR_BUILD_OK);
  EXPECT_TRUE(w.Crossings().empty());
  // The street grows across the track: the joined street is new to it.
  ASSERT_EQ(w.Build(10, 14, 10, 30), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 1u);
  EXPECT_TRUE(missed().empty());
  ASSERT_EQ(w.Build(10, 30, 44, 30), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 1u);
  EXPECT_TRUE(missed().empty());
  // A street built while the rail network was away gets its crossing with
  // the next edit, wherever that is.
  w.net->SetRailNet(nullptr);
  ASSERT_EQ(w.Build(30, 8, 30, 30), STR_BUILD_OK);
  w.net->SetRailNet(w.rails.get());
  EXPECT_EQ(w.Crossings().size(), 1u);
  ASSERT_EQ(w.Build(44, 30, 44, 40), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 2u);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(30, 20));
  EXPECT_TRUE(missed().empty());
  // The street at x 30 goes, and its crossing with it; the track, rebuilt
  // two cells down and longer, crosses the street at x 10 and a new one.
  ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(30, 8, 30, 30)), 0);
  EXPECT_EQ(w.Crossings().size(), 1u);
  EXPECT_FALSE(w.rails->HasGrdCrossingAt(30, 20));
  ASSERT_EQ(w.rails->DeleteStreet(w.Tracks().at(0)), 0);
  ASSERT_EQ(w.Build(40, 8, 40, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(2, 22, 52, 22), STR_BUILD_OK);
  ASSERT_EQ(w.Build(44, 40, 50, 40), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 2u);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(40, 22));
  EXPECT_TRUE(missed().empty());
}

TEST(RailNetwork, ADeletedStreetTakesItsLevelCrossingAndADeletedTrackGivesTheStreetBack) {
  RailWorld w;
  ASSERT_EQ(w.Build(5, 10, 20, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(16, 10, 16, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(2, 20, 24, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Crossings().size(), 2u);
  ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(10, 10, 10, 30)), 0);
  ASSERT_EQ(w.Crossings().size(), 1u);
  EXPECT_FALSE(w.rails->HasGrdCrossingAt(10, 20));
  EXPECT_EQ(GroupRes(w, 10, 20), CStrSchienen::kStraightResID);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(16, 20));
  // The track goes: the street under its crossing is drawn again.
  CStrSchienen* track = w.Tracks().at(0);
  ASSERT_EQ(w.rails->DeleteStreet(track), 0);
  EXPECT_EQ(w.rails->GetNumber(), 0u);
  for (int y = 18; y <= 23; ++y) EXPECT_EQ(w.GroundType(16, y), OBJ_STREET_PIECE) << y;
  EXPECT_NE(w.GroundType(14, 20), OBJ_RAIL_PIECE);
  EXPECT_NE(w.GroundType(2, 20), OBJ_RAIL_JUNCTION);
}

TEST(RailNetwork, TracksJoinInCurvesAndTJunctionsButNeverCrossEachOther) {
  RailWorld w;
  ASSERT_EQ(w.Track(20, 40, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  // The two drags are one track with a bend: the curve group at the bend.
  ASSERT_EQ(w.Tracks().size(), 1u);
  EXPECT_EQ(w.rails->GetNumber(), 2u);
  CStrSchienen* track = w.Tracks()[0];
  ASSERT_EQ(track->GetNumber(), 2u);
  EXPECT_EQ(GroupRes(w, 20, 20), CStrSchienen::kCurveResID);
  EXPECT_TRUE(track->PointIsBend(20, 20));
  EXPECT_TRUE(track->PointIsBend(22, 22));
  EXPECT_FALSE(track->PointIsBend(30, 20));
  // A branch to the north makes a T junction of three tracks.
  ASSERT_EQ(w.Track(32, 20, 32, 5), STR_BUILD_OK);
  CStrSchJunction* t = w.RailAt(32, 20);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetAnzLinkedStreets(), 3);
  int id = 0;
  CIsoRichtung dir;
  ASSERT_EQ(t->GetKreuzungsIDStrasseD(&id, &dir), 0);
  EXPECT_EQ(id, CStrSchJunction::kTResID);
  EXPECT_EQ(dir.GetValue(), 2);  // -x, +x and -y
  short ox = 0, oy = 0;
  t->GroupOrigin(2, &ox, &oy);
  EXPECT_EQ(std::make_pair(ox, oy), std::make_pair(short{31}, short{19}));
  EXPECT_EQ(GroupRes(w, 32, 20), CStrSchJunction::kTResID);
  EXPECT_EQ(w.Tracks().size(), 3u);
  // A track across another would need a rail crossing, which has no graphic:
  // refused, and the network is as it was.
  const uint32_t junctions = w.rails->GetNumber();
  EXPECT_EQ(w.Track(40, 10, 40, 30), STR_BUILD_NO_ROOM);
  EXPECT_EQ(w.rails->CheckDrag(40, 10, 40, 30, STRASSE_SCHIENE), STR_BUILD_NO_GRAPHIC);
  EXPECT_EQ(w.rails->GetNumber(), junctions);
  EXPECT_EQ(w.Tracks().size(), 3u);
  EXPECT_EQ(GroupRes(w, 40, 20), CStrSchienen::kStraightResID);
}

TEST(RailNetwork, RailJunctionIdsStartAboveTheIdOfNoJunctionAndTrackIdsCountInPairs) {
  RailWorld w;
  ASSERT_EQ(w.Track(2, 20, 20, 20), STR_BUILD_OK);
  std::set<unsigned short> ids;
  for (CZorvaObject* o = w.rails->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrSchJunction*>(o);
    EXPECT_NE(j->GetSimID(), 0);
    EXPECT_TRUE(ids.insert(j->GetSimID()).second);
    EXPECT_EQ(w.rails->GetJunctionByID(j->GetSimID()), j);
    EXPECT_EQ(j->GetLocationList(), nullptr);
  }
  CStrSchienen* track = w.Tracks().at(0);
  EXPECT_EQ(track->GetSimIDSecond(), track->GetSimID() + 1);
  EXPECT_EQ(CStrSchienen::m_SchienenID, static_cast<uint16_t>(track->GetSimIDSecond()));
  EXPECT_EQ(track->GetVelocity(), 0.0);
  EXPECT_EQ(track->GetWorldObj()->GetType(), OBJ_RAIL_PIECE);
}

TEST(RailNetwork, TrainStopsStandOnStraightTrackOnly) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
  ASSERT_EQ(w.rails->SetTrainStopAt(20, 20), 0);
  EXPECT_EQ(GroupRes(w, 20, 20, ISO_LAYER_UPPER), CStrSchJuncList::kTrainStopResID);
  EXPECT_EQ(GroupRes(w, 22, 21, ISO_LAYER_UPPER), CStrSchJuncList::kTrainStopResID);
  EXPECT_EQ(w.map->GetTypeAt(21, 20, ISO_LAYER_UPPER), OBJ_STREETSIDE);
  // Not on a level crossing, a street, bare ground or off the map.
  EXPECT_EQ(w.rails->SetTrainStopAt(10, 20), 1);
  EXPECT_EQ(w.rails->SetTrainStopAt(10, 14), 1);
  EXPECT_EQ(w.rails->SetTrainStopAt(40, 40), 1);
  EXPECT_EQ(w.rails->SetTrainStopAt(-1, 300), 1);
}

TEST(RailNetwork, CheckingAStreetWithoutItsJunctionsOrItselfChangesNothing) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(2, 20, 20, 20), STR_BUILD_OK);
  CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
  CStrJunction* j = street->GetStartJunction();
  int flag = 7;
  EXPECT_EQ(w.rails->CheckForTrainCrossing(nullptr, j, street, &flag), 0);
  EXPECT_EQ(w.rails->CheckForTrainCrossing(j, nullptr, street, &flag), 0);
  EXPECT_EQ(w.rails->CheckForTrainCrossing(j, j, nullptr, &flag), 0);
  EXPECT_EQ(flag, 7);
  EXPECT_EQ(w.Crossings().size(), 1u);
  // Checked again, the street keeps its one crossing.
  EXPECT_EQ(w.rails->CheckForTrainCrossing(j, j, street, &flag), 0);
  EXPECT_EQ(w.Crossings().size(), 1u);
}

// ---- the savegame record

// One rail junction in the list record: name length, "CStrSchJunction" and
// its NUL, the key, type, id, x, y, track count, the crossing object.
constexpr size_t kListHead = 5;
constexpr size_t kEntry = 1 + 16 + 4 + 4 + 2 + 2 + 2 + 1 + CKreuzObj::kRecordSize;
constexpr size_t kType = 21, kId = 25, kX = 27, kCount = 31;

struct RailRecord : ::testing::Test {
  static void BuildRailTown(RailWorld& w) {
    ASSERT_EQ(w.Build(5, 35, 35, 35), STR_BUILD_OK);
    for (int x = 10; x <= 30; x += 10) ASSERT_EQ(w.Build(x, 35, x, 5), STR_BUILD_OK);
    ASSERT_EQ(w.Track(2, 40, 2, 20), STR_BUILD_OK);
    ASSERT_EQ(w.Track(2, 20, 40, 20), STR_BUILD_OK);
    ASSERT_EQ(w.Track(25, 20, 25, 4), STR_BUILD_OK);
  }
  void SetUp() override {
    g_ZorLoadVersion = 240;
    RailWorld w;
    BuildRailTown(w);
    junctions = w.rails->GetNumber();
    crossings = w.Crossings().size();
    RecordFile s, r;
    ASSERT_EQ(w.net->SerializeGameStore(s.f()), 0);
    ASSERT_EQ(w.rails->SerializeGameStore(r.f()), 0);
    streetBytes = s.Bytes();
    bytes = r.Bytes();
  }
  void TearDown() override { g_ZorLoadVersion = 0; }
  int Load(RailWorld& w, const ByteList& b) {
    RecordFile s(streetBytes), r(b);
    EXPECT_EQ(w.net->SerializeGameLoad(s.f()), 0);
    return w.rails->SerializeGameLoad(r.f());
  }
  void ExpectRefused(const ByteList& b) {
    RailWorld w;
    EXPECT_EQ(Load(w, b), 1);
    EXPECT_EQ(w.rails->GetNumber(), 0u);
    EXPECT_NE(w.GroundType(2, 20), OBJ_RAIL_PIECE);
    EXPECT_NE(w.GroundType(2, 40), OBJ_RAIL_JUNCTION);
    // The streets lie bare, and the game goes on building tracks.
    EXPECT_EQ(w.GroundType(10, 20), OBJ_STREET_PIECE);
    EXPECT_EQ(w.Track(50, 50, 60, 50), STR_BUILD_OK);
  }

  uint32_t junctions = 0;
  size_t crossings = 0;
  ByteList streetBytes, bytes;
};

TEST_F(RailRecord, ARailNetworkReadBackIsTheNetworkWrittenAndIdsGoOnAboveIt) {
  ASSERT_EQ(junctions, 4u);
  ASSERT_EQ(crossings, 3u);
  ASSERT_GT(bytes.size(), kListHead + junctions * kEntry);
  EXPECT_EQ(bytes[kListHead], 15);
  EXPECT_EQ(std::memcmp(&bytes[kListHead + 1], "CStrSchJunction", 16), 0);
  EXPECT_EQ(bytes[kListHead + kType], 9);
  RailWorld w;
  ASSERT_EQ(Load(w, bytes), 0);
  EXPECT_EQ(w.rails->GetNumber(), junctions);
  EXPECT_EQ(w.Crossings().size(), crossings);
  EXPECT_EQ(GroupRes(w, 10, 20), CGrdCrossing::kResID);
  EXPECT_EQ(GroupRes(w, 2, 20), CStrSchienen::kCurveResID);
  EXPECT_EQ(GroupRes(w, 25, 20), CStrSchJunction::kTResID);
  RecordFile again;
  ASSERT_EQ(w.rails->SerializeGameStore(again.f()), 0);
  EXPECT_EQ(again.Bytes(), bytes);
  // The counters continue above every stored id.
  unsigned short highest = 0;
  short highestTrack = 0;
  for (CZorvaObject* o = w.rails->GetHead(); o; o = o->GetNext())
    highest = std::max(highest, static_cast<CStrSchJunction*>(o)->GetSimID());
  for (CStrSchienen* t : w.Tracks()) highestTrack = std::max({highestTrack, t->GetSimID(), t->GetSimIDSecond()});
  EXPECT_GT(CStrSchJunction::m_SchJuncID, highest);
  EXPECT_GT(CStrSchienen::m_SchienenID, highestTrack);
  // A track built on from an end gets a new end junction above them.
  ASSERT_EQ(w.Track(40, 20, 50, 20), STR_BUILD_OK);
  EXPECT_EQ(w.rails->GetNumber(), junctions);
  CStrSchJunction* end = w.RailAt(50, 20);
  ASSERT_NE(end, nullptr);
  EXPECT_GT(end->GetSimID(), highest);
}

TEST_F(RailRecord, CutShortOrImpossibleRecordsAreRefusedWhole) {
  for (size_t n : {size_t{0}, size_t{4}, kListHead + 10, kListHead + kEntry + 3, kListHead + junctions * kEntry,
                   kListHead + junctions * kEntry + 40, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(n);
    ExpectRefused(ByteList(bytes.begin(), bytes.begin() + static_cast<long>(n)));
  }
  // The first junction with tracks of its own, and its first track's record.
  size_t at = kListHead + junctions * kEntry;
  while (at < bytes.size() && bytes[at] == 0) ++at;
  ASSERT_LT(at, bytes.size());
  constexpr size_t kTrackType = 16, kTrackEnd = 136;
  const std::vector<std::tuple<const char*, size_t, std::vector<uint8_t>>> faults = {
      {"a street type", kListHead + kType, {1}},
      {"a rail junction id of 0", kListHead + kId, {0, 0}},
      {"two rail junctions with one id", kListHead + kEntry + kId, {bytes[kListHead + kId], bytes[kListHead + kId + 1]}},
      {"a cell outside the map", kListHead + kX, {200, 0}},
      {"more tracks than the junction holds", kListHead + kCount, {static_cast<uint8_t>(bytes[kListHead + kCount] + 1)}},
      {"five tracks", kListHead + kCount, {5}},
      {"a track of a street type", at + 1 + kTrackType, {2}},
      {"a track to a missing junction", at + 1 + kTrackEnd, {0xE7, 0x03}},
  };
  for (const auto& [what, offset, patch] : faults) {
    SCOPED_TRACE(what);
    ByteList b = bytes;
    ASSERT_LE(offset + patch.size(), b.size());
    std::memcpy(b.data() + offset, patch.data(), patch.size());
    ExpectRefused(b);
  }
}

// The map's ground on the town's cells, plain ground with or without its
// object alike.
std::vector<int> TownCells(RailWorld& w) {
  std::vector<int> out;
  for (int x = 0; x < 45; ++x)
    for (int y = 0; y < 45; ++y)
      out.push_back(std::max(static_cast<int>(w.GroundType(x, y)), static_cast<int>(OBJ_GROUND)) * 100000 +
                    w.GroundRes(x, y));
  return out;
}

// A record cut inside a track's pieces is refused, and what the track had
// begun to read is taken off the map again without touching the streets'
// cells.
TEST_F(RailRecord, ARecordCutInsideATracksPiecesLeavesTheStreetsAsDrawn) {
  std::vector<int> streets;
  {
    RailWorld w;
    RecordFile s(streetBytes);
    ASSERT_EQ(w.net->SerializeGameLoad(s.f()), 0);
    streets = TownCells(w);
  }
  const std::string piece = std::string(1, '\x0e') + "CStrSchStrTeil" + '\0';
  const std::string text(bytes.begin(), bytes.end());
  int cuts = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    for (size_t into : {size_t{0}, size_t{6}, size_t{13}}) {
      // Past the name and the key, into the piece's own fields.
      const size_t n = at + piece.size() + 4 + into;
      if (n >= bytes.size()) continue;
      SCOPED_TRACE(n);
      ++cuts;
      RailWorld w;
      EXPECT_EQ(Load(w, ByteList(bytes.begin(), bytes.begin() + static_cast<long>(n))), 1);
      EXPECT_EQ(TownCells(w), streets);
    }
  EXPECT_GE(cuts, 6);
}

// A track's record holds track pieces: one naming a street's piece (which
// knows nothing of level crossings) in its list is refused with the rest.
TEST_F(RailRecord, ATrackHoldingAStreetsPieceIsRefusedWhole) {
  const std::string track = std::string(1, '\x0e') + "CStrSchStrTeil" + '\0';
  const std::string street = std::string(1, '\x10') + "CStrStrassenTeil" + '\0';
  const std::string text(bytes.begin(), bytes.end());
  const size_t at = text.find(track);
  ASSERT_NE(at, std::string::npos);
  ByteList b(bytes.begin(), bytes.begin() + static_cast<long>(at));
  b.insert(b.end(), street.begin(), street.end());
  b.insert(b.end(), bytes.begin() + static_cast<long>(at + track.size()), bytes.end());
  ExpectRefused(b);
  // The same record with the track's own piece type loads.
  RailWorld w;
  EXPECT_EQ(Load(w, bytes), 0);
}

}  // namespace

namespace {

// ---- what the rail and street drags refuse

TEST(RailDrags, TracksStayOffWaterJunctionsAndStreetsTheyWouldRunAlong) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 10, 30, 10), STR_BUILD_OK);
  auto* river = dynamic_cast<CRiverObject*>(w.host.CreateObject(OBJ_RIVER));
  ASSERT_NE(river, nullptr);
  river->Create(40, 20, CIsoRichtung(0), 38398);
  w.map->SetIsoTileAt(40, 20, ISO_LAYER_GROUND, CIsoRichtung(0), 38398, river);
  const uint32_t before = w.rails->GetNumber();
  struct Case {
    const char* what;
    int x1, y1, x2, y2, result;
  };
  for (const Case& c : {Case{"over a river", 35, 20, 45, 20, STR_BUILD_ON_WATER},
                        Case{"along a street", 10, 14, 10, 26, STR_BUILD_NO_ROOM},
                        Case{"over a street junction", 4, 10, 20, 10, STR_BUILD_NO_ROOM},
                        Case{"ending on a street", 2, 20, 10, 20, STR_BUILD_NO_ROOM},
                        Case{"crossing a street next to its end", 9, 25, 20, 25, STR_BUILD_NO_ROOM},
                        Case{"with its end group over a street", 2, 14, 9, 14, STR_BUILD_NO_ROOM}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(w.Track(c.x1, c.y1, c.x2, c.y2), c.result);
    EXPECT_EQ(w.rails->GetNumber(), before);
  }
  // Two streets closer than a crossing's length along the track.
  ASSERT_EQ(w.Build(13, 10, 13, 30), STR_BUILD_OK);
  EXPECT_EQ(w.Track(4, 22, 22, 22), STR_BUILD_NO_ROOM);
  ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(13, 10, 13, 30)), 0);
  EXPECT_EQ(w.Track(4, 22, 22, 22), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 1u);
}

TEST(RailDrags, StreetsCrossTracksOnlyWhereALevelCrossingFits) {
  RailWorld w;
  ASSERT_EQ(w.Track(20, 40, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(40, 20, 40, 8), STR_BUILD_OK);
  ASSERT_EQ(w.Build(30, 10, 30, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Crossings().size(), 1u);
  const size_t streets = w.Streets().size();
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
    TStrassenType type;
    int result;
  };
  for (const Case& c : {Case{"ending on the track", 34, 30, 34, 20, STRASSE_1, STR_BUILD_NO_ROOM},
                        Case{"over the curve", 26, 22, 14, 22, STRASSE_1, STR_BUILD_ALONG_STREET},
                        Case{"over a rail junction's group", 40, 30, 40, 10, STRASSE_1, STR_BUILD_NO_ROOM},
                        Case{"beside a rail junction", 38, 30, 38, 10, STRASSE_1, STR_BUILD_NO_ROOM},
                        Case{"next to the other crossing", 33, 30, 33, 10, STRASSE_2, STR_BUILD_NO_ROOM},
                        Case{"a four-lane end beside the track", 36, 30, 36, 22, STRASSE_VIERSPURIG, STR_BUILD_NO_ROOM}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2, c.type), c.result);
    EXPECT_EQ(w.Crossings().size(), 1u);
    EXPECT_EQ(w.Streets().size(), streets);
  }
  // Far enough from the first crossing and the junction, a second one.
  EXPECT_EQ(w.Build(30, 30, 46, 30, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(w.Build(46, 30, 46, 12, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 2u);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(46, 20));
}

// A level crossing takes plain street only: the cell next to a street's
// junction joins the junction's cells, and a crossing there left the dead
// end's cars leading nowhere.
TEST(RailDrags, TracksCrossStreetsOnlyClearOfTheirJunctionsAndBends) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
  };
  auto refused = [](RailWorld& w, const Case& c) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(w.Track(c.x1, c.y1, c.x2, c.y2), STR_BUILD_NO_ROOM);
    EXPECT_EQ(w.rails->GetNumber(), 0u);
    EXPECT_TRUE(w.Crossings().empty());
  };
  {
    RailWorld w;
    ASSERT_EQ(w.Build(49, 34, 21, 34, STRASSE_VIERSPURIG), STR_BUILD_OK);
    refused(w, {"its second column on the cell before a four-lane dead end", 47, 24, 47, 42});
    refused(w, {"on the cell before a four-lane dead end", 48, 24, 48, 42});
    // Further in, the crossing is laid.
    EXPECT_EQ(w.Track(44, 24, 44, 42), STR_BUILD_OK);
    EXPECT_TRUE(w.rails->HasGrdCrossingAt(44, 34));
    for (const std::string& f : MissedCrossings(w.net.get(), w.rails.get())) ADD_FAILURE() << f;
  }
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 30, 30, 30), STR_BUILD_OK);
  refused(w, {"on the cell before a dead end", 4, 11, 16, 11});
  refused(w, {"its second row on the cell before a bend", 4, 28, 16, 28});
  EXPECT_EQ(w.Track(4, 20, 16, 20), STR_BUILD_OK);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(10, 20));
  for (const std::string& f : MissedCrossings(w.net.get(), w.rails.get())) ADD_FAILURE() << f;
}

// The same from the street's side: a crossing needs two cells of plain
// track each side, or the track's dead end next to it keeps no cells of
// the track's own and the trains' cells lead nowhere.
TEST(RailDrags, StreetsCrossTracksTwoPlainCellsClearOfTheirEnds) {
  RailWorld w;
  ASSERT_EQ(w.Track(13, 40, 13, 31), STR_BUILD_OK);
  EXPECT_EQ(w.Build(10, 34, 40, 34), STR_BUILD_NO_ROOM);
  EXPECT_EQ(w.Build(10, 38, 40, 38), STR_BUILD_NO_ROOM);
  EXPECT_TRUE(w.Streets().empty());
  EXPECT_TRUE(w.Crossings().empty());
  EXPECT_EQ(w.Build(10, 35, 40, 35), STR_BUILD_OK);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(13, 35));
  for (const std::string& f : MissedCrossings(w.net.get(), w.rails.get())) ADD_FAILURE() << f;
}

// A crossing reaches a cell above its street along the track: the next
// cell above must still be plain track below the group of the track's
// higher end, whichever comes first and whichever way the track was drawn.
TEST(RailDrags, ACrossingKeepsAPlainCellBelowTheTracksEndAbove) {
  for (const bool ascending : {true, false}) {
    SCOPED_TRACE(ascending ? "dragged towards +x" : "dragged towards -x");
    const int from = ascending ? 11 : 21, to = ascending ? 21 : 11;
    {
      RailWorld w;
      ASSERT_EQ(w.Track(from, 20, to, 20), STR_BUILD_OK);
      EXPECT_EQ(w.Build(19, 14, 19, 26), STR_BUILD_NO_ROOM);
      EXPECT_EQ(w.Build(18, 14, 18, 26), STR_BUILD_OK);
      EXPECT_EQ(w.Crossings().size(), 1u);
      for (const std::string& f : MissedCrossings(w.net.get(), w.rails.get())) ADD_FAILURE() << f;
    }
    RailWorld w;
    ASSERT_EQ(w.Build(19, 14, 19, 26), STR_BUILD_OK);
    EXPECT_EQ(w.Track(from, 20, to, 20), STR_BUILD_NO_ROOM);
    EXPECT_EQ(w.rails->GetNumber(), 0u);
    EXPECT_EQ(w.Track(ascending ? 11 : 22, 20, ascending ? 22 : 11, 20), STR_BUILD_OK);
    EXPECT_EQ(w.Crossings().size(), 1u);
    for (const std::string& f : MissedCrossings(w.net.get(), w.rails.get())) ADD_FAILURE() << f;
  }
}

// A T junction's group takes the cell before it and two after it along the
// track: on a track it may not reach into a curve, whose cells it would
// cover and whose cells then led nowhere. The corner of the bend itself
// takes a junction, and so does plain track clear of the curve.
TEST(RailDrags, ATJunctionOnATrackStaysClearOfItsCurves) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2, result;
  };
  // The track is laid anew for each case, as one track of `pieces` pieces.
  auto tryEach = [](const std::vector<std::array<int, 4>>& track, int pieces, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      RailWorld w;
      for (const auto& [x1, y1, x2, y2] : track) ASSERT_EQ(w.Track(x1, y1, x2, y2), STR_BUILD_OK);
      ASSERT_EQ(w.Tracks().size(), 1u);
      ASSERT_NE(w.Tracks()[0]->GetStrassenTeil(pieces), nullptr);
      EXPECT_EQ(w.Track(c.x1, c.y1, c.x2, c.y2), c.result);
      EXPECT_EQ(w.Tracks().size(), c.result == STR_BUILD_OK ? 3u : 1u);
      EXPECT_EQ(w.rails->GetNumber(), c.result == STR_BUILD_OK ? 4u : 2u);
    }
  };
  // The curve of the bend at 43/18 covers 42/18 to 44/20.
  tryEach({{43, 18, 43, 25}, {43, 18, 33, 18}}, 2,
          {Case{"two cells before the curve", 40, 18, 40, 8, STR_BUILD_NO_ROOM},
           Case{"dragged onto the track there", 40, 8, 40, 18, STR_BUILD_NO_ROOM},
           Case{"the cell before the curve", 41, 18, 41, 8, STR_BUILD_NO_ROOM},
           Case{"on the curve", 42, 18, 42, 8, STR_BUILD_NO_ROOM},
           Case{"on the curve's far side", 43, 19, 53, 19, STR_BUILD_NO_ROOM},
           Case{"the cell after the curve", 43, 21, 53, 21, STR_BUILD_NO_ROOM},
           Case{"three cells before the curve", 39, 18, 39, 8, STR_BUILD_OK},
           // Cells before the bend along the track's own run, which the
           // preview marks as cells that take no junction.
           Case{"two cells after the curve", 43, 22, 53, 22, STR_BUILD_NO_ROOM},
           Case{"on the bend's corner", 43, 18, 43, 8, STR_BUILD_OK}});
  // A track of three pieces: either bend's corner takes a junction, and
  // the curve of the second bend keeps a junction as far off as the first.
  tryEach({{43, 18, 33, 18}, {43, 18, 43, 30}, {43, 30, 53, 30}}, 3,
          {Case{"on the first corner", 43, 18, 43, 8, STR_BUILD_OK},
           Case{"on the second corner", 43, 30, 33, 30, STR_BUILD_OK},
           Case{"three cells before the second curve", 43, 26, 33, 26, STR_BUILD_OK},
           Case{"two cells before the second curve", 43, 27, 33, 27, STR_BUILD_NO_ROOM}});
}

// A T junction's group keeps off a level crossing of the track it lands
// on, and a crossing below it keeps a cell of plain track between them, or
// the track's cells there and the junction's led nowhere. Along x and y.
TEST(RailDrags, ATJunctionOnATrackKeepsClearOfItsLevelCrossings) {
  for (const bool alongX : {true, false}) {
    SCOPED_TRACE(alongX ? "track along x" : "track along y");
    // The crossing of a street at s takes the track's cells s - 1 to s + 1;
    // the junction at 16 (33 across) takes 15 to 18.
    auto at = [alongX](int along, int across) { return alongX ? std::array{along, across} : std::array{across, along}; };
    for (const auto& [street, result] : {std::pair{12, STR_BUILD_OK}, std::pair{13, STR_BUILD_NO_ROOM},
                                         std::pair{14, STR_BUILD_NO_ROOM}, std::pair{19, STR_BUILD_NO_ROOM},
                                         std::pair{20, STR_BUILD_OK}}) {
      SCOPED_TRACE(testing::Message() << "street at " << street);
      RailWorld w;
      const auto [tx1, ty1] = at(5, 33);
      const auto [tx2, ty2] = at(26, 33);
      ASSERT_EQ(w.Track(tx1, ty1, tx2, ty2), STR_BUILD_OK);
      const auto [sx1, sy1] = at(street, 28);
      const auto [sx2, sy2] = at(street, 38);
      ASSERT_EQ(w.Build(sx1, sy1, sx2, sy2), STR_BUILD_OK);
      ASSERT_EQ(w.Crossings().size(), 1u);
      const auto [jx, jy] = at(16, 33);
      const auto [bx, by] = at(16, 15);
      EXPECT_EQ(w.Track(jx, jy, bx, by), result);
      EXPECT_EQ(w.Tracks().size(), result == STR_BUILD_OK ? 3u : 1u);
      EXPECT_EQ(w.Crossings().size(), 1u);
    }
  }
}

}  // namespace
