// The debug layers' panels on the real game, read off the screen: each
// panel shows when its condition holds, with the numbers of the objects it
// describes, and not otherwise. A line is read by drawing its box and the
// expected text over it again: the screen stays the same exactly when the
// panel wrote that text there.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "worldbase/building_catalogue.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "scenario_opnv_steps.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;
using L = CUserIntDebug;

std::string Format(const char* format, int a) {
  char text[200];
  std::snprintf(text, sizeof text, format, a);
  return text;
}
std::string Format(const char* format, int a, int b) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

struct DebugPanels : testing::Test {
  Scenario game;
  CZorvaWorld& world = game.World();
  CUserInt& ui = game.Ui();
  QnoDisplay* display = world.GetDisplay();
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(world.GetResourceManager(), 823);
  const uint32_t grey = buffer->GetClosestColor(90, 90, 90);
  Cell c;  // the junction of the test streets

  void SetUp() override {
    ASSERT_NE(font, nullptr);
    std::filesystem::create_directories("SaveGame");
    CUserInt::m_ActivateDebugInfo = 1;
  }
  void TearDown() override {
    CUserInt::m_ActivateDebugInfo = 0;
    CUserInt::m_MakeAgents = false;
    CUserInt::m_Debug.netCheck = 0;
    CUserInt::selObj.selectedObject = nullptr;
    CUserInt::selObj.selectedStreet = nullptr;
    CUserInt::selObj.selectedCrossing = nullptr;
    ui.SetFilter(1, false);
  }

  // An avenue with a street joining it from the south at c, and a track
  // south of them.
  void BuildStreets() {
    ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
    ASSERT_EQ(BuildStreet(world, c.x - 9, c.y, c.x + 9, c.y), STR_BUILD_OK);
    ASSERT_EQ(BuildStreet(world, c.x, c.y, c.x, c.y + 9), STR_BUILD_OK);
    CStrBuildLine track(static_cast<short>(c.x + 1), static_cast<short>(c.y + 5), static_cast<short>(c.x + 11),
                        static_cast<short>(c.y + 5));
    ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
  }

  void Front(int tx, int ty) {
    CUserInt::selObj.mouseTileX = tx;
    CUserInt::selObj.mouseTileY = ty;
    buffer->FillRect(0, 0, game.Width(), game.Height(), grey);
    ui.RenderDebugInfoFront(display);
  }
  void Back() {
    buffer->FillRect(0, 0, game.Width(), game.Height(), grey);
    ui.RenderDebugInfo(display);
  }

  // True when the box shows exactly the text.
  bool Shows(int x1, int y1, int x2, int y2, const std::string& text) {
    std::vector<uint16_t> before;
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) before.push_back(game.Pixel(x, y));
    buffer->FillRect(x1, y1, x2, y2, buffer->GetClosestColor(255, 255, 255));
    buffer->FillRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, 0);
    buffer->RenderText(font, x1 + 2, y1 + 1, text.c_str(), 0xFFFF);
    size_t i = 0;
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (game.Pixel(x, y) != before[i++]) return false;
    return true;
  }
  // A line of a panel: its box as wide as its text.
  bool ShowsLine(int x, int y, const std::string& text) {
    return Shows(x, y, x + buffer->GetTextLength(font, text.c_str()) + L::kLinePad, y + L::kLineBox, text);
  }
  bool ShowsColumn(int row, const std::string& text) {
    const int y = L::kColumnY + row * L::kLineHeight;
    return Shows(L::kColumnX1, y, L::kColumnX2, y + L::kLineBox, text);
  }
  // Nothing of a panel was drawn into the rectangle.
  bool Empty(int x1, int y1, int x2, int y2) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (game.Pixel(x, y) != grey) return false;
    return true;
  }
  // A one-cell house north of the avenue, a location of the city model.
  CBuildingObject* House(int& bx, int& by) {
    TIsoRichtung dir = ISO_RICHTUNG_0;
    int resId = 0;
    for (int variant = 1; variant <= 3 && resId == 0; ++variant)
      CBuildingDataList::GetNrByData(OBJ_RESIDENTIAL, 1, 1, variant, dir, resId);
    bx = c.x - 3, by = c.y - 1;
    auto* house = dynamic_cast<CBuildingObject*>(world.CreateObject(
        OBJ_RESIDENTIAL, resId, CIsoRichtung(0), bx, by, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1));
    return house && house->GetSimLocation() ? house : nullptr;
  }
};

