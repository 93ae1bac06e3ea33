// The sound object's rules, seen through the fake mixer: which effect plays
// where and how loud, the repeat guard, files that cannot be read, the
// channel-finished path, the volumes and switches with their settings, and
// the music's choice, replacement and modes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "world/fake_mixer.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

namespace {

using zortest::CFakeMixer;
using zortest::Clock;
using zortest::ReadFile;

std::string SoundDir() { return zortest::BinaryDir() + "/gamedata/SOUND"; }

// A sound object that notes the warnings it would show.
struct WarningSound : CSoundObj {
  using CSoundObj::CSoundObj;
  void ShowWarning(int id) override { warnings.push_back(id); }
  std::vector<int> warnings;
};

int Count(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    Clock().Set(1000);
  }
  void TearDown() override {
    sound.reset();
    world.reset();
  }
  // A world on these settings and a sound object over a fake mixer with
  // `channels` channels, the device opened (or failing) as the world does
  // it, then the start-up settings applied.
  void Start(const std::string& settings, bool deviceOpens = true, int channels = 8) {
    sound.reset();
    world.reset();
    zortest::WriteFile("ZORVANTA.INI", "[Allgemein]\n" + settings);
    world = std::make_unique<CZorvaWorld>();
    mixer = new CFakeMixer(channels);
    mixer->openSucceeds = deviceOpens;
    sound = std::make_unique<WarningSound>(mixer);
    sound->OpenAudio();
    sound->ApplySettings();
  }
  void StartPlaying(const std::string& more = "") { Start("SOUNDEFFEKTE=0\nSOUNDPATH=" + SoundDir() + "\n" + more); }
  std::string Setting(const char* key) {
    const char* v = world->GetEnvValue(key, static_cast<const char*>(nullptr));
    return v ? v : "(none)";
  }
  int Plays(const std::string& file) {
    int n = 0;
    for (const auto& p : mixer->plays) n += p.first.size() >= file.size() && p.first.compare(p.first.size() - file.size(), file.size(), file) == 0;
    return n;
  }
  double Var(const char* name) {
    double v = -1;
    EXPECT_EQ(sound->GetVarData(name, &v), 0) << name;
    return v;
  }

  std::unique_ptr<CZorvaWorld> world;
  std::unique_ptr<WarningSound> sound;
  CFakeMixer* mixer = nullptr;  // owned by the sound object
};

TEST_F(SoundTest, AnEffectPlaysOnAFreeChannelAtItsOwnShareOfTheEffectsVolume) {
  StartPlaying();
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  ASSERT_EQ(mixer->plays.size(), 1u);
  EXPECT_EQ(mixer->plays[0], std::make_pair(SoundDir() + "/KLICK.BIN", 0));
  EXPECT_EQ(mixer->ChannelVolume(0), 128);
  EXPECT_TRUE(CSoundObj::IsSamplePlaying(0));
  // Ind plays at 14 percent, rounded down: 128 x 14 / 100.
  EXPECT_EQ(sound->AddSound("Ind", 10), 0);
  EXPECT_EQ(mixer->plays.back(), std::make_pair(SoundDir() + "/IND.BIN", 1));
  EXPECT_EQ(mixer->ChannelVolume(1), 17);
  EXPECT_EQ(sound->SetVarData("MW.WAVPERCENTAGE", 100.0), 0);
  // A new volume keeps each playing effect at its share of it.
  EXPECT_EQ(mixer->ChannelVolume(0), 100);
  EXPECT_EQ(mixer->ChannelVolume(1), 14);
  EXPECT_EQ(mixer->ChannelVolume(5), 100);
  mixer->Finish(1);
  Clock().Advance(300);
  sound->AddSound("Ind", 10);
  EXPECT_EQ(mixer->plays.back().second, 1);
  EXPECT_EQ(mixer->ChannelVolume(1), 14);
  // Fluss at 13 percent of 100, Wind at 75.
  sound->AddSound("Fluss", 13);
  EXPECT_EQ(mixer->ChannelVolume(mixer->plays.back().second), 13);
  sound->AddSound("Wind", 2);
  EXPECT_EQ(mixer->ChannelVolume(mixer->plays.back().second), 75);
  // Every start happened while the audio thread was held off.
  EXPECT_EQ(mixer->playsOutsideLock, 0);
  // Each file was read once, however often it played.
  EXPECT_EQ(std::count(mixer->wavLoads.begin(), mixer->wavLoads.end(), SoundDir() + "/IND.BIN"), 1);
}

