#pragma once
// Value types shared by windows, dialogs, items and actions.
#include "gui/var_type.h"

enum EScreenWindowType : int {
  WINDOW_NONE = 1,
  WINDOW_NORMAL = 2,
  WINDOW_ROOT = 3,
  WINDOW_MENU = 4,
  WINDOW_SUBMENU = 6,
};

enum EPositionType : int {
  POSITION_FIXED = 0,
  POSITION_CENTERED = 1,
};

// How a window is opened or closed.
enum EOverType : int {
  OVER_SINGLE = 0,
  OVER_GROUP = 1,
  OVER_FRONT = 2,
  OVER_OUTSIDE = 3,
};

// Zone of the pointer around a rectangle: 1 + horizontal (0 inside, 3 left,
// 6 right) + vertical (0 inside, 1 above, 2 below).
using EPosition = int;

enum EInOutType : int {
  INOUT_NONE = 0,
  INOUT_ALWAYS = 1,
  INOUT_INSIDE = 2,
  INOUT_OUTSIDE = 4,
};

enum EActionWhen : int {
  WHEN_MOVE = 1,
  WHEN_LEFT_DOWN = 2,
  WHEN_OTHER_DOWN = 3,
  WHEN_LEFT_UP = 4,
  WHEN_OTHER_UP = 5,
  WHEN_MOVE_FIRST = 10,
  WHEN_TURN = 11,
  WHEN_LEFT_HELD = 12,
};

// What an action does; the meanings live with the interpreters.
using EActionType = int;
using EItemType = int;
using EDialogType = int;
using EPressedType = int;

enum EFilledType : int {
  FILL_SOLID = 1,
  FILL_FRAME = 2,
  FILL_LEVEL = 3,
  FILL_FRAME_LOW = 4,
};

enum EHO : int { HO_LEFT = 1, HO_CENTER = 2, HO_RIGHT = 3 };
enum EVO : int { VO_UP = 1, VO_CENTER = 2, VO_DOWN = 3 };

// Item class codes, as Create sets them.
enum : int {
  ITEM_CLASS_NONE = 0,
  ITEM_CLASS_PLAIN = 1,
  ITEM_CLASS_BITMAP = 2,
  ITEM_CLASS_RECT = 4,
  ITEM_CLASS_TEXT = 7,
  ITEM_CLASS_BAR = 10,
};
