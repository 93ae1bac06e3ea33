#include "iso/iso_info.h"

#include <cstdlib>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_block_pool.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "worldbase/zor_world_obj.h"

// ---- SortedList ------------------------------------------------------------------

SortedList::~SortedList() { ZorBlockPool::Shared().Free(m_pItems, static_cast<size_t>(m_Capacity) * sizeof(Item)); }

void SortedList::InsertItem(int z, CIsoObject* object, int layer) {
  int pos = 0;
  if (!m_pItems) {
    m_pItems = static_cast<Item*>(ZorBlockPool::Shared().Allocate(kGrowBy * sizeof(Item)));
    m_Capacity = kGrowBy;
    m_Count = 0;
  } else if (m_Count > 0 && z > m_pItems[m_Count - 1].z) {
    // Above every item (the usual case, layers come in rising order): the
    // search below would end at the end as well.
    pos = m_Count;
  } else {
    int lo = 0, hi = m_Count - 1, mid = 0;
    while (lo <= hi) {
      mid = (lo + hi) / 2;
      if (z < m_pItems[mid].z)
        hi = mid - 1;
      else if (z > m_pItems[mid].z)
        lo = mid + 1;
      else
        break;
    }
    pos = mid;
    if (mid < m_Count && m_pItems[mid].z <= z) ++pos;
  }
  if (m_Count == m_Capacity) {
    const size_t had = static_cast<size_t>(m_Capacity) * sizeof(Item);
    auto* grown = static_cast<Item*>(ZorBlockPool::Shared().Allocate(had + kGrowBy * sizeof(Item)));
    std::memcpy(grown, m_pItems, had);
    ZorBlockPool::Shared().Free(m_pItems, had);
    m_pItems = grown;
    m_Capacity += kGrowBy;
  }
  // Lists hold a handful of items: moved up one by one, without a call.
  for (int i = m_Count; i > pos; --i) m_pItems[i] = m_pItems[i - 1];
  m_pItems[pos] = Item{z, object, layer};
  ++m_Count;
}

// ---- IsoViewRectType -------------------------------------------------------------

namespace {
int Sign(int d) { return d > 0 ? 1 : -1; }
}  // namespace

void IsoViewRectType::SetupTraversal(int r) {
  travRichtung = r;
  toggle = 0;
  tilesLeft = -2;
  flag = 0;
  rowStepX = Sign(k2x - k0x);
  rowStepY = Sign(k2y - k0y);
  stairStepX = Sign(k1x - k0x);
  stairStepY = Sign(k1y - k0y);
  rowsLeft = (r == 0 || r == 2) ? 2 * std::abs(k0y - k1y) : 2 * std::abs(k0x - k1x);
  rowStartX = k0x;
  rowStartY = k0y;
  pixelX = pixelY = 0;
  const int zi = IsoZoomIndex();
  pixelStepX = r == 0 ? Tile_Size_X[zi] + 2 : -(Tile_Size_X[zi] + 2);
  pixelStepY = Tile_Size_YDiv2[zi];
  m_rowStart = false;
}

bool IsoViewRectType::GetNextTile(int& x, int& y) {
  while (rowsLeft >= 0) {
    bool fresh = false;
    if (tilesLeft == -2) {
      tilesLeft = (travRichtung == 0 || travRichtung == 2) ? std::abs(k2x - k0x) : std::abs(k2y - k0y);
      cursorX = rowStartX;
      cursorY = rowStartY;
      fresh = true;
    }
    if (tilesLeft >= 0) {
      x = cursorX;
      y = cursorY;
      pixelX += pixelStepX;
      cursorX += rowStepX;
      cursorY += rowStepY;
      --tilesLeft;
      m_rowStart = fresh;
      return true;
    }
    if (toggle)
      rowStartX += stairStepX;
    else
      rowStartY += stairStepY;
    toggle = !toggle;
    --rowsLeft;
    tilesLeft = -2;
  }
  return false;
}

// ---- CIsoInfo --------------------------------------------------------------------

CIsoInfo::CIsoInfo(CIsoWelt* owner, int x, int y) : m_pOwner(owner) {
  if (x >= 0 && x < ISO_MAP_SIZE && y >= 0 && y < ISO_MAP_SIZE) {
    m_X = static_cast<unsigned char>(x);
    m_Y = static_cast<unsigned char>(y);
  }
}

