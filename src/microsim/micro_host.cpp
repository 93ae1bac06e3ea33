#include "microsim/micro_host.h"

namespace {
CMicroSimHost g_defaultHost;
CMicroSimHost* g_host = &g_defaultHost;
}  // namespace

CMicroSimHost* CMicroSimHost::Get() { return g_host; }

void CMicroSimHost::Install(CMicroSimHost* host) { g_host = host ? host : &g_defaultHost; }
