#include <cstdio>
#include <memory>
#include <utility>

#include "framework/zor_record.h"
#include "street_scene.h"

using streettest::kRiverTile;
using streettest::StreetScene;

namespace {

std::unique_ptr<CStrStrassenTeil> Piece(int sx, int sy, int ex, int ey) {
  auto p = std::make_unique<CStrStrassenTeil>();
  p->Create(static_cast<short>(sx), static_cast<short>(sy), static_cast<short>(ex), static_cast<short>(ey), nullptr,
            false, STRASSE_1);
  return p;
}

// A plain extra part from (sx, sy) to (ex, ey).
CStrExtTeil* Part(int sx, int sy, int ex, int ey) {
  auto* t = new CStrExtTeil;
  t->Create(static_cast<short>(sx), static_cast<short>(sy), STRASSE_1);
  t->SetEndPoint(static_cast<short>(ex), static_cast<short>(ey));
  return t;
}

}  // namespace

TEST(StreetPiece, LengthHitsAndStepsFollowTheAxis) {
  auto single = Piece(5, 5, 5, 5);
  EXPECT_EQ(single->CalcLaenge(), -100);
  EXPECT_FALSE(single->PointHitStreet(5, 5));

  auto alongX = Piece(10, 4, 6, 4);
  EXPECT_EQ(alongX->CalcLaenge(), 300);
  signed char dx = 9, dy = 9;
  alongX->CalcM(dx, dy);
  EXPECT_EQ(dx, -1);
  EXPECT_EQ(dy, 0);
  CIsoRichtung r;
  alongX->CalcRichtung(r);
  EXPECT_EQ(r.GetValue(), 2);
  for (int x = 6; x <= 10; ++x) EXPECT_TRUE(alongX->PointHitStreet(static_cast<short>(x), 4)) << x;
  EXPECT_FALSE(alongX->PointHitStreet(5, 4));
  EXPECT_FALSE(alongX->PointHitStreet(11, 4));
  EXPECT_FALSE(alongX->PointHitStreet(8, 5));

  auto alongY = Piece(3, 2, 3, 7);
  alongY->CalcRichtung(r);
  EXPECT_EQ(r.GetValue(), 1);
  EXPECT_TRUE(alongY->PointHitStreet(3, 2));
  EXPECT_TRUE(alongY->PointHitStreet(3, 7));
  EXPECT_FALSE(alongY->PointHitStreet(4, 5));
  Piece(3, 7, 3, 2)->CalcRichtung(r);
  EXPECT_EQ(r.GetValue(), 3);
}

