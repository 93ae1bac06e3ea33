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

namespace {
// The bytes of one value of the field in memory and in the record, and of
// the whole field in each.
size_t Width(const SMeasureField& field) {
  switch (field.kind) {
    case SMeasureField::kUInt8: return 1;
    case SMeasureField::kPad: return 0;
    default: return 4;
  }
}
size_t RecordWidth(const SMeasureField& field) {
  switch (field.kind) {
    case SMeasureField::kUInt8:
    case SMeasureField::kPad: return 1;
    case SMeasureField::kInt16: return 2;
    default: return 4;
  }
}
size_t FieldSize(const SMeasureField& field) { return Width(field) * static_cast<size_t>(field.count); }
size_t RecordSize(const SMeasureField& field) { return RecordWidth(field) * static_cast<size_t>(field.count); }
}  // namespace

CMeasure::CMeasure(const SMeasureLayout& layout, void* block) : m_Layout(layout), m_pBlock(static_cast<char*>(block)) {
  for (int i = 0; i < layout.fieldCount; ++i) {
    const SMeasureField& f = layout.fields[i];
    const size_t end = f.offset + FieldSize(f);
    if (end > m_BlockExtent) m_BlockExtent = end;
  }
}

const SMeasureField* CMeasure::FindField(const char* key) const {
  if (!key) return nullptr;
  for (int i = 0; i < m_Layout.fieldCount; ++i)
    if (m_Layout.fields[i].key && std::strcmp(m_Layout.fields[i].key, key) == 0) return &m_Layout.fields[i];
  return nullptr;
}

int CMeasure::GetVarData(const char* key, double* value) {
  const SMeasureField* field = FindField(key);
  if (!field) return 1;
  switch (field->kind) {
    case SMeasureField::kInt32:
    case SMeasureField::kInt16: *value = IntAt(field->offset); break;
    case SMeasureField::kFloat: *value = FloatAt(field->offset); break;
    case SMeasureField::kUInt8: *value = static_cast<uint8_t>(m_pBlock[field->offset]); break;
    case SMeasureField::kPad: return 1;
  }
  return 0;
}

