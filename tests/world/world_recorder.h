#pragma once
// A world whose owned objects write every call the start-up and the turn
// make on them into one log, so that tests can check the order.
#include <string>
#include <vector>

#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/umland.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "world/zor_world.h"

namespace zortest {

std::vector<std::string>& CallLog();
// Calls outside the hourly fan-out: creation, shutdown and the like.
std::vector<std::string>& SideLog();
std::string Hour(const STime& t);

// Hourly and yearly calls of one measure or model object.
#define ZOR_RECORD_HOURLY(Base, Name)                                        \
  int OnPlayloopTurn(STime now, STime last) override {                       \
    CallLog().push_back(std::string(Name) + ".hour " + Hour(now));           \
    return Base::OnPlayloopTurn(now, last);                                  \
  }
#define ZOR_RECORD_YEARLY(Base, Name)                                        \
  int ResetYearData(STime now, STime last) override {                        \
    CallLog().push_back(std::string(Name) + ".year " + Hour(now));           \
    return Base::ResetYearData(now, last);                                   \
  }
// The object's Destroy at shutdown.
#define ZOR_RECORD_DESTROY(Base, Name)                                       \
  int Destroy() override {                                                   \
    SideLog().push_back(std::string(Name) + ".destroy");                     \
    return Base::Destroy();                                                  \
  }

struct RecParkManagement : CParkManagement {
  ZOR_RECORD_HOURLY(CParkManagement, "ParkManagement")
  ZOR_RECORD_DESTROY(CParkManagement, "ParkManagement")
  ZOR_RECORD_YEARLY(CParkManagement, "ParkManagement")
};
struct RecOpnv : COpnv {
  ZOR_RECORD_HOURLY(COpnv, "Opnv")
  ZOR_RECORD_DESTROY(COpnv, "Opnv")
  ZOR_RECORD_YEARLY(COpnv, "Opnv")
  int OnPlayloopTurn() override {
    ++vehicleTurns;
    return 0;
  }
  int vehicleTurns = 0;
};
struct RecCarsharing : CCarsharing {
  ZOR_RECORD_HOURLY(CCarsharing, "Carsharing")
  ZOR_RECORD_DESTROY(CCarsharing, "Carsharing")
  ZOR_RECORD_YEARLY(CCarsharing, "Carsharing")
};
struct RecParkRide : CParkRide {
  ZOR_RECORD_HOURLY(CParkRide, "ParkRide")
  ZOR_RECORD_DESTROY(CParkRide, "ParkRide")
};
struct RecZorviZentrale : CZorviZentrale {
  ZOR_RECORD_HOURLY(CZorviZentrale, "ZorviZentrale")
  ZOR_RECORD_DESTROY(CZorviZentrale, "ZorviZentrale")
  ZOR_RECORD_YEARLY(CZorviZentrale, "ZorviZentrale")
};
struct RecAktiveRP : CAktiveRoutenPlanung {
  ZOR_RECORD_HOURLY(CAktiveRoutenPlanung, "AktiveRP")
  ZOR_RECORD_DESTROY(CAktiveRoutenPlanung, "AktiveRP")
  ZOR_RECORD_YEARLY(CAktiveRoutenPlanung, "AktiveRP")
};
struct RecPassiveRP : CPassiveRoutenPlanung {
  ZOR_RECORD_HOURLY(CPassiveRoutenPlanung, "PassiveRP")
  ZOR_RECORD_DESTROY(CPassiveRoutenPlanung, "PassiveRP")
  ZOR_RECORD_YEARLY(CPassiveRoutenPlanung, "PassiveRP")
};
struct RecUmland : CUmland {
  ZOR_RECORD_HOURLY(CUmland, "Umland")
  ZOR_RECORD_DESTROY(CUmland, "Umland")
};
struct RecPta : CPta {
  ZOR_RECORD_HOURLY(CPta, "Pta")
  ZOR_RECORD_DESTROY(CPta, "Pta")
  ZOR_RECORD_YEARLY(CPta, "Pta")
};
struct RecFinanzen : CFinanzen {
  ZOR_RECORD_HOURLY(CFinanzen, "Finanzen")
  ZOR_RECORD_DESTROY(CFinanzen, "Finanzen")
  ZOR_RECORD_YEARLY(CFinanzen, "Finanzen")
};
struct RecStadtVerwaltung : CStadtVerwaltung {
  ZOR_RECORD_HOURLY(CStadtVerwaltung, "StadtVerwaltung")
  ZOR_RECORD_DESTROY(CStadtVerwaltung, "StadtVerwaltung")
  ZOR_RECORD_YEARLY(CStadtVerwaltung, "StadtVerwaltung")
};
struct RecIndikatoren : CIndikatoren {
  ZOR_RECORD_HOURLY(CIndikatoren, "Indikatoren")
  ZOR_RECORD_DESTROY(CIndikatoren, "Indikatoren")
  int CheckForMessages() override {
    CallLog().push_back("Indikatoren.messages");
    return 0;
  }
  int SetStandardMessage() override {
    SideLog().push_back("Indikatoren.standardMessage");
    return CIndikatoren::SetStandardMessage();
  }
  int UpdateMaps() override {
    SideLog().push_back("Indikatoren.maps");
    return CIndikatoren::UpdateMaps();
  }
};
struct RecStatistik : CStatistik {
  ZOR_RECORD_HOURLY(CStatistik, "Statistik")
  int UpdateWerte_Finanzen(STime now) override {
    CallLog().push_back("Statistik.finances " + Hour(now));
    return 0;
  }
};

#undef ZOR_RECORD_HOURLY
#undef ZOR_RECORD_YEARLY
#undef ZOR_RECORD_DESTROY

class RecordingWorld : public CZorvaWorld {
 public:
  int autoSaves = 0;
  int AutoSaveGame(bool fast) override {
    ++autoSaves;
    return CZorvaWorld::AutoSaveGame(fast);
  }

 protected:
  CParkManagement* NewParkManagement() override { return new RecParkManagement; }
  COpnv* NewOpnv() override { return new RecOpnv; }
  CCarsharing* NewCarsharing() override { return new RecCarsharing; }
  CParkRide* NewParkRide() override { return new RecParkRide; }
  CZorviZentrale* NewZorviZentrale() override { return new RecZorviZentrale; }
  CAktiveRoutenPlanung* NewAktiveRP() override { return new RecAktiveRP; }
  CPassiveRoutenPlanung* NewPassiveRP() override { return new RecPassiveRP; }
  CUmland* NewUmland() override { return new RecUmland; }
  CPta* NewPta() override { return new RecPta; }
  CFinanzen* NewFinanzen() override { return new RecFinanzen; }
  CStadtVerwaltung* NewStadtVerwaltung() override { return new RecStadtVerwaltung; }
  CIndikatoren* NewIndikatoren() override { return new RecIndikatoren; }
  CStatistik* NewStatistik() override { return new RecStatistik; }
};

}  // namespace zortest
