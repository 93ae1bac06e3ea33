#include "gui/window_var.h"

#include <cstring>

void CWindowVarList::AddHead(CWindowVar* var) {
  if (!var) return;
  Node* n = new Node{var, m_head, nullptr};
  if (m_head)
    m_head->prev = n;
  else
    m_tail = n;
  m_head = n;
  ++m_count;
}

int CWindowVarList::Remove(CWindowVar* var) {
  for (Node* n = m_head; n; n = n->next) {
    if (n->var != var) continue;
    (n->prev ? n->prev->next : m_head) = n->next;
    (n->next ? n->next->prev : m_tail) = n->prev;
    delete n;
    --m_count;
    return 0;
  }
  return 1;
}

void CWindowVarList::Destroy() {
  while (m_head) {
    CWindowVar* v = m_head->var;
    Remove(v);
    v->Destroy();
    delete v;
  }
}

CWindowVar* CWindowVarList::GetVarByName(const char* name) const {
  if (!name) return nullptr;
  for (Node* n = m_head; n; n = n->next)
    if (n->var->GetName() && std::strcmp(n->var->GetName(), name) == 0) return n->var;
  return nullptr;
}
