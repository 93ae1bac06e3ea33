// One turn of the game logic: start-up phases, the automatic save, the
// pacing of the demand simulation and the hourly fan-out.
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/umland.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "network/str_junction_list.h"
#include "world/zor_world_hosts.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

int CZorvaWorld::OnStartOfCycle() { return 0; }

int CZorvaWorld::OnPlayloopTurn() {
  OnStartOfCycle();
  if (m_pStreetNet) m_pStreetNet->BerechneISOAuslastung();
  if (!m_pGottModus) return 1;
  // A restart of the exhibition loads its map: the turn starts afresh next time.
  if (ExpoTurn()) return 0;
  if (m_pSoundObj) m_pSoundObj->OnPlayloopTurn(0, 0);
  const uint32_t now = kfx_GetTicks();

  switch (m_StartupPhase) {
    case 0:
      break;
    case 4:
      if (IsPause()) break;
      if (!GetEnvOnOff("VIDEO") || PlayVorspannVideo() != 0) {
        // A start-up window that does not exist could never be closed, so
        // it must not hold the game.
        const bool opened = ActivateWindow(249, 1) == 0;
        SetPause(opened);
        m_StartupWindowTime = now;
        m_StartupWindow = opened ? 1 : 0;
        m_RenderEmpty = 0;
      }
      m_StartupPhase = 2;
      if (m_pUserInt) m_pUserInt->selObj.welcome[0] = m_pUserInt->selObj.welcome[1] = 0;
      break;
    case 2:
      if (IsPause()) break;
      m_StartupWindow = 0;
      if (GetEnvValue("AUTOLOAD", 0) == 1) {
        if (CheckForAutoLoadGame())
          AutoLoadGame(false);
        else
          LoadStartupGame();
      }
      m_StartupPhase = 1;
      break;
    case 1:
      if (IsPause()) break;
      SetPause(ActivateWindow(GetEnvOnOff("WINDOWHOTLINE") ? 246 : 237, 1) == 0);
      m_StartupPhase = 0;
      m_StartupWindowTime = now;
      break;
    default:
      m_StartupPhase = 0;
      SetPause(false);
      break;
  }

  const int spacing = m_GameSpeed > 6999 ? 3 : 1;

  // A periodic save whose worker is done is waited for now, so that its
  // failure is told at once and not at the next use of the savegames.
  if (m_SaveWrite.Started() && m_SaveWrite.Finished()) WaitForSave();
  if (!m_LastAutoSave) m_LastAutoSave = now;
  if (now - *m_LastAutoSave > kAutoSaveInterval) {
    if (!IsPause()) {
      // Built on the frame, written by the worker: no hitch of the disk.
      m_SaveInBackground = true;
      AutoSaveGame(false);
      m_SaveInBackground = false;
    }
    m_LastAutoSave = now;
  }

  if (m_Blocked != 0 || IsPause() || m_StartupPhase != 0) {
    if (m_pIsoWelt) m_pIsoWelt->VirtualMouseMove();
  } else {
    m_pMessage->CheckWaitMessage();
    m_LastDelta = now - m_LastTurnTicks;
    m_LastTurnTicks = now;
    if (m_pMicroHost) {
      m_pMicroHost->SetFrameTime(m_LastDelta);
      m_pMicroHost->SetWorldTime(now);
    }
    m_TotalTime += m_LastDelta;
    m_AccumulatedTime += m_LastDelta;
    if (m_AccumulatedTime > m_GameSpeed && m_pSimWelt->Computate(spacing) == 0) {
      // The simulation answers with the started hour's slot id, which
      // outgrows 16 bits in a long game; the flag keeps only that an hour
      // was started and waits to be activated.
      m_CalculatedPending = m_pSimWelt->StartNextIntervall(true) != 0 ? 1 : 0;
      if (m_CalculatedPending != 0) {
        m_AccumulatedTime = 0;
        m_pUserInt->GetTwoDMap()->UpdateAll();
      }
    }
    const STime time = STime::FromDate(m_pSimWelt->Date());
    m_pGottModus->OnPlayloopTurn(time);
    RunHourChange();
    m_pIndikatoren->ContinueMap();
    m_pIsoWelt->OnPlayloopTurn();
    m_pOpnv->OnPlayloopTurn();
    if (ComputeWithinBudget(spacing) == 0 && m_CalculatedPending > 0) {
      m_pSimWelt->ActivateCalculatedSlot();
      m_pStreetNet->UpdateCarFlow();
      m_CalculatedPending = 0;
    }
  }
  if (m_pUserInt) m_pUserInt->OnPlayloopTurn();
  return 0;
}

