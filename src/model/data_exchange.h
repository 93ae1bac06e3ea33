#pragma once
// The hub between the game world and the demand model: every dotted game
// variable is answered by handing it to the object that owns it, chosen by
// the name's prefix. The data exchange keeps the global "DX." variables and
// the counts and shares that the growth model and the visible cars use;
// "W." names address the nodes of the cause-effect network.
#include <cstdint>
#include <cstdio>

#include "model/var_list.h"
#include "model/var_owner.h"
#include "model/zor_var.h"
#include "sim/sim_date.h"

class CBuildingObject;
class CCyberNet;
class CGottModus;
class CIsoWelt;
class CMessage;
class COpnv;
class COpnvLine;
class CSecondLayerObject;
class CStrJunction;
class CStrJunctionList;
class CZorvaWorld;
class CSimWelt;
class CSimCityModell;
class CUserInt;
class CList;

// What the hourly derived values, the growth target, the period cycle and
// the global events need from their neighbours in the game: the map and the
// street and rail networks, god mode's hold, the city model's jobs and
// workers, the first-reach message (adviser message 21/1, window 236,
// pause), the interface's debug flags, the message system and god mode,
// and the windows and pause of the interface. The defaults are those of a
// plain running game without a map, windows or messages.
class CGrowthContext {
 public:
  virtual ~CGrowthContext() = default;
  virtual CIsoWelt* Map() { return nullptr; }
  virtual CStrJunctionList* StreetNet() { return nullptr; }
  virtual CStrJunctionList* RailNet() { return nullptr; }
  // The city model, when it is not the data exchange's demand simulation's.
  virtual CSimCityModell* City() { return nullptr; }
  virtual bool GrowthHold() { return false; }
  // Jobs and workers of the city model.
  virtual void CityJobs(int* jobs, int* workers) {
    *jobs = 1000;
    *workers = 0;
  }
  virtual void GrowthTargetReached() {}
  virtual bool StaticCity() { return false; }
  virtual bool MakeAgents() { return false; }
  // The debug tools' freeze of the cause-effect network: no period runs.
  virtual bool NetHold() { return false; }
  // The message system and god mode (the game mode); null when missing.
  virtual CMessage* Message() { return nullptr; }
  virtual CGottModus* GottModus() { return nullptr; }
  // Opens or closes a window of the window tree; pauses the game.
  virtual void ActivateWindow(int /*window*/) {}
  virtual void DeActivateWindow(int /*window*/) {}
  virtual void SetPause() {}
};

enum ExType { EX_SET = 0, EX_GET = 1, EX_SUB = 2, EX_ADD = 3, EX_MAX = 4, EX_MIN = 6, EX_STEP = 8 };

// The saved block of the data exchange: 51 fields of four bytes, stored in
// this order (SerializeGameStore writes them one by one).
struct SDataExchangeBlock {
  int32_t kept0[3];
  int32_t moneyCounter;
  int32_t kept16;
  int32_t statistik;
  float streetNet[4];
  float opnvNetLength;
  float opnvNetExclusiveLength;
  float streetNetLength;
  float railNetValue;
  int32_t people;
  int32_t targetPeople;
  int32_t targetJobs;
  int32_t targetHomes;
  int32_t worker;
  int32_t workerD;
  int32_t workerI;
  int32_t fze;
  float landUse[4];
  float landUseShare;
  float peopleValue;
  int32_t kept112;
  float bebauteFlaeche;
  float landUseU13;
  float raumtrennung;
  int32_t kfz;
  float quoteMicrocar;
  float quoteH2;
  float quoteECar;
  float kept144;
  float besetzungsGrad;
  int32_t teleWorker;
  int32_t h2Car;
  int32_t energieCar;
  int32_t microcar;
  int32_t verzichtAuto;
  int32_t berater;
  float growthHindernis;
  float quoteTeleworking;
  int32_t growthMessage;
  int32_t microcarMessageTime;
  float microcarMessageQuote;
  int32_t teleworkingMessageTime;
  float teleworkingMessageQuote;
};

// The picture of a visible car.
struct SCarResID {
  int resId;
  int16_t offsets[4];
  int sprite;
  int sizeClass;  // 0 car, 1 small vehicle, 2 delivery vehicle
};