TEST_F(DebugPanels, TheCursorColumnNamesTheCellItsDistrictsAndTheCityModelsCounters) {
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  ASSERT_NE(city, nullptr);
  BuildStreets();
  int bx = 0, by = 0;
  CBuildingObject* building = House(bx, by);
  ASSERT_NE(building, nullptr);
  Front(bx, by);
  EXPECT_TRUE(ShowsColumn(0, Format("Iso X/Y: %i/%i", bx, by)));
  EXPECT_TRUE(ShowsColumn(1, Format("D:C/B:  %i/%i", CSimLocationFactory::DistrictOf(bx, by),
                                    building->GetSimLocation()->GetDistrictID())));
  EXPECT_TRUE(ShowsColumn(2, Format("AgRedist:  %i", city->ReplanCount())));
  EXPECT_TRUE(ShowsColumn(3, Format("DLA:  %i", city->NrOfAgents())));
  EXPECT_TRUE(ShowsColumn(4, Format("Ticks:  %i", world.GetGameSpeedMs())));
  EXPECT_TRUE(ShowsColumn(5, Format("Grp/Nr: %i/%i ", CUserInt::m_Debug.browseGroup, CUserInt::m_Debug.browseEntry)));

  // A cell without a building has no building district; off the map, no
  // district at all.
  Front(c.x - 3, c.y);
  EXPECT_TRUE(ShowsColumn(1, Format("D:C/B:  %i/%i", CSimLocationFactory::DistrictOf(c.x - 3, c.y), -1)));
  Front(-1, -1);
  EXPECT_TRUE(ShowsColumn(1, "D:C/B:  -1/-1"));
}

TEST_F(DebugPanels, TheComputationAndTheAgentsFlagShowWhatTheyStandFor) {
  Front(-1, -1);
  int pass = 0;  // 0 while no hour is being computed
  world.GetSimWelt()->ComputateSlotState(pass);
  EXPECT_TRUE(Shows(2, L::kComputeY, 200, L::kComputeY + L::kLineBox, Format("Computating ...%i", pass)));
  const int flagBox[4] = {L::kMakeAgentsX, L::kMakeAgentsY, L::kMakeAgentsX + 101, L::kMakeAgentsY + L::kLineBox};
  EXPECT_TRUE(Empty(flagBox[0], flagBox[1], flagBox[2], flagBox[3]));
  CUserInt::m_MakeAgents = true;
  Front(-1, -1);
  EXPECT_TRUE(Shows(flagBox[0], flagBox[1], flagBox[2], flagBox[3], "MakeAgents"));
  // The flag puts the city's growth target 50000 above its people.
  CDataExchange* dx = world.GetDataExchange();
  dx->CalculateGrowth(1.0, 0.0);
  const int made = dx->GetTargetPeople();
  CUserInt::m_MakeAgents = false;
  CUserInt::m_StaticCity = true;
  dx->CalculateGrowth(1.0, 0.0);
  CUserInt::m_StaticCity = false;
  EXPECT_EQ(made, dx->GetTargetPeople() + 50000) << "the static city's target is the people";
}

