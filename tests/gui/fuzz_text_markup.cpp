// Feeds arbitrary texts through the markup engine: tokens, line breaks,
// alignment and wrapping must neither read past the text nor loop.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "gui/text_markup.h"

namespace {
struct CountingPainter : CTextPainter {
  int Measure(const char* text) override { return static_cast<int>(std::strlen(text)) * width; }
  void Draw(int, int, const char*, int) override { ++draws; }
  int width = 7;
  int draws = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  CountingPainter painter;
  painter.width = data[0] % 16;
  CTextLayout layout;
  layout.width = data[1];
  layout.wrap = (data[1] & 1) != 0;
  layout.h = static_cast<EHO>(1 + data[1] % 3);
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  auto lookup = [](const char* name, std::string* out) {
    *out = std::string(name).substr(0, 40);
    return name[0] != 0;
  };
  CTextMarkup::Run(text.c_str(), layout, painter, lookup);
  char number[64];
  double value = 0;
  std::memcpy(&value, data, size >= 8 ? 8 : 0);
  for (int type = 1; type <= 4; ++type)
    CTextMarkup::FormatValue(static_cast<EVarType>(type), value, data[0] & 1, value, number, sizeof number);
  return 0;
}
