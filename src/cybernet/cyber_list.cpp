#include "cybernet/cyber_list.h"

#include <cstdlib>

#include "cybernet/cyber_error.h"
#include "cybernet/cyber_node.h"
#include "framework/zor_util.h"

namespace {
// Frees the rows after a row one by one instead of recursively.
template <class Row>
void FreeChain(Row* row) {
  while (row) {
    Row* next = row->pTail();
    row->Unlink();
    delete row;
    row = next;
  }
}
}  // namespace

CCyberNodeList::CCyberNodeList(CCyberNode* head, CCyberNodeList* tail, const CCyberRowFields& fields)
    : m_pHead(head), m_pTail(tail), m_Fields(fields) {
  if (!head) CCyberError::Raise("CCyberNodeList::CCyberNodeList()", "pHead == NULL");
}

CCyberNodeList::~CCyberNodeList() {
  CCyberNodeList* rest = m_pTail;
  m_pTail = nullptr;
  FreeChain(rest);
}

bool CCyberNodeList::IsMember(const CCyberNode* node) const {
  for (const CCyberNodeList* row = this; row; row = row->m_pTail)
    if (row->m_pHead == node) return true;
  return false;
}

void CCyberNodeList::Remove(CCyberNode* node) {
  if (m_pHead == node) CCyberError::Raise("CCyberNodeList::Remove()", "pHead() == pNode");
  CCyberNodeList* prev = this;
  while (CCyberNodeList* row = prev->m_pTail) {
    if (row->m_pHead == node) {
      prev->m_pTail = row->m_pTail;
      row->m_pTail = nullptr;
      delete row;
    } else {
      prev = row;
    }
  }
}

void CCyberNodeList::DestroyNodes() {
  for (CCyberNodeList* row = this; row; row = row->m_pTail) {
    delete row->m_pHead;
    row->m_pHead = nullptr;
  }
}

CCyberSymbolList::CCyberSymbolList(const char* name, CCyberSymbolList* tail, const CCyberRowFields& fields)
    : m_pName(nullptr), m_pTail(tail), m_Fields(fields) {
  if (!name) CCyberError::Raise("CCyberSymbolList::CCyberSymbolList()", "pHead == NULL");
  m_pName = kfx_strdup(name);
}

CCyberSymbolList::~CCyberSymbolList() {
  std::free(m_pName);
  CCyberSymbolList* rest = m_pTail;
  m_pTail = nullptr;
  while (rest) {
    CCyberSymbolList* next = rest->m_pTail;
    rest->m_pTail = nullptr;
    delete rest;
    rest = next;
  }
}