TEST_F(DebugPanels, TheSelectionPanelReadsTheStreetAndTheJoinMarkingUnderTheCursor) {
  BuildStreets();
  ui.SetToolNr(2, 1, -1);  // the street tool computes the join marking
  CStrStrasse* avenue = ui.GetStrasseAt(c.x - 3, c.y);
  ASSERT_NE(avenue, nullptr);
  int y = L::kSelectionY;
  const int x = L::kSelectionX;
  Front(c.x - 3, c.y);
  EXPECT_TRUE(ShowsLine(x, y, "Strasse"));
  EXPECT_TRUE(ShowsLine(x, y += L::kLineHeight, Format("Strasse: %i  ", avenue->GetSimID())));
  EXPECT_TRUE(ShowsLine(x, y += L::kLineHeight, " B/BB/BC/BE/RC/BRC: 0/0/0/0/0/0"));
  const char* names[4] = {"/ES", "/SW", "/WN", "/NE"};
  for (int d = 0; d < 4; ++d) {
    SCOPED_TRACE(d);
    const CUserInt::SelRichtung& r = ui.GetSelRichtung(c.x - 3, c.y, d);
    char from[24], to[24];
    CUserInt::SelStreetFT(from, static_cast<CUserInt::ESelStreetFromTo>(r.from));
    CUserInt::SelStreetFT(to, static_cast<CUserInt::ESelStreetFromTo>(r.to));
    EXPECT_TRUE(ShowsLine(x, y += L::kLineHeight, std::string("From/To ") + from + "/" + to + names[d]));
    int mx = -1, my = -1;
    ui.GetSelMeeting(c.x - 3, c.y, d, mx, my);
    EXPECT_TRUE(ShowsLine(x, y += L::kLineHeight, Format("TO: X/Y: %i/%i", mx, my)));
  }
  // The street's side of the junction: one cell before it.
  Front(c.x - 1, c.y);
  EXPECT_TRUE(ShowsLine(x, L::kSelectionY + 2 * L::kLineHeight, " B/BB/BC/BE/RC/BRC: 0/0/1/0/0/0"));
  Front(c.x, c.y);
  EXPECT_TRUE(ShowsLine(x, L::kSelectionY, "Kreuzung"));
  Front(c.x + 5, c.y + 5);
  EXPECT_TRUE(ShowsLine(x, L::kSelectionY, "Schienen:"));
}

TEST_F(DebugPanels, PriorityStreetsShowOnlyOverACrossing) {
  BuildStreets();
  auto* crossing = dynamic_cast<CKreuzObj*>(game.Map().GetIsoTileObject(c.x, c.y, ISO_LAYER_GROUND));
  ASSERT_NE(crossing, nullptr);
  ASSERT_EQ(crossing->SetVarData("KR.AMPEL", 1), 0);  // signs
  CStrStrasse* p[2] = {};
  CStrStrasse* n[2] = {};
  crossing->GetPriorityStreets(&p[0], &p[1]);
  crossing->GetNonPriorityStreets(&n[0], &n[1]);
  const auto id = [](CStrStrasse* s) { return s ? static_cast<int>(s->GetSimID()) : -1; };
  ASSERT_NE(p[0], nullptr) << "a T junction gives way to its through street";
  Front(c.x, c.y);
  const int x = L::kPriorityX1 + 2, y = L::kPriorityY1 + 2;
  EXPECT_TRUE(ShowsLine(x, y, Format("Priority Street 1,2: %i/%i ", id(p[0]), id(p[1]))));
  EXPECT_TRUE(ShowsLine(x, y + L::kLineHeight, Format("Priority Street 1,2: %i/%i ", id(n[0]), id(n[1]))));
  Front(c.x - 3, c.y);
  EXPECT_TRUE(Empty(L::kPriorityX1, L::kPriorityY1, L::kPriorityX2, L::kPriorityY2));
}

