#include "world/zor_world_hosts.h"

#include "world/zor_world.h"

int CZorWorldHost::GetLanguage() { return CZorvaWorld::m_Language; }
int CZorWorldHost::AddSound(const char* name, int priority) { return m_world.AddSound(name, priority); }
int CZorWorldHost::FadeOutSound(const char* name) { return m_world.FadeOutSound(name); }
void CZorWorldHost::SetWorldObjectListFilter(CWorldObj* object) { m_world.SetWorldObjectListFilter(object); }
