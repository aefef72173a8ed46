// The design-case reader on bad files: the corpus of tests/data/bad with the outcome each must
// have (expected.txt), the default case cut after every line, and lines of a megabyte. A file
// is either read, or refused with a message naming its line while the case stays as it was.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "case_file.h"
#include "case_format.h"

namespace solvow {
namespace {

const QString kBad = QStringLiteral(SOLVO_TEST_DATA "/bad/");

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Expected {
  QString file;
  QString reader;  // "refused:N" or "reads"
};

std::vector<Expected> manifest() {
  std::vector<Expected> rows;
  for (const QByteArray& raw : readAll(kBad + QStringLiteral("expected.txt")).split('\n')) {
    const QString line = QString::fromUtf8(raw).simplified();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    const QStringList fields = line.split(u' ');
    if (fields.size() == 3) rows.push_back({fields[0], fields[2]});
  }
  return rows;
}

// The case the reader starts from: a three-span case that differs from the default case, so
// that a partly read file would show in its saved bytes.
CaseStore startingCase() {
  CaseStore s;
  setDefaults(s);
  s.baseName = QStringLiteral("KEPT");
  s.rubrik = QStringLiteral("the case before the file");
  s.market = 3;
  s.safetyClass[3] = 1;
  s.nfack = 3;
  for (int i = 1; i <= 3; ++i) s.spv[static_cast<std::size_t>(i)] = 4.5f;
  s.upl[1] = s.upl[2] = 0.2f;
  s.lokt = 4;
  s.btg = 7;
  s.nllast = 1;
  s.lineLoads[1] = {3, 1.25f, 8.0f};
  return s;
}

// Reads `bytes` into the starting case and checks the outcome `want` ("reads" or "refused:N").
void expectOutcome(const QByteArray& bytes, const QString& want, const QString& label) {
  CaseStore store = startingCase();
  const std::optional<QByteArray> before = caseFileBytes(store);
  ASSERT_TRUE(before.has_value());
  QString error;
  const bool read = readCaseBytes(bytes, QStringLiteral("BAD.IND"), store, &error);
  if (want == u"reads") {
    EXPECT_TRUE(read) << label.toStdString() << ": " << error.toStdString();
    return;
  }
  ASSERT_TRUE(want.startsWith(u"refused:")) << want.toStdString();
  EXPECT_FALSE(read) << label.toStdString();
  const QString line = want.mid(8);
  EXPECT_TRUE(error.startsWith(QStringLiteral("Filen BAD.IND kan inte läsas, rad %1: ").arg(line)))
      << label.toStdString() << ": " << error.toStdString();
  const std::optional<QByteArray> after = caseFileBytes(store);
  ASSERT_TRUE(after.has_value()) << label.toStdString();
  EXPECT_EQ(*after, *before) << label.toStdString() << ": the case changed";
  EXPECT_EQ(store.baseName, QStringLiteral("KEPT")) << label.toStdString();
}

QByteArray defaultCase() { return readAll(QStringLiteral(SOLVO_DATA "/solvo.def")); }

QByteArray defaultCaseWith(int number, const QByteArray& replacement) {
  QList<QByteArray> lines = defaultCase().split('\n');
  lines[number - 1] = replacement + '\r';
  return lines.join('\n');
}

TEST(BadCaseFilesReader, EveryFileOfTheCorpusHasItsOutcome) {
  const std::vector<Expected> rows = manifest();
  ASSERT_GE(rows.size(), 40u);
  for (const Expected& e : rows) {
    ASSERT_TRUE(QFile::exists(kBad + e.file)) << e.file.toStdString();
    expectOutcome(readAll(kBad + e.file), e.reader, e.file);
  }
}

// Cut after line k (k = 0..36, 38, 39): the file ends before line k + 1. After line 37 or line
// 40 it may end (the lines after keep their defaults); once line 38 is there, 39 and 40 must
// follow. The default case has 40 lines.
TEST(BadCaseFilesReader, ACaseCutAfterAnyLineIsRefusedAtTheNextAndKept) {
  const QByteArray whole = defaultCase();
  qsizetype end = 0;
  for (int k = 0; k <= solvo::platform::kCastingLastLine; ++k) {
    const QString label = QStringLiteral("cut after line %1").arg(k);
    if (k == kCaseFileLines || k == solvo::platform::kCastingLastLine)
      expectOutcome(whole.left(end), QStringLiteral("reads"), label);
    else
      expectOutcome(whole.left(end), QStringLiteral("refused:%1").arg(k + 1), label);
    end = whole.indexOf('\n', end) + 1;
  }
}

TEST(BadCaseFilesReader, AHeadingOfAMegabyteIsReadWhole) {
  CaseStore store = startingCase();
  ASSERT_TRUE(
      readCaseBytes(defaultCaseWith(2, QByteArray(1 << 20, 'H')), QStringLiteral("B"), store));
  EXPECT_EQ(store.rubrik, QString(1 << 20, u'H'));
}

// Text to number gives 0 for a number beyond the range of a double: a cover of a megabyte of
// digits reads as 0 mm.
TEST(BadCaseFilesReader, AMegabyteOfDigitsReadsAsZero) {
  CaseStore store = startingCase();
  ASSERT_TRUE(
      readCaseBytes(defaultCaseWith(20, QByteArray(1 << 20, '7')), QStringLiteral("B"), store));
  EXPECT_EQ(store.ktack, 0);
}

// A real beyond the range of a float would be an infinity in the case, which the file writer
// cannot write (it wrote blanks, so the saved case lost the value). Each float line refuses it.
TEST(BadCaseFilesReader, ARealNoFloatHoldsIsRefusedOnEveryRealLine) {
  struct Row {
    int line;
    const char* text;
  };
  const Row rows[] = {
      {6, "6.000  1E39   "},  {7, "-1E39  0.160  "},     {8, "0.000 9E99  0.000 "},
      {12, "0.500  1E300  "}, {13, "2.000  -4E38  "},    {14, "1E39"},
      {15, "-1E39"},          {33, "  1 1E39    0.000"}, {37, "  1  0.000 1E39  "},
  };
  for (const Row& r : rows)
    expectOutcome(defaultCaseWith(r.line, r.text), QStringLiteral("refused:%1").arg(r.line),
                  QString::fromLatin1(r.text));
  // The largest float, 3.4028235E38, is still a value, where no range holds it: a line-load
  // slot not in use.
  expectOutcome(defaultCaseWith(33, "  1 3.4E38 0.000"), QStringLiteral("reads"),
                QStringLiteral("3.4E38"));
}

}  // namespace
}  // namespace solvow
