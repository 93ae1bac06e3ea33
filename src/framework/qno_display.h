#pragma once
// The screen: a view over the SDL video surface, the display that keeps its
// geometry, and the render buffer that every picture, text and rectangle is
// drawn into. The render buffer draws into any 16-bit 565 surface, the
// screen's or a memory surface.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class CZorvaWorld;
class QnoBitmap;
class QnoBitmapFont;
class QnoRgbPalette;
struct QnoBitmapInfo;
class QnoRenderBuffer;

constexpr int QNO_COLOR_565 = 565;
constexpr int QNO_COLOR_555 = 555;
constexpr int QNO_COLOR_M565 = -565;

struct QnoDisplayCreateStruct {
  uint32_t size = 52;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  int32_t viewWidth = 0;
  int32_t viewHeight = 0;
  int32_t reserved6 = 0;
  int32_t reserved7 = 0;
  int32_t bitsPerPixel = 16;
  uint32_t flags = 0;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int32_t word12 = 0;
  int32_t word13 = 0;
};
static_assert(sizeof(QnoDisplayCreateStruct) == 52);

// True when the surface holds 16-bit pixels in 565 order, the only layout
// the render buffer draws.
bool QnoIsSurface565(const SDL_Surface* surface);

// A rectangle of a render buffer, right and bottom exclusive.
struct QnoBox {
  int left, top, right, bottom;
};

class QnoVisibleRuns;

// Where overlay work over packed runs stood after a draw (QnoVisibleRuns):
// a sprite drawn there may be drawn again later in the same work, and the
// runs tell whether that can change the picture. A stretch of 0 names no
// such work.
struct QnoDrawMark {
  uint32_t stretch = 0;
  uint32_t box = 0;      // the boxes drawn before the mark
  uint32_t overlay = 0;  // the work's place in the runs' sequence
  uint32_t folds = 0;    // the touched lists folded before the mark
};

class QnoRenderBuffer {
 public:
  QnoRenderBuffer() = default;

  int Create(CZorvaWorld* world, const QnoDisplayCreateStruct* cs, SDL_Surface* surface);
  // Attaches the surface; a surface that is not 16-bit 565 is refused
  // (logged) and leaves the buffer without pixels. Size and pitch come from
  // the surface, so drawing never leaves it.
  void SetSurface(SDL_Surface* surface);
  SDL_Surface* GetSurface() const { return m_surface; }
  // The pixel memory, null when there is none to draw into; every drawing
  // operation then draws nothing.
  // Inline: every sprite blit asks for it.
  uint8_t* GetBuffer() const { return m_surface ? static_cast<uint8_t*>(m_surface->pixels) : nullptr; }
  int GetColorFormat() const { return QNO_COLOR_565; }
  int FlipBuffer();
  int GetFramesPerSecond() const { return m_fps; }

  uint32_t GetClosestColor(uint8_t r, uint8_t g, uint8_t b) const;
  void FillRect(int x1, int y1, int x2, int y2, uint32_t pixel);
  void FrameRect(int x1, int y1, int x2, int y2, uint32_t pixel);

  // Pictures (qno_bitmap.cpp).
  int DrawBitmap(const QnoBitmap* bitmap, int x, int y, int transparent);
  void DrawBitmap_Opaque(const QnoBitmapInfo* info, int x, int y);
  void DrawBitmap_Transp(const QnoBitmapInfo* info, int x, int y);
  // Text (qno_font.cpp).
  int RenderText(const QnoBitmapFont* font, int x, int y, const char* text, int colour, int = 0);
  int GetTextLength(const QnoBitmapFont* font, const char* text) const;
  void DrawBitmap_Mask(const QnoBitmapInfo* info, int x, int y, uint32_t colour);

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  int GetPitch() const { return m_pitch; }
  int GetBitsPerPixel() const { return m_bitsPerPixel; }
  // Clip rectangle, right and bottom exclusive; kept inside the buffer.
  void SetClipRect(int left, int top, int right, int bottom);
  void GetClipRect(int* left, int* top, int* right, int* bottom) const;
  int ClipLeft() const { return m_clipLeft; }
  int ClipTop() const { return m_clipTop; }
  int ClipRight() const { return m_clipRight; }
  int ClipBottom() const { return m_clipBottom; }
  const QnoRgbPalette* GetPalette() const { return m_palette; }
  void SetPalette(const QnoRgbPalette* palette) { m_palette = palette; }
  // The key colour that transparent BMP pictures skip.
  uint32_t GetBmpKeyColor() const { return m_bmpKeyColor; }

