#pragma once
// The street network's pieces as world objects on the map's tiles. Stand-in:
// only what the object factory and the map's stop checks use.
#include <cstdint>

#include "world/base/zor_world_obj.h"

// A street of the network. Stand-in: its type and the direction of its
// pieces (0 = +x, 1 = -y, 2 = -x, 3 = +y).
class CStrStrasse {
 public:
  CStrStrasse(int type, int direction) : m_Type(type), m_Richtung(direction) {}
  virtual ~CStrStrasse() = default;
  int GetStreetType() const { return m_Type; }
  // The direction of the piece that passes (x, y); found 0 when none does.
  virtual int GetRichtung(int x, int y, unsigned char& found, int& firstDir, bool& bend) const;

 protected:
  int m_Type;
  int m_Richtung;
};

// A street tile (type 52).
class CStreetObj : public CWorldObj {
 public:
  using CWorldObj::Create;
  int Create() override;
  // p points to the street the tile stands for.
  void SetData(void* p) override { m_pStreetList = static_cast<CStrStrasse*>(p); }
  CStrStrasse* GetStreet() const { return m_pStreetList; }
  // The map moved: (sx, sy) is the tile's anchor on the screen; the
  // street repositions its micro cells there.
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) override;
  int GetStreetType() const override { return m_pStreetList ? m_pStreetList->GetStreetType() : 0; }

 protected:
  CStrStrasse* m_pStreetList = nullptr;
};

// A four-lane street over a 2 x 2 block (type 52 like its base).
class CStreetObjGroup : public CStreetObj {};

// A rail tile (type 50).
class CRailObj : public CStreetObj {
 public:
  using CStreetObj::Create;
  int Create() override;
};

// The crossing object of a junction (type 53).
class CKreuzObj : public CWorldObj {
 public:
  using CWorldObj::Create;
  int Create() override;
  // The junction's street type; 0 while bound to no junction.
  int GetStreetType() const override { return 0; }
  // The map moved: (sx, sy) is the tile's anchor on the screen; the
  // junction repositions its micro cells there.
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) override;
};

// The crossing object of a four-lane junction over a 2 x 2 block.
class CKreuzObjGroup : public CKreuzObj {};

// The crossing object of a rail junction (type 51), bound to no junction yet.
class CRailKreuz : public CKreuzObj {
 public:
  using CKreuzObj::Create;
  int Create() override;
};
