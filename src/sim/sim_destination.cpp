#include "sim/sim_destination.h"

#include <cstdint>

#include "framework/zor_record.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"

namespace {
constexpr const char* kNotValid = "<IsValid() != true>";
constexpr const char* kIsValid = "<IsValid() == true>";
}  // namespace

void CSimDestination::CheckValid(const char* place) const {
  if (!m_valid) throw CSimError::SetError(place, kNotValid);
}

void CSimDestination::Create(ESimDestination kind, unsigned count, CSimLocation* location) {
  if (m_valid) throw CSimError::SetError("CSimDestination::Create()", kIsValid);
  if (kind < SIM_DEST_HOME || kind > SIM_DEST_NONE) throw CSimError::SetError("CSimDestination::Create()", "Invalid Destination");
  if (!location) throw CSimErrorNullPtr::SetError("CSimDestination::Create()");
  m_kind = kind;
  m_count = count;
  m_pLocation = location;
  m_pNext = nullptr;
  m_valid = 1;
}

void CSimDestination::Destroy() {
  CheckValid("CSimDestination::Destroy()");
  m_valid = 0;
}

ESimDestination CSimDestination::Destination() const {
  CheckValid("CSimDestination::Destination()");
  return m_kind;
}

unsigned CSimDestination::Count() const {
  CheckValid("CSimDestination::Count()");
  return m_count;
}

CSimDestination* CSimDestination::pNext() const {
  CheckValid("CSimDestination::pNext()");
  return m_pNext;
}

CSimLocation* CSimDestination::pLocation() const {
  CheckValid("CSimDestination::pLocation()");
  if (!m_pLocation) throw CSimErrorNullPtr::SetError("CSimDestination::pLocation()");
  return m_pLocation;
}

void CSimDestination::SetLocation(CSimLocation* location) {
  CheckValid("CSimDestination::SetLocation()");
  if (!location) throw CSimErrorNullPtr::SetError("CSimDestination::SetLocation()");
  m_pLocation = location;
}

void CSimDestination::SetNextPtr(CSimDestination* next) {
  CheckValid("CSimDestination::SetNextPtr");
  if (next && (next->m_kind < SIM_DEST_HOME || next->m_kind > SIM_DEST_NONE))
    throw CSimError::SetError("CSimDestination::SetNextPtr()", "pNext scheint nicht gueltig");
  m_pNext = next;
}

bool CSimDestination::Save(FILE* file) const {
  ZorRecordWriter out(file);
  out.I32(m_kind);
  out.U32(m_count);
  out.I16(m_pLocation ? m_pLocation->GetDistrictID() : 0);
  return out.Ok();
}

CSimDestinationList::~CSimDestinationList() {
  if (!m_valid) return;
  CSimError::PrintError(CSimError::SetError("CSimDestinationList::CSimDestinationList~()", kIsValid));
  Destroy();
}

void CSimDestinationList::CheckValid(const char* place) const {
  if (!m_valid) throw CSimError::SetError(place, kNotValid);
}

void CSimDestinationList::Create() {
  if (m_valid) throw CSimError::SetError("CSimDestinationList::Create()", kIsValid);
  m_pFirst = m_pIterator = nullptr;
  m_valid = 1;
}

void CSimDestinationList::Destroy() {
  CheckValid("CSimDestinationList::Destroy()");
  for (CSimDestination* d = m_pFirst; d;) {
    CSimDestination* next = d->m_pNext;
    if (d->IsValid()) d->Destroy();
    delete d;
    d = next;
  }
  m_pFirst = m_pIterator = nullptr;
  m_valid = 0;
}

void CSimDestinationList::ResetIterator() {
  CheckValid("CSimDestinationList::ResetIterator()");
  m_pIterator = nullptr;
}

CSimDestination* CSimDestinationList::pNextDestination() {
  CheckValid("CSimDestinationList::pNextDestination()");
  CSimDestination* next = m_pIterator ? m_pIterator->m_pNext : m_pFirst;
  if (next) m_pIterator = next;
  return next;
}

void CSimDestinationList::Insert(CSimDestination* destination) {
  CheckValid("CSimDestinationList::Insert()");
  if (!destination) throw CSimErrorNullPtr::SetError("CSimDestinationList::Insert()");
  if (FindDestination(destination->Destination(), destination->Count()))
    throw CSimError::SetError("CSimDestinationList::Insert()", "<No destination found>");
  destination->SetNextPtr(m_pFirst);
  m_pFirst = destination;
}

CSimDestination* CSimDestinationList::Remove(ESimDestination kind, unsigned count) {
  CheckValid("CSimDestinationList::Remove()");
  CSimDestination* prev = nullptr;
  for (CSimDestination* d = m_pFirst; d; prev = d, d = d->m_pNext) {
    if (d->m_kind != kind || d->m_count != count) continue;
    (prev ? prev->m_pNext : m_pFirst) = d->m_pNext;
    if (m_pIterator == d) m_pIterator = nullptr;
    d->m_pNext = nullptr;
    return d;
  }
  return nullptr;
}

CSimDestination* CSimDestinationList::FindDestination(ESimDestination kind, unsigned count) const {
  CheckValid("CSimDestinationList::FindDestination()");
  for (CSimDestination* d = m_pFirst; d; d = d->m_pNext)
    if (d->m_kind == kind && d->m_count == count) return d;
  return nullptr;
}

int CSimDestinationList::NrOfDestinations() const {
  int n = 0;
  for (CSimDestination* d = m_pFirst; d; d = d->m_pNext) ++n;
  return n;
}

bool CSimDestinationList::Save(FILE* file) const {
  ZorRecordWriter out(file);
  out.I32(NrOfDestinations());
  bool ok = out.Ok();
  for (CSimDestination* d = m_pFirst; d && ok; d = d->m_pNext) ok = d->Save(file);
  return ok;
}
