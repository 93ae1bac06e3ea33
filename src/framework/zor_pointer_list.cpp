#include "framework/zor_pointer_list.h"

CZorvaList::~CZorvaList() {
  if (m_ownership == 1) Destroy();
  // An ownership-0 list forgets its objects but its own nodes still go.
  while (m_head) {
    CZorvaPointer* next = m_head->m_next;
    delete m_head;
    m_head = next;
  }
  m_tail = m_cursor = m_savedCursor = nullptr;
  m_count = 0;
}

int CZorvaList::Create() {
  m_head = m_tail = nullptr;
  return 0;
}

CZorvaPointer* CZorvaList::NewNode(CZorvaObject* object, int key) {
  CZorvaPointer* n = new CZorvaPointer;
  n->m_object = object;
  n->m_key = key < 0 ? -1 : key;
  ++m_count;
  return n;
}

void CZorvaList::InsertBefore(CZorvaPointer* node, CZorvaPointer* before) {
  if (!before) {
    node->m_prev = m_tail;
    node->m_next = nullptr;
    if (m_tail)
      m_tail->m_next = node;
    else
      m_head = node;
    m_tail = node;
    return;
  }
  node->m_next = before;
  node->m_prev = before->m_prev;
  if (before->m_prev)
    before->m_prev->m_next = node;
  else
    m_head = node;
  before->m_prev = node;
}

static CZorvaPointer* ZorFirstNotSmaller(CZorvaPointer* head, int key) {
  for (CZorvaPointer* n = head; n; n = n->GetNextZorvaPointer())
    if (n->GetKey() >= 0 && n->GetKey() >= key) return n;
  return nullptr;
}

int CZorvaList::AddHeadZorva(CZorvaObject* object, int key) {
  CZorvaPointer* n = NewNode(object, key);
  InsertBefore(n, key >= 0 ? ZorFirstNotSmaller(m_head, key) : m_head);
  return 0;
}

int CZorvaList::AddTailZorva(CZorvaObject* object, int key) {
  CZorvaPointer* n = NewNode(object, key);
  InsertBefore(n, key >= 0 ? ZorFirstNotSmaller(m_head, key) : nullptr);
  return 0;
}

void CZorvaList::Unlink(CZorvaPointer* node) {
  if (node->m_prev)
    node->m_prev->m_next = node->m_next;
  else
    m_head = node->m_next;
  if (node->m_next)
    node->m_next->m_prev = node->m_prev;
  else
    m_tail = node->m_prev;
  // A walk must not be left holding a freed node.
  if (m_savedCursor == node) m_savedCursor = nullptr;
  if (m_cursor == node) m_cursor = m_direction == 0 ? node->m_next : node->m_prev;
  --m_count;
  delete node;
}

int CZorvaList::RemoveZorva(CZorvaObject* object) {
  for (CZorvaPointer* n = m_head; n; n = n->m_next) {
    if (n->m_object == object) {
      Unlink(n);
      return 0;
    }
  }
  return 1;
}

CZorvaObject* CZorvaList::RemoveHeadZorva(bool giveObject) {
  if (!m_head) return nullptr;
  CZorvaObject* o = m_head->m_object;
  Unlink(m_head);
  return giveObject ? o : nullptr;
}

CZorvaObject* CZorvaList::RemoveTailZorva(bool giveObject) {
  if (!m_tail) return nullptr;
  CZorvaObject* o = m_tail->m_object;
  Unlink(m_tail);
  return giveObject ? o : nullptr;
}

int CZorvaList::Destroy() {
  while (m_head) RemoveHeadZorva(false);
  return 0;
}

int CZorvaList::CheckZorvaInList(const CZorvaObject* object) const {
  for (const CZorvaPointer* n = m_head; n; n = n->m_next)
    if (n->m_object == object) return 0;
  return 1;
}

int CZorvaList::CheckPointerInList(const CZorvaPointer* node) const {
  for (const CZorvaPointer* n = m_head; n; n = n->m_next)
    if (n == node) return 0;
  return 1;
}

void CZorvaList::SetupZorvaCount(ListRichtungsType direction) {
  m_savedCursor = nullptr;
  m_direction = direction;
  m_cursor = direction == 0 ? m_head : m_tail;
}

CZorvaObject* CZorvaList::GetNextZorva() {
  if (!m_cursor) {
    m_cursor = m_savedCursor;
    m_savedCursor = nullptr;
    return nullptr;
  }
  CZorvaObject* o = m_cursor->m_object;
  m_cursor = m_direction == 0 ? m_cursor->m_next : m_cursor->m_prev;
  return o;
}

bool CZorvaList::Copy(CZorvaList* target) {
  for (CZorvaPointer* n = m_head; n; n = n->m_next) target->AddHeadZorva(n->m_object, -1);
  return true;
}
