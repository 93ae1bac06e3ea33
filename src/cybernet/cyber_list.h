#pragma once
// Rows of the network's chains: the net's node list, its templates and each
// node's weighted inputs (CCyberNodeList), and inputs held by name between
// reading a file and resolving the names (CCyberSymbolList). A row owns the
// rows after it; chains are freed iteratively so long files cannot exhaust
// the stack.

class CCyberNode;

// The fields an input row carries besides its node: the weight and the
// staged-response parameters that only a "ProcessNode" uses.
struct CCyberRowFields {
  double weight = 0.0;
  double endValue = 1.0;
  int wFunction = 2;
  int tFunction = 2;
  int delayTime = 0;
  int processTime = 0;
  int decayTime = 0;
};

class CCyberNodeList {
 public:
  CCyberNodeList(CCyberNode* head, CCyberNodeList* tail, const CCyberRowFields& fields = {});
  ~CCyberNodeList();
  CCyberNodeList(const CCyberNodeList&) = delete;
  CCyberNodeList& operator=(const CCyberNodeList&) = delete;

  CCyberNode* pHead() const { return m_pHead; }
  CCyberNodeList* pTail() const { return m_pTail; }
  double Weight() const { return m_Fields.weight; }
  double EndValue() const { return m_Fields.endValue; }
  int WFunction() const { return m_Fields.wFunction; }
  int TFunction() const { return m_Fields.tFunction; }
  int DelayTime() const { return m_Fields.delayTime; }
  int ProcessTime() const { return m_Fields.processTime; }
  int DecayTime() const { return m_Fields.decayTime; }
  const CCyberRowFields& Fields() const { return m_Fields; }

  // True when this row or a later one holds node.
  bool IsMember(const CCyberNode* node) const;
  // Removes every later row holding node; the first row's own node cannot
  // be removed (error).
  void Remove(CCyberNode* node);
  // Cuts the chain after this row (the cut rows are no longer owned).
  void Unlink() { m_pTail = nullptr; }
  // Deletes the node of every row from this one on.
  void DestroyNodes();

 private:
  CCyberNode* m_pHead;
  CCyberNodeList* m_pTail;
  CCyberRowFields m_Fields;
};

class CCyberSymbolList {
 public:
  CCyberSymbolList(const char* name, CCyberSymbolList* tail, const CCyberRowFields& fields);
  ~CCyberSymbolList();
  CCyberSymbolList(const CCyberSymbolList&) = delete;
  CCyberSymbolList& operator=(const CCyberSymbolList&) = delete;

  const char* pHead() const { return m_pName; }
  CCyberSymbolList* pTail() const { return m_pTail; }
  const CCyberRowFields& Fields() const { return m_Fields; }

 private:
  char* m_pName;
  CCyberSymbolList* m_pTail;
  CCyberRowFields m_Fields;
};
