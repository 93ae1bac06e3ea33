// The street preview on small maps built through the real street and rail
// networks: the drag's straightening and strips, where a street may start,
// end and cross, the level crossings, the warnings, and that what it shows
// as buildable the network builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "iso/iso_river.h"
#include "network/rail_scene.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "ui/str_preview.h"
#include "worldbase/zor_world_host.h"

namespace {

using railtest::RailWorld;

// Records the warnings the preview shows.
class WarningHost : public CWorldHost {
 public:
  WarningHost() { CWorldHost::Install(this); }
  ~WarningHost() override { CWorldHost::Install(nullptr); }
  void SetAchtungWindow(int warning) override { shown.push_back(warning); }
  std::vector<int> shown;
};

struct PreviewWorld : RailWorld {
  // The ground the game lays: plain ground objects in every cell.
  PreviewWorld() : preview(map, net.get(), rails.get()) {
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y) map->SetStdBase(x, y, ISO_LAYER_GROUND, false);
  }
  // The player's drag: a press, a move over every cell up to the end, and
  // the release; true when the preview lets it be built.
  bool Drag(int x1, int y1, int x2, int y2, TStrassenType type = STRASSE_1) {
    shownLegal = false;
    if (!preview.SetStartPoint(static_cast<short>(x1), static_cast<short>(y1), type)) return false;
    const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int k = 1; k <= n; ++k)
      preview.SetEndPoint(static_cast<short>(x1 + (x2 - x1) * k / n), static_cast<short>(y1 + (y2 - y1) * k / n),
                          type);
    shownLegal = preview.IsValid();
    return preview.SetFinalEndPos(static_cast<short>(x2), static_cast<short>(y2), type);
  }
  // Drags and, when the preview allows it, builds through the network.
  int DragAndBuild(int x1, int y1, int x2, int y2, TStrassenType type = STRASSE_1) {
    if (!Drag(x1, y1, x2, y2, type)) return -1;
    return type == STRASSE_SCHIENE ? rails->CreateStreet(&preview, type) : net->CreateStreet(&preview, type);
  }
  WarningHost warnings;
  CStrPreviewRect preview;
  // The look of the preview at the last move before the release.
  bool shownLegal = false;
};

TEST(StreetPreviewGeometry, TheDragIsStraightenedToTheDominantAxisWithTiesToTheColumn) {
  PreviewWorld w;
  ASSERT_TRUE(w.preview.SetStartPoint(20, 20, STRASSE_1));
  w.preview.SetEndPoint(25, 25, STRASSE_1);
  EXPECT_EQ(w.preview.GetEndX(), 20);
  EXPECT_EQ(w.preview.GetEndY(), 25);
  w.preview.SetEndPoint(27, 22, STRASSE_1);
  EXPECT_EQ(w.preview.GetEndX(), 27);
  EXPECT_EQ(w.preview.GetEndY(), 20);
  EXPECT_EQ(w.preview.GetDirX(), 1);
  EXPECT_EQ(w.preview.GetDirY(), 0);
  w.preview.SetEndPoint(14, 21, STRASSE_1);
  EXPECT_EQ(w.preview.GetEndX(), 14);
  EXPECT_EQ(w.preview.GetDirX(), -1);
  EXPECT_EQ(w.preview.GetSelectionLength(), 6);
}

TEST(StreetPreviewGeometry, TheSecondStripLiesAcrossTheDragAndGoesWhenTheMouseComesBack) {
  PreviewWorld w;
  ASSERT_TRUE(w.preview.SetStartPoint(30, 30, STRASSE_VIERSPURIG));
  EXPECT_FALSE(w.preview.SecondStripSet());
  w.preview.SetEndPoint(36, 30, STRASSE_VIERSPURIG);
  EXPECT_EQ(w.preview.GetSecDx(), 0);
  EXPECT_EQ(w.preview.GetSecDy(), 1);
  EXPECT_TRUE(w.preview.IsValid()) << "the first street of an empty network, six cells long";
  w.preview.SetEndPoint(30, 35, STRASSE_VIERSPURIG);
  EXPECT_EQ(w.preview.GetSecDx(), 1);
  EXPECT_EQ(w.preview.GetSecDy(), 0);
  w.preview.SetEndPoint(30, 30, STRASSE_VIERSPURIG);
  EXPECT_FALSE(w.preview.SecondStripSet());
  EXPECT_EQ(w.preview.GetDirX(), 0);
  EXPECT_EQ(w.preview.GetDirY(), 0);
  EXPECT_FALSE(w.preview.IsValid()) << "one cell is shorter than any street";
}

