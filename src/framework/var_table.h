#pragma once
// Fixed tables of named game values: one row per dotted name with its value
// and the bounds and step the interface offers. A table ends at the row
// named "LISTENDE". Rows are stored in savegames exactly as laid out here.
#include <cstddef>
#include <cstdint>

class ZorRecordReader;
class ZorRecordWriter;

#pragma pack(push, 1)
struct SVVarTypeNew {
  char name[60];
  int32_t flag;
  double value;
  double min;
  double max;
  double step;
};

// The layout of older savegames and of the indicators' table.
struct SVVarType {
  char name[60];
  float value;
  float min;
  float max;
  float step;
};
#pragma pack(pop)

static_assert(sizeof(SVVarTypeNew) == 96, "savegame row layout");
static_assert(offsetof(SVVarTypeNew, value) == 64, "savegame row layout");
static_assert(sizeof(SVVarType) == 76, "savegame row layout");

// Named access to a table owned elsewhere. Lookups compare names exactly
// and stop at "LISTENDE" or after `limit` rows, whichever comes first.
template <class Row>
class TVarTable {
 public:
  TVarTable(Row* rows, int limit) : m_rows(rows), m_limit(limit) {}

  Row* GetVar(const char* name) const;
  // 0 with the row's number; 1 when the table has no such row.
  int GetVarData(const char* name, double* value) const;
  int SetVarData(const char* name, double value) const;
  int GetStep(const char* name, double* step) const;
  int GetVarMin(const char* name, double* min) const;
  int GetVarMax(const char* name, double* max) const;
  // Rows before "LISTENDE" (within the limit).
  int CountRows() const;

 private:
  Row* m_rows;
  int m_limit;
};

using CVarTable = TVarTable<SVVarTypeNew>;
using CVarTableFloat = TVarTable<SVVarType>;

// Converts rows of an older savegame into the current table, row by row:
// the name (always terminated), and the numbers widened to double; each
// target row keeps its flag.
void ConvertOldVarRows(const SVVarType* oldRows, SVVarTypeNew* rows, int count);

// The rows' savegame fields, little-endian through the record codec: the
// 60-byte name, then the flag and four doubles (96 bytes), or four floats
// (76 bytes) for the older layout.
void WriteVarRow(ZorRecordWriter& out, const SVVarTypeNew& row);
void ReadVarRow(ZorRecordReader& in, SVVarTypeNew* row);
void ReadVarRowFloat(ZorRecordReader& in, SVVarType* row);
