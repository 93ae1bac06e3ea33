// The world's input filter: the first receiver of every input event. It
// answers the start-up, yes/no, load, save and removal windows from the
// keyboard, edits the savegame name while its entry is active and runs the
// debug keys, and only then hands the event to the interface and the map.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cybernet/cyber_net.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"
#include "gui/action.h"
#include "gui/item.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "ui/small_map.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/statistik.h"

uint32_t m_TicksLastKey = 0u - 1000u;

namespace {

constexpr int kWelcome = 237;
constexpr int kHotlineA = 245;
constexpr int kHotlineB = 246;
constexpr int kYesNo = 247;
constexpr int kLoadSave = 160;
constexpr int kLoadPage = 161;
constexpr int kSavePage = 162;
constexpr int kOptionsPage = 163;
constexpr int kRemoval = 223;
constexpr int kRemovalA = 243;
constexpr int kRemovalB = 244;
// Key downs this soon after a Return or a typed key are dropped (ms).
constexpr uint32_t kKeyGuardMs = 50;
// A load this soon after the last one is not asked about (ms).
constexpr uint32_t kLoadAgainAskMs = 60000;
constexpr int kMaxTypedName = 13;
// The debug lock: these three keys, let go in any order, switch the debug
// keys on and off.
constexpr int kChordKeys[3] = {'Q', 'J', 'K'};

// SDL's Home and End keys, which pass the key translation unchanged.
constexpr int kKeyHome = SDLK_HOME;
constexpr int kKeyEnd = SDLK_END;

bool IsNameCharacter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// What a key types into the name, 0 for nothing: the character the key
// shows on the player's keyboard, as the platform reports it, or, where it
// reports none, the key's code (letters arrive as capitals). Names hold
// letters, digits, '-' and '_' only.
int TypedCharacter(int key, int character) {
  const int c = character != 0 ? character : key;
  return IsNameCharacter(c) ? c : 0;
}

}  // namespace

bool CZorvaWorld::IsOpen(int window) const { return m_pUserInt && m_pUserInt->IsWindowOpen(window) == 0; }

void CZorvaWorld::CloseWindows(std::initializer_list<int> windows) {
  if (!m_pUserInt) return;
  for (int w : windows) m_pUserInt->DeActivateWindow(w, 0);
}

void CZorvaWorld::InputFocusLost() {
  if (m_pUserInt) m_pUserInt->InputFocusLost();
}

int CZorvaWorld::InputFilter(QnoInteractionEvent* event, QnoView* view) {
  if (!m_InputAccepted || !event) return 0;
  const bool down = event->type == QNO_EVENT_KEYDOWN;
  const bool up = event->type == QNO_EVENT_KEYUP;
  const int key = event->x;

  // The debug keys and their lock act only where the settings file allows
  // them, and letters typed into the name field are the name's: they never
  // count toward the lock.
  const bool debugKeys = !m_EntryActive && DebugKeysAllowed();
  if (down && debugKeys && key == 'H' && CUserInt::m_ActivateDebugInfo == 1)
    m_ShowMicroZellen = m_ShowMicroZellen ? 0 : 1;
  if (up && debugKeys)
    for (int i = 0; i < 3; ++i)
      if (key == kChordKeys[i]) {
        m_ChordFlags[i] = 1;
        if (m_ChordFlags[0] && m_ChordFlags[1] && m_ChordFlags[2]) {
          CUserInt::m_ActivateDebugInfo = CUserInt::m_ActivateDebugInfo ? 0 : 1;
          m_ChordFlags[0] = m_ChordFlags[1] = m_ChordFlags[2] = 0;
        }
      }

  if (down) {
    // What has passed since the last key, in unsigned ticks: right across
    // the wrap of the tick count.
    const uint32_t now = kfx_GetTicks();
    if (now - m_TicksLastKey <= kKeyGuardMs) return 0;
    if (key == 'N') {
      if (IsOpen(kYesNo))
        CloseWindows({kYesNo});
      else if (IsOpen(kRemoval) || IsOpen(kRemovalA) || IsOpen(kRemovalB))
        CloseWindows({kRemovalA, kRemovalB, kRemoval});
    } else if (key == QNO_KEY_RETURN) {
      m_TicksLastKey = now;
      AnswerReturn();
      return 0;
    }
  }

  if (m_EntryActive && (down || up)) {
    EditName(key, event->character, up);
    return 0;
  }

  if (up && debugKeys && CUserInt::m_ActivateDebugInfo == 1)
    if (const int result = DebugKey(key); result != 2) return result;

  if (m_pUserInt && m_pUserInt->InputFilter(event, view) == 0) return 0;
  if (m_pIsoWelt && m_pIsoWelt->InputFilter(event, view) == 0) return 0;
  if ((down || up) && (key == 26 || key == 68)) return 0;
  return 1;
}

