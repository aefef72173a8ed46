// The whole program: start-up, the menu entries, a real run of the engine, the viewer, the
// diagram and leaving, on real windows with real events. Each test works in a folder of its
// own: a working folder with solvo.ini, a program folder with a copy of solvowb, solvo.def and
// the help document, and a folder for case files elsewhere.
#include "shell.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <optional>

#include "case_file.h"
#include "delfile.h"
#include "disk_error_dialog.h"
#include "fileinfo.h"
#include "form1.h"
#include "form6.h"
#include "helpwindow.h"
#include "mdiform1.h"
#include "modal_script.h"
#include "momkurva.h"
#include "report_owner.h"
#include "text_conv.h"

namespace solvow::forms {
namespace {

using test::boxText;
using test::clickText;
using test::ModalScript;

// solvo.ver holding 7.1 and 7.0 as little-endian single-precision numbers:
// 7.1 = 1.775 * 2^2 -> 0x40E33333, 7.0 = 1.75 * 2^2 -> 0x40E00000.
const QByteArray kVersion71("\x33\x33\xE3\x40", 4);
const QByteArray kVersion70("\x00\x00\xE0\x40", 4);

// solvo.def names its case NAMNLÖS ("NAMNL", DOS 153, "S") with the heading
// "Bjälklag i två fack" over two spans.
const QString kDefaultCaption = QStringLiteral("NAMNLÖS.IND");
const QString kDefaultHeading = QStringLiteral("Bjälklag i två fack");

QByteArray readBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

// Presses the first button of a message box and keeps its text.
ModalScript::Step note(QStringList* messages) {
  return [messages](QWidget* w) {
    messages->append(boxText(w));
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr) << w->objectName().toStdString();
    QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
  };
}

// Closes a dialog as "Avbryt" would, keeping its name and caption.
ModalScript::Step cancel(QStringList* seen) {
  return [seen](QWidget* w) {
    seen->append(w->objectName() + QStringLiteral(" ") + w->windowTitle());
    qobject_cast<QDialog*>(w)->reject();
  };
}

// One program in folders of its own.
class Program {
 public:
  Program() {
    EXPECT_TRUE(m_root.isValid());
    for (const char* f : {"arbete", "program", "fall"}) QDir(m_root.path()).mkpath(f);
    const QString engine = program("solvowb");
    EXPECT_TRUE(QFile::copy(QStringLiteral(SOLVOWB_PATH), engine));
    QFile::setPermissions(engine, QFile::permissions(engine) | QFileDevice::ExeOwner);
    EXPECT_TRUE(QFile::copy(QStringLiteral(SOLVO_DATA "/solvo.def"), program("solvo.def")));
    EXPECT_TRUE(
        QFile::copy(QStringLiteral(SOLVO_DATA "/solvo_help.html"), program("solvo_help.html")));
    // A relative entry counts from the working folder.
    writeBytes(work("solvo.ini"), "\"../program\"\r\n");
  }

  QString work(const char* name = "") const { return in("arbete", name); }
  QString program(const char* name = "") const { return in("program", name); }
  QString cases(const char* name = "") const { return in("fall", name); }

  // A new shell on the working folder (the old one goes first).
  Shell& make() {
    shell.reset();
    shell = std::make_unique<Shell>(work());
    return *shell;
  }

  // Starts the program, answering the notices; `seen` gets their names in order.
  bool startUp(bool tickCheck1 = false, QStringList* seen = nullptr) {
    make();
    QStringList local;
    QStringList* names = seen != nullptr ? seen : &local;
    const auto answer = [names, tickCheck1](QWidget* w) {
      names->append(w->objectName());
      if (w->objectName() == QStringLiteral("Form10") && tickCheck1)
        if (auto* box = w->findChild<QCheckBox*>(QStringLiteral("Check1")))
          QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
      clickText(w, QStringLiteral("OK"));
    };
    // Form10 shows only while solvo.ver does not hide it.
    const bool notice = readBytes(work("solvo.ver")) != kVersion71;
    std::optional<ModalScript> script;
    if (notice)
      script.emplace(std::initializer_list<ModalScript::Step>{answer, answer});
    else
      script.emplace(std::initializer_list<ModalScript::Step>{answer});
    return shell->start();
  }

  MDIForm1& window() const { return *shell->window(); }
  const MDIForm1::Actions& menu() const { return shell->window()->actions(); }
  QLineEdit* heading() const {
    return window().form1()->findChild<QLineEdit*>(QStringLiteral("rubrik"));
  }

  // Types into the heading: an edit of the case.
  void edit(const QString& text = QStringLiteral(" x")) const {
    heading()->setFocus();
    heading()->end(false);
    QTest::keyClicks(heading(), text);
  }

  // "Spara som..." with `typed` in `folder`.
  void saveAs(const QString& folder, const QString& typed) {
    shell->dialogState().lastFolder = folder + QStringLiteral("/");
    ModalScript script{[typed](QWidget* w) {
      auto* d = qobject_cast<FileInfo*>(w);
      ASSERT_NE(d, nullptr);
      d->nameBox()->selectAll();
      QTest::keyClicks(d->nameBox(), typed);
      QTest::mouseClick(d->button(0), Qt::LeftButton);
    }};
    menu().spars->trigger();
  }

  std::unique_ptr<Shell> shell;