TEST(StreetPiece, OnlyCrossingPiecesHitEachOtherStrictlyInside) {
  auto a = Piece(5, 0, 5, 10);
  auto b = Piece(0, 4, 9, 4);
  short x = 0, y = 0;
  ASSERT_TRUE(a->Hit(b.get(), x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 4);
  x = y = 0;
  ASSERT_TRUE(b->Hit(a.get(), x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 4);
  // Touching at an end is no crossing, nor are parallel pieces.
  EXPECT_FALSE(a->Hit(Piece(5, 10, 9, 10).get(), x, y));
  EXPECT_FALSE(a->Hit(Piece(0, 0, 5, 0).get(), x, y));
  EXPECT_FALSE(a->Hit(Piece(5, 12, 9, 12).get(), x, y));
  EXPECT_FALSE(a->Hit(Piece(6, 0, 6, 10).get(), x, y));
  EXPECT_FALSE(b->Hit(Piece(6, 5, 9, 5).get(), x, y));
  EXPECT_FALSE(a->Hit(nullptr, x, y));
}

TEST(StreetPiece, BendOffsetsLookIntoThePieceFromEitherEnd) {
  signed char dx = 7, dy = 7;
  Piece(2, 2, 8, 2)->FixeKurvenOff(dx, dy, true);
  EXPECT_EQ(dx, 1);
  EXPECT_EQ(dy, 0);
  Piece(2, 2, 8, 2)->FixeKurvenOff(dx, dy, false);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  Piece(2, 8, 2, 2)->FixeKurvenOff(dx, dy, false);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 1);
}

TEST(StreetPiece, TurnAndMovesChangeTheEndsAndTheParts) {
  auto p = Piece(1, 1, 1, 9);
  p->AddExtraTeilList(nullptr);
  EXPECT_EQ(p->GetExtraTeilList(), nullptr);
  CStrExtTlList parts;
  parts.Create();
  parts.AddTail(Part(1, 3, 1, 5), 0);
  p->AddExtraTeilList(&parts);
  p->Turn();
  EXPECT_EQ(p->GetStartY(), 9);
  EXPECT_EQ(p->GetEndY(), 1);
  auto* part = static_cast<CStrExtTeil*>(p->GetExtraTeilList()->GetHead());
  EXPECT_EQ(part->GetStartY(), 5);
  EXPECT_EQ(part->GetEndY(), 3);
  EXPECT_EQ(part->GetRichtung().GetValue(), 2);
  p->MoveStartPoint(0, 1);
  p->MoveEndPoint(0, -1);
  EXPECT_EQ(p->GetStartY(), 10);
  EXPECT_EQ(p->GetEndY(), 0);
  // A copy takes the coordinates and its own copy of the parts.
  CStrStrassenTeil copy(p.get());
  EXPECT_EQ(copy.GetStartY(), 10);
  ASSERT_NE(copy.GetExtraTeilList(), nullptr);
  EXPECT_NE(copy.GetExtraTeilList(), p->GetExtraTeilList());
  EXPECT_TRUE(copy.HasExtraTeilAt(1, 4));
  parts.Destroy();
}

TEST(StreetExtraPart, TheGenericHitIsUndefinedAtTheStartOfAPartAlongX) {
  std::unique_ptr<CStrExtTeil> p(Part(4, 6, 8, 6));
  EXPECT_FALSE(p->PointHitExtraTeil(4, 6));
  EXPECT_TRUE(p->PointHitExtraTeil(5, 6));
  EXPECT_TRUE(p->PointHitExtraTeil(8, 6));
  EXPECT_FALSE(p->PointHitExtraTeil(9, 6));
  EXPECT_FALSE(p->PointHitExtraTeil(5, 7));
  std::unique_ptr<CStrExtTeil> q(Part(4, 6, 4, 9));
  EXPECT_TRUE(q->PointHitExtraTeil(4, 6));
  EXPECT_TRUE(q->PointHitExtraTeil(4, 9));
  EXPECT_FALSE(q->PointHitExtraTeil(4, 10));
}

TEST(StreetExtraPart, RangeOfAPieceContainsOrOverlapsThePart) {
  std::unique_ptr<CStrExtTeil> p(Part(3, 5, 3, 7));
  EXPECT_TRUE(p->IsInRange(3, 2, 3, 9));   // within
  EXPECT_TRUE(p->IsInRange(3, 6, 3, 9));   // overlapping
  EXPECT_FALSE(p->IsInRange(3, 8, 3, 9));  // beyond the part
  EXPECT_FALSE(p->IsInRange(3, 0, 3, 4));  // before it
  EXPECT_FALSE(p->IsInRange(4, 5, 9, 5));  // another line
  std::unique_ptr<CStrExtTeil> q(Part(5, 3, 7, 3));
  EXPECT_TRUE(q->IsInRange(2, 3, 9, 3));
  EXPECT_FALSE(q->IsInRange(8, 3, 12, 3));
  EXPECT_FALSE(q->IsInRange(2, 4, 9, 4));
}

TEST(StreetExtraPart, AddingPartsThatArePresentAddsNothingAndCopiesKeepTheirKind) {
  CStrExtTlList source;
  source.Create();
  auto* bridge = new CStrBride;
  bridge->Create(2, 0, STRASSE_1);
  bridge->SetEndPoint(4, 0);
  source.AddTail(bridge, 0);
  source.AddTail(Part(6, 0, 7, 0), 0);
  auto p = Piece(0, 0, 9, 0);
  p->AddExtraTeilList(&source);
  ASSERT_NE(p->GetExtraTeilList(), nullptr);
  EXPECT_EQ(p->GetExtraTeilList()->GetNumber(), 2u);
  EXPECT_NE(dynamic_cast<CStrBride*>(p->GetExtraTeilList()->GetHead()), nullptr);
  p->AddExtraTeilList(&source);
  EXPECT_EQ(p->GetExtraTeilList()->GetNumber(), 2u);
  EXPECT_TRUE(p->GetExtraTeilList()->IsMember(bridge));
  // The list works on the part that starts at a tile, none elsewhere.
  CStrExtTlList* list = p->GetExtraTeilList();
  EXPECT_FALSE(list->StartAtKoor(3, 0));
  EXPECT_EQ(list->GetType(), 1);
  short x = 0, y = 0;
  EXPECT_EQ(list->GetEndKoor(x, y), 1);
  EXPECT_FALSE(list->StartAtKoor(-1, 0));
  ASSERT_TRUE(list->StartAtKoor(6, 0));
  EXPECT_EQ(list->GetEndKoor(x, y), 0);
  EXPECT_EQ(x, 7);
  source.Destroy();
}

TEST(StreetExtraPart, ABridgeWalksItsCellsOnlyOverItself) {
  CStrBride b;
  b.Create(3, 8, STRASSE_1);
  b.SetEndPoint(3, 5);
  short x = 0, y = 0;
  b.StartMicroZellenCount(x, y);
  EXPECT_EQ(y, 8);
  int steps = 0;
  while (b.GetMicroZellenPos(x, y)) ++steps;
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(y, 5);  // a refused step does not move
  b.Turn();
  EXPECT_EQ(b.GetStartY(), 5);
  EXPECT_EQ(b.GetRichtung().GetValue(), 2);
}

TEST_F(StreetScene, WaterEnclosedOnAPieceMakesOneBridgeFromFirstToLastWaterTile) {
  for (int x = 14; x <= 16; ++x) River(x, 20);
  CStrStrassenTeil p(map);
  p.Create(10, 20, 20, 20, nullptr, false, STRASSE_2);
  EXPECT_TRUE(p.HitRiver());
  ASSERT_NE(p.GetExtraTeilList(), nullptr);
  ASSERT_EQ(p.GetExtraTeilList()->GetNumber(), 1u);
  auto* bridge = dynamic_cast<CStrBride*>(p.GetExtraTeilList()->GetHead());
  ASSERT_NE(bridge, nullptr);
  EXPECT_EQ(bridge->GetStartX(), 14);
  EXPECT_EQ(bridge->GetEndX(), 16);
  EXPECT_EQ(bridge->GetDeltaX(), 2);
  EXPECT_EQ(bridge->GetRichtung().GetValue(), 0);
  EXPECT_EQ(bridge->GetType(), STRASSE_2);

  // Running the other way, the bridge faces the other way.
  CStrStrassenTeil back(map);
  back.Create(20, 20, 10, 20, nullptr, false, STRASSE_1);
  ASSERT_NE(back.GetExtraTeilList(), nullptr);
  EXPECT_EQ(static_cast<CStrExtTeil*>(back.GetExtraTeilList()->GetHead())->GetStartX(), 16);
  EXPECT_EQ(static_cast<CStrExtTeil*>(back.GetExtraTeilList()->GetHead())->GetRichtung().GetValue(), 2);
}

TEST_F(StreetScene, WaterReachingTheEndTileOrNoWaterMakesNoBridge) {
  for (int y = 5; y <= 8; ++y) River(30, y);
  CStrStrassenTeil toWater(map);
  toWater.Create(30, 1, 30, 8, nullptr, false, STRASSE_1);
  EXPECT_FALSE(toWater.HitRiver());
  EXPECT_EQ(toWater.GetExtraTeilList(), nullptr);
  CStrStrassenTeil dry(map);
  dry.Create(31, 1, 31, 8, nullptr, false, STRASSE_1);
  EXPECT_FALSE(dry.HitRiver());
  // A piece given a list with a part in its range takes a copy of it.
  CStrStrassenTeil over(map);
  over.Create(30, 1, 30, 12, nullptr, false, STRASSE_1);
  ASSERT_TRUE(over.HitRiver());
  CStrStrassenTeil half(map);
  half.Create(30, 6, 30, 12, over.GetExtraTeilList(), false, STRASSE_1);
  ASSERT_NE(half.GetExtraTeilList(), nullptr);
  EXPECT_NE(half.GetExtraTeilList(), over.GetExtraTeilList());
  CStrStrassenTeil apart(map);
  apart.Create(30, 10, 30, 12, over.GetExtraTeilList(), false, STRASSE_1);
  EXPECT_EQ(apart.GetExtraTeilList(), nullptr);
}

TEST_F(StreetScene, ABridgeDrawsItsTilesAndPutsTheRiverBackWhenRemoved) {
  for (int x = 14; x <= 16; ++x) River(x, 20);
  CStrStrassenTeil p(map);
  p.Create(10, 20, 20, 20, nullptr, false, STRASSE_1);
  CStrExtTlList* list = p.GetExtraTeilList();
  ASSERT_NE(list, nullptr);
  CWorldObj* street = host.CreateObject(OBJ_STREET_PIECE);
  short x = 14, y = 20;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  EXPECT_EQ(list->InsertIntoIsoWelt(map, x, y, street, false), 0);
  EXPECT_EQ(x, 16);
  for (int t = 14; t <= 16; ++t) EXPECT_EQ(ObjectAt(t, 20), street) << t;
  auto* bridge = static_cast<CStrBride*>(list->GetHead());
  EXPECT_EQ(bridge->GetGroundResStart(), kRiverTile);
  EXPECT_EQ(bridge->GetGroundResMitte(), kRiverTile);
  EXPECT_EQ(bridge->GetGroundResEnd(), kRiverTile);
  // Without a current part nothing is drawn.
  EXPECT_EQ(list->InsertIntoIsoWelt(map, x, y, street, false), 1);
  x = 14;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  EXPECT_EQ(list->RemoveFromIsoWelt(x, y), 0);
  for (int t = 14; t <= 16; ++t) EXPECT_EQ(GroundAt(t, 20), OBJ_RIVER) << t;
}

TEST_F(StreetScene, ExtraPartRecordsRoundTripAndALevelCrossingCorrectsItsExtent) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CStrBride b;
  b.Create(2, 3, STRASSE_VIERSPURIG);
  b.SetEndPoint(2, 6);
  ASSERT_EQ(b.SerializeGameStore(f), 0);
  EXPECT_EQ(std::ftell(f), CStrBride::kRecordSize);

  CGrdCrossing c;
  c.Create(9, 9, STRASSE_1);
  c.SetEndPoint(12, 9);
  ASSERT_EQ(c.SerializeGameStore(f), 0);
  EXPECT_EQ(std::ftell(f), CStrBride::kRecordSize + CGrdCrossing::kRecordSize);
  // The stored x extent is made negative while the part runs to +x.
  std::fseek(f, CStrBride::kRecordSize + CStrExtTeil::kRecordSize + 1, SEEK_SET);
  const signed char wrong = -3;
  std::fwrite(&wrong, 1, 1, f);
  std::rewind(f);

  CStrBride b2;
  ASSERT_EQ(b2.SerializeGameLoad(f), 0);
  EXPECT_EQ(b2.GetStartY(), 3);
  EXPECT_EQ(b2.GetEndY(), 6);
  EXPECT_EQ(b2.GetDeltaY(), 3);
  EXPECT_EQ(b2.GetType(), STRASSE_VIERSPURIG);
  CGrdCrossing c2;
  ASSERT_EQ(c2.SerializeGameLoad(f), 0);
  EXPECT_EQ(c2.GetResID(), CGrdCrossing::kResID);
  EXPECT_EQ(c2.GetMX(), 3);
  // A cut record is refused.
  CGrdCrossing c3;
  EXPECT_NE(c3.SerializeGameLoad(f), 0);
  std::fclose(f);
}

