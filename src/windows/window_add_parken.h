#pragma once
// The windows with which the player runs the city's car parks: the parking
// management group 214 with its balance, fees and utilisation pages, and the
// car-park window 170 with the pages of the car park the player selects.
// WindowAddParken and WindowAddParkhaus build them after the building palette.
#include "gui/window_builder.h"

namespace zorwin {

constexpr int kParkManagement = 214;
constexpr int kParkBalance = 101;
constexpr int kParkFees = 102;
constexpr int kParkUtilisation = 103;
constexpr int kCarPark = 170;
constexpr int kCarParkInfo = 171;
constexpr int kCarParkSettings = 172;
constexpr int kCarParkSystems = 173;

// Adds 214 and its pages 101, 102 and 103, in this order.
void AddParkManagementWindows(CWindowBuilder& b);
// Adds 170 and its pages 171, 172 and 173, in this order.
void AddCarParkWindows(CWindowBuilder& b);

}  // namespace zorwin
