// The generated sound files as the game meets them: every effect and every
// piece loads through SDL_mixer, the effects are clean samples, the pieces
// are calm standard MIDI songs, the music really sounds on this machine, and
// SDL_mixer's audio thread reports a finished effect to the sound object.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_util.h"
#include "support/test_support.h"
#include "world/zor_mixer.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

namespace {

std::string SoundDir() { return zortest::BinaryDir() + "/gamedata/SOUND"; }

std::string EffectFile(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "%s", CSoundObj::sound[n]);
  kfx_strupr(name);
  return SoundDir() + "/" + name + ".BIN";
}

std::string PieceFile(int n) { return SoundDir() + "/ATMO" + std::to_string(n) + ".MID"; }

// SDL's audio on the dummy driver, with the game's device, opened and read
// through the game's mixer layer (in the sanitizer build the leak check
// holds every piece loaded and freed to leave nothing behind).
class MixerOpen : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_TRUE(mixer.OpenAudio(22050, 1, 1024, nullptr)) << Mix_GetError();
  }
  void TearDown() override {
    mixer.CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  CZorSdlMixer mixer;
};

TEST_F(MixerOpen, EveryEffectAndEveryPieceLoads) {
  for (int n = 0; n < CSoundObj::kSamples; ++n) {
    CZorMixer::Chunk* chunk = mixer.LoadWav(EffectFile(n).c_str());
    EXPECT_NE(chunk, nullptr) << EffectFile(n) << ": " << Mix_GetError();
    mixer.FreeChunk(chunk);
  }
  for (int n = 1; n <= CSoundObj::kPieces; ++n) {
    CZorMixer::Music* music = mixer.LoadMus(PieceFile(n).c_str());
    EXPECT_NE(music, nullptr) << PieceFile(n) << ": " << Mix_GetError();
    mixer.FreeMusic(music);
  }
}

// A device the library cannot open (three channels) is refused, and the
// log says so with the library's reason; the layer stays closed.
TEST(SoundFiles, ADeviceThatCannotBeOpenedIsRefusedAndLogged) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  OpenErrorLog("errors.log");
  CZorSdlMixer mixer;
  EXPECT_FALSE(mixer.OpenAudio(22050, 3, 1024, nullptr));
  EXPECT_EQ(mixer.AllocatedChannels(), 0);
  EXPECT_EQ(mixer.LoadMus(PieceFile(1).c_str()), nullptr);
  CloseErrorLog();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  const std::string log = zortest::ReadFile("errors.log"), line = "Cannot open the audio device (22050 Hz, 3 channels): ";
  const size_t at = log.find(line);
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_NE(log[at + line.size()], '\n') << "the library's reason follows: " << log;
}

std::atomic<int> g_peak{0};
void MeasurePeak(void*, Uint8* stream, int len) {
  const auto* s = reinterpret_cast<const int16_t*>(stream);
  int peak = g_peak.load();
  for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
  g_peak = peak;
}

// MIDI needs a synthesiser and a soundfont on the machine: without them a
// piece loads and plays silence.
TEST_F(MixerOpen, APieceSoundsThroughTheMachinesSynthesiser) {
  CZorMixer::Music* music = mixer.LoadMus(PieceFile(1).c_str());
  ASSERT_NE(music, nullptr) << Mix_GetError();
  g_peak = 0;
  Mix_SetPostMix(&MeasurePeak, nullptr);
  ASSERT_EQ(mixer.PlayMusic(music, 1), 0) << Mix_GetError();
  for (int waited = 0; waited < 4000 && g_peak.load() < 300; waited += 20) SDL_Delay(20);
  Mix_SetPostMix(nullptr, nullptr);
  mixer.FreeMusic(music);
  EXPECT_GE(g_peak.load(), 300) << "the music plays silence: no MIDI synthesiser or soundfont";
}

