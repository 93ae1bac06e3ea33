// Joins and splits as the player sees them on the map and in the demand
// model: a one-way street continued straight on, a fourth arm dragged out of
// a T junction, a four-lane street bent in two drags, every cell checked
// after each step, lanes included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_storm.h"
#include "network/str_ampel.h"

namespace {

using namespace stormtest;

// Every finding of the storm's checker after the step, the lanes that lead
// nowhere included (the streets here are two-way or end where one-way
// lanes are turned round), and the world objects of live streets and
// junctions only.
std::string Everything(StormWorld& sw) {
  std::string out;
  for (const std::string& f : sw.checker.Check(sw.w)) out += f + "\n";
  size_t pieces = 0, crossings = 0;
  for (CWorldObj* o : sw.w.host.objects) {
    pieces += dynamic_cast<CStreetObj*>(o) != nullptr;
    crossings += dynamic_cast<CKreuzObj*>(o) != nullptr;
  }
  if (pieces != sw.w.Streets().size()) out += std::to_string(pieces) + " street objects\n";
  if (crossings != static_cast<size_t>(sw.w.Junctions())) out += std::to_string(crossings) + " crossing objects\n";
  return out;
}

// Runs the steps, each with its result and a sound network after it.
void Steps(StormWorld& sw, const std::string& text, const std::vector<int>& results) {
  const std::vector<Op> ops = Parse(text);
  ASSERT_EQ(ops.size(), results.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(Format(ops[i]));
    EXPECT_EQ(sw.Apply(ops[i]), results[i]);
    EXPECT_EQ(Everything(sw), "");
  }
}

constexpr int OK = STR_BUILD_OK;

// Saved records are read as the current savegame version writes them.
class JoinsAndSplits : public testing::Test {
 protected:
  void SetUp() override { g_ZorLoadVersion = 240; }
  void TearDown() override { g_ZorLoadVersion = 0; }
};

TEST_F(JoinsAndSplits, AOneWayStreetContinuedStraightOnIsOneStreetWithNothingAtTheJoint) {
  // On from its end, and onto its start from before it.
  for (const char* second : {"B 20 10 28 10 3", "B 5 10 10 10 3"}) {
    SCOPED_TRACE(second);
    StormWorld sw;
    Steps(sw, std::string("B 10 10 20 10 3 ") + second, {OK, OK});
    ASSERT_EQ(sw.w.Streets().size(), 1u);
    EXPECT_EQ(sw.w.Junctions(), 2);
    CStrStrasse* s = sw.w.Streets()[0];
    EXPECT_EQ(s->GetNumber(), 1u);
    const int joint = second[2] == '2' ? 20 : 10;
    EXPECT_EQ(sw.w.At(joint, 10), nullptr);
    EXPECT_EQ(sw.w.GroundType(joint, 10), OBJ_STREET_PIECE);
    // One direction in the demand model, from the first cell to the last.
    EXPECT_EQ(s->GetSimIDSecond(), 0);
    EXPECT_EQ(sw.w.net->GetStreetByID(s->GetSimID()), s);
    EXPECT_EQ(s->GetStartJunction()->GetXPos(), second[2] == '2' ? 10 : 5);
    EXPECT_EQ(s->GetEndJunction()->GetXPos(), second[2] == '2' ? 28 : 20);
    for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
  }
}

TEST_F(JoinsAndSplits, AFourthArmDraggedOutOfATJunctionMakesItACrossingWithEveryArmsLanesAndControls) {
  // Dragged out of the junction and onto it, under each control.
  for (int c = 0; c < 6; ++c) {
    const char* fourth = c < 3 ? "B 10 20 5 20 1" : "B 5 20 10 20 1";
    const auto control = static_cast<EAmpelType>(c % 3);
    SCOPED_TRACE(testing::Message() << fourth << " control " << control);
    StormWorld sw;
    Steps(sw, "B 10 10 10 30 1  B 10 20 20 20 1", {OK, OK});
    CStrJunction* j = sw.w.At(10, 20);
    ASSERT_NE(j, nullptr);
    // Set as the player sets it, through the crossing's settings.
    if (control != Ampel_Rvl) {
      ASSERT_EQ(j->GetKreuzObject()->SetVarData("KR.AMPEL", control), 0);
    }
    Steps(sw, fourth, {OK});
    ASSERT_EQ(sw.w.At(10, 20), j);
    EXPECT_EQ(j->GetAnzLinkedStreets(), 4);
    EXPECT_EQ(sw.w.GroundRes(10, 20), 1503);
    EXPECT_EQ(j->GetAmpelType(), control);
    const int signs = LayersAround(sw.w, 10, 20, CStrJunction::kVorfahrtResID) +
                      LayersAround(sw.w, 10, 20, CStrJunction::kWartepflichtResID);
    EXPECT_EQ(signs, control == Ampel_Vorfahrt ? 4 : 0);
    EXPECT_EQ(LayersAround(sw.w, 10, 20, CStrJunction::kAmpelResID), control == Ampel_Ampel ? 4 : 0);
    // Every arm keeps its light.
    if (control == Ampel_Ampel) {
      ASSERT_NE(j->GetAmpelGroup(), nullptr);
      for (int i = 0; i < 4; ++i) EXPECT_NE(j->GetAmpelGroup()->GetAmpelForStreet(j->GetStreetByNR(i)), nullptr) << i;
    }
    for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
  }
}

// A T laid into an arm of a crossing with signs or lights: the half that
// goes on to the crossing is the arm it was, in the same slot, so the
// priority road and the green stay on their axis; a light keeps its cycle
// and stops the half's lanes.
TEST_F(JoinsAndSplits, ATLaidIntoAnArmOfAControlledCrossingKeepsItsPriorityAndLights) {
  // The step out of the crossing each slot's arm takes.
  auto sides = [](CStrJunction* j) {
    std::vector<CellXY> out;
    for (int i = 0; i < CAmpelGroup::kSlots; ++i) {
      CStrStrasse* s = j->GetAmpelGroup()->GetLinkedStreetsNr(i);
      short x = 0, y = 0;
      if (s) (s->GetStartJunction() == j ? s->GetFirstIsoPos(&x, &y) : s->GetLastIsoPos(&x, &y));
      out.push_back(s ? CellXY{x - j->GetXPos(), y - j->GetYPos()} : CellXY{0, 0});
    }
    return out;
  };
  for (const EAmpelType control : {Ampel_Vorfahrt, Ampel_Ampel})
    for (const char* t : {"B 15 20 15 25 1", "B 10 15 15 15 1", "B 5 20 5 25 1", "B 10 25 5 25 1"}) {
      SCOPED_TRACE(testing::Message() << t << " control " << control);
      StormWorld sw;
      Steps(sw, "B 10 10 10 30 1  B 10 20 20 20 1  B 0 20 10 20 1", {OK, OK, OK});
      CStrJunction* j = sw.w.At(10, 20);
      ASSERT_NE(j, nullptr);
      ASSERT_EQ(j->GetKreuzObject()->SetVarData("KR.AMPEL", control), 0);
      const std::vector<CellXY> before = sides(j);
      CAmpel* lights[CAmpelGroup::kSlots] = {};
      for (int i = 0; i < CAmpelGroup::kSlots; ++i) lights[i] = j->GetAmpelGroup()->GetAmpel(i);
      Steps(sw, t, {OK});
      ASSERT_EQ(sw.w.At(10, 20), j);
      ASSERT_EQ(j->GetAmpelType(), control);
      EXPECT_EQ(sides(j), before);
      for (int i = 0; i < CAmpelGroup::kSlots; ++i) {
        CAmpel* light = j->GetAmpelGroup()->GetAmpel(i);
        EXPECT_EQ(light, lights[i]) << i;
        if (!light) continue;
        BinaryMicroSimObject* a = nullptr;
        BinaryMicroSimObject* b = nullptr;
        ASSERT_EQ(j->GetAmpelGroup()->GetLinkedStreetsNr(i)->FindAmpelZellen(j, &a, &b), 0) << i;
        EXPECT_EQ(light->GetZelle(0), a) << i;
        EXPECT_EQ(light->GetZelle(1), b) << i;
      }
      for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
    }
}

TEST_F(JoinsAndSplits, AFourLaneStreetBentInTwoDragsShowsBothEnds) {
  for (const char* second : {"B 20 10 20 30 4", "B 20 30 20 10 4"}) {
    SCOPED_TRACE(second);
    StormWorld sw;
    Steps(sw, std::string("B 4 10 20 10 4 ") + second, {OK, OK});
    ASSERT_EQ(sw.w.Streets().size(), 1u);
    EXPECT_EQ(sw.w.Junctions(), 2);
    for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
  }
}

TEST_F(JoinsAndSplits, DeletingAnArmOfALitCrossingKeepsTheOtherArmsLights) {
  StormWorld sw;
  Steps(sw, "B 10 10 10 30 1  B 10 20 20 20 1  B 5 20 10 20 1", {OK, OK, OK});
  CStrJunction* j = sw.w.At(10, 20);
  ASSERT_NE(j, nullptr);
  ASSERT_EQ(j->GetKreuzObject()->SetVarData("KR.AMPEL", Ampel_Ampel), 0);
  Steps(sw, "D 10 20 20 20 1", {0});
  ASSERT_EQ(sw.w.At(10, 20), j);
  ASSERT_EQ(j->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(LayersAround(sw.w, 10, 20, CStrJunction::kAmpelResID), 3);
  ASSERT_NE(j->GetAmpelGroup(), nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_NE(j->GetAmpelGroup()->GetAmpelForStreet(j->GetStreetByNR(i)), nullptr) << i;
  for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
}

}  // namespace
