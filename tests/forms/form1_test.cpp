// The input form's rules, replayed with real keys and clicks on the real form.
#include "form1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <functional>
#include <memory>

#include "case_file.h"
#include "main_window_fixture.h"
#include "mdiform1.h"
#include "text_conv.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class Form1Test : public MainWindowFixture {
 protected:
  void prepareCase() override { store.lokt = 0; }  // free load: variable loads can be typed

  // n spans of `length` m, then the form refilled from the store as after reading a case.
  void load(int n, float length = 5.5f) {
    store.nfack = static_cast<qint16>(n);
    for (int i = 1; i <= kStoreSpans; ++i) store.spv[i] = length;
    store.upl.fill(0.1f);
    store.upl[0] = 0.0f;
    store.upl[static_cast<std::size_t>(n)] = 0.0f;
    window->loadCase();
    store.changed = false;
  }

  QLineEdit* edit(const QString& name) { return find<QLineEdit>(name); }
  QString text(const QString& name) { return edit(name)->text(); }

  // Clicks into the field, selects its text and types over it; the field keeps the focus.
  void typeInto(const QString& name, const QString& typed) {
    QLineEdit* e = edit(name);
    QTest::mouseClick(e, Qt::LeftButton);
    ASSERT_TRUE(e->hasFocus()) << name.toStdString();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, typed);
  }
  // Leaves the field being edited by clicking into the heading.
  void leave() { QTest::mouseClick(edit(QStringLiteral("rubrik")), Qt::LeftButton); }
  void enter(const QString& name, const QString& typed) {
    typeInto(name, typed);
    leave();
  }
  void clickSpin(const char* button) {
    auto* spin = find<QWidget>(QStringLiteral("Spin1"));
    QTest::mouseClick(spin->findChild<QWidget*>(QLatin1String(button)), Qt::LeftButton);
  }
  void pick(const char* list, const QString& keys) {
    auto* box = find<QComboBox>(QLatin1String(list));
    box->setFocus();
    // A list searches for the letters typed within the keyboard interval: start afresh.
    QTest::qWait(QApplication::keyboardInputInterval() + 20);
    QTest::keyClicks(box, keys);
  }
  static QString at(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
  }
};

// A value typed for span 2 goes to spans 2..n and leaves span 1; the fields show the decimal
// separator of the locale.
TEST_F(Form1Test, SpanTypedIntoSecondSpanIsCopiedToTheLaterSpans) {
  struct LocaleCase {
    QLocale locale;
    const char* typed;
    const char* first;
    const char* later;
  };
  const LocaleCase cases[] = {{QLocale::c(), "6", "5.50", "6.00"},
                              {QLocale(QLocale::Swedish, QLocale::Sweden), "6", "5,50", "6,00"},
                              {QLocale(QLocale::Swedish, QLocale::Sweden), "6,0", "5,50", "6,00"}};
  for (const LocaleCase& c : cases) {
    QLocale::setDefault(c.locale);
    load(4);
    enter(QStringLiteral("spv(2)"), QLatin1String(c.typed));
    EXPECT_FLOAT_EQ(store.spv[1], 5.5f);
    for (int i = 2; i <= 4; ++i) EXPECT_FLOAT_EQ(store.spv[i], 6.0f) << i;
    EXPECT_FLOAT_EQ(store.spv[5], 5.5f) << "beyond n";
    EXPECT_EQ(text("spv(1)"), QLatin1String(c.first));
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(text(at("spv", i)), QLatin1String(c.later)) << i;
    EXPECT_TRUE(store.changed);
  }
}

