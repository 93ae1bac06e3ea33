#pragma once
// The windows with which the player runs public transport: the group window
// with its seven pages, the bus and tram line lists and a small empty
// window. WindowAddOpnv adds them after the measures windows.
#include "gui/window_builder.h"

namespace zorwin {

constexpr int kOpnvGroup = 120;
constexpr int kOpnvFinances = 122;
constexpr int kOpnvEmpty = 123;
constexpr int kOpnvPersonnel = 124;
constexpr int kOpnvFares = 125;
constexpr int kOpnvFleet = 126;
constexpr int kOpnvAdvertising = 127;
constexpr int kOpnvServices = 128;
constexpr int kOpnvLines = 129;
constexpr int kBusLineList = 131;
constexpr int kTramLineList = 132;

// Adds 120, 123, the pages 124, 126, 127, 125, 128, 129, the line lists 131
// and 132 and the finances page 122, in this order.
void AddOpnvWindows(CWindowBuilder& b);

}  // namespace zorwin