TEST_F(StreetScene, PieceRecordsRoundTripWithTheirPartsAndRefuseCutOrForeignLists) {
  for (int x = 14; x <= 16; ++x) River(x, 20);
  CStrStrassenTeil p(map);
  p.Create(10, 20, 20, 20, nullptr, false, STRASSE_1);
  // Drawn once, the bridge knows the river under it.
  CWorldObj* street = host.CreateObject(OBJ_STREET_PIECE);
  short x = 14, y = 20;
  ASSERT_TRUE(p.GetExtraTeilList()->StartAtKoor(x, y));
  p.GetExtraTeilList()->InsertIntoIsoWelt(map, x, y, street, false);
  std::FILE* f = std::tmpfile();
  ASSERT_EQ(p.SerializeGameStore(f), 0);
  const long size = std::ftell(f);
  EXPECT_GT(size, CStrStrassenTeil::kRecordSize + CStrBride::kRecordSize);
  std::rewind(f);
  CStrStrassenTeil q;
  ASSERT_EQ(q.SerializeGameLoad(f), 0);
  EXPECT_EQ(q.GetStartX(), 10);
  EXPECT_EQ(q.GetEndX(), 20);
  EXPECT_TRUE(q.HitRiver());
  ASSERT_NE(q.GetExtraTeilList(), nullptr);
  auto* bridge = dynamic_cast<CStrBride*>(q.GetExtraTeilList()->GetHead());
  ASSERT_NE(bridge, nullptr);
  EXPECT_EQ(bridge->GetEndX(), 16);
  EXPECT_EQ(bridge->GetGroundResMitte(), kRiverTile);

  // Cut inside the part list.
  std::rewind(f);
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
  std::fclose(f);
  std::FILE* cut = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size() - 5, cut);
  std::rewind(cut);
  CStrStrassenTeil r;
  EXPECT_NE(r.SerializeGameLoad(cut), 0);
  std::fclose(cut);

  // A list whose entry names a class that is no extra part.
  std::FILE* foreign = std::tmpfile();
  std::vector<unsigned char> head(bytes.begin(), bytes.begin() + CStrStrassenTeil::kRecordSize);
  std::fwrite(head.data(), 1, head.size(), foreign);
  ZorRecordWriter out(foreign);
  out.U32(1);
  out.U8(0);
  const char name[] = "CStrStrassenTeil";
  out.U8(sizeof name - 1);
  out.Bytes(name, sizeof name);
  out.U32(0xFFFFFFFFu);
  std::rewind(foreign);
  CStrStrassenTeil s;
  EXPECT_NE(s.SerializeGameLoad(foreign), 0);
  std::fclose(foreign);
}

