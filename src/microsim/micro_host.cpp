#include "microsim/micro_host.h"

namespace {
CMicroSimHost g_defaultHost;
}  // namespace

// Constant-initialised: valid before any other object of the game is made.
CMicroSimHost* CMicroSimHost::s_Host = &g_defaultHost;

void CMicroSimHost::Install(CMicroSimHost* host) { s_Host = host ? host : &g_defaultHost; }
