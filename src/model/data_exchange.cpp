#include "model/data_exchange.h"

#include <cstring>
#include <type_traits>

#include "cybernet/cyber_net.h"
#include "framework/qno_bytes.h"
#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "framework/zor_seams.h"

namespace {
const char* const kRoutePrefixes[] = {"I.", "OPNV.", "PTA.", "F.", "PR.", "PRM.", "U.",
                                      "SV.", "MS.", "MZ.", "CS.", "TD.", "AR.", "PAR."};
constexpr const char* kRecordName = "DATAEXCHANGE";

bool StartsWith(const char* name, const char* prefix) { return std::strncmp(name, prefix, std::strlen(prefix)) == 0; }
// The surrounding region's names ("UMLAND.CITY.PEOPLE.n") go to the owner of
// its prefix "U." as well, the traffic displays' ("TDISPLAY.NUMBER") to the
// owner of "TD.".
bool Routes(const char* name, const char* prefix) {
  return StartsWith(name, prefix) || (std::strcmp(prefix, "U.") == 0 && StartsWith(name, "UMLAND.")) ||
         (std::strcmp(prefix, "TD.") == 0 && StartsWith(name, "TDISPLAY."));
}
}  // namespace

CDataExchange::CDataExchange() {
  for (int i = 0; i < kRoutes; ++i) m_Routes[i] = {kRoutePrefixes[i], nullptr, false};
  for (float& v : m_Block.streetNet) v = -1.0f;
  m_Block.besetzungsGrad = 1.3f;
  m_Block.berater = 1;
  const int32_t now = static_cast<int32_t>(kfx_GetTicks());
  m_Block.microcarMessageTime = now;
  m_Block.teleworkingMessageTime = now;
}

CDataExchange::~CDataExchange() { Destroy(); }

int CDataExchange::Create(CZorvaWorld* world, CSimWelt* simulation, CUserInt* userInt, CList* objectList) {
  m_pWorld = world;
  m_pSimulation = simulation;
  m_pUserInt = userInt;
  m_pObjectList = objectList;
  return 0;
}

int CDataExchange::Destroy() {
  m_Globals.SetupZorvaCount(0);
  while (CZorvaObject* object = m_Globals.GetNextZorva()) {
    CVar* var = static_cast<CVar*>(object);
    m_Globals.RemoveZorva(var);
    var->Destroy();
    delete var;
    m_Globals.SetupZorvaCount(0);
  }
  return 0;
}

int CDataExchange::RegisterOwner(const char* prefix, CVarOwner* owner) {
  if (!prefix) return 1;
  for (Route& route : m_Routes)
    if (std::strcmp(route.prefix, prefix) == 0) {
      route.owner = owner;
      route.missingLogged = false;
      ++m_Changes;
      return 0;
    }
  return 1;
}

const char* CDataExchange::GetRoutePrefix(int i) { return i >= 0 && i < kRoutes ? kRoutePrefixes[i] : nullptr; }

int CDataExchange::GetWorldVars(const char* name, CVar* var) {
  if (!name || !var) return 1;
  if (StartsWith(name, "DX.")) {
    const CVar* global = GetVarByName(name + 3);
    if (!global) return 1;
    var->Copy(global);
    return 0;
  }
  for (Route& route : m_Routes) {
    if (!Routes(name, route.prefix)) continue;
    if (!route.owner) {
      if (!route.missingLogged)
        QNO_ERROR2(QNO_SEV_WARNING, "CDataExchange: no object answers %s (asked for %s); it reads 0", route.prefix,
                   name);
      route.missingLogged = true;
      return 1;
    }
    var->SetName(name);
    var->SetWorldOject(route.owner);
    return 0;
  }
  return 1;
}

CVarOwner* CDataExchange::GetObjectByName(const char* name) {
  if (!name) return nullptr;
  if (StartsWith(name, "DX.")) return this;
  for (const Route& route : m_Routes)
    if (Routes(name, route.prefix)) return route.owner;
  return nullptr;
}

double CDataExchange::ApplyToNode(ExType op, const char* nodeName, double value, bool* known) {
  if (!m_pCyberNet) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::DoVar() cyber == NULL");
    return 0.0;
  }
  CCyberNode* node = m_pCyberNet->pNode(nodeName);
  if (!node) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::DoVar() Cybernode %s nicht gefunden", nodeName);
    return 0.0;
  }
  switch (op) {
    case EX_GET: *known = true; return CVar::ToFloatPrecision(node->Size());
    case EX_MAX: *known = true; return CVar::ToFloatPrecision(node->MaxSize());
    case EX_MIN: *known = true; return CVar::ToFloatPrecision(node->MinSize());
    case EX_SET:
      *known = true;
      if (node->GetActive()) node->SetSize(value);
      return 0.0;
    default:
      QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::DoVar() ungültige Operation");
      return 0.0;
  }
}

