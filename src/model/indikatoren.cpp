#include "model/indikatoren.h"

#include "model/data_exchange.h"
#include "model/message.h"

int CIndikatoren::OnPlayloopTurn(STime, STime) { return 0; }

int CIndikatoren::CheckForMessages() { return 0; }

double CIndikatoren::GetIndikator(const char*) const {
  ZOR_STAND_IN("CIndikatoren");
  return 0.5;
}

int CIndikatoren::SetStandardMessage() {
  if (!m_pMessage) return 0;
  constexpr int kGroup = 21;
  const int people = m_pExchange ? m_pExchange->GetPeople() : 0;
  int growth = 2;
  if (people >= 15000) {
    const double g = GetIndikator("I.GROWTH");
    growth = g < 0.47 ? 14 : (g <= 0.53 ? 15 : 16);
  }
  m_pMessage->SetBeraterMessage(3, kGroup, growth);
  m_pMessage->SetBeraterMessage(0, kGroup, GetIndikator("I.EFF") < 0.5 ? 7 : 8);
  m_pMessage->SetBeraterMessage(1, kGroup, GetIndikator("I.QUALI") < 0.5 ? 9 : 10);
  m_pMessage->SetBeraterMessage(2, kGroup, GetIndikator("I.ZORV") < 0.5 ? 11 : 12);
  return 0;
}

int CIndikatoren::UpdateMaps() { return 0; }