 private:
  QString in(const char* folder, const char* name) const {
    return QDir(m_root.filePath(QString::fromLatin1(folder))).filePath(QString::fromUtf8(name));
  }
  QTemporaryDir m_root;
};

// --- start-up ----------------------------------------------------------------------------

TEST(ShellStartUp, NoticesInOrderThenTheDefaultCaseUnchangedWithItsHeadingSelected) {
  struct Row {
    const char* label;
    std::optional<QByteArray> ver;  // solvo.ver before the start
    bool tick;                      // Check1 ticked in Form10
    QStringList notices;
    QByteArray verAfter;
    QStringList noticesNextTime;
  };
  const Row rows[] = {
      {"no solvo.ver", std::nullopt, false, {"Form10", "Form9"}, "", {"Form10", "Form9"}},
      {"no solvo.ver, box ticked", std::nullopt, true, {"Form10", "Form9"}, kVersion71, {"Form9"}},
      {"7.0 stored", kVersion70, false, {"Form10", "Form9"}, kVersion70, {"Form10", "Form9"}},
      {"7.1 stored", kVersion71, false, {"Form9"}, kVersion71, {"Form9"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    Program p;
    if (row.ver) writeBytes(p.work("solvo.ver"), *row.ver);
    QStringList seen;
    ASSERT_TRUE(p.startUp(row.tick, &seen));
    EXPECT_EQ(seen, row.notices);
    EXPECT_EQ(readBytes(p.work("solvo.ver")), row.verAfter);
    EXPECT_TRUE(QFileInfo::exists(p.work("solvo.ver")));

    CaseStore& s = p.shell->store();
    EXPECT_EQ(s.programFolder, QDir::cleanPath(p.program()));
    EXPECT_EQ(p.window().windowTitle(), kDefaultCaption);
    EXPECT_TRUE(p.window().isVisible());
    EXPECT_FALSE(s.changed);
    EXPECT_FALSE(s.named);
    EXPECT_EQ(s.nfack, 2);
    EXPECT_FALSE(p.menu().dia->isEnabled());
    EXPECT_EQ(p.window().focusWidget(), p.heading());
    EXPECT_EQ(p.heading()->selectedText(), kDefaultHeading);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    seen.clear();
    ASSERT_TRUE(p.startUp(false, &seen));
    EXPECT_EQ(seen, row.noticesNextTime);
  }
}

TEST(ShellStartUp, ReportFontIsThePrintersUnlessSolvfntIniNamesOne) {
  Program p;
  ASSERT_TRUE(p.startUp());
  EXPECT_EQ(p.shell->reportSettings().fontName, p.shell->printer().fontFamily());
  EXPECT_EQ(p.shell->reportSettings().iniFolder, QDir(p.work()).absolutePath());

  test::render(&p.window(), QStringLiteral("shell_start"));

  writeBytes(p.work("Solvfnt.ini"), "Liberation Mono\r\n");
  ASSERT_TRUE(p.startUp());
  EXPECT_EQ(p.shell->reportSettings().fontName, QStringLiteral("Liberation Mono"));
}

TEST(ShellStartUp, WithoutTheDefaultCaseAMessageNamesItAndTheProgramEnds) {
  struct Row {
    const char* label;
    bool removeIni;
    QString folderNamed;  // the folder the message must name
  };
  for (const Row& row : {Row{"solvo.def missing in the program folder", false, QString()},
                         Row{"no solvo.ini: the program's own folder", true,
                             QCoreApplication::applicationDirPath()}}) {
    SCOPED_TRACE(row.label);
    Program p;
    QFile::remove(p.program("solvo.def"));
    if (row.removeIni) QFile::remove(p.work("solvo.ini"));
    writeBytes(p.work("solvo.ver"), kVersion71);
    p.make();
    QStringList seen;
    QStringList messages;
    {
      ModalScript script{cancel(&seen), note(&messages)};
      EXPECT_FALSE(p.shell->start());
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("solvo.def"))) << messages[0].toStdString();
    const QString folder = row.folderNamed.isEmpty() ? p.program() : row.folderNamed;
    EXPECT_TRUE(messages[0].contains(QDir::cleanPath(folder))) << messages[0].toStdString();
    EXPECT_TRUE(p.shell->hasEnded());
    EXPECT_FALSE(p.window().isVisible());
  }
}

// --- files -------------------------------------------------------------------------------

TEST(ShellFiles, NewAndOpenAskForm8WhenTheCaseHasChanged) {
  Program p;
  ASSERT_TRUE(p.startUp());

  // Unchanged: no prompt, straight to the new case / the file dialog.
  {
    ModalScript none;
    p.menu().n->trigger();
  }
  {
    QStringList seen;
    ModalScript script{cancel(&seen)};
    p.menu().op->trigger();
    EXPECT_EQ(seen, QStringList{QStringLiteral("FileInfo Välj Indatafil")});
  }

  struct Row {
    QAction* action;
    const char* caption;
    bool replaced;  // "Nej" goes on to a new case; Open's dialog is cancelled instead
  };
  for (const Row& row : {Row{p.menu().n, "Ny", true}, Row{p.menu().op, "Öppna", false}}) {
    SCOPED_TRACE(row.caption);
    p.edit(QStringLiteral(" andrad"));
    ASSERT_TRUE(p.shell->store().changed);
    QString caption;
    QString question;
    QStringList seen;
    ModalScript::Step nej = [&](QWidget* w) {
      caption = w->windowTitle();
      question = w->findChild<QLabel*>(QStringLiteral("Label1"))->text();
      EXPECT_EQ(w->objectName(), QStringLiteral("Form8"));
      clickText(w, QStringLiteral("Nej"));
    };
    {
      std::optional<ModalScript> script;
      if (row.replaced)
        script.emplace(std::initializer_list<ModalScript::Step>{nej});
      else
        script.emplace(std::initializer_list<ModalScript::Step>{nej, cancel(&seen)});
      row.action->trigger();
    }
    EXPECT_EQ(caption, QString::fromUtf8(row.caption));
    EXPECT_EQ(question, QStringLiteral("Vill Du spara ändringarna i NAMNLÖS.IND ?"));
    EXPECT_EQ(p.shell->store().changed, !row.replaced);
    EXPECT_EQ(p.shell->store().rubrik,
              row.replaced ? kDefaultHeading : kDefaultHeading + QStringLiteral(" andrad"));
    EXPECT_EQ(p.heading()->text(), p.shell->store().rubrik);
    if (row.replaced) {
      EXPECT_EQ(p.heading()->selectedText(), kDefaultHeading);
    }
  }
}

TEST(ShellFiles, SaveAsNamesTheFileAndCancelChangesNothingAndSaveKeepsTheCaseFolder) {
  Program p;
  ASSERT_TRUE(p.startUp());
  p.edit(QStringLiteral(" ett"));
  p.saveAs(p.cases(), QStringLiteral("test.dat"));

  CaseStore& s = p.shell->store();
  EXPECT_EQ(p.window().windowTitle(), QStringLiteral("TEST.IND"));
  EXPECT_EQ(s.baseName, QStringLiteral("TEST"));
  EXPECT_TRUE(s.named);
  EXPECT_FALSE(s.changed);
  const QByteArray first = readBytes(p.cases("TEST.IND"));
  ASSERT_TRUE(first.startsWith("TEST\r\n")) << first.left(20).toStdString();

  // "Avbryt" in Save as and in Open: case, name, flags and file as they were. Cancelling
  // clears the dialog's remembered folder.
  p.edit(QStringLiteral(" tva"));
  QStringList seen;
  {
    ModalScript script{cancel(&seen)};
    p.menu().spars->trigger();
  }
  EXPECT_TRUE(p.shell->dialogState().lastFolder.isEmpty());
  EXPECT_EQ(seen, QStringList{QStringLiteral("FileInfo Spara som..")});
  seen.clear();
  EXPECT_EQ(p.window().windowTitle(), QStringLiteral("TEST.IND"));
  EXPECT_TRUE(s.changed);
  EXPECT_TRUE(s.named);
  EXPECT_EQ(readBytes(p.cases("TEST.IND")), first);

  // "Spara" writes over the case's own file, not into the working folder.
  {
    ModalScript none;
    p.menu().spar->trigger();
  }
  EXPECT_FALSE(s.changed);
  EXPECT_FALSE(QFileInfo::exists(p.work("TEST.IND")));
  const QByteArray second = readBytes(p.cases("TEST.IND"));
  EXPECT_TRUE(second.contains("ett tva")) << second.left(60).toStdString();
}

TEST(ShellFiles, SaveAsOverTheCasesOwnFileAsksNothing) {
  Program p;
  ASSERT_TRUE(p.startUp());
  p.saveAs(p.cases(), QStringLiteral("platta"));
  p.edit(QStringLiteral(" igen"));
  // Only FileInfo opens: no "Filen finns redan" for the file the case came from.
  p.saveAs(p.cases(), QStringLiteral("platta"));
  EXPECT_FALSE(p.shell->store().changed);
  EXPECT_TRUE(readBytes(p.cases("PLATTA.IND")).contains(" igen"));
}

TEST(ShellFiles, AFileTheReaderRefusesLeavesTheCaseOnScreen) {
  Program p;
  ASSERT_TRUE(p.startUp());
  writeBytes(p.cases("KORT.IND"), "KORT\r\nBara tre rader\r\n1\r\n");
  p.shell->dialogState().lastFolder = p.cases() + QStringLiteral("/");
  QStringList messages;
  {
    ModalScript script{[](QWidget* w) {
                         auto* d = qobject_cast<FileInfo*>(w);
                         ASSERT_NE(d, nullptr);
                         d->nameBox()->selectAll();
                         QTest::keyClicks(d->nameBox(), QStringLiteral("KORT.IND"));
                         QTest::mouseClick(d->button(0), Qt::LeftButton);
                       },
                       note(&messages)};
    p.menu().op->trigger();
  }
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("KORT.IND"))) << messages[0].toStdString();
  EXPECT_EQ(p.window().windowTitle(), kDefaultCaption);
  EXPECT_EQ(p.shell->store().rubrik, kDefaultHeading);
  EXPECT_FALSE(p.shell->store().named);
}

