#pragma once
// The map art: ground, water, zones, overlay tiles and marks, and the
// multi-cell objects of the building catalogue.
#include "gen/generator.h"
#include "gen/iso_paint.h"

namespace zorgen {

// Draws one catalogue object into a scene, in its unturned cell units.
void BuildGroupModel(IsoScene& scene, const IsoGroupArt& group);
// The ground under the cells of a group.
IsoGround GroundOf(IsoDesign design);

bool ProduceIsoTiles(GameDataBuilder& out);
bool ProduceIsoGroups(GameDataBuilder& out);
// The street network: its pieces, layers and micro-cell layouts.
bool ProduceStreetArt(GameDataBuilder& out);
// The vehicles' sprites in every direction and the line vehicles' pictures.
bool ProduceVehicleArt(GameDataBuilder& out);

}  // namespace zorgen
