#include "case_store.h"

#include <algorithm>

#include "case_format.h"

namespace solvow {

void setDefaults(CaseStore& store) {
  store.national = presetTables();
  store.concreteClasses = {
      QStringLiteral("C20/25"), QStringLiteral("C25/30"), QStringLiteral("C30/37"),
      QStringLiteral("C35/45"), QStringLiteral("C40/50"), QStringLiteral("C45/55"),
      QStringLiteral("C50/60"), QStringLiteral("C55/67"), QStringLiteral("C60/75")};
  store.barDiameters = {QStringLiteral("ø 6"), QStringLiteral("ø 8"), QStringLiteral("ø 10"),
                        QStringLiteral("ø 12"), QStringLiteral("ø 16")};
  store.steelGrades = {QStringLiteral("400"), QStringLiteral("500"), QStringLiteral("600")};
  store.loadCategories = loadCategoryNames();
  store.fireMethods = {QStringLiteral("Brandteknisk klass")};
  for (int i = 1; i <= kStoreSpans; ++i) {
    store.spv[i] = 5.5f;
    store.ptjl[i] = 0.17f;
    store.flast[i] = 2.0f;
    store.plast[i] = 0.0f;
  }
  store.upl.fill(0.1f);
  // Lines 38-41: what a file of 37 (or 40) lines is read with.
  using solvo::platform::case_field;
  using solvo::platform::Field;
  store.stamp.fill(static_cast<qint16>(case_field(Field::Props).fallback));
  store.byggskede = static_cast<qint16>(case_field(Field::DeckSupport).fallback);
  store.egenfrekvens = static_cast<float>(case_field(Field::FrequencyMin).fallback);
  store.sprickbredd = static_cast<float>(case_field(Field::CrackWidthMax).fallback);
  store.diagramEnabled = false;
}

void markEdited(CaseStore& store, DiagramAfterEdit diagram) {
  store.changed = true;
  if (diagram == DiagramAfterEdit::Cleared) store.diagramEnabled = false;
}

int flagClick(CaseStore& store, int flag) {
  markEdited(store, DiagramAfterEdit::Kept);
  const int market = marketAfterClick(flag);
  store.market = static_cast<qint16>(market);
  store.safetyClass[static_cast<std::size_t>(market)] =
      classAfterMarketChange(market, store.safetyClass[static_cast<std::size_t>(market)]);
  // Under a table category the load fields cannot be edited: a load kept from the old market
  // would be calculated under the new market's name.
  if (isLoadCategory(store.lokt) && store.lokt != 0) fillImposedLoads(store);
  return flagAfterClick(flag);
}

namespace {

float presetImposedLoad(const CaseStore& store) {
  return store.national
      .imposedLoad[static_cast<std::size_t>(store.lokt)][static_cast<std::size_t>(store.market)];
}

}  // namespace

void fillImposedLoads(CaseStore& store) {
  const float load = presetImposedLoad(store);
  for (int i = 1; i <= kMaxSpans; ++i) store.flast[static_cast<std::size_t>(i)] = load;
}

void fillImposedLoadsAfter(CaseStore& store, int n) {
  if (store.lokt == 0 || !isLoadCategory(store.lokt) || !isMarket(store.market)) return;
  const float load = presetImposedLoad(store);
  for (int i = std::max(n, 0) + 1; i <= kMaxSpans; ++i)
    store.flast[static_cast<std::size_t>(i)] = load;
}

std::array<double, 6> currentFactors(const CaseStore& store) {
  const auto m = static_cast<std::size_t>(store.market);
  const auto c = static_cast<std::size_t>(store.lokt);
  const NationalTables& t = store.national;
  return {t.lambdaG[m], t.ksi[m], t.lambdaQ[m], t.psi0[c][m], t.psi1[c][m], t.psi2[c][m]};
}

}  // namespace solvow
