#pragma once
// What placed objects and the window toolkit ask of the world root: the
// language, the sounds of objects and an object's filter icon. They sit
// below the root, so they reach it through this one interface; the root
// installs its implementation while it lives, and tests install their own.
// Without one, the language is German, nothing plays and no icon changes;
// each default says once in the log that no part of the game answered.

#include "framework/zor_stand_in.h"

class CWorldObj;
class CBuildingParkingObject;

class CWorldHost {
 public:
  virtual ~CWorldHost() = default;

  // The installed host, never null: without one a default host answers.
  static CWorldHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CWorldHost* host);

  // 0 German, 1 English.
  virtual int GetLanguage() {
    ZOR_STAND_IN("CWorldHost");
    return 0;
  }
  // Starts or keeps up an object's looping sound; fades it out.
  virtual int AddSound(const char* /*name*/, int /*priority*/) {
    ZOR_STAND_IN("CWorldHost");
    return 0;
  }
  virtual int FadeOutSound(const char* /*name*/) {
    ZOR_STAND_IN("CWorldHost");
    return 0;
  }
  // Sets the filter icon of one object from the interface's map filters.
  virtual void SetWorldObjectListFilter(CWorldObj* /*object*/) { ZOR_STAND_IN("CWorldHost"); }
  // Shows the interface's warning window with that number.
  virtual void SetAchtungWindow(int /*warning*/) { ZOR_STAND_IN("CWorldHost"); }
  // The debug view that draws every micro cell and its links.
  virtual bool GetShowMicroZellen() {
    ZOR_STAND_IN("CWorldHost");
    return false;
  }
  // The price table's building (class 0) or other price of an entry.
  virtual double GetPreis(int /*entry*/, int /*cls*/) {
    ZOR_STAND_IN("CWorldHost");
    return 0.0;
  }
  // 1 when the city cannot pay the amount, 0 when it can (the finances'
  // answer, which depends on the game mode).
  virtual int CheckForMoney(int /*amount*/) {
    ZOR_STAND_IN("CWorldHost");
    return 0;
  }
  // The indicators' housing quality (0-255) at a cell.
  virtual int GetWohnqualitaetMapXY(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CWorldHost");
    return 0;
  }
  // Adds a value to a named variable of the game model (a booked cost).
  virtual void VarAddValue(const char* /*name*/, double /*value*/) { ZOR_STAND_IN("CWorldHost"); }
  // The street a car park's guidance display stands by is destroyed: the
  // car park takes the display away.
  virtual void DestroyPLSObject(CBuildingParkingObject* /*parking*/) { ZOR_STAND_IN("CWorldHost"); }
};
