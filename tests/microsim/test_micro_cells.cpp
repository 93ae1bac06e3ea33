// The micro-cell layout of a tile: copying a "Micr" record, resolving its
// links, the queries on the lane graph, the sim ids and detaching a layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_seams.h"
#include "micro_test_layouts.h"
#include "support/test_support.h"
#include "writers/blob_writers.h"

using namespace microtest;

namespace {

constexpr uint32_t kCellAt = MICR_HEADER_SIZE;

void PatchCount(Bytes& b, uint32_t cell, uint8_t count) {
  b[kCellAt + cell * MICR_CELL_SIZE + MICR_CELL_AT_SUCCESSOR_COUNT] = count;
}

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A layout as values: each cell's fields and its links as indices within
// the layout (-1 none, -2 another layout's).
std::vector<long> Shape(CQnoMicroZelle& layout) {
  std::vector<long> v{layout.GetCount(), layout.GetLinkState(), layout.IsVisible()};
  auto at = [&](const Cell* p) -> long {
    if (!p) return -1;
    return layout.Owns(p) ? static_cast<long>(p - layout.GetZelle(0)) : -2;
  };
  v.push_back(at(layout.GetFirstRender()));
  for (int i = 0; i < layout.GetCount(); ++i) {
    const Cell& c = *layout.GetZelle(i);
    v.insert(v.end(), {c.m_ID, c.m_LaneKind, c.m_XOffset, c.m_YOffset, c.m_Locked, c.m_Visible, c.m_Position,
                       c.m_OldPosition, c.m_Choice, c.m_AnzNachfolger, c.m_SimID, c.m_Closed, c.m_CarKind,
                       at(c.m_pVorgaenger), at(c.m_pNextRender), c.m_pCar != nullptr, layout.Owns(&c)});
    for (const Cell* k : c.m_pNachfolger) v.push_back(at(k));
    for (const Cell* k : c.m_pConflict) v.push_back(at(k));
  }
  return v;
}

}  // namespace

TEST(MicroLayoutCreate, RefusesForeignRecordsAndCopiesEveryCell) {
  Bytes b = Record({C(7, 4, -12, 30, {9}, 0, 9), C(9, 0, 5, -6, {}, 7)}, 7);
  Bytes old = b;
  old[MICR_AT_VERSION] = 12;
  EXPECT_EQ(CQnoMicroZelle::Create(View(old), true), nullptr);
  Bytes foreign = b;
  foreign[0] = 'm';
  EXPECT_EQ(CQnoMicroZelle::Create(View(foreign), true), nullptr);
  EXPECT_EQ(CQnoMicroZelle::Create(MicroLayoutBlob(), true), nullptr);

  b[kCellAt + MICR_CELL_AT_LOCKED] = 1;
  LayoutPtr layout(CQnoMicroZelle::Create(View(b), false));
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->GetLinkState(), CQnoMicroZelle::kCopied);
  ASSERT_EQ(layout->GetCount(), 2);
  const Cell& a = *layout->GetZelle(0);
  EXPECT_EQ(a.m_ID, 7);
  EXPECT_EQ(a.m_LaneKind, 4);
  EXPECT_EQ(a.m_XOffset, -12);
  EXPECT_EQ(a.m_YOffset, 30);
  EXPECT_EQ(a.m_Locked, 1);
  EXPECT_EQ(a.m_Visible, 0);
  EXPECT_EQ(a.m_Position, Cell::kNoPosition);
  EXPECT_EQ(a.m_OldPosition, Cell::kNoPosition);
  EXPECT_EQ(a.m_Choice, Cell::kNoChoice);
  EXPECT_EQ(a.m_pCar, nullptr);
  EXPECT_EQ(a.m_SimID, 0);
  EXPECT_EQ(layout->GetZelle(1)->m_Locked, 0);
  EXPECT_FALSE(layout->IsVisible());
}

TEST(MicroLayoutCreate, MissingFirstRenderCellIsLoggedOnce) {
  OpenErrorLog("errors.log");
  LayoutPtr drawn = Make({C(1, 2, 0, 0)}, 1);
  LayoutPtr other = Make({C(1, 2, 0, 0)}, 7);  // names no cell: no message
  EXPECT_EQ(zortest::ReadFile("errors.log").find("Renderzelle"), std::string::npos);
  LayoutPtr layout = Make({C(1, 2, 0, 0, {2}), C(2, 2, 10, 0, {}, 1)}, 0);
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->GetFirstRender(), nullptr);
  EXPECT_EQ(other->GetFirstRender(), nullptr);
  CloseErrorLog();
  EXPECT_EQ(Occurrences(zortest::ReadFile("errors.log"), "Keine Erste Renderzelle gesetzt"), 1);
}

TEST(MicroLayoutCreate, FromTheResourceArchivesById) {
  Bytes old = Record({C(1, 2, 0, 0)});
  old[MICR_AT_VERSION] = 12;
  zorgen::GlaWriter w;
  w.Add(900, Record({C(1, 2, 0, 0, {2}), C(2, 2, 5, 0, {}, 1)}));
  w.Add(901, old);
  ASSERT_TRUE(w.WriteFile("micro.gla"));
  QnoResourceManager resources;
  ASSERT_EQ(resources.AddWadFile("micro.gla"), 0);
  LayoutPtr layout(CQnoMicroZelle::Create(&resources, 900, true));
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->GetCount(), 2);
  EXPECT_EQ(layout->GetZelle(1)->m_Visible, 1);
  EXPECT_EQ(CQnoMicroZelle::Create(&resources, 901, true), nullptr);
  EXPECT_EQ(CQnoMicroZelle::Create(&resources, 902, true), nullptr);
  EXPECT_EQ(CQnoMicroZelle::Create(nullptr, 900, true), nullptr);
}

