// The report as text: its lines and letters, the page mark as a whole line, the paging by 70
// lines and by the mark, the viewer text and the header that names the case.
#include "report_text.h"

#include <gtest/gtest.h>

#include "numbered_report.h"

namespace solvow {
namespace {

QList<int> pageSizes(const QList<QStringList>& pages) {
  QList<int> sizes;
  for (const QStringList& page : pages) sizes.append(static_cast<int>(page.size()));
  return sizes;
}

TEST(ReportLines, SplitAtEveryLineEndAndShowEverySwedishLetter) {
  const struct {
    QByteArray bytes;
    QStringList want;
  } rows[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"\r\n\r\nx\r\n", {"", "", "x"}},
      {"", {}},
      // Several DOS letters of one kind on one line: every one is converted.
      {"\x8e\x8e\x8f\x8f\x99\x99 \x86\x86\x84\x84\x94\x94", {QString::fromUtf8("ÄÄÅÅÖÖ ååääöö")}},
      // Letters already in the Windows code page stay.
      {"\xc4\xc5\xd6\xd8\xe5", {QString::fromUtf8("ÄÅÖØå")}},
  };
  for (const auto& r : rows) EXPECT_EQ(reportLines(r.bytes), r.want) << r.bytes.toHex().data();
}

TEST(PageMark, IsALineHoldingTheCaretAloneInItsFirstColumn) {
  const struct {
    const char* line;
    bool mark;
  } rows[] = {
      {"^", true},   {"^   ", true},     // blanks after it are no text
      {"", false},   {"     ^", false},  // a heading "^" stands from column 6
      {"^^", false}, {"^ A", false},    {"A^B", false}, {"INDATAFIL : A^B", false}, {"\t^", false},
  };
  for (const auto& r : rows) EXPECT_EQ(isPageMark(QString::fromLatin1(r.line)), r.mark) << r.line;
}

TEST(ReportPages, EndAfterSeventyLinesOrAtThePageMarkWhichIsOnNoPage) {
  const struct {
    const char* name;
    int lines;
    int markLine;
    QList<int> sizes;
  } rows[] = {
      {"150 lines without a mark", 150, 0, {70, 70, 10}},
      {"mark on line 12", 30, 12, {11, 18}},
      {"mark on line 70", 75, 70, {69, 5}},
      {"mark on line 71, after a full page", 75, 71, {70, 4}},
      {"mark on the first line", 3, 1, {2}},
      {"exactly 140 lines", 140, 0, {70, 70}},
      {"mark on the last line", 20, 20, {19}},
      {"empty report", 0, 0, {}},
      {"only the mark", 1, 1, {}},
      {"no limit of six pages", 500, 0, {70, 70, 70, 70, 70, 70, 70, 10}},
  };
  for (const auto& r : rows) {
    const QStringList lines = reportLines(numberedReport(r.lines, r.markLine));
    const QList<QStringList> pages = reportPages(lines);
    EXPECT_EQ(pageSizes(pages), r.sizes) << r.name;
    // Every line but the mark is printed once, in order.
    QStringList printed;
    for (const QStringList& page : pages) printed += page;
    QStringList want = lines;
    if (r.markLine > 0) want.removeAt(r.markLine - 1);
    EXPECT_EQ(printed, want) << r.name;
  }
}

TEST(ReportPages, ACaretInsideALineIsText) {
  const struct {
    const char* name;
    QStringList lines;
    QList<QStringList> pages;
  } rows[] = {
      {"caret among text", {"a", "b ^ c", "d"}, {{"a", "b ^ c", "d"}}},
      {"case name with a caret",
       {"", QString(56, u' ') + QStringLiteral("INDATAFIL : A^B"), "x", "^", "y"},
       {{"", QString(56, u' ') + QStringLiteral("INDATAFIL : A^B"), "x"}, {"y"}}},
      {"heading that is a caret", {"     ^", "^", "z"}, {{"     ^"}, {"z"}}},
      {"two marks in a row", {"a", "^", "^", "b"}, {{"a"}, {"b"}}},
  };
  for (const auto& r : rows) EXPECT_EQ(reportPages(r.lines), r.pages) << r.name;
}

TEST(ReportViewerText, ShowsEveryLineAfterALineEndAndLeavesTheMarkOut) {
  const struct {
    QStringList lines;
    const char* want;
  } rows[] = {
      {{"Rad 1", "Rad 2"}, "\r\nRad 1\r\nRad 2"},
      {{"a", "^", "b"}, "\r\na\r\nb"},
      {{"a ^", "^  "}, "\r\na ^"},
      {{"^", "", "x"}, "\r\n\r\nx"},
      {{}, ""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(reportViewerText(r.lines), QString::fromLatin1(r.want)) << r.want;
}

// The header as the engine writes it: an empty line, the three lines at column 57, then the
// section title and the heading from column 6.
QStringList firstPage(const QString& name, const QString& heading) {
  const QString at57(56, u' ');
  return {QString(),
          at57 + QStringLiteral("INDATAFIL : ") + name,
          at57 + QStringLiteral("DATUM : 2026.12.09"),
          at57 + QStringLiteral("TID   :   04:12:05"),
          QString(),
          QStringLiteral("     INDATA"),
          QStringLiteral("     ------"),
          QStringLiteral("     ") + heading,
          QStringLiteral("     Marknad :")};
}

TEST(ReportHeader, NamesTheCaseItsDateTimeAndHeading) {
  const struct {
    const char* name;
    const char* heading;
    const char* wantName;
    const char* wantHeading;
  } rows[] = {
      {"PLATTA  ", "Kontor plan 3", "PLATTA", "Kontor plan 3"},
      {"KONTORHU", "Hus tva   ", "KONTORHU", "Hus tva"},
      {"A^B", "^", "A^B", "^"},
      {"X", "", "X", ""},
  };
  for (const auto& r : rows) {
    const std::optional<ReportHeader> h =
        reportHeader(firstPage(QString::fromLatin1(r.name), QString::fromLatin1(r.heading)));
    ASSERT_TRUE(h.has_value()) << r.name;
    EXPECT_EQ(h->caseName, QString::fromLatin1(r.wantName));
    EXPECT_EQ(h->heading, QString::fromLatin1(r.wantHeading)) << r.name;
    EXPECT_EQ(h->date, QStringLiteral("2026.12.09"));
    EXPECT_EQ(h->time, QStringLiteral("04:12:05"));
  }
}

TEST(ReportHeader, IsMissingFromTextThatIsNoReport) {
  const QStringList rows[] = {
      {},
      {"Rad 1", "Rad 2"},
      {"^", QString(56, u' ') + QStringLiteral("INDATAFIL : X")},     // behind the first page
      QStringList(12, QString()) << QStringLiteral("INDATAFIL : X"),  // too far down
  };
  for (const QStringList& lines : rows)
    EXPECT_FALSE(reportHeader(lines).has_value()) << lines.join(u'|').toStdString();
}

TEST(ReportHeader, WithoutTheTitleBlockHasNoHeading) {
  QStringList lines = firstPage(QStringLiteral("P"), QStringLiteral("Rubrik"));
  lines.removeAt(6);  // the rule under "INDATA"
  const std::optional<ReportHeader> h = reportHeader(lines);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->caseName, QStringLiteral("P"));
  EXPECT_EQ(h->heading, QString());
}

}  // namespace
}  // namespace solvow