  // While a list is set, every drawing call adds to it a box, cut to the
  // clip rectangle, that holds every pixel of the clip rectangle it may
  // have written: whoever set it learns where other work drew. Every
  // drawing into a buffer goes through its calls and the sprite blits,
  // which all tell it here.
  // Setting a list ends the watch below. A list that grows long is folded
  // into the one box that holds all of it.
  void SetTouchedList(std::vector<QnoBox>* list) {
    m_touched = list;
    m_overlayRuns = nullptr;
    m_watch = 0;
  }
  void NoteTouched(int left, int top, int right, int bottom) {
    if (!m_touched) return;
    // A box inside the clip rectangle while the list has room, as every
    // sprite blit's is, goes straight onto the list.
    if (left >= m_clipLeft && top >= m_clipTop && right <= m_clipRight && bottom <= m_clipBottom && left < right &&
        top < bottom && m_touched->size() < kMaxTouchedBoxes) {
      m_touched->push_back({left, top, right, bottom});
      return;
    }
    AddTouched(left, top, right, bottom);
  }
  static constexpr size_t kMaxTouchedBoxes = 512;

  // Packed runs say where their overlay's work stands when it begins (the
  // list set is theirs): the stretch, the boxes their overlays drew before
  // it, and the overlay's number.
  void SetOverlayRuns(const QnoVisibleRuns* runs, uint32_t stretch, uint32_t boxesBefore, uint32_t overlay) {
    m_overlayRuns = runs;
    m_mark = {stretch, boxesBefore, overlay, 0};
  }
  // While packed runs do an overlay's work: where the drawing stands now,
  // and whether drawing again inside `box` the pixels of a sprite that the
  // work drew, whole inside the clip rectangle, at `mark` and at the same
  // place, would change nothing of the picture the runs leave. False
  // outside such work, and whenever the list was set again or folded
  // since the mark. Inline: every car's first draw asks for a mark.
  QnoDrawMark MarkDrawing() const {
    if (!m_overlayRuns) return {};
    return {m_mark.stretch, m_mark.box + static_cast<uint32_t>(m_touched->size()), m_mark.overlay, m_touchedFolds};
  }
  bool RedrawChangesNothing(const QnoDrawMark& mark, const QnoBox& box) const;

  // A watch over where the buffer is drawn into from one frame to the
  // next, for whoever draws a frame again only where it changed.
  // StartWatch ends any watch before and returns the new one's number;
  // DrawnSince(number) gives the boxes drawn into since it began, or null
  // when it has ended (another watch began, a touched list was set, the
  // surface or its size changed, the buffer was created again) or when the
  // surface is not said to keep its pixels now.
  unsigned StartWatch();
  const std::vector<QnoBox>* DrawnSince(unsigned watch) const {
    return watch != 0 && watch == m_watch && m_pictureKept && m_surface && m_surface->pixels == m_watchPixels
               ? &m_watchBoxes
               : nullptr;
  }
  // Whether the surface holds, as a frame is drawn, every pixel drawn into
  // it before, but where the watch saw drawing (a screen shown by copying
  // it, which nothing else writes): whoever shows the frames says so around
  // each frame it draws. A page-flipped screen holds another frame.
  void SetPictureKept(bool kept) { m_pictureKept = kept; }

