// The statistics page 142 under the indicator group: the chart, its range,
// zoom and paging buttons, the tabs of the seven series panels, and the
// panels 147 to 153 whose buttons switch single series of the chart.
#include <initializer_list>

#include "windows/window_add_indikatoren.h"
#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

// A series button: picture, series number and balloon text.
struct SeriesButton {
  int x, y, w, de, en, series, balloon;
};

// The balloon texts of the rating series 44 to 56, each its own.
constexpr int kRatingBalloonFirst = 233;

void Panel(CWindowBuilder& b, CWindowRows& r, int id) {
  r.Window(id, 60, 191, 316, 103, kStatistikPage, WINDOW_NORMAL);
  if (id != kSeriesPanels[0]) b.DeActivateWindow(kIndikatorPage);
}

void AddButtons(CWindowRows& r, std::initializer_list<SeriesButton> buttons) {
  for (const SeriesButton& s : buttons) {
    r.Picture(s.x, s.y, s.w, 13, 13, s.de, s.en);
    r.Hover();
    r.Press(55, s.series);
    r.Balloon(s.balloon);
  }
}

void AddChartPage(CWindowBuilder& b, CWindowRows& r) {
  r.Window(kStatistikPage, 51, 21, 439, 303, kIndikatorGroup, WINDOW_NORMAL);
  b.DeActivateWindow(kIndikatorPage);
  r.Picture(92, 49, 253, 115, 21, CWindowRows::kNone);
  const struct {
    int x, w, panel;
  } tabs[] = {{60, 57, 147}, {111, 31, 152}, {148, 35, 151}, {183, 42, 153},
              {225, 49, 150}, {274, 41, 149}, {315, 61, 148}};
  for (const auto& t : tabs) {
    r.HotArea(t.x, 191, t.w, 15);
    r.Press(56, t.panel);
  }
  // The ranges of 5, 10 and 30 quarters, each pressed while it is shown.
  const struct {
    int y, de, en, quarters, balloon;
  } ranges[] = {{41, 37443, 50743, 5, 126}, {55, 37445, 50742, 10, 127}, {69, 37446, 50745, 30, 128}};
  for (const auto& q : ranges) {
    r.Picture(11, q.y, 49, 13, 13, q.de, q.en);
    r.Hover();
    r.Press(57, q.quarters);
    r.Act(90, WHEN_TURN, INOUT_ALWAYS, q.quarters);
    r.Balloon(q.balloon);
  }
  r.Picture(11, 86, 49, 13, 13, 37455);
  r.Hover();
  r.Press(63);
  r.Act(91, WHEN_TURN, INOUT_ALWAYS, 30);
  r.Balloon(129);
  const struct {
    int x, y, w, h, de, en, kind, balloon;
  } controls[] = {{391, 169, 31, 14, 37456, 50747, 58, 130}, {47, 168, 16, 16, 37449, 0, 62, 131},
                  {372, 168, 16, 16, 37448, 0, 61, 132},     {4, 208, 54, 13, 37447, 50746, 59, 133},
                  {4, 223, 54, 13, 37444, 50744, 60, 134}};
  for (const auto& c : controls) {
    if (c.en)
      r.Picture(c.x, c.y, c.w, c.h, 13, c.de, c.en);
    else
      r.Picture(c.x, c.y, c.w, c.h, 13, c.de);
    r.Hover();
    r.Press(c.kind);
    r.Balloon(c.balloon);
  }
  r.Picture(0, 0, 439, 303, 2, 35899, 50104);
}

}  // namespace

}  // namespace zorwin

using namespace zorwin;

