#include "gui/action.h"

#include "framework/zor_util.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// Freed action blocks, kept for the next copies. Sanitizer builds hand
// every block back to the heap so that a use after free is still seen.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepFreedActions = false;
#else
constexpr bool kKeepFreedActions = true;
#endif
struct FreeBlock {
  FreeBlock* next;
};
FreeBlock* g_freeActions = nullptr;
int g_freeCount = 0;
// The selection buffer is reserved once for this many references.
constexpr std::size_t kSelectionReserve = 256;
}  // namespace

void* CAction::operator new(std::size_t size) {
  if (kKeepFreedActions && size == sizeof(CAction) && g_freeActions) {
    FreeBlock* block = g_freeActions;
    g_freeActions = block->next;
    --g_freeCount;
    return block;
  }
  return ::operator new(size);
}

void CAction::operator delete(void* p, std::size_t size) noexcept {
  if (!p) return;
  if (kKeepFreedActions && size == sizeof(CAction)) {
    g_freeActions = new (p) FreeBlock{g_freeActions};
    ++g_freeCount;
    return;
  }
  ::operator delete(p);
}

int CAction::FreeBlockCount() { return g_freeCount; }

CAction::~CAction() { Destroy(); }

int CAction::Destroy() {
  if (m_ownsName) std::free(m_name);
  m_name = nullptr;
  m_nameRoom = 0;
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
  // A name that fits into the room of the copy held already is written
  // over it: the actions of list rows are named again on every rebuild.
  const std::size_t need = name ? std::strlen(name) + 1 : 0;
  if (m_ownsName && m_name && name && need <= m_nameRoom) {
    std::memmove(m_name, name, need);
    return;
  }
  if (m_ownsName) std::free(m_name);
  m_name = name ? kfx_strdup(name) : nullptr;
  m_nameRoom = m_name ? need : 0;
  m_ownsName = true;
}

CAction* CAction::Clone() const {
  CAction* c = new CAction;
  c->Set(m_kind, m_when, m_inout, m_p1, m_p2, m_p3, m_p4);
  c->m_reserved = m_reserved;
  c->SetName(m_name);
  return c;
}

CAction* CAction::CopyForEvent() const {
  CAction* c = new CAction;
  c->Set(m_kind, m_when, m_inout, m_p1, m_p2, m_p3, m_p4);
  c->m_reserved = m_reserved;
  c->m_name = m_name;
  c->m_ownsName = false;
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
    if (a->m_when == when) collected->AddHeadAction(a->CopyForEvent());
  });
}

CActionSelection::Stack::Stack() { refs.reserve(kSelectionReserve); }

CActionSelection::Stack CActionSelection::s_stack;
