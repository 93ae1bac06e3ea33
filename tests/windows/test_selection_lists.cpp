// Selection lists built as the game builds them: a list dialog with the
// scroll buttons and the slider of the window tables, bound to a list of
// objects. Scrolling by buttons, slider and knob; rebuilding on refresh and
// while the rows' own actions run; the rows of every list kind drawn with
// no picture missing.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/zor_seams.h"
#include "gui/dialog_selection_list.h"
#include "gui/item_text.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "windows/selection_list_rows.h"
#include "windows_scene.h"

namespace {

constexpr int kWin = 500;
// The window's and the list's places on the screen.
constexpr int kListX = 100 + 10, kListY = 100 + 20;
constexpr int kSliderX = kListX + 283 + 7, kSliderTop = kListY + 16;

// The savegames and messages the lists of kinds 18, 19 and 21 show.
struct ListHost : wintest::SceneHost {
  std::vector<std::string> games, messages;
  int GetSaveGameCount() override { return static_cast<int>(games.size()); }
  const char* GetSaveSlotName(int n) override { return n >= 0 && n < GetSaveGameCount() ? games[n].c_str() : nullptr; }
  int GetMaxMessage() override { return static_cast<int>(messages.size()); }
  const char* GetMessageE(int n) override {
    return n >= 0 && n < GetMaxMessage() ? messages[n].c_str() : nullptr;
  }
  bool GetMessageHourMinute(int n, int* hour, int* minute) override {
    *hour = 5 + n;
    *minute = 7;
    return n < GetMaxMessage();
  }
  int processedEvent = 1;
  bool IsMessageProcessed(int n) override { return n == processedEvent; }
  void SetIsoCenter(int x, int y) override { centred.emplace_back(x, y); }
  void MarkBuildingAt(int x, int y) override { marked.emplace_back(x, y); }
  std::vector<std::pair<int, int>> centred, marked;
  // The label patterns of lines and outlets, German.
  const char* GetGltText(int n) override {
    static const char* const kPatterns[] = {"Bus %i", "S-Bahn %i", "Carsharing-Zentrale", "Station %i"};
    return n >= 0 && n < 4 ? kPatterns[n] : nullptr;
  }
  bool CheckMessageForJump(int n) override { return n != 0; }
};

// A car park or outlet as the rows read it: its number, cell and values.
class Place : public CBuildingTrafficObject {
 public:
  Place(int id, int x, int y) : CBuildingTrafficObject(id) { Create(static_cast<TObjectType>(18), 0, x, y, nullptr, SIM_HEIGHT_ANY); }
  int GetVarData(const char* name, double* value) override {
    const auto it = values.find(name);
    if (it == values.end()) return 1;
    *value = it->second;
    return 0;
  }
  using CWorldObj::GetVarData;
  std::map<std::string, double> values;
};

struct Lists : wintest::Scene {
  std::vector<std::unique_ptr<Place>> places;
  CZorvaList bound{0};
  COpnv opnv;
  ZorManualClock clock{1000};
  ListHost lists;

  static CDialog* Make(EDialogType) { return new CDialogSelectionList(CZorvaListRows::Get()); }

