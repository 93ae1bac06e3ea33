#pragma once
// The view filter: the link between the isometric map and the interface's
// two maps. It keeps one registry of the maps for the whole program,
// computes the colour of a map cell for a map's layer and passes every
// changed cell and every new view rectangle on to the registered maps, so
// that they follow the world without rebuilding their pictures.
#include <cstdint>

class CIsoWelt;
struct IsoViewRectType;

// A layer of the maps (1-24); the view filter colours layers 1, 6, 7 and 8.
using TSimDistrictMapType = int;

// One cell's colour and its height class (a building's height in layer 1,
// the distance class in layer 8).
struct TMap_ColorHeight {
  uint8_t red = 0, green = 0, blue = 0, height = 0;
};

enum enumOK : int { ENUM_OK = 0, ENUM_FAIL = 1 };
// What a test colouring marks; handed through to the maps.
enum enumTestType : int { TEST_NONE = 0 };

class CViewFilter {
 public:
  using TileCallback = enumOK (*)(int x, int y, TMap_ColorHeight* colour);
  using ViewRectCallback = enumOK (*)(IsoViewRectType rect);
  using TileTestCallback = enumOK (*)(int x, int y, TMap_ColorHeight* colour, enumTestType test);
  static constexpr int kMaxMaps = 3;
  // Cell-colour layers.
  static constexpr int kLayerAlles = 1;
  static constexpr int kLayerStrassenTyp = 6;
  static constexpr int kLayerStrassen = 7;
  static constexpr int kLayerOpnvReach = 8;

  explicit CViewFilter(CIsoWelt* iso);
  virtual ~CViewFilter();
  int Create();
  int Destroy();

  static int Activate();
  static int Deactivate();
  static bool IsActive() { return active; }

  // The entry's index (0-2), or -1 when three maps are registered.
  static int AddMap(TileCallback tile, ViewRectCallback rect, TSimDistrictMapType layer, TileTestCallback test);
  static int ChangeFilter(int index, TSimDistrictMapType layer);
  // The layer of entry `index`; 0 for an index outside the registry.
  static TSimDistrictMapType GetFilter(int index);
  static int GetMapCount() { return m_MapMax; }
  // Fills `colour` for cell (x, y) by the layer of entry `index`; 0, or 1
  // (logged) when the map, the cell, the record or the cell's object is
  // missing, with the record as far as it was written.
  static int GetIsoTileColor(int index, int x, int y, TMap_ColorHeight* colour);
  // A cell changed: every registered map is told its new colour.
  static int Update(int x, int y);
  // The isometric map's visible rectangle changed.
  static int UpdateViewRect(const IsoViewRectType& rect);
  static int UpdateTest(int x, int y, enumTestType test);
  // Centres the isometric view on cell (x, y).
  static int UpdateIsoWeltCenter(int x, int y);
  static CIsoWelt* GetIsoWelt() { return m_IsoWelt; }

 private:
  struct MapEntry {
    TSimDistrictMapType layer = 0;
    TileCallback tile = nullptr;
    ViewRectCallback rect = nullptr;
    TileTestCallback test = nullptr;
  };
  static int ColorAlles(int x, int y, TMap_ColorHeight* c);
  static int ColorStrassenTyp(int x, int y, TMap_ColorHeight* c);
  static int ColorStrassen(int x, int y, TMap_ColorHeight* c);
  static int ColorOpnvReach(int x, int y, TMap_ColorHeight* c);

  static MapEntry m_Maps[kMaxMaps];
  static int m_MapMax;
  static CIsoWelt* m_IsoWelt;
  static bool active;
};
