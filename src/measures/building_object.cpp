#include "measures/building_object.h"

ZOR_IMPLEMENT_TYPE(CBuildingObject, CWorldObj)

QnoResourceManager* CBuildingDataList::m_pResourceManager = nullptr;

void CBuildingDataList::SetResourceManager(QnoResourceManager* manager) { m_pResourceManager = manager; }

void CBuildingDataList::Destroy() { m_pResourceManager = nullptr; }
