// The design search's table for programs: columns found by their headings, missing values
// kept with their reason, and a design passing only when the file says so and its largest
// utilisation is at most 1.
#include "search_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace solvow {
namespace {

int concreteCode(const char* name) {
  CaseStore s;
  setDefaults(s);
  return static_cast<int>(s.concreteClasses.indexOf(QString::fromUtf8(name))) + 1;
}

const char kHead[] =
    "Lista;Nr;Tjocklek (m);Betong;Diam;Avk;Stämp;S (mm);Betong m3/m2;Stål överk. kg/m2;"
    "Stål fält kg/m2;Kostnad per m2;Max. nyttj.;Kontroll\r\n";

TEST(SearchTable, RowsAreReadByTheirHeadings) {
  const QByteArray text =
      QByteArray(kHead) +
      "Fallet;0;0.150;C30/37;10;AV;-;150;0.1335;3.21;1.05;170.25;0.912;Moment stöd 2\r\n"
      "Godkänd;1;0.140/0.160;C25/30;12;PÅ;1;200;0.1300;2.50;1.10;160.00;0.998;Svikt fack 2\r\n"
      "Underkänd;1;0.120;C25/30;8;AV;-;100;0.1035;2.00;1.00;150.00;1.250;Moment fält 1\r\n";
  QString error;
  const std::optional<SearchTable> table = readSearchTable(text, &error);
  ASSERT_TRUE(table.has_value()) << error.toStdString();
  ASSERT_TRUE(table->own.has_value());
  EXPECT_DOUBLE_EQ(table->own->row.worst, 0.912);
  EXPECT_EQ(table->own->row.bar, 3);  // ø 10
  ASSERT_EQ(table->rows.size(), 2);

  const SearchRow& first = table->rows[0].row;
  EXPECT_TRUE(first.passes);
  EXPECT_EQ(first.thickness, (QList<double>{0.140, 0.160}));
  EXPECT_EQ(first.concrete, concreteCode("C25/30"));
  EXPECT_EQ(first.bar, 4);  // ø 12
  EXPECT_EQ(first.curtailment, 1);
  EXPECT_EQ(first.props, 1);
  EXPECT_EQ(first.spacing, 200);
  EXPECT_DOUBLE_EQ(first.concreteVolume, 0.13);
  EXPECT_DOUBLE_EQ(first.steelTop, 2.5);
  EXPECT_DOUBLE_EQ(first.steelBottom, 1.1);
  EXPECT_DOUBLE_EQ(first.cost, 160.0);
  EXPECT_EQ(first.check, QStringLiteral("Svikt fack 2"));
  EXPECT_TRUE(table->rows[0].missing.isEmpty());

  const SearchRow& second = table->rows[1].row;
  EXPECT_FALSE(second.passes);
  EXPECT_EQ(second.bar, 2);  // ø 8
  EXPECT_EQ(second.props, -1);
}

TEST(SearchTable, AMissingValueKeepsItsReasonAndNeverPasses) {
  const struct {
    const char* label;
    const char* row;
    SearchField field;
    const char* reason;  // empty: nothing missing
    bool passes;
  } rows[] = {
      {"empty steel", "Godkänd;1;0.150;C30/37;10;AV;-;150;0.1335;;1.05;170.25;0.912;x",
       SearchField::SteelTop, "sökningen gav inget tal (ingen lösning eller för stort för fältet)",
       true},
      {"cost overflowed its field",
       "Godkänd;1;0.150;C30/37;10;AV;-;150;0.1335;3.2;1.05;********;0.912;x", SearchField::Cost,
       "för stort för fältet (ingen lösning)", true},
      {"utilisation infinite", "Godkänd;1;0.150;C30/37;10;AV;-;150;0.1335;3.2;1.05;170.25;inf;x",
       SearchField::Worst, "för stort för fältet (ingen lösning)", false},
      {"utilisation not a number",
       "Godkänd;1;0.150;C30/37;10;AV;-;150;0.1335;3.2;1.05;170.25;nan;x", SearchField::Worst,
       "kunde inte beräknas", false},
      {"said to pass but above 1",
       "Godkänd;1;0.150;C30/37;10;AV;-;150;0.1335;3.2;1.05;170.25;1.020;x", SearchField::Worst, "",
       false},
      {"a word for a number", "Godkänd;1;0.150;C30/37;10;AV;-;abc;0.1335;3.2;1.05;170.25;0.9;x",
       SearchField::Spacing, "inte ett tal: abc", true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    const std::optional<SearchTable> table = readSearchTable(QByteArray(kHead) + r.row + "\r\n");
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->rows.size(), 1);
    const SearchTableRow& row = table->rows[0];
    EXPECT_EQ(row.row.passes, r.passes);
    if (*r.reason == '\0') {
      EXPECT_TRUE(row.missing.isEmpty());
    } else {
      EXPECT_EQ(row.missing.size(), 1);
      EXPECT_EQ(row.missing.value(r.field), QString::fromUtf8(r.reason));
    }
  }
}

TEST(SearchTable, ColumnsInAnotherOrderAndBadTables) {
  // The same design with its columns reordered and no list column: it passes on its own
  // utilisation.
  const std::optional<SearchTable> reordered = readSearchTable(
      "Max. nyttj.;Kontroll;Diam;Betong;Tjocklek (m)\n0.75;Moment stöd 1;16;C30/37;0.200\n");
  ASSERT_TRUE(reordered.has_value());
  ASSERT_EQ(reordered->rows.size(), 1);
  EXPECT_EQ(reordered->rows[0].row.bar, 5);  // ø 16
  EXPECT_EQ(reordered->rows[0].row.thickness, QList<double>{0.2});
  EXPECT_TRUE(reordered->rows[0].row.passes);

  const struct {
    const char* label;
    const char* text;
  } bad[] = {
      {"empty", ""},
      {"no utilisation column", "Tjocklek;Betong;Diam\n0.2;C30/37;16\n"},
      {"a short row", "Tjocklek;Betong;Diam;Max. nyttj.\n0.2;C30/37\n"},
  };
  for (const auto& b : bad) {
    QString error;
    EXPECT_FALSE(readSearchTable(QByteArray(b.text), &error).has_value()) << b.label;
    EXPECT_FALSE(error.isEmpty()) << b.label;
  }
}

}  // namespace
}  // namespace solvow
