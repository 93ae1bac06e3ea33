#include "sim/sim_district.h"

#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"
#include "framework/zor_seams.h"

CSimDistrict::~CSimDistrict() {
  if (m_valid) Destroy();
}

void CSimDistrict::CheckValid(const char* where) const {
  if (!m_valid) throw CSimError::SetError(where, "<IsValid() != true>");
}

bool CSimDistrict::Create(short id, CSimCityModell* model) {
  m_ResSpace = m_IndSpace = m_ComSpace = 0;
  m_Homes = m_Residents = m_Parking = m_Jobs = m_Workers = 0;
  m_SchoolSeats = m_Scholars = m_UniversitySeats = m_Students = 0;
  m_Shops = m_Consumers = m_LeisurePoints = m_Leisurers = m_Others = 0;
  m_Parksuchzeit = kInitialTime;
  m_Zugangszeit = kInitialTime;
  m_BusTrips = m_CarTrips = 0;
  m_ID = id;
  if (!model) return SimSetError(2, "Fehler in CSimDistrict::Create()"), false;
  if (m_valid) Destroy();
  // Not owning: the factory deletes locations; a location dropped with the
  // list looks for its next best crossing.
  m_pLocations = new CLocationListT<CSimLocation>(0, 1);
  if (m_pLocations->Create() != 0) return SimSetError(19, "Fehler in CSimDistrict::Create()"), false;
  if (!CreateAgentList()) return SimSetError(17, "Fehler in CSimDistrict::Create()"), false;
  m_pCityModell = model;
  m_valid = 1;
  return true;
}

bool CSimDistrict::Destroy() {
  CheckValid("CSimDistrict::Destroy()");
  // The locations outlive the district: they forget it.
  m_pLocations->SetupLocationCount(0);
  while (CSimLocation* l = m_pLocations->GetNextLocation()) l->SetDistrict(nullptr);
  delete m_pLocations;
  m_pLocations = nullptr;
  DestroyAgentList();
  m_valid = 0;
  return true;
}

bool CSimDistrict::Offers(const CSimLocation* location, ESimDestination kind) {
  switch (kind) {
    case SIM_DEST_HOME:
      return location->NrOfHomes() > 0;
    case SIM_DEST_WORK:
      return location->NrOfJobs() > 0;
    case SIM_DEST_EDUCATION:
      return location->NrOfEducation() > 0 || location->NrOfUniversity() > 0;
    case SIM_DEST_SHOPPING:
      return location->NrOfShops() > 0;
    case SIM_DEST_LEISURE:
      return location->NrOfLeisurePoints() > 0;
    default:
      return true;
  }
}

void CSimDistrict::CountLocation(const CSimLocation* l, int sign) {
  // Each capacity is a 16-bit word of the location's record.
  auto word = [](int v) { return static_cast<unsigned>(static_cast<unsigned short>(v)); };
  auto apply = [sign](unsigned& counter, unsigned v) { counter = sign > 0 ? counter + v : counter - v; };
  const unsigned res = word(l->NrOfResSpace()), ind = word(l->NrOfIndSpace()), com = word(l->NrOfComSpace());
  const unsigned homes = word(l->NrOfHomes()), jobs = word(l->NrOfJobs()), school = word(l->NrOfEducation());
  const unsigned uni = word(l->NrOfUniversity()), shops = word(l->NrOfShops());
  const unsigned leisure = word(l->NrOfLeisurePoints()), parking = word(l->NrOfParking());
  apply(m_ResSpace, res);
  apply(m_IndSpace, ind);
  apply(m_ComSpace, com);
  apply(m_Homes, homes);
  apply(m_Jobs, jobs);
  apply(m_SchoolSeats, school);
  apply(m_UniversitySeats, uni);
  apply(m_Shops, shops);
  apply(m_LeisurePoints, leisure);
  apply(m_Parking, parking);
  CSimCityModell* c = m_pCityModell;
  if (sign > 0) {
    c->AddHomes(homes), c->AddJobs(jobs), c->AddSchoolSeats(school), c->AddUniversitySeats(uni);
    c->AddShops(shops), c->AddLeisurePoints(leisure), c->AddParking(parking);
    c->AddSpaces(static_cast<int>(res), static_cast<int>(ind), static_cast<int>(com));
  } else {
    c->RemoveHomes(homes), c->RemoveJobs(jobs), c->RemoveSchoolSeats(school), c->RemoveUniversitySeats(uni);
    c->RemoveShops(shops), c->RemoveLeisurePoints(leisure), c->RemoveParking(parking);
    c->AddSpaces(-static_cast<int>(res), -static_cast<int>(ind), -static_cast<int>(com));
  }
}

bool CSimDistrict::AddLocation(CSimLocation* location) {
  CheckValid("CSimDistrict::AddLocation()");
  if (!location) return SimSetError(2, "Fehler in CSimDistrict::AddLocation()"), false;
  if (!m_pLocations) throw CSimError::SetError("CSimDistrict::AddLocation()", "m_pLocations == NULL");
  if (m_pLocations->AddHeadLocation(location) != 0)
    return SimSetError(1, "Fehler in CSimDistrict::AddLocation()"), false;
  location->SetDistrict(this);
  CountLocation(location, 1);
  return true;
}

