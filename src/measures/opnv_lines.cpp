// The operator's side of the lines: making and removing them with their
// vehicles, the line the window shows, and the vehicles' frame turn.
#include "framework/zor_pointer_list.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"

COpnvLine* COpnv::CreateNewLine(int type) {
  SetNewMatrix(true);
  COpnvNet* net = type == NET_BUS ? m_pBusNet : type == NET_TRAM ? m_pTramNet : nullptr;
  if (!net) return nullptr;
  const auto netType = static_cast<NetActiveType>(type);
  auto* line = new COpnvLine(netType);
  line->Create(m_NextLineNr++, type == NET_TRAM ? m_pRailNet : m_pStreetNet, netType);
  net->AddOpnvLine(line);
  return line;
}

int COpnv::RemoveLine(int number) { return RemoveLine(nullptr, number); }

int COpnv::RemoveLine(COpnvLine* line, int number) {
  if (!line) line = GetLineByID(number);
  COpnvHost* host = COpnvHost::Get();
  if (line) host->ForgetLine(line);
  if (line && line->GetNetType() != NET_VIRTUELL) {
    int32_t n = 0, e = 0, h = 0, l = 0, t = 0;
    line->GetFp(n, e, h, l, t);
    m_FreeNormal += n;
    m_FreeEnergie += e;
    m_FreeH2 += h;
    m_FreeLowFloor += l;
    m_FreeTram += t;
  }
  if (line && m_pActiveLine == line) m_pActiveLine = nullptr;
  for (COpnvNet* net : {m_pBusNet, m_pTramNet}) {
    if (!net || net->DestroyLine(line, number) != 0) continue;
    SetNewMatrix(true);
    if (!m_RemovingAll) {
      host->RefreshWindowLineChange();
      CalculateBussePersonal();
    }
    return 0;
  }
  host->SetZorvaList(129, 1, nullptr, 1);
  return 1;
}

void COpnv::SetActiveLine(int number) { m_pActiveLine = GetLineByID(number); }

int COpnv::RemoveAllLineBeforeLoadExit() {
  COpnvHost* host = COpnvHost::Get();
  host->ClearSelectedHst();
  bool removed = false;
  m_RemovingAll = true;
  for (COpnvNet* net : {m_pBusNet, m_pTramNet})
    while (net && net->GetLineObjectByNr(0)) {
      COpnvLine* line = net->GetLineObjectByNr(0);
      if (RemoveLine(line, line->GetID()) != 0) break;
      removed = true;
    }
  m_RemovingAll = false;
  if (removed) {
    host->RefreshWindowLineChange();
    CalculateBussePersonal();
  }
  if (m_pVirNet)
    while (COpnvLine* line = m_pVirNet->GetLineObjectByNr(0))
      if (m_pVirNet->DestroyLine(line, line->GetID()) != 0) break;
  m_pActiveLine = nullptr;
  return 0;
}

int COpnv::OnPlayloopTurn() {
  const bool turn = m_TurnFlag;
  m_TurnFlag = true;
  if (m_pBusNet) m_pBusNet->OnPlayloopTurn();
  if (m_pTramNet) m_pTramNet->OnPlayloopTurn();
  m_TurnFlag = turn;
  return 0;
}

void COpnv::SimSetupLineDataCount() {
  m_LineWalkState = NET_BUS;
  for (COpnvNet* net : {m_pBusNet, m_pTramNet, m_pVirNet})
    if (net && net->GetList()) net->GetList()->SetupZorvaCount();
}

LineDataType* COpnv::SimGetNextLineData() {
  for (; m_LineWalkState <= NET_VIRTUELL; ++m_LineWalkState) {
    COpnvNet* net = m_LineWalkState == NET_BUS ? m_pBusNet : m_LineWalkState == NET_TRAM ? m_pTramNet : m_pVirNet;
    CZorvaList* list = net ? net->GetList() : nullptr;
    if (!list) continue;
    while (CZorvaObject* o = list->GetNextZorva()) {
      auto* line = static_cast<COpnvLine*>(o);
      // Virtual lines are always in service.
      if (m_LineWalkState == NET_VIRTUELL || line->IsActive()) return line->GetData();
    }
  }
  return nullptr;
}

int COpnv::NetVar(COpnvNet* net, const char* key, double* value) {
  *value = 0.0;
  return net ? net->GetVarData(key, value) : 1;
}

void COpnv::MakeNets() {
  m_pBusNet = new COpnvNet(NET_BUS);
  m_pTramNet = new COpnvNet(NET_TRAM);
  m_pVirNet = new COpnvNet(NET_VIRTUELL);
  for (COpnvNet* net : {m_pBusNet, m_pTramNet, m_pVirNet}) net->Create();
  PassNetworks();
  m_pHstList = new CBuildingList(1);
}

void COpnv::DestroyNets() {
  // The virtual lines go first: they lead between the stops of the others.
  for (COpnvNet** net : {&m_pVirNet, &m_pBusNet, &m_pTramNet}) {
    if (!*net) continue;
    (*net)->Destroy();
    delete *net;
    *net = nullptr;
  }
  if (m_pHstList) m_pHstList->Destroy();
  delete m_pHstList;
  m_pHstList = nullptr;
  m_HstCount = 0;
  m_pActiveLine = nullptr;
}

