// Multi-cell objects of the map. Each object is drawn whole for every zoom
// and rotation, then cut into slices, one per cell along its front edges:
// the map draws cells back to front, so every screen column of the object
// must come with the front-most cell covering that column, which is drawn
// after everything behind the object and before everything in front of it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "gen/iso_art.h"
#include "writers/iso_writers.h"

namespace zorgen {

namespace {

constexpr uint8_t Z_GROUND = 0;
constexpr uint8_t Z_OBJECT = 6;
// Room above the footprint, in units of height: the tallest towers.
constexpr double HEADROOM = 3.6;

struct Slice {
  uint32_t sprite = 0;
  int16_t x = 0, y = 0;
  bool front = false;
};

// Draws the object for one zoom and rotation and cuts it; slices[b * W + a]
// belongs to part (a, b).
bool CutGroup(GameDataBuilder& out, const IsoGroupArt& g, int zoom, int rotation, std::vector<Slice>& slices) {
  const IsoZoomGeometry geo = ZoomGeometry(zoom);
  const int W = g.width, D = g.depth;
  const int tw = rotation % 2 ? D : W, td = rotation % 2 ? W : D;
  const int XD = geo.XD(), YD = geo.yd;
  const int top = static_cast<int>(std::ceil(HEADROOM * geo.Vertical())) + 4;
  const int width = (tw + td + 2) * XD, height = top + (tw + td) * YD + 4;
  const double ox = (td + 1) * XD, oy = top;
  Canvas canvas(width, height);
  IsoProjection proj(zoom, rotation, W, D, ox, oy);
  IsoScene scene(proj);
  BuildGroupModel(scene, g);
  scene.Draw(canvas.cr());
  const Image16 image = canvas.ToImage();

  // The front-most turned cell over each half column j (left half of the
  // cells with a' - b' = j, right half of those with a' - b' = j - 1).
  std::map<int, std::pair<int, int>> owner;
  auto claim = [&](int j, int a, int b) {
    auto it = owner.find(j);
    if (it == owner.end() || it->second.first + it->second.second < a + b) owner[j] = {a, b};
  };
  for (int b = 0; b < td; ++b)
    for (int a = 0; a < tw; ++a) claim(a - b, a, b), claim(a - b + 1, a, b);

  bool ok = true;
  slices.assign(static_cast<size_t>(W * D), Slice{});
  for (int b = 0; b < D; ++b)
    for (int a = 0; a < W; ++a) {
      double tp, tq;
      proj.Turn(a + 0.5, b + 0.5, &tp, &tq);
      const int ta = static_cast<int>(std::floor(tp)), tb = static_cast<int>(std::floor(tq));
      const int k = ta - tb;
      const bool ownsLeft = owner[k] == std::make_pair(ta, tb);
      const bool ownsRight = owner[k + 1] == std::make_pair(ta, tb);
      if (!ownsLeft && !ownsRight) continue;
      const int tx = static_cast<int>(ox) + k * XD, ty = static_cast<int>(oy) + (ta + tb) * YD;
      const int x0 = ownsLeft ? tx - XD : tx, x1 = ownsRight ? tx + XD : tx;
      const int anchorX = tx - (XD - 1), anchorY = ty + 2 * YD;
      int left, bottom;
      const Image16 piece = CropVisible(image, x0, x1, anchorY, &left, &bottom);
      // Slices are numbered along the front from the left.
      const int index = k + td - 1;
      Slice& s = slices[static_cast<size_t>(b * W + a)];
      s.sprite = g.Slice(zoom, rotation, index);
      s.x = static_cast<int16_t>(left - anchorX);
      s.y = static_cast<int16_t>(anchorY - bottom);
      s.front = true;
      ok &= out.Put(s.sprite, WriteSprite(piece));
    }
  return ok;
}

}  // namespace

bool ProduceIsoGroups(GameDataBuilder& out) {
  bool ok = true;
  for (const IsoGroupArt& g : IsoGroups()) {
    const int W = g.width, D = g.depth;
    const bool upper = g.UpperLayer();
    std::vector<IsoTileContent> parts(static_cast<size_t>(W * D), IsoTileContent(upper ? 1 : 2));
    for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom)
      for (int rot = 0; rot < ISO_TURN_COUNT; ++rot) {
        std::vector<Slice> slices;
        ok &= CutGroup(out, g, zoom, rot, slices);
        for (size_t i = 0; i < parts.size(); ++i) {
          const Slice& s = slices[i];
          IsoTileLayer object{s.front ? s.sprite : IsoBlankSprite(), Z_OBJECT, s.x, s.y, 0};
          if (upper) {
            parts[i].At(zoom, rot, 0) = object;
          } else {
            parts[i].At(zoom, rot, 0) = {IsoGroundSprite(GroundOf(g.design), zoom), Z_GROUND, 0, 0, 0};
            parts[i].At(zoom, rot, 1) = object;
          }
        }
      }
    IsoGroupContent content;
    content.width = g.width;
    content.depth = g.depth;
    for (int b = 0; b < D; ++b)
      for (int a = 0; a < W; ++a) {
        const uint32_t tile = g.Tile(a, b);
        ok &= out.Put(tile, WriteIsoTile(parts[static_cast<size_t>(b * W + a)]));
        content.entries.push_back({static_cast<uint32_t>(a), static_cast<uint32_t>(b), 0, tile});
      }
    ok &= out.Put(g.id, WriteIsoGroup(content));
  }
  return ok;
}

bool ProduceMapArt(GameDataBuilder& out) {
  const bool tiles = ProduceIsoTiles(out);
  const bool streets = ProduceStreetArt(out);
  const bool vehicles = ProduceVehicleArt(out);
  return ProduceIsoGroups(out) && tiles && streets && vehicles;
}

}  // namespace zorgen
