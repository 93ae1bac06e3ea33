#include "cybernet/cyber_node.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cybernet/cyber_error.h"
#include "cybernet/cyber_net.h"
#include "cybernet/cyber_reader.h"
#include "framework/qno_log.h"
#include "framework/zor_util.h"

namespace {
// Positions only place a node in the debug view; keeping them in a sane
// range keeps their conversion to int defined whatever a file says.
constexpr double kMaxPosition = 1.0e6;

float ClampPosition(double v) {
  if (v > kMaxPosition) return static_cast<float>(kMaxPosition);
  if (v < -kMaxPosition) return static_cast<float>(-kMaxPosition);
  return static_cast<float>(v);
}

double SCurve(double s) { return 1.0 / (200.0 * std::exp(2.0 * s * std::log(0.005)) + 1.0); }
double LogRise(double s) { return std::log(1.0 + s / 0.04) / std::log(26.0); }
}  // namespace

CCyberNode::CCyberNode(const char* name) : CCyberNode(name, "BasicNode") {}

CCyberNode::CCyberNode(const char* name, const char* className) {
  if (!name) CCyberError::Raise("CCyberNode::CCyberNode()", "name == NULL");
  if (std::strlen(name) > static_cast<size_t>(kMaxName)) CCyberError::Raise("CCyberNode::CCyberNode()", "strlen > 1024");
  m_pName = kfx_strdup(name);
  std::snprintf(m_ClassName, sizeof m_ClassName, "%s", className);
}

CCyberNode::~CCyberNode() { ResetBase(); }

void CCyberNode::ResetBase() {
  m_Value = m_LastValue = m_Input = m_MinSize = m_MaxSize = 0.0;
  std::free(m_pName);
  m_pName = nullptr;
  delete m_pInputNodeList;
  m_pInputNodeList = nullptr;
  delete m_pSymbolList;
  m_pSymbolList = nullptr;
}

void CCyberNode::Reset() { ResetBase(); }

CCyberNode* CCyberNode::pNewNode() const { return new CCyberNode("<new>"); }

void CCyberNode::SetName(const char* name) {
  std::free(m_pName);
  m_pName = kfx_strdup(name);
}

double CCyberNode::Finite(double computed, double previous) { return std::isfinite(computed) ? computed : previous; }

void CCyberNode::SetSize(double s) {
  if (m_MaxSize - m_MinSize < 0.0001 || !std::isfinite(s)) return;
  if (s >= m_MaxSize)
    m_Value = 1.0;
  else if (s < m_MinSize)
    m_Value = 0.0;
  else
    m_Value = (s - m_MinSize) / (m_MaxSize - m_MinSize);
}

void CCyberNode::SetPosition(int x, int y) {
  m_PosX = ClampPosition(x);
  m_PosY = ClampPosition(y);
}

void CCyberNode::MovePosition(float dx, float dy) {
  m_PosX = ClampPosition(static_cast<double>(m_PosX) + dx);
  m_PosY = ClampPosition(static_cast<double>(m_PosY) + dy);
}

void CCyberNode::AddInputSignal(CCyberNode* node, double weight) {
  if (!node) CCyberError::Raise("CCyberNode::AddInputSignal()", "pNode == NULL");
  CCyberRowFields fields;
  fields.weight = weight;
  fields.tFunction = 1;
  m_pInputNodeList = new CCyberNodeList(node, m_pInputNodeList, fields);
}

double CCyberNode::w(int n, double d) {
  switch (n) {
    case 1: return d > 0 ? std::sqrt(d) : -std::sqrt(-d);
    case 2: return d;
    case 3: return d > 0 ? d * d : -(d * d);
    default: CCyberError::Raise("CCyberNode::w()", "Nr<1 || Nr>3");
  }
}

bool CCyberNode::TimeParametersValid(int n, int delay, int process, int decay, double endValue) {
  return n >= 1 && n <= 6 && !(n < 5 && decay > 0) && delay >= 0 && delay <= 2 && process >= 0 && process <= 4 &&
         decay >= 0 && decay <= 4 && endValue >= 0;
}

