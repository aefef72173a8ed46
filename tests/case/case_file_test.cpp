#include "case_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "text_conv.h"

namespace solvow {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

// A two-span Danish case with a cantilever, a line load and Swedish letters in both texts.
CaseStore danishCase() {
  CaseStore s;
  setDefaults(s);
  s.baseName = QStringLiteral("ÖVNING");
  s.rubrik = QStringLiteral("Källare, hus 2, \"A\"");
  s.market = 5;
  s.safetyClass[5] = 3;
  s.nfack = 2;
  s.spv[1] = 6.0f;
  s.spv[2] = 12.5f;
  s.ptjl[1] = 0.16f;
  s.ptjl[2] = 0.2f;
  s.upl[0] = 0.0f;
  s.upl[1] = 0.15f;
  s.upl[2] = 0.0f;
  s.lokt = 2;
  s.lastkomb = 1;
  s.plast[1] = 0.5f;
  s.plast[2] = 1.25f;
  s.flast[1] = 2.5f;
  s.flast[2] = 2.5f;
  s.konsv = 1.5f;
  s.konsh = 0.0f;
  s.btg = 3;
  s.aok = 2;
  s.dok = 4;
  s.kavko = 1;
  s.ktack = 20;
  s.auk = 2;
  s.duk = 2;
  s.duarm = 40;
  s.brandk = 1;
  s.brandb = 3;
  s.kutak = 2;
  s.kryptal = 2;
  s.overhojning = 10;
  s.initiell = 300;
  s.tillkommande = 400;
  s.brukskomb = 1;
  s.nllast = 1;
  s.lineLoads[1] = {2, 3.25f, 10.0f};
  s.byggskede = 2;
  s.stamp[1] = 1;
  s.stamp[2] = 2;
  s.egenfrekvens = 6.5f;
  s.sprickbredd = 0.3f;
  return s;
}

// The file of danishCase(), line by line from the file layout.
QByteArray danishFile() {
  QByteArrayList lines = {
      bytes({153}) + "VNING",                      // Ö in the DOS code page
      "K" + bytes({132}) + "llare, hus 2, \"A\"",  // ä in the DOS code page
      "5",
      "3",
      "2",
      "6.000  12.500 ",
      "0.160  0.200  ",
      "0.000 0.150 0.000 ",
      "2",
      "1.200  1.000  1.500  0.600  0.400  0.200  ",  // Denmark, offices
      "1",
      "0.500  1.250  ",
      "2.500  2.500  ",
      "1.5",
      "0",
      "3",
      "2",
      "4",
      "1",
      "20",
      "2",
      "2",
      "40",
      "1",
      "3",
      "2",
      "2",
      "10",
      "300",
      "400",
      "1",
      "1",
      "2  3.250  10.000 ",
      "0  0.000  0.000  ",
      "0  0.000  0.000  ",
      "0  0.000  0.000  ",
      "0  0.000  0.000  ",
      "2",       // deck simply supported during casting
      "1  2  ",  // props of spans 1 and 2, "##0" in 3 characters
      "6.5",     // lowest natural frequency, Hz
      "0.3",     // largest crack width, mm
  };
  return lines.join("\r\n") + "\r\n";
}

// Restores the default locale when a test ends.
struct LocaleGuard {
  QLocale saved;
  explicit LocaleGuard(const QLocale& l) { QLocale::setDefault(l); }
  ~LocaleGuard() { QLocale::setDefault(saved); }
};

TEST(CaseWriter, WritesTheFileLayoutByteForByte) {
  const auto written = caseFileBytes(danishCase());
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, danishFile());
  EXPECT_EQ(written->count("\r\n"), kCaseFileLinesWritten);
}

TEST(CaseWriter, KeepsPointsUnderASwedishLocale) {
  const LocaleGuard guard(QLocale(QLocale::Swedish, QLocale::Sweden));
  ASSERT_EQ(formatNumber(12.5, u"##0.000"), QStringLiteral("12,500"));
  const auto written = caseFileBytes(danishCase());
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, danishFile());
}

