#include "world/zor_sound.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

const char* const CSoundObj::sound[kSamples] = {
    "Klick",  "Ampel",      "Wind",   "Vrk_start", "Vrk_mittel", "Schwimm",  "Sblos",
    "Sbhalt", "Leute_laut", "Kinder", "Ind",       "Horn5",      "Horn1",    "Fluss",
    "Einkauf", "Bswarten",  "Bslos",  "Bsbremsen", "Bad"};
const int CSoundObj::volume[kSamples] = {100, 100, 75, 75, 75, 50, 50, 25, 50, 50, 14, 50, 50, 13, 75, 50, 50, 50, 50};

CZorMixer::Chunk* CSoundObj::m_MIX_Samples[kSamples] = {};
std::atomic<uint8_t> CSoundObj::m_bMIX_Samples_Playing[kSamples] = {};
uint32_t CSoundObj::m_bMIX_Samples_LastPlayed[kSamples] = {};
std::atomic<int8_t> CSoundObj::m_MixChannels_Sample[kChannelTable] = {};
bool CSoundObj::m_bMIX_Samples_Failed[kSamples] = {};
char CSoundObj::glob_path[500] = "";

namespace {

// Effects started at least once by this sound object: the repeat guard
// measures from a start, and one that never started has none.
bool g_SampleStarted[CSoundObj::kSamples] = {};

int ClampVolume(long v) { return v < 0 ? 0 : (v > CSoundObj::kMaxVolume ? CSoundObj::kMaxVolume : static_cast<int>(v)); }

// A volume from the settings file: decimal digits with an optional sign.
// False for anything else, which leaves the volume as it is.
bool ParseVolume(const char* text, int* volume) {
  if (!text) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno == ERANGE) return false;
  *volume = ClampVolume(v);
  return true;
}

int TruncateVolume(double value) {
  if (!(value > 0)) return 0;  // negative and NaN
  if (value >= CSoundObj::kMaxVolume) return CSoundObj::kMaxVolume;
  return static_cast<int>(value);
}

}  // namespace

CSoundObj::CSoundObj(CZorMixer* mixer) : m_pMixer(mixer ? mixer : new CZorSdlMixer) {
  // The tables are shared by the one sound object; a new one starts clean.
  for (int n = 0; n < kSamples; ++n) {
    m_MIX_Samples[n] = nullptr;
    m_bMIX_Samples_Playing[n] = 0;
    m_bMIX_Samples_LastPlayed[n] = 0;
    m_bMIX_Samples_Failed[n] = false;
    g_SampleStarted[n] = false;
  }
  for (auto& c : m_MixChannels_Sample) c = -1;
  glob_path[0] = '\0';
}

CSoundObj::~CSoundObj() {
  CSoundObj::Mix_Free_Samples();
  FreeMusic();
  m_MusicActive = 0;
}

int CSoundObj::Create() { return 0; }
int CSoundObj::Destroy() { return 0; }

// ---- the device -----------------------------------------------------------------------

bool CSoundObj::OpenAudio() {
  for (int n = 0; n < kSamples; ++n) m_bMIX_Samples_Failed[n] = false;
  for (bool& f : m_PieceFailed) f = false;
  m_AudioOpen = Mixer().OpenAudio(22050, 1, 1024, &Mix_ChannelFinished_Callback) ? 1 : 0;
  // A new device starts at full volume; the music keeps the one chosen.
  if (m_AudioOpen) Mixer().VolumeMusic(m_MusicVolume);
  return m_AudioOpen != 0;
}

void CSoundObj::CloseAudio() {
  Mix_Free_Samples();
  FreeMusic();
  Mixer().CloseAudio();
  m_AudioOpen = 0;
}

void CSoundObj::Disable() {
  if (m_AudioOpen) m_Enabled = 0;
}

void CSoundObj::Enable() {
  if (m_AudioOpen) m_Enabled = 1;
}

// ---- effects ------------------------------------------------------------------------------

int CSoundObj::AddSound(const char* name, int n) {
  if (!m_AudioOpen || !m_EffectsOn || !m_Enabled) return 1;
  return OutputSound(name, n);
}

int CSoundObj::FadeOutSound(const char*) { return 0; }

