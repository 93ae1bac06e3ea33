// What the building, zone, selection and removal tools do on the map:
// placing a building or measure object with its price, laying and clearing
// zones over a dragged rectangle, selecting an object and opening its
// window, and removing buildings and stops after the player agreed to the
// price. Every price comes from the price table and is refused when the
// city cannot pay it.
#include <algorithm>
#include <unordered_set>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "gui/screen_window.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv_line.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"
#include "worldbase/zor_world_host.h"

namespace {

// Warnings of the placing and removal tools.
constexpr int kWarningNoMoneyRemove = 2;
constexpr int kWarningNoMoneyClear = 4;
constexpr int kWarningNoMoneyZone = 5;
constexpr int kWarningParkRideStop = 65;

// Windows the selection and removal open and close.
constexpr int kBuildingWindow = 221;
constexpr int kMeasureBuildingWindow = 224;
constexpr int kLineWindow = 227;
constexpr int kRemoveStop = CUserInt::kRemoveStopQuestion;
constexpr int kRemoveOne = CUserInt::kRemoveOneQuestion;
constexpr int kRemoveMany = CUserInt::kRemoveManyQuestion;
constexpr int kCarParkWindows[] = {170, 171, 172, 173};
constexpr int kMeasuresGroup = 80;
constexpr int kMeasuresCover = 90;

bool IsZone(int type) { return type >= 4 && type <= 6; }
bool IsStop(int type) { return (type >= 23 && type <= 26) || type == 28; }
bool IsCarPark(int type) { return type >= 18 && type <= 20; }

// The kinds the removal tools price and ask about.
bool IsPricedForRemoval(int type) {
  return (type >= 8 && type <= 10) || (type >= 12 && type <= 16) || IsCarPark(type) ||
         (type >= 33 && type <= 35) || type == 38 || type == 39;
}

// The kinds that count as buildings for the selection and the rectangle.
bool IsSelectableBuilding(int type) {
  return (type >= 8 && type <= 10) || (type >= 12 && type <= 16) || IsCarPark(type) || IsStop(type) ||
         (type >= 33 && type <= 35) || type == 38 || type == 39;
}

CWorldHost* Money() { return CWorldHost::Get(); }

double Price(int entry, int cls) { return static_cast<int>(Money()->GetPreis(entry, cls)); }

void Bind(int window, CWorldObj* object) {
  if (CUserInt::topWindow) CUserInt::topWindow->SetVarWorldObject(window, -2, -2, object, nullptr);
}

CWorldObj* BoundTo(int window) {
  return CUserInt::topWindow ? CUserInt::topWindow->GetVarWorldObject(window) : nullptr;
}

}  // namespace

// ---- what is on a cell ----

CBuildingObject* CUserInt::GetBuildingAt(int x, int y, int layer) {
  if (!m_pIsoWelt || !InWorld(x, y)) return nullptr;
  const TBaseType base = layer == 1 ? ISO_LAYER_UPPER : ISO_LAYER_GROUND;
  CWorldObj* object = m_pIsoWelt->GetIsoTileObject(x, y, base);
  if (!object || !IsSelectableBuilding(object->GetType())) return nullptr;
  return dynamic_cast<CBuildingObject*>(object);
}

bool CUserInt::NetHasStreets() { return m_pStreetNet && m_pStreetNet->GetNumber() > 0; }

// The removal price of the object on a cell's layer; false when it has none.
bool CUserInt::RemovalPrice(CWorldObj* object, double& price) {
  const int type = object->GetType();
  if (type >= 8 && type <= 10) {
    double cost = 0;
    if (object->GetVarData("BUILDING.REMOVECOST", &cost) != 0) return false;
    price = static_cast<int>(cost);
    return true;
  }
  const auto* building = dynamic_cast<CBuildingObject*>(object);
  const int entry = place::RemoveEntry(type, place::Height(building));
  if (entry < 0) return false;
  price = Price(entry, 1);
  return true;
}

// ---- placing ----