// A value is padded on the right; one that would need more than its 7 (6) characters lies
// outside its range (spans at most 30 m, supports at most 1 m) and is not written at all.
TEST(CaseWriter, ColumnsArePaddedAndValuesTooWideAreRefused) {
  CaseStore s = danishCase();
  s.spv[1] = 12.5f;  // "12.500" and one blank
  s.upl[1] = 1.0f;   // "1.000" and one blank
  const QByteArrayList lines = caseFileBytes(s)->split('\n');
  EXPECT_EQ(lines[5], QByteArray("12.500 12.500 \r"));
  EXPECT_EQ(lines[7], QByteArray("0.000 1.000 0.000 \r"));
  s.spv[2] = 1234.567f;
  QString error;
  EXPECT_FALSE(caseFileBytes(s, &error));
  EXPECT_EQ(error, QStringLiteral("Fallet kan inte sparas: spännvidd större än 0 och högst 30 m "
                                  "väntades i fack 2 (fann 1234.567)."));
  s = danishCase();
  s.upl[1] = 10.5f;
  EXPECT_FALSE(caseFileBytes(s, &error));
  EXPECT_EQ(error, QStringLiteral("Fallet kan inte sparas: upplagsbredd från 0 till 1 m "
                                  "väntades vid stöd 2 (fann 10.5)."));
}

TEST(CaseWriter, TwoEqualLettersReachTheFileInMixedCodePages) {
  CaseStore s = danishCase();
  s.rubrik = QStringLiteral("åå");
  const QByteArrayList lines = caseFileBytes(s)->split('\n');
  EXPECT_EQ(lines[1], bytes({134, 229, '\r'}));
}

TEST(CaseWriter, RefusesCodesOutsideTheirTables) {
  CaseStore s = danishCase();
  s.market = 7;
  QString error;
  EXPECT_FALSE(caseFileBytes(s, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("marknad"))) << error.toStdString();
  s = danishCase();
  s.lokt = 10;
  EXPECT_FALSE(caseFileBytes(s, &error));
  s = danishCase();
  s.safetyClass[5] = 0;
  EXPECT_FALSE(caseFileBytes(s, &error));
}

TEST(CaseWriter, RefusesPropsAndFrequenciesOutsideTheirRanges) {
  struct Row {
    qint16 deck, props;
    float frequency;
    const char* says;
  };
  const Row rows[] = {{0, 0, 5.0f, "byggskede"},
                      {3, 0, 5.0f, "byggskede"},
                      {1, 5, 5.0f, "stämp"},
                      {1, -1, 5.0f, "stämp"},
                      {1, 0, -1.0f, "egenfrekvens"}};
  for (const Row& r : rows) {
    CaseStore s = danishCase();
    s.byggskede = r.deck;
    s.stamp[2] = r.props;
    s.egenfrekvens = r.frequency;
    QString error;
    EXPECT_FALSE(caseFileBytes(s, &error)) << r.says;
    EXPECT_TRUE(error.contains(QString::fromUtf8(r.says))) << error.toStdString();
  }
  // Props of spans beyond n are neither checked nor written.
  CaseStore s = danishCase();
  s.stamp[3] = 7;
  EXPECT_EQ(*caseFileBytes(s), danishFile());
}

TEST(CaseWriter, LineBreaksInTheHeadingDoNotSplitTheFile) {
  CaseStore s = danishCase();
  s.rubrik = QStringLiteral("rad ett\nrad två");
  EXPECT_EQ(caseFileBytes(s)->count("\r\n"), kCaseFileLinesWritten);
}

TEST(CaseReader, ReadsWhatTheWriterWrote) {
  CaseStore s;
  setDefaults(s);
  QString error;
  ASSERT_TRUE(readCaseBytes(danishFile(), QStringLiteral("ÖVNING.IND"), s, &error))
      << error.toStdString();
  // The writer is pinned to the layout above, so writing the case back gives the same bytes
  // only when every field was read into its place.
  EXPECT_EQ(s.rubrik, QStringLiteral("Källare, hus 2, \"A\""));  // commas and quotes kept
  EXPECT_EQ(s.baseName, QStringLiteral("ÖVNING"));
  // And writes it back unchanged.
  EXPECT_EQ(*caseFileBytes(s), danishFile());
}