TEST_F(StreetScene, ARailAcrossAPieceMakesALevelCrossingAroundIt) {
  Rail(15, 20);
  Rail(16, 20);
  CStrStrassenTeil p(map);
  p.Create(10, 20, 20, 20, nullptr, true, STRASSE_1);
  EXPECT_TRUE(p.HitTrain());
  ASSERT_NE(p.GetExtraTeilList(), nullptr);
  auto* c = dynamic_cast<CGrdCrossing*>(p.GetExtraTeilList()->GetHead());
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->IsGradeCrossing());
  EXPECT_EQ(c->GetResID(), CGrdCrossing::kResID);
  // Turned one on from the piece's direction, one tile back across the rail.
  EXPECT_EQ(c->GetRichtung().GetValue(), 1);
  EXPECT_EQ(c->GetStartX(), 15);
  EXPECT_EQ(c->GetStartY(), 19);
  EXPECT_EQ(c->GetEndX(), 15);
  EXPECT_EQ(c->GetEndY(), 20);
  EXPECT_EQ(c->GetDeltaX(), 2);
  EXPECT_EQ(c->GetMX(), 0);
  EXPECT_EQ(c->GetMY(), 1);
  EXPECT_TRUE(c->PointHitExtraTeil(15, 19));
  EXPECT_TRUE(c->PointHitExtraTeil(16, 20));
  EXPECT_FALSE(c->PointHitExtraTeil(17, 20));
  EXPECT_FALSE(c->PointHitExtraTeil(15, 18));
  EXPECT_FALSE(c->PointHitExtraTeil(14, 20));
  short x = 0, y = 0;
  c->GetInsertPoint(x, y);
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 19);
  EXPECT_TRUE(c->GetMicroZellenPos(x, y));
  EXPECT_EQ(y, 19);
  c->GetUpperStreetPos(x, y);
  EXPECT_EQ(x, 14);
  EXPECT_EQ(y, 20);
  c->GetLowerStreetPos(x, y);
  EXPECT_EQ(x, 17);
  EXPECT_EQ(y, 20);
  c->GetMicroStartKoor(x, y);
  EXPECT_EQ(y, 18);
  c->GetMicroEndKoor(x, y);
  EXPECT_EQ(y, 21);
  EXPECT_EQ(c->GetMicroStartX(), 15);
  EXPECT_EQ(c->GetMicroStartY(), 18);

  // Drawn for a street object; the rail under it stays a rail crossing.
  CWorldObj* street = host.CreateObject(OBJ_STREET_PIECE);
  x = 15;
  y = 19;
  ASSERT_TRUE(p.GetExtraTeilList()->StartAtKoor(x, y));
  EXPECT_EQ(p.GetExtraTeilList()->InsertIntoIsoWelt(map, x, y, street, false), 0);
  EXPECT_FALSE(c->IsOnRail());
  EXPECT_EQ(ObjectAt(16, 20), street);
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 20);

  // Both street tiles beside it are plain ground: the crossing is isolated.
  map->SetStdBase(14, 20, ISO_LAYER_GROUND, false);
  EXPECT_FALSE(c->IsolatedGrdCrossings());
  map->SetStdBase(17, 20, ISO_LAYER_GROUND, false);
  EXPECT_TRUE(c->IsolatedGrdCrossings());
  map->SetIsoTileAt(14, 20, ISO_LAYER_GROUND, CIsoRichtung(0), streettest::kStraight, street);
  EXPECT_FALSE(c->IsolatedGrdCrossings());
  EXPECT_FALSE(p.GetExtraTeilList()->RemoveIsolatedGrdCrossings());
  map->SetStdBase(14, 20, ISO_LAYER_GROUND, false);
  EXPECT_TRUE(p.GetExtraTeilList()->RemoveIsolatedGrdCrossings());
  EXPECT_EQ(p.GetExtraTeilList()->GetNumber(), 0u);
}

