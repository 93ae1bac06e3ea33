// A street in the demand model: its directions added and taken out again,
// and its savegame record, which adds them again under their saved ids.
#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"

// ------------------------------------------------------ demand simulation

int CStrStrasse::InsertIntoSimWelt() {
  if (!m_pSimWelt || !m_pStartJunction || !m_pEndJunction) return 1;
  // The street's own capacity and speed, kept while it was out of the
  // demand model, or its type's.
  const short capacity = m_Capacity > 0 ? m_Capacity : DefaultCapacity();
  const short capacitySecond = m_CapacitySecond > 0 ? m_CapacitySecond : DefaultCapacity();
  const auto from = static_cast<short>(m_pStartJunction->GetSimID());
  const auto to = static_cast<short>(m_pEndJunction->GetSimID());
  const TSimDirection fromDir = CalcSimDirection(true);
  const TSimDirection toDir = CalcSimDirection(false);
  CalcLaenge();
  m_SimID = static_cast<int16_t>(m_pSimWelt->AddStreet(from, fromDir, to, toDir, m_Laenge, 0));
  if (m_SimID == 0) {
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", GetStartPosX(), GetStartPosY(),
              GetEndPosX(), GetEndPosY());
    return 1;
  }
  m_pSimWelt->SetStreetCapacity(m_SimID, capacity);
  if (m_Velocity > 0) m_pSimWelt->SetStreetVelocity(m_SimID, m_Velocity);
  if (m_Type == STRASSE_EINBAHN) {
    ApplyTownLimit();
    return 0;
  }
  m_SimIDSecond = static_cast<int16_t>(m_pSimWelt->AddStreet(to, toDir, from, fromDir, m_Laenge, 0));
  if (m_SimIDSecond == 0) {
    // Half a street is no street: the forward direction goes again.
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", GetEndPosX(), GetEndPosY(),
              GetStartPosX(), GetStartPosY());
    m_pSimWelt->RemoveStreet(m_SimID);
    m_SimID = 0;
    return 1;
  }
  m_pSimWelt->SetStreetCapacity(m_SimIDSecond, capacitySecond);
  if (m_VelocitySecond > 0) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, m_VelocitySecond);
  // A street built while the town has a limit runs at it too.
  ApplyTownLimit();
  return 0;
}

int CStrStrasse::RemoveFromSimWelt() {
  if (!m_pSimWelt) return 1;
  KeepSimAttributes();
  int result = 0;
  if (m_SimID == 0 || !m_pSimWelt->RemoveStreet(m_SimID)) result = 1;
  m_SimID = 0;
  // A backward direction goes whatever the type says now: a street turned
  // one-way still holds the id it was registered with.
  if (m_SimIDSecond != 0) {
    if (!m_pSimWelt->RemoveStreet(m_SimIDSecond)) result = 1;
  } else if (m_Type != STRASSE_EINBAHN) {
    result = 1;
  }
  m_SimIDSecond = 0;
  return result;
}

short CStrStrasse::AddToSim(CStrJunction* from, int fromDir, CStrJunction* to, int toDir, short id) {
  if (!m_pSimWelt || id == 0) return 0;
  const short got = static_cast<short>(m_pSimWelt->AddStreet(static_cast<short>(from->GetSimID()), fromDir,
                                                            static_cast<short>(to->GetSimID()), toDir, m_Laenge, id));
  if (got != id)
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", from->GetXPos(), from->GetYPos(),
              to->GetXPos(), to->GetYPos());
  return got;
}

// ---------------------------------------------------------------- savegame

int CStrStrasse::SerializeGameStore(FILE* file) {
  GetVelocity();
  ZorRecordWriter out(file);
  out.I16(m_Auslastung);
  out.I16(m_AuslastungSecond);
  out.I16(m_Capacity);
  out.I16(m_CapacitySecond);
  out.I32(m_Laenge);
  out.I16(m_SimID);
  out.I16(m_SimIDSecond);
  out.I32(m_Type.GetValue());
  out.U8(m_BusSpur);
  out.U8(m_VLS);
  for (int h = 0; h < kHours; ++h) {
    out.I16(m_Auslastung24[h]);
    out.I16(m_Auslastung24Second[h]);
  }
  // The street's own speeds: the council puts its town limit over them
  // again when its record is read.
  const bool limited = m_VelocityBeforeLimit > 0.0;
  out.F64(limited ? m_VelocityBeforeLimit : m_Velocity);
  out.F64(limited ? m_VelocityBeforeLimit : m_VelocitySecond);
  out.U16(m_pStartJunction ? m_pStartJunction->GetSimID() : 0);
  out.U16(m_pEndJunction ? m_pEndJunction->GetSimID() : 0);
  if (!out.Ok()) return 1;
  return CList::SerializeGameStore(file);
}

