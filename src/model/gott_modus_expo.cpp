// The exhibition: game mode 3 as a kiosk on its fixed map. The visitor
// either places two bus stops on marked places and sets the headway of the
// line between them, or builds a marked street of a chosen type and sets its
// speed. Marked cells show where to click, short warning windows answer
// clicks elsewhere, and a rating page judges the result once the rating
// time has run. The windows are those of the exhibition chain: 3xx German,
// 4xx English.
#include <algorithm>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/render_resource.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv_line.h"
#include "model/gott_modus.h"
#include "network/street_objects.h"
#include "worldbase/building_catalogue.h"

int CGottModus::m_ExpoModus = EXPO_NONE;
int CGottModus::m_ExpoState = EXPO_IDLE;

namespace {

// The stop places: three cells each, and the direction of a stop built there.
constexpr int kBusMarkierung[CGottModus::kExpoPlaces][CGottModus::kExpoPlaceCells][2] = {
    {{78, 57}, {79, 57}, {80, 57}},
    {{47, 8}, {48, 8}, {49, 8}},
    {{33, 21}, {33, 22}, {33, 23}},
    {{64, 60}, {64, 61}, {64, 62}}};
constexpr int kBusRichtung[CGottModus::kExpoPlaces] = {3, 3, 0, 0};
// The street tasks: the points the street is built through, the marked
// points (a step inside the first and last), and the type each asks for.
constexpr int kStreetDef[CGottModus::kExpoStreetTasks][CGottModus::kExpoStreetPoints][2] = {
    {{85, 55}, {85, 20}, {48, 20}, {-1, -1}, {-1, -1}},
    {{27, 29}, {27, 21}, {30, 21}, {30, 18}, {-1, -1}},
    {{55, 44}, {67, 44}, {67, 52}, {-1, -1}, {-1, -1}},
    {{55, 57}, {2, 57}, {2, 41}, {-1, -1}, {-1, -1}}};
constexpr int kStreetM[CGottModus::kExpoStreetTasks][CGottModus::kExpoStreetPoints][2] = {
    {{85, 54}, {85, 20}, {49, 20}, {-1, -1}, {-1, -1}},
    {{27, 28}, {27, 21}, {30, 21}, {30, 19}, {-1, -1}},
    {{56, 44}, {67, 44}, {67, 51}, {-1, -1}, {-1, -1}},
    {{54, 57}, {2, 57}, {2, 42}, {-1, -1}, {-1, -1}}};
constexpr int kStreetType[CGottModus::kExpoStreetTasks] = {4, 2, 2, 4};

constexpr int kStopSign = 23, kStopShelter = 25, kBusNet = 1;
// Windows of the chain.
constexpr int kWarnNoPlace = 306, kStopNote = 307, kStopNoteEn = 407, kHeadway = 308, kHeadwayEn = 408;
constexpr int kLineWindow = 311;
constexpr int kWarnNoStreet = 327, kWarnWrongType = 328, kStreetNote = 319;
// The street windows: two-lane streets, the other types. Only these two
// show the built street; the chain has no further street window to bind.
constexpr int kStreetTwoLane = 330, kStreetOther = 332;
constexpr uint32_t kWarningHold = 1750, kStopNoteHold = 5250, kStreetNoteHold = 8750, kCloseEarly = 500;
// A headway above this is rated as the slow service.
constexpr int kSlowHeadway = 14;
constexpr int kSmallMapStop = 5;

bool Set(const int cell[2]) { return cell[0] != -1 && cell[1] != -1; }

// Whether (x, y) lies on the run from a to b: the cells between them along
// the axis on which they differ, both ends included.
bool OnRun(const int a[2], const int b[2], int x, int y) {
  if (a[0] == b[0]) return x == a[0] && y >= std::min(a[1], b[1]) && y <= std::max(a[1], b[1]);
  if (a[1] == b[1]) return y == a[1] && x >= std::min(a[0], b[0]) && x <= std::max(a[0], b[0]);
  return false;
}

template <typename F>
void ForEachRunCell(const int a[2], const int b[2], F&& f) {
  const int dx = (b[0] > a[0]) - (b[0] < a[0]), dy = (b[1] > a[1]) - (b[1] < a[1]);
  if (dx != 0 && dy != 0) return;
  for (int x = a[0], y = a[1];; x += dx, y += dy) {
    f(x, y);
    if (x == b[0] && y == b[1]) break;
  }
}

}  // namespace

