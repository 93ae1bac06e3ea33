#include <cstdint>

#include "framework/zor_record.h"
#include "sim/sim_agent.h"
#include "sim/sim_error.h"
#include "sim/sim_welt.h"

namespace {
constexpr uint8_t kAgentTag = 'A';
constexpr uint8_t kEndTag = 'E';
}  // namespace

CSimAgentListElement::CSimAgentListElement(CSimAgent* agent) : m_pAgent(agent) {
  if (!agent) throw CSimError::SetError("CSimAgentListElement::CSimAgentListElement()", "pAgent==NULL");
  if (!agent->IsValid())
    throw CSimError::SetError("CSimAgentListElement::CSimAgentListElement()", "pAgent->IsValid() != true");
}

CSimAgentList::~CSimAgentList() { Destroy(false); }

CSimAgentListElement* CSimAgentList::NewElement(CSimAgent* agent) {
  CSimAgentListElement element(agent);
  if (!m_free.empty()) {
    CSimAgentListElement* slot = m_free.back();
    m_free.pop_back();
    *slot = element;
    return slot;
  }
  m_storage.push_back(element);
  return &m_storage.back();
}

bool CSimAgentList::Link(CSimAgent* agent, bool front) {
  if (!agent || !agent->IsValid()) throw CSimError::SetError("CSimAgentList::InsertAgent()", "pAgent->IsValid() != true");
  CSimAgentListElement* element = NewElement(agent);
  std::vector<CSimAgentListElement*>& mine = m_index[agent];
  if (front) {
    m_links.LinkHead(element);
    mine.push_back(element);
  } else {
    m_links.LinkTail(element);
    mine.insert(mine.begin(), element);
  }
  return true;
}

bool CSimAgentList::InsertAgent(CSimAgent* agent) { return Link(agent, true); }

void CSimAgentList::Release(CSimAgentListElement* element, bool destroy) {
  CSimAgent* agent = element->pAgent();
  if (m_pIterator == element) m_pIterator = Links::Prev(element);
  m_links.Unlink(element);
  auto it = m_index.find(agent);
  if (it != m_index.end()) {
    std::vector<CSimAgentListElement*>& mine = it->second;
    for (size_t i = mine.size(); i-- > 0;)
      if (mine[i] == element) {
        mine.erase(mine.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    if (mine.empty()) m_index.erase(it);
  }
  m_free.push_back(element);
  if (destroy && agent) {
    if (agent->IsValid()) agent->Destroy();
    delete agent;
  }
}

bool CSimAgentList::RemoveAgent(CSimAgent* agent, bool destroy) {
  auto it = m_index.find(agent);
  if (it == m_index.end()) {
    SimSetError(1, "Fehler in CSimAgentList::RemoveAgent() -> Agent nicht registriert");
    return false;
  }
  Release(it->second.back(), destroy);
  return true;
}

bool CSimAgentList::RemoveFirstAgent(bool destroy) {
  CSimAgentListElement* first = m_links.GetHead();
  if (!first) return false;
  Release(first, destroy);
  return true;
}

void CSimAgentList::Destroy(bool destroy) {
  while (CSimAgentListElement* first = m_links.GetHead()) {
    CSimAgent* agent = first->pAgent();
    m_links.Unlink(first);
    if (destroy && agent) {
      // The same agent may stand in the list more than once.
      auto it = m_index.find(agent);
      if (it != m_index.end()) {
        m_index.erase(it);
        if (agent->IsValid()) agent->Destroy();
        delete agent;
      }
    }
  }
  m_index.clear();
  m_free.clear();
  m_storage.clear();
  m_pIterator = nullptr;
}

bool CSimAgentList::Contains(const CSimAgent* agent) const { return m_index.count(agent) != 0; }

bool CSimAgentList::ResetIterator() {
  m_pIterator = nullptr;
  return true;
}

CSimAgent* CSimAgentList::pNextAgent() {
  CSimAgentListElement* next = m_pIterator ? Links::Next(m_pIterator) : m_links.GetHead();
  if (!next) return nullptr;
  m_pIterator = next;
  return next->pAgent();
}

bool CSimAgentList::Save(FILE* file) const {
  bool ok = file != nullptr;
  for (CSimAgentListElement* e = m_links.GetHead(); e && ok; e = Links::Next(e)) {
    CSimAgent* agent = e->pAgent();
    if (!agent->IsValid()) continue;
    ZorRecordWriter out(file);
    out.U8(kAgentTag);
    ok = out.Ok() && agent->Save(file);
  }
  if (!ok) return false;
  ZorRecordWriter out(file);
  out.U8(kEndTag);
  return out.Ok();
}

int CSimAgentList::Load(FILE* file, CSimCityModell* model) {
  Destroy(false);
  int failed = 0;
  // The agents are most of the demand model's block: the loading indicator
  // moves along them as it does along the records before them.
  constexpr int kAgentsPerProgressStep = 32;
  const CSimWelt* world = model ? model->pSimWelt() : nullptr;
  for (int read = 0;; ++read) {
    if (world && read % kAgentsPerProgressStep == 0) world->LoadProgress(file);
    ZorRecordReader in(file);
    if (in.Left() == 0) break;
    const uint8_t tag = in.U8();
    if (!in.Ok() || tag == kEndTag) break;
    if (tag != kAgentTag) throw CSimError::SetError("CSimAgentList::Load()", "Unknown ID in file");
    auto* agent = new CSimAgent;
    try {
      agent->Load(file, model);
      // At the end: the loaded list keeps the saved order, so that the game
      // goes on after a load as it would have gone on without one.
      Link(agent, false);
    } catch (const char* text) {
      CSimError::PrintError(text);
      if (agent->IsValid()) {
        try {
          agent->Destroy();
        } catch (const char* again) {
          CSimError::PrintError(again);
        }
      }
      delete agent;
      ++failed;
    }
  }
  return failed;
}