void CZorvaWorld::AnswerReturn() {
  const uint32_t now = kfx_GetTicks();
  if (IsOpen(kWelcome) || IsOpen(kHotlineA) || IsOpen(kHotlineB)) {
    if (IsOpen(kHotlineB) && GetEnvValue("WINDOWHOTLINE", 0) == 1) {
      CloseWindows({kWelcome, kHotlineB});
      ActivateWindow(kHotlineA, 1);
      return;
    }
    CloseWindows({kWelcome, kHotlineA, kHotlineB});
    ActivateWindow(kLoadSave, 1);
    CloseWindows({kSavePage, kOptionsPage});
    ActivateWindow(kLoadPage, 1);
    StartTutorialFirstTime();
    if (m_pUserInt) CUserInt::selObj.welcome[0] = CUserInt::selObj.welcome[1] = 1;
    m_WelcomeDone = 1;
    SetPause(false);
    m_TicksAfterLoad = now;
    return;
  }
  if (IsOpen(kYesNo)) {
    CAction* action = nullptr;
    CItem* item = nullptr;
    if (!m_pUserInt) return;
    m_pUserInt->GetAchtungWindowJaNeinItemAction(action, item, true);
    if (!action || !item) return;
    // The yes button's action runs from a copy: answering closes the
    // question window, which owns the original.
    std::unique_ptr<CAction> copy(action->Clone());
    CActionSelection selected;
    selected.AddHeadAction(copy.get());
    CActionList passUp;
    item->ActionAuswertung(&passUp, &selected, 1, 1, INOUT_INSIDE, INOUT_INSIDE);
    CloseWindows({kYesNo});
    return;
  }
  if (IsOpen(kSavePage)) {
    if (CheckForSaveGame() != 1)
      m_pUserInt->SetDoLater(DOLATER_SAVE);
    else
      m_pUserInt->SetAchtungWindowJaNein(69, 144);
    return;
  }
  if (IsOpen(kLoadPage)) {
    if (CheckForLoadGame() != 1)
      m_pUserInt->SetAchtungWindow(68);
    else if (now - m_TicksAfterLoad < kLoadAgainAskMs)
      LoadGame();
    else
      m_pUserInt->SetAchtungWindowJaNein(71, 147);
    return;
  }
  if (IsOpen(kRemoval) || IsOpen(kRemovalA) || IsOpen(kRemovalB)) {
    RemoveSelectionByKey();
    CloseWindows({kRemovalA, kRemovalB, kRemoval});
  }
}

// Return answers the open removal question with yes, as its yes button does.
void CZorvaWorld::RemoveSelectionByKey() {
  if (!m_pUserInt) return;
  const bool stop = IsOpen(kRemoval);
  m_pUserInt->CheckForRemoveObjectSelected();
  if (!stop) {
    m_pUserInt->RemoveBuildingSelectedBuildingList();
    return;
  }
  const double cost = CUserInt::selObj.removePrice;
  if (m_pUserInt->RemoveSelectedObject() == 0 && m_pDataExchange)
    m_pDataExchange->VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", cost);
}

void CZorvaWorld::AktivateEingabeAt(int cursor) {
  AktivateEingabe();
  const int last = std::min(static_cast<int>(std::strlen(GetLoadSaveName())), kMaxTypedName - 1);
  m_EntryCursor = cursor < 0 ? last : std::min(cursor, last);
}