void CGottModus::Expo_ResetTasks() {
  std::copy(&kBusMarkierung[0][0][0], &kBusMarkierung[0][0][0] + sizeof kBusMarkierung / sizeof(int),
            &m_Expo_Bus_Markierung[0][0][0]);
  std::copy(&kStreetM[0][0][0], &kStreetM[0][0][0] + sizeof kStreetM / sizeof(int), &m_Expo_Street_M[0][0][0]);
  m_Expo_Haltestellen[0] = m_Expo_Haltestellen[1] = nullptr;
  m_Expo_Bus_Nr[0] = m_Expo_Bus_Nr[1] = -1;
  m_Expo_Line = nullptr;
  m_Expo_Street = nullptr;
  m_Expo_StreetNr = -1;
  m_ExpoFields.headway = 0;
}

// ---- modes, state and timers ----

int CGottModus::SetExpoModus(int mode) {
  if (mode == EXPO_NONE) {
    m_ExpoFields.stopCount = 0;
    m_ExpoFields.headway = 0;
    m_ExpoFields.warningWindow = -1;
  }
  m_ExpoModus = mode;
  return 0;
}

int CGottModus::SetExpoState(int state) {
  if (state == EXPO_LINE_RUNS && m_pExpoHost) {
    m_pExpoHost->BindWindow(kLineWindow, m_Expo_Line);
    m_pExpoHost->OpenWindow(kLineWindow);
  }
  m_ExpoState = state;
  return 0;
}

int CGottModus::Expo_RefreshLastMove() {
  m_ExpoFields.lastMoveDeadline = kfx_GetTicks() + static_cast<uint32_t>(m_ExpoTimeOut);
  return 0;
}

void CGottModus::Expo_SetTimeRating() {
  m_ExpoFields.ratingDeadline = kfx_GetTicks() + static_cast<uint32_t>(m_ExpoRatingTime);
}

void CGottModus::Expo_Set_Ticks_Timeout_Auswertung(int timeout, int rating) {
  if (timeout != 0) m_ExpoTimeOut = timeout;
  if (rating != 0) m_ExpoRatingTime = rating;
}

void CGottModus::Expo_Window(int german, int english) const {
  if (m_pExpoHost) m_pExpoHost->OpenWindow(m_pExpoHost->English() ? english : german);
}

void CGottModus::Expo_ShowWarning(int window, uint32_t hold) {
  if (!m_pExpoHost) return;
  if (m_ExpoFields.warningWindow != -1) m_pExpoHost->CloseWindow(m_ExpoFields.warningWindow);
  m_pExpoHost->OpenWindow(window);
  m_ExpoFields.warningWindow = window;
  m_ExpoFields.warningDeadline = kfx_GetTicks() + hold;
}

void CGottModus::Expo_CheckWarningWindow() {
  if (m_ExpoFields.warningWindow == -1) return;
  // Deadlines are compared by their distance, so that the tick counter's
  // wrap does not close a window early or keep it for ever.
  if (static_cast<int32_t>(kfx_GetTicks() - m_ExpoFields.warningDeadline) < 0) return;
  if (m_pExpoHost) m_pExpoHost->CloseWindow(m_ExpoFields.warningWindow);
  m_ExpoFields.warningWindow = -1;
}

void CGottModus::Expo_CheckWarningWindowMouseKey() {
  if (m_ExpoFields.warningWindow == -1) return;
  if (static_cast<int32_t>(m_ExpoFields.warningDeadline - kfx_GetTicks()) > static_cast<int32_t>(kCloseEarly)) return;
  if (m_pExpoHost) m_pExpoHost->CloseWindow(m_ExpoFields.warningWindow);
  m_ExpoFields.warningWindow = -1;
}

