#pragma once
// The street preview: while the player drags a street or a track over the
// map, the straight run of cells from the press cell to the cell under the
// mouse, straightened to one axis, with a second parallel strip for the
// four-lane street and the track, and with flags that say how each end
// meets the existing network. It is tested for legality on every move,
// drawn in a look that tells whether it may be built, and on release the
// street network builds from it through the build request's accessors.
#include <cstdint>

#include "network/str_junction_list.h"
#include "worldbase/street_type.h"

class CIsoWelt;
class CIsoInfo;
class CIsoObjGroup;
class CIsoTile;
class CStrSchJuncList;
class CStrStrasse;
class CStrJunction;
class CKreuzObj;
class CWorldObj;
class QnoDisplay;
class QnoResourceManager;

// The rectangle of cells a level crossing takes; (x1, y1) may lie before
// (x0, y0).
class CGrdSelection {
 public:
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  // Whether (x, y) lies before the rectangle's first corner, seen along
  // the rectangle's own direction.
  bool IsLess(short x, short y) const;
  // Whether (x, y) lies inside the rectangle (corners included, either order).
  bool PtHitRect(short x, short y) const;
};

class CStrPreviewRect : public CStrBuildRequest {
 public:
  // The resource ids of the drawing and of the map's level crossings and
  // rail bends.
  static constexpr int kTileValid = 1455;
  static constexpr int kTileInvalid = 1260;
  static constexpr int kGrdGroupA = 39079;
  static constexpr int kGrdGroupB = 21493;
  static constexpr int kRailBendGroup = 18364;

  // The map and the two networks the preview reads; any may be null (a
  // missing map has no cells).
  CStrPreviewRect(CIsoWelt* map, CStrJunctionList* streets, CStrSchJuncList* rails);
  ~CStrPreviewRect() override;
  CStrPreviewRect(const CStrPreviewRect&) = delete;
  CStrPreviewRect& operator=(const CStrPreviewRect&) = delete;

  // The networks change when a game is loaded: the controller hands in the
  // current ones before each drag.
  void SetNetworks(CIsoWelt* map, CStrJunctionList* streets, CStrSchJuncList* rails) {
    m_pMap = map;
    m_pStreets = streets;
    m_pRails = rails;
  }

  // ---- the drag
  void ClearAll();
  bool SetStartPoint(short x, short y, CStrassenType type);
  bool SetEndPoint(short x, short y, CStrassenType type);
  bool SetFinalEndPos(short x, short y, CStrassenType type);

