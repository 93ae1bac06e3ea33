#pragma once
// Behaviour held as data: an action says what to do, on which input and
// under which hit condition, and with which parameters.
#include "gui/gui_types.h"
#include "gui/toolkit_list.h"

class CAction : public CZorvaObject {
 public:
  CAction() = default;
  ~CAction() override;
  CAction(const CAction&) = delete;
  CAction& operator=(const CAction&) = delete;

  int Destroy() override;

  // A copy of every field with its own copy of the name, held by no list.
  CAction* Clone() const;

  void Set(EActionType kind, EActionWhen when, EInOutType inout, int p1, int p2, int p3, int p4);
  void SetName(const char* name);
  const char* GetName() const { return m_name; }

  void IncrementListNumber() { ++m_listCount; }
  void DecrementListNumber() { --m_listCount; }
  int GetListNumber() const { return m_listCount; }

  EActionType m_kind = 1;
  EActionWhen m_when = WHEN_MOVE;
  EInOutType m_inout = INOUT_ALWAYS;
  int m_p1 = 0;
  int m_p2 = 0;
  int m_p3 = 0;
  int m_reserved = -1;
  int m_p4 = 0;

 private:
  char* m_name = nullptr;
  int m_listCount = 0;
};

class CActionList : public CToolkitList<CAction> {
 public:
  int Destroy() {
    DestroyAll();
    return 0;
  }
  int AddHeadAction(CAction* action) { return AddHead(action) == 0 ? 0 : 1; }
  // Returns 1, as the lists of the toolkit do.
  int DestroyAction(CAction* action) {
    DestroyElement(action);
    return 1;
  }
  void SetupActionCount() { SetupCount(); }
  CAction* GetNextAction() { return GetNext(); }
  // The given action is returned next, then the walk goes on where it was;
  // the list itself does not change.
  void InsertTemporaryNextAction(CAction* action);
  CAction* GetActionByID(int) { return nullptr; }
  // Copies every action of this list with the given when-value to the head
  // of collected.
  void CopyMatching(CActionList* collected, EActionWhen when) const;
};
