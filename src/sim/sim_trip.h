#pragma once
// One movement of an agent in one hour, with the route data the network
// gave it. The hour's trips form a singly linked list owned by the slot
// that computes the hour.
#include <cstdio>

#include "sim/sim_model_iface.h"

enum ESimTransportationMode : int { SIM_MODE_WALK = 0, SIM_MODE_BUS = 1, SIM_MODE_CAR = 3, SIM_MODE_NONE = 5 };

class CSimTrip {
 public:
  static constexpr int kRecordSize = 44;

  CSimTrip() = default;

  // Errors are thrown as the texts of CSimError.
  bool Create(CSimDestination* from, CSimDestination* to, unsigned size);
  bool Create(const CSimTrip* other);
  bool Destroy();
  void Reset();
  bool IsValid() const { return m_valid != 0; }

  void SetNextPtr(CSimTrip* next) { m_next = next; }
  CSimTrip* pNext() const { return m_next; }
  CSimDestination* pFromDestination() const { return m_fromDest; }
  CSimDestination* pToDestination() const { return m_toDest; }

  unsigned Size() const { return m_size; }
  void SetSize(unsigned size) { m_size = size; }
  ESimTransportationMode TransportationMode() const { return m_mode; }
  void SetTransportationMode(ESimTransportationMode mode) { m_mode = mode; }

  int Fahrzeit() const { return m_driving; }
  void SetFahrzeit(int s) { m_driving = s; }
  int Zugangszeit() const { return m_access; }
  void SetZugangszeit(int s) { m_access = s; }
  int Umsteigezeit() const { return m_transfer; }
  void SetUmsteigezeit(int s) { m_transfer = s; }
  int Parksuchzeit() const { return m_parking; }
  void SetParksuchzeit(int s) { m_parking = s; }
  int Streckenlaenge() const { return m_length; }
  void SetStreckenlaenge(int m) { m_length = m; }
  bool TripValid() const { return m_tripValid != 0; }
  void SetTripValid(bool v) { m_tripValid = v ? 1 : 0; }

  // Reading an id clears the matching "mapped" flag.
  short FromCrossing();
  short ToCrossing();
  short FromBusStop();
  short ToBusStop();
  bool CrossingsMapped() const { return m_crossingsMapped != 0; }
  bool StopsMapped() const { return m_stopsMapped != 0; }
  bool WalkDistanceMapped() const { return m_walkMapped != 0; }
  int FromStopDistance() const { return m_fromStopDist; }
  int ToStopDistance() const { return m_toStopDist; }
  int WalkDistance() const { return m_walkDistance; }
  // For the city model's stand-ins and tests that place trips directly.
  void SetCrossings(short from, short to) {
    m_fromCrossing = from;
    m_toCrossing = to;
  }
  void SetBusStops(short from, short to) {
    m_fromStop = from;
    m_toStop = to;
  }

  // The ids as they stand, without touching the "mapped" flags.
  void Ids(short& fromCrossing, short& toCrossing, short& fromStop, short& toStop) const {
    fromCrossing = m_fromCrossing;
    toCrossing = m_toCrossing;
    fromStop = m_fromStop;
    toStop = m_toStop;
  }

  int Reisezeit() const;

  bool MapDestinationsToCrossings();
  bool MapDestinationsToBusStops();
  bool MapDestinationsToWalkDistance();

  // The 44-byte record and its three versioned parts: 20 bytes of
  // destinations and size, 20 of statistics (from version 120) and the mode
  // (from version 130).
  bool Save(FILE* file) const;
  bool Load(FILE* file, const CSimDestinationList* list);
  bool LoadStatistikData(FILE* file);
  bool LoadTransportationMode(FILE* file);

 private:
  unsigned char m_valid = 0;
  unsigned char m_crossingsMapped = 0;
  int m_driving = 0;
  int m_access = 0;
  int m_transfer = 0;
  int m_parking = 0;
  int m_length = 0;
  unsigned m_size = 1;
  ESimTransportationMode m_mode = SIM_MODE_WALK;
  unsigned char m_stopsMapped = 0;
  unsigned char m_walkMapped = 0;
  CSimTrip* m_next = nullptr;
  short m_fromCrossing = 0;
  short m_toCrossing = 0;
  short m_fromStop = 0;
  int m_fromStopDist = 0;
  short m_toStop = 0;
  int m_toStopDist = 0;
  int m_walkDistance = 0;
  CSimDestination* m_fromDest = nullptr;
  CSimDestination* m_toDest = nullptr;
  unsigned char m_tripValid = 0;
};
