#include "gui/action.h"

#include "framework/zor_util.h"

#include <cstdlib>

CAction::~CAction() { Destroy(); }

int CAction::Destroy() {
  std::free(m_name);
  m_name = nullptr;
  return 0;
}

void CAction::Set(EActionType kind, EActionWhen when, EInOutType inout, int p1, int p2, int p3, int p4) {
  m_kind = kind;
  m_when = when;
  m_inout = inout;
  m_p1 = p1;
  m_p2 = p2;
  m_p3 = p3;
  m_reserved = -1;
  m_p4 = p4;
}

void CAction::SetName(const char* name) {
  std::free(m_name);
  m_name = name ? kfx_strdup(name) : nullptr;
}

CAction* CAction::Clone() const {
  CAction* c = new CAction;
  c->Set(m_kind, m_when, m_inout, m_p1, m_p2, m_p3, m_p4);
  c->m_reserved = m_reserved;
  c->SetName(m_name);
  return c;
}

void CActionList::InsertTemporaryNextAction(CAction* action) {
  if (!action) return;
  action->SetNext(m_links.GetCursor());
  m_links.SetCursor(action);
}

void CActionList::CopyMatching(CActionList* collected, EActionWhen when) const {
  if (!collected) return;
  ForEach([&](CAction* a) {
    if (a->m_when == when) collected->AddHeadAction(a->Clone());
  });
}