// --- the menu entries that open a window ---------------------------------------------------

TEST(ShellMenus, EachEntryOpensItsWindowWithItsCaptionAndPattern) {
  Program p;
  ASSERT_TRUE(p.startUp());
  writeBytes(p.work("A.RES"), "a\r\n");
  writeBytes(p.work("B.IND"), "b\r\n");
  struct Row {
    QAction* action;
    const char* form;
    const char* caption;
    const char* pattern;  // the pattern of its file list
    QStringList listed;   // what the list shows of the working folder
  };
  const Row rows[] = {
      {p.menu().vikt, "Form9", "Fjalvik Solvodeck ver 7.10", "", {}},
      {p.menu().del1, "DelFile", "Ta bort Filer", "*.RES", {"A.RES"}},
      {p.menu().del2, "DelFile", "Ta bort Filer", "*.IND", {"B.IND"}},
      {p.menu().del3, "DelFile", "Ta bort Filer", "*.IND;*.RES", {"A.RES", "B.IND"}},
      {p.menu().sut, "FileInfo", "Välj Resultatfil", "*.RES", {"A.RES"}},
      {p.menu().op, "FileInfo", "Välj Indatafil", "*.IND", {"B.IND"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.form + std::string(" ") + row.pattern);
    p.shell->dialogState().lastFolder = p.work() + QStringLiteral("/");
    QString form;
    QString caption;
    QString pattern;
    QStringList listed;
    {
      ModalScript script{[&](QWidget* w) {
        form = w->objectName();
        caption = w->windowTitle();
        FolderLists* lists = nullptr;
        if (auto* d = qobject_cast<DelFile*>(w)) lists = d->lists();
        if (auto* d = qobject_cast<FileInfo*>(w)) {
          lists = d->lists();
          EXPECT_EQ(d->nameBox()->text(), QString::fromLatin1(row.pattern));
        }
        if (lists != nullptr) {
          pattern = lists->pattern();
          listed = lists->entries();
          listed.sort();
        }
        qobject_cast<QDialog*>(w)->reject();
      }};
      row.action->trigger();
    }
    EXPECT_EQ(form, QString::fromLatin1(row.form));
    EXPECT_EQ(caption, QString::fromUtf8(row.caption));
    EXPECT_EQ(pattern, QString::fromLatin1(row.pattern));
    EXPECT_EQ(listed, row.listed);
  }
}

TEST(ShellMenus, F1ShowsTheHelpDocumentOfTheProgramFolder) {
  Program p;
  ASSERT_TRUE(p.startUp());
  p.window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.window()));
  QTest::keyClick(p.heading(), Qt::Key_F1);
  auto* help = p.window().findChild<HelpWindow*>(QStringLiteral("HelpWindow"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(QFileInfo(help->browser()->source().toLocalFile()).canonicalFilePath(),
            QFileInfo(p.program("solvo_help.html")).canonicalFilePath());
  help->close();
}

// --- runs ----------------------------------------------------------------------------------

TEST(ShellRun, RefusedUntilTheCaseIsSavedAndUnchanged) {
  Program p;
  ASSERT_TRUE(p.startUp());
  struct Row {
    const char* label;
    bool save;
    bool editAfter;
  };
  for (const Row& row :
       {Row{"never saved", false, false}, Row{"edited after saving", true, true}}) {
    SCOPED_TRACE(row.label);
    if (row.save) p.saveAs(p.cases(), QStringLiteral("PLATTA"));
    if (row.editAfter) p.edit();
    QStringList messages;
    {
      ModalScript script{note(&messages)};
      p.menu().start->trigger();
    }
    EXPECT_EQ(messages, QStringList{QStringLiteral("Du måste spara Filen först !")});
    EXPECT_EQ(p.shell->viewer(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(p.work("~indata~.tmp")));
    EXPECT_FALSE(p.menu().dia->isEnabled());
  }
}

// A case saved outside the working folder, run with the real engine.
class ShellRealRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p.startUp());
    p.saveAs(p.cases(), QStringLiteral("platta"));
    ASSERT_EQ(p.window().windowTitle(), QStringLiteral("PLATTA.IND"));
  }
  void run() {
    ModalScript none;
    p.menu().start->trigger();
  }
  QMdiSubWindow* active() const { return p.window().mdiArea()->activeSubWindow(); }

  Program p;
};

