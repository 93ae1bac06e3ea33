#pragma once
// A mixer layer that plays nothing and shows what it was asked to play. It
// follows SDL_mixer's rules (first free channel, 0-128 volumes, halted
// channels reported finished, freed music stopped); the contract test runs
// the same checks against it and the real layer. Files are read: a sample
// must be a RIFF/WAVE file with "fmt " and "data" chunks, music a file that
// begins with a MIDI header and a track.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "world/zor_mixer.h"

namespace zortest {

class CFakeMixer : public CZorMixer {
 public:
  explicit CFakeMixer(int channels = 8) : m_channels(channels) {}

  // ---- what the tests set and read ----
  bool openSucceeds = true;
  std::vector<std::string> wavLoads;    // every path asked for, in order
  std::vector<std::string> musicLoads;  // every path asked for, in order
  std::vector<std::pair<std::string, int>> plays;  // file and channel of every start
  std::vector<int> musicLoopsPlayed;
  std::vector<std::string> freedMusic;
  int playsOutsideLock = 0;

  bool IsOpen() const { return m_open; }
  const std::string& PlayingOn(int channel) const { return m_playing[channel]; }
  std::string MusicPlaying() const { return m_music && m_musicPlaying ? m_music->path : ""; }
  int LiveChunks() const { return static_cast<int>(m_chunks.size()); }
  int LiveMusic() const { return static_cast<int>(m_musics.size()); }
  int ChannelVolume(int channel) const { return m_volume[channel]; }
  // The channel runs out, as the audio thread would report it.
  void Finish(int channel) {
    if (channel < 0 || channel >= m_channels || m_playing[channel].empty()) return;
    m_playing[channel].clear();
    if (m_finished) m_finished(channel);
  }
  void EndMusic() { m_musicPlaying = false; }

  // ---- the layer ----
  bool OpenAudio(int, int, int, FinishedFn finished) override {
    if (!openSucceeds) return false;
    m_open = true;
    m_finished = finished;
    m_playing.assign(m_channels, "");
    m_volume.assign(m_channels, 128);
    m_musicVolume = 128;
    return true;
  }
  void CloseAudio() override {
    m_open = false;
    m_finished = nullptr;
  }
  int AllocatedChannels() override { return m_open ? m_channels : 0; }

  Chunk* LoadWav(const char* path) override {
    wavLoads.push_back(path ? path : "");
    if (!m_open || !path || !IsWav(ReadFile(path))) return nullptr;
    auto* c = new Item{path};
    m_chunks.insert(c);
    return reinterpret_cast<Chunk*>(c);
  }
  void FreeChunk(Chunk* chunk) override {
    auto* c = reinterpret_cast<Item*>(chunk);
    if (!c) return;
    for (auto& p : m_playing)
      if (p == c->path) p.clear();
    m_chunks.erase(c);
    delete c;
  }
  int PlayChannel(Chunk* chunk) override {
    if (!m_open || !chunk) return -1;
    if (m_lockDepth == 0) ++playsOutsideLock;
    for (int ch = 0; ch < m_channels; ++ch) {
      if (!m_playing[ch].empty()) continue;
      m_playing[ch] = reinterpret_cast<Item*>(chunk)->path;
      plays.emplace_back(m_playing[ch], ch);
      return ch;
    }
    return -1;
  }
  int Volume(int channel, int volume) override {
    if (!m_open) return 0;
    if (channel == -1) {
      int sum = 0;
      for (int ch = 0; ch < m_channels; ++ch) sum += Volume(ch, volume);
      return m_channels ? sum / m_channels : 0;
    }
    if (channel < 0 || channel >= m_channels) return 0;
    const int previous = m_volume[channel];
    if (volume >= 0) m_volume[channel] = std::min(volume, 128);
    return previous;
  }
  void HaltChannel(int channel) override {
    if (!m_open) return;
    if (channel == -1) {
      for (int ch = 0; ch < m_channels; ++ch) HaltChannel(ch);
      return;
    }
    Finish(channel);
  }

  Music* LoadMus(const char* path) override {
    musicLoads.push_back(path ? path : "");
    if (!m_open || !path || !IsMidi(ReadFile(path))) return nullptr;
    auto* m = new Item{path};
    m_musics.insert(m);
    return reinterpret_cast<Music*>(m);
  }
  void FreeMusic(Music* music) override {
    auto* m = reinterpret_cast<Item*>(music);
    if (!m) return;
    if (m == m_music) {
      m_music = nullptr;
      m_musicPlaying = false;
    }
    freedMusic.push_back(m->path);
    m_musics.erase(m);
    delete m;
  }
  int PlayMusic(Music* music, int loops) override {
    if (!m_open || !music) return -1;
    m_music = reinterpret_cast<Item*>(music);
    m_musicPlaying = true;
    musicLoopsPlayed.push_back(loops);
    return 0;
  }
  int VolumeMusic(int volume) override {
    if (!m_open) return 0;
    const int previous = m_musicVolume;
    if (volume >= 0) m_musicVolume = std::min(volume, 128);
    return previous;
  }
  bool PlayingMusic() override { return m_open && m_music && m_musicPlaying; }
  void HaltMusic() override { m_musicPlaying = false; }
  void Lock() override { ++m_lockDepth; }
  void Unlock() override { --m_lockDepth; }

  ~CFakeMixer() override {
    for (Item* c : m_chunks) delete c;
    for (Item* m : m_musics) delete m;
  }

  static bool IsWav(const std::string& b) {
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
    bool fmt = false;
    for (size_t at = 12; at + 8 <= b.size();) {
      uint32_t len = 0;
      std::memcpy(&len, b.data() + at + 4, 4);
      if (b.compare(at, 4, "fmt ") == 0) fmt = len >= 16 && at + 8 + len <= b.size();
      if (b.compare(at, 4, "data") == 0) return fmt;
      at += 8 + len + (len & 1);
    }
    return false;
  }
  static bool IsMidi(const std::string& b) {
    return b.size() >= 22 && b.compare(0, 4, "MThd") == 0 && b.compare(14, 4, "MTrk") == 0;
  }

 private:
  struct Item {
    std::string path;
  };
  int m_channels;
  bool m_open = false;
  FinishedFn m_finished = nullptr;
  std::vector<std::string> m_playing;
  std::vector<int> m_volume;
  int m_musicVolume = 128;
  std::set<Item*> m_chunks;
  std::set<Item*> m_musics;
  Item* m_music = nullptr;
  bool m_musicPlaying = false;
  int m_lockDepth = 0;
};

}  // namespace zortest