TEST_F(Form1Test, LeavingAThicknessUneditedChangesNothing) {
  load(3);
  store.ptjl[1] = 0.17f;
  store.ptjl[2] = 0.17f;
  store.ptjl[3] = 0.25f;
  window->loadCase();
  store.changed = false;
  QTest::mouseClick(edit(QStringLiteral("ptjl(1)")), Qt::LeftButton);
  leave();
  EXPECT_FLOAT_EQ(store.ptjl[3], 0.25f);
  EXPECT_EQ(text("ptjl(3)"), "0.250");
  EXPECT_FALSE(store.changed);

  enter(QStringLiteral("ptjl(1)"), QStringLiteral("0.2"));
  for (int i = 1; i <= 3; ++i) {
    EXPECT_FLOAT_EQ(store.ptjl[i], 0.2f) << i;
    EXPECT_EQ(text(at("ptjl", i)), "0.200") << i;
  }
}

// A span read from a file with more decimals than the field shows is not rewritten, nor
// copied to the later spans, by tabbing through the field.
TEST_F(Form1Test, TabbingThroughASpanKeepsTheFilesValues) {
  load(3);
  store.spv[1] = 5.557f;
  store.spv[2] = 7.0f;
  window->loadCase();
  ASSERT_EQ(text("spv(1)"), "5.56");
  QTest::mouseClick(edit(QStringLiteral("spv(1)")), Qt::LeftButton);
  QTest::keyClick(edit(QStringLiteral("spv(1)")), Qt::Key_Tab);
  leave();
  EXPECT_FLOAT_EQ(store.spv[1], 5.557f);
  EXPECT_FLOAT_EQ(store.spv[2], 7.0f);
}

// What a field stores and shows after a value is typed and the field is left.
TEST_F(Form1Test, LeaveRulesStoreTheShownValue) {
  struct Case {
    const char* field;
    const char* typed;
    std::function<double(const CaseStore&)> stored;
    double expected;
    const char* shown;
  };
  const auto f = [](float v) { return static_cast<double>(v); };
  const Case cases[] = {
      // spans keep the two shown decimals, the cantilever its full value, which it shows
      {"spv(1)", "5.555", [&](const CaseStore& s) { return f(s.spv[1]); }, f(5.56f), "5.56"},
      {"konsv", "1.005", [&](const CaseStore& s) { return f(s.konsv); }, f(1.005f), "1.005"},
      {"konsh", "0,75", [&](const CaseStore& s) { return f(s.konsh); }, f(0.75f), "0.75"},
      {"ptjl(1)", "0.1234", [&](const CaseStore& s) { return f(s.ptjl[1]); }, f(0.123f), "0.123"},
      {"flast(1)", "2,5", [&](const CaseStore& s) { return f(s.flast[1]); }, 2.5, "2.50"},
      // whole numbers: shown in the pattern, the shown number rounded halves-to-even
      {"initiell", "312.4", [](const CaseStore& s) { return s.initiell; }, 312, "312"},
      {"ktack", "14.5", [](const CaseStore& s) { return s.ktack; }, 14, "14.50"},
      {"ktack", "15.5", [](const CaseStore& s) { return s.ktack; }, 16, "15.50"},
      {"duarm", "38,6", [](const CaseStore& s) { return s.duarm; }, 39, "39"},
      // too large for the file's whole numbers: the stored camber stays and is shown
      {"overhojning", "99999", [](const CaseStore& s) { return s.overhojning; }, 20, "20"},
  };
  load(3);
  store.overhojning = 20;
  window->loadCase();
  for (const Case& c : cases) {
    enter(QLatin1String(c.field), QLatin1String(c.typed));
    EXPECT_DOUBLE_EQ(c.stored(store), c.expected) << c.field << " " << c.typed;
    EXPECT_EQ(text(QLatin1String(c.field)), QLatin1String(c.shown)) << c.field << " " << c.typed;
  }
}

