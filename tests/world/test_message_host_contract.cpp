// What the message system's host and god mode's host promise, checked the
// same way against the scripted hosts of the game model's tests and against
// the hosts the running game installs.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>

#include "iso/iso_welt.h"
#include "model/gott_modus.h"
#include "model/gott_test_host.h"
#include "model/message.h"
#include "model/message_test_host.h"
#include "support/scenario.h"
#include "world/host_contract.h"
#include "world/zor_growth_context.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;

// ---- the message system's host ----

struct FakeMessage {
  ScriptedMessageHost host;
  CMessageHost& Host() { return host; }
  bool EventWindowShown() { return host.eventWindows > 0; }
  int CentreX() { return host.centreX; }
  int CentreY() { return host.centreY; }
};

struct GameMessage {
  Scenario game;
  CMessageHost& Host() { return *game.World().GetMessage()->GetHost(); }
  bool EventWindowShown() { return game.IsOpen(217); }
  int CentreX() { return game.Map().GetCenterX(); }
  int CentreY() { return game.Map().GetCenterY(); }
};

// Neither host has stand-ins: every default answers as a game without
// that part would.
constexpr char kNoStandIns[] = "";
template <class Subject>
using MessageHostContract = zortest::HostContract<Subject, CMessageHost, kNoStandIns>;

using MessageSubjects = ::testing::Types<FakeMessage, GameMessage>;
TYPED_TEST_SUITE(MessageHostContract, MessageSubjects);

TYPED_TEST(MessageHostContract, AFreshGameIsANormalOne) { EXPECT_EQ(this->host.GetGameModus(), 1); }

// The mark of a message's place blinks from its time until it is cleared.
TYPED_TEST(MessageHostContract, TheMapMarkIsKeptUntilCleared) {
  CMessageHost& host = this->host;
  uint32_t time = 0;
  EXPECT_FALSE(host.GetMapMarkTime(&time));
  host.SetMapMark(10, 12, 2, 2, 4321);
  ASSERT_TRUE(host.GetMapMarkTime(&time));
  EXPECT_EQ(time, 4321u);
  host.SetMapMark(30, 40, 1, 1, 5000);
  ASSERT_TRUE(host.GetMapMarkTime(&time));
  EXPECT_EQ(time, 5000u) << "a new mark replaces the old one";
  host.ClearMapMark();
  EXPECT_FALSE(host.GetMapMarkTime(&time));
}

TYPED_TEST(MessageHostContract, TheEventWindowOpensAndTheMapCentres) {
  CMessageHost& host = this->host;
  EXPECT_FALSE(this->subject.EventWindowShown());
  host.ActivateEventWindow();
  EXPECT_TRUE(this->subject.EventWindowShown());
  host.CenterMap(40, 50);
  EXPECT_EQ(this->subject.CentreX(), 40);
  EXPECT_EQ(this->subject.CentreY(), 50);
}

// ---- god mode's host ----

struct FakeGod {
  ScriptedGottHost host;
  CGottModusHost& Host() { return host; }
  int Blocked() { return host.blocked; }
};

// The host the world attaches to its god mode, on the running world.
struct GameGod {
  Scenario game;
  CZorGrowthContext context{game.World()};
  CGottModusHost& Host() { return context; }
  int Blocked() { return game.World().GetBlocked(); }
};

template <class Subject>
using GottModusHostContract = zortest::HostContract<Subject, CGottModusHost, kNoStandIns>;

using GodSubjects = ::testing::Types<FakeGod, GameGod>;
TYPED_TEST_SUITE(GottModusHostContract, GodSubjects);

// God values 0 and 1 read the modal split of the statistics, the scenario's
// goal the indicators: a game has both.
TYPED_TEST(GottModusHostContract, AGameHasStatisticsAndIndicators) {
  CGottModusHost& host = this->host;
  EXPECT_NE(host.Statistik(), nullptr);
  EXPECT_NE(host.Indikatoren(), nullptr);
  EXPECT_FALSE(host.DebugInfo()) << "the debug keys are off";
}

TYPED_TEST(GottModusHostContract, TheBlockedStateIsTheGames) {
  CGottModusHost& host = this->host;
  EXPECT_EQ(this->subject.Blocked(), 0);
  for (int state : {2, 1, 0}) {
    host.SetBlocked(state);
    EXPECT_EQ(this->subject.Blocked(), state);
  }
}

}  // namespace
