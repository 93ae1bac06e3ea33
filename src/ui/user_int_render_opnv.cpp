// Public-transport lines drawn into the map: each line's route as a band of
// five pixel lines in its colour along the street pieces it runs on, and
// its stops as markers with their number in the line.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_sprite.h"
#include "framework/zor_pointer_list.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "ui/user_int.h"

namespace {

constexpr int kStopMarker = 28320;
constexpr int kStopMarkerFar = 28321;
constexpr int kStopFont = 823;
constexpr int kBandLines = 5;

// One street piece a line runs over, its end tiles in driving order, and
// the type of its street.
struct RoutePiece {
  int x1, y1, x2, y2;
  int type;
};

bool Holds(const RoutePiece& p, int x, int y) {
  const auto [xa, xb] = std::minmax(p.x1, p.x2);
  const auto [ya, yb] = std::minmax(p.y1, p.y2);
  return x >= xa && x <= xb && y >= ya && y <= yb;
}

// The pieces of a street in the direction of the directed street id.
std::vector<RoutePiece> PiecesOf(CStrStrasse* street, short id) {
  std::vector<RoutePiece> pieces;
  street->SetupStrassenTeilCount(id);
  RoutePiece p{};
  p.type = static_cast<TStrassenType>(street->GetStreetType());
  while (street->GetNextStrassenTeil(&p.x1, &p.y1, &p.x2, &p.y2, id)) pieces.push_back(p);
  return pieces;
}

CSecondLayerObject* StopAt(const LineDataType* d, int i) { return static_cast<CSecondLayerObject*>(d->stopObjects[i]); }

// The tile of the street under a stop, or the stop's own tile.
void StopTile(CSecondLayerObject* stop, int& x, int& y) {
  x = y = -1;
  if (!stop->GetStreet(&x, &y) || x < 0 || y < 0) {
    x = stop->GetXPos();
    y = stop->GetYPos();
  }
}

// The index of the first piece holding the tile; -1 when none does.
int PieceHolding(const std::vector<RoutePiece>& pieces, int x, int y) {
  for (size_t i = 0; i < pieces.size(); ++i)
    if (Holds(pieces[i], x, y)) return static_cast<int>(i);
  return -1;
}

QnoRenderBuffer* BufferOf(QnoDisplay* display) { return display ? display->GetRenderBuffer() : nullptr; }

}  // namespace

void CUserInt::RenderOpnvNet(QnoDisplay* display) {
  COpnv* opnv = COpnv::Get();
  QnoRenderBuffer* buffer = BufferOf(display);
  if (!opnv || !buffer) return;
  std::vector<COpnvLine*> lines;
  for (COpnvNet* net : {opnv->GetBusNet(), opnv->GetTramNet()}) {
    CZorvaList* list = net ? net->GetList() : nullptr;
    for (CZorvaPointer* n = list ? list->GetHeadZorvaPointer() : nullptr; n; n = n->GetNextZorvaPointer())
      lines.push_back(static_cast<COpnvLine*>(n->GetZorvaObject()));
  }
  for (COpnvLine* line : lines) {
    unsigned char r = 0, g = 0, b = 0;
    line->GetColor(r, g, b);
    RenderOpnvLineStreet(display, line, static_cast<unsigned short>(buffer->GetClosestColor(r, g, b)));
  }
  for (COpnvLine* line : lines) RenderOpnvLineHst(display, line);
}

void CUserInt::RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) {
  if (!line || !BufferOf(display) || !m_pIsoWelt) return;
  const LineDataType* d = line->GetData();
  if (d->streetsOneWay == 0 || d->stopsOneWay == 0) return;
  if (d->streetsOneWay == 1) {
    RenderOpnvLineOneStreet(display, line, colour);
    return;
  }
  // Every street first: a line that lost one is routed again from its
  // stops and drawn from the next frame on.
  std::vector<std::pair<short, CStrStrasse*>> streets;
  line->SetupStreetCount();
  CStrStrasse* street = nullptr;
  while (const short id = line->GetNextStreet(&street)) {
    if (!street) {
      line->MakeStreetListFromHst();
      return;
    }
    streets.emplace_back(id, street);
  }
  int firstX = -1, firstY = -1, lastX = -1, lastY = -1;
  if (CSecondLayerObject* first = StopAt(d, 0)) StopTile(first, firstX, firstY);
  if (CSecondLayerObject* last = StopAt(d, d->stopsOneWay - 1)) StopTile(last, lastX, lastY);
  for (size_t k = 0; k < streets.size(); ++k) {
    const std::vector<RoutePiece> pieces = PiecesOf(streets[k].second, streets[k].first);
    size_t from = 0, to = pieces.size();
    if (k == 0) {
      const int i = PieceHolding(pieces, firstX, firstY);
      from = i < 0 ? pieces.size() : static_cast<size_t>(i);
    }
    if (k + 1 == streets.size()) {
      const int i = PieceHolding(pieces, lastX, lastY);
      if (i >= 0) to = static_cast<size_t>(i) + 1;
    }
    for (size_t i = from; i < to; ++i) {
      const RoutePiece& p = pieces[i];
      RenderOpnvPiece(display, p.x1, p.y1, p.x2, p.y2, p.type, line->GetID(), colour);
    }
  }
}

