#include <gtest/gtest.h>

#include <cstring>

#include "framework/var_table.h"
#include "model_test_util.h"

using modeltest::Row;

TEST(VarTable, FindsNamesExactlyUpToTheEndRowAndTheLimit) {
  SVVarTypeNew rows[] = {Row("SV.TAX.GENERAL", 25, 20, 30, 1), Row("SV.TAX.MWST", 16, 14, 22, 1),
                         Row("SV.TICKET", 20, 10, 25, 3), Row("LISTENDE", 0, 130, 250, 1), Row("SV.HIDDEN", 1, 0, 2, 1)};
  CVarTable table(rows, 100);
  double v = 0;
  EXPECT_EQ(table.GetVarData("SV.TAX.MWST", &v), 0);
  EXPECT_EQ(v, 16.0);
  EXPECT_EQ(table.GetVarData("sv.tax.mwst", &v), 1);
  EXPECT_EQ(table.GetVarData("SV.TAX", &v), 1);
  EXPECT_EQ(table.GetVar("LISTENDE"), nullptr);
  EXPECT_EQ(table.GetVar("SV.HIDDEN"), nullptr);  // behind the end row
  EXPECT_EQ(table.CountRows(), 3);

  // The table does not clamp: bounds only serve the interface's stepping.
  EXPECT_EQ(table.SetVarData("SV.TICKET", 99), 0);
  EXPECT_EQ(rows[2].value, 99.0);
  EXPECT_EQ(table.SetVarData("SV.NONE", 1), 1);
  double step = 0, min = 0, max = 0;
  EXPECT_EQ(table.GetStep("SV.TICKET", &step), 0);
  EXPECT_EQ(table.GetVarMin("SV.TICKET", &min), 0);
  EXPECT_EQ(table.GetVarMax("SV.TICKET", &max), 0);
  EXPECT_EQ(step, 3.0);
  EXPECT_EQ(min, 10.0);
  EXPECT_EQ(max, 25.0);

  CVarTable limited(rows, 2);  // an owner that counts its rows
  EXPECT_EQ(limited.GetVar("SV.TICKET"), nullptr);
  EXPECT_NE(limited.GetVar("SV.TAX.MWST"), nullptr);
}

TEST(VarTable, OldRowsWidenToDoublesAndKeepTheFlag) {
  SVVarType old[2] = {};
  std::strcpy(old[0].name, "OPNV.PRICE");
  old[0].value = 25.5f;
  old[0].min = 0.25f;
  old[0].max = 40.0f;
  old[0].step = 0.5f;
  std::memset(old[1].name, 'X', sizeof old[1].name);  // no terminator in the file
  SVVarTypeNew rows[2] = {Row("A", 0, 0, 0, 0), Row("B", 0, 0, 0, 0)};
  rows[0].flag = 7;
  ConvertOldVarRows(old, rows, 2);
  EXPECT_STREQ(rows[0].name, "OPNV.PRICE");
  EXPECT_EQ(rows[0].value, 25.5);
  EXPECT_EQ(rows[0].min, 0.25);
  EXPECT_EQ(rows[0].max, 40.0);
  EXPECT_EQ(rows[0].step, 0.5);
  EXPECT_EQ(rows[0].flag, 7);
  EXPECT_EQ(std::strlen(rows[1].name), 59u);

  // A float table answers the same way, with its float numbers.
  SVVarType indicators[] = {{"I.GROWTH", 0.5f, 0, 1, 0.1f}, {"LISTENDE", 0, 0, 0, 0}};
  CVarTableFloat floats(indicators, 24);
  double v = 0;
  EXPECT_EQ(floats.GetVarData("I.GROWTH", &v), 0);
  EXPECT_EQ(v, 0.5);
}
