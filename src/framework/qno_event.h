#pragma once
// The program's own input record, filled from SDL events by the frame loop
// and read by every input filter.
#include <cstdint>

enum QnoEventType : int32_t {
  QNO_EVENT_MOUSEMOVE = 1,
  QNO_EVENT_BUTTONDOWN = 2,
  QNO_EVENT_BUTTONUP = 3,
  QNO_EVENT_KEYDOWN = 4,
  QNO_EVENT_KEYUP = 5,
};

// Translated key codes (letters arrive upper-case, Y and Z exchanged).
enum QnoKeyCode : int32_t {
  QNO_KEY_UP = 1,
  QNO_KEY_DOWN = 2,
  QNO_KEY_LEFT = 3,
  QNO_KEY_RIGHT = 4,
  QNO_KEY_ESCAPE = 10,
  QNO_KEY_DELETE = 15,
  QNO_KEY_KP_PLUS = 16,
  QNO_KEY_KP_MINUS = 17,
  QNO_KEY_BACKSPACE = 18,
  QNO_KEY_SHIFT = 19,
  QNO_KEY_CTRL = 20,
  QNO_KEY_ALT = 21,
  QNO_KEY_PAGEDOWN = 22,
  QNO_KEY_F1 = 23,  // F1..F11 are 23..33
  QNO_KEY_RETURN = 13,
  QNO_KEY_SPACE = 32,
};

struct QnoInteractionEvent {
  int32_t type = 0;    // QnoEventType
  int32_t x = 0;       // mouse x, or the key code for key events
  int32_t y = 0;       // mouse y
  int32_t button = 0;  // move: SDL button mask; press/release: 0 left, 1 other
  // Key events: the character the key types on the player's keyboard, as
  // the platform reports it (0 when it reports none); 0 for mouse events.
  int32_t character = 0;
};
