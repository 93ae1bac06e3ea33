#include "framework/zor_pointer_list.h"

CZorvaList::~CZorvaList() {
  if (m_ownership == 1) Destroy();
  // An ownership-0 list forgets its objects but its own nodes still go.
  m_links.ForEach([](CZorvaPointer* n) { delete n; });
  m_links.Forget();
}

int CZorvaList::Create() { return 0; }

// The first node holding a key >= key; nodes without a key are passed over.
static CZorvaPointer* ZorFirstNotSmaller(CZorvaPointer* head, int key) {
  for (CZorvaPointer* n = head; n; n = n->GetNextZorvaPointer())
    if (n->GetKey() >= 0 && n->GetKey() >= key) return n;
  return nullptr;
}

CZorvaPointer* CZorvaList::NewNode(CZorvaObject* object, int key) {
  CZorvaPointer** slot = nullptr;
  if (m_indexed) {
    const auto [it, fresh] = m_index.try_emplace(object, nullptr);
    if (!fresh) return nullptr;
    slot = &it->second;
  }
  CZorvaPointer* n = new CZorvaPointer;
  n->m_object = object;
  if (key >= 0) n->m_key = key;
  if (slot) *slot = n;
  return n;
}

int CZorvaList::AddHeadZorva(CZorvaObject* object, int key) {
  CZorvaPointer* n = NewNode(object, key);
  if (!n) return 1;
  if (key >= 0)
    m_links.LinkBefore(n, ZorFirstNotSmaller(m_links.GetHead(), key));
  else
    m_links.LinkHead(n);
  return 0;
}

int CZorvaList::AddTailZorva(CZorvaObject* object, int key) {
  if (key >= 0) return AddHeadZorva(object, key);
  CZorvaPointer* n = NewNode(object, key);
  if (!n) return 1;
  m_links.LinkTail(n);
  return 0;
}

void CZorvaList::Free(CZorvaPointer* node) {
  if (m_indexed) m_index.erase(node->m_object);
  m_links.Unlink(node);
  delete node;
}

int CZorvaList::RemoveZorva(CZorvaObject* object) {
  CZorvaPointer* n = FindObject(object);
  if (!n) return 1;
  Free(n);
  return 0;
}

CZorvaObject* CZorvaList::RemoveHeadZorva(bool giveObject) {
  CZorvaPointer* n = m_links.GetHead();
  if (!n) return nullptr;
  CZorvaObject* o = n->m_object;
  Free(n);
  return giveObject ? o : nullptr;
}

CZorvaObject* CZorvaList::RemoveTailZorva(bool giveObject) {
  CZorvaPointer* n = m_links.GetTail();
  if (!n) return nullptr;
  CZorvaObject* o = n->m_object;
  Free(n);
  return giveObject ? o : nullptr;
}

int CZorvaList::Destroy() {
  while (!m_links.IsEmpty()) RemoveHeadZorva(false);
  return 0;
}

int CZorvaList::CheckZorvaInList(const CZorvaObject* object) const { return FindObject(object) ? 0 : 1; }

int CZorvaList::CheckPointerInList(const CZorvaPointer* node) const { return m_links.Contains(node) ? 0 : 1; }

void CZorvaList::SetupZorvaCount(ListRichtungsType direction) { m_links.SetupWalk(direction); }

CZorvaObject* CZorvaList::GetNextZorva() {
  CZorvaPointer* n = m_links.WalkNext();
  return n ? n->m_object : nullptr;
}

bool CZorvaList::Copy(CZorvaList* target) {
  m_links.ForEach([target](CZorvaPointer* n) { target->AddHeadZorva(n->m_object, -1); });
  return true;
}
