#include "framework/zor_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

void zor_remove1013(char* s) {
  if (!s) return;
  size_t n = std::strlen(s);
  while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n')) s[--n] = '\0';
}

char* kfx_strdup(const char* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, s, n);
  return copy;
}

char* kfx_strupr(char* s) {
  if (!s) return nullptr;
  for (char* p = s; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (std::islower(c)) *p = static_cast<char>(std::toupper(c));
  }
  return s;
}

char* kfx_itoa(int value, char* buffer, int base) {
  if (!buffer) return nullptr;
  if (base < 2 || base > 16) base = 10;
  if (value == 0) {
    buffer[0] = '0';
    buffer[1] = '\0';
    return buffer;
  }
  static const char digits[] = "0123456789abcdef";
  // Work in unsigned 64 bits so that INT_MIN has an absolute value.
  unsigned long long v = value < 0 ? 0ULL - static_cast<long long>(value) : static_cast<unsigned long long>(value);
  char tmp[72];
  int n = 0;
  while (v) {
    tmp[n++] = digits[v % static_cast<unsigned>(base)];
    v /= static_cast<unsigned>(base);
  }
  int out = 0;
  if (value < 0) buffer[out++] = '-';
  while (n) buffer[out++] = tmp[--n];
  buffer[out] = '\0';
  return buffer;
}

static std::string zor_slashes(const char* path) {
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

int _chdir(const char* path) {
  if (!path) return -1;
  return ::chdir(zor_slashes(path).c_str()) == 0 ? 1 : -1;
}

int _mkdir(const char* path) {
  if (!path) return -1;
  return ::mkdir(zor_slashes(path).c_str(), 0755) == 0 ? 0 : -1;
}

CLine::CLine(int x1, int y1, int x2, int y2)
    : m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2), m_x(x1), m_y(y1) {
  m_dx = std::abs(x2 - x1);
  m_dy = std::abs(y2 - y1);
  m_stepX = x2 >= x1 ? 1 : -1;
  m_stepY = y2 >= y1 ? 1 : -1;
  if (m_dx < m_dy) {
    m_inc1 = 2 * m_dx;
    m_inc2 = 2 * (m_dx - m_dy);
    m_error = 2 * m_dx - m_dy;
  } else {
    m_inc1 = 2 * m_dy;
    m_inc2 = 2 * (m_dy - m_dx);
    m_error = 2 * m_dy - m_dx;
  }
}

void CLine::GetNext(int* x, int* y) {
  if (m_dx < m_dy) {
    if (m_error < 1) {
      m_y += m_stepY;
      m_error += m_inc1;
    } else {
      m_x += m_stepX;
      m_y += m_stepY;
      m_error += m_inc2;
    }
  } else {
    if (m_error < 1) {
      m_x += m_stepX;
      m_error += m_inc1;
    } else {
      m_x += m_stepX;
      m_y += m_stepY;
      m_error += m_inc2;
    }
  }
  if (x) *x = m_x;
  if (y) *y = m_y;
}

QnoSortedList::QnoSortedList(unsigned itemSize) : m_itemSize(itemSize < sizeof(int) ? sizeof(int) : itemSize) {}

QnoSortedList::~QnoSortedList() { Clear(); }

void QnoSortedList::Clear() {
  std::free(m_items);
  m_items = nullptr;
  m_count = 0;
  m_capacity = 0;
}

static int zor_item_key(const void* item) {
  int key;
  std::memcpy(&key, item, sizeof key);
  return key;
}

void QnoSortedList::Insert(const void* item) {
  if (!item) return;
  if (m_count == m_capacity) {
    const unsigned cap = m_capacity ? m_capacity * 2 : 16;
    void* grown = std::realloc(m_items, static_cast<size_t>(cap) * m_itemSize);
    if (!grown) return;
    m_items = static_cast<unsigned char*>(grown);
    m_capacity = cap;
  }
  const int key = zor_item_key(item);
  // Binary search for the first item with a greater key.
  unsigned lo = 0, hi = m_count;
  while (lo < hi) {
    const unsigned mid = (lo + hi) / 2;
    if (zor_item_key(m_items + static_cast<size_t>(mid) * m_itemSize) <= key)
      lo = mid + 1;
    else
      hi = mid;
  }
  unsigned char* at = m_items + static_cast<size_t>(lo) * m_itemSize;
  std::memmove(at + m_itemSize, at, static_cast<size_t>(m_count - lo) * m_itemSize);
  std::memcpy(at, item, m_itemSize);
  ++m_count;
}

const void* QnoSortedList::GetAt(unsigned index) const {
  return index < m_count ? m_items + static_cast<size_t>(index) * m_itemSize : nullptr;
}