// A text that is no number is refused in every number field: the field shows its value again,
// the status line says why, and the case (nothing copied either) stays as it was.
TEST_F(Form1Test, TextThatIsNoNumberIsRefusedAndNothingIsCopied) {
  const struct {
    const char* field;
    const char* typed;
  } rows[] = {
      {"spv(2)", "abc"},     {"spv(1)", "5,5 m"},     {"ptjl(2)", "x"},  {"upl(1)", "0.1.2"},
      {"plast(1)", "abc"},   {"flast(2)", "2 kN"},    {"konsv", "abc"},  {"konsh", "-"},
      {"initiell", "abc"},   {"tillkommande", "  "},  {"ktack", "15mm"}, {"duarm", "?"},
      {"overhojning", "e5"}, {"egenfrekvens", "fem"},
  };
  load(4);
  store.spv[2] = 6.0f;
  store.konsv = 1.25f;
  window->loadCase();
  for (const auto& r : rows) {
    const QString name = QLatin1String(r.field);
    const QByteArray before = caseFileBytes(store).value_or(QByteArray());
    const QString shown = text(name);
    QStringList later;
    for (int i = 1; i <= 4; ++i) later << text(at("spv", i));
    enter(name, QLatin1String(r.typed));
    EXPECT_EQ(text(name), shown) << r.field;
    EXPECT_EQ(caseFileBytes(store).value_or(QByteArray()), before) << r.field;
    QStringList after;
    for (int i = 1; i <= 4; ++i) after << text(at("spv", i));
    EXPECT_EQ(after, later) << r.field;
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("\"%1\" är inget tal. Fältet behåller sitt värde %2.")
                  .arg(QLatin1String(r.typed).trimmed(), shown))
        << r.field;
  }
}

// A span added makes the old end support an inner one: it takes the width of the inner
// support before it, or 0.1 m when it is the first inner support.
TEST_F(Form1Test, ASpanAddedGivesTheNewInnerSupportTheWidthBeforeIt) {
  const struct {
    int n;
    float before;  // width of the inner support before the new one (n >= 2)
    float want;
    const char* shown;
  } rows[] = {{1, 0.0f, 0.1f, "0.100"}, {2, 0.15f, 0.15f, "0.150"}, {4, 0.25f, 0.25f, "0.250"}};
  for (const auto& r : rows) {
    load(r.n);
    if (r.n >= 2) store.upl[static_cast<std::size_t>(r.n - 1)] = r.before;
    window->loadCase();
    clickSpin("up");
    const auto s = static_cast<std::size_t>(r.n);
    EXPECT_FLOAT_EQ(store.upl[s], r.want) << r.n;
    EXPECT_EQ(text(at("upl", r.n)), QLatin1String(r.shown)) << r.n;
    EXPECT_TRUE(edit(at("upl", r.n))->isEnabled()) << r.n;
    EXPECT_FLOAT_EQ(store.upl[s + 1], 0.0f) << r.n;  // the new end support
    EXPECT_EQ(text(at("upl", r.n + 1)), "0.000") << r.n;
  }
}

// End supports with widths of their own (from a case file; the form never edits them): the
// fields show them, and adding or removing a span keeps them at the ends, through a save.
TEST_F(Form1Test, EndSupportWidthsStayThroughSpansAddedAndRemovedAndASave) {
  load(2);
  store.upl = {};
  store.upl[0] = 0.3f;
  store.upl[1] = 0.15f;
  store.upl[2] = 0.2f;
  window->loadCase();
  EXPECT_EQ(text("upl(0)"), "0.300");
  EXPECT_EQ(text("upl(2)"), "0.200");
  EXPECT_FALSE(edit(QStringLiteral("upl(2)"))->isEnabled());

  clickSpin("up");  // support 2 is inner now, with the width before it; 3 is the end
  EXPECT_FLOAT_EQ(store.upl[2], 0.15f);
  EXPECT_FLOAT_EQ(store.upl[3], 0.2f);
  EXPECT_EQ(text("upl(3)"), "0.200");
  clickSpin("down");
  clickSpin("down");  // one span: support 1 is the end
  EXPECT_FLOAT_EQ(store.upl[0], 0.3f);
  EXPECT_FLOAT_EQ(store.upl[1], 0.2f);
  EXPECT_FLOAT_EQ(store.upl[2], 0.0f);
  EXPECT_EQ(text("upl(1)"), "0.200");

  // Typing an inner width leaves the end's width and its field alone.
  clickSpin("up");
  clickSpin("up");
  enter(QStringLiteral("upl(1)"), QStringLiteral("0.12"));
  EXPECT_FLOAT_EQ(store.upl[2], 0.12f);
  EXPECT_FLOAT_EQ(store.upl[3], 0.2f);
  EXPECT_EQ(text("upl(3)"), "0.200");

  const std::optional<QByteArray> bytes = caseFileBytes(store);
  ASSERT_TRUE(bytes.has_value());
  CaseStore again;
  setDefaults(again);
  ASSERT_TRUE(readCaseBytes(*bytes, QStringLiteral("END.IND"), again));
  EXPECT_FLOAT_EQ(again.upl[0], 0.3f);
  EXPECT_FLOAT_EQ(again.upl[3], 0.2f);
}

