#pragma once
// The bilingual tooltip texts of the buttons, by text id.

class CBalloonHelp {
 public:
  static constexpr int kCount = 246;
  // The text in the current language; null for an id outside 0-232. The
  // table keeps the text: callers must not free it.
  static const char* GetText(int id);
};
