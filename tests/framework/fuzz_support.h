#pragma once
// Shared pieces of the blob fuzz targets: a small 565 off-screen buffer and
// a resource manager serving one archive built in memory, reused from input
// to input so that a run spends its time in the readers.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"

namespace zorfuzz {

// A 64 x 48 render buffer whose clip rectangle leaves a margin, so clipped
// and unclipped paths are both reached.
inline QnoRenderBuffer& Buffer() {
  static SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 48, 16, 0xF800, 0x07E0, 0x001F, 0);
  static QnoRenderBuffer* rb = [] {
    auto* b = new QnoRenderBuffer;
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 64;
    cs.screenHeight = cs.viewHeight = 48;
    b->Create(nullptr, &cs, surface);
    return b;
  }();
  rb->SetClipRect(3, 2, 60, 45);
  return *rb;
}

// The bytes of an archive listing `blobs` as (id, bytes).
inline std::vector<uint8_t> Archive(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& blobs) {
  std::vector<uint8_t> a(QNO_WAD_HEADER_SIZE, 0);
  std::memcpy(a.data(), "DATA", 4);
  std::vector<uint8_t> dir;
  for (const auto& [id, b] : blobs) {
    uint8_t e[QNO_WAD_ENTRY_SIZE];
    qno_wr32(e, 0, id);
    qno_wr32(e, 4, static_cast<uint32_t>(a.size()));
    qno_wr32(e, 8, static_cast<uint32_t>(b.size()));
    dir.insert(dir.end(), e, e + sizeof e);
    a.insert(a.end(), b.begin(), b.end());
  }
  qno_wr32(a.data(), 4, static_cast<uint32_t>(blobs.size()));
  qno_wr32(a.data(), 8, static_cast<uint32_t>(a.size()));
  a.insert(a.end(), dir.begin(), dir.end());
  return a;
}

// One manager for the whole run, emptied and given the archive anew for
// each input; null when the archive is refused.
inline QnoResourceManager* Serve(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& blobs) {
  static QnoResourceManager* manager = new QnoResourceManager;
  static std::vector<uint8_t> bytes;
  manager->Clear();  // closes the stream over `bytes` before they change
  bytes = Archive(blobs);
  FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!stream || manager->AddWadStream(stream) != 0) return nullptr;
  return manager;
}

// A 3 x 3 16-bit picture, for blobs that name pictures by id.
inline std::vector<uint8_t> Picture() {
  uint8_t* b = ZorvaBitmap::CreateDefault(3, 3, 16);
  const uint32_t size = QBMP_HEADER_SIZE + qno_rd32(b, 20);
  for (uint32_t i = QBMP_HEADER_SIZE; i < size; ++i) b[i] = static_cast<uint8_t>(i * 37);
  std::vector<uint8_t> v(b, b + size);
  std::free(b);
  return v;
}

}  // namespace zorfuzz
