// "Sök lösning...": the dialog over the ten-span sample case (thicknesses 0.14 in spans 1, 2,
// 9, 10; 0.16 in 3, 8; 0.18 in 4, 7; 0.20 in 5, 6; C35/45, ø 12, staggered bars), the real
// engine searching in a scratch working folder, real clicks.
#include "search_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>

#include "engine_run.h"
#include "mdiform1.h"
#include "modal_script.h"
#include "shell.h"

namespace solvow::forms {
namespace {

using test::clickText;
using test::ModalScript;

class SearchDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_root.isValid());
    QDir(m_root.path()).mkpath(QStringLiteral("arbete"));
    QDir(m_root.path()).mkpath(QStringLiteral("fall"));
    // The sample with two props in every span during casting (lines 38-40), so that its
    // deck passes page 6 and the search has designs that pass.
    QFile sample(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = sample.readAll().split('\n').mid(0, 37).join('\n') +
                             "\n1\r\n2  2  2  2  2  2  2  2  2  2  \r\n5.0\r\n";
    QFile copy(cases(QStringLiteral("TIOFACK.IND")));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(bytes);
    copy.close();
    shell = std::make_unique<Shell>(work());
    shell->store().programFolder = QFileInfo(QStringLiteral(SOLVOWB_PATH)).absolutePath();
    ASSERT_TRUE(shell->openCaseFile(cases(), QStringLiteral("TIOFACK.IND")));
    shell->window()->show();
    run = std::make_unique<EngineRun>(files, DiskDialogue{});
    run->setWorkingFolder(work());
    run->setProgramFolder(shell->store().programFolder);
    run->setNotify([this](const QString& text) { told.append(text); });
    run->setConfirm([this](const QString& question) {
      asked.append(question);
      return true;
    });
  }

  QString work(const QString& name = {}) const {
    return QDir(m_root.filePath(QStringLiteral("arbete"))).filePath(name);
  }
  QString cases(const QString& name = {}) const {
    return QDir(m_root.filePath(QStringLiteral("fall"))).filePath(name);
  }

  std::unique_ptr<SearchDialog> open() {
    auto d = std::make_unique<SearchDialog>(shell->store(), *run, shell->window());
    d->show();
    return d;
  }

  template <class T>
  static T* child(QWidget* d, const char* name) {
    T* w = d->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  static void click(QWidget* d, const char* name) {
    QWidget* w = child<QWidget>(d, name);
    if (auto* box = qobject_cast<QCheckBox*>(w))
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    else
      QTest::mouseClick(w, Qt::LeftButton);
  }

  // Clicks "Sök" and waits for the engine to end.
  static void search(SearchDialog* d) {
    click(d, "sok");
    EXPECT_TRUE(QTest::qWaitFor([d] { return !d->running(); }, 30000));
    QCoreApplication::processEvents();
  }

  static QString cell(QTableWidget* t, int row, int column) {
    return t->item(row, column) != nullptr ? t->item(row, column)->text() : QString();
  }

  QTemporaryDir m_root;
  FileTable files;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<EngineRun> run;
  QStringList told;   // what the gate told
  QStringList asked;  // what the gate asked
};

TEST_F(SearchDialogTest, ProposesRangesAroundTheCaseValues) {
  auto d = open();
  auto* groups = child<QTableWidget>(d.get(), "grupper");
  ASSERT_EQ(groups->rowCount(), 4);
  // Spans of equal thickness form a group; each range is the case's value +- 0.02 m.
  const char* want[4][4] = {{"1-2,9-10", "0.120", "0.160", "0.010"},
                            {"3,8", "0.140", "0.180", "0.010"},
                            {"4,7", "0.160", "0.200", "0.010"},
                            {"5-6", "0.180", "0.220", "0.010"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(cell(groups, r, c).toStdString(), want[r][c]) << r << "," << c;
  EXPECT_TRUE(child<QCheckBox>(d.get(), "betong4")->isChecked());  // C35/45
  EXPECT_FALSE(child<QCheckBox>(d.get(), "betong1")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(d.get(), "diam4")->isChecked());  // ø 12
  EXPECT_FALSE(child<QCheckBox>(d.get(), "avkortning1")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(d.get(), "avkortning2")->isChecked());
  // 5 thicknesses in each of 4 groups: 625 designs; one more concrete class doubles them.
  auto* count = child<QLabel>(d.get(), "antal");
  EXPECT_EQ(count->text(), QStringLiteral("Antal utformningar: 625"));
  click(d.get(), "betong1");
  EXPECT_EQ(count->text(), QStringLiteral("Antal utformningar: 1250"));
  // No props chosen: the case's own; choosing 1 and 2 props doubles the designs again.
  EXPECT_FALSE(child<QCheckBox>(d.get(), "stamp1")->isChecked());
  click(d.get(), "stamp2");
  EXPECT_EQ(count->text(), QStringLiteral("Antal utformningar: 1250"));
  click(d.get(), "stamp3");
  EXPECT_EQ(count->text(), QStringLiteral("Antal utformningar: 2500"));
}

TEST_F(SearchDialogTest, SearchesShowsSortableResultsAndPutsTheChosenDesignIntoTheCase) {
  auto d = open();
  click(d.get(), "betong1");  // C20/25 as well
  search(d.get());
  auto* progress = child<QProgressBar>(d.get(), "forlopp");
  EXPECT_EQ(progress->maximum(), 1250);
  EXPECT_EQ(progress->value(), 1250);
  EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("SEARCH.SPC"))));
  auto* table = d->resultTable();
  ASSERT_GT(table->rowCount(), 0);
  const SearchResult& result = d->result();
  EXPECT_EQ(result.tried, 1250);
  ASSERT_TRUE(result.own.has_value());
  EXPECT_TRUE(result.own->passes);  // the sample passes: largest 0.90 on its page 2
  EXPECT_EQ(result.groups.size(), 4);