TEST_F(ShellRealRun, TheReportShowsInTheViewerAndTheDiagramOpens) {
  run();
  Form6* viewer = p.shell->viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(active()->widget(), viewer);
  EXPECT_TRUE(active()->isMaximized());
  EXPECT_EQ(readBytes(p.work("~indata~.tmp")), readBytes(p.cases("PLATTA.IND")));
  EXPECT_TRUE(QFileInfo::exists(p.work("PLATTA.RES")));

  const QString text = viewer->reportText();
  EXPECT_TRUE(text.startsWith(QStringLiteral("\r\n"))) << text.left(40).toStdString();
  for (const QString& expected :
       {QStringLiteral("INDATAFIL : PLATTA"), QStringLiteral("BROTTGRÄNSTILLSTÅND"),
        QStringLiteral("BRUKSGRÄNSTILLSTÅND"), QStringLiteral("Överkantsarmering :"),
        QStringLiteral("Täckande betongskikt :"), QStringLiteral("Ø")})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
  EXPECT_TRUE(viewer->textBox()->toPlainText().contains(QStringLiteral("BROTTGRÄNSTILLSTÅND")));
  EXPECT_TRUE(p.menu().dia->isEnabled());
  p.window().resize(1100, 820);
  test::render(&p.window(), QStringLiteral("shell_report"));

  // "Moment": the curves of this run over the two spans of the case.
  p.menu().mom->trigger();
  Momkurva* diagram = p.shell->diagram();
  ASSERT_NE(diagram, nullptr);
  EXPECT_EQ(diagram->curves().spans, 2);
  EXPECT_EQ(active()->widget(), diagram);
  test::render(&p.window(), QStringLiteral("shell_diagram"));

  // "Återgå" of both windows: gone, and the input form in front.
  for (QWidget* form : {static_cast<QWidget*>(diagram), static_cast<QWidget*>(viewer)}) {
    const QPointer<QWidget> watch(form);
    if (form == diagram)
      QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("ater")), Qt::LeftButton);
    else
      viewer->findChild<QAction*>(QStringLiteral("åter"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    ASSERT_NE(active(), nullptr);
    EXPECT_EQ(active()->widget(), p.window().form1());
    // In its own size and place, not maximized after the maximized report with an empty band
    // above it.
    EXPECT_FALSE(active()->isMaximized());
    EXPECT_EQ(active()->pos(), QPoint(0, 0));
  }

  test::render(&p.window(), QStringLiteral("shell_input_after_return"));

  // An edit makes the results old: no diagram until the next run.
  p.edit();
  EXPECT_FALSE(p.menu().dia->isEnabled());
  p.menu().mom->trigger();
  EXPECT_EQ(p.shell->diagram(), nullptr);
}

TEST_F(ShellRealRun, AFailedRunSaysTheReportIsMissingAndShowsNothingOld) {
  run();
  ASSERT_NE(p.shell->viewer(), nullptr);
  ASSERT_TRUE(p.menu().dia->isEnabled());
  p.menu().mom->trigger();
  ASSERT_NE(p.shell->diagram(), nullptr);

  // An engine that writes nothing.
  writeBytes(p.program("solvowb"), "#!/bin/sh\nexit 0\n");
  QStringList messages;
  {
    ModalScript script{note(&messages)};
    p.menu().start->trigger();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(messages, QStringList{QStringLiteral("Resultatfil till PLATTA.IND saknas !")});
  EXPECT_FALSE(p.menu().dia->isEnabled());
  EXPECT_EQ(p.shell->viewer(), nullptr);
  EXPECT_EQ(p.shell->diagram(), nullptr);
  EXPECT_FALSE(QFileInfo::exists(p.work("PLATTA.RES")));
  EXPECT_FALSE(QFileInfo::exists(p.work("MOMK.DAT")));

  // "Resultat på skärm" finds no report either.
  messages.clear();
  {
    ModalScript script{note(&messages)};
    p.menu().res1->trigger();
  }
  EXPECT_EQ(messages, QStringList{QStringLiteral("Resultatfil till PLATTA.IND saknas !")});
  EXPECT_EQ(p.shell->viewer(), nullptr);
}

TEST_F(ShellRealRun, ResultatPaSkrivarePrintsTheSixPagesOfTheReport) {
  run();
  const QString pdf = p.work("rapport.pdf");
  p.shell->printer().printer().setOutputFormat(QPrinter::PdfFormat);
  p.shell->printer().printer().setOutputFileName(pdf);
  {
    ModalScript none;
    p.menu().res2->trigger();
  }
  ASSERT_TRUE(QFileInfo::exists(pdf));
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  QFile::remove(QStringLiteral(SOLVO_RENDER_DIR "/shell_report.pdf"));
  QFile::copy(pdf, QStringLiteral(SOLVO_RENDER_DIR "/shell_report.pdf"));
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  ASSERT_TRUE(info.waitForFinished(20000));
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+6\\n"))))
      << out.toStdString();
}

TEST_F(ShellRealRun, ResultatPaSkarmReadsTheReportAfreshAfterReturning) {
  run();
  p.shell->viewer()->findChild<QAction*>(QStringLiteral("åter"))->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(p.shell->viewer(), nullptr);
  QByteArray report = readBytes(p.work("PLATTA.RES"));
  report.append("EFTERSKRIFT\r\n");
  writeBytes(p.work("PLATTA.RES"), report);
  {
    ModalScript none;
    p.menu().res1->trigger();
  }
  ASSERT_NE(p.shell->viewer(), nullptr);
  EXPECT_TRUE(p.shell->viewer()->reportText().endsWith(QStringLiteral("\r\nEFTERSKRIFT")));
}

// --- leaving -------------------------------------------------------------------------------

TEST(ShellLeaving, AvslutaAndTheCloseControlAskWhenChangedAndTidyUpWhenNot) {
  struct Row {
    const char* label;
    bool edit;
    bool closeControl;   // the window's own close control instead of "Avsluta"
    const char* answer;  // the button of Form7; nullptr: no prompt expected
    bool ends;
    bool exchangeRemoved;
  };
  const Row rows[] = {
      {"unchanged, Avsluta", false, false, nullptr, true, true},
      {"unchanged, close control", false, true, nullptr, true, true},
      {"changed, Avsluta, Avbryt", true, false, "Avbryt", false, false},
      {"changed, close control, Avbryt", true, true, "Avbryt", false, false},
      {"changed, Avsluta, Nej", true, false, "Nej", true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    Program p;
    ASSERT_TRUE(p.startUp());
    writeBytes(p.work("~indata~.tmp"), "utbyte\r\n");
    if (row.edit) p.edit();
    QSignalSpy ended(p.shell.get(), &Shell::ended);
    QString caption;
    QString question;
    {
      std::optional<ModalScript> script;
      if (row.answer != nullptr)
        script.emplace(std::initializer_list<ModalScript::Step>{[&](QWidget* w) {
          caption = w->windowTitle();
          question = w->findChild<QLabel*>(QStringLiteral("Label1"))->text();
          clickText(w, QString::fromLatin1(row.answer));
        }});
      else
        script.emplace();
      if (row.closeControl)
        p.window().close();
      else
        p.menu().av->trigger();
    }
    if (row.answer != nullptr) {
      EXPECT_EQ(caption, QStringLiteral("Avsluta"));
      EXPECT_EQ(question, QStringLiteral("Vill Du spara ändringarna i NAMNLÖS.IND ?"));
    }
    EXPECT_EQ(ended.count(), row.ends ? 1 : 0);
    EXPECT_EQ(p.shell->hasEnded(), row.ends);
    EXPECT_EQ(p.window().isVisible(), !row.ends);
    EXPECT_EQ(QFileInfo::exists(p.work("~indata~.tmp")), !row.exchangeRemoved);
  }
}

// --- the disk-error dialogue ---------------------------------------------------------------

TEST(DiskErrorDialogue, TitleMessageAndButtonsOfTheTableAndTheAnswerPressed) {
  struct Row {
    int number;
    const char* text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton press;
    DiskAnswer answer;
  };
  const auto yesNo = QMessageBox::Yes | QMessageBox::No;
  const Row rows[] = {
      {54, "Bad FileMode", QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, DiskAnswer::Ok},
      {57, "Device IO", yesNo, QMessageBox::NoIcon, QMessageBox::No, DiskAnswer::No},
      {61, "Disk Full", yesNo | QMessageBox::Cancel, QMessageBox::Question, QMessageBox::Cancel,
       DiskAnswer::Cancel},
      {61, "Disk Full", yesNo | QMessageBox::Cancel, QMessageBox::Question, QMessageBox::Yes,
       DiskAnswer::Yes},
      {68, "Device Unavailable", yesNo, QMessageBox::NoIcon, QMessageBox::Yes, DiskAnswer::Yes},
      {76, "Path Does Not Exist", QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
       DiskAnswer::Ok},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    const DiskErrorMessage* message = findDiskError(row.number);
    ASSERT_NE(message, nullptr);
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    DiskAnswer answer = DiskAnswer::Abort;
    {
      ModalScript script{[&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        QTest::mouseClick(box->button(row.press), Qt::LeftButton);
      }};
      answer = diskErrorDialogue(nullptr)(*message);
    }
    EXPECT_EQ(title, QStringLiteral("Disk Error"));
    EXPECT_EQ(text, QString::fromLatin1(row.text));
    EXPECT_EQ(buttons, row.buttons);
    EXPECT_EQ(icon, row.icon);
    EXPECT_EQ(answer, row.answer);
  }
}

// --- a case file copied under another name -------------------------------------------------

TEST(ShellCopiedFile, TheCaseTakesTheNameOnDiskAndItsReportNeverOverwritesTheOther) {
  Program p;
  ASSERT_TRUE(p.startUp());
  p.saveAs(p.cases(), QStringLiteral("KONTOR3"));
  ASSERT_TRUE(QFile::copy(p.cases("KONTOR3.IND"), p.cases("KOPIA.IND")));
  QStringList messages;
  {
    ModalScript script{note(&messages)};
    ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QStringLiteral("KOPIA.IND")));
  }
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Filen KOPIA.IND innehåller fallet KONTOR3.")))
      << messages[0].toStdString();
  EXPECT_EQ(p.window().windowTitle(), QStringLiteral("KOPIA.IND"));
  EXPECT_TRUE(p.shell->store().changed);

  // The run asks for the save first; the save writes KOPIA into line 1.
  messages.clear();
  {
    ModalScript script{note(&messages)};
    p.menu().start->trigger();
  }
  EXPECT_EQ(messages, QStringList{QStringLiteral("Du måste spara Filen först !")});
  p.menu().spar->trigger();
  EXPECT_TRUE(readBytes(p.cases("KOPIA.IND")).startsWith("KOPIA\r\n"));
  {
    ModalScript none;
    p.menu().start->trigger();
  }
  EXPECT_TRUE(QFileInfo::exists(p.work("KOPIA.RES")));
  EXPECT_FALSE(QFileInfo::exists(p.work("KONTOR3.RES")));
  EXPECT_TRUE(readBytes(p.cases("KONTOR3.IND")).startsWith("KONTOR3\r\n"));

  // Opened again, the file names its own case: no message.
  {
    ModalScript none;
    ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QStringLiteral("KOPIA.IND")));
  }
  EXPECT_FALSE(p.shell->store().changed);
}

