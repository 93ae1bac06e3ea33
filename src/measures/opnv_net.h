#pragma once
// Public transport's nets and stops. A net holds the lines of one kind: the
// bus net, the tram net, and the virtual net whose lines are walking links
// between nearby stops, so that a journey can change between bus and tram.
// The operator's stop side keeps every stop building, hands out stop ids
// and line numbers, finds the nearest stop to a place and rebuilds the
// virtual net whenever a stop comes or goes.
#include <cstdint>
#include <cstdio>

#include "worldbase/zor_world_obj.h"

class CBuildingList;
class CBuildingObject;
class COpnvLine;
class CSecondLayerObject;
class CStrJunctionList;
class CZorvaList;

// The kind of a net, a line or a stop.
enum NetActiveType : int32_t { NET_BUS = 1, NET_TRAM = 2, NET_VIRTUAL = 3 };

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

// The operator's stops and nets. The operator (COpnv) derives from it and
// gives the two hooks below.
class COpnvNets {
 public:
  // Virtual lines are numbered 1, 2, ... anew at every rebuild of the
  // virtual net, so their numbers stay positive and small; a line is told
  // apart by its net type and its number.
  static constexpr int kFirstVirtualLine = 1;
  // The radius in which a tram stop looks for a bus stop to walk to, and a
  // bus stop for another bus stop (100 per cell).
  static constexpr int kTramWalkRadius = 1600;
  static constexpr int kBusWalkRadius = 500;

  COpnvNets() = default;
  virtual ~COpnvNets();
  COpnvNets(const COpnvNets&) = delete;
  COpnvNets& operator=(const COpnvNets&) = delete;

  // Makes the three nets (on the street network, the tram net on the rail
  // network) and the empty stop list; stop ids and line numbers start at 1.
  int CreateNets(CStrJunctionList* streets, CStrJunctionList* rails);
  // Removes the virtual lines, forgets the stops (the buildings stay) and
  // destroys the nets with their lines.
  int DestroyNets();
  CStrJunctionList* GetStreetNetwork() const { return m_pStreets; }
  CStrJunctionList* GetRailNetwork() const { return m_pRails; }

  // ---- stops ----
  // Adds the stop at the head of the list with its net type; a new stop
  // takes the next stop id, a loaded one keeps its saved id (and the next
  // id stays above it). Rebuilds the virtual net unless loading; 0.
  int AddHst(CBuildingObject* stop, NetActiveType type, bool loading);
  // Takes the stop out of the list (the list's answer) and rebuilds the
  // virtual net.
  int RemoveHst(CBuildingObject* stop);
  // Removes, one after the other, every bus or tram line left without a
  // stop; the number removed.
  int CheckLinesForNoHst();
  CSecondLayerObject* GetHstByID(int id);
  CSecondLayerObject* GetFirstHst();
  CBuildingList* GetHstList() { return m_pHstList; }
  int GetHstCount() const { return m_HstCount; }
  // 0 when a stop stands on that street object, 1 otherwise.
  int CheckHstForStreet(CWorldObj* street);
  // Whether the interface's selected stop is served by line n.
  bool IsLineOnSelectedHst(int n);
  // The straight distance between two stops, 50 per cell, truncated;
  // 1000000 when either is missing.
  int HstToHstAirDistance(CSecondLayerObject* a, CSecondLayerObject* b);
  // The stop nearest to the rectangle of w x h cells at (x, y), strictly
  // nearer than `radius` (100 per cell), tram stops skipped when asked, and
  // `self` passed over: ids[0] its id, distances[0] its distance, found 1
  // (at most max). The arrays of max entries are cleared first. 0 when a
  // stop was found, else 1.
  int SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                    unsigned char* found, unsigned char max, bool skipTrams,
                    const CBuildingObject* self = nullptr);
  // Rebuilds the virtual net from scratch: a tram stop walks to its nearest
  // bus stop within kTramWalkRadius, a bus stop served by a line to its
  // nearest other bus stop within kBusWalkRadius that is served too.
  int CheckMakeVirtuellNet();

  // ---- ids ----
  // Hands out the next line number (they are never reused).
  int TakeNextLineNumber() { return m_NextLineNumber++; }
  int16_t GetNextLineNumber() const { return m_NextLineNumber; }
  void SetNextLineNumber(int16_t n) { m_NextLineNumber = n; }
  int16_t GetNextHstID() const { return m_NextHstID; }
  void SetNextHstID(int16_t id) { m_NextHstID = id; }
  int GetVirtualLineCount() const { return m_VirtualLineCount; }

  // ---- nets and walks ----
  COpnvNet* GetBusNet() { return m_pBusNet; }
  COpnvNet* GetTramNet() { return m_pTramNet; }
  COpnvNet* GetVirNet() { return m_pVirNet; }
  CZorvaList* GetVirLineList();
  // "OPNV.NET.BUSLINES" and "OPNV.NET.TRAMLINES": that net's line list;
  // null for other names.
  CZorvaList* GetList(const char* name);
  // Walks the bus net's lines, then the tram net's; null at the end.
  void SetupLineCount();
  COpnvLine* GetNextLine();
  // The line with number n, looked for in the bus net, then the tram net.
  COpnvLine* GetLineByID(int n);

 protected:
  // The operator marks its route matrix out of date.
  virtual void SetNewMatrix(bool changed) = 0;
  // The operator removes a line: vehicles back to the pools, out of its
  // net; 0 on success.
  virtual int RemoveLine(COpnvLine* line, int number) = 0;

  CBuildingList* m_pHstList = nullptr;
  COpnvNet* m_pBusNet = nullptr;
  COpnvNet* m_pTramNet = nullptr;
  COpnvNet* m_pVirNet = nullptr;
  int16_t m_NextLineNumber = 1;
  int16_t m_NextHstID = 1;
  int32_t m_HstCount = 0;
  int16_t m_VirtualLineCount = 0;
  // 1 in the bus net, 2 in the tram net; 0 before a walk.
  int32_t m_LineWalk = 0;
  CStrJunctionList* m_pStreets = nullptr;
  CStrJunctionList* m_pRails = nullptr;
};
