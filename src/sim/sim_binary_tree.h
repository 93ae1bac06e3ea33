#pragma once
// Balanced (AVL) search tree keyed by id whose nodes are also threaded into a
// doubly linked list in key order. The network walks that list, so a walk
// costs no recursion and stays valid while nodes are only ever added.

class CBinaryTreeNode {
 public:
  CBinaryTreeNode() = default;
  virtual ~CBinaryTreeNode() = default;
  CBinaryTreeNode(const CBinaryTreeNode&) = delete;
  CBinaryTreeNode& operator=(const CBinaryTreeNode&) = delete;

  virtual long Key() const { return m_key; }
  bool IsKeyed() const { return m_keyed != 0; }
  void SetKey(long key) {
    m_key = key;
    m_keyed = 1;
  }
  int Balance() const { return m_balance; }
  CBinaryTreeNode* pLeft() const { return m_left; }
  CBinaryTreeNode* pRight() const { return m_right; }
  CBinaryTreeNode* pPrevious() const { return m_prev; }
  CBinaryTreeNode* pNext() const { return m_next; }

 private:
  friend class CBinaryTree;
  long m_key = 0;
  int m_balance = 0;
  CBinaryTreeNode* m_left = nullptr;
  CBinaryTreeNode* m_right = nullptr;
  CBinaryTreeNode* m_prev = nullptr;
  CBinaryTreeNode* m_next = nullptr;
  unsigned char m_keyed = 0;
};

class CBinaryTree {
 public:
  // The first node becomes the root; a tree is never empty. The tree does
  // not own its nodes: whoever created them deletes them.
  explicit CBinaryTree(CBinaryTreeNode* first);
  CBinaryTree(const CBinaryTree&) = delete;
  CBinaryTree& operator=(const CBinaryTree&) = delete;

  bool InsertNode(CBinaryTreeNode* node);
  CBinaryTreeNode* FindNodeWithKey(const long& key) const;
  CBinaryTreeNode* FindNodeWithSmalestKey() const;
  // Nodes stay until the whole tree goes: the slots rely on a removed
  // object keeping its id for the rest of its hour.
  bool RemoveNodeWithKey(const long& key);
  void Print() const;

  CBinaryTreeNode* pRoot() const { return m_head.m_right; }
  int Height() const { return m_height; }

 private:
  void PrintNode(const CBinaryTreeNode* node, int depth) const;

  CBinaryTreeNode m_head;
  int m_height = 1;
};
