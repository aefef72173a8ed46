// The front end's reader, writer and checks before a run against the ranges of the case file's
// fields: the shared list of values (tests/common/case_value_rows.h) that the engine's reader is
// held to as well, line 41, a file cut inside its last line, and the text lines.
#include "case_format.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <string>

#include "case_file.h"
#include "case_value_rows.h"
#include "run_checks.h"

namespace solvow {
namespace {

using solvo::testing::kCaseValueRows;

QByteArray defaultCase() {
  QFile f(QStringLiteral(SOLVO_DATA "/solvo.def"));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray edited(const solvo::testing::CaseValueRow& row) {
  const QByteArray base = defaultCase();
  return QByteArray::fromStdString(solvo::testing::edited_case(base.toStdString(), row));
}

// A case that differs from the default case in every line the rows touch, so that a partly
// read file shows.
CaseStore keptCase() {
  CaseStore s;
  setDefaults(s);
  s.baseName = QStringLiteral("KEPT");
  s.market = 3;
  s.safetyClass[3] = 1;
  s.nfack = 3;
  s.spv[1] = 4.5f;
  s.btg = 7;
  s.sprickbredd = 0.2f;
  return s;
}

TEST(CaseFormatFrontEnd, EachRowOfTheSharedListIsRefusedAtItsLineOrRead) {
  for (const auto& row : kCaseValueRows) {
    CaseStore store = keptCase();
    const CaseStore before = store;
    QString error;
    const bool read = readCaseBytes(edited(row), QStringLiteral("BAD.IND"), store, &error);
    if (row.refused_at == 0) {
      EXPECT_TRUE(read) << row.label << ": " << error.toStdString();
      // What was read is written back and read again alike.
      const std::optional<QByteArray> bytes = caseFileBytes(store, &error);
      ASSERT_TRUE(bytes.has_value()) << row.label << ": " << error.toStdString();
      CaseStore again = keptCase();
      EXPECT_TRUE(readCaseBytes(*bytes, QStringLiteral("AGAIN.IND"), again)) << row.label;
      EXPECT_EQ(caseFileBytes(again), bytes) << row.label;
      continue;
    }
    EXPECT_FALSE(read) << row.label;
    EXPECT_TRUE(error.startsWith(
        QStringLiteral("Filen BAD.IND kan inte läsas, rad %1: ").arg(row.refused_at)))
        << row.label << ": " << error.toStdString();
    EXPECT_FALSE(error.contains(u'\x1b')) << row.label;
    EXPECT_EQ(store, before) << row.label << ": the case changed";
  }
}

// The file keeps three decimals of a span, a thickness, a support, a factor or a load; a value
// is held to its range as the file will keep it, so none is read that cannot be saved and read
// again (a span of 0.0004 m would be saved as 0.000).
TEST(CaseFormatFrontEnd, ValuesAreHeldToTheirRangeAsTheFileKeepsThem) {
  const struct {
    const char* label;
    solvo::testing::CaseEdit edit;
    int refused_at;
    const char* written;  // the start of the line as saved again; "" when refused
  } rows[] = {
      {"span rounding to 0", {6, "0.0004 6.000  "}, 6, ""},
      {"span rounding to 1 mm", {6, "0.0014 6.000  "}, 0, "0.001  6.000  "},
      {"span rounding past 30 m", {6, "30.0006 6.00 "}, 6, ""},
      {"thickness rounding to the deck", {7, "0.0454 0.160  "}, 7, ""},
      {"thickness rounding to 0.5 m", {7, "0.5004 0.160  "}, 0, "0.500  0.160  "},
      {"gamma G rounding past 2", {10, "2.0006 0.890  1.500  0.700  0.500  0.300  "}, 10, ""},
      {"permanent load rounding to 100", {12, "99.9996 0.500 "}, 0, "100.0000.500  "},
  };
  for (const auto& row : rows) {
    CaseStore store = keptCase();
    QString error;
    const solvo::testing::CaseValueRow edit{row.label, row.edit, {}, row.refused_at};
    const bool read = readCaseBytes(edited(edit), QStringLiteral("BAD.IND"), store, &error);
    if (row.refused_at != 0) {
      EXPECT_FALSE(read) << row.label;
      EXPECT_TRUE(error.startsWith(
          QStringLiteral("Filen BAD.IND kan inte läsas, rad %1: ").arg(row.refused_at)))
          << row.label << ": " << error.toStdString();
      continue;
    }
    ASSERT_TRUE(read) << row.label << ": " << error.toStdString();
    const std::optional<QByteArray> bytes = caseFileBytes(store, &error);
    ASSERT_TRUE(bytes.has_value()) << row.label << ": " << error.toStdString();
    const QByteArray line = bytes->split('\n').value(row.edit.line - 1);
    EXPECT_TRUE(line.startsWith(row.written)) << row.label << ": " << line.toStdString();
    CaseStore again = keptCase();
    EXPECT_TRUE(readCaseBytes(*bytes, QStringLiteral("AGAIN.IND"), again)) << row.label;
  }
}

TEST(CaseFormatFrontEnd, TheWriterWritesFortyOneLinesAndLine41RoundTrips) {
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(defaultCase(), QStringLiteral("solvo.def"), s));
  EXPECT_FLOAT_EQ(s.sprickbredd, 0.4f);  // the default case has 40 lines
  s.sprickbredd = 0.3f;
  const QByteArray bytes = *caseFileBytes(s);
  EXPECT_EQ(bytes.count("\r\n"), 41);
  EXPECT_TRUE(bytes.endsWith("\r\n5\r\n0.3\r\n")) << bytes.right(20).toStdString();
  CaseStore back;
  setDefaults(back);
  ASSERT_TRUE(readCaseBytes(bytes, QStringLiteral("X.IND"), back));
  EXPECT_FLOAT_EQ(back.sprickbredd, 0.3f);
  EXPECT_EQ(*caseFileBytes(back), bytes);
}

TEST(CaseFormatFrontEnd, FilesOf37And40LinesReadTheCrackWidthDefault) {
  const QByteArrayList lines = defaultCase().split('\n');
  for (const int count : {37, 40}) {
    CaseStore s = keptCase();  // 0.2 mm
    const QByteArray file = lines.mid(0, count).join('\n') + "\n";
    QString error;
    ASSERT_TRUE(readCaseBytes(file, QStringLiteral("OLD.IND"), s, &error))
        << count << ": " << error.toStdString();
    EXPECT_FLOAT_EQ(s.sprickbredd, 0.4f) << count;
  }
}

// Line 37 of the default case is "1  0.000  0.000  " (17 characters).
TEST(CaseFormatFrontEnd, AFileEndingInsideItsLastFixedLineIsRefused) {
  const QByteArrayList lines = defaultCase().split('\n');
  const QByteArray before = lines.mid(0, 36).join('\n') + "\n";
  struct Row {
    const char* last;
    bool read;
  };
  const Row rows[] = {{"1  0.000  0.000  ", true},
                      {"1  0.000  12", false},
                      {"1", false},
                      {"1\r\n", true},
                      {"1  0.000  12\n", true}};
  for (const Row& r : rows) {
    CaseStore s = keptCase();
    const CaseStore kept = s;
    QString error;
    EXPECT_EQ(readCaseBytes(before + r.last, QStringLiteral("CUT.IND"), s, &error), r.read)
        << r.last;
    if (!r.read) {
      EXPECT_TRUE(error.startsWith(QStringLiteral("Filen CUT.IND kan inte läsas, rad 37: ")))
          << error.toStdString();
      EXPECT_EQ(s, kept);
    }
  }
}

TEST(CaseFormatFrontEnd, FireOptionFourIsReadAndWrittenBack) {
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(edited({"", {25, "4"}, {}, 0}), QStringLiteral("X.IND"), s));
  EXPECT_EQ(s.brandb, 4);
  EXPECT_TRUE(caseFileBytes(s)->contains("\r\n1\r\n4\r\n1\r\n"));  // lines 24-26
}

// Control bytes in the heading would be refused by both readers: the writer writes blanks.
TEST(CaseFormatFrontEnd, TheWriterWritesControlCharactersAsBlanks) {
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(defaultCase(), QStringLiteral("solvo.def"), s));
  s.rubrik = QStringLiteral(
      "a\tb\x1b"
      "c\r\nd");
  const QByteArray bytes = *caseFileBytes(s);
  EXPECT_EQ(bytes.split('\n')[1], QByteArray("a b c  d\r"));
  CaseStore back;
  setDefaults(back);
  EXPECT_TRUE(readCaseBytes(bytes, QStringLiteral("X.IND"), back));
}

