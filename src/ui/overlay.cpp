#include "ui/overlay.h"

CZorvaWorld* Overlay::m_pWorld = nullptr;

int Overlay::SetSceneWindowDisplaySize(int width, int height) {
  m_SceneWidth = width;
  m_SceneHeight = height;
  return 0;
}
