#include "model/finanzen.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/zor_var.h"
#include "sim/sim_error.h"
#include "worldbase/zor_world_host.h"

namespace {
constexpr const char* kRecordName = "Finanzen";
constexpr size_t kNameMax = 128;

struct SDefaultRow {
  const char* name;
  double value;
  double step;
};
// This year's rows with their start values and steps; bounds are 0.
constexpr SDefaultRow kDefaults[CFinanzen::kRows] = {
    {"F.ZINSEN", 0, 0},
    {"F.INCOME", 0, 0},
    {"F.EXPENSES", 0, 0},
    {"F.GREENADVERTISMENT", 0, 0},
    {"F.INCOME.CITY", 0, 0},
    {"F.INCOME.ZORV", 0, 0},
    {"F.KONTO", CFinanzen::kStartKonto, 0},
    {"F.EXPENSES.CITY", 0, 0},
    {"F.EXPENSES.ZORV", 0, 0},
    {"F.AREAEXPANSION", 0, 0},
    {"F.EXPENSES.BUILDINFRASTRUCTURE", 0, 0},
    {"F.EXPENSES.PRESERVEINFRASTRUCTURE", 0, 0},
    {"F.EXPENSES.ZORV.RUNNING", 0, 0},
    {"F.COST.BUS", 0, 0},
    {"F.COST.PKW", 0, 0},
    {"F.RES", 0, 0},
    {"F.SUB", 0, 0},
    {"F.BILANZ", 0, 0},
    {"F.KREDITE", 0, 1000000},
    {"F.KREDITE.GROESSE", CFinanzen::kCreditStep, 1000000},
    {"LISTENDE", 0, 0},
};

// The measures' balances that make up the income of the transport measures.
constexpr const char* kMeasureBalances[] = {"AR.BILANZ",  "PAR.BILANZ", "CS.BILANZ",  "OPNV.F.BILANZ",
                                            "MZ.BILANZ",  "PTA.BILANZ", "PRM.BILANZ"};

bool StartsWith(const char* name, const char* prefix) { return std::strncmp(name, prefix, std::strlen(prefix)) == 0; }
bool Is(const char* name, const char* row) { return std::strcmp(name, row) == 0; }

CDataExchange* Exchange() { return CVar::varDataExchange; }

double ExchangeValue(const char* name) {
  CDataExchange* dx = Exchange();
  return dx ? dx->GetVarValue(name) : 0.0;
}

bool RowsFinite(const SVVarTypeNew* rows, int count) {
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(rows[i].value) || !std::isfinite(rows[i].min) || !std::isfinite(rows[i].max) ||
        !std::isfinite(rows[i].step))
      return false;
  return true;
}
}  // namespace

CFinanzen::CFinanzen() {
  Defaults(m_Rows[0], kStartKonto);
  Defaults(m_Rows[1], 0.0);
}

void CFinanzen::Defaults(SVVarTypeNew (&rows)[kRows], double konto) {
  for (int i = 0; i < kRows; ++i) {
    rows[i] = SVVarTypeNew{};
    std::strncpy(rows[i].name, kDefaults[i].name, sizeof rows[i].name - 1);
    rows[i].value = Is(kDefaults[i].name, "F.KONTO") ? konto : kDefaults[i].value;
    rows[i].step = kDefaults[i].step;
  }
}

SVVarTypeNew* CFinanzen::FindRow(const char* name) {
  if (!name) return nullptr;
  char upper[kNameMax];
  size_t n = 0;
  for (; name[n] && n + 1 < sizeof upper; ++n) upper[n] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[n])));
  if (name[n]) return nullptr;
  upper[n] = '\0';

  int table = 0;
  const char* rest = upper;
  char lookup[kNameMax + 2] = "F.";
  if (StartsWith(upper, "F.LASTYEAR.")) {
    table = 1;
    rest = upper + 11;
  } else if (StartsWith(upper, "F.YEAR1") || StartsWith(upper, "F.YEAR2")) {
    table = upper[6] == '2' ? 1 : 0;
    rest = upper + 7;
  }
  if (rest == upper)
    std::strcpy(lookup, upper);
  else
    std::strcat(lookup, rest);
  return CVarTable(m_Rows[table], kRows).GetVar(lookup);
}

SVVarTypeNew* CFinanzen::GetVar(const char* name) { return FindRow(name); }

int CFinanzen::GetVarData(const char* name, double* value) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  *value = row->value;
  return 0;
}

double CFinanzen::GetVarValue(const char* name) {
  double v = -1.0;
  return GetVarData(name, &v) == 0 ? v : -1.0;
}

int CFinanzen::SetVarData(const char* name, double value) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  if (!std::isfinite(value)) {
    QNO_ERROR2(QNO_SEV_ERROR, "CFinanzen: %s refused the value %f", row->name, value);
    return 0;
  }
  row->value = std::floor(value);
  FollowUp(row->name, 0.0);
  return 0;
}

