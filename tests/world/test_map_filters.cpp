// The view filter's registry and colour rules, the thematic map's palettes
// and district choice, and the small map's geometry, blending and click,
// on the real game's map.
#include <gtest/gtest.h>

#include <vector>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "sim/sim_location.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;

std::vector<int> g_tiles;
enumOK CountTile(int x, int, TMap_ColorHeight*) {
  g_tiles.push_back(x);
  return ENUM_OK;
}
int g_rects = 0;
enumOK CountRect(IsoViewRectType) {
  ++g_rects;
  return ENUM_OK;
}

struct Maps : towntest::Town {
  CTwoDMap& Map() { return *game.Ui().GetTwoDMap(); }
  CSmallMap& Small() { return *game.Ui().GetSmallMap(); }
  static QnoInteractionEvent Event(int type, int x, int y, int button = 0) {
    QnoInteractionEvent e;
    e.type = type, e.x = x, e.y = y, e.button = button;
    return e;
  }
  // Turns the small map as a view rectangle of that rotation does.
  void Turn(int direction) {
    IsoViewRectType r = world.GetIsoWelt()->GetViewRect();
    r.richtung = direction;
    CSmallMap::UpdateViewRect(r);
  }
  // The screen position that shows cell (x, y) on the small map.
  void SmallScreen(int x, int y, int* sx, int* sy) {
    int px, py;
    Small().IsoKoorToScreenKoor(x, y, &px, &py);
    *sx = Small().GetWindowPosX() + px;
    *sy = Small().GetWindowPosY() + Small().GetHeight() - 1 - py;
  }
  uint16_t SmallPixel(int x, int y) {
    int px, py;
    Small().IsoKoorToScreenKoor(x, y, &px, &py);
    return CSmallMap::WorldPicture().Get(py, px);
  }
  TMap_ColorHeight Colour(int x, int y, int* result = nullptr) {
    TMap_ColorHeight c;
    const int r = CViewFilter::GetIsoTileColor(Map().GetMapIndex(), x, y, &c);
    if (result) *result = r;
    return c;
  }
};

TEST_F(Maps, TheRegistryHoldsThreeMapsAndPassesNothingWhileInactive) {
  // The thematic map and the small map registered first, in that order.
  ASSERT_EQ(CViewFilter::GetMapCount(), 2);
  EXPECT_EQ(Map().GetMapIndex(), 0);
  EXPECT_EQ(Small().GetMapIndex(), 1);
  g_tiles.clear();
  g_rects = 0;
  ASSERT_EQ(CViewFilter::AddMap(CountTile, CountRect, 6, nullptr), 2);
  EXPECT_EQ(CViewFilter::AddMap(CountTile, CountRect, 7, nullptr), -1);
  EXPECT_EQ(CViewFilter::GetMapCount(), 3);
  EXPECT_EQ(CViewFilter::GetFilter(2), 6) << "the fourth changed nothing";

  CViewFilter::Deactivate();
  CViewFilter::Update(5, 5);
  CViewFilter::UpdateViewRect(world.GetIsoWelt()->GetViewRect());
  EXPECT_TRUE(g_tiles.empty());
  EXPECT_EQ(g_rects, 0);
  CViewFilter::Activate();
  CViewFilter::Update(5, 5);
  CViewFilter::UpdateViewRect(world.GetIsoWelt()->GetViewRect());
  EXPECT_EQ(g_tiles, std::vector<int>{5});
  EXPECT_EQ(g_rects, 1);

  // Cells outside the map and a missing record are failures, not colours.
  int result = 0;
  Colour(128, 5, &result);
  EXPECT_EQ(result, 1);
  Colour(5, -1, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(CViewFilter::GetIsoTileColor(0, 5, 5, nullptr), 1);
}

TEST_F(Maps, TheBuiltCityLayerGivesHeightClassesAndTheStreetTypeLayerTheStreets) {
  const int house = RowWith(OBJ_RESIDENTIAL, 1, 24, 1, 1);
  ASSERT_GE(house, 0);
  ASSERT_NE(Place(OBJ_RESIDENTIAL, CBuildingDataList::GetPotentialByNr(house)->resId, 62, 61), nullptr);
  const int factory = OneCell(OBJ_INDUSTRY);
  Map().ChangeFilter(1);
  const int h = BuildingAt(62, 61)->GetSimLocation()->GetPotential()->height & 0xFF;
  const TMap_ColorHeight home = Colour(62, 61);
  EXPECT_EQ(home.height, std::min(h, 3) * 80);
  if (factory > 0 && Place(OBJ_INDUSTRY, factory, 62, 65) != nullptr) {
    const TMap_ColorHeight works = Colour(62, 65);
    EXPECT_EQ(works.height, 80) << "industry is always one class high";
    EXPECT_EQ(std::tuple(int(works.red), int(works.green), int(works.blue)), std::tuple(255, 255, 0));
  }
  EXPECT_EQ(Colour(60, 61).red, 180) << "streets grey";
  EXPECT_EQ(Colour(10, 10).green, 159) << "grass";

  // Street types: the side street by its speed, land a darker grey.
  Map().ChangeFilter(6);
  const TMap_ColorHeight side = Colour(60, 61);
  auto* road = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(60, 61, ISO_LAYER_GROUND));
  ASSERT_NE(road, nullptr);
  ASSERT_EQ(road->GetStreetType(), 1);
  const double v = road->GetStreetList()->GetVelocity();
  const auto expected = v >= 9.0 ? std::tuple(255, 0, 255) : v >= 3.0 ? std::tuple(109, 2, 103) : std::tuple(0, 0, 0);
  EXPECT_EQ(std::tuple(int(side.red), int(side.green), int(side.blue)), expected) << "speed " << v;
  EXPECT_EQ(std::tuple(int(Colour(62, 61).red), int(Colour(62, 61).green)), std::tuple(159, 159));
  EXPECT_EQ(Colour(60, 63).red, 180) << "the junction";
}