TEST_F(SoundTest, AnEffectDoesNotStartAgainWhileItPlaysOrWithin200msOfItsStart) {
  StartPlaying();
  Clock().Set(0);
  // One that never played has no guard, even at the clock's start.
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  Clock().Advance(500);
  EXPECT_EQ(sound->AddSound("Klick", 0), 1) << "still playing";
  mixer->Finish(0);
  EXPECT_FALSE(CSoundObj::IsSamplePlaying(0));
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  mixer->Finish(0);
  Clock().Advance(200);
  EXPECT_EQ(sound->AddSound("Klick", 0), 1) << "200 ms after its start";
  Clock().Advance(1);
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  EXPECT_EQ(Plays("KLICK.BIN"), 3);
  // Another effect is not held by this one's guard.
  EXPECT_EQ(sound->AddSound("Ampel", 1), 0);
}

TEST_F(SoundTest, NothingPlaysWithoutDeviceWithEffectsOffWhileDisabledOrForANumberOutOfRange) {
  StartPlaying();
  sound->Disable();
  EXPECT_EQ(sound->AddSound("Klick", 0), 1);
  sound->Enable();
  EXPECT_EQ(sound->OutputSound("x", -1), 1);
  EXPECT_EQ(sound->OutputSound("x", 19), 1);
  sound->SetVarData("MW.WAVON", 0.0);
  EXPECT_EQ(sound->AddSound("Klick", 0), 1);
  EXPECT_EQ(Setting("SOUNDEFFEKTE"), "1");
  EXPECT_TRUE(mixer->plays.empty());
  EXPECT_TRUE(mixer->wavLoads.empty());

  Start("SOUNDEFFEKTE=0\nSOUNDPATH=" + SoundDir() + "\n", false);
  EXPECT_FALSE(sound->GetSoundInstall());
  EXPECT_EQ(sound->AddSound("Klick", 0), 1);
  EXPECT_TRUE(mixer->wavLoads.empty()) << "no sample is loaded without a device";
  EXPECT_EQ(sound->SetWavVolume(50), 1);
  EXPECT_EQ(sound->SetMusicVolume(50), 1);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 128);
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 128);
  EXPECT_EQ(Setting("WAV_VOLUME"), "(none)");
  EXPECT_EQ(Setting("MUSIC_VOLUME"), "(none)");
}

TEST_F(SoundTest, AMissingOrDamagedEffectIsLoggedOnceAndOpenedAgainOnlyWithANewDevice) {
  std::filesystem::create_directory("snd");
  zortest::WriteFile("snd/KLICK.BIN", std::string(500, '\x55'));
  Start("SOUNDEFFEKTE=0\nSOUNDPATH=snd\n");
  for (int turn = 0; turn < 50; ++turn) {
    EXPECT_EQ(sound->AddSound("Klick", 0), 1);
    EXPECT_EQ(sound->AddSound("Ampel", 1), 1);
    Clock().Advance(250);
  }
  EXPECT_EQ(mixer->wavLoads, (std::vector<std::string>{"snd/KLICK.BIN", "snd/AMPEL.BIN"}));
  const std::string log = ReadFile("errors.log");
  EXPECT_EQ(Count(log, "Sound file snd/KLICK.BIN could not be loaded"), 1);
  EXPECT_EQ(Count(log, "Sound file snd/AMPEL.BIN could not be loaded"), 1);
  EXPECT_TRUE(mixer->plays.empty());
  // A new device tries again, and a mended file plays.
  std::filesystem::copy_file(SoundDir() + "/KLICK.BIN", "snd/KLICK.BIN",
                             std::filesystem::copy_options::overwrite_existing);
  sound->CloseAudio();
  ASSERT_TRUE(sound->OpenAudio());
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  EXPECT_EQ(mixer->wavLoads.size(), 3u);
}

TEST_F(SoundTest, AnUnsetSoundPathIsReportedOnceAndNoFileIsOpened) {
  Start("SOUNDEFFEKTE=0\nSOUNDATMO=0\n");
  for (int turn = 0; turn < 40; ++turn) {
    for (int n = 0; n < CSoundObj::kSamples; ++n) sound->AddSound(CSoundObj::sound[n], n);
    sound->OnPlayloopTurn(0, 0);
    Clock().Advance(300);
  }
  EXPECT_TRUE(mixer->wavLoads.empty());
  EXPECT_TRUE(mixer->musicLoads.empty());
  EXPECT_EQ(Count(ReadFile("errors.log"), "SOUNDPATH not set"), 1);
}

