// The map's work in every turn and the input the interface left over:
// scrolling by keys and right-button drag, zooming and turning.
#include <algorithm>
#include <unordered_set>

#include "framework/qno_event.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_welt.h"
#include "worldbase/zor_world_obj.h"

namespace {

constexpr int kDragCursor = 25951;
constexpr int kExpoCursor = 1409;
constexpr int kKeyZoomIn = 54;   // '6'
constexpr int kKeyZoomOut = 55;  // '7'
constexpr int kKeyTurnRight = 56;  // '8'
constexpr int kKeyTurnLeft = 57;   // '9'

}  // namespace

int CIsoWelt::OnPlayloopTurn() {
  const selObjType* sel = m_pHost->GetSelection();
  // The view follows a right-button drag or pans at the screen edge.
  if (!sel || !sel->mouseCaptured) VirtualMouseMove();
  // Objects near the view count, spawn and move their vehicles; an object
  // on many cells (the shared empty ground) sounds once.
  CWorldObj::NextSoundTurn();
  // The tiles with turn work in the walk's order first; then, a few tiles
  // ahead of each tile's turn, its ground object and what that object's
  // turn reads are asked of memory one stage a tile. They lie scattered in
  // memory, and the waits for them overlap instead of following one
  // another.
  const TurnTilesKey key = MakeTurnTilesKey();
  if (!m_TurnTilesValid || !(key == m_TurnTilesKey)) {
    GatherTurnTiles();
    m_TurnTilesKey = key;
    m_TurnTilesValid = true;
  }
  constexpr int kObjectStages = 4;
  constexpr size_t kObjectAhead = kObjectStages + 1;
  const size_t n = m_TurnTiles.size();
  // No turn gathers the tiles again, so their array stays where it is for
  // the whole walk.
  const TurnTile* const tiles = m_TurnTiles.data();
  // A turn may change the objects of cells later in the walk (an object
  // removed or placed): from then on each tile's object is read from its
  // cell, as the walk meets it. Only a tile's own turn changes objects, so
  // whether they changed is asked once a tile, before its stages. While
  // nothing changed, the gathered objects are walked as they are (never
  // null); the tiles far enough from the end take their four stages in a
  // row.
  const uint32_t gathered = m_TurnTilesKey.objectChanges;
  size_t i = 0;
  for (; i < n && CIsoInfo::GetObjectChanges() == gathered; ++i) {
    if (i + kObjectAhead < n) {
      __builtin_prefetch(tiles[i + kObjectAhead].object);
      const TurnTile* ahead = tiles + i;
      ahead[4].object->PrefetchTurn(ahead[4].x, ahead[4].y, 4);
      ahead[3].object->PrefetchTurn(ahead[3].x, ahead[3].y, 3);
      ahead[2].object->PrefetchTurn(ahead[2].x, ahead[2].y, 2);
      ahead[1].object->PrefetchTurn(ahead[1].x, ahead[1].y, 1);
    } else {
      for (size_t stage = std::min<size_t>(kObjectStages, n - 1 - i); stage >= 1; --stage)
        tiles[i + stage].object->PrefetchTurn(tiles[i + stage].x, tiles[i + stage].y, static_cast<int>(stage));
    }
    tiles[i].object->OnPlayloopTurn(tiles[i].x, tiles[i].y);
  }
  auto objectAt = [this](const TurnTile& t) -> CWorldObj* {
    const CIsoInfo* cell = GetIsoInfo(t.x, t.y);
    return cell ? cell->GetWorldObject(ISO_LAYER_GROUND) : nullptr;
  };
  for (; i < n; ++i) {
    if (i + kObjectAhead < n) __builtin_prefetch(objectAt(tiles[i + kObjectAhead]));
    for (size_t stage = std::min<size_t>(kObjectStages, n - 1 - i); stage >= 1; --stage) {
      const TurnTile& ahead = tiles[i + stage];
      if (const CWorldObj* object = objectAt(ahead)) object->PrefetchTurn(ahead.x, ahead.y, static_cast<int>(stage));
    }
    const TurnTile& t = tiles[i];
    if (CWorldObj* object = objectAt(t)) object->OnPlayloopTurn(t.x, t.y);
  }
  m_pHost->PlaceVehicles();
  return 0;
}

