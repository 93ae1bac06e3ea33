#include "framework/var_table.h"

#include <cstring>

#include "framework/zor_record.h"

namespace {
constexpr const char* kEnd = "LISTENDE";

// Names come from savegames too: compare within the field only.
bool NameIs(const char (&field)[60], const char* name) { return std::strncmp(field, name, sizeof field) == 0 && std::strlen(name) < sizeof field; }
bool IsEnd(const char (&field)[60]) { return std::strncmp(field, kEnd, sizeof field) == 0; }
}  // namespace

template <class Row>
Row* TVarTable<Row>::GetVar(const char* name) const {
  if (!name || !m_rows) return nullptr;
  for (int i = 0; i < m_limit && !IsEnd(m_rows[i].name); ++i)
    if (NameIs(m_rows[i].name, name)) return &m_rows[i];
  return nullptr;
}

template <class Row>
int TVarTable<Row>::CountRows() const {
  int i = 0;
  while (m_rows && i < m_limit && !IsEnd(m_rows[i].name)) ++i;
  return i;
}

template <class Row>
int TVarTable<Row>::GetVarData(const char* name, double* value) const {
  const Row* row = GetVar(name);
  if (!row) return 1;
  *value = row->value;
  return 0;
}

template <class Row>
int TVarTable<Row>::SetVarData(const char* name, double value) const {
  Row* row = GetVar(name);
  if (!row) return 1;
  row->value = static_cast<decltype(row->value)>(value);
  return 0;
}

template <class Row>
int TVarTable<Row>::GetStep(const char* name, double* step) const {
  const Row* row = GetVar(name);
  if (!row) return 1;
  *step = row->step;
  return 0;
}

template <class Row>
int TVarTable<Row>::GetVarMin(const char* name, double* min) const {
  const Row* row = GetVar(name);
  if (!row) return 1;
  *min = row->min;
  return 0;
}

template <class Row>
int TVarTable<Row>::GetVarMax(const char* name, double* max) const {
  const Row* row = GetVar(name);
  if (!row) return 1;
  *max = row->max;
  return 0;
}

template class TVarTable<SVVarTypeNew>;
template class TVarTable<SVVarType>;

void ConvertOldVarRows(const SVVarType* oldRows, SVVarTypeNew* rows, int count) {
  for (int i = 0; i < count; ++i) {
    std::memcpy(rows[i].name, oldRows[i].name, sizeof rows[i].name);
    rows[i].name[sizeof rows[i].name - 1] = '\0';
    rows[i].value = oldRows[i].value;
    rows[i].min = oldRows[i].min;
    rows[i].max = oldRows[i].max;
    rows[i].step = oldRows[i].step;
  }
}

void WriteVarRow(ZorRecordWriter& out, const SVVarTypeNew& row) {
  out.FixedString(row.name, sizeof row.name);
  out.I32(row.flag);
  out.F64(row.value);
  out.F64(row.min);
  out.F64(row.max);
  out.F64(row.step);
}

void ReadVarRow(ZorRecordReader& in, SVVarTypeNew* row) {
  in.FixedString(row->name, sizeof row->name);
  row->flag = in.I32();
  row->value = in.F64();
  row->min = in.F64();
  row->max = in.F64();
  row->step = in.F64();
}

void ReadVarRowFloat(ZorRecordReader& in, SVVarType* row) {
  in.FixedString(row->name, sizeof row->name);
  row->value = in.F32();
  row->min = in.F32();
  row->max = in.F32();
  row->step = in.F32();
}
