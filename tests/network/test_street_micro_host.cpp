// The street network answers the micro simulation by the sim ids of its
// streets.
#include <gtest/gtest.h>

#include "junction_scene.h"
#include "network/str_micro_host.h"

using namespace junctiontest;

namespace {

class Host : public CStrMicroHost {
 public:
  explicit Host(CStrJunctionList* net) : m_net(net) {}

 protected:
  CStrJunctionList* GetStreets() override { return m_net; }

 private:
  CStrJunctionList* m_net;
};

}  // namespace

TEST(StreetMicroHost, StreetsAreFoundByEitherSimIdAndUnknownIdsAreRefused) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  Host host(w.net.get());
  const std::vector<CStrStrasse*> streets = w.Streets();
  ASSERT_EQ(streets.size(), 3u);
  double v = -1;
  int flow = -1;
  for (size_t i = 0; i < streets.size(); ++i) {
    CStrStrasse* s = streets[i];
    ASSERT_EQ(s->SetVelocity(4.0 + 6.0 * static_cast<double>(i)), 0);
    EXPECT_TRUE(host.GetStreetVelocity(static_cast<uint16_t>(s->GetSimID()), v));
    EXPECT_DOUBLE_EQ(v, 4.0 + 6.0 * static_cast<double>(i));
    EXPECT_TRUE(host.GetStreetFlow(static_cast<uint16_t>(s->GetSimID()), flow));
    EXPECT_EQ(flow, s->GetAuslastung());
    if (s->GetSimIDSecond() != 0) {
      EXPECT_TRUE(host.GetStreetVelocity(static_cast<uint16_t>(s->GetSimIDSecond()), v));
      EXPECT_TRUE(host.GetStreetFlow(static_cast<uint16_t>(s->GetSimIDSecond()), flow));
      EXPECT_EQ(flow, s->GetAuslastungSecond());
    }
  }
  EXPECT_FALSE(host.GetStreetVelocity(0, v));
  EXPECT_FALSE(host.GetStreetFlow(999, flow));
  Host none(nullptr);
  EXPECT_FALSE(none.GetStreetVelocity(static_cast<uint16_t>(streets[0]->GetSimID()), v));
}
