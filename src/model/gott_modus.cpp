#include "model/gott_modus.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cybernet/cyber_net.h"
#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/statistik.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"

namespace {

constexpr const char* kRecordName = "GOTTMODUS";
// Windows of the scenario: its task, its goal reached, its time run out;
// and the message list closed meanwhile.
constexpr int kTaskWindow = 232, kGoalWindow = CGottModus::kGoalWindowId, kTimeWindow = CGottModus::kTimeWindowId;
constexpr int kMessageListWindow = 217;
constexpr int kTaskMessages = 19, kEndMessages = 20, kTimeOutEntry = 13;

}  // namespace

const char* CGottModus::Node(int i) {
  static const char* const kNodes[kGottWerte] = {"M1",   "M1",   "M3",   "M7",   "M6",   nullptr, nullptr,
                                                  nullptr, nullptr, "K9.2", nullptr, "M2",  "K2.2",  "K1.2",
                                                  "K8.2", "K6.2", "K12.2"};
  return i >= 0 && i < kGottWerte ? kNodes[i] : nullptr;
}

double CGottModus::Dx(const char* name) { return m_pExchange ? m_pExchange->GetVarValue(name) : 0.0; }

double CGottModus::NodeBound(int i, bool max) {
  if (!m_pExchange || !Node(i)) return 0.0;
  const std::string name = std::string("W.") + Node(i);
  return m_pExchange->DoVar(max ? EX_MAX : EX_MIN, name.c_str(), 0.0);
}

int CGottModus::GetNrFromName(const char* name) {
  const char* dot = name ? std::strchr(name, '.') : nullptr;
  if (!dot) return 0;
  char digits[3] = {dot[1], dot[1] ? dot[2] : '\0', '\0'};
  return std::atoi(digits);
}

double CGottModus::DoGottWerte(int i, float v, GottToDo op) {
  if (i < 0 || i >= kGottWerte || op < GOTT_MIN || op > GOTT_SET) return 0.0;
  static const double kSteps[kGottWerte] = {5, 5, 0.1, 25, 0.1, 5, 5, 3, 2500, 1, 1, 1, 1, 1, 1, 1, 1};
  static const double kFixed[kGottWerte][2] = {{0, 0},   {0, 0}, {0, 0}, {0, 0},      {0, 0}, {10, 90},
                                               {10, 90}, {5, 25}, {25000, 250000}, {0, 0}, {0, 15}};
  if (op == GOTT_STEP) return kSteps[i];
  if (op == GOTT_MIN || op == GOTT_MAX) {
    const bool max = op == GOTT_MAX;
    if (!Node(i)) return kFixed[i][max ? 1 : 0];
    if (i == 0) return 100.0 - NodeBound(i, !max);
    if (i == 14 && max) return NodeBound(i, true) / 10.0;
    return NodeBound(i, max);
  }
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  if (op == GOTT_CURRENT) {
    switch (i) {
      case 0:
      case 1: {
        double shares[4] = {0, 0, 0, 0};
        CStatistik* statistik = m_pHost ? m_pHost->Statistik() : nullptr;
        if (statistik) statistik->ModalSplit(true, shares);
        // Car, then public transport.
        return i == 0 ? shares[0] : shares[2];
      }
      case 5:
      case 6:
      case 7: {
        int real[3] = {0, 0, 0};
        if (city) city->GetAgentReal(real[0], real[1], real[2]);
        return real[i - 5];
      }
      case 8: return m_pExchange ? m_pExchange->GetPeople() : 0;
      case 9: return Dx("PTA.USERQUOTE");
      case 10: return Dx("MZ.USERQUOTE");
      case 11: return Dx("PR.PLACES") == 0.0 ? 0.0 : Dx("W.M2");
      case 12: return Dx("AR.USERQUOTE");
      case 13: return Dx("PAR.USERQUOTE");
      case 14: return Dx("CS.USERQUOTEPEOPLE");
      default: return Dx((std::string("W.") + Node(i)).c_str());
    }
  }
  // Set.
  auto node = [&](double value) {
    if (m_pExchange && Node(i)) m_pExchange->SetVarValue((std::string("W.") + Node(i)).c_str(), value);
  };
  auto targets = [&] {
    if (!city) return;
    int t[3] = {0, 0, 0};
    city->GetAgent_Target(t[0], t[1], t[2]);
    for (int k = 0; k < 3; ++k) m_Werte[5 + k] = static_cast<float>(t[k]);
  };
  switch (i) {
    case 0:
      node(100.0 - v);
      m_Werte[1] = 100.0f - v;
      break;
    case 1:
      node(v);
      m_Werte[0] = 100.0f - v;
      break;
    case 5:
    case 6:
    case 7:
      if (city) {
        if (i == 5) city->SetAgentWorker_Target(v);
        if (i == 6) city->SetAgentNoWorker_Target(v);
        if (i == 7) city->SetAgentStudent_Target(v);
      }
      targets();
      m_Werte[i] = v;
      break;
    case 8:
      if (m_pExchange) m_pExchange->SetTargetPeople(static_cast<int>(std::lround(v)));
      break;
    case 10:
      if (m_pHost) m_pHost->SetAdviceCentreQuote(v);
      break;
    case 14: node(v * 10.0); break;
    default: node(v); break;
  }
  return 0.0;
}

