#include "network/street_objects.h"

#include <cstring>

#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "network/str_strasse.h"
#include "worldbase/zor_world_host.h"

namespace {

constexpr const char* kNoStreet = "m_pStreetList im CStreetObject nicht vorhanden";

bool Is(const char* name, const char* key) { return name && std::strcmp(name, key) == 0; }

}  // namespace

CStreetObj::Selection CStreetObj::m_Selection;

// ------------------------------------------------------------------ CRoadObj

int CRoadObj::GetAuslastungSecond(int* flow, int* capacity) {
  if (flow) *flow = 0;
  if (capacity) *capacity = 0;
  return 0;
}

void CRoadObj::SetVisible(bool visible, unsigned short x, unsigned short y) {
  CWorldObj::SetVisible(visible, x, y);
  if (CQnoMicroZelle* cells = GetMicroZelle(x, y)) cells->SetVisible(visible);
}

bool CRoadObj::IsVisible(unsigned short x, unsigned short y) {
  const bool visible = CWorldObj::IsVisible(x, y);
  CQnoMicroZelle* cells = GetMicroZelle(x, y);
  return cells ? visible && cells->IsVisible() : visible;
}

int CRoadObj::Destroy() { return CWorldObj::Destroy(); }

bool CRoadObj::HasCellTurn() const { return g_ZoomStufe != ISO_ZOOM_4; }

// ---------------------------------------------------------------- CStreetObj

int CStreetObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_STREET_PIECE;
  return 0;
}

int CStreetObj::Destroy() {
  m_pStreetList = nullptr;
  return CRoadObj::Destroy();
}

int CStreetObj::OnPlayloopTurn(unsigned short x, unsigned short y) {
  if (m_pStreetList) m_pStreetList->OnPlayloopTurn(static_cast<short>(x), static_cast<short>(y));
  return CWorldObj::OnPlayloopTurn(x, y);
}

void CStreetObj::PrefetchTurn(unsigned short x, unsigned short y, int stage) const {
  if (m_pStreetList) m_pStreetList->PrefetchTurn(static_cast<short>(x), static_cast<short>(y), stage);
}

int CStreetObj::Render(QnoDisplay* display, unsigned short x, unsigned short y, int, int, TIsoZoomStufe zoom) {
  if (!m_pStreetList) return 1;
  return m_pStreetList->Render(display, x, y, zoom);
}

int CStreetObj::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  return m_pStreetList ? m_pStreetList->UpdateScreenPos(sx, sy, x, y) : 1;
}

int CStreetObj::TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) {
  return m_pStreetList ? m_pStreetList->TurnMicroSim(x, y, sx, sy, resId) : 1;
}

int CStreetObj::GetAuslastung(int* flow, int* capacity) {
  if (!m_pStreetList) {
    QNO_ERROR(QNO_SEV_FATAL, kNoStreet);
    return 1;
  }
  if (flow) *flow = m_pStreetList->GetAuslastung();
  m_MaxAuslastung = m_pStreetList->GetCapacity();
  if (capacity) *capacity = m_MaxAuslastung;
  return 0;
}

int CStreetObj::GetAuslastungSecond(int* flow, int* capacity) {
  if (!m_pStreetList) {
    QNO_ERROR(QNO_SEV_FATAL, kNoStreet);
    return 1;
  }
  if (flow) *flow = m_pStreetList->GetAuslastungSecond();
  m_MaxAuslastungSecond = m_pStreetList->GetCapacitySecond();
  if (capacity) *capacity = m_MaxAuslastungSecond;
  return 0;
}

int CStreetObj::GetAuslastung24(short& value) {
  if (!m_pStreetList) {
    QNO_ERROR(QNO_SEV_FATAL, kNoStreet);
    return 1;
  }
  value = m_pStreetList->GetAuslastung24();
  return 0;
}

int CStreetObj::GetAuslastung24Second(short& value) {
  if (!m_pStreetList) {
    QNO_ERROR(QNO_SEV_FATAL, kNoStreet);
    return 1;
  }
  value = m_pStreetList->GetAuslastung24Second();
  return 0;
}

int CStreetObj::GetSimID() { return m_pStreetList ? m_pStreetList->GetSimID() : -1; }
int CStreetObj::GetSimIDSecond() { return m_pStreetList ? m_pStreetList->GetSimIDSecond() : -1; }

CQnoMicroZelle* CStreetObj::GetMicroZelle(unsigned short x, unsigned short y) {
  return m_pStreetList ? m_pStreetList->GetMicroZellen(x, y) : nullptr;
}

int CStreetObj::GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy) {
  if (!m_pStreetList) {
    dx = dy = 0;
    return 1;
  }
  return m_pStreetList->GetStreetDirectionAt(x, y, dx, dy);
}

int CStreetObj::GetStreetType() const { return m_pStreetList ? m_pStreetList->GetStreetType().GetValue() : 0; }

int CStreetObj::SetStreetType(CStrassenType type) { return m_pStreetList ? m_pStreetList->SetType(type) : 1; }

