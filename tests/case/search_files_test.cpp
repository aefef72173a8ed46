// The front end's side of the design search: the span lists, the proposal from the case, the
// plan it writes (read back by the engine's own reader), and the search's files written by
// the engine read back and applied to the case.
#include "search_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <sstream>

#include "case_file.h"
#include "case_input.h"
#include "search.h"
#include "search_plan.h"

namespace solvow {
namespace {

// The ten-span sample's 37 lines of the original layout: no props during casting.
QByteArray sample() {
  QFile f(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> lines = f.readAll().split('\n');
  return lines.mid(0, 37).join('\n') + '\n';
}

CaseStore tenSpans() {
  CaseStore s;
  setDefaults(s);
  QString error;
  EXPECT_TRUE(readCaseBytes(sample(), QStringLiteral("TIOFACK.IND"), s, &error))
      << error.toStdString();
  return s;
}

TEST(SearchFiles, SpanListsBothWays) {
  const struct {
    QList<int> spans;
    const char* text;
  } good[] = {{{1, 2, 9, 10}, "1-2,9-10"},
              {{3}, "3"},
              {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "1-10"},
              {{2, 4, 5, 6, 8}, "2,4-6,8"}};
  for (const auto& g : good) {
    EXPECT_EQ(spansText(g.spans).toStdString(), g.text);
    EXPECT_EQ(parseSpans(QString::fromLatin1(g.text), 10), g.spans) << g.text;
  }
  EXPECT_EQ(parseSpans(QStringLiteral(" 3, 1 -2 "), 10), (QList<int>{1, 2, 3}));
  for (const char* bad : {"", "0", "11", "1-11", "3-2", "1,,2", "a", "1-", "-2"})
    EXPECT_FALSE(parseSpans(QString::fromLatin1(bad), 10).has_value()) << bad;
}

// The proposal for the ten-span sample, written as a plan and read by the engine's
// reader: four groups of five thicknesses each (the case's +- 0.02 m), C35/45, 12 mm bars,
// staggered, 5^4 = 625 designs.
TEST(SearchFiles, TheProposalIsASpecificationTheEngineReads) {
  SearchRanges r = defaultRanges(tenSpans());
  ASSERT_EQ(r.groups.size(), 4);
  EXPECT_EQ(r.groups[0].spans, (QList<int>{1, 2, 9, 10}));
  EXPECT_DOUBLE_EQ(r.groups[0].from, 0.12);
  EXPECT_DOUBLE_EQ(r.groups[3].to, 0.22);
  EXPECT_EQ(candidateCount(r), 625);
  r.props = {1, 2};
  r.steelPrice = 12.5;
  r.propPrice = 30;
  EXPECT_EQ(candidateCount(r), 1250);

  const QByteArray text = planText(r);
  solvo::Run run;
  const QByteArray bytes = sample();
  solvo::insolvo(run, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  const solvo::SearchPlan plan =
      solvo::read_search_plan(text.toStdString(), "SEARCH.SPC", run.indat);
  EXPECT_EQ(plan.candidates(), 1250);
  ASSERT_EQ(plan.groups.size(), 4u);
  EXPECT_EQ(plan.groups[1].spans, (std::vector<int>{3, 8}));
  EXPECT_EQ(plan.groups[1].thicknesses.front(), 0.14f);
  EXPECT_EQ(plan.concrete, (std::vector<int32_t>{4}));
  EXPECT_EQ(plan.bars, (std::vector<int32_t>{4}));
  EXPECT_EQ(plan.layouts, (std::vector<int32_t>{2}));
  EXPECT_EQ(plan.props, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(plan.steel_price, 12.5f);
  EXPECT_EQ(plan.prop_price, 30.0f);
}

// A search by the engine in a scratch folder, read back: every row as the engine listed it,
// and the chosen one in the store.
TEST(SearchFiles, TheEnginesResultIsReadAndApplied) {
  QTemporaryDir dir;
  {
    QFile f(QDir(dir.path()).filePath(QStringLiteral("~INDATA~.TMP")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(sample());
  }
  SearchRanges r = defaultRanges(tenSpans());
  r.concrete = {1, 4};
  r.props = {2};
  {
    QFile f(QDir(dir.path()).filePath(QString::fromLatin1(kSearchPlanFile)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(planText(r));
  }
  std::ostringstream out, err;
  ASSERT_EQ(solvo::run_solvowb_search(dir.path().toStdString(), kSearchPlanFile, out, err), 0)
      << err.str();
  QFile res(QDir(dir.path()).filePath(QString::fromLatin1(kSearchResultFile)));
  ASSERT_TRUE(res.open(QIODevice::ReadOnly));
  QFile table(QDir(dir.path()).filePath(QString::fromLatin1(kSearchTableFile)));
  ASSERT_TRUE(table.open(QIODevice::ReadOnly));
  const QByteArray reportBytes = res.readAll();
  const auto result = parseSearchFiles(reportBytes, table.readAll());
  // The report's own rows read the same designs as the table.
  const auto fromReport = parseSearchResult(reportBytes);
  ASSERT_TRUE(fromReport.has_value());
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->tried, 1250);
  EXPECT_GT(result->passing, 0);
  ASSERT_EQ(result->groups.size(), 4);
  EXPECT_EQ(result->groups[2], (QList<int>{4, 7}));
  ASSERT_TRUE(result->own.has_value());
  EXPECT_EQ(result->own->props, 0);  // the sample has no props: its deck fails
  EXPECT_FALSE(result->own->passes);
  EXPECT_TRUE(result->own->check.startsWith(QStringLiteral("Byggskede, ")));
  // Passing rows first, cheapest first, each with 2 props and every utilisation <= 1.
  ASSERT_GE(result->rows.size(), 2);
  const SearchRow& best = result->rows.front();
  EXPECT_TRUE(best.passes);
  EXPECT_EQ(best.props, 2);
  EXPECT_LE(best.worst, 1.0);
  EXPECT_EQ(best.thickness.size(), 4);
  EXPECT_LE(result->rows[0].cost, result->rows[1].cost);
  ASSERT_EQ(fromReport->rows.size(), result->rows.size());
  for (qsizetype k = 0; k < result->rows.size(); ++k) {
    EXPECT_EQ(fromReport->rows[k].thickness, result->rows[k].thickness) << k;
    EXPECT_EQ(fromReport->rows[k].cost, result->rows[k].cost) << k;
    EXPECT_EQ(fromReport->rows[k].check, result->rows[k].check) << k;
  }
  // Cost as the file states its rule: concrete price of the class x volume + 15 x steel.
  const double price = best.concrete == 1 ? 1400 : 1550;
  EXPECT_NEAR(best.cost, price * best.concreteVolume + 15 * (best.steelTop + best.steelBottom),
              0.02 + price * 0.00005);

  CaseStore s = tenSpans();
  applySearchRow(s, *result, best);
  EXPECT_TRUE(s.changed);
  EXPECT_FALSE(s.diagramEnabled);
  EXPECT_EQ(s.btg, best.concrete);
  EXPECT_EQ(s.dok, best.bar);
  EXPECT_EQ(s.kavko, best.curtailment);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(s.stamp[static_cast<size_t>(i)], 2) << "span " << i;
  EXPECT_FLOAT_EQ(s.ptjl[4], static_cast<float>(best.thickness[2]));
  EXPECT_FLOAT_EQ(s.ptjl[7], static_cast<float>(best.thickness[2]));
  EXPECT_FLOAT_EQ(s.ptjl[10], static_cast<float>(best.thickness[0]));
}

TEST(SearchFiles, OtherFilesAreNotResults) {
  EXPECT_FALSE(parseSearchResult(QByteArray()).has_value());
  EXPECT_FALSE(parseSearchResult(sample()).has_value());
  EXPECT_FALSE(parseSearchTable(QByteArray()).has_value());
  EXPECT_FALSE(parseSearchTable(sample()).has_value());
}

// Rows of the table as the engine writes them: an empty utilisation is a design without
// solution, empty props the case's own, and a row of the wrong length makes no table.
TEST(SearchFiles, TheTablesRowsAreRead) {
  const QByteArray head =
      "Lista;Nr;Tjocklek fack 1-2,9-10 (m);Tjocklek fack 5 (m);Betong;Diameter (mm);"
      "Avkortning;St\xC3\xA4mp;S (mm);Betongvolym (m3/m2);St\xC3\xA5l \xC3\xB6verkant (kg/m2);"
      "St\xC3\xA5l f\xC3\xA4lt (kg/m2);Kostnad (per m2);Max. nyttjandegrad;Kontroll\r\n";
  const QByteArray own =
      "Fallet;0;0.140;0.200;C35/45;12;P\xC3\x85;;181;0.1539;2.09;0.50;"
      "26136.70;;St\xC3\xB6"
      "darmering saknar l\xC3\xB6sning st\xC3\xB6"
      "d 4\r\n";
  const QByteArray pass =
      "Godk\xC3\xA4nd;1;0.150;0.210;C20/25;10;AV;2;151;0.1886;1.71;0.18;"
      "12345.67;0.819;Svikt fack 5\r\n";
  const auto t = parseSearchTable(head + own + pass);
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->groups, (QList<QList<int>>{{1, 2, 9, 10}, {5}}));
  ASSERT_TRUE(t->own.has_value());
  EXPECT_FALSE(t->own->passes);
  EXPECT_TRUE(std::isinf(t->own->worst));
  EXPECT_EQ(t->own->props, -1);
  EXPECT_EQ(t->own->curtailment, 1);
  ASSERT_EQ(t->rows.size(), 1);
  const SearchRow& r = t->rows.front();
  EXPECT_TRUE(r.passes);
  EXPECT_EQ(r.thickness, (QList<double>{0.150, 0.210}));
  EXPECT_EQ(r.concrete, 1);
  EXPECT_EQ(r.bar, 3);  // 10 mm
  EXPECT_EQ(r.curtailment, 0);
  EXPECT_EQ(r.props, 2);
  EXPECT_EQ(r.spacing, 151);
  EXPECT_DOUBLE_EQ(r.cost, 12345.67);  // five digits before the point, read whole
  EXPECT_DOUBLE_EQ(r.worst, 0.819);
  EXPECT_EQ(r.check, QStringLiteral("Svikt fack 5"));
  // A row with one field too few or too many.
  QByteArray shortRow = pass;
  shortRow.replace(";0.819;", ";");
  EXPECT_FALSE(parseSearchTable(head + shortRow).has_value());
  QByteArray longRow = pass;
  longRow.replace(";0.819;", ";0.819;1;");
  EXPECT_FALSE(parseSearchTable(head + longRow).has_value());
}

}  // namespace
}  // namespace solvow