TEST_F(StreetScene, RailsUpToThePiecesEndOrNoRailTestMakeNoLevelCrossing) {
  Rail(15, 20);
  Rail(16, 20);
  CStrStrassenTeil toRail(map);
  toRail.Create(10, 20, 16, 20, nullptr, true, STRASSE_1);
  EXPECT_FALSE(toRail.HitTrain());
  CStrStrassenTeil untested(map);
  untested.Create(10, 20, 20, 20, nullptr, false, STRASSE_1);
  EXPECT_FALSE(untested.HitTrain());
  EXPECT_EQ(untested.GetExtraTeilList(), nullptr);
  // Running to -x the crossing starts beyond the rail and runs back.
  CStrStrassenTeil back(map);
  back.Create(20, 20, 10, 20, nullptr, true, STRASSE_1);
  ASSERT_TRUE(back.HitTrain());
  auto* c = static_cast<CGrdCrossing*>(back.GetExtraTeilList()->GetHead());
  EXPECT_EQ(c->GetRichtung().GetValue(), 3);
  EXPECT_EQ(c->GetStartY(), 21);
  EXPECT_EQ(c->GetEndY(), 20);
  EXPECT_EQ(c->GetMY(), -1);
  short x = 0, y = 0;
  c->GetInsertPoint(x, y);
  EXPECT_EQ(y, 20);
  // Turned round, it is the crossing laid the other way from the same
  // street cell: its picture is not symmetric, so the cells move by one.
  short sx = 0, sy = 0;
  c->GetStreetCell(sx, sy);
  c->Turn();
  EXPECT_EQ(c->GetStartY(), 19);
  EXPECT_EQ(c->GetEndY(), 20);
  EXPECT_EQ(c->GetMY(), 1);
  EXPECT_EQ(c->GetRichtung().GetValue(), 1);
  short tx = 0, ty = 0;
  c->GetStreetCell(tx, ty);
  EXPECT_EQ(std::make_pair(tx, ty), std::make_pair(sx, sy));
  c->Turn();
  EXPECT_EQ(c->GetStartY(), 21);
  EXPECT_EQ(c->GetMY(), -1);

  // A piece running to -y: the crossing lies across x.
  Rail(30, 20);
  Rail(30, 19);
  CStrStrassenTeil down(map);
  down.Create(30, 25, 30, 15, nullptr, true, STRASSE_1);
  ASSERT_TRUE(down.HitTrain());
  auto* d = static_cast<CGrdCrossing*>(down.GetExtraTeilList()->GetHead());
  EXPECT_EQ(d->GetRichtung().GetValue(), 0);
  EXPECT_EQ(d->GetStartX(), 29);
  EXPECT_EQ(d->GetEndX(), 30);
  EXPECT_EQ(d->GetEndY(), 20);
  EXPECT_EQ(d->GetMX(), 1);
  EXPECT_TRUE(d->PointHitExtraTeil(30, 21));
  EXPECT_FALSE(d->PointHitExtraTeil(31, 20));
  EXPECT_EQ(d->GetMicroStartX(), 28);
  EXPECT_EQ(d->GetMicroStartY(), 18);
}

