// The player builds a small town's streets with the mouse: side streets in
// a grid off a four-lane avenue, a main street over a river on a bridge,
// and a track with a level crossing. The network, the money booked and the
// demand simulation's crossings and streets agree with what was built, and
// a drag the rules refuse shows its warning and changes nothing.
#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "iso/iso_geometry.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/str_preview.h"
#include "ui/user_int.h"
#include "world/street_drag_steps.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace zortest;

constexpr int kRiverTile = 38398;
constexpr const char* kStreetCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";
constexpr const char* kTrackCosts = "OPNV.F.COST.INFRASTRUCTURE";

// Passes everything on to the world's own host and keeps the bookings
// made on accounts that the game model does not hold yet (public
// transport's costs).
class BookingRecorder : public CWorldHost {
 public:
  BookingRecorder() : m_inner(CWorldHost::Get()) { CWorldHost::Install(this); }
  ~BookingRecorder() override { CWorldHost::Install(m_inner); }
  int GetLanguage() override { return m_inner->GetLanguage(); }
  int AddSound(const char* name, int priority) override { return m_inner->AddSound(name, priority); }
  int FadeOutSound(const char* name) override { return m_inner->FadeOutSound(name); }
  void SetWorldObjectListFilter(CWorldObj* object) override { m_inner->SetWorldObjectListFilter(object); }
  void SetAchtungWindow(int warning) override { m_inner->SetAchtungWindow(warning); }
  bool GetShowMicroZellen() override { return m_inner->GetShowMicroZellen(); }
  double GetPreis(int entry, int cls) override { return m_inner->GetPreis(entry, cls); }
  int CheckForMoney(int amount) override { return m_inner->CheckForMoney(amount); }
  void VarAddValue(const char* name, double value) override {
    booked[name] += value;
    m_inner->VarAddValue(name, value);
  }
  std::map<std::string, double> booked;

 private:
  CWorldHost* m_inner;
};

class Town {
 public:
  Town() {
    game.Run({Move(400, 250), Wait(40)});
    // The farthest view, where a town's block fits on the screen.
    for (int i = 0; i < 3 && g_ZoomStufe != ISO_ZOOM_4; ++i) game.Key(SDLK_c).Do(Wait(100));
    // Where each visible cell lies on the screen, away from the bar and
    // the panel.
    screen = dragsteps::MapScreen(game);
  }

  // The cell's place on the screen; false when it is not shown.
  bool ScreenOf(int x, int y, int* sx, int* sy) const {
    auto it = screen.find({x, y});
    if (it == screen.end()) return false;
    *sx = it->second.first;
    *sy = it->second.second;
    return true;
  }

  // A block of w x h free cells that the screen shows whole.
  bool FindFreeBlock(int w, int h, int* ox, int* oy) {
    for (auto& [cell, pos] : screen) {
      bool ok = true;
      for (int x = cell.first; ok && x < cell.first + w; ++x)
        for (int y = cell.second; ok && y < cell.second + h; ++y) {
          CIsoInfo* c = game.Map().GetIsoInfo(x, y);
          ok = c && c->GetType(ISO_LAYER_GROUND) == OBJ_GROUND && c->GetType(ISO_LAYER_UPPER) == OBJ_NONE &&
               screen.count({x, y});
        }
      if (ok) {
        *ox = cell.first;
        *oy = cell.second;
        return true;
      }
    }
    return false;
  }

