// A street dragged from the middle of one street onto the middle of another
// makes a T junction at each end; the far one stands as a dead end over the
// street under it until that street is split. On the generated game data
// each T junction takes its cells from its own graphic, once that is on the
// map, with no missing layout logged on the way, and its cells lead into
// and out of its streets as they run.
#include <gtest/gtest.h>

#include <string>

#include "framework/qno_log.h"
#include "junction_scene.h"
#include "microsim/micro_cells.h"
#include "support/test_support.h"

namespace {

using junctiontest::World;

constexpr const char* kNoLayout = "RESID == 0";

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The log's lines of missing layouts; the log must hold the line of the
// last street built, so that an empty or unwritten log does not pass.
int MissingLayouts(int x1, int y1, int x2, int y2) {
  const std::string log = zortest::ReadFile("errors.log");
  const std::string built = "Build Street " + std::to_string(x1) + "/" + std::to_string(y1) + " --> " +
                            std::to_string(x2) + "/" + std::to_string(y2);
  EXPECT_EQ(Occurrences(log, built), 1) << built;
  return Occurrences(log, kNoLayout);
}

// Whether a cell of `from` has a successor in `to`.
bool LeadsInto(CQnoMicroZelle* from, CQnoMicroZelle* to) {
  for (int i = 0; i < from->GetCount(); ++i)
    for (BinaryMicroSimObject* n : from->GetZelle(i)->m_pNachfolger)
      if (to->Owns(n)) return true;
  return false;
}

// The junction's cells and the layout of each street's tile next to it
// lead into each other the ways the street runs.
void ExpectArmsLinked(CStrJunction* j) {
  SCOPED_TRACE(testing::Message() << "junction " << j->GetXPos() << "/" << j->GetYPos());
  CQnoMicroZelle* own = j->GetMicroZelle(static_cast<short>(j->GetXPos()), static_cast<short>(j->GetYPos()));
  ASSERT_NE(own, nullptr);
  for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
    CStrStrasse* s = j->GetStreetByNR(i);
    const bool starts = s->GetStartJunction() == j;
    CQnoMicroZelle* next = starts ? s->GetFirstMicroZelle() : s->GetLastMicroZelle();
    ASSERT_NE(next, nullptr) << "street " << i;
    const bool oneWay = s->GetStreetType() == STRASSE_EINBAHN;
    EXPECT_EQ(LeadsInto(own, next), !oneWay || starts) << "street " << i << " out of the junction";
    EXPECT_EQ(LeadsInto(next, own), !oneWay || !starts) << "street " << i << " into the junction";
  }
}

// Streets of the type along y = 10 and y = 20 from x = 10 to x = 30: one
// street bending round from the first row to the second at x = 10, or two,
// the second bending into the second row from a T junction at (12, 10).
void TwoStreets(World& w, TStrassenType type, bool oneStreet) {
  ASSERT_EQ(w.Build(10, 10, 30, 10, type), STR_BUILD_OK);
  if (oneStreet) {
    ASSERT_EQ(w.Build(10, 10, 10, 20, type), STR_BUILD_OK);
    ASSERT_EQ(w.Build(10, 20, 30, 20, type), STR_BUILD_OK);
    return;
  }
  ASSERT_EQ(w.Build(12, 10, 12, 20, type), STR_BUILD_OK);
  ASSERT_EQ(w.Build(12, 20, 30, 20, type), STR_BUILD_OK);
  ASSERT_NE(w.StreetBetween(12, 10, 30, 20), nullptr);
}