TEST_F(Maps, PalettesFollowTheLayerTableAndTheKeyShowsThePalette) {
  Map().ChangeFilter(7);
  EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(0, 255, 0));
  EXPECT_EQ(Map().GetPaletteEntry(255), Scenario::Rgb(255, 0, 0));
  EXPECT_EQ(Map().GetFrameColor(), Scenario::Rgb(255, 255, 255));
  const CMapPicture& key = CTwoDMap::KeyPicture();
  EXPECT_EQ(key.Get(0, 0), Map().GetPaletteEntry(0));
  EXPECT_EQ(key.Get(11, 151), Map().GetPaletteEntry(151 * 255 / 152));
  Map().ChangeFilter(4);
  EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(0, 0, 0)) << "no vacancy is black";
  EXPECT_EQ(Map().GetPaletteEntry(1), Scenario::Rgb(1, 254, 0));
  // The bump: red, a bright yellow in the middle, green; index 0 replaced.
  Map().ChangeFilter(9);
  EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(0, 159, 98));
  EXPECT_EQ(Map().GetPaletteEntry(128), Scenario::Rgb(224, 224, 0));
  EXPECT_EQ(Map().GetPaletteEntry(255), Scenario::Rgb(1, 251, 0));
  Map().ChangeFilter(15);
  EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(0, 0, 0));
  EXPECT_EQ(Map().GetPaletteEntry(255), Scenario::Rgb(251, 1, 0)) << "reversed";
  EXPECT_EQ(Map().GetFrameColor(), Scenario::Rgb(128, 128, 255));
  // Layer 20 keeps the frame colour of the layer before.
  Map().ChangeFilter(17);
  EXPECT_EQ(Map().GetPaletteEntry(255), Scenario::Rgb(0, 0, 0));
  EXPECT_EQ(Map().GetPaletteEntry(127), Scenario::Rgb(0, 128, 0));
  Map().ChangeFilter(20);
  EXPECT_EQ(Map().GetFrameColor(), Scenario::Rgb(128, 128, 255));
  EXPECT_EQ(Map().GetPaletteEntry(255), Scenario::Rgb(0, 255, 0));
  // Layer names: none for layer 0 or outside the table.
  EXPECT_STREQ(CTwoDMap::GetFilterName(7), "QNO_MAP_V_STRASSENAUSLASTUNG");
  EXPECT_EQ(CTwoDMap::GetFilterName(0), nullptr);
  EXPECT_EQ(CTwoDMap::GetFilterName(-1), nullptr);
}