TEST_F(SoundTest, SoundFileNamesUseForwardSlashesAndDropDotSegments) {
  Start("SOUNDEFFEKTE=0\nSOUNDPATH=snd\\sub\n");
  sound->AddSound("Klick", 0);
  ASSERT_EQ(mixer->wavLoads.size(), 1u);
  EXPECT_EQ(mixer->wavLoads[0], "snd/sub/KLICK.BIN");

  Start("SOUNDPATH=a/./b/\n");
  char out[399];
  EXPECT_EQ(sound->MakeValidFileName(out, sizeof out, "ATMO3", ".MID"), 0);
  EXPECT_STREQ(out, "a/b/ATMO3.MID");
  EXPECT_EQ(sound->MakeValidFileName(out, sizeof out, "WIND", nullptr), 0);
  EXPECT_STREQ(out, "a/./b/WIND.BIN") << "without an extension the path stays as built";
  // A short buffer is cut (before the dot segment goes), not overrun.
  char small[9];
  std::memset(small, 'z', sizeof small);
  sound->MakeValidFileName(small, 8, "BSBREMSEN", ".BIN");
  EXPECT_STREQ(small, "a/b/B");
  EXPECT_EQ(small[8], 'z');
}

TEST_F(SoundTest, OnlyTheFinishedChannelsEffectIsFreedAndChannelsBeyondTheTableAreNeverRecorded) {
  Start("SOUNDEFFEKTE=0\nSOUNDPATH=" + SoundDir() + "\n", true, 24);
  sound->AddSound("Klick", 0);
  sound->AddSound("Ampel", 1);
  CSoundObj::Mix_ChannelFinished_Callback(1);
  EXPECT_TRUE(CSoundObj::IsSamplePlaying(0));
  EXPECT_FALSE(CSoundObj::IsSamplePlaying(1));
  // Stray channel numbers change nothing.
  for (int stray : {-1, 19, 23, 1000}) CSoundObj::Mix_ChannelFinished_Callback(stray);
  EXPECT_TRUE(CSoundObj::IsSamplePlaying(0));

  // Fill the rest of the table's channels, so that the next effect lands
  // on channel 19, past the table's end.
  CZorMixer::Chunk* filler = mixer->LoadWav((SoundDir() + "/WIND.BIN").c_str());
  while (mixer->PlayChannel(filler) < CSoundObj::kChannelTable - 1) {
  }
  EXPECT_EQ(sound->AddSound("Horn1", 12), 0);
  EXPECT_EQ(mixer->plays.back(), std::make_pair(SoundDir() + "/HORN1.BIN", 19));
  EXPECT_FALSE(CSoundObj::IsSamplePlaying(12)) << "an unrecorded channel keeps no flag";
  mixer->Finish(19);
  EXPECT_TRUE(CSoundObj::IsSamplePlaying(0));
  // Its repeat guard still holds by the clock.
  EXPECT_EQ(sound->AddSound("Horn1", 12), 1);
  Clock().Advance(201);
  EXPECT_EQ(sound->AddSound("Horn1", 12), 0);
  mixer->FreeChunk(filler);
}

TEST_F(SoundTest, FreeingTheSamplesHaltsEveryChannelAndReleasesEveryChunk) {
  StartPlaying();
  for (int n : {0, 1, 11}) sound->AddSound(CSoundObj::sound[n], n);
  EXPECT_EQ(mixer->LiveChunks(), 3);
  sound->Mix_Free_Samples();
  EXPECT_EQ(mixer->LiveChunks(), 0);
  for (int n : {0, 1, 11}) EXPECT_FALSE(CSoundObj::IsSamplePlaying(n));
  for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(mixer->PlayingOn(ch), "");
  Clock().Advance(300);
  EXPECT_EQ(sound->AddSound("Klick", 0), 0);
  EXPECT_EQ(mixer->wavLoads.size(), 4u) << "a freed sample is loaded again";
}

