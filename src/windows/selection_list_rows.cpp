#include "windows/selection_list_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "gui/gui_host.h"
#include "gui/item_bitmap.h"
#include "gui/item_shapes.h"
#include "gui/item_text.h"
#include "gui/text_markup.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/zor_var.h"
#include "worldbase/zor_world_host.h"

namespace {

using L = CDialogSelectionList;

constexpr const char* kJumpToCarPark = "Springe zum Parkplatz/Parkhaus";

// ---- what a row reads of its element

// The element's map cell; (-1, -1) for an element without one.
void CellOf(CZorvaObject* element, int* x, int* y) {
  *x = *y = -1;
  if (auto* building = dynamic_cast<CBuildingObject*>(element)) {
    *x = building->GetXPos();
    *y = building->GetYPos();
  } else if (auto* line = dynamic_cast<COpnvLine*>(element)) {
    int w = 0, h = 0;
    line->GetXYPos(*x, *y, w, h);
  }
}

int LineNumberOf(CZorvaObject* element) {
  auto* line = dynamic_cast<COpnvLine*>(element);
  return line ? line->GetID() : -1;
}

// A value the row shows as it stands when the row is built.
double ReadOnce(CWorldObj* object, const char* name) {
  double value = 0;
  if (!object || object->GetVarData(name, &value) != 0 || !std::isfinite(value)) return 0;
  return value;
}

int ReadOnceInt(CWorldObj* object, const char* name) {
  return static_cast<int>(std::clamp(std::trunc(ReadOnce(object, name)), -1e9, 1e9));
}

// The number an outlet or centre is listed under.
int OutletNumberOf(CWorldObj* element) {
  auto* traffic = dynamic_cast<CBuildingTrafficObject*>(element);
  return traffic ? traffic->GetID() : 0;
}

// Calls f with every line in the order of public transport's line walk, bus
// lines first, until f returns false. The walk goes by the nets' nodes, so
// that a walk of their own cursors that asked for the rows goes on undisturbed.
template <class F>
void ForEachLine(F f) {
  COpnv* opnv = COpnv::Get();
  if (!opnv) return;
  for (const char* net : {"OPNV.NET.BUSLINES", "OPNV.NET.TRAMLINES"})
    if (CZorvaList* lines = opnv->GetList(net))
      for (CZorvaPointer* p = lines->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer())
        if (!f(static_cast<COpnvLine*>(p->GetZorvaObject()))) return;
}

std::string LineLabel(COpnvLine* line) {
  const char* pattern = CGuiHost::Get()->GetGltText(line->GetNetType() == NET_BUS ? 0 : 1);
  char label[64] = {};
  if (pattern) std::snprintf(label, sizeof label, pattern, line->GetID());
  return label;
}

// ---- what a row is made of

// A variable of the row's element, bound to it, which reads the element's
// value at once. A text item asks its variable's source again only every
// fifth frame, and the lists make their rows anew on every tenth input of
// any list: while the mouse moves over a list its rows may never reach
// their fifth frame, and a variable read only later would show 0 all along.
CVar* ElementVar(EVarType type, const char* name, CWorldObj* owner) {
  auto* var = new CVar;
  var->Create(type, name, owner);
  var->SetWorldOject(owner);
  return var;
}

void Discard(CVar* var) {
  var->Destroy();
  delete var;
}

void BindVar(CItem* item, EVarType type, const char* name, CWorldObj* owner) {
  if (!item) return;
  CVar* var = ElementVar(type, name, owner);
  if (item->AddVar(var) != 0) Discard(var);
}

void BindDialogVar(CDialog* dialog, EVarType type, const char* name, CWorldObj* owner) {
  if (!dialog) return;
  CVar* var = ElementVar(type, name, owner);
  if (dialog->AddVar(var, -1) != 0) Discard(var);
}

// A picture button inside a row's sub-dialog.
CItemBitmap* SubButton(CDialog* dialog, int x, int w, int picture) {
  if (!dialog) return nullptr;
  auto* item = new CItemBitmap;
  item->Create(x, 0, w, 16, 13, picture, -1, -1, -1);
  int number = -1;
  dialog->AddItem(item, &number);
  item->SetTopDialog(dialog);
  return item;
}

void Hover(CItem* i) { L::AddAction(i, 11, WHEN_MOVE, INOUT_ALWAYS); }
void Press(CItem* i, EActionType kind, int p1 = -1, int p2 = -1, const char* name = "") {
  L::AddAction(i, kind, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, p2, -1, name);
}
void Hold(CItem* i) { Press(i, 150); }
void Tip(CItem* i, int text, const char* name = "") { L::AddAction(i, 33, WHEN_MOVE, INOUT_INSIDE, text, -1, -1, name); }
void Centre(CItem* i, int x, int y) { Press(i, 20, x, y); }
void Mark(CItem* i, int x, int y) { Press(i, 149, x, y); }

// The jump button of a car-park row; `marks` adds the building mark.
void CarParkJump(L& list, CWorldObj* park, int y, bool marks) {
  int cx = 0, cy = 0;
  CellOf(park, &cx, &cy);
  CItemBitmap* jump = list.AddRowBitmap(253, y + 4, 16, 15, 13, 26659);
  Centre(jump, cx, cy);
  if (marks) Mark(jump, cx, cy);
  if (marks) {
    Hold(jump);
    Hover(jump);
  } else {
    Hover(jump);
    Hold(jump);
  }
  Tip(jump, 226, kJumpToCarPark);
}

void CarParkNumber(L& list, CWorldObj* park, int y, int w) {
  char text[32];
  std::snprintf(text, sizeof text, "Nr: %i", ReadOnceInt(park, "PH.NR"));
  list.AddRowText(3, y + 2, w, 16, 7, text, HO_LEFT);
}

}  // namespace