// --- recent files -------------------------------------------------------------------------

TEST(ShellRecentFiles, SavedAndOpenedCasesAreOfferedAboveAvslutaAndAGoneFileIsTakenOut) {
  Program p;
  ASSERT_TRUE(p.startUp());
  EXPECT_TRUE(p.window().recentActions().isEmpty());
  p.saveAs(p.cases(), QStringLiteral("PLATTA"));
  p.saveAs(p.cases(), QStringLiteral("KONTOR3"));
  const QList<QAction*>& recent = p.window().recentActions();
  ASSERT_EQ(recent.size(), 2);
  EXPECT_EQ(recent[0]->text(), QStringLiteral("1 KONTOR3.IND"));
  EXPECT_EQ(recent[1]->text(), QStringLiteral("2 PLATTA.IND"));
  EXPECT_EQ(recent[0]->statusTip(), QDir::toNativeSeparators(QDir(p.cases()).absolutePath()));
  // In Arkiv, just above "Avsluta", with a separator between.
  const QList<QAction*> ark = p.window().findChild<QMenu*>(QStringLiteral("ark"))->actions();
  const qsizetype av = ark.indexOf(p.menu().av);
  ASSERT_GE(av, 3);
  EXPECT_TRUE(ark[av - 1]->isSeparator());
  EXPECT_EQ(ark[av - 2], recent[1]);
  EXPECT_EQ(ark[av - 3], recent[0]);

  // Choosing one with changes asks "Öppna" first.
  p.edit();
  QString caption;
  {
    ModalScript script{[&](QWidget* w) {
      caption = w->windowTitle();
      clickText(w, QStringLiteral("Nej"));
    }};
    recent[1]->trigger();
  }
  EXPECT_EQ(caption, QStringLiteral("Öppna"));
  EXPECT_EQ(p.window().windowTitle(), QStringLiteral("PLATTA.IND"));
  ASSERT_EQ(p.window().recentActions().size(), 2);
  EXPECT_EQ(p.window().recentActions()[0]->text(), QStringLiteral("1 PLATTA.IND"));

  // The list outlives the program: the next start offers it.
  ASSERT_TRUE(p.startUp());
  ASSERT_EQ(p.window().recentActions().size(), 2);
  EXPECT_EQ(p.window().recentActions()[1]->text(), QStringLiteral("2 KONTOR3.IND"));

  // A file that has gone: a message names it and it leaves the list; the case stays.
  ASSERT_TRUE(QFile::remove(p.cases("KONTOR3.IND")));
  QStringList messages;
  {
    ModalScript script{note(&messages)};
    p.window().recentActions()[1]->trigger();
  }
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("KONTOR3.IND"))) << messages[0].toStdString();
  ASSERT_EQ(p.window().recentActions().size(), 1);
  EXPECT_EQ(p.window().recentActions()[0]->text(), QStringLiteral("1 PLATTA.IND"));
  EXPECT_EQ(p.window().windowTitle(), kDefaultCaption);
}

