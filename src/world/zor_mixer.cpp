#include "world/zor_mixer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

#include "framework/qno_log.h"
#include "framework/zor_file_layer.h"

// Builds with the leak check (AddressSanitizer under GCC or clang) may tell
// it which blocks to pass over.
#if defined(__SANITIZE_ADDRESS__)
#define ZOR_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZOR_LEAK_CHECK 1
#endif
#endif
#ifndef ZOR_LEAK_CHECK
#define ZOR_LEAK_CHECK 0
#endif
#if ZOR_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

Mix_Chunk* ToMix(CZorMixer::Chunk* c) { return reinterpret_cast<Mix_Chunk*>(c); }
Mix_Music* ToMix(CZorMixer::Music* m) { return reinterpret_cast<Mix_Music*>(m); }

// A music file handed to SDL_mixer from memory. SDL_mixer 1.2.12 gives a
// MIDI file to FluidSynth by reading all of it, in one read from its start,
// into a buffer of its own; FluidSynth keeps a copy of the bytes, and
// SDL_mixer keeps no pointer to that buffer and never frees it (a load from
// a file name or a file stream loses it the same way), so every piece loaded
// loses the size of its file, a few kilobytes. The layer does not free it:
// the buffer is the library's, and a release that frees it itself would then
// free it twice at every piece. The stream notes the buffer of such a read;
// in the sanitizer builds the leak check is told to pass over exactly that
// block (the library has no symbols to name it by in a suppression).
struct MemoryStream {
  const std::string* bytes;
  size_t at = 0;
  void* wholeRead = nullptr;
};

MemoryStream& StreamOf(SDL_RWops* rw) { return *static_cast<MemoryStream*>(rw->hidden.unknown.data1); }

int StreamSeek(SDL_RWops* rw, int offset, int whence) {
  MemoryStream& s = StreamOf(rw);
  const long base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? static_cast<long>(s.at)
                                                                       : static_cast<long>(s.bytes->size());
  const long to = base + offset;
  if (to < 0 || to > static_cast<long>(s.bytes->size())) return -1;
  s.at = static_cast<size_t>(to);
  return static_cast<int>(to);
}

int StreamRead(SDL_RWops* rw, void* to, int size, int count) {
  MemoryStream& s = StreamOf(rw);
  s.wholeRead = nullptr;
  if (!to || size <= 0 || count <= 0) return 0;
  const size_t objects = std::min(static_cast<size_t>(count), (s.bytes->size() - s.at) / static_cast<size_t>(size));
  if (s.at == 0 && count == 1 && static_cast<size_t>(size) == s.bytes->size()) s.wholeRead = to;
  std::memcpy(to, s.bytes->data() + s.at, objects * static_cast<size_t>(size));
  s.at += objects * static_cast<size_t>(size);
  return static_cast<int>(objects);
}

int StreamWrite(SDL_RWops*, const void*, int, int) { return -1; }

int StreamClose(SDL_RWops*) { return 0; }

// The library's buffer of a whole MIDI file, left to the library: the leak
// check of the sanitizer builds does not report it.
void LeaveToLibrary([[maybe_unused]] const void* buffer) {
#if ZOR_LEAK_CHECK
  __lsan_ignore_object(buffer);
#endif
}

}  // namespace

bool CZorSdlMixer::OpenAudio(int frequency, int channels, int bufferSamples, FinishedFn finished) {
  if (m_open) CloseAudio();
  if (Mix_OpenAudio(frequency, AUDIO_S16LSB, channels, bufferSamples) != 0) {
    QNO_LOG("Cannot open the audio device (%d Hz, %d channels): %s", frequency, channels, Mix_GetError());
    return false;
  }
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
  std::string bytes;
  if (!ZorReadFile(ZorFileLayer::Real(), path, bytes) || bytes.size() < kHead || bytes.compare(0, 4, "MThd") != 0 ||
      bytes.compare(14, 4, "MTrk") != 0)
    return nullptr;
  SDL_RWops* rw = SDL_AllocRW();
  if (!rw) return nullptr;
  MemoryStream stream{&bytes};
  rw->seek = StreamSeek;
  rw->read = StreamRead;
  rw->write = StreamWrite;
  rw->close = StreamClose;
  rw->hidden.unknown.data1 = &stream;
  Mix_Music* music = Mix_LoadMUSType_RW(rw, MUS_MID, 0);
  SDL_FreeRW(rw);
  if (music && stream.wholeRead) LeaveToLibrary(stream.wholeRead);
  return reinterpret_cast<Music*>(music);
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