TEST_F(StreetScene, ARemovedBridgeAlongYPutsBackEachGroundItCovered) {
  River(40, 30, isotest::kFlower);
  River(40, 31, isotest::kFilter);
  River(40, 32, isotest::kFilter);
  River(40, 33, isotest::kBuilding);
  CStrStrassenTeil p(map);
  p.Create(40, 27, 40, 36, nullptr, false, STRASSE_1);
  CStrExtTlList* list = p.GetExtraTeilList();
  ASSERT_NE(list, nullptr);
  auto* bridge = static_cast<CStrBride*>(list->GetHead());
  EXPECT_EQ(bridge->GetRichtung().GetValue(), 1);
  CWorldObj* street = host.CreateObject(OBJ_STREET_PIECE);
  short x = 40, y = 30;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  list->InsertIntoIsoWelt(map, x, y, street, false);
  EXPECT_EQ(y, 33);
  EXPECT_EQ(map->GetIsoInfo(40, 30)->GetResID(ISO_LAYER_GROUND), CStrBride::kStartUp);
  EXPECT_EQ(map->GetIsoInfo(40, 31)->GetResID(ISO_LAYER_GROUND), CStrBride::kDeck);
  EXPECT_EQ(map->GetIsoInfo(40, 33)->GetResID(ISO_LAYER_GROUND), CStrBride::kStartDown);
  y = 30;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  list->RemoveFromIsoWelt(x, y);
  EXPECT_EQ(map->GetIsoInfo(40, 30)->GetResID(ISO_LAYER_GROUND), isotest::kFlower);
  EXPECT_EQ(map->GetIsoInfo(40, 31)->GetResID(ISO_LAYER_GROUND), isotest::kFilter);
  EXPECT_EQ(map->GetIsoInfo(40, 32)->GetResID(ISO_LAYER_GROUND), isotest::kFilter);
  EXPECT_EQ(map->GetIsoInfo(40, 33)->GetResID(ISO_LAYER_GROUND), isotest::kBuilding);
  for (int t = 30; t <= 33; ++t) EXPECT_EQ(GroundAt(40, t), OBJ_RIVER) << t;
}