// The cantilevers and the frequency show the value they hold, with the decimals it needs.
TEST_F(Form1Test, CantileversAndFrequencyShowTheStoredValue) {
  store.konsv = 1.005f;
  store.konsh = 0.8f;
  store.egenfrekvens = 4.25f;
  load(2);
  EXPECT_EQ(text("konsv"), "1.005");
  EXPECT_EQ(text("konsh"), "0.80");
  EXPECT_EQ(text("egenfrekvens"), "4.25");
}

// Alt and the menu's letter opens the menu; the field in focus gets no letter.
TEST_F(Form1Test, AltAOpensArkivAndTypesNothing) {
  load(2);
  QLineEdit* field = edit(QStringLiteral("spv(1)"));
  QTest::mouseClick(field, Qt::LeftButton);
  const QString before = field->text();
  QTest::keyClick(field, Qt::Key_A, Qt::AltModifier);
  auto* ark = find<QMenu>(QStringLiteral("ark"));
  EXPECT_TRUE(ark->isVisible());
  ark->close();
  EXPECT_EQ(field->text(), before);
  EXPECT_FALSE(store.changed);
}

TEST_F(Form1Test, SupportWidthGoesToTheInnerSupportsOnly) {
  load(3);
  EXPECT_FALSE(edit(QStringLiteral("upl(0)"))->isEnabled());
  enter(QStringLiteral("upl(1)"), QStringLiteral("0.15"));
  EXPECT_FLOAT_EQ(store.upl[1], 0.15f);
  EXPECT_FLOAT_EQ(store.upl[2], 0.15f);
  EXPECT_FLOAT_EQ(store.upl[3], 0.0f);
  EXPECT_FLOAT_EQ(store.upl[0], 0.0f);
  EXPECT_EQ(text("upl(1)"), "0.150");
  EXPECT_EQ(text("upl(2)"), "0.150");
  EXPECT_EQ(text("upl(3)"), "0.000");
  EXPECT_FALSE(edit(QStringLiteral("upl(3)"))->isEnabled());
  EXPECT_FALSE(edit(QStringLiteral("upl(0)"))->isEnabled());
}

TEST_F(Form1Test, SpinnerStopsAtOneAndTenSpans) {
  for (const auto& [n, button] : {std::pair{1, "down"}, std::pair{10, "up"}}) {
    load(n);
    clickSpin(button);
    EXPECT_EQ(store.nfack, n);
    EXPECT_EQ(text("nfack"), QString::number(n));
    EXPECT_FALSE(store.changed) << button;
  }
}