// A file of the 37 lines written before the casting lines existed: the deck, props and
// frequency take their defaults, whatever the case before held; saving adds lines 38-40.
TEST(CaseReader, ThirtySevenLinesReadWithTheCastingDefaults) {
  QByteArrayList lines = danishFile().split('\n');
  const QByteArray old = lines.mid(0, kCaseFileLines).join('\n') + "\n";
  for (const QByteArray& tail : {QByteArray(), QByteArray("\r\n   \r\n")}) {
    CaseStore s = danishCase();  // props 1 and 2, simply supported, 6.5 Hz
    QString error;
    ASSERT_TRUE(readCaseBytes(old + tail, QStringLiteral("GAMMAL.IND"), s, &error))
        << error.toStdString();
    EXPECT_EQ(s.byggskede, 1);
    EXPECT_EQ(s.stamp[1], 0);
    EXPECT_EQ(s.stamp[2], 0);
    EXPECT_EQ(s.egenfrekvens, 5.0f);
    const QByteArray saved = *caseFileBytes(s);
    EXPECT_TRUE(saved.startsWith(old));
    EXPECT_EQ(saved.mid(old.size()), QByteArray("1\r\n0  0  \r\n5\r\n0.4\r\n"));
  }
}

TEST(CaseReader, LinesEndingWithLineFeedOnly) {
  CaseStore s;
  setDefaults(s);
  QByteArray unix = danishFile();
  unix.replace("\r\n", "\n");
  ASSERT_TRUE(readCaseBytes(unix, QStringLiteral("X"), s));
  EXPECT_EQ(s.rubrik, QStringLiteral("Källare, hus 2, \"A\""));
  EXPECT_EQ(s.tillkommande, 400);
}

TEST(CaseReader, EveryDosLetterOfTheTextLinesIsConverted) {
  QByteArray file = danishFile();
  file.replace("K" + bytes({132}) + "llare", bytes({134, 134, 'x', 229}));  // å å x å
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_TRUE(s.rubrik.startsWith(QStringLiteral("ååxå,"))) << s.rubrik.toStdString();
}

TEST(CaseReader, BaseNameIsUpperCased) {
  QByteArray file = danishFile();
  file.replace(bytes({153}) + "VNING", "plan" + bytes({148}));  // "planö"
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_EQ(s.baseName, QStringLiteral("PLANÖ"));
}

// The end supports keep the widths of the file (the engine's clear spans use them), and the
// writer writes them back.
TEST(CaseReader, EndSupportsKeepTheWidthsOfTheFile) {
  QByteArray file = danishFile();
  file.replace("0.000 0.150 0.000 ", "0.300 0.150 0.250 ");
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_FLOAT_EQ(s.upl[0], 0.3f);
  EXPECT_FLOAT_EQ(s.upl[1], 0.15f);
  EXPECT_FLOAT_EQ(s.upl[2], 0.25f);
  const std::optional<QByteArray> saved = caseFileBytes(s);
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(saved->contains("\r\n0.300 0.150 0.250 \r\n"));
}

TEST(CaseReader, ColumnsAreCutAtTheirCharacters) {
  QByteArray file = danishFile();
  file.replace("6.000  12.500 ", "12.34567.5");      // "12.3456" | "7.5"
  file.replace("2  3.250  10.000 ", "  23,25   4");  // "  2" | "3,25   " | "4"
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_FLOAT_EQ(s.spv[1], 12.3456f);
  EXPECT_FLOAT_EQ(s.spv[2], 7.5f);
  EXPECT_EQ(s.lineLoads[1].llfnr, 2);
  EXPECT_FLOAT_EQ(s.lineLoads[1].avst, 3.25f);
  EXPECT_FLOAT_EQ(s.lineLoads[1].lllast, 4.0f);
}

TEST(CaseReader, TextWhereANumberBelongsReadsAsZero) {
  QByteArray file = danishFile();
  file.replace("\r\n1.5\r\n", "\r\nabc\r\n");  // left cantilever
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_EQ(s.konsv, 0.0f);
}

