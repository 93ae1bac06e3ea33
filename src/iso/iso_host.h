#pragma once
// What the map asks of the game above it. The map sits below the world
// root, the interface, the networks and the buildings, so it reaches them
// through this one interface, handed to it when it is made; the root
// implements it and tests script their own. The defaults answer as a game
// without an interface, a factory or any building would: nothing selected,
// no filter on, no object made; each says once in the log that no part of
// the game answered.
#include <vector>

#include "framework/zor_stand_in.h"
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
  virtual CWorldObj* CreateObject(TObjectType /*kind*/) {
    ZOR_STAND_IN("CIsoHost");
    return nullptr;
  }
  // A new object of the kind placed by the factory at (x, y) with its
  // graphic and direction, null when none is made there.
  virtual CWorldObj* CreateObjectAt(TObjectType /*kind*/, int /*resId*/, CIsoRichtung /*direction*/, int /*x*/,
                                    int /*y*/) {
    ZOR_STAND_IN("CIsoHost");
    return nullptr;
  }
  // Gives up an object made by CreateObject (mode 1: one reference of a
  // shared object); 0. Without a factory around the object is the caller's
  // alone, so it is destroyed and deleted.
  virtual int DestroyObject(CWorldObj* object, int mode);
  // The shared ground object of empty cells, one more reference per call.
  virtual CWorldObj* CreateObjectEmpty() {
    ZOR_STAND_IN("CIsoHost");
    return nullptr;
  }
  // A ground tile id: the first of the table when `first`, else a random
  // one; 0 while there is none.
  virtual int GetBaseResID(bool /*first*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  // Removes the object in the cell's layer; 0 when it was removed.
  virtual int RemoveObject(int /*x*/, int /*y*/, TBaseType /*layer*/) {
    ZOR_STAND_IN("CIsoHost");
    return 1;
  }
  // Every placed object, null when there is no list.
  virtual CList* GetObjectList() {
    ZOR_STAND_IN("CIsoHost");
    return nullptr;
  }
  // The street and rail networks move their vehicles and switch their lights.
  virtual void TurnMicroSim() { ZOR_STAND_IN("CIsoHost"); }
  // The vehicles standing in visible cells take their screen positions.
  virtual void PlaceVehicles() { ZOR_STAND_IN("CIsoHost"); }
  // True in the exhibition mode.
  virtual bool IsExpoMode() {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }

  // ---- buildings and the catalogue ----
  // The footprint of a building object; false for any other object.
  virtual bool GetBuildingFootprint(CWorldObj* /*object*/, IsoFootprint& /*footprint*/) {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }
  // The height class of the object's location; 0 without one.
  virtual int GetLocationHeight(CWorldObj* /*object*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  // The district of the building on the cell; -1 when there is none.
  virtual int GetDistrictAt(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CIsoHost");
    return -1;
  }
  // The footprints of the buildings the interface marks, appended to out.
  virtual void GetMarkedBuildings(std::vector<IsoFootprint>& /*out*/) { ZOR_STAND_IN("CIsoHost"); }
  // Group or tile resource id of catalogue row nr (below 1: none); whether
  // the row is drawn as a multi-cell group.
  virtual int GetCatalogueResID(int /*row*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  virtual bool IsCatalogueGroup(int /*row*/) {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }

  // ---- the interface ----
  // The interface's tool and selection record; null while there is no
  // interface.
  virtual selObjType* GetSelection() {
    ZOR_STAND_IN("CIsoHost");
    return nullptr;
  }
  // The state of view filter n (1: public-transport net, 2: no vehicles).
  virtual int GetFilter(int /*n*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  // The debug flag that, with filter 2, shows the districts.
  virtual bool IsDebugInfo() {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }
  // The street tool's per-cell marks: a kind, and four direction bits.
  virtual unsigned char GetTileMask(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  virtual unsigned char GetTileMask2(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CIsoHost");
    return 0;
  }
  // True while an area tool is dragged with the left button.
  virtual bool GetBuildSurfaceStatus() {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }
  // The mouse position as the interface saw it last; panning moves it.
  virtual void GetMousePosition(int& x, int& y) {
    ZOR_STAND_IN("CIsoHost");
    x = y = 0;
  }
  virtual void SetMousePosition(int /*x*/, int /*y*/) { ZOR_STAND_IN("CIsoHost"); }
  // The animated mouse cursor: forget the saved one, save, replace, restore.
  virtual void ResetCursor() { ZOR_STAND_IN("CIsoHost"); }
  virtual void BackupCursor() { ZOR_STAND_IN("CIsoHost"); }
  virtual void SetCursorID(int /*id*/, int /*state*/) { ZOR_STAND_IN("CIsoHost"); }
  virtual void RestoreCursor() { ZOR_STAND_IN("CIsoHost"); }
  // Public-transport overlays: the whole net; one line's colour, streets
  // and stops.
  virtual void RenderOpnvNet(QnoDisplay* /*display*/) { ZOR_STAND_IN("CIsoHost"); }
  virtual bool GetLineColor(COpnvLine* /*line*/, unsigned char& /*r*/, unsigned char& /*g*/, unsigned char& /*b*/) {
    ZOR_STAND_IN("CIsoHost");
    return false;
  }
  virtual void RenderOpnvLineStreet(QnoDisplay* /*display*/, COpnvLine* /*line*/, unsigned short /*colour*/) {
    ZOR_STAND_IN("CIsoHost");
  }
  virtual void RenderOpnvLineHst(QnoDisplay* /*display*/, COpnvLine* /*line*/) { ZOR_STAND_IN("CIsoHost"); }
  // A cell's graphics changed; the overview maps recolour it.
  virtual void UpdateViewFilter(int /*x*/, int /*y*/) { ZOR_STAND_IN("CIsoHost"); }
  // The view rectangle changed; the overview maps follow it.
  virtual void UpdateViewRect(const IsoViewRectType& /*rect*/) { ZOR_STAND_IN("CIsoHost"); }
};