 private:
  uint32_t m_size = 0;
  int m_width = 0;
  int m_height = 0;
  int m_pitch = 0;
  int m_clipLeft = 0, m_clipTop = 0, m_clipRight = 0, m_clipBottom = 0;
  int m_frameCount = 0;
  uint32_t m_lastFpsTick = 0;
  int m_fps = 0;
  const QnoRgbPalette* m_palette = nullptr;
  uint16_t m_topDown = 1;
  int16_t m_bitsPerPixel = 16;
  int m_colorFormat = QNO_COLOR_565;
  uint32_t m_bmpKeyColor = 0xF81F;  // magenta, the usual key of 16-bit pictures
  SDL_Surface* m_surface = nullptr;
  std::vector<QnoBox>* m_touched = nullptr;
  const QnoVisibleRuns* m_overlayRuns = nullptr;
  QnoDrawMark m_mark;
  uint32_t m_touchedFolds = 0;
  void AddTouched(int left, int top, int right, int bottom);
  void EndWatch();
  unsigned m_watch = 0, m_watchSerial = 0;
  const void* m_watchPixels = nullptr;
  bool m_pictureKept = false;
  std::vector<QnoBox> m_watchBoxes;
};

class QnoView;

class QnoDisplay {
 public:
  QnoDisplay() = default;
  ~QnoDisplay();
  QnoDisplay(const QnoDisplay&) = delete;
  QnoDisplay& operator=(const QnoDisplay&) = delete;

  int Create(CZorvaWorld* world, const QnoDisplayCreateStruct* cs, SDL_Surface* surface);
  void RecomputeSizes();
  void ResizeWindow(int, int) { RecomputeSizes(); }
  int GetRealFrameRate() const { return m_renderBuffer ? m_renderBuffer->GetFramesPerSecond() : -1; }
  int Redraw(CZorvaWorld*) { return 1; }
  QnoRenderBuffer* GetRenderBuffer() const { return m_renderBuffer; }
  // Counts the frame and shows it; 0 on success, -1 without a surface.
  int FlipBuffer() { return m_renderBuffer ? m_renderBuffer->FlipBuffer() : -1; }

  int GetScreenWidth() const { return m_screenWidth; }
  int GetScreenHeight() const { return m_screenHeight; }
  int GetViewWidth() const { return m_viewWidth; }
  int GetViewHeight() const { return m_viewHeight; }
  int GetViewOffsetX() const { return m_viewX; }
  int GetViewOffsetY() const { return m_viewY; }
  int GetVirtualWidth() const { return m_virtualWidth; }
  int GetVirtualHeight() const { return m_virtualHeight; }
  float GetScaleX() const { return m_scaleX; }
  float GetScaleY() const { return m_scaleY; }
  uint32_t GetStartTick() const { return m_startTick; }

  void SetView(QnoView* view) { m_view = view; }

 private:
  int m_flag1 = 1;
  int m_zero1 = 0, m_zero2 = 0;
  QnoView* m_view = nullptr;
  int m_flag2 = 1;
  int m_windowX = -100, m_windowY = -100;
  uint32_t m_startTick = 0;
  int m_screenWidth = 0, m_screenHeight = 0;
  int m_create6 = 0, m_create7 = 0;
  int m_viewWidth = 0, m_viewHeight = 0;
  int m_viewX = 0, m_viewY = 0;
  int m_virtualWidth = 0, m_virtualHeight = 0;
  float m_scaleX = 1.0f, m_scaleY = 1.0f;
  uint32_t m_flags = 0;
  int m_create12 = 0;
  int m_bitsPerPixel = 16;
  int m_create13 = 0;
  QnoRenderBuffer* m_renderBuffer = nullptr;
};

class QnoView {
 public:
  QnoView();
  ~QnoView();
  QnoView(const QnoView&) = delete;
  QnoView& operator=(const QnoView&) = delete;

  int Open(CZorvaWorld* world, const QnoDisplayCreateStruct* cs, SDL_Surface* surface);
  // Sets the video mode (16-bit, no format emulation left to chance: a
  // surface that is not 565 is refused) and opens the view over it. SDL's
  // video must be initialised. Returns the surface, null on failure (logged).
  SDL_Surface* OpenScreen(CZorvaWorld* world, int width, int height, bool fullscreen, bool hardware);
  QnoDisplay* GetDisplay() const { return m_display; }
  QnoRenderBuffer* GetRenderBuffer() const { return m_display->GetRenderBuffer(); }

 private:
  QnoDisplay* m_display;
};