TEST(StreetPreviewGeometry, AFreeStandingStreetIsAllowedOnlyAsTheFirst) {
  PreviewWorld w;
  EXPECT_FALSE(w.Drag(10, 10, 10, 12)) << "a first street spans at least 3 cells";
  EXPECT_TRUE(w.warnings.shown.empty()) << "too short is refused quietly";
  ASSERT_EQ(w.DragAndBuild(10, 10, 10, 13), STR_BUILD_OK);
  EXPECT_EQ(w.Junctions(), 2);
  EXPECT_FALSE(w.Drag(40, 40, 40, 50));
  EXPECT_FALSE(w.preview.IsEndValid());
  EXPECT_EQ(w.Junctions(), 2);
}

TEST(StreetPreviewGeometry, SelectionLengthAndFinalEndOfARefusedPreview) {
  PreviewWorld w;
  ASSERT_TRUE(w.preview.SetStartPoint(10, 10, STRASSE_1));
  w.preview.SetEndPoint(10, 14, STRASSE_1);
  EXPECT_EQ(w.preview.GetSelectionLength(), 4);
  ASSERT_EQ(w.Build(50, 10, 50, 20), STR_BUILD_OK);
  // Over a building-free but separate spot: empty to empty is no longer allowed.
  ASSERT_TRUE(w.preview.SetStartPoint(10, 10, STRASSE_1));
  w.preview.SetEndPoint(10, 14, STRASSE_1);
  EXPECT_FALSE(w.preview.SetFinalEndPos(10, 16, STRASSE_1));
  EXPECT_EQ(w.preview.GetEndY(), 16) << "the move was taken";
  EXPECT_FALSE(w.preview.IsValid());
}

TEST(StreetPreviewRules, AStreetFromOpenGroundEndsAtTheFirstStreetItMeets) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  EXPECT_TRUE(w.Drag(14, 20, 20, 20));
  EXPECT_FALSE(w.Drag(14, 20, 26, 20)) << "on over open ground after the street";
  EXPECT_EQ(w.DragAndBuild(14, 20, 20, 20), STR_BUILD_OK);
  EXPECT_NE(w.At(20, 20), nullptr) << "a T junction";
  junctiontest::ExpectConsistent(w);
}

TEST(StreetPreviewRules, EndsBesideAJunctionOrABendAreRefusedWithTheirWarnings) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(14, 11, 20, 11));
  EXPECT_EQ(w.preview.GetLastMessage(), 8) << "next to the street's junction";
  ASSERT_EQ(w.Build(20, 30, 30, 30), STR_BUILD_OK);
  ASSERT_EQ(w.At(20, 30), nullptr) << "the two streets join in a bend";
  EXPECT_FALSE(w.Drag(14, 29, 20, 29));
  EXPECT_EQ(w.preview.GetLastMessage(), 9) << "next to the bend";
  EXPECT_TRUE(w.Drag(14, 27, 20, 27)) << "two cells away from the bend";
  EXPECT_EQ(CStrPreviewRect::GetMessageText(9, STRASSE_SCHIENE), 42);
  EXPECT_EQ(CStrPreviewRect::GetMessageText(8, STRASSE_2), 8);
  EXPECT_EQ(CStrPreviewRect::GetMessageText(10, STRASSE_SCHIENE), 10);
}

TEST(StreetPreviewRules, ASingleStreetMayNotJoinTheDeadEndOfAFourLaneStreet) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 20, 30, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ASSERT_NE(w.At(30, 20), nullptr);
  EXPECT_FALSE(w.Drag(30, 20, 30, 28, STRASSE_1));
  EXPECT_EQ(w.preview.GetLastMessage(), 10);
  EXPECT_EQ(w.Junctions(), 2);
}

TEST(StreetPreviewRules, JoiningTwoEndsAlreadyConnectedClosesACycle) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 10, 20, 10), STR_BUILD_OK);
  // (20, 10) and (20, 20) are the ends of one way round.
  EXPECT_FALSE(w.Drag(20, 10, 20, 20));
  EXPECT_EQ(w.preview.GetLastMessage(), 28);
  EXPECT_EQ(CStrPreviewRect::GetMessageText(28, STRASSE_SCHIENE), 39) << "the rail network's own text";
}