void CUserInt::RenderOpnvLineOneStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) {
  const LineDataType* d = line->GetData();
  if (d->stopsOneWay < 2) return;
  line->SetupStreetCount();
  CStrStrasse* street = nullptr;
  const short id = line->GetNextStreet(&street);
  if (!street) {
    line->MakeStreetListFromHst();
    return;
  }
  CSecondLayerObject* first = StopAt(d, 0);
  CSecondLayerObject* last = StopAt(d, d->stopsOneWay - 1);
  if (!first || !last) return;
  int x = -1, y = -1;
  const std::vector<RoutePiece> pieces = PiecesOf(street, id);
  StopTile(first, x, y);
  const int a = PieceHolding(pieces, x, y);
  StopTile(last, x, y);
  const int b = PieceHolding(pieces, x, y);
  if (a < 0 || b < 0) return;
  const auto [from, to] = std::minmax(a, b);
  for (int i = from; i <= to; ++i) {
    const RoutePiece& p = pieces[static_cast<size_t>(i)];
    RenderOpnvPiece(display, p.x1, p.y1, p.x2, p.y2, p.type, line->GetID(), colour);
  }
}

void CUserInt::RenderOpnvPiece(QnoDisplay* display, int x1, int y1, int x2, int y2, int type, int lineId,
                               unsigned short colour) {
  QnoRenderBuffer* buffer = BufferOf(display);
  if (!buffer || !m_pIsoWelt) return;
  const int zoom = IsoZoomIndex();
  const int tx = Tile_Size_XDiv2[zoom], ty = Tile_Size_YDiv2[zoom];
  int ax = 0, ay = 0, bx = 0, by = 0;
  m_pIsoWelt->CalcIsoToXY(static_cast<short>(x1), static_cast<short>(y1), &ax, &ay);
  m_pIsoWelt->CalcIsoToXY(static_cast<short>(x2), static_cast<short>(y2), &bx, &by);
  const int ox = m_pIsoWelt->GetOriginX() + m_pIsoWelt->GetPixelOffsetX();
  const int oy = m_pIsoWelt->GetOriginY() + m_pIsoWelt->GetPixelOffsetY();
  ax += ox, bx += ox, ay += oy, by += oy;
  // Streets and track run through the tiles' centres; other pieces (bends,
  // bridges) through the middle of their side.
  int dx = 0, dy = ty;
  if (type != STRASSE_1 && type != STRASSE_2 && type != STRASSE_VIERSPURIG && type != STRASSE_SCHIENE) {
    const bool rising = (bx - ax) * (by - ay) < 0;
    dx = rising ? tx / 2 : -(tx / 2);
    dy = ty + ty / 2;
  }
  // Up to three lines on one street lie side by side.
  const int side = (lineId % 3) * 2 - 2;
  ax += dx + side, bx += dx + side;
  ay += dy - 2 + side, by += dy - 2 + side;
  if (bx < ax) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  for (int i = 0; i < kBandLines; ++i) CIsoSprite::Line(buffer, ax, ay + i, bx, by + i, colour);
}

void CUserInt::RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line) {
  QnoRenderBuffer* buffer = BufferOf(display);
  if (!line || !buffer || !m_pIsoWelt) return;
  const LineDataType* d = line->GetData();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kStopFont);
  const int zoom = IsoZoomIndex();
  const int marker = g_ZoomStufe == 4 ? kStopMarkerFar : kStopMarker;
  const int ox = m_pIsoWelt->GetOriginX() + m_pIsoWelt->GetPixelOffsetX();
  const int oy = m_pIsoWelt->GetOriginY() + m_pIsoWelt->GetPixelOffsetY() + Tile_Size_YDiv2[zoom];
  char text[64];
  for (int i = 0; i < d->stopsOneWay; ++i) {
    CSecondLayerObject* stop = StopAt(d, i);
    if (!stop) continue;
    int x = 0, y = 0;
    m_pIsoWelt->CalcIsoToXY(static_cast<short>(stop->GetXPos()), static_cast<short>(stop->GetYPos()), &x, &y);
    x += ox, y += oy;
    DrawPicture(display, marker, x, y);
    snprintf(text, sizeof text, "%i", i);
    if (font) buffer->RenderText(font, x - buffer->GetTextLength(font, text) / 2, y - font->GetHeight() / 2, text, 0);
    if (m_ActivateDebugInfo && font) {
      snprintf(text, sizeof text, "Nr/HstID/StreetID: %i/%i/%i", i, d->stopIds[i], d->stopStreetIds[i]);
      buffer->RenderText(font, 150, 12 + 20 * i, text, 0);
    }
  }
}
