#pragma once
// The tracks of the rail network: a track (`CStrSchienen`) is a street of
// type 9 between two rail junctions, drawn as 2 x 2 groups along its pieces
// and 3 x 3 groups at its bends; its pieces (`CStrSchStrTeil`) keep the
// level crossings where the track crosses streets. Tracks never reach the
// demand simulation; their ids come from a counter of their own.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"

class CStrSchJuncList;

// A straight piece of track along one axis.
class CStrSchStrTeil : public CStrStrassenTeil {
  ZOR_DECLARE_TYPE(CStrSchStrTeil)
 public:
  CStrSchStrTeil() = default;
  explicit CStrSchStrTeil(CIsoWelt* iso) : CStrStrassenTeil(iso) {}
  // Cells and a copy of the other piece's level crossings, no links.
  explicit CStrSchStrTeil(const CStrStrassenTeil* other) : CStrStrassenTeil(other) {}

  // Stores the cells, makes the level crossings with the streets the piece
  // runs over and takes a copy of `parts` when it covers the piece.
  int Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool unused);
  int Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool testRail,
             CStrassenType type) override;
  using CStrStrassenTeil::Create;
  // Offsets of a curve group at the piece's start (atStart) or end.
  int FixeKurvenOff(signed char& dx, signed char& dy, bool atStart) override;

  // A level crossing of a street of type t at (x, y), at the list's head.
  int CreateExtraTeilAt(short x, short y, short x2, short y2, CStrassenType t);
  // A level crossing of the piece covers the cell, or was made for a street
  // crossing there (whether its graphic gives it an extent or not).
  bool HasCrossingFor(short x, short y);
  // Removes the level crossings whose street has gone; true when one went.
  bool RemoveIsolatedGrdCrossings();

 private:
  // One of the piece's cells lies on the part.
  bool CoversPart(CStrExtTeil* part) const;
  // Walks the piece's cells (the end cell not included) and makes a level
  // crossing at the first cell of every street run over; always false.
  bool Check_HitStreet();
  // The direction the piece's crossings are turned by: the piece's drawing
  // direction minus one.
  CIsoRichtung CrossingRichtung() const;
};

// A track between two rail junctions.
class CStrSchienen : public CStrStrasse {
 public:
  static constexpr int kStraightResID = 18353;
  static constexpr int kCurveResID = 18364;

  CStrSchienen(CIsoWelt* iso, CSimWelt* sim) : CStrStrasse(iso, sim) { m_Type = STRASSE_SCHIENE; }
  ~CStrSchienen() override = default;

  using CStrStrasse::Create;
  // Makes the rail world object (type 50), takes two ids from the counter.
  int Create() override;
  int Create(CStrStrasse* other) override;
  int InsertIntoSimWelt() override;
  int RemoveFromSimWelt() override { return 0; }
  // Draws the track; a group laid on its last cells reaches onto the cell of
  // an end junction towards +x or +y, which then takes its graphic again.
  int InsertIntoIsoWelt() override;
  // Clears the track's cells; the streets under its level crossings are
  // drawn again.
  int RemoveFromIsoWelt(bool repair) override;
  double GetVelocity() override { return 0.0; }
  CStrStrassenTeil* CreateNewStrassenTeil(CStrStrassenTeil* old) override;
  CStrStrassenTeil* CreateNewStrassenTeil() override;
  int CreateSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece, CIsoRichtung direction) override;
  int InsertKurveBetween(CStrStrassenTeil* a, CStrStrassenTeil* b) override;

  // The track's first cell outside its start junction's group, and its last
  // outside its end junction's group (built for the computation when the
  // end junction is not drawn yet). A loop's head and tail step out of its
  // junction's group as the head and tail of any track there do.
  int GetFirstIsoPos(short* x, short* y) override;
  int GetLastIsoPos(short* x, short* y) override;
  // The layout at the track's last cell; where a level crossing covers
  // that cell, the crossing's layout (at its anchor) is the track's last.
  CQnoMicroZelle* GetLastMicroZelle() override;
  // Beside a rail T junction's group at either end the track's drawing
  // starts or ends at the group's edge.
  int FixeGroupOffset(CStrJunction* junction, short& x, short& y, signed char mx, signed char my) override;
  // The T junction group the end junction would get, as a temporary group;
  // 1 (no group) when the junction has fewer than three tracks or no
  // graphic fits its arms. (x, y) is the group's origin.
  int CreateTmpGroup(CIsoObjGroup* group, short* x, short* y);

  bool PointIsRailCrossing(short x, short y) override;
  bool PointIsBend(short x, short y) override;
  bool PointIsBendOverSize(short x, short y) override;
  bool PointIsBendOuterPoint(short x, short y) override;
  // The bend at the piece's end (where another piece follows) covers the
  // cell: the bend's cell or its curve's group.
  bool CurveCovers(CStrStrassenTeil* p, short x, short y);
  bool PointIsBeforeRailCrossing(short x, short y) override;
  bool PointIsTwoBeforeRailCrossing(short x, short y) override;
  bool PointTwoBeforJunction(short x, short y) override;
  // The cell is on the track's line just inside a dead end's group (or
  // the cell beside it on the track's second row); with `checkLong`, the
  // track also runs on plainly for two and three cells past it (no bend,
  // the third no level crossing), so the end can be built on from there.
  bool PointBeforEndStueckSchienenAndRailLong(short x, short y, bool checkLong) override;
  // Three (two: four) cells into a piece from its end at a bend, on either
  // of the track's two rows.
  bool PointIsBeforBend(short x, short y) override;
  bool PointIsTwoBeforBend(short x, short y) override;
  // A level crossing fits at the cell: no bend there, and within two cells
  // along the track no bend, no cell before a bend, no rail junction, no
  // level crossing and no stop.
  bool PointIsSpaceForRailCrossing(short x, short y) override;

  // A level crossing on one of the track's pieces covers the cell.
  bool HasExtraTeilAt(short x, short y);
  // The map shows this track's level crossing at the cell.
  bool ShowsCrossingAt(short x, short y);
  // The track's pieces dropped a level crossing whose street has gone.
  bool RemoveIsolatedGrdCrossings();
  // A level crossing of the track lies on one of the streets.
  bool CrossesAny(const std::vector<CStrStrasse*>& streets);

  // The ids of the next track; 1 and 2 for the first.
  static uint16_t m_SchienenID;
  // The rail network that loading tracks find their junctions in.
  static CStrSchJuncList* m_pRailNet;

 protected:
  int LoadJunctions(uint16_t startId, uint16_t endId, CStrJunction** start, CStrJunction** end) override;
  int RegisterLoaded(int16_t simId, int16_t simIdSecond) override;
  const QnoObjectType* PieceType() const override;
  CStrStrasse* NewSibling() override;

 private:
  // The junction shows its whole graphic (a rail junction's group on all
  // its cells).
  static bool ShowsJunction(CStrJunction* j);
  // Whether the cell at distance `d` along the track from (x, y) holds a
  // level crossing of this track.
  bool CrossingAlong(short x, short y, int d);
  // The cell lies `low` cells into a piece from its lower end, or `high`
  // cells back from its higher end, where that end is at a bend.
  bool BeforeBendAt(short x, short y, int low, int high);
};
