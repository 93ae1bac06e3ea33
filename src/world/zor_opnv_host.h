#pragma once
// The world's side of public transport's host: the data exchange's values,
// the city model's bus figures and the window tree.
#include "measures/opnv_host.h"

class CZorvaWorld;

class CZorOpnvHost : public COpnvHost {
 public:
  explicit CZorOpnvHost(CZorvaWorld& world) : m_world(world) {}
  double GetExchangeValue(const char* name) override;
  int ActivateMessage(int kind, int number, int a, int b, int c, int x, int y, int d, int xs, int ys) override;
  bool CheckBadService() override;
  bool CheckTooFewLines() override;
  double StreckenlaengeBus() override;
  int NrOfBusTrips() override;
  void SetVarWorldObject(int window, int dialog, int item, CWorldObj* object) override;
  void ForgetLine(COpnvLine* line) override;
  void SetZorvaList(int window, int item, CZorvaList* list, int settings) override;
  void ActivateWindow(int window) override;
  // The line the interface edits, as the windows select it.
  void SetSelectedLine(COpnvLine* line, int number) override;
  COpnvLine* GetSelectedLine() override;
  // The stop chosen on the map, whose lines the line list marks.
  CBuildingObject* GetSelectedHst() override;
  void ClearSelectedHst() override;
  void RefreshWindowLineChange() override;
  bool ExpoLineGood() override;

 private:
  CZorvaWorld& m_world;
};

