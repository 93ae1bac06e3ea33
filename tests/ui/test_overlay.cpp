// The overlay's cursor backup and its mouse bookkeeping.
#include "ui_fixture.h"

namespace {
class Recorder : public Overlay {
 public:
  int OnMouseMove(int x, int y) override {
    calls.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    return 0;
  }
  int OnButtonDown(int, int) override {
    calls.push_back("down");
    return 0;
  }
  int OnButtonUp(int, int) override {
    calls.push_back("up");
    return 0;
  }
  int OnKeyDown(int) override {
    calls.push_back("key");
    return 0;
  }
  std::vector<std::string> calls;
};

QnoInteractionEvent Event(int type, int x, int y) {
  QnoInteractionEvent e{};
  e.type = type;
  e.x = x;
  e.y = y;
  return e;
}

struct OverlayTest : ::testing::Test {
  uitest::ScriptedUiHost host;
  Recorder overlay;
};
}  // namespace

TEST_F(OverlayTest, NestedBackupsReturnToTheFirstSavedCursor) {
  EXPECT_EQ(overlay.GetMouseX(), -1);
  EXPECT_EQ(overlay.GetSceneSizeX(), 640);
  overlay.SetCursorID(1409, 0);
  overlay.BackupCursor();
  overlay.SetCursorID(28426, 1);
  overlay.BackupCursor();
  overlay.SetCursorID(49733, 0);
  overlay.RestoreCursor();
  EXPECT_EQ(overlay.GetCursorID(), 1409);
  EXPECT_EQ(overlay.GetCursorState(), 0);
  EXPECT_EQ(overlay.GetLastCursorID(), Overlay::kNoBackup);
  overlay.RestoreCursor();
  EXPECT_EQ(overlay.GetCursorID(), 1409) << "nothing pending, nothing restored";
  overlay.SetCursorID(0, 3);
  EXPECT_EQ(overlay.GetCursorID(), 1409);
  EXPECT_EQ(overlay.GetCursorState(), 0);
}

TEST_F(OverlayTest, ABackupOfNoCursorIsOnlyForgotten) {
  overlay.BackupCursor();
  EXPECT_EQ(overlay.GetLastCursorID(), 0u);
  overlay.SetCursorID(28489, 0);
  overlay.RestoreCursor();
  EXPECT_EQ(overlay.GetCursorID(), 28489);
  EXPECT_EQ(overlay.GetLastCursorID(), Overlay::kNoBackup);
  overlay.BackupCursor();
  overlay.ResetCursor();
  overlay.SetCursorID(1409, 0);
  overlay.RestoreCursor();
  EXPECT_EQ(overlay.GetCursorID(), 1409);
}

TEST_F(OverlayTest, MouseEventsAreBookedWhetherOrNotTheWorldIsReady) {
  auto move = Event(QNO_EVENT_MOUSEMOVE, 10, 20);
  EXPECT_EQ(overlay.InputFilter(&move), 1);
  auto move2 = Event(QNO_EVENT_MOUSEMOVE, 11, 22);
  overlay.InputFilter(&move2);
  EXPECT_EQ(overlay.GetPrevMouseX(), 10);
  EXPECT_EQ(overlay.GetPrevMouseY(), 20);
  EXPECT_EQ(overlay.GetRawMouseX(), 11);
  auto down = Event(QNO_EVENT_BUTTONDOWN, 30, 40);
  EXPECT_EQ(overlay.InputFilter(&down), 0) << "the handler's answer";
  EXPECT_EQ(overlay.GetPrevMouseX(), 30);

  Overlay::SetZorvaWorld(reinterpret_cast<CZorvaWorld*>(&host));
  host.ready = false;
  auto down2 = Event(QNO_EVENT_BUTTONDOWN, 50, 60);
  EXPECT_EQ(overlay.InputFilter(&down2), 1);
  EXPECT_EQ(overlay.GetMouseX(), 50);
  EXPECT_EQ(overlay.GetMouseY(), 60);
  overlay.SetMouseFix(true);
  auto up = Event(QNO_EVENT_BUTTONUP, 51, 61);
  EXPECT_EQ(overlay.InputFilter(&up), 1);
  EXPECT_FALSE(overlay.GetMouseFix());
  auto key = Event(QNO_EVENT_KEYDOWN, 65, 0);
  EXPECT_EQ(overlay.InputFilter(&key), 1);
  Overlay::SetZorvaWorld(nullptr);
  EXPECT_EQ(overlay.calls, (std::vector<std::string>{"move 10,20", "move 11,22", "down"}));
}

TEST_F(OverlayTest, SizesAndClipFollowTheScreen) {
  overlay.SetSceneWindowDisplaySize(1024, 768);
  int clip[4];
  overlay.GetClipRect(clip);
  EXPECT_EQ(clip[2], 1024);
  EXPECT_EQ(clip[3], 768);
  EXPECT_EQ(overlay.GetWindowSizeY(), 768);
  EXPECT_EQ(overlay.GetDisplaySizeX(), 1024);
}
