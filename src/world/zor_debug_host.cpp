#include "world/zor_debug_host.h"

#include <memory>

#include "measures/opnv.h"
#include "measures/opnv_net.h"
#include "microsim/micro_car.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "world/zor_world.h"

CSimWelt* CZorDebugHost::SimWelt() { return m_world.GetSimWelt(); }

void CZorDebugHost::SetGameModus(int mode) {
  if (CGottModus* god = m_world.GetGottModus(); god && mode >= GAME_GOD && mode <= GAME_EXPO)
    god->SetGameModus(static_cast<EGameModus>(mode));
}

bool CZorDebugHost::GetSzenario(int* kind, int* indicator, float* target, int* endYear) {
  CGottModus* god = m_world.GetGottModus();
  if (!god) return false;
  god->GetSzenario(kind, indicator, target);
  *endYear = god->GetEndYear();
  return true;
}

void CZorDebugHost::SetSzenario(int kind, int indicator, float target, int years) {
  if (CGottModus* god = m_world.GetGottModus()) god->SetSzenario(kind, indicator, target, years);
}

void CZorDebugHost::SwitchIndicatorOverride() {
  if (CIndikatoren* indicators = m_world.GetIndikatoren()) indicators->SwitchManuell();
}

void CZorDebugHost::ChangeIndikatoren(float delta) {
  if (CIndikatoren* indicators = m_world.GetIndikatoren()) indicators->ChangeIndikatoren(delta);
}

void CZorDebugHost::AddToAccount(double amount) {
  if (CDataExchange* dx = m_world.GetDataExchange()) dx->VarAddValue("F.KONTO", amount);
}

bool CZorDebugHost::MessageExists(int group, int entry) {
  return m_world.GetMessage() && CMessage::CheckForGlobalMessage(group, entry);
}

void CZorDebugHost::ShowCheckMessage(int group, int entry) {
  if (CMessage* message = m_world.GetMessage()) message->AddCheckMessage(group, entry);
}

int CZorDebugHost::ActivateMessage(int group, int entry) {
  CMessage* message = m_world.GetMessage();
  return message ? message->ActivateMessage(group, entry, -1.0f, -1.0f, -1.0f, -1, -1, -1, 1, 1) : 1;
}

const char* CZorDebugHost::WaitMessageShort() {
  CMessage* message = m_world.GetMessage();
  return message ? message->GetWaitMessageShort(0) : nullptr;
}

void CZorDebugHost::CheckLocations() {
  if (CSimLocationFactory* factory = m_world.GetLocationFactory()) factory->CheckLocationForError();
}

void CZorDebugHost::CheckModel() {
  m_world.RemoveDummyRailObject();
  if (CSimWelt* sim = m_world.GetSimWelt(); sim && sim->pCityModell()) sim->pCityModell()->CheckAgentIntegrity();
  if (COpnv* opnv = m_world.GetOpnv())
    for (COpnvNet* net : {opnv->GetBusNet(), opnv->GetTramNet()})
      if (net) net->CheckAllLinesForStreetChange();
}

CZorvaObject* CZorDebugHost::CreateTestCar(int x, int y) {
  auto* car = new CCar;
  car->CreateCar(nullptr);
  car->SetScreenXYPos(x, y, x, y);
  car->SetRichtungsIndex(0);
  return car;
}

void CZorDebugHost::SetTestCarDirection(CZorvaObject* car, int direction) {
  if (auto* c = dynamic_cast<CCar*>(car)) c->SetRichtungsIndex(direction);
}

bool CZorDebugHost::GetGrowthTargets(int* people, int* homes, int* jobs, int* hindernis) {
  CDataExchange* dx = m_world.GetDataExchange();
  if (!dx) return false;
  *people = dx->GetTargetPeople();
  *homes = dx->GetTargetHomes();
  *jobs = dx->GetTargetJobs();
  *hindernis = dx->GetGrowthHindernis();
  return true;
}

int CZorDebugHost::GameSpeed() { return m_world.GetGameSpeedMs(); }

void ZorInstallDebugHost(CZorvaWorld* world) {
  static std::unique_ptr<CZorDebugHost> host;
  CUiDebugHost::Install(nullptr);
  host.reset(world ? new CZorDebugHost(*world) : nullptr);
  CUiDebugHost::Install(host.get());
}
