#include "world/zor_mixer.h"

#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

#include "framework/zor_file_layer.h"

namespace {

Mix_Chunk* ToMix(CZorMixer::Chunk* c) { return reinterpret_cast<Mix_Chunk*>(c); }
Mix_Music* ToMix(CZorMixer::Music* m) { return reinterpret_cast<Mix_Music*>(m); }

}  // namespace

bool CZorSdlMixer::OpenAudio(int frequency, int channels, int bufferSamples, FinishedFn finished) {
  if (m_open) CloseAudio();
  if (Mix_OpenAudio(frequency, AUDIO_S16LSB, channels, bufferSamples) != 0) return false;
  m_open = true;
  Mix_ChannelFinished(finished);
  return true;
}

void CZorSdlMixer::CloseAudio() {
  if (!m_open) return;
  Mix_ChannelFinished(nullptr);
  Mix_CloseAudio();
  m_open = false;
}

int CZorSdlMixer::AllocatedChannels() { return m_open ? Mix_AllocateChannels(-1) : 0; }

CZorMixer::Chunk* CZorSdlMixer::LoadWav(const char* path) {
  if (!m_open || !path || !*path) return nullptr;
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (!file) return nullptr;
  return reinterpret_cast<Chunk*>(Mix_LoadWAV_RW(file, 1));
}

void CZorSdlMixer::FreeChunk(Chunk* chunk) {
  if (chunk) Mix_FreeChunk(ToMix(chunk));
}

int CZorSdlMixer::PlayChannel(Chunk* chunk) {
  if (!m_open || !chunk) return -1;
  return Mix_PlayChannelTimed(-1, ToMix(chunk), 0, -1);
}

int CZorSdlMixer::Volume(int channel, int volume) { return m_open ? Mix_Volume(channel, volume) : 0; }

void CZorSdlMixer::HaltChannel(int channel) {
  if (m_open) Mix_HaltChannel(channel);
}

CZorMixer::Music* CZorSdlMixer::LoadMus(const char* path) {
  if (!m_open || !path || !*path) return nullptr;
  // SDL_mixer takes any file named ".MID" for MIDI and plays nothing from a
  // damaged one; the game's music are standard MIDI files, so one that does
  // not begin like one is refused here.
  // The header chunk (14 bytes) and the start of the first track's.
  constexpr size_t kHead = 22;
  std::string head;
  if (!ZorReadFile(ZorFileLayer::Real(), path, head, nullptr, kHead) || head.size() < kHead ||
      head.compare(0, 4, "MThd") != 0 || head.compare(14, 4, "MTrk") != 0)
    return nullptr;
  return reinterpret_cast<Music*>(Mix_LoadMUS(path));
}

void CZorSdlMixer::FreeMusic(Music* music) {
  if (music) Mix_FreeMusic(ToMix(music));
}

int CZorSdlMixer::PlayMusic(Music* music, int loops) {
  if (!m_open || !music) return -1;
  return Mix_PlayMusic(ToMix(music), loops);
}

int CZorSdlMixer::VolumeMusic(int volume) { return m_open ? Mix_VolumeMusic(volume) : 0; }

bool CZorSdlMixer::PlayingMusic() { return m_open && Mix_PlayingMusic() != 0; }

void CZorSdlMixer::HaltMusic() {
  if (m_open) Mix_HaltMusic();
}

void CZorSdlMixer::Lock() {
  if (m_open) SDL_LockAudio();
}

void CZorSdlMixer::Unlock() {
  if (m_open) SDL_UnlockAudio();
}
