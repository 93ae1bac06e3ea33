#pragma once
// The cause-effect network: a list of nodes read from and written to one
// text format, stepped by the data exchange once per period. Every public
// operation catches the network's hard faults, logs them and reports them
// by its result: the frame loop that calls these never sees an exception.
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "cybernet/cyber_list.h"
#include "cybernet/cyber_node.h"

class CCyberTextReader;

class CCyberNet {
 public:
  CCyberNet() = default;
  ~CCyberNet();
  CCyberNet(const CCyberNet&) = delete;
  CCyberNet& operator=(const CCyberNet&) = delete;

  // The net owns the template; a null template is refused (1).
  int InsertTemplate(CCyberNode* node);
  // The four classes, inserted as the game expects them: base, gamma,
  // delay, process.
  void InsertStandardTemplates();

  // Adds the nodes of a whole file to the net. 0 when read without fault;
  // 1 (logged) when a fault stopped the read, the nodes read so far stay.
  int Read(FILE* file);
  // Replaces the nodes (the definition's) by those of a whole file. A
  // whole file holds the node the definition gives last, which its writer
  // writes last; one without it (a text cut between two blocks) is no whole
  // network. Any other node of the definition that the file lacks is the
  // definition's own, put where the definition has it, with a log line
  // naming it. 0 when read without fault and whole; 1 (logged, naming the
  // last node missing) otherwise, the nodes read staying. A null file
  // counts as a text without nodes.
  int ReadReplacing(FILE* file);
  // Every node in the order in which a file that is read gives them back in
  // the same list order. 0, or 1 for a null file.
  int Write(FILE* file) const;
  int ShortWrite(FILE* file) const;

  // The node the list holds first under that exact name (the one read
  // last), or null; null also for a null name.
  CCyberNode* pNode(const char* name) const;
  CCyberNodeList* pNodeList() const { return m_pNodeList; }
  int NodeCount() const;

  // Sum of the squared input changes; 0 after a fault.
  double UpdateInput();
  // 0, or 1 after a fault.
  int CalculateValues();
  int NextTimeStep();
  // 0 when every node holds its limits, 1 (logged) at the first that does not.
  int CheckLimits();
  // Deletes every node; templates stay.
  void Reset();

 private:
  // Reads the nodes of a text (throws at a fault).
  void ReadNodes(CCyberTextReader& in);
  // Adds the blocks of a text to the list, their rows unresolved; false
  // when a block is cut.
  bool ReadBlocks(CCyberTextReader& in);
  // Resolves every node's rows and checks its parameters; throws when the
  // text was cut or a parameter is refused.
  void ResolveNodes(bool complete);
  // Puts a copy of each node of `definition` that the list lacks where the
  // definition has it; the name of the definition's last node when the list
  // lacks that one (nothing is added then), else null.
  const char* TakeMissingNodes(const CCyberNodeList* definition);
  // A new node read from the block that `node` writes.
  CCyberNode* CopyOf(const CCyberNode& node);
  static void ReportFault(const char* operation, const char* text);

  CCyberNodeList* m_pNodeList = nullptr;
  CCyberNodeList* m_pTemplateList = nullptr;
  // The first node of the list under each name, made when a name is asked
  // for and dropped whenever the list changes: the game asks by name for
  // every visible car it makes.
  mutable std::unordered_map<std::string, CCyberNode*> m_ByName;
  mutable bool m_ByNameValid = false;
};
