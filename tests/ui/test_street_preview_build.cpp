// What building a street costs as the street tool measures and books it,
// and how the preview is drawn.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "measures/preise.h"
#include "network/rail_scene.h"
#include "ui/str_preview.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {

// The world's prices, from the filled price table.
class PriceHost : public CWorldHost {
 public:
  PriceHost() : m_table(CPreise::SetPreise()) { CWorldHost::Install(this); }
  ~PriceHost() override { CWorldHost::Install(nullptr); }
  double GetPreis(int entry, int cls) override { return CPreise::GetPreis(entry, cls); }
  void SetAchtungWindow(int) override {}

 private:
  std::unique_ptr<CPreise> m_table;
};

CUserInt::NetLengths Lengths(float side, float main, float four, float track) {
  CUserInt::NetLengths n;
  n.side = side;
  n.main = main;
  n.four = four;
  n.track = track;
  return n;
}

TEST(StreetBuildCosts, EachClassIsChargedAtItsPricePerHundredLengthUnits) {
  PriceHost prices;
  double streets = -1, tracks = -1;
  CUserInt::StreetChangeCosts(Lengths(0, 0, 0, 0), Lengths(3, 0, 0, 0), &streets, &tracks);
  EXPECT_EQ(streets, 75000.0);
  EXPECT_EQ(tracks, 0.0);
  CUserInt::StreetChangeCosts(Lengths(0, 0, 0, 0), Lengths(0, 0, 6, 0), &streets, &tracks);
  EXPECT_EQ(streets, 225000.0) << "the doubled four-lane length is halved";
  CUserInt::StreetChangeCosts(Lengths(0, 0, 0, 0), Lengths(0, 0, 0, 6), &streets, &tracks);
  EXPECT_EQ(tracks, 900000.0);
  EXPECT_EQ(streets, 0.0);
}

// One build that changes two classes (a main street that takes over the
// side street it joins) pays for both, and removing a four-lane street
// costs what building it did.
TEST(StreetBuildCosts, ChangesOfSeveralClassesAreSummedAndRemovalsCostAsBuilding) {
  PriceHost prices;
  double streets = 0, tracks = 0;
  CUserInt::StreetChangeCosts(Lengths(3, 2, 0, 0), Lengths(0, 8, 0, 0), &streets, &tracks);
  EXPECT_EQ(streets, 25000.0 * 3 + 50000.0 * 6);
  double removal = 0;
  CUserInt::StreetChangeCosts(Lengths(0, 0, 6, 0), Lengths(0, 0, 0, 0), &removal, &tracks);
  EXPECT_EQ(removal, 225000.0);
  CUserInt::StreetChangeCosts(Lengths(1, 2, 3, 4), Lengths(1, 2, 3, 4), &streets, &tracks);
  EXPECT_EQ(streets, 0.0);
  EXPECT_EQ(tracks, 0.0);
}

struct MeasuredWorld : railtest::RailWorld {
  MeasuredWorld() {
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y) map->SetStdBase(x, y, ISO_LAYER_GROUND, false);
  }
  CUserInt::NetLengths Measure() { return CUserInt::MeasureNetLengths(net.get(), rails.get()); }
};

