#include "model/indikatoren.h"

int CIndikatoren::OnPlayloopTurn(STime, STime) { return 0; }

int CIndikatoren::CheckForMessages() { return 0; }

int CIndikatoren::SetStandardMessage() { return 0; }

int CIndikatoren::UpdateMaps() { return 0; }
