#include "worldbase/zor_world_host.h"

namespace {
CWorldHost g_defaultHost;
CWorldHost* g_host = &g_defaultHost;
}  // namespace

CWorldHost* CWorldHost::Get() { return g_host; }

void CWorldHost::Install(CWorldHost* host) { g_host = host ? host : &g_defaultHost; }
