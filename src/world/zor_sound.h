#pragma once
// The sound object: effects and music through SDL_mixer.
// Stand-in: the part the world's start-up and turn call; a failed audio
// device is never fatal.
#include "worldbase/zor_world_obj.h"

class CSoundObj : public CWorldObj {
 public:
  int Create() override;
  int Destroy() override;
  using CWorldObj::OnPlayloopTurn;
  int OnPlayloopTurn(unsigned short x, unsigned short y) override;
  virtual int AddSound(const char* name, int priority);
  virtual int FadeOutSound(const char* name);
  // Frees every loaded effect sample.
  virtual void Mix_Free_Samples();

  void SetAudioOpen(bool open) { m_AudioOpen = open; }
  bool IsAudioOpen() const { return m_AudioOpen; }

  // SDL_mixer's channel-finished callback (runs on the audio thread).
  static void ChannelFinished(int channel);

 private:
  bool m_AudioOpen = false;
};