int CUserInt::BuildBuildingLayerObject(int x, int y) {
  RecordMapCall("BuildBuildingLayerObject", x, y, 0);
  if (selObj.objectType == 2) {
    SetRiverCenter(x, y);
    return 0;
  }
  int direction = 0;
  if (const int refusal = ToolPlaceRefusal(x, y, direction)) {
    SetAchtungWindow(refusal);
    return 0;
  }
  const int resId = place::ResIdByListNr(selObj.buildingNumber);
  const PotentialType* potential = place::Potential(resId);
  double price = 0;
  if (resId <= 0 || !potential || !PlacePrice(resId, price)) return 0;
  const int kind = PlacedKind(resId);
  if (CUiHost::Get()->CreateObject(kind, resId, direction, x, y, place::Height(potential)))
    Money()->VarAddValue(place::BooksOnPublicTransport(kind) ? place::kStopCosts : place::kBuildCosts, price);
  return 0;
}

bool CUserInt::PlacePrice(int resId, double& price) {
  price = 0;
  const int kind = PlacedKind(resId);
  if (kind == 2 || (kind >= 8 && kind <= 10)) return true;
  const int entry = place::PlaceEntry(kind, place::Height(place::Potential(resId)));
  if (entry < 0) return false;
  price = Price(entry, 0);
  return true;
}

// ---- zones ----

int CUserInt::SelectFlaecheStartPoint(int x, int y) {
  RecordMapCall("SelectFlaecheStartPoint", x, y, 0);
  CIsoInfo* cell = m_pIsoWelt && InWorld(x, y) ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) == OBJ_NONE) return 0;
  selObj.startX = selObj.endX = x;
  selObj.startY = selObj.endY = y;
  selObj.width = selObj.depth = 1;
  selObj.objectType = cell->GetType(ISO_LAYER_GROUND);
  return 0;
}

int CUserInt::SelectFlaecheFinishPoint(int x, int y) {
  RecordMapCall("SelectFlaecheFinishPoint", x, y, 0);
  CIsoInfo* cell = m_pIsoWelt && InWorld(x, y) ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) == OBJ_NONE) return 0;
  selObj.endX = x;
  selObj.endY = y;
  return 0;
}

// Visits the dragged rectangle row by row, each row from its smaller x to
// its larger; stops when `visit` returns false.
template <class Visit>
static void ForEachTile(const selObjType& s, Visit visit) {
  const int x0 = std::min(s.startX, s.endX), x1 = std::max(s.startX, s.endX);
  const int y0 = std::min(s.startY, s.endY), y1 = std::max(s.startY, s.endY);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (!visit(x, y)) return;
}

int CUserInt::BuildFlaeche(selObjType& s) {
  RecordMapCall("BuildFlaeche", s.startX, s.startY, 0);
  if (s.tool < 10 || s.tool > 12) return 1;
  if (s.startX == -1 || s.endX == -1) return 0;
  const int type = s.tool - 6;
  const int resId = place::ResIdByType(type, s.subtool, nullptr);
  if (resId <= 0) return 0;
  // A height outside the zone table has no price: nothing is laid.
  const int entry = place::ZoneEntry(type, s.subtool);
  if (entry < 0) {
    QNO_LOG("No zone price for type %d and height %d", type, s.subtool);
    return 1;
  }
  const double price = Price(entry, 0);
  int result = 0;
  ForEachTile(s, [&](int x, int y) {
    if (Money()->CheckForMoney(static_cast<int>(price)) != 0) {
      SetAchtungWindow(kWarningNoMoneyZone);
      result = 1;
      return false;
    }
    if (CUiHost::Get()->CreateObject(type, resId, 0, x, y, s.subtool)) Money()->VarAddValue(place::kBuildCosts, price);
    return true;
  });
  return result;
}

int CUserInt::RemoveFlaeche(selObjType& s) {
  RecordMapCall("RemoveFlaeche", s.startX, s.startY, 0);
  if (!InWorld(s.startX, s.startY) || !InWorld(s.endX, s.endY) || !m_pIsoWelt) return 1;
  int result = 0;
  ForEachTile(s, [&](int x, int y) {
    CIsoInfo* cell = m_pIsoWelt->GetIsoInfo(x, y);
    if (!cell) {
      result = 1;
      return false;
    }
    const int type = cell->GetType(ISO_LAYER_GROUND);
    if (!IsZone(type)) return true;
    auto* zone = dynamic_cast<CBuildingObject*>(cell->GetWorldObject(ISO_LAYER_GROUND));
    const int entry = place::ZoneEntry(type, place::Height(zone));
    if (entry < 0) {
      QNO_LOG("No removal price for zone type %d", type);
      return true;
    }
    const double price = Price(entry, 1);
    if (Money()->CheckForMoney(static_cast<int>(price)) != 0) {
      SetAchtungWindow(kWarningNoMoneyClear);
      result = 1;
      return false;
    }
    if (CUiHost::Get()->RemoveObject(x, y, 0) == 0) Money()->VarAddValue(place::kBuildCosts, price);
    return true;
  });
  return result;
}