class CDataExchange : public CVarOwner {
 public:
  static constexpr int kBlockSize = 204;
  static constexpr int kRecordLength = 30 + kBlockSize;
  // Savegames from this version on hold the whole block.
  static constexpr int kFullBlockVersion = 160;

  CDataExchange();
  ~CDataExchange() override;

  using CZorvaObject::Create;
  using CZorvaObject::SerializeGameLoad;
  int Create(CZorvaWorld* world, CSimWelt* simulation, CUserInt* userInt, CList* objectList);
  int Destroy() override;

  // Owners of the routed prefixes ("I.", "OPNV.", "PTA.", "F.", "PR.",
  // "PRM.", "U.", "SV.", "MS.", "MZ.", "CS.", "TD.", "AR.", "PAR.") register
  // as they are created; null withdraws. 1 for a prefix that is not routed.
  // A routed name whose owner is missing answers 0, logged once per prefix.
  int RegisterOwner(const char* prefix, CVarOwner* owner);
  // The routed prefixes, in routing order.
  static int GetRouteCount() { return kRoutes; }
  static const char* GetRoutePrefix(int i);

  // The hourly derived values and growth targets: car occupancy, built-up
  // area, people, the growth targets, the street and public-transport net
  // lengths, in this order.
  virtual int CalculateGeneral(STime now, STime last);
  // At hours 7, 12 and 17: feeds the cause-effect network its inputs from
  // the running game, lets it settle, steps it on and raises the global
  // events. 1 when skipped (the network is frozen or missing), else 0.
  // Never throws.
  virtual int CalculateNextMatrix(STime now, STime last);
  // Settling rounds of the network per period at most, and the squared
  // input change below which it counts as settled.
  static constexpr int kMaxSettleRounds = 100;
  static constexpr double kSettled = 0.0001;
  int GetLastSettleRounds() const { return m_LastSettleRounds; }

  // The numbers fed to the network's inputs, one per input node ("W." and
  // the node name, "." written "_"), in the order the period feeds them.
  double Calc_W_G3();
  double Calc_W_G5();
  double Calc_W_G6();
  double Calc_W_E5();
  double Calc_W_E6();
  double Calc_W_E7();
  double Calc_W_E8();
  double Calc_W_E9();
  double Calc_W_E10();
  double Calc_W_E13();
  double Calc_W_E14();
  double Calc_W_E15();
  double Calc_W_E16();
  double Calc_W_K12_1();
  double Calc_W_U13_1();
  double Calc_W_S1();
  double Calc_W_S2();
  double Calc_W_S3_norm();
  double Calc_W_S3_micro();
  double Calc_W_S4();
  double Calc_W_S5();
  double Calc_W_S6();
  double Calc_W_S7();
  double Calc_W_I1();
  double Calc_W_I2();
  double Calc_W_I3();
  double Calc_W_I4();
  double Calc_W_I5();
  double Calc_W_I7();
  double Calc_W_I8();
  double Calc_W_I9();
  double Calc_W_K1_1();
  double Calc_W_K1_2();
  double Calc_W_K2_1();
  double Calc_W_K2_2();
  double Calc_W_K3_1();
  double Calc_W_K3_2();
  double Calc_W_K4();
  double Calc_W_K5_1();
  double Calc_W_K5_2();
  double Calc_W_K6_1();
  double Calc_W_K6_2();
  double Calc_W_K7();
  double Calc_W_K8_1();
  double Calc_W_K9_1();
  double Calc_W_K9_2();
  double Calc_W_K10();
  double Calc_W_K11();
  double Calc_W_K12_4();
  double Calc_W_K13();
  double Calc_W_K15();
  double Calc_W_U1();
  double Calc_W_U2();
  double Calc_W_U3();
  double Calc_W_U4();
  double Calc_W_U5();
  double Calc_W_U6();
  double Calc_W_U7();
  double Calc_W_U8();
  double Calc_W_U9();
  double Calc_W_U10_1();
  double Calc_W_U10_2();
  double Calc_W_U11_1();
  double Calc_W_U11_2();
  double Calc_W_U12();
  double Calc_W_U13_2();
  double Calc_W_U13_3() { return 0.0; }  // not fed
  double Calc_W_U15();
  double Calc_W_M8_1();
  double Calc_W_M8_2();
  double Calc_W_M9();
  double Calc_W_M4();
  double Calc_W_M10();
  // The share of car travel time left after travel information, 0..1.
  double Calc_W_U5_Reduction();
  // The inputs in feeding order: node name with "W." and its member.
  struct SFeed {
    const char* name;
    double (CDataExchange::*calc)();
  };
  static constexpr int kFeedCount = 72;
  static const SFeed* GetFeedTable();

