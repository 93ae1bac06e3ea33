#include "world/zor_sim_parts.h"

#include <cstring>

#include "cybernet/cyber_net.h"
#include "framework/qno_resource.h"
#include "cybernet/cyber_node.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "model/data_exchange.h"
#include "sim/sim_bus_matrix.h"
#include "sim/sim_city_model.h"
#include "world/zor_world.h"

CSimCityModell* CZorWorldSimParts::NewCityModell() { return new CSimCityModell; }

CCyberNet* CZorWorldSimParts::NewCyberNet() {
  auto* net = new CCyberNet;
  net->InsertStandardTemplates();
  return net;
}

bool CZorWorldSimParts::ReadCyberNet(CCyberNet* net, FILE* file) { return net && file && net->Read(file) == 0; }

void CZorWorldSimParts::DeleteCyberNet(CCyberNet* net) {
  if (!net) return;
  net->Reset();
  delete net;
}

const char* CZorWorldSimParts::CyberNetDefinition() {
  if (!m_pResources) return nullptr;
  const auto* text = static_cast<const char*>(m_pResources->GetResource(kDefinitionResource));
  const uint32_t length = m_pResources->GetResourceLength(kDefinitionResource);
  if (!text || length == 0 || !std::memchr(text, '\0', length)) return nullptr;
  return text;
}

bool CZorWorldSimParts::CyberNodeSize(CCyberNet* net, const char* name, double& size) {
  const CCyberNode* node = net && name ? net->pNode(name) : nullptr;
  if (!node) return false;
  size = node->Size();
  return true;
}

bool CZorWorldSimParts::GrowthTargets(int& jobs, int& homes, int& people) {
  CDataExchange* exchange = m_pWorld ? m_pWorld->GetDataExchange() : nullptr;
  // A computed target never lies below 15000 people: 0 means that none has
  // been set yet, and the city then keeps the people it has.
  if (!exchange || exchange->GetTargetPeople() <= 0) return false;
  jobs = exchange->GetTargetJobs();
  homes = exchange->GetTargetHomes();
  people = exchange->GetTargetPeople();
  return true;
}

CSimParkingDataSource* CZorWorldSimParts::ParkingData() { return m_pWorld ? m_pWorld->GetParkManagement() : nullptr; }

bool CZorWorldSimParts::LoadingGame() { return CZorvaWorld::m_LoadGame != 0; }

int CZorWorldSimParts::LoadVersion() { return CZorvaWorld::g_LoadVersion; }

void CZorWorldSimParts::LoadProgress(FILE* file) {
  if (m_pWorld) m_pWorld->RenderLadeAnzeige(file);
}

CBusNetMatrix* CZorWorldSimParts::NewBusNetMatrix() { return new CBusNetMatrix(this); }

bool CZorWorldSimParts::TakeBusNetChanged() {
  COpnv* opnv = m_pWorld ? m_pWorld->GetOpnv() : nullptr;
  if (!opnv || !opnv->GetNewMatrix()) return false;
  opnv->SetNewMatrix(false);
  return true;
}

// Public transport's own walk, asked at each call: a load replaces the
// operator while the matrices stay.
void CZorWorldSimParts::SimSetupLineDataCount() {
  if (COpnv* opnv = m_pWorld ? m_pWorld->GetOpnv() : nullptr) opnv->SimSetupLineDataCount();
}

LineDataType* CZorWorldSimParts::SimGetNextLineData() {
  COpnv* opnv = m_pWorld ? m_pWorld->GetOpnv() : nullptr;
  return opnv ? opnv->SimGetNextLineData() : nullptr;
}
