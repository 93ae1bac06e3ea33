// The street tools' join marking on small hand-built towns of the real
// street and rail networks.
#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <utility>
#include <vector>
#include <string>

#include "select_scene.h"

namespace {

using seltest::Town;

TEST_F(Town, TheTrackToolMarksRoomForLevelCrossingsAndRefusesJunctions) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  Mark(STRASSE_SCHIENE);
  EXPECT_EQ(Code(10, 20), 5);
  EXPECT_EQ(Bits(10, 20), 255) << "a level crossing takes every direction";
  EXPECT_EQ(Code(10, 10), 4);
  EXPECT_EQ(Code(10, 30), 4);
  EXPECT_EQ(Code(10, 11), 4) << "no room for a crossing just before a junction";
  EXPECT_EQ(Code(11, 20), 0) << "open land carries no code";
  // The street tools join the same tile sideways only.
  Mark(STRASSE_2);
  EXPECT_EQ(Code(10, 20), 1);
  EXPECT_EQ(Bits(10, 20), (1 << 1) | (1 << 3));
  EXPECT_EQ(Code(10, 11), 6) << "just before a junction";
  // The dead end takes a street onward and to both sides.
  EXPECT_EQ(Code(10, 10), 1);
  EXPECT_EQ(Bits(10, 10), (1 << 0) | (1 << 1) | (1 << 3));
}

TEST_F(Town, TheTrackToolExaminesTheCellJustInsideADeadEndButNotTheCellsBeforeAT) {
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(34, 20, 34, 45), STR_BUILD_OK);
  Mark(STRASSE_SCHIENE);
  // The cells just inside the dead ends are taken up as joinable and then
  // left without a direction: the track goes on from the end itself.
  for (const auto& [x, y] : {std::pair{22, 20}, std::pair{49, 20}, std::pair{34, 44}}) {
    EXPECT_EQ(Code(x, y), 18) << x << "/" << y;
    EXPECT_EQ(Bits(x, y), 0) << x << "/" << y;
  }
  EXPECT_EQ(Code(20, 20), 1);
  EXPECT_EQ(Bits(20, 20), 1 << 2);
  // Before the T junction the cells stay before a junction.
  for (const auto& [x, y] : {std::pair{32, 20}, std::pair{37, 20}, std::pair{34, 23}})
    EXPECT_EQ(Code(x, y), 6) << x << "/" << y;
}

TEST_F(Town, AJunctionWithOneFourLaneArmTakesFourLanesOnly) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ASSERT_EQ(w.At(10, 20)->GetAnzLinkedStreets(), 3);
  for (int type : {STRASSE_1, STRASSE_2}) {
    Mark(type);
    EXPECT_EQ(Code(10, 20), 12) << "type " << type;
    EXPECT_EQ(Bits(10, 20), 0);
  }
  Mark(STRASSE_VIERSPURIG);
  EXPECT_EQ(Code(10, 20), 1);
  EXPECT_EQ(Bits(10, 20), 1 << 3) << "the free side of the junction";
  // Across the main street a four-lane street needs both of its tiles.
  EXPECT_EQ(Bits(10, 15), (1 << 1) | (1 << 3));
  EXPECT_EQ(Bits(10, 16), Bits(10, 15));
  // The four-lane street's dead end goes on past its own 2 x 2 group, from
  // both of its columns.
  EXPECT_EQ(Code(20, 20), 1);
  EXPECT_TRUE(Bits(20, 20) & (1 << 1));
  EXPECT_TRUE(Bits(20, 21) & (1 << 1));
  int mx = -1, my = -1;
  ASSERT_TRUE(ui->GetSelMeeting(20, 20, 1, mx, my));
  EXPECT_GT(mx, 21);
  // The one-way tool meets the junction with no rule of its own.
  Mark(STRASSE_EINBAHN);
  EXPECT_EQ(Code(10, 20), 0);
}