TEST_F(DebugPanels, TheSelectedObjectIsDescribedWhileTheSelectionToolIsOn) {
  BuildStreets();
  ui.SetToolNr(1, -1, -1);
  const int x = L::kInfoX, y = L::kInfoY;
  // A street piece.
  auto* piece = dynamic_cast<CStreetObj*>(game.Map().GetIsoTileObject(c.x - 3, c.y, ISO_LAYER_GROUND));
  ASSERT_NE(piece, nullptr);
  CStrStrasse* avenue = piece->GetStreetList();
  CUserInt::selObj.selectedStreet = piece;
  Front(c.x - 3, c.y);
  char text[160];
  std::snprintf(text, sizeof text, "ID/FL/FL24/C /L: %i/%i/%i/%i/%i     ", avenue->GetSimID(), avenue->GetAuslastung(),
                avenue->GetAuslastung24(), avenue->GetCapacity(), avenue->GetLaenge());
  EXPECT_TRUE(ShowsLine(x, y, text));
  int flow = 0, capacity = 0;
  piece->GetAuslastung(&flow, &capacity);
  std::snprintf(text, sizeof text, "FL/C/L/T/G: %i/%i/%i/%i/%.2f       ", flow, capacity, avenue->GetLaenge(),
                avenue->GetStreetType().GetValue(), capacity > 0 ? static_cast<double>(flow) / capacity : 0.0);
  EXPECT_TRUE(ShowsLine(x, y + 2 * L::kLineHeight, text));
  EXPECT_TRUE(ShowsLine(x, y + 3 * L::kLineHeight, Format("ID:%i ", piece->GetSimID())));
  EXPECT_TRUE(ShowsLine(x, y + 4 * L::kLineHeight, "IN  : "));
  // Not with another tool.
  ui.SetToolNr(2, 1, -1);
  CUserInt::selObj.selectedStreet = piece;
  Front(c.x - 3, c.y);
  EXPECT_FALSE(ShowsLine(x, y, text));
  ui.SetToolNr(1, -1, -1);
  CUserInt::selObj.selectedStreet = nullptr;

  // The junction with its crossing id and cell.
  CWorldObj* junctionObject = game.Map().GetIsoTileObject(c.x, c.y, ISO_LAYER_GROUND);
  auto* crossing = dynamic_cast<CKreuzObj*>(junctionObject);
  ASSERT_NE(crossing, nullptr);
  CUserInt::selObj.selectedCrossing = crossing;
  Front(c.x, c.y);
  std::snprintf(text, sizeof text, "CrossID: %i X/Y: %i/%i", crossing->GetWorldObject()->GetSimID(), c.x, c.y);
  EXPECT_TRUE(ShowsLine(x, y, text));
  CUserInt::selObj.selectedCrossing = nullptr;

  // A track piece: its id and length.
  auto* rail = dynamic_cast<CStreetObj*>(game.Map().GetIsoTileObject(c.x + 5, c.y + 5, ISO_LAYER_GROUND));
  ASSERT_NE(rail, nullptr);
  ASSERT_EQ(rail->GetType(), OBJ_RAIL_PIECE);
  CUserInt::selObj.selectedObject = rail;
  Front(c.x + 5, c.y + 5);
  EXPECT_TRUE(ShowsLine(x, y, Format("ID/L:%i/%i     ", rail->GetStreetList()->GetSimID(),
                                     rail->GetStreetList()->GetLaenge())));
  EXPECT_GT(rail->GetStreetList()->GetLaenge(), 0);

  // A building: its place, nearest crossing, district and capacities.
  int bx = 0, by = 0;
  CBuildingObject* building = House(bx, by);
  ASSERT_NE(building, nullptr);
  EXPECT_GT(building->GetSimLocation()->NrOfHomes(), 0);
  const CSimLocation* location = building->GetSimLocation();
  CUserInt::selObj.selectedObject = building;
  Front(bx, by);
  const short cross = location->NearestCrossing();
  CStrJunction* nearest = world.GetStreetNet()->GetJunctionByID(static_cast<unsigned short>(cross));
  ASSERT_NE(nearest, nullptr) << "the house stands by the avenue";
  std::snprintf(text, sizeof text, "LocXY: %i/%i CrossID:%i X/Y: %i/%i", location->Position().PosX(),
                location->Position().PosY(), cross, nearest->GetXPos(), nearest->GetYPos());
  EXPECT_TRUE(ShowsLine(x, y, text));
  EXPECT_TRUE(ShowsLine(x, y + 2 * L::kLineHeight, Format("DistrictID: %i", location->GetDistrictID())));
  EXPECT_TRUE(ShowsLine(x, y + 3 * L::kLineHeight, Format("Homes: %i", location->NrOfHomes())));
  EXPECT_TRUE(ShowsLine(x, y + 5 * L::kLineHeight, Format("Arbeitspl\xe4tze: %i", location->NrOfJobs())));

  // A stop: its id in the small box.
  CSecondLayerObject* stop = PlaceStop(game, 1, {c.x - 6, c.y});
  ASSERT_NE(stop, nullptr);
  ui.SetToolNr(1, -1, -1);
  CUserInt::selObj.selectedObject = stop;
  Front(c.x - 6, c.y);
  EXPECT_TRUE(ShowsLine(L::kPriorityX1 + 2, L::kPriorityY1 + 2, Format("ID: %i ", static_cast<int>(stop->GetID()))));
}