  // Shown in the file's order: the listed passing designs first (the search lists at most
  // its cap of them), cheapest first.
  const int listed = static_cast<int>(std::count_if(result.rows.begin(), result.rows.end(),
                                                    [](const SearchRow& r) { return r.passes; }));
  ASSERT_GT(listed, 0);
  EXPECT_LE(listed, result.passing);
  for (int r = 1; r < listed; ++r)
    EXPECT_LE(cell(table, r - 1, 9).toDouble(), cell(table, r, 9).toDouble()) << "row " << r;
  EXPECT_LE(cell(table, listed - 1, 10).toDouble(), 1.0);
  if (listed < table->rowCount()) {
    EXPECT_GT(cell(table, listed, 10).toDouble(), 1.0);
  }

  // Sorted by cost (column 9) with a click on its heading: rising, the passing cheapest
  // first; a second click turns the order.
  QHeaderView* header = table->horizontalHeader();
  const int x = header->sectionViewportPosition(9) + header->sectionSize(9) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  double last = -1;
  if (header->sortIndicatorOrder() == Qt::DescendingOrder)
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  for (int r = 0; r < table->rowCount(); ++r) {
    const double cost = cell(table, r, 9).toDouble();
    EXPECT_GE(cost, last) << "row " << r;
    last = cost;
  }
  test::render(d.get(), QStringLiteral("search_dialog"));

  // The cheapest passing design, cheaper than the case itself.
  int chosen = -1;
  for (int r = 0; r < table->rowCount() && chosen < 0; ++r)
    if (cell(table, r, 10).toDouble() <= 1.0) chosen = r;
  ASSERT_GE(chosen, 0);
  EXPECT_LT(cell(table, chosen, 9).toDouble(), result.own->cost);
  const QStringList thick = cell(table, chosen, 0).split(QLatin1Char('/'));
  const QString concrete = cell(table, chosen, 1);
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(chosen, 2)).center());
  auto* apply = child<QPushButton>(d.get(), "anvand");
  ASSERT_TRUE(apply->isEnabled());
  QTest::mouseClick(apply, Qt::LeftButton);

  const CaseStore& s = shell->store();
  EXPECT_TRUE(s.changed);
  EXPECT_FALSE(s.diagramEnabled);
  EXPECT_EQ(s.concreteClasses.value(s.btg - 1), concrete);
  ASSERT_EQ(thick.size(), 4);
  const int firstOfGroup[4] = {1, 3, 4, 5};
  const int lastOfGroup[4] = {10, 8, 7, 6};
  for (int g = 0; g < 4; ++g) {
    EXPECT_EQ(s.ptjl[static_cast<size_t>(firstOfGroup[g])], thick[g].toFloat()) << g;
    EXPECT_EQ(s.ptjl[static_cast<size_t>(lastOfGroup[g])], thick[g].toFloat()) << g;
  }
}

