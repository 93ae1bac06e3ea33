#include "world/zor_sound.h"

#include "framework/zor_stand_in.h"

int CSoundObj::Create() { return CWorldObj::Create(); }
int CSoundObj::Destroy() { return CWorldObj::Destroy(); }
int CSoundObj::OnPlayloopTurn(unsigned short, unsigned short) { return 0; }
int CSoundObj::AddSound(const char*, int) {
  ZOR_STAND_IN("CSoundObj");
  return 0;
}
int CSoundObj::FadeOutSound(const char*) {
  ZOR_STAND_IN("CSoundObj");
  return 0;
}
void CSoundObj::Mix_Free_Samples() {}
void CSoundObj::ChannelFinished(int) {}
