// The player's tools: the table of cursors and names, choosing a tool with
// its side effects, and the way back to the selection tool.
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "gui/screen_window.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

CUserInt::ToolEntry CUserInt::Tools[CUserInt::kToolCount][CUserInt::kToolEntries] = {};

namespace {

constexpr int kWindowBuildingChoice = 228;
constexpr int kWindowLineEditor = 227;
constexpr int kWarningAdviceCentreExists = 30;
constexpr int kWarningCarsharingCentreExists = 31;
constexpr int kWarningNoCarsharingCentre = 33;

// Object kind placed by tools 5 to 8 for a subtool, and whether the
// catalogue is asked for any kind (-1) instead of the variant.
struct ToolObject {
  int tool;
  int subtool;
  int type;
  bool anyKind;
};
constexpr ToolObject kToolObjects[] = {
    {5, 1, 23, false},  {5, 2, 25, false},  {5, 3, 27, false},  {5, 4, 28, false},  {6, 1, 12, false},
    {6, 2, 13, false},  {6, 3, 14, false},  {6, 5, 15, false},  {6, 6, 16, false},  {7, 1, 34, true},
    {7, 2, 35, false},  {7, 3, 36, true},   {7, 4, 37, false},  {7, 5, 31, false},  {7, 6, 29, false},
    {7, 7, 33, false},  {7, 8, 38, true},   {7, 9, 39, false},  {7, 10, 40, false}, {7, 11, 42, false},
    {7, 12, 43, false}, {7, 13, 44, false}, {8, 1, 18, false},  {8, 2, 19, false},  {8, 3, 20, false},
};

const ToolObject* FindToolObject(int tool, int subtool) {
  for (const ToolObject& o : kToolObjects)
    if (o.tool == tool && o.subtool == subtool) return &o;
  return nullptr;
}

// The slot of tool 6's remembered subtool for a variant; -1 for variants
// that remember nothing.
int BuildingSlot(int variant) {
  switch (variant) {
    case 2: return 0;
    case 8: return 1;
    case 3: return 2;
    case 1: return 3;
    case 5: return 4;
    case 6: return 5;
    default: return -1;
  }
}

void CopyName(char (&to)[60], const char* from) {
  const size_t n = strnlen(from, sizeof to - 1);
  std::memcpy(to, from, n);
  to[n] = 0;
}

}  // namespace

int CUserInt::DefineTool(int tool, int subtool, int cursor, const char* name) {
  if (tool < 0 || tool >= kToolCount) {
    QNO_LOG("Ileagal Tool Nr %d", tool);
    return 1;
  }
  if (subtool < 0 || subtool >= kToolEntries) {
    QNO_LOG("Ileagal Tool Nr %d entry %d", tool, subtool);
    return 1;
  }
  ToolEntry& e = Tools[tool][subtool];
  e.cursor = static_cast<unsigned int>(cursor);
  CopyName(e.name, name ? name : "");
  return 0;
}

void CUserInt::ClearTools() { std::memset(Tools, 0, sizeof Tools); }

int CUserInt::GetSecoundToolIndex(int tool, int subtool, int variant) {
  const int index = tool == 6 || tool == 8 ? variant : subtool;
  return index < 0 || index >= kToolEntries ? 0 : index;
}

unsigned int CUserInt::GetToolResID() const {
  const int tool = selObj.tool;
  if (tool < 0 || tool >= kToolCount) return 0;
  return Tools[tool][GetSecoundToolIndex(tool, selObj.subtool, selObj.variant)].cursor;
}

int CUserInt::RestoreCursorFromTool() {
  const unsigned int cursor = GetToolResID();
  if (cursor != selObj.cursorId) {
    SetCursorID(static_cast<int>(cursor), 0);
    selObj.cursorId = cursor;
  }
  return 0;
}

int CUserInt::IsToolSet(int tool, int subtool, int variant) const {
  if (tool != -1 && tool != selObj.tool) return 1;
  if (subtool != -1 && subtool != selObj.subtool) return 1;
  if (variant != -1 && variant != selObj.variant) return 1;
  return 0;
}

void CUserInt::ClearToolSelection() {
  if (selObj.markedBuildings) selObj.markedBuildings->Destroy();
  ResetSelStreet();
  selObj.stopWord[0] = selObj.stopWord[1] = -1;
  selObj.removeAllTest = 0;
}

int CUserInt::SetToolStandard() {
  ClearToolSelection();
  const ToolEntry& standard = Tools[1][0];
  SetCursorID(static_cast<int>(standard.cursor), 0);
  selObj.cursorId = standard.cursor;
  selObj.width = selObj.depth = 0;
  selObj.startX = selObj.startY = selObj.endX = selObj.endY = -1;
  selObj.editedLine = nullptr;
  selObj.tool = 1;
  selObj.subtool = -1;
  selObj.variant = -1;
  selObj.streetDrag = 0;
  CopyName(selObj.toolName, standard.name);
  return 0;
}

