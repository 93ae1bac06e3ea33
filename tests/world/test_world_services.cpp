// The world's services: the game speed between the slider and the
// settings, the video look-ups and the tutorial's first start, and the
// loading bar's pace.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

struct WarningUserInt : CUserInt {
  void SetAchtungWindow(int text) override { warnings.push_back(text); }
  std::vector<int> warnings;
};

class ServiceWorld : public CZorvaWorld {
 public:
  int PlayVideo(const char* path, int type, bool wait) override {
    played.push_back(path ? path : "");
    return CZorvaWorld::PlayVideo(path, type, wait);
  }
  std::vector<std::string> played;
  WarningUserInt* ui = nullptr;

 protected:
  CUserInt* NewUserInt() override { return ui = new WarningUserInt; }
};

struct WorldServices : testing::Test {
  ServiceWorld* world = nullptr;
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    CZorvaWorld::m_Language = 0;
    std::filesystem::create_directory("movies");
  }
  void Start(const std::string& settings) {
    zortest::WriteGameSettings("MOVIEPATH=movies\n" + settings);
    world = new ServiceWorld;
    ASSERT_EQ(world->Create(), 0);
    ASSERT_EQ(world->OnStartup(), 0);
  }
  void TearDown() override {
    if (!world) return;
    world->OnShutdown();
    world->Destroy();
    delete world;
    CZorvaWorld::m_Language = 0;
  }
  std::string Settings() { return zortest::ReadFile("ZORVANTA.INI"); }
};

TEST_F(WorldServices, TheSliderValueSetsTheMillisecondsPerHourAndIsKept) {
  Start("GAMESPEED=9000\n");
  EXPECT_EQ(world->GetGameSpeedMs(), 9000);
  EXPECT_EQ(world->GetGameSpeed(), 21000);
  world->SetGameSpeed(18000);
  EXPECT_EQ(world->GetGameSpeedMs(), 12000);
  EXPECT_EQ(world->GetGameSpeed(), 18000);
  EXPECT_NE(Settings().find("GAMESPEED=12000"), std::string::npos);
  world->SetGameSpeed(CZorvaWorld::GetGameSpeedMax());
  EXPECT_EQ(world->GetGameSpeedMs(), 6000);
  world->SetGameSpeed(CZorvaWorld::GetGameSpeedMin());
  EXPECT_EQ(world->GetGameSpeedMs(), 24000);
  EXPECT_NE(Settings().find("GAMESPEED=24000"), std::string::npos);
}

TEST_F(WorldServices, VideosAreLookedUpAndTheirTimeRecorded) {
  Start("");
  zortest::Clock().Set(5000);
  // Missing: the intro says so, the closing video does not.
  EXPECT_EQ(world->PlayVorspannVideo(), 1);
  EXPECT_EQ(world->PlayAbspannVideo(), 0);
  EXPECT_TRUE(world->played.empty());
  EXPECT_EQ(world->GetLastVideoTime(), -1);
  zortest::WriteFile("movies/vorspann.mpg", "intro");
  zortest::WriteFile("movies/abspann.mpg", "end");
  EXPECT_EQ(world->PlayVorspannVideo(), 0);
  EXPECT_EQ(world->GetLastVideoTime(), 5000);
  zortest::Clock().Set(7000);
  EXPECT_EQ(world->PlayAbspannVideo(), 0);
  EXPECT_EQ(world->GetLastVideoTime(), 7000);
  ASSERT_EQ(world->played.size(), 2u);
  EXPECT_NE(world->played[0].find("vorspann.mpg"), std::string::npos);
  EXPECT_NE(world->played[1].find("abspann.mpg"), std::string::npos);
  EXPECT_FALSE(CZorvaWorld::FileExists(nullptr));
  EXPECT_FALSE(CZorvaWorld::FileExists("movies/none.mpg"));
}

TEST_F(WorldServices, TheTutorialFollowsLanguageAndFormatAndWarnsWhenMissing) {
  Start("TISAVI=0\n");
  zortest::Clock().Set(3000);
  world->PlayTutorialVideo();
  EXPECT_TRUE(world->played.empty());
  EXPECT_EQ(world->GetLastVideoTime(), -1);
  EXPECT_EQ(world->ui->warnings, std::vector<int>{61});
  // English with TISAVI on takes the other name and the other format.
  zortest::WriteFile("movies/tutoriae.avi", "tutorial");
  CZorvaWorld::m_Language = 1;
  world->PlayTutorialVideo();
  ASSERT_EQ(world->played.size(), 1u);
  EXPECT_NE(world->played[0].find("tutoriae.avi"), std::string::npos);
  EXPECT_EQ(world->GetLastVideoTime(), 3000);
  EXPECT_EQ(world->ui->warnings.size(), 1u);
}

TEST_F(WorldServices, TheTutorialIsLookedUpOnlyOnTheFirstStartAfterInstallation) {
  Start("AFTERINSTALLATION=0\n");
  world->StartTutorialFirstTime();
  EXPECT_EQ(world->ui->warnings, std::vector<int>{61});
  EXPECT_NE(Settings().find("AFTERINSTALLATION=1"), std::string::npos);
  world->StartTutorialFirstTime();
  EXPECT_EQ(world->ui->warnings.size(), 1u);
}

TEST_F(WorldServices, TheLoadingBarFollowsTheFileAtMostEveryHalfSecond) {
  Start("");
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  for (int i = 0; i < 1000; ++i) std::fputc('x', f);
  // No size recorded: nothing moves.
  world->SetLoadFileSize(0);
  std::fseek(f, 100, SEEK_SET);
  zortest::Clock().Set(10000);
  world->RenderLadeAnzeige(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.0f);
  world->SetLoadFileSize(1000);
  zortest::Clock().Set(10600);
  std::fseek(f, 250, SEEK_SET);
  world->RenderLadeAnzeige(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.25f);
  EXPECT_EQ(world->IsLoading(), 0);
  // Within the half second the bar stays.
  std::fseek(f, 500, SEEK_SET);
  zortest::Clock().Set(11000);
  world->RenderLadeAnzeige(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.25f);
  zortest::Clock().Set(11101);
  world->RenderLadeAnzeige(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.5f);
  // Without a file the bar stands at the start.
  zortest::Clock().Set(12000);
  world->RenderLadeAnzeige(nullptr);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.0f);
  // An unknown size (-1) moves nothing.
  world->SetLoadFileSize(-1);
  zortest::Clock().Set(13000);
  world->RenderLadeAnzeige(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.0f);
  // The demand model's steps through its agents move the same bar.
  world->SetLoadFileSize(1000);
  std::fseek(f, 900, SEEK_SET);
  zortest::Clock().Set(14000);
  ASSERT_NE(world->GetSimWelt(), nullptr);
  world->GetSimWelt()->LoadProgress(f);
  EXPECT_FLOAT_EQ(world->GetLoadProgress(), 0.9f);
  std::fclose(f);
}

}  // namespace