int CFinanzen::AddVarData(const char* name, double amount) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  if (!std::isfinite(amount)) {
    QNO_ERROR2(QNO_SEV_ERROR, "CFinanzen: %s refused the amount %f", row->name, amount);
    return 0;
  }
  // The row first, so that the recomputed sums include the booking.
  char booked[sizeof row->name];
  std::memcpy(booked, row->name, sizeof booked);
  row->value += amount;
  FollowUp(booked, amount);
  return 0;
}

int CFinanzen::GetStep(const char* name, float* step) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  *step = static_cast<float>(row->step);
  return 0;
}

int CFinanzen::GetVarMin(const char* name, float* min) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  *min = static_cast<float>(row->min);
  return 0;
}

int CFinanzen::GetVarMax(const char* name, float* max) {
  SVVarTypeNew* row = FindRow(name);
  if (!row) return 1;
  *max = static_cast<float>(row->max);
  return 0;
}

void CFinanzen::FollowUp(const char* name, double amount) {
  if (amount != 0.0) {
    if (Is(name, "F.EXPENSES.BUILDINFRASTRUCTURE") || Is(name, "F.EXPENSES.PRESERVEINFRASTRUCTURE") ||
        Is(name, "F.EXPENSES.CITY") || Is(name, "F.EXPENSES.ZORV") || Is(name, "F.AREAEXPANSION") ||
        Is(name, "F.SUB") || Is(name, "F.RES")) {
      AddVarData("F.EXPENSES", amount);
    } else if (Is(name, "F.INCOME.CITY") || Is(name, "F.INCOME.ZORV")) {
      AddVarData("F.INCOME", amount);
    } else if (Is(name, "F.INCOME")) {
      AddVarData("F.BILANZ", amount);
      AddVarData("F.KONTO", amount);
    } else if (Is(name, "F.EXPENSES")) {
      AddVarData("F.BILANZ", -amount);
      AddVarData("F.KONTO", -amount);
    }
  }
  if (m_Ready == 1) CalculateBilanz();
}

double CFinanzen::Row(int table, const char* name) {
  const SVVarTypeNew* row = CVarTable(m_Rows[table], kRows).GetVar(name);
  return row ? row->value : 0.0;
}

void CFinanzen::CalculateBilanz() {
  m_Ready = 0;
  double zorv = 0.0;
  for (const char* balance : kMeasureBalances) zorv += ExchangeValue(balance);
  SetRow("F.INCOME.ZORV", zorv);
  SetRow("F.INCOME", Row(0, "F.INCOME.ZORV") + Row(0, "F.INCOME.CITY"));
  SetRow("F.EXPENSES", Row(0, "F.EXPENSES.BUILDINFRASTRUCTURE") + Row(0, "F.EXPENSES.PRESERVEINFRASTRUCTURE") +
                           Row(0, "F.SUB") + Row(0, "F.RES") + Row(0, "F.ZINSEN"));
  const double balance = Row(0, "F.INCOME") - Row(0, "F.EXPENSES");
  SetRow("F.KONTO", Row(0, "F.KONTO") + (balance - Row(0, "F.BILANZ")));
  SetRow("F.BILANZ", balance);
  m_Ready = 1;
}

int CFinanzen::OnPlayloopTurn(STime now, STime last) {
  const double rate = 0.03 + 0.015 * (1.0 - ExchangeValue("W.G9"));
  const double interest = rate * Row(0, "F.KREDITE") * (now.fyear - last.fyear);
  if (CVarTable(m_Rows[0], kRows).GetVar("F.ZINSEN")) SetRow("F.ZINSEN", Row(0, "F.ZINSEN") + interest);
  CheckForGameEnde();
  CalculateBilanz();
  return 0;
}

int CFinanzen::ResetYearData(STime now, STime last) {
  if (now.year == last.year) return 0;
  for (int i = 0; i < kRows; ++i) {
    m_Rows[1][i].value = m_Rows[0][i].value;
    m_Rows[1][i].min = m_Rows[0][i].min;
    m_Rows[1][i].max = m_Rows[0][i].max;
  }
  // The account, the credits and the size of one credit step carry over.
  for (SVVarTypeNew& row : m_Rows[0])
    if (!Is(row.name, "F.KONTO") && !Is(row.name, "F.KREDITE") && !Is(row.name, "F.KREDITE.GROESSE"))
      row.value = 0.0;
  return 0;
}

void CFinanzen::ResetData() {
  for (auto& table : m_Rows)
    for (SVVarTypeNew& row : table) row.value = 0.0;
  CVarTable(m_Rows[0], kRows).SetVarData("F.KONTO", kStartKonto);
  // A credit step of 0 would leave the credit window without a step.
  for (auto& table : m_Rows) CVarTable(table, kRows).SetVarData("F.KREDITE.GROESSE", kCreditStep);
}

