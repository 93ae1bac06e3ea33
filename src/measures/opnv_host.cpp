#include "measures/opnv_host.h"

namespace {
COpnvHost g_defaultHost;
COpnvHost* g_host = &g_defaultHost;
}  // namespace

COpnvHost* COpnvHost::Get() { return g_host; }

void COpnvHost::Install(COpnvHost* host) { g_host = host ? host : &g_defaultHost; }
