// "Kör...": the run of the engine on the saved case, against the real solvowb and against
// small stand-in programs where a behaviour of the engine has to be forced.
#include "engine_run.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "case_file.h"
#include "form6.h"
#include "run_window.h"

namespace solvow {
namespace {

QByteArray sampleCase() {
  QFile file(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The sample case with another case name on its first line.
QByteArray renamedCase(const QByteArray& name) {
  QByteArray bytes = sampleCase();
  return name + bytes.mid(bytes.indexOf("\r\n"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkpath(QStringLiteral("arbete"));
    QDir(root.path()).mkpath(QStringLiteral("fall"));
    QDir(root.path()).mkpath(QStringLiteral("program"));
    run.setWorkingFolder(work());
    run.setProgramFolder(QFileInfo(QStringLiteral(SOLVOWB_PATH)).absolutePath());
    run.setNotify([this](const QString& text) { messages.append(text); });
  }
  QString work(const char* name = "") const {
    return QDir(root.filePath(QStringLiteral("arbete"))).filePath(QString::fromUtf8(name));
  }
  QString cases() const { return root.filePath(QStringLiteral("fall")); }
  QString program() const { return root.filePath(QStringLiteral("program")); }

  // A case saved as `fileName` in `folder`, named and unchanged, with `bytes` in its file.
  void saveCase(const QString& folder, const QString& baseName, const QByteArray& bytes) {
    store.baseName = baseName;
    store.fileName = baseName + QStringLiteral(".IND");
    store.folder = folder;
    store.named = true;
    store.changed = false;
    writeFile(QDir(folder).filePath(store.fileName), bytes);
  }

  // A stand-in engine: a shell script in the program folder.
  void standIn(const QByteArray& script) {
    const QString path = QDir(program()).filePath(QStringLiteral("solvowb"));
    writeFile(path, "#!/bin/sh\n" + script);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    run.setProgramFolder(program());
  }

  QTemporaryDir root;
  FileTable files;
  EngineRun run{files, DiskDialogue()};
  CaseStore store;
  QStringList messages;
};

TEST_F(Run, AnUnsavedOrChangedCaseStartsNothing) {
  standIn("touch started\n");
  const struct {
    const char* name;
    bool named;
    bool changed;
  } rows[] = {{"never saved", false, false}, {"changed after saving", true, true}};
  for (const auto& r : rows) {
    messages.clear();
    saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
    store.named = r.named;
    store.changed = r.changed;
    const RunResult result = run.run(store);
    EXPECT_EQ(result.outcome, RunResult::Outcome::NotSaved) << r.name;
    EXPECT_EQ(messages, QStringList{QStringLiteral("Du måste spara Filen först !")}) << r.name;
    EXPECT_FALSE(QFile::exists(work("started"))) << r.name;
    EXPECT_FALSE(QFile::exists(work("~indata~.tmp"))) << r.name;
  }
}

TEST_F(Run, ALineLoadInForceOutsideTheSlabIsRefused) {
  store.nfack = 3;
  const struct {
    const char* name;
    qint16 count;
    qint16 span[3];
    const char* inMessage;  // empty: the loads are accepted
  } rows[] = {
      {"second load in span 4 of 3",
       2,
       {1, 4, 0},
       "Linjelast 2 ligger i fack 4, men bjälklaget har 3 fack"},
      {"first load in span 0", 1, {0, 1, 1}, "Linjelast 1 ligger i fack 0"},
      {"last span is inside", 3, {3, 1, 2}, ""},
      {"a load not in force may lie anywhere", 1, {2, 9, 15}, ""},
      {"no loads", 0, {0, 0, 0}, ""},
  };
  for (const auto& r : rows) {
    store.nllast = r.count;
    for (int k = 0; k < 3; ++k) store.lineLoads[static_cast<size_t>(k + 1)].llfnr = r.span[k];
    const QString problem = lineLoadProblem(store);
    if (*r.inMessage == '\0')
      EXPECT_TRUE(problem.isEmpty()) << r.name << ": " << problem.toStdString();
    else
      EXPECT_TRUE(problem.contains(QString::fromUtf8(r.inMessage)))
          << r.name << ": " << problem.toStdString();
  }

  standIn("touch started\n");
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  store.nllast = 2;
  store.lineLoads[2].llfnr = 4;
  EXPECT_EQ(run.run(store).outcome, RunResult::Outcome::BadLineLoad);
  EXPECT_FALSE(QFile::exists(work("started")));
}

// The ten-span sample, edited, as the front end saves it.
QByteArray editedSample(const std::function<void(CaseStore&)>& edit) {
  CaseStore s;
  setDefaults(s);
  EXPECT_TRUE(readCaseBytes(sampleCase(), QStringLiteral("TIOFACK.IND"), s));
  edit(s);
  return caseFileBytes(s).value_or(QByteArray());
}

TEST_F(Run, TheChecksRefuseErrorsAndAskAboutUnusualValues) {
  standIn("touch started\n");
  QStringList asked;
  bool answer = false;
  run.setConfirm([&](const QString& question) {
    asked.append(question);
    return answer;
  });
  struct Row {
    const char* label;
    std::function<void(CaseStore&)> edit;
    bool answer;
    RunResult::Outcome outcome;
    QStringList told;  // lines the refusal holds
    QStringList asks;  // lines the question holds
    bool started;
  };
  const Row rows[] = {
      // Span 2 of 0.1 m between supports of 0.1 m: clear span 0.1 - 0.1 = 0.
      {"errors",
       [](CaseStore& s) {
         s.spv[2] = 0.1f;
         s.ptjl[3] = 0.06f;
         s.spv[4] = 9.0f;
       },
       true,
       RunResult::Outcome::Refused,
       {"Fack 2: spännvidden måste vara större än upplagsbredderna",
        "Fack 3: plattjockleken 0.060 m"},
       {},
       false},
      {"unusual, Avbryt",
       [](CaseStore& s) { s.spv[4] = 9.0f; },
       false,
       RunResult::Outcome::NotConfirmed,
       {},
       {"Fack 4: spännvidden 9.00 m är längre än 8.00 m"},
       false},
      {"unusual, Kör ändå",
       [](CaseStore& s) { s.spv[4] = 9.0f; },
       true,
       RunResult::Outcome::NoReport,
       {},
       {"Fack 4: spännvidden 9.00 m är längre än 8.00 m"},
       true},
  };
  QLocale::setDefault(QLocale::c());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    QFile::remove(work("started"));
    messages.clear();
    asked.clear();
    answer = row.answer;
    saveCase(cases(), QStringLiteral("TIOFACK"), editedSample(row.edit));
    const RunResult result = run.run(store);
    EXPECT_EQ(result.outcome, row.outcome);
    EXPECT_EQ(QFile::exists(work("started")), row.started);
    if (row.told.isEmpty()) {
      EXPECT_TRUE(messages.isEmpty() || row.started) << messages.join(u'|').toStdString();
    } else {
      ASSERT_EQ(messages.size(), 1);
      for (const QString& line : row.told)
        EXPECT_TRUE(messages[0].contains(line)) << messages[0].toStdString();
    }
    EXPECT_EQ(asked.size(), row.asks.size());
    for (const QString& line : row.asks)
      EXPECT_TRUE(!asked.isEmpty() && asked[0].contains(line)) << line.toStdString();
  }
}

TEST_F(Run, TheRealEngineRunsACaseSavedInAnotherFolderAndTheReportIsShown) {
  // A different case of the same name in the working folder must not be the one run.
  writeFile(work("TIOFACK.IND"), renamedCase("TIOFACK").replace("Tio fack", "Fel fall"));
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  const RunResult result = run.run(store);
  ASSERT_EQ(result.outcome, RunResult::Outcome::Done)
      << messages.join(u'\n').toStdString() << result.engineErrors.toStdString();
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_TRUE(store.diagramEnabled);
  EXPECT_EQ(readFile(work("~indata~.tmp")), sampleCase());
  EXPECT_TRUE(QFile::exists(work("MOMK.DAT")));

  const QString& text = result.reportText;
  EXPECT_TRUE(text.startsWith(QStringLiteral("\r\n")));
  EXPECT_FALSE(text.endsWith(QStringLiteral("\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("Tio fack, linjelaster")));
  for (const char* word : {"Överkantsarmering", "Ø12", "BROTTGRÄNSTILLSTÅND", "Täckande"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
  // Six pages, each with its header; the page marks are not shown.
  EXPECT_EQ(text.count(QStringLiteral("INDATAFIL : ")), 6);
  EXPECT_EQ(text.count(u'^'), 0);

  // Shown in the viewer, rendered to look at.
  ReportSettings settings;
  Form6 viewer(settings);
  viewer.showReportText(text);
  viewer.resize(820, 900);
  viewer.show();
  EXPECT_TRUE(viewer.textBox()->toPlainText().startsWith(u'\n'));
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  viewer.grab().save(QStringLiteral(SOLVO_RENDER_DIR "/form6_tiofack.png"));
}

TEST_F(Run, ALongCaseNameFindsTheReportUnderItsFirstNineCharacters) {
  saveCase(cases(), QStringLiteral("LANGTNAMN12"), renamedCase("LANGTNAMN12"));
  const RunResult result = run.run(store);
  EXPECT_EQ(result.outcome, RunResult::Outcome::Done) << messages.join(u'\n').toStdString();
  EXPECT_TRUE(QFile::exists(work("LANGTNAMN.RES")));
}

TEST_F(Run, AnEngineThatRefusesTheCaseShowsItsLineAndNothingOld) {
  // Results of an earlier run lie in the working folder.
  writeFile(work("TIOFACK.RES"), "GAMMAL RAPPORT\r\n");
  writeFile(work("MOMK.DAT"), " 1\r\n");
  store.diagramEnabled = true;
  // An engine that refuses the case with its one line and status 2.
  standIn("echo '~INDATA~.TMP line 5: 1 to 10 spans expected (found \"99\")' >&2\nexit 2\n");
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());

  const RunResult result = run.run(store);
  EXPECT_EQ(result.outcome, RunResult::Outcome::EngineFailed);
  EXPECT_EQ(result.exitCode, 2);
  ASSERT_EQ(messages.size(), 1);
  // The engine's own line follows the heading of the message.
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Beräkningen kunde inte göras.\n")))
      << messages[0].toStdString();
  EXPECT_TRUE(messages[0].endsWith(result.engineErrors)) << messages[0].toStdString();
  EXPECT_TRUE(result.engineErrors.contains(QStringLiteral("line 5")));
  EXPECT_FALSE(store.diagramEnabled);
  EXPECT_TRUE(result.reportText.isEmpty());
  EXPECT_FALSE(QFile::exists(work("TIOFACK.RES")));
  EXPECT_FALSE(QFile::exists(work("MOMK.DAT")));
}

// A saved file that the front end cannot read (changed outside the program) is refused before
// the engine starts, in the reader's words, and the engine never sees it.
TEST_F(Run, ASavedFileTheFrontEndCannotReadStartsNothing) {
  QByteArray bad = sampleCase();
  bad.replace("\r\n10\r\n", "\r\n99\r\n");
  saveCase(cases(), QStringLiteral("TIOFACK"), bad);
  standIn("touch started.txt\n");

  const RunResult result = run.run(store);
  EXPECT_NE(result.outcome, RunResult::Outcome::Done);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("kan inte läsas, rad 5")))
      << messages[0].toStdString();
  EXPECT_FALSE(QFile::exists(work("started.txt")));
}

// An engine that cannot write its files, or that finds another calculation in the folder,
// is told in words with its line, and no report is read, not even one it left.
TEST_F(Run, AnEngineThatCannotWriteOrFindsTheFolderBusyIsToldInWords) {
  const struct {
    const char* script;
    const char* message;
  } rows[] = {
      {"printf 'GAMMAL\\r\\n' > TIOFACK.RES\necho 'TIOFACK.RES: No space left on device' >&2\n"
       "exit 3\n",
       "Resultatet kunde inte skrivas, och inget resultat finns kvar.\n"
       "TIOFACK.RES: No space left on device"},
      {"printf 'GAMMAL\\r\\n' > TIOFACK.RES\necho 'another calculation is already running in "
       "the working folder; try again when it has finished' >&2\nexit 2\n",
       "En annan beräkning pågår redan i arbetsmappen. Försök igen när den är klar."},
  };
  for (const auto& row : rows) {
    messages.clear();
    standIn(row.script);
    saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
    const RunResult result = run.run(store);
    EXPECT_EQ(result.outcome, RunResult::Outcome::EngineFailed) << row.script;
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(row.message)});
    EXPECT_TRUE(result.reportText.isEmpty());
    EXPECT_FALSE(store.diagramEnabled);
  }
}

TEST_F(Run, AMissingEngineOrAMissingCaseFileEndsInTheMissingReportMessage) {
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  run.setProgramFolder(program());  // holds no engine
  EXPECT_EQ(run.run(store).outcome, RunResult::Outcome::NoReport);

  run.setProgramFolder(QFileInfo(QStringLiteral(SOLVOWB_PATH)).absolutePath());
  QFile::remove(QDir(cases()).filePath(QStringLiteral("TIOFACK.IND")));
  EXPECT_EQ(run.run(store).outcome, RunResult::Outcome::NoReport);
  EXPECT_EQ(messages.size(), 2);
  for (const QString& m : messages)
    EXPECT_EQ(m, QStringLiteral("Resultatfil till TIOFACK.IND saknas !"));
}

TEST_F(Run, TheEngineRunsInTheWorkingFolderWithNoArguments) {
  // The stand-in notes its folder and arguments and writes a report with DOS letters, several
  // of a kind on one line.
  standIn(
      "pwd > var.txt\necho \"$#\" >> var.txt\n"
      "printf 'F\\216RSTA \\216\\216\\217\\217\\231\\231\\r\\nandra \\206\\206\\204\\204"
      "\\224\\224\\r\\n' > TIOFACK.RES\n");
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  const RunResult result = run.run(store);
  ASSERT_EQ(result.outcome, RunResult::Outcome::Done);
  const QList<QByteArray> noted = readFile(work("var.txt")).split('\n');
  EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(noted[0])).canonicalFilePath(),
            QFileInfo(work()).canonicalFilePath());
  EXPECT_EQ(noted[1], "0");
  EXPECT_EQ(result.reportText, QString::fromUtf8("\r\nFÄRSTA ÄÄÅÅÖÖ\r\nandra ååääöö"));
}

TEST_F(Run, AvbrytEndsAnEngineThatDoesNotEnd) {
  standIn("exec sleep 30\n");
  attachRunWindows(run, nullptr);
  run.setQuietWait(50);
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  QString shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll.stop();
    shown = modal->findChild<QPushButton*>(QStringLiteral("Avbryt"))->text();
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Avbryt")), Qt::LeftButton);
  });
  poll.start(20);
  QElapsedTimer clock;
  clock.start();
  const RunResult result = run.run(store);
  EXPECT_EQ(shown, QStringLiteral("Avbryt"));
  EXPECT_EQ(result.outcome, RunResult::Outcome::Cancelled);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_FALSE(store.diagramEnabled);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Run, AnEngineThatTakesAWhileIsWaitedFor) {
  standIn("sleep 1\nprintf 'SEN RAPPORT\\r\\n' > TIOFACK.RES\n");
  attachRunWindows(run, nullptr);
  run.setQuietWait(50);
  saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
  const RunResult result = run.run(store);
  EXPECT_EQ(result.outcome, RunResult::Outcome::Done);
  EXPECT_EQ(result.reportText, QStringLiteral("\r\nSEN RAPPORT"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Statuses 2 and 3 leave no valid report, whatever the folder holds: their line is told.
TEST_F(Run, EngineStatusesTwoAndThreeShowTheEnginesLineAndNoReport) {
  const struct {
    const char* label;
    const char* script;
    int status;
    const char* heading;
    const char* line;
  } rows[] = {
      {"a case the engine cannot use, line on the error channel",
       "printf 'RAPPORT\\r\\n' > TIOFACK.RES\necho '~INDATA~.TMP, line 3: expected 1 to 10' "
       ">&2\nexit 2\n",
       2, "Beräkningen kunde inte göras.", "~INDATA~.TMP, line 3: expected 1 to 10"},
      {"file not written, line on the console only",
       "printf 'RAPPORT\\r\\n' > TIOFACK.RES\necho 'BERÄKNING PÅGÅR'\necho 'MOMK.DAT: No space "
       "left on device'\nexit 3\n",
       3, "Resultatet kunde inte skrivas, och inget resultat finns kvar.",
       "MOMK.DAT: No space left on device"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    messages.clear();
    standIn(r.script);
    saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
    const RunResult result = run.run(store);
    EXPECT_EQ(result.outcome, RunResult::Outcome::EngineFailed);
    EXPECT_EQ(result.exitCode, r.status);
    EXPECT_TRUE(result.reportText.isEmpty());
    EXPECT_FALSE(store.diagramEnabled);
    EXPECT_EQ(messages,
              QStringList{QString::fromUtf8(r.heading) + u'\n' + QString::fromUtf8(r.line)});
  }
}

TEST_F(Run, TheVerdictIsTheEnginesLastConsoleLineWhenItIsOne) {
  const struct {
    const char* label;
    const char* console;
    const char* verdict;
  } rows[] = {
      {"all met", "KLART!\\nAlla kontroller uppfyllda\\n\\n", "Alla kontroller uppfyllda"},
      {"one failed", "KLART!\\nEj uppfyllt: Svikt fack 5\\n", "Ej uppfyllt: Svikt fack 5"},
      {"an engine without a verdict", "KLART!\\n", ""},
      {"a verdict that is not the last line", "Ej uppfyllt: Svikt fack 5\\nKLART!\\n", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    standIn(QByteArray("printf 'RAPPORT\\r\\n' > TIOFACK.RES\nprintf '") + r.console + "'\n");
    saveCase(cases(), QStringLiteral("TIOFACK"), sampleCase());
    const RunResult result = run.run(store);
    ASSERT_EQ(result.outcome, RunResult::Outcome::Done);
    EXPECT_EQ(result.verdictLine, QString::fromUtf8(r.verdict));
  }
}

TEST_F(Run, TheGateAsksAboutRei120AndAboutAReportSharedWithAnotherCase) {
  standIn("touch started\n");
  QStringList asked;
  run.setConfirm([&](const QString& question) {
    asked.append(question);
    return false;
  });
  // REI 120: the fire option line of the sample set to 4.
  saveCase(cases(), QStringLiteral("TIOFACK"),
           editedSample([](CaseStore& s) { s.brandb = kFireOptionRei120; }));
  EXPECT_EQ(run.run(store).outcome, RunResult::Outcome::NotConfirmed);
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(
      asked[0].contains(QStringLiteral("OBS! REI 120 dimensioneras inte; REI 90 redovisas")));

  // KONTORHUS1 and KONTORHUS2 both name KONTORHUS.RES.
  asked.clear();
  writeFile(QDir(cases()).filePath(QStringLiteral("KONTORH2.IND")), renamedCase("KONTORHUS2"));
  saveCase(cases(), QStringLiteral("KONTORHUS1"), renamedCase("KONTORHUS1"));
  EXPECT_EQ(run.run(store).outcome, RunResult::Outcome::NotConfirmed);
  ASSERT_EQ(asked.size(), 1);
  for (const char* named : {"KONTORHUS1.IND", "KONTORH2.IND", "KONTORHUS.RES"})
    EXPECT_TRUE(asked[0].contains(QString::fromUtf8(named))) << asked[0].toStdString();
  EXPECT_FALSE(QFile::exists(work("started")));
}

}  // namespace
}  // namespace solvow