CZorMixer::Chunk* CSoundObj::Sample(int n) {
  if (m_MIX_Samples[n] || m_bMIX_Samples_Failed[n]) return m_MIX_Samples[n];
  char name[32];
  std::snprintf(name, sizeof name, "%s", sound[n]);
  kfx_strupr(name);
  char path[399];
  if (MakeValidFileName(path, sizeof path, name, ".BIN") != 0) {
    m_bMIX_Samples_Failed[n] = true;
    return nullptr;
  }
  m_MIX_Samples[n] = Mixer().LoadWav(path);
  if (!m_MIX_Samples[n]) {
    m_bMIX_Samples_Failed[n] = true;
    QNO_LOG("Sound file %s could not be loaded", path);
  }
  return m_MIX_Samples[n];
}

int CSoundObj::OutputSound(const char*, int n) {
  if (!m_AudioOpen || !m_EffectsOn || n < 0 || n >= kSamples) return 1;
  CZorMixer::Chunk* chunk = Sample(n);
  if (!chunk || m_bMIX_Samples_Playing[n].load() != 0) return 1;
  const uint32_t now = kfx_GetTicks();
  if (g_SampleStarted[n] && now - m_bMIX_Samples_LastPlayed[n] <= kRepeatGuardMs) return 1;
  // The channel is recorded before the audio thread can report it finished.
  Mixer().Lock();
  const int channel = Mixer().PlayChannel(chunk);
  if (channel >= 0) {
    Mixer().Volume(channel, m_WavVolume * volume[n] / 100);
    if (channel < kChannelTable) {
      m_MixChannels_Sample[channel] = static_cast<int8_t>(n);
      m_bMIX_Samples_Playing[n] = 1;
    }
    m_bMIX_Samples_LastPlayed[n] = now;
    g_SampleStarted[n] = true;
  }
  Mixer().Unlock();
  return channel >= 0 ? 0 : 1;
}

void CSoundObj::Mix_ChannelFinished_Callback(int channel) {
  if (channel < 0 || channel >= kChannelTable) return;
  const int n = m_MixChannels_Sample[channel].exchange(-1);
  if (n >= 0 && n < kSamples) m_bMIX_Samples_Playing[n] = 0;
}

void CSoundObj::Mix_Free_Samples() {
  Mixer().HaltChannel(-1);
  for (int n = 0; n < kSamples; ++n) {
    if (m_MIX_Samples[n]) Mixer().FreeChunk(m_MIX_Samples[n]);
    m_MIX_Samples[n] = nullptr;
    m_bMIX_Samples_Playing[n] = 0;
  }
  for (auto& c : m_MixChannels_Sample) c = -1;
}

// ---- music --------------------------------------------------------------------------------

int CSoundObj::OnPlayloopTurn(unsigned short, unsigned short) {
  if (!m_AudioOpen || !m_MusicActive || !m_Enabled) return 0;
  if (!m_MusicOn) {
    if (Mixer().PlayingMusic()) Mixer().HaltMusic();
    FreeMusic();
    return 0;
  }
  if (m_MusikMode != kModeMidi || Mixer().PlayingMusic()) return 0;
  // A piece that ended as soon as it started played nothing: its file is
  // damaged, and it is not chosen again.
  if (m_pMusic && kfx_GetTicks() - m_MusicStarted < kShortestPieceMs) {
    QNO_LOG("Music file ATMO%d played nothing", m_MusicPiece);
    m_PieceFailed[m_MusicPiece - 1] = true;
    FreeMusic();
  }
  StartMusic();
  return 0;
}

bool CSoundObj::StartMusic() {
  const int piece = zor_view_random().Next() % kPieces + 1;
  if (m_PieceFailed[piece - 1]) return false;
  char name[16];
  std::snprintf(name, sizeof name, "ATMO%d", piece);
  char path[400];
  if (MakeValidFileName(path, sizeof path, name, ".MID") != 0) {
    m_PieceFailed[piece - 1] = true;
    return false;
  }
  // The piece that ended goes before the next one is loaded.
  FreeMusic();
  m_pMusic = Mixer().LoadMus(path);
  if (!m_pMusic || Mixer().PlayMusic(m_pMusic, 1) != 0) {
    QNO_LOG("Music file %s could not be played", path);
    m_PieceFailed[piece - 1] = true;
    FreeMusic();
    return false;
  }
  Mixer().VolumeMusic(m_MusicVolume);
  m_MusicPiece = piece;
  m_MusicStarted = kfx_GetTicks();
  return true;
}