CIsoWelt::TurnTilesKey CIsoWelt::MakeTurnTilesKey() const {
  const IsoViewRectType& r = m_MicroViewRect;
  return TurnTilesKey{{r.k0x, r.k0y, r.k1x, r.k1y, r.k2x, r.k2y, r.k3x, r.k3y}, g_IsoRichtung,
                      CIsoInfo::GetObjectChanges()};
}

void CIsoWelt::GatherTurnTiles() {
  m_TurnTiles.clear();
  // Objects whose turn is the same on each of their cells are met first at
  // the tile the whole walk would meet them first; the shared empty ground
  // is one of them, so the walk keeps only a few of its tiles.
  std::unordered_set<const CWorldObj*> met;
  m_MicroViewRect.SetupTraversal(g_IsoRichtung);
  int x = 0, y = 0;
  while (m_MicroViewRect.GetNextTile(x, y)) {
    const CIsoInfo* cell = GetIsoInfo(x, y);
    CWorldObj* object = cell ? cell->GetWorldObject(ISO_LAYER_GROUND) : nullptr;
    if (!object || (!object->HasCellTurn() && !met.insert(object).second)) continue;
    m_TurnTiles.push_back({object, static_cast<unsigned short>(x), static_cast<unsigned short>(y)});
  }
}

int CIsoWelt::InputFilter(QnoInteractionEvent* event, QnoView*) {
  if (!event) return 1;
  const selObjType* sel = m_pHost->GetSelection();
  const bool captured = sel && sel->mouseCaptured;
  const int x = event->x, y = event->y;
  switch (event->type) {
    case QNO_EVENT_BUTTONDOWN:
      if (!captured && event->button == 0) {
        ScreenKoorToIsoKoor(x, y, &m_MouseTileX, &m_MouseTileY);
        return OnButtonDown(x, y, event->button);
      }
      if (!captured && event->button == 1) {
        m_RightButtonX = x;
        m_RightButtonY = y;
        m_LastDragX = x;
        m_LastDragY = y;
        m_DragDeltaX = 0;
        m_DragDeltaY = 0;
        m_RightDrag = 1;
        m_DragCursorShown = 0;
        m_pHost->ResetCursor();
        m_pHost->BackupCursor();
        m_pHost->SetCursorID(kDragCursor, 0);
        return 0;
      }
      [[fallthrough]];
    case QNO_EVENT_BUTTONUP:
      if (event->button == 0) return OnButtonUp(x, y, event->button);
      if (event->button == 1) {
        m_RightButtonX = x;
        m_RightButtonY = y;
        m_RightDrag = 0;
        m_DragCursorShown = 0;
        if (m_pHost->IsExpoMode()) m_pHost->SetCursorID(kExpoCursor, 0);
        return 0;
      }
      [[fallthrough]];
    case QNO_EVENT_MOUSEMOVE:
      if (!m_RightDrag) return OnMouseMove(x, y, event->button);
      // Applied in the next turn, so the map follows the mouse.
      m_DragDeltaX += m_LastDragX - x;
      m_DragDeltaY += m_LastDragY - y;
      m_LastDragX = x;
      m_LastDragY = y;
      if (!m_DragCursorShown) {
        m_pHost->SetCursorID(kDragCursor, 1);
        m_DragCursorShown = 1;
      }
      return 0;
    case QNO_EVENT_KEYDOWN:
      break;
    default:
      return 1;
  }
  switch (event->x) {
    case QNO_KEY_UP:
      OnMoveUp();
      Update();
      return 0;
    case QNO_KEY_DOWN:
      OnMoveDown();
      Update();
      return 0;
    case QNO_KEY_LEFT:
      OnMoveLeft();
      Update();
      return 0;
    case QNO_KEY_RIGHT:
      OnMoveRight();
      Update();
      return 0;
    case kKeyZoomIn:
    case kKeyZoomOut:
      event->x == kKeyZoomIn ? UserIntZoomIn() : UserIntZoomOut();
      return 0;
    case kKeyTurnRight:
    case kKeyTurnLeft:
      event->x == kKeyTurnRight ? UserIntTurnRight() : UserIntTurnLeft();
      return 0;
    default:
      return 1;
  }
}
