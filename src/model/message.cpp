#include "model/message.h"

int CMessage::ResetMessage(int) { return 0; }
int CMessage::SetBeraterZielMessage() { return 0; }
int CMessage::CheckWaitMessage() { return 0; }
