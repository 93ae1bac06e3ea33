#pragma once
// What the map asks of the game above it. The map sits below the world
// root, the interface, the networks and the buildings, so it reaches them
// through this one interface, handed to it when it is made; the root
// implements it and tests script their own. The defaults answer as a game
// without an interface, a factory or any building would: nothing selected,
// no filter on, no object made.
#include <vector>

#include "iso/iso_object.h"
#include "worldbase/zor_types.h"

class CList;
class COpnvLine;
class CWorldObj;
class QnoDisplay;
struct IsoViewRectType;
struct selObjType;

// A building's place on the map: first cell, size in cells before the
// rotation, direction 0..3 and kind.
struct IsoFootprint {
  int x = -1;
  int y = -1;
  int width = 1;
  int depth = 1;
  int richtung = 0;
  TObjectType type = OBJ_NONE;
};

class CIsoHost {
 public:
  virtual ~CIsoHost() = default;
  // Answers with the defaults; the map uses it when it is given no host.
  static CIsoHost* Default();

  // ---- the world's objects ----
  // A new object of the kind from the factory, null when none is made.
  virtual CWorldObj* CreateObject(TObjectType /*kind*/) { return nullptr; }
  // A new object of the kind placed by the factory at (x, y) with its
  // graphic and direction, null when none is made there.
  virtual CWorldObj* CreateObjectAt(TObjectType /*kind*/, int /*resId*/, CIsoRichtung /*direction*/, int /*x*/,
                                    int /*y*/) {
    return nullptr;
  }
  // Gives up an object made by CreateObject (mode 1: one reference of a
  // shared object); 0. Without a factory around the object is the caller's
  // alone, so it is destroyed and deleted.
  virtual int DestroyObject(CWorldObj* object, int mode);
  // The shared ground object of empty cells, one more reference per call.
  virtual CWorldObj* CreateObjectEmpty() { return nullptr; }
  // A ground tile id: the first of the table when `first`, else a random
  // one; 0 while there is none.
  virtual int GetBaseResID(bool /*first*/) { return 0; }
  // Removes the object in the cell's layer; 0 when it was removed.
  virtual int RemoveObject(int /*x*/, int /*y*/, TBaseType /*layer*/) { return 1; }
  // Every placed object, null when there is no list.
  virtual CList* GetObjectList() { return nullptr; }
  // The street and rail networks move their vehicles and switch their lights.
  virtual void TurnMicroSim() {}
  // The vehicles standing in visible cells take their screen positions.
  virtual void PlaceVehicles() {}
  // True in the exhibition mode.
  virtual bool IsExpoMode() { return false; }

  // ---- buildings and the catalogue ----
  // The footprint of a building object; false for any other object.
  virtual bool GetBuildingFootprint(CWorldObj* /*object*/, IsoFootprint& /*footprint*/) { return false; }
  // The height class of the object's location; 0 without one.
  virtual int GetLocationHeight(CWorldObj* /*object*/) { return 0; }
  // The district of the building on the cell; -1 when there is none.
  virtual int GetDistrictAt(int /*x*/, int /*y*/) { return -1; }
  // The footprints of the buildings the interface marks, appended to out.
  virtual void GetMarkedBuildings(std::vector<IsoFootprint>& /*out*/) {}
  // Group or tile resource id of catalogue row nr (below 1: none); whether
  // the row is drawn as a multi-cell group.
  virtual int GetCatalogueResID(int /*row*/) { return 0; }
  virtual bool IsCatalogueGroup(int /*row*/) { return false; }

  // ---- the interface ----
  // The interface's tool and selection record; null while there is no
  // interface.
  virtual selObjType* GetSelection() { return nullptr; }
  // The state of view filter n (1: public-transport net, 2: no vehicles).
  virtual int GetFilter(int /*n*/) { return 0; }
  // The debug flag that, with filter 2, shows the districts.
  virtual bool IsDebugInfo() { return false; }
  // The street tool's per-cell marks: a kind, and four direction bits.
  virtual unsigned char GetTileMask(int /*x*/, int /*y*/) { return 0; }
  virtual unsigned char GetTileMask2(int /*x*/, int /*y*/) { return 0; }
  // True while an area tool is dragged with the left button.
  virtual bool GetBuildSurfaceStatus() { return false; }
  // The mouse position as the interface saw it last; panning moves it.
  virtual void GetMousePosition(int& x, int& y) { x = y = 0; }
  virtual void SetMousePosition(int /*x*/, int /*y*/) {}
  // The animated mouse cursor: forget the saved one, save, replace, restore.
  virtual void ResetCursor() {}
  virtual void BackupCursor() {}
  virtual void SetCursorID(int /*id*/, int /*state*/) {}
  virtual void RestoreCursor() {}
  // Public-transport overlays: the whole net; one line's colour, streets
  // and stops.
  virtual void RenderOpnvNet(QnoDisplay* /*display*/) {}
  virtual bool GetLineColor(COpnvLine* /*line*/, unsigned char& /*r*/, unsigned char& /*g*/, unsigned char& /*b*/) {
    return false;
  }
  virtual void RenderOpnvLineStreet(QnoDisplay* /*display*/, COpnvLine* /*line*/, unsigned short /*colour*/) {}
  virtual void RenderOpnvLineHst(QnoDisplay* /*display*/, COpnvLine* /*line*/) {}
  // A cell's graphics changed; the overview maps recolour it.
  virtual void UpdateViewFilter(int /*x*/, int /*y*/) {}
  // The view rectangle changed; the overview maps follow it.
  virtual void UpdateViewRect(const IsoViewRectType& /*rect*/) {}
};
