// The mixer layer's contract, run against SDL_mixer (dummy audio driver)
// and against the fake the sound tests use: both must answer alike.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "world/fake_mixer.h"
#include "world/zor_mixer.h"

namespace {

std::vector<int>& Finished() {
  static std::vector<int> channels;
  return channels;
}
void RecordFinished(int channel) { Finished().push_back(channel); }

std::string Sound(const std::string& file) { return zortest::BinaryDir() + "/gamedata/SOUND/" + file; }

struct MixerKind {
  const char* name;
  std::function<CZorMixer*()> make;
};

void PrintTo(const MixerKind& kind, std::ostream* os) { *os << kind.name; }

class MixerContract : public testing::TestWithParam<MixerKind> {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    mixer.reset(GetParam().make());
    Finished().clear();
    ASSERT_TRUE(mixer->OpenAudio(22050, 1, 1024, &RecordFinished));
  }
  void TearDown() override {
    mixer->CloseAudio();
    mixer.reset();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  std::unique_ptr<CZorMixer> mixer;
};

TEST_P(MixerContract, LoadsGeneratedFilesAndRefusesMissingOrDamagedOnes) {
  CZorMixer::Chunk* klick = mixer->LoadWav(Sound("KLICK.BIN").c_str());
  EXPECT_NE(klick, nullptr);
  mixer->FreeChunk(klick);
  CZorMixer::Music* piece = mixer->LoadMus(Sound("ATMO1.MID").c_str());
  EXPECT_NE(piece, nullptr);
  mixer->FreeMusic(piece);

  EXPECT_EQ(mixer->LoadWav("NOPE.BIN"), nullptr);
  EXPECT_EQ(mixer->LoadWav(""), nullptr);
  EXPECT_EQ(mixer->LoadMus("NOPE.MID"), nullptr);
  zortest::WriteFile("GARBAGE.BIN", std::string(300, 'x'));
  zortest::WriteFile("GARBAGE.MID", std::string(300, 'x'));
  EXPECT_EQ(mixer->LoadWav("GARBAGE.BIN"), nullptr);
  EXPECT_EQ(mixer->LoadMus("GARBAGE.MID"), nullptr);
  // A sample and pieces cut off inside their headers: the MIDI header
  // chunk, and the first track's header after it.
  zortest::WriteFile("CUT.BIN", zortest::ReadFile(Sound("KLICK.BIN")).substr(0, 20));
  EXPECT_EQ(mixer->LoadWav("CUT.BIN"), nullptr);
  for (const size_t length : {0, 4, 10, 13, 16, 21}) {
    zortest::WriteFile("CUT.MID", zortest::ReadFile(Sound("ATMO1.MID")).substr(0, length));
    EXPECT_EQ(mixer->LoadMus("CUT.MID"), nullptr) << length << " bytes";
  }
  // Once the device is closed nothing is loaded and no channel is left.
  mixer->CloseAudio();
  EXPECT_EQ(mixer->AllocatedChannels(), 0);
  EXPECT_EQ(mixer->LoadMus(Sound("ATMO1.MID").c_str()), nullptr);
  EXPECT_EQ(mixer->LoadWav(Sound("KLICK.BIN").c_str()), nullptr);
}

TEST_P(MixerContract, PlaysOnTheFirstFreeChannelAndReportsHaltedChannelsFinished) {
  ASSERT_EQ(mixer->AllocatedChannels(), 8);
  CZorMixer::Chunk* wind = mixer->LoadWav(Sound("WIND.BIN").c_str());
  ASSERT_NE(wind, nullptr);
  for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(mixer->PlayChannel(wind), ch);
  EXPECT_EQ(mixer->PlayChannel(wind), -1) << "every channel is busy";
  EXPECT_TRUE(Finished().empty());
  mixer->HaltChannel(3);
  EXPECT_EQ(Finished(), std::vector<int>{3});
  EXPECT_EQ(mixer->PlayChannel(wind), 3);
  Finished().clear();
  mixer->HaltChannel(-1);
  std::sort(Finished().begin(), Finished().end());
  EXPECT_EQ(Finished(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  // Halting idle channels reports nothing.
  Finished().clear();
  mixer->HaltChannel(-1);
  EXPECT_TRUE(Finished().empty());
  EXPECT_EQ(mixer->PlayChannel(wind), 0);
  mixer->HaltChannel(-1);
  mixer->FreeChunk(wind);
}

TEST_P(MixerContract, VolumesStayWithinZeroTo128AndANegativeOneOnlyAsks) {
  EXPECT_EQ(mixer->Volume(0, 200), 128);
  EXPECT_EQ(mixer->Volume(0, -1), 128);
  mixer->Volume(0, 40);
  EXPECT_EQ(mixer->Volume(0, -5), 40);
  EXPECT_EQ(mixer->Volume(0, -1), 40);
  mixer->Volume(-1, 64);
  for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(mixer->Volume(ch, -1), 64);

  mixer->VolumeMusic(300);
  EXPECT_EQ(mixer->VolumeMusic(-1), 128);
  mixer->VolumeMusic(17);
  EXPECT_EQ(mixer->VolumeMusic(-3), 17);
  EXPECT_EQ(mixer->VolumeMusic(-1), 17);
}

TEST_P(MixerContract, MusicPlaysUntilHaltedOrFreed) {
  CZorMixer::Music* piece = mixer->LoadMus(Sound("ATMO2.MID").c_str());
  ASSERT_NE(piece, nullptr);
  EXPECT_FALSE(mixer->PlayingMusic());
  EXPECT_EQ(mixer->PlayMusic(piece, 1), 0);
  EXPECT_TRUE(mixer->PlayingMusic());
  mixer->HaltMusic();
  EXPECT_FALSE(mixer->PlayingMusic());
  EXPECT_EQ(mixer->PlayMusic(piece, 1), 0);
  mixer->FreeMusic(piece);
  EXPECT_FALSE(mixer->PlayingMusic()) << "freeing the playing piece stops it";
}

// The game loads a piece, plays it, frees it and loads the next: a freed
// piece leaves nothing behind (in the sanitizer build the leak check at the
// program's end holds the real layer to that).
TEST_P(MixerContract, PiecesLoadedOneAfterAnotherLeaveNothingBehind) {
  for (int round = 0; round < 2; ++round)
    for (int n = 1; n <= 9; ++n) {
      const std::string file = Sound("ATMO" + std::to_string(n) + ".MID");
      CZorMixer::Music* piece = mixer->LoadMus(file.c_str());
      ASSERT_NE(piece, nullptr) << file;
      EXPECT_EQ(mixer->PlayMusic(piece, 1), 0);
      EXPECT_TRUE(mixer->PlayingMusic());
      mixer->FreeMusic(piece);
      EXPECT_FALSE(mixer->PlayingMusic());
    }
  if (auto* fake = dynamic_cast<zortest::CFakeMixer*>(mixer.get())) {
    EXPECT_EQ(fake->LiveMusic(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layers, MixerContract,
    testing::Values(MixerKind{"SdlMixer", [] { return static_cast<CZorMixer*>(new CZorSdlMixer); }},
                    MixerKind{"FakeMixer", [] { return static_cast<CZorMixer*>(new zortest::CFakeMixer); }}),
    [](const testing::TestParamInfo<MixerKind>& info) { return std::string(info.param.name); });

}  // namespace
