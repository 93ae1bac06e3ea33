#pragma once
// The interface's drawing base: the world pointer, the scene size and the
// mouse cursor. For now only what the world uses.

class CZorvaWorld;

class Overlay {
 public:
  virtual ~Overlay() = default;
  static CZorvaWorld* m_pWorld;
  virtual int SetSceneWindowDisplaySize(int width, int height);
  // Nothing to load: the interface is built in code.
  virtual int LoadFromArchive(unsigned int) { return 0; }
  int GetSceneWidth() const { return m_SceneWidth; }
  int GetSceneHeight() const { return m_SceneHeight; }

 private:
  int m_SceneWidth = 0;
  int m_SceneHeight = 0;
};
