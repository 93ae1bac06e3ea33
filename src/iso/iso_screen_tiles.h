#pragma once
// Tiles and screen offsets: a tile's reference point, the tile under a
// screen point, and both with a view's offsets read once for many points.
#include <cstdint>

#include "iso/iso_geometry.h"

class CIsoWelt;

// The tile sizes by zoom index as constants: Tile_Size_X, Tile_Size_Y,
// Tile_Size_XDiv2 and Tile_Size_YDiv2 are made from these.
inline constexpr int32_t kIsoTileX[3] = {90, 42, 22};
inline constexpr int32_t kIsoTileY[3] = {46, 22, 12};
inline constexpr int32_t kIsoTileXDiv2[3] = {46, 22, 12};
inline constexpr int32_t kIsoTileYDiv2[3] = {23, 11, 6};

// A tile's reference point relative to tile (0, 0), by rotation and zoom
// index; any other rotation gives 0, 0.
inline void IsoTileToScreen(int rotation, int zoomIndex, short u, short v, int& x, int& y) {
  const int xd = kIsoTileXDiv2[zoomIndex], yd = kIsoTileYDiv2[zoomIndex];
  switch (rotation) {
    case 0:
      x = (u - v) * xd, y = (u + v) * yd;
      return;
    case 1:
      x = -(u + v) * xd, y = (u - v) * yd;
      return;
    case 2:
      x = -(u - v) * xd, y = -(u + v) * yd;
      return;
    case 3:
      x = (u + v) * xd, y = (v - u) * yd;
      return;
    default:
      x = y = 0;
      return;
  }
}

// The tile under a screen offset by the rule in single precision: each
// tile coordinate is a sum of two quotients rounded to floats, then
// floored.
void IsoScreenToTileFloat(int rotation, int zoomIndex, short sx, short sy, int& tileX, int& tileY);

namespace isogeo {

// Each tile coordinate of the rule is n / (W x H) for a whole n, W the
// tiles' horizontal distance and H their height. Where n is no multiple of
// W x H, the floats' rounding (below a thousandth of a tile for any 16-bit
// offset at every zoom) stays nearer than 1 / (W x H) and cannot cross a
// whole number, so the floor of the exact quotient is the rule's result.
// On a whole number the floats may land just below it: those points take
// the float rule itself.
template <int Zoom>
inline void ScreenToTile(int rotation, short sx, short sy, int& tileX, int& tileY) {
  constexpr int w = kIsoTileX[Zoom] + 2, h = kIsoTileY[Zoom];
  constexpr int xd = kIsoTileXDiv2[Zoom], yd = kIsoTileYDiv2[Zoom], d = w * h;
  const int x = sx, y = sy;
  int a = 0, b = 0;
  switch (rotation) {
    case 0:
      a = x * h + y * w, b = y * w - x * h;
      break;
    case 1:
      a = (y - yd) * w - (x - xd) * h, b = -(x - xd) * h - (y - yd) * w;
      break;
    case 2:
      a = -(x * h + (y - h) * w), b = x * h - (y - h) * w;
      break;
    case 3:
      a = (x + xd) * h - (y - yd) * w, b = (x + xd) * h + (y - yd) * w;
      break;
    default:
      tileX = tileY = 0;
      return;
  }
  const int qa = a / d, ra = a % d, qb = b / d, rb = b % d;
  if (ra == 0 || rb == 0) {
    IsoScreenToTileFloat(rotation, Zoom, sx, sy, tileX, tileY);
    return;
  }
  tileX = qa - (ra < 0 ? 1 : 0);
  tileY = qb - (rb < 0 ? 1 : 0);
}

}  // namespace isogeo

// The tile under a screen offset relative to tile (0, 0)'s reference
// point, by rotation and zoom index: the rule of IsoScreenToTileFloat, in
// integers wherever that gives the same tile.
inline void IsoScreenToTile(int rotation, int zoomIndex, short sx, short sy, int& tileX, int& tileY) {
  switch (zoomIndex) {
    case 0:
      return isogeo::ScreenToTile<0>(rotation, sx, sy, tileX, tileY);
    case 1:
      return isogeo::ScreenToTile<1>(rotation, sx, sy, tileX, tileY);
    default:
      return isogeo::ScreenToTile<2>(rotation, sx, sy, tileX, tileY);
  }
}

// CIsoWelt::ScreenKoorToIsoKoor and FixeIsoKoorCalc with the view read
// once, for work that converts many points of one view (placing a turn's
// cars).
struct IsoScreenTiles {
  int rotation = 0, zoom = 0;
  int shiftX = 0, shiftY = 0;    // screen centre plus pixel offset
  int centreX = 0, centreY = 0;  // the view centre's tile
  int anchorX = 0, anchorY = 0;  // origin plus pixel offset, x less half a tile
  void TileAt(int px, int py, int& x, int& y) const {
    IsoScreenToTile(rotation, zoom, static_cast<short>(px - shiftX), static_cast<short>(py - shiftY), x, y);
    x += centreX;
    y += centreY;
  }
  void AnchorOf(unsigned short x, unsigned short y, int& sx, int& sy) const {
    IsoTileToScreen(rotation, zoom, static_cast<short>(x), static_cast<short>(y), sx, sy);
    sx += anchorX;
    sy += anchorY;
  }
};

// The map's view as it stands.
IsoScreenTiles IsoScreenTilesOf(const CIsoWelt& map);