// The real audio thread reports a finished effect: a click ends by itself
// and may be played again.
TEST(SoundFiles, AnEffectThatEndsIsReportedFinishedByTheAudioThread) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  OpenErrorLog("errors.log");
  std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
  zortest::WriteFile("ZORVANTA.INI", "[Allgemein]\nSOUNDEFFEKTE=0\nSOUNDPATH=" + SoundDir() + "\n");
  {
    CZorvaWorld world;
    CSoundObj sound;
    ASSERT_TRUE(sound.OpenAudio());
    sound.ApplySettings();
    zortest::Clock().Set(1000);
    ASSERT_EQ(sound.AddSound("Klick", 0), 0);
    EXPECT_TRUE(CSoundObj::IsSamplePlaying(0));
    for (int waited = 0; waited < 3000 && CSoundObj::IsSamplePlaying(0); waited += 10) SDL_Delay(10);
    EXPECT_FALSE(CSoundObj::IsSamplePlaying(0));
    zortest::Clock().Advance(300);
    EXPECT_EQ(sound.AddSound("Klick", 0), 0);
    sound.CloseAudio();
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// ---- the effects as samples ---------------------------------------------------------------------

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

uint32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

bool ReadWav(const std::string& b, Wav* w) {
  if (b.size() < 12 || b.compare(0, 4, "RIFF") || b.compare(8, 4, "WAVE")) return false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t len = Le(b, at + 4, 4);
    if (at + 8 + len > b.size()) return false;
    if (!b.compare(at, 4, "fmt ")) {
      w->format = static_cast<int>(Le(b, at + 8, 2));
      w->channels = static_cast<int>(Le(b, at + 10, 2));
      w->rate = static_cast<int>(Le(b, at + 12, 4));
      w->bits = static_cast<int>(Le(b, at + 22, 2));
    } else if (!b.compare(at, 4, "data")) {
      for (size_t i = 0; i + 1 < len; i += 2) w->samples.push_back(static_cast<int16_t>(Le(b, at + 8 + i, 2)));
      return true;
    }
    at += 8 + len + (len & 1);
  }
  return false;
}

TEST(SoundFiles, EffectsAreCleanMonoSamplesOfSensibleLength) {
  std::set<std::vector<int16_t>> distinct;
  for (int n = 0; n < CSoundObj::kSamples; ++n) {
    SCOPED_TRACE(EffectFile(n));
    Wav w;
    ASSERT_TRUE(ReadWav(zortest::ReadFile(EffectFile(n)), &w));
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 22050);
    EXPECT_EQ(w.bits, 16);
    const auto& s = w.samples;
    const double seconds = s.size() / 22050.0;
    EXPECT_GE(seconds, 0.03);
    EXPECT_LE(seconds, 6.0);
    int peak = 0;
    double sum = 0, energy = 0, roughness = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      peak = std::max(peak, std::abs(static_cast<int>(s[i])));
      sum += s[i];
      energy += double(s[i]) * s[i];
      if (i) roughness += double(s[i] - s[i - 1]) * (s[i] - s[i - 1]);
    }
    // Loud enough to hear, well below clipping.
    EXPECT_GT(peak, 0.25 * 32767);
    EXPECT_LT(peak, 0.9 * 32767);
    // No DC offset.
    EXPECT_LT(std::fabs(sum / s.size()), 0.002 * 32767);
    // Starts and ends near zero: no click at either end.
    EXPECT_LT(std::abs(s.front()), 0.005 * 32767);
    EXPECT_LT(std::abs(s.back()), 0.005 * 32767);
    for (size_t i = 0; i < 11; ++i) EXPECT_LT(std::abs(s[i]), 0.05 * 32767) << "sample " << i;
    for (size_t i = s.size() - 22; i < s.size(); ++i) EXPECT_LT(std::abs(s[i]), 0.02 * 32767) << "sample " << i;
    // Not harsh: the sample-to-sample change stays well below that of white
    // noise (sqrt 2 of the level), so most energy lies in the low and middle range.
    EXPECT_LT(std::sqrt(roughness / energy), 1.0);
    distinct.insert(s);
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(CSoundObj::kSamples));
}

// ---- the music as MIDI ------------------------------------------------------------------------------

struct Song {
  int format = -1, tracks = 0, division = 0;
  double seconds = 0;
  std::set<int> programs;
  std::vector<int> keys;  // every note on, in file order
  bool ok = false;
};

