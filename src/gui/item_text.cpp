#include "gui/item_text.h"

#include <cstdio>
#include <cstring>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/zor_seams.h"
#include "gui/dialog.h"
#include "gui/gui_host.h"
#include "worldbase/zor_world_host.h"

int CItemText::s_underlinePos = -1;
int CItemText::s_underlineSize = 7;
uint32_t CItemText::s_blinkTime = 0;
QnoDisplay* CItemText::s_display = nullptr;
QnoResourceManager* CItemText::s_resources = nullptr;

namespace {
// Without a font every character counts this wide and every line this high.
constexpr int kFallbackCharWidth = 10;
constexpr int kFallbackLineHeight = 17;
// The savegame name input holds up to 30 characters.
constexpr int kNameInputLength = 30;
constexpr uint32_t kBlinkShowMs = 500;
constexpr uint32_t kBlinkPeriodMs = 1000;

void CopyCut(char* to, const char* from) {
  std::strncpy(to, from ? from : "", CItemText::kTextSize - 1);
  to[CItemText::kTextSize - 1] = 0;
}

class DisplayPainter : public CTextPainter {
 public:
  DisplayPainter(QnoDisplay* display, const QnoBitmapFont* font) : m_font(font) {
    m_buffer = display ? display->GetRenderBuffer() : nullptr;
  }
  int Measure(const char* text) override {
    if (!m_buffer || !m_font) return static_cast<int>(std::strlen(text)) * kFallbackCharWidth;
    return m_buffer->GetTextLength(m_font, text);
  }
  void Draw(int x, int y, const char* text, int colour) override {
    lastX = x;
    lastY = y;
    drawn = true;
    if (m_buffer && m_font) m_buffer->RenderText(m_font, x, y, text, colour);
  }
  QnoRenderBuffer* Buffer() const { return m_buffer; }
  int lastX = 0;
  int lastY = 0;
  bool drawn = false;

 private:
  QnoRenderBuffer* m_buffer;
  const QnoBitmapFont* m_font;
};
}  // namespace

CItemText::~CItemText() { Destroy(); }

void CItemText::SetMeasureContext(QnoDisplay* display, QnoResourceManager* resources) {
  s_display = display;
  s_resources = resources;
}

int CItemText::Create(int x, int y, int w, int h, EItemType type, const char* text, EHO h_align, EVO v_align,
                      int reserved, int font, int colour, int highlightColour, int a, int b, const char* englishText) {
  CItem::Create(x, y, w, h, type, 0, -1);
  m_classCode = ITEM_CLASS_TEXT;
  CopyCut(m_text, text);
  CopyCut(m_textEN, englishText);
  m_hAlign = h_align;
  m_vAlign = v_align;
  m_reserved = reserved;
  m_font = font;
  m_colour = colour;
  m_highlightColour = highlightColour;
  m_a = a;
  m_b = b;
  return 0;
}

int CItemText::Destroy() {
  m_dynamic.clear();
  m_dynamic.shrink_to_fit();
  m_hasDynamic = false;
  return CItem::Destroy();
}

void CItemText::Reuse(std::vector<CAction*>& spare) {
  CItem::Reuse(spare);
  m_text[0] = m_textEN[0] = '\0';
  m_hAlign = HO_CENTER;
  m_vAlign = VO_CENTER;
  m_reserved = m_font = m_colour = m_highlightColour = m_a = m_b = 0;
  m_renderCounter = 0;
  m_dynamic.clear();  // keeps its room for the next text
  m_hasDynamic = false;
  m_verbatim = false;
}

void CItemText::SetText(const char* text) {
  if (!text) return;
  m_dynamic = text;
  m_hasDynamic = true;
}

uint32_t CItemText::ResolveColour(QnoDisplay* display, int index) {
  static uint32_t cache[5];
  static bool cached[5];
  if (index < 0 || index > 4) return 0;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!cached[index] && buffer) {
    cache[index] = index == 4 ? buffer->GetClosestColor(120, 120, 120) : buffer->GetClosestColor(39, 48, 70);
    cached[index] = true;
  }
  return cache[index];
}

int CItemText::GetWidth(const char* text) {
  if (!text || !*text) return 0;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(s_resources, static_cast<unsigned>(m_font));
  DisplayPainter painter(s_display, font);
  return painter.Measure(text);
}

int CItemText::NameCursorAt(int x) {
  if (m_type != 24) return CItem::NameCursorAt(x);
  int cursor = 0;
  bool open = false;
  const std::string name = CGuiHost::Get()->GetNameInput(&cursor, &open);
  // The name stands at the item's left edge: the cursor goes before the
  // character whose left half the column lies in, behind the name past it.
  const int column = x - m_screenLeft;
  int left = 0;
  for (size_t c = 0; c < name.size(); ++c) {
    const int right = GetWidth(name.substr(0, c + 1).c_str());
    if (column < (left + right) / 2) return static_cast<int>(c);
    left = right;
  }
  return -1;
}

int CItemText::GetHeight(const char* text) {
  if (!text || !*text) return 0;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(s_resources, static_cast<unsigned>(m_font));
  if (!s_display || !font) {
    if (m_w <= 0) return kFallbackLineHeight;
    return static_cast<int>(std::strlen(text)) * kFallbackCharWidth / m_w * kFallbackLineHeight;
  }
  DisplayPainter painter(s_display, font);
  CTextLayout layout;
  layout.width = m_w;
  layout.wrap = IsMessageType();
  layout.measure = true;
  int height = CTextMarkup::Run(text, layout, painter, nullptr);
  for (const char* nl = std::strstr(text, "@nl"); nl; nl = std::strstr(nl + 3, "@nl")) {
    height += CTextMarkup::kNewlineMeasure;
    if (std::strlen(nl) <= 9) break;
  }
  return height;
}

