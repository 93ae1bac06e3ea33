#pragma once
// Text with markup: plain text gathered into runs, variable tokens expanded,
// runs positioned, aligned, and (for message texts) wrapped into lines. The
// engine measures and draws through a painter, so it runs without a screen.
#include <cstddef>
#include <functional>
#include <string>

#include "gui/gui_types.h"

class CTextPainter {
 public:
  virtual ~CTextPainter() = default;
  // Width in pixels of the text.
  virtual int Measure(const char* text) = 0;
  virtual void Draw(int x, int y, const char* text, int colour) = 0;
};

// Where and how the text of one item goes.
struct CTextLayout {
  int left = 0;    // the item's left edge on the screen
  int top = 0;     // the item's top edge on the screen
  int width = 0;   // the item's width: alignment and wrapping
  int startX = 0;  // where the first run starts
  int startY = 0;
  EHO h = HO_CENTER;
  EVO v = VO_CENTER;
  int colour = 0;
  bool wrap = false;  // message texts wrap runs wider than the item
  bool measure = false;
};

class CTextMarkup {
 public:
  // Bounds of one pass: the gathered text, the scan, and a token's fields.
  static constexpr size_t kMaxGathered = 5999;
  static constexpr int kMaxSteps = 1000;
  static constexpr int kMaxFields = 12;
  static constexpr int kLineStep = 15;
  static constexpr int kNewlineMeasure = 7;

  // The formatted value of the variable called name; false when unknown.
  using VarLookup = std::function<bool(const char* name, std::string* out)>;

  // Processes the whole text; returns the height of the drawn (or, in
  // measure mode, measured) runs.
  static int Run(const char* text, const CTextLayout& layout, CTextPainter& painter, const VarLookup& lookup);

  // Draws one run at (x, *y) aligned in the item. Wrapped runs move *y down
  // by one step per line; returns the number of lines, height the pixels.
  static int RenderRun(const char* text, int x, int* y, EHO h, const CTextLayout& layout, CTextPainter& painter,
                       int& height);

  // Splits "a,b,c" (the inside of a token) into at most kMaxFields fields.
  static int SplitFields(const char* begin, const char* end, std::string* fields);

  // A value formatted as a window shows it, into out (capacity bytes).
  // removalCost stands in for string variables. False leaves out unchanged.
  static bool FormatValue(EVarType type, double value, int language, double removalCost, char* out,
                          size_t capacity);
  // Inserts thousands separators in place; 1 when the text changed.
  static int InsertTausenderPunkt(char* number, size_t capacity, int language);
};