TEST_F(SoundTest, VolumeVariablesAreLinearFrom0To128AndKeptInTheSettings) {
  StartPlaying();
  // A fresh installation is not silent.
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 128);
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 128);
  float lo = -1, hi = -1;
  EXPECT_EQ(sound->GetVarMin("MW.WAVPERCENTAGE", &lo), 0);
  EXPECT_EQ(sound->GetVarMax("MW.MUSIKPERCENTAGE", &hi), 0);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 128);
  EXPECT_EQ(sound->GetVarMin("MW.WAVON", &lo), 1);

  EXPECT_EQ(sound->SetVarData("MW.WAVPERCENTAGE", 64.0), 0);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 64);
  for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(mixer->ChannelVolume(ch), 64);
  EXPECT_EQ(Setting("WAV_VOLUME"), "64");
  sound->AddSound("Klick", 0);
  EXPECT_EQ(mixer->ChannelVolume(0), 64);
  sound->SetVarData("MW.WAVPERCENTAGE", 63.9);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 63);
  sound->SetVarData("MW.WAVPERCENTAGE", 500.0);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 128);
  sound->SetVarData("MW.WAVPERCENTAGE", -3.0);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 0);
  EXPECT_EQ(Setting("WAV_VOLUME"), "0");

  EXPECT_EQ(sound->SetVarData("MW.MUSIKPERCENTAGE", 40.0), 0);
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 40);
  EXPECT_EQ(mixer->VolumeMusic(-1), 40);
  EXPECT_EQ(Setting("MUSIC_VOLUME"), "40");
  sound->SetVarData("MW.MUSIKPERCENTAGE", 1e9);
  EXPECT_EQ(mixer->VolumeMusic(-1), 128);

  double v = 0;
  EXPECT_EQ(sound->SetVarData("MW.NOTHING", 1.0), 1);
  EXPECT_EQ(sound->GetVarData("MW.WAVPERCENTAGEX", &v), 1);
}

TEST_F(SoundTest, StartUpSettingsAreAppliedAndVolumesOutOfRangeClamped) {
  Start("SOUNDEFFEKTE=0\nSOUNDATMO=0\nWIN2000=1\nWAV_VOLUME=900\nMUSIC_VOLUME=-20\n");
  EXPECT_TRUE(sound->IsEffectsOn());
  EXPECT_TRUE(sound->IsMusicOn());
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeMidi);
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 128);
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 0);
  EXPECT_EQ(Setting("WAV_VOLUME"), "128");

  // A value that is no number leaves the volume as it is.
  Start("WAV_VOLUME=loud\nMUSIC_VOLUME=12abc\n");
  EXPECT_EQ(Var("MW.WAVPERCENTAGE"), 128);
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 128);

  // Music is allowed only with WIN2000 at 1; its volume is then not read.
  Start("SOUNDATMO=0\nWIN2000=0\nMUSIC_VOLUME=5\n");
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(Var("MW.MUSIKPERCENTAGE"), 128);

  // Without any settings: effects and music off, written back as off.
  Start("");
  EXPECT_FALSE(sound->IsEffectsOn());
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(Setting("SOUNDEFFEKTE"), "1");
}

TEST_F(SoundTest, MusicPlaysOnePieceAtATimeAndFreesTheLastBeforeTheNext) {
  StartPlaying("SOUNDATMO=0\n");
  sound->OnPlayloopTurn(0, 0);
  ASSERT_EQ(mixer->musicLoads.size(), 1u);
  const std::string first = mixer->musicLoads[0];
  EXPECT_EQ(mixer->MusicPlaying(), first);
  EXPECT_EQ(mixer->musicLoopsPlayed, std::vector<int>{1}) << "each piece plays once";
  for (int turn = 0; turn < 5; ++turn) sound->OnPlayloopTurn(0, 0);
  EXPECT_EQ(mixer->musicLoads.size(), 1u) << "nothing new while a piece plays";

  std::set<std::string> pieces;
  const std::regex name(".*/ATMO[1-9]\\.MID");
  for (int piece = 0; piece < 40; ++piece) {
    Clock().Advance(90000);
    mixer->EndMusic();
    sound->OnPlayloopTurn(0, 0);
    EXPECT_EQ(mixer->LiveMusic(), 1);
    ASSERT_FALSE(mixer->MusicPlaying().empty());
    EXPECT_TRUE(std::regex_match(mixer->MusicPlaying(), name)) << mixer->MusicPlaying();
    pieces.insert(mixer->MusicPlaying());
  }
  EXPECT_EQ(mixer->freedMusic.size(), 40u);
  EXPECT_EQ(mixer->freedMusic[0], first);
  EXPECT_GE(pieces.size(), 6u) << "the pieces are chosen at random";

  // Music off: the piece stops at the next turn and is let go.
  sound->SetVarData("MW.MUSIKON", 0.0);
  sound->OnPlayloopTurn(0, 0);
  EXPECT_EQ(mixer->MusicPlaying(), "");
  EXPECT_EQ(mixer->LiveMusic(), 0);
  EXPECT_EQ(Setting("SOUNDATMO"), "1");
}

