#pragma once
// Items drawn from colours alone: a filled or framed rectangle, and a
// horizontal bar showing a value between a minimum and a maximum.
#include "gui/item.h"

class CItemRect : public CItem {
 public:
  explicit CItemRect(CDialog* dialog = nullptr) : CItem(dialog) {}
  using CItem::Create;
  // colour is 0xRRGGBB; extra is not kept.
  int Create(int x, int y, int w, int h, EItemType type, EFilledType fill, int colour, int extra);
  int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) override;
  void SetHighlightColour(int colour) { m_highlightColour = colour; }

 private:
  int m_colour = 0;
  int m_highlightColour = 0;
  EFilledType m_fill = FILL_SOLID;
};

class CItemBalkenMinMax : public CItem {
 public:
  explicit CItemBalkenMinMax(CDialog* dialog = nullptr) : CItem(dialog) {}
  using CItem::Create;
  // Colours are display pixel values.
  int Create(int x, int y, int w, int h, EItemType type, EFilledType fill, int colourA, int colourB);
  int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) override;
  // The value and range the bar shows (after the fall-backs).
  void GetShownRange(double* value, double* lo, double* hi);

 private:
  int m_colourA = 0;
  int m_colourB = 0;
  EFilledType m_fill = FILL_SOLID;
};