TEST(CaseReader, FewerSpansLeaveTheLaterSpansAtTheirDefaults) {
  CaseStore s;
  setDefaults(s);
  s.nfack = 5;
  for (int i = 1; i <= 5; ++i) {
    s.spv[i] = 7.0f;
    s.ptjl[i] = 0.25f;
    s.flast[i] = 5.0f;
    s.plast[i] = 1.0f;
  }
  QByteArray file = danishFile();
  file.replace("\r\n2\r\n6.000  12.500 \r\n0.160  0.200  \r\n0.000 0.150 0.000 \r\n",
               "\r\n3\r\n6.000  6.000  6.000  \r\n0.160  0.160  0.160  \r\n"
               "0.000 0.150 0.150 0.000 \r\n");
  file.replace("0.500  1.250  ", "0.500  0.500  0.500  ");
  file.replace("2.500  2.500  ", "2.500  2.500  2.500  ");
  ASSERT_TRUE(readCaseBytes(file, QStringLiteral("X"), s));
  EXPECT_EQ(s.nfack, 3);
  for (int i : {4, 5}) {
    EXPECT_EQ(s.spv[i], 5.5f) << i;
    EXPECT_EQ(s.ptjl[i], 0.17f) << i;
    EXPECT_EQ(s.flast[i], 2.5f) << i;  // B-Kontor in Denmark, as the category's table gives
    EXPECT_EQ(s.plast[i], 0.0f) << i;
  }
}

// A span the file does not hold, which the spinner may add later with its load field disabled
// under a category of the tables, carries that category's imposed load (the table of imposed
// loads per category and market), never the 2.0 of the defaults; under "Valfri last" the
// field is the user's and keeps the default. The file's own spans keep what the file says.
TEST(CaseReader, LaterSpansTakeTheImposedLoadOfTheCategory) {
  const struct {
    const char* market;
    const char* category;
    float later;
  } rows[] = {
      {"1", "2", 2.5f},  // Sverige, B-Kontor
      {"2", "5", 5.0f},  // Polen, C3
      {"5", "1", 1.5f},  // Danmark, A-Bostäder
      {"4", "7", 6.0f},  // Finland, C5
      {"1", "0", 2.0f},  // Valfri last: the default, editable
  };
  for (const auto& row : rows) {
    QByteArray file = danishFile();
    QList<QByteArray> lines = file.split('\n');
    lines[2] = QByteArray(row.market) + "\r";
    lines[3] = "2\r";  // a safety class every market has
    lines[8] = QByteArray(row.category) + "\r";
    CaseStore s;
    setDefaults(s);
    ASSERT_TRUE(readCaseBytes(lines.join('\n'), QStringLiteral("X"), s)) << row.category;
    ASSERT_EQ(s.nfack, 2);
    EXPECT_EQ(s.flast[1], 2.5f) << row.category;
    EXPECT_EQ(s.flast[2], 2.5f) << row.category;
    for (int i = 3; i <= kMaxSpans; ++i) EXPECT_EQ(s.flast[i], row.later) << row.category << i;
  }
}

// A file whose line `line` is replaced (or, with `cut`, which ends before it).
struct BadFile {
  int line;
  const char* text;  // nullptr: the file ends before this line
  const char* expected;
};

