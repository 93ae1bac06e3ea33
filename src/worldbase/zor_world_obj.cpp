#include "worldbase/zor_world_obj.h"

#include <cstring>

#include "framework/zor_record.h"
#include "worldbase/zor_world_host.h"

ZOR_IMPLEMENT_TYPE(CWorldObj, QnoObject)

static_assert(CWorldObj::kRecordNameSize == ZorRecordWriter::kNameSize, "one record header");

static void ZorCopyName(char* dst, const char* src, size_t size) {
  if (!src) src = "";
  std::strncpy(dst, src, size - 1);
  dst[size - 1] = '\0';
}

int CWorldObj::Create() {
  ++m_AllocCount;
  ZorCopyName(m_SoundName, "Wind", sizeof m_SoundName);
  m_SoundPriority = 2;
  CWorldHost::Get()->SetWorldObjectListFilter(this);
  return 0;
}

int CWorldObj::Create(CZorvaObject& other) {
  auto* o = dynamic_cast<CWorldObj*>(&other);
  if (!o) return 0;
  m_Type = o->m_Type;
  m_Visible = o->m_Visible;
  std::memcpy(m_SoundName, o->m_SoundName, sizeof m_SoundName);
  m_FilterResID = o->m_FilterResID;
  m_SoundVisible = o->m_SoundVisible;
  return 0;
}

int CWorldObj::Destroy() {
  --m_AllocCount;
  return 0;
}

int CWorldObj::SetVarData(const char*, const char*) { return 1; }
int CWorldObj::SetVarData(const char*, double) { return 1; }
int CWorldObj::GetVarData(const char*, double*) { return 1; }
int CWorldObj::GetStep(const char*, float* step) {
  if (step) *step = 0.0f;
  return 1;
}
int CWorldObj::SetStep(const char*, float) { return 0; }
int CWorldObj::GetVarMin(const char*, float*) { return 1; }
int CWorldObj::GetVarMax(const char*, float*) { return 1; }
int CWorldObj::GetVarData(const char*, char*) { return 1; }

int CWorldObj::WriteRecordHeader(FILE* file, const char* name, uint32_t payloadLength) {
  ZorRecordWriter out(file);
  out.Header(name, payloadLength);
  return out.Ok() ? 0 : 1;
}

int CWorldObj::SerializeGameStore(FILE* file, char*) { return WriteRecordHeader(file, "NoSaveData", 0); }

uint32_t CWorldObj::m_SoundTurn = 0;

int CWorldObj::OnPlayloopTurn(unsigned short, unsigned short) {
  if (m_SoundTurn != 0) {
    if (m_SoundTurnDone == m_SoundTurn) return 0;
    m_SoundTurnDone = m_SoundTurn;
  }
  CWorldHost* world = CWorldHost::Get();
  if (m_Visible && m_SoundVisible)
    world->AddSound(m_SoundName, m_SoundPriority);
  else if (m_Visible || m_SoundVisible)
    world->FadeOutSound(m_SoundName);
  return 0;
}

int CWorldObj::Render(QnoDisplay*, unsigned short, unsigned short, int, int, TIsoZoomStufe) { return 0; }

void CWorldObj::SetVisible(bool visible, unsigned short, unsigned short) {
  m_Visible = visible ? 1 : 0;
  if (!visible) m_SoundVisible = 0;
}

bool CWorldObj::IsVisible(unsigned short, unsigned short) { return m_Visible != 0; }

const char* CWorldObj::SetSoundName(const char* name, int priority) {
  ZorCopyName(m_SoundName, name, sizeof m_SoundName);
  m_SoundPriority = priority;
  return m_SoundName;
}

void CWorldObj::SetSoundVisible(bool on) {
  if (!on && m_SoundVisible) CWorldHost::Get()->FadeOutSound(m_SoundName);
  m_SoundVisible = on ? 1 : 0;
}

int CBaseObject::Create() {
  CWorldObj::Create();
  m_Type = OBJ_GROUND;
  return 0;
}
