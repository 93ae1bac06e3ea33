// God mode's exhibition on its own: the marked stop places and street runs,
// what a fresh exhibition and a new visitor reset, and the exhibition's
// fields in the record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "model/gott_modus.h"

namespace {

TEST(GodExhibition, StopPlacesAndStreetRunsAreMarkedCellByCell) {
  CGottModus god;
  god.SetGameModus(GAME_EXPO);
  const int places[4][3][2] = {{{78, 57}, {79, 57}, {80, 57}},
                               {{47, 8}, {48, 8}, {49, 8}},
                               {{33, 21}, {33, 22}, {33, 23}},
                               {{64, 60}, {64, 61}, {64, 62}}};
  for (int p = 0; p < 4; ++p)
    for (const auto& c : places[p]) EXPECT_EQ(god.Expo_Bus_IsMarkierung(c[0], c[1]), p) << c[0] << "/" << c[1];
  for (const auto& c : {std::pair{77, 57}, std::pair{81, 57}, std::pair{33, 20}, std::pair{64, 63}})
    EXPECT_EQ(god.Expo_Bus_IsMarkierung(c.first, c.second), -1);
  // Runs join consecutive marked points, ends included; the points the
  // street is built from lie a step outside them.
  const struct {
    int x, y, task;
  } cells[] = {{85, 54, 0}, {85, 37, 0}, {85, 20, 0}, {60, 20, 0}, {49, 20, 0}, {85, 55, -1}, {48, 20, -1},
               {27, 28, 1}, {27, 21, 1}, {29, 21, 1}, {30, 19, 1}, {30, 18, -1}, {27, 29, -1}, {28, 22, -1},
               {56, 44, 2}, {67, 44, 2}, {67, 51, 2}, {67, 52, -1}, {60, 50, -1},
               {54, 57, 3}, {2, 57, 3},  {2, 42, 3},  {2, 41, -1},  {55, 57, -1}};
  for (const auto& c : cells) EXPECT_EQ(god.Expo_Street_IsMarkierung(c.x, c.y), c.task) << c.x << "/" << c.y;
}

TEST(GodExhibition, AFreshExhibitionAndANewVisitorStartFromNothing) {
  CGottModus god;
  god.SetGameModus(GAME_EXPO);
  EXPECT_FALSE(god.Expo_Bus_LineGood()) << "no stop placed";
  EXPECT_EQ(god.Expo_GetWarningWindow(), -1);
  // Without the running game nothing is placed, and no line comes.
  god.Expo_Bus_SetHstType(23);
  EXPECT_FALSE(god.Expo_Bus_SetHst(79, 57));
  EXPECT_EQ(god.Expo_GetStopCount(), 0);
  EXPECT_TRUE(god.Expo_Bus_SetTakt(10));
  EXPECT_EQ(god.Expo_GetHeadway(), 10);
  EXPECT_EQ(god.Expo_GetLine(), nullptr);
  god.SetExpoModus(EXPO_BUS);
  god.SetExpoState(EXPO_LINE_RUNS);
  EXPECT_EQ(CGottModus::GetExpoModus(), EXPO_BUS);
  god.SetExpoModus(EXPO_NONE);
  EXPECT_EQ(god.Expo_GetHeadway(), 0);
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_LINE_RUNS) << "the step stays until set";
  god.SetGameModus(GAME_EXPO);
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_IDLE);
  EXPECT_EQ(god.Expo_Street_IsMarkierung(85, 40), 0);
}

TEST(GodExhibition, TheRecordKeepsTheFieldsAndDropsAStopCountThatCannotBe) {
  CGottModus god;
  god.SetGameModus(GAME_EXPO);
  god.Expo_Bus_SetHstType(25);
  god.Expo_Street_SetStreetType(4);
  god.Expo_Bus_SetTakt(15);
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  ASSERT_EQ(god.SerializeGameStore(out), 0);
  std::fclose(out);
  std::string payload(buffer + 34, size - 34);
  std::free(buffer);
  auto load = [](CGottModus& into, std::string& p) {
    FILE* in = fmemopen(p.data(), p.size(), "rb");
    const int r = into.SerializeGameLoad(in);
    std::fclose(in);
    return r;
  };
  // Stop type, street type, stop count and headway follow the language.
  int32_t fields[4];
  std::memcpy(fields, payload.data() + 132, sizeof fields);
  EXPECT_EQ(fields[0], 25);
  EXPECT_EQ(fields[1], 4);
  EXPECT_EQ(fields[3], 15);
  const int32_t count = 7;
  std::memcpy(payload.data() + 140, &count, 4);
  CGottModus back;
  ASSERT_EQ(load(back, payload), 0);
  EXPECT_EQ(back.GetGameModus(), GAME_EXPO);
  EXPECT_EQ(back.Expo_GetHeadway(), 15);
  EXPECT_EQ(back.Expo_GetStopCount(), 0) << "two stops at most";
}

}  // namespace
