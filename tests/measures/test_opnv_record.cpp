#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "measures/opnv.h"
#include "measures/preise.h"
#include "opnv_test_hosts.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

class OpnvRecord : public OpnvFixture {
 protected:
  void SetUp() override {
    version = g_ZorLoadVersion;
    g_ZorLoadVersion = 240;
    OpnvFixture::SetUp();
  }
  void TearDown() override {
    OpnvFixture::TearDown();
    g_ZorLoadVersion = version;
  }
  // Reads the record's header as the savegame's container does, then hands
  // the rest to a new operator.
  int Load(FILE* file, COpnv& into) {
    std::rewind(file);
    uint32_t length = 0;
    char name[30] = {};
    EXPECT_EQ(std::fread(&length, 4, 1, file), 1u);
    EXPECT_EQ(std::fread(name, 30, 1, file), 1u);
    EXPECT_STREQ(name, "Opnv");
    return into.SerializeGameLoad(file);
  }
  // An empty net as a savegame holds it.
  static void EmptyNet(ZorRecordWriter& out, const char* tag, int type) {
    out.FixedString(tag, 30);
    out.FixedString("OPNVLINEENDE", 30);
    out.I32(0);
    out.I32(type);
  }

  int version = 0;
};

TEST_F(OpnvRecord, TheTablePoolsAndCountersSurviveARoundTrip) {
  ASSERT_EQ(opnv.SetVarData("OPNV.PRICE.KM", 0.22), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.LOWFLOOR", 3), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM", 2), 0);
  opnv.CheckFP();
  ASSERT_NE(opnv.CreateNewLine(NET_BUS), nullptr);
  const int nextLine = opnv.GetNextLineNr();
  File file(std::tmpfile());
  ASSERT_EQ(opnv.SerializeGameStore(file.get(), nullptr), 0);
  // The length field counts the name and the table only.
  std::rewind(file.get());
  uint32_t length = 0;
  ASSERT_EQ(std::fread(&length, 4, 1, file.get()), 1u);
  EXPECT_EQ(length, 11838u);
  const double price = COpnv::GetVarValue("OPNV.PRICE.KM");
  opnv.Destroy();
  COpnv loaded;
  loaded.Create();
  EXPECT_DOUBLE_EQ(COpnv::GetVarValue("OPNV.PRICE.KM"), 0.14);
  ASSERT_EQ(Load(file.get(), loaded), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PRICE.KM"), price);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS"), 3);
  EXPECT_EQ(loaded.GetFreeFp(FLEET_LOWFLOOR), 3);
  EXPECT_EQ(loaded.GetFreeFp(FLEET_TRAM), 2);
  EXPECT_EQ(loaded.GetFreeFp(FLEET_NORMAL), 0);
  EXPECT_EQ(loaded.GetNextLineNr(), nextLine);
  EXPECT_TRUE(loaded.GetNewMatrix());
  ASSERT_NE(loaded.GetBusNet()->GetLineObjectByID(1), nullptr);
  // A line record whose stop count does not fit its arrays fails the load.
  const long stopsOneWay = 4 + 30 + 30 + 30 + 5846;
  std::fseek(file.get(), stopsOneWay, SEEK_SET);
  const uint16_t tooMany = 41;
  std::fwrite(&tooMany, 2, 1, file.get());
  COpnv broken;
  broken.Create();
  EXPECT_EQ(Load(file.get(), broken), 1);
  broken.Destroy();
  loaded.Destroy();
  opnv.Create();
}