TEST(MicroLayoutCreate, ConvertedCopiesAreWhatReadingAndConvertingTheRecordGives) {
  // Links in order, ids out of order with a duplicate and an unknown link,
  // and no first render cell (logged for every layout made).
  const std::vector<Bytes> records = {
      Record({C(1, 2, 0, 0, {2, 3}, 0, 3), C(2, 4, 10, 0, {3}, 1), C(3, 2, 20, -4, {}, 2, 2)}, 3),
      Record({C(9, 2, 0, 0, {7, 55}, 0, 7), C(7, 1, 10, 5, {9}, 9), C(7, 2, 3, 3)}, 9),
      Record({C(1, 2, 0, 0, {2}), C(2, 2, 10, 0, {}, 1)}, 0)};
  auto archive = [&](const char* name, const std::vector<Bytes>& with) {
    zorgen::GlaWriter w;
    for (size_t i = 0; i < with.size(); ++i) w.Add(910 + static_cast<unsigned>(i), with[i]);
    ASSERT_TRUE(w.WriteFile(name));
  };
  archive("converted.gla", records);
  OpenErrorLog("errors.log");
  QnoResourceManager resources;
  ASSERT_EQ(resources.AddWadFile("converted.gla"), 0);
  for (unsigned id = 910; id < 913; ++id)
    for (bool visible : {true, false, true}) {
      LayoutPtr read(CQnoMicroZelle::Create(&resources, id, visible));
      ASSERT_NE(read, nullptr);
      read->Konvert();
      const uint64_t made0 = CQnoMicroZelle::GetMadeCount();
      LayoutPtr made(CQnoMicroZelle::CreateConverted(&resources, id, visible));
      ASSERT_NE(made, nullptr);
      EXPECT_EQ(CQnoMicroZelle::GetMadeCount(), made0 + 1);
      EXPECT_EQ(Shape(*made), Shape(*read)) << id << " visible " << visible;
    }
  CloseErrorLog();
  // Three reads and three made layouts of the record that names no cell.
  EXPECT_EQ(Occurrences(zortest::ReadFile("errors.log"), "Keine Erste Renderzelle gesetzt"), 6);
  // Another manager, and other archives in the same one, give other records
  // under the same ids.
  archive("swapped.gla", {records[2], records[0], records[1]});
  QnoResourceManager other;
  ASSERT_EQ(other.AddWadFile("swapped.gla"), 0);
  LayoutPtr fromOther(CQnoMicroZelle::CreateConverted(&other, 910, true));
  EXPECT_EQ(fromOther->GetCount(), 2);
  resources.Clear();
  ASSERT_EQ(resources.AddWadFile("swapped.gla"), 0);
  LayoutPtr read(CQnoMicroZelle::Create(&resources, 911, true));
  read->Konvert();
  LayoutPtr made(CQnoMicroZelle::CreateConverted(&resources, 911, true));
  EXPECT_EQ(Shape(*made), Shape(*read));
  EXPECT_EQ(made->GetCount(), 3);
  EXPECT_EQ(CQnoMicroZelle::CreateConverted(&resources, 913, true), nullptr);
  EXPECT_EQ(CQnoMicroZelle::CreateConverted(nullptr, 910, true), nullptr);
}

TEST(MicroLayoutKonvert, LinksResolveWithinTheLayoutAndCountWhatResolved) {
  // Cell 1 names 2, a missing 99 and 3; cell 3 names 1 twice over a gap.
  Bytes b = Record({C(1, 2, 0, 0, {2, 99, 3}, 0, 3), C(2, 2, 10, 0, {}, 1, 0), C(3, 2, 20, 0, {0, 1}, 77, 2)}, 1);
  PatchCount(b, 0, 3);
  PatchCount(b, 2, 9);  // a stored count beyond the four slots
  for (int k = 0; k < 4; ++k) {
    const uint32_t at = kCellAt + MICR_CELL_AT_CONFLICTS + 4u * k;
    b[at] = 2;  // every conflict names cell 2
  }
  LayoutPtr layout(CQnoMicroZelle::Create(View(b), true));
  ASSERT_NE(layout, nullptr);
  ASSERT_EQ(layout->Konvert(), 0);
  EXPECT_EQ(layout->GetLinkState(), CQnoMicroZelle::kConverted);
  Cell* c1 = layout->GetZelle(0);
  Cell* c2 = layout->GetZelle(1);
  Cell* c3 = layout->GetZelle(2);
  EXPECT_EQ(layout->GetFirstRender(), c1);
  // The unknown id leaves no hole: the resolved successors come first.
  EXPECT_EQ(c1->m_pNachfolger[0], c2);
  EXPECT_EQ(c1->m_pNachfolger[1], c3);
  EXPECT_EQ(c1->m_pNachfolger[2], nullptr);
  EXPECT_EQ(c1->m_AnzNachfolger, 2);
  EXPECT_EQ(c3->m_pNachfolger[0], c1);
  EXPECT_EQ(c3->m_AnzNachfolger, 1);
  EXPECT_EQ(c2->m_AnzNachfolger, 0);
  EXPECT_EQ(c2->m_pVorgaenger, c1);
  EXPECT_EQ(c3->m_pVorgaenger, nullptr);  // 77 names no cell
  EXPECT_EQ(c1->m_pNextRender, c3);
  EXPECT_EQ(c3->m_pNextRender, c2);
  EXPECT_EQ(c2->m_pNextRender, nullptr);
  for (Cell* c : {c1, c2, c3}) {
    EXPECT_EQ(c->m_pOwner, layout.get());
    for (Cell* k : c->m_pConflict) EXPECT_EQ(k, nullptr);
  }
  // The last successor is the last resolved one.
  EXPECT_EQ(layout->GetVirtNext(c1), c3);
  EXPECT_EQ(layout->GetVirtNext(c2), nullptr);
  // Converting twice would read pointers as ids.
  EXPECT_EQ(layout->Konvert(), 1);
  EXPECT_EQ(c1->m_pNachfolger[0], c2);
}

