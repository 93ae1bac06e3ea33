#pragma once
// What windows need of a game variable, and the owning list that dialogs and
// items keep them in. The game model's variable class implements this
// interface; tests use their own.
#include "framework/qno_object.h"
#include "framework/zor_pointer_list.h"
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
  CWindowVarList() { m_list.Create(); }
  ~CWindowVarList() { Destroy(); }
  CWindowVarList(const CWindowVarList&) = delete;
  CWindowVarList& operator=(const CWindowVarList&) = delete;

  void AddHead(CWindowVar* var) {
    if (var) m_list.AddHeadZorva(var, -1);
  }
  // Unlinks without destroying; 1 when the variable is not in the list.
  int Remove(CWindowVar* var) { return m_list.RemoveZorva(var); }
  // Destroys and deletes every variable.
  void Destroy();
  CWindowVar* GetHead() const { return VarOf(m_list.GetHeadZorvaPointer()); }
  CWindowVar* GetTail() const { return VarOf(m_list.GetTailZorvaPointer()); }
  CWindowVar* GetVarByName(const char* name) const;
  int GetCount() const { return m_list.GetCount(); }

  template <class F>
  void ForEach(F f) const {
    for (CZorvaPointer* n = m_list.GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) f(VarOf(n));
  }

 private:
  static CWindowVar* VarOf(const CZorvaPointer* n) {
    return n ? static_cast<CWindowVar*>(n->GetZorvaObject()) : nullptr;
  }
  // The variables are ours; the pointer list only links them.
  CZorvaList m_list{0};
};
