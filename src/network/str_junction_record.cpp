// The junction's savegame record and the records of the streets that start
// at it.
#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_geometry.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"

namespace {

bool IsStreetType(int32_t t) {
  return t == STRASSE_1 || t == STRASSE_2 || t == STRASSE_EINBAHN || t == STRASSE_VIERSPURIG || t == STRASSE_SCHIENE;
}

// The highest control kind a crossing offers (lights with their own phases).
constexpr int32_t kMaxAmpelType = 9;

}  // namespace

int CStrJunction::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.I32(m_Type.GetValue());
  out.U16(m_SimCrossingID);
  out.U16(m_x);
  out.U16(m_y);
  out.U8(m_AnzLinkedStreets);
  if (HasControlField()) out.I32(m_AmpelType);
  if (!out.Ok()) return 1;
  // The crossing's settings follow; a junction without crossing object
  // writes the settings a new one starts with.
  if (m_pKreuzObj) return m_pKreuzObj->SerializeGameStore(file);
  CKreuzObj fresh;
  return fresh.SerializeGameStore(file);
}

int CStrJunction::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const int32_t type = in.I32();
  const uint16_t id = in.U16();
  const uint16_t x = in.U16();
  const uint16_t y = in.U16();
  const uint8_t count = in.U8();
  int32_t ampel = HasControlField() ? in.I32() : 0;
  if (!in.Ok()) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: record cut short");
    return 1;
  }
  if (!IsStreetType(type) || !IsoInMap(x, y) || count > kMaxStreets || ampel < 0 || ampel > kMaxAmpelType) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: impossible record at %d/%d (type %d, %d streets, control %d)", x, y,
              type, count, ampel);
    return 1;
  }
  CKreuzObj settings;
  if (settings.SerializeGameLoad(file) != 0) return 1;
  // Without a control field of its own the junction has its crossing's.
  if (!HasControlField()) ampel = settings.GetAmpelType();
  if (settings.GetAmpelType() != ampel) {
    QNO_ERROR(QNO_SEV_WARNING, "CStrJunction: control %d at %d/%d disagrees with its crossing's %d", ampel, x, y,
              settings.GetAmpelType());
    return 1;
  }
  if (id == 0 && GetZorvaObjectType() == OBJ_CROSSING) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: junction at %d/%d without crossing id", x, y);
    return 1;
  }
  m_Type = static_cast<TStrassenType>(type);
  m_x = x;
  m_y = y;
  m_AmpelType = static_cast<EAmpelType>(ampel);
  m_StoredStreets = count;
  m_AnzLinkedStreets = 0;
  if (Create() != 0) return 1;
  if (m_pKreuzObj) m_pKreuzObj->TakeSettings(settings);
  if (GetZorvaObjectType() == OBJ_CROSSING) {
    const int registered = m_pSimWelt ? m_pSimWelt->AddCrossing(static_cast<short>(id)) : 0;
    if (registered != id) {
      QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: crossing id %d at %d/%d refused by the demand model", id, x, y);
      return 1;
    }
  }
  m_SimCrossingID = id;
  m_SimHashID = id;
  return 0;
}

int CStrJunction::SaveStreets(FILE* file) {
  CStrStrasse* own[kMaxStreets] = {};
  int n = 0;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    CStrStrasse* s = m_pStreets[i];
    if (s->GetStartJunction() != this) continue;
    bool seen = false;
    for (int k = 0; k < n; ++k) seen = seen || own[k] == s;
    if (!seen) own[n++] = s;
  }
  ZorRecordWriter out(file);
  out.U8(static_cast<uint8_t>(n));
  if (!out.Ok()) return 1;
  for (int k = 0; k < n; ++k)
    if (own[k]->SerializeGameStore(file) != 0) return 1;
  return 0;
}

int CStrJunction::LoadStreets(FILE* file) {
  ZorRecordReader in(file);
  const uint8_t n = in.U8();
  if (!in.Ok()) return 1;
  if (n > kMaxStreets) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: %d streets start at %d/%d", n, m_x, m_y);
    return 1;
  }
  for (int k = 0; k < n; ++k) {
    CStrStrasse* s = CreateNewStreet();
    s->Create();
    const int r = s->SerializeGameLoad(file);
    CStrJunction* end = s->GetEndJunction();
    const bool ok =
        r == 0 && s->GetStartJunction() == this && end && end->HasStreet(s) && m_AnzLinkedStreets < kMaxStreets;
    if (!ok) {
      if (r == 0)
        QNO_ERROR(QNO_SEV_ERROR, "CStrJunction: street %d at %d/%d does not fit its junctions", s->GetSimID(), m_x,
                  m_y);
      // A street that its end junction took already leaves it again.
      if (end) end->UnLinkStreet(s);
      s->RemoveFromIsoWelt(false);
      s->RemoveFromSimWelt();
      DestroyStreetObject(s);
      return 1;
    }
    m_pStreets[m_AnzLinkedStreets++] = s;
  }
  return 0;
}
