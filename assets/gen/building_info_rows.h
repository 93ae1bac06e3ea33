#pragma once
// The building window's two columns and five rows. The first column counts
// the building's own places of each kind; the second shows how loaded the
// places of that kind are in the building's district, the district's users
// over its places times 140, so that it may stand far above the building's
// own count (a district short of leisure shows several hundred). Its title
// says so, and the line below the rows gives its scale.

#include "gen/words.h"

namespace zorgen {

struct BuildingInfoColumn {
  int x, w;  // the column's figures in the window
  Words title;
};

constexpr BuildingInfoColumn kBuildingInfoPlaces = {119, 53, {"Pl\xC3\xA4tze", "Places"}};
constexpr BuildingInfoColumn kBuildingInfoLoad = {176, 53, {"Auslastung", "Load"}};

// What the load of 140 stands for.
constexpr Words kBuildingInfoLoadScale = {"Auslastung im Viertel, 140 = voll", "Load in the district, 140 = full"};

constexpr int kBuildingInfoRowCount = 5;
constexpr int kBuildingInfoFirstRow = 55, kBuildingInfoRowStep = 14;

constexpr Words kBuildingInfoRows[kBuildingInfoRowCount] = {{"Wohnen", "Homes"},
                                                            {"Arbeit", "Work"},
                                                            {"Einkauf", "Shopping"},
                                                            {"Freizeit", "Leisure"},
                                                            {"Bildung", "Education"}};

}  // namespace zorgen