// --- results: PDF, printing to files, preview, results of an older case --------------------

// Answers FileInfo in save mode: checks its caption, the folder and the proposed name, then
// types `typed` (unless empty) and presses "OK".
ModalScript::Step saveIn(const QString& caption, const QString& folder, const QString& proposal,
                         const QString& typed = {}) {
  return [=](QWidget* w) {
    auto* d = qobject_cast<FileInfo*>(w);
    ASSERT_NE(d, nullptr) << w->objectName().toStdString();
    EXPECT_EQ(d->windowTitle(), caption);
    EXPECT_EQ(QDir(d->lists()->folder()).canonicalPath(), QDir(folder).canonicalPath());
    EXPECT_EQ(d->nameBox()->text(), proposal);
    if (!typed.isEmpty()) {
      d->nameBox()->selectAll();
      QTest::keyClicks(d->nameBox(), typed);
    }
    // Pressed after the step returns, so that a question it raises gets the next step.
    QPointer<QPushButton> ok = d->button(0);
    QTimer::singleShot(0, [ok] {
      if (ok) QTest::mouseClick(ok, Qt::LeftButton);
    });
  };
}

// Presses "Nej" in the question before replacing a file.
ModalScript::Step keepOld(QStringList* messages) {
  return [messages](QWidget* w) {
    messages->append(boxText(w));
    clickText(w, QStringLiteral("Nej"));
  };
}

int pdfPageCount(const QString& pdf) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  info.waitForFinished(20000);
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                        .match(QString::fromUtf8(info.readAllStandardOutput()));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The pages of the report: the engine ends each with a line holding the page mark "^".
int reportPageMarks(const Program& p) {
  const QByteArray report = readBytes(p.work("PLATTA.RES"));
  int marks = 0;
  for (const QByteArray& line : report.split('\n')) marks += line.contains('^') ? 1 : 0;
  EXPECT_GE(marks, 5);
  return marks;
}

TEST_F(ShellRealRun, SparaSomPdfWritesReportAndDiagramBesideTheCaseAndAsksBeforeReplacing) {
  EXPECT_FALSE(p.menu().pdf->isEnabled());  // no run yet
  QStringList order;
  for (QAction* a : p.window().findChild<QMenu*>(QStringLiteral("ark"))->actions())
    order << a->objectName();
  EXPECT_EQ(order.indexOf(QStringLiteral("pdf")), order.indexOf(QStringLiteral("spars")) + 1);
  run();
  ASSERT_TRUE(p.menu().pdf->isEnabled());
  EXPECT_EQ(p.menu().pdf->text(), QStringLiteral("Spara som PDF..."));
  const QString pdf = p.cases("PLATTA.pdf");
  {
    ModalScript script{
        saveIn(QStringLiteral("Spara som PDF"), p.cases(), QStringLiteral("PLATTA.pdf"))};
    p.menu().pdf->trigger();
  }
  ASSERT_TRUE(QFileInfo::exists(pdf));
  EXPECT_EQ(pdfPageCount(pdf), reportPageMarks(p) + 1);  // the report pages and the diagram
  const QByteArray written = readBytes(pdf);

  // Again: the file is there, "Nej" keeps it, and "Avbryt" ends the export.
  QStringList messages;
  {
    ModalScript script{
        saveIn(QStringLiteral("Spara som PDF"), p.cases(), QStringLiteral("PLATTA.pdf")),
        keepOld(&messages), cancel(&messages)};
    p.menu().pdf->trigger();
  }
  EXPECT_EQ(messages.first(), QStringLiteral("Filen finns redan. Vill Du ersätta den?"));
  EXPECT_EQ(readBytes(pdf), written);

  // An edit makes the results old: no export until the next run.
  p.edit();
  EXPECT_FALSE(p.menu().pdf->isEnabled());
}

TEST_F(ShellRealRun, AResultOfAnOlderVersionOfTheCaseSaysSoUntilTheNextRun) {
  run();
  p.menu().mom->trigger();
  Form6* viewer = p.shell->viewer();
  Momkurva* diagram = p.shell->diagram();
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(diagram, nullptr);
  const auto line = [](QWidget* w) { return w->findChild<QLabel*>(QStringLiteral("Inaktuell")); };
  const auto shows = [&line](QWidget* w, bool stale) {
    ASSERT_NE(line(w), nullptr);
    EXPECT_EQ(line(w)->isVisibleTo(w), stale) << w->objectName().toStdString();
    EXPECT_EQ(w->windowTitle().contains(QStringLiteral("fallet har ändrats sedan beräkningen")),
              stale)
        << w->windowTitle().toStdString();
  };
  shows(viewer, false);
  shows(diagram, false);
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Utdata"));

  p.edit();
  shows(viewer, true);
  shows(diagram, true);
  EXPECT_EQ(line(viewer)->text(),
            QStringLiteral("Fallet har ändrats sedan detta resultat beräknades. Kör beräkningen "
                           "igen för ett resultat som gäller fallet."));
  // Reading the old report again, or saving the edit, leaves it old.
  {
    ModalScript none;
    p.menu().res1->trigger();
  }
  shows(viewer, true);
  ASSERT_TRUE(p.shell->save());
  shows(viewer, true);
  test::render(&p.window(), QStringLiteral("shell_stale_report"));

  // The next run has been read: current again.
  run();
  shows(p.shell->viewer(), false);
}