TEST_F(OpnvRecord, OlderSavegamesHoldTheTableInSingleRowsOfFloats) {
  File file(std::tmpfile());
  {
    ZorRecordWriter out(file.get());
    out.Header("Opnv", 11808);
    EmptyNet(out, "OPNVBUSNET", NET_BUS);
    EmptyNet(out, "OPNVTRAMNET", NET_TRAM);
    for (int i = 0; i < COpnv::kVarRows; ++i) {
      out.FixedString(COpnv::OPNVVars[i].name, 60);
      const bool km = std::strcmp(COpnv::OPNVVars[i].name, "OPNV.PRICE.KM") == 0;
      out.F32(km ? 0.2f : static_cast<float>(COpnv::OPNVVars[i].value));
      out.F32(static_cast<float>(COpnv::OPNVVars[i].min));
      out.F32(static_cast<float>(COpnv::OPNVVars[i].max));
      out.F32(static_cast<float>(COpnv::OPNVVars[i].step));
    }
    out.FixedString("OPNVENDE2", 30);
    for (int32_t pool : {1, 2, 3, 4, 5}) out.I32(pool);
    out.I16(9);
    out.I16(30);
    ASSERT_TRUE(out.Ok());
  }
  g_ZorLoadVersion = 179;
  ASSERT_EQ(Load(file.get(), opnv), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PRICE.KM"), static_cast<double>(0.2f));
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PERS.DRIVER.QUOTE"), 100);
  // Pools in their saved order: normal, low-floor, electric, hydrogen, trams.
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_LOWFLOOR), 2);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_ENERGIE), 3);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_H2), 4);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_TRAM), 5);
  EXPECT_EQ(opnv.GetNextLineNr(), 9);
  EXPECT_EQ(opnv.GetNextHstID(), 30);
  // The same bytes read as a version-180 savegame come up short.
  g_ZorLoadVersion = 180;
  COpnv::SetVarValue("OPNV.PRICE.KM", 0.1);
  EXPECT_EQ(Load(file.get(), opnv), 1);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PRICE.KM"), 0.1);
}

TEST_F(OpnvRecord, ATableWhoseRowsAreNotTheGamesIsRefusedAndLeavesTheTable) {
  COpnv::SetVarValue("OPNV.PRICE.KM", 0.2);
  File file(std::tmpfile());
  ASSERT_EQ(opnv.SerializeGameStore(file.get(), nullptr), 0);
  // Row 5 renamed, and the next row's name left without its end.
  const long tableStart = 4 + 30 + 2 * (30 + 30 + 8);
  std::fseek(file.get(), tableStart + 5 * 96, SEEK_SET);
  std::fputs("OPNV.F.COST.ELSE", file.get());
  File unterminated(std::tmpfile());
  ASSERT_EQ(opnv.SerializeGameStore(unterminated.get(), nullptr), 0);
  std::fseek(unterminated.get(), tableStart + 6 * 96, SEEK_SET);
  const std::string full(60, 'X');
  std::fwrite(full.data(), 1, full.size(), unterminated.get());
  COpnv::SetVarValue("OPNV.PRICE.KM", 0.1);
  EXPECT_EQ(Load(file.get(), opnv), 1);
  EXPECT_EQ(Load(unterminated.get(), opnv), 1);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PRICE.KM"), 0.1);
  EXPECT_STREQ(COpnv::OPNVVars[5].name, "OPNV.F.COST.BUS");
  EXPECT_STREQ(COpnv::OPNVVars[6].name, "OPNV.F.COST.TRAM");
}

TEST_F(OpnvRecord, ACutRecordFailsAndAMissingPoolTagKeepsThePools) {
  File file(std::tmpfile());
  {
    ZorRecordWriter out(file.get());
    out.Header("Opnv", 11808);
    EmptyNet(out, "OPNVBUSNET", NET_BUS);
    EmptyNet(out, "OPNVTRAMNET", NET_TRAM);
    for (int i = 0; i < COpnv::kVarRows; ++i) WriteVarRow(out, COpnv::OPNVVars[i]);
    out.FixedString("SOMETHINGELSE", 30);
    out.I16(4);
    out.I16(6);
  }
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM", 2), 0);
  opnv.CheckFP();
  ASSERT_EQ(Load(file.get(), opnv), 0);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_TRAM), 2);
  // Every byte short of the whole record fails.
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  std::rewind(file.get());
  std::string bytes(static_cast<size_t>(size), '\0');
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
  for (const long cut : {size - 1, size - 3, 4L + 30 + 40, 4L + 30 + 2 * 68 + 30 + 500}) {
    File part(std::tmpfile());
    std::fwrite(bytes.data(), 1, static_cast<size_t>(cut), part.get());
    std::fseek(part.get(), 4 + 30, SEEK_SET);
    EXPECT_EQ(opnv.SerializeGameLoad(part.get()), 1) << cut;
  }
}

}  // namespace