TEST_F(Maps, HoverAndClickInTheAccessibilityLayerChooseTheDistrictUnderTheCursor) {
  Map().ChangeFilter(14);
  Map().DisplayHideMap(DISPLAY_SHOW);
  Map().Render(nullptr, 200, 200);
  const int left = 200 - 128, top = 200 - 128;
  CUiHost* host = CUiHost::Get();
  for (int rotation = 0; rotation < 4; ++rotation) {
    g_IsoRichtung = rotation;
    // The view (and the frame drawn for it) away from the cell.
    world.GetIsoWelt()->SetIsoCenter(64, 64);
    int column, row;
    CTwoDMap::CellToScreen(100, 20, &column, &row);
    // The screen picture shows the cell's pixel as a 2 x 2 block there.
    TMap_ColorHeight mark;
    mark.red = 248;
    mark.blue = 248;
    CTwoDMap::UpdateTile(100, 20, &mark);
    Map().OnPlayloopTurn();
    const uint16_t magenta = Scenario::Rgb(248, 0, 248);
    for (int d = 0; d < 4; ++d)
      EXPECT_EQ(CTwoDMap::ScreenPicture().Get(row + d / 2, column + d % 2), magenta) << "rotation " << rotation;
    EXPECT_NE(CTwoDMap::ScreenPicture().Get(row + 2, column), magenta);
    EXPECT_NE(CTwoDMap::ScreenPicture().Get(row, column + 2), magenta);
    const int sx = left + column + 1, sy = top + 255 - row - 1;
    int a, b;
    ASSERT_TRUE(Map().ScreenToCell(sx, sy, &a, &b));
    EXPECT_EQ(std::pair(a, b), std::pair(100, 20)) << "rotation " << rotation;
    const int cx0 = world.GetIsoWelt()->GetCenterX(), cy0 = world.GetIsoWelt()->GetCenterY();
    QnoInteractionEvent move = Event(QNO_EVENT_MOUSEMOVE, sx, sy);
    EXPECT_EQ(Map().InputFilter(&move, nullptr), 0);
    int u = -1, v = -1;
    ASSERT_TRUE(host->GetQueryDistrict(&u, &v));
    EXPECT_EQ(std::pair(u, v), std::pair(12, 2)) << "hover, rotation " << rotation;
    EXPECT_EQ(world.GetIsoWelt()->GetCenterX(), cx0) << "hovering does not move the view";
    EXPECT_EQ(world.GetIsoWelt()->GetCenterY(), cy0);
    QnoInteractionEvent press = Event(QNO_EVENT_BUTTONDOWN, sx, sy);
    EXPECT_EQ(Map().InputFilter(&press, nullptr), 0);
    ASSERT_TRUE(host->GetQueryDistrict(&u, &v));
    EXPECT_EQ(std::pair(u, v), std::pair(12, 2)) << "click, rotation " << rotation;
    EXPECT_EQ(world.GetIsoWelt()->GetCenterX(), 100) << "the click centres the view on the cell";
    EXPECT_EQ(world.GetIsoWelt()->GetCenterY(), 20);
  }
  g_IsoRichtung = 0;
  // A click in the title strip still counts as inside; outside is not taken.
  QnoInteractionEvent title = Event(QNO_EVENT_BUTTONDOWN, left + 100, top + 5);
  EXPECT_EQ(Map().InputFilter(&title, nullptr), 0);
  QnoInteractionEvent outside = Event(QNO_EVENT_BUTTONDOWN, left - 5, top + 100);
  EXPECT_EQ(Map().InputFilter(&outside, nullptr), 1);
  Map().DisplayHideMap(DISPLAY_HIDE);
  QnoInteractionEvent hidden = Event(QNO_EVENT_BUTTONDOWN, left + 100, top + 100);
  EXPECT_EQ(Map().InputFilter(&hidden, nullptr), 1);
}

