#include "iso/iso_geometry.h"

TIsoZoomStufe g_ZoomStufe = ISO_ZOOM_1;
int32_t g_IsoRichtung = 0;

const int32_t Tile_Size_X[3] = {90, 42, 22};
const int32_t Tile_Size_Y[3] = {46, 22, 12};
const int32_t Tile_Size_XDiv2[3] = {46, 22, 12};
const int32_t Tile_Size_YDiv2[3] = {23, 11, 6};