TEST_F(DebugPanels, ThePublicTransportPanelListsTheLinesWhileItsFilterIsOn) {
  BuildStreets();
  CSecondLayerObject* west = PlaceStop(game, 1, {c.x - 6, c.y});
  CSecondLayerObject* east = PlaceStop(game, 1, {c.x + 5, c.y});
  ASSERT_TRUE(west && east);
  COpnvLine* line = MakeLine(*world.GetOpnv(), NET_BUS, {west, east});
  ASSERT_NE(line, nullptr);
  const short* ids = nullptr;
  int streets = 0, stops = 0, stopStreets = 0;
  line->GetStreetList(&ids, &streets);
  line->GetHstList(&ids, &stops);
  line->GetHstStreetList(&ids, &stopStreets);
  EXPECT_EQ(stops, 2);
  char text[96];
  std::snprintf(text, sizeof text, "Nr/S: %2i // %2i", line->GetID(), streets);
  const std::string first = text;
  std::snprintf(text, sizeof text, "Nr/H/S: %2i // %2i // %2i", line->GetID(), stops, stopStreets);
  const std::string second = text;

  ui.SetFilter(1, false);
  Front(-1, -1);
  EXPECT_FALSE(ShowsLine(L::kOpnvX, L::kOpnvY, first));
  ui.SetFilter(1, true);
  Front(-1, -1);
  EXPECT_TRUE(ShowsLine(L::kOpnvX, L::kOpnvY, first));
  EXPECT_TRUE(ShowsLine(L::kOpnvX, L::kOpnvY + L::kLineHeight, second));

  // The back layer's network check names the longest line and lists the
  // streets and stops of the chosen line after the city's three lines.
  CUserInt::m_Debug.netCheck = 1;
  CUserInt::selObj.selectedLine = line;
  Back();
  CUserInt::selObj.selectedLine = nullptr;
  int y = L::kCityY + 3 * L::kLineHeight;
  line->GetStreetList(&ids, &streets);
  ASSERT_GT(streets, 0);
  for (int i = 0; i < streets; ++i, y += L::kLineHeight)
    EXPECT_TRUE(ShowsLine(L::kCityX, y, Format("Nr/StrID: %i/%i", i, ids[i]))) << i;
  line->GetHstList(&ids, &stops);
  const short* onStreets = nullptr;
  line->GetHstStreetList(&onStreets, &stopStreets);
  for (int i = 0; i < stops; ++i, y += L::kLineHeight) {
    std::snprintf(text, sizeof text, "Nr/HstID/Street/Distance/Time/Flow: %i/%i/%i/%i/%i/%i", i, ids[i], onStreets[i],
                  static_cast<int>(line->GetData()->distances[i]), static_cast<int>(line->GetData()->times[i]),
                  line->GetPassengers());
    EXPECT_TRUE(ShowsLine(L::kCityX, y, text)) << i;
  }
  EXPECT_TRUE(Shows(L::kMaxStreetX, L::kMaxStreetY, L::kMaxStreetX + 101, L::kMaxStreetY + 24,
                    Format("MaxStreet %i", streets)));
}

