#include "measures/miet_micro.h"

#include <cstddef>
#include <cstring>

namespace {
using B = CMietMicro::Block;
const SMeasureField kFields[] = {
    {"MS.PRICE.HOUR", SMeasureField::kFloat, offsetof(B, priceHour), true, 0.0f, 2.0f, 0.05f},
    {"MS.USER", SMeasureField::kInt32, offsetof(B, users)},
    {nullptr, SMeasureField::kInt32, offsetof(B, reserved)},
    {"MS.NUMBER", SMeasureField::kInt32, offsetof(B, points)},
    {"MS.INCOME", SMeasureField::kInt32, offsetof(B, income)},
    {"MS.EXPENSES", SMeasureField::kInt32, offsetof(B, expenses)},
    {"MS.ADMAGAZIN", SMeasureField::kInt32, offsetof(B, adMagazine)},
    {"MS.ADTELEVISION", SMeasureField::kInt32, offsetof(B, adTelevision)},
    {"MS.ADRADIO", SMeasureField::kInt32, offsetof(B, adRadio)},
};
const SMeasureLayout kLayout{"MietMicro", kFields, static_cast<int>(sizeof kFields / sizeof kFields[0])};
bool Settable(const char* key) {
  for (const char* k : {"MS.ADMAGAZIN", "MS.ADRADIO", "MS.ADTELEVISION", "MS.PRICE.HOUR"})
    if (std::strcmp(key, k) == 0) return true;
  return false;
}
}  // namespace

CMietMicro::CMietMicro() : CMeasure(kLayout, &m_Block) {}

int CMietMicro::GetVarData(const char* key, double* value) {
  if (key && std::strcmp(key, "MS.USERQUOTE") == 0) return CMeasure::GetVarData("MS.NUMBER", value);
  return CMeasure::GetVarData(key, value);
}

int CMietMicro::SetVarData(const char* key, double value) {
  if (!key || !Settable(key)) return 1;
  return CMeasure::SetVarData(key, value);
}
