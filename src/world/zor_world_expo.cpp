// The exhibition's start on its own map and its part of every turn.
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "model/gott_modus.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

constexpr int kFirstPage = 300, kFirstPageEn = 400;
constexpr int kExpoSpeedMs = 3000;
constexpr int kCentreX = 42, kCentreY = 42;

// Every window of the chain, German and English.
bool IsChainWindow(int id) { return (id >= 300 && id <= 332) || (id >= 400 && id <= 423); }

}  // namespace

void CZorvaWorld::ExpoStart() {
  CScreenWindow* top = CUserInt::topWindow;
  if (top)
    for (int id = 300; id <= 423; ++id)
      if (IsChainWindow(id)) top->DeActivateWindow(id, static_cast<EOverType>(0));
  m_pGottModus->m_ExpoLanguage = 0;
  m_pGottModus->SetGameModus(GAME_EXPO);
  g_ZoomStufe = ISO_ZOOM_2;
  // A backslash names no file here; the exhibition's game lives in SaveGame.
  if (SerializeGameLoad("SaveGame/EXPO.EXD") != 0) QNO_ERROR(QNO_SEV_ERROR, "The exhibition's map could not be loaded");
  // The game's record brings its own mode: the exhibition stays one.
  m_pGottModus->SetGameModus(GAME_EXPO);
  m_pGottModus->SetExpoModus(EXPO_NONE);
  m_pGottModus->SetExpoState(EXPO_IDLE);
  m_pGottModus->m_ExpoLanguage = 0;
  m_Blocked = 0;
  ActivateWindow(kFirstPage, 1);
  m_pIsoWelt->SetIsoCenter(kCentreX, kCentreY);
  m_GameSpeed = kExpoSpeedMs;
  m_pGottModus->Expo_RefreshLastMove();
}

bool CZorvaWorld::ExpoTurn() {
  if (!m_pGottModus || m_pGottModus->GetGameModus() != GAME_EXPO || CUserInt::m_ActivateDebugInfo) return false;
  CGottModus* god = m_pGottModus;
  const bool idle = static_cast<int32_t>(kfx_GetTicks() - god->Get_LastMoveTimeOut()) >= 0;
  if (idle) {
    // A visitor who walked away leaves the next one the first page; one
    // who is still there has not moved on yet.
    const bool atStart = CGottModus::GetExpoModus() == EXPO_NONE &&
                         (m_pUserInt->IsWindowOpen(kFirstPage) == 0 || m_pUserInt->IsWindowOpen(kFirstPageEn) == 0);
    if (!atStart) m_ExpoRestart = true;
    god->Expo_RefreshLastMove();
  }
  if (m_ExpoRestart) {
    m_ExpoRestart = false;
    QNO_LOG("Exhibition: back to the start");
    ExpoStart();
    SetPause(false);
    if (m_pUserInt) m_pUserInt->SetToolStandard();
    return true;
  }
  god->Expo_CheckWarningWindow();
  god->Expo_TimeRating();
  return false;
}
