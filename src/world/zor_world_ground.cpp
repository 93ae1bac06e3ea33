#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

CBaseObject* CZorvaWorld::CreateObjectEmpty() {
  if (!m_pGroundObject) m_pGroundObject = new CBaseObject;
  m_pGroundObject->Create();
  return m_pGroundObject;
}

void CZorvaWorld::AddBase(int resId) {
  if (m_BaseResCount >= kMaxBaseResIDs) return;
  m_BaseResID[m_BaseResCount++] = resId;
}

int CZorvaWorld::GetBaseResID(bool first) {
  if (m_BaseResCount == 0) return 0;
  if (first) return m_BaseResID[0];
  // Every entry can come up, the last one too.
  return m_BaseResID[static_cast<unsigned>(zor_view_random().Next()) % m_BaseResCount];
}

int CZorvaWorld::DefineStreet(int type, int straightId, int straightLayer, int curveId, int curveLayer, int crossId,
                              int crossLayer, int tId, int tLayer, int endId, int endLayer, unsigned short capacity) {
  if (!m_pIsoWelt) return 1;
  return m_pIsoWelt->DefineStreet(type, straightId, straightLayer, curveId, curveLayer, crossId, crossLayer, tId, tLayer,
                                  endId, endLayer, capacity);
}
