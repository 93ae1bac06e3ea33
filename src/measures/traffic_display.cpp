#include "measures/traffic_display.h"

#include <cstddef>

namespace {
using B = CTrafficDisplay::Block;
const SMeasureField kFields[] = {
    {"TDISPLAY.NUMBER", SMeasureField::kInt32, offsetof(B, number)},
    {"TDISPLAY.QUOTE", SMeasureField::kInt32, offsetof(B, quote)},
    {"TDISPLAY.EXPENSES", SMeasureField::kInt32, offsetof(B, expenses)},
};
const SMeasureLayout kLayout{"TrafficDisplay", kFields, static_cast<int>(sizeof kFields / sizeof kFields[0])};
}  // namespace

CTrafficDisplay::CTrafficDisplay() : CMeasure(kLayout, &m_Block) {}

CTrafficDisplay::~CTrafficDisplay() { Destroy(); }

int CTrafficDisplay::Create() {
  CWorldObj::Create();
  Destroy();
  m_pDisplays = new CBuildingList(1);
  return 0;
}

int CTrafficDisplay::Destroy() {
  if (m_pDisplays) {
    m_pDisplays->Destroy();
    delete m_pDisplays;
    m_pDisplays = nullptr;
  }
  return 0;
}

int CTrafficDisplay::AddDisplay(CSecondLayerObject* sign) {
  if (!sign) return 1;
  if (!m_pDisplays) m_pDisplays = new CBuildingList(1);
  if (m_pDisplays->CheckZorvaInList(sign) == 0) return 1;
  m_pDisplays->AddHeadBuilding(sign);
  m_Block.number = m_pDisplays->GetCount();
  return 0;
}

int CTrafficDisplay::RemoveDisplay(CSecondLayerObject* sign) {
  if (!sign || !m_pDisplays || m_pDisplays->CheckZorvaInList(sign) != 0) return 1;
  m_pDisplays->RemoveBuilding(sign);
  m_Block.number = m_pDisplays->GetCount();
  return 0;
}
