// Whose report a report file is: the header's case name and the heading against the case.
#include "report_owner.h"

#include <gtest/gtest.h>

#include <QFile>

#include "case_file.h"
#include "report_text.h"

namespace solvow {
namespace {

// The first lines of a report as the engine writes them for `name` (its first eight
// characters) and `heading` (40 characters).
QStringList reportOf(const QString& name, const QString& heading) {
  const QString blanks(56, u' ');
  return {QString(),
          blanks + QStringLiteral("INDATAFIL : ") + (name + QString(9, u' ')).left(8),
          blanks + QStringLiteral("DATUM : 2026.12.09"),
          blanks + QStringLiteral("TID   :   05:00:00"),
          QString(),
          QStringLiteral("     INDATA"),
          QStringLiteral("     ------"),
          QStringLiteral("     ") + (heading + QString(40, u' ')).left(40),
          QStringLiteral("     Marknad :                               SVERIGE ")};
}

CaseStore caseOf(const char* name, const char* heading) {
  CaseStore s;
  s.baseName = QString::fromUtf8(name);
  s.rubrik = QString::fromUtf8(heading);
  return s;
}

TEST(ReportOwner, TheHeaderNamesTheCaseAndItsHeading) {
  const struct {
    const char* label;
    QStringList lines;
    const char* name;
    const char* heading;
    bool ofCase;
  } rows[] = {
      {"its own", reportOf("KONTOR", "Hus ett"), "KONTOR", "Hus ett", true},
      {"nine characters share a report; the heading tells them apart",
       reportOf("KONTORHUS2", "Hus tva"), "KONTORHUS1", "Hus ett", false},
      {"another case of eight characters", reportOf("PLATTA", "Hus ett"), "KONTOR", "Hus ett",
       false},
      {"a heading of more than 40 characters counts by its first 40",
       reportOf("LANG", "Fyrtio tecken och mer: 1234567890123456789"), "LANG",
       "Fyrtio tecken och mer: 1234567890123456789", true},
      {"Swedish letters", reportOf("SÅG", "Bjälklag över källare"), "SÅG", "Bjälklag över källare",
       true},
      {"the name ignores case", reportOf("KONTOR", "Hus ett"), "kontor", "Hus ett", true},
      {"the heading does not", reportOf("KONTOR", "Hus ett"), "KONTOR", "HUS ETT", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(reportIsOfCase(r.lines, caseOf(r.name, r.heading)), r.ofCase);
  }
}

TEST(ReportOwner, FilesThatAreNoCasesReportBelongToNoCase) {
  const QString blanks(56, u' ');
  const struct {
    const char* label;
    QStringList lines;
  } rows[] = {
      {"the design search's report",
       {QStringLiteral("SÖKNING AV LÖSNING") + QString(38, u' ') +
            QStringLiteral("INDATAFIL : SEARCH"),
        QStringLiteral("Hus ett"), QString()}},
      {"no INDATA title", {QString(), blanks + QStringLiteral("INDATAFIL : SEARCH"), QString()}},
      {"empty", {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    const std::optional<ReportHeader> header = reportHeader(r.lines);
    EXPECT_FALSE(header.has_value() && header->titled);
    EXPECT_FALSE(reportIsOfCase(r.lines, caseOf("SEARCH", "Hus ett")));
    EXPECT_TRUE(notThisCaseMessage(caseOf("SEARCH", "Hus ett"), r.lines)
                    .contains(QStringLiteral("inte resultatet av en beräkning av ett fall")));
  }
}

TEST(ReportOwner, TheMessageNamesTheCaseTheReportBelongsTo) {
  const QString message =
      notThisCaseMessage(caseOf("KONTORHUS1", "Hus ett"), reportOf("KONTORHUS2", "Hus tva"));
  EXPECT_EQ(message, QStringLiteral("Det finns inget giltigt resultat för fallet KONTORHUS1: "
                                    "KONTORHUS.RES hör till fallet KONTORHU \"Hus tva\". Kör "
                                    "beräkningen för detta fall."));
}

TEST(ReportOwner, TheGoldenReportsBelongToTheirSamples) {
  for (const char* name : {"KONSOL", "TIOFACK"}) {
    QFile report(QStringLiteral(SOLVO_TEST_DATA "/golden/%1.RES").arg(QString::fromUtf8(name)));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly)) << name;
    const QStringList lines = reportLines(report.readAll());
    const std::optional<ReportHeader> header = reportHeader(lines);
    ASSERT_TRUE(header.has_value()) << name;
    EXPECT_EQ(header->caseName, QString::fromUtf8(name));
    // The sample the report was calculated from, read as the front end reads it.
    CaseStore sample;
    setDefaults(sample);
    QFile file(QStringLiteral(SOLVO_DATA "/samples/%1.IND").arg(QString::fromUtf8(name)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    ASSERT_TRUE(readCaseBytes(file.readAll(), file.fileName(), sample));
    EXPECT_TRUE(reportIsOfCase(lines, sample)) << sample.rubrik.toStdString();
  }
}

}  // namespace
}  // namespace solvow