  // ---- global events: raised once per period, each through the message
  // system's ActivateMessage (group, entry, three values, x, y, window,
  // width, height; -1 for values and places not given).
  int CreateGlobalEvents(STime now, STime last);
  int CreateBuildingEvents(STime now, STime last);
  int DienstleisterEvents(STime now, STime last);
  // The town's shortages by the rules of the period's events; asking
  // changes nothing.
  enum class Shortage { Homes, Jobs, School, Shops, Leisure };
  bool HasShortage(Shortage kind) const;
  // 1 when the shortage holds; all but housing add 1 to the growth
  // obstacle when they find one.
  int CheckForHousing();
  int CheckForJobs();
  int CheckForSchool();
  int CheckForShopping();
  int CheckForLeisure();
  // The population class 0..8 of a number of people, -1 up to 5000.
  static int GetPMI(int people);
  int CheckParkingForNoUser();
  int CheckDistrictForParking();
  int CheckSchoolsForOpnv();
  int CheckSchoolsForHeavyTrafficCrossings();
  int CreateStreetCrossingEvents();
  // Lets every line due for it check its vehicles, then raises the
  // crowded and empty line messages.
  int CheckForLineCapacity();

  // Whether the cause of a shown message still holds (asked by the message
  // system just before it shows one). Lines and stops with the position
  // and extent the message was raised with; buildings by a map cell.
  bool Check_M_G_OPNV_L_USERLOW(COpnvLine* line, int x1, int y1, int x2, int y2);
  bool Check_M_G_OPNV_L_USERTOOMUCH(COpnvLine* line, int x1, int y1, int x2, int y2);
  bool Check_M_G_OPNV_L_LESSKFZ(COpnvLine* line, int x1, int y1, int x2, int y2);
  bool Check_M_G_OPNV_L_TOOLESSKFZ(COpnvLine* line, int x1, int y1, int x2, int y2);
  bool Check_M_G_OPNV_TOTAL_BADSERVICE();
  bool Check_M_G_OPNV_TOTAL_TOOLESSLINES();
  bool Check_M_G_OPNV_TOTAL_HSTNOTUSED(CBuildingObject* stop, int x, int y, int w, int h);
  bool Check_M_G_OPNV_TOTAL_OPNVNEEDED();
  bool Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(int x, int y);
  bool Check_M_G_BUILDING_SCHOOL_OPNVNEEDED(int x, int y);
  bool Check_M_G_BUILDING_SCHOOL_OPNVLINENEEDED(int x, int y);
  bool Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(int x, int y);
  bool Check_M_G_BUILDING_SCHOOL_NO30(int x, int y);
  bool Check_M_G_PARKING_USERLOW(int x, int y);
  bool Check_M_G_PARKING_PLACESNEEDED(int x, int y);

  // Derived values of the whole city, each stored and returned.
  float DXCalc_BesetzungsGradPkw();
  int DXCalc_People();
  float DXCalc_BebauteFlaeche();
  // Adds the street and rail cells within 5 cells of (x, y) along each axis.
  void Raumtrennung(int x, int y, float* sum);
  float DXCalc_StreetNetLength();
  float DXCalc_RailNetLength();
  void GetStreetDistribution(float* class1, float* class2, float* class4, float* rail);
  float DXCalc_OpnvNetLength();
  float DXCalc_OpnvNetExclusiveLength();
  double DXCalc_WegLaenge();
  double DXCalc_KmPerPerson();
  double DXCalc_KmPrice();
  double DXCalc_EnergiePerKm();
  double DXCalc_TotalEnergieverbrauch();
  double DXCalc_TotalEmmission();
  double DXCalc_BenzinPkw();
  double DXCalc_BenzinBus();
  float DXCalc_QuotePkwH2();
  float DXCalc_QuotePkwE();
  float DX_CalculateQuoteTeleworking();
  // The network that "W." names address (the demand simulation's).
  void SetCyberNet(CCyberNet* net) {
    m_pCyberNet = net;
    ++m_Changes;
  }
  CCyberNet* GetCyberNet() const { return m_pCyberNet; }