uint32_t Be(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

Song ReadSong(const std::string& b) {
  Song s;
  if (b.size() < 14 || b.compare(0, 4, "MThd")) return s;
  s.format = static_cast<int>(Be(b, 8, 2));
  s.tracks = static_cast<int>(Be(b, 10, 2));
  s.division = static_cast<int>(Be(b, 12, 2));
  std::map<uint32_t, uint32_t> tempo = {{0, 500000}};
  uint32_t last = 0;
  size_t at = 14;
  for (int t = 0; t < s.tracks; ++t) {
    if (at + 8 > b.size() || b.compare(at, 4, "MTrk")) return s;
    const size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) return s;
    size_t i = at + 8;
    uint32_t tick = 0;
    bool ended = false;
    auto vlq = [&] {
      uint32_t v = 0;
      while (i < end) {
        const uint8_t c = static_cast<uint8_t>(b[i++]);
        v = v << 7 | (c & 0x7F);
        if (!(c & 0x80)) break;
      }
      return v;
    };
    while (i < end && !ended) {
      tick += vlq();
      const uint8_t status = static_cast<uint8_t>(b[i++]);
      if (status == 0xFF) {
        const uint8_t type = static_cast<uint8_t>(b[i++]);
        const uint32_t len = vlq();
        if (type == 0x51) tempo[tick] = Be(b, i, 3);
        if (type == 0x2F) ended = true;
        i += len;
      } else if ((status & 0xF0) == 0xC0) {
        s.programs.insert(static_cast<uint8_t>(b[i++]));
      } else if ((status & 0xF0) == 0xD0) {
        ++i;
      } else if (status & 0x80) {
        if ((status & 0xF0) == 0x90 && b[i + 1] != 0) s.keys.push_back(static_cast<uint8_t>(b[i]));
        i += 2;
      } else {
        return s;  // running status is not written
      }
      last = std::max(last, tick);
    }
    if (!ended) return s;
    at = end;
  }
  uint32_t prevTick = 0, us = 500000;
  for (const auto& [tick, value] : tempo) {
    s.seconds += double(std::min(tick, last) - std::min(prevTick, last)) * us / 1e6 / s.division;
    prevTick = tick;
    us = value;
  }
  s.seconds += double(last - std::min(prevTick, last)) * us / 1e6 / s.division;
  s.ok = true;
  return s;
}

TEST(SoundFiles, PiecesAreDistinctCalmSongsOfOneToThreeMinutes) {
  std::set<std::vector<int>> tunes;
  std::set<std::set<int>> bands;
  for (int n = 1; n <= CSoundObj::kPieces; ++n) {
    SCOPED_TRACE(PieceFile(n));
    const Song s = ReadSong(zortest::ReadFile(PieceFile(n)));
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.format, 1);
    EXPECT_GE(s.tracks, 4);
    EXPECT_GE(s.seconds, 60.0);
    EXPECT_LE(s.seconds, 180.0);
    // A few instruments of the General MIDI set, none of them percussion-only.
    EXPECT_GE(s.programs.size(), 3u);
    EXPECT_LE(s.programs.size(), 6u);
    // Calm: no more than a few notes a second over all voices.
    EXPECT_GE(s.keys.size(), 200u);
    EXPECT_LE(s.keys.size() / s.seconds, 8.0);
    // In a key: the seven pitch classes of a scale carry nearly every note
    // and the leading note of a minor key the rest, as a melody with harmony
    // does and random notes do not.
    int classes[12] = {};
    for (int k : s.keys) ++classes[k % 12];
    std::sort(classes, classes + 12, std::greater<int>());
    int seven = 0;
    for (int c = 0; c < 7; ++c) seven += classes[c];
    EXPECT_GE(seven, 0.9 * s.keys.size());
    EXPECT_EQ(seven + classes[7], static_cast<int>(s.keys.size()));
    tunes.insert(s.keys);
    bands.insert(s.programs);
  }
  EXPECT_EQ(tunes.size(), static_cast<size_t>(CSoundObj::kPieces));
  EXPECT_GE(bands.size(), 7u) << "the pieces sound different";
}

}  // namespace