TEST_F(ShellRealRun, PrintingToAFileAsksForItsNameEveryTime) {
  // Skrivarinställning: a set-up dialog with OK and Avbryt, here choosing the PDF file.
  {
    ModalScript script{[](QWidget* w) {
      EXPECT_EQ(w->windowTitle(), QStringLiteral("Skrivarinställning"));
      for (const char* print : {"Skriv ut", "Print", "&Print"})
        EXPECT_EQ(test::buttonWithText(w, QString::fromLatin1(print)), nullptr) << print;
      auto* printers = w->findChild<QComboBox*>(QStringLiteral("Skrivare"));
      ASSERT_NE(printers, nullptr);
      printers->setCurrentIndex(printers->findText(QStringLiteral("PDF-fil")));
      clickText(w, QStringLiteral("OK"));
    }};
    p.menu().skrinst->trigger();
  }
  run();
  const QString caption = QStringLiteral("Skriv till fil");
  {
    ModalScript script{saveIn(caption, p.cases(), QStringLiteral("PLATTA.pdf"))};
    p.menu().res2->trigger();
  }
  EXPECT_EQ(pdfPageCount(p.cases("PLATTA.pdf")), reportPageMarks(p));
  p.menu().mom->trigger();
  ASSERT_NE(p.shell->diagram(), nullptr);
  {
    ModalScript script{saveIn(caption, p.cases(), QStringLiteral("PLATTA-moment.pdf"))};
    QTest::mouseClick(p.shell->diagram()->findChild<QPushButton*>(QStringLiteral("Command1")),
                      Qt::LeftButton);
  }
  EXPECT_EQ(pdfPageCount(p.cases("PLATTA-moment.pdf")), 1);
  const QByteArray plotted = readBytes(p.cases("PLATTA-moment.pdf"));

  // The report over the diagram's file: asked, refused, nothing printed.
  QStringList messages;
  {
    ModalScript script{
        saveIn(caption, p.cases(), QStringLiteral("PLATTA.pdf"), QStringLiteral("PLATTA-moment")),
        keepOld(&messages), cancel(&messages)};
    p.menu().res2->trigger();
  }
  EXPECT_EQ(messages.first(), QStringLiteral("Filen finns redan. Vill Du ersätta den?"));
  EXPECT_EQ(readBytes(p.cases("PLATTA-moment.pdf")), plotted);
}

TEST_F(ShellRealRun, PreviewShowsThePagesThePrinterGets) {
  run();
  p.menu().mom->trigger();
  const auto pages = [](int* count, bool* landscape) {
    return [count, landscape](QWidget* w) {
      auto* preview = w->findChild<QPrintPreviewWidget*>();
      ASSERT_NE(preview, nullptr) << w->objectName().toStdString();
      *count = preview->pageCount();
      *landscape = preview->orientation() == QPageLayout::Landscape;
      qobject_cast<QDialog*>(w)->reject();
    };
  };
  const struct {
    const char* where;
    std::function<void()> open;
    int pages;
    bool landscape;
  } rows[] = {
      {"Arkiv", [this] { p.menu().forh->trigger(); }, reportPageMarks(p), false},
      {"Utdata",
       [this] { p.shell->viewer()->findChild<QAction*>(QStringLiteral("forh"))->trigger(); },
       reportPageMarks(p), false},
      {"Momentdiagram",
       [this] {
         QTest::mouseClick(p.shell->diagram()->findChild<QPushButton*>(QStringLiteral("forh")),
                           Qt::LeftButton);
       },
       1, true},
  };
  for (const auto& r : rows) {
    int count = 0;
    bool landscape = false;
    {
      ModalScript script{pages(&count, &landscape)};
      r.open();
    }
    EXPECT_EQ(count, r.pages) << r.where;
    EXPECT_EQ(landscape, r.landscape) << r.where;
  }
  // The printer keeps its own orientation for the report.
  EXPECT_EQ(p.shell->printer().printer().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(ShellRealRun, ReturningFromTheDiagramLeavesTheViewerAtItsOwnSizeAndPlace) {
  run();
  auto* viewerWindow = qobject_cast<QMdiSubWindow*>(p.shell->viewer()->parentWidget());
  ASSERT_NE(viewerWindow, nullptr);
  const QRect own = viewerWindow->geometry();
  p.menu().mom->trigger();
  QTest::mouseClick(p.shell->diagram()->findChild<QPushButton*>(QStringLiteral("ater")),
                    Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_NE(p.shell->viewer(), nullptr);
  EXPECT_EQ(viewerWindow->geometry(), own);
  EXPECT_EQ(active()->widget(), p.window().form1());
  test::render(&p.window(), QStringLiteral("shell_after_diagram_return"));
}
// --- the current case and nothing else ------------------------------------------------

// The saved PLATTA.IND under another case name and heading, as `fileName` in the cases folder.
void writeVariant(Program& p, const char* fileName, const char* name, const char* heading,
                  const std::function<void(CaseStore&)>& edit = {}) {
  CaseStore s;
  setDefaults(s);
  ASSERT_TRUE(readCaseBytes(readBytes(p.cases("PLATTA.IND")), QStringLiteral("PLATTA.IND"), s));
  s.baseName = QString::fromUtf8(name);
  s.rubrik = QString::fromUtf8(heading);
  if (edit) edit(s);
  writeBytes(p.cases(fileName), caseFileBytes(s).value_or(QByteArray()));
}

// Presses "Kör ändå" in the question of the gate and keeps its text.
ModalScript::Step runAnyway(QStringList* asked) {
  return [asked](QWidget* w) {
    asked->append(boxText(w));
    clickText(w, QStringLiteral("Kör ändå"));
  };
}

// The one-span sample under B-Kontor in Sweden (2.5 kN/m2): a span added with the spinner
// shows and stores the category's load in its disabled field, and the run calculates it.
TEST_F(ShellRealRun, ASpanAddedUnderALoadCategoryCarriesTheCategorysLoad) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(SOLVO_DATA "/samples/KONSOL.IND"), p.cases("KONSOL.IND")));
  ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QStringLiteral("KONSOL.IND")));
  Form1* form = p.window().form1();
  auto* spin = form->findChild<QWidget*>(QStringLiteral("Spin1"));
  QTest::mouseClick(spin->findChild<QWidget*>(QStringLiteral("up")), Qt::LeftButton);
  ASSERT_EQ(p.shell->store().nfack, 2);
  auto* load = form->findChild<QLineEdit*>(QStringLiteral("flast(2)"));
  ASSERT_NE(load, nullptr);
  EXPECT_FALSE(load->isEnabled());
  EXPECT_EQ(load->text(), QStringLiteral("2.50"));
  EXPECT_EQ(p.shell->store().flast[2], 2.5f);
  p.menu().spar->trigger();
  run();
  const QString report = solvow::fromWindows1252(readBytes(p.work("KONSOL.RES")));
  EXPECT_TRUE(report.contains(QStringLiteral("Nyttig last    (kN/m2)    2.50    2.50")))
      << report.toStdString();
}

TEST_F(ShellRealRun, TwoCasesSharingAReportNeverShowEachOthersResult) {
  writeVariant(p, "KONTORHUS1.IND", "KONTORHUS1", "Hus ett");
  writeVariant(p, "KONTORHUS2.IND", "KONTORHUS2", "Hus tva");
  QStringList asked;
  for (const char* file : {"KONTORHUS1.IND", "KONTORHUS2.IND"}) {
    ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QString::fromUtf8(file)));
    ModalScript script{runAnyway(&asked)};
    p.menu().start->trigger();
  }
  // Before each run, the warning names both cases and their one report.
  ASSERT_EQ(asked.size(), 2);
  for (const char* named : {"KONTORHUS1.IND", "KONTORHUS2.IND", "KONTORHUS.RES"})
    EXPECT_TRUE(asked[0].contains(QString::fromUtf8(named))) << asked[0].toStdString();
  ASSERT_NE(p.shell->viewer(), nullptr);

  // Opening the first case closes the second one's report...
  ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QStringLiteral("KONTORHUS1.IND")));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(p.shell->viewer(), nullptr);
  // ... and "Resultat på skärm" will not show it as the first one's.
  QStringList messages;
  {
    ModalScript script{note(&messages)};
    p.menu().res1->trigger();
  }
  EXPECT_EQ(messages,
            QStringList{QStringLiteral(
                "Det finns inget giltigt resultat för fallet KONTORHUS1: KONTORHUS.RES "
                "hör till fallet KONTORHU \"Hus tva\". Kör beräkningen för detta fall.")});
  EXPECT_EQ(p.shell->viewer(), nullptr);
}