TEST_F(SearchDialogTest, RejectedDesignsAreGreyAndCannotBeApplied) {
  auto d = open();
  // Spans 5-6 of 6.0 m: 0.10 m is far too thin (slenderness 5.9 / (36 x 0.10) = 1.64).
  auto* groups = child<QTableWidget>(d.get(), "grupper");
  groups->item(3, 1)->setText(QStringLiteral("0.10"));
  groups->item(3, 2)->setText(QStringLiteral("0.10"));
  search(d.get());
  auto* table = d->resultTable();
  EXPECT_EQ(d->result().passing, 0);
  ASSERT_GT(table->rowCount(), 0);
  EXPECT_EQ(table->item(0, 0)->foreground().color(), QColor(Qt::gray));
  // The nearest to passing still fails beside the thin spans 5-6: by at least their
  // slenderness, or because a support there has no top-bar solution (no utilisation then).
  // The governing check comes first; a value the search could not give follows after "; ".
  const QString check = cell(table, 0, 11).section(u';', 0, 0);
  const bool thinSpan =
      check.endsWith(QStringLiteral("fack 5")) || check.endsWith(QStringLiteral("fack 6"));
  const bool noBars =
      check.contains(QStringLiteral("saknar")) &&
      (check.endsWith(QStringLiteral("stöd 5")) || check.endsWith(QStringLiteral("stöd 6")) ||
       check.endsWith(QStringLiteral("stöd 7")));
  EXPECT_TRUE(thinSpan || noBars) << check.toStdString();
  if (thinSpan) {
    EXPECT_GE(cell(table, 0, 10).toDouble(), 1.638);
  }
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(0, 2)).center());
  EXPECT_FALSE(child<QPushButton>(d.get(), "anvand")->isEnabled());
  EXPECT_FALSE(shell->store().changed);
}

TEST_F(SearchDialogTest, BadRangesAreNamedAndStartNothing) {
  struct {
    int row, column;
    const char* text;
    const char* message;
  } cases[] = {
      {0, 0, "1-11", "Grupp 1: skriv facken"},
      {1, 0, "3,9", "Fack 9 står i mer än en grupp."},
      {2, 1, "0.30", "Grupp 3: tjocklek"},
      {2, 3, "0", "Grupp 3: tjocklek"},
  };
  for (const auto& c : cases) {
    auto d = open();
    child<QTableWidget>(d.get(), "grupper")
        ->item(c.row, c.column)
        ->setText(QString::fromUtf8(c.text));
    QString seen;
    {
      ModalScript script{[&seen](QWidget* w) {
        seen = test::boxText(w);
        clickText(w, QStringLiteral("OK"));
      }};
      click(d.get(), "sok");
    }
    EXPECT_TRUE(seen.startsWith(QString::fromUtf8(c.message))) << seen.toStdString();
    EXPECT_FALSE(d->running());
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("SEARCH.SPC"))));
  }
}

// A stand-in engine: a shell script in a program folder of its own.
class StandIn {
 public:
  explicit StandIn(const QByteArray& script) {
    const QString engine = QDir(m_dir.path()).filePath(QStringLiteral("solvowb"));
    QFile f(engine);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + script);
    f.close();
    QFile::setPermissions(engine, QFile::permissions(engine) | QFileDevice::ExeOwner);
  }
  QString folder() const { return m_dir.path(); }

 private:
  QTemporaryDir m_dir;
};

TEST_F(SearchDialogTest, AnEngineThatFailsIsNamedAndShowsNothing) {
  const struct {
    const char* script;
    const char* message;
  } cases[] = {
      {"echo 'SEARCH.SPC, line 3: expected top bar diameters' >&2\nexit 2\n",
       "Sökningen kunde inte göras.\nSEARCH.SPC, line 3: expected top bar diameters"},
      {"echo 1/1\nexit 0\n", "Resultatfil SOLVO-SEARCH.RES saknas !"},
  };
  for (const auto& c : cases) {
    StandIn engine(c.script);
    run->setProgramFolder(engine.folder());
    auto d = open();
    d->hide();  // not modal, so that the message is the only modal window
    d->setModal(false);
    d->show();
    QString seen;
    {
      ModalScript script{[&seen](QWidget* w) {
        seen = test::boxText(w);
        clickText(w, QStringLiteral("OK"));
      }};
      search(d.get());
    }
    EXPECT_EQ(seen, QString::fromUtf8(c.message));
    EXPECT_EQ(d->resultTable()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(d.get(), "anvand")->isEnabled());
  }
}

