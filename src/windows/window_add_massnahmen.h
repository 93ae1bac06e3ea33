#pragma once
// The measures group 80 with which the player runs the city's services: the
// travel assistant, the advice centre, passive and active route guidance,
// car sharing and their advertising campaigns, each on a page of its own,
// and the companion pages that stand in for a page while its service has
// nothing built. WindowAddAk adds them after the exhibition windows.
#include "gui/window_builder.h"

namespace zorwin {

constexpr int kMeasuresGroup = 80;
constexpr int kMeasureAdvice = 81;
constexpr int kMeasureAdviceHint = 82;
constexpr int kMeasureCarsharing = 84;
constexpr int kMeasureCarsharingHint = 85;
constexpr int kMeasureActiveGuidance = 87;
constexpr int kMeasureActiveGuidanceHint = 88;
constexpr int kMeasurePassiveGuidance = 89;
constexpr int kMeasureAssistant = 90;
constexpr int kMeasureAssistantHint = 91;
constexpr int kMeasureCampaigns = 92;

// Adds 80, 92, 85, 84, 88, 87, 89, 91, 90, 82 and 81, in this order.
void AddMeasuresWindows(CWindowBuilder& b);

}  // namespace zorwin