// ---- selection ----

int CUserInt::SelectObject(int x, int y, bool) {
  RecordMapCall("SelectObject", x, y, 0);
  CIsoInfo* cell = m_pIsoWelt && InWorld(x, y) ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) == OBJ_NONE) return 0;
  selObj.startX = selObj.endX = x;
  selObj.startY = selObj.endY = y;
  selObj.width = selObj.depth = 1;

  CWorldObj* upper = cell->GetWorldObject(ISO_LAYER_UPPER);
  if (upper && IsStop(upper->GetType())) return SelectStop(upper);

  CWorldObj* object = cell->GetWorldObject(ISO_LAYER_GROUND);
  const int type = cell->GetType(ISO_LAYER_GROUND);
  auto toggle = [&](int open, int close) {
    if (selObj.selectedObject == object) {
      selObj.selectedObject = nullptr;
      selObj.startX = selObj.startY = -1;
      DeActivateWindow(kBuildingWindow);
      DeActivateWindow(kMeasureBuildingWindow);
      return;
    }
    selObj.selectedObject = object;
    Bind(open, object);
    ActivateWindow(open);
    DeActivateWindow(close);
  };
  auto measurePage = [this](int page) {
    ActivateWindow(kMeasuresGroup);
    DeActivateWindow(kMeasuresCover);
    ActivateWindow(page);
  };
  if ((type >= 8 && type <= 10) || (type >= 12 && type <= 16)) {
    toggle(kBuildingWindow, kMeasureBuildingWindow);
  } else if (type == 38) {
    toggle(kMeasureBuildingWindow, kBuildingWindow);
  } else if (IsCarPark(type)) {
    selObj.selectedObject = object;
    for (int w : kCarParkWindows) Bind(w, object);
    ActivateWindow(kCarParkWindows[0]);
  } else if (type == 33) {
    measurePage(87);
  } else if (type == 34 || type == 35) {
    measurePage(84);
  } else if (type == 39) {
    measurePage(81);
  } else if (type == 48 || type == 52 || type == 49 || type == 53) {
    SelectStreetObject(object, x, y);
  }
  return 0;
}

int CUserInt::SelectStop(CWorldObj* stop) {
  selObj.stopWord[0] = stop->GetType() == 28 ? 2 : 1;
  if (selObj.selectedObject != stop) {
    selObj.selectedObject = stop;
    if (auto* b = dynamic_cast<CBuildingObject*>(stop)) {
      selObj.startX = selObj.endX = b->GetXPos();
      selObj.startY = selObj.endY = b->GetYPos();
    }
    ActivateWindow(120);
    ActivateWindow(129);
    DeActivateWindow(122);
  } else {
    ClearSelectedStop();
  }
  if (topWindow) topWindow->SetZorvaList(129, -2, nullptr, 1);
  return 0;
}

void CUserInt::ClearBuildingMarker() {
  // A building's window closed: the building is no longer marked, so the
  // next click on it opens its window again. Switching from one building's
  // window to another's closes the first after the second opened; the new
  // building stays marked while any of them shows.
  for (int w : {kBuildingWindow, kMeasureBuildingWindow, kCarParkWindows[0]})
    if (IsWindowOpen(w) == 0) return;
  CWorldObj* object = selObj.selectedObject;
  if (!object || IsStop(object->GetType())) return;
  selObj.selectedObject = nullptr;
  selObj.startX = selObj.startY = -1;
}

CWorldObj* CUserInt::GetSelectedStop() {
  CWorldObj* object = selObj.selectedObject;
  return object && IsStop(object->GetType()) ? object : nullptr;
}

void CUserInt::ClearSelectedStop() {
  if (!GetSelectedStop()) return;
  selObj.selectedObject = nullptr;
  selObj.startX = selObj.startY = -1;
}

