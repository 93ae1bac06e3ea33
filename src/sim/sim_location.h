#pragma once
// A building as the demand model sees it: where it stands, what it offers
// (its capacity record), its district, the crossing where its traffic
// enters the street network and its up to three nearest stops.
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_types.h"

class CSimDistrict;
class CSimLocationFactory;
class CWorldObj;

// A cell of the 128 x 128 map.
class CSimRasterPos {
 public:
  CSimRasterPos() = default;
  CSimRasterPos(const int& x, const int& y) : m_x(x), m_y(y) {}
  int PosX() const { return m_x; }
  int PosY() const { return m_y; }
  void SetRasterPos(const int& x, const int& y) {
    m_x = x;
    m_y = y;
  }

 private:
  int m_x = 0;
  int m_y = 0;
};

class CSimLocation {
 public:
  static constexpr int kMaxStops = 3;

  explicit CSimLocation(CSimLocationFactory* factory = nullptr) : m_pFactory(factory) {}
  virtual ~CSimLocation() = default;

  // Stores the size and the location type, takes the cell, forgets the
  // crossing and the district and becomes valid; true.
  bool Create(const CSimRasterPos* position, const SimLocationSizeType& size, const ESimLocationType& type,
              const ESimLocationHeight& height);
  bool IsValid() const { return m_valid != 0; }
  // Does nothing: the factory removes locations; false.
  bool Destroy() { return false; }

  // Copies bytes 0-67 of the record; the two parking words are added to
  // what the location holds.
  void SetPotential(const PotentialType* potential);
  PotentialType* GetPotential() { return &m_Potential; }
  const PotentialType* GetPotential() const { return &m_Potential; }
  const CSimRasterPos& Position() const { return m_Position; }

  int NrOfHomes() const { return m_Potential.Word(24); }
  int NrOfJobs() const { return m_Potential.Word(36); }
  int NrOfParking() const { return m_Potential.Word(40); }
  int NrOfLeisurePoints() const { return m_Potential.Word(44); }
  int NrOfShops() const { return m_Potential.Word(48); }
  int NrOfEducation() const { return m_Potential.Word(60); }
  int NrOfUniversity() const { return m_Potential.Word(64); }
  int NrOfResSpace() const { return m_Potential.locationType == 1 ? m_Potential.height : 0; }
  int NrOfComSpace() const { return m_Potential.locationType == 2 ? m_Potential.height : 0; }
  int NrOfIndSpace() const { return m_Potential.locationType == 3 ? m_Potential.height : 0; }
  // The height word of the record; the map's placement checks compare it.
  virtual int GetHeight() const { return m_Potential.height; }

  // How much of its district's capacity of a kind is used; 0.0 without a
  // district, without own capacity or when the district has none.
  double QuoteHomesUsed() const;
  double QuoteWorkUsed() const;
  double NrOfShoppingUsed() const;
  double QuoteLeisureUsed() const;
  double QuoteSchoolsUsed() const;
  double QuoteParkingUsed() const { return 0.0; }
  // What removing the building costs: more for homes and jobs in use.
  int CalculateRemoveCost() const;
  // 100 units a cell, 1000000 without another location.
  virtual int LocationDistance(const CSimLocation* other) const;

  void SetDistrict(CSimDistrict* district) { m_pDistrict = district; }
  // Throws when the location has no district.
  virtual CSimDistrict* pDistrict() const;
  // The district (1..256), 0 without one.
  virtual short GetDistrictID() const;
  virtual short NearestCrossing() const { return m_NearestCrossing; }
  void SetNearestCrossing(short id) { m_NearestCrossing = id; }
  // Re-attach to the nearest crossing; the best one other than the current.
  virtual void SearchNextCrossing();
  virtual void SearchNextBestCrossing();

  // Stores up to three stops.
  void SetNearestHst(const short* ids, const int* distances, unsigned char count);
  // The stored stop with the smallest distance (the first on ties); 0, 0
  // and false without stops.
  virtual bool GetNearestHst(short& id, int& distance) const;
  int GetHstCount() const { return m_HstCount; }
  virtual void FindNearestHst();

  void SetBuilding(CWorldObj* building) { m_pBuilding = building; }
  CWorldObj* GetBuilding() const { return m_pBuilding; }
  // The building's size along the map axes; 1 without a building.
  int GetXSizeRichtung() const;
  int GetYSizeRichtung() const;
  // 0 when the factory lists the location, 1 otherwise.
  int CheckLocationInFactoryList();

  // The lists that hold the location count their memberships.
  void IncrementListNumber() { ++m_ListNumber; }
  void DecrementListNumber() { --m_ListNumber; }
  int GetListNumber() const { return m_ListNumber; }

 private:
  unsigned char m_valid = 0;
  int m_ListNumber = 0;
  CSimRasterPos m_Position;
  PotentialType m_Potential;
  int m_HstDistance[kMaxStops] = {};
  short m_HstID[kMaxStops] = {};
  unsigned char m_HstCount = 0;
  short m_NearestCrossing = 0;
  CWorldObj* m_pBuilding = nullptr;
  CSimDistrict* m_pDistrict = nullptr;
  CSimLocationFactory* m_pFactory;
};