TEST_F(Maps, TheSmallMapsDiamondTurnsWithTheViewAndAClickJumpsToTheCellShown) {
  // At 140 x 72 in direction 2 the bottom corner is cell (0, 0).
  Turn(2);
  int px, py;
  Small().IsoKoorToScreenKoor(0, 0, &px, &py);
  EXPECT_EQ(std::pair(px, py), std::pair(70, 0));
  Small().IsoKoorToScreenKoor(127, 127, &px, &py);
  EXPECT_EQ(std::pair(px, py), std::pair(70, 71));
  Small().DisplayHideMap(DISPLAY_SHOW);
  for (int direction = 0; direction < 4; ++direction) {
    Turn(direction);
    for (int x = 8; x < 128; x += 24)
      for (int y = 8; y < 128; y += 24) {
        int sx, sy;
        SmallScreen(x, y, &sx, &sy);
        QnoInteractionEvent press = Event(QNO_EVENT_BUTTONDOWN, sx, sy);
        ASSERT_EQ(Small().InputFilter(&press, nullptr), 0) << x << "/" << y;
        EXPECT_NEAR(world.GetIsoWelt()->GetCenterX(), x, 2) << "direction " << direction << " cell " << x << "/" << y;
        EXPECT_NEAR(world.GetIsoWelt()->GetCenterY(), y, 2) << "direction " << direction << " cell " << x << "/" << y;
      }
  }
  // The corner cells are refused; a right click too.
  Turn(2);
  int sx, sy;
  // The top corner's pixel computes cell (127, 127).
  QnoInteractionEvent corner = Event(QNO_EVENT_BUTTONDOWN, Small().GetWindowPosX() + 70, Small().GetWindowPosY());
  EXPECT_EQ(Small().InputFilter(&corner, nullptr), 1);
  SmallScreen(60, 60, &sx, &sy);
  QnoInteractionEvent right = Event(QNO_EVENT_BUTTONDOWN, sx, sy, 1);
  EXPECT_EQ(Small().InputFilter(&right, nullptr), 1);
  // Key 81 turns the diamond until the next view rectangle sets it back.
  QnoInteractionEvent turn = Event(QNO_EVENT_KEYDOWN, CSmallMap::kTurnKey, 0);
  EXPECT_EQ(Small().InputFilter(&turn, nullptr), 1);
  EXPECT_EQ(Small().GetDirection(), 3);
  Turn(2);
  EXPECT_EQ(Small().GetDirection(), 2);
}

TEST_F(Maps, AChangedCellBlendsIntoTheSmallMapAndConvergesOnItsColour) {
  Turn(2);
  Small().DisplayHideMap(DISPLAY_SHOW);
  Small().OnPlayloopTurn();
  // A lone cell whose pixel no other cell shares: every change halves the
  // distance of each channel to the new colour.
  const int x = 40, y = 90;
  TMap_ColorHeight red;
  red.red = 248;
  int last = 1 << 20;
  for (int i = 0; i < 8; ++i) {
    CSmallMap::UpdateTile(x, y, &red);
    int r, g, b;
    CMapPicture::Unpack(SmallPixel(x, y), 565, &r, &g, &b);
    const int distance = (248 - r) + g + b;
    // Each change halves the distance, down to the display's steps.
    EXPECT_LE(distance, last / 2 + 8) << "change " << i;
    last = distance;
  }
  EXPECT_LE(last, 16);
  // Showing the map again after hiding rebuilds it from the world.
  Small().DisplayHideMap(DISPLAY_HIDE);
  Small().DisplayHideMap(DISPLAY_SHOW);
  int r, g, b;
  CMapPicture::Unpack(SmallPixel(x, y), 565, &r, &g, &b);
  EXPECT_LT(r, 100) << "grass again";
}

}  // namespace
