#include "national_tables.h"

namespace solvow {
namespace {

constexpr std::array<MarketInfo, kMarketSlots> kMarketInfo{{
    {"", "", "", "", 0, false},
    {"SVERIGE", "Frame3D2", "Säkerhetsklass", "shkl", 2, false},
    {"POLEN", "Frame3D5", "Säkerhetsklass", "shklpl", 1, true},
    {"NORGE", "Frame3D1", "Pålitlighetsklass", "pkl", 2, false},
    {"FINLAND", "Frame3D4", "Säkerhetsklass", "shklfi", 2, false},
    {"DANMARK", "Frame3D3", "Konstruktionssklasse", "shkldk", 2, false},
    {"VALFRI", "Frame3D6", "Säkerhetsklass", "shkleu", 1, true},
}};

// Market shown by flag picture k.
constexpr std::array<int, 7> kMarketOfFlag{0, 1, 3, 5, 4, 2, 6};

struct Psi {
  double psi0, psi1, psi2;
};

}  // namespace

bool isMarket(int market) { return market >= 1 && market <= kMarkets; }

bool isLoadCategory(int category) { return category >= 0 && category < kLoadCategories; }

NationalTables presetTables() {
  NationalTables t;
  //                     -   SE    PL    NO    FI    DK   free
  t.lambdaG = {0.0, 1.35, 1.35, 1.35, 1.35, 1.2, 1.35};
  t.ksi = {0.0, 0.89, 0.85, 0.89, 0.85, 1.0, 0.85};
  t.lambdaQ = {0.0, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5};

  // Combination factors: markets 1, 2, 3 and 6 share one column; Finland and Denmark differ.
  const Psi housing{0.7, 0.5, 0.3};
  const Psi meeting{0.7, 0.7, 0.6};
  const Psi meetingFi{0.7, 0.7, 0.3};
  const Psi housingDk{0.5, 0.3, 0.2};
  const Psi officeDk{0.6, 0.4, 0.2};
  const Psi meetingDk{0.6, 0.6, 0.5};
  for (int c = 0; c < kLoadCategories; ++c) {
    const Psi common = c <= 2 ? housing : meeting;
    const Psi fi = c <= 2 ? housing : (c <= 7 ? meetingFi : meeting);
    const Psi dk = c <= 1 ? housingDk : (c == 2 ? officeDk : meetingDk);
    for (int m = 1; m <= kMarkets; ++m) {
      const Psi& p = m == 4 ? fi : (m == 5 ? dk : common);
      t.psi0[c][m] = p.psi0;
      t.psi1[c][m] = p.psi1;
      t.psi2[c][m] = p.psi2;
    }
  }

  // Imposed loads, kN/m2, by category; columns markets 1..6.
  constexpr float kImposed[kLoadCategories][kMarkets] = {
      {2.0f, 2.0f, 2.0f, 2.0f, 1.5f, 2.0f},  // 0 free load
      {2.0f, 2.0f, 2.0f, 2.0f, 1.5f, 2.0f},  // 1 A housing
      {2.5f, 3.0f, 3.0f, 2.5f, 2.5f, 3.0f},  // 2 B offices
      {2.5f, 3.0f, 3.0f, 2.5f, 2.5f, 3.0f},  // 3 C1
      {2.5f, 4.0f, 4.0f, 3.0f, 4.0f, 4.0f},  // 4 C2
      {3.0f, 5.0f, 5.0f, 4.0f, 5.0f, 5.0f},  // 5 C3
      {4.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f},  // 6 C4
      {5.0f, 5.0f, 5.0f, 6.0f, 5.0f, 5.0f},  // 7 C5
      {4.0f, 4.0f, 4.0f, 4.0f, 4.0f, 4.0f},  // 8 D1
      {5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f},  // 9 D2
  };
  for (int c = 0; c < kLoadCategories; ++c)
    for (int m = 1; m <= kMarkets; ++m) t.imposedLoad[c][m] = kImposed[c][m - 1];
  return t;
}

const MarketInfo& marketInfo(int market) {
  return kMarketInfo[static_cast<std::size_t>(isMarket(market) ? market : 0)];
}

qint16 classAfterMarketChange(int market, qint16 stored) {
  const MarketInfo& info = marketInfo(market);
  if (info.alwaysDefault) return info.defaultClass;
  return stored == 0 ? info.defaultClass : stored;
}

bool factorsEditable(int market) { return market == kFreeMarket; }

int marketOfFlag(int flag) {
  return flag >= 1 && flag <= 6 ? kMarketOfFlag[static_cast<std::size_t>(flag)] : 0;
}

int flagOfMarket(int market) {
  for (int k = 1; k <= 6; ++k)
    if (kMarketOfFlag[static_cast<std::size_t>(k)] == market) return k;
  return 0;
}

int flagAfterClick(int flag) { return flag >= 1 && flag < 6 ? flag + 1 : 1; }

int marketAfterClick(int flag) {
  switch (flag) {
    case 1:
      return 3;
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 2;
    case 5:
      return 6;
    default:
      return 1;
  }
}

QStringList loadCategoryNames() {
  return {QStringLiteral("Valfri last"), QStringLiteral("A-Bostäder "),
          QStringLiteral("B-Kontor   "), QStringLiteral("C1         "),
          QStringLiteral("C2         "), QStringLiteral("C3         "),
          QStringLiteral("C4         "), QStringLiteral("C5         "),
          QStringLiteral("D1         "), QStringLiteral("D2         ")};
}

}  // namespace solvow
