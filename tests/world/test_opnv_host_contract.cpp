// What public transport's host promises, checked against the host its own
// tests install and against the one the running game installs.
#include <gtest/gtest.h>

#include <memory>

#include "measures/opnv_line.h"
#include "measures/opnv_test_hosts.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

template <class Subject>
void ExpectTheHostsAnswers(Subject& subject) {
  COpnvHost& host = subject.Host();
  // A name the game model does not hold, and research not yet done, read 0.
  EXPECT_EQ(host.GetExchangeValue("OPNV.NO.SUCH.VALUE"), 0.0);
  EXPECT_EQ(host.GetExchangeValue("SV.RES.H2.WIRKUNG"), 0.0);
  EXPECT_EQ(host.GetExchangeValue("SV.RES.ENERGIE.WIRKUNG"), 0.0);
  // A town without people makes no bus trips.
  EXPECT_EQ(host.NrOfBusTrips(), 0);
  EXPECT_EQ(host.StreckenlaengeBus(), 0.0);
  // Binding windows that may not be open, and no selected line or stop.
  host.SetVarWorldObject(130, -2, -2, nullptr);
  host.SetZorvaList(131, 1, nullptr, 0);
  EXPECT_EQ(host.GetSelectedLine(), nullptr);
  EXPECT_EQ(host.GetSelectedHst(), nullptr);
  // A line that goes is the selected line no more.
  COpnvLine line(NET_BUS);
  host.SetSelectedLine(&line, 7);
  EXPECT_EQ(host.GetSelectedLine(), &line);
  host.ForgetLine(&line);
  EXPECT_EQ(host.GetSelectedLine(), nullptr);
}

struct TestSubject {
  OpnvTestHost host;
  COpnvHost& Host() { return host; }
};

struct GameSubject {
  zortest::Scenario game;
  COpnvHost& Host() { return *COpnvHost::Get(); }
};

TEST(OpnvHostContract, TheTestsHostAnswersAsTheGames) {
  TestSubject fake;
  ExpectTheHostsAnswers(fake);
  GameSubject game;
  ExpectTheHostsAnswers(game);
}

}  // namespace
