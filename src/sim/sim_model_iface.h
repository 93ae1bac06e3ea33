#pragma once
// What the network slots and the trips need of the agent model: districts,
// locations and destinations. The classes of the city model fill these in,
// and tests give small stand-ins.
class CSimLocation;

enum ESimDestination : int {
  SIM_DEST_HOME = 0,
  SIM_DEST_WORK = 1,
  SIM_DEST_EDUCATION = 2,
  SIM_DEST_SHOPPING = 3,
  SIM_DEST_LEISURE = 4,
  SIM_DEST_NONE = 8
};

class CSimDistrict {
 public:
  virtual ~CSimDistrict() = default;
  virtual int Zugangszeit() const = 0;  // access time, seconds
  virtual int Parksuchzeit() const = 0;  // parking search time, seconds
};

class CSimLocation {
 public:
  virtual ~CSimLocation() = default;
  virtual short NearestCrossing() const = 0;
  // The nearest stop and its distance; false without stops.
  virtual bool GetNearestHst(short& id, int& distance) const = 0;
  virtual int LocationDistance(const CSimLocation* other) const = 0;
  // Throws when the location has no district.
  virtual CSimDistrict* pDistrict() const = 0;
  // The height class; the map's placement checks compare it.
  virtual int GetHeight() const { return 0; }
  // The district (1..256), 0 without one.
  virtual short GetDistrictID() const { return 0; }
  // Re-attach to the nearest crossing; find the nearest stops again.
  virtual void SearchNextCrossing() {}
  virtual void FindNearestHst() {}

  // The location lists of the street crossings count their memberships and,
  // when a crossing goes, ask the location for its next best crossing.
  void IncrementListNumber() { ++m_listNumber; }
  void DecrementListNumber() { --m_listNumber; }
  int GetListNumber() const { return m_listNumber; }
  void SearchNextBestCrossing() { SearchNextCrossing(); }

 private:
  int m_listNumber = 0;
};

class CSimDestination {
 public:
  virtual ~CSimDestination() = default;
  virtual CSimLocation* pLocation() const = 0;
  virtual ESimDestination Destination() const = 0;
  virtual unsigned Count() const = 0;
};

class CSimDestinationList {
 public:
  virtual ~CSimDestinationList() = default;
  virtual CSimDestination* FindDestination(ESimDestination kind, unsigned count) const = 0;
};
