// What the indicator group's windows ask of the world: the statistics'
// series, groups, paging and zoom for the chart page and its panels, and
// god mode's switches for the master-mode pages.
#include "model/gott_modus.h"
#include "model/statistik.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

bool CZorGuiHost::IsGottWertActive(int n) {
  CGottModus* god = m_world.GetGottModus();
  return god && god->IsGottWertActive(n);
}

void CZorGuiHost::ToggleGottWertActive(int n) {
  if (CGottModus* god = m_world.GetGottModus()) god->ToggleGottWertActive(n);
}

void CZorGuiHost::SetGottActive() {
  if (CGottModus* god = m_world.GetGottModus()) god->SetGottActive();
}

bool CZorGuiHost::IsStatSeriesShown(int series) {
  CStatistik* s = m_world.GetStatistik();
  return s && series >= 0 && series < CStatistik::kSeries && s->GetSeries(series).shown != 0;
}

int CZorGuiHost::GetStatKmOrTrip() {
  CStatistik* s = m_world.GetStatistik();
  return s && s->IsKm() ? 1 : 0;
}

bool CZorGuiHost::GetStatChartSwitch() {
  CStatistik* s = m_world.GetStatistik();
  return s && s->IsZoom();
}

int CZorGuiHost::GetStatSelectedChart() {
  CStatistik* s = m_world.GetStatistik();
  return s ? s->GetShownSlots() : 0;
}

int CZorGuiHost::GetStatView() {
  CStatistik* s = m_world.GetStatistik();
  return s ? s->GetGruppe() : 0;
}

void CZorGuiHost::ChangeStatistikGruppe(int group) {
  if (CStatistik* s = m_world.GetStatistik()) s->ChangeGruppe(group);
}

void CZorGuiHost::StatToggle(int series) {
  if (CStatistik* s = m_world.GetStatistik()) s->Toggle(series);
}

void CZorGuiHost::StatYearMax(int quarters) {
  // Only a range the thirty recordings can fill.
  if (quarters < 1 || quarters > CStatistik::kSlots) return;
  if (CStatistik* s = m_world.GetStatistik()) s->YearMax(quarters);
}

void CZorGuiHost::StatYearStep(int delta) {
  CStatistik* s = m_world.GetStatistik();
  if (!s) return;
  if (delta > 0)
    s->YearPlus();
  else if (delta < 0)
    s->YearMinus();
}

void CZorGuiHost::StatGroupAll(bool on) {
  CStatistik* s = m_world.GetStatistik();
  if (!s) return;
  if (on)
    s->GruppeAlleAn();
  else
    s->GruppeAlleAus();
}

void CZorGuiHost::StatClearScroll() {
  // Back to the newest recording: a quarter later until there is none.
  CStatistik* s = m_world.GetStatistik();
  for (int n = 0; s && s->GetOffset() > 0 && n < CStatistik::kSlots; ++n) s->YearPlus();
}

void CZorGuiHost::SetStatChartSwitch(bool on) {
  CStatistik* s = m_world.GetStatistik();
  if (!s) return;
  if (on)
    s->ZoomIn();
  else
    s->ZoomOut();
}

void CZorGuiHost::SetStatKmOrTrip(bool km) {
  if (CStatistik* s = m_world.GetStatistik()) s->SetKmOrWege(km);
}

void CZorGuiHost::RenderStatistik(QnoDisplay* display, int x, int y, int w, int h) {
  if (CStatistik* s = m_world.GetStatistik()) s->RenderStatistik(display, m_world.GetResourceManager(), x, y, w, h);
}