TEST_F(DebugPanels, TheNetworkCheckShowsTheCityTotalsAndTheGrowthTargets) {
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  CDataExchange* dx = world.GetDataExchange();
  BuildStreets();
  int bx = 0, by = 0;
  ASSERT_NE(House(bx, by), nullptr);
  Back();
  EXPECT_TRUE(Empty(L::kCityX, L::kCityY, 700, L::kCityY + 3 * L::kLineHeight)) << "only with the network check";
  CUserInt::m_Debug.netCheck = 1;
  Back();
  char text[200];
  std::snprintf(text, sizeof text,
                "CityModell: Ho/Re: %i/%i Jo/Wo: %i/%i Sc/Pu: %i/%i Sh/Co: %i/%i Le/Ly: %i/%i Park: %i",
                static_cast<int>(city->NrOfHomes()), static_cast<int>(city->NrOfResidents()),
                static_cast<int>(city->NrOfJobs()), static_cast<int>(city->NrOfWorkers()),
                static_cast<int>(city->NrOfSchoolSeats()), static_cast<int>(city->NrOfScholars()),
                static_cast<int>(city->NrOfShops()), static_cast<int>(city->NrOfConsumers()),
                static_cast<int>(city->NrOfLeisurePoints()), static_cast<int>(city->NrOfLeisurers()),
                static_cast<int>(city->NrOfParking()));
  EXPECT_TRUE(ShowsLine(L::kCityX, L::kCityY, text));
  // The same summed over the districts.
  long sum[11] = {};
  for (int dx = 0; dx < 16; ++dx)
    for (int dy = 0; dy < 16; ++dy)
      if (const CSimDistrict* d = world.GetSimWelt()->GetDistrict(dx, dy)) {
        const int v[11] = {d->NrOfHomes(),   d->NrOfResidents(),  d->NrOfJobs(),         d->NrOfWorkers(),
                           d->NrOfSchoolSeats(), d->NrOfScholars(), d->NrOfShops(),       d->NrOfConsumers(),
                           d->NrOfLeisurePoints(), d->NrOfLeisurers(), d->NrOfParking()};
        for (int k = 0; k < 11; ++k) sum[k] += v[k];
      }
  EXPECT_GT(sum[0], 0) << "the house's homes";
  std::snprintf(text, sizeof text, "Districts: Ho/Re: %i/%i Jo/Wo: %i/%i Sc/Pu: %i/%i Sh/Co: %i/%i Le/Ly: %i/%i Park: %i",
                int(sum[0]), int(sum[1]), int(sum[2]), int(sum[3]), int(sum[4]), int(sum[5]), int(sum[6]),
                int(sum[7]), int(sum[8]), int(sum[9]), int(sum[10]));
  EXPECT_TRUE(ShowsLine(L::kCityX, L::kCityY + L::kLineHeight, text));
  std::snprintf(text, sizeof text, "Target: People/Homes/Jobs: %i/%i/%i Growthhindernis:  %i", dx->GetTargetPeople(),
                dx->GetTargetHomes(), dx->GetTargetJobs(), dx->GetGrowthHindernis());
  EXPECT_TRUE(ShowsLine(L::kCityX, L::kCityY + 2 * L::kLineHeight, text));
}

TEST_F(DebugPanels, WithTheDebugModeOffTheFrameShowsNoPanel) {
  CUserInt::m_ActivateDebugInfo = 0;
  game.Run({Move(300, 200), Frames(2)});
  const std::string line = Format("Iso X/Y: %i/%i", CUserInt::selObj.mouseTileX, CUserInt::selObj.mouseTileY);
  EXPECT_FALSE(ShowsColumn(0, line));
  CUserInt::m_ActivateDebugInfo = 1;
  game.Run({Frames(2)});
  EXPECT_TRUE(ShowsColumn(0, Format("Iso X/Y: %i/%i", CUserInt::selObj.mouseTileX, CUserInt::selObj.mouseTileY)));
}

}  // namespace