  void SetUp() override {
    Scene::SetUp();
    ZorSetClock(&clock);
    CGuiHost::Install(&lists);
    CWorldHost::Install(&lists);
    CDialogSelectionList::often = 1;
    CScreenWindow::m_NoZorvaListRefresh = 0;
    opnv.Create();
    builder.SetSelectionListFactory(&Make);
    builder.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
    builder.AddWindow(kWin, 100, 100, 320, 360, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    Root()->ActivateWindow(kWin, OVER_SINGLE);
  }
  void TearDown() override {
    Scene::TearDown();
    opnv.Destroy();
    ZorSetClock(nullptr);
    CGuiHost::Install(&host);
    CWorldHost::Install(&host);
  }
  // A list of the kind and height, with the scroll buttons and the slider
  // as the window tables give them.
  CDialogSelectionList* AddList(EDialogType type, int h, bool scrolls = true) {
    builder.AddDialog(kWin, 1, 10, 20, 300, h, type, "list");
    if (scrolls) {
      builder.AddItem(kWin, 1, 283, 0, 15, 16, 13, 25935, -1);
      builder.AddAction(kWin, 1, -2, 16, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "up", -1);
      builder.AddItem(kWin, 1, 283, 16, 15, h - 32, 35, -1, -1);
      builder.AddAction(kWin, 1, -2, 119, WHEN_LEFT_HELD, INOUT_INSIDE, 1, -1, -1, "slider", -1);
      builder.AddItem(kWin, 1, 283, h - 16, 15, 16, 13, 25936, -1);
      builder.AddAction(kWin, 1, -2, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "down", -1);
    }
    return static_cast<CDialogSelectionList*>(Window(kWin)->GetDialogs()->GetDialogByID(1));
  }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) {
      places.push_back(std::make_unique<Place>(i, 10 + i, 20 + i));
      bound.AddTailZorva(places.back().get());
    }
  }
  void Bind(CDialogSelectionList* list) { ASSERT_EQ(Root()->SetZorvaList(kWin, 1, &bound, 0), 0) << list; }
  // The texts of the object rows, top to bottom.
  static std::vector<std::string> Rows(CDialogSelectionList* list) {
    std::vector<std::pair<int, std::string>> rows;
    list->GetItems()->ForEach([&](CItem* i) {
      if (i->GetClassCode() == ITEM_CLASS_TEXT) rows.emplace_back(i->GetYPos(), static_cast<CItemText*>(i)->GetText());
    });
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> out;
    for (auto& r : rows) out.push_back(r.second);
    return out;
  }
  static CItem* Slider(CDialogSelectionList* list) {
    CItem* found = nullptr;
    list->GetItems()->ForEach([&](CItem* i) {
      if (i->GetItemType() == 35) found = i;
    });
    return found;
  }
  void Send(int type, int x, int y, int button = 0) {
    QnoInteractionEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    Window(kWin)->InputFilter(&e, nullptr, 0, 0, x, y, INOUT_ALWAYS);
  }
  void Click(int x, int y) {
    Send(QNO_EVENT_BUTTONDOWN, x, y);
    Send(QNO_EVENT_BUTTONUP, x, y);
  }
  static int Count(CDialogSelectionList* list, int itemType) {
    int n = 0;
    list->GetItems()->ForEach([&](CItem* i) { n += i->GetItemType() == itemType; });
    return n;
  }
};

using Row = std::vector<std::string>;

TEST_F(Lists, ScrollButtonsStepOneRowAndStopAtTheFirstAndTheLastElement) {
  CDialogSelectionList* list = AddList(3, 126);
  Fill(10);
  Bind(list);
  EXPECT_EQ(list->GetVisibleRows(), 7);
  EXPECT_EQ(Rows(list), (Row{"Zorva: 0", "Zorva: 1", "Zorva: 2", "Zorva: 3", "Zorva: 4", "Zorva: 5", "Zorva: 6"}));
  Click(kSliderX, kListY + 5);  // up at the top stays there
  EXPECT_EQ(list->GetFirstItem(), 0);
  for (int i = 0; i < 12; ++i) Click(kSliderX, kListY + 126 - 5);
  // Past the end the list stops with the last element on top.
  EXPECT_EQ(list->GetFirstItem(), 9);
  EXPECT_EQ(Rows(list), (Row{"Zorva: 9"}));
  Click(kSliderX, kListY + 5);
  EXPECT_EQ(Rows(list), (Row{"Zorva: 8", "Zorva: 9"})) << "a step shows at once";
  // The window builder's own items stay through every rebuild.
  EXPECT_EQ(Count(list, 13), 2);
  EXPECT_EQ(Count(list, 35), 1);
}

