#pragma once
// The world's side of the exhibition: god mode's tasks reach the window
// tree, the factory, the interface's street builder, the map and public
// transport through it.
#include "model/gott_modus.h"

class CZorvaWorld;

class CZorExpoHost : public CExpoHost {
 public:
  explicit CZorExpoHost(CZorvaWorld& world) : m_world(world) {}
  void OpenWindow(int id) override;
  void CloseWindow(int id) override;
  void BindWindow(int id, CWorldObj* object) override;
  bool English() override;
  CSecondLayerObject* CreateStop(int type, int resId, int direction, int x, int y) override;
  bool BuildStreet(int x1, int y1, int x2, int y2, int type) override;
  CWorldObj* StreetPieceAt(int x, int y) override;
  COpnvLine* CreateBusLine() override;
  void SetBlocked(int state) override;

 private:
  CZorvaWorld& m_world;
};