TEST_F(Town, BendsStopsAndLevelCrossingsRefuseAJoin) {
  ASSERT_EQ(w.Build(10, 10, 10, 20, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.At(10, 20), nullptr) << "the two streets became one with a bend";
  ASSERT_EQ(w.Build(20, 20, 30, 20, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(30, 20, 30, 10, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(30, 20, 30, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 24, 40, 24), STR_BUILD_OK);
  ASSERT_TRUE(w.rails->HasGrdCrossingAt(30, 24));
  // A bus stop on the street's tile (30, 14).
  auto* stop = new CWorldObj;
  stop->Create();
  stop->SetType(OBJ_BUSSTOP_SIGN);
  w.host.objects.insert(stop);
  w.map->SetIsoTileAt(30, 14, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kBuilding, stop);

  Mark(STRASSE_2);
  EXPECT_EQ(Code(10, 20), 1) << "a bend of the same lane count";
  EXPECT_EQ(Code(10, 19), 8);
  EXPECT_EQ(Code(11, 20), 8);
  EXPECT_EQ(Code(30, 14), 17) << "the stop's tile";
  EXPECT_EQ(Code(30, 13), 17) << "just before the stop";
  EXPECT_EQ(Code(30, 24), 2) << "the level crossing shows the track: no street crosses there";
  EXPECT_EQ(Code(26, 24), 3) << "a track tile with room for a level crossing";
  Mark(STRASSE_VIERSPURIG);
  EXPECT_EQ(Code(10, 20), 16) << "a bend of the other lane count";
  Mark(STRASSE_SCHIENE);
  EXPECT_EQ(Code(30, 24), 11) << "on the level crossing";
  EXPECT_EQ(Code(28, 24), 10) << "before the level crossing";
  EXPECT_EQ(Code(33, 24), 10) << "two cells past the crossing's cells, 29 to 31";
  EXPECT_EQ(Code(34, 24), 1);
  EXPECT_EQ(Code(26, 24), 1);
  EXPECT_EQ(Code(30, 21), 4) << "no room for a crossing just before the street's junction";
  EXPECT_EQ(Code(30, 27), 5);
}

TEST_F(Town, ChoosingTheToolMarksAndLeavingItClears) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  EXPECT_EQ(ui->SetToolNr(2, STRASSE_SCHIENE, -1), 0);
  EXPECT_EQ(Code(10, 20), 5);
  EXPECT_EQ(ui->GetSelStoredX(), 0);
  ui->SetToolStandard();
  EXPECT_EQ(Code(10, 20), 0);
  EXPECT_EQ(Bits(10, 20), 0);
}

TEST_F(Town, RecordsAndMeetingTilesTellWhatANewStreetMeets) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 30, 13, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(13, 30, 13, 5, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(13, 30, 13, 35, STRASSE_2), STR_BUILD_OK);
  Mark(STRASSE_2);
  // East of (10, 20) lie two open tiles, then the second street: a join.
  const CUserInt::SelRichtung& east = ui->GetSelRichtung(10, 20, 1);
  EXPECT_EQ(east.from, CUserInt::SEL_GERADE);
  EXPECT_EQ(east.to, CUserInt::SEL_LEER);
  int mx = 0, my = 0;
  ASSERT_TRUE(ui->GetSelMeeting(10, 20, 1, mx, my));
  EXPECT_EQ(mx, 12);
  EXPECT_EQ(my, 20);
  EXPECT_EQ(ui->SelStreetQuelleZielDif(10, 20, 1), -2);
  // West of the second street the first one is two tiles away.
  const CUserInt::SelRichtung& west = ui->GetSelRichtung(13, 20, 3);
  EXPECT_EQ(west.to, CUserInt::SEL_LEER);
  // Along the street no direction is free.
  EXPECT_EQ(ui->GetSelRichtung(10, 20, 0).to, CUserInt::SEL_KEINE);
  EXPECT_FALSE(ui->GetSelMeeting(10, 20, 0, mx, my));
  EXPECT_EQ(mx, -1);
  EXPECT_EQ(ui->SelStreetQuelleZielDif(-1, 0, 0), -1);
  EXPECT_EQ(ui->SelStreetQuelleZielDif(0, 128, 0), -1);
}

TEST(SelectLabels, CodesAndKindsHaveTheirDebugLabels) {
  char out[32];
  CUserInt::SelStreet(out, 1);
  EXPECT_STREQ(out, "OK");
  CUserInt::SelStreet(out, 16);
  EXPECT_STREQ(out, "Kruve Wrong Type");
  CUserInt::SelStreet(out, 18);
  EXPECT_STREQ(out, "Removed aftercheck");
  for (int code : {10, 19, -1}) {
    CUserInt::SelStreet(out, code);
    EXPECT_STREQ(out, "Out Of Enum") << code;
  }
  CUserInt::SelStreetFT(out, CUserInt::SEL_LEER);
  EXPECT_STREQ(out, "Leer");
  CUserInt::SelStreetFT(out, static_cast<CUserInt::ESelStreetFromTo>(6));
  EXPECT_STREQ(out, "Out Of Enum");
  int dx = 0, dy = 0;
  EXPECT_TRUE(CUserInt::CalcSteigung(5, 5, 5, 1, dx, dy));
  EXPECT_EQ(dy, -1);
  EXPECT_FALSE(CUserInt::CalcSteigung(5, 5, 7, 1, dx, dy)) << "a diagonal";
  EXPECT_FALSE(CUserInt::CalcSteigung(5, 5, 5, 5, dx, dy)) << "no move";
}

// A town grown from one street: each new street of a random type runs
// across a tile of the network to both sides, and the tracks grow the
// same way from a first track.
void GrowTown(railtest::RailWorld& w, uint32_t seed) {
  std::mt19937 rng(seed);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const TStrassenType types[] = {STRASSE_1, STRASSE_2, STRASSE_2, STRASSE_VIERSPURIG};
  auto grow = [&](TObjectType piece, int count, const std::function<int(int, int, int, int, int)>& build) {
    std::vector<std::pair<int, int>> tiles;
    for (int i = 0, built = 0; i < 40 * count && built < count; ++i) {
      if (tiles.empty())
        for (int x = 6; x < 122; ++x)
          for (int y = 6; y < 122; ++y)
            if (w.map->GetTypeAt(x, y, ISO_LAYER_GROUND) == piece) tiles.push_back({x, y});
      if (tiles.empty()) return;
      const auto [x, y] = tiles[static_cast<size_t>(in(0, static_cast<int>(tiles.size()) - 1))];
      const bool alongX = in(0, 1) == 1;
      const int a = in(2, 14), b = in(2, 14);
      const int x1 = alongX ? std::max(4, x - a) : x, y1 = alongX ? y : std::max(4, y - a);
      const int x2 = alongX ? std::min(123, x + b) : x, y2 = alongX ? y : std::min(123, y + b);
      if (build(x1, y1, x2, y2, in(0, 3)) == STR_BUILD_OK) {
        ++built;
        tiles.clear();
      }
    }
  };
  ASSERT_EQ(w.Build(20, 64, 108, 64, STRASSE_2), STR_BUILD_OK);
  grow(OBJ_STREET_PIECE, 45, [&](int x1, int y1, int x2, int y2, int t) { return w.Build(x1, y1, x2, y2, types[t]); });
  ASSERT_EQ(w.Track(64, 10, 64, 50), STR_BUILD_OK);
  grow(OBJ_RAIL_PIECE, 6, [&](int x1, int y1, int x2, int y2, int) { return w.Track(x1, y1, x2, y2); });
}

// Every arrow the marking shows invites a drag that the network's own
// checks accept, from either column of a two-tile-wide street.
TEST_F(Town, EveryArrowInvitesADragTheNetworkAccepts) {
  GrowTown(w, 7);
  int arrows = 0;
  for (int type : {STRASSE_1, STRASSE_2, STRASSE_VIERSPURIG, STRASSE_SCHIENE}) {
    Mark(type);
    int typeArrows = 0;
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        if (Code(x, y) != 1) {
          if (Code(x, y) != 3 && Code(x, y) != 5) {
            EXPECT_EQ(Bits(x, y), 0) << x << "/" << y;
          }
          continue;
        }
        EXPECT_NE(Bits(x, y), 0) << "a joinable tile without a direction is code 18: " << x << "/" << y;
        for (int d = 0; d < 4; ++d) {
          if (!(Bits(x, y) & (1 << d))) continue;
          ++typeArrows;
          int mx = -1, my = -1;
          ASSERT_TRUE(ui->GetSelMeeting(x, y, d, mx, my)) << x << "/" << y << " " << d;
          // The meeting tile lies in the arrow's direction.
          EXPECT_EQ((mx - x) * CUserInt::kDirDy[d], (my - y) * CUserInt::kDirDx[d]);
          EXPECT_GT((mx - x) * CUserInt::kDirDx[d] + (my - y) * CUserInt::kDirDy[d], 0);
          auto accepted = [&](int x1, int y1, int x2, int y2) {
            const auto a = static_cast<short>(x1), b = static_cast<short>(y1), c = static_cast<short>(x2),
                       e = static_cast<short>(y2);
            if (type == STRASSE_SCHIENE) return w.rails->CheckTrackDrag(a, b, c, e) == 0;
            return w.net->CheckDrag(a, b, c, e, static_cast<TStrassenType>(type)) == 0 &&
                   w.rails->CheckStreetDrag(a, b, c, e, static_cast<TStrassenType>(type)) == 0;
          };
          const int px = (d & 1) ? 0 : 1, py = (d & 1) ? 1 : 0;
          const bool wide = type == STRASSE_VIERSPURIG || type == STRASSE_SCHIENE;
          EXPECT_TRUE(accepted(x, y, mx, my) || (wide && accepted(x - px, y - py, mx - px, my - py)))
              << "type " << type << " at " << x << "/" << y << " direction " << d;
        }
      }
    EXPECT_GT(typeArrows, 0) << "type " << type;
    arrows += typeArrows;
  }
  EXPECT_GT(arrows, 100);
}