bool CSimDistrict::RemoveLocation(CSimLocation* location) {
  CheckValid("CSimDistrict::RemoveLocation()");
  if (!location || m_pLocations->RemoveLocation(location) != 0)
    return SimSetError(1, "Fehler in CSimDistrict::RemoveLocation()"), false;
  CountLocation(location, -1);
  NotifyAgentsOfRemoval(location);
  return true;
}

CSimLocation* CSimDistrict::pFindLocation(ESimDestination kind, int) {
  CheckValid("CSimDistrict::pFindLocation()");
  // Only locations that offer the kind are candidates: a shopping trip
  // must not end in a house.
  int count = 0;
  m_pLocations->SetupLocationCount(0);
  while (const CSimLocation* l = m_pLocations->GetNextLocation())
    if (Offers(l, kind)) ++count;
  if (count == 0) return nullptr;
  int r = zor_random() % count;
  m_pLocations->SetupLocationCount(0);
  while (CSimLocation* l = m_pLocations->GetNextLocation()) {
    if (!Offers(l, kind)) continue;
    if (r-- == 0) return l;
  }
  return SimSetError(2, "Fehler in CSimDistrict::Create()"), nullptr;
}

CSimLocation* CSimDistrict::pLocationAt(ESimDestination kind, int x, int y) {
  CheckValid("CSimDistrict::pLocationAt()");
  m_pLocations->SetupLocationCount(0);
  while (CSimLocation* l = m_pLocations->GetNextLocation())
    if (l->Position().PosX() == x && l->Position().PosY() == y && Offers(l, kind)) return l;
  return nullptr;
}

bool CSimDistrict::CheckForEmptyDestination(ESimDestination kind, int persons) const {
  const long long n = persons;
  switch (kind) {
    case SIM_DEST_HOME:
      return static_cast<long long>(m_Homes) - m_Residents >= n;
    case SIM_DEST_WORK:
      return static_cast<long long>(m_Jobs) - m_Workers >= n;
    case SIM_DEST_EDUCATION:
      return static_cast<long long>(m_SchoolSeats) - m_Scholars >= n;
    default:
      return true;
  }
}

CSimLocation* CSimDistrict::GetHeadLocation() const {
  if (!m_pLocations) return nullptr;
  m_pLocations->SetupLocationCount(0);
  return m_pLocations->GetNextLocation();
}

void CSimDistrict::pCopyOfLocationList(CLocationListT<CSimLocation>* target) const {
  CheckValid("CSimDistrict::pCopyOfLocationList()");
  if (target) m_pLocations->Copy(target);
}

int CSimDistrict::NrOfLocations() const { return m_pLocations ? m_pLocations->GetCount() : 0; }

short CSimDistrict::ID() const {
  CheckValid("CSimDistrict::ID()");
  return m_ID;
}

#define ZOR_DISTRICT_READER(name, field)                \
  int CSimDistrict::name() const {                      \
    CheckValid("CSimDistrict::" #name "()");            \
    return static_cast<int>(field);                     \
  }
ZOR_DISTRICT_READER(NrOfHomes, m_Homes)
ZOR_DISTRICT_READER(NrOfResidents, m_Residents)
ZOR_DISTRICT_READER(NrOfJobs, m_Jobs)
ZOR_DISTRICT_READER(NrOfWorkers, m_Workers)
ZOR_DISTRICT_READER(NrOfShops, m_Shops)
ZOR_DISTRICT_READER(NrOfConsumers, m_Consumers)
ZOR_DISTRICT_READER(NrOfLeisurePoints, m_LeisurePoints)
ZOR_DISTRICT_READER(NrOfLeisurers, m_Leisurers)
ZOR_DISTRICT_READER(NrOfSchoolSeats, m_SchoolSeats)
ZOR_DISTRICT_READER(NrOfScholars, m_Scholars)
ZOR_DISTRICT_READER(NrOfParking, m_Parking)
ZOR_DISTRICT_READER(NrOfStudents, m_Students)
ZOR_DISTRICT_READER(NrOfUniversitySeats, m_UniversitySeats)
ZOR_DISTRICT_READER(NrOfOthers, m_Others)
ZOR_DISTRICT_READER(NrOfResSpace, m_ResSpace)
ZOR_DISTRICT_READER(NrOfIndSpace, m_IndSpace)
ZOR_DISTRICT_READER(NrOfComSpace, m_ComSpace)

long CSimDistrict::NrOfPersons() const {
  return static_cast<long>(NrOfResidents()) + NrOfWorkers() + NrOfScholars() + NrOfStudents() + NrOfConsumers() +
         NrOfLeisurers();
}
#undef ZOR_DISTRICT_READER

unsigned* CSimDistrict::PersonCounter(ESimDestination kind) {
  switch (kind) {
    case SIM_DEST_HOME:
      return &m_Residents;
    case SIM_DEST_WORK:
      return &m_Workers;
    case SIM_DEST_EDUCATION:
      return &m_Scholars;
    case SIM_DEST_SHOPPING:
      return &m_Consumers;
    case SIM_DEST_LEISURE:
      return &m_Leisurers;
    case SIM_DEST_OTHER:
      return &m_Others;
    default:
      return nullptr;
  }
}