TEST(MicroLayoutKonvert, DuplicateIdsResolveToTheFirstCell) {
  LayoutPtr layout = Make({C(5, 2, 0, 0, {6}), C(6, 2, 1, 0), C(6, 2, 2, 0)}, 5);
  EXPECT_EQ(layout->GetZelle(0)->m_pNachfolger[0], layout->GetZelle(1));
  EXPECT_EQ(layout->FindObject(6), layout->GetZelle(1));
  EXPECT_EQ(layout->FindObject(0), nullptr);
  // Cells numbered from 1 in order, and with a gap in the numbers.
  LayoutPtr ordered = Make({C(1, 2, 0, 0, {3}), C(2, 2, 0, 0), C(3, 2, 0, 0)});
  EXPECT_EQ(ordered->GetZelle(0)->m_pNachfolger[0], ordered->GetZelle(2));
  EXPECT_EQ(ordered->FindObject(3), ordered->GetZelle(2));
  EXPECT_EQ(ordered->FindObject(4), nullptr);
  LayoutPtr gap = Make({C(1, 2, 0, 0, {4}), C(2, 2, 0, 0), C(4, 2, 0, 0)});
  EXPECT_EQ(gap->GetZelle(0)->m_pNachfolger[0], gap->GetZelle(2));
  EXPECT_EQ(gap->FindObject(3), nullptr);
}

TEST(MicroLayoutScreen, PositionsFollowTheAnchorAndTheNewRotationsOffsets) {
  LayoutPtr layout = Make({C(1, 2, 3, -4, {2}), C(2, 2, 10, 6, {}, 1), C(3, 2, -7, 8)});
  layout->SetScreenPos(100, 200);
  EXPECT_EQ(layout->GetZelle(0)->m_ScreenX, 103);
  EXPECT_EQ(layout->GetZelle(0)->m_ScreenY, 196);
  EXPECT_EQ(layout->GetZelle(2)->m_ScreenX, 93);

  Cell* c1 = layout->GetZelle(0);
  TestCar* car = Park(c1);
  c1->m_SimID = 12;
  // The new rotation's record has cells 1 and 2 only, at other places and
  // with other links.
  LayoutPtr turned = Make({C(2, 2, -20, -21), C(1, 2, 30, 31, {}, 2)});
  EXPECT_EQ(layout->TurnRichtung(turned.get(), 50, 60), 0);
  EXPECT_EQ(c1->m_XOffset, 30);
  EXPECT_EQ(c1->m_ScreenX, 80);
  EXPECT_EQ(c1->m_ScreenY, 91);
  EXPECT_EQ(layout->GetZelle(1)->m_ScreenX, 30);
  EXPECT_EQ(layout->GetZelle(1)->m_ScreenY, 39);
  // Cell 3 has no namesake: its own offsets, the new anchor.
  EXPECT_EQ(layout->GetZelle(2)->m_ScreenX, 43);
  EXPECT_EQ(layout->GetZelle(2)->m_ScreenY, 68);
  EXPECT_EQ(c1->m_pNachfolger[0], layout->GetZelle(1));
  EXPECT_EQ(c1->m_pCar, car);
  EXPECT_EQ(c1->m_SimID, 12);
  EXPECT_EQ(layout->TurnRichtung(nullptr, 0, 0), 1);
  EXPECT_EQ(c1->m_ScreenX, 80);
}

TEST(MicroLayoutLinks, SetNachfolgerFillsTheFirstFreeSlotUntilFull) {
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0), C(4, 2, 0, 0), C(5, 2, 0, 0), C(6, 2, 0, 0)});
  Cell* c1 = layout->GetZelle(0);
  EXPECT_EQ(layout->GetLinkState(), CQnoMicroZelle::kConverted);
  for (int i = 1; i <= 4; ++i) layout->SetNachfolger(c1, layout->GetZelle(i));
  EXPECT_EQ(layout->GetLinkState(), CQnoMicroZelle::kLinked);
  EXPECT_EQ(c1->m_AnzNachfolger, 4);
  EXPECT_EQ(c1->m_pNachfolger[3], layout->GetZelle(4));
  EXPECT_EQ(layout->GetZelle(3)->m_pVorgaenger, c1);
  layout->SetNachfolger(c1, layout->GetZelle(5));
  EXPECT_EQ(c1->m_AnzNachfolger, 4);
  EXPECT_EQ(layout->GetZelle(5)->m_pVorgaenger, nullptr);
  EXPECT_EQ(layout->GetVirtNext(c1), layout->GetZelle(4));
  layout->SetNachfolger(nullptr, c1);
  layout->SetNachfolger(c1, nullptr);
  EXPECT_EQ(c1->m_AnzNachfolger, 4);
}

TEST(MicroLayoutLinks, ExitsEntriesAndChoices) {
  // 1 -> 2, 3 -> 4, 5 alone: exits 2, 4, 5; entries 1, 3, 5.
  LayoutPtr layout = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {}, 1), C(3, 2, 0, 0, {4}), C(4, 2, 0, 0, {}, 3),
                           C(5, 2, 0, 0)});
  EXPECT_EQ(layout->FindExitZelle(0), layout->GetZelle(1));
  EXPECT_EQ(layout->FindExitZelle(1), layout->GetZelle(3));
  EXPECT_EQ(layout->FindExitZelle(2), layout->GetZelle(4));
  EXPECT_EQ(layout->FindExitZelle(3), nullptr);
  EXPECT_EQ(layout->FindEntryZelle(0), layout->GetZelle(0));
  EXPECT_EQ(layout->FindEntryZelle(1), layout->GetZelle(2));
  EXPECT_EQ(layout->FindEntryZelle(2), layout->GetZelle(4));
  EXPECT_EQ(layout->FindEntryZelle(3), nullptr);

  LayoutPtr ring = Make({C(1, 2, 0, 0, {2}, 2), C(2, 2, 0, 0, {1}, 1)});
  EXPECT_EQ(ring->FindExitZelle(0), nullptr);
  EXPECT_EQ(ring->FindEntryZelle(0), nullptr);

  Cell* c1 = layout->GetZelle(0);
  EXPECT_EQ(layout->GetNextZelle(c1), nullptr);
  c1->m_Choice = 0;
  EXPECT_EQ(layout->GetNextZelle(c1), layout->GetZelle(1));
  c1->m_Choice = 1;  // an empty slot
  EXPECT_EQ(layout->GetNextZelle(c1), nullptr);
  // Slot 4 would be the predecessor's place.
  Cell* c2 = layout->GetZelle(1);
  c2->m_Choice = 4;
  EXPECT_EQ(layout->GetNextZelle(c2), nullptr);
  EXPECT_EQ(layout->GetNextZelle(nullptr), nullptr);
  EXPECT_EQ(layout->GetVirtNext(nullptr), nullptr);
}