// An arrow's drag builds: the same town grown again for each sampled
// arrow, the street built from the arrow to its meeting tile.
TEST(SelectTown, SampledArrowsBuild) {
  std::vector<std::array<int, 5>> samples;
  {
    seltest::BookingHost booking;
    railtest::RailWorld w;
    GrowTown(w, 11);
    seltest::SelectUi ui;
    ASSERT_EQ(ui.OnCreate(nullptr, nullptr, nullptr, w.map, w.net.get()), 0);
    for (int type : {STRASSE_1, STRASSE_2, STRASSE_VIERSPURIG}) {
      CUserInt::selObj.subtool = type;
      ui.CheckSelStreet(0, 0);
      int taken = 0;
      int seen = 0;
      for (int x = 0; x < 128 && taken < 4; ++x)
        for (int y = 0; y < 128 && taken < 4; ++y)
          for (int d = 0; d < 4 && taken < 4; ++d) {
            int mx, my;
            if (ui.GetTileMask(x, y) == 1 && (ui.GetTileMask2(x, y) & (1 << d)) && ui.GetSelMeeting(x, y, d, mx, my) &&
                ++seen % 9 == 0) {
              samples.push_back({type, x, y, mx, my});
              ++taken;
            }
          }
    }
  }
  ASSERT_GE(samples.size(), 6u);
  for (const auto& s : samples) {
    railtest::RailWorld w;
    GrowTown(w, 11);
    const int before = w.Junctions();
    EXPECT_EQ(w.Build(s[1], s[2], s[3], s[4], static_cast<TStrassenType>(s[0])), STR_BUILD_OK)
        << "type " << s[0] << " from " << s[1] << "/" << s[2] << " to " << s[3] << "/" << s[4];
    EXPECT_GT(w.Junctions(), before);
  }
}

}  // namespace
