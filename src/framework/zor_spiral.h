#pragma once
// A search around a centre cell in square rings: ring 1 first, each ring
// from its lower right corner leftwards, up, right and down again; the
// centre itself is never given. The interface searches free cells with it
// and car sharing spreads an outlet's capacity over the districts around it.
class ZorSquareSpiral {
 public:
  // The centre and the largest ring; radius 0 gives no cell.
  void Init(int cx, int cy, int radius);
  // The next cell; false once the last ring is done.
  bool Next(int& x, int& y);

 private:
  int m_Cx = 0, m_Cy = 0, m_Max = 0, m_R = 0, m_X = 0, m_Y = 0, m_StartX = 0, m_StartY = 0;
  int m_Dx = 0, m_Dy = 0;
};
