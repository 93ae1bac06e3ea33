#include "framework/zor_spiral.h"

void ZorSquareSpiral::Init(int cx, int cy, int radius) {
  m_Cx = m_X = m_StartX = cx;
  m_Cy = m_Y = m_StartY = cy;
  m_Max = radius;
  m_R = 0;
  m_Dx = m_Dy = 0;
}

bool ZorSquareSpiral::Next(int& x, int& y) {
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
