#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <string>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "worldbase/zor_env_table.h"
#include "world/zor_world.h"

using zortest::ReadFile;
using zortest::WriteFile;

namespace {

// A world built on a given settings file, without opening anything.
struct SettingsTest : testing::Test {
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
  }
};

}  // namespace

TEST_F(SettingsTest, MissingFileMeansEveryDefault) {
  CZorvaWorld world;
  EXPECT_EQ(world.GetGameSpeedMs(), 12000);
  EXPECT_EQ(CZorvaWorld::m_Language, 0);
  EXPECT_EQ(world.GetEnvValue("WADPATH", static_cast<const char*>(nullptr)), nullptr);
  EXPECT_FALSE(world.GetEnvOnOff("VIDEO"));
  EXPECT_EQ(world.GetEnvTable().GetCount(), 0);
  EXPECT_EQ(world.LoadEnvFromIni("ZORVANTA.INI"), 1);
}

TEST_F(SettingsTest, LinesAreCutAtTheFirstEqualsWithOneBlankEachSide) {
  WriteFile("ZORVANTA.INI",
            "[Allgemein]\n"
            "VIDEO = 0\n"
            "AUTOLOAD  = 1\n"
            "WADPATH=\"data dir\"\n"
            "GAMESPEED=8000\r\n"
            "LANGUAGE=1\n"
            "no equals here\n"
            "A[B=1\n"
            "C=D[E\n"
            "URL=a=b\n"
            "GAMESPEED=9000\n");
  CZorvaWorld world;
  EXPECT_EQ(world.GetGameSpeedMs(), 9000);
  EXPECT_EQ(CZorvaWorld::m_Language, 1);
  EXPECT_TRUE(world.GetEnvOnOff("VIDEO"));
  EXPECT_STREQ(world.GetEnvValue("VIDEO", "x"), "0");
  // Two blanks before '=' leave one in the key.
  EXPECT_STREQ(world.GetEnvValue("AUTOLOAD ", "x"), "1");
  EXPECT_STREQ(world.GetEnvValue("AUTOLOAD", "none"), "none");
  EXPECT_STREQ(world.GetEnvValue("WADPATH", "x"), "data dir");
  EXPECT_STREQ(world.GetEnvValue("URL", "x"), "a=b");
  EXPECT_STREQ(world.GetEnvValue("A[B", "x"), "x");
  EXPECT_STREQ(world.GetEnvValue("C", "x"), "x");
  EXPECT_EQ(world.GetEnvTable().GetCount(), 6);
  CloseErrorLog();
  EXPECT_NE(ReadFile("errors.log").find("GetEnvChar GAMESPEED\n"), std::string::npos);
}

TEST_F(SettingsTest, OnOffAndNumbers) {
  WriteFile("ZORVANTA.INI", "AUTOLOAD=yes\nVIDEO=1\nTISAVI=2\nBIG=99999999999\nNEG=-7x\n");
  CZorvaWorld world;
  EXPECT_TRUE(world.GetEnvOnOff("AUTOLOAD"));
  EXPECT_EQ(world.GetEnvValue("AUTOLOAD", 0), 0);
  EXPECT_FALSE(world.GetEnvOnOff("VIDEO"));
  EXPECT_TRUE(world.GetEnvOnOff("TISAVI"));
  EXPECT_FALSE(world.GetEnvOnOff("MISSING"));
  EXPECT_EQ(world.GetEnvValue("BIG", 0), 2147483647);
  EXPECT_EQ(world.GetEnvValue("NEG", 0), -7);
  EXPECT_EQ(world.GetEnvValue("MISSING", -12), -12);
}

TEST_F(SettingsTest, SetEnvRewritesTheWholeFileInFirstSeenOrder) {
  WriteFile("ZORVANTA.INI", "; a comment line\n[Other]\nB=2\nA=1\n");
  CZorvaWorld world;
  world.SetEnv("B", 20);
  world.SetEnv("NEW", "x");
  world.SetEnvString("A", "10");  // table only
  EXPECT_EQ(ReadFile("ZORVANTA.INI"), "[Allgemein]\nB=20\nA=1\nNEW=x\n");
  world.SetEnv("A", -5);
  EXPECT_EQ(ReadFile("ZORVANTA.INI"), "[Allgemein]\nB=20\nA=-5\nNEW=x\n");
}

TEST_F(SettingsTest, DazorNameIsUsedWhenChosen) {
  std::strcpy(CZorvaWorld::m_sIniFile, "DAZOR.INI");
  WriteFile("DAZOR.INI", "GAMESPEED=3000\n");
  WriteFile("ZORVANTA.INI", "GAMESPEED=4000\n");
  CZorvaWorld world;
  EXPECT_EQ(world.GetGameSpeedMs(), 3000);
  world.SetEnv("X", 1);
  EXPECT_EQ(ReadFile("DAZOR.INI"), "[Allgemein]\nGAMESPEED=3000\nX=1\n");
  std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
}