TEST(StreetPreviewRules, AStopInTheWayIsShownForStreetsAndTracks) {
  PreviewWorld w;
  CWorldObj stop;
  stop.Create();
  stop.SetType(OBJ_BUSSTOP_SIGN);
  w.map->SetIsoTileAt(15, 40, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kFlower, &stop);
  EXPECT_FALSE(w.Drag(10, 40, 20, 40));
  EXPECT_EQ(w.preview.GetLastMessage(), 18);
  EXPECT_FALSE(w.Drag(10, 39, 20, 39, STRASSE_SCHIENE)) << "the track's second strip runs over the stop";
  EXPECT_EQ(w.preview.GetLastMessage(), 40);
  w.map->SetStdBase(15, 40, ISO_LAYER_UPPER, false);
}

// Drags of every street type in all directions over a growing network:
// whatever the preview shows as buildable the network builds, and what it
// refuses is never handed on.
TEST(StreetPreviewRules, WhatThePreviewShowsAsBuildableTheNetworkBuilds) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 40), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 30, 20, 30), STR_BUILD_OK);
  // A type the network does not build is never shown as buildable.
  ASSERT_TRUE(w.Drag(14, 20, 20, 20, STRASSE_1));
  EXPECT_FALSE(w.Drag(14, 20, 20, 20, static_cast<TStrassenType>(5)));
  EXPECT_EQ(w.preview.NetworkRefusal(), STR_BUILD_BAD_REQUEST);
  std::mt19937 random(3);
  const TStrassenType types[] = {STRASSE_1, STRASSE_2, STRASSE_VIERSPURIG, STRASSE_SCHIENE};
  int shown = 0, refusedByNetwork = 0;
  for (int i = 0; i < 4000; ++i) {
    int x1 = 5 + static_cast<int>(random() % 40), y1 = 5 + static_cast<int>(random() % 40);
    // Most drags start on the network, where the rules have most to say.
    if (random() % 4 != 0) {
      std::vector<std::pair<int, int>> cells;
      for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 60; ++y)
          if (CStrPreviewRect::ObjectIsStreet(w.GroundType(x, y)) || CStrPreviewRect::IsObjectKreuzung(w.GroundType(x, y)))
            cells.emplace_back(x, y);
      std::tie(x1, y1) = cells[random() % cells.size()];
    }
    const int len = 2 + static_cast<int>(random() % 12);
    const int dir = static_cast<int>(random() % 4);
    const int x2 = x1 + (dir == 0 ? len : dir == 2 ? -len : 0), y2 = y1 + (dir == 1 ? len : dir == 3 ? -len : 0);
    const TStrassenType type = types[random() % 4];
    if (!w.Drag(x1, y1, x2, y2, type)) {
      EXPECT_FALSE(w.shownLegal) << x1 << "/" << y1 << " -> " << x2 << "/" << y2 << " type " << type
                                 << " looked buildable but is refused at the release";
      refusedByNetwork += w.preview.NetworkRefusal() != 0;
      // A level crossing refused as too close to a junction has a junction
      // or a bend of the network beside it, not merely the drag's own end.
      if (w.preview.GetQuietReason() == CStrPreviewRect::kMsgGrdJunctionClose) {
        const CGrdSelection& r = w.preview.GetGrdSelection();
        bool near = false;
        for (int x = std::min(r.x0, r.x1) - 2; x <= std::max(r.x0, r.x1) + 2; ++x)
          for (int y = std::min(r.y0, r.y1) - 2; y <= std::max(r.y0, r.y1) + 2; ++y) {
            const int t = w.GroundType(x, y);
            near = near || CStrPreviewRect::IsObjectKreuzung(t);
            for (CStrJunctionList* net : {static_cast<CStrJunctionList*>(w.rails.get()), w.net.get()})
              for (CZorvaObject* o = net->GetHead(); o && !near; o = o->GetNext())
                for (int k = 0; k < static_cast<CStrJunction*>(o)->GetAnzLinkedStreets(); ++k)
                  near = near || static_cast<CStrJunction*>(o)->GetStreetByNR(k)->PointIsBend(
                                     static_cast<short>(x), static_cast<short>(y));
          }
        EXPECT_TRUE(near) << x1 << "/" << y1 << " -> " << x2 << "/" << y2 << " type " << type
                          << " refused for a junction that is not there";
      }
      continue;
    }
    EXPECT_TRUE(w.shownLegal);
    ++shown;
    const int built = type == STRASSE_SCHIENE ? w.rails->CreateStreet(&w.preview, type) : w.net->CreateStreet(&w.preview, type);
    EXPECT_EQ(built, STR_BUILD_OK) << x1 << "/" << y1 << " -> " << x2 << "/" << y2 << " type " << type;
  }
  EXPECT_GT(shown, 20);
  EXPECT_GT(refusedByNetwork, 0) << "the network's own checks refused some drags the rules let pass";
  junctiontest::ExpectConsistent(w);
}