int CItemText::VarUpdate(CWindowVar* var, char* out, size_t capacity) {
  if (!var) return 0;
  double value = 0;
  if (var->GetValue(&value, m_renderCounter % 5 == 0) != 0) return 0;
  CTextMarkup::FormatValue(var->GetVarType(), value, CWorldHost::Get()->GetLanguage(),
                           CGuiHost::Get()->GetPendingRemovalCost(), out, capacity);
  return 0;
}

bool CItemText::IsMessageType() const {
  switch (m_type) {
    case 23: case 26: case 33: case 34: case 36: case 40:
      return true;
    default:
      return false;
  }
}

std::string CItemText::ChooseText() {
  CGuiHost* host = CGuiHost::Get();
  std::string text = (CWorldHost::Get()->GetLanguage() == 1 && m_textEN[0]) ? m_textEN : m_text;
  if (IsMessageType()) {
    if (const char* m = host->GetMessageText(m_type)) text = m;
  }
  if (m_type == 27) {
    double v = 0;
    CWindowVar* var = GetVar();
    if (var && var->GetValue(&v, false) == 0) {
      if (const char* name = host->GetZorvaObjectName(static_cast<int>(v))) text = name;
    }
  }
  return text;
}

int CItemText::Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) {
  SetMeasureContext(display, resources);
  CGuiHost* host = CGuiHost::Get();
  ++m_renderCounter;
  s_underlinePos = -1;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(resources, static_cast<unsigned>(m_font));
  DisplayPainter painter(display, font);

  int colourIndex = m_highlight ? m_highlightColour : m_colour;
  if (m_pressed == 19) colourIndex = 4;
  CTextLayout layout;
  layout.left = x + m_x;
  layout.top = y + m_y;
  layout.width = m_w;
  layout.startX = layout.left;
  layout.startY = layout.top + m_h / 2 - 7;
  layout.h = m_hAlign;
  layout.v = m_vAlign;
  layout.colour = static_cast<int>(ResolveColour(display, colourIndex));
  layout.wrap = IsMessageType();

  if (m_type == 24) {
    // The player's typed name is shown as typed, never read as markup.
    int cursor = 0;
    bool open = false;
    std::string name = host->GetNameInput(&cursor, &open);
    if (name.size() > kNameInputLength) name.resize(kNameInputLength);
    if (name.empty()) name.assign(1, ' ');
    if (open && cursor >= 0 && cursor < kNameInputLength) {
      const size_t c = std::min(static_cast<size_t>(cursor), name.size());
      s_underlinePos = painter.Measure(name.substr(0, c).c_str());
      const bool atEnd = c >= name.size() || name[c] == ' ';
      s_underlineSize = atEnd ? 11 : painter.Measure(name.substr(c, 1).c_str()) + 3;
    }
    if (!font) return 0;
    int yy = layout.startY;
    int height = 0;
    CTextMarkup::RenderRun(name.c_str(), layout.startX, &yy, layout.h, layout, painter, height);
    const uint32_t now = kfx_GetTicks();
    if (s_underlinePos >= 0 && painter.drawn && painter.Buffer()) {
      if (now - s_blinkTime > kBlinkShowMs) {
        const int ux = painter.lastX + s_underlinePos;
        painter.Buffer()->FillRect(ux, painter.lastY + 12, ux + s_underlineSize, painter.lastY + 14, 0);
      }
      if (now - s_blinkTime > kBlinkPeriodMs) s_blinkTime = now;
    }
    return 0;
  }

  std::string text = ChooseText();
  if (text.empty() && m_vars && m_vars->GetCount() == 1) {
    char value[64] = {};
    VarUpdate(m_vars->GetHead(), value, sizeof value);
    text = value;
  }
  if (m_type == 32 && (text.find("Line") != std::string::npos || text.find("Bus") != std::string::npos ||
                       text.find("S-Bahn") != std::string::npos)) {
    int number = 0, kind = 0;
    if (!host->GetActiveLine(&number, &kind)) return 1;
    const char* pattern = host->GetGltText(kind == 1 ? 0 : 1);
    char label[64] = {};
    if (pattern) std::snprintf(label, sizeof label, pattern, number);
    text = label;
  }
  if (m_hasDynamic) text = m_dynamic;
  if (IsMessageType()) layout.startY = layout.top;
  if (!font) return 0;

  if (m_verbatim) {
    int yy = layout.startY;
    int height = 0;
    CTextMarkup::RenderRun(text.c_str(), layout.startX, &yy, layout.h, layout, painter, height);
    return 0;
  }
  auto lookup = [this](const char* name, std::string* out) {
    CWindowVar* var = m_vars ? m_vars->GetVarByName(name) : nullptr;
    if (!var && m_dialog && m_dialog->GetVars()) var = m_dialog->GetVars()->GetVarByName(name);
    if (!var) return false;
    char value[64] = {};
    VarUpdate(var, value, sizeof value);
    *out = value;
    return true;
  };
  CTextMarkup::Run(text.c_str(), layout, painter, lookup);
  return 0;
}
