#pragma once
// A junction of the street graph: the free end of a street (one street), a
// bend or straight joint (two), a T junction (three) or a crossing (four).
// It owns the links to its streets, its crossing object on the map, its
// micro cells, its light or sign group and the locations whose nearest
// crossing it is, and it is a crossing of the demand simulation.
#include <cstdint>
#include <cstdio>

#include "framework/zor_block_pool.h"
#include "framework/qno_object.h"
#include "framework/zor_pointer_list.h"
#include "microsim/micro_cells.h"
#include "sim/sim_model_iface.h"
#include "worldbase/street_type.h"
#include "worldbase/zor_types.h"

class CIsoWelt;
class CSimWelt;
class CStrStrasse;
class CStrStrassenTeil;
class CKreuzObj;
class CMicroZellenGroup;
class CQnoMicroZelle;
class CAmpelGroup;
class CVorfahrtGroup;
class QnoDisplay;
class CStrJunctionList;
class CStrCellIndex;

using CLocationList = CLocationListT<CSimLocation>;

// The control of a junction: none (right before left), right-of-way signs,
// or traffic lights (2 and above).
enum EAmpelType : int { Ampel_Rvl = 0, Ampel_Vorfahrt = 1, Ampel_Ampel = 2 };

// One row of the junction graphic tables: the arm mask, the graphic and
// its rotation.
struct KurveIDType {
  int mask;
  int resId;
  int richtung;
};

class CStrJunction : public CZorvaObject {
  ZOR_DECLARE_TYPE(CStrJunction)
 public:
  ZOR_POOLED

 public:
  static constexpr int kMaxStreets = 4;
  static constexpr int kAmpelResID = 12802;
  static constexpr int kVorfahrtResID = 19482;
  static constexpr int kWartepflichtResID = 19484;
  static constexpr int kKurveIDRows = 64;
  static constexpr int kKurveIDStrasseDRows = 43;
  static const KurveIDType KurveID[kKurveIDRows];
  static const KurveIDType KurveIDStrasseD[kKurveIDStrasseDRows];
  // The first row of a table whose mask matches; false (id and rotation 0)
  // when none does.
  static bool FindKurveID(const KurveIDType* table, int rows, int mask, int* resId, int* rotation);
  // The group laid for a four-lane junction graphic turned by `rotation`:
  // the graphic itself, or its twin whose one-tile arms meet the other cell
  // of their side, where that turn would move them off the cell the street
  // arrives on (the map's smaller x or y of the group).
  static int GroupForRotation(int resId, int rotation);
  // An arm of a junction: the step (dx, dy) from the junction to the
  // street's next cell and the street's type.
  struct Arm {
    short dx, dy;
    CStrassenType type;
  };
  // The arm masks of the one-tile and the four-lane graphic tables.
  static int ArmMask(const Arm* arms, int n);
  static int ArmMaskStrasseD(const Arm* arms, int n);
  // The graphic of a junction of these arms (three or four): the four-lane
  // table when any arm is of type 4 or above; 0 when the table has none.
  static int GraphicForArms(const Arm* arms, int n, int* rotation);
  // The junction's arms, one per linked street; the count.
  int GetArms(Arm* arms);

  // Takes the world's map and demand simulation.
  CStrJunction();
  CStrJunction(CIsoWelt* iso, CSimWelt* sim);

  int Create() override;
  int Create(CZorvaObject&) override { return 0; }
  int Destroy() override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  uint32_t GetHashKey() const override { return m_SimCrossingID; }
  ~CStrJunction() override;
  virtual int Create(short x, short y, CStrassenType type);
  virtual int LoadStreets(FILE* file);
  virtual int OnPlayloopTurn(short x, short y);
  // Asks memory ahead for what OnPlayloopTurn on that tile reads: the
  // junction (stage 4), its group of layouts and lights (3), the tile's
  // layout (2) and the cells holding vehicles (1). Inline: a crossing
  // tile's stage is one call from the map's walk.
  void PrefetchTurn(short x, short y, int stage) const {
    if (stage == 4) {
      __builtin_prefetch(&m_pMicroZellen);
      __builtin_prefetch(&m_pAmpel);
      return;
    }
    if (stage == 3 && m_pAmpel) __builtin_prefetch(m_pAmpel);
    CMicroZellenGroup::PrefetchTurn(m_pMicroZellen, static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                    stage);
  }
  virtual int InsertIntoSimWelt();
  virtual int RemoveFromIsoWelt();
  virtual int InsertIntoIsoWelt();
  // Whether the junction's cell shows its own crossing object.
  bool IsDrawn() const;
  // Resets every cell near the junction that still names its crossing
  // object (a four-lane end's second column, a group whose anchor another
  // graphic took over): no cell may name the object once it goes.
  void ClearCellsOfCrossing();
  // Makes the junction's cells again and links them with its streets and
  // its lights: after a street of it was split or replaced, when the street
  // towards it has no cells of its own to link them.
  void RebuildMicroZellen();
  // The graphic a junction of three or four streets takes for its arms as
  // they are now; id 0 for fewer streets or arms that no graphic has.
  struct Graphic {
    int id = 0;
    int rotation = 0;
    bool wide = false;
  };
  Graphic ArmsGraphic();
  // Whether the junction's cell shows the graphic of its arms (a junction
  // of fewer streets, or not drawn, does).
  bool ShowsArmsGraphic();
  // Draws a junction of three or four streets again, with its cells, when
  // it shows another graphic than its arms take: a street of it changed
  // type. One that shows its arms' graphic is left as it is.
  void RedrawIfStale();
  // Closes the exit of the junction's cells on the arm of a one-way street
  // that comes in here: no lane leaves by that arm, so the turns into it
  // lead nowhere. At a junction that no direction leaves (only one-way
  // streets come in) a vehicle's way ends on its cells.
  void CloseOneWayArm(CStrStrasse* street);
  // Whether a direction of one of its streets leaves the junction: a
  // two-way street, or a one-way street that starts here.
  bool AnyDirectionLeaves() const;
  virtual CQnoMicroZelle* GetMicroZelle(short x, short y);
  virtual int GetKreuzungsIDStrasseD(int* id, CIsoRichtung* dir);
  virtual int RemoveFromSimWelt();
  virtual CStrStrasse* CreateNewStreet();
  virtual int CreateMicroZelle();
  virtual TObjectType GetZorvaObjectType() const { return OBJ_CROSSING; }
  // Whether the junction's record holds its control kind (rail junctions
  // have none).
  virtual bool HasControlField() const { return true; }