// The demand simulation's slices go on for the turn's share of the frame:
// as many steps as the time allows, not one per turn, so that an hour is
// computed at least as fast at a paced frame rate as when frames ran back
// to back. Returns the step state of the last call.
int CZorvaWorld::ComputeWithinBudget(int spacing) {
  const uint32_t start = kfx_GetTicks();
  int state = m_pSimWelt->Computate(spacing);
  while ((state != 0 || m_pSimWelt->LoadedHourPending()) && kfx_GetTicks() - start < kComputeBudgetMs)
    state = m_pSimWelt->Computate(spacing);
  return state;
}

bool CZorvaWorld::HasComputationDue() const {
  if (!m_pSimWelt || !m_pGottModus || m_Blocked != 0 || IsPause() || m_StartupPhase != 0) return false;
  return m_pSimWelt->ComputateState() != 0 || m_pSimWelt->LoadedHourPending();
}

void CZorvaWorld::RunHourChange() {
  const STime time = STime::FromDate(m_pSimWelt->Date());
  if (m_LastHourTime.year == -1) {
    m_LastHourTime = time;
    m_LastHourTime.hour = time.hour - 1;
  }
  if (m_LastDayTime.year == -1) {
    m_LastDayTime = time;
    m_LastDayTime.hour = time.hour - 1;
  }
  if (time.hour != m_LastDayTime.hour) {
    m_pStreetNet->UpdateCarFlow24(time.hour);
    m_pUserInt->UpdateStreet24h(time.hour);
    m_LastDayTime = time;
  }
  if (time.hour != m_LastHourTime.hour) RunHourlyFanOut(time);
}

void CZorvaWorld::RunHourlyFanOut(const STime& now) {
  const STime last = m_LastHourTime;
  if (now.hour % 3 == 0) m_pIndikatoren->CheckForMessages();
  m_pParkManagement->OnPlayloopTurn(now, last);
  m_pStadtVerwaltung->OnPlayloopTurn(now, last);
  m_pOpnv->OnPlayloopTurn(now, last);
  m_pCarsharing->OnPlayloopTurn(now, last);
  m_pParkRide->OnPlayloopTurn(now, last);
  m_pZorviZentrale->OnPlayloopTurn(now, last);
  m_pAktiveRP->OnPlayloopTurn(now, last);
  m_pPassiveRP->OnPlayloopTurn(now, last);
  m_pUmland->OnPlayloopTurn(now, last);
  m_pPta->OnPlayloopTurn(now, last);
  if (m_IndikatorenCounter == -1 || m_IndikatorenCounter > 9) {
    m_pIndikatoren->OnPlayloopTurn(now, last);
    m_IndikatorenCounter = -1;
  } else {
    ++m_IndikatorenCounter;
  }
  m_pFinanzen->OnPlayloopTurn(now, last);
  m_pDataExchange->CalculateGeneral(now, last);
  if (now.hour == 7 || now.hour == 12 || now.hour == 17) m_pDataExchange->CalculateNextMatrix(now, last);
  if (now.hour % 4 == 0) m_pStatistik->OnPlayloopTurn(now, last);
  if (now.year != last.year) {
    m_pCarsharing->ResetYearData(now, last);
    m_pAktiveRP->ResetYearData(now, last);
    m_pPassiveRP->ResetYearData(now, last);
    m_pPta->ResetYearData(now, last);
    m_pZorviZentrale->ResetYearData(now, last);
    m_pParkManagement->ResetYearData(now, last);
    m_pStadtVerwaltung->ResetYearData(now, last);
    m_pOpnv->ResetYearData(now, last);
    m_pFinanzen->ResetYearData(now, last);
    m_pIndikatoren->NewYear();
  }
  if (now.hour % 4 == 0) m_pStatistik->UpdateWerte_Finanzen(now);
  m_LastHourTime = now;
}

void CZorvaWorld::ResetAfterLoad() {
  m_LastHourTime.year = -1;
  m_LastDayTime.year = -1;
  m_IndikatorenCounter = 0;
}