CIsoInfo::~CIsoInfo() { DestroyAll(); }

void CIsoInfo::InvalidateCache() {
  if (m_pOwner) m_pOwner->InvalidateSpriteRenderList(m_X, m_Y);
}

void CIsoInfo::ClearLayer(int layer) {
  ++s_ObjectChanges;
  m_pWorldObj[layer] = nullptr;
  delete m_pIsoObjects[layer];  // the list destroys its objects and filter tile
  m_pIsoObjects[layer] = nullptr;
  delete m_pGroup[layer];
  m_pGroup[layer] = nullptr;
  delete m_pRenderList;
  m_pRenderList = nullptr;
  m_TurnFree = false;
  m_FromObjects = false;
}

bool CIsoInfo::IsPlainGround() {
  CIsoObjLst* list = m_pIsoObjects[ISO_LAYER_GROUND];
  const CWorldObj* ground = m_pWorldObj[ISO_LAYER_GROUND];
  return list && list->GetNumber() == 1 && !list->GetFilterTile() && !m_pGroup[ISO_LAYER_GROUND] &&
         !m_pGroup[ISO_LAYER_UPPER] && !m_pIsoObjects[ISO_LAYER_UPPER] && !m_pWorldObj[ISO_LAYER_UPPER] &&
         (!ground || ground->GetType() == OBJ_GROUND);
}

void CIsoInfo::LayGround(int resId, CWorldObj* obj) {
  ++s_ObjectChanges;
  m_pWorldObj[ISO_LAYER_GROUND] = obj;
  CIsoObjLst*& list = m_pIsoObjects[ISO_LAYER_GROUND];
  if (!list) list = new CIsoObjLst;
  if (auto* head = static_cast<CIsoObject*>(list->GetHead()))
    head->Create(resId, ISO_RICHTUNG_0);
  else
    list->Create(resId, ISO_RICHTUNG_0);
  // A generation the lists have not reached: the list is made afresh from
  // the sprite at the first read, whatever turns and zooms come before it.
  m_ListGeneration = s_ListGeneration - 1;
  m_TurnFree = false;
  m_FromObjects = false;
  m_RenderCursor = 0;
  m_Visible = 0;
  InvalidateCache();
}

int CIsoInfo::DestroyAll() {
  ClearLayer(ISO_LAYER_GROUND);
  ClearLayer(ISO_LAYER_UPPER);
  return 0;
}

int CIsoInfo::CreateTile(int resId, TIsoRichtung dir, CWorldObj* obj, TBaseType layer) {
  ++s_ObjectChanges;
  m_pWorldObj[layer] = obj;
  // A list left over from a caller that did not destroy the layer is freed
  // here; the render list may still name its objects, so it is rebuilt.
  const bool hadList = m_pIsoObjects[layer] != nullptr;
  delete m_pIsoObjects[layer];
  m_pIsoObjects[layer] = new CIsoObjLst;
  CIsoObject* head = m_pIsoObjects[layer]->Create(resId, dir);
  if (hadList)
    InsertTilesInNewRenderList();
  else
    InsertIntoRenderList(head);
  if (obj && obj->GetFilterResID() >= 1) {
    auto* filter = new CIsoObject;
    filter->Create(obj->GetFilterResID(), dir);
    m_pIsoObjects[layer]->CreateFilterList(filter);
    return 0;
  }
  return 1;
}

int CIsoInfo::CreateGroup(int resId, TIsoRichtung dir, unsigned short x, unsigned short y, TBaseType layer) {
  delete m_pGroup[layer];
  m_pGroup[layer] = new CIsoObjGroup;
  return m_pGroup[layer]->Create(resId, dir, static_cast<short>(x), static_cast<short>(y));
}

int CIsoInfo::Destroy(TBaseType layer) {
  ClearLayer(layer);
  InsertTilesInNewRenderList();
  InvalidateCache();
  return 0;
}