int CStrStrasse::SerializeGameLoad(FILE* file) {
  // A street is read once, into an empty street.
  if (GetNumber() != 0 || m_pStartJunction || m_pEndJunction) return 1;
  struct LoadFlag {
    LoadFlag() { m_InLoadFile = 1; }
    ~LoadFlag() { m_InLoadFile = 0; }
  } flag;
  ZorRecordReader in(file);
  m_Auslastung = in.I16();
  m_AuslastungSecond = in.I16();
  m_Capacity = in.I16();
  m_CapacitySecond = in.I16();
  m_Laenge = in.I32();
  const int16_t simId = in.I16();
  const int16_t simIdSecond = in.I16();
  const int32_t type = in.I32();
  m_BusSpur = in.U8();
  m_VLS = in.U8();
  for (int h = 0; h < kHours; ++h) {
    m_Auslastung24[h] = in.I16();
    m_Auslastung24Second[h] = in.I16();
  }
  m_Velocity = in.F64();
  m_VelocitySecond = in.F64();
  m_VelocityBeforeLimit = 0.0;
  const uint16_t startId = in.U16();
  const uint16_t endId = in.U16();
  if (!in.Ok()) return 1;
  if (type < STRASSE_1 || (type > STRASSE_VIERSPURIG && type != STRASSE_SCHIENE) || m_BusSpur > 1 || m_VLS > 1) {
    QNO_ERROR(QNO_SEV_ERROR, "Street record with type %d refused", type);
    return 1;
  }
  m_Type = static_cast<TStrassenType>(type);
  CStrJunction* start = nullptr;
  CStrJunction* end = nullptr;
  if (LoadJunctions(startId, endId, &start, &end) != 0) return 1;
  SetElementType(PieceType());
  if (CList::SerializeGameLoad(file) != 0 || GetNumber() == 0) {
    CList::Destroy();
    return 1;
  }
  m_pStartJunction = start;
  m_pEndJunction = end;
  if (end->LinkStreet(this) != 0) {
    m_pStartJunction = m_pEndJunction = nullptr;
    CList::Destroy();
    return 1;
  }
  InsertIntoIsoWelt();
  return RegisterLoaded(simId, simIdSecond);
}

int CStrStrasse::LoadJunctions(uint16_t startId, uint16_t endId, CStrJunction** start, CStrJunction** end) {
  CStrJunctionList* net = CStrJunction::m_pStreetNet;
  *start = net ? net->GetJunctionByID(startId) : nullptr;
  *end = net ? net->GetJunctionByID(endId) : nullptr;
  if (*start && *end) return 0;
  QNO_ERROR(QNO_SEV_ERROR, "Street record names crossings %d and %d, not both in the network", startId, endId);
  return 1;
}

CStrStrasse* CStrStrasse::NewSibling() { return new CStrStrasse(m_pIsoWelt, m_pSimWelt); }

const QnoObjectType* CStrStrasse::PieceType() const { return CStrStrassenTeil::m_pClassType; }

int CStrStrasse::RegisterLoaded(int16_t simId, int16_t simIdSecond) {
  CStrJunction* start = m_pStartJunction;
  CStrJunction* end = m_pEndJunction;
  m_SimID = AddToSim(start, CalcSimDirection(true), end, CalcSimDirection(false), simId);
  if (m_SimID && m_pSimWelt) m_pSimWelt->SetStreetCapacity(m_SimID, m_Capacity > 0 ? m_Capacity : DefaultCapacity());
  if (m_Type != STRASSE_EINBAHN) {
    m_SimIDSecond = AddToSim(end, CalcSimDirection(false), start, CalcSimDirection(true), simIdSecond);
    if (m_SimIDSecond && m_pSimWelt)
      m_pSimWelt->SetStreetCapacity(m_SimIDSecond, m_CapacitySecond > 0 ? m_CapacitySecond : DefaultCapacity());
  }
  if (m_pSimWelt) {
    if (m_SimID) m_pSimWelt->SetStreetVelocity(m_SimID, m_Velocity);
    if (m_SimIDSecond) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, m_VelocitySecond);
  }
  return 0;
}