TEST(CaseReader, BadFilesLeaveTheCaseAsItWas) {
  const BadFile cases[] = {
      {30, nullptr, "slutar"},      {1, nullptr, "slutar"},        {37, nullptr, "slutar"},
      {3, "7", "marknad"},          {3, "0", "marknad"},           {4, "4", "säkerhetsklass"},
      {5, "11", "antal fack"},      {5, "0", "antal fack"},        {9, "10", "lastgrupp"},
      {9, "-1", "lastgrupp"},       {11, "4", "lastkombination"},  {16, "0", "betongklass"},
      {17, "4", "stålkvalitet"},    {18, "6", "stångdiameter"},    {22, "0", "stångdiameter"},
      {24, "2", "beräkningsmetod"}, {25, "5", "brandklass"},       {26, "3", "undertak"},
      {29, "99999", "heltal"},      {31, "0", "brukskombination"}, {32, "6", "linjelaster"},
      {38, "3", "byggskede"},       {38, "0", "byggskede"},        {39, "5  0  ", "stämp"},
      {39, "0  -1 ", "stämp"},      {40, "-1", "egenfrekvens"},    {40, "1E39", "tal"},
      {40, nullptr, "slutar"},      {39, nullptr, "slutar"},
  };
  for (const BadFile& bad : cases) {
    QByteArrayList lines = danishFile().split('\n');
    lines.removeLast();  // after the last line end
    if (bad.text == nullptr) {
      lines = lines.mid(0, bad.line - 1);
    } else {
      lines[bad.line - 1] = QByteArray(bad.text) + "\r";
    }
    const QByteArray file = lines.isEmpty() ? QByteArray() : lines.join('\n') + "\n";

    CaseStore s;
    setDefaults(s);
    s.baseName = QStringLiteral("GAMMAL");
    s.fileName = QStringLiteral("GAMMAL.IND");
    s.named = true;
    s.changed = true;
    s.market = 1;
    s.spv[1] = 4.0f;
    s.national.lambdaG[1] = 1.25;
    QString error;
    EXPECT_FALSE(readCaseBytes(file, QStringLiteral("TRASIG.IND"), s, &error)) << bad.line;
    EXPECT_TRUE(error.contains(QStringLiteral("TRASIG.IND"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("rad %1").arg(bad.line))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8(bad.expected))) << error.toStdString();
    EXPECT_EQ(s.baseName, QStringLiteral("GAMMAL"));
    EXPECT_EQ(s.fileName, QStringLiteral("GAMMAL.IND"));
    EXPECT_TRUE(s.named);
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(s.market, 1);
    EXPECT_EQ(s.spv[1], 4.0f);
    EXPECT_EQ(s.national.lambdaG[1], 1.25) << "the presets are not rebuilt either";
  }
}

TEST(SaveAsName, NamesFromTheTypedText) {
  struct Case {
    const char16_t* typed;
    const char16_t* file;
    const char16_t* base;
  };
  const Case cases[] = {
      {u"test.dat", u"TEST.IND", u"TEST"},
      {u"  Plan1  ", u"PLAN1.IND", u"PLAN1"},
      {u"a.b.c", u"A.IND", u"A"},
      {u"plan.", u"PLAN.IND", u"PLAN"},
      {u"källare", u"KÄLLARE.IND", u"KÄLLARE"},
      {u"plan1.ind", u"PLAN1.IND", u"PLAN1"},
  };
  for (const Case& c : cases) {
    const SaveAsName n = saveAsName(QString::fromUtf16(c.typed));
    EXPECT_TRUE(n.error.isEmpty()) << n.error.toStdString();
    EXPECT_EQ(n.fileName, QString::fromUtf16(c.file));
    EXPECT_EQ(n.baseName, QString::fromUtf16(c.base));
  }
  for (const char16_t* bad : {u"../x", u"sub/plan", u"c:\\plan", u"   ", u".ind", u""})
    EXPECT_FALSE(saveAsName(QString::fromUtf16(bad)).error.isEmpty())
        << QString::fromUtf16(bad).toStdString();
}

class CaseFiles : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileTable files;
  QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(CaseFiles, SaveAsCreatesTheUpperCaseFileAndNamesTheCase) {
  CaseStore s = danishCase();
  s.changed = true;
  QString error;
  ASSERT_TRUE(saveCaseAs(s, dir.path(), QStringLiteral("test.dat"), &error)) << error.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("TEST.IND")});
  EXPECT_EQ(s.fileName, QStringLiteral("TEST.IND"));
  EXPECT_EQ(s.baseName, QStringLiteral("TEST"));
  EXPECT_TRUE(s.named);
  EXPECT_FALSE(s.changed);
  EXPECT_TRUE(readAll(path("TEST.IND")).startsWith("TEST\r\nK"));
}

TEST_F(CaseFiles, SaveAsRefusesANameOutsideTheFolder) {
  CaseStore s = danishCase();
  s.changed = true;
  QString error;
  EXPECT_FALSE(saveCaseAs(s, dir.path(), QStringLiteral("../UT"), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(s.baseName, QStringLiteral("ÖVNING"));
  EXPECT_TRUE(s.changed);
  EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("../UT.IND"))));
}