TEST(MicroLayoutLinks, TheVirtualNextIsTheLastSlotInUseForEveryCount) {
  // A count beyond the slots, as a damaged cell may carry, takes the last.
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0), C(4, 2, 0, 0), C(5, 2, 0, 0)});
  Cell* c = layout->GetZelle(0);
  for (int k = 0; k < Cell::kLinks; ++k) c->m_pNachfolger[k] = layout->GetZelle(k + 1);
  for (int count = 0; count < 256; ++count) {
    c->m_AnzNachfolger = static_cast<uint8_t>(count);
    Cell* expected = count == 0 ? nullptr : layout->GetZelle(std::min(count, Cell::kLinks));
    EXPECT_EQ(layout->GetVirtNext(c), expected) << count;
  }
}

TEST(MicroLayoutLinks, ClosingAnExitDropsTheTurnsThatLeadOnlyThere) {
  // Entry 1 turns to 2 -> 4 or goes on to 3 -> 5; entry 6 leads only to 4.
  LayoutPtr layout = Make({C(1, 2, 0, 0, {2, 3}), C(2, 2, 0, 0, {4}, 1), C(3, 2, 0, 0, {5}, 1),
                           C(4, 2, 0, 0, {}, 2), C(5, 2, 0, 0, {}, 3), C(6, 2, 0, 0, {4})});
  layout->SetFirstSimID(9);
  Cell* c1 = layout->GetZelle(0);
  c1->m_Choice = 1;  // towards 3
  EXPECT_EQ(layout->CloseExit(layout->GetZelle(1)), 0) << "a cell that leads on is no exit";
  // 4 closes, then 2, which led only there; entry 6, which led only there
  // too, ends the ways that come in; 1 still goes on to 3.
  EXPECT_EQ(layout->CloseExit(layout->GetZelle(3)), 2);
  EXPECT_EQ(layout->GetZelle(5)->m_Closed, Cell::kWayEnds);
  EXPECT_EQ(c1->m_AnzNachfolger, 1);
  EXPECT_EQ(c1->m_pNachfolger[0], layout->GetZelle(2));
  EXPECT_EQ(c1->m_Choice, 0) << "the choice keeps naming 3";
  for (int i : {1, 3, 5}) {
    EXPECT_EQ(layout->GetZelle(i)->m_SimID, 0) << "cell " << i + 1;
    EXPECT_EQ(layout->GetZelle(i)->m_AnzNachfolger, 0) << "cell " << i + 1;
  }
  for (int i : {0, 2, 4}) EXPECT_EQ(layout->GetZelle(i)->m_SimID, 9) << "cell " << i + 1;
  // Closed cells are no link's end: the one exit is 5; the entries are 1
  // and 6, where a lane coming in ends.
  EXPECT_EQ(layout->FindExitZelle(0), layout->GetZelle(4));
  EXPECT_EQ(layout->FindExitZelle(1), nullptr);
  EXPECT_EQ(layout->FindEntryZelle(0), c1);
  EXPECT_EQ(layout->FindEntryZelle(1), layout->GetZelle(5));
  EXPECT_EQ(layout->FindEntryZelle(2), nullptr);
  // Closed once, closed for good; a cell of another layout is left alone.
  EXPECT_EQ(layout->CloseExit(layout->GetZelle(3)), 0);
  LayoutPtr other = Lane();
  EXPECT_EQ(layout->CloseExit(other->GetZelle(2)), 0);
  EXPECT_EQ(other->FindExitZelle(0), other->GetZelle(2));
}

TEST(MicroLayoutLinks, RandomCellFollowsTheViewsRandomSource) {
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0), C(4, 2, 0, 0), C(5, 2, 0, 0)});
  bool seen[5] = {};
  for (int i = 0; i < 200; ++i) {
    zor_srandom(static_cast<uint32_t>(i));
    const double r = zor_view_random().Next() / 2147483648.0;
    zor_srandom(static_cast<uint32_t>(i));
    const uint64_t city = zor_random_state();
    Cell* c = layout->GetRandomZelle();
    EXPECT_EQ(zor_random_state(), city);
    ASSERT_NE(c, nullptr);
    const int index = static_cast<int>(c - layout->GetZelle(0));
    EXPECT_EQ(index, static_cast<int>(5 * r));
    seen[index] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
  LayoutPtr empty = Make({});
  EXPECT_EQ(empty->GetRandomZelle(), nullptr);
}

TEST(MicroLayoutLinks, TurnReversesTheFirstLink) {
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0, {3}), C(3, 2, 0, 0, {1}, 2)});
  Cell* c1 = layout->GetZelle(0);
  Cell* c2 = layout->GetZelle(1);
  Cell* c3 = layout->GetZelle(2);
  layout->Turn();
  // Cell 2 held the first link, 2 -> 3; now 3 -> 2 besides 3 -> 1.
  EXPECT_EQ(c2->m_AnzNachfolger, 0);
  EXPECT_EQ(c2->m_pNachfolger[0], nullptr);
  EXPECT_EQ(c2->m_pVorgaenger, c3);
  EXPECT_EQ(c3->m_pVorgaenger, nullptr);
  EXPECT_EQ(c3->m_AnzNachfolger, 2);
  EXPECT_EQ(c3->m_pNachfolger[0], c2);
  EXPECT_EQ(c3->m_pNachfolger[1], c1);
  EXPECT_EQ(c1->m_AnzNachfolger, 0);
}