TEST(StreetPreviewRules, AFullJunctionTakesNoFurtherArmForStreetsOrTracks) {
  PreviewWorld w;
  // A crossing of four streets at 20/20.
  ASSERT_EQ(w.Build(10, 20, 30, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 10, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 30), STR_BUILD_OK);
  ASSERT_NE(w.At(20, 20), nullptr);
  ASSERT_EQ(w.At(20, 20)->GetAnzLinkedStreets(), 4);
  EXPECT_FALSE(w.preview.SetStartPoint(20, 20, STRASSE_1));
  EXPECT_EQ(w.preview.GetLastMessage(), 11);
  // A rail junction of three tracks at 72/60, as the rail tool branches one.
  ASSERT_EQ(w.Track(60, 60, 90, 60), STR_BUILD_OK);
  ASSERT_EQ(w.Track(72, 60, 72, 45), STR_BUILD_OK);
  ASSERT_NE(w.RailAt(72, 60), nullptr);
  ASSERT_EQ(w.RailAt(72, 60)->GetAnzLinkedStreets(), 3);
  EXPECT_FALSE(w.preview.SetStartPoint(72, 60, STRASSE_SCHIENE));
  EXPECT_EQ(w.preview.GetLastMessage(), 12) << "the tracks' text for a junction without room";
}

TEST(StreetPreviewRules, BothDragDirectionsAreJudgedAlike) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 40), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 10, 40, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Build(40, 10, 40, 40), STR_BUILD_OK);
  // Street to street, over open ground, either way.
  EXPECT_TRUE(w.Drag(20, 25, 40, 25));
  EXPECT_TRUE(w.Drag(40, 25, 20, 25));
  // Beside a junction, either way.
  // Beside the bends at the corners, either way.
  EXPECT_FALSE(w.Drag(20, 11, 40, 11));
  EXPECT_EQ(w.preview.GetLastMessage(), 9);
  EXPECT_FALSE(w.Drag(40, 11, 20, 11));
  EXPECT_EQ(w.preview.GetLastMessage(), 9);
}

// ---- level crossings ----

// Streets along y = 10 and x = 40, and a track along x = 30 (its second
// strip on x = 31) from y = 15 to 45.
void StreetsBesideATrack(PreviewWorld& w) {
  ASSERT_EQ(w.Build(20, 10, 40, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Build(40, 10, 40, 40), STR_BUILD_OK);
  ASSERT_EQ(w.Track(30, 15, 30, 45), STR_BUILD_OK);
}

TEST(StreetPreviewCrossings, AStreetAcrossATrackMarksItsCrossingRectangle) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  EXPECT_TRUE(w.Drag(24, 25, 40, 25));
  ASSERT_TRUE(w.preview.IsGrdCrossing());
  const CGrdSelection& r = w.preview.GetGrdSelection();
  EXPECT_EQ(r.x0, 30);
  EXPECT_EQ(r.y0, 24);
  EXPECT_EQ(r.x1, 31);
  EXPECT_EQ(r.y1, 26);
  EXPECT_EQ(w.net->CreateStreet(&w.preview, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(w.Crossings().size(), 1u);
  EXPECT_TRUE(w.rails->HasGrdCrossingAt(30, 25));
  junctiontest::ExpectConsistent(w);
}

TEST(StreetPreviewCrossings, ACrossingTooCloseToTheStartIsRefused) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  for (int start : {28, 29}) {
    EXPECT_FALSE(w.Drag(start, 25, 40, 25)) << "crossing " << 30 - start << " cells after the start";
    EXPECT_FALSE(w.preview.IsGrdConnect());
  }
  EXPECT_TRUE(w.Drag(27, 25, 40, 25)) << "three cells after the start";
  EXPECT_TRUE(w.preview.IsGrdConnect());
  // The far side must lie two cells before the end.
  ASSERT_EQ(w.Build(33, 10, 33, 20), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(24, 18, 33, 18)) << "the crossing ends one cell before the street";
}

TEST(StreetPreviewCrossings, ATrackOverATrackMarksNoCrossing) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  w.Drag(22, 25, 38, 25, STRASSE_SCHIENE);
  EXPECT_FALSE(w.preview.IsGrdCrossing());
  EXPECT_FALSE(w.preview.IsValid());
}

