#pragma once
// What every transport measure and the surrounding region share: a flat
// block of fields saved as one record and answered by name, the money of
// the year booked hourly from yearly amounts, advertising campaigns that run
// for a year, users that move toward their potential, and the yearly
// closing. A measure describes its block once (SMeasureLayout) and adds its
// own steps through the hooks.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

// One saved field of a measure's block. kUInt8 is a byte in memory and in
// the record; kInt16 is int32 in memory and a 16-bit number in the record
// that saturates; kPad is a zero byte of the record with no field in memory.
struct SMeasureField {
  enum Kind : uint8_t { kInt32, kFloat, kUInt8, kInt16, kPad };
  // The variable name; null for a saved field that answers no name.
  const char* key;
  Kind kind;
  size_t offset;
  // Whether the field has a step and bounds for the interface.
  bool bounded = false;
  float min = 0.0f;
  float max = 0.0f;
  float step = 0.0f;
  // A saved array of that many values of the kind, one after the other in
  // memory and in the record (a map).
  int count = 1;
};

// A paid advertising campaign: its running flag (int32, or a byte where its
// field is kUInt8) and its progress in years (float) in the block; what
// starting it costs and what it does when its year is over.
struct SMeasureCampaign {
  size_t running;
  size_t progress;
  double price;
  float quoteFactor;
  float awarenessRise;
};

constexpr int kNoField = -1;

struct SMeasureLayout {
  // The record's name; null for a measure whose block is not described,
  // which writes the record of a world object without data.
  const char* recordName;
  const SMeasureField* fields;
  int fieldCount;
  // The int32 money fields of the year and the float quote and awareness
  // that campaigns change; kNoField where the measure has none.
  int income = kNoField;
  int expenses = kNoField;
  int balance = kNoField;
  int lastBalance = kNoField;
  int quote = kNoField;
  int awareness = kNoField;
  const SMeasureCampaign* campaigns = nullptr;
  int campaignCount = 0;
  // Savegames before this version hold only the first olderBlockSize bytes
  // of the block (the leading fields that fit); 0 when there is no older
  // form.
  int olderBeforeVersion = 0;
  size_t olderBlockSize = 0;
  // When given, only these keys take values; the other keys are read only.
  const char* const* settable = nullptr;
  int settableCount = 0;
  // Whether the campaigns end after the users moved, so that their change
  // of the quote holds until the next turn.
  bool campaignsAfterUsers = false;
};

// The layout of a measure whose block is not described yet.
extern const SMeasureLayout kMeasureWithoutBlock;

class CMeasure : public CWorldObj {
 public:
  // Its tiles are all it shows: it draws nothing over the map.
  bool RendersOnlyLayoutVehicles() const override { return true; }
  // `block` is the measure's own field block, which outlives the base.
  CMeasure(const SMeasureLayout& layout, void* block);
  ~CMeasure() override = default;

  // Named fields of the block: 0 for the measure's keys, 1 for all others.
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int GetVarData(const char* key, double* value) override;
  // Stores the value (int32 fields truncate it); a campaign's flag starts
  // or stops the campaign.
  int SetVarData(const char* key, double value) override;
  int GetStep(const char* key, float* step) override;
  int GetVarMin(const char* key, float* min) override;
  int GetVarMax(const char* key, float* max) override;

  using CWorldObj::OnPlayloopTurn;
  // Once per change of the simulated hour: the measure's bookings, the
  // campaigns' progress, the balance, then the users.
  virtual int OnPlayloopTurn(STime now, STime last);
  // At a change of year only: ResetBilanz.
  virtual int ResetYearData(STime now, STime last);
  // Last year's balance takes this year's; income and expenses start at 0.
  virtual void ResetBilanz();
  // The measure's building list under its key; null for other keys.
  virtual CZorvaList* GetList(const char* /*key*/) { return nullptr; }
  // The share of people the measure can win, which the game model feeds to
  // its network; 0 for a measure that wins no users.
  virtual double CalculateUserQuote() { return 0.0; }

  using CWorldObj::SerializeGameStore;
  // The record: u32 30 + block size, the 30-byte name, then the block's
  // fields in order, little-endian.
  int SerializeGameStore(FILE* file, char* name) override;
  // Reads the block after the container read the length and name; 1 on a
  // short read or a float field that is no number (logged), which leaves
  // the block as it was.
  int SerializeGameLoad(FILE* file) override;
  // The same for a payload of the given length from a savegame of the given
  // version: a length other than the block's size in that version, a float
  // that is no number or values the measure refuses are logged and give 1,
  // and leave the block as it was.
  virtual int SerializeGameLoad(FILE* file, uint32_t payload, int version);

  // The block's size in the record (of the current version).
  size_t GetBlockSize() const;
  // The block's bytes as they are, and the block set back to such bytes:
  // a load that is refused reads the running game again, whose blocks
  // then take back what was stamped on them for the load.
  std::vector<char> KeepBlock() const { return std::vector<char>(m_pBlock, m_pBlock + m_BlockExtent); }
  void PutBackBlock(const std::vector<char>& kept);
  // The step toward the potential of one turn: (potential - users) /
  // damping x 3 x elapsed, never past the potential.
  static double MoveUsers(double users, double potential, double damping, double elapsed);

 protected:
  // The measure's own steps of the turn, before the campaigns and the
  // balance, and after them.
  virtual void BookTurn(double /*elapsed*/) {}
  virtual void CalculateUser(double /*elapsed*/) {}
  // After a block was loaded: what the re-created buildings book again and
  // the message time. Its money may stand anywhere in 32 bits: what it
  // books saturates, and the year's money is clamped after it.
  virtual void AfterLoad() {}
  // Why the loaded block holds values the measure cannot run with; null
  // when it is sound. The block is restored when it is not.
  virtual const char* Refusal() const { return nullptr; }
  // Whether a share has a percent that is a number: a loaded quote without
  // one would be saved as none and refuse the game's next savegame.
  static bool HasPercent(float share) { return std::isfinite(share * 100.0f); }
  // A year's amount booked for the elapsed share of it, truncated; added to
  // the int32 field.
  void BookYearly(int field, double yearlyAmount, double elapsed);
  int32_t& IntAt(size_t offset) { return *reinterpret_cast<int32_t*>(m_pBlock + offset); }
  float& FloatAt(size_t offset) { return *reinterpret_cast<float*>(m_pBlock + offset); }
  const SMeasureField* FindField(const char* key) const;

 private:
  void AdvanceCampaigns(double elapsed);
  // A campaign's running flag, as wide as its field.
  bool ByteFlag(size_t offset) const;
  int32_t Flag(size_t offset);
  void SetFlag(size_t offset, int32_t value);
  int ReadBlock(FILE* file, size_t size);
  // A money field of the year beyond a billion either way after a load is
  // logged and clamped to it.
  void ClampYearMoney();
  // 0 whether or not the campaign starts; the price is booked once.
  int SetCampaign(const SMeasureCampaign& campaign, double value);

  const SMeasureLayout& m_Layout;
  char* m_pBlock;
  // The bytes of the block in memory that its fields cover.
  size_t m_BlockExtent = 0;
};