// ---- the marked places ----

int CGottModus::Expo_Bus_IsMarkierung(int x, int y) const {
  for (int p = 0; p < kExpoPlaces; ++p)
    for (const auto& cell : m_Expo_Bus_Markierung[p])
      if (Set(cell) && cell[0] == x && cell[1] == y) return p;
  return -1;
}

int CGottModus::Expo_Street_IsMarkierung(int x, int y) const {
  for (int t = 0; t < kExpoStreetTasks; ++t)
    for (int i = 0; i + 1 < kExpoStreetPoints; ++i) {
      const int* a = m_Expo_Street_M[t][i];
      const int* b = m_Expo_Street_M[t][i + 1];
      if (Set(a) && Set(b) && OnRun(a, b, x, y)) return t;
    }
  return -1;
}

// ---- the bus task ----

bool CGottModus::Expo_Bus_SetHst(int x, int y) {
  const int p = Expo_Bus_IsMarkierung(x, y);
  if (p == -1) {
    Expo_ShowWarning(kWarnNoPlace);
    return false;
  }
  // Two stops make the task; a third click has nowhere to go.
  if (m_ExpoFields.stopCount >= 2 || !m_pExpoHost) return false;
  const int type = m_ExpoFields.stopType;
  if (type != kStopSign && type != kStopShelter) return false;
  const int* cell = m_Expo_Bus_Markierung[p][type == kStopSign ? 1 : 0];
  const int resId = CBuildingDataList::GetBuildingResIDByType(static_cast<TObjectType>(type), -1, nullptr);
  CSecondLayerObject* stop = m_pExpoHost->CreateStop(type, resId, kBusRichtung[p], cell[0], cell[1]);
  if (!stop) {
    QNO_LOG("Exhibition: no stop of type %d at %d/%d", type, cell[0], cell[1]);
    return false;
  }
  for (auto& c : m_Expo_Bus_Markierung[p]) c[0] = c[1] = -1;
  m_Expo_Haltestellen[m_ExpoFields.stopCount] = stop;
  m_Expo_Bus_Nr[m_ExpoFields.stopCount] = p;
  ++m_ExpoFields.stopCount;
  if (m_ExpoFields.stopCount == 1) {
    Expo_Window(kStopNote, kStopNoteEn);
    m_ExpoFields.warningWindow = kStopNote;
    m_ExpoFields.warningDeadline = kfx_GetTicks() + kStopNoteHold;
  } else {
    for (int w : {kWarnNoPlace, kStopNote, kStopNoteEn}) m_pExpoHost->CloseWindow(w);
    Expo_Window(kHeadway, kHeadwayEn);
    SetExpoState(EXPO_STOPS_PLACED);
  }
  return true;
}

void CGottModus::Expo_MakeBusLine() {
  for (auto& place : m_Expo_Bus_Markierung)
    for (auto& c : place) c[0] = c[1] = -1;
  if (!m_pExpoHost || !m_Expo_Haltestellen[0] || !m_Expo_Haltestellen[1]) {
    QNO_LOG("Exhibition: no line without its two stops");
    return;
  }
  COpnvLine* line = m_pExpoHost->CreateBusLine();
  if (!line) return;
  m_Expo_Line = line;
  for (CSecondLayerObject* stop : m_Expo_Haltestellen) {
    int sx = -1, sy = -1;
    CStreetObj* street = stop->GetStreet(&sx, &sy);
    line->ToolAddHstTail(stop, static_cast<short>(street ? street->GetSimID() : -1));
  }
  line->CalculateFuhrPark();
  double needed = 0;
  line->GetVarData("OPNV.LINE.FPNEEDED", &needed);
  line->AddFp(static_cast<int>(needed), 0, 0, 0, 0);
  line->CalculateFuhrPark();
  line->OnPlayloopTurn();
}

