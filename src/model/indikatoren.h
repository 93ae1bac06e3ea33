#pragma once
// Indicators and the adviser messages they raise.
// Stand-in for the indicator rows: every row keeps its start value 0.5
// until the indicators are computed; the standing adviser messages follow
// those values and the city's people.
#include "sim/sim_date.h"
#include "framework/zor_stand_in.h"
#include "worldbase/zor_world_obj.h"

class CDataExchange;
class CMessage;

class CIndikatoren : public CWorldObj {
 public:
  // Stand-in for the indicators' record reader: nothing to read.
  using CWorldObj::SerializeGameLoad;
  virtual int SerializeGameLoad(FILE*, int /*payloadLength*/) {
    ZOR_STAND_IN("CIndikatoren");
    return 0;
  }
  // The message system whose adviser slots the standing messages fill,
  // and the data exchange that counts the city's people; either may be
  // null, and both stay their owner's.
  void Attach(CMessage* message, CDataExchange* exchange) {
    m_pMessage = message;
    m_pExchange = exchange;
  }
  // Looks for adviser messages; every third hour.
  virtual int CheckForMessages();
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // Sets adviser slots 0-3 to the standing messages of group 21 by the
  // efficiency, quality, mobility and growth indicators and the people.
  virtual int SetStandardMessage();
  virtual int UpdateMaps();
  // The value of an indicator row by name; 0.5 until they are computed.
  virtual double GetIndikator(const char* name) const;

 private:
  CMessage* m_pMessage = nullptr;
  CDataExchange* m_pExchange = nullptr;
};