TEST(StreetPiece, JunctionsStrictlyInsideAPieceAlongEitherAxisHitIt) {
  auto along = Piece(5, 0, 5, 10);
  CStrJunction inside(nullptr, nullptr), end(nullptr, nullptr), beside(nullptr, nullptr);
  inside.Create(5, 4, STRASSE_1);
  end.Create(5, 10, STRASSE_1);
  beside.Create(6, 4, STRASSE_1);
  short x = 0, y = 0;
  ASSERT_TRUE(along->JunctionHitStreet(&inside, x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 4);
  EXPECT_FALSE(along->JunctionHitStreet(&end, x, y));
  EXPECT_FALSE(along->JunctionHitStreet(&beside, x, y));
  EXPECT_FALSE(along->JunctionHitStreet(nullptr, x, y));
  auto across = Piece(0, 4, 9, 4);
  EXPECT_TRUE(across->JunctionHitStreet(&beside, x, y));
  EXPECT_EQ(x, 6);
  EXPECT_FALSE(across->JunctionHitStreet(&inside, x, y) && x != 5);
  for (CStrJunction* j : {&inside, &end, &beside}) j->Destroy();
}

TEST(StreetExtraPart, TurningAPartAlongXExchangesItsEnds) {
  std::unique_ptr<CStrExtTeil> p(Part(4, 6, 8, 6));
  EXPECT_EQ(p->Turn(), 0);
  EXPECT_EQ(p->GetStartX(), 8);
  EXPECT_EQ(p->GetEndX(), 4);
  EXPECT_TRUE(p->PointHitExtraTeil(4, 6));
  EXPECT_FALSE(p->PointHitExtraTeil(8, 6));
}

TEST_F(StreetScene, ABridgeDrawnWhileLoadingKeepsTheGroundOfItsRecord) {
  for (int x = 14; x <= 16; ++x) River(x, 20);
  CStrStrassenTeil p(map);
  p.Create(10, 20, 20, 20, nullptr, false, STRASSE_1);
  CWorldObj* street = host.CreateObject(OBJ_STREET_PIECE);
  short x = 14, y = 20;
  CStrExtTlList* list = p.GetExtraTeilList();
  ASSERT_TRUE(list->StartAtKoor(x, y));
  list->InsertIntoIsoWelt(map, x, y, street, false);
  // Drawn again as a loaded game does, over its own tiles: the river stays recorded.
  x = 14;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  list->InsertIntoIsoWelt(map, x, y, street, true);
  EXPECT_EQ(static_cast<CStrBride*>(list->GetHead())->GetGroundResStart(), kRiverTile);
  x = 14;
  ASSERT_TRUE(list->StartAtKoor(x, y));
  list->RemoveFromIsoWelt(x, y);
  EXPECT_EQ(map->GetIsoInfo(14, 20)->GetResID(ISO_LAYER_GROUND), kRiverTile);
}
