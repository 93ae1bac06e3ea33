// Stand-in: the input filter only records the held buttons for the map.
#include "ui/user_int.h"

int CUserInt::InputFilter(QnoInteractionEvent* event, QnoView*) {
  // The map reads which buttons are held; the event stays unconsumed.
  if (event && (event->type == QNO_EVENT_BUTTONDOWN || event->type == QNO_EVENT_BUTTONUP)) {
    const unsigned char held = event->type == QNO_EVENT_BUTTONDOWN ? 1 : 0;
    if (event->button == 0)
      selObj.leftButton = held;
    else
      selObj.rightButton = held;
  }
  return 1;
}
