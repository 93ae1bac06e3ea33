#include "microsim/micro_simulation.h"

int CMicroSimulation::Create() { return 0; }
int CMicroSimulation::Destroy() { return 0; }
