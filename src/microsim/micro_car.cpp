#include "microsim/micro_car.h"

#include <cassert>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_sprite.h"
#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "microsim/micro_host.h"
#include "worldbase/zor_world_host.h"

namespace {

constexpr CCar::SpriteTable MakeSpriteTable() {
  CCar::SpriteTable t{};
  for (int k = 0; k < CCar::kKinds; ++k)
    for (int c = 0; c < CCar::kColumns; ++c)
      for (int e = 0; e < CCar::kDirections; ++e) t[k][c][e] = zorveh::VehicleSpriteId(k, c, e);
  return t;
}

// Column 0 at zoom level 1, column 1 at the other levels.
int ZoomColumn() { return g_ZoomStufe == ISO_ZOOM_1 ? 0 : 1; }

}  // namespace

constexpr CCar::SpriteTable CCar::m_SpriteResID = MakeSpriteTable();

CCar::CCar() { CMicroSimHost::Get()->AddCar(this); }

CCar::~CCar() { ResetIsoXYSecond(); }

int CCar::CreateCar(BinaryMicroSimObject* cell) {
  m_CarSizeType = 0;
  if (GetCarResID() != 0) return 1;
  m_Life = kLife;
  m_pZelle = cell;
  return 0;
}

bool CCar::NextPicture(SMicroCarPicture& pic) {
  return CMicroSimHost::Get()->GetNextCarPicture(pic) && pic.sprite >= 0 && pic.sprite < kKinds;
}

int CCar::GetCarResID() {
  m_SpriteKind = -1;
  SMicroCarPicture pic;
  if (!CMicroSimHost::Get()->GetNextCarPicture(pic)) return 1;
  m_ResID = pic.resId;
  m_OffX1 = pic.offsets[0];
  m_OffY1 = pic.offsets[1];
  m_OffX = pic.offsets[2];
  m_OffY = pic.offsets[3];
  m_CarSizeType = pic.sizeType;
  // A kind outside the table has no sprite: the car is not made.
  if (pic.sprite < 0 || pic.sprite >= kKinds) return 1;
  m_SpriteKind = pic.sprite;
  return 0;
}

int CCar::Destroy() {
  ResetIsoXYSecond();
  CMicroSimHost::Get()->RemoveCar(this);
  m_pZelle = nullptr;
  return CWorldObj::Destroy();
}

void CCar::Discard(CCar* car) {
  car->SetMicroSimObject(nullptr);
  car->Destroy();
  delete car;
}

void CCar::SetScreenXYPos(int x, int y, int x2, int y2) {
  m_ScreenX = x;
  m_ScreenY = y;
  if (x2 != -1) m_ScreenX2 = x2;
  if (y2 != -1) m_ScreenY2 = y2;
}

void CCar::GetScreenXYPos(int& x, int& y, int& x2, int& y2) const {
  x = m_ScreenX;
  y = m_ScreenY;
  x2 = m_ScreenX2;
  y2 = m_ScreenY2;
}

void CCar::SetMicroSimObject(BinaryMicroSimObject* cell) {
  m_pZelle = cell;
  if (!cell) ResetIsoXYSecond();
}

void CCar::PassToCell(BinaryMicroSimObject* cell) {
  assert(IsAuto());
  CCar::ResetIsoXYSecond();
  m_pZelle = cell;
}

int CCar::GetLifeTimeLeft() {
  m_Life -= static_cast<int32_t>(CMicroSimHost::Get()->GetFrameTime());
  return m_Life;
}

void CCar::SetIsoXYSecond(int x, int y, int slot) {
  ResetIsoXYSecond();
  CIsoVehicle::SetIsoXYSecond(x, y, slot);
}

void CCar::ResetIsoXYSecond() {
  if (IsoInMap(m_SecondX, m_SecondY) && m_SecondSlot >= 0 && m_SecondSlot < 4) {
    CIsoVehicle*& slot = CIsoWelt::m_CarSecondRender[m_SecondX][m_SecondY][m_SecondSlot];
    if (slot == this) slot = nullptr;
  }
  CIsoVehicle::ResetIsoXYSecond();
}

uint32_t CCar::SpriteID(int dir) const {
  if (m_SpriteKind < 0 || m_SpriteKind >= kKinds || dir < 0 || dir >= kDirections) return 0;
  return m_SpriteResID[m_SpriteKind][ZoomColumn()][kDirections - 1 - dir];
}

void CCar::Render(QnoDisplay* display, int dir, int x, int y) {
  const uint32_t id = SpriteID(dir);
  if (id == 0 || !display) return;
  const void* sprite = CIsoSprite::FromResource(CMicroSimHost::Get()->GetResources(), id);
  if (!sprite) {
    QNO_ERROR(QNO_SEV_FATAL, "Can't load Sprite %d\n", static_cast<int>(id));
    return;
  }
  const int zoom = static_cast<int>(g_ZoomStufe);
  const int w = static_cast<int>(CIsoSprite::GetWidth(sprite)), h = static_cast<int>(CIsoSprite::GetHeight(sprite));
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  const int left = x + GetOffX(zoom) - w / 2, top = y + GetOffY(zoom) - h / 2;
  CIsoSprite::RenderClipped(buffer, sprite, left, top);
  if (buffer) m_Drawn = Drawn{sprite, left, top, buffer->MarkDrawing()};
}