TEST_F(SearchDialogTest, AvbrytEndsTheEngine) {
  // A stand-in engine that prints one progress line and never ends.
  StandIn engine("echo 3/10\nexec sleep 30\n");
  run->setProgramFolder(engine.folder());
  auto d = open();
  click(d.get(), "sok");
  auto* progress = child<QProgressBar>(d.get(), "forlopp");
  EXPECT_TRUE(QTest::qWaitFor([progress] { return progress->value() == 3; }, 10000));
  EXPECT_EQ(progress->maximum(), 10);
  EXPECT_TRUE(d->running());
  EXPECT_FALSE(child<QPushButton>(d.get(), "sok")->isEnabled());
  click(d.get(), "Avbryt");
  EXPECT_TRUE(QTest::qWaitFor([&d] { return !d->running(); }, 10000));
  EXPECT_EQ(child<QLabel>(d.get(), "sammanfattning")->text(), QStringLiteral("Sökningen avbröts."));
  EXPECT_EQ(d->resultTable()->rowCount(), 0);
}

// Through the menu: the design chosen is one step that "Ångra" takes back.
TEST_F(SearchDialogTest, AnvandThroughTheMenuIsOneUndoableStep) {
  MDIForm1* window = shell->window();
  EXPECT_FALSE(window->history().canUndo());
  {
    ModalScript script{[](QWidget* w) {
      auto* d = qobject_cast<SearchDialog*>(w);
      ASSERT_NE(d, nullptr);
      click(d, "betong1");
      search(d);
      QTableWidget* table = d->resultTable();
      ASSERT_GT(table->rowCount(), 0);
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                        table->visualItemRect(table->item(0, 2)).center());
      click(d, "anvand");
    }};
    window->actions().sok->trigger();
  }
  const CaseStore& s = shell->store();
  EXPECT_TRUE(s.changed);
  // C20/25 costs 150 less per m3 than C35/45: 150 x 0.15 = 22 per m2, more than the steel of
  // a design differs between the two classes; the cheapest design is of C20/25.
  EXPECT_EQ(s.btg, 1);
  EXPECT_NE(s.ptjl[5], 0.20f);
  EXPECT_TRUE(window->history().canUndo());
  window->undo();
  EXPECT_EQ(s.btg, 4);
  const float sample[] = {0, 0.14f, 0.14f, 0.16f, 0.18f, 0.20f, 0.20f, 0.18f, 0.16f, 0.14f, 0.14f};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(s.ptjl[static_cast<size_t>(i)], sample[i]) << i;
  EXPECT_FALSE(window->history().canUndo());
}

// The menu entry: like "Kör...", only for a saved and unchanged case.
TEST_F(SearchDialogTest, TheMenuEntryWantsASavedCaseAndOpensTheDialog) {
  QAction* sok = shell->window()->actions().sok;
  ASSERT_NE(sok, nullptr);
  EXPECT_EQ(sok->text(), QStringLiteral("Sök lösning..."));
  EXPECT_TRUE(sok->isEnabled());
  QStringList seen;
  {
    ModalScript script{[&seen](QWidget* w) {
      seen.append(w->objectName());
      clickText(w, QStringLiteral("Stäng"));
    }};
    sok->trigger();
  }
  EXPECT_EQ(seen, QStringList{QStringLiteral("SokLosning")});

  shell->store().changed = true;
  QString message;
  {
    ModalScript script{[&message](QWidget* w) {
      message = test::boxText(w);
      clickText(w, QStringLiteral("OK"));
    }};
    sok->trigger();
  }
  EXPECT_EQ(message, QStringLiteral("Du måste spara Filen först !"));
}

// "Sök" passes the gate of "Kör...": a range that ends below what "Kör..." accepts starts
// nothing and is named in the words of "Kör...".
TEST_F(SearchDialogTest, SokIsRefusedForARangeKorWouldRefuse) {
  auto d = open();
  // Group 1 from 0.060 m: deck 0.045 + cover 0.015 + ø 10 is 0.070 m at least.
  child<QTableWidget>(d.get(), "grupper")->item(0, 1)->setText(QStringLiteral("0.060"));
  click(d.get(), "sok");
  EXPECT_FALSE(d->running());
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told[0].startsWith(QStringLiteral("Beräkningen startas inte.")))
      << told[0].toStdString();
  EXPECT_TRUE(
      told[0].contains(QStringLiteral("Fack 1: plattjockleken 0.060 m måste vara större än")))
      << told[0].toStdString();
  EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("SEARCH.SPC"))));
  EXPECT_EQ(d->resultTable()->rowCount(), 0);
}