  // Binds var to the owner of name; 0 when bound, 1 when no owner takes it.
  int GetWorldVars(const char* name, CVar* var);
  CVarOwner* GetObjectByName(const char* name);
  double DoVar(ExType op, const char* name, double value);

  double GetVarValue(const char* name);
  void SetVarValue(const char* name, double value);
  void VarAddValue(const char* name, double value);
  void VarSubValue(const char* name, double value);
  // Named-variable operations of the data exchange itself: 1 when no owner
  // holds the name.
  using CVarOwner::GetVarData;
  using CVarOwner::SetVarData;
  int SetVarData(const char* name, double value) override;
  int GetVarData(const char* name, double* value) override;
  int GetVarMax(const char* name, float* max) override;

  CVar* GetVarByName(const char* bareName) const { return m_Globals.GetVarByName(bareName); }
  int GetValue(const char* bareName, char* buffer, size_t size);
  int AddVarHead(CVar* var);
  int RemoveVar(CVar* var);
  int DestroyVar(CVar* var);

  int SerializeGameStore(FILE* file) override;
  // Reads the block of a record whose length field said `length`; older
  // savegames hold a shorter block, never more than the block takes.
  int SerializeGameLoad(FILE* file, int length, int version);

  // Moves the population targets of the growth model over the time from
  // lastYear to nowYear (fractional years).
  void CalculateGrowth(double nowYear, double lastYear);
  void SetGrowthContext(CGrowthContext* context) { m_pGrowthContext = context; }

