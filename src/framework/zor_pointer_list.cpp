#include "framework/zor_pointer_list.h"

CZorvaList::~CZorvaList() {
  if (m_ownership == 1) Destroy();
  // An ownership-0 list forgets its objects but its own nodes still go.
  m_links.ForEach([](CZorvaPointer* n) { delete n; });
  m_links.Forget();
  for (CZorvaPointer* n : m_spareNodes) delete n;
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
  if (m_indexed && !m_spareIndex.empty()) {
    Index::node_type& spare = m_spareIndex.back();
    spare.key() = object;
    auto placed = m_index.insert(std::move(spare));
    // Held already: the spare comes back unused.
    if (!placed.inserted) {
      spare = std::move(placed.node);
      return nullptr;
    }
    m_spareIndex.pop_back();
    slot = &placed.position->second;
  } else if (m_indexed) {
    const auto [it, fresh] = m_index.try_emplace(object, nullptr);
    if (!fresh) return nullptr;
    slot = &it->second;
  }
  CZorvaPointer* n = nullptr;
  if (m_spareNodes.empty()) {
    n = new CZorvaPointer;
  } else {
    n = m_spareNodes.back();
    m_spareNodes.pop_back();
    *n = CZorvaPointer();
  }
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
  if (m_indexed) {
    Index::node_type entry = m_index.extract(node->m_object);
    if (entry && m_spareIndex.size() < kSpares) m_spareIndex.push_back(std::move(entry));
  }
  m_links.Unlink(node);
  if (m_spareNodes.size() < kSpares)
    m_spareNodes.push_back(node);
  else
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
