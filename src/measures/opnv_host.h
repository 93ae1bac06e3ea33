#pragma once
// What public transport asks of the layers above it: the game model's named
// values and messages, the city model's bus figures, the windows that show
// nets and lines, and the interface's selected stop and line. The world
// installs its implementation while it lives, and tests install their own.
// Without one, each call says once in the log that no part of the game
// answered and does nothing (numbers answer 0, checks false).
#include "framework/zor_stand_in.h"

class CWorldObj;
class CZorvaList;
class CBuildingObject;
class COpnvLine;

class COpnvHost {
 public:
  virtual ~COpnvHost() = default;

  // The installed host, never null: without one a default host answers.
  static COpnvHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(COpnvHost* host);

  // A named value of the game model (the data exchange); 0 when unknown.
  virtual double GetExchangeValue(const char* /*name*/) {
    ZOR_STAND_IN("COpnvHost");
    return 0.0;
  }
  // Raises an adviser message (kind, number, then the message's eight
  // parameters: line, two spares, position x and y, a spare, size x and y);
  // 0 when the message system accepted it, 1 when it refused it.
  virtual int ActivateMessage(int /*kind*/, int /*number*/, int /*a*/, int /*b*/, int /*c*/, int /*x*/, int /*y*/,
                              int /*d*/, int /*xs*/, int /*ys*/) {
    ZOR_STAND_IN("COpnvHost");
    return 1;
  }
  // The adviser's checks of public transport: bad service, too few lines.
  virtual bool CheckBadService() {
    ZOR_STAND_IN("COpnvHost");
    return false;
  }
  virtual bool CheckTooFewLines() {
    ZOR_STAND_IN("COpnvHost");
    return false;
  }
  // The city model's bus trip length and its number of bus trips.
  virtual double StreckenlaengeBus() {
    ZOR_STAND_IN("COpnvHost");
    return 0.0;
  }
  virtual int NrOfBusTrips() {
    ZOR_STAND_IN("COpnvHost");
    return 0;
  }
  // The exhibition's bus task joins the two places it asks for: every
  // line's passengers and user quote then count four times.
  virtual bool ExpoLineGood() {
    ZOR_STAND_IN("COpnvHost");
    return false;
  }
  // Binds an object to a window (and item), a list to a window's item, and
  // brings a window to the front.
  virtual void SetVarWorldObject(int /*window*/, int /*dialog*/, int /*item*/, CWorldObj* /*object*/) {
    ZOR_STAND_IN("COpnvHost");
  }
  virtual void SetZorvaList(int /*window*/, int /*item*/, CZorvaList* /*list*/, int /*settings*/) {
    ZOR_STAND_IN("COpnvHost");
  }
  virtual void ActivateWindow(int /*window*/) { ZOR_STAND_IN("COpnvHost"); }
  // The interface's selected line (with its number) and selected stop.
  virtual void SetSelectedLine(COpnvLine* /*line*/, int /*number*/) { ZOR_STAND_IN("COpnvHost"); }
  virtual COpnvLine* GetSelectedLine() {
    ZOR_STAND_IN("COpnvHost");
    return nullptr;
  }
  virtual CBuildingObject* GetSelectedHst() {
    ZOR_STAND_IN("COpnvHost");
    return nullptr;
  }
  virtual void ClearSelectedHst() { ZOR_STAND_IN("COpnvHost"); }
  // A line that is about to be freed: the interface lets it go wherever it
  // holds it (the selected line, the windows that show it).
  virtual void ForgetLine(COpnvLine* /*line*/) { ZOR_STAND_IN("COpnvHost"); }
  // The line windows show the lines again after one was made or removed.
  virtual void RefreshWindowLineChange() { ZOR_STAND_IN("COpnvHost"); }
};
