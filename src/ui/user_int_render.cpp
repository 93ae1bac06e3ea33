// The interface's layers over the map: deferred-action notices, exhibition
// markers, the selection, the bottom panel, the open windows with the status
// line, the balloon help and the pause mark.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "gui/render_resource.h"
#include "gui/screen_window.h"
#include "gui/text_markup.h"
#include "iso/iso_tile.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"
#include "ui/str_preview.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {
constexpr int kMainScreenIds = 20;
// The cell marks of the placing tools: where the building may go, and
// where it may not.
constexpr int kSelectionTile = 1455;
constexpr int kRefusedTile = 1260;
constexpr int kStatusFont = 19671;
constexpr int kBalloonFont = 823;
constexpr int kAutoSaveNotice[2] = {49785, 50123};
constexpr int kAutoLoadNotice[2] = {49784, 50122};
constexpr int kPauseMark[2] = {49888, 50120};
constexpr uint32_t kBalloonDelay = 500;
constexpr uint32_t kBusCycle = 700, kBusShown = 500;
constexpr uint32_t kExpoOnTime = 1400, kExpoOffTime = 100;
constexpr int kPictureType = 2;

const char* const kMonat[12][2] = {
    {"Jan.", "Jan."}, {"Feb.", "Feb."}, {"M\xE4rz", "Mar."}, {"Apr.", "Apr."}, {"Mai ", "May "}, {"Jun.", "Jun."},
    {"Jul.", "Jul."}, {"Aug.", "Aug."}, {"Sep.", "Sep."}, {"Okt.", "Oct."}, {"Nov.", "Nov."}, {"Dez.", "Dec."},
};

int Language() { return CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0; }
}  // namespace

void CUserInt::DrawPicture(QnoDisplay* display, int resourceId, int x, int y) {
  CRenderResource::Render(display, GetCache(), resourceId, x, y, kPictureType);
}

int CUserInt::Render(QnoDisplay* display) {
  CUiHost* host = CUiHost::Get();
  const int width = host->GetScreenWidth(), height = host->GetScreenHeight();
  const int language = Language();
  if (selObj.countdown > 0) {
    if (selObj.doLater == DOLATER_AUTOSAVE)
      DrawPicture(display, kAutoSaveNotice[language], width / 2, height / 2);
    else if (selObj.doLater == DOLATER_AUTOLOAD)
      DrawPicture(display, kAutoLoadNotice[language], width / 2, height / 2);
    --selObj.countdown;
  }
  const bool expo = host->GetGameModus() == 3;
  if (expo) host->RenderExpoMarkers(display, host->GetExpoModus(), m_ExpoShow);
  if (m_ActivateDebugInfo) RenderDebugInfo(display);
  // The marks under what a placing tool holds show the verdict its click
  // would get.
  const bool placing = selObj.tool >= 5 && (selObj.tool <= 8 || selObj.tool == 14);
  int px = selObj.startX, py = selObj.startY, dir = 0;
  selObj.placeRefused = placing && selObj.startX != -1 && ToolPlaceRefusal(px, py, dir) != 0 ? 1 : 0;
  CIsoTile* marker = CIsoTile::Get(GetCache(), selObj.placeRefused ? kRefusedTile : kSelectionTile);
  if (!selObj.overPanel && m_pIsoWelt && selObj.startX != -1) m_pIsoWelt->RenderSelection(&selObj, marker);
  if (selObj.streetDrag && m_pStrPreviewRect) m_pStrPreviewRect->Render(display, GetCache());
  if (selObj.panelShown) {
    if (m_pSmallMap) {
      m_pSmallMap->DisplayHideMap(DISPLAY_SHOW);
      m_pSmallMap->Render(display);
    }
    RenderBusListOverSmallMap(display);
    if (expo) {
      const uint32_t now = kfx_GetTicks();
      const uint32_t hold = m_ExpoShow ? kExpoOnTime : kExpoOffTime;
      if (now - m_ExpoTime > hold) {
        m_ExpoShow = !m_ExpoShow;
        m_ExpoTime = now;
      }
      if (m_ExpoShow && m_pSmallMap)
        host->RenderExpoMarkersSmallMap(display, host->GetExpoModus(), m_pSmallMap->GetWindowPosX(),
                                        m_pSmallMap->GetWindowPosY());
    }
  }
  if (m_ActivateDebugInfo) RenderDebugInfoFront(display);
  RenderWindow(display);
  if (m_ActivateDebugInfo) RenderDebugNotice(display, language);
  Overlay::Render(display);
  RenderBalloonHelp(display);
  if (host->IsGameStarted() && (selObj.pause || host->GetExpoHold() != 0))
    DrawPicture(display, kPauseMark[language], 73, 15);
  return 0;
}

int CUserInt::RenderWindow(QnoDisplay* display) {
  if (!m_pRenderList) return 0;
  bool statusDrawn = false;
  for (CZorvaPointer* n = m_pRenderList->GetTailZorvaPointer(); n; n = n->GetPrevZorvaPointer()) {
    CScreenWindow* w = static_cast<CScreenWindow*>(n->GetZorvaObject());
    if (w->GetID() >= kMainScreenIds && !statusDrawn) {
      statusDrawn = true;
      if (selObj.panelShown) RenderStatusLayer(display);
    }
    if (w->GetLink() && w->GetHinweisWindow() == 1) {
      w = topWindow ? topWindow->GetWindowByID(w->GetLink()) : nullptr;
      if (!w) continue;
    }
    if (w->GetID() < kMainScreenIds && !selObj.panelShown) continue;
    w->Render(display, GetCache(), -1, -1);
  }
  if (!statusDrawn && selObj.panelShown) RenderStatusLayer(display);
  return 0;
}

