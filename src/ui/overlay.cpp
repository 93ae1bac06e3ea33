#include "ui/overlay.h"

CZorvaWorld* Overlay::m_pWorld = nullptr;

int Overlay::SetSceneWindowDisplaySize(int width, int height) {
  m_SceneWidth = width;
  m_SceneHeight = height;
  return 0;
}

void Overlay::SetCursorID(unsigned int id, unsigned char state) {
  if (id == 0) return;
  m_CursorID = id;
  m_CursorState = state;
}