bool CGottModus::Expo_Bus_SetTakt(int headway) {
  if (!m_Expo_Line) Expo_MakeBusLine();
  m_ExpoFields.headway = headway;
  if (!m_Expo_Line) return true;
  m_Expo_Line->SetVarData("OPNV.LINE.TAKT", headway);
  double needed = 0, assigned = 0;
  m_Expo_Line->GetVarData("OPNV.LINE.FPNEEDED", &needed);
  m_Expo_Line->GetVarData("OPNV.LINE.FP", &assigned);
  const int missing = static_cast<int>(needed - assigned);
  if (missing > 0) m_Expo_Line->AddFp(missing, 0, 0, 0, 0);
  m_Expo_Line->CalculateFuhrPark();
  m_Expo_Line->OnPlayloopTurn();
  return true;
}

bool CGottModus::Expo_Bus_LineGood() const { return m_Expo_Bus_Nr[0] + m_Expo_Bus_Nr[1] == 1; }

// ---- the street task ----

bool CGottModus::Expo_Street_SetStreet(int x, int y) {
  const int t = Expo_Street_IsMarkierung(x, y);
  if (t == -1) {
    Expo_ShowWarning(kWarnNoStreet);
    return false;
  }
  const int type = m_ExpoFields.streetType;
  if (type != 2 && type != kStreetType[t]) {
    Expo_ShowWarning(kWarnWrongType);
    return false;
  }
  if (!m_pExpoHost) return false;
  for (int i = 0; i + 1 < kExpoStreetPoints; ++i) {
    const int* a = kStreetDef[t][i];
    const int* b = kStreetDef[t][i + 1];
    if (!Set(a) || !Set(b)) continue;
    if (m_pExpoHost->BuildStreet(a[0], a[1], b[0], b[1], type)) {
      QNO_LOG("Exhibition: no street of type %d from %d/%d to %d/%d", type, a[0], a[1], b[0], b[1]);
      Expo_ShowWarning(kWarnNoStreet);
      return false;
    }
  }
  m_Expo_StreetNr = t;
  if (CWorldObj* piece = m_pExpoHost->StreetPieceAt(kStreetM[t][0][0], kStreetM[t][0][1])) {
    m_Expo_Street = piece;
    piece->SetVarData("ST.SPEED", 1);
  }
  for (auto& task : m_Expo_Street_M)
    for (int i = 1; i < kExpoStreetPoints; ++i) task[i][0] = task[i][1] = -1;
  Expo_ShowWarning(kStreetNote, kStreetNoteHold);
  const int window = type == 2 ? kStreetTwoLane : kStreetOther;
  m_pExpoHost->OpenWindow(window);
  m_pExpoHost->BindWindow(window, m_Expo_Street);
  SetExpoState(EXPO_STREET_BUILT);
  Expo_SetTimeRating();
  return false;
}

// ---- the rating ----

int CGottModus::Expo_TimeRating() {
  if (m_ExpoState != EXPO_LINE_RUNS && m_ExpoState != EXPO_STREET_RUNS) return 0;
  if (static_cast<int32_t>(kfx_GetTicks() - m_ExpoFields.ratingDeadline) < 0 || !m_pExpoHost) return 0;
  CExpoHost* host = m_pExpoHost;
  if (m_ExpoFields.warningWindow != -1) host->CloseWindow(m_ExpoFields.warningWindow);
  m_ExpoFields.warningWindow = -1;
  host->CloseWindow(kLineWindow);
  // Rated once: the chain waits on the rating page until the visitor goes
  // back to the start or the idle time runs out.
  const int state = m_ExpoState;
  m_ExpoState = EXPO_IDLE;
  if (m_ExpoModus == EXPO_BUS && state == EXPO_LINE_RUNS) {
    for (int w : {312, 313, 314, 315, 420, 421, 422, 423}) host->BindWindow(w, m_Expo_Line);
    if (Expo_Bus_LineGood()) {
      for (int w : {kStreetTwoLane, kStreetOther, kLineWindow})
        host->CloseWindow(w);
      double headway = 0;
      if (m_Expo_Line && m_Expo_Line->GetVarData("OPNV.LINE.TAKT", &headway) == 0)
        headway > kSlowHeadway ? Expo_Window(313, 421) : Expo_Window(315, 423);
    } else {
      Expo_Window(314, 422);
    }
    host->SetBlocked(1);
  } else if (m_ExpoModus == EXPO_STREET) {
    for (int w : {kStreetTwoLane, kStreetOther}) host->CloseWindow(w);
    if (m_Expo_StreetNr == 2) {
      host->OpenWindow(322);
    } else if (m_Expo_StreetNr == 3) {
      host->OpenWindow(324);
    } else if (m_Expo_Street) {
      double speed = 0;
      m_Expo_Street->GetVarData("ST.SPEED", &speed);
      host->OpenWindow(speed == 1 || speed == 4 ? 323 : 321);
    }
  }
  return 0;
}