TEST(TJunctionCells, AStreetFromOneStreetOntoAnotherLinksBothTJunctionsAndLogsNoMissingLayout) {
  struct Case {
    TStrassenType streets, between;
  };
  for (const bool oneStreet : {false, true})
    for (const Case c : {Case{STRASSE_1, STRASSE_1}, Case{STRASSE_2, STRASSE_1}, Case{STRASSE_1, STRASSE_EINBAHN},
                         Case{STRASSE_2, STRASSE_EINBAHN}}) {
      SCOPED_TRACE(testing::Message() << (oneStreet ? "one street" : "two streets") << " of type " << c.streets
                                      << ", between them " << c.between);
      World w{junctiontest::GameData{}};
      OpenErrorLog("errors.log");
      ASSERT_NO_FATAL_FAILURE(TwoStreets(w, c.streets, oneStreet));
      ASSERT_EQ(MissingLayouts(oneStreet ? 10 : 12, 20, 30, 20), 0);
      ASSERT_EQ(w.Build(20, 10, 20, 20, c.between), STR_BUILD_OK);
      EXPECT_EQ(MissingLayouts(20, 10, 20, 20), 0);
      for (const int y : {10, 20}) {
        CStrJunction* j = w.At(20, y);
        ASSERT_NE(j, nullptr) << y;
        EXPECT_EQ(j->GetAnzLinkedStreets(), 3);
        EXPECT_TRUE(j->IsDrawn());
        ExpectArmsLinked(j);
      }
      // The split streets' far ends keep their cells linked with the halves.
      ExpectArmsLinked(w.At(30, 10));
      CloseErrorLog();
    }
}

TEST(TJunctionCells, FourLaneStreetsJoinedByASideStreetGetTheirJunctionGroupsCells) {
  World w{junctiontest::GameData{}};
  OpenErrorLog("errors.log");
  ASSERT_NO_FATAL_FAILURE(TwoStreets(w, STRASSE_VIERSPURIG, true));
  ASSERT_EQ(w.Build(20, 10, 20, 20, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(MissingLayouts(20, 10, 20, 20), 0);
  CStrStrasse* side = nullptr;
  for (CStrStrasse* s : w.Streets())
    if (s->GetStreetType() == STRASSE_1) side = s;
  ASSERT_NE(side, nullptr);
  for (CStrJunction* j : {side->GetStartJunction(), side->GetEndJunction()}) {
    SCOPED_TRACE(testing::Message() << "junction " << j->GetXPos() << "/" << j->GetYPos());
    EXPECT_EQ(j->GetAnzLinkedStreets(), 3);
    EXPECT_TRUE(j->IsDrawn());
    CQnoMicroZelle* own = j->GetMicroZelle(static_cast<short>(j->GetXPos()), static_cast<short>(j->GetYPos()));
    ASSERT_NE(own, nullptr);
    // The side street's cells are reached from the junction's and the
    // other way round.
    CQnoMicroZelle* next = side->GetStartJunction() == j ? side->GetFirstMicroZelle() : side->GetLastMicroZelle();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(junctiontest::Reached(own).count(next));
    EXPECT_TRUE(junctiontest::Reached(next).count(own));
  }
}

// A grid drawn as a player does: rows from a first column, then the
// columns cell block by cell block from row to row, each making a T
// junction at both ends or completing a crossing. Rows alternate between
// types 1 and 2, the middle column but one runs one way.
TEST(TJunctionCells, AGridBuiltBlockByBlockLogsNoMissingLayoutAndLinksEveryJunction) {
  constexpr int kRows = 4, kStep = 4, kOrigin = 10, kEnd = kOrigin + 3 * kStep;
  World w{junctiontest::GameData{}};
  OpenErrorLog("errors.log");
  ASSERT_EQ(w.Build(kOrigin, kOrigin, kEnd, kOrigin), STR_BUILD_OK);
  ASSERT_EQ(w.Build(kOrigin, kOrigin, kOrigin, kEnd), STR_BUILD_OK);
  for (int j = 1; j < kRows; ++j) {
    const int y = kOrigin + j * kStep;
    ASSERT_EQ(w.Build(kOrigin, y, kEnd, y, j % 2 ? STRASSE_2 : STRASSE_1), STR_BUILD_OK) << j;
  }
  for (int i = 1; i < kRows; ++i)
    for (int j = 0; j + 1 < kRows; ++j) {
      const int x = kOrigin + i * kStep;
      ASSERT_EQ(w.Build(x, kOrigin + j * kStep, x, kOrigin + (j + 1) * kStep, i == 2 ? STRASSE_EINBAHN : STRASSE_1),
                STR_BUILD_OK)
          << i << "/" << j;
    }
  EXPECT_EQ(MissingLayouts(kEnd, kEnd - kStep, kEnd, kEnd), 0);
  int crossings = 0;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    if (j->GetAnzLinkedStreets() < 3) continue;
    crossings += j->GetAnzLinkedStreets() == 4;
    ExpectArmsLinked(j);
  }
  EXPECT_EQ(crossings, 4);
}

}  // namespace