TEST_F(SettingsTest, OverlongAndBinaryInputStillGivesAValidFile) {
  std::string text;
  text += std::string(120, 'K') + "=" + std::string(70, 'V') + "\n";  // key cut to 99
  text += "LONG=" + std::string(400, 'L') + "\n";
  text += std::string(199, 'P') + "TAIL=1\n";  // the rest past 199 is dropped, not a new line
  text += std::string("BIN\0ARY=1\n", 10);
  text += "\x01\xff\xfe=\x80\n";
  text += "GAMESPEED=5000";  // no final line feed
  WriteFile("ZORVANTA.INI", text);
  CZorvaWorld world;
  EXPECT_EQ(world.GetGameSpeedMs(), 5000);
  EXPECT_STREQ(world.GetEnvValue(std::string(99, 'K').c_str(), "x"), std::string(70, 'V').c_str());
  const char* lv = world.GetEnvValue("LONG", "x");
  EXPECT_EQ(std::strlen(lv), 99u);
  EXPECT_STREQ(world.GetEnvValue("TAIL", "none"), "none");
  world.SetEnv("SOUNDEFFEKTE", 1);
  // The rewritten file reads back to the same table.
  CEnvTable reread;
  ASSERT_EQ(reread.LoadFromFile("ZORVANTA.INI"), 0);
  EXPECT_EQ(reread.GetCount(), world.GetEnvTable().GetCount());
  EXPECT_STREQ(reread.Find("GAMESPEED"), "5000");
  EXPECT_STREQ(reread.Find("SOUNDEFFEKTE"), "1");
  const std::string written = ReadFile("ZORVANTA.INI");
  EXPECT_EQ(written.rfind("[Allgemein]\n", 0), 0u);
  EXPECT_EQ(written.back(), '\n');
}

TEST_F(SettingsTest, ControlCharactersMakeNoSettingAndAreNeverWrittenBack) {
  WriteFile("ZORVANTA.INI", "GOOD=1\n\x01\x02=\x03\nTAB=a\tb\n=7\nSOUND\x7f=1\nLANG=\xe4\n");
  CEnvTable table;
  ASSERT_EQ(table.LoadFromFile("ZORVANTA.INI"), 0);
  EXPECT_EQ(table.GetCount(), 2);
  EXPECT_STREQ(table.Find("GOOD"), "1");
  // Bytes above 127 are text (a path may hold an umlaut).
  EXPECT_STREQ(table.Find("LANG"), "\xe4");
  EXPECT_EQ(table.Find("TAB"), nullptr);
  EXPECT_EQ(table.Find(""), nullptr);
  ASSERT_EQ(table.WriteToFile("OUT.INI"), 0);
  for (char c : ReadFile("OUT.INI")) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 32) << int(c);
}

TEST_F(SettingsTest, OnlyTheFirstBytesOfAnEndlessFileAreRead) {
  std::string text = "EARLY=1\n";
  while (text.size() < static_cast<size_t>(CEnvTable::kMaxFileBytes)) text += "# filler line without a setting\n";
  text += "LATE=1\n";
  WriteFile("ZORVANTA.INI", text);
  CEnvTable table;
  ASSERT_EQ(table.LoadFromFile("ZORVANTA.INI"), 0);
  EXPECT_STREQ(table.Find("EARLY"), "1");
  EXPECT_EQ(table.Find("LATE"), nullptr);
  // A settings file that is a link to a device that never ends.
  std::remove("ZORVANTA.INI");
  ASSERT_EQ(symlink("/dev/zero", "ZORVANTA.INI"), 0);
  ASSERT_EQ(table.LoadFromFile("ZORVANTA.INI"), 0);
  EXPECT_EQ(table.GetCount(), 0);
  std::remove("ZORVANTA.INI");
}

TEST_F(SettingsTest, AFullDiskKeepsTheOldSettingsWholeAndSaysSo) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "KEY" + std::to_string(i) + "=" + std::string(80, 'v') + "\n";
  WriteFile("ZORVANTA.INI", text);
  CZorvaWorld world;
  {
    zortest::DiskLimit full(1024);
    world.SetEnv("GAMESPEED", 9000);
  }
  // The game goes on with the new value; the file on disk is the old one.
  EXPECT_EQ(world.GetEnvValue("GAMESPEED", 0), 9000);
  EXPECT_EQ(ReadFile("ZORVANTA.INI"), text);
  EXPECT_NE(ReadFile("errors.log").find("Unable to write ZORVANTA.INI"), std::string::npos);
  world.SetEnv("GAMESPEED", 9000);
  CEnvTable reread;
  ASSERT_EQ(reread.LoadFromFile("ZORVANTA.INI"), 0);
  EXPECT_STREQ(reread.Find("GAMESPEED"), "9000");
  EXPECT_EQ(reread.GetCount(), 41);
}

TEST_F(SettingsTest, UnwritableFileIsIgnored) {
  std::strcpy(CZorvaWorld::m_sIniFile, "no/such/dir/ZORVANTA.INI");
  CZorvaWorld world;
  EXPECT_EQ(world.SetEnv("A", 1), 0);
  EXPECT_STREQ(world.GetEnvValue("A", "x"), "1");
  std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
}
