#include "measures/measure.h"

#include <algorithm>
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
  if (field->kind == SMeasureField::kPad) return 1;
  *value = field->kind == SMeasureField::kFloat ? FloatAt(field->offset) : IntAt(field->offset);
  return 0;
}

int CMeasure::SetVarData(const char* key, double value) {
  const SMeasureField* field = FindField(key);
  if (!field) return 1;
  if (!std::isfinite(value)) return 0;
  for (int i = 0; i < m_Layout.campaignCount; ++i)
    if (m_Layout.campaigns[i].running == field->offset) return SetCampaign(m_Layout.campaigns[i], value);
  switch (field->kind) {
    case SMeasureField::kFloat: FloatAt(field->offset) = static_cast<float>(value); break;
    case SMeasureField::kByte: IntAt(field->offset) = static_cast<int32_t>(std::fmax(std::fmin(value, 255.0), 0.0)); break;
    case SMeasureField::kPad: return 1;
    default:
      IntAt(field->offset) = static_cast<int32_t>(std::fmax(std::fmin(value, 2147483647.0), -2147483648.0));
      break;
  }
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
  // A flag kept as a byte runs with any value it can hold.
  const SMeasureField* flag = nullptr;
  for (int i = 0; i < m_Layout.fieldCount && !flag; ++i)
    if (m_Layout.fields[i].offset == campaign.running) flag = &m_Layout.fields[i];
  running = flag && flag->kind == SMeasureField::kByte ? static_cast<int32_t>(std::fmax(std::fmin(value, 255.0), 1.0))
                                                       : static_cast<int32_t>(value);
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
  if (!m_Layout.campaignsAfterUsers) AdvanceCampaigns(elapsed);
  if (m_Layout.balance != kNoField && m_Layout.income != kNoField && m_Layout.expenses != kNoField)
    IntAt(static_cast<size_t>(m_Layout.balance)) =
        IntAt(static_cast<size_t>(m_Layout.income)) - IntAt(static_cast<size_t>(m_Layout.expenses));
  CalculateUser(elapsed);
  if (m_Layout.campaignsAfterUsers) AdvanceCampaigns(elapsed);
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

size_t CMeasure::FieldSize(const SMeasureField& field) {
  const size_t each = field.kind == SMeasureField::kByte || field.kind == SMeasureField::kPad ? 1
                      : field.kind == SMeasureField::kInt16                                 ? 2
                                                                                            : 4;
  return each * static_cast<size_t>(field.count);
}

size_t CMeasure::GetBlockSize() const {
  size_t size = 0;
  for (int i = 0; i < m_Layout.fieldCount; ++i) size += FieldSize(m_Layout.fields[i]);
  return size;
}

int CMeasure::SerializeGameStore(FILE* file, char* name) {
  if (!m_Layout.recordName) return CWorldObj::SerializeGameStore(file, name);
  ZorRecordWriter out(file);
  out.Header(m_Layout.recordName, static_cast<uint32_t>(GetBlockSize()));
  for (int i = 0; i < m_Layout.fieldCount; ++i) {
    const SMeasureField& field = m_Layout.fields[i];
    for (int k = 0; k < field.count; ++k) {
      const size_t at = field.offset + 4 * static_cast<size_t>(k);
      switch (field.kind) {
        case SMeasureField::kFloat: out.F32(FloatAt(at)); break;
        case SMeasureField::kByte: out.U8(static_cast<uint8_t>(std::clamp(IntAt(at), 0, 255))); break;
        case SMeasureField::kInt16: out.I16(static_cast<int16_t>(std::clamp(IntAt(at), -32768, 32767))); break;
        case SMeasureField::kPad: out.U8(0); break;
        default: out.I32(IntAt(at)); break;
      }
    }
  }
  return out.Ok() ? 0 : 1;
}

int CMeasure::SerializeGameLoad(FILE* file) {
  return m_Layout.recordName ? SerializeGameLoad(file, static_cast<uint32_t>(GetBlockSize())) : 0;
}

int CMeasure::SerializeGameLoad(FILE* file, uint32_t payload) {
  if (!m_Layout.recordName) return 0;
  const bool older = m_Layout.olderBlockSize != 0 && payload == m_Layout.olderBlockSize;
  if (payload != GetBlockSize() && !older) {
    QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame block of %u bytes is refused", m_Layout.recordName,
               static_cast<unsigned>(payload));
    return 1;
  }
  ZorRecordReader in(file);
  // Each value as it lies in memory (4 bytes), read before any is kept.
  struct Value {
    size_t at;
    uint32_t word;
  };
  std::vector<Value> values;
  size_t taken = 0;
  for (int i = 0; i < m_Layout.fieldCount; ++i) {
    const SMeasureField& field = m_Layout.fields[i];
    if (taken + FieldSize(field) > payload) break;
    taken += FieldSize(field);
    for (int k = 0; k < field.count; ++k) {
      const size_t at = field.offset + 4 * static_cast<size_t>(k);
      switch (field.kind) {
        case SMeasureField::kByte: values.push_back({at, in.U8()}); break;
        case SMeasureField::kInt16: values.push_back({at, static_cast<uint32_t>(static_cast<int32_t>(in.I16()))}); break;
        case SMeasureField::kPad: in.U8(); break;
        default: {
          const uint32_t word = in.U32();
          float v = 0.0f;
          std::memcpy(&v, &word, sizeof v);
          if (field.kind == SMeasureField::kFloat && !std::isfinite(v) && in.Ok()) {
            QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame whose field %d is no number is refused", m_Layout.recordName, i);
            return 1;
          }
          values.push_back({at, word});
          break;
        }
      }
    }
  }
  if (!in.Ok() || taken != payload) {
    if (in.Ok())
      QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame block of %u bytes ends inside a field", m_Layout.recordName,
                 static_cast<unsigned>(payload));
    return 1;
  }
  for (const Value& v : values) std::memcpy(m_pBlock + v.at, &v.word, 4);
  m_LoadedOlder = older;
  AfterLoad();
  return 0;
}