CZorvaListRows* CZorvaListRows::Get() {
  static CZorvaListRows rows;
  return &rows;
}

int CZorvaListRows::CountElements(EDialogType type) {
  CGuiHost* host = CGuiHost::Get();
  switch (type) {
    case 7: {
      int count = 0;
      ForEachLine([&](COpnvLine*) { return ++count > 0; });
      return count;
    }
    case 18:
    case 21:
      return std::max(host->GetMaxMessage(), 0);
    case 19:
      return std::clamp(host->GetSaveGameCount(), 0, kMaxSaveGames);
    default:
      return -1;
  }
}

void CZorvaListRows::AddRow(CDialogSelectionList& list, CZorvaObject* element, int index, int y) {
  auto* object = dynamic_cast<CWorldObj*>(element);
  switch (list.GetListType()) {
    case 3: AddObjectRow(list, element, index, y); break;
    case 6:
      if (auto* line = dynamic_cast<COpnvLine*>(element)) AddLineRowWithHeader(list, line, y);
      break;
    case 7: {
      int i = 0;
      COpnvLine* found = nullptr;
      ForEachLine([&](COpnvLine* line) {
        if (i++ == index) found = line;
        return found == nullptr;
      });
      if (found) AddLineRow(list, found, y);
      break;
    }
    case 8:
    case 9: AddOutletRow(list, object, y); break;
    case 12: AddCarParkPrices(list, object, y); break;
    case 13: AddCarParkPlaces(list, object, y); break;
    case 14: AddCarParkBalance(list, object, y); break;
    case 18: AddMessageRow(list, index, y); break;
    case 19: AddSaveGameRow(list, index, y); break;
    case 21: AddEventRow(list, index, y); break;
    default: break;
  }
}

void CZorvaListRows::AddObjectRow(CDialogSelectionList& list, CZorvaObject* element, int index, int y) {
  if (list.GetSizeX() < 20) return;
  char text[32];
  std::snprintf(text, sizeof text, "Zorva: %i", index);
  CItemText* row = list.AddRowText(0, y, list.GetSizeX() - 20, 14, 4, text, HO_CENTER);
  row->SetNr(index - list.GetFirstItem() + 2);
  int cx = 0, cy = 0;
  CellOf(element, &cx, &cy);
  if (!list.GetActions()) return;
  list.GetActions()->ForEach([&](CAction* a) {
    switch (a->m_kind) {
      case 3: L::AddAction(row, 3, a->m_when, INOUT_INSIDE, index); break;
      case 4: L::AddAction(row, 4, a->m_when, INOUT_INSIDE, LineNumberOf(element)); break;
      case 20: L::AddAction(row, 20, a->m_when, INOUT_INSIDE, cx, cy, index); break;
      default: break;
    }
  });
}

