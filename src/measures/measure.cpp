#include "measures/measure.h"

#include <cmath>
#include <cstring>

#include "framework/zor_record.h"
#include "worldbase/zor_world_host.h"

#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_stand_in.h"

const SMeasureLayout kMeasureWithoutBlock{nullptr, nullptr, 0};

const SMeasureField* CMeasure::FindField(const char* key) const {
  if (!key) return nullptr;
  for (int i = 0; i < m_Layout.fieldCount; ++i)
    if (m_Layout.fields[i].key && std::strcmp(m_Layout.fields[i].key, key) == 0) return &m_Layout.fields[i];
  return nullptr;
}

int CMeasure::GetVarData(const char* key, double* value) {
  const SMeasureField* field = FindField(key);
  if (!field) return 1;
  *value = field->kind == SMeasureField::kInt32 ? IntAt(field->offset) : FloatAt(field->offset);
  return 0;
}

int CMeasure::SetVarData(const char* key, double value) {
  const SMeasureField* field = FindField(key);
  if (!field) return 1;
  if (!std::isfinite(value)) return 0;
  for (int i = 0; i < m_Layout.campaignCount; ++i)
    if (m_Layout.campaigns[i].running == field->offset) return SetCampaign(m_Layout.campaigns[i], value);
  if (field->kind == SMeasureField::kInt32)
    IntAt(field->offset) = static_cast<int32_t>(std::fmax(std::fmin(value, 2147483647.0), -2147483648.0));
  else
    FloatAt(field->offset) = static_cast<float>(value);
  return 0;
}

int CMeasure::GetStep(const char* key, float* step) {
  const SMeasureField* field = FindField(key);
  if (!field || !field->bounded) return 1;
  *step = field->step;
  return 0;
}

int CMeasure::GetVarMin(const char* key, float* min) {
  const SMeasureField* field = FindField(key);
  if (!field || !field->bounded) return 1;
  *min = field->min;
  return 0;
}

int CMeasure::GetVarMax(const char* key, float* max) {
  const SMeasureField* field = FindField(key);
  if (!field || !field->bounded) return 1;
  *max = field->max;
  return 0;
}

int CMeasure::SetCampaign(const SMeasureCampaign& campaign, double value) {
  int32_t& running = IntAt(campaign.running);
  if (value == 0.0) {
    running = 0;
    return 0;
  }
  if (running != 0) return 0;
  CWorldHost* host = CWorldHost::Get();
  if (host->CheckForMoney(static_cast<int>(campaign.price)) != 0) return 0;
  if (m_Layout.expenses != kNoField) IntAt(m_Layout.expenses) += static_cast<int32_t>(campaign.price);
  host->VarAddValue("F.GREENADVERTISMENT", campaign.price);
  running = static_cast<int32_t>(value);
  return 0;
}

void CMeasure::BookYearly(int field, double yearlyAmount, double elapsed) {
  if (field == kNoField) return;
  IntAt(static_cast<size_t>(field)) += static_cast<int32_t>(yearlyAmount * elapsed);
}

void CMeasure::AdvanceCampaigns(double elapsed) {
  for (int i = 0; i < m_Layout.campaignCount; ++i) {
    const SMeasureCampaign& c = m_Layout.campaigns[i];
    if (IntAt(c.running) == 0) continue;
    float& progress = FloatAt(c.progress);
    progress += static_cast<float>(elapsed);
    if (progress <= 1.0f) continue;
    IntAt(c.running) = 0;
    progress = 0.0f;
    if (m_Layout.quote != kNoField) FloatAt(static_cast<size_t>(m_Layout.quote)) *= c.quoteFactor;
    if (m_Layout.awareness != kNoField) FloatAt(static_cast<size_t>(m_Layout.awareness)) += c.awarenessRise;
  }
}

int CMeasure::OnPlayloopTurn(STime now, STime last) {
  if (!m_Layout.recordName) ZOR_STAND_IN("a measure's own block and steps");
  const double elapsed = static_cast<double>(now.fyear) - static_cast<double>(last.fyear);
  BookTurn(elapsed);
  AdvanceCampaigns(elapsed);
  if (m_Layout.balance != kNoField && m_Layout.income != kNoField && m_Layout.expenses != kNoField)
    IntAt(static_cast<size_t>(m_Layout.balance)) =
        IntAt(static_cast<size_t>(m_Layout.income)) - IntAt(static_cast<size_t>(m_Layout.expenses));
  CalculateUser(elapsed);
  return 0;
}

int CMeasure::ResetYearData(STime now, STime last) {
  if (now.year == last.year) return 0;
  ResetBilanz();
  return 0;
}

void CMeasure::ResetBilanz() {
  if (m_Layout.lastBalance != kNoField && m_Layout.balance != kNoField)
    IntAt(static_cast<size_t>(m_Layout.lastBalance)) = IntAt(static_cast<size_t>(m_Layout.balance));
  if (m_Layout.income != kNoField) IntAt(static_cast<size_t>(m_Layout.income)) = 0;
  if (m_Layout.expenses != kNoField) IntAt(static_cast<size_t>(m_Layout.expenses)) = 0;
}

double CMeasure::MoveUsers(double users, double potential, double damping, double elapsed) {
  if (damping <= 0.0 || elapsed <= 0.0) return users;
  const double step = (potential - users) / damping * 3.0 * elapsed;
  const double moved = users + step;
  return step > 0 ? std::fmin(moved, potential) : std::fmax(moved, potential);
}

size_t CMeasure::GetBlockSize() const { return 4 * static_cast<size_t>(m_Layout.fieldCount); }

int CMeasure::SerializeGameStore(FILE* file, char* name) {
  if (!m_Layout.recordName) return CWorldObj::SerializeGameStore(file, name);
  ZorRecordWriter out(file);
  out.Header(m_Layout.recordName, static_cast<uint32_t>(GetBlockSize()));
  for (int i = 0; i < m_Layout.fieldCount; ++i) {
    const SMeasureField& field = m_Layout.fields[i];
    if (field.kind == SMeasureField::kInt32)
      out.I32(IntAt(field.offset));
    else
      out.F32(FloatAt(field.offset));
  }
  return out.Ok() ? 0 : 1;
}

int CMeasure::SerializeGameLoad(FILE* file) {
  if (!m_Layout.recordName) return 0;
  ZorRecordReader in(file);
  std::vector<uint32_t> words(static_cast<size_t>(m_Layout.fieldCount));
  for (uint32_t& word : words) word = in.U32();
  if (!in.Ok()) return 1;
  for (int i = 0; i < m_Layout.fieldCount; ++i) {
    float v = 0.0f;
    std::memcpy(&v, &words[i], sizeof v);
    if (m_Layout.fields[i].kind == SMeasureField::kFloat && !std::isfinite(v)) {
      QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame whose field %d is no number is refused", m_Layout.recordName, i);
      return 1;
    }
  }
  for (int i = 0; i < m_Layout.fieldCount; ++i) std::memcpy(m_pBlock + m_Layout.fields[i].offset, &words[i], 4);
  AfterLoad();
  return 0;
}
