#include "worldbase/zor_env_table.h"

#include <cstring>
#include <string>

#include "framework/zor_record.h"
#include "framework/zor_util.h"

namespace {

// Copies at most max bytes of [begin, end) and terminates.
void CopyField(char* dst, const char* begin, const char* end) {
  size_t n = static_cast<size_t>(end - begin);
  if (n > static_cast<size_t>(CEnvTable::kMaxField)) n = CEnvTable::kMaxField;
  std::memcpy(dst, begin, n);
  dst[n] = '\0';
}

// True when the text holds a control character (a byte below 32 or DEL).
bool HasControl(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
    if (*p < 32 || *p == 127) return true;
  return false;
}

}  // namespace

void CEnvTable::Reset() {
  while (Entry* e = m_entries.GetHead()) {
    m_entries.Unlink(e);
    delete e;
  }
}

int CEnvTable::GetCount() const { return m_entries.GetCount(); }

const char* CEnvTable::Find(const char* key) const {
  if (!key) return nullptr;
  for (const Entry* e = m_entries.GetHead(); e; e = e->m_next)
    if (std::strcmp(e->key, key) == 0) return e->value;
  return nullptr;
}

void CEnvTable::SetString(const char* key, const char* value) {
  if (!key) return;
  if (!value) value = "";
  char k[kMaxField + 1];
  CopyField(k, key, key + std::strlen(key));
  for (Entry* e = m_entries.GetHead(); e; e = e->m_next) {
    if (std::strcmp(e->key, k) == 0) {
      CopyField(e->value, value, value + std::strlen(value));
      return;
    }
  }
  Entry* e = new Entry;
  std::memcpy(e->key, k, sizeof k);
  CopyField(e->value, value, value + std::strlen(value));
  m_entries.LinkTail(e);
}

void CEnvTable::LoadFromStream(FILE* in) {
  Reset();
  char line[kMaxLine + 1];
  long budget = kMaxFileBytes;
  for (;;) {
    // Read one line, keeping its first kMaxLine bytes and dropping the rest.
    size_t len = 0;
    int c;
    bool any = false;
    while (budget > 0 && (c = std::fgetc(in)) != EOF) {
      --budget;
      any = true;
      if (c == '\n') break;
      if (len < static_cast<size_t>(kMaxLine)) line[len++] = static_cast<char>(c);
    }
    if (!any) break;
    line[len] = '\0';
    // A NUL byte in the line ends it there.
    zor_remove1013(line);
    if (std::strchr(line, '[')) continue;
    char* eq = std::strchr(line, '=');
    if (!eq) continue;
    const char* keyEnd = eq;
    if (keyEnd > line && keyEnd[-1] == ' ') --keyEnd;
    const char* valueBegin = eq + 1;
    if (*valueBegin == ' ') ++valueBegin;
    char value[kMaxLine + 1];
    size_t n = 0;
    for (const char* p = valueBegin; *p; ++p)
      if (*p != '"') value[n++] = *p;
    value[n] = '\0';
    char key[kMaxField + 1];
    CopyField(key, line, keyEnd);
    if (key[0] == '\0' || HasControl(key) || HasControl(value)) continue;
    SetString(key, value);
  }
}

int CEnvTable::LoadFromFile(const char* path) {
  FILE* in = path ? std::fopen(path, "rt") : nullptr;
  if (!in) return 1;
  LoadFromStream(in);
  std::fclose(in);
  return 0;
}

int CEnvTable::WriteToFile(const char* path) const {
  std::string text = "[Allgemein]\n";
  for (const Entry* e = m_entries.GetHead(); e; e = e->m_next)
    text.append(e->key).append("=").append(e->value).append("\n");
  // Written whole or not at all: a full disk keeps the old settings.
  return ZorWriteFile(path, text.data(), text.size()) ? 0 : 1;
}
