#pragma once
// A 16-bit picture the interface's maps build in memory: a framework
// bitmap stored bottom-up, so row 0 is the bottom row. It owns its blob.
#include <cstdint>

#include "framework/qno_bitmap.h"

class QnoRenderBuffer;

class CMapPicture {
 public:
  CMapPicture() = default;
  ~CMapPicture() { Free(); }
  CMapPicture(const CMapPicture&) = delete;
  CMapPicture& operator=(const CMapPicture&) = delete;

  // A new picture of w x h, cleared to 0; false when it cannot be made.
  bool Create(int w, int h);
  void Free();
  bool IsValid() const { return m_blob != nullptr; }
  int Width() const { return m_w; }
  int Height() const { return m_h; }
  QnoBitmap* Bitmap() const { return reinterpret_cast<QnoBitmap*>(m_blob); }
  void Clear(uint16_t pixel = 0);
  // The pixel at `row` (counted from the bottom) and `column`; both must
  // lie inside the picture.
  uint16_t Get(int row, int column) const { return Row(row)[column]; }
  void Set(int row, int column, uint16_t pixel) { Row(row)[column] = pixel; }
  // Set only when inside the picture.
  void SetClipped(int row, int column, uint16_t pixel) {
    if (row >= 0 && row < m_h && column >= 0 && column < m_w) Set(row, column, pixel);
  }
  uint16_t* Row(int row) const { return reinterpret_cast<uint16_t*>(m_pixels + static_cast<long>(row) * m_rowBytes); }
  uint8_t* Pixels() const { return m_pixels; }
  int RowBytes() const { return m_rowBytes; }

  // The display colour closest to (r, g, b); the buffer may be null.
  static uint16_t Closest(const QnoRenderBuffer* buffer, int r, int g, int b);
  // The channels of a 16-bit pixel of the display's format (555 or 565),
  // each as an 8-bit value with the low bits 0.
  static void Unpack(uint16_t pixel, int format, int* r, int* g, int* b);

 private:
  uint8_t* m_blob = nullptr;
  uint8_t* m_pixels = nullptr;
  int m_w = 0, m_h = 0, m_rowBytes = 0;
};
