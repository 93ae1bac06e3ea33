#pragma once
// The interface's drawing base: the world pointer, the scene size and the
// mouse cursor. Stand-in: only what the world uses.

class CZorvaWorld;
class QnoSortedList;

class Overlay {
 public:
  virtual ~Overlay() = default;
  static CZorvaWorld* m_pWorld;
  virtual int SetSceneWindowDisplaySize(int width, int height);
  // Nothing to load: the interface is built in code.
  virtual int LoadFromArchive(unsigned int) { return 0; }
  int GetSceneWidth() const { return m_SceneWidth; }
  // The mouse position as the interface last saw it; panning moves it.
  void GetMousePosition(int& x, int& y) const {
    x = m_MouseX;
    y = m_MouseY;
  }
  void SetMousePosition(int x, int y) {
    m_MouseX = x;
    m_MouseY = y;
  }
  // The mouse cursor: saved, replaced by an animation resource in a state,
  // and brought back.
  virtual void BackupCursor() { m_SavedCursor = m_CursorID; }
  virtual void SetCursorID(int id, int state) {
    m_CursorID = id;
    m_CursorState = state;
  }
  virtual void RestoreCursor() { m_CursorID = m_SavedCursor; }
  int GetCursorID() const { return m_CursorID; }
  // The interface's last drawing pass; it ends with the mouse cursor.
  virtual int RenderPass(int, QnoSortedList*, void*, int, int) { return 0; }
  int GetSceneHeight() const { return m_SceneHeight; }

  // Forgets the saved cursor.
  void ResetCursor() { m_SavedCursor = 0; }
  int GetCursorState() const { return m_CursorState; }

 private:
  int m_SceneWidth = 0;
  int m_SceneHeight = 0;
  int m_MouseX = 0;
  int m_MouseY = 0;
  int m_CursorID = 0;
  int m_CursorState = 0;
  int m_SavedCursor = 0;
};
