#include "gui/gui_host.h"

namespace {
CGuiHost g_defaultHost;
CGuiHost* g_host = &g_defaultHost;
}  // namespace

CGuiHost* CGuiHost::Get() { return g_host; }

void CGuiHost::Install(CGuiHost* host) { g_host = host ? host : &g_defaultHost; }