  // ---- links
  // 1 when the junction already holds four streets (the street is refused).
  int LinkStreet(CStrStrasse* street);
  // 1 when the junction has streets but not this one.
  int UnLinkStreet(CStrStrasse* street);
  // At a junction with signs or lights, `replacement` takes the place of
  // `old` among its streets and in its priority pairs, as when the street
  // beyond the junction is split or joined into another: the leg stays
  // what it was, a light with its cycle (linked to the replacement's cells
  // when the junction's cells are made again). 1, with nothing changed,
  // anywhere else; the caller then unlinks `old` and links `replacement`,
  // and the junction treats the leg as new.
  int HandOverStreet(CStrStrasse* old, CStrStrasse* replacement);
  // The cell index of the network that lists the junction, told of every
  // link and unlink; null while the junction is not listed.
  void SetCellIndex(CStrCellIndex* index) { m_pCellIndex = index; }
  CStrCellIndex* GetCellIndex() const { return m_pCellIndex; }
  void UpdateJunctionType(bool reset);
  int UpdateChanges();
  int SaveStreets(FILE* file);

  // ---- queries
  bool LeadTo(const CStrJunction* other) const;
  bool HasStreet(const CStrStrasse* street) const {
    for (int i = 0; i < m_AnzLinkedStreets; ++i)
      if (m_pStreets[i] == street) return true;
    return false;
  }
  CStrStrasse* GetStreetByID(short id) const;
  // Whether a street leaves the junction at both its ends.
  bool HasLoopStreet() const;
  CStrStrasse* GetStreetByNR(int n) const { return n >= 0 && n < m_AnzLinkedStreets ? m_pStreets[n] : nullptr; }
  int GetAnzLinkedStreets() const { return m_AnzLinkedStreets; }
  CMicroZellenGroup* GetMicroZellen() const { return m_pMicroZellen; }
  CKreuzObj* GetKreuzObject() const { return m_pKreuzObj; }
  CLocationList* GetLocationList() const { return m_pLocations; }
  unsigned short GetXPos() const { return m_x; }
  unsigned short GetYPos() const { return m_y; }
  CStrassenType GetType() const { return m_Type; }
  void SetType(CStrassenType type) { m_Type = type; }
  unsigned short GetSimID() const { return m_SimCrossingID; }
  unsigned short GetSimHashID() const { return m_SimHashID; }
  EAmpelType GetAmpelType() const { return m_AmpelType; }
  bool HasAmpel() const { return m_AmpelType > Ampel_Vorfahrt; }
  bool HasVorfahrt() const { return m_AmpelType == Ampel_Vorfahrt; }
  bool HasAmpel(CStrStrasse* street) const;
  int GetAmpelResID() const { return kAmpelResID; }
  CAmpelGroup* GetAmpelGroup() const { return m_pAmpel; }
  int GetLengthFromStart() const { return m_LengthFromStart; }
  void SetLengthFromStart(int length) { m_LengthFromStart = length; }

