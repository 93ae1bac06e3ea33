#pragma once
// The calls the sound object makes of SDL_mixer, behind one small interface
// so that tests can see what would be played. CZorSdlMixer passes every call
// on to SDL_mixer; volumes follow SDL_mixer's rule (0-128, a larger value
// acts as 128, a negative one only asks for the current volume).

class CZorMixer {
 public:
  // What the layer loaded; only the layer looks inside.
  struct Chunk;
  struct Music;
  // Called with the channel when a channel stops playing, on the audio
  // thread (or inside HaltChannel).
  using FinishedFn = void (*)(int channel);

  virtual ~CZorMixer() = default;

  // Opens the audio device (signed 16-bit little-endian) and registers the
  // channel-finished function; false when no device could be opened.
  virtual bool OpenAudio(int frequency, int channels, int bufferSamples, FinishedFn finished) = 0;
  virtual void CloseAudio() = 0;
  // The number of mixing channels.
  virtual int AllocatedChannels() = 0;

  // Null when the file is missing or is no sample the mixer can read.
  virtual Chunk* LoadWav(const char* path) = 0;
  virtual void FreeChunk(Chunk* chunk) = 0;
  // Plays the chunk once on the first free channel: the channel, or -1
  // when every channel is busy.
  virtual int PlayChannel(Chunk* chunk) = 0;
  // Sets a channel's volume (-1: every channel); the previous volume.
  virtual int Volume(int channel, int volume) = 0;
  // Stops a channel (-1: every channel); each playing channel is reported
  // finished.
  virtual void HaltChannel(int channel) = 0;

  // Null when the file is missing or is no music the mixer can read.
  virtual Music* LoadMus(const char* path) = 0;
  // Stops the music first when it is the one playing.
  virtual void FreeMusic(Music* music) = 0;
  // 0 when the music started; it plays `loops` times.
  virtual int PlayMusic(Music* music, int loops) = 0;
  // Sets the music volume; the previous volume.
  virtual int VolumeMusic(int volume) = 0;
  virtual bool PlayingMusic() = 0;
  virtual void HaltMusic() = 0;

  // Holds the audio thread off while held, so that what the main thread
  // records about a channel it starts is in place before the channel can
  // be reported finished.
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

class CZorSdlMixer : public CZorMixer {
 public:
  bool OpenAudio(int frequency, int channels, int bufferSamples, FinishedFn finished) override;
  void CloseAudio() override;
  int AllocatedChannels() override;
  Chunk* LoadWav(const char* path) override;
  void FreeChunk(Chunk* chunk) override;
  int PlayChannel(Chunk* chunk) override;
  int Volume(int channel, int volume) override;
  void HaltChannel(int channel) override;
  Music* LoadMus(const char* path) override;
  void FreeMusic(Music* music) override;
  int PlayMusic(Music* music, int loops) override;
  int VolumeMusic(int volume) override;
  bool PlayingMusic() override;
  void HaltMusic() override;
  void Lock() override;
  void Unlock() override;

 private:
  bool m_open = false;
};
