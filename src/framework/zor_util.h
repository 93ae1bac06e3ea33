#pragma once
// Small helpers shared by every subsystem: text, directories, a Bresenham
// line stepper and a key-sorted item array.
#include <cstddef>

#include "framework/zor_seams.h"

// Removes every carriage return and line feed from the end of s, in place.
void zor_remove1013(char* s);
// Heap copy (release with std::free); null for null.
char* kfx_strdup(const char* s);
// Upper-cases s in place; returns s (null for null).
char* kfx_strupr(char* s);
// value in base 2..16 with digits 0-9 a-f and a leading '-' when negative.
// The buffer must hold 34 characters for base 2.
char* kfx_itoa(int value, char* buffer, int base);
// Directory operations that accept paths written with backslashes.
// _chdir: 1 on success, -1 on failure; _mkdir: 0 on success, -1 on failure.
int _chdir(const char* path);
int _mkdir(const char* path);

// Steps a line between two points one Bresenham step at a time. It does not
// stop at the end point: the caller counts max(dx, dy) steps.
class CLine {
 public:
  CLine(int x1, int y1, int x2, int y2);
  void GetNext(int* x, int* y);

 private:
  int m_x1, m_y1, m_x2, m_y2;
  int m_x, m_y;
  int m_dx, m_dy;
  int m_stepX, m_stepY;
  int m_inc1, m_inc2;
  int m_error;
};

// Fixed-size items kept in ascending order of each item's first int.
class QnoSortedList {
 public:
  explicit QnoSortedList(unsigned itemSize);
  ~QnoSortedList();
  QnoSortedList(const QnoSortedList&) = delete;
  QnoSortedList& operator=(const QnoSortedList&) = delete;

  // Copies the item in at its place by key; equal keys keep insertion order.
  void Insert(const void* item);
  const void* GetAt(unsigned index) const;
  unsigned GetCount() const { return m_count; }
  void Clear();

 private:
  unsigned char* m_items = nullptr;
  unsigned m_count = 0;
  unsigned m_capacity = 0;
  unsigned m_itemSize;
};