TEST_F(Form1Test, SpinnerHidesARowAndBringsItBackWithItsValues) {
  load(3);
  store.spv[3] = 7.25f;
  store.ptjl[3] = 0.21f;
  store.upl[2] = 0.3f;
  window->loadCase();
  store.diagramEnabled = true;
  window->updateMenus();

  clickSpin("down");
  EXPECT_EQ(store.nfack, 2);
  EXPECT_EQ(text("nfack"), "2");
  EXPECT_TRUE(store.changed);
  EXPECT_FALSE(window->actions().dia->isEnabled());
  EXPECT_TRUE(edit(QStringLiteral("spv(3)"))->isHidden());
  EXPECT_TRUE(edit(QStringLiteral("flast(3)"))->isHidden());
  EXPECT_FALSE(edit(QStringLiteral("spv(2)"))->isHidden());
  EXPECT_FLOAT_EQ(store.upl[2], 0.0f);
  EXPECT_FLOAT_EQ(store.upl[3], 0.0f);
  EXPECT_EQ(text("upl(2)"), "0.000");
  EXPECT_FALSE(edit(QStringLiteral("upl(2)"))->isEnabled());

  clickSpin("up");
  EXPECT_EQ(store.nfack, 3);
  EXPECT_FALSE(edit(QStringLiteral("spv(3)"))->isHidden());
  EXPECT_EQ(text("spv(3)"), "7.25");
  EXPECT_EQ(text("ptjl(3)"), "0.210");
  EXPECT_TRUE(edit(QStringLiteral("upl(2)"))->isEnabled());
  EXPECT_FALSE(edit(QStringLiteral("upl(3)"))->isEnabled());
  // The support is inner again, with the width of the inner support before it.
  EXPECT_FLOAT_EQ(store.upl[2], 0.1f);
  EXPECT_EQ(text("upl(2)"), "0.100");
  EXPECT_FLOAT_EQ(store.upl[3], 0.0f);
}

TEST_F(Form1Test, LoadCategoryFillsTheVariableLoads) {
  struct Case {
    const char* keys;
    int category;
    float load;  // Sweden's imposed load of the category
    bool editable;
    const char* psi1;
  };
  const Case cases[] = {
      {"B", 2, 2.5f, false, "0.50"}, {"C3", 5, 3.0f, false, "0.70"}, {"V", 0, 2.0f, true, "0.50"}};
  load(3);
  for (const Case& c : cases) {
    store.changed = false;
    store.diagramEnabled = true;
    pick("lokt", QLatin1String(c.keys));
    EXPECT_EQ(store.lokt, c.category) << c.keys;
    for (int i = 1; i <= 10; ++i) {
      EXPECT_FLOAT_EQ(store.flast[i], c.load) << c.keys << " span " << i;
      EXPECT_EQ(edit(at("flast", i))->isEnabled(), c.editable) << c.keys << " span " << i;
      EXPECT_EQ(text(at("flast", i)), formatNumber(c.load, u"#0.00")) << i;
    }
    EXPECT_FLOAT_EQ(store.flast[11], 2.0f) << "no row on the form";
    EXPECT_EQ(text("psi1"), QLatin1String(c.psi1));
    // Picking an entry is a change of the case.
    EXPECT_TRUE(store.changed);
    EXPECT_FALSE(window->actions().dia->isEnabled());
  }
}

TEST_F(Form1Test, FireMethodOffersThreeResistanceClasses) {
  store.brandk = 0;  // nothing chosen yet
  load(2);
  pick("brandk", QStringLiteral("B"));
  EXPECT_EQ(store.brandk, 1);
  const char* captions[] = {" REI  30 ", " REI  60 ", " REI  90 "};
  for (int k = 1; k <= 3; ++k) {
    auto* b = find<QRadioButton>(at("brandb", k));
    EXPECT_EQ(b->text(), QLatin1String(captions[k - 1]));
    EXPECT_FALSE(b->isHidden()) << k;
  }
  EXPECT_TRUE(find<QRadioButton>(at("brandb", 4))->isHidden());
  EXPECT_TRUE(store.changed);
}

TEST_F(Form1Test, TypingTakesTheDiagramAwayAtOnce) {
  const char* fields[] = {"spv(1)", "ptjl(1)", "upl(1)",   "plast(1)",     "flast(1)",
                          "konsv",  "konsh",   "initiell", "tillkommande", "overhojning",
                          "ktack",  "duarm",   "rubrik",   "egenfrekvens"};
  load(2);
  for (const char* name : fields) {
    store.changed = false;
    store.diagramEnabled = true;
    window->updateMenus();
    typeInto(QLatin1String(name), QStringLiteral("1"));
    EXPECT_TRUE(store.changed) << name;
    EXPECT_FALSE(window->actions().dia->isEnabled()) << name;
    leave();
  }
}