  // ---- what the street network reads when it builds
  void GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) override;
  bool DecStreetLength() override;
  CStrJunction* GetDecJunction() override;
  void GetDecOffset(short* dx, short* dy) override;
  // The end junction that moves with the start's, null when none.
  CStrJunction* GetSecDecOffset() override;
  bool GetSecDecOffset(CStrJunction* j, CStrJunction** out);
  // Whether the start cell is a junction cell of junction j.
  bool StartsAtJunction(CStrJunction* j);
  CStrJunction* GetStartJunction();
  CStrJunction* GetEndJunction();
  short GetSelectionLength() const;

  // ---- legality (str_preview_rules.cpp)
  bool CheckValid(CStrassenType type);
  bool StartAtJunctionValid(short x, short y, CStrassenType type);
  bool EndAtJunctionValid(short x, short y, CStrassenType type);
  bool StartAtStreetValid(short x, short y, CStrassenType type);
  bool EndAtStreetValid(short x, short y, CStrassenType type);
  bool CheckFarSideStreets(CStrassenType type, bool atStart);
  bool HstAt(CStrassenType type, short x, short y, CStrStrasse* street);
  bool StartJunctIsEqualEndJunc();
  bool BuildCycle();
  void CalcMinStreetLength(CStrassenType type);
  void IncMinStreetLength(CStrassenType type);
  void RecalcMinStreetLength(CStrassenType type);
  bool CheckStreetLength(CStrassenType type) const;
  static bool TypeIsEmpty(int t) { return t == 1; }
  static bool TypeIsRemoveble(int t) { return (t >= 1 && t <= 3) || (t >= 47 && t <= 53); }
  static bool IsHst(int t) { return t >= 23 && t <= 28; }
  static bool ObjectIsStreet(int t) { return t == 50 || t == 52; }
  static bool IsObjectKreuzung(int t) { return t == 51 || t == 53; }
  static bool BuildDouble(CStrassenType type) { return type == STRASSE_VIERSPURIG || type == STRASSE_SCHIENE; }
  bool CheckIsoKoorRange() const;

  // ---- level crossings and rail rules (str_preview_grd.cpp)
  bool SelectionHitGrd(CStrassenType type, short x, short y);
  void CreateGrdDesciption(short x, short y, CStrassenType type);
  void SetGrdBuildType(short x, short y, CStrassenType type);
  bool GrdIsValid(CStrassenType type);
  bool GrdConnectToStreet();
  bool GrdConnectToSchienen();
  bool IsGrdCrossing() const { return m_GrdHit != 0; }
  bool IsGrdAt(short x, short y);
  bool GrgBeside(short x, short y);
  bool IsSimpleRail(short x, short y);
  bool SchienenTKreuzLegalAt(short x, short y, CStrassenType type, bool atStart);
  bool RailBendLegeal(short x, short y, short gx, short gy, signed char mx, signed char my);
  bool RailBendToJuncLegalAt(short x, short y, bool atStart);
  bool ObjectsEqualAt(short x1, short y1, short x2, short y2);

  // ---- drawing and messages (str_preview_render.cpp)
  // Draws the preview's cells over the map; 1 when the tile picture is missing.
  int Render(QnoDisplay* display, QnoResourceManager* resources);
  // Shows warning id in the warning window.
  int MsgBox(int id);
  // The warning to show for a street type: tracks have their own texts.
  static int GetMessageText(int id, CStrassenType type);

  // ---- state read by the controller, the drawing and the tests
  short GetStartX() const { return m_StartX; }
  short GetStartY() const { return m_StartY; }
  short GetEndX() const { return m_EndX; }
  short GetEndY() const { return m_EndY; }
  signed char GetSecDx() const { return m_SecDx; }
  signed char GetSecDy() const { return m_SecDy; }
  signed char GetDirX() const { return m_DirX; }
  signed char GetDirY() const { return m_DirY; }
  bool SecondStripSet() const { return m_SecDx != 0 || m_SecDy != 0; }
  int GetMinLength() const { return m_MinLength; }
  bool IsValid() const { return m_Valid != 0; }
  bool IsStartValid() const { return m_StartValid != 0; }
  bool IsEndValid() const { return m_EndValid != 0; }
  bool IsStartAtJunction() const { return m_StartAtJunction != 0; }
  bool IsEndAtJunction() const { return m_EndAtJunction != 0; }
  bool IsEndAtStreet() const { return m_EndAtStreet != 0; }
  bool IsStartAtStreet() const { return m_StartAtStreet != 0; }
  bool IsStartOnEmpty() const { return m_StartOnEmpty != 0; }
  bool IsEndOnEmpty() const { return m_EndOnEmpty != 0; }
  bool IsGrdConnect() const { return m_GrdConnect != 0; }
  bool IsShifted() const { return m_Shifted != 0; }
  bool NeedsRecheck() const { return m_Recheck != 0; }
  int GetGrdBuildType() const { return m_GrdBuildType; }
  const CGrdSelection& GetGrdSelection() const { return *m_pGrdSelection; }
  void SetGrdSelection(const CGrdSelection& r) { *m_pGrdSelection = r; }
  // The last warning shown, 0 when none since the last start.
  int GetLastMessage() const { return m_LastMessage; }
  // The warnings that explain refusals the drag shows only by its look
  // (German and English in the warning texts; tracks have their own).
  static constexpr int kMsgNotPossible = 6;
  static constexpr int kMsgNoStart = 11;
  static constexpr int kMsgGrdJunctionClose = 15;
  static constexpr int kMsgGrdBendClose = 16;
  static constexpr int kMsgGrdOnBend = 17;
  static constexpr int kMsgStopInWay = 18;
  static constexpr int kMsgLevelCrossingClose = 46;
  static constexpr int kMsgTrackCloseToGrd = 47;
  static constexpr int kMsgJoinNetwork = 85;
  static constexpr int kMsgTooShort = 87;
  // A track across a street with too few cells of its own on either side.
  static constexpr int kMsgTrackBesideStreet = 97;
  // A street across a track with too few cells of its own on either side.
  static constexpr int kMsgStreetBesideTrack = 98;
  // Why the last evaluation refused the drag without a warning: the
  // warning that explains it, 0 when it showed one or refused nothing.
  int GetQuietReason() const { return m_ShownThisTime ? 0 : m_QuietReason; }
  // Shows why the drag cannot be built where the player let go, unless
  // the evaluation there showed its warning already.
  void ExplainRefusal(CStrassenType type);
  // Whether the network itself would build the drag as the rectangle
  // lays it out (its own refusal, 0 when it would).
  int NetworkRefusal() const { return m_NetRefusal; }

 private:
  // ---- cells of the map (str_preview.cpp)
  CIsoInfo* Cell(int x, int y) const;
  // The ground layer's object type, -1 when there is no cell.
  int Ground(int x, int y) const;
  int Upper(int x, int y) const;
  CWorldObj* GroundObject(int x, int y) const;
  CIsoObjGroup* GroupAt(int x, int y) const;
  bool SameGroup(int x1, int y1, int x2, int y2) const;
  // The street or track of a street cell (50 or 52), null otherwise.
  CStrStrasse* StreetAt(int x, int y) const;
  CKreuzObj* KreuzAt(int x, int y) const;
  CStrJunction* JunctionAt(int x, int y) const;
  static bool IsDeadEnd(const CStrJunction* j);
  // The step with which a dead end's street leaves it.
  static bool LeaveStep(CStrJunction* j, short* mx, short* my);
  // Whether a dead end's street leaves along the drag's axis.
  bool LeavesAlongDrag(CStrJunction* j) const;
  bool NetworkHasJunction(CStrassenType type) const;
  bool PointBeforJunction(CStrStrasse* s, int x, int y) const;
  bool PointIsBend(CStrStrasse* s, int x, int y) const;
  bool PointIsBeforBend(CStrStrasse* s, int x, int y) const;

  bool StartPosIsValid(short x, short y, CStrassenType type);
  bool EndPosValid(short x, short y, CStrassenType type);
  bool CheckSetStartPoint();
  void Straighten(short x, short y, short* ex, short* ey) const;
  void CalcLr(CStrassenType type);
  void CalcLrStrD(CStrassenType type);
  void UpdateLrForBend(CStrassenType type);
  void UpdateLrForJunction();
  void CheckSecPktForBend(short x, short y);
  // Moves start and end sideways onto a junction beside a street cell;
  // false when neither side holds one (nothing moved) or a cell is missing.
  bool ShiftOntoJunction(short x, short y, bool* moved);
  void RaiseMinLength(CStrassenType type) { IncMinStreetLength(type); }
  // Refuses with a warning: shows it and clears the validity.
  bool Refuse(int id, CStrassenType type);
  bool Refuse() {
    m_Valid = 0;
    return false;
  }
  // Refuses without a warning, keeping the one that explains it for the
  // release; the first reason of an evaluation is the one kept.
  bool RefuseQuietly(int reason) {
    Because(reason);
    return Refuse();
  }
  void Because(int reason) {
    if (m_QuietReason == 0) m_QuietReason = reason;
  }
  // A new evaluation of the drag begins: its reasons start afresh.
  void BeginEvaluation() {
    m_QuietReason = 0;
    m_ShownThisTime = 0;
  }
  // Asks the networks whether the rectangle as laid out can be built.
  int AskNetwork(CStrassenType type);
  // Why the level crossing the drag marks cannot be built: the drag's own end
  // (the end junction it makes) lies too close to the crossing, told as
  // the street's or the track's text; 0 when the ends leave it room, which
  // the network needs three cells wide beyond the crossing's far side.
  int EndTooCloseToGrd(CStrassenType type) const;

  CIsoWelt* m_pMap;
  CStrJunctionList* m_pStreets;
  CStrSchJuncList* m_pRails;

  int16_t m_StartX = 0, m_StartY = 0;
  int16_t m_EndX = 0, m_EndY = 0;
  signed char m_SecDx = 0, m_SecDy = 0;
  signed char m_DirX = 0, m_DirY = 0;
  signed char m_MinLength = -1;
  uint8_t m_Valid = 0;
  uint8_t m_StartAtJunction = 0;
  uint8_t m_EndAtJunction = 0;
  uint8_t m_EndAtStreet = 0;
  uint8_t m_StartAtStreet = 0;
  uint8_t m_StartValid = 0;
  uint8_t m_EndValid = 0;
  uint8_t m_StartOnBend = 0, m_EndOnBend = 0;
  uint8_t m_StartOnEmpty = 0, m_EndOnEmpty = 0;
  uint8_t m_GrdHit = 0;
  uint8_t m_GrdConnect = 0;
  CGrdSelection* m_pGrdSelection = nullptr;
  int32_t m_GrdBuildType = 0;
  int* m_pRailBend = nullptr;
  uint8_t m_Recheck = 0;
  uint8_t m_Shifted = 0;
  uint8_t m_DecLength = 0;
  int m_LastMessage = 0;
  int m_NetRefusal = 0;
  int m_QuietReason = 0;
  uint8_t m_ShownThisTime = 0;
};