int CGottModus::HoldNode(int i, bool hold) {
  if (!Node(i)) return 0;
  CCyberNet* net = m_pExchange ? m_pExchange->GetCyberNet() : nullptr;
  if (!net) {
    QNO_ERROR(QNO_SEV_ERROR, "CGootModus::DoVar() cyber == NULL");
    return 1;
  }
  CCyberNode* n = net->pNode(Node(i));
  if (!n) {
    QNO_ERROR1(QNO_SEV_ERROR, "GootModus::DoVar() Cybernode %s nicht gefunden", Node(i));
    return 1;
  }
  n->SetActive(!hold);
  n->SetActiveIntern(!hold);
  return 0;
}

int CGottModus::SetGottWertActive(bool on, int i, bool nodeOnly) {
  if (i < 0 || i >= kGottWerte) return 1;
  if (!nodeOnly) {
    // The pair of the modal split and the three shares of the groups go
    // together.
    int first = i, last = i;
    if (i <= 1) first = 0, last = 1;
    if (i >= 5 && i <= 7) first = 5, last = 7;
    for (int k = first; k <= last; ++k) {
      m_Werte[k] = static_cast<float>(DoGottWerte(k, 0.0f, GOTT_CURRENT));
      m_Active[k] = on ? 1 : 0;
    }
  }
  return HoldNode(i, on);
}

void CGottModus::ToggleGottWertActive(int i) {
  if (i >= 0 && i < kGottWerte) SetGottWertActive(m_Active[i] == 0, i);
}

int CGottModus::GetVarData(const char* name, double* value) {
  const int i = GetNrFromName(name);
  if (i < 0 || i >= kGottWerte) return 1;
  const bool live = std::strstr(name, "AKTUELL") || !m_Active[i];
  if (value) *value = live ? DoGottWerte(i, 0.0f, GOTT_CURRENT) : m_Werte[i];
  return 0;
}

int CGottModus::SetVarData(const char* name, double value) {
  const int i = GetNrFromName(name);
  if (i < 0 || i >= kGottWerte) return 1;
  // The live value and a free god value are not set: a refusal.
  if (std::strstr(name, "AKTUELL") || !m_Active[i]) return 1;
  HoldNode(i, false);
  m_Werte[i] = static_cast<float>(value);
  DoGottWerte(i, static_cast<float>(value), GOTT_SET);
  HoldNode(i, true);
  return 0;
}

int CGottModus::GetStep(const char* name, float* step) {
  const int i = GetNrFromName(name);
  if (i < 0 || i >= kGottWerte) return 1;
  if (step) *step = static_cast<float>(DoGottWerte(i, 0.0f, GOTT_STEP));
  return 0;
}

int CGottModus::GetVarMin(const char* name, float* min) {
  const int i = GetNrFromName(name);
  if (i < 0 || i >= kGottWerte) return 1;
  if (min) *min = static_cast<float>(DoGottWerte(i, 0.0f, GOTT_MIN));
  return 0;
}

int CGottModus::GetVarMax(const char* name, float* max) {
  const int i = GetNrFromName(name);
  if (i < 0 || i >= kGottWerte) return 1;
  if (max) *max = static_cast<float>(DoGottWerte(i, 0.0f, GOTT_MAX));
  return 0;
}

// ---- modes and scenarios -------------------------------------------------------------------------

