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

  // The animated mouse cursor: resource id and state (id 0 is ignored).
  virtual void SetCursorID(unsigned int id, unsigned char state);
  void ResetCursor() { m_SavedCursorID = 0; }
  // Saves the current cursor when none is saved.
  void BackupCursor() {
    if (m_SavedCursorID == 0) m_SavedCursorID = m_CursorID;
  }
  void RestoreCursor() { SetCursorID(m_SavedCursorID, 0); }
  unsigned int GetCursorID() const { return m_CursorID; }
  unsigned char GetCursorState() const { return m_CursorState; }

 private:
  int m_SceneWidth = 0;
  int m_SceneHeight = 0;
  unsigned int m_CursorID = 0;
  unsigned char m_CursorState = 0;
  unsigned int m_SavedCursorID = 0;
};
