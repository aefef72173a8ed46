#include "national_tables.h"

#include <gtest/gtest.h>

#include "case_store.h"
#include "text_conv.h"

namespace solvow {
namespace {

TEST(FlagCycle, ClicksStepTheMarketsOneThreeFiveFourTwoSix) {
  CaseStore s;
  setDefaults(s);
  s.market = 1;
  int flag = flagOfMarket(1);
  std::vector<int> seen;
  for (int i = 0; i < 6; ++i) {
    flag = flagClick(s, flag);
    EXPECT_EQ(marketOfFlag(flag), s.market) << "the visible flag shows the market";
    seen.push_back(s.market);
  }
  EXPECT_EQ(seen, (std::vector<int>{3, 5, 4, 2, 6, 1}));
  EXPECT_TRUE(s.changed);
}

TEST(FlagCycle, SixClicksReturnToTheStartAndKeepOrResetTheClass) {
  for (int start = 1; start <= 6; ++start) {
    CaseStore s;
    setDefaults(s);
    s.market = static_cast<qint16>(start);
    s.safetyClass = {0, 3, 3, 3, 3, 3, 3};  // every market has class 3 stored
    int flag = flagOfMarket(start);
    for (int i = 0; i < 6; ++i) flag = flagClick(s, flag);
    EXPECT_EQ(s.market, start);
    EXPECT_EQ(flag, flagOfMarket(start));
    // Poland and the free market always select class 1; the others keep a stored class.
    const qint16 want = start == 2 || start == 6 ? 1 : 3;
    EXPECT_EQ(s.safetyClass[static_cast<std::size_t>(start)], want) << "market " << start;
  }
}

TEST(FlagCycle, AMarketWithoutAStoredClassSelectsClassTwo) {
  for (int m = 1; m <= 6; ++m) {
    const qint16 want = m == 2 || m == 6 ? 1 : 2;
    EXPECT_EQ(classAfterMarketChange(m, 0), want) << m;
  }
  EXPECT_EQ(flagAfterClick(6), 1);
  EXPECT_EQ(flagAfterClick(9), 1);
  EXPECT_EQ(marketAfterClick(9), 1);
}

struct PsiCase {
  int market;
  int category;
  const char* psi0;
  const char* psi1;
  const char* psi2;
};

TEST(NationalTables, CombinationFactorsAsTheFieldsShowThem) {
  const PsiCase cases[] = {
      {5, 1, "0.50", "0.30", "0.20"}, {4, 5, "0.70", "0.70", "0.30"},
      {4, 8, "0.70", "0.70", "0.60"}, {5, 2, "0.60", "0.40", "0.20"},
      {5, 9, "0.60", "0.60", "0.50"}, {1, 2, "0.70", "0.50", "0.30"},
      {3, 3, "0.70", "0.70", "0.60"}, {6, 0, "0.70", "0.50", "0.30"},
  };
  CaseStore s;
  setDefaults(s);
  const QLocale c = QLocale::c();
  for (const PsiCase& pc : cases) {
    s.market = static_cast<qint16>(pc.market);
    s.lokt = static_cast<qint16>(pc.category);
    const auto f = currentFactors(s);
    EXPECT_EQ(formatNumber(f[3], u"#0.00", c).toStdString(), pc.psi0)
        << pc.market << "/" << pc.category;
    EXPECT_EQ(formatNumber(f[4], u"#0.00", c).toStdString(), pc.psi1)
        << pc.market << "/" << pc.category;
    EXPECT_EQ(formatNumber(f[5], u"#0.00", c).toStdString(), pc.psi2)
        << pc.market << "/" << pc.category;
  }
}

}  // namespace
}  // namespace solvow

namespace solvow {
namespace {

// The written imposed-load table, kN/m2, categories 0..9, markets 1..6.
constexpr float kWrittenImposed[10][6] = {
    {2.0f, 2.0f, 2.0f, 2.0f, 1.5f, 2.0f}, {2.0f, 2.0f, 2.0f, 2.0f, 1.5f, 2.0f},
    {2.5f, 3.0f, 3.0f, 2.5f, 2.5f, 3.0f}, {2.5f, 3.0f, 3.0f, 2.5f, 2.5f, 3.0f},
    {2.5f, 4.0f, 4.0f, 3.0f, 4.0f, 4.0f}, {3.0f, 5.0f, 5.0f, 4.0f, 5.0f, 5.0f},
    {4.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f}, {5.0f, 5.0f, 5.0f, 6.0f, 5.0f, 5.0f},
    {4.0f, 4.0f, 4.0f, 4.0f, 4.0f, 4.0f}, {5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f},
};

// Every ordered pair of markets (from each start, six clicks reach every other market) under
// every table category: the loads of spans 1..10 are the new market's; spans beyond keep
// theirs.
TEST(FlagCycle, AFlagClickRefillsTheImposedLoadOfTheNewMarket) {
  for (int category = 1; category <= 9; ++category)
    for (int start = 1; start <= 6; ++start) {
      CaseStore s;
      setDefaults(s);
      s.market = static_cast<qint16>(start);
      s.lokt = static_cast<qint16>(category);
      fillImposedLoads(s);
      s.flast[11] = 7.0f;
      int flag = flagOfMarket(start);
      for (int click = 0; click < 6; ++click) {
        flag = flagClick(s, flag);
        const float want = kWrittenImposed[category][s.market - 1];
        for (int i = 1; i <= 10; ++i)
          ASSERT_EQ(s.flast[static_cast<std::size_t>(i)], want)
              << "category " << category << " from " << start << " to " << s.market << " span "
              << i;
        EXPECT_EQ(s.flast[11], 7.0f);
      }
    }
}

TEST(FlagCycle, BKontorInSwedenThenNorwayCarriesNorwaysThreeKiloNewtons) {
  CaseStore s;
  setDefaults(s);
  s.market = 1;
  s.lokt = 2;
  fillImposedLoads(s);
  EXPECT_EQ(s.flast[1], 2.5f);
  flagClick(s, flagOfMarket(1));  // Sweden -> Norway
  ASSERT_EQ(s.market, 3);
  EXPECT_EQ(s.flast[1], 3.0f);
  EXPECT_EQ(s.flast[10], 3.0f);
}

TEST(FlagCycle, UnderValfriLastTheLoadsStayTheUsers) {
  CaseStore s;
  setDefaults(s);
  s.market = 1;
  s.lokt = 0;
  s.flast[1] = 7.25f;
  s.flast[2] = 1.1f;
  int flag = flagOfMarket(1);
  for (int click = 0; click < 6; ++click) {
    flag = flagClick(s, flag);
    EXPECT_EQ(s.flast[1], 7.25f);
    EXPECT_EQ(s.flast[2], 1.1f);
  }
}

}  // namespace
}  // namespace solvow