// ---- the markings ----

void CGottModus::Expo_Street_RenderMarkierung(CIsoWelt* map) const {
  if (!map) return;
  for (const auto& task : m_Expo_Street_M)
    for (int i = 0; i + 1 < kExpoStreetPoints; ++i)
      if (Set(task[i]) && Set(task[i + 1]))
        ForEachRunCell(task[i], task[i + 1], [&](int x, int y) { map->Expo_RenderLilaBase(x, y, kMarkingTile); });
}

void CGottModus::Expo_Bus_RenderMarkierung(CIsoWelt* map) const {
  if (!map) return;
  for (const auto& place : m_Expo_Bus_Markierung)
    for (const auto& c : place)
      if (Set(c)) map->Expo_RenderLilaBase(c[0], c[1], kMarkingTile);
}

void CGottModus::Expo_Bus_RenderPfeil(CIsoWelt* map, QnoDisplay* display, QnoResourceManager* resources) const {
  if (!map || !display) return;
  const int ox = map->GetOriginX() + map->GetPixelOffsetX();
  const int oy = map->GetOriginY() + map->GetPixelOffsetY() + Tile_Size_YDiv2[IsoZoomIndex()];
  for (const auto& place : m_Expo_Bus_Markierung) {
    if (!Set(place[1])) continue;
    int x = 0, y = 0;
    map->CalcIsoToXY(static_cast<short>(place[1][0]), static_cast<short>(place[1][1]), &x, &y);
    CRenderResource::Render(display, resources, kArrowPicture, x + ox, y + oy - 20, 2);
  }
}

void CGottModus::Expo_Street_RenderMarkierungSmallMap(QnoDisplay* display, SmallMapPixel toPixel,
                                                       void* context) const {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer || !toPixel) return;
  const uint32_t magenta = buffer->GetClosestColor(255, 0, 255);
  for (const auto& task : m_Expo_Street_M)
    for (int i = 0; i + 1 < kExpoStreetPoints; ++i)
      if (Set(task[i]) && Set(task[i + 1]))
        ForEachRunCell(task[i], task[i + 1], [&](int x, int y) {
          int px = 0, py = 0;
          if (toPixel(context, x, y, &px, &py)) buffer->FillRect(px, py, px + 1, py + 1, magenta);
        });
}

void CGottModus::Expo_Bus_RenderMarkierungSmallMap(QnoDisplay* display, SmallMapPixel toPixel, void* context) const {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer || !toPixel) return;
  const uint32_t magenta = buffer->GetClosestColor(255, 0, 255);
  for (const auto& place : m_Expo_Bus_Markierung)
    for (const auto& c : place) {
      int px = 0, py = 0;
      if (Set(c) && toPixel(context, c[0], c[1], &px, &py))
        buffer->FillRect(px - kSmallMapStop / 2, py - kSmallMapStop / 2, px + kSmallMapStop / 2 + 1,
                         py + kSmallMapStop / 2 + 1, magenta);
    }
}