double CCyberNode::fT(int n, int t, int delay, int process, int decay, double endValue) {
  const char* where = "CCyberNode::fT()";
  if (n < 1 || n > 6) CCyberError::Raise(where, "Nr<1 || Nr>6");
  if (n < 5 && decay > 0) CCyberError::Raise(where, "Nr<5 && Decay>0");
  if (delay < 0 || delay > 2) CCyberError::Raise(where, "Delay < 0 || Delay > 2");
  if (process < 0 || process > 4) CCyberError::Raise(where, "Process < 0 || Process > 4");
  if (decay < 0 || decay > 4) CCyberError::Raise(where, "Decay < 0 || Decay> 4");
  if (endValue < 0) CCyberError::Raise(where, "EndValue<0");

  if (t < delay) return 0.0;
  if (t > delay + process + decay) return endValue;
  const double s = process < 1 ? 1.0 : static_cast<double>(t - delay) / process;
  switch (n) {
    case 1: return LogRise(s);
    case 2: return s;
    case 3: return 0.065 * (std::pow(16.384615384615383, s) - 1.0);
    case 4: return SCurve(s);
    default: break;
  }
  if (s < 1.0) return SCurve(s);
  const double u = decay < 1 ? 1.0 : static_cast<double>(t - delay - process) / decay;
  if (n == 5) return (1.0 - endValue) * (1.0 - SCurve(u));
  return 1.0 - (1.0 - endValue) * LogRise(u);
}

double CCyberNode::UpdateInput() {
  if (!m_pInputNodeList) return 0.0;
  double sum = 0.0;
  for (const CCyberNodeList* row = m_pInputNodeList; row; row = row->pTail()) {
    const double v = row->pHead()->Value();
    sum += row->Weight() > 0 ? row->Weight() * v : row->Weight() * (v - 1.0);
  }
  const double change = sum - m_Input;
  m_Input = Finite(sum, m_Input);
  return change * change;
}

void CCyberNode::CheckLimits() const {
  if (!m_pInputNodeList) return;
  double sum = 0.0;
  for (const CCyberNodeList* row = m_pInputNodeList; row; row = row->pTail()) sum += std::fabs(row->Weight());
  if (sum < 0.999 || sum > 1.001 || m_Value < 0.0 || m_Value > 1.0)
    CCyberError::Raise("CCyberNode::CheckLimits()", m_pName ? m_pName : "");
}

void CCyberNode::CalculateValue() {
  if (m_pInputNodeList && m_ActiveIntern) m_Value = Finite(m_Input, m_Value);
}

void CCyberNode::NextTimeStep() { m_LastValue = m_Value; }

void CCyberNode::ResolveSymbols(CCyberNet* net) {
  for (const CCyberSymbolList* sym = m_pSymbolList; sym; sym = sym->pTail()) {
    const CCyberRowFields& f = sym->Fields();
    // Staged-response rows whose parameters w or fT would refuse are
    // dropped here, so that no period fails on them later.
    if (m_ExtendedRows && (f.wFunction < 1 || f.wFunction > 3 ||
                           !TimeParametersValid(f.tFunction, f.delayTime, f.processTime, f.decayTime, f.endValue))) {
      QNO_ERROR(QNO_SEV_WARNING, "CCyberNode::ResolveSymbols() Eingang %s von %s ungueltig", sym->pHead(),
                m_pName ? m_pName : "");
      ++m_RefusedRows;
      continue;
    }
    if (CCyberNode* node = net->pNode(sym->pHead())) m_pInputNodeList = new CCyberNodeList(node, m_pInputNodeList, f);
  }
  delete m_pSymbolList;
  m_pSymbolList = nullptr;
}

bool CCyberNode::ReadValues(CCyberTextReader& in, double* values, int count) {
  for (int i = 0; i < count; ++i)
    if (!in.Double(&values[i])) return false;
  return true;
}

void CCyberNode::WriteValues(FILE* file, const double* values, int count) {
  for (int i = 0; i < count; ++i) std::fprintf(file, "%.17g ", values[i]);
  std::fprintf(file, "\n");
}

