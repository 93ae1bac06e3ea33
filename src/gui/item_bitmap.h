#pragma once
// Picture items: buttons, pictures, animations, and the displays that take a
// picture's place: clock, date, thematic map, charts, indicator bars,
// surrounding region, slider knob and title bar.
#include "gui/item.h"

class QnoAniMotor;

class CItemBitmap : public CItem {
 public:
  explicit CItemBitmap(CDialog* dialog = nullptr) : CItem(dialog) {}
  ~CItemBitmap() override;

  using CItem::Create;
  // res2 and res3 are the English versions of res0 and res1.
  int Create(int x, int y, int w, int h, EItemType type, int res0, int res1, int res2, int res3);
  int Destroy() override;
  // Keeps its animation player, which starts the next picture afresh.
  void Reuse(std::vector<CAction*>& spare) override;
  int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) override;
  int OnPlayloopTurn() override;
  using CItem::InputFilter;
  int InputFilter(QnoInteractionEvent*, QnoView*) { return 0; }

  // The two-sided indicator bar around 0.5: green to the right, red to the
  // left.
  void RenderBalken(QnoDisplay* display, float value, int leftEnd, int yLeft, int rightStart, int yRight,
                    int halfWidth, int height);

  // The frame an animated button shows now, before the level is added.
  int ButtonFrame(QnoResourceManager* resources);
  int GetCurrentFrame() const { return m_frame; }
  QnoAniMotor* GetMotor() const { return m_motor; }

 private:
  int Picture(int german, int english) const;
  void DrawAnimated(QnoDisplay* display, QnoResourceManager* resources, int picture, int frame, int cx, int cy);
  void RenderIndicators(QnoDisplay* display, int X, int Y);
  void RenderLoadChart(QnoDisplay* display, int X, int Y);
  void RenderKnob(QnoDisplay* display, int X, int Y, int w, int h);
  void RenderTitleBar(QnoDisplay* display, QnoResourceManager* resources, int X, int Y);

  QnoAniMotor* m_motor = nullptr;
  int m_frame = 0;
};
