// What the front end writes, the engine reads back to the same values; and a case saved by
// the front end is calculated by solvowb.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "case_file.h"
#include "case_input.h"
#include "run_state.h"

namespace solvow {
namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList sampleCases() {
  QStringList paths{QStringLiteral(SOLVO_DATA "/solvo.def")};
  const QDir samples(QStringLiteral(SOLVO_DATA "/samples"));
  for (const QString& name : samples.entryList({QStringLiteral("*.IND")}, QDir::Files))
    paths << samples.filePath(name);
  return paths;
}

void expectEngineReadsTheStore(const CaseStore& s, const QByteArray& file, const QString& label) {
  SCOPED_TRACE(label.toStdString());
  solvo::Run run;
  try {
    solvo::insolvo(run, std::string_view(file.constData(), static_cast<size_t>(file.size())),
                   label.toStdString());
  } catch (const solvo::CaseError& e) {
    FAIL() << e.what();
  }
  const solvo::Indat& c = run.indat;
  const auto m = static_cast<std::size_t>(s.market);
  const auto k = static_cast<std::size_t>(s.lokt);
  EXPECT_EQ(c.market, s.market);
  EXPECT_EQ(c.safety_class, s.safetyClass[m]);
  ASSERT_EQ(c.n, s.nfack);
  for (int i = 1; i <= c.n; ++i) {
    EXPECT_FLOAT_EQ(c.span[i], s.spv[i]) << "span " << i;
    EXPECT_FLOAT_EQ(c.thickness[i], s.ptjl[i]) << "span " << i;
    EXPECT_FLOAT_EQ(c.perm_load[i], s.plast[i]) << "span " << i;
    EXPECT_FLOAT_EQ(c.imposed_load[i], s.flast[i]) << "span " << i;
  }
  // The engine numbers supports 1..n+1, the front end 0..n.
  for (int j = 1; j <= c.n + 1; ++j)
    EXPECT_FLOAT_EQ(c.support_width[j], s.upl[static_cast<std::size_t>(j - 1)]) << "support " << j;
  EXPECT_EQ(c.load_category, s.lokt);
  EXPECT_FLOAT_EQ(c.gamma_g, static_cast<float>(s.national.lambdaG[m]));
  EXPECT_FLOAT_EQ(c.xsi, static_cast<float>(s.national.ksi[m]));
  EXPECT_FLOAT_EQ(c.gamma_q, static_cast<float>(s.national.lambdaQ[m]));
  EXPECT_FLOAT_EQ(c.psi0, static_cast<float>(s.national.psi0[k][m]));
  EXPECT_FLOAT_EQ(c.psi1, static_cast<float>(s.national.psi1[k][m]));
  EXPECT_FLOAT_EQ(c.psi2, static_cast<float>(s.national.psi2[k][m]));
  EXPECT_EQ(c.load_set, s.lastkomb);
  EXPECT_FLOAT_EQ(c.cant_left, s.konsv);
  EXPECT_FLOAT_EQ(c.cant_right, s.konsh);
  EXPECT_EQ(c.concrete_class, s.btg);
  EXPECT_EQ(c.top_grade, s.aok);
  EXPECT_EQ(c.top_bar, s.dok);
  EXPECT_EQ(c.top_layout, s.kavko == 0 ? 1 : 2);
  EXPECT_EQ(c.top_cover, s.ktack);
  EXPECT_EQ(c.bot_grade, s.auk);
  EXPECT_EQ(c.bot_bar, s.duk);
  EXPECT_EQ(c.bot_placement, s.duarm);
  EXPECT_EQ(c.fire_minutes, s.brandb == 1 ? 30 : s.brandb == 2 ? 60 : 90);
  EXPECT_EQ(c.ceiling, s.kutak);
  EXPECT_EQ(c.creep, s.kryptal);
  EXPECT_EQ(c.precamber, static_cast<float>(s.overhojning));
  EXPECT_EQ(c.defl_initial, s.initiell);
  EXPECT_EQ(c.defl_additional, s.tillkommande);
  EXPECT_EQ(c.defl_load, s.brukskomb);
  EXPECT_EQ(c.line_loads, s.nllast);
  for (int l = 1; l <= c.line_loads; ++l) {
    const LineLoad& load = s.lineLoads[static_cast<std::size_t>(l)];
    EXPECT_EQ(c.ll_span[l], load.llfnr) << "line load " << l;
    EXPECT_FLOAT_EQ(c.ll_pos[l], load.avst) << "line load " << l;
    EXPECT_FLOAT_EQ(c.ll_load[l], load.lllast) << "line load " << l;
  }
  EXPECT_EQ(c.deck_support, s.byggskede);
  for (int i = 1; i <= c.n; ++i) EXPECT_EQ(c.props[i], s.stamp[static_cast<std::size_t>(i)]) << i;
  EXPECT_FLOAT_EQ(c.freq_min, s.egenfrekvens);
  // The engine takes the name and the heading as the bytes of the first two lines.
  const QByteArrayList lines = file.split('\n');
  EXPECT_EQ(run.prfil, lines[0].chopped(1).leftJustified(9, ' ', true).toStdString());
  EXPECT_EQ(run.rubrad, lines[1].chopped(1).leftJustified(40, ' ', true).toStdString());
}

TEST(EngineRoundTrip, SampleCasesReadBackToTheSameValues) {
  const QStringList paths = sampleCases();
  ASSERT_GE(paths.size(), 2);
  for (const QString& path : paths) {
    const QByteArray original = readAll(path);
    ASSERT_FALSE(original.isEmpty()) << path.toStdString();
    CaseStore s;
    QString error;
    ASSERT_TRUE(readCaseBytes(original, path, s, &error)) << error.toStdString();
    const auto written = caseFileBytes(s, &error);
    ASSERT_TRUE(written) << error.toStdString();
    // The samples follow the written layout in 40 lines, so the front end rewrites them
    // unchanged and adds line 41 with its default crack width, 0.4 mm.
    EXPECT_EQ(*written, original + "0.4\r\n") << path.toStdString();
    expectEngineReadsTheStore(s, *written, path);
  }
}

TEST(EngineRoundTrip, EditedValuesReachTheEngine) {
  CaseStore s;
  ASSERT_TRUE(readCaseBytes(readAll(QStringLiteral(SOLVO_DATA "/solvo.def")),
                            QStringLiteral("solvo.def"), s));
  // A free-market case with edits that exercise every conversion.
  while (s.market != 6) flagClick(s, flagOfMarket(s.market));
  s.baseName = QStringLiteral("LÅNGTNAMNÖVER9");
  s.rubrik = QStringLiteral("Åtta, nio \"och\" tio: ääkta överkant med mer än fyrtio tecken");
  s.nfack = 3;
  s.spv = {0, 12.5f, 6.25f, 4.0f};
  s.ptjl = {0, 0.2f, 0.18f, 0.14f};
  s.upl = {0, 0.15f, 0.125f, 0};
  s.lokt = 7;
  s.national.lambdaG[6] = 1.4;
  s.national.psi0[7][6] = 0.85;
  s.lastkomb = 2;
  s.plast = {0, 1.0f, 0.75f, 0.5f};
  s.flast = {0, 5.0f, 5.0f, 5.0f};
  s.konsv = 1.25f;
  s.konsh = 0.8f;
  s.kavko = 1;
  s.brandb = 4;
  s.overhojning = 15;
  s.nllast = 2;
  s.lineLoads[1] = {1, 2.5f, 12.0f};
  s.lineLoads[2] = {3, 0.75f, 4.5f};
  s.byggskede = 2;
  s.stamp = {0, 2, 0, 1};
  s.egenfrekvens = 7.25f;
  const auto written = caseFileBytes(s);
  ASSERT_TRUE(written);
  expectEngineReadsTheStore(s, *written, QStringLiteral("edited"));
}

TEST(EndToEnd, ACaseSavedByTheFrontEndIsCalculatedBySolvowb) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CaseStore s;
  s.programFolder = QStringLiteral(SOLVO_DATA);
  FileTable files;
  QString error;
  ASSERT_TRUE(newCase(s, files, {}, &error)) << error.toStdString();
  ASSERT_TRUE(saveCaseAs(s, dir.path(), QStringLiteral("e2e"), &error)) << error.toStdString();
  ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("E2E.IND")),
                          dir.filePath(QStringLiteral("~indata~.tmp"))));

  QProcess engine;
  engine.setWorkingDirectory(dir.path());
  engine.start(QStringLiteral(SOLVOWB_PATH), QStringList());
  ASSERT_TRUE(engine.waitForFinished(60000));
  const QString console = QString::fromUtf8(engine.readAllStandardOutput());
  const QString errors = QString::fromUtf8(engine.readAllStandardError());
  EXPECT_EQ(engine.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(engine.exitCode(), 0) << errors.toStdString();
  // The second console line comes only after the case was read.
  EXPECT_TRUE(console.contains(QStringLiteral("BERÄKNING PÅGÅR"))) << console.toStdString();
  EXPECT_TRUE(console.contains(QStringLiteral("KLART!"))) << console.toStdString();
  // The report is named by the saved case's name, and its header names the case.
  QFile report(dir.filePath(QStringLiteral("E2E.RES")));
  ASSERT_TRUE(report.open(QIODevice::ReadOnly));
  const QByteArray text = report.readAll();
  EXPECT_TRUE(text.contains("INDATAFIL : E2E"));
  EXPECT_EQ(text.count('^'), 6);
}

}  // namespace
}  // namespace solvow
