#include "model/zor_var.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "framework/zor_util.h"

CDataExchange* CVar::varDataExchange = nullptr;
bool CVar::m_Refresh = true;

namespace {
void Replace(char*& field, const char* text) {
  std::free(field);
  field = kfx_strdup(text);
}
}  // namespace

double CVar::ToFloatPrecision(double v) {
  // Beyond the float range the conversion is not defined; such values
  // saturate at the largest float.
  if (v > FLT_MAX) return FLT_MAX;
  if (v < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(v);
}

CVar::~CVar() { Destroy(); }

int CVar::Destroy() {
  std::free(m_pName);
  std::free(m_pSecondText);
  std::free(m_pText);
  m_pName = m_pSecondText = m_pText = nullptr;
  SetNext(nullptr);
  SetPrev(nullptr);
  return 0;
}

void CVar::SetName(const char* name) {
  if (!name || !*name || std::strlen(name) > kMaxName)
    Replace(m_pName, "NoName");
  else
    Replace(m_pName, name);
}

int CVar::Create(EVarType type, const char* name, CVarOwner* owner) {
  SetName(name);
  m_Type = type;
  m_pOwner = owner;
  float step = 0.0f;
  if (m_pOwner && m_pOwner->GetStep(m_pName, &step) == 0) m_Step = step;
  return 0;
}

int CVar::Create(EVarType type, const char* name, double value) {
  Create(type, name, static_cast<CVarOwner*>(nullptr));
  return SetValue(value);
}

int CVar::Create(EVarType type, const char* name, const char* text) {
  Create(type, name, static_cast<CVarOwner*>(nullptr));
  return SetValue(text);
}

int CVar::SetWorldOject(CVarOwner* owner) {
  m_pOwner = owner;
  if (m_pOwner) Refresh();
  return 0;
}

int CVar::Refresh() {
  if (!m_Refresh) return 0;
  double v = 0.0;
  GetValue(&v, true);
  char buffer[kTextBuffer];
  GetValue(buffer, sizeof buffer);
  return 0;
}

int CVar::SetValue(double v) {
  m_Value = v;
  if (m_pOwner) {
    m_pOwner->SetVarData(m_pName, ToFloatPrecision(v));
    double ignored = 0.0;
    m_pOwner->GetVarData(m_pName, &ignored);
  }
  return 0;
}

int CVar::GetValue(double* out, bool refresh) {
  double v = 0.0;
  if (m_pOwner && refresh && m_pOwner->GetVarData(m_pName, &v) == 0) m_Value = v;
  *out = ToFloatPrecision(m_Value);
  return 0;
}

int CVar::AddValue(double d) {
  if (!m_pOwner) {
    m_Value += d;
    return 0;
  }
  double old = 0.0;
  m_pOwner->GetVarData(m_pName, &old);
  m_pOwner->SetVarData(m_pName, old + d);
  m_Value = 0.0;
  return 0;
}

int CVar::SetValue(const char* text) {
  Replace(m_pText, text);
  if (m_pOwner && text) m_pOwner->SetVarData(m_pName, text);
  return 0;
}

int CVar::GetValue(char* buffer, size_t size) {
  if (!buffer || size == 0) return m_pText ? 0 : 1;
  char answer[kTextBuffer] = {};
  if (m_pOwner && m_pOwner->GetVarData(m_pName, answer) == 0) {
    answer[sizeof answer - 1] = '\0';
    Replace(m_pText, answer);
    m_pOwner->SetVarData(m_pName, static_cast<const char*>(m_pText));
  }
  if (!m_pText) {
    buffer[0] = '\0';
    return 1;
  }
  std::strncpy(buffer, m_pText, size - 1);
  buffer[size - 1] = '\0';
  return 0;
}

int CVar::GetStep(double* step) {
  float s = 0.0f;
  if (!m_pOwner || m_pOwner->GetStep(m_pName, &s) != 0) return 1;
  m_Step = s;
  *step = s;
  return 0;
}

int CVar::GetMin(double* min) {
  float v = 0.0f;
  if (m_pOwner && m_pOwner->GetVarMin(m_pName, &v) == 0) m_Min = v;
  *min = ToFloatPrecision(m_Min);
  return 0;
}

int CVar::GetMax(double* max) {
  float v = 0.0f;
  if (m_pOwner && m_pOwner->GetVarMax(m_pName, &v) == 0) m_Max = v;
  *max = ToFloatPrecision(m_Max);
  return 0;
}

int CVar::Step(double direction) {
  double step = m_Step;
  GetStep(&step);
  if (m_Type != VAR_INTEGER && m_Type != VAR_FLOATINGPOINT) return 0;
  double v = 0.0;
  GetValue(&v, true);
  v += direction * step;
  double bound = 0.0;
  if (direction > 0) {
    GetMax(&bound);
    if (v > bound) v = bound;
  } else {
    GetMin(&bound);
    if (v < bound) v = bound;
  }
  return SetValue(v), 0;
}

int CVar::StepUp() { return Step(1.0); }
int CVar::StepDown() { return Step(-1.0); }

int CVar::Toggle() {
  double v = 0.0;
  if (GetValue(&v, true) != 0) return 1;
  return SetValue(v == 0.0 ? 1.0 : 0.0);
}

void CVar::Copy(const CVar* other) {
  if (!other || other == this) return;
  m_InListCount = other->m_InListCount;
  Replace(m_pName, other->m_pName);
  Replace(m_pSecondText, other->m_pSecondText);
  m_Type = other->m_Type;
  m_WorldObjectType = other->m_WorldObjectType;
  m_pOwner = other->m_pOwner;
  Replace(m_pText, other->m_pText);
  m_Value = other->m_Value;
  m_Step = other->m_Step;
  m_Min = other->m_Min;
  m_Max = other->m_Max;
}
