#include "gui/text_markup.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Figures beyond this are shown clamped: no account reaches it in play.
constexpr double kMaxShownValue = 999999999999999.0;

std::string Upper(const std::string& s) {
  std::string u = s;
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

int AlignedX(EHO h, int x, int width, int w) {
  if (h == HO_LEFT) return x + 4;
  if (h == HO_RIGHT) return x + width - w - 4;
  return x + (width - w) / 2;
}
}  // namespace

int CTextMarkup::SplitFields(const char* begin, const char* end, std::string* fields) {
  int n = 0;
  const char* start = begin;
  for (const char* p = begin;; ++p) {
    if (p == end || *p == ',') {
      if (n < kMaxFields) {
        // Blanks around a field are not part of it, as in the variable
        // tokens that name the same variables.
        const char* b = start;
        const char* e = p;
        while (b < e && (*b == ' ' || *b == '\t')) ++b;
        while (e > b && (e[-1] == ' ' || e[-1] == '\t')) --e;
        fields[n++].assign(b, e);
      }
      if (p == end) break;
      start = p + 1;
    }
  }
  return n;
}

int CTextMarkup::RenderRun(const char* text, int x, int* y, EHO h, const CTextLayout& layout, CTextPainter& painter,
                           int& height) {
  const size_t len = std::strlen(text);
  height = 0;
  if (len == 0) return 0;
  const int width = painter.Measure(text);
  if (!layout.wrap || width <= layout.width) {
    if (!layout.measure) painter.Draw(AlignedX(h, x, layout.width, width), *y, text, layout.colour);
    height = kLineStep;
    return 1;
  }
  const double average = static_cast<double>(width) / static_cast<double>(len) + 0.2;
  // At least one character per line, or a narrow item never advances.
  const size_t perLine = std::max<size_t>(1, static_cast<size_t>(std::floor(layout.width / average)));
  std::string line;
  int lines = 0;
  for (size_t pos = 0; pos < len;) {
    size_t n = std::min(perLine, len - pos);
    if (pos + n < len && text[pos + n - 1] != ' ') {
      for (size_t b = pos + n - 1; b > pos; --b) {
        if (text[b] == ' ') {
          if (b - pos + 1 >= 11) n = b - pos + 1;
          break;
        }
      }
    }
    line.assign(text + pos, n);
    if (!layout.measure) {
      const int w = painter.Measure(line.c_str());
      painter.Draw(AlignedX(h, x, layout.width, w), *y, line.c_str(), layout.colour);
    }
    *y += kLineStep;
    ++lines;
    pos += n;
  }
  height = lines * kLineStep;
  return lines;
}

int CTextMarkup::Run(const char* text, const CTextLayout& layout, CTextPainter& painter, const VarLookup& lookup) {
  if (!text) return 0;
  std::string gathered;
  int x = layout.startX;
  int y = layout.startY;
  EHO h = layout.h;
  int total = 0;
  bool moved = false;
  auto append = [&](const char* from, size_t n) {
    const size_t room = kMaxGathered - gathered.size();
    gathered.append(from, std::min(n, room));
  };
  auto flush = [&]() {
    moved = false;
    if (gathered.empty()) return;
    int height = 0;
    const int lines = RenderRun(gathered.c_str(), x, &y, h, layout, painter, height);
    moved = lines > 1;
    total += height;
    gathered.clear();
  };

  const char* p = text;
  std::string fields[kMaxFields];
  for (int steps = 0; *p && steps < kMaxSteps; ++steps) {
    const char* at = std::strchr(p, '@');
    if (!at) {
      append(p, std::strlen(p));
      p += std::strlen(p);
      break;
    }
    append(p, static_cast<size_t>(at - p));
    if (at[1] == '#') {
      const char* close = std::strchr(at + 2, '#');
      // A token without its end is not shown, nor anything after it.
      if (!close) break;
      const int n = SplitFields(at + 2, close, fields);
      const std::string key = Upper(fields[0]);
      if (key == "VAR") {
        std::string value;
        if (n >= 4 && lookup && lookup(fields[3].c_str(), &value)) append(value.data(), value.size());
      } else if (key == "POSITION") {
        flush();
        if (n >= 3) {
          x = layout.left + std::atoi(fields[1].c_str());
          y = layout.top + std::atoi(fields[2].c_str());
        }
      } else if (key == "ALIGNH") {
        flush();
        if (n >= 2 && fields[1] == "LEFT") h = HO_LEFT;
        if (n >= 2 && fields[1] == "CENTER") h = HO_CENTER;
        if (n >= 2 && fields[1] == "RIGHT") h = HO_RIGHT;
      } else if (key == "ALIGNV" || key == "NEWLINE") {
        // The vertical alignment is kept by the caller's layout; no step
        // moves the text by it.
        flush();
      }
      p = close + 1;
    } else if (std::strncmp(at, "@nl", 3) == 0) {
      flush();
      if (!moved) y += kLineStep;
      p = at + 3;
      // The character after "@nl" is a separator, when there is one.
      if (*p) ++p;
    } else {
      break;
    }
  }
  flush();
  return total;
}

int CTextMarkup::InsertTausenderPunkt(char* number, size_t capacity, int language) {
  if (!number) return 0;
  char* digits = number + ((number[0] == '+' || number[0] == '-') ? 1 : 0);
  size_t count = 0;
  while (std::isdigit(static_cast<unsigned char>(digits[count]))) ++count;
  if (count < 4) return 0;
  const size_t separators = (count - 1) / 3;
  const size_t length = std::strlen(number);
  if (length + separators + 1 > capacity) return 0;
  const char sep = language == 1 ? ',' : '.';
  // Move the tail (after the digits) first, then fill digits from the right.
  const size_t tail = length - static_cast<size_t>(digits - number) - count;
  std::memmove(digits + count + separators, digits + count, tail + 1);
  char* out = digits + count + separators;
  for (size_t i = 0; i < count; ++i) {
    *--out = digits[count - 1 - i];
    if (i % 3 == 2 && i + 1 < count) *--out = sep;
  }
  return 1;
}

bool CTextMarkup::FormatValue(EVarType type, double value, int language, double removalCost, char* out,
                              size_t capacity) {
  if (!out || capacity < 32) return false;
  auto clamp = [](double v) { return std::isfinite(v) ? std::clamp(v, -kMaxShownValue, kMaxShownValue) : 0.0; };
  switch (type) {
    case VAR_STRING:
      std::snprintf(out, capacity, "%.0f", std::trunc(clamp(removalCost)));
      InsertTausenderPunkt(out, capacity, language);
      return true;
    case VAR_INT:
      std::snprintf(out, capacity, "%.0f", clamp(value));
      InsertTausenderPunkt(out, capacity, language);
      return true;
    case VAR_FLOAT:
    case VAR_DOUBLE: {
      std::snprintf(out, capacity, "%1.2f ", static_cast<double>(static_cast<float>(clamp(value))));
      if (type == VAR_DOUBLE || language == 0) {
        if (char* dot = std::strchr(out, '.')) *dot = ',';
      }
      return true;
    }
    default:
      return false;
  }
}