void CZorvaListRows::AddLineRowWithHeader(CDialogSelectionList& list, COpnvLine* line, int y) {
  const int number = line->GetID();
  list.AddRowText(5, y, 55, 16, 7, LineLabel(line).c_str(), HO_CENTER);
  CItemBitmap* open = list.AddRowBitmap(5, y, 55, 16, 13, 25923);
  Hover(open);
  Press(open, 4, number);
  CItemText* fleet = list.AddRowText(118, y, 37, 16, 7,
                                     "@#var,INT,NULL,OPNV.LINE.FP# /@#var,INT,NULL,OPNV.LINE.FPNEEDED#", HO_CENTER);
  BindVar(fleet, VAR_INT, "OPNV.LINE.FPNEEDED", line);
  BindVar(fleet, VAR_INT, "OPNV.LINE.FP", line);
  Press(fleet, 35, 129, 1);
  CItemBitmap* details = list.AddRowBitmap(118, y, 42, 16, 13, 42492);
  Hover(details);
  Press(details, 95, number);
  struct Figure {
    int x, w;
    const char* text;
    const char* var;
  };
  for (const Figure& f : {Figure{221, 37, "@#var,INT,NULL,OPNV.LINE.PASSENGER#", "OPNV.LINE.PASSENGER"},
                          Figure{169, 37, "@#var,INT,NULL,OPNV.LINE.USERQUOTE#", "OPNV.LINE.USERQUOTE"},
                          Figure{76, 28, "@#var,INT,NULL,OPNV.LINE.TAKT#", "OPNV.LINE.TAKT"}}) {
    CItemText* t = list.AddRowText(f.x, y, f.w, 16, 7, f.text, HO_CENTER);
    BindVar(t, VAR_INT, f.var, line);
  }
  CDialog* headway = list.AddRowDialog(68, y, 123, 16, DIALOG_VALUE_EDITOR);
  BindDialogVar(headway, VAR_FLOAT, "OPNV.LINE.TAKT", line);
  Press(SubButton(headway, 0, 7, 44405), 17, 1);
  Press(SubButton(headway, 37, 7, 44406), 16, 1);
}

void CZorvaListRows::AddLineRow(CDialogSelectionList& list, COpnvLine* line, int y) {
  const int number = line->GetID();
  const bool bus = line->GetNetType() == NET_BUS;
  list.AddRowText(!bus && number > 9 ? 1 : 3, y, 63, 16, 7, LineLabel(line).c_str(), HO_LEFT);
  int picture = 49520;
  if (line->HasShortageNotice())
    picture = 49671;
  else if (COpnv::Get() && COpnv::Get()->IsLineOnSelectedHst(number))
    picture = 49521;
  CItemBitmap* select = list.AddRowBitmap(2, y, 63, 16, 13, picture);
  Hover(select);
  Press(select, 69, number);
  BindVar(list.AddRowText(123, y, 20, 16, 7, "@#var,INT,NULL,OPNV.LINE.FP#", HO_RIGHT), VAR_INT, "OPNV.LINE.FP",
          line);
  BindVar(list.AddRowText(143, y, 20, 16, 7, "@#var,INT,NULL,OPNV.LINE.FPNEEDED#", HO_LEFT), VAR_INT,
          "OPNV.LINE.FPNEEDED", line);

  CDialog* vehicles = list.AddRowDialog(114, y, 58, 16, DIALOG_VALUE_EDITOR);
  CItemBitmap* minus = SubButton(vehicles, 0, 9, 49527);
  BindVar(minus, VAR_INT, "OPNV.MOVEFP.MINUS", COpnv::Get());
  Press(minus, 130, 1, number);
  Hover(minus);
  Press(minus, 17, 1);
  CItemBitmap* plus = SubButton(vehicles, 49, 9, 49528);
  BindVar(plus, VAR_INT, "OPNV.MOVEFP.PLUS", COpnv::Get());
  Press(plus, 130, 1, number);
  Hover(plus);
  Press(plus, 16, 1);

  list.AddRowBitmap(123, y, 40, 16, 2, 49502);
  BindVar(list.AddRowText(222, y, 40, 16, 7, "@#var,INT,NULL,OPNV.LINE.PASSENGER#", HO_RIGHT), VAR_INT,
          "OPNV.LINE.PASSENGER", line);
  BindVar(list.AddRowText(175, y, 37, 16, 7, "@#var,INT,NULL,OPNV.LINE.USERQUOTE#", HO_RIGHT), VAR_INT,
          "OPNV.LINE.USERQUOTE", line);
  unsigned char r = 0, g = 0, b = 0;
  line->GetColor(r, g, b);
  auto* colour = new CItemRect;
  colour->Create(176, y + 2, 89, 14, 4, FILL_SOLID, (r << 16) | (g << 8) | b, 2000);
  list.AddRowItem(colour);
  BindVar(list.AddRowText(77, y, 25, 16, 7, "@#var,INT,NULL,OPNV.LINE.TAKT#", HO_CENTER), VAR_INT,
          "OPNV.LINE.TAKT", line);

  CDialog* headway = list.AddRowDialog(68, y, 43, 16, DIALOG_VALUE_EDITOR);
  BindDialogVar(headway, VAR_FLOAT, "OPNV.LINE.TAKT", line);
  CItemBitmap* down = SubButton(headway, 0, 9, 49527);
  Press(down, 17, 1);
  Hover(down);
  CItemBitmap* up = SubButton(headway, 34, 9, 49528);
  Press(up, 16, 1);
  Hover(up);

  CItemBitmap* remove = list.AddRowBitmap(268, y, 15, 16, 13, 44382);
  Press(remove, 110, number);
  Hover(remove);
  list.AddRowBitmap(68, y, 43, 16, 2, 49503);
}

