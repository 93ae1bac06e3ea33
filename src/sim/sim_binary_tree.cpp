#include "sim/sim_binary_tree.h"

#include <string>

#include "framework/qno_log.h"

CBinaryTree::CBinaryTree(CBinaryTreeNode* first) {
  m_head.SetKey(0);
  m_head.m_right = first;
  if (first) {
    first->m_left = first->m_right = nullptr;
    first->m_prev = first->m_next = nullptr;
    first->m_balance = 0;
  }
}

bool CBinaryTree::InsertNode(CBinaryTreeNode* q) {
  if (!q || !q->IsKeyed()) return false;
  const long k = q->Key();
  CBinaryTreeNode* t = &m_head;  // parent of the balance point
  CBinaryTreeNode* s = m_head.m_right;  // balance point
  CBinaryTreeNode* p = s;
  if (!p) {
    m_head.m_right = q;
    q->m_left = q->m_right = q->m_prev = q->m_next = nullptr;
    q->m_balance = 0;
    return true;
  }
  // Descend, remembering the deepest node that is out of balance.
  for (;;) {
    if (k == p->Key()) return false;
    CBinaryTreeNode* next = k < p->Key() ? p->m_left : p->m_right;
    if (!next) break;
    if (next->m_balance != 0) {
      t = p;
      s = next;
    }
    p = next;
  }
  q->m_left = q->m_right = nullptr;
  q->m_balance = 0;
  if (k < p->Key()) {
    p->m_left = q;
    q->m_next = p;
    q->m_prev = p->m_prev;
    if (p->m_prev) p->m_prev->m_next = q;
    p->m_prev = q;
  } else {
    p->m_right = q;
    q->m_prev = p;
    q->m_next = p->m_next;
    if (p->m_next) p->m_next->m_prev = q;
    p->m_next = q;
  }
  // Every node between the balance point and the new node was balanced and
  // now leans towards the new node.
  CBinaryTreeNode* r = k < s->Key() ? s->m_left : s->m_right;
  for (p = r; p != q;) {
    if (k < p->Key()) {
      p->m_balance = -1;
      p = p->m_left;
    } else {
      p->m_balance = 1;
      p = p->m_right;
    }
  }
  const int a = k < s->Key() ? -1 : 1;
  if (s->m_balance == 0) {
    s->m_balance = a;
    ++m_height;
    return true;
  }
  if (s->m_balance == -a) {
    s->m_balance = 0;
    return true;
  }
  CBinaryTreeNode* newTop;
  auto link = [](CBinaryTreeNode* n, int side) -> CBinaryTreeNode*& { return side < 0 ? n->m_left : n->m_right; };
  if (r->m_balance == a) {
    // single rotation
    newTop = r;
    link(s, a) = link(r, -a);
    link(r, -a) = s;
    s->m_balance = 0;
    r->m_balance = 0;
  } else {
    // double rotation through R's inner child
    p = link(r, -a);
    link(r, -a) = link(p, a);
    link(p, a) = r;
    link(s, a) = link(p, -a);
    link(p, -a) = s;
    if (p->m_balance == a) {
      s->m_balance = -a;
      r->m_balance = 0;
    } else if (p->m_balance == 0) {
      s->m_balance = 0;
      r->m_balance = 0;
    } else {
      s->m_balance = 0;
      r->m_balance = a;
    }
    p->m_balance = 0;
    newTop = p;
  }
  if (s == t->m_right)
    t->m_right = newTop;
  else
    t->m_left = newTop;
  return true;
}

CBinaryTreeNode* CBinaryTree::FindNodeWithKey(const long& key) const {
  CBinaryTreeNode* p = m_head.m_right;
  while (p) {
    if (key == p->Key()) return p;
    p = key < p->Key() ? p->m_left : p->m_right;
  }
  return nullptr;
}

CBinaryTreeNode* CBinaryTree::FindNodeWithSmalestKey() const {
  CBinaryTreeNode* p = m_head.m_right;
  while (p && p->m_left) p = p->m_left;
  return p;
}

bool CBinaryTree::RemoveNodeWithKey(const long& /*key*/) { return true; }

void CBinaryTree::Print() const { PrintNode(m_head.m_right, 0); }

void CBinaryTree::PrintNode(const CBinaryTreeNode* node, int depth) const {
  if (!node) return;
  PrintNode(node->m_left, depth + 1);
  std::string line(static_cast<size_t>(depth), '-');
  line += std::to_string(node->Key());
  QNO_ERROR1(QNO_SEV_WARNING, "%s", line.c_str());
  PrintNode(node->m_right, depth + 1);
}