// The menu entry refuses a case that "Kör..." refuses, before the dialog opens.
// A value the form never saves, in a file changed outside the program after it was saved.
TEST_F(SearchDialogTest, TheMenuEntryRefusesACaseKorRefuses) {
  CaseStore& s = shell->store();
  ASSERT_TRUE(shell->save());
  QFile file(QDir(s.folder).filePath(s.fileName));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = file.readAll().split('\n');
  file.close();
  ASSERT_GT(lines.size(), 12);
  lines[11] = "-1.000 " + lines[11].mid(7);  // the permanent load of span 1
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(lines.join('\n'));
  file.close();
  QStringList seen;
  {
    ModalScript script{[&seen](QWidget* w) {
      seen.append(test::boxText(w));
      clickText(w, QStringLiteral("OK"));
    }};
    shell->window()->actions().sok->trigger();
  }
  ASSERT_EQ(seen.size(), 1);
  EXPECT_TRUE(seen[0].contains(QStringLiteral("kan inte läsas, rad 12: permanent last")))
      << seen[0].toStdString();
  // Kör meets the same refusal.
  EXPECT_EQ(gateSavedCase(s).refusal, gateSearch(s, defaultRanges(s)).refusal);
}

// Designs come from the table for programs; a value it lacks shows as "–" with the reason,
// and such a design cannot be applied.
TEST_F(SearchDialogTest, AMissingValueShowsAsADashWithItsReason) {
  StandIn engine(
      "printf 'S\\326KNING AV L\\326SNING\\r\\nPr\\366vade:       2   Godk\\344nda:       1\\r\\n' "
      "> SOLVO-SEARCH.RES\n"
      "printf 'Lista;Nr;Tjocklek fack 1-10 (m);Betong;Diameter (mm);Avkortning;St\\303\\244mp;S "
      "(mm);"
      "Betongvolym (m3/m2);St\\303\\245l \\303\\266verkant (kg/m2);St\\303\\245l f\\303\\244lt "
      "(kg/m2);"
      "Kostnad (per m2);Max. nyttjandegrad;Kontroll\\r\\n"
      "Godk\\303\\244nd;1;0.150;C30/37;10;AV;;150;0.1335;3.21;1.05;170.25;0.912;St\\303\\266d "
      "2\\r\\n"
      "Underk\\303\\244nd;1;0.120;C30/37;10;AV;;100;0.1035;2.00;1.00;;;Fack 1\\r\\n"
      "Fallet;0;0.120;C30/37;10;AV;;100;0.1035;2.00;1.00;160.00;;Fack 1\\r\\n'"
      " > SOLVO-SEARCH.CSV\n");
  run->setProgramFolder(engine.folder());
  auto d = open();
  search(d.get());
  QTableWidget* table = d->resultTable();
  ASSERT_EQ(table->rowCount(), 2);
  // Columns: cost 9, largest utilisation 10, check 11.
  EXPECT_EQ(cell(table, 0, 9), QStringLiteral("170.25"));
  EXPECT_EQ(cell(table, 0, 10), QStringLiteral("0.912"));
  EXPECT_EQ(cell(table, 1, 9), QStringLiteral("–"));
  EXPECT_EQ(cell(table, 1, 10), QStringLiteral("–"));
  EXPECT_EQ(table->item(1, 9)->toolTip(),
            QStringLiteral("sökningen gav inget tal (ingen lösning eller för stort för fältet)"));
  EXPECT_TRUE(cell(table, 1, 11).contains(QStringLiteral("Kostnad/m2: sökningen gav inget tal")))
      << cell(table, 1, 11).toStdString();
  EXPECT_NE(cell(table, 1, 9), QStringLiteral("0.00"));
  // The case's own design without a utilisation: a dash in the summary as in the table.
  const QString summary = child<QLabel>(d.get(), "sammanfattning")->text();
  EXPECT_TRUE(
      summary.contains(QStringLiteral("kostnad 160.00 per m2, största nyttjandegrad – "
                                      "(Fack 1)")))
      << summary.toStdString();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(1, 2)).center());
  EXPECT_FALSE(child<QPushButton>(d.get(), "anvand")->isEnabled());
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(0, 2)).center());
  EXPECT_TRUE(child<QPushButton>(d.get(), "anvand")->isEnabled());
}

}  // namespace
}  // namespace solvow::forms
