// The world's small services: the game speed, the video look-ups, the
// loading bar, the object list's filter and the forwarding of locations to
// the street network.
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_list.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

constexpr uint32_t kLoadProgressEveryMs = 500;
constexpr int kWarningNoTutorial = 61;

}  // namespace

void CZorvaWorld::SetGameSpeed(int slider) {
  m_GameSpeed = kGameSpeedSum - slider;
  SetEnv("GAMESPEED", m_GameSpeed);
}

uint32_t CZorvaWorld::GetTime() const { return kfx_GetTicks(); }

TBaseType CZorvaWorld::SetLevel(TBaseType layer) {
  const TBaseType before = m_Level;
  m_Level = layer;
  return before;
}

// ---- videos ------------------------------------------------------------------------

bool CZorvaWorld::FileExists(const char* path) {
  if (!path) return false;
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

int CZorvaWorld::PlayVideo(const char* path, int, bool) {
  GetEnvOnOff("VIDEO");
  std::snprintf(m_LastVideo, sizeof m_LastVideo, "%s", path ? path : "");
  return 0;
}

int CZorvaWorld::PlayVorspannVideo() {
  char path[400];
  QnoMakeValidPathname(GetEnvValue("MOVIEPATH", ""), "vorspann", ".mpg", path, sizeof path);
  if (!FileExists(path)) return 1;
  // The screen goes black before the video.
  m_RenderEmpty = 1;
  if (m_pDisplay && m_pDisplay->GetRenderBuffer()) {
    Render(m_pDisplay);
    FlipBuffer();
  }
  m_RenderEmpty = 0;
  PlayVideo(path, 0, false);
  m_LastVideoTime = kfx_GetTicks();
  return 0;
}

int CZorvaWorld::PlayAbspannVideo() {
  char path[400];
  QnoMakeValidPathname(GetEnvValue("MOVIEPATH", ""), "abspann", ".mpg", path, sizeof path);
  if (!FileExists(path)) return 0;
  PlayVideo(path, 0, false);
  m_LastVideoTime = kfx_GetTicks();
  return 0;
}

int CZorvaWorld::PlayTutorialVideo() {
  char path[400];
  QnoMakeValidPathname(GetEnvValue("MOVIEPATH", ""), m_Language == 0 ? "tutorial" : "tutoriae",
                       GetEnvOnOff("TISAVI") ? ".avi" : ".mpg", path, sizeof path);
  if (FileExists(path)) {
    m_LastVideoTime = kfx_GetTicks();
    PlayVideo(path, 0, false);
  } else {
    m_LastVideoTime = -1;
    if (m_pUserInt) m_pUserInt->SetAchtungWindow(kWarningNoTutorial);
  }
  return 0;
}

void CZorvaWorld::StartTutorialFirstTime() {
  if (!GetEnvOnOff("AFTERINSTALLATION")) return;
  SetEnv("AFTERINSTALLATION", 1);
  PlayTutorialVideo();
}

// ---- loading bar -------------------------------------------------------------------

int CZorvaWorld::RenderLadeAnzeige(FILE* file) {
  const uint32_t now = kfx_GetTicks();
  if (now - m_LastLoadProgress <= kLoadProgressEveryMs) return 0;
  if (m_LoadFileSize != 0 && m_LoadFileSize != -1) {
    const long at = file ? std::ftell(file) : 0;
    SetLoading(true, static_cast<float>(at < 0 ? 0 : at) / static_cast<float>(m_LoadFileSize));
    if (m_pDisplay && m_pDisplay->GetRenderBuffer()) {
      Render(m_pDisplay);
      FlipBuffer();
    }
    SetLoading(false, m_LoadProgress);
  }
  m_LastLoadProgress = now;
  return 0;
}

// ---- objects and locations -----------------------------------------------------------

void CZorvaWorld::SetObjectListFilter() {
  if (m_pObjectList)
    for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext())
      SetWorldObjectListFilter(dynamic_cast<CWorldObj*>(o));
  if (m_pIsoWelt) m_pIsoWelt->SetFilter();
}

short CZorvaWorld::GetNearestCrossing(int x, int y, int* distance, short excluded) {
  int d = -1;
  const unsigned short id =
      m_pStreetNet ? m_pStreetNet->GetNearestCrossing(static_cast<short>(x), static_cast<short>(y), &d,
                                                      static_cast<unsigned short>(excluded), nullptr)
                   : 0;
  if (distance) *distance = d;
  return static_cast<short>(id);
}

int CZorvaWorld::RegisterLocationAtCrossing(CSimLocation* location, short crossing) {
  return m_pStreetNet ? m_pStreetNet->RegisterLocationAtCrossing(location, static_cast<unsigned short>(crossing)) : 1;
}

int CZorvaWorld::RemoveLocationFromCrossing(short crossing, CSimLocation* location) {
  return m_pStreetNet ? m_pStreetNet->RemoveLocationFromCrossing(static_cast<unsigned short>(crossing), location) : 1;
}

int CZorvaWorld::FindNearestHst(short x1, short y1, short x2, short y2, int distance, unsigned char flag, short* stop,
                                int* stopDistance, unsigned char* found) {
  if (!m_pOpnv) {
    if (found) *found = 0;
    return 1;
  }
  return m_pOpnv->SearchNextHst(x1, y1, x2, y2, distance, stop, stopDistance, found, flag, false) == 0 ? 0 : 1;
}

int CZorvaWorld::RemoveDummyRailObject() {
  if (!m_pObjectList) return 0;
  std::unordered_set<CWorldObj*> held;
  if (m_pRailNet)
    for (CZorvaObject* o = m_pRailNet->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) held.insert(j->GetStreetByNR(i)->GetWorldObj());
    }
  std::vector<CWorldObj*> dummies;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* object = dynamic_cast<CWorldObj*>(o);
    if (object && object->GetType() == OBJ_RAIL_PIECE && !held.count(object)) dummies.push_back(object);
  }
  if (dummies.empty()) return 0;
  // An object still shown on the map would leave its cells pointing at
  // nothing: it stays.
  std::unordered_set<CWorldObj*> shown;
  if (m_pIsoWelt)
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y)
        if (m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) ==
            OBJ_RAIL_PIECE)
          shown.insert(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  int destroyed = 0;
  for (CWorldObj* object : dummies) {
    if (shown.count(object)) {
      QNO_ERROR(QNO_SEV_WARNING, "Rail object without track still on the map, kept");
      continue;
    }
    m_pObjectList->DestroyObject(object, 0);
    ++destroyed;
  }
  return destroyed;
}