TEST(StreetPreviewCrossings, AFourLaneStreetMarksACrossingOnlyWhereItMeetsBothStripsOfATrack) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  // Along x the four-lane street meets the track's two strips one after the other.
  w.Drag(22, 25, 40, 25, STRASSE_VIERSPURIG);
  EXPECT_TRUE(w.preview.IsGrdCrossing());
  EXPECT_EQ(w.preview.GetGrdBuildType(), 1) << "the street of the crossing is double-width";
  // Along y beside the track it meets only one strip's cells: no crossing.
  w.Drag(31, 5, 31, 20, STRASSE_VIERSPURIG);
  EXPECT_FALSE(w.preview.IsGrdCrossing());
}

TEST(StreetPreviewCrossings, AStreetAcrossATrackAtItsBendDoesNotFit) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  ASSERT_EQ(w.Track(30, 45, 20, 45), STR_BUILD_OK);
  // The track bends at 30/45: a crossing at 44..46 has no plain track around it.
  EXPECT_FALSE(w.Drag(24, 44, 40, 44));
  EXPECT_FALSE(w.preview.IsValid());
}

// A track crossing a street checks the street's cells across the whole
// rectangle and on both sides of it, whichever way the rectangle runs.
TEST(StreetPreviewCrossings, ATrackCrossingAStreetIsCheckedTheSameInBothDirections) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(30, 10, 30, 40), STR_BUILD_OK);
  for (auto [from, to] : {std::pair{20, 40}, std::pair{40, 20}}) {
    EXPECT_TRUE(w.Drag(from, 25, to, 25, STRASSE_SCHIENE)) << from << " -> " << to;
    ASSERT_TRUE(w.preview.IsGrdCrossing());
    EXPECT_TRUE(w.preview.IsGrdConnect());
    EXPECT_TRUE(w.preview.GrdConnectToStreet());
    // The same rectangle read the other way round gives the same answer.
    CGrdSelection r = w.preview.GetGrdSelection();
    std::swap(r.y0, r.y1);
    w.preview.SetGrdSelection(r);
    EXPECT_TRUE(w.preview.GrdConnectToStreet()) << "second strip before the first";
    std::swap(r.x0, r.x1);
    w.preview.SetGrdSelection(r);
    EXPECT_TRUE(w.preview.GrdConnectToStreet());
  }
  // Beside a bend of the street the crossing does not fit, either way.
  ASSERT_EQ(w.Build(30, 40, 36, 40), STR_BUILD_OK);
  for (auto [from, to] : {std::pair{20, 38}, std::pair{40, 38}}) {
    w.Drag(from, 38, to, 38, STRASSE_SCHIENE);
    CGrdSelection r{29, 38, 31, 39};
    for (int flip = 0; flip < 2; ++flip) {
      w.preview.SetGrdSelection(r);
      EXPECT_FALSE(w.preview.GrdConnectToStreet()) << "the street bends at 30/40, beside the rectangle";
      std::swap(r.y0, r.y1);
    }
  }
}

// A track out of a bend's corner makes a T junction whose group would
// reach the next curve three cells on: the preview shows it red, as the
// network refuses it; five cells on it is shown buildable and built.
TEST(StreetPreviewCrossings, ATrackOutOfACornerNearTheNextCurveIsShownRefused) {
  for (int leg : {3, 5}) {
    SCOPED_TRACE(leg);
    PreviewWorld w;
    ASSERT_EQ(w.Track(15, 37, 10, 37), STR_BUILD_OK);
    ASSERT_EQ(w.Track(10, 37, 10, 37 - leg), STR_BUILD_OK);
    ASSERT_EQ(w.Track(10, 37 - leg, 27, 37 - leg), STR_BUILD_OK);
    const int built = w.DragAndBuild(10, 37 - leg, 10, 20 - leg, STRASSE_SCHIENE);
    EXPECT_EQ(w.shownLegal, leg == 5);
    EXPECT_EQ(built, leg == 5 ? STR_BUILD_OK : -1);
    EXPECT_EQ(w.preview.NetworkRefusal(), leg == 5 ? 0 : STR_BUILD_NO_ROOM);
  }
}

}  // namespace

