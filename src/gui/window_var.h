#pragma once
// What windows need of a game variable, and the owning list that dialogs and
// items keep them in. The game model's variable class implements this
// interface; tests use their own.
#include "framework/qno_object.h"
#include "gui/gui_types.h"

class CWorldObj;

class CWindowVar : public CZorvaObject {
 public:
  ~CWindowVar() override = default;
  virtual EVarType GetVarType() const = 0;
  virtual const char* GetName() const = 0;
  // 0 when the value was read; fromSource asks the owner again.
  virtual int GetValue(double* out, bool fromSource) = 0;
  virtual int SetValue(double value) = 0;
  virtual int Refresh() = 0;
  virtual int GetMin(double* out) = 0;
  virtual int GetMax(double* out) = 0;
  virtual int StepUp() = 0;
  virtual int StepDown() = 0;
  virtual int SetWorldOject(CWorldObj* owner) = 0;
};

// Owns its variables: the head is the one added last.
class CWindowVarList {
 public:
  CWindowVarList() = default;
  ~CWindowVarList() { Destroy(); }
  CWindowVarList(const CWindowVarList&) = delete;
  CWindowVarList& operator=(const CWindowVarList&) = delete;

  void AddHead(CWindowVar* var);
  // Unlinks without destroying; 1 when the variable is not in the list.
  int Remove(CWindowVar* var);
  // Destroys and deletes every variable.
  void Destroy();
  CWindowVar* GetHead() const { return m_head ? m_head->var : nullptr; }
  CWindowVar* GetTail() const { return m_tail ? m_tail->var : nullptr; }
  CWindowVar* GetVarByName(const char* name) const;
  int GetCount() const { return m_count; }

  template <class F>
  void ForEach(F f) const {
    for (Node* n = m_head; n; n = n->next) f(n->var);
  }

 private:
  struct Node {
    CWindowVar* var;
    Node* next;
    Node* prev;
  };
  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  int m_count = 0;
};
