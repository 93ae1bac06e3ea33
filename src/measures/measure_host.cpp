#include "measures/measure_host.h"

namespace {
CMeasureHost g_defaultHost;
CMeasureHost* g_host = &g_defaultHost;
}  // namespace

CMeasureHost* CMeasureHost::Get() { return g_host; }

void CMeasureHost::Install(CMeasureHost* host) { g_host = host ? host : &g_defaultHost; }
