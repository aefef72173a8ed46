// The gate every start of the engine passes, and the rules of the run that need no engine: the
// verdict line, the engine's failure message, the names Save as gives new cases, the mark of
// an edit.
#include "run_gate.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "case_file.h"
#include "engine_run.h"

namespace solvow {
namespace {

// Three spans of 5.0 m, 0.15 m thick, supports 0.1 m, cover 15 mm, top bar ø 10 (dok 3).
CaseStore threeSpans() {
  CaseStore s;
  setDefaults(s);
  s.safetyClass.fill(2);  // solvo.def gives a new case its classes
  s.baseName = QStringLiteral("TRE");
  s.rubrik = QStringLiteral("Tre fack");
  s.nfack = 3;
  for (int i = 1; i <= 3; ++i) {
    s.spv[i] = 5.0f;
    s.ptjl[i] = 0.15f;
    s.flast[i] = 2.5f;
  }
  s.upl = {0.1f, 0.1f, 0.1f, 0.1f};
  s.ktack = 15;
  s.dok = 3;
  return s;
}

class Gate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QLocale::setDefault(QLocale::c());
  }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }
  // `s` saved as TRE.IND in the folder: named and unchanged.
  CaseStore saved(CaseStore s) {
    s.fileName = s.baseName + QStringLiteral(".IND");
    s.folder = dir.path();
    s.named = true;
    s.changed = false;
    QFile file(QDir(dir.path()).filePath(s.fileName));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(caseFileBytes(s).value_or(QByteArray()));
    return s;
  }
  // `s` written as its file would be without the writer's checks: the lines of the writer
  // for the case without the edit, with the lines that differ replaced by hand.
  void writeUnchecked(const CaseStore& s) {
    CaseStore inRange = s;
    for (float& v : inRange.plast) v = std::max(v, 0.0f);
    inRange.konsv = std::max(inRange.konsv, 0.0f);
    inRange.nllast = 0;  // a line load outside the slab is the store's, refused before the file
    QList<QByteArray> lines = caseFileBytes(inRange).value_or(QByteArray()).split('\n');
    ASSERT_GT(lines.size(), 14);
    if (s.plast[2] < 0) lines[11] = "0.500  -1.000 0.500  \r";
    if (s.konsv < 0) lines[13] = "-0.5\r";
    QFile file(QDir(dir.path()).filePath(s.fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n'));
  }
  QTemporaryDir dir;
};

TEST_F(Gate, TheSavedCaseIsRefusedAsKorRefusesIt) {
  struct Row {
    const char* label;
    std::function<void(CaseStore&)> edit;
    bool named, changed;
    const char* refusal;  // a part of it; empty: it may start
  } rows[] = {
      {"as it is", [](CaseStore&) {}, true, false, ""},
      {"never saved", [](CaseStore&) {}, false, false, "Du måste spara Filen först !"},
      {"changed", [](CaseStore&) {}, true, true, "Du måste spara Filen först !"},
      // Values the form never saves, in a file changed outside the program: the reader's
      // refusal names the line.
      {"negative permanent load", [](CaseStore& s) { s.plast[2] = -1.0f; }, true, false,
       "kan inte läsas, rad 12: permanent last"},
      {"negative cantilever", [](CaseStore& s) { s.konsv = -0.5f; }, true, false,
       "kan inte läsas, rad 14: konsol"},
      {"line load in span 4 of 3",
       [](CaseStore& s) {
         s.nllast = 1;
         s.lineLoads[1].llfnr = 4;
       },
       true, false, "Linjelast 1 ligger i fack 4, men bjälklaget har 3 fack"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CaseStore s = saved(threeSpans());
    r.edit(s);
    if (!caseFileBytes(s)) writeUnchecked(s);
    s.named = r.named;
    s.changed = r.changed;
    const GateVerdict verdict = gateSavedCase(s);
    EXPECT_EQ(verdict.mayStart(), *r.refusal == '\0');
    EXPECT_TRUE(verdict.refusal.contains(QString::fromUtf8(r.refusal)))
        << verdict.refusal.toStdString();
    // The search meets the same refusal, with any ranges.
    SearchRanges ranges = defaultRanges(threeSpans());
    EXPECT_EQ(gateSearch(s, ranges).refusal, verdict.refusal);
  }
}

TEST_F(Gate, TheSearchIsRefusedForRangesEndingBelowTheLeastThickness) {
  // Least thickness: deck 0.045 m + cover 0.015 m + bar: ø 10 gives 0.070 m, ø 16 0.076 m.
  struct Row {
    const char* label;
    double from, to;
    QList<int> bars;
    const char* refusal;  // empty: no refusal
    const char* warning;  // empty: no warning
  } rows[] = {
      // 5.0 m / 0.13 m = 38.5, within the slenderness of 40.
      {"within 0.08-0.30", 0.13, 0.20, {3}, "", ""},
      {"from 0.06 with ø 10",
       0.06,
       0.20,
       {3},
       "Fack 1: plattjockleken 0.060 m måste vara större än profilhöjd, täckskikt och stång i "
       "överkant (0.070 m)",
       ""},
      {"from 0.075 with ø 10 only warns",
       0.075,
       0.20,
       {3},
       "",
       "Fack 2: plattjockleken 0.075 m ligger utanför 0.08–0.30 m"},
      {"from 0.075 with ø 10 and ø 16: the largest bar counts",
       0.075,
       0.20,
       {3, 5},
       "Fack 2: plattjockleken 0.075 m måste vara större än profilhöjd, täckskikt och stång i "
       "överkant (0.076 m)",
       ""},
      {"to 0.35 warns",
       0.13,
       0.35,
       {3},
       "",
       "Fack 1: plattjockleken 0.350 m ligger utanför 0.08–0.30 m"},
  };
  const CaseStore s = saved(threeSpans());
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    SearchRanges ranges;
    ranges.groups = {{{1, 2}, r.from, r.to, 0.01}};
    ranges.concrete = {s.btg};
    ranges.bars = r.bars;
    ranges.curtailment = {0};
    const GateVerdict verdict = gateSearch(s, ranges);
    EXPECT_EQ(verdict.mayStart(), *r.refusal == '\0') << verdict.refusal.toStdString();
    EXPECT_TRUE(verdict.refusal.contains(QString::fromUtf8(r.refusal)))
        << verdict.refusal.toStdString();
    if (*r.warning != '\0') {
      EXPECT_TRUE(verdict.warnings.contains(QString::fromUtf8(r.warning)))
          << verdict.warnings.join(u'|').toStdString();
    } else if (verdict.mayStart()) {
      EXPECT_TRUE(verdict.warnings.isEmpty()) << verdict.warnings.join(u'|').toStdString();
    }
    // Span 3 is in no group and keeps its 0.15 m: never named.
    EXPECT_FALSE(verdict.refusal.contains(QStringLiteral("Fack 3")));
  }
}

TEST_F(Gate, NotesForRei120AndForAReportSharedWithAnotherCase) {
  CaseStore fire = threeSpans();
  fire.brandb = kFireOptionRei120;
  const GateVerdict rei = gateSavedCase(saved(fire));
  EXPECT_TRUE(rei.asks());
  EXPECT_EQ(rei.notes,
            QStringList{QStringLiteral("OBS! REI 120 dimensioneras inte; REI 90 redovisas")});
  EXPECT_TRUE(gateQuestion(rei).startsWith(rei120Note()));

  // Case names that agree in their first nine characters name one report; eight do not.
  const struct {
    const char* own;
    const char* other;
    bool shared;
  } rows[] = {
      {"KONTORHUS1", "KONTORHUS2", true},
      {"KONTORHUS", "kontorhus", true},
      {"KONTORHU1", "KONTORHU2", false},
      {"TRE", "TVA", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.own);
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    CaseStore other = threeSpans();
    other.baseName = QString::fromUtf8(r.other);
    other = saved(other);
    QFile::rename(QDir(dir.path()).filePath(other.fileName),
                  QDir(dir.path()).filePath(QStringLiteral("annat.ind")));
    CaseStore own = threeSpans();
    own.baseName = QString::fromUtf8(r.own);
    own = saved(own);
    const QStringList others = casesSharingReport(own, dir.path());
    EXPECT_EQ(others, r.shared ? QStringList{QStringLiteral("annat.ind")} : QStringList());
    const GateVerdict verdict = gateSavedCase(own);
    EXPECT_EQ(verdict.asks(), r.shared);
    if (r.shared) {
      EXPECT_TRUE(verdict.notes.join(u' ').contains(QStringLiteral("annat.ind")));
    }
  }
}

TEST(RunRules, TheVerdictLineIsTheLastLineWhenItIsAVerdict) {
  const struct {
    const char* console;
    const char* verdict;
  } rows[] = {
      {"\n\n   KLART!\nAlla kontroller uppfyllda\n", "Alla kontroller uppfyllda"},
      {"KLART!\r\nEj uppfyllt: Nedböjning fack 2\r\n\r\n", "Ej uppfyllt: Nedböjning fack 2"},
      {"KLART!\n", ""},
      {"", ""},
      {"Alla kontroller uppfyllda\nKLART!\n", ""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(verdictLine(QByteArray(r.console)), QString::fromUtf8(r.verdict)) << r.console;
}

TEST(RunRules, TheEnginesFailureIsToldWithItsOwnLine) {
  const struct {
    int status;
    const char* errors;
    const char* console;
    const char* message;
  } rows[] = {
      {2, "~INDATA~.TMP line 3: 99 spans", "LÄSER\n",
       "Beräkningen kunde inte göras.\n~INDATA~.TMP line 3: 99 spans"},
      {3, "", "LÄSER\nTRE.RES: Permission denied\n",
       "Resultatet kunde inte skrivas, och inget resultat finns kvar.\nTRE.RES: Permission denied"},
      {2, "", "", "Beräkningen kunde inte göras."},
  };
  for (const auto& r : rows)
    EXPECT_EQ(engineFailureMessage(r.status, QString::fromUtf8(r.errors), QByteArray(r.console)),
              QString::fromUtf8(r.message));
}

TEST(RunRules, NewCaseNamesKeepTheNoteUnderTheNameBox) {
  const struct {
    const char* name;
    const char* problem;  // a part of it; empty: the name is fine
  } rows[] = {
      {"KONTOR", ""},
      {"ABCDEFGH", ""},
      {"KONTORHUS1", "har 10 tecken"},
      {"HUS A", "har mellanslag"},
      {"HUS,A", "har komma"},
      {"HÖG", "har å, ä eller ö"},
      {"SÅG", "har å, ä eller ö"},
  };
  for (const auto& r : rows) {
    const QString problem = newCaseNameProblem(QString::fromUtf8(r.name));
    EXPECT_EQ(problem.isEmpty(), *r.problem == '\0') << r.name;
    EXPECT_TRUE(problem.contains(QString::fromUtf8(r.problem))) << problem.toStdString();
  }
}

TEST(RunRules, AnEditMarksTheCaseChangedAndClearsTheDiagramUnlessItKeepsIt) {
  const struct {
    DiagramAfterEdit diagram;
    bool diagramAfter;
  } rows[] = {{DiagramAfterEdit::Cleared, false}, {DiagramAfterEdit::Kept, true}};
  for (const auto& r : rows) {
    CaseStore s;
    s.changed = false;
    s.diagramEnabled = true;
    markEdited(s, r.diagram);
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(s.diagramEnabled, r.diagramAfter);
  }
}

}  // namespace
}  // namespace solvow