TEST_F(SoundTest, APieceThatCannotBePlayedIsNotOpenedAgain) {
  std::filesystem::create_directory("snd");
  zortest::WriteFile("snd/ATMO2.MID", "MThd garbage");
  Start("SOUNDATMO=0\nSOUNDPATH=snd\n");
  for (int turn = 0; turn < 300; ++turn) sound->OnPlayloopTurn(0, 0);
  std::set<std::string> distinct(mixer->musicLoads.begin(), mixer->musicLoads.end());
  EXPECT_EQ(distinct.size(), mixer->musicLoads.size()) << "no piece is opened twice";
  EXPECT_EQ(distinct.size(), 9u);
  EXPECT_EQ(Count(ReadFile("errors.log"), "Music file snd/ATMO2.MID could not be played"), 1);

  // A piece that loads but ends as soon as it starts is not chosen again.
  StartPlaying("SOUNDATMO=0\n");
  sound->OnPlayloopTurn(0, 0);
  const std::string silent = mixer->MusicPlaying();
  mixer->EndMusic();
  Clock().Advance(100);
  sound->OnPlayloopTurn(0, 0);
  EXPECT_EQ(Count(ReadFile("errors.log"), "played nothing"), 1);
  for (int piece = 0; piece < 60; ++piece) {
    Clock().Advance(90000);
    mixer->EndMusic();
    sound->OnPlayloopTurn(0, 0);
  }
  EXPECT_EQ(std::count(mixer->musicLoads.begin(), mixer->musicLoads.end(), silent), 1);
}

TEST_F(SoundTest, MusicSwitchesThroughItsModesWithTheirWarnings) {
  Start("SOUNDPATH=" + SoundDir() + "\n");
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeOff);
  // From off: the mode that cannot play falls back, MIDI plays, warning 62.
  EXPECT_EQ(sound->SetVarData("MW.MUSIKON", 1.0), 0);
  EXPECT_TRUE(sound->IsMusicOn());
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeMidi);
  EXPECT_EQ(sound->warnings, std::vector<int>{62});
  EXPECT_EQ(Var("MW.MUSIKON"), 1);
  EXPECT_EQ(Setting("SOUNDATMO"), "0") << "the next start plays music too";
  sound->OnPlayloopTurn(0, 0);
  EXPECT_NE(mixer->MusicPlaying(), "");

  sound->SetVarData("MW.MUSIKON", 0.0);
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(Setting("SOUNDATMO"), "1");
  sound->SetVarData("MW.MUSIKON", 1.0);
  EXPECT_TRUE(sound->IsMusicOn());
  EXPECT_EQ(sound->warnings.size(), 1u) << "MIDI plays at once: no warning";

  EXPECT_EQ(sound->SetMusikMode(1), 0);
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeOff);
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(sound->warnings.back(), 50);
  EXPECT_EQ(sound->SetMusikMode(2), 0);
  EXPECT_TRUE(sound->IsMusicOn());
  EXPECT_EQ(sound->warnings.size(), 2u);
  sound->SetMusikMode(0);
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeMidi);
  sound->SetMusikMode(-1);
  EXPECT_EQ(sound->GetMusikMode(), CSoundObj::kModeOff);

  // Without a device: music stays off with warning 64, effects with 49.
  Start("", false);
  sound->SetVarData("MW.MUSIKON", 1.0);
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_EQ(sound->warnings, std::vector<int>{64});
  sound->SetVarData("MW.WAVON", 1.0);
  EXPECT_FALSE(sound->IsEffectsOn());
  EXPECT_EQ(sound->warnings.back(), 49);

  // WIN2000 other than 1 forbids music.
  Start("WIN2000=0\n");
  sound->SetVarData("MW.MUSIKON", 1.0);
  EXPECT_FALSE(sound->IsMusicOn());
  EXPECT_TRUE(sound->warnings.empty());
  sound->SetVarData("MW.WAVON", 1.0);
  EXPECT_TRUE(sound->IsEffectsOn());
  EXPECT_EQ(Var("MW.WAVON"), 1);
  EXPECT_EQ(Setting("SOUNDEFFEKTE"), "0");
}

}  // namespace
