#include "model/var_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/zor_util.h"
#include "model/data_exchange.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return std::string(begin, end);
}

std::string Upper(std::string s) {
  kfx_strupr(s.data());
  return s;
}

bool TypeOf(const std::string& t, EVarType* type) {
  if (t == "INT" || t == "INTEGER" || t == "VAR_INTEGER") *type = VAR_INTEGER;
  else if (t == "FLOAT" || t == "FLOATINGPOINT" || t == "VAR_FLOATINGPOINT") *type = VAR_FLOATINGPOINT;
  else if (t == "DOUBLE" || t == "VAR_DOUBLE") *type = VAR_DOUBLE;
  else if (t == "STRING" || t == "VAR_STRING") *type = VAR_STRING;
  else return false;
  return true;
}
}  // namespace

int CVarList::AddHeadZorva(CZorvaObject* object, int /*key*/) {
  m_items.push_front(object);
  if (m_cursor >= 0) ++m_cursor;
  return 0;
}

int CVarList::RemoveZorva(CZorvaObject* object) {
  auto it = std::find(m_items.begin(), m_items.end(), object);
  if (it == m_items.end()) return 1;
  const int index = static_cast<int>(it - m_items.begin());
  m_items.erase(it);
  if (m_cursor > index) --m_cursor;
  return 0;
}

int CVarList::CheckZorvaInList(CZorvaObject* object) const {
  return std::find(m_items.begin(), m_items.end(), object) == m_items.end() ? 1 : 0;
}

void CVarList::SetupZorvaCount(int direction) {
  m_direction = direction;
  m_cursor = direction == 0 ? 0 : static_cast<int>(m_items.size()) - 1;
}

CZorvaObject* CVarList::GetNextZorva() {
  if (m_cursor < 0 || m_cursor >= static_cast<int>(m_items.size())) {
    m_cursor = -1;
    return nullptr;
  }
  CZorvaObject* object = m_items[m_cursor];
  m_cursor += m_direction == 0 ? 1 : -1;
  return object;
}

int CVarList::GetToken(const char** cursor, std::string fields[], int* count) {
  const int max = *count;
  *count = 0;
  const char* start = *cursor ? std::strstr(*cursor, "@#") : nullptr;
  if (!start) return 1;
  const char* end = std::strchr(start + 2, '#');
  if (!end) return 1;
  const char* p = start + 2;
  while (p < end) {
    const char* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
    const char* fieldEnd = comma ? comma : end;
    if (*count < max) fields[(*count)++] = Trimmed(p, fieldEnd);
    if (!comma) break;
    p = comma + 1;
  }
  // Tokens written back to back share the character after the '#': the
  // next one is not found. A token at the very end leaves the cursor on
  // the terminator, never past it.
  *cursor = end[1] ? end + 2 : end + 1;
  return 0;
}

CVar* CVarList::GetVarByName(const char* name) const {
  if (!name) return nullptr;
  for (CZorvaObject* object : m_items) {
    CVar* var = static_cast<CVar*>(object);
    if (var->GetName() && std::strcmp(var->GetName(), name) == 0) return var;
  }
  return nullptr;
}

int CVarList::AddVarsFromString(const char* text) {
  if (!text) return 1;
  const char* cursor = text;
  std::string f[kMaxFields];
  int count = kMaxFields;
  while (GetToken(&cursor, f, &count) == 0) {
    const int taken = count;
    count = kMaxFields;
    if (taken < 4) continue;
    const std::string keyword = Upper(f[0]), typeName = Upper(f[1]), source = Upper(f[2]), name = Upper(f[3]);
    if (keyword != "VAR" || GetVarByName(name.c_str())) continue;
    EVarType type;
    if (!TypeOf(typeName, &type)) return 1;
    CDataExchange* dx = CVar::varDataExchange;
    const bool global = source == "DATAEXCHANGE";
    CVar* var = global && dx ? dx->GetVarByName(name.c_str()) : nullptr;
    if (!var && taken >= 5) {
      var = new CVar;
      const std::string& init = f[4];
      if (type == VAR_STRING)
        var->Create(type, name.c_str(), init.c_str());
      else if (type == VAR_INTEGER)
        var->Create(type, name.c_str(), static_cast<double>(std::strtol(init.c_str(), nullptr, 10)));
      else
        var->Create(type, name.c_str(), std::strtod(init.c_str(), nullptr));
      if (global && dx) dx->AddVarHead(var);
    }
    if (var) AddHeadZorva(var);
  }
  return 0;
}

int CVarList::Destroy() {
  while (!m_items.empty()) {
    CVar* var = static_cast<CVar*>(m_items.front());
    m_items.pop_front();
    if (var->GetInListNumber() > 0) continue;
    var->Destroy();
    delete var;
  }
  m_cursor = -1;
  return 0;
}