// The street and crossing windows show the street or junction selected:
// the window for the street's kind (its partner when that was open) or the
// crossing's lights window (its timing page when that was open), bound to
// the object, with the background for its form.
void CUserInt::SelectStreetObject(CWorldObj* object, int, int) {
  CScreenWindow* root = topWindow;
  if (!object || !root) return;
  auto open = [this](int id) { return IsWindowOpen(id) == 0; };
  auto background = [root](int window, int picture, int english) {
    if (CScreenWindow* w = root->GetWindowByID(window)) w->SetReplaceBitmap(picture, english);
  };
  if (auto* street = dynamic_cast<CStreetObj*>(object)) {
    if (selObj.selectedStreet == object) return;
    CStrStrasse* list = street->GetStreetList();
    const int kind = street->GetStreetType();
    const bool extended = open(191) || open(195);
    if (kind == STRASSE_1 || kind == STRASSE_2) {
      const int show = extended ? 191 : 190;
      for (int id : {190, 191}) Bind(id, object);
      // Side streets (1) and main streets (2) have backgrounds of their own.
      background(190, kind == STRASSE_1 ? 33782 : 33784, kind == STRASSE_1 ? 50535 : 50533);
      background(191, kind == STRASSE_1 ? 33783 : 33785, kind == STRASSE_1 ? 50534 : 50532);
      for (int id : {190, 191, 192, 193, 194, 195})
        if (id != show) DeActivateWindow(id);
      ActivateWindow(show);
    } else if (kind == STRASSE_VIERSPURIG) {
      const int show = extended ? 195 : 194;
      for (int id : {194, 195}) Bind(id, object);
      for (int id : {190, 191, 192, 193, 194, 195})
        if (id != show) DeActivateWindow(id);
      ActivateWindow(show);
    } else {
      return;
    }
    selObj.selectedStreet = object;
    selObj.selectedStreetId = list ? list->GetSimID() : -1;
    ResetStreet24hData();
    GetStreet24hData();
    return;
  }
  auto* crossing = dynamic_cast<CKreuzObj*>(object);
  CStrJunction* junction = crossing ? crossing->GetWorldObject() : nullptr;
  if (!junction || junction->GetAnzLinkedStreets() < 2) return;
  for (int id : {229, 230}) Bind(id, object);
  // A T junction (three streets) has its own pair of backgrounds.
  const bool t = junction->GetAnzLinkedStreets() == 3;
  background(229, t ? 33828 : 29683, t ? 50767 : 50760);
  background(230, t ? 33829 : 29684, t ? 50768 : 50761);
  if (!open(230)) ActivateWindow(229);
  selObj.selectedCrossing = object;
  // The id the street network lists the junction by.
  const unsigned short id = junction->GetSimID() != 0 ? junction->GetSimID() : junction->GetSimHashID();
  selObj.selectedCrossingId = static_cast<short>(id);
}

// ---- removal ----

int CUserInt::RemoveObject(int x, int y, int layer) {
  RecordMapCall("RemoveObject", x, y, 1);
  const TBaseType base = layer == 1 ? ISO_LAYER_UPPER : ISO_LAYER_GROUND;
  CIsoInfo* cell = m_pIsoWelt && InWorld(x, y) ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
  CWorldObj* object = cell ? cell->GetWorldObject(base) : nullptr;
  if (!object) {
    selObj.removeX = selObj.removeY = -1;
    selObj.removeLayer = 0;
    return 0;
  }
  selObj.removeX = x;
  selObj.removeY = y;
  selObj.removeLayer = 0;
  selObj.removeStop = 0;
  const int type = object->GetType();
  double price = 0;
  if (IsPricedForRemoval(type)) {
    if (!RemovalPrice(object, price)) price = -1;
    if (IsCarPark(type) && BoundTo(kCarParkWindows[0]) == object) {
      for (int w : kCarParkWindows) DeActivateWindow(w);
      for (int w : {170, 171, 172}) Bind(w, nullptr);
    }
  } else if (IsStop(type)) {
    if (ServesParkRide(object)) {
      SetAchtungWindow(kWarningParkRideStop);
      return 1;
    }
    if (!RemovalPrice(object, price)) price = -1;
    selObj.removeLayer = 1;
    selObj.removeStop = 1;
  } else {
    // Objects without a removal price are not the player's to remove: a
    // press of the removal tool leaves them where they are.
    if (type != 1 && type != 2 && !(type >= 48 && type <= 53) && type != 65)
      QNO_LOG("Object type %d has no removal price and stays", type);
    selObj.removeX = selObj.removeY = -1;
    return 0;
  }
  if (!PendRemoval(price >= 0, price)) return 0;
  if (selObj.removeStop) ActivateWindow(kRemoveStop);
  for (int w : {kRemoveOne, kRemoveMany, kRemoveStop}) Bind(w, nullptr);
  return 0;
}

