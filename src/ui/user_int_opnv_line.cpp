// The line tools: a click on a stop starts a bus or tram line, adds the stop
// at either end of the edited line, or takes it out again.
#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/street_objects.h"
#include "ui/user_int.h"

namespace {

constexpr int kLineWindow = 227;
constexpr uint16_t kNoLine = 65535;

bool IsBusStop(int type) { return type >= OBJ_BUSSTOP_SIGN && type <= OBJ_BUSSTOP_SHELTER4; }
bool IsStop(int type) { return IsBusStop(type) || type == OBJ_TRAMSTOP; }

}  // namespace

void CUserInt::ForgetEditedLine() {
  selObj.editedLine = nullptr;
  selObj.editedLineId = kNoLine;
  if (topWindow) topWindow->SetVarWorldObject(kLineWindow, -2, -2, nullptr, nullptr);
}

void CUserInt::RefreshWindowLineChange() {
  if (!topWindow) return;
  topWindow->SetZorvaList(129, -2, nullptr, 1);
  topWindow->SetVarWorldObject(129, 2, -2, COpnv::Get(), nullptr);
}

void CUserInt::StopCellAt(int sx, int sy, int& tx, int& ty) {
  if (!m_pIsoWelt) return;
  // A stop's sign stands up from its cell about one tile's height: a point
  // on the sign lies over a cell behind the stop. Straight down from the
  // point, the first cell holding a stop is the one whose sign is there.
  const int reach = Tile_Size_Y[IsoZoomIndex()] * 3 / 2;
  for (int dy = 0; dy <= reach; ++dy) {
    int x = -1, y = -1;
    m_pIsoWelt->ScreenKoorToIsoKoor(sx, sy + dy, &x, &y);
    if (!InWorld(x, y)) continue;
    if (IsStop(m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                         ISO_LAYER_UPPER))) {
      tx = x;
      ty = y;
      return;
    }
  }
}

int CUserInt::BuildRemoveOpnvLine(int x, int y) {
  RecordMapCall("BuildRemoveOpnvLine", x, y, 0);
  if (!m_pIsoWelt || !InWorld(x, y)) return 0;
  auto* stop = dynamic_cast<CSecondLayerObject*>(
      m_pIsoWelt->GetIsoTileObject(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_UPPER));
  if (!stop) return 0;
  const int type = stop->GetType();
  COpnvLine* line = selObj.editedLine;
  NetActiveType kind;
  if (IsBusStop(type) && (!line || line->GetNetType() == NET_BUS))
    kind = NET_BUS;
  else if (type == OBJ_TRAMSTOP && (!line || line->GetNetType() == NET_TRAM))
    kind = NET_TRAM;
  else
    return 0;
  int sx = -1, sy = -1;
  auto* street = dynamic_cast<CStreetObj*>(stop->GetStreet(&sx, &sy));
  if (!street) return 0;
  COpnv* opnv = COpnv::Get();
  if (!line) {
    selObj.editedLineKind = kind;
    line = opnv ? opnv->CreateNewLine(kind) : nullptr;
    if (!line) {
      ForgetEditedLine();
      return 0;
    }
    if (topWindow) topWindow->SetVarWorldObject(kLineWindow, -2, -2, line, "OpnvLine");
    selObj.editedLine = line;
    selObj.editedLineId = static_cast<uint16_t>(line->GetID());
  }
  const auto simId = static_cast<short>(street->GetSimID());
  switch (selObj.tool) {
    case 16:
      line->ToolAddHstHead(stop, simId);
      break;
    case 17:
      line->ToolAddHstTail(stop, simId);
      break;
    case 19:
      line->ToolRemoveHst(stop, simId);
      if (!line->NoHst()) {
        if (opnv) opnv->RemoveLine(line, line->GetID());
        ForgetEditedLine();
        DeActivateWindow(kLineWindow);
        ActivateWindow(120);
        ActivateWindow(129);
        DeActivateWindow(122);
      }
      break;
    case 20:
      if (line->ToolAddHstHead(stop, simId) == 0) SetToolNr(21, selObj.subtool, selObj.variant);
      break;
    case 21:
      if (line->ToolAddHstTail(stop, simId) == 0) {
        SetToolNr(17, selObj.subtool, selObj.variant);
        ActivateWindow(kLineWindow);
      }
      break;
    default:
      break;
  }
  return 0;
}
