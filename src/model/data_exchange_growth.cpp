// The population targets that the growth of the city follows.
#include "model/data_exchange.h"

namespace {
// Counts are truncated toward zero; the arithmetic runs in extended
// precision with the single-precision factors of the growth model.
int32_t Count(long double v) { return static_cast<int32_t>(v); }
constexpr float kShrink = 0.9f;
constexpr float kGrow = 1.1f;
constexpr float kJobsPerPerson = 0.67f;
constexpr float kPersonsPerHome = 0.8f;
constexpr int32_t kMinimumTarget = 15000;
constexpr double kNeutralGrowth = 0.5;
}  // namespace

void CDataExchange::CalculateGrowth(double nowYear, double lastYear) {
  CGrowthContext& context = *m_pGrowthContext;
  if (context.GrowthHold()) return;

  // The indicators' attractiveness of the town, 0..1; a game whose
  // indicators do not answer grows neither way.
  double growth = kNeutralGrowth;
  if (GetVarData("I.GROWTH", &growth) != 0) growth = kNeutralGrowth;
  long double g = (static_cast<long double>(growth) - 0.5L) / 3.0L * (nowYear - lastYear);
  if (g > 0) g *= 1.5L;

  const int32_t people = m_Block.people;
  int32_t target = m_Block.targetPeople;
  // The target never strays far from the population.
  if (target < people && people / 10 < people - target)
    target = Count(static_cast<long double>(people) * kShrink);
  else if (target >= people && people / 10 < target - people)
    target = Count(static_cast<long double>(people) * kGrow);

  target = Count(target * (1.0L + 4.0L * g));
  if (target < kMinimumTarget) {
    target = kMinimumTarget;
  } else if (!m_Block.growthMessage) {
    context.GrowthTargetReached();
    m_Block.growthMessage = 1;
  }

  int jobs = 0, workers = 0;
  context.CityJobs(&jobs, &workers);
  m_Block.targetJobs = Count(static_cast<long double>(target) * kJobsPerPerson);
  if (jobs - workers < 1000) m_Block.targetJobs = workers + 1000;
  m_Block.targetHomes = Count(static_cast<long double>(target) / kPersonsPerHome);

  if (context.StaticCity()) target = people;
  if (context.MakeAgents()) target = people + 50000;
  m_Block.targetPeople = target;
}