TEST(MicroLayoutLinks, TurnKeepsTheSuccessorsChoiceAndAFullSuccessor) {
  LayoutPtr layout = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {3, 4}, 1), C(3, 2, 0, 0), C(4, 2, 0, 0)});
  Cell* c1 = layout->GetZelle(0);
  Cell* c2 = layout->GetZelle(1);
  c2->m_Choice = 1;  // cell 4
  layout->Turn();
  EXPECT_EQ(c2->m_AnzNachfolger, 3);
  EXPECT_EQ(c2->m_pNachfolger[0], c1);
  EXPECT_EQ(layout->GetNextZelle(c2), layout->GetZelle(3));
  EXPECT_EQ(c2->m_Choice, 2);

  // A successor with four slots in use takes the cell in its first slot.
  LayoutPtr full = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {3, 4, 5, 6}, 1), C(3, 2, 0, 0), C(4, 2, 0, 0),
                         C(5, 2, 0, 0), C(6, 2, 0, 0)});
  full->Turn();
  Cell* f2 = full->GetZelle(1);
  EXPECT_EQ(f2->m_AnzNachfolger, 4);
  EXPECT_EQ(f2->m_pNachfolger[0], full->GetZelle(0));
  EXPECT_EQ(f2->m_pNachfolger[3], full->GetZelle(5));
  EXPECT_EQ(f2->m_pVorgaenger, nullptr);
}

TEST(MicroLayoutLinks, LinksBetweenLayoutsMakeThemNeighbours) {
  LayoutPtr a = Lane(0), b = Lane(30);
  EXPECT_EQ(a->GetNeighbourCount(), 0u);
  a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
  b->SetNachfolger(b->GetZelle(2), a->GetZelle(0));
  a->SetNachfolger(a->GetZelle(0), a->GetZelle(2));
  EXPECT_EQ(a->GetNeighbourCount(), 1u);
  EXPECT_EQ(b->GetNeighbourCount(), 1u);
  a->Remove();
  EXPECT_EQ(a->GetNeighbourCount(), 0u);
  EXPECT_EQ(b->GetNeighbourCount(), 0u);
  // Cells of a layout not yet converted belong to none.
  Bytes raw = Record({C(1, 2, 0, 0)});
  LayoutPtr copied(CQnoMicroZelle::Create(View(raw), true));
  copied->SetNachfolger(copied->GetZelle(0), b->GetZelle(1));
  EXPECT_EQ(b->GetNeighbourCount(), 0u);
  EXPECT_EQ(copied->GetZelle(0)->m_AnzNachfolger, 1);
}

TEST(MicroLayoutLinks, HasSucessorCountsPairsIntoTheOtherLayout) {
  LayoutPtr a = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0)});
  LayoutPtr b = Make({C(1, 2, 0, 0), C(2, 2, 0, 0)});
  LayoutPtr c = Make({C(1, 2, 0, 0)});
  a->SetNachfolger(a->GetZelle(0), c->GetZelle(0));
  a->SetNachfolger(a->GetZelle(1), b->GetZelle(1));
  a->SetNachfolger(a->GetZelle(1), b->GetZelle(0));
  a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
  EXPECT_EQ(a->HasSucessor(b.get(), 0), a->GetZelle(1));
  EXPECT_EQ(a->HasSucessor(b.get(), 1), a->GetZelle(1));
  EXPECT_EQ(a->HasSucessor(b.get(), 2), a->GetZelle(2));
  EXPECT_EQ(a->HasSucessor(b.get(), 3), nullptr);
  EXPECT_EQ(a->HasSucessor(c.get(), 0), a->GetZelle(0));
  EXPECT_EQ(a->HasSucessor(nullptr, 0), nullptr);
  EXPECT_EQ(b->HasSucessor(a.get(), 0), nullptr);
}

TEST(MicroLayoutLanes, OuterLanesAndSign) {
  for (int kind = 0; kind < 256; ++kind) {
    Cell c;
    c.m_LaneKind = static_cast<uint8_t>(kind);
    const bool outer = kind == 1 || kind == 4 || kind == 5 || kind == 8;
    EXPECT_EQ(CQnoMicroZelle::IsAussenSpur(&c), outer) << kind;
  }
  EXPECT_FALSE(CQnoMicroZelle::IsAussenSpur(nullptr));
  EXPECT_EQ(sign(7), 1);
  EXPECT_EQ(sign(1), 1);
  EXPECT_EQ(sign(0), 0);
  EXPECT_EQ(sign(-1), -1);
  EXPECT_EQ(sign(-32768), -1);
}

TEST(MicroLayoutSimIds, WholeLayoutAndLaneRules) {
  // Lane kinds 0, 1, 2, 4, 5, 8, 99, 3.
  LayoutPtr layout = Make({C(1, 0, 0, 0), C(2, 1, 0, 0), C(3, 2, 0, 0), C(4, 4, 0, 0), C(5, 5, 0, 0), C(6, 8, 0, 0),
                           C(7, 99, 0, 0), C(8, 3, 0, 0)});
  layout->SetFirstSimID(0);
  EXPECT_EQ(SimIds(*layout), std::vector<uint16_t>(8, 0));
  layout->SetFirstSimID(11);
  EXPECT_EQ(SimIds(*layout), std::vector<uint16_t>(8, 11));
  layout->SetFirstSimID(1);
  EXPECT_EQ(SimIds(*layout), std::vector<uint16_t>(8, 1));
  layout->SetSecSimID(0);
  layout->SetSecSimID(1);
  EXPECT_EQ(SimIds(*layout), std::vector<uint16_t>(8, 1));
  layout->SetFirstSimID(11);
  layout->SetSecSimID(22);
  EXPECT_EQ(SimIds(*layout), (std::vector<uint16_t>{11, 11, 22, 11, 11, 11, 11, 22}));

  EXPECT_EQ(layout->HasSimID(22, false), layout->GetZelle(2));
  EXPECT_EQ(layout->HasSimID(11, false), layout->GetZelle(0));
  EXPECT_EQ(layout->HasSimID(11, true), layout->GetZelle(1));
  EXPECT_EQ(layout->HasSimID(22, true), nullptr);
  EXPECT_EQ(layout->HasSimID(33, false), nullptr);
  EXPECT_EQ(layout->HasSimIDAndNoBusspur(11), layout->GetZelle(0));
  layout->GetZelle(0)->m_SimID = 0;
  EXPECT_EQ(layout->HasSimIDAndNoBusspur(11), layout->GetZelle(6));
}

