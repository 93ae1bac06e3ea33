#pragma once
// What the message system takes from the running game: the game mode and
// the running scenario, the data exchange, public transport's lines and
// stops, the street network, the text directory, the event window, the map
// mark and the map's centre, the selected line, the statistics' labels and
// the stored language.
#include "model/message.h"

class CZorvaWorld;

class CZorMessageHost : public CMessageHost {
 public:
  explicit CZorMessageHost(CZorvaWorld& world) : m_world(world) {}
  int GetGameModus() override;
  // The entry of the running scenario's task, from what god mode holds.
  int GetScenarioTask() override;
  CDataExchange* GetDataExchange() override;
  COpnvLine* GetLineByID(int id) override;
  CBuildingObject* GetHstByID(int id) override;
  int GetStreetCount() override;
  const char* GetTextDirectory() override;
  void ActivateEventWindow() override;
  void SetMapMark(int x, int y, int xd, int yd, uint32_t time) override;
  bool GetMapMarkTime(uint32_t* time) override;
  void ClearMapMark() override;
  void CenterMap(int x, int y) override;
  void SelectLine(COpnvLine* line, uint16_t id) override;
  void StatistikChangeLanguage(int language) override;
  void StoreLanguage(int language) override;

 private:
  CZorvaWorld& m_world;
};
