#pragma once
// The places an agent goes to: a kind (home, work, education, shopping,
// leisure), a count that tells apart several places of one kind, and the
// building. An agent's destinations form a list in which (kind, count) is
// unique; each destination also links the agent to its building's district.
#include <cstdio>

#include "sim/sim_model_iface.h"

class CSimAgent;
class CSimCityModell;
class CSimLocation;

class CSimDestination {
 public:
  // The destination record: i32 kind, u32 count, i16 district id.
  static constexpr int kRecordSize = 10;

  CSimDestination() = default;
  CSimDestination(const CSimDestination&) = delete;
  CSimDestination& operator=(const CSimDestination&) = delete;

  // Kinds 0 to 8 are accepted. Errors are thrown as CSimError texts.
  void Create(ESimDestination kind, unsigned count, CSimLocation* location);
  void Destroy();
  bool IsValid() const { return m_valid != 0; }

  ESimDestination Destination() const;
  unsigned Count() const;
  CSimDestination* pNext() const;
  // Throws when the destination has no location.
  CSimLocation* pLocation() const;
  bool HasLocation() const { return m_pLocation != nullptr; }
  void SetLocation(CSimLocation* location);
  // Null ends the list; a successor of an unknown kind is refused.
  void SetNextPtr(CSimDestination* next);

  bool Save(FILE* file) const;
  // Re-attaches the destination to a location of the district it was saved
  // in (or, without one, to a location the city chooses) and links the agent
  // there; throws a CSimError text when that fails or the record is short.
  void Load(FILE* file, CSimCityModell* model, CSimAgent* agent);

 private:
  friend class CSimDestinationList;
  void CheckValid(const char* place) const;

  unsigned char m_valid = 0;
  ESimDestination m_kind = SIM_DEST_NONE;
  unsigned m_count = 0;
  CSimLocation* m_pLocation = nullptr;
  CSimDestination* m_pNext = nullptr;
};

class CSimDestinationList {
 public:
  // More destinations than this in a record mark the record as broken.
  static constexpr int kMaxRecordEntries = 100;

  CSimDestinationList() = default;
  // A list that is still valid is destroyed (and the fault logged).
  ~CSimDestinationList();
  CSimDestinationList(const CSimDestinationList&) = delete;
  CSimDestinationList& operator=(const CSimDestinationList&) = delete;

  void Create();
  // Destroys and deletes every destination.
  void Destroy();
  bool IsValid() const { return m_valid != 0; }

  void ResetIterator();
  // The first destination after a reset, then each successor; null at the
  // end, where the walk stays.
  CSimDestination* pNextDestination();
  // Puts the destination in front; refuses a (kind, count) already held.
  void Insert(CSimDestination* destination);
  // The same at the end of the list (a loaded list keeps its saved order).
  void Append(CSimDestination* destination);
  // Takes the first destination of that kind and count out of the list
  // (without destroying it); null when there is none.
  CSimDestination* Remove(ESimDestination kind, unsigned count);
  CSimDestination* FindDestination(ESimDestination kind, unsigned count) const;
  CSimDestination* pFirst() const { return m_pFirst; }
  int NrOfDestinations() const;

  // i32 n, then n destination records from the first on.
  bool Save(FILE* file) const;
  // Destinations that cannot be placed again are logged and left out; a
  // count above kMaxRecordEntries or below 0 throws before any is read. The
  // list keeps the saved order, so that a game goes on after a load as it
  // would have gone on without one.
  void Load(FILE* file, CSimCityModell* model, CSimAgent* agent);

 private:
  void CheckValid(const char* place) const;

  unsigned char m_valid = 0;
  CSimDestination* m_pFirst = nullptr;
  CSimDestination* m_pIterator = nullptr;
};