TEST(MicroLayoutSimIds, ChainWalksStopAtTheLayoutsBorder) {
  LayoutPtr a = Lane(0);
  LayoutPtr b = Lane(30);
  a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
  a->SetFirstSimID(b->GetZelle(0), 5);  // not a cell of a: nothing
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 0, 0}));
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{0, 0, 0}));
  b->SetFirstSimID(b->GetZelle(1), 5);  // 2 and back to 1, not into a
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{5, 5, 0}));
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 0, 0}));
  a->SetSecSimID(a->GetZelle(1), 6);  // 2 and on to 3, not into b
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 6, 6}));
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{5, 5, 0}));
  // Walks that take the whole layout.
  LayoutPtr whole = Lane(0);
  whole->SetFirstSimID(whole->GetZelle(2), 1);
  EXPECT_EQ(SimIds(*whole), (std::vector<uint16_t>{1, 1, 1}));
  whole->SetSecSimID(whole->GetZelle(0), 2);
  EXPECT_EQ(SimIds(*whole), (std::vector<uint16_t>{2, 2, 2}));
  whole->SetFirstSimID(whole->GetZelle(2), 0);
  EXPECT_EQ(SimIds(*whole), (std::vector<uint16_t>{2, 2, 2}));
  a->SetSecSimID(nullptr, 7);
  a->SetSecSimID(a->GetZelle(0), 0);
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 6, 6}));

  // A ring of predecessors inside one layout still ends.
  LayoutPtr ring = Make({C(1, 2, 0, 0, {2}, 2), C(2, 2, 0, 0, {1}, 1)});
  ring->SetFirstSimID(ring->GetZelle(0), 9);
  ring->SetSecSimID(ring->GetZelle(0), 8);
  EXPECT_EQ(SimIds(*ring), (std::vector<uint16_t>{8, 8}));
}

TEST(MicroLayoutSimIds, UpdateSpreadsInsideAndNeverAcrossALink) {
  // Two lanes: 1 -> 2 -> 3 and 4 -> 5 -> 6; the middles carry the ids.
  LayoutPtr a = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {3}, 1), C(3, 2, 0, 0, {}, 2), C(4, 2, 0, 0, {5}),
                      C(5, 2, 0, 0, {6}, 4), C(6, 2, 0, 0, {}, 5)});
  a->GetZelle(1)->m_SimID = 40;
  a->GetZelle(4)->m_SimID = 41;
  a->UpdateSimID();
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{40, 40, 40, 41, 41, 41}));

  // A layout whose entry has a predecessor elsewhere, and whose exit leads
  // elsewhere, keeps the other layout's ids out.
  LayoutPtr in = Lane(0);
  LayoutPtr mid = Lane(30);
  LayoutPtr out = Lane(60);
  in->SetFirstSimID(77);
  out->SetFirstSimID(88);
  in->SetNachfolger(in->GetZelle(2), mid->GetZelle(0));
  mid->UpdateSimID();  // 3 is an exit of mid; its predecessors hold no id
  EXPECT_EQ(SimIds(*mid), (std::vector<uint16_t>{0, 0, 0}));
  mid->SetNachfolger(mid->GetZelle(2), out->GetZelle(0));
  mid->UpdateSimID();
  EXPECT_EQ(SimIds(*mid), (std::vector<uint16_t>{0, 0, 0}));
  EXPECT_EQ(SimIds(*in), (std::vector<uint16_t>{77, 77, 77}));
  EXPECT_EQ(SimIds(*out), (std::vector<uint16_t>{88, 88, 88}));
}

TEST(MicroLayoutSimIds, UpdateReachesCellsOffTheExitsWayBack) {
  // 1 -> 3 and 2 -> 3 (branching at 2 too, 2 -> 4): 3 keeps 2 as its one
  // predecessor, so the walk back from the exits never meets 1; the walk
  // forward from the entries does.
  LayoutPtr a = Make({C(1, 2, 0, 0, {3}), C(2, 2, 0, 0, {4, 3}), C(3, 2, 0, 0, {}, 2), C(4, 2, 0, 0)});
  a->GetZelle(2)->m_SimID = 50;
  a->UpdateSimID();
  EXPECT_EQ(a->GetZelle(0)->m_SimID, 50);
  EXPECT_EQ(a->GetZelle(1)->m_SimID, 50);
  EXPECT_EQ(a->GetZelle(3)->m_SimID, 0);  // finds no id on either walk
}

TEST(MicroLayoutSimIds, UpdateTakesTheFirstSuccessorsIdWhenThePredecessorHasNone) {
  // 1 -> 2 -> 3 with an id on the exit only: walking back, 2 and then 1
  // find no id before them and take their successor's.
  LayoutPtr a = Lane(0);
  a->GetZelle(2)->m_SimID = 0;
  a->GetZelle(1)->m_SimID = 0;
  a->GetZelle(0)->m_SimID = 0;
  a->UpdateSimID();
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 0, 0}));
  a->GetZelle(2)->m_SimID = 31;
  a->UpdateSimID();
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{31, 31, 31}));
  // A cell with an id keeps it.
  LayoutPtr b = Lane(0);
  b->GetZelle(0)->m_SimID = 1;
  b->GetZelle(2)->m_SimID = 3;
  b->UpdateSimID();
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{1, 1, 3}));
}

TEST(MicroLayoutSimIds, OutgoingStreetIsTheFirstIdAlongTheFirstSuccessors) {
  // 1 branches to 2 and 4; 2 -> 3 (id 50 on an inner lane, then 51 on an
  // outer lane); 4 has no id and no successor.
  LayoutPtr a = Make({C(1, 2, 0, 0, {2, 4}), C(2, 2, 0, 0, {3}, 1), C(3, 1, 0, 0, {}, 2), C(4, 2, 0, 0)});
  a->GetZelle(1)->m_SimID = 50;
  a->GetZelle(2)->m_SimID = 51;
  Cell* c1 = a->GetZelle(0);
  EXPECT_EQ(a->GetAuslStreet(0, c1, false), 50);
  EXPECT_EQ(a->GetAuslStreet(0, c1, true), 51);
  EXPECT_EQ(a->GetAuslStreet(1, c1, false), 0);
  EXPECT_EQ(a->GetAuslStreet(2, c1, false), 0);
  EXPECT_EQ(a->GetAuslStreet(-1, c1, false), 0);
  EXPECT_EQ(a->GetAuslStreet(4, a->GetZelle(1), false), 0);  // beyond the slots lies the predecessor
  EXPECT_EQ(a->GetAuslStreet(0, nullptr, false), 0);
  // Lane kinds 0 and 99 end the outer-lane walk too.
  a->GetZelle(1)->m_LaneKind = 99;
  EXPECT_EQ(a->GetAuslStreet(0, c1, true), 50);
  a->GetZelle(1)->m_LaneKind = 0;
  EXPECT_EQ(a->GetAuslStreet(0, c1, true), 50);
  // No outer lane on the way: the last cell's id.
  a->GetZelle(1)->m_LaneKind = 2;
  a->GetZelle(2)->m_LaneKind = 2;
  EXPECT_EQ(a->GetAuslStreet(0, c1, true), 51);

  // A ring without ids ends.
  LayoutPtr ring = Make({C(1, 2, 0, 0, {2}, 2), C(2, 2, 0, 0, {1}, 1)});
  EXPECT_EQ(ring->GetAuslStreet(0, ring->GetZelle(0), false), 0);
  ring->GetZelle(0)->m_SimID = 4;
  EXPECT_EQ(ring->GetAuslStreet(0, ring->GetZelle(0), true), 4);
}

