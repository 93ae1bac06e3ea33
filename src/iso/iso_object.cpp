#include "iso/iso_object.h"

#include "iso/iso_info.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"

QnoResourceManager* CIsoObject::m_pResources = nullptr;
CIsoWelt* CIsoObjGroup::m_pIsoWelt = nullptr;

// ---- CIsoObject ----------------------------------------------------------------

int CIsoObject::Create(int resId, TIsoRichtung dir) {
  m_ResID = resId;
  m_Richtung = dir;
  return 0;
}

int CIsoObject::Create(int resId, TIsoRichtung dir, CWorldObj*, unsigned short, unsigned short) {
  return Create(resId, dir);
}

int CIsoObject::GetZValue(TIsoZoomStufe, TIsoRichtung rot, int layer) const {
  const CIsoTile* tile = CIsoTile::Get(m_pResources, m_ResID);
  if (!tile || layer < 0 || layer > tile->GetHighestLayer()) return 0;
  return tile->GetZValue(IsoZoomIndex(), (rot + m_Richtung) & 3, layer);
}

int CIsoObject::GetFristLayer(TIsoZoomStufe, TIsoRichtung) {
  m_LayerCursor = 0;
  return CIsoTile::Get(m_pResources, m_ResID) ? 0 : -1;
}

int CIsoObject::GetNextLayer(TIsoZoomStufe, TIsoRichtung) {
  const CIsoTile* tile = CIsoTile::Get(m_pResources, m_ResID);
  if (!tile || m_LayerCursor >= tile->GetHighestLayer()) return -1;
  return ++m_LayerCursor;
}

// ---- CIsoObjLst ----------------------------------------------------------------

CIsoObjLst::CIsoObjLst() { CList::Create(false, 0); }

CIsoObjLst::~CIsoObjLst() { Destroy(); }

CIsoObject* CIsoObjLst::Create(int resId, TIsoRichtung dir) {
  auto* o = new CIsoObject;
  o->Create(resId, dir);
  AddHead(o, 0);
  return o;
}

CIsoObject* CIsoObjLst::Create(int resId, TIsoRichtung dir, CWorldObj* obj, unsigned short x, unsigned short y) {
  auto* o = new CIsoObject;
  o->Create(resId, dir, obj, x, y);
  AddHead(o, 0);
  return o;
}

int CIsoObjLst::Destroy() {
  DeleteFilterList();
  return CList::Destroy();
}

CIsoObject* CIsoObjLst::MergeLayerFromIsoTile(int resId) {
  return MergeLayerFromIsoTile(resId, CIsoRichtung(GetRichtung()));
}

CIsoObject* CIsoObjLst::MergeLayerFromIsoTile(int resId, CIsoRichtung dir) {
  auto* o = new CIsoObject;
  o->Create(resId, static_cast<TIsoRichtung>(dir.GetValue() & 3));
  AddTail(o, 0);
  return o;
}

int CIsoObjLst::RemoveLayer(int resId) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    if (static_cast<CIsoObject*>(o)->GetResID() == resId) return DestroyObject(o, 0);
  }
  return 1;
}

int CIsoObjLst::RemoveLayer(int resId, TIsoRichtung dir) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    const auto* layer = static_cast<CIsoObject*>(o);
    if (layer->GetResID() == resId && layer->GetRichtungsValue() == dir) return DestroyObject(o, 0);
  }
  return 1;
}

int CIsoObjLst::GetResID() {
  auto* head = static_cast<CIsoObject*>(GetHead());
  return head ? head->GetResID() : -1;
}

TIsoRichtung CIsoObjLst::GetRichtung() {
  auto* head = static_cast<CIsoObject*>(GetHead());
  return head ? head->GetRichtungsValue() : ISO_RICHTUNG_0;
}

unsigned char CIsoObjLst::GetRichtungsValue() { return static_cast<unsigned char>(GetRichtung() & 0xFF); }

uint32_t CIsoObjLst::GetDataResID(CIsoZoomStufe* zoom, CIsoRichtung* rot) {
  auto* head = static_cast<CIsoObject*>(GetHead());
  if (!head || head->GetResID() == 0 || !zoom || !rot) return 0;
  const CIsoTile* tile = CIsoTile::Get(CIsoObject::m_pResources, head->GetResID());
  if (!tile) return 0;
  const int zi = zoom->GetValue() / 2;
  if (zi < 0 || zi > 2) return 0;
  return tile->GetDataResID(zi, (rot->GetValue() + head->GetRichtungsValue()) & 3, 0);
}

