#pragma once
// Public transport's nets. A net holds the lines of one kind: the bus net,
// the tram net, and the virtual net whose lines are walking links between
// nearby stops, so that a journey can change between bus and tram. The
// operator's stop list, stop ids, nearest-stop search and the rebuild of
// the virtual net are the operator's (COpnv) and live in opnv_stops.cpp.
#include <cstdint>
#include <cstdio>

#include "worldbase/zor_world_obj.h"

class COpnvLine;
class CStrJunctionList;
class CZorvaList;

// The kind of a net, a line or a stop.
enum NetActiveType : int32_t { NET_BUS = 1, NET_TRAM = 2, NET_VIRTUELL = 3 };

// The lines of one kind. The net owns its lines: destroying the net
// destroys and deletes them.
class COpnvNet : public CWorldObj {
 public:
  explicit COpnvNet(NetActiveType type);
  ~COpnvNet() override;

  using CWorldObj::Create;
  // Makes the empty line list; no active line.
  int Create() override;
  // Destroys and deletes every line, then the list.
  int Destroy() override;

  // The street network the net's lines route on (the rail network for the
  // tram net); lines loaded from a savegame are made on it.
  void SetNetwork(CStrJunctionList* network) { m_pNetwork = network; }
  CStrJunctionList* GetNetwork() const { return m_pNetwork; }

  // Adds the line at the head of the list.
  int AddOpnvLine(COpnvLine* line);
  // Takes the object out of the list without destroying it; 1 when absent.
  int RemoveOpnvLine(CZorvaObject* object);
  // Takes out, destroys and deletes the first line whose number is `number`
  // or which is `line`: 0; 1 when the net holds neither.
  int DestroyLine(COpnvLine* line, int number);
  // The line with that number; null when absent.
  COpnvLine* GetLineObjectByID(int number);
  // The line at that 0-based position from the head; null when absent.
  COpnvLine* GetLineObjectByNr(int index);
  CZorvaList* GetList() { return m_pLines; }
  int GetLineCount() const;

  // Marks line n as the net's active one when n is a valid position
  // (0 .. lines - 1): 0; any other n clears the mark (-1): 1.
  int SetActiveLine(int n);
  int GetActiveLine() const { return m_ActiveLine; }
  void ShowAll(int value) { m_ShowAll = value; }
  int GetShowAll() const { return m_ShowAll; }
  NetActiveType GetNetType() const { return static_cast<NetActiveType>(m_NetType); }

  // Every line's visible-vehicle turn; 0.
  int OnPlayloopTurn();
  using CWorldObj::OnPlayloopTurn;
  // Every line checks its route against the network it runs on.
  void CheckAllLinesForStreetChange();
  void CheckAllLinesForRailChange();
  // Adds the lines' crossings with lights and those that give them priority.
  void CrossingOpnvPriorisierung(int& total, int& prioritised);

  // The "OPNV.NET." sums over the lines: 0 for those keys (the value first
  // set to 0), 1 for any other key with the value 0.
  int GetVarData(const char* name, double* value) override;
  using CWorldObj::GetVarData;
  // A net takes no values and has no steps or bounds: 1.
  int SetVarData(const char*, double) override { return 1; }
  int SetVarData(const char*, const char*) override { return 1; }
  int GetStep(const char*, float*) override { return 1; }
  int GetVarMin(const char*, float*) override { return 1; }
  int GetVarMax(const char*, float*) override { return 1; }

  // Each line from the head as "OPNVLINE" and its data record, then
  // "OPNVLINEENDE", the reserved word and the net type; 1 when a write
  // fails.
  int SerializeGameStore(FILE* file, char* name) override;
  // Reads lines while the tag is "OPNVLINE", each made on the net's network
  // and added at the head (so the saved order turns round), then the
  // reserved word and the net type; 1 when a read fails.
  int SerializeGameLoad(FILE* file) override;

 private:
  int m_ShowAll = 0;
  CZorvaList* m_pLines = nullptr;
  int32_t m_Reserved = 0;
  int32_t m_NetType;
  int32_t m_ActiveLine = -1;
  CStrJunctionList* m_pNetwork = nullptr;
};