TEST_F(CaseFiles, SavingReplacesAnExistingFileOfAnyCase) {
  writeFile(path("plan1.ind"), "gammal");
  CaseStore s = danishCase();
  ASSERT_TRUE(saveCaseAs(s, dir.path(), QStringLiteral("Plan1")));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan1.ind")});
  EXPECT_TRUE(readAll(path("plan1.ind")).startsWith("PLAN1\r\n"));
}

TEST_F(CaseFiles, AFailedSaveKeepsTheOldFileAndSaysSo) {
  CaseStore s = danishCase();
  ASSERT_TRUE(saveCaseAs(s, dir.path(), QStringLiteral("PLAN1")));
  const QByteArray old = readAll(path("PLAN1.IND"));
  s.rubrik = QStringLiteral("Ny rubrik");
  s.changed = true;

  // Let no file of this process grow beyond 100 bytes: the new file cannot be written.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QString error;
  const bool saved_ok = saveCase(s, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_TRUE(error.contains(QStringLiteral("PLAN1.IND"))) << error.toStdString();
  EXPECT_TRUE(s.changed);
  EXPECT_EQ(readAll(path("PLAN1.IND")), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("PLAN1.IND")})
      << "no temporary file is left behind";
}

TEST_F(CaseFiles, SaveToAMissingFolderFails) {
  CaseStore s = danishCase();
  s.folder = path("saknas");
  s.fileName = QStringLiteral("X.IND");
  QString error;
  EXPECT_FALSE(saveCase(s, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(s.named);
}

TEST_F(CaseFiles, FreeMarketFactorsSurviveSaveAndReopenButNotNew) {
  writeFile(path("solvo.def"), danishFile());  // a default case in Denmark
  CaseStore s;
  s.programFolder = dir.path();
  ASSERT_TRUE(newCase(s, files, {}));
  EXPECT_FALSE(s.named);
  EXPECT_EQ(s.fileName, QStringLiteral("ÖVNING.IND"));
  while (s.market != 6) flagClick(s, flagOfMarket(s.market));
  s.lokt = 2;
  s.national.psi0[2][6] = 0.8;  // typed into the psi0 field
  ASSERT_TRUE(saveCaseAs(s, dir.path(), QStringLiteral("FRI")));

  CaseStore reopened;
  QString error;
  ASSERT_TRUE(openCase(reopened, files, dir.path(), QStringLiteral("fri.ind"), {}, &error))
      << error.toStdString();
  EXPECT_EQ(reopened.market, 6);
  EXPECT_EQ(reopened.national.psi0[2][6], 0.8);
  EXPECT_TRUE(reopened.named);
  EXPECT_FALSE(reopened.changed);
  EXPECT_EQ(reopened.fileName, QStringLiteral("FRI.IND"));
  EXPECT_EQ(files.openCount(), 0);

  reopened.programFolder = dir.path();
  ASSERT_TRUE(newCase(reopened, files, {}));
  EXPECT_EQ(reopened.national.psi0[2][6], 0.7);
  EXPECT_FALSE(reopened.named);
}

TEST_F(CaseFiles, SaveAfterOpenWritesTheOpenedFileNotTheOneItsFirstLineNames) {
  // RENAMED.IND was copied from ÖVNING.IND on disk: its first line still says ÖVNING.
  CaseStore original = danishCase();
  ASSERT_TRUE(saveCaseAs(original, dir.path(), QStringLiteral("ÖVNING")));
  const QByteArray other = readAll(path("ÖVNING.IND"));
  writeFile(path("RENAMED.IND"), other);
  CaseStore s;
  QString error;
  ASSERT_TRUE(openCase(s, files, dir.path(), QStringLiteral("renamed.ind"), {}, &error))
      << error.toStdString();
  EXPECT_EQ(s.baseName, QStringLiteral("ÖVNING"));  // names the engine's report
  EXPECT_EQ(s.fileName, QStringLiteral("RENAMED.IND"));
  s.rubrik = QStringLiteral("changed after opening");
  ASSERT_TRUE(saveCase(s, &error)) << error.toStdString();
  EXPECT_EQ(readAll(path("ÖVNING.IND")), other);  // the other case is untouched
  EXPECT_NE(readAll(path("RENAMED.IND")), other);
}

TEST_F(CaseFiles, OpeningAMissingFileChangesNothing) {
  CaseStore s = danishCase();
  s.changed = true;
  QString error;
  EXPECT_FALSE(openCase(s, files, dir.path(), QStringLiteral("SAKNAS.IND"), {}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(s.changed);
  EXPECT_EQ(s.baseName, QStringLiteral("ÖVNING"));
}

TEST_F(CaseFiles, WriterAndReaderOnFileNumbers) {
  CaseStore s = danishCase();
  const qint16 w = files.open(path("NR.IND"), 1, 0, {});
  ASSERT_NE(w, 0);
  ASSERT_TRUE(writeCase(files, w, s));
  files.close(w);
  EXPECT_TRUE(s.named);
  EXPECT_EQ(readAll(path("NR.IND")), danishFile());
  CaseStore t;
  const qint16 r = files.open(path("NR.IND"), 2, 0, {});
  ASSERT_TRUE(readCase(files, r, t));
  files.close(r);
  EXPECT_EQ(t.rubrik, s.rubrik);
  EXPECT_FALSE(readCase(files, 0, t)) << "file number 0 names no file";
}

}  // namespace
}  // namespace solvow

namespace solvow {
namespace {

// A file whose line 1 names another case takes its own name on opening, once, with a
// message; the save then writes that name into line 1.
TEST_F(CaseFiles, AnOpenedFileWhoseFirstLineNamesAnotherCaseTakesItsOwnName) {
  struct Row {
    const char* caseName;  // saved under this name: line 1
    const char* onDisk;    // then copied to this file name
    const char* opened;    // typed in the dialog
    const char* wantBase;
    bool message;
  };
  const Row rows[] = {
      {"KONTOR3", "KOPIA.IND", "KOPIA.IND", "KOPIA", true},
      {"KONTOR3", "kopia.ind", "KOPIA.IND", "KOPIA", true},
      {"KONTOR3", "kontor3.ind", "KONTOR3.IND", "KONTOR3", false},
      {"ÖVNING", "Övning.ind", "ÖVNING.IND", "ÖVNING", false},
      {"ÖVNING", "ÖVNING2.IND", "ÖVNING2.IND", "ÖVNING2", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.onDisk);
    CaseStore original = danishCase();
    ASSERT_TRUE(saveCaseAs(original, dir.path(), QString::fromUtf8(row.caseName)));
    const QString written = path(QString::fromUtf8(row.caseName) + QStringLiteral(".IND"));
    const QByteArray bytes = readAll(written);
    QFile::remove(written);
    writeFile(path(QString::fromUtf8(row.onDisk)), bytes);

    CaseStore s;
    ASSERT_TRUE(openCase(s, files, dir.path(), QString::fromUtf8(row.opened), {}));
    const QString message = adoptFileName(s);
    EXPECT_EQ(s.baseName, QString::fromUtf8(row.wantBase));
    EXPECT_EQ(s.changed, row.message);
    EXPECT_EQ(s.fileName, QString::fromUtf8(row.onDisk));  // the name on disk, as it is
    if (row.message) {
      EXPECT_TRUE(message.startsWith(
          QStringLiteral("Filen %1 innehåller fallet %2.")
              .arg(QString::fromUtf8(row.onDisk), QString::fromUtf8(row.caseName))))
          << message.toStdString();
      EXPECT_TRUE(adoptFileName(s).isEmpty()) << "said once";
      ASSERT_TRUE(saveCase(s));
      CaseStore reopened;
      ASSERT_TRUE(openCase(reopened, files, dir.path(), QString::fromUtf8(row.opened), {}));
      EXPECT_EQ(reopened.baseName, QString::fromUtf8(row.wantBase));  // line 1 now
      EXPECT_TRUE(adoptFileName(reopened).isEmpty());
    } else {
      EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    }
    QFile::remove(path(QString::fromUtf8(row.onDisk)));
  }
}

}  // namespace
}  // namespace solvow
