#pragma once
// A node of the cause-effect network ("BasicNode"): a value between 0 and 1
// that stands for a real-unit size between MinSize and MaxSize, fed by a
// weighted sum of other nodes' values. The subclasses in cyber_nodes.h add
// gates, delays and staged responses.
#include <cstdio>

#include "cybernet/cyber_list.h"

class CCyberNet;
class CCyberTextReader;

class CCyberNode {
 public:
  // Names longer than this are refused by the constructor.
  static constexpr int kMaxName = 1024;

  explicit CCyberNode(const char* name);
  virtual ~CCyberNode();
  CCyberNode(const CCyberNode&) = delete;
  CCyberNode& operator=(const CCyberNode&) = delete;

  virtual void Reset();
  virtual CCyberNode* pNewNode() const;
  // Recomputes Input from the inputs; returns the squared change.
  virtual double UpdateInput();
  virtual void CheckLimits() const;
  virtual void CalculateValue();
  virtual void NextTimeStep();
  virtual void ResolveSymbols(CCyberNet* net);
  virtual void WriteData(FILE* file) const;
  // True while the block expects more entries.
  virtual bool ProcessToken(char* token, CCyberTextReader& in);
  // False when the node's parameters would make stepping fail; the net
  // switches such a node off after reading instead of failing every period.
  virtual bool ParametersValid() const { return true; }
  // Input rows that ResolveSymbols refused for their parameters.
  int RefusedRows() const { return m_RefusedRows; }

  // Reads the block's entries; false when the text ends before the block.
  bool Read(CCyberTextReader& in);
  void Write(FILE* file) const;
  void ShortWrite(FILE* file) const;

  const char* Name() const { return m_pName; }
  double Value() const { return m_Value; }
  void SetValue(double v) { m_Value = v; }
  double LastValue() const { return m_LastValue; }
  double Delta() const { return m_Value - m_LastValue; }
  double Input() const { return m_Input; }
  double MinSize() const { return m_MinSize; }
  double MaxSize() const { return m_MaxSize; }
  double Size() const { return m_MinSize + (m_MaxSize - m_MinSize) * m_Value; }
  void SetSize(double s);
  CCyberNodeList* pInputNodeList() const { return m_pInputNodeList; }

  void SetActive(bool on) { m_Active = on; }
  bool GetActive() const { return m_Active; }
  void SetActiveIntern(bool on) { m_ActiveIntern = on; }
  bool GetActiveIntern() const { return m_ActiveIntern; }

  int PosX() const { return static_cast<int>(m_PosX); }
  int PosY() const { return static_cast<int>(m_PosY); }
  void SetPosition(int x, int y);
  void MovePosition(float dx, float dy);

  // A new input row at the head of the list (plain weight, linear response).
  void AddInputSignal(CCyberNode* node, double weight);
  const char* ClassName() const { return m_ClassName; }

  // Weight function n (1..3) of a change d.
  static double w(int n, double d);
  // Response curve n (1..6) at step t; throws on parameters outside their
  // ranges.
  static double fT(int n, int t, int delay, int process, int decay, double endValue);
  // True when fT accepts the parameters.
  static bool TimeParametersValid(int n, int delay, int process, int decay, double endValue);

 protected:
  CCyberNode(const char* name, const char* className);
  void SetName(const char* name);
  // The base fields of Reset, shared by the destructor.
  void ResetBase();
  // A computed number the node cannot hold (a definition whose loops run
  // away) leaves the previous one in place: the net never carries NaN or
  // infinity into the game or into a file it could not read back.
  static double Finite(double computed, double previous);
  static bool ReadValues(CCyberTextReader& in, double* values, int count);
  static void WriteValues(FILE* file, const double* values, int count);

  char* m_pName = nullptr;
  double m_Value = 0.0;
  double m_LastValue = 0.0;
  double m_Input = 0.0;
  double m_MinSize = 0.0;
  double m_MaxSize = 0.0;
  bool m_Active = true;
  bool m_ActiveIntern = true;
  float m_PosX = 0.0f;
  float m_PosY = 0.0f;
  CCyberNodeList* m_pInputNodeList = nullptr;
  CCyberSymbolList* m_pSymbolList = nullptr;
  char m_ClassName[256] = {};
  bool m_ExtendedRows = false;
  int m_RefusedRows = 0;
};