void CCar::RenderSecondPosition(QnoDisplay* display, int x, int y) {
  const uint32_t id = SpriteID(m_Richtung);
  if (id == 0 || !display) return;
  const void* sprite = CIsoSprite::FromResource(CMicroSimHost::Get()->GetResources(), id);
  if (!sprite) return;
  const int zoom = static_cast<int>(g_ZoomStufe), zi = zoom / 2;
  const int w = static_cast<int>(CIsoSprite::GetWidth(sprite)), h = static_cast<int>(CIsoSprite::GetHeight(sprite));
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  const int left = m_ScreenX + GetOffX(zoom) - w / 2, top = m_ScreenY + GetOffY(zoom) - h / 2;
  const QnoBox box = CIsoSprite::IsoClippedBox(buffer, sprite, left, top, x, y, Tile_Size_X[zi], Tile_Size_Y[zi]);
  // About half the cars listed at a tile reach none of its pixels.
  if (box.left >= box.right || box.top >= box.bottom) return;
  // The same sprite at the same place as its first draw in this frame,
  // with nothing drawn over it since inside the tile: drawing it again
  // would write the pixels it holds.
  if (m_Drawn.sprite == sprite && m_Drawn.x == left && m_Drawn.y == top &&
      buffer->RedrawChangesNothing(m_Drawn.mark, box)) {
    ++s_PassedSecondDraws;
    return;
  }
  CIsoSprite::RenderIsoClipped(buffer, sprite, left, top, x, y, Tile_Size_X[zi], Tile_Size_Y[zi], box);
}

// ------------------------------------------------------------ line vehicles

CMicroOpnv::CMicroOpnv() : m_BusNr(++busNr) { CMicroSimHost::Get()->AddBus(this); }

CMicroOpnv::~CMicroOpnv() {
  CMicroSimHost::Get()->RemoveBus(this);
  LeaveLine();
}

int CMicroOpnv::Create(COpnvLine* line, int index) {
  SetOpnvLine(line, index);
  return CreateCar(nullptr);
}

void CMicroOpnv::LeaveLine() {
  if (!m_pLine) return;
  CMicroSimHost::Get()->VehicleDestroyed(this);
  m_pLine = nullptr;
}

int CMicroOpnv::Destroy() {
  LeaveLine();
  m_IsoX = m_IsoY = m_ScreenX = m_ScreenY = m_ScreenX2 = m_ScreenY2 = -1;
  return CCar::Destroy();
}

int CMicroOpnv::GetCarResID() {
  struct Row {
    int resId, sprite;
  };
  static constexpr Row kRows[] = {{zorveh::VEHICLE_PICTURE_BUS, zorveh::VEHICLE_KIND_BUS},
                                  {zorveh::VEHICLE_PICTURE_BUS_LOWFLOOR, zorveh::VEHICLE_KIND_BUS_LOWFLOOR},
                                  {zorveh::VEHICLE_PICTURE_BUS_H2, zorveh::VEHICLE_KIND_BUS_H2},
                                  {zorveh::VEHICLE_PICTURE_BUS_ELECTRIC, zorveh::VEHICLE_KIND_BUS_ELECTRIC}};
  m_CarSizeType = 3;
  m_OffX1 = m_OffX = 0;
  m_OffY1 = -10;
  m_OffY = -5;
  const int t = static_cast<int>(m_BusTramType);
  if (t >= 0 && t < 4) {
    m_ResID = kRows[t].resId;
    m_SpriteKind = kRows[t].sprite;
  } else {
    m_ResID = static_cast<int32_t>(zorveh::VEHICLE_PICTURE_TRAM);
    m_SpriteKind = zorveh::VEHICLE_KIND_TRAM;
    m_CarSizeType = 4;
  }
  return 0;
}

void CMicroOpnv::SetStopped() {
  if (m_Stopped) return;
  m_StopStart = kfx_GetTicks();
  m_Stopped = 1;
  if (CMicroSimHost::Get()->IsSoundVisible(m_IsoX, m_IsoY)) {
    if (m_CarSizeType > 3)
      CWorldHost::Get()->AddSound("SBHalt", 7);
    else
      CWorldHost::Get()->AddSound("BsBremsen", 17);
  }
}

bool CMicroOpnv::GetStopped() {
  if (!m_Stopped) return false;
  if (kfx_GetTicks() - m_StopStart < kDwell) return true;
  m_Stopped = 0;
  m_StopStart = 0;
  if (CMicroSimHost::Get()->IsSoundVisible(m_IsoX, m_IsoY)) {
    if (m_CarSizeType > 3)
      CWorldHost::Get()->AddSound("SBLos", 6);
    else
      CWorldHost::Get()->AddSound("BSLos", 16);
  }
  return false;
}