bool CUserInt::ServesParkRide(const CWorldObj* stop) {
  if (!m_pIsoWelt) return false;
  // Every park-and-ride site stands on the map; each is asked once.
  std::unordered_set<const CWorldObj*> asked;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      auto* site = dynamic_cast<CBuildingObject*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
      if (!site || site->GetType() != OBJ_PARKRIDE || !asked.insert(site).second) continue;
      CWorldObj* found = nullptr;
      CheckForDistance(site->GetResID(), site->GetXPos(), site->GetYPos(), 3, 1, site->GetRichtung(), true, found);
      if (found == stop) return true;
    }
  return false;
}

bool CUserInt::PendRemoval(bool priced, double price) {
  if (!priced || Money()->CheckForMoney(static_cast<int>(price)) != 0) {
    SetAchtungWindow(kWarningNoMoneyRemove);
    for (int w : {kRemoveOne, kRemoveMany, kRemoveStop}) DeActivateWindow(w);
    return false;
  }
  selObj.removePrice = price;
  DeActivateWindow(kBuildingWindow);
  DeActivateWindow(kMeasureBuildingWindow);
  return true;
}

int CUserInt::ResetSelectedBuildingList() {
  RecordMapCall("ResetSelectedBuildingList", -1, -1, 0);
  if (selObj.markedBuildings) selObj.markedBuildings->Destroy();
  return 0;
}

int CUserInt::CheckBuildingList() {
  RecordMapCall("CheckBuildingList", selObj.endX, selObj.endY, 0);
  CBuildingList* list = selObj.markedBuildings;
  if (!list) return 0;
  list->Destroy();
  if (!InWorld(selObj.startX, selObj.startY) || !InWorld(selObj.endX, selObj.endY)) return 0;
  const int x0 = std::min(selObj.startX, selObj.endX), x1 = std::max(selObj.startX, selObj.endX);
  const int ys = selObj.endY >= selObj.startY ? 1 : -1;
  for (int x = x0; x <= x1; ++x)
    for (int y = selObj.startY;; y += ys) {
      // A building on several cells is listed once: the list holds each
      // building at most once.
      if (CBuildingObject* b = GetBuildingAt(x, y, 0); b && list->CheckZorvaInList(b) != 0)
        list->AddHeadZorva(b);
      if (y == selObj.endY) break;
    }
  return 0;
}

int CUserInt::RemoveBuildingSelection() {
  RecordMapCall("RemoveBuildingSelection", selObj.endX, selObj.endY, 0);
  CBuildingList* list = selObj.markedBuildings;
  if (!list || list->GetCount() == 0) return 0;
  double total = 0;
  bool priced = false;
  list->SetupBuildingCount(0);
  while (CBuildingObject* b = list->GetNextBuilding()) {
    double price = 0;
    if (IsPricedForRemoval(b->GetType()) && RemovalPrice(b, price)) {
      total += price;
      priced = true;
    }
  }
  if (!PendRemoval(priced, total)) return 0;
  // The question opens before the other closes: closing the last removal
  // question forgets the listed buildings.
  const bool one = list->GetCount() == 1;
  ActivateWindow(one ? kRemoveOne : kRemoveMany);
  DeActivateWindow(one ? kRemoveMany : kRemoveOne);
  for (int w : {kRemoveOne, kRemoveMany, kRemoveStop}) Bind(w, nullptr);
  return 0;
}

int CUserInt::RemoveBuildingSelectedBuildingList() {
  CBuildingList* list = selObj.markedBuildings;
  if (!list) return 0;
  // The city pays for what went: a building its manager keeps costs nothing.
  double booked = 0;
  while (list->GetCount() > 0) {
    auto* b = static_cast<CBuildingObject*>(list->RemoveHeadZorva(true));
    if (!b) break;
    double price = 0;
    const bool priced = IsPricedForRemoval(b->GetType()) && RemovalPrice(b, price);
    if (CUiHost::Get()->RemoveObject(b->GetXPos(), b->GetYPos(), 0) == 0 && priced) booked += price;
  }
  if (booked != 0) Money()->VarAddValue(place::kBuildCosts, booked);
  selObj.removePrice = 0;
  return 0;
}