namespace {

// A river cell as the map's loader lays one.
void River(PreviewWorld& w, int x, int y) {
  auto* r = static_cast<CRiverObject*>(w.host.CreateObject(OBJ_RIVER));
  r->Place(static_cast<uint16_t>(x), static_cast<uint16_t>(y), CIsoRichtung(0), isotest::kFlower);
  w.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), isotest::kFlower, r);
}

// The street 20/10-20/30 with a river of `width` cells along x = 24...
void StreetBesideARiver(PreviewWorld& w, int width) {
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  for (int x = 24; x < 24 + width; ++x)
    for (int y = 5; y < 35; ++y) River(w, x, y);
}

}  // namespace

TEST(StreetPreviewBridges, AStreetCrossesARiverOfOneToThreeCellsOnOneBridge) {
  for (int width : {1, 2, 3}) {
    SCOPED_TRACE(width);
    PreviewWorld w;
    StreetBesideARiver(w, width);
    for (TStrassenType type : {STRASSE_1, STRASSE_2, STRASSE_VIERSPURIG}) {
      const int y = type == STRASSE_1 ? 14 : type == STRASSE_2 ? 19 : 24;
      ASSERT_EQ(w.DragAndBuild(32, y, 20, y, type), STR_BUILD_OK) << "type " << type;
      CStrStrasse* s = nullptr;
      CStrStrassenTeil* piece = nullptr;
      ASSERT_TRUE(w.net->PointHitStreet(24, static_cast<short>(y), &s, &piece));
      EXPECT_TRUE(piece->HitRiver());
    }
    EXPECT_TRUE(w.warnings.shown.empty());
  }
}

TEST(StreetPreviewBridges, ABridgeLandsOnOpenGroundBeforeItMeetsAStreet) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  for (int y = 5; y < 35; ++y)
    for (int x : {21, 22}) River(w, x, y);
  EXPECT_FALSE(w.Drag(28, 20, 20, 20)) << "from the river straight onto the street";
  EXPECT_FALSE(w.preview.IsValid());
}

TEST(StreetPreviewReasons, AQuietRefusalKeepsTheWarningThatExplainsIt) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 20), STR_BUILD_OK);
  // Open ground to open ground once the network has a junction.
  EXPECT_FALSE(w.Drag(40, 40, 40, 50));
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgJoinNetwork);
  // A press and a release on one cell.
  ASSERT_TRUE(w.preview.SetStartPoint(40, 40, STRASSE_1));
  EXPECT_FALSE(w.preview.SetFinalEndPos(40, 40, STRASSE_1));
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgTooShort);
  EXPECT_TRUE(w.warnings.shown.empty()) << "nothing is shown while dragging";
  w.preview.ExplainRefusal(STRASSE_1);
  EXPECT_EQ(w.warnings.shown, std::vector<int>{CStrPreviewRect::kMsgTooShort});
  w.preview.ExplainRefusal(STRASSE_1);
  EXPECT_EQ(w.warnings.shown.size(), 1u) << "once per evaluation";
  // A start the rules refuse: no street can start on a river.
  River(w, 50, 50);
  EXPECT_FALSE(w.preview.SetStartPoint(50, 50, STRASSE_1));
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgNoStart);
}

TEST(StreetPreviewReasons, ARefusalWithItsOwnWarningIsNotExplainedAgain) {
  PreviewWorld w;
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(14, 11, 20, 11));
  ASSERT_EQ(w.warnings.shown.back(), 8);
  const size_t shown = w.warnings.shown.size();
  EXPECT_EQ(w.preview.GetQuietReason(), 0);
  w.preview.ExplainRefusal(STRASSE_1);
  EXPECT_EQ(w.warnings.shown.size(), shown);
}

