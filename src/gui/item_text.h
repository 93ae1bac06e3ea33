#pragma once
// The item that draws text: labels, live values of variables in sentences,
// messages, the savegame name input with its blinking cursor, line names.
#include <cstdint>
#include <string>

#include "gui/item.h"
#include "gui/text_markup.h"

class QnoBitmapFont;

class CItemText : public CItem {
 public:
  // Room for the texts: 254 characters and the terminator.
  static constexpr int kTextSize = 255;

  explicit CItemText(CDialog* dialog = nullptr) : CItem(dialog) {}
  ~CItemText() override;

  using CItem::Create;
  int Create(int x, int y, int w, int h, EItemType type, const char* text, EHO h_align, EVO v_align, int reserved,
             int font, int colour, int highlightColour, int a, int b, const char* englishText);
  int Destroy() override;
  void Reuse(std::vector<CAction*>& spare) override;
  int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) override;
  int NameCursorAt(int x) override;

  // Replaces the shown text with a copy; "" blanks the item, null is
  // ignored.
  void SetText(const char* text);
  int GetWidth(const char* text);
  int GetHeight(const char* text);
  // The variable's value as shown; out (capacity bytes) stays as it was when
  // the value cannot be read.
  int VarUpdate(CWindowVar* var, char* out, size_t capacity);

  const char* GetText() const { return m_text; }
  // A verbatim item shows its text as it stands: names of files and texts
  // from data files are never read as markup.
  void SetVerbatim(bool on) { m_verbatim = on; }
  const char* GetEnglishText() const { return m_textEN; }
  const char* GetDynamicText() const { return m_hasDynamic ? m_dynamic.c_str() : nullptr; }
  EHO GetHAlign() const { return m_hAlign; }
  int GetFont() const { return m_font; }
  int GetRenderCounter() const { return m_renderCounter; }

  // The display and resources that widths are measured with between renders.
  static void SetMeasureContext(QnoDisplay* display, QnoResourceManager* resources);
  // The text cursor of the name input: -1 when none is shown.
  static int GetUnderlinePos() { return s_underlinePos; }
  static int GetUnderlineSize() { return s_underlineSize; }
  // Pixel value of a text colour index 0-4; 0 for any other.
  static uint32_t ResolveColour(QnoDisplay* display, int index);

 private:
  // Whether this item type wraps its runs (the message texts).
  bool IsMessageType() const;
  // The text to show, after language, messages and object names.
  std::string ChooseText();

  char m_text[kTextSize] = {};
  char m_textEN[kTextSize] = {};
  EHO m_hAlign = HO_CENTER;
  EVO m_vAlign = VO_CENTER;
  int m_reserved = 0;
  int m_font = 0;
  int m_colour = 0;
  int m_highlightColour = 0;
  int m_a = 0;
  int m_b = 0;
  int m_renderCounter = 0;
  std::string m_dynamic;
  bool m_hasDynamic = false;
  bool m_verbatim = false;

  static int s_underlinePos;
  static int s_underlineSize;
  static uint32_t s_blinkTime;
  static QnoDisplay* s_display;
  static QnoResourceManager* s_resources;
};
