#include "measures/opnv_net.h"

#include <cstring>

#include "framework/zor_pointer_list.h"
#include "framework/zor_record.h"
#include "measures/opnv_line.h"

namespace {

constexpr const char* kLineTag = "OPNVLINE";
constexpr const char* kLineEndTag = "OPNVLINEENDE";

COpnvLine* LineOf(CZorvaPointer* node) { return static_cast<COpnvLine*>(node->GetZorvaObject()); }

}  // namespace

COpnvNet::COpnvNet(NetActiveType type) : m_NetType(type) {}

COpnvNet::~COpnvNet() { Destroy(); }

int COpnvNet::Create() {
  CWorldObj::Create();
  if (!m_pLines) m_pLines = new CZorvaList(0);
  m_ActiveLine = -1;
  return 0;
}

int COpnvNet::Destroy() {
  if (m_pLines) {
    while (CZorvaObject* o = m_pLines->RemoveHeadZorva(true)) {
      auto* line = static_cast<COpnvLine*>(o);
      line->Destroy();
      delete line;
    }
    delete m_pLines;
    m_pLines = nullptr;
  }
  m_ActiveLine = -1;
  return 0;
}

int COpnvNet::AddOpnvLine(COpnvLine* line) {
  if (!line) return 1;
  if (!m_pLines) Create();
  return m_pLines->AddHeadZorva(line);
}

int COpnvNet::RemoveOpnvLine(CZorvaObject* object) { return m_pLines ? m_pLines->RemoveZorva(object) : 1; }

int COpnvNet::DestroyLine(COpnvLine* line, int number) {
  if (!m_pLines) return 1;
  for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    COpnvLine* l = LineOf(n);
    if (l != line && l->GetID() != number) continue;
    m_pLines->RemoveZorva(l);
    l->Destroy();
    delete l;
    return 0;
  }
  return 1;
}

COpnvLine* COpnvNet::GetLineObjectByID(int number) {
  if (!m_pLines) return nullptr;
  for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (LineOf(n)->GetID() == number) return LineOf(n);
  return nullptr;
}

COpnvLine* COpnvNet::GetLineObjectByNr(int index) {
  if (!m_pLines || index < 0) return nullptr;
  CZorvaPointer* n = m_pLines->GetHeadZorvaPointer();
  for (int i = 0; n && i < index; ++i) n = n->GetNextZorvaPointer();
  return n ? LineOf(n) : nullptr;
}

int COpnvNet::GetLineCount() const { return m_pLines ? m_pLines->GetCount() : 0; }

int COpnvNet::SetActiveLine(int n) {
  if (n >= 0 && n < GetLineCount()) {
    m_ActiveLine = n;
    return 0;
  }
  m_ActiveLine = -1;
  return 1;
}

int COpnvNet::OnPlayloopTurn() {
  if (!m_pLines) return 0;
  for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) LineOf(n)->OnPlayloopTurn();
  return 0;
}

void COpnvNet::CheckAllLinesForStreetChange() {
  if (!m_pLines) return;
  // A line may rebuild its route, never leave the net, during the check.
  for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    LineOf(n)->CheckForStreetChange();
}

void COpnvNet::CheckAllLinesForRailChange() { CheckAllLinesForStreetChange(); }

void COpnvNet::CrossingOpnvPriorisierung(int& total, int& prioritised) {
  if (!m_pLines) return;
  for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    LineOf(n)->CrossingOpnvPriorisierung(total, prioritised);
}

int COpnvNet::GetVarData(const char* name, double* value) {
  if (!value) return 1;
  *value = 0;
  if (!name) return 1;
  auto line = [](COpnvLine* l, const char* key) {
    double v = 0;
    l->GetVarData(key, &v);
    return v;
  };
  auto sum = [this, &line](const char* key) {
    double s = 0;
    if (m_pLines)
      for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) s += line(LineOf(n), key);
    return s;
  };
  const int count = GetLineCount();
  if (std::strcmp(name, "OPNV.NET.LENGTH") == 0) {
    *value = sum("OPNV.LINE.LENGTH");
  } else if (std::strcmp(name, "OPNV.NET.EXCLUSIVELENGTH") == 0) {
    *value = sum("OPNV.LINE.EXCLUSIVELENGTH");
  } else if (std::strcmp(name, "OPNV.NET.PASSENGER") == 0) {
    *value = sum("OPNV.LINE.PASSENGER");
  } else if (std::strcmp(name, "OPNV.NET.PASSENGERTOOMUCH") == 0) {
    // The passengers beyond what the line's service carries: those above a
    // user quote of 100.
    double s = 0;
    if (m_pLines)
      for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
        const double quote = line(LineOf(n), "OPNV.LINE.USERQUOTE");
        if (quote <= 100) continue;
        const double passengers = line(LineOf(n), "OPNV.LINE.PASSENGER");
        s += passengers - 100 / quote * passengers;
      }
    *value = s;
  } else if (std::strcmp(name, "OPNV.NET.FPNEEDED") == 0) {
    *value = sum("OPNV.LINE.FPNEEDED");
  } else if (std::strcmp(name, "OPNV.NET.FREQUENCY") == 0) {
    double lengths = 0, weighted = 0;
    if (m_pLines)
      for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
        const double length = line(LineOf(n), "OPNV.LINE.LENGTH");
        lengths += length;
        weighted += length * line(LineOf(n), "OPNV.LINE.TAKT");
      }
    *value = lengths == 0 || weighted == 0 ? 30 : weighted / lengths;
  } else if (std::strcmp(name, "OPNV.NET.TAKTKILOMETER") == 0) {
    *value = sum("OPNV.LINE.TAKTKILOMETER");
  } else if (std::strcmp(name, "OPNV.NET.USERQUOTE") == 0) {
    *value = count == 0 ? 0 : sum("OPNV.LINE.USERQUOTE") / count;
  } else if (std::strcmp(name, "OPNV.NET.NUMBER") == 0) {
    *value = count;
  } else {
    return 1;
  }
  return 0;
}

int COpnvNet::SerializeGameStore(FILE* file, char*) {
  ZorRecordWriter out(file);
  if (m_pLines)
    for (CZorvaPointer* n = m_pLines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
      out.FixedString(kLineTag, kRecordNameSize);
      if (!out.Ok() || LineOf(n)->SerializeGameStore(file, nullptr) != 0) return 1;
    }
  out.FixedString(kLineEndTag, kRecordNameSize);
  out.I32(m_Reserved);
  out.I32(m_NetType);
  return out.Ok() ? 0 : 1;
}

int COpnvNet::SerializeGameLoad(FILE* file) {
  if (!m_pLines) Create();
  for (;;) {
    ZorRecordReader in(file);
    char tag[kRecordNameSize] = {};
    // The end of the file ends the lines as any other tag does.
    if (!in.FixedString(tag, sizeof tag) || std::strcmp(tag, kLineTag) != 0) break;
    auto* line = new COpnvLine(GetNetType());
    line->Create(0, m_pNetwork, GetNetType());
    if (line->SerializeGameLoad(file) != 0) {
      line->Destroy();
      delete line;
      return 1;
    }
    // The lines come back in the order they were saved in: the net's
    // walks (fleet, accounts, passengers) visit them as before the save.
    m_pLines->AddTailZorva(line);
  }
  ZorRecordReader tail(file);
  const int32_t reserved = tail.I32();
  const int32_t type = tail.I32();
  if (!tail.Ok()) return 1;
  m_Reserved = reserved;
  m_NetType = type;
  return 0;
}