void COpnv::PassNetworks() {
  if (m_pBusNet) m_pBusNet->SetNetwork(m_pStreetNet);
  if (m_pTramNet) m_pTramNet->SetNetwork(m_pRailNet);
  if (m_pVirNet) m_pVirNet->SetNetwork(m_pStreetNet);
}

void COpnv::CheckLineRoutes() {
  if (m_pBusNet) m_pBusNet->CheckAllLinesForStreetChange();
  if (m_pTramNet) m_pTramNet->CheckAllLinesForRailChange();
}

namespace {
// The lines of the bus net, then of the tram net, in list order, while f
// answers true.
template <class F>
void ForEachLine(COpnvNet* bus, COpnvNet* tram, F f) {
  for (COpnvNet* net : {bus, tram}) {
    if (!net || !net->GetList()) continue;
    for (CZorvaPointer* n = net->GetList()->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
      if (!f(static_cast<COpnvLine*>(n->GetZorvaObject()))) return;
  }
}
}  // namespace

void COpnv::LineFleet(int32_t held[FLEET_KINDS]) {
  ForEachLine(m_pBusNet, m_pTramNet, [&](COpnvLine* line) {
    int32_t n = 0, e = 0, h = 0, l = 0, t = 0;
    line->GetFp(n, e, h, l, t);
    held[FLEET_NORMAL] += n;
    held[FLEET_ENERGIE] += e;
    held[FLEET_H2] += h;
    held[FLEET_LOWFLOOR] += l;
    held[FLEET_TRAM] += t;
    return true;
  });
}

void COpnv::LinesGiveUp(int32_t deficit[FLEET_KINDS]) {
  ForEachLine(m_pBusNet, m_pTramNet, [&](COpnvLine* line) {
    line->SubFp(deficit[FLEET_NORMAL], deficit[FLEET_ENERGIE], deficit[FLEET_H2], deficit[FLEET_LOWFLOOR],
                deficit[FLEET_TRAM]);
    for (int k = 0; k < FLEET_KINDS; ++k)
      if (deficit[k] > 0) return true;
    return false;
  });
}

bool COpnv::MoveVehicle(bool toLine) {
  if (!m_pActiveLine) return false;
  int count = 1;
  if (toLine) m_pActiveLine->AddFp(count, m_FreeNormal, m_FreeEnergie, m_FreeH2, m_FreeLowFloor, m_FreeTram);
  else m_pActiveLine->SubFp(count, m_FreeNormal, m_FreeEnergie, m_FreeH2, m_FreeLowFloor, m_FreeTram);
  return true;
}

bool COpnv::ActiveLineIsTram() const { return m_pActiveLine && m_pActiveLine->GetNetType() == NET_TRAM; }

double COpnv::CrossingShare() {
  int total = 0, prioritised = 0;
  if (m_pBusNet) m_pBusNet->CrossingOpnvPriorisierung(total, prioritised);
  return total == 0 ? 0.0 : static_cast<double>(prioritised) / total;
}

void COpnv::BindNetWindow(int which) {
  COpnvHost* host = COpnvHost::Get();
  if (which == NET_BUS && m_pBusNet) {
    host->SetVarWorldObject(131, -2, -2, m_pBusNet);
    host->SetZorvaList(131, 1, m_pBusNet->GetList(), 0);
  } else if (which == NET_TRAM && m_pTramNet) {
    // The tram lines go to the tram list, not into the bus list.
    host->SetVarWorldObject(132, -2, -2, m_pTramNet);
    host->SetZorvaList(132, 1, m_pTramNet->GetList(), 0);
  }
}

void COpnv::ShowNets(bool all) {
  for (COpnvNet* net : {m_pBusNet, m_pTramNet, all ? m_pVirNet : nullptr})
    if (net) net->ShowAll(1);
}

void COpnv::ShowLine(bool bus, int number) {
  COpnvNet* net = bus ? m_pBusNet : m_pTramNet;
  COpnvLine* line = net ? net->GetLineObjectByID(number) : nullptr;
  if (!line) return;
  COpnvHost* host = COpnvHost::Get();
  host->SetVarWorldObject(130, -2, -2, line);
  if (bus) {
    host->SetZorvaList(130, 1, line->GetList(nullptr), 0);
    host->ActivateWindow(130);
    host->SetSelectedLine(line, line->GetID());
  }
  for (int i = 0; i < net->GetLineCount(); ++i)
    if (net->GetLineObjectByNr(i) == line) net->SetActiveLine(i);
  m_pActiveLine = line;
  m_SelectMark = 1;
}

int COpnv::StoreNet(COpnvNet* net, FILE* file) { return net ? net->SerializeGameStore(file, nullptr) : 1; }

int COpnv::LoadNet(COpnvNet* net, FILE* file) { return net ? net->SerializeGameLoad(file) : 1; }

int COpnv::CheckLinesForNoHst() {
  int removed = 0;
  // A removal changes the nets' lists: the walk starts again after each.
  for (bool again = true; again;) {
    again = false;
    for (COpnvNet* net : {m_pBusNet, m_pTramNet}) {
      for (int i = 0; net && !again; ++i) {
        COpnvLine* line = net->GetLineObjectByNr(i);
        if (!line) break;
        if (line->NoHst() != 0) continue;
        if (RemoveLine(line, line->GetID()) != 0) return removed;
        ++removed;
        again = true;
      }
      if (again) break;
    }
  }
  return removed;
}
