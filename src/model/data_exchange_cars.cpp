// The visible cars: which kind comes next and which picture it wears.
#include "framework/zor_seams.h"
#include "model/data_exchange.h"

namespace {
struct CarRow {
  int resId;
  int sprite;
  int16_t offsets[4];
};

constexpr int kKinds = 6;
constexpr int kMaxRows = 10;
const int kRowCount[kKinds] = {8, 4, 1, 1, 1, 4};
const CarRow kRows[kKinds][kMaxRows] = {
    {{21976, 3, {-1, 0, -1, -1}},
     {25510, 2, {-1, 0, -1, -1}},
     {25511, 4, {-1, 0, -1, -1}},
     {13164, 0, {-1, 0, -1, -1}},
     {24091, 6, {-1, 0, -1, -1}},
     {24092, 7, {-1, 0, -1, -1}},
     {24093, 8, {-1, 0, 0, -1}},
     {24090, 9, {-1, 0, -1, -1}}},
    {{24094, 10, {-1, 0, -1, -1}}, {24095, 11, {-1, 0, -1, -1}}, {24096, 12, {-1, 0, -1, -1}}, {21975, 13, {-1, 0, -1, -1}}},
    {{43711, 16, {-1, 0, -1, -1}}},
    {{43713, 15, {-1, 0, -1, -1}}},
    {{40227, 14, {-1, 0, -1, -1}}},
    {{40501, 20, {0, -10, -1, -6}}, {40080, 17, {0, -10, -1, -6}}, {40364, 18, {0, -10, -1, -6}}, {41135, 19, {0, -10, -1, -6}}},
};
}  // namespace

int CDataExchange::GetNextCarType(uint32_t turn) {
  // Every new car asks; the named values are looked up once a turn.
  SCarMixValues& mix = m_CarMix;
  if (turn == 0 || mix.turn != turn || mix.changes != m_Changes) {
    mix.m4 = GetVarValue("W.M4");
    mix.k12_2 = GetVarValue("W.K12.2");
    mix.k12_3 = GetVarValue("W.K12.3");
    mix.userQuote = GetVarValue("CS.USERQUOTEPEOPLE");
    mix.turn = turn;
    mix.changes = m_Changes;
  }
  const double t = (100.0 - mix.m4) * 10.0;
  // The microcar quote as UpdateQuoteMicrocar works it out, kept here: a
  // car made for the view must not write a figure of the city.
  const auto microcar = static_cast<float>((mix.k12_2 + mix.k12_3) / 100.0);
  const double carShare = 1.0 - (static_cast<double>(microcar) + m_Block.quoteECar + m_Block.quoteH2);
  const int r = zor_view_random().Next() % 1000;
  const double t0 = carShare * t;
  const double t1 = t0 + microcar * t;
  const double t2 = t1 + m_Block.quoteECar * t;
  const double t3 = t2 + m_Block.quoteH2 * t;
  const double t4 = t3 + t * mix.userQuote / 100.0;
  if (r <= t0) return 0;
  if (r <= t1) return 1;
  if (r <= t2) return 2;
  if (r <= t3) return 3;
  if (r <= t4) return 4;
  return 5;
}

int CDataExchange::GetNextCarResID(int kind, SCarResID* out) {
  if (kind < 0 || kind >= kKinds || !out) return 0;
  const CarRow& row = kRows[kind][zor_view_random().Next() % kRowCount[kind]];
  out->resId = row.resId;
  for (int i = 0; i < 4; ++i) out->offsets[i] = row.offsets[i];
  out->sprite = row.sprite;
  out->sizeClass = kind == 0 ? 0 : (kind == 5 ? 2 : 1);
  return row.resId;
}