int CMeasure::SetVarData(const char* key, double value) {
  const SMeasureField* field = FindField(key);
  if (!field) return 1;
  if (m_Layout.settable) {
    int i = 0;
    while (i < m_Layout.settableCount && std::strcmp(m_Layout.settable[i], key) != 0) ++i;
    if (i == m_Layout.settableCount) return 1;
  }
  if (!std::isfinite(value)) return 0;
  for (int i = 0; i < m_Layout.campaignCount; ++i)
    if (m_Layout.campaigns[i].running == field->offset) return SetCampaign(m_Layout.campaigns[i], value);
  switch (field->kind) {
    case SMeasureField::kInt32:
    case SMeasureField::kInt16:
      IntAt(field->offset) = static_cast<int32_t>(std::fmax(std::fmin(value, 2147483647.0), -2147483648.0));
      break;
    case SMeasureField::kFloat: FloatAt(field->offset) = static_cast<float>(value); break;
    case SMeasureField::kUInt8:
      m_pBlock[field->offset] = static_cast<char>(static_cast<uint8_t>(std::fmax(std::fmin(value, 255.0), 0.0)));
      break;
    case SMeasureField::kPad: return 1;
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

bool CMeasure::ByteFlag(size_t offset) const {
  for (int i = 0; i < m_Layout.fieldCount; ++i)
    if (m_Layout.fields[i].offset == offset) return m_Layout.fields[i].kind == SMeasureField::kUInt8;
  return false;
}

int32_t CMeasure::Flag(size_t offset) {
  return ByteFlag(offset) ? static_cast<uint8_t>(m_pBlock[offset]) : IntAt(offset);
}

void CMeasure::SetFlag(size_t offset, int32_t value) {
  if (ByteFlag(offset))
    m_pBlock[offset] = static_cast<char>(static_cast<uint8_t>(value));
  else
    IntAt(offset) = value;
}

int CMeasure::SetCampaign(const SMeasureCampaign& campaign, double value) {
  if (value == 0.0) {
    SetFlag(campaign.running, 0);
    return 0;
  }
  if (Flag(campaign.running) != 0) return 0;
  CWorldHost* host = CWorldHost::Get();
  if (host->CheckForMoney(static_cast<int>(campaign.price)) != 0) return 0;
  if (m_Layout.expenses != kNoField) IntAt(m_Layout.expenses) += static_cast<int32_t>(campaign.price);
  host->VarAddValue("F.GREENADVERTISMENT", campaign.price);
  // A flag kept as a byte runs with any value it can hold.
  SetFlag(campaign.running, ByteFlag(campaign.running) ? static_cast<int32_t>(std::fmax(std::fmin(value, 255.0), 1.0))
                                                       : static_cast<int32_t>(value));
  return 0;
}

void CMeasure::BookYearly(int field, double yearlyAmount, double elapsed) {
  if (field == kNoField) return;
  IntAt(static_cast<size_t>(field)) += static_cast<int32_t>(yearlyAmount * elapsed);
}

void CMeasure::AdvanceCampaigns(double elapsed) {
  for (int i = 0; i < m_Layout.campaignCount; ++i) {
    const SMeasureCampaign& c = m_Layout.campaigns[i];
    if (Flag(c.running) == 0) continue;
    float& progress = FloatAt(c.progress);
    progress += static_cast<float>(elapsed);
    if (progress <= 1.0f) continue;
    SetFlag(c.running, 0);
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

size_t CMeasure::GetBlockSize() const {
  size_t size = 0;
  for (int i = 0; i < m_Layout.fieldCount; ++i) size += RecordSize(m_Layout.fields[i]);
  return size;
}

int CMeasure::SerializeGameStore(FILE* file, char* name) {
  if (!m_Layout.recordName) return CWorldObj::SerializeGameStore(file, name);
  ZorRecordWriter out(file);
  out.Header(m_Layout.recordName, static_cast<uint32_t>(GetBlockSize()));
  for (int i = 0; i < m_Layout.fieldCount; ++i) {
    const SMeasureField& field = m_Layout.fields[i];
    for (int k = 0; k < field.count; ++k) {
      const size_t at = field.offset + static_cast<size_t>(k) * Width(field);
      switch (field.kind) {
        case SMeasureField::kInt32: out.I32(IntAt(at)); break;
        case SMeasureField::kFloat: out.F32(FloatAt(at)); break;
        case SMeasureField::kUInt8: out.U8(static_cast<uint8_t>(m_pBlock[at])); break;
        case SMeasureField::kInt16: out.I16(static_cast<int16_t>(std::clamp(IntAt(at), -32768, 32767))); break;
        case SMeasureField::kPad: out.U8(0); break;
      }
    }
  }
  return out.Ok() ? 0 : 1;
}

int CMeasure::ReadBlock(FILE* file, size_t size) {
  ZorRecordReader in(file);
  std::vector<char> bytes(size);
  if (!in.Bytes(bytes.data(), size)) return 1;
  // The fields that the payload holds, in the block's order; each value is
  // checked before any of them replaces the block's.
  std::vector<char> loaded(m_pBlock, m_pBlock + m_BlockExtent);
  size_t at = 0;
  for (int i = 0; i < m_Layout.fieldCount && at < size; ++i) {
    const SMeasureField& field = m_Layout.fields[i];
    const size_t width = RecordWidth(field);
    for (int k = 0; k < field.count && at + width <= size; ++k, at += width) {
      const size_t to = field.offset + static_cast<size_t>(k) * Width(field);
      if (field.kind == SMeasureField::kPad) continue;
      if (field.kind == SMeasureField::kUInt8) {
        loaded[to] = bytes[at];
        continue;
      }
      uint32_t word = 0;
      for (int b = static_cast<int>(width) - 1; b >= 0; --b)
        word = (word << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(b)]);
      // A 16-bit number widens with its sign.
      if (field.kind == SMeasureField::kInt16) word = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(word)));
      if (field.kind == SMeasureField::kFloat) {
        float v = 0.0f;
        std::memcpy(&v, &word, sizeof v);
        if (!std::isfinite(v)) {
          QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame whose field %d is no number is refused", m_Layout.recordName, i);
          return 1;
        }
      }
      std::memcpy(&loaded[to], &word, 4);
    }
  }
  std::vector<char> before(m_pBlock, m_pBlock + m_BlockExtent);
  std::memcpy(m_pBlock, loaded.data(), m_BlockExtent);
  if (const char* why = Refusal()) {
    std::memcpy(m_pBlock, before.data(), m_BlockExtent);
    QNO_ERROR2(QNO_SEV_ERROR, "%s: a savegame whose %s cannot be is refused", m_Layout.recordName, why);
    return 1;
  }
  AfterLoad();
  ClampYearMoney();
  return 0;
}

void CMeasure::ClampYearMoney() {
  // The year's money is booked hourly in 32 bits and its balance is income
  // less expenses. No year of play comes near a billion, so a loaded amount
  // beyond that is damage; clamped to it, the bookings and the balance
  // after it stay in range.
  constexpr int32_t kLimit = 1000000000;
  const struct {
    int offset;
    const char* what;
  } money[] = {{m_Layout.income, "income"},
               {m_Layout.expenses, "expenses"},
               {m_Layout.balance, "balance"},
               {m_Layout.lastBalance, "last year's balance"}};
  for (const auto& m : money) {
    if (m.offset == kNoField) continue;
    int32_t& value = IntAt(static_cast<size_t>(m.offset));
    if (value >= -kLimit && value <= kLimit) continue;
    QNO_ERROR3(QNO_SEV_ERROR, "%s: %s of %d out of range, taken as the nearest bound",
               m_Layout.recordName, m.what, static_cast<int>(value));
    value = std::clamp(value, -kLimit, kLimit);
  }
}

void CMeasure::PutBackBlock(const std::vector<char>& kept) {
  // Bytes of another block are not this block's; a block without fields
  // has nothing to take back.
  if (kept.size() == m_BlockExtent && m_BlockExtent > 0) std::memcpy(m_pBlock, kept.data(), m_BlockExtent);
}

int CMeasure::SerializeGameLoad(FILE* file) {
  if (!m_Layout.recordName) return 0;
  return ReadBlock(file, GetBlockSize());
}

int CMeasure::SerializeGameLoad(FILE* file, uint32_t payload, int version) {
  // A measure without a described block reads its record its own way.
  if (!m_Layout.recordName) return SerializeGameLoad(file);
  const bool older = m_Layout.olderBlockSize != 0 && version < m_Layout.olderBeforeVersion;
  const size_t expected = older ? m_Layout.olderBlockSize : GetBlockSize();
  if (payload != expected) {
    QNO_ERROR3(QNO_SEV_ERROR, "%s: a record of %u bytes is refused, %u expected", m_Layout.recordName,
               static_cast<unsigned>(payload), static_cast<unsigned>(expected));
    return 1;
  }
  return ReadBlock(file, expected);
}