int CGottModus::SetGameModus(EGameModus mode) {
  if (mode == GAME_EXPO) {
    // A fresh exhibition: no task chosen, no stop placed, nothing built.
    m_ExpoFields.warningWindow = -1;
    m_ExpoModus = EXPO_NONE;
    m_ExpoState = EXPO_IDLE;
    m_ExpoFields.stopCount = 0;
    Expo_ResetTasks();
  }
  m_GameModus = mode;
  return 0;
}

void CGottModus::SetGottActive() {
  m_GameModus = GAME_GOD;
  CMessage* message = m_pExchange ? m_pExchange->Context().Message() : nullptr;
  if (message) message->SetBeraterZielMessage();
  if (CIndikatoren* indikatoren = m_pHost ? m_pHost->Indikatoren() : nullptr) indikatoren->SetStandardMessage();
}

void CGottModus::GetSzenario(int* scenario, int* indicator, float* target) const {
  if (scenario) *scenario = m_Szenario;
  if (indicator) *indicator = m_SzenarioIndicator;
  if (target) *target = m_SzenarioTarget;
}

void CGottModus::SetSzenario(int scenario, int indicator, float target, int years) {
  m_Szenario = scenario;
  m_SzenarioIndicator = indicator;
  m_SzenarioTarget = target;
  m_ShowTask = m_EndNotShown = 1;
  SetEndeYear(years);
  CMessage* message = m_pExchange ? m_pExchange->Context().Message() : nullptr;
  if (message) message->SetBeraterZielMessage();
}

void CGottModus::SetEndeYear(int years) {
  if (years == -1) {
    m_EndYear = -1;
    return;
  }
  CSimWelt* sim = m_pExchange ? m_pExchange->GetSimulation() : nullptr;
  const STime now = sim ? STime::FromDate(sim->Date()) : STime{0, 1, 0, 0.0f};
  m_EndHour = now.hour;
  m_EndDay = now.day;
  m_EndYear = now.year + years;
  m_EndFYear = now.fyear + static_cast<float>(years);
}

void CGottModus::ShowAufgabeWindow() {
  if (m_GameModus != GAME_SCENARIO || m_Szenario != 0 || !m_ShowTask) return;
  CGrowthContext* context = m_pExchange ? &m_pExchange->Context() : nullptr;
  if (CMessage* message = context ? context->Message() : nullptr)
    message->AddMessage(kTaskMessages, m_SzenarioIndicator);
  if (context) {
    context->ActivateWindow(kTaskWindow);
    context->DeActivateWindow(kMessageListWindow);
  }
  if (m_pHost) m_pHost->SetBlocked(2);
  m_ShowTask = 0;
}

bool CGottModus::CheckForSzenarioEnde(STime now) {
  if (m_GameModus != GAME_SCENARIO) return false;
  CGrowthContext* context = m_pExchange ? &m_pExchange->Context() : nullptr;
  CMessage* message = context ? context->Message() : nullptr;
  CIndikatoren* indikatoren = m_pHost ? m_pHost->Indikatoren() : nullptr;
  if (m_Szenario == 0 && m_EndNotShown && indikatoren &&
      indikatoren->GetIndikatorWert(m_SzenarioIndicator) > m_SzenarioTarget) {
    ShowEnd(kGoalWindow, message, context);
    m_EndNotShown = 0;
  }
  if (m_EndYear != -1 && m_EndYear < now.year && m_EndNotShown) {
    ShowEnd(kTimeWindow, message, context);
    m_EndNotShown = 0;
    if (!(m_pHost && m_pHost->DebugInfo())) m_GameModus = GAME_NORMAL;
  }
  return false;
}

// The goal window holds the game until the player answers; both pause it.
void CGottModus::ShowEnd(int window, CMessage* message, CGrowthContext* context) {
  if (message) {
    message->AddMessage(kEndMessages, window == kGoalWindow ? m_SzenarioIndicator : kTimeOutEntry);
    if (window == kGoalWindow) message->SelectEvent(0);
  }
  if (context) context->ActivateWindow(window);
  if (window == kGoalWindow && m_pHost) m_pHost->SetBlocked(1);
  if (context) {
    if (window == kGoalWindow) context->DeActivateWindow(kMessageListWindow);
    context->SetPause();
  }
}