TEST(StreetBuildCosts, TheNetworksAreMeasuredByClassWithTwoStripClassesCountedTwice) {
  MeasuredWorld w;
  EXPECT_EQ(w.Measure().side, 0.0f);
  ASSERT_EQ(w.Build(10, 10, 10, 13), STR_BUILD_OK);
  EXPECT_FLOAT_EQ(w.Measure().side, 3.0f) << "a street of measured length 300";
  // A T junction splits a street: the two halves measure what it did.
  ASSERT_EQ(w.Build(10, 13, 10, 23), STR_BUILD_OK);
  EXPECT_FLOAT_EQ(w.Measure().side, 13.0f);
  ASSERT_EQ(w.Build(16, 18, 10, 18), STR_BUILD_OK);
  ASSERT_NE(w.At(10, 18), nullptr);
  EXPECT_FLOAT_EQ(w.Measure().side, 19.0f);
  // A main street joined to a side street's dead end takes that street
  // over: one build changes two classes, and both are paid for.
  PriceHost prices;
  const CUserInt::NetLengths before = w.Measure();
  ASSERT_EQ(w.Build(10, 23, 20, 23, STRASSE_2), STR_BUILD_OK);
  const CUserInt::NetLengths mixed = w.Measure();
  EXPECT_FLOAT_EQ(mixed.side, 14.0f) << "the half from the T to the dead end became a main street";
  EXPECT_FLOAT_EQ(mixed.main, 14.0f) << "one street round the bend, its cell counted once";
  double streets = 0, tracks = 0;
  CUserInt::StreetChangeCosts(before, mixed, &streets, &tracks);
  EXPECT_EQ(streets, 25000.0 * 5 + 50000.0 * 14);
  ASSERT_EQ(w.Track(40, 40, 40, 43), STR_BUILD_OK);
  EXPECT_FLOAT_EQ(w.Measure().track, 6.0f);
  EXPECT_EQ(w.Measure().four, 0.0f);
  EXPECT_FLOAT_EQ(w.Measure().main, mixed.main);
}

// ---- drawing ----

struct DrawWorld : MeasuredWorld {
  int Drawn() {
    scene->Clear(0);
    return preview.Render(&scene->display, &scene->resources);
  }
  int Lit() { return scene->surface->w * scene->surface->h - scene->Count(0); }
  CStrPreviewRect preview{map, net.get(), rails.get()};
};

TEST(StreetPreviewDrawing, LegalAndRefusedPreviewsLookDifferentAndCoverTheirCells) {
  DrawWorld w;
  w.map->SetIsoCenter(20, 20);
  ASSERT_TRUE(w.preview.SetStartPoint(20, 20, STRASSE_1));
  ASSERT_EQ(w.Drawn(), 0) << "the tile pictures are in the game's archives";
  const int one = w.Lit();
  EXPECT_GT(one, 0) << "a zero-length preview draws its cell";
  w.preview.SetEndPoint(20, 24, STRASSE_1);
  ASSERT_TRUE(w.preview.IsValid());
  ASSERT_EQ(w.Drawn(), 0);
  const int five = w.Lit();
  EXPECT_GT(five, 2 * one);
  w.preview.SetEndPoint(20, 21, STRASSE_1);
  ASSERT_FALSE(w.preview.IsValid()) << "shorter than the first street may be";
  ASSERT_EQ(w.Drawn(), 0);
  const int refusedTwo = w.Lit();
  EXPECT_GT(refusedTwo, one);
  // The same two cells drawn in the buildable look differ.
  uint64_t refusedLook = 0;
  for (int y = 0; y < w.scene->surface->h; ++y)
    for (int x = 0; x < w.scene->surface->w; ++x) refusedLook = refusedLook * 31 + w.scene->At(x, y);
  ASSERT_TRUE(w.preview.SetStartPoint(20, 20, STRASSE_1));
  ASSERT_EQ(w.Drawn(), 0);
  uint64_t cellLook = 0;
  for (int y = 0; y < w.scene->surface->h; ++y)
    for (int x = 0; x < w.scene->surface->w; ++x) cellLook = cellLook * 31 + w.scene->At(x, y);
  EXPECT_NE(refusedLook, cellLook);

  // A four-lane preview draws its second strip too.
  ASSERT_TRUE(w.preview.SetStartPoint(20, 20, STRASSE_VIERSPURIG));
  w.preview.SetEndPoint(20, 24, STRASSE_VIERSPURIG);
  ASSERT_TRUE(w.preview.SecondStripSet());
  ASSERT_EQ(w.Drawn(), 0);
  EXPECT_GT(w.Lit(), five);
}

TEST(StreetPreviewDrawing, AMissingPictureDrawsNothing) {
  junctiontest::World w;
  CStrPreviewRect preview(w.map, w.net.get(), nullptr);
  preview.SetStartPoint(10, 10, STRASSE_1);
  w.scene->Clear(0);
  EXPECT_EQ(preview.Render(&w.scene->display, &w.scene->resources), 1);
  EXPECT_EQ(w.scene->Count(0), w.scene->surface->w * w.scene->surface->h);
}

}  // namespace