TEST(MicroLayoutSimIds, SearchForASimIdReportsTheSlotItWentThrough) {
  OpenErrorLog("errors.log");
  int index = 5;
  LayoutPtr small = Make({C(1, 2, 0, 0, {2, 3}), C(2, 2, 0, 0, {}, 1), C(3, 2, 0, 0, {4}, 1), C(4, 2, 0, 0, {}, 3)});
  EXPECT_EQ(small->IndexRunToZelleWithSimID(nullptr, index, 9, 20), nullptr);
  EXPECT_EQ(index, -1);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Parameter Check Error: pZelle==NULL"), std::string::npos);

  Cell* start = small->GetZelle(0);
  start->m_SimID = 9;  // the starting cell never counts
  EXPECT_EQ(small->IndexRunToZelleWithSimID(start, index, 9, 20), nullptr);
  EXPECT_EQ(index, -1);
  small->GetZelle(3)->m_SimID = 9;
  EXPECT_EQ(small->IndexRunToZelleWithSimID(start, index, 9, 20), small->GetZelle(3));
  EXPECT_EQ(index, 1);
  // Too shallow to reach it.
  EXPECT_EQ(small->IndexRunToZelleWithSimID(start, index, 9, 2), nullptr);
  EXPECT_EQ(small->IndexRunToZelleWithSimID(start, index, 9, 3), small->GetZelle(3));
  small->GetZelle(1)->m_SimID = 9;
  EXPECT_EQ(small->IndexRunToZelleWithSimID(start, index, 9, 20), small->GetZelle(1));
  EXPECT_EQ(index, 0);

  // In a layout of more than 6 cells only outer lanes and kind 99 count.
  LayoutPtr big = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {3}, 1), C(3, 99, 0, 0, {4}, 2), C(4, 4, 0, 0, {}, 3),
                        C(5, 2, 0, 0), C(6, 2, 0, 0), C(7, 2, 0, 0)});
  for (int i = 1; i < 4; ++i) big->GetZelle(i)->m_SimID = 3;
  EXPECT_EQ(big->IndexRunToZelleWithSimID(big->GetZelle(0), index, 3, 20), big->GetZelle(2));
  EXPECT_EQ(index, 0);
  big->GetZelle(2)->m_LaneKind = 2;
  EXPECT_EQ(big->IndexRunToZelleWithSimID(big->GetZelle(0), index, 3, 20), big->GetZelle(3));
  // Six cells are still few enough for any lane.
  LayoutPtr six = Make({C(1, 2, 0, 0, {2}), C(2, 2, 0, 0, {}, 1), C(3, 2, 0, 0), C(4, 2, 0, 0), C(5, 2, 0, 0),
                        C(6, 2, 0, 0)});
  six->GetZelle(1)->m_SimID = 3;
  EXPECT_EQ(six->IndexRunToZelleWithSimID(six->GetZelle(0), index, 3, 20), six->GetZelle(1));
}

TEST(MicroLayoutSimIds, SearchThroughAMeshOfBranchesEnds) {
  // 40 cells, each leading to the next two; the id sits nowhere.
  std::vector<zorgen::MicroCellContent> cells;
  for (uint16_t i = 1; i <= 40; ++i) cells.push_back(C(i, 1, 0, 0, {uint32_t(i % 40 + 1), uint32_t((i + 1) % 40 + 1)}));
  LayoutPtr mesh = Make(cells);
  int index = 0;
  EXPECT_EQ(mesh->IndexRunToZelleWithSimID(mesh->GetZelle(0), index, 1234, 20), nullptr);
  mesh->GetZelle(30)->m_SimID = 1234;
  Cell* found = mesh->IndexRunToZelleWithSimID(mesh->GetZelle(0), index, 1234, 20);
  EXPECT_EQ(found, mesh->GetZelle(30));
  EXPECT_EQ(index, 0);
}

TEST(MicroLayoutRemove, LayoutsFreedWhileTheWholeNetworksGoGiveUpOnlyTheirVehicles) {
  LayoutPtr a = Lane(0), b = Lane(30);
  a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
  b->SetNachfolger(b->GetZelle(2), a->GetZelle(0));
  TestCar::s_alive = TestCar::s_destroyed = 0;
  Park(a->GetZelle(1));
  Park(b->GetZelle(0));
  ASSERT_EQ(TestCar::s_alive, 2);
  {
    CQnoMicroZelle::WholeNetworksGo going;
    // The first one freed leaves the other's cells naming it: the second
    // one freed does not follow them (the sanitizer build would see it).
    a.reset();
    EXPECT_EQ(b->GetZelle(2)->m_AnzNachfolger, 1);
    EXPECT_EQ(TestCar::s_alive, 1);
    b.reset();
  }
  EXPECT_EQ(TestCar::s_alive, 0);
  EXPECT_EQ(TestCar::s_destroyed, 2);
  // After the scope, a layout freed alone detaches its neighbours again.
  LayoutPtr c = Lane(0), d = Lane(30);
  c->SetNachfolger(c->GetZelle(2), d->GetZelle(0));
  d->SetNachfolger(d->GetZelle(2), c->GetZelle(0));
  c.reset();
  EXPECT_EQ(d->GetZelle(2)->m_AnzNachfolger, 0);
  EXPECT_EQ(d->GetNeighbourCount(), 0u);
}