TEST(StreetPreviewReasons, TracksExplainTheirRefusalsWithTheirOwnTexts) {
  PreviewWorld w;
  ASSERT_EQ(w.Track(10, 10, 20, 10), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(40, 40, 40, 50, STRASSE_SCHIENE));
  w.preview.ExplainRefusal(STRASSE_SCHIENE);
  EXPECT_EQ(w.warnings.shown, std::vector<int>{86}) << "New tracks must join the rail network!";
  EXPECT_EQ(CStrPreviewRect::GetMessageText(CStrPreviewRect::kMsgTooShort, STRASSE_SCHIENE), 88);
  EXPECT_EQ(CStrPreviewRect::GetMessageText(CStrPreviewRect::kMsgGrdJunctionClose, STRASSE_SCHIENE), 15);
}

// The first street across a lone track, either way along either axis, with
// the track's two cells at 30 and 31 along the street: built with three
// cells of its own before the track and two after it (a four-lane street
// dragged towards -x or -y three after it: its end's group reaches back a
// cell towards the track), and a cell shorter at either end refused with
// the text that asks for the street's cells beside the track.
TEST(StreetPreviewReasons, AStreetTooCloseToItsCrossingSaysWhatItLacks) {
  for (const TStrassenType type : {STRASSE_1, STRASSE_2, STRASSE_EINBAHN, STRASSE_VIERSPURIG})
    for (const bool alongX : {true, false})
      for (const int dir : {1, -1}) {
        const int after = type == STRASSE_VIERSPURIG && dir < 0 ? 3 : 2;
        for (const auto& [before, behind, built] :
             {std::tuple{3, after, true}, std::tuple{2, after, false}, std::tuple{3, after - 1, false}}) {
          const int from = dir > 0 ? 30 - before : 31 + before, to = dir > 0 ? 31 + behind : 30 - behind;
          SCOPED_TRACE("type " + std::to_string(type) + (alongX ? " along x " : " along y ") +
                       std::to_string(from) + " -> " + std::to_string(to));
          PreviewWorld t;
          ASSERT_EQ(alongX ? t.Track(30, 10, 30, 40) : t.Track(10, 30, 40, 30), STR_BUILD_OK);
          const int r = alongX ? t.DragAndBuild(from, 20, to, 20, type) : t.DragAndBuild(20, from, 20, to, type);
          EXPECT_EQ(r == STR_BUILD_OK, built);
          EXPECT_EQ(t.preview.GetQuietReason(), built ? 0 : CStrPreviewRect::kMsgStreetBesideTrack);
          EXPECT_EQ(t.Crossings().size(), built ? 1u : 0u);
        }
      }
}

TEST(StreetPreviewReasons, ALevelCrossingThatDoesNotFitSaysWhatIsInItsWay) {
  PreviewWorld w;
  StreetsBesideATrack(w);
  // Too near the drag's own ends, far from any junction, the crossing is
  // refused for the new street's end: its cells beside the track are what
  // it lacks. A level crossing of the track beside the drag is too close.
  EXPECT_FALSE(w.Drag(29, 25, 40, 25)) << "the crossing one cell after the start";
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgStreetBesideTrack);
  EXPECT_FALSE(w.Drag(40, 25, 29, 25)) << "the crossing one cell before the end";
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgStreetBesideTrack);
  ASSERT_EQ(w.DragAndBuild(24, 25, 40, 25), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(24, 27, 40, 27)) << "beside the level crossing at 30/25";
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgLevelCrossingClose);
  ASSERT_EQ(w.Track(30, 45, 20, 45), STR_BUILD_OK);
  ASSERT_EQ(w.Build(40, 40, 40, 50), STR_BUILD_OK);
  EXPECT_FALSE(w.Drag(24, 44, 40, 44)) << "over the track's bend";
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgGrdBendClose);
}

