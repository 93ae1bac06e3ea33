#pragma once
// The rail network's map art: straight track, curve, T junction and end
// groups, the level crossings where a street crosses a track. One track runs
// along the middle of every group, on ballast with sleepers and two rails.
#include <cairo.h>

#include "gen/iso_art.h"
#include "manifest.h"

namespace zorgen {

// The ground of a rail group or level crossing in its model plane.
void PaintRail(cairo_t* cr, const NetPieceArt& n, int zoom);
// Barriers, warning crosses and the stop posts of a level crossing whose
// foot lies in cell (a, b).
void BuildRailUpper(IsoScene& s, const NetPieceArt& n, int a, int b);

}  // namespace zorgen
