// The game's sounds reach the mixer: the player clicks a button and hears
// the click, and the music starts with the game when the settings ask for
// it. The real game runs through its frame loop over the fake mixer.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "gui/gui_host.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/fake_mixer.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The real game whose sound object plays into a fake mixer.
struct FakeMixerWorld : CZorvaWorld {
  CSoundObj* NewSoundObj() override { return new CSoundObj(mixer = new CFakeMixer); }
  CFakeMixer* mixer = nullptr;
};

int Plays(const CFakeMixer& mixer, const std::string& file) {
  int n = 0;
  for (const auto& p : mixer.plays) n += p.first.find(file) != std::string::npos;
  return n;
}

TEST(ScenarioSound, AClickOnTheBarIsHeardAndTheMusicPlaysFromTheStart) {
  FakeMixerWorld* world = nullptr;
  Scenario game([&] { return world = new FakeMixerWorld; },
                "SOUNDEFFEKTE=0\nSOUNDATMO=0\nWIN2000=1\nSOUNDPATH=" + BinaryDir() + "/gamedata/SOUND\n");
  ASSERT_NE(world->mixer, nullptr);
  EXPECT_TRUE(world->mixer->IsOpen());
  // The music started in the first turns.
  EXPECT_TRUE(std::regex_match(world->mixer->MusicPlaying(), std::regex(".*/SOUND/ATMO[1-9]\\.MID")))
      << world->mixer->MusicPlaying();

  // The clicks that passed the title and the welcome have run out.
  for (int channel = 0; channel < 8; ++channel) world->mixer->Finish(channel);
  const int before = Plays(*world->mixer, "KLICK.BIN");
  // Show the bar and press its zoom button.
  game.Run({Move(600, 590), Wait(40)});
  game.Click(283, 529).Do(Wait(100));
  EXPECT_EQ(Plays(*world->mixer, "KLICK.BIN"), before + 1);
  EXPECT_EQ(world->mixer->playsOutsideLock, 0);

  // Effects switched off in the options are not heard.
  world->GetSoundObj()->SetVarData("MW.WAVON", 0.0);
  game.Run({Move(600, 590), Wait(300)});
  game.Click(303, 539).Do(Wait(100));
  EXPECT_EQ(Plays(*world->mixer, "KLICK.BIN"), before + 1);
}

// The options window's music buttons show and switch the sound object's
// music mode.
TEST(ScenarioSound, TheOptionsWindowShowsAndSwitchesTheMusicMode) {
  FakeMixerWorld* world = nullptr;
  Scenario game([&] { return world = new FakeMixerWorld; },
                "SOUNDATMO=0\nWIN2000=1\nSOUNDPATH=" + BinaryDir() + "/gamedata/SOUND\n");
  CSoundObj* sound = world->GetSoundObj();
  ASSERT_NE(sound, nullptr);
  CGuiHost* host = CGuiHost::Get();
  ASSERT_EQ(sound->GetMusikMode(), 2) << "the music plays from the start";
  EXPECT_EQ(host->GetMusicMode(), 2);

  // A mode out of range leaves no mode to play in: the piece playing ends
  // and no other follows.
  host->SetMusicMode(3);
  EXPECT_EQ(sound->GetMusikMode(), 0);
  EXPECT_EQ(host->GetMusicMode(), 0);
  const size_t loads = world->mixer->musicLoads.size();
  world->mixer->EndMusic();
  game.Run({Wait(100)});
  EXPECT_EQ(world->mixer->MusicPlaying(), "");
  EXPECT_EQ(world->mixer->musicLoads.size(), loads);
  // The MIDI button brings it back.
  host->SetMusicMode(2);
  EXPECT_EQ(host->GetMusicMode(), 2);
  game.Run({Wait(100)});
  EXPECT_NE(world->mixer->MusicPlaying(), "");
}

}  // namespace
