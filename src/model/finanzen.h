#pragma once
// The city budget: the account "F.KONTO", credits and their interest, income
// and expenses by kind, the balance, and the same figures of last year.
// Measures and tools book money on its rows by name through the data
// exchange; every booking recomputes the sums and moves the account.
#include <cstdint>
#include <cstdio>

#include "framework/var_table.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CGottModus;

class CFinanzen : public CWorldObj {
 public:
  static constexpr int kRows = 21;
  static constexpr double kStartKonto = 100000000.0;
  static constexpr double kCreditStep = 10000000.0;
  // The record's length field: rows x 76 + 38, as written since the rows
  // were floats (the payload itself holds the 96-byte rows).
  static constexpr uint32_t kRecordLength = kRows * 76 + 38;
  // Savegame versions: below kDoubleRowsVersion the rows are 76-byte float
  // rows; above kCreditsKeptVersion the current 96-byte rows; between, float
  // rows whose credits are not kept.
  static constexpr int kDoubleRowsVersion = 170;
  static constexpr int kCreditsKeptVersion = 209;
  // Warnings of the interface for refused credits and repayments.
  static constexpr int kWarningCreditLimit = 23;
  static constexpr int kWarningRepayShort = 24;
  static constexpr int kWarningNoCredits = 25;

  CFinanzen();
  ~CFinanzen() override = default;

  using CWorldObj::Create;
  // Only what every world object sets up; the tables are ready from the
  // constructor on.
  int Create() override { return CWorldObj::Create(); }
  int Destroy() override { return 0; }

  // Names are upper-cased; "F.LASTYEAR.x" is last year's "F.x", "F.YEAR1x"
  // this year's and "F.YEAR2x" last year's "F.x". 0 when the row exists.
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int SetVarData(const char* name, double value) override;
  int GetVarData(const char* name, double* value) override;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  // Books an amount on a row; the sums and the account follow.
  int AddVarData(const char* name, double amount);
  // The value, or -1.0 for an unknown name.
  double GetVarValue(const char* name);
  SVVarTypeNew* GetVar(const char* name);
  SVVarTypeNew* GetVar(int i) { return i >= 0 && i < kRows ? &m_Rows[0][i] : nullptr; }

  // Income and expenses summed, the balance, and the account moved by the
  // change of the balance.
  void CalculateBilanz();
  using CWorldObj::OnPlayloopTurn;
  // The hour's interest on the credits, then the balance; 0.
  virtual int OnPlayloopTurn(STime now, STime last);
  // At a change of year: this year's rows become last year's, and the new
  // year starts from 0 but for the account, the credits and the credit step.
  virtual int ResetYearData(STime now, STime last);
  // Both years back to the start budget and the start credit step.
  void ResetData();

  // Credits - account above twice the credit limit.
  bool IsPleite();
  // people x 5000 + 150000000.
  double GetCreditLimit();
  // 0 when the credit is taken (account and credits grow), 1 with warning 23
  // when it would pass the credit limit.
  int TakeCredit(long amount);
  // 0 when repaid; 1 with warning 24 (account short) or 25 (no credits).
  int RepayCredit(long amount);
  // 1 when paying the amount would take the account below 0 in a normal
  // game or a scenario; 0 (enough) otherwise, and always in free play and
  // the exhibition.
  int CheckForMoney(int amount);
  // The game mode the money question depends on; null counts as a normal game.
  void SetGottModus(const CGottModus* god) { m_pGottModus = god; }
  // A line in the simulation log.
  void Meldung(const char* text);
  int CheckForGameEnde() { return 0; }

  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file, char* name) override;
  // Reads the payload after the container read the length and name; a
  // record whose count, names or numbers do not fit is refused (1, logged)
  // and leaves the budget as it was.
  int SerializeGameLoad(FILE* file) override;

  uint8_t GetReady() const { return m_Ready; }

 private:
  // The table and row name a variable name addresses; null for none.
  SVVarTypeNew* FindRow(const char* name);
  void FollowUp(const char* name, double amount);
  double Row(int table, const char* name);
  void SetRow(const char* name, double value) { SetVarData(name, value); }
  static void Defaults(SVVarTypeNew (&rows)[kRows], double konto);

  uint8_t m_Ready = 1;
  uint8_t m_Flag = 0;
  int32_t m_Count = kRows;
  SVVarTypeNew m_Rows[2][kRows];
  const CGottModus* m_pGottModus = nullptr;
};
