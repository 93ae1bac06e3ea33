#include "cybernet/cyber_nodes.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cybernet/cyber_error.h"
#include "cybernet/cyber_net.h"
#include "cybernet/cyber_reader.h"
#include "framework/qno_log.h"
#include "framework/zor_util.h"

// ---------------------------------------------------------------- Gamma

CCyberNodeGamma::CCyberNodeGamma(const char* name) : CCyberNode(name, "GammaNode") {}

CCyberNodeGamma::~CCyberNodeGamma() { ReleaseSignalName(); }

void CCyberNodeGamma::ReleaseSignalName() {
  std::free(m_pSignalName);
  m_pSignalName = nullptr;
}

void CCyberNodeGamma::Reset() {
  CCyberNode::Reset();
  m_pSignal = nullptr;
  ReleaseSignalName();
}

CCyberNode* CCyberNodeGamma::pNewNode() const { return new CCyberNodeGamma("<new>"); }

void CCyberNodeGamma::CheckLimits() const {
  if (!m_pInputNodeList) return;
  double sum = std::fabs(m_SignalOffset);
  for (const CCyberNodeList* row = m_pInputNodeList; row; row = row->pTail()) sum += std::fabs(row->Weight());
  if (sum < 0.999 || sum > 1.001) CCyberError::Raise("CCyberNodeGamma::CheckLimits()", m_pName ? m_pName : "");
}

void CCyberNodeGamma::CalculateValue() {
  if (!m_ActiveIntern) return;
  m_Value = m_pSignal ? Finite(m_pSignal->Value() * (m_SignalOffset + m_Input), m_Value) : 0.0;
}

void CCyberNodeGamma::ResolveSymbols(CCyberNet* net) {
  CCyberNode::ResolveSymbols(net);
  if (!m_pSignalName) return;
  if (CCyberNode* signal = net->pNode(m_pSignalName)) {
    m_pSignal = signal;
    ReleaseSignalName();
  }
}

void CCyberNodeGamma::WriteData(FILE* file) const {
  CCyberNode::WriteData(file);
  if (m_pSignal && m_pSignal->Name()) std::fprintf(file, "  Signal %s %.9g\n", m_pSignal->Name(), m_SignalOffset);
}

bool CCyberNodeGamma::ProcessToken(char* token, CCyberTextReader& in) {
  if (CCyberNode::ProcessToken(token, in)) return true;
  if (std::strcmp(token, "Signal") != 0) return false;
  char word[CCyberTextReader::kMaxToken + 1];
  if (!in.Word(word)) return false;
  ReleaseSignalName();
  m_pSignalName = kfx_strdup(word);
  in.Float(&m_SignalOffset);
  return true;
}

// ---------------------------------------------------------------- Delay

CCyberNodeDelay::CCyberNodeDelay(const char* name) : CCyberNode(name, "DelayNode") {}

void CCyberNodeDelay::Reset() {
  CCyberNode::Reset();
  m_DelayType = m_DelayTime = m_ProcessTime = 0;
  for (double& v : m_Stored) v = 0.0;
}

CCyberNode* CCyberNodeDelay::pNewNode() const { return new CCyberNodeDelay("<new>"); }

void CCyberNodeDelay::SetParameters(int type, int delay, int process, int decay, double endValue) {
  m_DelayType = type;
  m_DelayTime = delay;
  m_ProcessTime = process;
  m_DecayTime = decay;
  m_EndValue = endValue;
}

bool CCyberNodeDelay::ParametersValid() const {
  // Ten stored inputs: the response may reach back nine steps at most.
  return TimeParametersValid(m_DelayType, m_DelayTime, m_ProcessTime, m_DecayTime, m_EndValue) &&
         m_DelayTime + m_ProcessTime + m_DecayTime <= kStored - 1;
}

void CCyberNodeDelay::CalculateValue() {
  if (!m_ActiveIntern) return;
  const int n = m_DelayTime + m_ProcessTime + m_DecayTime;
  if (n < 0 || n > kStored - 1) CCyberError::Raise("CCyberNodeDelay::CalculateValue()", "DelayTime+ProcessTime+DecayTime > 9");
  m_Stored[0] = m_Input;
  double sum = 0.0;
  double previous = 0.0;
  for (int k = 0; k <= n; ++k) {
    const double f = fT(m_DelayType, k, m_DelayTime, m_ProcessTime, m_DecayTime, m_EndValue);
    sum += (f - previous) * m_Stored[k];
    previous = f;
  }
  m_Value = Finite(sum, m_Value);
}

void CCyberNodeDelay::NextTimeStep() {
  if (!m_ActiveIntern) return;
  for (int k = kStored - 1; k > 0; --k) m_Stored[k] = m_Stored[k - 1];
  m_LastValue = m_Value;
  m_Stored[0] = 0.0;
}

