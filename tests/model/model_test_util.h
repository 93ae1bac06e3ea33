#pragma once
// A value-table owner as the measure singletons build them, for the tests.
#include <cstring>
#include <string>

#include "model/var_owner.h"
#include "framework/var_table.h"

namespace modeltest {

inline SVVarTypeNew Row(const char* name, double value, double min, double max, double step) {
  SVVarTypeNew row{};
  std::strncpy(row.name, name, sizeof row.name - 1);
  row.value = value;
  row.min = min;
  row.max = max;
  row.step = step;
  return row;
}

class TableOwner : public CVarOwner {
 public:
  explicit TableOwner(const char* prefix) {
    const std::string p = prefix;
    m_rows[0] = Row((p + "COUNT").c_str(), 29, 0, 30, 1);
    m_rows[1] = Row((p + "PRICE").c_str(), 1.5, 0, 4, 0.25);
    m_rows[2] = Row((p + "PLACES").c_str(), 120, 0, 1000, 10);
    m_rows[3] = Row("LISTENDE", 0, 0, 0, 0);
  }
  int SetVarData(const char* name, double value) override {
    ++writes;
    return m_table.SetVarData(name, value);
  }
  int GetVarData(const char* name, double* value) override { return m_table.GetVarData(name, value); }
  int SetVarData(const char* name, const char* text) override {
    if (!m_table.GetVar(name)) return 1;
    lastText = text;
    return 0;
  }
  int GetVarData(const char* name, char* text) override {
    if (!m_table.GetVar(name) || lastText.empty()) return 1;
    std::strcpy(text, lastText.c_str());
    return 0;
  }
  int GetStep(const char* name, float* step) override { return AsFloat(m_table.GetStep(name, &m_number), step); }
  int GetVarMin(const char* name, float* min) override { return AsFloat(m_table.GetVarMin(name, &m_number), min); }
  int GetVarMax(const char* name, float* max) override { return AsFloat(m_table.GetVarMax(name, &m_number), max); }

  double Value(const char* name) const {
    double v = -1;
    m_table.GetVarData(name, &v);
    return v;
  }

  int writes = 0;
  std::string lastText;

 private:
  int AsFloat(int found, float* out) {
    if (found == 0) *out = static_cast<float>(m_number);
    return found;
  }
  double m_number = 0;
  SVVarTypeNew m_rows[4];
  CVarTable m_table{m_rows, 100};
};

}  // namespace modeltest
