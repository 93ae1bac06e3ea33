#pragma once
// A junction of the rail network: the end of a track (one track), or a T
// junction of three tracks, drawn as a group. It has no traffic control and
// never reaches the demand simulation; its id comes from a counter of its
// own, and its world object is the rail crossing object (type 51).
#include <cstdint>
#include <cstdio>

#include "network/str_junction.h"

class CStrSchJunction : public CStrJunction {
  ZOR_DECLARE_TYPE(CStrSchJunction)

 public:
  static constexpr int kTResID = 21276;
  static constexpr int kEndResID = 19806;
  static constexpr int kSchienenIDRows = 4;
  // The T junction graphics: arm mask (1 -x, 2 +x, 4 -y, 8 +y), graphic
  // and rotation.
  static const KurveIDType SchienenID[kSchienenIDRows];

  // The arm mask of tracks: 1 leaving towards -x, 2 +x, 4 -y, 8 +y.
  static int RailArmMask(const Arm* arms, int n);
  // The T junction graphic of these tracks; 0 when the table has none.
  static int GraphicForRailArms(const Arm* arms, int n, int* rotation);

  CStrSchJunction() = default;
  CStrSchJunction(CIsoWelt* iso, CSimWelt* sim) : CStrJunction(iso, sim) {}
  ~CStrSchJunction() override = default;

  // Makes and binds the rail crossing object and takes the next id.
  int Create() override;
  using CStrJunction::Create;
  // The junction's record without a control field; a record of another
  // type or without id is refused.
  int SerializeGameLoad(FILE* file) override;
  bool HasControlField() const override { return false; }
  int InsertIntoSimWelt() override { return 0; }
  int RemoveFromSimWelt() override { return 0; }
  int InsertIntoIsoWelt() override;
  int RemoveFromIsoWelt() override;
  CQnoMicroZelle* GetMicroZelle(short x, short y) override;
  int GetKreuzungsIDStrasseD(int* id, CIsoRichtung* dir) override;
  CStrStrasse* CreateNewStreet() override;
  int CreateMicroZelle() override;
  TObjectType GetZorvaObjectType() const override { return OBJ_RAIL_JUNCTION; }
  int OnStartOfCycle(short, short) { return 0; }

  // The cell where the T junction group of this rotation is placed.
  void GroupOrigin(int rotation, short* x, short* y) const;
  // A dead end or a junction of three tracks shows its group on every cell
  // the group takes (its track drawn again, with a level crossing that
  // moves where the track's tiles fall, may have cleared or covered some
  // of them); other junctions answer whether they are drawn.
  bool ShowsWholeGroup();
  // One of the junction's tracks has a level crossing at the cell.
  bool HasGrdCrossingAt(short x, short y);
  // Every track that dropped a level crossing whose street has gone draws
  // itself again.
  int RemoveIsolatedGrdCrossings();

  // The id of the next rail junction. It starts at 1: 0 stands for a
  // junction without id.
  static uint16_t m_SchJuncID;
};