void CUserInt::RenderStatusLayer(QnoDisplay* display) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return;
  CUiHost* host = CUiHost::Get();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kStatusFont);
  const int width = host->GetScreenWidth(), height = host->GetScreenHeight();
  const int language = Language();
  const int colour = static_cast<int>(buffer->GetClosestColor(173, 179, 195));
  const int y = height - 43;
  char text[64];
  if (font) {
    // The account as the data exchange reads it: 0 while no object answers
    // for it. Values outside what the line can show are held at its edges.
    double money = 0;
    if (!host->GetMoney(&money) || std::isnan(money)) money = 0;
    if (money > 9.9e14) money = 9.9e14;
    if (money < -9.9e14) money = -9.9e14;
    snprintf(text, sizeof text, "%.0f", money);
    CTextMarkup::InsertTausenderPunkt(text, sizeof text, language);
    buffer->RenderText(font, width - 355, y, text, colour);

    buffer->RenderText(font, width - 252, y, language == 1 ? "Pop:" : "Ew:", colour);
    snprintf(text, sizeof text, "%i", host->GetPeople());
    CTextMarkup::InsertTausenderPunkt(text, sizeof text, language);
    buffer->RenderText(font, width - 218, y, text, colour);
    int month = 0, year = 0;
    host->GetDate(&month, &year);
    if (month < 0 || month > 11) month = 0;
    snprintf(text, sizeof text, "%s %d", kMonat[month][language], year + 1999);
    buffer->RenderText(font, width - 79, y, text, colour);
  }
  host->RenderIndikatoren(display);
  if (font && host->GetGameModus() != 3)
    if (const char* ticker = host->GetTickerText()) buffer->RenderText(font, width - 377, height - 21, ticker, colour);
}

int CUserInt::RenderBusListOverSmallMap(QnoDisplay* display) {
  const uint32_t now = kfx_GetTicks();
  if (now - m_BusCycleStart > kBusCycle) m_BusCycleStart = now;
  if (now - m_BusCycleStart > kBusShown || !m_pSmallMap || !m_pBusList) return 0;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 0;
  const uint32_t green = buffer->GetClosestColor(0, 255, 0), red = buffer->GetClosestColor(255, 0, 0);
  const int mapX = m_pSmallMap->GetWindowPosX(), mapY = m_pSmallMap->GetWindowPosY();
  const int mapHeight = m_pSmallMap->GetHeight();
  for (CZorvaPointer* n = m_pBusList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    auto* bus = dynamic_cast<CIsoVehicle*>(n->GetZorvaObject());
    int tx = -1, ty = -1;
    if (!bus || !bus->GetIsoXYPos(tx, ty) || tx < 0 || tx > 127 || ty < 0 || ty > 127) continue;
    int sx = 0, sy = 0;
    m_pSmallMap->IsoKoorToScreenKoor(tx, ty, &sx, &sy);
    buffer->FillRect(mapX + sx, mapY + mapHeight - sy - 1, mapX + sx + 2, mapY + mapHeight - sy + 1,
                     bus->GetOpnvLine() ? green : red);
  }
  return 0;
}

int CUserInt::RenderBalloonHelp(QnoDisplay* display) {
  if (!m_BalloonText) return 0;
  m_BalloonSeenTime = kfx_GetTicks();
  if (m_BalloonSeenTime - m_BalloonSetTime <= kBalloonDelay) return 0;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 0;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kBalloonFont);
  const int language = Language();
  char costLine[64] = {};
  int boxHeight = 16;
  if (m_BalloonCost != -1) {
    char number[32];
    snprintf(number, sizeof number, "%d", m_BalloonCost);
    CTextMarkup::InsertTausenderPunkt(number, sizeof number, language);
    snprintf(costLine, sizeof costLine, language == 1 ? "cost: %s " : "Kosten: %s ", number);
    boxHeight = 32;
  }
  int textWidth = font ? buffer->GetTextLength(font, m_BalloonText) : 0;
  if (costLine[0] && font) {
    const int costWidth = buffer->GetTextLength(font, costLine);
    if (costWidth > textWidth) textWidth = costWidth;
  }
  if (textWidth == 0) textWidth = 8 * static_cast<int>(strlen(m_BalloonText));
  int left = m_BalloonX;
  if (left + textWidth >= buffer->GetWidth()) left -= textWidth;
  const int top = m_BalloonY;
  buffer->FillRect(left, top, left + textWidth + 8, top + boxHeight, 65535);
  buffer->FrameRect(left, top, left + textWidth + 8, top + boxHeight, 0);
  if (font) {
    buffer->RenderText(font, left + 4, top, m_BalloonText, 0);
    if (costLine[0]) buffer->RenderText(font, left + 4, top + 16, costLine, 0);
  }
  return 0;
}
