// The message and information text files: plain single-byte text, one
// marker per line ("@@startgroup", "@@newgroup", "@", "\xA7" keywords, "#",
// "*", "$"), found anywhere in the line. A damaged file loads what is sound
// and logs the rest: lines longer than the reader takes are split, but only
// the first piece is read for markers; groups, entries and texts beyond the
// table are left out; a file cut inside a message leaves that message out.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_util.h"
#include "model/message.h"

namespace {

constexpr size_t kLineLimit = 499;
constexpr size_t kMessageSectionLimit = 999;
constexpr size_t kInfoSectionLimit = 9999;
constexpr char kSection[] = "\xA7";  // the section sign of the file's code page

// Reads a file line by line, at most kLineLimit characters at a time. A
// longer line comes in pieces; every piece after the first is flagged as a
// continuation, so no marker is ever read from the middle of a line.
class CTextLineReader {
 public:
  CTextLineReader(FILE* file, const char* path) : m_file(file), m_path(path) {}
  // False at the end of the file. A NUL byte in a line reads as a blank,
  // so that it cannot end the line early.
  bool Next() {
    m_continuation = m_open;
    size_t n = 0;
    int c = EOF;
    while (n < kLineLimit && (c = std::getc(m_file)) != EOF && c != '\n') m_line[n++] = c ? static_cast<char>(c) : ' ';
    if (n == 0 && c == EOF) return false;
    m_line[n] = '\0';
    // A line of exactly the limit is whole when its line feed follows.
    m_open = n == kLineLimit && !LineEndsHere();
    if (m_open && !m_loggedLong) {
      QNO_LOG("Message texts %s: a line longer than %i characters is split", m_path, int(kLineLimit));
      m_loggedLong = true;
    }
    zor_remove1013(m_line);
    return true;
  }
  char* Line() { return m_line; }
  bool Continuation() const { return m_continuation; }

 private:
  bool LineEndsHere() {
    const int c = std::getc(m_file);
    if (c == '\n' || c == EOF) return true;
    std::ungetc(c, m_file);
    return false;
  }

  FILE* m_file;
  const char* m_path;
  char m_line[kLineLimit + 1] = {};
  bool m_open = false, m_continuation = false, m_loggedLong = false;
};

// A section's text, bounded; what does not fit is cut with one log line.
class CSectionText {
 public:
  CSectionText(char* buffer, size_t limit, const char* path) : m_buf(buffer), m_limit(limit), m_path(path) { Clear(); }
  void Clear() {
    m_len = 0;
    m_buf[0] = '\0';
    m_cutLogged = false;
  }
  void Append(const char* s) {
    size_t n = std::strlen(s);
    if (m_len + n > m_limit) {
      if (!m_cutLogged) QNO_LOG("Message texts %s: a text longer than %i characters is cut", m_path, int(m_limit));
      m_cutLogged = true;
      n = m_limit - m_len;
    }
    std::memcpy(m_buf + m_len, s, n);
    m_len += n;
    m_buf[m_len] = '\0';
  }
  const char* Text() const { return m_buf; }
  bool Empty() const { return m_len == 0; }

