#pragma once
// Draws one resource of the archives at a screen position in the way its
// item type asks: centred pictures, run-length sprites, map groups and tiles.
#include "gui/gui_types.h"
#include "worldbase/zor_types.h"

class CIsoWelt;
class QnoDisplay;
class QnoResourceManager;

using ERenderType = int;

class CRenderResource {
 public:
  // Returns 0; a missing resource, display or map draws nothing.
  static int Render(QnoDisplay* display, QnoResourceManager* resources, int resourceId, int x, int y,
                    EItemType type, ERenderType render = 0, CIsoWelt* map = nullptr, TIsoRichtung direction = ISO_RICHTUNG_0,
                    int zoom = -1);
  // The kind word of a resource blob (6 for animations); -1 when unknown.
  static int GetResourceKind(QnoResourceManager* resources, int resourceId);
};
