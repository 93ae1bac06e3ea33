#include "ui/ui_debug_host.h"

namespace {
CUiDebugHost g_defaultDebugHost;
CUiDebugHost* g_debugHost = &g_defaultDebugHost;
}  // namespace

CUiDebugHost* CUiDebugHost::Get() { return g_debugHost; }

void CUiDebugHost::Install(CUiDebugHost* host) { g_debugHost = host ? host : &g_defaultDebugHost; }