// Options are stored as the index of the button clicked; the safety class at its market.
TEST_F(Form1Test, OptionClicksStoreTheirIndex) {
  struct Case {
    const char* button;
    std::function<int(const CaseStore&)> stored;
    int expected;
    bool takesDiagram;
  };
  const Case cases[] = {
      {"lastkomb(1)", [](const CaseStore& s) { return s.lastkomb; }, 1, true},
      {"lastkomb(2)", [](const CaseStore& s) { return s.lastkomb; }, 2, true},
      {"brukskomb(1)", [](const CaseStore& s) { return s.brukskomb; }, 1, true},
      {"kutak(2)", [](const CaseStore& s) { return s.kutak; }, 2, true},
      {"brandb(3)", [](const CaseStore& s) { return s.brandb; }, 3, true},
      {"shkl(3)", [](const CaseStore& s) { return s.safetyClass[1]; }, 3, false},
      {"byggskede(2)", [](const CaseStore& s) { return s.byggskede; }, 2, true},
      {"byggskede(1)", [](const CaseStore& s) { return s.byggskede; }, 1, true},
  };
  load(2);
  for (const Case& c : cases) {
    store.changed = false;
    store.diagramEnabled = true;
    QTest::mouseClick(find<QRadioButton>(QLatin1String(c.button)), Qt::LeftButton);
    EXPECT_EQ(c.stored(store), c.expected) << c.button;
    EXPECT_TRUE(store.changed) << c.button;
    EXPECT_EQ(store.diagramEnabled, !c.takesDiagram) << c.button;
  }
}

// In the free market the factors are the user's: typed values go into the tables at the
// market (and the category), and its class buttons store the class shown.
TEST_F(Form1Test, FreeMarketFactorsAndClassAreStored) {
  store.market = 6;
  store.lokt = 2;
  load(2);
  ASSERT_TRUE(edit(QStringLiteral("psi0"))->isEnabled());
  enter(QStringLiteral("psi0"), QStringLiteral("0,8"));
  enter(QStringLiteral("lambdaG"), QStringLiteral("1.4"));
  EXPECT_DOUBLE_EQ(store.national.psi0[2][6], 0.8);
  EXPECT_DOUBLE_EQ(store.national.psi0[2][1], 0.7) << "another market keeps its preset";
  EXPECT_DOUBLE_EQ(store.national.lambdaG[6], 1.4);
  EXPECT_EQ(text("psi0"), "0.80");
  QTest::mouseClick(find<QRadioButton>(QStringLiteral("shkleu(2)")), Qt::LeftButton);
  EXPECT_EQ(store.safetyClass[6], 2);
}

TEST_F(Form1Test, ConcreteClassIsStoredInEveryMarket) {
  for (int market : {1, 3, 6}) {
    store.market = static_cast<qint16>(market);
    store.btg = 4;
    load(2);
    auto* btg = find<QComboBox>(QStringLiteral("btg"));
    btg->setFocus();
    QTest::keyClick(btg, Qt::Key_Down);  // C35/45 -> C40/50
    EXPECT_EQ(btg->currentText(), "C40/50");
    EXPECT_EQ(store.btg, 5) << market;
  }
}

// The props of a span go to the spans after it, like the other span rows; every step marks
// the case changed and takes the diagram away; the spinner stops at 0 and 4.
TEST_F(Form1Test, PropsOfASpanAreCopiedToTheLaterSpans) {
  load(4);
  store.diagramEnabled = true;
  window->updateMenus();
  auto* spin2 = find<QSpinBox>(at("stamp", 2));
  spin2->setFocus();
  for (int k = 0; k < 5; ++k) QTest::keyClick(spin2, Qt::Key_Up);  // the fifth: already 4
  EXPECT_EQ(store.stamp[1], 0);
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(store.stamp[i], 4) << i;
    EXPECT_EQ(find<QSpinBox>(at("stamp", i))->value(), 4) << i;
  }
  EXPECT_EQ(store.stamp[5], 0) << "beyond n";
  EXPECT_TRUE(store.changed);
  EXPECT_FALSE(window->actions().dia->isEnabled());

  auto* spin4 = find<QSpinBox>(at("stamp", 4));
  spin4->setFocus();
  QTest::keyClick(spin4, Qt::Key_Down);
  EXPECT_EQ(store.stamp[3], 4);
  EXPECT_EQ(store.stamp[4], 3);
  EXPECT_FALSE(find<QSpinBox>(at("stamp", 4))->isHidden());
  EXPECT_TRUE(find<QSpinBox>(at("stamp", 5))->isHidden());
}