bool CIsoInfo::InsertObjectLayers(CIsoObject* object) {
  if (!object) return true;
  const CIsoTile* tile = CIsoTile::Get(CIsoObject::m_pResources, object->GetResID());
  if (!tile) return true;
  if (!m_pRenderList) m_pRenderList = new SortedList;
  const int zi = IsoZoomIndex();
  const int rot = (g_IsoRichtung + object->GetRichtungsValue()) & 3;
  const int highest = tile->GetHighestLayer();
  bool turnFree = true;
  for (int l = 0; l <= highest; ++l) {
    const int z = tile->GetZValue(zi, rot, l);
    for (int r = 1; r < 4 && turnFree; ++r) turnFree = tile->GetZValue(zi, (rot + r) & 3, l) == z;
    m_pRenderList->InsertItem(z, object, l);
  }
  return turnFree;
}

uint32_t CIsoInfo::s_ListGeneration = 0;
uint32_t CIsoInfo::s_TurnGeneration = 0;
uint32_t CIsoInfo::s_ObjectChanges = 0;

void CIsoInfo::MakeRenderList() {
  if (!m_pRenderList) m_pRenderList = new SortedList;
  m_pRenderList->Clear();
  // With every z the same in each rotation, the objects go in in the same
  // order with the same z whatever the rotation: a turn keeps the list.
  bool turnFree = true;
  for (int l = 0; l < 2; ++l) {
    if (!m_pIsoObjects[l]) continue;
    int n = 0;
    for (CZorvaObject* o = m_pIsoObjects[l]->GetHead(); o && n < 255; o = o->GetNext(), ++n)
      turnFree = InsertObjectLayers(static_cast<CIsoObject*>(o)) && turnFree;
  }
  MarkRenderListFresh(turnFree, true);
}

int CIsoInfo::InsertTilesInNewRenderList() {
  MakeRenderList();
  InvalidateCache();
  return 0;
}

int CIsoInfo::InsertIntoRenderList(CIsoObject* object) {
  if (!m_pRenderList) m_pRenderList = new SortedList;
  // Items added one by one may stand in another order than a list made
  // from the objects: the next turn makes it afresh.
  m_TurnFree = false;
  m_FromObjects = false;
  InsertObjectLayers(object);
  InvalidateCache();
  return 0;
}

int CIsoInfo::CreateFilterRenderList() {
  if (!m_pRenderList) m_pRenderList = new SortedList;
  m_pRenderList->Clear();
  for (int l = 0; l < 2; ++l)
    if (m_pIsoObjects[l]) InsertObjectLayers(m_pIsoObjects[l]->GetFilterTile());
  // A turn makes the objects' list again in place of the filter's.
  MarkRenderListFresh(false, false);
  InvalidateCache();
  return 0;
}

int CIsoInfo::SetFilter() {
  CWorldObj* obj = m_pWorldObj[0];
  if (!obj) return 0;
  CIsoObjLst* list = m_pIsoObjects[0];
  if (obj->IsFilter()) {
    const int filterId = obj->GetFilterResID();
    if (filterId == 0) {
      QNO_ERROR(QNO_SEV_ERROR, "Filter ResID is zeor");
      return 1;
    }
    if (!list) return 0;
    // The filter tile is kept while it shows the same resource: switching
    // the overlay or zooming must not make a new one per cell every time.
    CIsoObject* current = list->GetFilterTile();
    if (!current || current->GetResID() != filterId) {
      auto* filter = new CIsoObject;
      filter->Create(filterId, ISO_RICHTUNG_0);
      list->CreateFilterList(filter);
    }
    return CreateFilterRenderList();
  }
  if (list) list->DeleteFilterList();
  return InsertTilesInNewRenderList();
}

int CIsoInfo::MergeLayerFromIsoTile(int resId, CIsoRichtung dir, TBaseType layer) {
  if (!m_pIsoObjects[layer]) return 1;
  InsertIntoRenderList(m_pIsoObjects[layer]->MergeLayerFromIsoTile(resId, dir));
  return 0;
}

int CIsoInfo::MergeLayerFromIsoTile(int resId, TBaseType layer) {
  if (!m_pIsoObjects[layer]) return 1;
  InsertIntoRenderList(m_pIsoObjects[layer]->MergeLayerFromIsoTile(resId));
  return 0;
}

int CIsoInfo::DeleteLayerFromIsoTile(int resId, TBaseType layer) {
  if (!m_pIsoObjects[layer]) return 1;
  m_pIsoObjects[layer]->RemoveLayer(resId);
  return RenewRenderList();
}

