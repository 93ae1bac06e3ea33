// The tool table and choosing tools: entries, remembered variants and
// subtools, the measure warnings, the fallback of kinds without a picture
// and the way back to the selection tool.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "ui/user_int.h"

namespace {

// Records what the tools ask of the rest of the game and answers as told.
struct ToolProbe : CUserInt {
  std::vector<int> warnings;
  std::vector<int> kindIndexes;
  bool adviceCentre = false;
  bool carsharingCentre = false;
  int picture = 700;
  int sizeX = 2, sizeY = 3;
  int selStreetChecks = 0;

  void SetAchtungWindow(int text) override { warnings.push_back(text); }
  bool FindToolBuilding(int, int index, int& resource, int& number, int& x, int& y) override {
    kindIndexes.push_back(index);
    resource = picture;
    number = 17;
    x = sizeX;
    y = sizeY;
    return picture > 0;
  }
  bool HasAdviceCentre() override { return adviceCentre; }
  bool HasCarsharingCentre() override { return carsharingCentre; }
  int lastCheckX = -1, lastCheckY = -1;
  int CheckSelStreet(int x, int y) override {
    lastCheckX = x;
    lastCheckY = y;
    ++selStreetChecks;
    return 0;
  }
};

struct Tools : testing::Test {
  ToolProbe ui;
  void SetUp() override {
    OpenErrorLog("errors.log");
    CUserInt::ClearTools();
    // A cursor of its own for every entry that the cases use.
    CUserInt::DefineTool(1, 1409, "select");
    for (int s = 0; s < 10; ++s) CUserInt::DefineTool(2, s, 21000 + s, "street");
    for (int s = 1; s <= 5; ++s) CUserInt::DefineTool(5, s, 28468, "stop");
    for (int v = 0; v < 4; ++v) CUserInt::DefineTool(6, v, 28560 + v, "building");
    CUserInt::DefineTool(7, 1409, "traffic");
    for (int t = 9; t <= 23; ++t) CUserInt::DefineTool(t, 0, 30000 + t, "other");
    CUserInt::DefineTool(10, 1, 28481, "res 1");
    CUserInt::DefineTool(10, 2, 28482, "res 2");
    ui.SetToolStandard();
  }
  void TearDown() override {
    CUserInt::ClearTools();
    CloseErrorLog();
  }
};

TEST_F(Tools, DefineToolStoresInsideTheTableOnly) {
  EXPECT_EQ(CUserInt::DefineTool(0, 0, 7, "none"), 0);
  EXPECT_EQ(CUserInt::Tools[0][0].cursor, 7u);
  EXPECT_EQ(CUserInt::DefineTool(23, 29, 555, "last"), 0);
  EXPECT_EQ(CUserInt::Tools[23][29].cursor, 555u);
  EXPECT_STREQ(CUserInt::Tools[23][29].name, "last");
  // Outside the table nothing is written, neither beside the row nor past it.
  EXPECT_EQ(CUserInt::DefineTool(24, 0, 1, "x"), 1);
  EXPECT_EQ(CUserInt::DefineTool(-1, 0, 1, "x"), 1);
  EXPECT_EQ(CUserInt::DefineTool(3, 30, 1, "x"), 1);
  EXPECT_EQ(CUserInt::DefineTool(3, -1, 1, "x"), 1);
  EXPECT_EQ(CUserInt::Tools[4][0].cursor, 0u);
  EXPECT_EQ(CUserInt::Tools[2][29].cursor, 0u);
  EXPECT_EQ(CUserInt::Tools[3][0].cursor, 0u);
  EXPECT_NE(zortest::ReadFile("errors.log").find("Ileagal Tool Nr 24"), std::string::npos);
  // A long name keeps 59 characters and its end.
  const std::string longName(80, 'n');
  EXPECT_EQ(CUserInt::DefineTool(3, 0, 9, longName.c_str()), 0);
  EXPECT_EQ(std::strlen(CUserInt::Tools[3][0].name), 59u);
  EXPECT_EQ(CUserInt::DefineTool(3, 0, 9, "short"), 0);
  EXPECT_STREQ(CUserInt::Tools[3][0].name, "short");
}

TEST_F(Tools, EntryIndexIsTheVariantForBuildingsAndParkingAndStaysInTheTable) {
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(6, 5, 2), 2);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(8, 5, 3), 3);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(2, 4, 3), 4);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(2, -1, 3), 0);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(6, 1, -1), 0);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(6, 1, 29), 29);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(6, 1, 30), 0);
  EXPECT_EQ(CUserInt::GetSecoundToolIndex(2, 1000, 0), 0);
}