double CFinanzen::GetCreditLimit() {
  CDataExchange* dx = Exchange();
  const double people = dx ? dx->GetPeople() : 0;
  return people * 5000.0 + 150000000.0;
}

bool CFinanzen::IsPleite() { return Row(0, "F.KREDITE") - Row(0, "F.KONTO") > 2.0 * GetCreditLimit(); }

int CFinanzen::TakeCredit(long amount) {
  // A negative amount would repay without paying; nothing to take is no
  // credit.
  if (amount <= 0) return 1;
  if (Row(0, "F.KREDITE") + static_cast<double>(amount) > GetCreditLimit()) {
    CWorldHost::Get()->SetAchtungWindow(kWarningCreditLimit);
    return 1;
  }
  SetRow("F.KONTO", Row(0, "F.KONTO") + static_cast<double>(amount));
  SetRow("F.KREDITE", Row(0, "F.KREDITE") + static_cast<double>(amount));
  return 0;
}

int CFinanzen::RepayCredit(long amount) {
  if (amount <= 0) return 1;
  const double credits = Row(0, "F.KREDITE");
  if (credits <= 0.0) {
    CWorldHost::Get()->SetAchtungWindow(kWarningNoCredits);
    return 1;
  }
  // The window repays in fixed steps; the last step pays only what is still
  // owed, so the credits never turn into a claim on the city.
  if (static_cast<double>(amount) > credits) amount = static_cast<long>(credits);
  if (Row(0, "F.KONTO") < static_cast<double>(amount)) {
    CWorldHost::Get()->SetAchtungWindow(kWarningRepayShort);
    return 1;
  }
  SetRow("F.KONTO", Row(0, "F.KONTO") - static_cast<double>(amount));
  SetRow("F.KREDITE", credits - static_cast<double>(amount));
  return 0;
}

int CFinanzen::CheckForMoney(int amount) {
  const int mode = m_pGottModus ? m_pGottModus->GetGameModus() : GAME_NORMAL;
  if (mode == GAME_GOD || mode == GAME_EXPO) return 0;
  return Row(0, "F.KONTO") - amount < 0.0 ? 1 : 0;
}

void CFinanzen::Meldung(const char* text) {
  SimEnsureErrorLog();
  if (FILE* log = SimErrorLog(); log && text) {
    std::fprintf(log, "%s\n", text);
    std::fflush(log);
  }
}

int CFinanzen::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  out.Header(name && *name ? name : kRecordName, kRecordLength - ZorRecordWriter::kNameSize);
  out.U8(m_Flag);
  out.U8(0);
  out.U16(0);
  out.I32(m_Count);
  for (const auto& table : m_Rows)
    for (int i = 0; i < m_Count; ++i) WriteVarRow(out, table[i]);
  return out.Ok() ? 0 : 1;
}

int CFinanzen::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const uint8_t flag = in.U8();
  in.Skip(3);
  const int32_t count = in.I32();
  if (!in.Ok()) return 1;
  if (count < 0 || count > kRows) {
    QNO_ERROR1(QNO_SEV_ERROR, "CFinanzen: a savegame with %d rows is refused", count);
    return 1;
  }
  SVVarTypeNew rows[2][kRows];
  std::memcpy(rows, m_Rows, sizeof rows);
  const bool doubles = g_ZorLoadVersion > kCreditsKeptVersion;
  for (auto& table : rows)
    for (int i = 0; i < count; ++i) {
      if (doubles) {
        ReadVarRow(in, &table[i]);
      } else {
        SVVarType old{};
        ReadVarRowFloat(in, &old);
        ConvertOldVarRows(&old, &table[i], 1);
      }
    }
  if (!in.Ok()) return 1;
  for (const auto& table : rows)
    for (int i = 0; i < count; ++i)
      if (std::strncmp(table[i].name, kDefaults[i].name, sizeof table[i].name) != 0) {
        QNO_ERROR2(QNO_SEV_ERROR, "CFinanzen: a savegame row named %s stands where %s belongs; refused", table[i].name,
                   kDefaults[i].name);
        return 1;
      }
  if (!RowsFinite(rows[0], count) || !RowsFinite(rows[1], count)) {
    QNO_ERROR(QNO_SEV_ERROR, "CFinanzen: a savegame with amounts that are no numbers is refused");
    return 1;
  }
  std::memcpy(m_Rows, rows, sizeof rows);
  m_Flag = flag;
  if (g_ZorLoadVersion >= kDoubleRowsVersion && g_ZorLoadVersion <= kCreditsKeptVersion) {
    CVarTable(m_Rows[0], kRows).SetVarData("F.KREDITE", 0.0);
    CVarTable(m_Rows[1], kRows).SetVarData("F.KREDITE", 0.0);
  }
  return 0;
}
