#include "ui/ui_host.h"

namespace {
CUiHost g_defaultHost;
CUiHost* g_host = &g_defaultHost;
}  // namespace

CUiHost* CUiHost::Get() { return g_host; }

void CUiHost::Install(CUiHost* host) { g_host = host ? host : &g_defaultHost; }