// A case read shows its props, its deck option and its frequency; the spinner rows follow n.
TEST_F(Form1Test, TheCaseShowsItsPropsDeckAndFrequency) {
  store.stamp = {0, 1, 2, 0};
  store.byggskede = 2;
  store.egenfrekvens = 7.5f;
  load(3);
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(find<QSpinBox>(at("stamp", i))->value(), store.stamp[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(find<QRadioButton>(at("byggskede", 2))->isChecked());
  EXPECT_FALSE(find<QRadioButton>(at("byggskede", 1))->isChecked());
  EXPECT_EQ(text("egenfrekvens"), "7.5");
  EXPECT_FALSE(store.changed) << "filling the form is no edit";
  clickSpin("down");
  EXPECT_TRUE(find<QSpinBox>(at("stamp", 3))->isHidden());
  clickSpin("up");
  EXPECT_EQ(find<QSpinBox>(at("stamp", 3))->value(), 0);
}

// The lowest natural frequency takes any number of 0 Hz or more (0: no check); a negative one
// would make a case file no program reads, so the stored value stays and is shown again.
TEST_F(Form1Test, LowestNaturalFrequencyTakesZeroOrMore) {
  struct Case {
    const char* typed;
    float stored;
    const char* shown;
  };
  const Case cases[] = {{"6.5", 6.5f, "6.5"}, {"0", 0.0f, "0.0"},   {"8", 8.0f, "8.0"},
                        {"-3", 8.0f, "8.0"},  {"4,2", 4.2f, "4.2"}, {"4.25", 4.25f, "4.25"}};
  load(2);
  for (const Case& c : cases) {
    enter(QStringLiteral("egenfrekvens"), QLatin1String(c.typed));
    EXPECT_FLOAT_EQ(store.egenfrekvens, c.stored) << c.typed;
    EXPECT_EQ(text("egenfrekvens"), QLatin1String(c.shown)) << c.typed;
  }
}

// A spinner step with its copies, a deck option and the frequency are one step of undo each.
TEST_F(Form1Test, CastingEditsAreOneUndoStepEach) {
  load(3);
  auto* spin = find<QSpinBox>(at("stamp", 1));
  spin->setFocus();
  QTest::keyClick(spin, Qt::Key_Up);
  ASSERT_EQ(store.stamp[3], 1);
  QTest::mouseClick(find<QRadioButton>(at("byggskede", 2)), Qt::LeftButton);
  ASSERT_EQ(store.byggskede, 2);
  enter(QStringLiteral("egenfrekvens"), QStringLiteral("7"));
  ASSERT_EQ(store.egenfrekvens, 7.0f);

  window->actions().angra->trigger();
  EXPECT_EQ(store.egenfrekvens, 5.0f);
  EXPECT_EQ(text("egenfrekvens"), "5.0");
  EXPECT_EQ(store.byggskede, 2);
  window->actions().angra->trigger();
  EXPECT_EQ(store.byggskede, 1);
  EXPECT_TRUE(find<QRadioButton>(at("byggskede", 1))->isChecked());
  EXPECT_EQ(store.stamp[3], 1);
  window->actions().angra->trigger();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(store.stamp[i], 0) << i;
    EXPECT_EQ(find<QSpinBox>(at("stamp", i))->value(), 0) << i;
  }
}

}  // namespace
