#pragma once
// The interface's drawing base: the world pointer, the scene, window and
// display sizes, the mouse bookkeeping and the animated mouse cursor, which
// the world draws last in every frame.
#include <cstdint>
#include <memory>

#include "framework/qno_event.h"

class CZorvaWorld;
class CUserInt;
class QnoAniMotor;
class QnoDisplay;
class QnoResourceManager;
class QnoSortedList;

class Overlay {
 public:
  // The backup cursor id when nothing is saved.
  static constexpr uint32_t kNoBackup = 0xFFFFFFFFu;

  Overlay();
  virtual ~Overlay();
  Overlay(const Overlay&) = delete;
  Overlay& operator=(const Overlay&) = delete;

  static CZorvaWorld* m_pWorld;
  static CZorvaWorld* GetWorld() { return m_pWorld; }
  static void SetZorvaWorld(CZorvaWorld* world) { m_pWorld = world; }

  // Binds the world and the owning controller; 0.
  virtual int Create(CZorvaWorld* world, CUserInt* owner);
  // Releases the cursor motor and unbinds the world; 0.
  virtual int Destroy();
  virtual int Render(QnoDisplay*) { return 0; }
  // Draws the cursor at the mouse position: 0 when drawn or when there is
  // no cursor motor, 1 when there is nothing to draw into.
  virtual int RenderCursor(void* context);
  virtual int RenderDebug(QnoDisplay*, int) { return 0; }
  // The interface's last drawing pass: the mouse cursor.
  virtual int RenderPass(int, QnoSortedList*, void* context, int, int) { return RenderCursor(context); }
  // Nothing to load: the interface is built in code.
  virtual int LoadFromArchive(unsigned int) { return 0; }
  virtual int Update() { return 0; }
  // Mouse bookkeeping of an event; the mouse handlers run unless a world
  // is bound and not ready. 1, or the button-down handler's result.
  virtual int InputFilter(QnoInteractionEvent* event);
  virtual int OnMouseMove(int, int) { return 0; }
  virtual int OnButtonDown(int, int) { return 0; }
  virtual int OnButtonUp(int, int) { return 0; }
  virtual int OnKeyDown(int) { return 1; }
  virtual int OnKeyUp(int) { return 0; }

  // Sizes: scene, window and display all take w x h; the clip rectangle
  // becomes (0, 0, w, h).
  virtual int SetSceneWindowDisplaySize(int width, int height);
  int GetSceneWidth() const { return m_SceneX; }
  int GetSceneHeight() const { return m_SceneY; }
  int GetSceneSizeX() const { return m_SceneX; }
  int GetSceneSizeY() const { return m_SceneY; }
  int GetWindowSizeX() const { return m_WindowX; }
  int GetWindowSizeY() const { return m_WindowY; }
  int GetDisplaySizeX() const { return m_DisplayX; }
  int GetDisplaySizeY() const { return m_DisplayY; }
  void GetClipRect(int rect[4]) const {
    for (int i = 0; i < 4; ++i) rect[i] = m_Clip[i];
  }

  // The mouse position as the interface last saw it; panning moves it.
  int GetMouseX() const { return m_MouseX; }
  int GetMouseY() const { return m_MouseY; }
  void SetMouseX(int x) { m_MouseX = x; }
  void SetMouseY(int y) { m_MouseY = y; }
  void GetMousePosition(int& x, int& y) const {
    x = m_MouseX;
    y = m_MouseY;
  }
  void SetMousePosition(int x, int y) {
    m_MouseX = x;
    m_MouseY = y;
  }
  int GetPrevMouseX() const { return m_PrevMouseX; }
  int GetPrevMouseY() const { return m_PrevMouseY; }
  int GetRawMouseX() const { return m_RawMouseX; }
  int GetRawMouseY() const { return m_RawMouseY; }
  void SetMouseFix(bool on) { m_MouseFix = on; }
  bool GetMouseFix() const { return m_MouseFix; }

  // The mouse cursor: an animation resource played in a state. Id 0
  // changes nothing.
  virtual void SetCursorID(int id, int state);
  // Saves the cursor unless a backup is already pending.
  virtual void BackupCursor();
  // Brings back the pending backup (a backup of 0 is only forgotten).
  virtual void RestoreCursor();
  // Forgets the backup without changing the cursor.
  void ResetCursor() { m_BackupCursorID = kNoBackup; }
  int GetCursorID() const { return static_cast<int>(m_CursorID); }
  uint32_t GetLastCursorID() const { return m_BackupCursorID; }
  int GetCursorState() const { return m_CursorState; }
  QnoAniMotor* GetCursorMotor() const { return m_Motor.get(); }

 protected:
  // The world's resource manager, null without a world.
  virtual QnoResourceManager* GetCache();
  // The world's display, null without one.
  virtual QnoDisplay* GetOverlayDisplay();
  // True when a world is bound and its ready flag is clear.
  virtual bool WorldNotReady();

  CUserInt* m_Owner = nullptr;

 private:
  uint32_t m_CursorID = 0;
  uint32_t m_BackupCursorID = kNoBackup;
  int m_CursorState = 0;
  int m_Clip[4] = {0, 0, 640, 480};
  int m_SceneX = 640, m_SceneY = 480;
  int m_WindowX = 640, m_WindowY = 480;
  int m_DisplayX = 640, m_DisplayY = 480;
  int m_MouseX = -1, m_MouseY = -1;
  int m_PrevMouseX = -1, m_PrevMouseY = -1;
  int m_RawMouseX = 0, m_RawMouseY = 0;
  bool m_MouseFix = false;
  std::unique_ptr<QnoAniMotor> m_Motor;
};
