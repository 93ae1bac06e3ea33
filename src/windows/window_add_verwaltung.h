#pragma once
// The windows with which the player runs the council and looks things up:
// the administration 110 with its five pages, the park-and-ride station and
// the information windows, the two help windows, the window that turns a
// building before it is placed and the line-editing window of a stop.
// WindowAdd builds them among the main screen's windows.
#include "gui/window_builder.h"

namespace zorwin {

constexpr int kTurnBuilding = 228;
constexpr int kHelpPicture = 215;
constexpr int kHelpText = 242;
constexpr int kParkRideStation = 213;
constexpr int kAdministration = 110;
constexpr int kSubsidies = 112;
constexpr int kTaxes = 113;
constexpr int kRegulations = 114;
constexpr int kResearch = 115;
constexpr int kFinances = 116;
constexpr int kStopLineEdit = 227;
constexpr int kParkRideInfo = 224;
constexpr int kBuildingInfo = 221;

// Adds 228, 215 and 242, in this order, right after the root window.
void AddHelpWindows(CWindowBuilder& b);
// Adds 213, 110, the pages 112-116, 227, 224 and 221, in this order.
void AddAdministrationWindows(CWindowBuilder& b);
// Adds 110 and its pages 112, 113, 114, 115 and 116, in this order.
void AddAdministrationPages(CWindowBuilder& b);

}  // namespace zorwin