  // The player drags the current tool from one cell to another over every
  // cell between, and lets go; with a name, the frame before the release
  // is kept as a picture when pictures are asked for.
  void Drag(int x1, int y1, int x2, int y2, const char* shot = nullptr) {
    int sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(x1, y1, &sx, &sy)) << x1 << "/" << y1;
    game.Run({Move(sx, sy), Press(sx, sy)});
    const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int k = 1; k <= n; ++k) {
      ASSERT_TRUE(ScreenOf(x1 + (x2 - x1) * k / n, y1 + (y2 - y1) * k / n, &sx, &sy));
      game.Do(Move(sx, sy));
    }
    if (shot) {
      game.Do(Frames(1));
      EXPECT_TRUE(game.Ui().GetBuildStreetStatus()) << "the preview is drawn while the button is held";
      game.Shot(shot);
    }
    game.Run({Release(sx, sy), Frames(2)});
  }

  // One step of a drag at a time.
  void DragStep(Step::Kind kind, int x, int y) {
    int sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(x, y, &sx, &sy)) << x << "/" << y;
    game.Do(kind == Step::kPress ? Press(sx, sy) : kind == Step::kRelease ? Release(sx, sy) : Move(sx, sy));
  }

  double Var(const char* name) { return game.World().GetDataExchange()->GetVarValue(name); }
  CStrJunctionList* Streets() { return game.World().GetStreetNet(); }
  CStrSchJuncList* Rails() { return game.World().GetRailNet(); }
  int Junctions() { return static_cast<int>(Streets()->GetNumber()); }
  CUserInt::NetLengths Lengths() { return CUserInt::MeasureNetLengths(Streets(), Rails()); }

  // Every junction and street of the network is a crossing and a street of
  // the demand simulation's editable hour, and the other way round.
  void ExpectSimAgrees() {
    CSimTrafficSlot* slot = game.World().GetSimWelt()->EditingSlot();
    ASSERT_NE(slot, nullptr);
    std::set<short> streets;
    for (CZorvaObject* o = Streets()->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      CSimCrossing* c = slot->GetCrossing(static_cast<short>(j->GetSimID()));
      EXPECT_TRUE(c && c->IsCreated()) << "junction at " << j->GetXPos() << "/" << j->GetYPos();
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (!streets.insert(s->GetSimID()).second) continue;
        short a = 0, b = 0;
        EXPECT_TRUE(slot->GetCrossingsOfStreet(s->GetSimID(), a, b));
        const short ids[2] = {static_cast<short>(s->GetStartJunction()->GetSimID()),
                              static_cast<short>(s->GetEndJunction()->GetSimID())};
        EXPECT_TRUE((a == ids[0] && b == ids[1]) || (a == ids[1] && b == ids[0]))
            << "street " << s->GetSimID() << " joins " << a << " and " << b;
      }
    }
    EXPECT_FALSE(streets.empty());
  }

  Scenario game;
  dragsteps::ScreenCells screen;
};

