// Undo and redo of the case store: steps, the editing state kept, limits.
#include "case_history.h"

#include <gtest/gtest.h>

namespace solvow {
namespace {

CaseStore namedCase() {
  CaseStore s;
  setDefaults(s);
  s.baseName = QStringLiteral("KONTOR3");
  s.fileName = QStringLiteral("KONTOR3.IND");
  s.folder = QStringLiteral("/cases");
  s.named = true;
  s.nfack = 3;
  return s;
}

TEST(CaseHistory, UndoAndRedoWalkTheStepsInOrder) {
  CaseStore s = namedCase();
  CaseHistory h;
  h.reset(s);
  EXPECT_FALSE(h.canUndo());
  // Three steps: a span length copied to the later spans, a category, a line load.
  s.spv[2] = s.spv[3] = 6.2f;
  ASSERT_TRUE(h.record(s));
  s.lokt = 2;
  ASSERT_TRUE(h.record(s));
  s.nllast = 1;
  s.lineLoads[1] = {2, 1.5f, 10.0f};
  ASSERT_TRUE(h.record(s));

  ASSERT_TRUE(h.undo(s));
  EXPECT_EQ(s.nllast, 0);
  EXPECT_EQ(s.lokt, 2);
  ASSERT_TRUE(h.undo(s));
  EXPECT_EQ(s.lokt, 0);
  EXPECT_EQ(s.spv[3], 6.2f);
  ASSERT_TRUE(h.undo(s));
  EXPECT_EQ(s.spv[2], 5.5f);  // the default span length
  EXPECT_EQ(s.spv[3], 5.5f);  // the copy goes back with the typed value: one step
  EXPECT_FALSE(h.undo(s));
  EXPECT_TRUE(h.canRedo());

  ASSERT_TRUE(h.redo(s));
  EXPECT_EQ(s.spv[3], 6.2f);
  ASSERT_TRUE(h.redo(s));
  ASSERT_TRUE(h.redo(s));
  EXPECT_EQ(s.lineLoads[1].lllast, 10.0f);
  EXPECT_FALSE(h.redo(s));
}

TEST(CaseHistory, NothingIsRecordedWhenTheCaseIsAsItWas) {
  CaseStore s = namedCase();
  CaseHistory h;
  h.reset(s);
  // Editing state only: saving, renaming, running.
  s.changed = true;
  s.diagramEnabled = true;
  s.baseName = QStringLiteral("KOPIA");
  s.fileName = QStringLiteral("KOPIA.IND");
  EXPECT_FALSE(h.record(s));
  // A value typed back to what it was.
  s.konsv = 1.0f;
  s.konsv = 0.0f;
  EXPECT_FALSE(h.record(s));
  EXPECT_FALSE(h.canUndo());
}

TEST(CaseHistory, UndoMarksTheCaseChangedTakesTheDiagramAndKeepsItsName) {
  CaseStore s = namedCase();
  CaseHistory h;
  h.reset(s);
  s.ptjl[1] = 0.2f;
  h.record(s);
  // Saved as another name and run since.
  s.baseName = QStringLiteral("NYTT");
  s.fileName = QStringLiteral("NYTT.IND");
  s.folder = QStringLiteral("/other");
  s.changed = false;
  s.diagramEnabled = true;
  ASSERT_TRUE(h.undo(s));
  EXPECT_EQ(s.ptjl[1], 0.17f);
  EXPECT_TRUE(s.changed);
  EXPECT_FALSE(s.diagramEnabled);
  EXPECT_EQ(s.baseName, QStringLiteral("NYTT"));
  EXPECT_EQ(s.fileName, QStringLiteral("NYTT.IND"));
  EXPECT_EQ(s.folder, QStringLiteral("/other"));
  EXPECT_TRUE(s.named);
}

TEST(CaseHistory, ANewStepForgetsWhatCouldBeRedoneAndResetForgetsAll) {
  CaseStore s = namedCase();
  CaseHistory h;
  h.reset(s);
  s.btg = 5;
  h.record(s);
  h.undo(s);
  ASSERT_TRUE(h.canRedo());
  s.aok = 3;
  ASSERT_TRUE(h.record(s));
  EXPECT_FALSE(h.canRedo());
  EXPECT_TRUE(h.canUndo());
  h.reset(s);
  EXPECT_FALSE(h.canUndo());
  EXPECT_FALSE(h.canRedo());
}

TEST(CaseHistory, KeepsTheLastHundredSteps) {
  CaseStore s = namedCase();
  CaseHistory h;
  h.reset(s);
  for (int k = 1; k <= 150; ++k) {
    s.overhojning = static_cast<qint16>(k);
    ASSERT_TRUE(h.record(s));
  }
  int undone = 0;
  while (h.undo(s)) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(s.overhojning, 50);  // the state after step 50, the oldest one kept
}

TEST(CaseHistory, FactorsTypedInTheFreeMarketAreAStep) {
  CaseStore s = namedCase();
  s.market = 6;
  CaseHistory h;
  h.reset(s);
  s.national.psi0[2][6] = 0.8;
  ASSERT_TRUE(h.record(s));
  ASSERT_TRUE(h.undo(s));
  EXPECT_EQ(s.national.psi0[2][6], presetTables().psi0[2][6]);
}

}  // namespace
}  // namespace solvow