  CStrStrasse* GetStreetWithLr(short dx, short dy);
  // Whether the linked street leaves this junction along the axis of
  // (dx, dy) (a street from here back to here by its head).
  bool LeavesAlong(CStrStrasse* street, short dx, short dy);
  void GetFarSideStreets(CStrStrasse** a, CStrStrasse** b);
  // Whether the two linked streets leave this junction in opposite
  // directions (a street from here back to here counts by its head).
  bool LeaveOpposite(CStrStrasse* a, CStrStrasse* b);
  int GetEmgType();
  int GetEndStueckRichtung(CIsoRichtung* dir);
  int GetKreuzungsID(int* id, CIsoRichtung* dir);
  int GetResID(CIsoRichtung* dir);
  CStrStrasse* StreetHitRoad(CStrJunction* other, CStrStrassenTeil** piece, short* x, short* y);
  bool StrHitStr(CStrStrasse* other, CStrStrasse** hit, CStrStrassenTeil** piece, short* x, short* y, int skip);
  bool PointHitStreet(short x, short y);
  bool PointHitStreet(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece);
  int RegisterLocation(CSimLocation* location);
  int RemoveLocation(CSimLocation* location);
  // Drops the location list without telling its locations (they are gone
  // already when the whole network goes).
  void ForgetLocations() {
    delete m_pLocations;
    m_pLocations = nullptr;
  }
  // The number of streets the junction's record named; checked once the
  // streets are loaded.
  int GetStoredStreetCount() const { return m_StoredStreets; }

  // ---- traffic control
  int SetAmpelData(EAmpelType type, int cycle, float quote);
  int CreateNewAmpel();
  int CreateVorfahr(EAmpelType type);
  int RemoveVorfahr();
  int RemoveAmpel();
  // Takes the signs or lights down as a player does: through the crossing's
  // settings where there are any, else straight from the junction.
  void TakeDownControl();
  int AddAmpelLayer();
  int RemoveAmpelLayer();
  int UpdateAmpeln();
  // With the cells laid, the arms that lead nothing in any more leave the
  // light group; true when one left.
  bool ReleaseDarkArms();
  int GetPriorityStreets(CStrStrasse** a, CStrStrasse** b);
  int GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b);
  int ChangePriorityStreets(CStrStrasse* p1, CStrStrasse* p2, CStrStrasse* o1, CStrStrasse* o2);
  int UpdateAmpelPos();
  int Update();

  // ---- map and micro cells
  CQnoMicroZelle* CreateMicroZelleAt(short x, short y, void* raster);
  int RemoveMicroSim();
  int TurnMicroSim(short x, short y, int view1, int view2, int resId);
  int Render(QnoDisplay* display, short x, short y, int zoom);
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y);
  int MoveTo(short dx, short dy);

  // ---- construction of the graph
  int ConnectWith(CStrJunction* other, CStrassenType type);
  int HandleExtension(CStrJunction* other, CStrStrasse* street);
  int HandleKurve(CStrStrasse* u, CStrStrasse* w, CStrJunction* bend);
  int GetKurvenRichtung(CIsoRichtung* dir, CStrStrasse* u, CStrStrasse* w);
  int InsertTJunction(CStrJunction* other, CStrStrasse* street, CStrStrassenTeil* piece, short x, short y,
                      CStrassenType type);
  int InsertTJunction(CStrStrasse* street, CStrStrassenTeil* piece, short x, short y, CStrJunction* start,
                      CStrJunction* end);
  bool CreateKreuzung(CStrJunction* other, CStrassenType type);
  int CreateKreuzung(CStrStrasse* newStreet, CStrStrasse* hit, CStrStrassenTeil* piece);
  bool ConnectionIsLegal();
  bool RemoveingStreetIsLegal();
  // Whether the junction stays valid when `leaving` goes (every entry of
  // it): as RemoveingStreetIsLegal on the streets left, changing nothing.
  bool RemovingStreetIsLegal(const CStrStrasse* leaving);

  static CIsoWelt* m_pIsoWelt;
  static CSimWelt* m_pSimWelt;
  // 1 while the junction list re-inserts graphics after loading.
  static uint8_t m_InLoadFile;
  // The street network that new junctions and removed ones belong to.
  static CStrJunctionList* m_pStreetNet;

 protected:
  // Gives the arms without a light theirs (see CreateNewAmpel).
  void LightArms(bool layers);
  bool HasControlGroup(const char* missingGroup) const;
  // The pair of linked streets i < j that leave this junction in opposite
  // directions; false when there is none.
  bool FindOppositePair(CStrStrasse** a, CStrStrasse** b);
  // The cell of the street next to this junction; a loop street gives its
  // first cell the first time and its last cell the second time.
  void NeighbourCell(int index, short* x, short* y);
  void DestroyStreetObject(CStrStrasse* street);
  // consumed tells whether the street was merged into another and is gone.
  int HandleExtension(CStrJunction* other, CStrStrasse* street, bool* consumed);

  unsigned short m_x = 0;
  unsigned short m_y = 0;
  CStrassenType m_Type;
  uint8_t m_AnzLinkedStreets = 0;
  CStrStrasse* m_pStreets[kMaxStreets] = {};
  unsigned short m_SimCrossingID = 0;
  unsigned short m_SimHashID = 0;
  CLocationList* m_pLocations = nullptr;
  CKreuzObj* m_pKreuzObj = nullptr;
  CMicroZellenGroup* m_pMicroZellen = nullptr;
  CAmpelGroup* m_pAmpel = nullptr;
  EAmpelType m_AmpelType = Ampel_Rvl;
  int32_t m_LengthFromStart = -1;
  uint8_t m_StoredStreets = 0;
  CStrCellIndex* m_pCellIndex = nullptr;
  // A loop's own cell beside the junction is being asked for (see
  // NeighbourCell).
  bool m_AskingLoopCell = false;
};
