// Checks before a run: every sample passes; each bad value is named with its span.
#include "run_checks.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <functional>

#include "case_file.h"

namespace solvow {
namespace {

CaseStore readSample(const char* path) {
  CaseStore s;
  setDefaults(s);
  QFile f(QString::fromUtf8(path));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
  EXPECT_TRUE(readCaseBytes(f.readAll(), QString::fromUtf8(path), s)) << path;
  return s;
}

// Three spans of 5.0 m, 0.15 m thick, supports 0.1 m, cover 15 mm, top bar ø 10 (dok 3).
CaseStore threeSpans() {
  CaseStore s;
  setDefaults(s);
  s.nfack = 3;
  s.safetyClass[1] = 2;
  for (int i = 1; i <= 3; ++i) {
    s.spv[i] = 5.0f;
    s.ptjl[i] = 0.15f;
    s.plast[i] = 0.5f;
    s.flast[i] = 2.5f;
  }
  s.upl = {0.0f, 0.1f, 0.1f, 0.0f};
  s.ktack = 15;
  s.dok = 3;
  return s;
}

TEST(RunChecks, TheSamplesAndTheDefaultCasePass) {
  QLocale::setDefault(QLocale::c());
  for (const char* path : {SOLVO_DATA "/solvo.def", SOLVO_DATA "/samples/DANMARK.IND",
                           SOLVO_DATA "/samples/KONSOL.IND", SOLVO_DATA "/samples/SEXFACK.IND",
                           SOLVO_DATA "/samples/TIOFACK.IND"}) {
    const CaseCheck c = checkCase(readSample(path));
    EXPECT_TRUE(c.errors.isEmpty()) << path << ": " << c.errors.join(u'|').toStdString();
    EXPECT_TRUE(c.warnings.isEmpty()) << path << ": " << c.warnings.join(u'|').toStdString();
  }
  EXPECT_TRUE(checkCase(threeSpans()).errors.isEmpty());
}

struct Bad {
  const char* label;
  std::function<void(CaseStore&)> edit;
  QStringList errors;
  QStringList warnings;
};

TEST(RunChecks, EachBadValueIsNamedWithItsSpan) {
  QLocale::setDefault(QLocale::c());
  const Bad rows[] = {
      {"span without length",
       [](CaseStore& s) { s.spv[2] = 0.0f; },
       {"Fack 2: spännvidd måste vara större än 0 och högst 30 m (är 0)"},
       {}},
      // Clear span 0.15 - (0.1 + 0.1) / 2 = 0.05 > 0, but 0.1 - 0.1 = 0.
      {"span no longer than the supports",
       [](CaseStore& s) { s.spv[2] = 0.1f; },
       {"Fack 2: spännvidden måste vara större än upplagsbredderna"},
       {}},
      // Least thickness 0.045 + (15 + 10) / 1000 = 0.070 m; 0.070 itself is refused.
      {"slab as thin as deck, cover and bar",
       [](CaseStore& s) { s.ptjl[3] = 0.07f; },
       {"Fack 3: plattjockleken 0.070 m måste vara större än profilhöjd, täckskikt och stång "
        "i överkant (0.070 m)"},
       {"Fack 3: spännvidd/plattjocklek = 71 är större än 40"}},  // 5.0 / 0.07 = 71.4
      // With a ø 16 bar (dok 5) 0.045 + 0.031 = 0.076 m.
      {"thicker bar",
       [](CaseStore& s) {
         s.dok = 5;
         s.ptjl[1] = 0.075f;
       },
       {"Fack 1: plattjockleken 0.075 m måste vara större än profilhöjd, täckskikt och stång "
        "i överkant (0.076 m)"},
       {"Fack 1: spännvidd/plattjocklek = 67 är större än 40"}},  // 5.0 / 0.075 = 66.7
      {"negative loads",
       [](CaseStore& s) {
         s.plast[1] = -0.5f;
         s.flast[3] = -1.0f;
       },
       {"Fack 1: permanent last måste vara från 0 till 100 kN/m2 (är -0.5)",
        "Fack 3: last måste vara från 0 till 100 kN/m2 (är -1)"},
       {}},
      {"negative cantilever, cover, support",
       [](CaseStore& s) {
         s.konsh = -0.2f;
         s.ktack = -5;
         s.upl[1] = -0.1f;
       },
       {"Stöd 2: upplagsbredd måste vara från 0 till 1 m (är -0.1)",
        "Konsol höger måste vara från 0 till 5 m (är -0.2)",
        "Täckande betongskikt måste vara 0 till 100 mm (är -5)"},
       {}},
      {"limits of zero and below",
       [](CaseStore& s) {
         s.initiell = 0;
         s.tillkommande = -500;
       },
       {"Gräns för initiell nedböjning måste vara 50 till 5000 (är 0)",
        "Gräns för tillkommande nedböjning måste vara 50 till 5000 (är -500)"},
       {}},
      // Clear spans 4.95, 4.90, 4.95 m: the slab runs from 0 to 14.80 m from the first
      // support face, the cantilevers 0.5 m more on each side.
      {"line load beyond the slab",
       [](CaseStore& s) {
         s.konsv = 0.5f;
         s.konsh = 0.5f;
         s.nllast = 4;
         s.lineLoads[1] = {3, 5.50f, 10.0f};   // 9.85 + 5.50 = 15.35 <= 15.30? no: outside
         s.lineLoads[2] = {1, -0.6f, -3.0f};   // -0.6 < -0.5: outside
         s.lineLoads[3] = {3, 5.40f, 10.0f};   // 14.80 + 0.5 = 15.30 >= 9.85 + 5.40 = 15.25
         s.lineLoads[4] = {2, -0.40f, 10.0f};  // in span 1, as the engine carries it over
       },
       {"Linjelast 2: linjelast måste vara från 0 till 1000 kN/m (är -3)",
        "Linjelast 1: avståndet 5.50 m från vänster stöd i fack 3 ligger utanför bjälklaget",
        "Linjelast 2: avståndet -0.60 m från vänster stöd i fack 1 ligger utanför bjälklaget"},
       {}},
      {"line load not in force is not checked",
       [](CaseStore& s) {
         s.nllast = 1;
         s.lineLoads[1] = {1, 1.0f, 10.0f};
         s.lineLoads[2] = {1, 99.0f, -3.0f};
       },
       {},
       {}},
      // 8.5 / 0.15 = 56.7 -> 57 > 40.
      {"long and slender span",
       [](CaseStore& s) { s.spv[1] = 8.5f; },
       {},
       {"Fack 1: spännvidden 8.50 m är längre än 8.00 m",
        "Fack 1: spännvidd/plattjocklek = 57 är större än 40"}},
      // 6.2 / 0.15 = 41.3 > 40.
      {"slender only",
       [](CaseStore& s) { s.spv[3] = 6.2f; },
       {},
       {"Fack 3: spännvidd/plattjocklek = 41 är större än 40"}},
      {"thick slab, heavy loads, long cantilever, deep cover",
       [](CaseStore& s) {
         s.ptjl[2] = 0.32f;
         s.plast[2] = 12.0f;
         s.flast[2] = 25.0f;
         s.konsv = 2.5f;
         s.ktack = 60;
         s.nllast = 1;
         s.lineLoads[1] = {2, 1.0f, 150.0f};
       },
       {},
       {"Fack 2: plattjockleken 0.320 m ligger utanför 0.08–0.30 m",
        "Fack 2: den permanenta lasten 12.00 kN/m2 är större än 10.00 kN/m2",
        "Fack 2: lasten 25.00 kN/m2 är större än 20.00 kN/m2",
        "Konsol vänster 2.50 m är längre än 2.00 m",
        "Täckande BTG-skikt i ÖK 60 mm är större än 50 mm",
        "Linjelast 1: lasten 150.00 kN/m är större än 100.00 kN/m"}},
      {"values within the ranges",
       [](CaseStore& s) {
         s.ptjl[1] = 0.08f;
         s.ptjl[2] = 0.30f;
         s.spv[2] = 8.0f;  // 8.0 / 0.30 = 26.7
         s.konsv = 2.0f;
         s.ktack = 30;  // least thickness 0.045 + 0.040 = 0.085 > 0.08: raise span 1
         s.ptjl[1] = 0.09f;
         s.spv[1] = 3.0f;  // 3.0 / 0.09 = 33.3
       },
       {},
       {}},
  };
  for (const Bad& row : rows) {
    CaseStore s = threeSpans();
    row.edit(s);
    const CaseCheck c = checkCase(s);
    EXPECT_EQ(c.errors, row.errors) << row.label << ": " << c.errors.join(u'|').toStdString();
    EXPECT_EQ(c.warnings, row.warnings) << row.label << ": " << c.warnings.join(u'|').toStdString();
  }
}

TEST(RunChecks, SpansBeyondTheCountAreNotChecked) {
  CaseStore s = threeSpans();
  s.spv[4] = 0.0f;
  s.ptjl[5] = 0.0f;
  s.flast[10] = -1.0f;
  EXPECT_TRUE(checkCase(s).errors.isEmpty());
}

TEST(RunChecks, TheRefusalListsEveryLine) {
  CaseCheck c;
  c.errors = QStringList{QStringLiteral("Fack 1: a"), QStringLiteral("Fack 2: b")};
  const QString m = refusalMessage(c);
  EXPECT_TRUE(m.endsWith(QStringLiteral("Fack 1: a\nFack 2: b"))) << m.toStdString();
}

}  // namespace
}  // namespace solvow
