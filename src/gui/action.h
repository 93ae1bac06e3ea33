#pragma once
// Behaviour held as data: an action says what to do, on which input and
// under which hit condition, and with which parameters.
#include <cstddef>
#include <vector>

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
  // A copy of every field for the lists of one input event: it reads the
  // source's name, which outlives the event, instead of copying it.
  CAction* CopyForEvent() const;

  // Copies live for one event; their memory is kept for the next one
  // instead of going back to the heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;
  // Freed blocks waiting for the next action (always 0 in sanitizer builds).
  static int FreeBlockCount();

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
  std::size_t m_nameRoom = 0;  // bytes of an owned name's copy
  bool m_ownsName = true;
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

// The actions an item's event or turn selected, by reference to the item's
// own actions: the newest added runs first, as in an action list. The
// references of all selections live in one buffer that keeps its memory,
// so that selecting and running allocates nothing; a selection made while
// another runs stacks above it and must end first.
class CActionSelection {
 public:
  CActionSelection() : m_begin(Refs().size()) {}
  ~CActionSelection() { Refs().resize(m_begin); }
  CActionSelection(const CActionSelection&) = delete;
  CActionSelection& operator=(const CActionSelection&) = delete;

  void AddHeadAction(const CAction* action) {
    if (action) Refs().push_back(action);
  }
  int GetCount() const { return static_cast<int>(Refs().size() - m_begin); }
  // The action that runs i-th (0 = the head).
  const CAction* GetAction(int i) const { return Refs()[Refs().size() - 1 - static_cast<std::size_t>(i)]; }

  // The walk of the interpreter.
  void SetupActionCount() {
    m_cursor = 0;
    m_inserted = nullptr;
  }
  const CAction* GetNextAction() {
    if (const CAction* a = m_inserted) {
      m_inserted = nullptr;
      return a;
    }
    return m_cursor < GetCount() ? GetAction(m_cursor++) : nullptr;
  }
  // The given action is returned next, then the walk goes on where it was.
  void InsertTemporaryNextAction(const CAction* action) { m_inserted = action; }

 private:
  // The references of every live selection, the newest selection on top.
  struct Stack {
    Stack();
    std::vector<const CAction*> refs;
  };
  static std::vector<const CAction*>& Refs() { return s_stack.refs; }
  static Stack s_stack;

  std::size_t m_begin;
  int m_cursor = 0;
  const CAction* m_inserted = nullptr;
};
