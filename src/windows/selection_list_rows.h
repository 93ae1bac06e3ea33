#pragma once
// The rows of every kind of selection list: objects, lines (with a header,
// and all lines of public transport), car-sharing outlets and advice
// centres, car parks (prices, places and occupancy, balance), messages,
// savegames and events. Each row is built from its element: the bound
// list's objects answer their named variables and cell, lines their
// number, kind and colour; messages and savegames come from the toolkit's
// host.
#include "gui/dialog_selection_list.h"

class COpnvLine;
class CWorldObj;

class CZorvaListRows : public CSelectionListRows {
 public:
  // The one row maker the game's lists share.
  static CZorvaListRows* Get();

  int CountElements(EDialogType type) override;
  void AddRow(CDialogSelectionList& list, CZorvaObject* element, int index, int y) override;

  // Savegame lists show at most this many games.
  static constexpr int kMaxSaveGames = 50;

 private:
  void AddObjectRow(CDialogSelectionList& list, CZorvaObject* element, int index, int y);
  void AddLineRowWithHeader(CDialogSelectionList& list, COpnvLine* line, int y);
  void AddLineRow(CDialogSelectionList& list, COpnvLine* line, int y);
  void AddOutletRow(CDialogSelectionList& list, CWorldObj* element, int y);
  void AddCarParkPrices(CDialogSelectionList& list, CWorldObj* park, int y);
  void AddCarParkPlaces(CDialogSelectionList& list, CWorldObj* park, int y);
  void AddCarParkBalance(CDialogSelectionList& list, CWorldObj* park, int y);
  void AddMessageRow(CDialogSelectionList& list, int index, int y);
  void AddSaveGameRow(CDialogSelectionList& list, int index, int y);
  void AddEventRow(CDialogSelectionList& list, int index, int y);
};