void CZorvaWorld::EditName(int key, int character, bool up) {
  const int typed = TypedCharacter(key, character);
  const bool editing = typed != 0 || key == QNO_KEY_DELETE || key == QNO_KEY_BACKSPACE || key == QNO_KEY_LEFT ||
                       key == QNO_KEY_RIGHT || key == kKeyHome || key == kKeyEnd;
  if (!editing) return;
  m_TicksLastKey = kfx_GetTicks();
  if (!up) return;
  char* name = m_EntryName;
  name[kMaxTypedName] = '\0';
  const int length = static_cast<int>(std::strlen(name));
  // The cursor stands on a character of the name or right behind it, but
  // never behind a full name: there it stays on the last character, which
  // the next typed one replaces.
  const int last = std::min(length, kMaxTypedName - 1);
  int& cursor = m_EntryCursor;
  cursor = std::clamp(cursor, 0, last);
  if (typed != 0) {
    // The characters behind the cursor move right; in a full name the last
    // one falls off.
    std::memmove(name + cursor + 1, name + cursor, static_cast<size_t>(last - cursor));
    name[cursor] = static_cast<char>(typed);
    name[last + 1] = '\0';
    kfx_strupr(name);
    if (cursor < kMaxTypedName - 1) ++cursor;
  } else if (key == QNO_KEY_DELETE) {
    if (cursor < length) std::memmove(name + cursor, name + cursor + 1, static_cast<size_t>(length - cursor));
  } else if (key == QNO_KEY_BACKSPACE) {
    if (cursor > 0) {
      std::memmove(name + cursor - 1, name + cursor, static_cast<size_t>(length - cursor + 1));
      --cursor;
    }
  } else if (key == QNO_KEY_LEFT) {
    if (cursor > 0) --cursor;
  } else if (key == QNO_KEY_RIGHT) {
    if (cursor < last) ++cursor;
  } else if (key == kKeyHome) {
    cursor = 0;
  } else if (key == kKeyEnd) {
    cursor = last;
  }
}

int CZorvaWorld::DebugKey(int key) {
  switch (key) {
    case QNO_KEY_UP:
      m_GameSpeed = m_GameSpeed + 1000 > 24000 ? 24000 : m_GameSpeed + 1000;
      return 0;
    case QNO_KEY_DOWN:
      m_GameSpeed = m_GameSpeed - 1000 < 1000 ? 1000 : m_GameSpeed - 1000;
      if (m_pIsoWelt) m_pIsoWelt->MakeCompleteSpriteRenderList();
      return 0;
    case 12:
      m_GameSpeed = 500;
      if (m_pSimWelt) m_pSimWelt->ResetDate();
      ResetModelForDebug();
      return 0;
    case 'A':
      SerializeGameLoad("SAVEGAME.DAT");
      m_AccumulatedTime = 0;
      if (m_pUserInt && m_pUserInt->GetTwoDMap()) m_pUserInt->GetTwoDMap()->UpdateAll();
      return 0;
    case 'S':
      SerializeGameStore("SAVEGAME.DAT");
      return 0;
    case 'B':
    case 'X':
      MoreSpaceForDebug(key == 'X' ? 1 : 0);
      return 0;
    case 'M': {
      FILE* file = std::fopen("WIRKUNG.DEF", "r");
      if (!file) return 1;
      if (CCyberNet* net = m_pSimWelt ? m_pSimWelt->pCyberNet() : nullptr) {
        net->Reset();
        if (net->Read(file) != 0) QNO_LOG("WIRKUNG.DEF could not be read whole");
      }
      std::fclose(file);
      return 0;
    }
    default:
      return 2;
  }
}

// The statistics and the finances start again from their newest values,
// and a scenario has five years from now.
void CZorvaWorld::ResetModelForDebug() {
  if (m_pStatistik) m_pStatistik->SetAllDataOnNewest();
  if (m_pFinanzen) m_pFinanzen->ResetData();
  if (m_pGottModus) m_pGottModus->SetEndeYear(5);
}

// One random amount of space of the kind (0 homes, 1 work), handed on from
// district 1 to district 256: each district builds on its zoned lots and
// passes on what it did not place.
void CZorvaWorld::MoreSpaceForDebug(int kind) {
  if (!m_pLocationFactory) return;
  int amount = zor_random() % 30 + 5;
  for (int district = 1; district <= 256; ++district) m_pLocationFactory->MoreSpaceNeeded2(district, kind, amount);
}