int CZorvaWindows::WindowAddStatistik() {
  CWindowRows r(m_builder);
  CWindowBuilder& b = m_builder;
  AddChartPage(b, r);

  Panel(b, r, 147);
  AddButtons(r, {{9, 24, 94, 37357, 50667, 0, 135},   {9, 38, 94, 37359, 50671, 1, 136},
                 {9, 52, 94, 37360, 50665, 2, 137},   {9, 66, 94, 37361, 50670, 3, 138},
                 {111, 24, 94, 37362, 50674, 4, 139}, {111, 38, 94, 37363, 50676, 5, 140},
                 {111, 52, 94, 37364, 50673, 6, 141}, {111, 66, 94, 37365, 50678, 7, 142},
                 {213, 24, 94, 37366, 50668, 8, 143}, {213, 38, 94, 37367, 50666, 9, 144},
                 {213, 52, 94, 44162, 50677, 12, 145}});
  r.Picture(0, 0, 316, 103, 2, 37324, 50783);
  b.ActivateWindow(kIndikatorPage);

  Panel(b, r, 152);
  AddButtons(r, {{39, 24, 114, 37407, 50728, 13, 146},  {39, 38, 114, 37406, 50722, 14, 147},
                 {39, 52, 114, 49712, 50723, 15, 148},  {39, 66, 114, 37409, 50724, 16, 149},
                 {159, 24, 114, 37408, 50727, 17, 150}, {159, 38, 114, 37410, 50725, 18, 151},
                 {159, 52, 114, 37411, 50726, 19, 152}, {159, 66, 114, 37412, 50721, 20, 153}});
  r.Picture(0, 0, 316, 103, 2, 37323, 50788);

  Panel(b, r, 151);
  AddButtons(r, {{39, 24, 114, 37397, 50717, 21, 154},  {39, 38, 114, 37401, 50719, 22, 155},
                 {39, 52, 114, 39494, 50718, 23, 156},  {39, 66, 114, 37405, 50716, 24, 157},
                 {159, 24, 114, 37404, 50715, 25, 158}, {159, 38, 114, 37402, 50775, 26, 159},
                 {159, 52, 114, 37403, 50720, 27, 160}});
  r.Picture(0, 0, 316, 103, 2, 37322, 50787);

  Panel(b, r, 153);
  AddButtons(r, {{39, 38, 114, 37389, 50738, 28, 161},
                 {39, 52, 114, 37390, 50737, 29, 162},
                 {39, 66, 114, 37391, 50735, 30, 163},
                 {39, 80, 114, 37392, 50731, 31, 164}});
  // The modal split by kilometres or by trips, pressed for its setting.
  const struct {
    int x, de, en, km, balloon;
  } views[] = {{59, 49819, 50732, 1, 165}, {96, 49820, 50741, 0, 166}};
  for (const auto& v : views) {
    r.Picture(v.x, 20, 37, 13, 13, v.de, v.en);
    r.Hover();
    r.Press(137, v.km);
    r.Act(136, WHEN_TURN, INOUT_ALWAYS, v.km);
    r.Balloon(v.balloon);
  }
  AddButtons(r, {{159, 80, 114, 37393, 50729, 32, 167},
                 {159, 24, 114, 39486, 50734, 33, 168},
                 {159, 38, 114, 37394, 50733, 34, 169},
                 {159, 52, 114, 37395, 50740, 35, 170},
                 {159, 66, 114, 37396, 50739, 36, 171}});
  r.Picture(0, 0, 316, 103, 2, 37321, 50789);

  Panel(b, r, 150);
  AddButtons(r, {{39, 24, 114, 37370, 50708, 37, 172},  {39, 38, 114, 39487, 50713, 43, 173},
                 {39, 52, 114, 37372, 50712, 39, 174},  {159, 24, 114, 37373, 50707, 40, 175},
                 {159, 38, 114, 37374, 50711, 41, 176}, {159, 52, 114, 37375, 50709, 42, 177}});
  r.Picture(0, 0, 316, 103, 2, 37320, 50786);

  Panel(b, r, 149);
  const int ratings[][4] = {{9, 24, 37413, 50698},   {9, 38, 37414, 50702},   {9, 52, 37415, 50705},
                            {9, 66, 37426, 50694},   {9, 80, 37418, 50695},   {111, 24, 37416, 50693},
                            {111, 38, 37417, 50699}, {111, 52, 50851, 50852}, {111, 66, 37419, 50700},
                            {111, 80, 37420, 50697}, {213, 24, 37421, 50696}, {213, 38, 37422, 50701},
                            {213, 52, 37423, 50706}};
  for (int k = 0; k < 13; ++k)
    AddButtons(r, {{ratings[k][0], ratings[k][1], 94, ratings[k][2], ratings[k][3], 44 + k, kRatingBalloonFirst + k}});
  AddButtons(r, {{213, 66, 94, 39569, 50703, 57, 179}, {213, 80, 94, 39570, 50704, 58, 180}});
  r.Picture(0, 0, 316, 103, 2, 37319, 50785);

  Panel(b, r, 148);
  AddButtons(r, {{9, 24, 94, 37376, 50683, 59, 181},    {9, 38, 94, 37377, 50684, 60, 182},
                 {9, 52, 94, 37379, 50690, 61, 183},    {9, 66, 94, 37380, 50681, 62, 184},
                 {111, 24, 81, 37381, 50680, 63, 185},  {111, 38, 81, 37382, 50687, 64, 186},
                 {111, 52, 81, 37384, 50689, 65, 187},  {111, 66, 81, 37383, 50682, 66, 188},
                 {200, 24, 107, 37432, 50692, 67, 189}, {200, 38, 107, 37386, 50679, 68, 190},
                 {200, 52, 107, 37387, 50688, 69, 191}, {200, 66, 107, 37388, 50686, 70, 192}});
  r.Picture(0, 0, 316, 103, 2, 37318, 50784);
  return 0;
}
