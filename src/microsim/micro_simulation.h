#pragma once
// The cellular micro simulation of the visible vehicles: joins the cell
// layouts of neighbouring tiles into one graph per street direction.
#include <cstdint>

#include "worldbase/street_type.h"

class CQnoMicroZelle;
class CWorldObj;
struct BinaryMicroSimObject;

class CMicroSimulation {
 public:
  virtual ~CMicroSimulation() = default;
  virtual int Create();
  virtual int Destroy();

  // Joins the layouts of two neighbouring tiles a and b of one street, one
  // lane each way (two for the four-lane street); 1 when a layout is null.
  int Link(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType type, uint16_t simIdAB, uint16_t simIdBA);
  int LinkStrasseD(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType type, uint16_t simIdAB, uint16_t simIdBA);
  // One-way streets turn b and join a's exit to b's first entry: of the
  // street's own lane when an exit carries simIdAB, else the exit nearest
  // that entry; every other type is Link.
  int LinkAndTurnSec(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType type, uint16_t simIdAB,
                     uint16_t simIdBA);
  int LinkKreuzung(CWorldObj* /*a*/, CWorldObj* /*b*/, CStrassenType /*type*/) { return 0; }

  // 10 x the pixel distance between the cells' screen positions.
  static double CalcDistance(const BinaryMicroSimObject* a, const BinaryMicroSimObject* b);

 private:
  // Joins the nearest fitting pair of an exit of `from` and an entry of `to`;
  // for a one-way street no exit of a lane that comes in from `to`.
  void LinkOneLane(CQnoMicroZelle* from, CQnoMicroZelle* to, uint16_t simId, bool oneWay = false);
};
