#include "gui/window_var.h"

#include <cstring>

void CWindowVarList::Destroy() {
  while (CZorvaObject* o = m_list.RemoveHeadZorva(true)) {
    auto* v = static_cast<CWindowVar*>(o);
    v->Destroy();
    delete v;
  }
}

CWindowVar* CWindowVarList::GetVarByName(const char* name) const {
  if (!name) return nullptr;
  for (CZorvaPointer* n = m_list.GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CWindowVar* v = VarOf(n);
    if (v->GetName() && std::strcmp(v->GetName(), name) == 0) return v;
  }
  return nullptr;
}