TEST_F(Tools, StreetToolTakesItsTypeCursorNameAndOneCellFootprint) {
  EXPECT_EQ(ui.SetToolNr(2, 4, -1), 0);
  EXPECT_EQ(ui.selObj.tool, 2);
  EXPECT_EQ(ui.selObj.subtool, 4);
  EXPECT_EQ(ui.GetCursorID(), 21004);
  EXPECT_EQ(ui.selObj.cursorId, 21004u);
  EXPECT_EQ(ui.GetToolResID(), 21004u);
  EXPECT_STREQ(ui.selObj.toolName, "street");
  EXPECT_EQ(ui.selObj.width, 1);
  EXPECT_EQ(ui.selObj.depth, 1);
  EXPECT_EQ(ui.selObj.startX, -1);
  EXPECT_EQ(ui.selStreetChecks, 1);
  EXPECT_EQ(ui.lastCheckX, 0);
  EXPECT_EQ(ui.lastCheckY, 0);
  EXPECT_EQ(ui.IsToolSet(2, -1, -1), 0);
  EXPECT_EQ(ui.IsToolSet(2, 4, -1), 0);
  EXPECT_EQ(ui.IsToolSet(2, 1, -1), 1);
  EXPECT_EQ(ui.IsToolSet(1, -1, -1), 1);
  EXPECT_EQ(ui.IsToolSet(-1, -1, -1), 0);
  EXPECT_EQ(ui.IsToolSet(2, 4, -1), 0);
  EXPECT_EQ(ui.IsToolSet(-1, -1, 3), 1) << "the variant was not given, so it is -1";
  EXPECT_EQ(ui.IsToolSet(2, 4, -1), 0);
  ui.SetToolNr(10, 1, 2);
  EXPECT_EQ(ui.IsToolSet(10, 1, 2), 0);
  EXPECT_EQ(ui.IsToolSet(10, 1, 1), 1);
  EXPECT_EQ(ui.IsToolSet(-1, -1, 2), 0);
}

TEST_F(Tools, InvalidNumbersAreLoggedAndChangeNothing) {
  ui.SetToolNr(2, 1, -1);
  for (int bad : {0, 24, -3}) {
    EXPECT_EQ(ui.SetToolNr(bad, 1, -1), 1);
    EXPECT_EQ(ui.selObj.tool, 2);
    EXPECT_EQ(ui.GetCursorID(), 21001);
  }
  EXPECT_NE(zortest::ReadFile("errors.log").find("Ungueltige ToolNr 24"), std::string::npos);
}

TEST_F(Tools, VariantZeroSetsTheCursorButKeepsTheTool) {
  ui.SetToolNr(2, 2, -1);
  EXPECT_EQ(ui.SetToolNr(5, 1, 0), 1);
  EXPECT_EQ(ui.selObj.tool, 2);
  EXPECT_EQ(ui.GetCursorID(), 28468);
}

TEST_F(Tools, AreaToolsRememberTheirVariantsAndTheCommercialChoiceCarriesOver) {
  ui.SetToolNr(10, 1, 2);
  ui.SetToolNr(2, 1, -1);
  ui.SetToolNr(10, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 2);
  // The commercial zone's variant becomes the residential zone's as well.
  ui.SetToolNr(11, 2, 1);
  ui.SetToolNr(10, 1, -1);
  EXPECT_EQ(ui.selObj.tool, 10);
  EXPECT_EQ(ui.selObj.variant, 1);
  // The industrial zone keeps its own.
  ui.SetToolNr(12, 1, 2);
  ui.SetToolNr(10, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 1);
  ui.SetToolNr(12, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 2);
  ui.SetToolNr(11, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 1);
  // The industrial zone's choice stays its own.
  ui.SetToolNr(11, 1, 2);
  ui.SetToolNr(12, 1, 1);
  ui.SetToolNr(11, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 2);
  // The commercial zone keeps its own choice against the residential one.
  ui.SetToolNr(10, 1, 1);
  ui.SetToolNr(11, 1, -1);
  EXPECT_EQ(ui.selObj.variant, 2);
}