void CZorvaListRows::AddOutletRow(CDialogSelectionList& list, CWorldObj* element, int y) {
  CGuiHost* host = CGuiHost::Get();
  const int number = OutletNumberOf(element);
  char text[80] = {};
  const char* pattern = nullptr;
  if (list.GetListType() == 8)
    pattern = host->GetGltText(number != 0 ? 3 : 2);
  else
    pattern = host->GetGltText(4);
  if (pattern) std::snprintf(text, sizeof text, pattern, number);
  list.AddRowText(13, y + 1, 200, 16, 7, text, HO_LEFT);
  int cx = 0, cy = 0;
  CellOf(element, &cx, &cy);
  CItemBitmap* jump = list.AddRowBitmap(260, y + 1, 16, 15, 13, 26659);
  Hold(jump);
  Centre(jump, cx, cy);
  Mark(jump, cx, cy);
  Hover(jump);
  Tip(jump, 225);
  // The row's background comes last, as in the car-park rows: it is drawn
  // first, under the text and the jump button.
  list.AddRowBitmap(1, y, 281, 17, 2, 26639);
}

void CZorvaListRows::AddCarParkPrices(CDialogSelectionList& list, CWorldObj* park, int y) {
  CarParkNumber(list, park, y, 70);
  BindVar(list.AddRowText(95, y + 2, 50, 16, 7, "@#var,FLOAT,NULL,PH.PRICE#", HO_RIGHT), VAR_FLOAT, "PH.PRICE", park);
  BindVar(list.AddRowText(155, y + 2, 50, 16, 7, "@#var,INT,NULL,PH.PRICE.REDUCTIONMICROCAR# %", HO_RIGHT), VAR_INT,
          "PH.PRICE.REDUCTIONMICROCAR", park);
  CarParkJump(list, park, y, true);
  list.AddRowBitmap(1, y + 3, 281, 17, 2, 28182);
}

void CZorvaListRows::AddCarParkPlaces(CDialogSelectionList& list, CWorldObj* park, int y) {
  CarParkNumber(list, park, y, 50);
  char text[32];
  std::snprintf(text, sizeof text, "%i", ReadOnceInt(park, "PH.PLACESPKW"));
  list.AddRowText(52, y + 2, 25, 16, 7, text, HO_RIGHT);
  list.AddRowText(74, y + 2, 6, 16, 7, "/", HO_CENTER);
  std::snprintf(text, sizeof text, "%i", ReadOnceInt(park, "PH.PLACESMICROCAR"));
  list.AddRowText(76, y + 2, 25, 16, 7, text, HO_LEFT);
  for (auto [dy, name] : {std::pair{4, "PH.AUSLASTUNG.PKW"}, std::pair{11, "PH.AUSLASTUNG.MICROCAR"}}) {
    auto* bar = new CItemBalkenMinMax;
    bar->Create(110, y + dy, 48, 6, 10, FILL_LEVEL, 1000, 2000);
    list.AddRowItem(bar);
    BindVar(bar, VAR_FLOAT, name, park);
    L::AddAction(bar, 25, WHEN_TURN, INOUT_ALWAYS, -1, -1, 16);
    bar->SetState(static_cast<int>(std::clamp(std::trunc(16 * ReadOnce(park, name)), -1e6, 1e6)));
  }
  list.AddRowBitmap(108, y + 3, 52, 15, 2, 28539);
  CarParkJump(list, park, y, true);
  for (auto [x, de, en, name] : {std::tuple{170, 36485, 50644, "PH.PRS"}, std::tuple{200, 36484, 50642, "PH.PLS"}}) {
    CItemBitmap* sw = list.AddRowBitmap(x, y + 3, 23, 15, 13, de, en);
    sw->SetHighlightLock(true);
    BindVar(sw, VAR_INT, name, park);
    L::AddAction(sw, 50, WHEN_TURN, INOUT_ALWAYS, 0);
    sw->SetState(ReadOnceInt(park, name));
  }
  list.AddRowBitmap(1, y + 3, 281, 17, 2, 28182);
}