// A blank case name would name the report ".RES": refused, as the engine refuses it.
TEST(CaseFormatFrontEnd, ABlankCaseNameIsRefused) {
  for (const char* name : {"", "   ", "         XY"}) {
    CaseStore s = keptCase();
    QString error;
    EXPECT_FALSE(readCaseBytes(edited({"", {1, name}, {}, 0}), QStringLiteral("X.IND"), s, &error))
        << name;
    EXPECT_TRUE(
        error.startsWith(QStringLiteral("Filen X.IND kan inte läsas, rad 1: ett namn som "
                                        "inte är blankt väntades")))
        << error.toStdString();
    EXPECT_EQ(s.baseName, QStringLiteral("KEPT"));
  }
}

// The checks before a run hold the case to the same ranges; the saved case always is, so a
// store edited past them (in memory) is what they see.
TEST(CaseFormatFrontEnd, TheRunChecksNameEveryValueOutsideTheTable) {
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(defaultCase(), QStringLiteral("solvo.def"), s));
  s.spv[2] = 31.0f;
  s.ptjl[1] = 0.6f;
  s.konsh = -0.5f;
  s.initiell = 10;
  s.sprickbredd = 2.0f;
  const CaseCheck check = checkCase(s);
  const QStringList want = {
      QStringLiteral("Fack 2: spännvidd måste vara större än 0 och högst 30 m (är 31)"),
      QStringLiteral("Fack 1: plattjocklek måste vara större än 0.045 och högst 0.5 m (är 0.6)"),
      QStringLiteral("Konsol höger måste vara från 0 till 5 m (är -0.5)"),
      QStringLiteral("Gräns för initiell nedböjning måste vara 50 till 5000 (är 10)"),
      QStringLiteral("Största sprickbredd måste vara från 0 till 1 mm (är 2)"),
  };
  EXPECT_EQ(check.errors, want) << check.errors.join(u'|').toStdString();
  QString error;
  EXPECT_FALSE(caseFileBytes(s, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("i fack 2 (fann 31)"))) << error.toStdString();
}

TEST(CaseFormatFrontEnd, TheDefaultsOfLines38To41AreTheTableDefaults) {
  CaseStore s;
  setDefaults(s);
  EXPECT_EQ(s.byggskede, 1);
  EXPECT_EQ(s.stamp[1], 0);
  EXPECT_FLOAT_EQ(s.egenfrekvens, 5.0f);
  EXPECT_FLOAT_EQ(s.sprickbredd, 0.4f);
  // The fire method list offers what the table allows.
  EXPECT_EQ(s.fireMethods.size(),
            static_cast<qsizetype>(
                solvo::platform::case_field(solvo::platform::Field::FireMethod).range.max));
}

}  // namespace
}  // namespace solvow
