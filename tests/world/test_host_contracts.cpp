// What each host interface promises, checked the same way against the
// scripted host the subsystem's own tests use and against the host the
// running game installs. A fake that answers what the game does not would
// let those tests pass against a game that fails, so every expectation here
// runs on both. The toolkit's, the interface controller's, the message
// system's and god mode's hosts have files of their own.
#include <gtest/gtest.h>

#include "iso/iso_host.h"
#include "measures/measure_test_host.h"
#include "model/data_exchange.h"
#include "microsim/micro_test_host.h"
#include "network/network_object_host.h"
#include "support/scenario.h"
#include "ui/ui_fixture.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

using zortest::Scenario;

// ---- the world host of placed objects and the toolkit ----

struct FakeWorld {
  uitest::LanguageHost host;
  CWorldHost& Host() { return host; }
  void English() { host.language = 1; }
};

struct GameWorld {
  Scenario game;
  CWorldHost& Host() { return *CWorldHost::Get(); }
  void English() { game.World().ChangeLanguage(1); }
};

template <class Subject>
struct WorldHostContract : ::testing::Test {
  Subject subject;
};

using WorldSubjects = ::testing::Types<FakeWorld, GameWorld>;
TYPED_TEST_SUITE(WorldHostContract, WorldSubjects);

TYPED_TEST(WorldHostContract, TheLanguageIsTheOneTheGameRunsIn) {
  EXPECT_EQ(this->subject.Host().GetLanguage(), 0);
  this->subject.English();
  EXPECT_EQ(this->subject.Host().GetLanguage(), 1);
}

// ---- the measures' host as the service measures read the game model ----

struct FakeMeasureWorld {
  MeasureTestHost host;
  CMeasureHost& Host() { return host; }
  void Set(const char* name, double v) { host.SetValue(name, v); }
};

struct GameMeasureWorld {
  Scenario game;
  CMeasureHost& Host() { return *CMeasureHost::Get(); }
  void Set(const char* name, double v) { game.World().GetDataExchange()->DoVar(EX_SET, name, v); }
};

template <class Subject>
struct MeasureHostContract : ::testing::Test {
  Subject subject;
};

using MeasureSubjects = ::testing::Types<FakeMeasureWorld, GameMeasureWorld>;
TYPED_TEST_SUITE(MeasureHostContract, MeasureSubjects);

TYPED_TEST(MeasureHostContract, NamedValuesReadBackAndUnknownNamesReadZero) {
  CMeasureHost& host = this->subject.Host();
  this->subject.Set("PAR.PRICE.NEWCD", 20.0);
  EXPECT_EQ(host.GetExchangeValue("PAR.PRICE.NEWCD"), 20.0);
  this->subject.Set("PTA.PRICE.MONTH", 7.0);
  EXPECT_EQ(host.GetExchangeValue("PTA.PRICE.MONTH"), 7.0);
  EXPECT_EQ(host.GetExchangeValue("PAR.NO.SUCH.NAME"), 0.0);
  EXPECT_EQ(host.GetExchangeMax("W.NO.SUCH.NODE"), 0.0);
  EXPECT_EQ(host.GetPeople(), 0) << "nobody lives in the town yet";
  EXPECT_FALSE(host.IsLoading()) << "no savegame is being read";
}

// ---- the map's host ----

struct FakeIso {
  NetObjectHost host;
  CIsoHost& Host() { return host; }
};

struct GameIso {
  Scenario game;
  CIsoHost& Host() { return *game.World().GetIsoHost(); }
};

template <class Subject>
struct IsoHostContract : ::testing::Test {
  Subject subject;
};

using IsoSubjects = ::testing::Types<FakeIso, GameIso>;
TYPED_TEST_SUITE(IsoHostContract, IsoSubjects);

TYPED_TEST(IsoHostContract, ObjectsAreMadeOfTheKindAskedForAndGivenUp) {
  CIsoHost& host = this->subject.Host();
  for (TObjectType kind : {OBJ_STREET_PIECE, OBJ_CROSSING, OBJ_RAIL_PIECE, OBJ_RAIL_JUNCTION}) {
    CWorldObj* object = host.CreateObject(kind);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetType(), kind);
    EXPECT_EQ(host.DestroyObject(object, 0), 0);
  }
}

TYPED_TEST(IsoHostContract, ATrainStopIsAStreetSideObject) {
  CIsoHost& host = this->subject.Host();
  CWorldObj* stop = host.CreateObjectAt(OBJ_STREETSIDE, 18981, CIsoRichtung(1), 10, 12);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->GetType(), OBJ_STREETSIDE);
  EXPECT_EQ(host.DestroyObject(stop, 1), 0);
}

TYPED_TEST(IsoHostContract, EmptyCellsShareOneGroundObject) {
  CIsoHost& host = this->subject.Host();
  CWorldObj* a = host.CreateObjectEmpty();
  CWorldObj* b = host.CreateObjectEmpty();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(host.DestroyObject(b, 1), 0);
  EXPECT_EQ(host.DestroyObject(a, 1), 0);
}

// ---- the micro simulation's host ----

struct FakeMicro {
  microtest::ScriptHost host;
  FakeMicro() { CMicroSimHost::Install(&host); }
  ~FakeMicro() { CMicroSimHost::Install(nullptr); }
  CMicroSimHost& Host() { return host; }
};

struct GameMicro {
  Scenario game;
  CMicroSimHost& Host() { return *CMicroSimHost::Get(); }
};

template <class Subject>
struct MicroHostContract : ::testing::Test {
  Subject subject;
};

using MicroSubjects = ::testing::Types<FakeMicro, GameMicro>;
TYPED_TEST_SUITE(MicroHostContract, MicroSubjects);

TYPED_TEST(MicroHostContract, UnknownStreetsAndVehiclesWithoutALineHaveNoAnswer) {
  CMicroSimHost& host = this->subject.Host();
  double velocity = -1;
  int flow = -1;
  EXPECT_FALSE(host.GetStreetVelocity(65000, velocity));
  EXPECT_FALSE(host.GetStreetFlow(65000, flow));
  EXPECT_FALSE(host.IsIsoPosHst(nullptr, 5, 5));
  EXPECT_EQ(host.GetNextHstZelle(nullptr, 5, 5, 7), nullptr);
  EXPECT_EQ(host.GetNextStreetID(nullptr), 0);
  bool flag = true;
  EXPECT_EQ(host.GetAbzwStreetID(nullptr, flag, true), -1);
  EXPECT_FALSE(flag);
}

TYPED_TEST(MicroHostContract, ACarPictureNamesAPictureAndASizeClass) {
  CMicroSimHost& host = this->subject.Host();
  SMicroCarPicture picture;
  for (int i = 0; i < 20; ++i) {
    if (!host.GetNextCarPicture(picture)) continue;
    EXPECT_GT(picture.resId, 0);
    EXPECT_GE(picture.sizeType, 0);
    EXPECT_LE(picture.sizeType, 2);
  }
}

}  // namespace
