#include "world/zor_sim_parts.h"

#include <cstring>

#include "cybernet/cyber_net.h"
#include "framework/qno_resource.h"
#include "sim/sim_city_empty.h"

CSimCityModell* CZorWorldSimParts::NewCityModell() { return new CSimEmptyCityModell; }

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