bool CCyberNode::ProcessToken(char* token, CCyberTextReader& in) {
  char word[CCyberTextReader::kMaxToken + 1];
  if (std::strcmp(token, "NodeBegin") == 0) return in.Word(word) && std::strcmp(word, m_ClassName) == 0;
  if (std::strcmp(token, "NodeEnd") == 0) return false;
  if (std::strcmp(token, "Name") == 0) {
    if (!in.Word(word)) return false;
    SetName(word);
    return true;
  }
  if (std::strcmp(token, "Value") == 0) return in.Double(&m_Value), true;
  if (std::strcmp(token, "LastValue") == 0) return in.Double(&m_LastValue), true;
  if (std::strcmp(token, "Input") == 0) return in.Double(&m_Input), true;
  if (std::strcmp(token, "MinSize") == 0) return in.Double(&m_MinSize), true;
  if (std::strcmp(token, "MaxSize") == 0) return in.Double(&m_MaxSize), true;
  if (std::strcmp(token, "Position") == 0) {
    double x = m_PosX, y = m_PosY;
    in.Double(&x);
    in.Double(&y);
    m_PosX = ClampPosition(x);
    m_PosY = ClampPosition(y);
    return true;
  }
  if (std::strcmp(token, "InputListBegin") == 0) {
    // A file that ends inside the list ends the block: the list has no
    // other way out.
    while (in.Word(word)) {
      if (std::strcmp(word, "InputListEnd") == 0) return true;
      CCyberRowFields fields;
      in.Double(&fields.weight);
      if (m_ExtendedRows) {
        in.Int(&fields.wFunction);
        in.Double(&fields.endValue);
        in.Int(&fields.tFunction);
        in.Int(&fields.delayTime);
        in.Int(&fields.processTime);
        in.Int(&fields.decayTime);
      }
      m_pSymbolList = new CCyberSymbolList(word, m_pSymbolList, fields);
    }
    return false;
  }
  return false;
}

bool CCyberNode::Read(CCyberTextReader& in) {
  char token[CCyberTextReader::kMaxToken + 1];
  // A block is whole when it reaches "NodeEnd", or another entry ends it
  // with text still following; one that ran into the end of the text (a
  // list left open, a word cut short) is cut.
  while (in.Word(token))
    if (!ProcessToken(token, in)) return std::strcmp(token, "NodeEnd") == 0 || !in.AtEnd();
  return false;
}

void CCyberNode::WriteData(FILE* file) const {
  // Full precision: a network written and read back must step exactly as
  // the one that was written.
  if (m_pName) std::fprintf(file, "  Name %s\n", m_pName);
  std::fprintf(file, "  Value %.17g\n", m_Value);
  std::fprintf(file, "  LastValue %.17g\n", m_LastValue);
  std::fprintf(file, "  Input %.17g\n", m_Input);
  std::fprintf(file, "  MinSize %.17g\n", m_MinSize);
  std::fprintf(file, "  MaxSize %.17g\n", m_MaxSize);
  std::fprintf(file, "  Position %d %d\n", PosX(), PosY());
  if (!m_pInputNodeList) return;
  std::fprintf(file, "  InputListBegin\n");
  for (const CCyberNodeList* row = m_pInputNodeList; row; row = row->pTail()) {
    const char* name = row->pHead()->Name();
    if (!name) continue;  // an unnamed node could not be found again
    if (m_ExtendedRows)
      std::fprintf(file, "    %s %.17g %d %.17g %d %d %d %d\n", name, row->Weight(), row->WFunction(), row->EndValue(),
                   row->TFunction(), row->DelayTime(), row->ProcessTime(), row->DecayTime());
    else
      std::fprintf(file, "    %s %.17g\n", name, row->Weight());
  }
  std::fprintf(file, "  InputListEnd\n");
}

void CCyberNode::Write(FILE* file) const {
  std::fprintf(file, "NodeBegin %s\n", m_ClassName);
  WriteData(file);
  std::fprintf(file, "NodeEnd\n\n");
}

void CCyberNode::ShortWrite(FILE* file) const {
  std::fprintf(file, "%-7.7s %1.7f \t%.2f \t%.2f\n", m_pName ? m_pName : "", m_Value, m_MinSize, m_MaxSize);
}
