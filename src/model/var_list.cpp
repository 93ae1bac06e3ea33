#include "model/var_list.h"

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
  for (CZorvaPointer* n = GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CVar* var = static_cast<CVar*>(n->GetZorvaObject());
    if (var && var->GetName() && std::strcmp(var->GetName(), name) == 0) return var;
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
  while (GetCount() > 0) {
    CVar* var = static_cast<CVar*>(RemoveHeadZorva(true));
    if (!var || var->GetInListNumber() > 0) continue;
    var->Destroy();
    delete var;
  }
  return 0;
}