void CSoundObj::FreeMusic() {
  if (m_pMusic) Mixer().FreeMusic(m_pMusic);
  m_pMusic = nullptr;
}

// ---- switches and volumes ---------------------------------------------------------------

void CSoundObj::StoreSetting(const char* key, int value) {
  if (CZorvaWorld::m_pThis) CZorvaWorld::m_pThis->SetEnv(key, value);
}

void CSoundObj::ShowWarning(int id) {
  if (CZorvaWorld::m_pThis && CZorvaWorld::m_pThis->GetUserInt())
    CZorvaWorld::m_pThis->GetUserInt()->SetAchtungWindow(id);
}

void CSoundObj::SetPlayAtmo(bool on) {
  // Music switched on in the settings plays the MIDI pieces, the one mode
  // that can play.
  m_MusicOn = on ? 1 : 0;
  m_MusikMode = on ? kModeMidi : kModeOff;
  m_MusicActive = on ? 1 : 0;
}

void CSoundObj::SetPlayEffekte(bool on) {
  m_EffectsOn = on ? 1 : 0;
  StoreSetting("SOUNDEFFEKTE", on ? 0 : 1);
}

int CSoundObj::SetWavVolume(int v) {
  if (!m_AudioOpen) return 1;
  m_WavVolume = ClampVolume(v);
  Mixer().Lock();
  Mixer().Volume(-1, m_WavVolume);
  // Effects that are playing keep their own share of the new volume.
  for (int channel = 0; channel < kChannelTable; ++channel) {
    const int n = m_MixChannels_Sample[channel].load();
    if (n >= 0 && n < kSamples) Mixer().Volume(channel, m_WavVolume * volume[n] / 100);
  }
  Mixer().Unlock();
  StoreSetting("WAV_VOLUME", m_WavVolume);
  return 0;
}

int CSoundObj::SetMusicVolume(int v) {
  if (!m_AudioOpen) return 1;
  m_MusicVolume = ClampVolume(v);
  Mixer().VolumeMusic(m_MusicVolume);
  StoreSetting("MUSIC_VOLUME", m_MusicVolume);
  return 0;
}

int CSoundObj::SetMusikMode(int m) {
  if (static_cast<unsigned>(m) >= 3) {
    m_MusikMode = kModeOff;
    return 0;
  }
  if (m == kModeOff) return 0;
  TurnAtmoSoundOff();
  m_MusikMode = m;
  TurnAtmoSoundOn();
  if (m_MusikMode == kModeOff) {
    ShowWarning(m == kModeNone ? 50 : 52);
    StoreSetting("SOUNDATMO", 1);
    m_MusicOn = 0;
  }
  return 0;
}

int CSoundObj::TurnWavSoundOn() {
  if (!m_AudioOpen) return 1;
  StoreSetting("SOUNDEFFEKTE", 0);
  return 0;
}

void CSoundObj::TurnWavSoundOff() {
  if (m_AudioOpen) StoreSetting("SOUNDEFFEKTE", 1);
}

void CSoundObj::TurnAtmoSoundOn() {
  if (!m_AudioOpen) return;
  if (m_MusikMode == kModeMidi) {
    m_MusicOn = 1;
    m_MusicActive = 1;
    // Kept, so that the next start plays music too.
    StoreSetting("SOUNDATMO", 0);
  } else {
    m_MusikMode = kModeOff;
    m_MusicActive = 0;
    m_MusicOn = 0;
    StoreSetting("SOUNDATMO", 1);
  }
}

void CSoundObj::TurnAtmoSoundOff() {
  if (m_AudioOpen) StoreSetting("SOUNDATMO", 1);
  m_MusicOn = 0;
}

// ---- file names ---------------------------------------------------------------------------