int CIsoInfo::DeleteLayerFromIsoTile(int resId, CIsoRichtung dir, TBaseType layer) {
  if (!m_pIsoObjects[layer]) return 1;
  m_pIsoObjects[layer]->RemoveLayer(resId, static_cast<TIsoRichtung>(dir.GetValue() & 3));
  return RenewRenderList();
}

int CIsoInfo::RenewRenderList() {
  delete m_pRenderList;
  m_pRenderList = nullptr;
  m_TurnFree = false;
  m_FromObjects = false;
  InsertTilesInNewRenderList();
  return 0;
}

int CIsoInfo::MergeLayerFromTGV(int resId, const CIsoRichtung& dir, TBaseType layer) {
  if (!m_pGroup[layer]) return 1;
  m_pGroup[layer]->MergeLayerFromTGV(resId, dir, layer);
  return 0;
}

int CIsoInfo::DeleteLayerFromTGV(int resId, const CIsoRichtung& dir, TBaseType layer) {
  if (!m_pGroup[layer]) return 1;
  m_pGroup[layer]->DeleteLayerFromTGV(resId, dir, layer);
  return 0;
}

int CIsoInfo::GetResID(TBaseType layer) { return m_pIsoObjects[layer] ? m_pIsoObjects[layer]->GetResID() : 0; }

unsigned char CIsoInfo::GetRichtungsValue(TBaseType layer) {
  return m_pIsoObjects[layer] ? m_pIsoObjects[layer]->GetRichtungsValue() : 0;
}

TIsoRichtung CIsoInfo::GetRichtung(TBaseType layer) {
  if (!m_pIsoObjects[layer]) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_pIsoObjects[LayerNr]==NULL");
    return ISO_RICHTUNG_0;
  }
  return m_pIsoObjects[layer]->GetRichtung();
}

uint32_t CIsoInfo::GetDataResID(CIsoZoomStufe* zoom, CIsoRichtung* rot, TBaseType layer) {
  if (!m_pIsoObjects[layer] || !zoom || !rot) return 0;
  if (m_pGroup[layer])
    return m_pGroup[layer]->GetDataResID(static_cast<unsigned char>(zoom->GetValue() / 2),
                                         static_cast<TIsoRichtung>(rot->GetValue() & 3));
  return m_pIsoObjects[layer]->GetDataResID(zoom, rot);
}

TObjectType CIsoInfo::GetType(TBaseType layer) const {
  return m_pWorldObj[layer] ? m_pWorldObj[layer]->GetType() : OBJ_NONE;
}

bool CIsoInfo::Is(TObjectType type, TBaseType) const { return GetType(ISO_LAYER_GROUND) == type; }

CWorldObj* CIsoInfo::GetWorldObject(TBaseType layer) const {
  return m_pIsoObjects[layer] ? m_pWorldObj[layer] : nullptr;
}

int CIsoInfo::Render(QnoDisplay* display, unsigned short x, unsigned short y, TIsoZoomStufe zoom, TIsoRichtung,
                     TBaseType layer) {
  if (m_pWorldObj[layer] && m_Visible) m_pWorldObj[layer]->Render(display, x, y, 0, 0, zoom);
  return 1;
}

bool CIsoInfo::RendersOnlyLayoutVehicles(TBaseType layer) const {
  return !m_pWorldObj[layer] || m_pWorldObj[layer]->RendersOnlyLayoutVehicles();
}

void CIsoInfo::SetVisible(bool visible, unsigned short x, unsigned short y) {
  for (CWorldObj* o : m_pWorldObj)
    if (o) o->SetVisible(visible, x, y);
  m_Visible = visible ? 1 : 0;
}

void CIsoInfo::DropSoundVisible() {
  for (CWorldObj* o : m_pWorldObj)
    if (o) o->DropSoundVisible();
}

bool CIsoInfo::IsVisible(unsigned short x, unsigned short y) {
  bool v = m_Visible != 0;
  for (CWorldObj* o : m_pWorldObj)
    if (o) v = v && o->IsVisible(x, y);
  return v;
}

void CIsoInfo::SetSoundVisible(bool visible) {
  for (CWorldObj* o : m_pWorldObj)
    if (o) o->SetSoundVisible(visible);
}

bool CIsoInfo::IsSoundVisible() const { return m_pWorldObj[0] && m_pWorldObj[0]->IsSoundVisible(); }