TEST(ScenarioStreets, APlayerBuildsATownsStreetsBridgeAndLevelCrossingWithTheMouse) {
  Town town;
  int ox = 0, oy = 0;
  ASSERT_TRUE(town.FindFreeBlock(22, 20, &ox, &oy)) << "a free part of the map in view";
  // A river one cell wide across the block's lower part, laid as the
  // map's own rivers are.
  for (int y = oy + 5; y < oy + 20; ++y)
    ASSERT_NE(town.game.World().CreateObject(OBJ_RIVER, kRiverTile, CIsoRichtung(0), ox + 16, y,
                                             static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
              nullptr);
  BookingRecorder bookings;
  const double streetCosts0 = town.Var(kStreetCosts);
  const double konto0 = town.Var("F.KONTO");
  const int junctions0 = town.Junctions();

  // The four-lane avenue along the block's top.
  town.game.Key(SDLK_8);
  ASSERT_EQ(CUserInt::selObj.subtool, 4);
  CUserInt::NetLengths before = town.Lengths();
  town.Drag(ox + 2, oy, ox + 14, oy);
  CUserInt::NetLengths after = town.Lengths();
  ASSERT_GT(after.four, before.four) << "the avenue was built";
  EXPECT_GT(town.Junctions(), junctions0);
  EXPECT_NEAR(town.Var(kStreetCosts) - streetCosts0, 75000.0 * (after.four - before.four) * 0.5, 1.0);

  // Side streets off the avenue's near side, and a main street joining them.
  town.game.Key(SDLK_6);
  before = after;
  for (int x : {ox + 5, ox + 10}) town.Drag(x, oy + 1, x, oy + 12);
  after = town.Lengths();
  EXPECT_GT(after.side, before.side) << "the side streets were built";
  town.game.Key(SDLK_7);
  before = after;
  double booked = town.Var(kStreetCosts);
  town.Drag(ox + 5, oy + 7, ox + 10, oy + 7);
  after = town.Lengths();
  EXPECT_GT(after.main, before.main) << "the main street was built";
  EXPECT_NEAR(town.Var(kStreetCosts) - booked, 50000.0 * (after.main - before.main), 1.0);

  // Over the river: a main street east from the second side street, on a bridge.
  before = after;
  town.Drag(ox + 10, oy + 10, ox + 20, oy + 10, "street_preview_legal");
  after = town.Lengths();
  ASSERT_GT(after.main, before.main) << "the bridge street was built";
  CStrStrasse* bridge = nullptr;
  CStrStrassenTeil* piece = nullptr;
  ASSERT_TRUE(town.Streets()->PointHitStreet(static_cast<short>(ox + 16), static_cast<short>(oy + 10), &bridge, &piece));
  EXPECT_TRUE(piece->HitRiver()) << "the street crosses the river on a bridge";

  // A track from open ground across the second side street: a level
  // crossing, with cells of plain track between it and either end.
  CUserInt& ui = town.game.Ui();
  ui.SetToolNr(2, 9, -1);
  booked = town.Var(kStreetCosts);
  before = after;
  town.Drag(ox + 6, oy + 4, ox + 14, oy + 4);
  after = town.Lengths();
  ASSERT_GT(after.track, before.track) << "the track was built";
  EXPECT_TRUE(town.Rails()->HasGrdCrossingAt(static_cast<short>(ox + 10), static_cast<short>(oy + 4)));
  EXPECT_NEAR(bookings.booked[kTrackCosts], 300000.0 * (after.track - before.track) * 0.5, 1.0);
  EXPECT_EQ(town.Var(kStreetCosts), booked) << "a track books nothing on the streets";
  // The game model's lengths by class follow the tool's change at once.
  float side = 0, main = 0, four = 0, track = 0;
  town.game.World().GetDataExchange()->GetStreetDistribution(&side, &main, &four, &track);
  EXPECT_FLOAT_EQ(side, after.side);
  EXPECT_FLOAT_EQ(main, after.main);
  EXPECT_FLOAT_EQ(four, after.four);
  EXPECT_FLOAT_EQ(track, after.track);

  // Everything the player paid for left the account: the streets, and the
  // track through public transport's balance.
  const double spent = town.Var(kStreetCosts) - streetCosts0;
  EXPECT_NEAR(bookings.booked[kStreetCosts], spent, 1.0);
  EXPECT_GT(spent, 0.0);
  EXPECT_GT(bookings.booked[kTrackCosts], 0.0);
  EXPECT_NEAR(konto0 - town.Var("F.KONTO"), spent + bookings.booked[kTrackCosts], 1.0);
  town.ExpectSimAgrees();
  town.game.Shot("street_town");
}

TEST(ScenarioStreets, ARefusedDragShowsItsWarningAndChangesNothing) {
  Town town;
  int ox = 0, oy = 0;
  ASSERT_TRUE(town.FindFreeBlock(16, 16, &ox, &oy));
  town.game.Key(SDLK_6);
  town.Drag(ox + 5, oy, ox + 5, oy + 12);
  const int junctions = town.Junctions();
  ASSERT_GT(junctions, 0);
  const double costs = town.Var(kStreetCosts);

  // Ending beside the street's junction: the warning, and nothing built.
  town.Drag(ox, oy + 1, ox + 5, oy + 1, "street_preview_refused");
  EXPECT_EQ(town.game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0) << "the warning window is open";
  ASSERT_NE(town.game.Ui().GetStrPreviewRect(), nullptr);
  EXPECT_EQ(town.game.Ui().GetStrPreviewRect()->GetLastMessage(), 8);
  EXPECT_EQ(town.Junctions(), junctions);
  EXPECT_EQ(town.Var(kStreetCosts), costs);
  EXPECT_FALSE(town.game.Ui().GetBuildStreetStatus());
  // The warning goes at a click of its own; till then the map takes none.
  ASSERT_TRUE(town.game.ClickIn(CUserInt::kWarningWindow, 150, 40));
  EXPECT_NE(town.game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);

  // A diagonal drag is straightened: only the cells on the dominant axis
  // are built, none beside it.
  town.Drag(ox, oy + 6, ox + 5, oy + 8);
  EXPECT_NE(town.Streets()->FindJunctionAt(static_cast<short>(ox), static_cast<short>(oy + 6)), nullptr);
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* piece = nullptr;
  EXPECT_FALSE(town.Streets()->PointHitStreet(static_cast<short>(ox + 2), static_cast<short>(oy + 7), &s, &piece));
  EXPECT_TRUE(town.Streets()->PointHitStreet(static_cast<short>(ox + 2), static_cast<short>(oy + 6), &s, &piece));

  // With the account below zero a normal game refuses the press.
  town.game.World().GetDataExchange()->SetVarValue("F.KONTO", -1.0);
  const int now = town.Junctions();
  town.Drag(ox + 5, oy + 4, ox + 12, oy + 4);
  EXPECT_EQ(town.Junctions(), now);
  EXPECT_STREQ(CUserInt::GetAchtungText(21, 1), "You have no money left!");
  EXPECT_FALSE(town.game.Ui().GetBuildStreetStatus());
}

// The press, the moves and the release as the controller takes them.
TEST(ScenarioStreets, TheDragFollowsTheMoneyTheToolAndWhereTheButtonIsLetGo) {
  Town town;
  int ox = 0, oy = 0;
  ASSERT_TRUE(town.FindFreeBlock(16, 16, &ox, &oy));
  CUserInt& ui = town.game.Ui();
  CDataExchange* dx = town.game.World().GetDataExchange();
  town.game.Key(SDLK_6);
  town.Drag(ox + 2, oy + 2, ox + 2, oy + 14);
  ASSERT_GT(town.Junctions(), 0);

  // An account of exactly 0 still lets the press start a drag; in free
  // play even one below 0 does.
  dx->SetVarValue("F.KONTO", 0.0);
  town.DragStep(Step::kMove, ox + 2, oy + 8);
  town.DragStep(Step::kPress, ox + 2, oy + 8);
  EXPECT_TRUE(ui.GetBuildStreetStatus());
  // Over a window the release builds nothing.
  town.DragStep(Step::kMove, ox + 9, oy + 8);
  ui.MouseLeftUpOnWindow();
  const int junctions = town.Junctions();
  town.DragStep(Step::kRelease, ox + 9, oy + 8);
  EXPECT_EQ(town.Junctions(), junctions) << "the drag had ended";
  EXPECT_FALSE(ui.GetBuildStreetStatus());

  dx->SetVarValue("F.KONTO", -1.0);
  ASSERT_EQ(town.game.World().GetGottModus()->SetGameModus(GAME_GOD), 0);
  town.DragStep(Step::kPress, ox + 2, oy + 8);
  EXPECT_TRUE(ui.GetBuildStreetStatus()) << "free play does not ask for money";

  // The type is read afresh on every move and at the release: a main
  // street is built although the drag began as a side street.
  CUserInt::NetLengths before = town.Lengths();
  const double booked = town.Var(kStreetCosts);
  CUserInt::selObj.subtool = 2;
  for (int x = ox + 3; x <= ox + 9; ++x) town.DragStep(Step::kMove, x, oy + 8);
  // The exhibition's direct build neither books nor disturbs the drag.
  EXPECT_FALSE(ui.BuildStreet(ox + 2, oy + 14, ox + 8, oy + 14, STRASSE_1));
  EXPECT_TRUE(ui.GetBuildStreetStatus());
  EXPECT_EQ(town.Var(kStreetCosts), booked);
  const CUserInt::NetLengths direct = town.Lengths();
  EXPECT_GT(direct.side, before.side);
  town.DragStep(Step::kRelease, ox + 9, oy + 8);
  const CUserInt::NetLengths after = town.Lengths();
  EXPECT_GT(after.main, direct.main);
  EXPECT_EQ(after.side, direct.side);
  EXPECT_NEAR(town.Var(kStreetCosts) - booked, 50000.0 * (after.main - direct.main), 1.0);
  town.ExpectSimAgrees();
}

}  // namespace