int CSoundObj::MakeValidFileName(char* out, int size, const char* name, const char* ext) {
  if (!out || size <= 0) return 1;
  out[0] = '\0';
  if (!glob_path[0]) {
    // Looked up once: an unset directory is reported once, not per sound.
    if (m_PathWarned) return 1;
    const char* dir = CZorvaWorld::m_pThis ? CZorvaWorld::m_pThis->GetEnvValue("SOUNDPATH", nullptr) : nullptr;
    if (!dir) {
      m_PathWarned = true;
      QNO_LOG("SOUNDPATH not set");
      return 1;
    }
    std::snprintf(glob_path, sizeof glob_path, "%s", dir);
  }
  for (char* p = glob_path; *p; ++p)
    if (*p == '\\') *p = '/';
  QnoMakeValidPathname(glob_path, name, ext ? ext : ".BIN", out, static_cast<size_t>(size));
  if (ext) {
    // a/./b becomes a/b.
    char* w = out;
    for (const char* r = out; *r;) {
      if (r[0] == '/' && r[1] == '.' && r[2] == '/') {
        r += 2;
        continue;
      }
      *w++ = *r++;
    }
    *w = '\0';
  }
  return 0;
}

// ---- variables ------------------------------------------------------------------------------

void CSoundObj::ApplySettings() {
  CZorvaWorld* world = CZorvaWorld::m_pThis;
  if (!world) return;
  const bool win2000 = world->GetEnvValue("WIN2000", 1) == 1;
  SetPlayAtmo(world->GetEnvValue("SOUNDATMO", 1) != 1 && win2000);
  SetPlayEffekte(world->GetEnvValue("SOUNDEFFEKTE", 1) != 1);
  int v = 0;
  if (ParseVolume(world->GetEnvValue("WAV_VOLUME", nullptr), &v)) SetWavVolume(v);
  if (win2000 && ParseVolume(world->GetEnvValue("MUSIC_VOLUME", nullptr), &v)) SetMusicVolume(v);
}

int CSoundObj::SetVarData(const char* name, double value) {
  if (!name) return 1;
  if (!std::strcmp(name, "MW.WAVPERCENTAGE")) {
    SetWavVolume(TruncateVolume(value));
  } else if (!std::strcmp(name, "MW.MUSIKPERCENTAGE")) {
    SetMusicVolume(TruncateVolume(value));
  } else if (!std::strcmp(name, "MW.WAVON")) {
    if (value == 0) {
      TurnWavSoundOff();
      m_EffectsOn = 0;
    } else if (TurnWavSoundOn() == 0) {
      m_EffectsOn = 1;
    } else {
      m_EffectsOn = 0;
      ShowWarning(49);
    }
  } else if (!std::strcmp(name, "MW.MUSIKON")) {
    const bool allowed = CZorvaWorld::m_pThis == nullptr || CZorvaWorld::m_pThis->GetEnvValue("WIN2000", 1) == 1;
    if (value == 0 || !allowed) {
      TurnAtmoSoundOff();
      return 0;
    }
    if (m_MusikMode == kModeOff) m_MusikMode = kModeNone;
    const int tried = m_MusikMode;
    TurnAtmoSoundOn();
    if (m_MusicOn) return 0;
    m_MusikMode = tried == kModeNone ? kModeMidi : kModeNone;
    TurnAtmoSoundOn();
    ShowWarning(m_MusicOn ? (tried == kModeNone ? 62 : 63) : 64);
  } else {
    return 1;
  }
  return 0;
}

int CSoundObj::GetVarData(const char* name, double* value) {
  if (!name || !value) return 1;
  if (!std::strcmp(name, "MW.WAVPERCENTAGE"))
    *value = m_WavVolume;
  else if (!std::strcmp(name, "MW.MUSIKPERCENTAGE"))
    *value = m_MusicVolume;
  else if (!std::strcmp(name, "MW.WAVON"))
    *value = m_EffectsOn ? 1 : 0;
  else if (!std::strcmp(name, "MW.MUSIKON"))
    *value = m_MusicOn ? 1 : 0;
  else
    return 1;
  return 0;
}

static bool IsVolumeVar(const char* name) {
  return name && (!std::strcmp(name, "MW.WAVPERCENTAGE") || !std::strcmp(name, "MW.MUSIKPERCENTAGE"));
}

int CSoundObj::GetVarMin(const char* name, float* min) {
  if (!IsVolumeVar(name) || !min) return 1;
  *min = 0;
  return 0;
}

int CSoundObj::GetVarMax(const char* name, float* max) {
  if (!IsVolumeVar(name) || !max) return 1;
  *max = kMaxVolume;
  return 0;
}