  // Counts and shares.
  // Asks the city model for its residents, stores and returns them; without
  // a city model, the stored count.
  int GetPeople();
  // The city's residents, handed in by whoever counts them.
  void SetPeople(int people) { m_Block.people = people; }
  int GetWorker() const { return m_Block.worker; }
  int GetWorkerD() const { return m_Block.workerD; }
  int GetWorkerI() const { return m_Block.workerI; }
  int GetFze() const { return m_Block.fze; }
  int GetKfz() const { return m_Block.kfz; }
  int GetTeleWorker() const { return m_Block.teleWorker; }
  int GetH2Car() const { return m_Block.h2Car; }
  int GetEnergieCar() const { return m_Block.energieCar; }
  int GetMicrocar() const { return m_Block.microcar; }
  int GetVerzichtAuto() const { return m_Block.verzichtAuto; }
  void SetVerzichtAuto(int n) { m_Block.verzichtAuto = n; }
  void SetMicrocar(int n) { m_Block.microcar = n; }
  void SetStatistik(int flag) { m_Block.statistik = flag; }
  void SetBerater(int flag) { m_Block.berater = flag; }
  void SetTargetPeople(int n) { m_Block.targetPeople = n; }
  void SetTargetJobs(int n) { m_Block.targetJobs = n; }
  void SetTargetHomes(int n) { m_Block.targetHomes = n; }
  int GetTargetPeople() const { return m_Block.targetPeople; }
  int GetTargetJobs() const { return m_Block.targetJobs; }
  int GetTargetHomes() const { return m_Block.targetHomes; }
  float GetRaumtrennung() const { return m_Block.raumtrennung; }
  float GetBebauteFlaeche() const { return m_Block.bebauteFlaeche; }
  float GetBesetzungsGradPkw() const { return m_Block.besetzungsGrad; }
  float GetStreetNetLength() const { return m_Block.streetNetLength; }
  float GetRailNetLength() const { return m_Block.railNetValue; }
  // Share of streets with route guidance (VLS flag), 0..1.
  float GetVlsShare() const { return m_StreetNetValue; }
  // Counts of map cells in hundreds: service (type 9), industry (type 10),
  // type 5 and type 6 cells, and the cells of traffic ways.
  float GetServiceArea() const { return m_Block.landUse[0]; }
  float GetIndustryArea() const { return m_Block.landUse[1]; }
  float GetArea5() const { return m_Block.landUse[2]; }
  float GetArea6() const { return m_Block.landUse[3]; }
  float GetTrafficArea() const { return m_Block.landUseU13; }
  float GetBuildingDensity() const { return m_Block.landUseShare; }
  // abs(homes - jobs) / 256.
  float GetHomeJobImbalance() const { return m_Block.peopleValue; }
  float GetOpnvNetLength() const { return m_Block.opnvNetLength; }
  float GetOpnvNetExclusiveLength() const { return m_Block.opnvNetExclusiveLength; }
  float GetQuoteH2Car() const { return m_Block.quoteH2; }
  float GetQuoteECar() const { return m_Block.quoteECar; }
  float GetQuoteTeleworking() const { return m_Block.quoteTeleworking; }
  int GetGrowthHindernis() const { return static_cast<int>(m_Block.growthHindernis); }
  // The shortage that holds a town below its growth target most, as the
  // entry of the growth message (group 5) the period's events raised for
  // it; -1 when they raised none.
  int GetGrowthShortage() const { return m_GrowthShortage; }
  void SetGrowthHindernis(float v) { m_Block.growthHindernis = v; }
  void SetQuoteCarH2(float q) { m_Block.quoteH2 = q; }
  void SetQuoteMicrocar(float q) { m_Block.quoteMicrocar = q; }
  void SetQuoteCarEnergie(float q) { m_Block.quoteECar = q; }
  float GetQuoteTeleworkingLastMessage() const { return m_Block.teleworkingMessageQuote; }
  void SetQuoteTeleworkingLastMessage(float q) { m_Block.teleworkingMessageQuote = q; }
  int GetTeleworkingLastChangeMessage() const { return m_Block.teleworkingMessageTime; }
  void SetTeleworkingLastChangeMessage(int t) { m_Block.teleworkingMessageTime = t; }
  float GetQuoteMicrocarLastMessage() const { return m_Block.microcarMessageQuote; }
  void SetQuoteMicrocarLastMessage(float q) { m_Block.microcarMessageQuote = q; }
  int GetMicrocarLastChangeMessage() const { return m_Block.microcarMessageTime; }
  void SetMicrocarLastChangeMessage(int t) { m_Block.microcarMessageTime = t; }
  // The block as it is, and set back to such a block: a load that is
  // refused reads the running game again, whose block then takes back the
  // message times and the money counter the load set.
  const SDataExchangeBlock& KeepBlock() const { return m_Block; }
  void PutBackBlock(const SDataExchangeBlock& kept) { m_Block = kept; }

  void SetTeleWorker(int n);
  void SetH2Car(int n);
  void SetEnergieCar(int n);
  void UpdateQuoteMicrocar();
  float GetQuoteMicroCar();
  float GetQuotePkw() const;
  int GetPkw() const;
  int GetPkwH2() const;
  int GetPkwE() const;

  // The kind of the next visible car: 0 car, 1 microcar, 2 electric,
  // 3 hydrogen, 4 shared car, 5 delivery vehicle. The named values the
  // mix is drawn from ("W.M4", "W.K12.2", "W.K12.3", "CS.USERQUOTEPEOPLE")
  // are read once for each `turn` and again after any change made through
  // the data exchange; turn 0 reads them for every car.
  int GetNextCarType(uint32_t turn = 0);
  // A picture of that kind, drawn at random; 0 and nothing filled for a
  // kind that does not exist.
  int GetNextCarResID(int kind, SCarResID* out);
  int GetCarResIDByType(int /*type*/) { return 0; }

