#pragma once
// Stand-ins for the game model's variables and for the interface controller,
// so that window tests run without the rest of the game.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_var.h"

class FakeVar : public CWindowVar {
 public:
  FakeVar(EVarType type, std::string name, double value = 0, double lo = 0, double hi = 100, double step = 1)
      : m_type(type), m_name(std::move(name)), m_value(value), m_min(lo), m_max(hi), m_step(step) {}
  EVarType GetVarType() const override { return m_type; }
  const char* GetName() const override { return m_name.c_str(); }
  int GetValue(double* out, bool fromSource) override {
    if (!m_readable) return 1;
    if (fromSource) ++m_sourceReads;
    *out = m_value;
    return 0;
  }
  int SetValue(double v) override {
    m_value = std::clamp(v, m_min, m_max);
    ++m_sets;
    return 0;
  }
  int Refresh() override {
    ++m_refreshes;
    return 0;
  }
  int GetMin(double* out) override {
    if (!m_ranged) return 1;
    *out = m_min;
    return 0;
  }
  int GetMax(double* out) override {
    if (!m_ranged) return 1;
    *out = m_max;
    return 0;
  }
  int StepUp() override { return SetValue(m_value + m_step); }
  int StepDown() override { return SetValue(m_value - m_step); }
  int SetWorldOject(CWorldObj* owner) override {
    m_owner = owner;
    return 0;
  }
  int Destroy() override {
    ++s_destroyed;
    return CWindowVar::Destroy();
  }

  EVarType m_type;
  std::string m_name;
  double m_value, m_min, m_max, m_step;
  bool m_readable = true;
  // Without a range the variable answers neither minimum nor maximum.
  bool m_ranged = true;
  int m_sourceReads = 0;
  int m_sets = 0;
  int m_refreshes = 0;
  CWorldObj* m_owner = nullptr;
  // Destroy() calls of all fake variables, for the owners' clean-up.
  static inline int s_destroyed = 0;
};

// Keeps a render list and answers the controller's questions from fields.
class FakeHost : public CGuiHost {
 public:
  FakeHost() { CGuiHost::Install(this); }
  ~FakeHost() override { CGuiHost::Install(nullptr); }

  bool IsWindowOpen(int id) override {
    return std::any_of(renderList.begin(), renderList.end(), [id](CScreenWindow* w) { return w->GetID() == id; });
  }
  void AddToRenderList(CScreenWindow* w) override { BringToFront(w); }
  void RemoveFromRenderList(CScreenWindow* w) override { std::erase(renderList, w); }
  void BringToFront(CScreenWindow* w) override {
    std::erase(renderList, w);
    renderList.insert(renderList.begin(), w);
    ++frontCalls;
  }
  int GetYesNoWarningNumber() override { return yesNo; }
  void ClearPendingConfirmation() override { ++pendingCleared; }
  void SetType13PressFlag() override { ++type13Presses; }
  bool IsLeftButtonHeld() override { return leftHeld; }
  int GetThematicMapLayer() override { return layer; }
  void PlaySound(const char* name) override { sounds.push_back(name); }
  bool IsMessageProcessed(int n) override { return processed.count(n) != 0; }
  int GetGameSpeed() override { return speed; }
  void SetGameSpeed(int v) override { speed = v; }
  const char* GetMessageText(int type) override {
    auto it = messages.find(type);
    return it == messages.end() ? nullptr : it->second.c_str();
  }
  double GetPendingRemovalCost() override { return removalCost; }
  bool GetActiveLine(int* number, int* kind) override {
    if (lineNumber < 0) return false;
    *number = lineNumber;
    *kind = lineKind;
    return true;
  }
  const char* GetGltText(int n) override { return n == 0 ? "Bus %i" : "Train %i"; }
  const char* GetNameInput(int* cursor, bool* open) override {
    *cursor = nameCursor;
    *open = nameOpen;
    return name.c_str();
  }
  bool GetIndicator(const char* n, double* value) override {
    auto it = indicators.find(n);
    if (it == indicators.end()) return false;
    *value = it->second;
    return true;
  }
  double GetSimHour() override { return hour; }
  double GetSimYear() override { return year; }

  std::vector<CScreenWindow*> renderList;
  std::vector<std::string> sounds;
  std::map<int, std::string> messages;
  std::map<std::string, double> indicators;
  std::map<int, bool> processed;
  int frontCalls = 0;
  int yesNo = -1;
  int pendingCleared = 0;
  int type13Presses = 0;
  bool leftHeld = false;
  int layer = 0;
  int speed = 18000;
  double removalCost = 0;
  int lineNumber = -1;
  int lineKind = 1;
  std::string name;
  int nameCursor = 0;
  bool nameOpen = false;
  double hour = 5;
  double year = 0;
};

inline QnoInteractionEvent MakeEvent(int type, int x, int y, int button = 0) {
  QnoInteractionEvent e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.button = button;
  return e;
}

inline CAction* MakeAction(EActionType kind, EActionWhen when, EInOutType inout, int p1 = -1, int p2 = -1,
                           int p3 = -1, const char* name = nullptr) {
  CAction* a = new CAction;
  a->Set(kind, when, inout, p1, p2, p3, -1);
  a->SetName(name);
  return a;
}
