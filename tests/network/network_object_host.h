#pragma once
// A map host that makes the street network's world objects the way the
// world's factory does (rivers too: a bridge that goes puts its river
// back through the factory) and keeps them until the network gives them up, so a
// test, a fuzz target or a benchmark can count what is still alive.
#include <unordered_set>

#include "iso/iso_host.h"
#include "iso/iso_river.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "worldbase/zor_world_obj.h"

class NetObjectHost : public CIsoHost {
 public:
  NetObjectHost() { ground.Create(); }
  ~NetObjectHost() override {
    for (CWorldObj* o : objects) delete o;
  }
  CWorldObj* CreateObjectEmpty() override {
    ground.IncAllocCounter();
    return &ground;
  }
  CWorldObj* CreateObject(TObjectType kind) override {
    CWorldObj* o = MakeObject(kind);
    if (!o) return nullptr;
    o->Create();
    objects.insert(o);
    return o;
  }
  // A street-side object (a train stop) as the world's factory makes one:
  // of its kind, not yet on the map.
  CWorldObj* CreateObjectAt(TObjectType kind, int, CIsoRichtung, int, int) override {
    if (kind != OBJ_STREETSIDE) return nullptr;
    auto* o = new CWorldObj;
    o->Create();
    o->SetType(kind);
    objects.insert(o);
    return o;
  }
  // As the world does: the ground gives up one reference, any other object
  // made here goes; 1 for an object the host did not make.
  int DestroyObject(CWorldObj* object, int) override {
    if (object == &ground) {
      ground.Destroy();
      return 0;
    }
    if (!objects.erase(object)) return 1;
    object->Destroy();
    delete object;
    return 0;
  }
  CBaseObject ground;
  std::unordered_set<CWorldObj*> objects;

 protected:
  // The object of a kind, not yet created; null for a kind the host does
  // not make.
  virtual CWorldObj* MakeObject(TObjectType kind) {
    if (kind == OBJ_STREET_PIECE) return new CStreetObj;
    if (kind == OBJ_CROSSING) return new CKreuzObj;
    if (kind == OBJ_RIVER) return new CRiverObject;
    if (kind == OBJ_RAIL_PIECE) return new CRailObj;
    if (kind == OBJ_RAIL_JUNCTION) return new CRailKreuz;
    return nullptr;
  }
};