double CDataExchange::ApplyToGlobal(ExType op, const char* bareName, double value, bool* known) {
  // The global itself, not a copy: a write must reach every window that
  // shows it.
  CVar* var = GetVarByName(bareName);
  if (!var) return 0.0;
  *known = true;
  double result = 0.0;
  switch (op) {
    case EX_SET: var->SetValue(value); return 0.0;
    case EX_GET: var->GetValue(&result, true); return result;
    case EX_SUB: var->AddValue(-value); return value;
    case EX_ADD: var->AddValue(value); return 0.0;
    case EX_MAX: var->GetMax(&result); return result;
    case EX_MIN: var->GetMin(&result); return result;
    case EX_STEP: var->GetStep(&result); return result;
    default: return 0.0;
  }
}

double CDataExchange::Apply(ExType op, const char* name, double value, bool* known) {
  *known = false;
  if (op == EX_SET || op == EX_ADD || op == EX_SUB) ++m_Changes;
  if (!name) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::DoVar() name == NULL");
    return 0.0;
  }
  if (StartsWith(name, "W.")) return std::strlen(name) < 3 ? 0.0 : ApplyToNode(op, name + 2, value, known);
  if (StartsWith(name, "DX.")) return ApplyToGlobal(op, name + 3, value, known);

  CVar var;
  if (GetWorldVars(name, &var) != 0) return 0.0;
  double probe = 0.0;
  *known = var.GetZorvaObject()->GetVarData(var.GetName(), &probe) == 0;
  double result = 0.0;
  switch (op) {
    case EX_SET: var.SetValue(value); break;
    case EX_GET: var.GetValue(&result, true); break;
    case EX_SUB: var.AddValue(-value); result = value; break;
    case EX_ADD: var.AddValue(value); break;
    case EX_MAX: var.GetMax(&result); break;
    case EX_MIN: var.GetMin(&result); break;
    case EX_STEP: var.GetStep(&result); break;
    default: break;
  }
  var.Destroy();
  return result;
}

double CDataExchange::DoVar(ExType op, const char* name, double value) {
  bool known = false;
  return Apply(op, name, value, &known);
}

double CDataExchange::GetVarValue(const char* name) {
  double v = 0.0;
  GetVarData(name, &v);
  return v;
}

void CDataExchange::SetVarValue(const char* name, double value) { SetVarData(name, value); }
void CDataExchange::VarAddValue(const char* name, double value) { DoVar(EX_ADD, name, value); }
void CDataExchange::VarSubValue(const char* name, double value) { DoVar(EX_SUB, name, value); }

int CDataExchange::SetVarData(const char* name, double value) {
  bool known = false;
  Apply(EX_SET, name, value, &known);
  return known ? 0 : 1;
}

int CDataExchange::GetVarData(const char* name, double* value) {
  bool known = false;
  *value = Apply(EX_GET, name, 0.0, &known);
  return known ? 0 : 1;
}

int CDataExchange::GetVarMax(const char* name, float* max) {
  bool known = false;
  *max = static_cast<float>(Apply(EX_MAX, name, 0.0, &known));
  return known ? 0 : 1;
}

int CDataExchange::GetValue(const char* bareName, char* buffer, size_t size) {
  CVar* var = GetVarByName(bareName);
  if (!var) return 1;
  return var->GetValue(buffer, size);
}

int CDataExchange::AddVarHead(CVar* var) {
  if (!var) return 1;
  m_Globals.AddHeadZorva(var);
  var->IncrementInListNumber();
  return 0;
}

int CDataExchange::RemoveVar(CVar* var) {
  if (!var || m_Globals.RemoveZorva(var) != 0) return 1;
  var->DecrementInListNumber();
  return 0;
}

int CDataExchange::DestroyVar(CVar* var) {
  if (RemoveVar(var) != 0) return 1;
  var->Destroy();
  delete var;
  return 0;
}

