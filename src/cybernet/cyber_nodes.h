#pragma once
// The node classes beyond "BasicNode": a gate ("GammaNode"), a delayed
// response ("DelayNode") and a staged response to changes ("ProcessNode").
#include "cybernet/cyber_node.h"

// Value = the signal node's Value x (offset + Input): the input only acts
// while the signal is on.
class CCyberNodeGamma : public CCyberNode {
 public:
  explicit CCyberNodeGamma(const char* name);
  ~CCyberNodeGamma() override;

  void Reset() override;
  CCyberNode* pNewNode() const override;
  void CheckLimits() const override;
  void CalculateValue() override;
  void ResolveSymbols(CCyberNet* net) override;
  void WriteData(FILE* file) const override;
  bool ProcessToken(char* token, CCyberTextReader& in) override;

  CCyberNode* pSignal() const { return m_pSignal; }
  double SignalOffset() const { return m_SignalOffset; }

 private:
  void ReleaseSignalName();

  CCyberNode* m_pSignal = nullptr;
  char* m_pSignalName = nullptr;
  double m_SignalOffset = 0.0;
};

// Value = the history of Input weighted by the increments of a response
// curve over DelayTime + ProcessTime + DecayTime steps.
class CCyberNodeDelay : public CCyberNode {
 public:
  static constexpr int kStored = 10;

  explicit CCyberNodeDelay(const char* name);

  void Reset() override;
  CCyberNode* pNewNode() const override;
  void CalculateValue() override;
  void NextTimeStep() override;
  void WriteData(FILE* file) const override;
  bool ProcessToken(char* token, CCyberTextReader& in) override;
  bool ParametersValid() const override;

  int DelayType() const { return m_DelayType; }
  int DelayTime() const { return m_DelayTime; }
  int ProcessTime() const { return m_ProcessTime; }
  int DecayTime() const { return m_DecayTime; }
  double EndValue() const { return m_EndValue; }
  double StoredInput(int k) const { return m_Stored[k]; }
  void SetParameters(int type, int delay, int process, int decay, double endValue);

 private:
  int m_DelayType = 0;
  int m_DelayTime = 0;
  int m_DecayTime = 0;
  int m_ProcessTime = 0;
  double m_EndValue = 1.0;
  double m_Stored[kStored] = {};
};

// Looks ten steps ahead: a change of an input adds its response curve to
// the coming values, which the node then walks through one per step.
class CCyberNodeProcess : public CCyberNode {
 public:
  static constexpr int kAhead = 10;

  explicit CCyberNodeProcess(const char* name);

  void Reset() override;
  CCyberNode* pNewNode() const override;
  double UpdateInput() override;
  void CheckLimits() const override;
  void CalculateValue() override;
  void NextTimeStep() override;
  void WriteData(FILE* file) const override;
  bool ProcessToken(char* token, CCyberTextReader& in) override;

  double NextValue(int k) const { return m_Next[k]; }
  void SetNextValues(const double* values);

 private:
  double m_Next[kAhead] = {};
  double m_Work[kAhead] = {};
};