TEST_F(ShellRealRun, AStaleResultIsNeitherPrintedNorExported) {
  run();
  p.menu().mom->trigger();
  ASSERT_NE(p.shell->diagram(), nullptr);
  // A change of safety class leaves the curves standing but makes them old.
  CaseStore& s = p.shell->store();
  const auto market = static_cast<size_t>(s.market);
  s.safetyClass[market] = static_cast<qint16>(s.safetyClass[market] == 3 ? 1 : 3);
  markEdited(s, DiagramAfterEdit::Kept);
  emit p.window().form1()->caseEdited();
  ASSERT_TRUE(p.menu().pdf->isEnabled());
  const QString refusal = staleExportRefusal();
  EXPECT_TRUE(refusal.startsWith(QStringLiteral("Resultatet gäller inte aktuella indata")));
  const struct {
    const char* label;
    std::function<void()> act;
  } rows[] = {
      {"Spara som PDF", [&] { p.menu().pdf->trigger(); }},
      {"Resultat på skrivare", [&] { p.menu().res2->trigger(); }},
      {"Förhandsgranska", [&] { p.menu().forh->trigger(); }},
      {"the diagram's plot", [&] { p.shell->diagram()->plot(); }},
      {"the diagram's preview", [&] { p.shell->diagram()->preview(); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    QStringList messages;
    {
      ModalScript script{note(&messages)};
      r.act();
    }
    EXPECT_EQ(messages, QStringList{refusal});
  }
  EXPECT_FALSE(QFileInfo::exists(p.cases("PLATTA.pdf")));
}

TEST_F(ShellRealRun, Rei120IsNamedWhenTheCaseOpensAndBeforeTheRun) {
  writeVariant(p, "BRAND.IND", "BRAND", "Brand", [](CaseStore& s) { s.brandb = 4; });
  QStringList messages;
  {
    ModalScript script{note(&messages)};
    ASSERT_TRUE(p.shell->openCaseFile(p.cases(), QStringLiteral("BRAND.IND")));
  }
  EXPECT_EQ(messages,
            QStringList{QStringLiteral("OBS! REI 120 dimensioneras inte; REI 90 redovisas")});
  QStringList asked;
  {
    ModalScript script{[&asked](QWidget* w) {
      asked.append(boxText(w));
      clickText(w, QStringLiteral("Avbryt"));
    }};
    p.menu().start->trigger();
  }
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(
      asked[0].startsWith(QStringLiteral("OBS! REI 120 dimensioneras inte; REI 90 redovisas")));
  EXPECT_EQ(p.shell->viewer(), nullptr);
}

TEST_F(ShellRealRun, TheViewerShowsTheEnginesVerdictLine) {
  // The engine, followed by the verdict it ends its console with.
  writeBytes(p.program("solvowb"),
             "#!/bin/sh\n\"" SOLVOWB_PATH "\"\necho 'Ej uppfyllt: Svikt fack 2'\n");
  run();
  Form6* viewer = p.shell->viewer();
  ASSERT_NE(viewer, nullptr);
  auto* line = viewer->findChild<QLabel*>(QStringLiteral("Utfall"));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), QStringLiteral("Ej uppfyllt: Svikt fack 2"));
  EXPECT_TRUE(line->isVisibleTo(viewer));
  // Said of the calculated case only.
  p.edit();
  EXPECT_FALSE(line->isVisibleTo(viewer));
}

TEST(ShellFiles, SaveAsKeepsNewNamesToTheNoteAndOldNamesAsTheyAre) {
  Program p;
  ASSERT_TRUE(p.startUp());
  writeBytes(p.cases("KONTORHUS1.IND"), "");
  const struct {
    const char* typed;
    const char* warning;  // empty: saved
    const char* file;
  } rows[] = {
      {"kontorhus2", "Filnamnet KONTORHUS2 har 10 tecken.", "KONTORHUS2.IND"},
      {"hus a", "Filnamnet HUS A har mellanslag.", "HUS A.IND"},
      {"hög", "Filnamnet HÖG har å, ä eller ö.", "HÖG.IND"},
      {"kontor", "", "KONTOR.IND"},
      {"kontorhus1", "", "KONTORHUS1.IND"},  // its own file already: the user's name
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.typed);
    p.shell->dialogState().lastFolder = p.cases() + QStringLiteral("/");
    QStringList messages;
    QStringList seen;
    const QString typed = QString::fromUtf8(r.typed);
    ModalScript::Step type = [typed](QWidget* w) {
      auto* d = qobject_cast<FileInfo*>(w);
      ASSERT_NE(d, nullptr);
      d->nameBox()->selectAll();
      d->nameBox()->insert(typed);  // "ö" has no key of its own in the test's key table
      QPointer<QPushButton> ok = d->button(0);
      QTimer::singleShot(0, [ok] {
        if (ok) QTest::mouseClick(ok, Qt::LeftButton);
      });
    };
    if (*r.warning != '\0') {
      ModalScript script{type, note(&messages), cancel(&seen)};
      p.menu().spars->trigger();
    } else {
      // Replacing the existing empty file asks first.
      std::optional<ModalScript> script;
      if (QFileInfo::exists(p.cases(r.file)))
        script.emplace(std::initializer_list<ModalScript::Step>{
            type, [](QWidget* w) { clickText(w, QStringLiteral("Ja")); }});
      else
        script.emplace(std::initializer_list<ModalScript::Step>{type});
      p.menu().spars->trigger();
    }
    if (*r.warning != '\0') {
      ASSERT_EQ(messages.size(), 1);
      EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(r.warning)))
          << messages[0].toStdString();
      EXPECT_FALSE(QFileInfo::exists(p.cases(r.file)));
    } else {
      EXPECT_TRUE(messages.isEmpty());
      EXPECT_GT(readBytes(p.cases(r.file)).size(), 0);
      EXPECT_EQ(p.window().windowTitle(), QString::fromUtf8(r.file));
    }
  }
}

}  // namespace
}  // namespace solvow::forms
