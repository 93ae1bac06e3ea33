// The operator's savegame record "Opnv": the bus net and the tram net with
// their lines, the value table, the free pools and the counters. Stops are
// world objects of their own and are re-created before this record is read.
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "measures/opnv.h"

namespace {
constexpr size_t kTag = ZorRecordWriter::kNameSize;

void PutTag(ZorRecordWriter& out, const char* tag) { out.FixedString(tag, kTag); }

bool TagIs(ZorRecordReader& in, const char* tag) {
  char read[kTag];
  return in.FixedString(read, kTag) && std::strcmp(read, tag) == 0;
}

// A row read from a savegame must be the row the table holds there.
bool SameRow(const char (&stored)[60], const char (&expected)[60]) {
  return std::memchr(stored, '\0', sizeof stored) && std::strcmp(stored, expected) == 0;
}
}  // namespace

int COpnv::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  // The length covers the name field and the whole table, not the nets.
  out.Header(name && *name ? name : "Opnv", kRecordLength - static_cast<uint32_t>(kTag));
  PutTag(out, "OPNVBUSNET");
  if (!out.Ok() || StoreNet(m_pBusNet, file) != 0) return 1;
  PutTag(out, "OPNVTRAMNET");
  if (!out.Ok() || StoreNet(m_pTramNet, file) != 0) return 1;
  for (int i = 0; i < m_VarRows; ++i) WriteVarRow(out, OPNVVars[i]);
  PutTag(out, "OPNVENDE2");
  for (const int32_t pool : {m_FreeNormal, m_FreeLowFloor, m_FreeEnergie, m_FreeH2, m_FreeTram}) out.I32(pool);
  out.I16(m_NextLineNr);
  out.I16(m_NextHstID);
  return out.Ok() ? 0 : 1;
}

int COpnv::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  SetNewMatrix(true);
  if (TagIs(in, "OPNVBUSNET") && LoadNet(m_pBusNet, file) != 0) return 1;
  if (TagIs(in, "OPNVTRAMNET") && LoadNet(m_pTramNet, file) != 0) return 1;
  if (!in.Ok()) return 1;
  // The rows are read aside and taken only when each is the row the table
  // holds at its place.
  SVVarTypeNew rows[kVarTableSize];
  std::memcpy(rows, OPNVVars, sizeof rows);
  if (g_ZorLoadVersion < kWideRowVersion) {
    for (int i = 0; i < m_VarRows; ++i) ReadVarRowFloat(in, &OPNVVarsOld[i]);
    ConvertOldVarRows(OPNVVarsOld, rows, m_VarRows);
  } else {
    for (int i = 0; i < m_VarRows; ++i) ReadVarRow(in, &rows[i]);
  }
  if (!in.Ok()) return 1;
  for (int i = 0; i < m_VarRows; ++i)
    if (!SameRow(rows[i].name, OPNVVars[i].name)) {
      QNO_LOG("Opnv: table row %d is \"%.59s\", not \"%s\".\n", i, rows[i].name, OPNVVars[i].name);
      return 1;
    }
  std::memcpy(OPNVVars, rows, sizeof rows);
  if (TagIs(in, "OPNVENDE2"))
    for (int32_t* pool : {&m_FreeNormal, &m_FreeLowFloor, &m_FreeEnergie, &m_FreeH2, &m_FreeTram}) *pool = in.I32();
  const int16_t nextLine = in.I16();
  const int16_t nextStop = in.I16();
  if (!in.Ok()) return 1;
  // The counters never fall below what the loaded lines and stops hold.
  if (nextLine > m_NextLineNr) m_NextLineNr = nextLine;
  if (nextStop > m_NextHstID) m_NextHstID = nextStop;
  return 0;
}