int CStreetObj::CalculateLengthFromJunctionToXYIso(CStrJunction* junction, short simId, int x, int y, int* length) {
  return m_pStreetList ? m_pStreetList->CalculateLengthFromJunctionToXYIso(junction, simId, x, y, length) : 1;
}

bool CStreetObj::HasBusSpur() const { return m_pStreetList && m_pStreetList->HasBusSpur(); }
bool CStreetObj::HasVLS() const { return m_pStreetList && m_pStreetList->HasVLS(); }
bool CStreetObj::SetVLS(bool on) { return m_pStreetList && m_pStreetList->SetVLS(on, true); }

int CStreetObj::SetBusSpur(bool on) {
  if (!m_pStreetList || m_pStreetList->GetStreetType() != STRASSE_VIERSPURIG) return 1;
  if (on && !m_pStreetList->HasBusSpur()) {
    m_pStreetList->CreateBusSpur();
    m_pStreetList->SetCapacity(1200);
  } else if (!on && m_pStreetList->HasBusSpur()) {
    m_pStreetList->DeleteBusSpur();
    m_pStreetList->SetCapacity(2400);
  }
  return 0;
}

int CStreetObj::GetVarData(const char* name, double* value) {
  if (!value) return 1;
  if (Is(name, "ST.TYPE")) {
    const int type = GetStreetType();
    if (type < 1 || type > 3) return 1;
    *value = type;
    return 0;
  }
  if (Is(name, "ST.SPEED")) {
    const int v = m_pStreetList ? static_cast<int>(m_pStreetList->GetStoredVelocity()) : 0;
    *value = v < 3 ? 4 : (v < 9 ? 1 : (v < 14.9 ? 2 : 3));
    return 0;
  }
  if (Is(name, "ST.BUSSPUR")) {
    *value = HasBusSpur() ? 1 : 0;
    return 0;
  }
  if (Is(name, "ST.VLS")) {
    *value = HasVLS() ? 1 : 0;
    return 0;
  }
  if (Is(name, "ST.FLOW.1") || Is(name, "ST.FLOW.2")) {
    int flow = 0, capacity = 0;
    if (name[8] == '1')
      GetAuslastung(&flow, &capacity);
    else
      GetAuslastungSecond(&flow, &capacity);
    *value = flow;
    return 0;
  }
  if (Is(name, "ST.CAPACITY")) {
    *value = m_pStreetList ? m_pStreetList->GetCapacity() : 0;
    return 0;
  }
  if (Is(name, "ST.RICHTUNG")) {
    if (!m_Selection.known && m_pStreetList) {
      unsigned char found = 0;
      int first = 0;
      bool bend = false;
      int d = m_pStreetList->GetRichtung(m_Selection.x, m_Selection.y, found, first, bend);
      if (d == 1)
        d = 3;
      else if (d == 3)
        d = 1;
      m_Selection.richtung = d;
      m_Selection.known = true;
    }
    *value = (m_Selection.richtung + g_IsoRichtung) % 4;
    return 0;
  }
  return CWorldObj::GetVarData(name, value);
}

int CStreetObj::SetVarData(const char* name, double value) {
  if (Is(name, "ST.TYPE")) {
    const int v = static_cast<int>(value);
    TStrassenType type = STRASSE_1;
    short capacity = 1;
    if (v == 1) {
      capacity = 600;
    } else if (v == 2) {
      type = STRASSE_2;
      capacity = 1200;
    } else if (v == 3) {
      type = STRASSE_VIERSPURIG;
      capacity = 2400;
    }
    if (!m_pStreetList) return 1;
    m_pStreetList->SetCapacity(capacity);
    return m_pStreetList->SetType(type);
  }
  if (Is(name, "ST.SPEED")) {
    const int v = static_cast<int>(value);
    const double speed = v == 1 ? 8.0 : (v == 2 ? 13.0 : (v == 3 ? 17.0 : (v == 4 ? 2.0 : 0.0)));
    if (m_pStreetList) m_pStreetList->SetVelocity(speed);
    return 0;
  }
  if (Is(name, "ST.BUSSPUR")) {
    SetBusSpur(value != 0);
    return 0;
  }
  if (Is(name, "ST.VLS")) {
    if (value != 0) {
      if (!m_pStreetList || !m_pStreetList->SetVLS(true, true)) CWorldHost::Get()->SetAchtungWindow(29);
    } else if (m_pStreetList) {
      m_pStreetList->SetVLS(false, true);
    }
    return 0;
  }
  return CWorldObj::SetVarData(name, value);
}

// ----------------------------------------------------------- CStreetObjGroup

void CStreetObjGroup::SetData(void* p) {
  auto* data = static_cast<GroupData*>(p);
  m_pStreetList = data ? data->street : nullptr;
  m_GroupResID = data ? data->resId : 0;
}

int CStreetObjGroup::OnPlayloopTurn(unsigned short x, unsigned short y) { return CWorldObj::OnPlayloopTurn(x, y); }

int CStreetObjGroup::OnStartOfCycle(unsigned short, unsigned short) {
  m_Active = 1;
  return m_pStreetList ? m_pStreetList->UpdateCarFlow() : 1;
}

// ------------------------------------------------------------------ CRailObj

int CRailObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RAIL_PIECE;
  return 0;
}