TEST_F(Tools, BuildingsRememberTheSubtoolPerVariant) {
  ui.SetToolNr(6, 3, 2);
  EXPECT_EQ(ui.selObj.objectType, 14);
  ui.SetToolNr(6, 5, 1);
  EXPECT_EQ(ui.selObj.objectType, 15);
  ui.SetToolNr(6, 0, 2);
  EXPECT_EQ(ui.selObj.subtool, 3);
  EXPECT_EQ(ui.selObj.objectType, 14);
  ui.SetToolNr(6, -1, 1);
  EXPECT_EQ(ui.selObj.subtool, 5);
  // Variant 4 remembers nothing and takes nothing.
  ui.SetToolNr(6, 0, 4);
  EXPECT_EQ(ui.selObj.subtool, 0);
  EXPECT_EQ(ui.selObj.objectType, 0);
  // The building's size is the footprint; its picture and number are kept.
  ui.SetToolNr(6, 2, 3);
  EXPECT_EQ(ui.selObj.width, 2);
  EXPECT_EQ(ui.selObj.depth, 3);
  EXPECT_EQ(ui.selObj.buildingResID, 700);
  EXPECT_EQ(ui.selObj.buildingNumber, 17);
  EXPECT_EQ(ui.GetCursorID(), 28563);
}

TEST_F(Tools, VariantBeyondTheTableUsesTheFirstEntry) {
  CUserInt::DefineTool(6, 0, 28560, "building");
  ui.SetToolNr(6, 1, 250);
  EXPECT_EQ(ui.selObj.tool, 6);
  EXPECT_EQ(ui.GetCursorID(), 28560);
  EXPECT_EQ(ui.GetToolResID(), 28560u);
  ui.selObj.variant = -7;
  EXPECT_EQ(ui.GetToolResID(), 28560u);
}

TEST_F(Tools, MeasureKindsAskTheCatalogueByVariantOrForAnyKind) {
  ui.SetToolNr(7, 8, 2);
  ui.SetToolNr(7, 4, 2);
  ui.SetToolNr(5, 3, -1);
  EXPECT_EQ(ui.kindIndexes, (std::vector<int>{-1, 2, -1}));
  EXPECT_EQ(ui.selObj.objectType, 27);
  // Tram stops (kinds 3 and 4) mark their second stop word.
  EXPECT_EQ(ui.selObj.stopWord[0], 0);
  EXPECT_EQ(ui.selObj.stopWord[1], -1);
  ui.SetToolNr(5, 1, -1);
  EXPECT_EQ(ui.selObj.objectType, 23);
  EXPECT_EQ(ui.selObj.stopWord[1], 0);
}

TEST_F(Tools, MeasureWarningsKeepThePreviousTool) {
  ui.SetToolNr(2, 1, -1);
  EXPECT_EQ(ui.SetToolNr(7, 2, 1), 0);
  ui.carsharingCentre = true;
  EXPECT_EQ(ui.SetToolNr(7, 1, 1), 0);
  ui.adviceCentre = true;
  EXPECT_EQ(ui.SetToolNr(7, 9, 1), 0);
  EXPECT_EQ(ui.warnings, (std::vector<int>{33, 31, 30}));
  EXPECT_EQ(ui.selObj.tool, 2);
  EXPECT_EQ(ui.selObj.subtool, 1);
  // With the centre there, a station may be placed.
  EXPECT_EQ(ui.SetToolNr(7, 2, 1), 0);
  EXPECT_EQ(ui.selObj.tool, 7);
  EXPECT_EQ(ui.selObj.objectType, 35);
  EXPECT_EQ(ui.warnings.size(), 3u);
}

TEST_F(Tools, KindWithoutPictureFallsBackToTheSelectionTool) {
  ui.picture = 0;
  ui.SetToolNr(2, 1, -1);
  EXPECT_EQ(ui.SetToolNr(8, 1, 2), 0);
  EXPECT_EQ(ui.selObj.tool, 1);
  EXPECT_EQ(ui.GetCursorID(), 1409);
  EXPECT_EQ(ui.selObj.width, 0);
}

