#include "cybernet/cyber_net.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cybernet/cyber_error.h"
#include "cybernet/cyber_nodes.h"
#include "cybernet/cyber_reader.h"
#include "framework/qno_log.h"

// Runs body; a fault is logged and turns into the given result.
#define CYBER_GUARD(operation, failed, body)         \
  try {                                              \
    body                                             \
  } catch (const char* text) {                       \
    ReportFault(operation, text);                    \
    return failed;                                   \
  } catch (const std::exception& e) {                \
    ReportFault(operation, e.what());                \
    return failed;                                   \
  }

CCyberNet::~CCyberNet() {
  Reset();
  if (m_pTemplateList) m_pTemplateList->DestroyNodes();
  delete m_pTemplateList;
}

void CCyberNet::ReportFault(const char* operation, const char* text) {
  QNO_ERROR(QNO_SEV_ERROR, "CCyberNet::%s %s", operation, text ? text : "");
}

int CCyberNet::InsertTemplate(CCyberNode* node) {
  if (!node) {
    ReportFault("InsertTemplate()", "CCyberNode::InsertTemplate() pNode == NULL");
    return 1;
  }
  m_pTemplateList = new CCyberNodeList(node, m_pTemplateList);
  return 0;
}

void CCyberNet::InsertStandardTemplates() {
  InsertTemplate(new CCyberNode("<Template>"));
  InsertTemplate(new CCyberNodeGamma("<Template>"));
  InsertTemplate(new CCyberNodeDelay("<Template>"));
  InsertTemplate(new CCyberNodeProcess("<Template>"));
}

void CCyberNet::Reset() {
  if (m_pNodeList) m_pNodeList->DestroyNodes();
  delete m_pNodeList;
  m_pNodeList = nullptr;
  m_ByNameValid = false;
}

int CCyberNet::NodeCount() const {
  int n = 0;
  for (const CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) ++n;
  return n;
}

CCyberNode* CCyberNet::pNode(const char* name) const {
  if (!name) {
    QNO_ERROR(QNO_SEV_ERROR, "CCyberNet::pNode() text == NULL");
    return nullptr;
  }
  if (!m_ByNameValid) {
    m_ByName.clear();
    for (const CCyberNodeList* row = m_pNodeList; row; row = row->pTail())
      if (const char* n = row->pHead()->Name()) m_ByName.emplace(n, row->pHead());
    m_ByNameValid = true;
  }
  const auto it = m_ByName.find(name);
  return it == m_ByName.end() ? nullptr : it->second;
}

bool CCyberNet::ReadBlocks(CCyberTextReader& in) {
  char token[CCyberTextReader::kMaxToken + 1];
  char className[CCyberTextReader::kMaxToken + 1];
  bool complete = true;
  while (in.Word(token)) {
    if (std::strcmp(token, "NodeBegin") != 0) continue;
    if (!in.Word(className)) {
      complete = false;
      break;
    }
    const CCyberNodeList* row = m_pTemplateList;
    while (row && std::strcmp(row->pHead()->ClassName(), className) != 0) row = row->pTail();
    if (!row) continue;
    CCyberNode* node = row->pHead()->pNewNode();
    node->Reset();
    try {
      if (!node->Read(in)) complete = false;
      m_pNodeList = new CCyberNodeList(node, m_pNodeList);
      m_ByNameValid = false;
    } catch (...) {
      delete node;
      throw;
    }
  }
  return complete;
}

void CCyberNet::ResolveNodes(bool complete) {
  int refused = 0;
  for (CCyberNodeList* r = m_pNodeList; r; r = r->pTail()) {
    CCyberNode* node = r->pHead();
    const int before = node->RefusedRows();
    node->ResolveSymbols(this);
    refused += node->RefusedRows() - before;
    if (node->GetActiveIntern() && !node->ParametersValid()) {
      // A node whose curve cannot be computed would fail every period;
      // it keeps its value instead.
      QNO_ERROR(QNO_SEV_WARNING, "CCyberNet::Read() Parameter von %s ungueltig, Knoten abgeschaltet",
                node->Name() ? node->Name() : "");
      node->SetActiveIntern(false);
      ++refused;
    }
  }
  // A text cut inside a block is no whole network: what was read stays, and
  // the reader reports the fault.
  if (!complete) throw "Die Definition endet mitten in einem Knoten";
  // Nor is a text with parameters no step could compute: the read fails,
  // so a savegame's network with such values is refused as a whole, while
  // a caller that goes on with it meets no fault in a period.
  if (refused > 0) throw "Die Definition enthaelt ungueltige Knotenparameter";
}

void CCyberNet::ReadNodes(CCyberTextReader& in) { ResolveNodes(ReadBlocks(in)); }

namespace {
// The nodes of a list in the order a text gave them (the list holds the
// newest first).
std::vector<CCyberNode*> InReadOrder(const CCyberNodeList* list) {
  std::vector<CCyberNode*> nodes;
  for (const CCyberNodeList* row = list; row; row = row->pTail()) nodes.push_back(row->pHead());
  std::reverse(nodes.begin(), nodes.end());
  return nodes;
}

bool SameName(const CCyberNode* a, const char* name) { return a->Name() && name && std::strcmp(a->Name(), name) == 0; }
}  // namespace

