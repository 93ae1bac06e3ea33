#pragma once
// The street network on the map's tiles: the world objects that street
// pieces and junctions place in the cells. A street object stands for one
// street on every tile of it and forwards the map's tile turns, drawing and
// queries to that street.
#include <cstdint>

#include "worldbase/street_type.h"
#include "worldbase/zor_world_obj.h"

class CStrStrasse;
class CStrJunction;
class CMicroZellenGroup;
class CQnoMicroZelle;

// The common base of street and crossing tiles: a tile's visibility is
// also its micro-cell layout's.
class CRoadObj : public CWorldObj {
 public:
  int GetStreetType() const override = 0;
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) override = 0;
  virtual int TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) = 0;
  virtual int GetAuslastung(int* flow, int* capacity) = 0;
  virtual int GetAuslastungSecond(int* flow, int* capacity);
  virtual int GetSimID() = 0;
  virtual CQnoMicroZelle* GetMicroZelle(unsigned short /*x*/, unsigned short /*y*/) { return nullptr; }
  virtual int GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy) = 0;

  void SetVisible(bool visible, unsigned short x, unsigned short y) override;
  bool IsVisible(unsigned short x, unsigned short y) override;
  // At the farthest level a street's or junction's tile moves and counts
  // no vehicles: its turn is the sounds, once a map turn on any of its
  // tiles, and the map's turn visits only its first tile.
  bool HasCellTurn() const override;
  int Destroy() override;
  void SetMaxAuslastung(int capacity) { m_MaxAuslastung = capacity; }
  int GetMaxAuslastung() const { return m_MaxAuslastung; }
  int GetMaxAuslastungSecond() const { return m_MaxAuslastungSecond; }

 protected:
  int32_t m_MaxAuslastung = 0;
  int32_t m_MaxAuslastungSecond = 0;
};

// A street tile (type 52) of the street it stands for; answers "ST.".
class CStreetObj : public CRoadObj {
 public:
  using CWorldObj::Create;
  int Create() override;
  int Destroy() override;
  // p is the street the tile stands for.
  void SetData(void* p) override { m_pStreetList = static_cast<CStrStrasse*>(p); }

  virtual int SetCarOnNextZellle(CMicroZellenGroup* /*group*/) { return 0; }
  virtual CQnoMicroZelle* GetNextMicroZelle() { return nullptr; }
  virtual int GetSimIDSecond();

  int OnPlayloopTurn(unsigned short x, unsigned short y) override;
  void PrefetchTurn(unsigned short x, unsigned short y, int stage) const override;
  int Render(QnoDisplay* display, unsigned short x, unsigned short y, int sx, int sy, TIsoZoomStufe zoom) override;
  // The street's or junction's layout at the cell.
  bool RendersOnlyLayoutVehicles() const override { return true; }
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) override;
  int TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) override;
  int GetAuslastung(int* flow, int* capacity) override;
  int GetAuslastungSecond(int* flow, int* capacity) override;
  int GetSimID() override;
  CQnoMicroZelle* GetMicroZelle(unsigned short x, unsigned short y) override;
  int GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy) override;
  int GetStreetType() const override;

  int SetStreetType(CStrassenType type);
  int CalculateLengthFromJunctionToXYIso(CStrJunction* junction, short simId, int x, int y, int* length);
  CStrStrasse* GetStreetList() const { return m_pStreetList; }
  bool HasBusSpur() const;
  bool HasVLS() const;
  bool SetVLS(bool on);
  int SetBusSpur(bool on);
  int GetAuslastung24(short& value);
  int GetAuslastung24Second(short& value);

  int GetVarData(const char* name, double* value) override;
  int SetVarData(const char* name, double value) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;

  // What "ST.RICHTUNG" reads: the interface's selected tile and its cached
  // direction, which the interface clears when the selection changes.
  struct Selection {
    int x = -1;
    int y = -1;
    int richtung = 0;
    bool known = false;
  };
  static Selection m_Selection;

 protected:
  CStrStrasse* m_pStreetList = nullptr;
};

// A four-lane street over a 2 x 2 block (type 52 like its base).
class CStreetObjGroup : public CStreetObj {
 public:
  // What SetData takes for a group: the street and the group's resource.
  struct GroupData {
    CStrStrasse* street = nullptr;
    int resId = 0;
  };
  void SetData(void* p) override;
  int OnPlayloopTurn(unsigned short x, unsigned short y) override;
  bool HasCellTurn() const override { return false; }
  // A group's tile moves no vehicles.
  void PrefetchTurn(unsigned short, unsigned short, int) const override {}
  int Render(QnoDisplay*, unsigned short, unsigned short, int, int, TIsoZoomStufe) override { return 1; }
  int UpdateScreenPos(int, int, unsigned short, unsigned short) override { return 1; }
  // Marks the object active and lets the street pull its flows.
  int OnStartOfCycle(unsigned short x, unsigned short y);
  int GetGroupResID() const { return m_GroupResID; }
  bool IsActive() const { return m_Active != 0; }

 private:
  int32_t m_GroupResID = 0;
  uint8_t m_Active = 0;
};

// A rail tile (type 50).
class CRailObj : public CStreetObj {
 public:
  using CStreetObj::Create;
  int Create() override;
};