int CUserInt::SetToolNr(int tool, int subtool, int variant) {
  if (tool < 1 || tool > 23) {
    QNO_LOG("Ungueltige ToolNr %d", tool);
    return 1;
  }
  if (subtool < 0) subtool = 0;
  ClearToolSelection();
  const ToolEntry& entry = Tools[tool][GetSecoundToolIndex(tool, subtool, variant)];
  SetCursorID(static_cast<int>(entry.cursor), 0);
  selObj.cursorId = entry.cursor;
  if (variant == 0) return 1;

  if (tool == 7) {
    int warning = 0;
    if (subtool == 9 && HasAdviceCentre())
      warning = kWarningAdviceCentreExists;
    else if (subtool == 1 && HasCarsharingCentre())
      warning = kWarningCarsharingCentreExists;
    else if (subtool == 2 && !HasCarsharingCentre())
      warning = kWarningNoCarsharingCentre;
    if (warning) {
      SetAchtungWindow(warning);
      return 0;
    }
  }

  const int previous = selObj.tool;
  DeActivateWindow(kWindowBuildingChoice);
  selObj.width = selObj.depth = 0;
  selObj.startX = selObj.startY = selObj.endX = selObj.endY = -1;
  selObj.tool = tool;
  selObj.subtool = subtool;
  selObj.variant = variant;

  // Remembered choices: an area tool without a variant takes its last one;
  // the commercial zone's choice also becomes the residential zone's.
  auto remember = [](unsigned char& memory) {
    if (selObj.variant > 0)
      memory = static_cast<unsigned char>(selObj.variant);
    else
      selObj.variant = memory;
  };
  if (tool == 12) remember(selObj.rememberedVariants[2]);
  if (tool == 11) remember(selObj.rememberedVariants[1]);
  if (tool == 10 || tool == 11) remember(selObj.rememberedVariants[0]);
  if (tool == 6) {
    const int slot = BuildingSlot(variant);
    if (slot >= 0) {
      ActivateWindow(kWindowBuildingChoice);
      if (subtool > 0)
        selObj.rememberedSubtools[slot] = static_cast<unsigned char>(subtool);
      else
        selObj.subtool = selObj.rememberedSubtools[slot];
    }
  }

  switch (tool) {
    case 1:
      DeActivateWindow(kWindowLineEditor);
      selObj.width = selObj.depth = 0;
      break;
    case 2:
      CheckSelStreet(0, 0);
      selObj.startX = -1;
      selObj.width = selObj.depth = 1;
      break;
    case 5:
    case 6:
    case 7:
    case 8: {
      const ToolObject* object = FindToolObject(tool, selObj.subtool);
      selObj.objectType = object ? object->type : 0;
      int resource = 0, number = 0, sizeX = 0, sizeY = 0;
      const int index = object && object->anyKind ? -1 : selObj.variant;
      if (FindToolBuilding(selObj.objectType, index, resource, number, sizeX, sizeY) && resource > 0) {
        selObj.buildingResID = resource;
        selObj.buildingNumber = number;
        selObj.width = sizeX;
        selObj.depth = sizeY;
      } else {
        // A kind without a picture cannot be placed, nor the picture of
        // the tool before it.
        selObj.buildingResID = 0;
        selObj.buildingNumber = -1;
        return SetToolStandard();
      }
      if (tool == 5) {
        selObj.stopWord[0] = 0;
        selObj.stopWord[1] = selObj.subtool == 3 || selObj.subtool == 4 ? -1 : 0;
      } else {
        ActivateWindow(kWindowBuildingChoice);
      }
      break;
    }
    case 14: {
      int resource = 0, number = 0, sizeX = 1, sizeY = 1;
      if (FindToolBuilding(selObj.objectType, -1, resource, number, sizeX, sizeY)) {
        selObj.width = sizeX;
        selObj.depth = sizeY;
      }
      ActivateWindow(kWindowBuildingChoice);
      break;
    }
    case 16:
    case 17:
      break;
    case 23:
      DeActivateWindow(kWindowLineEditor);
      SetCursorID(static_cast<int>(entry.cursor), 0);
      selObj.startX = -1;
      selObj.width = selObj.depth = 1;
      selObj.stopWord[0] = 0;
      break;
    default:
      selObj.startX = -1;
      selObj.width = selObj.depth = 1;
      break;
  }

  // Leaving the line editor for another tool: back on the standard tool, a
  // line that never got a stop goes again.
  if (previous >= 16 && previous <= 21 && (tool < 16 || tool > 21)) {
    COpnvLine* line = selObj.editedLine;
    if (tool == 1 && line && !line->NoHst())
      if (COpnv* opnv = COpnv::Get()) opnv->RemoveLine(line, line->GetID());
    DeActivateWindow(kWindowLineEditor);
    if (selObj.reopenWindow != 0) {
      ActivateWithGroup(selObj.reopenWindow);
      selObj.reopenWindow = 0;
    }
    RefreshWindowLineChange();
    ForgetEditedLine();
  }

  selObj.streetDrag = 0;
  CopyName(selObj.toolName, entry.name);
  return 0;
}

// ---- what the tools reach elsewhere ----

bool CUserInt::HasAdviceCentre() { return CUiHost::Get()->HasAdviceCentre(); }
bool CUserInt::HasCarsharingCentre() { return CUiHost::Get()->HasCarsharingCentre(); }