TEST_F(Lists, TheKnobShowsTheShareOnViewAndHidesWhenEverythingFits) {
  struct Case {
    EDialogType type;
    int elements, rows, first, knobHeight, offset, shown;
  };
  // Slider height 94 (a dialog of 126 with two 16 px buttons).
  for (const Case& c : {Case{3, 7, 7, 0, 94, 0, 1}, Case{3, 8, 7, 0, 94 * 7 / 8, 0, 1},
                        Case{3, 8, 7, 7, 94 * 7 / 8, 94 - 94 * 7 / 8, 1}, Case{6, 20, 6, 10, 28, 34, 1},
                        Case{3, 3, 7, 0, 94, 0, 0}, Case{3, 0, 7, 0, 94, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.elements << " elements");
    builder.DestroyWindows();
    builder.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
    builder.AddWindow(kWin, 100, 100, 320, 360, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    places.clear();
    bound.Destroy();
    CDialogSelectionList* list = AddList(c.type, 126);
    Fill(c.elements);
    Bind(list);
    list->SetFirstItem(c.first);
    list->SetSliderData();
    EXPECT_EQ(list->GetVisibleRows(), c.rows);
    CItem* slider = Slider(list);
    EXPECT_EQ(slider->GetShown(), c.shown);
    EXPECT_EQ(slider->GetKnob(3), c.knobHeight);
    EXPECT_EQ(slider->GetKnob(1), 16 + c.offset);
    EXPECT_EQ(slider->GetSliderDialog(), list);
  }
}

TEST_F(Lists, TheSliderScrollsToTheMouseAndAShortListDoesNotScroll) {
  CDialogSelectionList* list = AddList(3, 126);
  Fill(40);
  Bind(list);
  const int K = Slider(list)->GetKnob(3);  // trunc(94 x 7 / 40) = 16
  ASSERT_EQ(K, 16);
  // Pressed and dragged with the left button held down the slider.
  Send(QNO_EVENT_BUTTONDOWN, kSliderX, kSliderTop + 47);
  EXPECT_EQ(list->GetFirstItem(), static_cast<int>((47 - 8.0) / (94 - 16) * 40));
  // The rows' rebuild puts the knob where the first row shows.
  EXPECT_EQ(Slider(list)->GetKnob(1), 16 + (94 - K) * list->GetFirstItem() / 39);
  EXPECT_EQ(Rows(list).front(), "Zorva: " + std::to_string(list->GetFirstItem()));
  Send(QNO_EVENT_BUTTONDOWN, kSliderX, kSliderTop + 7);  // the upper half knob: the top
  EXPECT_EQ(list->GetFirstItem(), 0);
  EXPECT_EQ(Rows(list).size(), 7u);
  Send(QNO_EVENT_BUTTONDOWN, kSliderX, kSliderTop + 94 - 8);  // the lower half knob: the last element
  EXPECT_EQ(list->GetFirstItem(), 39);
  EXPECT_EQ(Slider(list)->GetKnob(1), 16 + 94 - K);

  // A newly bound list of five shows from its top at once, and fits into
  // seven rows: the hidden knob scrolls nothing.
  places.resize(5);
  bound.Destroy();
  for (auto& p : places) bound.AddTailZorva(p.get());
  Bind(list);
  EXPECT_EQ(Rows(list).size(), 5u);
  Send(QNO_EVENT_BUTTONDOWN, kSliderX, kSliderTop + 90);
  EXPECT_EQ(list->GetFirstItem(), 0);
  EXPECT_EQ(Rows(list).size(), 5u);
}

TEST_F(Lists, RefreshRebuildsExceptJustAfterARowWasHeldAndWithoutAListNothingIsShown) {
  CDialogSelectionList* list = AddList(3, 126, false);
  EXPECT_EQ(list->CreateItemsFromZorvaList(nullptr), 1);
  EXPECT_TRUE(Rows(list).empty());
  Fill(3);
  Bind(list);
  ASSERT_EQ(Rows(list).size(), 3u);
  Fill(2);
  CScreenWindow::m_NoZorvaListRefresh = clock.Now();
  clock.Advance(50);
  Root()->SetZorvaList(kWin, 1, nullptr, 1);
  EXPECT_EQ(Rows(list).size(), 3u) << "held 50 ms ago: the rows stay";
  clock.Advance(1);
  Root()->SetZorvaList(kWin, 1, nullptr, 1);
  EXPECT_EQ(Rows(list).size(), 5u);
  // Without scroll buttons or slider (fewer than three own items) the old
  // rows still go before the new ones come.
  Root()->SetZorvaList(kWin, 1, nullptr, 1);
  EXPECT_EQ(list->GetItems()->GetCount(), 5);
  // Every tenth input of any list rebuilds it.
  Fill(1);
  CDialogSelectionList::often = 9;
  Send(QNO_EVENT_MOUSEMOVE, 10, 10, 0);
  EXPECT_EQ(Rows(list).size(), 5u);
  Send(QNO_EVENT_MOUSEMOVE, 10, 10, 0);
  EXPECT_EQ(Rows(list).size(), 6u);
}

// A row whose own action rebuilds its list (here: a press that holds and
// scrolls) runs to its end on the row that is being replaced; the sanitizer
// build sees any use of a freed row.
TEST_F(Lists, ARowThatRebuildsItsListFinishesBeforeItsRowIsReplaced) {
  CDialogSelectionList* list = AddList(3, 126);
  Fill(12);
  Bind(list);
  list->SetFirstItem(3);
  list->CreateItemsFromZorvaList(nullptr);
  ASSERT_EQ(Rows(list).front(), "Zorva: 3");
  CItem* first = nullptr;
  list->GetItems()->ForEach([&](CItem* i) {
    if (i->GetNr() == 2 && i->GetClassCode() == ITEM_CLASS_TEXT) first = i;
  });
  ASSERT_NE(first, nullptr);
  CDialogSelectionList::AddAction(first, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1);
  CDialogSelectionList::AddAction(first, 119, WHEN_LEFT_DOWN, INOUT_INSIDE, 1);
  first->SetSliderDialog(list);
  // The slider's action takes the list to the top, then the step one down.
  Send(QNO_EVENT_BUTTONDOWN, kListX + 20, kListY + 4);
  EXPECT_EQ(list->GetFirstItem(), 1);
  EXPECT_EQ(Rows(list).front(), "Zorva: 1");
}

TEST_F(Lists, EveryListKindBuildsItsRowsWithNoPictureMissing) {
  Fill(3);
  places[1]->values = {{"PH.NR", 7},          {"PH.PLACESPKW", 120},      {"PH.PLACESMICROCAR", 12},
                       {"PH.BILANZ", 1234567}, {"PH.AUSLASTUNG.PKW", 0.5}, {"PH.PRS", 1}};
  for (int i = 0; i < 3; ++i) opnv.CreateNewLine(i == 2 ? NET_TRAM : NET_BUS);
  CZorvaList lines{0};
  opnv.SetupLineCount();
  while (COpnvLine* l = opnv.GetNextLine()) lines.AddTailZorva(l);

  struct Kind {
    EDialogType type;
    int rows;  // rows shown with three elements
    const char* text;
  };
  lists.games = {"ERSTES", "Zweites @nl", "DRITTES"};
  lists.messages = {"Bus 1 ist voll", "Stau", "Neue Schule"};
  for (int language : {0, 1}) {
    lists.language = language;
    ReloadGameData();
    builder.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
    builder.AddWindow(kWin, 0, 0, 420, 600, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    Root()->ActivateWindow(kWin, OVER_SINGLE);
    resources.TrackRequests(true);
    for (const Kind& k : {Kind{3, 3, "Zorva: 1"}, Kind{6, 3, "Bus 2"}, Kind{7, 3, "Bus 2"}, Kind{8, 3, "Station 1"},
                          Kind{9, 3, ""}, Kind{12, 3, "Nr: 7"}, Kind{13, 3, "120"}, Kind{14, 3, language ? "1,234,567" : "1.234.567"},
                          Kind{18, 7, "Stau"}, Kind{19, 3, "Zweites @nl"}, Kind{21, 3, "[06:07]"}}) {
      SCOPED_TRACE(testing::Message() << "kind " << k.type);
      builder.AddDialog(kWin, k.type, 0, 0, 410, 126, k.type, "list");
      auto* list = static_cast<CDialogSelectionList*>(Window(kWin)->GetDialogs()->GetDialogByID(k.type));
      list->SetZorvaList(k.type == 6 ? &lines : &bound, 0);
      EXPECT_EQ(list->GetMaxListItems(), 3);
      std::set<int> rowTops;
      list->GetItems()->ForEach([&](CItem* i) { rowTops.insert(i->GetYPos() / (k.type == 18 ? 17 : 18)); });
      EXPECT_EQ(static_cast<int>(rowTops.size()), k.rows);
      if (*k.text) {
        const Row texts = Rows(list);
        EXPECT_NE(std::find(texts.begin(), texts.end(), k.text), texts.end()) << texts.size();
      }
      for (int look = 0; look <= 2; ++look) {
        list->GetItems()->ForEach([&](CItem* i) { i->SetState(look); });
        Window(kWin)->Render(&display, &resources, -1, -1);
      }
    }
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty()) << *resources.MissingIds().begin();
    for (int id : {25923, 42492, 49520, 49527, 49528, 49502, 49503, 26639, 28182, 26659, 28539, 37568, 44382,
                   49445, 49489, 49488, 49490, 44405, 44406})
      EXPECT_TRUE(resources.RequestedIds().count(id)) << id;
    EXPECT_TRUE(resources.RequestedIds().count(language == 0 ? 36485 : 50644));
  }
}

}  // namespace

namespace {

TEST_F(Lists, ARowsJumpButtonCentresTheMapMarksTheBuildingAndHoldsTheRows) {
  CDialogSelectionList* list = AddList(8, 126, false);
  Fill(3);
  Bind(list);
  // The jump button of the second row: (260, 18 + 3 + 1) in the list,
  // drawn over the row's background.
  Window(kWin)->Render(&display, &resources, -1, -1);
  int face = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 16; ++x) face += Pixel(kListX + 260 + x, kListY + 22 + y) == Pixel(kListX + 240, kListY + 29);
  EXPECT_LT(face, 16 * 15 / 2);
  Send(QNO_EVENT_BUTTONDOWN, kListX + 268, kListY + 18 + 3 + 8);
  EXPECT_EQ(lists.centred, (std::vector<std::pair<int, int>>{{11, 21}}));
  EXPECT_EQ(lists.marked, (std::vector<std::pair<int, int>>{{11, 21}}));
  EXPECT_EQ(CScreenWindow::m_NoZorvaListRefresh, clock.Now()) << "the press holds the rows";
  // Outside the button nothing jumps.
  Send(QNO_EVENT_BUTTONDOWN, kListX + 200, kListY + 18 + 3 + 8);
  EXPECT_EQ(lists.centred.size(), 1u);
}

// Names of saved games are drawn as they stand: an "@" does not cut the
// name short, as the markup of window texts would.
// A rebuild makes its rows from the items of the rows before: the same items
// come back, and whatever looks, texts and actions they had gathered, the
// list looks as it did when those rows were first made.
TEST_F(Lists, RebuiltRowsTakeTheOldItemsAndKeepNothingOfTheirLooks) {
  // The second text holds a line break for a list that reads markup.
  lists.messages = {"Erstes Ereignis", "Zweites@nlEreignis", "Drittes", "Viertes"};
  lists.processedEvent = -1;
  CDialogSelectionList* list = AddList(21, 88, false);  // every item is a row
  list->CreateItemsFromZorvaList(nullptr);
  auto picture = [&] {
    SDL_FillRect(surface, nullptr, 0xFFFF);
    Window(kWin)->Render(&display, &resources, -1, -1);
    std::vector<uint16_t> pixels;
    for (int y = kListY; y < kListY + 88; ++y)
      for (int x = kListX; x < kListX + 300; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  };
  // Each row item by its place and class, with its actions' kinds and names.
  auto rows = [&] {
    std::map<std::tuple<int, int, int>, std::pair<CItem*, std::string>> out;
    list->GetItems()->ForEach([&](CItem* i) {
      std::string actions;
      i->GetActions()->ForEach([&](CAction* a) {
        actions += std::to_string(a->m_kind) + ":" + (a->GetName() ? a->GetName() : "(none)") + ";";
      });
      out[{i->GetYPos(), i->GetXPos(), i->GetClassCode()}] = {i, actions};
    });
    return out;
  };
  const std::vector<uint16_t> first = picture();
  const auto made = rows();
  ASSERT_GE(made.size(), 16u);
  for (const auto& [place, row] : made) {
    CItem* item = row.first;
    item->SetLevel(3);
    item->SetState(5);
    item->HighLightOn();
    item->SetPressed(2, 1, 1, 1);
    item->m_selectMark = 1;
    CDialogSelectionList::AddAction(item, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "ein langer Name");
    if (auto* text = dynamic_cast<CItemText*>(item)) {
      text->SetText("@#var,INT,NULL,X#");
      text->SetVerbatim(true);
    }
  }
  ASSERT_NE(picture(), first);
  list->CreateItemsFromZorvaList(nullptr);
  const auto again = rows();
  ASSERT_EQ(again.size(), made.size());
  for (const auto& [place, row] : again) {
    ASSERT_TRUE(made.count(place));
    EXPECT_EQ(row.first, made.at(place).first) << "the row item at " << std::get<0>(place) << "/" << std::get<1>(place);
    EXPECT_EQ(row.second, made.at(place).second) << "its actions are the row's own";
    EXPECT_NE(row.second.find(';'), std::string::npos) << "every row item acts";
    EXPECT_EQ(row.first->m_selectMark, 0);
  }
  EXPECT_EQ(picture(), first);
  // Fewer rows: the items left over wait; more again: they come back.
  lists.messages.resize(1);
  list->CreateItemsFromZorvaList(nullptr);
  EXPECT_LT(rows().size(), made.size());
  lists.messages = {"Erstes Ereignis", "Zweites@nlEreignis", "Drittes", "Viertes"};
  list->CreateItemsFromZorvaList(nullptr);
  std::set<CItem*> before, after;
  for (const auto& [place, row] : made) before.insert(row.first);
  for (const auto& [place, row] : rows()) after.insert(row.first);
  EXPECT_EQ(after, before);
  EXPECT_EQ(picture(), first);
}

TEST_F(Lists, SavedGameNamesAreDrawnVerbatim) {
  CDialogSelectionList* list = AddList(19, 126, false);
  auto inkOfFirstRow = [&](const char* name) {
    lists.games = {name};
    list->CreateItemsFromZorvaList(nullptr);
    SDL_FillRect(surface, nullptr, 0xFFFF);
    Window(kWin)->Render(&display, &resources, -1, -1);
    int ink = 0;
    for (int y = kListY + 1; y < kListY + 17; ++y)
      for (int x = kListX + 4; x < kListX + 151; ++x) ink += Pixel(x, y) == 0;
    return ink;
  };
  const int shortName = inkOfFirstRow("MM");
  EXPECT_GT(shortName, 0);
  EXPECT_GT(inkOfFirstRow("MM@nlMM"), shortName);
  EXPECT_GT(inkOfFirstRow("MM@#var,INT,NULL,X#"), shortName);
}

// The lines page's rows show each line's riders, vehicles and headway from
// their first frame on. A text item asks its source again only every fifth
// frame, and while the mouse moves over a list its rows are made anew
// sooner than that: a row that read its figures only later showed 0 all
// the while the player looked at it.
TEST_F(Lists, LineRowsShowTheirFiguresFromTheFirstFrameWhileTheMouseMakesThemAnew) {
  COpnvLine* lines[2] = {opnv.CreateNewLine(NET_BUS), opnv.CreateNewLine(NET_BUS)};
  ASSERT_TRUE(lines[0] && lines[1]);
  lines[0]->GetData()->passengers[8] = 120;
  lines[0]->GetData()->passengers[9] = 7;
  lines[1]->GetData()->passengers[12] = 47;
  lines[1]->GetData()->headway = 15;
  lines[0]->GetData()->vehiclesNeeded = 3;
  CDialogSelectionList* list = AddList(7, 126, false);
  auto picture = [&] {
    SDL_FillRect(surface, nullptr, 0xFFFF);
    Window(kWin)->Render(&display, &resources, -1, -1);
    std::vector<uint16_t> pixels;
    for (int y = kListY; y < kListY + 2 * 18; ++y)
      for (int x = kListX; x < kListX + 300; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  };
  // The figure each row's text drew last, by the variable's name, with the
  // row's label.
  auto drawn = [&](const char* name) {
    std::map<int, std::string> labels;
    std::map<int, double> figures;
    list->GetItems()->ForEach([&](CItem* i) {
      auto* text = dynamic_cast<CItemText*>(i);
      if (!text) return;
      if (std::strncmp(text->GetText(), "Bus ", 4) == 0) labels[i->GetYPos()] = text->GetText();
      CWindowVar* var = text->GetVar();
      double v = -1;
      if (var && std::strcmp(var->GetName(), name) == 0 && var->GetValue(&v, false) == 0) figures[i->GetYPos()] = v;
    });
    std::map<std::string, double> out;
    for (const auto& [y, v] : figures) out[labels[y]] = v;
    return out;
  };
  using Figures = std::map<std::string, double>;

  list->CreateItemsFromZorvaList(nullptr);
  const std::vector<uint16_t> first = picture();
  EXPECT_EQ(drawn("OPNV.LINE.PASSENGER"), (Figures{{"Bus 1", 127}, {"Bus 2", 47}}));
  EXPECT_EQ(drawn("OPNV.LINE.TAKT"), (Figures{{"Bus 1", 30}, {"Bus 2", 15}}));
  EXPECT_EQ(drawn("OPNV.LINE.FPNEEDED"), (Figures{{"Bus 1", 3}, {"Bus 2", 0}}));
  for (int frame = 0; frame < 5; ++frame) picture();
  EXPECT_EQ(picture(), first) << "the first frame drew what the rows settle on";

  // The mouse moving over the list makes the rows anew on every move.
  lines[1]->GetData()->passengers[13] = 3;
  for (int move = 0; move < 8; ++move) {
    CDialogSelectionList::often = 0;
    Send(QNO_EVENT_MOUSEMOVE, kListX + 100 + move, kListY + 20);
    picture();
    EXPECT_EQ(drawn("OPNV.LINE.PASSENGER"), (Figures{{"Bus 1", 127}, {"Bus 2", 50}})) << "move " << move;
  }
}

// The arrows beside a line's headway on the lines page step that line's
// headway, and only that line's: the row's value editor is bound to its
// own line.
TEST_F(Lists, TheHeadwayArrowsOfALineRowStepThatLinesHeadway) {
  COpnvLine* lines[2] = {opnv.CreateNewLine(NET_BUS), opnv.CreateNewLine(NET_BUS)};
  ASSERT_TRUE(lines[0] && lines[1]);
  AddList(7, 126, false)->CreateItemsFromZorvaList(nullptr);
  auto headways = [&] { return std::pair{lines[0]->GetData()->headway, lines[1]->GetData()->headway}; };
  const auto before = headways();
  ASSERT_EQ(before.first, before.second);
  // The rows list the newest line first; each row's editor starts 68 pixels
  // in, its down arrow at its left end, its up arrow 34 pixels further.
  const int down = kListX + 68 + 4, up = kListX + 68 + 34 + 4, secondRow = kListY + 18 + 8;
  Click(up, secondRow);
  const auto raised = headways();
  EXPECT_GT(raised.first, before.first) << "the older line, in the second row";
  EXPECT_EQ(raised.second, before.second);
  Click(down, secondRow);
  Click(down, secondRow);
  const auto lowered = headways();
  EXPECT_LT(lowered.first, before.first);
  EXPECT_EQ(lowered.second, before.second);
  EXPECT_EQ(raised.first - before.first, before.first - lowered.first) << "one step each way";
}

}  // namespace