TEST(MicroLayoutRemove, DetachesNeighboursAndDropsVehicles) {
  LayoutPtr before = Make({C(1, 2, 0, 0), C(2, 2, 0, 0)});
  LayoutPtr layout = Lane(0);
  LayoutPtr after = Lane(40);
  Cell* p = before->GetZelle(0);
  before->SetNachfolger(p, before->GetZelle(1));
  before->SetNachfolger(p, layout->GetZelle(0));
  before->SetNachfolger(p, after->GetZelle(1));
  p->m_Choice = 2;  // the cell after the removed one
  layout->SetNachfolger(layout->GetZelle(2), after->GetZelle(0));
  TestCar::s_alive = TestCar::s_destroyed = TestCar::s_cellAtEnd = 0;
  TestCar* car = Park(layout->GetZelle(1));
  ASSERT_EQ(TestCar::s_alive, 1);
  (void)car;

  layout->Remove();
  EXPECT_EQ(TestCar::s_alive, 0);
  EXPECT_EQ(TestCar::s_destroyed, 1);
  EXPECT_EQ(TestCar::s_cellAtEnd, 0);
  EXPECT_EQ(p->m_AnzNachfolger, 2);
  EXPECT_EQ(p->m_pNachfolger[0], before->GetZelle(1));
  EXPECT_EQ(p->m_pNachfolger[1], after->GetZelle(1));
  EXPECT_EQ(p->m_pNachfolger[2], nullptr);
  EXPECT_EQ(p->m_Choice, 1);  // still the same cell
  EXPECT_EQ(after->GetZelle(0)->m_pVorgaenger, nullptr);
  EXPECT_EQ(after->GetZelle(1)->m_pVorgaenger, p);
  for (int i = 0; i < 3; ++i) {
    const Cell* c = layout->GetZelle(i);
    EXPECT_EQ(c->m_pVorgaenger, nullptr);
    EXPECT_EQ(c->m_AnzNachfolger, 0);
    EXPECT_EQ(c->m_pCar, nullptr);
    for (const Cell* s : c->m_pNachfolger) EXPECT_EQ(s, nullptr);
  }
  EXPECT_EQ(layout->GetZelle(1)->m_Position, Cell::kNoPosition);

  // The chosen cell itself going away leaves no choice.
  before->GetZelle(0)->m_Choice = 1;
  after->Remove();
  EXPECT_EQ(p->m_AnzNachfolger, 1);
  EXPECT_EQ(p->m_Choice, Cell::kNoChoice);
}

TEST(MicroLayoutRemove, DeletingALayoutDetachesItAndItsVehicles) {
  LayoutPtr a = Lane(0);
  TestCar::s_alive = 0;
  {
    LayoutPtr b = Lane(30);
    a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
    Park(b->GetZelle(2));
  }
  EXPECT_EQ(TestCar::s_alive, 0);
  EXPECT_EQ(a->GetZelle(2)->m_AnzNachfolger, 0);
  EXPECT_EQ(a->GetZelle(2)->m_pNachfolger[0], nullptr);
}

TEST(MicroLayoutRemove, AFullPredecessorMovesItsLaterSuccessorsUp) {
  LayoutPtr a = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0), C(4, 2, 0, 0)});
  LayoutPtr b = Lane(40);
  Cell* p = a->GetZelle(0);
  a->SetNachfolger(p, b->GetZelle(0));
  for (int i = 1; i < 4; ++i) a->SetNachfolger(p, a->GetZelle(i));
  ASSERT_EQ(p->m_AnzNachfolger, 4);
  b.reset();
  EXPECT_EQ(p->m_AnzNachfolger, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p->m_pNachfolger[i], a->GetZelle(i + 1));
  EXPECT_EQ(p->m_pNachfolger[3], nullptr);
  EXPECT_EQ(a->GetVirtNext(p), a->GetZelle(3));
}

TEST(MicroLayoutRemove, EveryCellLinkedIntoTheLayoutForgetsIt) {
  // Two cells of a lead into one cell of b; b keeps only the last as its
  // predecessor, and both must drop b when b goes.
  LayoutPtr a = Make({C(1, 2, 0, 0), C(2, 2, 0, 0), C(3, 2, 0, 0)});
  LayoutPtr b = Lane(40);
  a->SetNachfolger(a->GetZelle(0), b->GetZelle(0));
  a->SetNachfolger(a->GetZelle(0), a->GetZelle(2));
  a->SetNachfolger(a->GetZelle(1), b->GetZelle(0));
  b->SetNachfolger(b->GetZelle(2), a->GetZelle(2));
  ASSERT_EQ(b->GetZelle(0)->m_pVorgaenger, a->GetZelle(1));
  b.reset();
  EXPECT_EQ(a->GetZelle(0)->m_AnzNachfolger, 1);
  EXPECT_EQ(a->GetZelle(0)->m_pNachfolger[0], a->GetZelle(2));
  EXPECT_EQ(a->GetZelle(0)->m_pNachfolger[1], nullptr);
  EXPECT_EQ(a->GetZelle(1)->m_AnzNachfolger, 0);
  EXPECT_EQ(a->GetZelle(1)->m_pNachfolger[0], nullptr);
  EXPECT_EQ(a->GetZelle(2)->m_pVorgaenger, nullptr);
  // a outlives b and can still be removed.
  a->Remove();
  EXPECT_EQ(a->GetZelle(0)->m_AnzNachfolger, 0);
}

TEST(MicroLayoutVisible, EveryCellDecides) {
  LayoutPtr a = Lane(0);
  EXPECT_TRUE(a->IsVisible());
  a->GetZelle(1)->m_Visible = 0;
  EXPECT_FALSE(a->IsVisible());
  a->SetVisible(true);
  EXPECT_TRUE(a->IsVisible());
  EXPECT_EQ(a->GetZelle(1)->m_Visible, 1);
  a->SetVisible(false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(a->GetZelle(i)->m_Visible, 0);
}