// Only a game that showed its scenario's end shows it again: the end is
// shown by the scenario's own check alone, so a free game whose savegame
// names an end window shows none and is not paused.
void CGottModus::ShowSavedEnd() {
  if (m_EndWindowShowing == 0 || m_EndNotShown) return;
  CGrowthContext* context = m_pExchange ? &m_pExchange->Context() : nullptr;
  ShowEnd(m_EndWindowShowing, context ? context->Message() : nullptr, context);
}

int CGottModus::OnPlayloopTurn(STime now) { return CheckForSzenarioEnde(now) ? 1 : 0; }

// ---- the savegame record ---------------------------------------------------------------------

int CGottModus::SerializeGameStore(FILE* file) {
  m_ShowTask = 1;
  ZorRecordWriter out(file);
  out.Header(kRecordName, kPayload);
  out.I32(m_GottFlag);
  for (float v : m_Werte) out.F32(v);
  out.Bytes(m_Active, sizeof m_Active);
  out.Bytes("\0\0\0", 3);
  out.I32(m_GameModus);
  out.I32(m_Szenario);
  out.I32(m_SzenarioIndicator);
  out.F32(m_SzenarioTarget);
  out.U8(m_ShowTask);
  out.U8(m_EndNotShown);
  out.U16(0);
  out.I32(m_EndHour);
  out.I32(m_EndDay);
  out.I32(m_EndYear);
  out.F32(m_EndFYear);
  out.I32(m_Language);
  const SExpoFields& e = m_ExpoFields;
  for (int32_t v : {e.stopType, e.streetType, e.stopCount, e.headway}) out.I32(v);
  for (uint32_t v : {e.ratingDeadline, e.lastMoveDeadline, e.warningDeadline}) out.U32(v);
  out.I32(e.warningWindow);
  return out.Ok() ? 0 : 1;
}

int CGottModus::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const int32_t flag = in.I32();
  float werte[kGottWerte];
  for (float& v : werte) v = in.F32();
  uint8_t active[kGottWerte];
  in.Bytes(active, sizeof active);
  in.Skip(3);
  const int32_t mode = in.I32();
  const int32_t scenario = in.I32(), indicator = in.I32();
  const float target = in.F32();
  in.Skip(1);
  const uint8_t endNotShown = in.U8();
  in.Skip(2);
  const int32_t endHour = in.I32(), endDay = in.I32(), endYear = in.I32();
  const float endFYear = in.F32();
  const int32_t language = in.I32();
  SExpoFields expo;
  for (int32_t* v : {&expo.stopType, &expo.streetType, &expo.stopCount, &expo.headway}) *v = in.I32();
  for (uint32_t* v : {&expo.ratingDeadline, &expo.lastMoveDeadline, &expo.warningDeadline}) *v = in.U32();
  expo.warningWindow = in.I32();
  if (!in.Ok()) return 1;
  bool sound = mode >= GAME_GOD && mode <= GAME_EXPO && std::isfinite(target) && std::isfinite(endFYear);
  for (float v : werte) sound = sound && std::isfinite(v);
  if (!sound) {
    QNO_ERROR(QNO_SEV_ERROR, "CGottModus: a record with a mode or values that cannot be is refused");
    return 1;
  }
  m_GottFlag = flag;
  std::memcpy(m_Werte, werte, sizeof m_Werte);
  for (int i = 0; i < kGottWerte; ++i) m_Active[i] = active[i] ? 1 : 0;
  m_GameModus = static_cast<EGameModus>(mode);
  m_Szenario = scenario;
  m_SzenarioIndicator = indicator;
  m_SzenarioTarget = target;
  m_EndHour = endHour, m_EndDay = endDay, m_EndYear = endYear;
  m_EndFYear = endFYear;
  m_Language = language == 1 ? 1 : 0;
  // The stop count indexes the two stops of the bus task.
  if (expo.stopCount < 0 || expo.stopCount > 2) expo.stopCount = 0;
  m_ExpoFields = expo;
  // A loaded scenario shows its task again; an end the saved game showed
  // (its goal reached, or its years out while the debug display kept the
  // scenario) stays shown, or the load would end the scenario once more.
  // Which end window was on the screen comes in a record of its own, read
  // after this one; a game without it showed none.
  m_ShowTask = 1;
  m_EndNotShown = endNotShown ? 1 : 0;
  m_EndWindowShowing = 0;
  return 0;
}
