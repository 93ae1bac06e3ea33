#include "iso/iso_geometry.h"

#include <cmath>

#include "iso/iso_screen_tiles.h"

TIsoZoomStufe g_ZoomStufe = ISO_ZOOM_1;
int32_t g_IsoRichtung = 0;

const int32_t Tile_Size_X[3] = {kIsoTileX[0], kIsoTileX[1], kIsoTileX[2]};
const int32_t Tile_Size_Y[3] = {kIsoTileY[0], kIsoTileY[1], kIsoTileY[2]};
const int32_t Tile_Size_XDiv2[3] = {kIsoTileXDiv2[0], kIsoTileXDiv2[1], kIsoTileXDiv2[2]};
const int32_t Tile_Size_YDiv2[3] = {kIsoTileYDiv2[0], kIsoTileYDiv2[1], kIsoTileYDiv2[2]};

void IsoScreenToTileFloat(int rotation, int zoomIndex, short sx, short sy, int& tileX, int& tileY) {
  const float x = sx, y = sy;
  const float w = static_cast<float>(Tile_Size_X[zoomIndex] + 2), h = static_cast<float>(Tile_Size_Y[zoomIndex]);
  const float xd = static_cast<float>(Tile_Size_XDiv2[zoomIndex]), yd = static_cast<float>(Tile_Size_YDiv2[zoomIndex]);
  float a = 0.0f, b = 0.0f;
  switch (rotation) {
    case 0:
      a = x / w + y / h, b = y / h - x / w;
      break;
    case 1:
      a = (y - yd) / h - (x - xd) / w, b = -(x - xd) / w - (y - yd) / h;
      break;
    case 2:
      a = -(x / w + (y - h) / h), b = x / w - (y - h) / h;
      break;
    case 3:
      a = (x + xd) / w - (y - yd) / h, b = (x + xd) / w + (y - yd) / h;
      break;
    default:
      break;
  }
  tileX = static_cast<int>(std::floor(a));
  tileY = static_cast<int>(std::floor(b));
}

