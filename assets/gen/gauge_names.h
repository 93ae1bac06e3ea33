#pragma once
// The rating gauges' names, as the indicator window labels their rows and in
// the window's order, and the three groups the window sets them in. The
// window draws them, and every message and help text that names a gauge or a
// group names it so, so that the player finds the row it means.

#include "gen/words.h"

namespace zorgen {

constexpr int kGaugeCount = 13;

constexpr Words kGaugeNames[kGaugeCount] = {
    {"Kilometer/Person", "Kilometres/person"},
    {"Zeit pro km", "Time per km"},
    {"Staus", "Traffic jams"},
    {"Kosten/Person", "Cost/person"},
    {"Energie pro km", "Energy per km"},
    {"Emissionen", "Emissions"},
    {"L\xC3\xA4rm", "Noise"},
    {"Energie/Person", "Energy/person"},
    {"Raumtrennung", "Subdivision"},
    {"Fl\xC3\xA4" "che/Person", "Area/person"},
    {"Erreichbarkeit", "Accessibility"},
    {"Komfort", "Comfort"},
    {"Sicherheit", "Safety"},
};

struct GaugeGroup {
  Words heading;
  int first, count;  // its gauges in kGaugeNames
};

// The two gauges beside the groups: the rating of the whole city and its
// growth.
constexpr Words kCityRating{"Stadtbewertung", "City rating"};
constexpr Words kGrowthGauge{"Wachstum", "Growth"};

constexpr GaugeGroup kGaugeGroups[3] = {{{"Effizienz", "Efficiency"}, 0, 5},
                                        {{"Lebensqualit\xC3\xA4t", "Quality of life"}, 5, 5},
                                        {{"Mobilit\xC3\xA4t", "Mobility"}, 10, 3}};

}  // namespace zorgen
