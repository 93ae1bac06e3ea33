#include "model/message_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Length of the conversion at text (which points at a '%'), 0 when it is
// none; *decimals is -1 for a whole number, else the decimals.
size_t ConversionAt(const char* text, int* decimals) {
  const char c = text[1];
  if (c == 'i' || c == 'd') {
    *decimals = -1;
    return 2;
  }
  if (c == 'f') {
    *decimals = 6;
    return 2;
  }
  if (c == '.' && text[2] >= '0' && text[2] <= '9' && text[3] == 'f') {
    *decimals = text[2] - '0';
    return 4;
  }
  return 0;
}

// The value as text into buf: whole numbers truncated toward zero and
// held to the range of a 32-bit number.
int ValueText(char* buf, size_t size, double value, int decimals) {
  if (decimals < 0) {
    long long n = 0;
    if (std::isfinite(value)) {
      const double t = std::trunc(value);
      n = t > 2147483647.0 ? 2147483647LL : t < -2147483648.0 ? -2147483648LL : static_cast<long long>(t);
    }
    return std::snprintf(buf, size, "%lld", n);
  }
  return std::snprintf(buf, size, "%.*f", decimals, value);
}

}  // namespace

size_t ZorFormatMessageText(char* out, size_t size, const char* text, const double* values, int count) {
  if (!out || size == 0) return 0;
  size_t n = 0;
  int next = 0;
  auto put = [&](const char* s, size_t len) {
    const size_t room = size - 1 - n;
    if (len > room) len = room;
    std::memcpy(out + n, s, len);
    n += len;
  };
  for (const char* p = text ? text : ""; *p && n + 1 < size;) {
    if (*p != '%') {
      const char* q = std::strchr(p, '%');
      const size_t len = q ? static_cast<size_t>(q - p) : std::strlen(p);
      put(p, len);
      p += len;
      continue;
    }
    if (p[1] == '%') {
      put("%", 1);
      p += 2;
      continue;
    }
    int decimals = 0;
    const size_t len = ConversionAt(p, &decimals);
    if (len == 0 || next >= count || !values) {
      put(p, len ? len : 1);
      p += len ? len : 1;
      continue;
    }
    // 309 digits before the point at most, 9 after.
    char buf[330];
    const int w = ValueText(buf, sizeof buf, values[next++], decimals);
    if (w > 0) put(buf, static_cast<size_t>(w) < sizeof buf ? static_cast<size_t>(w) : sizeof buf - 1);
    p += len;
  }
  out[n] = '\0';
  return n;
}

bool ZorMessageTextHasConversion(const char* text) {
  for (const char* p = text ? std::strchr(text, '%') : nullptr; p; p = std::strchr(p + 1, '%')) {
    if (p[1] == '%') {
      ++p;
      continue;
    }
    int decimals = 0;
    if (ConversionAt(p, &decimals)) return true;
  }
  return false;
}
