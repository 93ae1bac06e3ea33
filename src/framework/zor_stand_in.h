#pragma once
// Stand-ins for parts of the game that are not built yet. The first time a
// stand-in is reached it writes one line to the diagnostic log, naming the
// operation and the part that would have answered; later calls stay quiet,
// so an operation called every frame logs once and costs a counter.
//
//   virtual void PlaySound(const char*) { ZOR_STAND_IN("CGuiHost"); }
#include <map>
#include <string>

class ZorStandInSite {
 public:
  // `where` and `what` must outlive the program (string literals).
  ZorStandInSite(const char* where, const char* what);
  ZorStandInSite(const ZorStandInSite&) = delete;
  ZorStandInSite& operator=(const ZorStandInSite&) = delete;
  // Counts the call; the first one is logged.
  void Reach();

 private:
  const char* m_where;
  const char* m_what;
  int m_count = 0;
  friend int ZorStandInCount(const std::string& name);
  friend std::map<std::string, int> ZorStandInsReached();
};

// How often the stand-in "<where>::<operation>" was reached in this process;
// 0 for one never reached.
int ZorStandInCount(const std::string& name);
// Every stand-in reached so far in this process by its name, with how
// often it was reached; empty while none was.
std::map<std::string, int> ZorStandInsReached();
// How often any stand-in was reached in this process.
int ZorStandInTotal();

// Marks the enclosing function as a stand-in of the part `where`.
#define ZOR_STAND_IN(where)                                    \
  do {                                                         \
    static ZorStandInSite zor_stand_in_site_(where, __func__); \
    zor_stand_in_site_.Reach();                                \
  } while (0)
