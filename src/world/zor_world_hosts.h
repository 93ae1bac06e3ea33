#pragma once
// The root's side of the host interfaces through which the subsystems below
// it reach the world: each forwards to the world that owns it.
#include "world/base/zor_world_host.h"

class CZorvaWorld;

class CZorWorldHost : public CWorldHost {
 public:
  explicit CZorWorldHost(CZorvaWorld& world) : m_world(world) {}
  int GetLanguage() override;
  int AddSound(const char* name, int priority) override;
  int FadeOutSound(const char* name) override;
  void SetWorldObjectListFilter(CWorldObj* object) override;

 private:
  CZorvaWorld& m_world;
};