void CIsoObjLst::CreateFilterList(CIsoObject* filter) {
  if (filter == m_pFilterTile) return;
  DeleteFilterList();
  m_pFilterTile = filter;
}

void CIsoObjLst::DeleteFilterList() {
  if (!m_pFilterTile) return;
  m_pFilterTile->Destroy();
  delete m_pFilterTile;
  m_pFilterTile = nullptr;
}

// ---- CIsoObjGroup --------------------------------------------------------------

int CIsoObjGroup::Create(int resId, TIsoRichtung dir, short x, short y) {
  if (resId < 1) return 1;
  const CIsoGroup* group = CIsoGroup::Get(CIsoObject::m_pResources, resId);
  if (!group) return 1;
  m_ResID = resId;
  m_Richtung = dir;
  m_X = x;
  m_Y = y;
  m_SizeX = static_cast<unsigned char>(group->GetSizeX());
  m_SizeY = static_cast<unsigned char>(group->GetSizeY());
  for (int z = 0; z < 3; ++z)
    for (int r = 0; r < 4; ++r) m_DataResID[z][r] = z < 2 ? group->GetDataResID(z, r) : 0;
  return 0;
}

int CIsoObjGroup::GetTurnedSizeX() const { return (m_Richtung & 1) ? m_SizeY : m_SizeX; }
int CIsoObjGroup::GetTurnedSizeY() const { return (m_Richtung & 1) ? m_SizeX : m_SizeY; }

uint32_t CIsoObjGroup::GetDataResID(unsigned char zoomIndex, TIsoRichtung rot) const {
  if (zoomIndex > 2) return 0;
  return m_DataResID[zoomIndex][(rot + m_Richtung) & 3];
}

bool CIsoObjGroup::PointIn(short x, short y) const {
  return x >= m_X && x <= m_X + m_SizeX && y >= m_Y && y <= m_Y + m_SizeY;
}

void CIsoObjGroup::GetKoorBeside(short& x, short& y, signed char dx, signed char dy) const {
  if (dx > 0) {
    x = static_cast<short>(m_X + GetTurnedSizeX());
  } else if (dx < 0) {
    x = m_X;
  } else if (dy > 0) {
    y = static_cast<short>(m_Y + GetTurnedSizeY() - 1);
  } else if (dy < 0) {
    y = m_Y;
  } else {
    x = m_X;
    y = m_Y;
  }
}

int CIsoObjGroup::MergeLayerFromTGV(int resId, CIsoRichtung dir, TBaseType layer) {
  return MergeOrDelete(resId, dir, layer, true);
}

int CIsoObjGroup::DeleteLayerFromTGV(int resId, CIsoRichtung dir, TBaseType layer) {
  return MergeOrDelete(resId, dir, layer, false);
}

int CIsoObjGroup::MergeOrDelete(int resId, CIsoRichtung dir, TBaseType layer, bool merge) {
  if (resId < 1) return 1;
  const CIsoGroup* res = CIsoGroup::Get(CIsoObject::m_pResources, resId);
  if (!res || !m_pIsoWelt) return 0;
  const int w = m_SizeX, d = m_SizeY, r = dir.GetValue() & 3;
  const int spanX = r == 0 ? GetTurnedSizeX() : (r == 2 ? w : d);
  const int spanY = r == 0 ? GetTurnedSizeY() : (r == 2 ? d : w);
  for (int ly = 0; ly < spanY; ++ly) {
    for (int lx = 0; lx < spanX; ++lx) {
      CIsoInfo* cell = m_pIsoWelt->GetIsoInfo(m_X + lx, m_Y + ly);
      if (!cell) continue;
      int rx = lx, ry = ly;
      if (r == 1) rx = ly, ry = d - 1 - lx;
      if (r == 2) rx = w - 1 - lx, ry = d - 1 - ly;
      if (r == 3) rx = w - 1 - ly, ry = lx;
      const int tile = res->FindObject(rx, ry, 0);
      if (merge)
        cell->MergeLayerFromIsoTile(tile, dir, layer);
      else
        cell->DeleteLayerFromIsoTile(tile, layer);
    }
  }
  return 0;
}