namespace {

// Calls f with every field of the block, in the order the savegame holds them.
template <class F>
void ForEachBlockField(SDataExchangeBlock& b, F&& f) {
  for (int32_t& v : b.kept0) f(v);
  f(b.moneyCounter);
  f(b.kept16);
  f(b.statistik);
  for (float& v : b.streetNet) f(v);
  f(b.opnvNetLength);
  f(b.opnvNetExclusiveLength);
  f(b.streetNetLength);
  f(b.railNetValue);
  f(b.people);
  f(b.targetPeople);
  f(b.targetJobs);
  f(b.targetHomes);
  f(b.worker);
  f(b.workerD);
  f(b.workerI);
  f(b.fze);
  for (float& v : b.landUse) f(v);
  f(b.landUseShare);
  f(b.peopleValue);
  f(b.kept112);
  f(b.bebauteFlaeche);
  f(b.landUseU13);
  f(b.raumtrennung);
  f(b.kfz);
  f(b.quoteMicrocar);
  f(b.quoteH2);
  f(b.quoteECar);
  f(b.kept144);
  f(b.besetzungsGrad);
  f(b.teleWorker);
  f(b.h2Car);
  f(b.energieCar);
  f(b.microcar);
  f(b.verzichtAuto);
  f(b.berater);
  f(b.growthHindernis);
  f(b.quoteTeleworking);
  f(b.growthMessage);
  f(b.microcarMessageTime);
  f(b.microcarMessageQuote);
  f(b.teleworkingMessageTime);
  f(b.teleworkingMessageQuote);
}

void PutField(uint8_t* image, uint32_t at, int32_t v) { qno_wr32(image, at, static_cast<uint32_t>(v)); }
void PutField(uint8_t* image, uint32_t at, float v) { qno_wrf32(image, at, v); }
void GetField(const uint8_t* image, uint32_t at, int32_t& v) { v = static_cast<int32_t>(qno_rd32(image, at)); }
void GetField(const uint8_t* image, uint32_t at, float& v) { v = qno_rdf32(image, at); }

}  // namespace

int CDataExchange::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.Header(kRecordName, kBlockSize);
  SDataExchangeBlock block = m_Block;
  ForEachBlockField(block, [&](auto v) {
    if constexpr (std::is_same_v<decltype(v), float>)
      out.F32(v);
    else
      out.I32(v);
  });
  return out.Ok() ? 0 : 1;
}

int CDataExchange::SerializeGameLoad(FILE* file, int length, int version) {
  ZorRecordReader in(file);
  // Older savegames hold a shorter block whose size the record states; the
  // block never takes more than it has room for.
  uint32_t wanted = kBlockSize;
  uint32_t rest = 0;
  if (version < kFullBlockVersion) {
    wanted = length < 0 ? 0 : static_cast<uint32_t>(length);
    if (wanted > kBlockSize) {
      rest = wanted - kBlockSize;
      wanted = kBlockSize;
    }
  }
  // The stored bytes go over the block's current values, so a short block
  // keeps the fields it does not reach.
  SDataExchangeBlock loaded = m_Block;
  uint8_t image[kBlockSize];
  uint32_t at = 0;
  ForEachBlockField(loaded, [&](auto& v) { PutField(image, at, v), at += 4; });
  in.Bytes(image, wanted);
  in.Skip(rest);
  if (!in.Ok()) return 1;
  at = 0;
  ForEachBlockField(loaded, [&](auto& v) { GetField(image, at, v), at += 4; });
  m_Block = loaded;
  m_Block.moneyCounter = 0;
  const int32_t now = static_cast<int32_t>(kfx_GetTicks());
  m_Block.microcarMessageTime = now;
  m_Block.teleworkingMessageTime = now;
  m_Block.microcarMessageQuote = m_Block.quoteMicrocar;
  m_Block.teleworkingMessageQuote = m_Block.quoteTeleworking;
  return 0;
}

void CDataExchange::SetTeleWorker(int n) {
  m_Block.teleWorker = n;
  m_Block.quoteTeleworking = m_Block.worker ? static_cast<float>(static_cast<double>(n) / m_Block.worker) : 0.0f;
}

void CDataExchange::SetH2Car(int n) {
  m_Block.h2Car = n;
  m_Block.quoteH2 = m_Block.kfz ? static_cast<float>(static_cast<double>(n) / m_Block.kfz) : 0.0f;
}

void CDataExchange::SetEnergieCar(int n) {
  m_Block.energieCar = n;
  m_Block.quoteECar = m_Block.kfz ? static_cast<float>(static_cast<double>(n) / m_Block.kfz) : 0.0f;
}

void CDataExchange::UpdateQuoteMicrocar() {
  m_Block.quoteMicrocar = static_cast<float>((GetVarValue("W.K12.2") + GetVarValue("W.K12.3")) / 100.0);
}

float CDataExchange::GetQuoteMicroCar() {
  UpdateQuoteMicrocar();
  return m_Block.quoteMicrocar;
}

float CDataExchange::GetQuotePkw() const {
  return 1.0f - (m_Block.quoteMicrocar + m_Block.quoteH2 + m_Block.quoteECar);
}

int CDataExchange::GetPkw() const { return static_cast<int>(m_Block.kfz * (1.0 - m_Block.quoteMicrocar)); }
int CDataExchange::GetPkwH2() const { return static_cast<int>(m_Block.kfz * static_cast<double>(m_Block.quoteH2)); }
int CDataExchange::GetPkwE() const { return static_cast<int>(m_Block.kfz * static_cast<double>(m_Block.quoteECar)); }
