#include "model/message.h"

#include "gui/screen_window.h"

int CMessage::ResetMessage(int) { return 0; }
int CMessage::SetBeraterZielMessage() { return 0; }
int CMessage::CheckWaitMessage() { return 0; }

int CMessage::ChangeLanguage(int) {
  // The stand-in holds no message texts of its own to reload; the windows
  // hold the two languages of theirs.
  if (m_pWindowTree) m_pWindowTree->SetChangedLanguage();
  return 0;
}