// The first track across a lone street along x = 60, at y = 25: refused
// with the text that asks for the cells it lacks while it has fewer than
// four cells before the street or three after it, and built, with its
// crossing, once it has them; beside the street's end it is the junction
// that lies too close.
TEST(StreetPreviewReasons, ATrackTooCloseToItsCrossingSaysWhatItLacksAndAJunctionBesideItToo) {
  const struct {
    int from, to;
    bool built;
  } tracks[] = {// a cell short before the street, and after it
                {57, 63, false}, {63, 57, false}, {56, 62, false}, {64, 58, false},
                // the crossing one cell after the start, before the end
                {58, 66, false}, {66, 58, false},
                // four cells before the street, three after it
                {56, 63, true}, {64, 57, true}};
  for (const auto& track : tracks) {
    SCOPED_TRACE(std::to_string(track.from) + " -> " + std::to_string(track.to));
    PreviewWorld t;
    ASSERT_EQ(t.Build(60, 10, 60, 40), STR_BUILD_OK);
    EXPECT_EQ(t.DragAndBuild(track.from, 25, track.to, 25, STRASSE_SCHIENE) == STR_BUILD_OK, track.built);
    EXPECT_EQ(t.preview.GetQuietReason(), track.built ? 0 : CStrPreviewRect::kMsgTrackBesideStreet);
    EXPECT_EQ(t.Crossings().size(), track.built ? 1u : 0u);
  }
  // Drawn on into a track's dead end the crossing may come nearer the end,
  // but not right beside the end's group: the cells after the street are
  // what it lacks.
  for (const auto& [deadEnd, built] : {std::pair{63, true}, std::pair{62, false}}) {
    SCOPED_TRACE("into the dead end at " + std::to_string(deadEnd));
    PreviewWorld t;
    ASSERT_EQ(t.Build(60, 10, 60, 40), STR_BUILD_OK);
    ASSERT_EQ(t.Track(deadEnd, 25, 70, 25), STR_BUILD_OK);
    EXPECT_EQ(t.DragAndBuild(55, 25, deadEnd, 25, STRASSE_SCHIENE) == STR_BUILD_OK, built);
    EXPECT_EQ(t.preview.GetQuietReason(), built ? 0 : CStrPreviewRect::kMsgTrackBesideStreet);
    EXPECT_EQ(t.Crossings().size(), built ? 1u : 0u);
  }
  // Three cells after the street, into a track along y: the T junction
  // made there reaches back towards the crossing, and it is the junction
  // that lies too close.
  {
    PreviewWorld t;
    ASSERT_EQ(t.Build(60, 10, 60, 40), STR_BUILD_OK);
    ASSERT_EQ(t.Track(64, 12, 64, 38), STR_BUILD_OK);
    EXPECT_NE(t.DragAndBuild(56, 25, 64, 25, STRASSE_SCHIENE), STR_BUILD_OK);
    EXPECT_EQ(t.preview.GetQuietReason(), CStrPreviewRect::kMsgGrdJunctionClose);
    EXPECT_EQ(t.Crossings().size(), 0u);
  }
  PreviewWorld t;
  ASSERT_EQ(t.Build(60, 10, 60, 40), STR_BUILD_OK);
  // Beside a junction of the street the junction is what is too close.
  EXPECT_FALSE(t.Drag(50, 11, 70, 11, STRASSE_SCHIENE)) << "the street ends at 60/10";
  EXPECT_EQ(t.preview.GetQuietReason(), CStrPreviewRect::kMsgGrdJunctionClose);
}

// A rail dead end's group takes two cells along its track: either of them
// starts an extension, and a drag from one into the other has not left the
// junction, which closes no circle.
TEST(StreetPreviewReasons, ATrackExtendsFromEitherCellOfItsDeadEnd) {
  PreviewWorld w;
  ASSERT_EQ(w.Track(10, 10, 20, 10), STR_BUILD_OK);
  ASSERT_EQ(w.rails->GetNumber(), 2u);
  ASSERT_EQ(w.map->GetTypeAt(21, 10, ISO_LAYER_GROUND), OBJ_RAIL_JUNCTION) << "the east end's group";
  EXPECT_FALSE(w.Drag(20, 10, 21, 10, STRASSE_SCHIENE));
  EXPECT_EQ(w.preview.GetQuietReason(), CStrPreviewRect::kMsgTooShort);
  EXPECT_TRUE(w.warnings.shown.empty()) << "no circle";
  EXPECT_EQ(w.DragAndBuild(11, 10, 4, 10, STRASSE_SCHIENE), STR_BUILD_OK) << "from the west end's inner cell";
  EXPECT_EQ(w.DragAndBuild(20, 10, 27, 10, STRASSE_SCHIENE), STR_BUILD_OK) << "from the east end's own cell";
  EXPECT_EQ(w.rails->GetNumber(), 2u) << "one longer track";
  EXPECT_TRUE(w.warnings.shown.empty());
}