void CCyberNodeDelay::WriteData(FILE* file) const {
  CCyberNode::WriteData(file);
  std::fprintf(file, "  DelayType  %d\n", m_DelayType);
  std::fprintf(file, "  DelayTime  %d\n", m_DelayTime);
  std::fprintf(file, "  ProcessTime  %d\n", m_ProcessTime);
  std::fprintf(file, "  DecayTime  %d\n", m_DecayTime);
  std::fprintf(file, "  EndValue  %.9g\n", m_EndValue);
  std::fprintf(file, "  InputValues  ");
  WriteValues(file, m_Stored, kStored);
}

bool CCyberNodeDelay::ProcessToken(char* token, CCyberTextReader& in) {
  if (CCyberNode::ProcessToken(token, in)) return true;
  if (std::strcmp(token, "DelayType") == 0) return in.Int(&m_DelayType), true;
  if (std::strcmp(token, "DelayTime") == 0) return in.Int(&m_DelayTime), true;
  if (std::strcmp(token, "ProcessTime") == 0) return in.Int(&m_ProcessTime), true;
  if (std::strcmp(token, "DecayTime") == 0) return in.Int(&m_DecayTime), true;
  if (std::strcmp(token, "EndValue") == 0) return in.Float(&m_EndValue), true;
  if (std::strcmp(token, "InputValues") == 0) ReadValues(in, m_Stored, kStored);
  return false;
}

// -------------------------------------------------------------- Process

CCyberNodeProcess::CCyberNodeProcess(const char* name) : CCyberNode(name, "ProcessNode") { m_ExtendedRows = true; }

void CCyberNodeProcess::Reset() {
  CCyberNode::Reset();
  for (int k = 0; k < kAhead; ++k) m_Next[k] = m_Work[k] = 0.0;
}

CCyberNode* CCyberNodeProcess::pNewNode() const { return new CCyberNodeProcess("<new>"); }

void CCyberNodeProcess::SetNextValues(const double* values) {
  for (int k = 0; k < kAhead; ++k) m_Next[k] = m_Work[k] = values[k];
}

double CCyberNodeProcess::UpdateInput() {
  for (int k = 0; k < kAhead; ++k) m_Work[k] = m_Next[k];
  for (const CCyberNodeList* row = m_pInputNodeList; row; row = row->pTail()) {
    const double a = w(row->WFunction(), row->pHead()->Delta()) * row->Weight();
    for (int k = 0; k < kAhead; ++k) {
      const double f = fT(row->TFunction(), k, row->DelayTime(), row->ProcessTime(), row->DecayTime(), row->EndValue());
      m_Work[k] += a > 0 ? (1.0 - m_Work[k]) * a * f : a * f * m_Work[k];
    }
  }
  for (int k = 0; k < kAhead; ++k) {
    double& v = m_Work[k];
    v = std::isnan(v) ? m_Next[k] : (v > 1.0 ? 1.0 : (v < 0.0 ? 0.0 : v));
  }
  // The node follows its working copy: Value = coming value 0 + Input is
  // the adjusted value of this step.
  const double input = m_Work[0] - m_Next[0];
  const double change = m_Input - input;
  m_Input = Finite(input, m_Input);
  return change * change;
}

void CCyberNodeProcess::CheckLimits() const {
  if (m_Value < 0.0 || m_Value > 1.0) CCyberError::Raise("CCyberNode::CheckLimits()", m_pName ? m_pName : "");
}

void CCyberNodeProcess::CalculateValue() {
  if (m_ActiveIntern) m_Value = Finite(m_Next[0] + m_Input, m_Value);
}

void CCyberNodeProcess::NextTimeStep() {
  if (!m_ActiveIntern) return;
  for (int k = 1; k < kAhead; ++k) m_Next[k - 1] = m_Work[k];
  m_Next[kAhead - 1] = m_Work[kAhead - 1];
  m_LastValue = m_Value;
  m_Value = m_Next[0];
  m_Input = 0.0;
}

void CCyberNodeProcess::WriteData(FILE* file) const {
  CCyberNode::WriteData(file);
  std::fprintf(file, "NextValues ");
  WriteValues(file, m_Next, kAhead);
}

bool CCyberNodeProcess::ProcessToken(char* token, CCyberTextReader& in) {
  if (CCyberNode::ProcessToken(token, in)) return true;
  if (std::strcmp(token, "NextValues") != 0) return false;
  ReadValues(in, m_Next, kAhead);
  for (int k = 0; k < kAhead; ++k) m_Work[k] = m_Next[k];
  return true;
}
