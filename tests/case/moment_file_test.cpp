// The moment-curve files: MOMK.DAT and MOMD.DAT read line by line, refused when short or
// out of range, the title of the load set, and the diagram's largest moments against the
// report's ultimate-limit-state page for every sample case.
#include "moment_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <string>

#include "engine.h"
#include "report_text.h"
#include "run_state.h"

namespace solvow {
namespace {

// One block of `spans` spans: step 0.2 m, and at point p of span i the moment
// sign * (10 * i + p).
QByteArray block(int spans, int sign) {
  QByteArray bytes;
  for (int i = 1; i <= spans; ++i) {
    bytes += " 0.2\r\n";
    for (int p = 0; p < kCurvePoints; ++p)
      bytes += ' ' + QByteArray::number(sign * (10 * i + p)) + "\r\n";
  }
  return bytes;
}

QByteArray designFile(int spans, int loadSet) {
  return ' ' + QByteArray::number(spans) + "\r\n " + QByteArray::number(loadSet) + "\r\n" +
         block(spans, 1) + block(spans, -1);
}

TEST(DesignMomentFile, ReadsTheLoadSetAndBothBlocks) {
  const struct {
    int spans;
    int loadSet;
  } rows[] = {{1, 1}, {2, 2}, {3, 3}, {10, 2}};
  for (const auto& r : rows) {
    MomentCurves curves;
    QString error;
    ASSERT_TRUE(parseDesignCurves(designFile(r.spans, r.loadSet), &curves, &error))
        << error.toStdString();
    EXPECT_EQ(curves.spans, r.spans);
    EXPECT_EQ(curves.loadSet, r.loadSet);
    ASSERT_EQ(curves.maximum.size(), static_cast<size_t>(r.spans));
    ASSERT_EQ(curves.minimum.size(), static_cast<size_t>(r.spans));
    const SpanCurve& last = curves.maximum.back();
    EXPECT_DOUBLE_EQ(last.step, 0.2);
    EXPECT_DOUBLE_EQ(last.moment.front(), 10.0 * r.spans);
    EXPECT_DOUBLE_EQ(last.moment.back(), 10.0 * r.spans + 20);
    EXPECT_DOUBLE_EQ(curves.minimum.front().moment[7], -17.0);
  }
}

TEST(DesignMomentFile, RefusesWhatIsNoDesignFileAndKeepsTheCurves) {
  const QByteArray good = designFile(2, 2);
  const qsizetype lastLine = good.lastIndexOf('\n', good.size() - 2) + 1;
  const struct {
    const char* name;
    QByteArray bytes;
    const char* says;
  } rows[] = {
      {"empty", "", "tom"},
      {"load set 0", designFile(2, 0), "lastuppsättning 0"},
      {"load set 4", designFile(2, 4), "lastuppsättning 4"},
      {"no load set line", " 2\r\n", "lastuppsättning"},
      {"no spans", designFile(0, 1), "0 fack"},
      {"eleven spans", designFile(11, 1), "11 fack"},
      {"half a span", " 2.5\r\n 1\r\n" + block(3, 1) + block(3, -1), "2.5 fack"},
      {"one line short", good.left(lastLine), "ofullständig"},
  };
  for (const auto& r : rows) {
    MomentCurves curves;
    curves.spans = 7;
    QString error;
    EXPECT_FALSE(parseDesignCurves(r.bytes, &curves, &error)) << r.name;
    EXPECT_TRUE(error.contains(QString::fromUtf8(r.says))) << r.name << ": " << error.toStdString();
    EXPECT_EQ(curves.spans, 7) << r.name;
  }
}

TEST(MomentFile, ReadsTheFirstTwoBlocksAsExpression610a) {
  // n, then four blocks: the reader takes the first two.
  const QByteArray bytes = " 1\r\n" + block(1, 1) + block(1, -1) + block(1, 2) + block(1, -2);
  MomentCurves curves;
  ASSERT_TRUE(parseMomentCurves(bytes, &curves, nullptr));
  EXPECT_EQ(curves.loadSet, 1);
  EXPECT_DOUBLE_EQ(curves.maximum[0].moment[20], 30.0);
  EXPECT_DOUBLE_EQ(curves.minimum[0].moment[0], -10.0);
  // A decimal comma reads like a point.
  QByteArray comma = bytes;
  comma.replace(" 0.2\r\n", " 0,25\r\n");
  ASSERT_TRUE(parseMomentCurves(comma, &curves, nullptr));
  EXPECT_DOUBLE_EQ(curves.maximum[0].step, 0.25);
}

TEST(LoadSetTitle, NamesTheExpressionAsTheReportDoes) {
  const struct {
    int loadSet;
    const char* title;
  } rows[] = {{1, "Moment enl. ekv. 6.10a, kNm/m"},
              {2, "Moment enl. ekv. 6.10b, kNm/m"},
              {3, "Moment enl. ekv. 6.10a och b, kNm/m"}};
  for (const auto& r : rows) EXPECT_EQ(loadSetTitle(r.loadSet), QString::fromLatin1(r.title));
}

TEST(MomentExtremes, AreTheLargestSaggingInsideASpanAndHoggingAtASupport) {
  MomentCurves curves;
  curves.spans = 2;
  curves.maximum.resize(2);
  curves.minimum.resize(2);
  // A support end of the maximum curve larger than every inner point is no span moment.
  curves.maximum[0].moment[0] = 50.0;
  curves.maximum[0].moment[9] = 12.5;
  curves.maximum[1].moment[11] = 14.0;
  curves.maximum[1].moment[20] = 60.0;
  // An inner point of the minimum curve below every support end is no support moment.
  curves.minimum[0].moment[20] = -21.0;
  curves.minimum[1].moment[0] = -20.0;
  curves.minimum[1].moment[10] = -40.0;
  const MomentExtremes e = momentExtremes(curves);
  EXPECT_DOUBLE_EQ(e.sagging, 14.0);
  EXPECT_DOUBLE_EQ(e.hogging, -21.0);
  EXPECT_DOUBLE_EQ(largestMoment(curves), 60.0);
}

// Page 3 of a report: the largest "Fält Max" and the least "Stödv Min" / "Stödh Min" of the
// moment table, as printed (two decimals).
MomentExtremes pageThreeMoments(const QStringList& lines, int spans) {
  MomentExtremes printed;
  qsizetype at = lines.indexOf(QString::fromUtf8("     BROTTGRÄNSTILLSTÅND"));
  EXPECT_GE(at, 0);
  if (at < 0) return printed;
  while (at < lines.size() && lines[at] != QStringLiteral("     MOMENT (kNm/m)")) ++at;
  at += 3;  // the moment heading and the Max / Min line
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  for (int i = 0; i < spans && at + i < lines.size(); ++i) {
    const QStringList f = lines[at + i].trimmed().split(blanks);
    EXPECT_EQ(f.size(), 7) << lines[at + i].toStdString();
    if (f.size() != 7) continue;
    printed.sagging = std::max(printed.sagging, f[3].toDouble());
    printed.hogging = std::min({printed.hogging, f[2].toDouble(), f[6].toDouble()});
  }
  return printed;
}

const solvo::OutputFile* fileNamed(const solvo::Run& run, const std::string& name) {
  for (const solvo::OutputFile& f : run.files)
    if (f.name == name) return &f;
  return nullptr;
}

double twoDecimals(double v) { return std::round(v * 100.0) / 100.0; }

TEST(DesignMomentFile, LargestValuesAreThoseOfPageThreeForEverySample) {
  const QDir samples(QStringLiteral(SOLVO_DATA "/samples"));
  const QStringList names = samples.entryList({QStringLiteral("*.IND")}, QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QFile file(samples.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    solvo::Run run;
    solvo::calculate(run, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    const solvo::OutputFile* design = fileNamed(run, "MOMD.DAT");
    ASSERT_NE(design, nullptr);
    const solvo::OutputFile* report = nullptr;
    for (const solvo::OutputFile& f : run.files)
      if (f.report) report = &f;
    ASSERT_NE(report, nullptr);

    MomentCurves curves;
    QString error;
    ASSERT_TRUE(parseDesignCurves(QByteArray::fromStdString(design->contents), &curves, &error))
        << error.toStdString();
    EXPECT_EQ(curves.spans, run.indat.n);
    EXPECT_EQ(curves.loadSet,
              run.indat.load_set == 1 || run.indat.load_set == 2 ? run.indat.load_set : 3);
    const QStringList lines = reportLines(QByteArray::fromStdString(report->contents));
    const MomentExtremes page3 = pageThreeMoments(lines, curves.spans);
    const MomentExtremes drawn = momentExtremes(curves);
    EXPECT_DOUBLE_EQ(twoDecimals(drawn.sagging), page3.sagging);
    EXPECT_DOUBLE_EQ(twoDecimals(drawn.hogging), page3.hogging);
    // The first page names the load set the title names.
    const QString expression = loadSetTitle(curves.loadSet).section(u',', 0, 0).mid(7);
    EXPECT_TRUE(lines.filter(QStringLiteral("Lastuppsättning")).join(u'|').endsWith(expression))
        << expression.toStdString();
  }
}

// The ten-span sample designs for both expressions: page 3 gives 29.36 kNm/m in a span and
// -36.43 kNm/m over a support, which the 6.10a curves of MOMK.DAT (22.96 / -31.63) do not reach.
TEST(DesignMomentFile, TenSpanSampleDrawsTheEnvelopeOfBothExpressions) {
  QFile file(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  solvo::Run run;
  solvo::calculate(run, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  MomentCurves design, first;
  ASSERT_TRUE(parseDesignCurves(QByteArray::fromStdString(fileNamed(run, "MOMD.DAT")->contents),
                                &design, nullptr));
  ASSERT_TRUE(parseMomentCurves(QByteArray::fromStdString(fileNamed(run, "MOMK.DAT")->contents),
                                &first, nullptr));
  EXPECT_EQ(design.loadSet, 3);
  EXPECT_DOUBLE_EQ(twoDecimals(momentExtremes(design).sagging), 29.36);
  EXPECT_DOUBLE_EQ(twoDecimals(momentExtremes(design).hogging), -36.43);
  EXPECT_DOUBLE_EQ(twoDecimals(momentExtremes(first).sagging), 22.96);
  EXPECT_DOUBLE_EQ(twoDecimals(momentExtremes(first).hogging), -31.63);
}

}  // namespace
}  // namespace solvow
