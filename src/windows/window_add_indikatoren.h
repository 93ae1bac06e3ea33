#pragma once
// The windows in which the player reads the city's rating and statistics
// and, in free play, pins the god values: the group 140 with its pages.
namespace zorwin {

constexpr int kIndikatorGroup = 140;
constexpr int kIndikatorPage = 141;
constexpr int kStatistikPage = 142;
constexpr int kMasterEntry = 143;
constexpr int kMasterTraffic = 144;
constexpr int kMasterUsers = 145;
constexpr int kIndikatorEmpty = 146;
// The statistics' series panels, one per group, in the order of their tabs.
constexpr int kSeriesPanels[] = {147, 152, 151, 153, 150, 149, 148};

}  // namespace zorwin