TEST_F(Tools, EmptyEntryIsChosenWithItsZeroCursor) {
  ui.SetToolNr(3, 0, -1);
  EXPECT_EQ(ui.selObj.startX, -1);
  EXPECT_EQ(ui.selObj.width, 1);
  EXPECT_EQ(ui.selObj.tool, 3);
  EXPECT_EQ(ui.GetToolResID(), 0u);
  EXPECT_EQ(ui.selObj.toolName[0], 0);
}

TEST_F(Tools, StandardStateDropsTheSelectionAndTheMarks) {
  ui.SetToolNr(2, 1, -1);
  ui.selObj.startX = 4;
  ui.selObj.endY = 9;
  ui.selObj.streetDrag = 1;
  ui.SetTileMask(5, 6, 3, 0xF);
  ui.SetToolNr(10, 1, 1);
  EXPECT_EQ(ui.GetTileMask(5, 6), 0);
  EXPECT_EQ(ui.selObj.streetDrag, 0);
  ui.selObj.startX = 4;
  ui.selObj.streetDrag = 1;
  ui.SetTileMask(1, 2, 3, 0xF);
  EXPECT_EQ(ui.SetToolStandard(), 0);
  EXPECT_EQ(ui.selObj.streetDrag, 0);
  EXPECT_EQ(ui.selObj.tool, 1);
  EXPECT_EQ(ui.selObj.subtool, -1);
  EXPECT_EQ(ui.selObj.variant, -1);
  EXPECT_EQ(ui.selObj.startX, -1);
  EXPECT_EQ(ui.selObj.endY, -1);
  EXPECT_EQ(ui.selObj.width, 0);
  EXPECT_EQ(ui.GetTileMask2(1, 2), 0);
  EXPECT_EQ(ui.GetCursorID(), 1409);
  EXPECT_STREQ(ui.selObj.toolName, "select");
  EXPECT_EQ(ui.IsToolSet(1, -1, -1), 0);
}

TEST_F(Tools, CursorOfTheToolComesBackOnlyWhenAnotherWasStored) {
  ui.SetToolNr(9, 0, -1);
  ui.SetCursorID(28489, 0);
  // The stored tool cursor still matches: nothing to do.
  ui.RestoreCursorFromTool();
  EXPECT_EQ(ui.GetCursorID(), 28489);
  ui.selObj.cursorId = 0;
  ui.RestoreCursorFromTool();
  EXPECT_EQ(ui.GetCursorID(), 30009);
  EXPECT_EQ(ui.selObj.cursorId, 30009u);
}

TEST_F(Tools, TheSelectionToolIsChosenLikeAnyOther) {
  ui.SetToolNr(2, 1, -1);
  ui.selObj.width = 3;
  EXPECT_EQ(ui.SetToolNr(1, -1, -1), 0);
  EXPECT_EQ(ui.selObj.tool, 1);
  EXPECT_EQ(ui.selObj.width, 0);
  EXPECT_EQ(ui.GetCursorID(), 1409);
}

TEST_F(Tools, RemoveStopToolSetsItsCursorAndOneCell) {
  ui.selObj.startX = 5;
  ui.SetToolNr(23, -1, -1);
  EXPECT_EQ(ui.selObj.startX, -1);
  EXPECT_EQ(ui.selObj.tool, 23);
  EXPECT_EQ(ui.selObj.subtool, 0);
  EXPECT_EQ(ui.GetCursorID(), 30023);
  EXPECT_EQ(ui.selObj.width, 1);
  EXPECT_EQ(ui.selObj.stopWord[0], 0);
}

TEST_F(Tools, LeavingTheLineEditorForgetsTheLine) {
  ui.SetToolNr(16, 0, -1);
  EXPECT_EQ(ui.selObj.tool, 16);
  ui.selObj.editedLine = reinterpret_cast<COpnvLine*>(&ui);
  ui.selObj.reopenWindow = 125;
  ui.SetToolNr(2, 1, -1);
  EXPECT_EQ(ui.selObj.editedLine, nullptr);
  EXPECT_EQ(ui.selObj.reopenWindow, 0);
}

}  // namespace
