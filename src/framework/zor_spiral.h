#pragma once
// The square spiral of cells around a centre: ring after ring from radius 1
// out to the given radius, each ring starting at its corner (cx + r, cy + r)
// and walking towards smaller x, then smaller y, larger x and larger y. The
// centre itself is never visited. The coverage maps of the measures and the
// interface's searches share it.
class ZorSpiral {
 public:
  void Init(int cx, int cy, int radius) {
    m_Cx = m_X = m_StartX = cx;
    m_Cy = m_Y = m_StartY = cy;
    m_Max = radius;
    m_R = 0;
    m_Dx = m_Dy = 0;
  }
  // The next cell; false when the spiral is exhausted.
  bool Next(int& x, int& y) {
    if (m_X == m_StartX && m_Y == m_StartY) {
      if (++m_R > m_Max) return false;
      m_X = m_StartX = m_Cx + m_R;
      m_Y = m_StartY = m_Cy + m_R;
      m_Dx = -1;
      m_Dy = 0;
    }
    if (m_Dx == -1) {
      if (m_X <= m_Cx - m_R) m_Dx = 0, m_Dy = -1;
    } else if (m_Dy == -1) {
      if (m_Y <= m_Cy - m_R) m_Dx = 1, m_Dy = 0;
    } else if (m_Dx == 1) {
      if (m_X >= m_Cx + m_R) m_Dx = 0, m_Dy = 1;
    } else if (m_Dy == 1) {
      if (m_Y > m_Cy + m_R) {
        m_Dx = -1;
        m_Dy = 0;
        return false;
      }
    } else {
      return false;
    }
    x = m_X;
    y = m_Y;
    m_X += m_Dx;
    m_Y += m_Dy;
    return true;
  }

 private:
  int m_Cx = 0, m_Cy = 0, m_Max = 0, m_R = 0, m_X = 0, m_Y = 0, m_StartX = 0, m_StartY = 0;
  int m_Dx = 0, m_Dy = 0;
};