  const SDataExchangeBlock& Block() const { return m_Block; }
  SDataExchangeBlock& Block() { return m_Block; }
  CSimWelt* GetSimulation() const { return m_pSimulation; }
  // The game around the data exchange: the map and the networks.
  CGrowthContext& Context() const { return *m_pGrowthContext; }
  // The context's city model, else the demand simulation's; null without.
  CSimCityModell* City() const;
  float GetStreetNetValue() const { return m_StreetNetValue; }
  int GetDumpCounter() const { return m_DumpCounter; }
  // Writes the network's short form to "Matrix.%3d" and lets the city
  // model write its dumps, numbered by the dump counter, which then counts
  // on. Each file is written whole or not at all; false (logged) when one
  // could not be written, and the game goes on.
  bool WriteDumps();

 protected:
  // Hands a message to the message system, paced (ActivateMessage) or at
  // once (AddMessage); 1 when refused or when there is no message system.
  virtual int PostMessage(bool paced, int group, int entry, float v1, float v2, float v3, int x, int y, int window,
                          int xd, int yd);

 private:
  // A shortage found by the period's events: 1, and 1 more on the growth
  // obstacle, when it holds.
  int CountShortage(Shortage kind);
  // The operation on one name; *known tells whether an owner held it.
  double Apply(ExType op, const char* name, double value, bool* known);
  double ApplyToNode(ExType op, const char* nodeName, double value, bool* known);
  double ApplyToGlobal(ExType op, const char* bareName, double value, bool* known);
  // Sums the lengths of every street of a network once (each is listed at
  // both of its junctions); with classes, also by street class and the VLS
  // share.
  float SumNetLengths(CStrJunctionList* net, bool classes);
  // A public-transport value by name; 0 when public transport refuses it.
  double OpnvValue(const char* name);
  // A named value rounded to float precision, as the period reads them.
  double FValue(const char* name);
  // The owner of a routed prefix; null when missing.
  CVarOwner* Owner(const char* prefix) const;
  // A service's user quote, asked of the service itself; 0 without it.
  double ServiceQuote(const char* prefix);
  // The share of people a service can win (its target quote), asked of the
  // service itself; 0 without it.
  double ServiceTarget(const char* prefix);
  // Raises a message through the message system; 1 when refused or when
  // there is no message system.
  int Raise(int group, int entry, float v1 = -1.0f, float v2 = -1.0f, float v3 = -1.0f, int x = -1, int y = -1,
            int window = -1, int xd = 1, int yd = 1);
  // The user-quote messages and, between them, the growth message.
  void QuoteEvents();
  // The school on a cell; null when none.
  CBuildingObject* SchoolAt(int x, int y) const;
  // Rules (a) and (b) of the heavy-traffic check for one school; each fills
  // the place of its message when it holds.
  bool SchoolCrossingRule(CBuildingObject* school, int* x, int* y, int* w, int* h);
  bool SchoolStreetRule(CBuildingObject* school, int* x, int* y, int* w, int* h);
  // The nearest stop of a school's location: 0 without one.
  int SchoolStop(CBuildingObject* school, int* distance);

  struct Route {
    const char* prefix;
    CVarOwner* owner;
    // A name asked while the owner is missing is logged the first time only.
    bool missingLogged;
  };
  static constexpr int kRoutes = 14;

  CZorvaWorld* m_pWorld = nullptr;
  CSimWelt* m_pSimulation = nullptr;
  CUserInt* m_pUserInt = nullptr;
  CList* m_pObjectList = nullptr;
  CCyberNet* m_pCyberNet = nullptr;
  // Changes made through the data exchange: writes of named values, a new
  // network, a new owner of a prefix.
  uint64_t m_Changes = 0;
  // The car mix's named values as last read, with the turn and the count
  // of changes they were read at.
  struct SCarMixValues {
    uint32_t turn = 0;
    uint64_t changes = 0;
    double m4 = 0.0, k12_2 = 0.0, k12_3 = 0.0, userQuote = 0.0;
  };
  SCarMixValues m_CarMix;
  int m_GrowthShortage = -1;
  CGrowthContext m_DefaultGrowthContext;
  CGrowthContext* m_pGrowthContext = &m_DefaultGrowthContext;
  CVarList m_Globals;
  Route m_Routes[kRoutes];
  float m_StreetNetValue = 0.0f;
  int m_DumpCounter = 100;
  int m_LastSettleRounds = 0;
  SDataExchangeBlock m_Block{};
};
