#pragma once
// The sound object: 19 effect samples and the background music (nine MIDI
// pieces, one chosen at random whenever the last has ended) through a mixer
// layer over SDL_mixer. It shows its settings to the options window as the
// variables "MW.WAVPERCENTAGE", "MW.MUSIKPERCENTAGE", "MW.WAVON" and
// "MW.MUSIKON" and keeps them in the settings file.
//
// Volumes are the mixer's 0-128 throughout and start at 128. A sound file
// that is missing or cannot be read is logged once and not opened again
// until the audio device is opened anew.
#include <atomic>
#include <cstdint>
#include <memory>

#include "world/zor_mixer.h"
#include "worldbase/zor_world_obj.h"

class CSoundObj : public CWorldObj {
 public:
  static constexpr int kSamples = 19;
  // Entries of the channel table; a channel beyond it is never recorded.
  static constexpr int kChannelTable = 19;
  static constexpr int kPieces = 9;
  static constexpr int kMaxVolume = 128;
  // An effect does not start again within this many ms of its last start.
  static constexpr uint32_t kRepeatGuardMs = 200;
  // A piece that ends sooner than this after its start played nothing.
  static constexpr uint32_t kShortestPieceMs = 1000;
  // Music modes.
  static constexpr int kModeOff = 0;
  static constexpr int kModeNone = 1;  // cannot play: switching it on falls back to off
  static constexpr int kModeMidi = 2;

  // The effects' names and loudness in percent, by effect number.
  static const char* const sound[kSamples];
  static const int volume[kSamples];

  // Plays through `mixer`, which it owns; null plays through SDL_mixer.
  explicit CSoundObj(CZorMixer* mixer = nullptr);
  ~CSoundObj() override;
  CSoundObj(const CSoundObj&) = delete;
  CSoundObj& operator=(const CSoundObj&) = delete;

  int Create() override;
  int Destroy() override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int SetVarData(const char* name, double value) override;
  int GetVarData(const char* name, double* value) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  using CWorldObj::OnPlayloopTurn;
  // The music care of one turn.
  int OnPlayloopTurn(unsigned short x, unsigned short y) override;

  // The audio device (22050 Hz, 16-bit, mono, 1024 samples), opened and
  // closed with the view. Closing frees the samples and the music first.
  bool OpenAudio();
  void CloseAudio();
  void SetSoundInstall(bool open) { m_AudioOpen = open ? 1 : 0; }
  bool GetSoundInstall() const { return m_AudioOpen != 0; }

  // Plays effect n (the name is not used).
  int OutputSound(const char* name, int n);
  // Plays effect n when the audio is open, effects are on and the object
  // is enabled.
  virtual int AddSound(const char* name, int n);
  // Nothing fades: effects end by themselves.
  virtual int FadeOutSound(const char* name);

  // The sound settings at start-up: SOUNDATMO and WIN2000, SOUNDEFFEKTE,
  // WAV_VOLUME and MUSIC_VOLUME (out-of-range volumes are clamped, a value
  // that is no number is ignored).
  void ApplySettings();
  void SetPlayAtmo(bool on);
  void SetPlayEffekte(bool on);
  // 1 without doing anything when the audio is not open; else the volume
  // (clamped to 0-128) is applied and stored in the settings, and 0.
  int SetWavVolume(int v);
  int SetMusicVolume(int v);
  int SetMusikMode(int m);
  int GetMusikMode() const { return m_MusikMode; }
  int TurnWavSoundOn();
  void TurnWavSoundOff();
  void TurnAtmoSoundOn();
  void TurnAtmoSoundOff();
  // Halts every channel and frees every sample.
  virtual void Mix_Free_Samples();
  void ResetAll() { m_MusicActive = 0; }
  int SwitchToMidiMode() { return 1; }
  int SwitchToCDMode() { return 1; }
  void Disable();
  void Enable();
  // The path of a sound file in the sound directory (SOUNDPATH); empty
  // when SOUNDPATH is not set. 0, or 1 when the path stays empty.
  int MakeValidFileName(char* out, int size, const char* name, const char* ext);

  // SDL_mixer's channel-finished callback (runs on the audio thread): the
  // effect the channel played is no longer playing.
  static void Mix_ChannelFinished_Callback(int channel);

  bool IsEffectsOn() const { return m_EffectsOn != 0; }
  bool IsMusicOn() const { return m_MusicOn != 0; }
  bool IsMusicActive() const { return m_MusicActive != 0; }
  bool IsEnabled() const { return m_Enabled != 0; }
  int GetWavVolume() const { return m_WavVolume; }
  int GetMusicVolume() const { return m_MusicVolume; }
  static bool IsSamplePlaying(int n) { return n >= 0 && n < kSamples && m_bMIX_Samples_Playing[n].load() != 0; }

 protected:
  // Shows warning `id` in the interface's warning window.
  virtual void ShowWarning(int id);
  CZorMixer& Mixer() { return *m_pMixer; }

 private:
  // Loads effect n when it is not loaded and has not failed before.
  CZorMixer::Chunk* Sample(int n);
  // Starts a randomly chosen piece; false when none started.
  bool StartMusic();
  void FreeMusic();
  static void StoreSetting(const char* key, int value);

  std::unique_ptr<CZorMixer> m_pMixer;
  uint8_t m_EffectsOn = 0;
  uint8_t m_MusicOn = 0;
  uint8_t m_MusicActive = 0;
  int m_WavVolume = kMaxVolume;
  int m_MusicVolume = kMaxVolume;
  int m_MusikMode = kModeNone;
  uint8_t m_AudioOpen = 0;
  uint8_t m_Enabled = 1;
  // The piece playing or last played; freed when the next one starts.
  CZorMixer::Music* m_pMusic = nullptr;
  int m_MusicPiece = 0;  // 1-9
  uint32_t m_MusicStarted = 0;
  bool m_PieceFailed[kPieces] = {};
  bool m_PathWarned = false;

  static CZorMixer::Chunk* m_MIX_Samples[kSamples];
  // Written by the audio thread, read by the main thread.
  static std::atomic<uint8_t> m_bMIX_Samples_Playing[kSamples];
  static uint32_t m_bMIX_Samples_LastPlayed[kSamples];
  // The effect each channel plays; -1 for none. Read by the audio thread.
  static std::atomic<int8_t> m_MixChannels_Sample[kChannelTable];
  // Effects whose file could not be loaded since the device opened.
  static bool m_bMIX_Samples_Failed[kSamples];
  static char glob_path[500];
};