void CZorvaListRows::AddCarParkBalance(CDialogSelectionList& list, CWorldObj* park, int y) {
  CarParkNumber(list, park, y, 70);
  char text[48];
  std::snprintf(text, sizeof text, "%i", ReadOnceInt(park, "PH.BILANZ"));
  CTextMarkup::InsertTausenderPunkt(text, sizeof text, CWorldHost::Get()->GetLanguage());
  list.AddRowText(100, y + 2, 135, 16, 7, text, HO_RIGHT);
  CarParkJump(list, park, y, false);
  list.AddRowBitmap(1, y + 3, 281, 17, 2, 28182);
}

void CZorvaListRows::AddMessageRow(CDialogSelectionList& list, int index, int y) {
  const char* message = CGuiHost::Get()->GetMessageE(index);
  list.AddRowText(3, y + 2, 367, 16, 7, message && *message ? message : " ", HO_LEFT);
  Press(list.AddRowBitmap(0, y + 2, 367, 16, 13, 37568), 65, index);
}

void CZorvaListRows::AddSaveGameRow(CDialogSelectionList& list, int index, int y) {
  const char* name = CGuiHost::Get()->GetSaveSlotName(index);
  // A name read from the directory is shown as it stands, never as markup.
  list.AddRowText(4, y + 1, 147, 16, 7, name && *name ? name : " ", HO_LEFT)->SetVerbatim(true);
  CItemBitmap* slot = list.AddRowBitmap(1, y + 1, 147, 17, 13, 49445);
  Press(slot, 75, index);
  L::AddAction(slot, 121, WHEN_TURN, INOUT_ALWAYS, index, -1, -1, "Selectloadsave");
}

void CZorvaListRows::AddEventRow(CDialogSelectionList& list, int index, int y) {
  CGuiHost* host = CGuiHost::Get();
  const bool processed = host->IsMessageProcessed(index);
  int hour = 0, minute = 0;
  char time[32] = " ";
  if (host->GetMessageHourMinute(index, &hour, &minute))
    std::snprintf(time, sizeof time, "[%.2i:%.2i]", std::clamp(hour, 0, 99), std::clamp(minute, 0, 99));
  CItemText* stamp = list.AddRowText(1, y + 4, 35, 11, 7, time, HO_LEFT);
  L::AddAction(stamp, 122, WHEN_TURN, INOUT_ALWAYS, index);

  CItemBitmap* done = list.AddRowBitmap(44, y + 2, 16, 16, 13, 49489);
  done->SetHighlightLock(false);
  done->SetLevel(processed ? 3 : 0);
  Hover(done);
  Press(done, 152, index);
  Press(done, 123, index);
  Tip(done, -1, "Ereignis als bearbeited/nicht bearbeited markierencheck/uncheck event");

  if (host->CheckMessageForJump(index)) {
    CItemBitmap* jump = list.AddRowBitmap(65, y + 2, 16, 16, 13, 49488);
    jump->SetLevel(processed ? 3 : 0);
    Press(jump, 124, index);
    Hover(jump);
    Hold(jump);
    Press(jump, 152, index);
    Tip(jump, 193, "Springe zum Ereignis");
  }

  const char* message = host->GetMessageE(index);
  CItemText* text = list.AddRowText(95, y + 4, 306, 11, 7, message && *message ? message : " ", HO_LEFT);
  Tip(text, -1, "Ereignis markieren");
  Press(text, 122, index);
  Press(text, 65, index);
  Press(text, 34, 239, 1);
  Press(list.AddRowBitmap(0, y + 2, 406, 16, 13, 49490), 65, index);
}
