// A line in the savegame: its data record, stored unchanged. Loading finds
// the stops again by their ids, drops those that are gone and then routes
// the line anew.
#include <cstdio>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_record.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"

int COpnvLine::SerializeGameStore(FILE* file, char*) {
  ZorRecordWriter out(file);
  m_Data.Write(out);
  return out.Ok() ? 0 : 1;
}

int COpnvLine::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  // Outside a load the record is of the current form.
  return LoadRecord(in, g_ZorLoadVersion > 0 ? g_ZorLoadVersion : kOldRecordVersion + 1);
}

int COpnvLine::LoadRecord(ZorRecordReader& in, int version) {
  Changed();
  RemoveVehicles();
  m_ChangeTime = kChangeNow;
  const NetActiveType type = GetNetType();
  const bool read = version <= kOldRecordVersion ? m_Data.ReadOld(in, type) : m_Data.Read(in);
  if (!read) return 1;
  m_Data.netType = type;
  const int m = m_Data.stopsOneWay;
  bool missing = false;
  for (int k = m - 1; k >= 0; --k) {
    CSecondLayerObject* stop = FindHst(m_Data.stopIds[k]);
    if (stop) {
      m_Data.stopObjects[k] = stop;
      continue;
    }
    QNO_ERROR(QNO_SEV_WARNING, "LineLoad: Haltestelle ID: %i nicht gefunden", static_cast<int>(m_Data.stopIds[k]));
    RemoveHstEntry(k);
    missing = true;
  }
  for (int k = 0; k < m_Data.stopsOneWay; ++k) {
    if (m_pHstList && m_pHstList->CheckZorvaInList(Hst(k)) != 0) m_pHstList->AddHeadZorva(Hst(k));
    AttachToHst(Hst(k));
  }
  if (missing) {
    QNO_ERROR(QNO_SEV_WARNING, "Lineload Haltestelle nicht gefunden Neuaufbau Streetlist");
    MakeStreetListFromHst();
  } else {
    // The way back's entries are the one-way stops in reverse.
    const int n = m_Data.stopsOneWay;
    for (int j = 0; j < n && n + j < kMaxHst; ++j) m_Data.stopObjects[n + j] = Hst(n - 1 - j);
  }
  return 0;
}