namespace {

// Clears every reference of the tool state that points to the object.
void ForgetReferences(const CWorldObj* gone) {
  if (!gone) return;
  selObjType& s = CUserInt::selObj;
  if (s.selectedStreet == gone) {
    s.selectedStreet = nullptr;
    s.selectedStreetId = -1;
    s.mouseStreetX = s.mouseStreetY = -1;
  }
  if (s.mouseStreet == gone) s.mouseStreet = nullptr;
  if (s.selectedObject == gone) s.selectedObject = nullptr;
  if (s.selectedCrossing == gone) {
    s.selectedCrossing = nullptr;
    s.selectedCrossingId = -1;
  }
  if (s.selectedJunction == gone) s.selectedJunction = nullptr;
  if (s.selectedLine == gone) s.selectedLine = nullptr;
}

}  // namespace

int CUserInt::CheckForRemoveObjectSelected() {
  if (m_pIsoWelt && InWorld(selObj.removeX, selObj.removeY))
    ForgetReferences(m_pIsoWelt->GetIsoTileObject(selObj.removeX, selObj.removeY,
                                                  selObj.removeLayer == 1 ? ISO_LAYER_UPPER : ISO_LAYER_GROUND));
  if (CBuildingList* list = selObj.markedBuildings) {
    for (CZorvaPointer* n = list->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
      ForgetReferences(static_cast<CWorldObj*>(n->GetZorvaObject()));
  }
  return 0;
}

void CUserInt::ForgetObject(CWorldObj* gone) {
  ForgetReferences(gone);
  if (selObj.markedBuildings) selObj.markedBuildings->RemoveZorva(gone);
  // A window the selection bound to the object (a building, a car park, a
  // public-transport line), open or closed, lets it go and closes: it would
  // read the freed object on its next frame, and the next load keeps what
  // the windows show.
  if (!gone) return;
  for (int w : {kBuildingWindow, kMeasureBuildingWindow, kCarParkWindows[0], kCarParkWindows[1], kCarParkWindows[2],
                kCarParkWindows[3], kLineWindow})
    if (BoundTo(w) == gone) {
      Bind(w, nullptr);
      DeActivateWindow(w);
    }
  if (selObj.editedLine == gone) ForgetEditedLine();
}

int CUserInt::RemoveSelectedObject() {
  if (!InWorld(selObj.removeX, selObj.removeY)) return 1;
  return CUiHost::Get()->RemoveObject(selObj.removeX, selObj.removeY, selObj.removeLayer);
}

// ---- distances and hits ----

bool CUserInt::CheckForDistance(int resId, int x, int y, int dist, int type, int dir, bool byResource,
                                CWorldObj*& found) {
  int w = 0, h = 0;
  if (byResource) {
    int nr = -1;
    const PotentialType* p = place::Potential(resId);
    for (int n = 0; p && n < CBuildingDataList::GetRowCount(); ++n)
      if (CBuildingDataList::GetPotentialByNr(n) == p) nr = n;
    if (nr < 0 || !place::Size(nr, dir, w, h)) w = h = 0;
  } else if (m_pIsoWelt) {
    m_pIsoWelt->GetGroupSize(x, y, ISO_LAYER_GROUND, w, h);
  }
  if (w <= 0 || h <= 0) w = h = 1;
  bool met = false;
  auto look = [&](int x0, int x1, int y0, int y1) {
    for (int cx = x0; cx <= x1; ++cx)
      for (int cy = y0; cy <= y1; ++cy) {
        if (!m_pIsoWelt || !InWorld(cx, cy)) continue;
        if (type == 0) {
          const int t = m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                              ISO_LAYER_GROUND);
          if (t == OBJ_STREET_PIECE || t == OBJ_CROSSING) met = true;
        } else {
          CWorldObj* o = m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_UPPER);
          if (o && IsStop(o->GetType())) {
            met = true;
            found = o;
          }
        }
      }
  };
  look(x - dist, x - 1, y - dist, y + h - 1);
  look(x, x + w + dist - 1, y - dist, y - 1);
  look(x + w - 1, x + w + dist - 1, y, y + h + dist - 1);
  look(x - dist, x + w - 1, y + h, y + h + dist - 1);
  return !met;
}

int CUserInt::CheckHit(int x1, int y1, int x2, int y2, int px, int py) {
  // Each step moves one cell along every axis that has not arrived yet.
  for (int x = x1, y = y1;; x += (x2 > x) - (x2 < x), y += (y2 > y) - (y2 < y)) {
    if (x == px && y == py) return 0;
    if (x == x2 && y == y2) return 1;
  }
}