 private:
  char* m_buf;
  size_t m_limit, m_len = 0;
  const char* m_path;
  bool m_cutLogged = false;
};

char* CopyText(const char* text) {
  const size_t n = std::strlen(text);
  char* copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

FILE* OpenTextFile(const char* dir, const char* name, char* path, size_t size) {
  QnoMakeValidPathname(dir ? dir : "", name, ".GLA", path, size);
  return std::fopen(path, "r");
}

// The kind or window a "\xA7" line sets; false for a line with none.
bool ReadKeyword(const char* line, int32_t* type, int32_t* window) {
  static const struct {
    const char* word;
    int32_t type;
  } kKinds[] = {{"\xA7URGENT", 3}, {"\xA7WARNING", 4}, {"\xA7" "AUFGABE", 1}, {"\xA7OPENWINDOW:", -1},
                {"\xA7NOTICE_1", 5}, {"\xA7NOTICE_2", 6}, {"\xA7ZIEL", 0}, {"\xA7MITTEILUNG", 2}};
  for (const auto& kind : kKinds) {
    if (!std::strstr(line, kind.word)) continue;
    if (kind.type >= 0) {
      *type = kind.type;
    } else {
      const char* colon = std::strchr(line, ':');
      if (colon && colon[1]) *window = static_cast<int32_t>(std::strtol(colon + 1, nullptr, 10));
    }
    return true;
  }
  return false;
}

}  // namespace

int CMessage::LoadMessageTexte(int language) {
  char path[400];
  FILE* file = OpenTextFile(m_pHost->GetTextDirectory(), language == 0 ? "MTG" : "MTE", path, sizeof path);
  if (!file) return 1;
  CTextLineReader reader(file, path);
  static char buffer[kMessageSectionLimit + 1];
  CSectionText text(buffer, kMessageSectionLimit, path);
  int group = 0, entry = -1, section = 2, stored = 0;
  int32_t type = MESSAGE_NOTICE_2, window = -1;
  bool groupsLogged = false, entriesLogged = false, textLine = false;
  auto inTable = [&] { return group < kMessageGroups && entry >= 0 && entry < kMessageEntries; };
  auto restart = [&](int newEntry, int newSection) {
    entry = newEntry;
    section = newSection;
    text.Clear();
    type = MESSAGE_NOTICE_2;
    window = -1;
  };
  while (reader.Next()) {
    const char* line = reader.Line();
    if (reader.Continuation()) {
      // The rest of a text line belongs to the text; of any other line it
      // is dropped.
      if (textLine) text.Append(line);
      continue;
    }
    textLine = false;
    if (std::strstr(line, "@@")) {
      if (std::strstr(line, "@@startgroup")) {
        group = 0;
      } else if (std::strstr(line, "@@newgroup")) {
        if (group < kMessageGroups) ++group;
        if (group >= kMessageGroups && !groupsLogged) {
          QNO_LOG("Message texts %s: more than %i groups, the rest is left out", path, kMessageGroups);
          groupsLogged = true;
        }
      } else {
        continue;
      }
      entriesLogged = false;
      restart(-1, 2);
    } else if (std::strstr(line, kSection)) {
      ReadKeyword(line, &type, &window);
    } else if (std::strchr(line, '@')) {
      if (entry < kMessageEntries) ++entry;
      if (entry >= kMessageEntries && group < kMessageGroups && !entriesLogged) {
        QNO_LOG("Message texts %s: group %i has more than %i messages, the rest is left out", path, group,
                kMessageEntries);
        entriesLogged = true;
      }
      restart(entry, 0);
    } else if (std::strchr(line, '#')) {
      if ((section == 0 || section == 1) && inTable()) {
        M_Type& record = Global_Messages[group][entry];
        record.type = type;
        record.window = window;
        char*& into = section == 0 ? record.shortText : record.longText;
        delete[] into;
        into = CopyText(text.Text());
        if (section == 1) {
          type = MESSAGE_NOTICE_2;
          ++stored;
        }
      }
      ++section;
      text.Clear();
    } else if (const char* star = std::strchr(line, '*')) {
      text.Append(star + 1);
      textLine = true;
    }
  }
  std::fclose(file);
  if (section == 1 && inTable()) {
    // Cut after the short text: a message needs both, so it is left out.
    M_Type& record = Global_Messages[group][entry];
    delete[] record.shortText;
    record.shortText = nullptr;
    QNO_LOG("Message texts %s: the file ends inside message %i/%i, which is left out", path, group, entry);
  } else if (section == 0 && inTable()) {
    QNO_LOG("Message texts %s: the file ends inside message %i/%i, which is left out", path, group, entry);
  }
  if (stored == 0) QNO_LOG("Message texts %s: no message found", path);
  return 0;
}

void CMessage::FreeInfoTexts() {
  for (auto& texts : m_InfoTexts) {
    for (char*& text : texts) {
      delete[] text;
      text = nullptr;
    }
  }
}

int CMessage::GetInfoTextFromFile(int language) {
  FreeInfoTexts();
  char path[400];
  FILE* file = OpenTextFile(m_pHost->GetTextDirectory(), language == 0 ? "ITG" : "ITE", path, sizeof path);
  if (!file) return 1;
  CTextLineReader reader(file, path);
  static char buffer[kInfoSectionLimit + 1];
  CSectionText text(buffer, kInfoSectionLimit, path);
  int index = -1, section = 2, stored = 0;
  bool textLine = false;
  while (reader.Next()) {
    const char* line = reader.Line();
    if (reader.Continuation()) {
      if (textLine) text.Append(line);
      continue;
    }
    textLine = false;
    if (std::strchr(line, '$')) {
      ++index;
      section = 0;
      text.Clear();
    } else if (std::strchr(line, '#')) {
      if (index < 0 || index >= kInfoTexts) {
        if (index < 0) QNO_LOG("Information texts %s: a text ends before any begins; reading stops", path);
        else QNO_LOG("Information texts %s: more than %i texts, the rest is left out", path, kInfoTexts);
        break;
      }
      if ((section == 0 || section == 1) && !text.Empty() && !m_InfoTexts[index][section]) {
        m_InfoTexts[index][section] = CopyText(text.Text());
        ++stored;
      }
      ++section;
      text.Clear();
    } else if (const char* star = std::strchr(line, '*')) {
      if (star[1]) text.Append(star + 1);
      textLine = true;
    }
  }
  std::fclose(file);
  if (stored == 0) QNO_LOG("Information texts %s: no text found", path);
  return 0;
}

int CMessage::GetInfoText(int i, char*& shortText, char*& longText) const {
  shortText = longText = nullptr;
  if (i < 0 || i >= kInfoTexts) return 1;
  shortText = m_InfoTexts[i][0];
  longText = m_InfoTexts[i][1];
  return 0;
}
