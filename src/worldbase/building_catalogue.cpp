#include "worldbase/building_catalogue.h"

#include <cstring>

#include "framework/qno_resource.h"
#include "framework/zor_seams.h"

QnoResourceManager* CBuildingDataList::m_pResourceManager = nullptr;
PotentialType CBuildingDataList::m_Rows[CBuildingDataList::kMaxRows];
int CBuildingDataList::m_RowCount = 0;

void CBuildingDataList::Destroy() {
  m_RowCount = 0;
  m_pResourceManager = nullptr;
}

int CBuildingDataList::AddBuildingPotential(const PotentialType* potential) {
  if (!potential || m_RowCount >= kMaxRows) return 1;
  PotentialType row;
  row.resId = potential->resId;
  row.objectType = potential->objectType;
  row.graphic = potential->graphic;
  row.locationType = potential->locationType;
  row.size = potential->size;
  row.first = potential->first;
  row.height = potential->height;
  // The 32-bit words from 24 to 51 and from 60 to 67; 52 to 59 stay zero.
  for (int offset : {24, 28, 32, 36, 40, 44, 48, 60, 64}) {
    row.SetWord(offset, potential->Word(offset));
    row.SetWord(offset + 2, potential->Word(offset + 2));
  }
  // The catalogue counts in units of two and a half of the table's; the
  // parking places four fifths of that.
  for (int offset : {24, 28, 32, 36, 48, 44, 42, 60, 64})
    row.SetWord(offset, static_cast<uint16_t>(static_cast<int>(row.Word(offset) * 2.5)));
  row.SetWord(40, static_cast<uint16_t>(static_cast<int>(row.Word(40) * 2.5 * 0.8)));
  m_Rows[m_RowCount++] = row;
  return 0;
}

const PotentialType* CBuildingDataList::GetPotentialByNr(int n) {
  return n >= 0 && n < m_RowCount ? &m_Rows[n] : nullptr;
}

const PotentialType* CBuildingDataList::GetPotential(int resId) { return GetPotentialByNr(GetNrByResID(resId)); }

int CBuildingDataList::GetBuildingResIDByListNr(int n) {
  const PotentialType* row = GetPotentialByNr(n);
  return row ? row->resId : 0;
}

int CBuildingDataList::GetNrByResID(int resId) {
  for (int n = 0; n < m_RowCount; ++n)
    if (m_Rows[n].resId == resId) return n;
  return -1;
}

bool CBuildingDataList::IsTGV(int n) {
  const PotentialType* row = GetPotentialByNr(n);
  return row && row->graphic == 1;
}

int CBuildingDataList::SizeWord(int n, TIsoRichtung direction, bool alongX) {
  const PotentialType* row = GetPotentialByNr(n);
  if (!row) return 0;
  if (row->resId == 0 && m_pResourceManager) return 0;
  if (row->graphic == 2) return 1;
  if (row->graphic != 1 || !m_pResourceManager) return 0;
  const auto id = static_cast<unsigned>(row->resId);
  if (m_pResourceManager->GetResourceLength(id) < 12) return 0;
  const auto* blob = static_cast<const unsigned char*>(m_pResourceManager->GetResource(id));
  if (!blob) return 0;
  const bool turned = direction == ISO_RICHTUNG_1 || direction == ISO_RICHTUNG_3;
  const int word = alongX != turned ? 1 : 2;
  int32_t value = 0;
  std::memcpy(&value, blob + 4 * word, 4);
  return value;
}

int CBuildingDataList::GetXSizeByNr(int n, TIsoRichtung direction) { return SizeWord(n, direction, true); }

int CBuildingDataList::GetYSizeByNr(int n, TIsoRichtung direction) { return SizeWord(n, direction, false); }

int CBuildingDataList::GetNrByData(TObjectType type, int xSize, int ySize, int variant, TIsoRichtung& direction,
                                   int& resId) {
  direction = ISO_RICHTUNG_0;
  resId = 0;
  if (m_RowCount == 0) return -1;
  const int start = zor_random() % m_RowCount;
  for (int i = 0; i <= m_RowCount; ++i) {
    const int n = (start + i) % m_RowCount;
    const PotentialType& row = m_Rows[n];
    if (row.graphic != 1 || row.objectType != type) continue;
    if (variant > 0 && row.height != variant) continue;
    if (row.size.width == xSize && row.size.depth == ySize) {
      direction = ISO_RICHTUNG_0;
    } else if (row.size.width == ySize && row.size.depth == xSize) {
      direction = ISO_RICHTUNG_3;
    } else {
      continue;
    }
    resId = row.resId;
    return n;
  }
  return -1;
}

int CBuildingDataList::GetNrByData(int, TObjectType type, int) {
  if (m_RowCount == 0 || (type != OBJ_RESIDENTIAL && type != OBJ_OFFICE && type != OBJ_INDUSTRY)) return -1;
  for (int draw = 0; draw < 3 * m_RowCount; ++draw) {
    const int n = zor_random() % m_RowCount;
    if (m_Rows[n].objectType == type) return n;
  }
  return -1;
}

int CBuildingDataList::GetRESidByData(int amount, TObjectType type, int size, int wanted, int* index) {
  const int n = GetNrByData(amount, type, size);
  const PotentialType* row = GetPotentialByNr(n);
  if (!row || (wanted != 0 && wanted != row->resId)) {
    if (index) *index = -1;
    return 0;
  }
  if (index) *index = n;
  return row->resId;
}

int CBuildingDataList::GetBuildingResIDByType(TObjectType type, int variant, int* index) {
  for (int n = 0; n < m_RowCount; ++n) {
    if (m_Rows[n].objectType != type || (variant >= 1 && m_Rows[n].height != variant)) continue;
    if (index) *index = n;
    return m_Rows[n].resId;
  }
  if (index) *index = -1;
  return 0;
}

int CBuildingDataList::MakeWorkFromData(const PotentialType* p) { return p->Word(28) + p->Word(32) + p->Word(36); }

int CBuildingDataList::MakeLeisureFromData(const PotentialType* p) { return p->Word(24) / 12 + p->Word(44); }