const char* CCyberNet::TakeMissingNodes(const CCyberNodeList* definition) {
  const std::vector<CCyberNode*> wanted = InReadOrder(definition);
  if (wanted.empty()) return nullptr;
  // The writer writes the definition's last node last: a text without it
  // ends before a whole text ends.
  if (!pNode(wanted.back()->Name())) return wanted.back()->Name() ? wanted.back()->Name() : "";
  // Every other node the text lacks is the definition's own, read from its
  // block and put where the definition has it: before the node of the text
  // that follows it there, so that the network saves as one that never
  // lacked it.
  std::vector<CCyberNode*> read = InReadOrder(m_pNodeList), order;
  size_t next = 0;
  for (CCyberNode* node : read) {
    const char* name = node->Name();
    size_t at = next;
    while (at < wanted.size() && !SameName(wanted[at], name)) ++at;
    if (at < wanted.size()) {
      for (; next < at; ++next) {
        if (pNode(wanted[next]->Name())) continue;
        order.push_back(CopyOf(*wanted[next]));
      }
      next = at + 1;
    }
    order.push_back(node);
  }
  for (; next < wanted.size(); ++next)
    if (!pNode(wanted[next]->Name())) order.push_back(CopyOf(*wanted[next]));
  if (order.size() == read.size()) return nullptr;
  delete m_pNodeList;
  m_pNodeList = nullptr;
  for (CCyberNode* node : order) m_pNodeList = new CCyberNodeList(node, m_pNodeList);
  m_ByNameValid = false;
  return nullptr;
}

CCyberNode* CCyberNet::CopyOf(const CCyberNode& node) {
  QNO_ERROR(QNO_SEV_WARNING, "CCyberNet::Read() Der Knoten %s fehlt, er kommt aus der Definition",
            node.Name() ? node.Name() : "");
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  if (!out) throw "Kein Speicher fuer einen Knoten der Definition";
  node.Write(out);
  std::fclose(out);
  // Read as a one-block text into a list of its own, then moved over.
  CCyberNodeList* own = m_pNodeList;
  m_pNodeList = nullptr;
  FILE* in = fmemopen(text, size, "r");
  bool whole = false;
  try {
    if (in) {
      CCyberTextReader reader(in);
      whole = ReadBlocks(reader);
    }
  } catch (...) {
    if (in) std::fclose(in);
    std::free(text);
    if (m_pNodeList) m_pNodeList->DestroyNodes();
    delete m_pNodeList;
    m_pNodeList = own;
    throw;
  }
  if (in) std::fclose(in);
  std::free(text);
  CCyberNodeList* copied = m_pNodeList;
  m_pNodeList = own;
  m_ByNameValid = false;
  CCyberNode* copy = copied && !copied->pTail() && whole ? copied->pHead() : nullptr;
  if (!copy) {
    if (copied) copied->DestroyNodes();
    delete copied;
    throw "Ein Knoten der Definition ist nicht lesbar";
  }
  // The row goes, its node stays.
  delete copied;
  return copy;
}

int CCyberNet::Read(FILE* file) {
  if (!file) return 1;
  CYBER_GUARD("Read()", 1, {
    CCyberTextReader in(file);
    ReadNodes(in);
  })
  return 0;
}

int CCyberNet::ReadReplacing(FILE* file) {
  // The definition's nodes stay until the text is read: a node the text
  // lacks is taken from them.
  std::unique_ptr<CCyberNodeList, void (*)(CCyberNodeList*)> definition(m_pNodeList, [](CCyberNodeList* list) {
    if (list) list->DestroyNodes();
    delete list;
  });
  m_pNodeList = nullptr;
  m_ByNameValid = false;
  if (!file) {
    if (!definition) return 0;
    ReportFault("Read()", (std::string("Der Definition fehlt der Knoten ") +
                           (definition->pHead()->Name() ? definition->pHead()->Name() : ""))
                              .c_str());
    return 1;
  }
  CYBER_GUARD("Read()", 1, {
    CCyberTextReader in(file);
    const bool complete = ReadBlocks(in);
    const char* cut = complete ? TakeMissingNodes(definition.get()) : nullptr;
    ResolveNodes(complete);
    if (cut) throw std::runtime_error(std::string("Der Definition fehlt der Knoten ") + cut);
  })
  return 0;
}

int CCyberNet::Write(FILE* file) const {
  if (!file) return 1;
  // The list holds the nodes newest first; writing from the oldest on gives
  // a file that reads back into the same list, so a saved and restored
  // network visits its nodes in the same order.
  std::vector<const CCyberNode*> nodes;
  for (const CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) nodes.push_back(row->pHead());
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) (*it)->Write(file);
  return 0;
}

int CCyberNet::ShortWrite(FILE* file) const {
  if (!file) return 1;
  for (const CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) row->pHead()->ShortWrite(file);
  return 0;
}

double CCyberNet::UpdateInput() {
  CYBER_GUARD("UpdateInput()", 0.0, {
    double sum = 0.0;
    for (CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) sum += row->pHead()->UpdateInput();
    return sum;
  })
}

int CCyberNet::CalculateValues() {
  CYBER_GUARD("CalculateValues()", 1, {
    for (CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) row->pHead()->CalculateValue();
  })
  return 0;
}

int CCyberNet::NextTimeStep() {
  CYBER_GUARD("NextTimeStep()", 1, {
    for (CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) row->pHead()->NextTimeStep();
  })
  return 0;
}

int CCyberNet::CheckLimits() {
  CYBER_GUARD("CheckLimits()", 1, {
    for (CCyberNodeList* row = m_pNodeList; row; row = row->pTail()) row->pHead()->CheckLimits();
  })
  return 0;
}
