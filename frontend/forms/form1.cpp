#include "form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <span>

#include "case_format.h"
#include "exposure_classes.h"
#include "form_controls.h"
#include "input_rules.h"
#include "text_conv.h"

namespace solvow::forms {
namespace {

// Per-span grid of the geometry frame, twips from the frame's left edge.
constexpr int kSpanColumn1 = 1920;
constexpr int kSpanPitch = 600;
constexpr int kSupportShift = 240;
constexpr int kGridField = 540;
constexpr int kRowHeight = 285;
constexpr std::array<int, 5> kRowY{300, 615, 930, 1245, 1560};  // spv ptjl upl plast flast

QString ctl(const char* name, int i) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w, int h = kRowHeight) {
  auto* l = new QLabel(text, parent);
  placeTw(l, x, y, w, h);
  return l;
}

// A label in the symbol font: a Greek letter or a letter with a subscript.
QLabel* symbolLabel(QWidget* parent, const QString& html, int x, int y, int w) {
  QLabel* l = label(parent, html, x, y - 45, w, kRowHeight + 90);
  l->setTextFormat(Qt::RichText);
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(13);
  l->setFont(f);
  return l;
}

FieldEdit* field(QWidget* parent, const QString& name, int x, int y, int w,
                 const QString& initial = QString()) {
  auto* f = new FieldEdit(name, parent);
  f->setText(initial);
  placeTw(f, x, y, w, kRowHeight + 15);
  return f;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                 int h) {
  auto* g = new QGroupBox(caption, parent);
  g->setObjectName(QLatin1String(name));
  placeTw(g, x, y, w, h);
  return g;
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                     int w) {
  auto* b = new QRadioButton(caption, parent);
  b->setObjectName(name);
  placeTw(b, x, y, w, kRowHeight);
  return b;
}

QComboBox* list(QWidget* parent, const char* name, int x, int y, int w) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QLatin1String(name));
  placeTw(c, x, y, w, kRowHeight + 45);
  return c;
}

// Selects option k of buttons[1..]; none when k lies outside.
template <std::size_t N>
void selectOption(const std::array<QRadioButton*, N>& buttons, int k) {
  for (std::size_t i = 1; i < N; ++i) {
    QRadioButton* b = buttons[i];
    if (b == nullptr) continue;
    b->setAutoExclusive(false);
    b->setChecked(static_cast<int>(i) == k);
    b->setAutoExclusive(true);
  }
}

void fillList(QComboBox* box, const QStringList& entries, int position) {
  box->clear();
  box->addItems(entries);
  box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
}

qint16 listValue(const QComboBox* box) {
  return static_cast<qint16>(box->currentIndex() < 0 ? 0 : box->currentIndex() + 1);
}

// A support width as its field shows it. The end supports' fields are never edited, but show
// the width the case holds, which the calculation uses.
QString supportText(float width) { return formatNumber(width, u"0.000"); }

// The report prints the first 40 characters of the heading.
constexpr int kReportHeading = 40;
// A field that took a copied value: only its ground is tinted, through its palette, so that it
// keeps the form's font and its text room.
const QColor kCopyTint(0xff, 0xf0, 0xa0);

void tint(QLineEdit* field) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, kCopyTint);
  field->setPalette(palette);
}
const auto kLongHeadingTint = QStringLiteral("QLineEdit { background-color: #ffd0d0; }");

QString longHeadingNote(const QString& heading) {
  return QStringLiteral("Rapporten visar de första %1 tecknen av rubriken: \"%2\"")
      .arg(kReportHeading)
      .arg(heading.left(kReportHeading));
}

}  // namespace

Form1::Form1(CaseStore& store, QWidget* parent) : QWidget(parent), m_store(store) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Indata"));
  useFormFont(this);
  setFixedSize(tw(13560), tw(6960));
  buildHeading();
  buildGeometry();
  buildLoads();
  buildSafetyFrames();
  buildDeflection();
  buildConcreteAndBars();
  buildFire();
  buildCasting();
  buildCrackWidth();
  connectRules();
  setTabOrderAlongRows();
}

void Form1::setTabOrderAlongRows() {
  // The grid row by row, then the frames as they are read: the left column down, the right
  // column down. Hidden and disabled fields are passed over by the focus chain itself.
  QList<QWidget*> order{m_rubrik};
  for (const Row* row : {&m_spv, &m_ptjl, &m_upl, &m_plast, &m_flast}) {
    const int first = row == &m_upl ? 0 : 1;
    for (int i = first; i <= kMaxSpans; ++i) order << (*row)[static_cast<std::size_t>(i)];
  }
  order << m_konsv << m_konsh << m_lokt;
  for (FieldEdit* f : m_factors) order << f;
  for (int k = 1; k <= 3; ++k) order << m_lastkomb[static_cast<std::size_t>(k)];
  order << m_brukskomb[1] << m_brukskomb[2] << m_initiell << m_tillkommande << m_overhojning;
  for (int m = 1; m <= kMarkets; ++m)
    for (int k = 1; k <= 3; ++k)
      order << m_classButtons[static_cast<std::size_t>(m)][static_cast<std::size_t>(k)];
  order << m_btg << m_kavko << m_aok << m_dok << m_ktack << m_auk << m_duk << m_duarm << m_brandk;
  for (int k = 1; k <= 4; ++k) order << m_brandb[static_cast<std::size_t>(k)];
  order << m_kutak[1] << m_kutak[2];
  for (int i = 1; i <= kMaxSpans; ++i) order << m_stamp[static_cast<std::size_t>(i)];
  order << m_byggskede[1] << m_byggskede[2] << m_egenfrekvens;
  // Controls of frames added later follow in the order they were made.
  for (QWidget* w : findChildren<QWidget*>()) {
    const bool control = qobject_cast<QLineEdit*>(w) != nullptr ||
                         qobject_cast<QComboBox*>(w) != nullptr ||
                         qobject_cast<QAbstractButton*>(w) != nullptr;
    if (control && (w->focusPolicy() & Qt::TabFocus) != 0 && !order.contains(w)) order << w;
  }
  for (qsizetype k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);
}

void Form1::buildHeading() {
  QGroupBox* box = frame(this, "Frame1", QString(), 120, 60, 8520, 560);
  label(box, QStringLiteral("Antal Fack:"), 120, 165, 1000);
  m_nfack = field(box, QStringLiteral("nfack"), 1140, 150, 450, QStringLiteral("12"));
  m_nfack->setEnabled(false);
  m_spin = new SpinArrows(QStringLiteral("Spin1"), box);
  placeTw(m_spin, 1620, 90, 255, 420);
  m_rubrik = field(box, QStringLiteral("rubrik"), 2100, 150, 6240);
}

void Form1::buildGeometry() {
  QGroupBox* box = frame(this, "Frame2", QStringLiteral("Geometri och Last"), 120, 700, 8520, 2280);
  label(box, QStringLiteral("Spännvidd (m)"), 90, kRowY[0], 1800);
  label(box, QStringLiteral("Plattjocklek (m)"), 90, kRowY[1], 1800);
  label(box, QStringLiteral("Upplagsbredd (m)"), 90, kRowY[2], 1440);
  label(box, QStringLiteral("Permanent last (kN/m2)"), 90, kRowY[3], 1800);
  label(box, QStringLiteral("Last (kN/m2)"), 90, kRowY[4], 1800);
  for (int i = 1; i <= kMaxSpans; ++i) {
    const int x = kSpanColumn1 + kSpanPitch * (i - 1);
    m_spv[i] = field(box, ctl("spv", i), x, kRowY[0], kGridField);
    m_ptjl[i] = field(box, ctl("ptjl", i), x, kRowY[1], kGridField);
    m_plast[i] = field(box, ctl("plast", i), x, kRowY[3], kGridField);
    m_flast[i] = field(box, ctl("flast", i), x, kRowY[4], kGridField);
  }
  for (int i = 0; i <= kMaxSpans; ++i) {
    const int x = kSpanColumn1 + kSpanPitch * (i - 1) + kSupportShift;
    m_upl[static_cast<std::size_t>(i)] = field(box, ctl("upl", i), x, kRowY[2], kGridField);
  }
  m_upl[0]->setEnabled(false);  // the first support's width is never edited
  label(box, QStringLiteral("Konsol vänster (m)"), 90, 1935, 1800);
  m_konsv = field(box, QStringLiteral("konsv"), kSpanColumn1, 1920, kGridField);
  label(box, QStringLiteral("Konsol höger (m)"), 3120, 1935, 1500);
  m_konsh = field(box, QStringLiteral("konsh"), 4620, 1920, kGridField);
}

void Form1::buildLoads() {
  m_ram5 = frame(this, "ram5", QStringLiteral("Laster enl. Eurokod"), 120, 3060, 8520, 1320);
  m_lokt = list(m_ram5, "lokt", 150, 315, 1800);
  struct Factor {
    const char* name;
    const char* symbol;
    int x;
    int slot;  // place in m_factors: lambdaG, ksi, lambdaQ, psi0, psi1, psi2
  };
  constexpr Factor kFactors[] = {
      {"lambdaG", "γ<sub>G</sub>", 2150, 0},
      {"lambdaQ", "γ<sub>Q</sub>", 3100, 2},
      {"ksi", "ξ", 4050, 1},
      {"psi0", "ψ<sub>0</sub>", 5000, 3},
      {"psi1", "ψ<sub>1</sub>", 5950, 4},
      {"psi2", "ψ<sub>2</sub>", 6900, 5},
  };
  for (const Factor& f : kFactors) {
    symbolLabel(m_ram5, QString::fromUtf8(f.symbol), f.x, 330, 300);
    FieldEdit* e = field(m_ram5, QLatin1String(f.name), f.x + 300, 330, kGridField);
    e->setEnabled(false);
    m_factors[static_cast<std::size_t>(f.slot)] = e;
  }
  m_lastkomb[1] = option(m_ram5, ctl("lastkomb", 1), QStringLiteral("6.10 a"), 150, 850, 1200);
  m_lastkomb[2] = option(m_ram5, ctl("lastkomb", 2), QStringLiteral("6.10 b"), 1500, 850, 1200);
  m_lastkomb[3] =
      option(m_ram5, ctl("lastkomb", 3), QStringLiteral("6.10 a och 6.10 b"), 2850, 850, 2400);
}

void Form1::buildSafetyFrames() {
  for (int m = 1; m <= kMarkets; ++m) {
    const MarketInfo& info = marketInfo(m);
    QGroupBox* box =
        frame(this, info.frame, QString::fromUtf8(info.frameCaption), 8760, 60, 2300, 900);
    const bool rc = m == 2 || m == 4 || m == 6;
    for (int k = 1; k <= 3; ++k) {
      const QString caption = rc ? QStringLiteral("RC%1").arg(k) : QString::number(k);
      m_classButtons[static_cast<std::size_t>(m)][static_cast<std::size_t>(k)] =
          option(box, ctl(info.classButtons, k), caption, 120 + 700 * (k - 1), 360, 700);
    }
    box->setVisible(m == 1);
    m_classFrames[static_cast<std::size_t>(m)] = box;
  }
}

void Form1::buildDeflection() {
  QGroupBox* box = frame(this, "Frame4", QStringLiteral("Deformation"), 120, 4460, 8520, 1420);
  m_brukskomb[1] =
      option(box, ctl("brukskomb", 1), QStringLiteral("Frekventa laster"), 150, 330, 2600);
  m_brukskomb[2] =
      option(box, ctl("brukskomb", 2), QStringLiteral("Karakteristiska laster"), 150, 700, 2600);
  label(box, QStringLiteral("Initiell nedböjning "), 3000, 330, 2200);
  label(box, QStringLiteral("L /"), 5250, 330, 300);
  m_initiell = field(box, QStringLiteral("initiell"), 5600, 315, 600, QStringLiteral("400"));
  label(box, QStringLiteral("Tillkommande nedböjning"), 3000, 700, 2200);
  label(box, QStringLiteral("L /"), 5250, 700, 300);
  m_tillkommande =
      field(box, QStringLiteral("tillkommande"), 5600, 685, 600, QStringLiteral("400"));
  label(box, QStringLiteral("Överhöjning (mm)"), 3000, 1070, 2200);
  m_overhojning = field(box, QStringLiteral("overhojning"), 5600, 1055, 600, QStringLiteral("20"));
}

void Form1::buildConcreteAndBars() {
  QGroupBox* concrete =
      frame(this, "btgklass", QStringLiteral("Betongklass"), 11160, 60, 2280, 900);
  m_btg = list(concrete, "btg", 150, 330, 1900);

  const QString fyk = QStringLiteral("f<sub>yk</sub>");
  QGroupBox* top =
      frame(this, "Frame5", QStringLiteral("Armering i överkant"), 8760, 1040, 4680, 1400);
  m_kavko = new QCheckBox(QStringLiteral("Avkortning av armering"), top);
  m_kavko->setObjectName(QStringLiteral("kavko"));
  placeTw(m_kavko, 150, 300, 3000, kRowHeight);
  symbolLabel(top, fyk, 150, 680, 450);
  m_aok = list(top, "aok", 600, 650, 1000);
  m_dok = list(top, "dok", 1750, 650, 1100);
  label(top, QStringLiteral("Täckande BTG-skikt i ÖK"), 150, 1050, 2500);
  m_ktack = field(top, QStringLiteral("ktack"), 2700, 1035, 800, QStringLiteral("15"));
  label(top, QStringLiteral("mm"), 3560, 1050, 400);

  QGroupBox* bottom = frame(this, "Frame6", QStringLiteral("Armering i underkant - för Brand"),
                            8760, 2520, 4680, 1050);
  symbolLabel(bottom, fyk, 150, 330, 450);
  m_auk = list(bottom, "auk", 600, 300, 1000);
  m_duk = list(bottom, "duk", 1750, 300, 1100);
  label(bottom, QStringLiteral("Avst. tyngdpkt armering i UK"), 150, 700, 2500);
  m_duarm = field(bottom, QStringLiteral("duarm"), 2700, 685, 800, QStringLiteral("42"));
  label(bottom, QStringLiteral("mm"), 3560, 700, 400);
}

void Form1::buildFire() {
  QGroupBox* method =
      frame(this, "Frame7", QStringLiteral("Beräkningsmetod - Brand"), 8760, 3650, 4680, 1150);
  m_brandk = list(method, "brandk", 150, 300, 2600);
  for (int k = 1; k <= 4; ++k)
    m_brandb[static_cast<std::size_t>(k)] =
        option(method, ctl("brandb", k), QString(), 150 + 1100 * (k - 1), 720, 1100);
  QGroupBox* ceiling = frame(this, "Frame8", QStringLiteral("Undertak"), 8760, 4880, 4680, 700);
  m_kutak[1] = option(ceiling, ctl("kutak", 1), QStringLiteral("Saknas"), 150, 320, 1500);
  m_kutak[2] = option(ceiling, ctl("kutak", 2), QStringLiteral("13 Gips"), 1800, 320, 1500);
}

// The construction stage under the deflection frame: the props of each span in the span
// grid's columns and the two ways the deck carries the wet concrete; beside it the lowest
// natural frequency.
void Form1::buildCasting() {
  QGroupBox* box = frame(this, "Frame9", QStringLiteral("Byggskede"), 120, 5960, 8520, 960);
  label(box, QStringLiteral("Stämp per fack"), 90, 300, 1800);
  for (int i = 1; i <= kMaxSpans; ++i) {
    auto* spin = new CaseSpinBox(box);
    spin->setObjectName(ctl("stamp", i));
    spin->setRange(0, solvo::platform::max_props());
    placeTw(spin, kSpanColumn1 + kSpanPitch * (i - 1), 285, kGridField, kRowHeight + 15);
    m_stamp[static_cast<std::size_t>(i)] = spin;
  }
  m_byggskede[1] =
      option(box, ctl("byggskede", 1), QStringLiteral("Plåten kontinuerlig över stöd och stämp"),
             150, 630, 3900);
  m_byggskede[2] = option(box, ctl("byggskede", 2),
                          QStringLiteral("Fritt upplagd mellan stöd och stämp"), 4200, 630, 3900);
  QGroupBox* frequency = frame(this, "Frame10", QString(), 8760, 5660, 4680, 620);
  label(frequency, QStringLiteral("Egenfrekvens min (Hz)"), 150, 215, 2500);
  m_egenfrekvens =
      field(frequency, QStringLiteral("egenfrekvens"), 2700, 200, 800, QStringLiteral("5.0"));
}

void Form1::connectCasting() {
  for (int i = 1; i <= kMaxSpans; ++i)
    connect(m_stamp[static_cast<std::size_t>(i)], &QSpinBox::valueChanged, this,
            [this, i](int value) { changeProps(i, value); });
  for (int k = 1; k <= 2; ++k)
    connect(m_byggskede[static_cast<std::size_t>(k)], &QRadioButton::clicked, this, [this, k] {
      markChanged();
      m_store.byggskede = static_cast<qint16>(k);
    });
  connect(m_egenfrekvens, &FieldEdit::left, this, &Form1::leaveFrequency);
}

// Props of span i changed by the user: like the other span rows, the count goes to the spans
// after it; the span sketch shows the props.
void Form1::changeProps(int i, int value) {
  markChanged();
  const int n = std::clamp<int>(m_store.nfack, i, kMaxSpans);
  for (int j = i; j <= n; ++j) {
    m_store.stamp[static_cast<std::size_t>(j)] = static_cast<qint16>(value);
    const QSignalBlocker quiet(m_stamp[static_cast<std::size_t>(j)]);
    m_stamp[static_cast<std::size_t>(j)]->setValue(value);
  }
  emit spanSketchChanged();
  emit committed();  // a spinner step is one step of undo
}

// The lowest natural frequency: a number of 0 Hz or more (0 = no check) is stored; anything
// else keeps the stored value, which the field then shows again.
void Form1::leaveFrequency() {
  const std::optional<double> v = fieldNumber(m_egenfrekvens->text());
  if (!v) {
    refuse(m_egenfrekvens, shownExactly(m_store.egenfrekvens, u"#0.0"));
    return;
  }
  const auto f = static_cast<float>(*v);
  if (f >= 0.0f && std::isfinite(f)) m_store.egenfrekvens = f;
  m_egenfrekvens->setText(shownExactly(m_store.egenfrekvens, u"#0.0"));
}

// Under the natural frequency: "Sprickbredd max (mm)" and the exposure classes that fill it.
void Form1::buildCrackWidth() {
  QGroupBox* box = frame(this, "Frame11", QString(), 8760, 6300, 4680, 620);
  label(box, QStringLiteral("Sprickbredd max (mm)"), 150, 215, 2000);
  m_sprickbredd = field(box, QStringLiteral("sprickbredd"), 2150, 200, 600, QStringLiteral("0.40"));
  m_exponering = list(box, "exponering", 2850, 185, 1700);
  for (const ExposureClass& e : kExposureClasses) m_exponering->addItem(QString::fromUtf16(e.name));
  m_exponering->setPlaceholderText(QStringLiteral("Annan"));
}

void Form1::connectCrackWidth() {
  connect(m_sprickbredd, &FieldEdit::left, this, &Form1::leaveCrackWidth);
  connect(m_exponering, &QComboBox::activated, this, &Form1::pickExposure);
}

// A typed crack width within the case file's range (0 to 1 mm, 0 = no check) is stored;
// anything else keeps the stored value, which the field then shows again (text that is no
// number with its note). The list shows the class of the value, if any.
void Form1::leaveCrackWidth() {
  const std::optional<double> v = fieldNumber(m_sprickbredd->text());
  if (!v) {
    refuse(m_sprickbredd, shownExactly(m_store.sprickbredd, u"0.00"));
    return;
  }
  const auto f = static_cast<float>(*v);
  using solvo::platform::Field;
  if (std::isfinite(f) && solvo::platform::in_range(case_field(Field::CrackWidthMax), f, 0))
    m_store.sprickbredd = f;
  showCrackWidth();
}

// A pick fills the field with the class's value: an edit like typing it.
void Form1::pickExposure(int position) {
  if (position < 0 || position >= static_cast<int>(kExposureClasses.size())) return;
  markChanged();
  m_store.sprickbredd = kExposureClasses[static_cast<std::size_t>(position)].wmax;
  showCrackWidth();
}

void Form1::showCrackWidth() {
  m_sprickbredd->setText(shownExactly(m_store.sprickbredd, u"0.00"));
  const QSignalBlocker quiet(m_exponering);
  m_exponering->setCurrentIndex(exposurePosition(m_store.sprickbredd));
}

void Form1::connectRules() {
  connectFieldRules();
  connectChoiceRules();
  connect(m_spin, &SpinArrows::down, this, &Form1::spinDown);
  connect(m_spin, &SpinArrows::up, this, &Form1::spinUp);
  // Before the commit reports, so that a commit finds the store already changed.
  connectCasting();
  connectCrackWidth();
  reportCommits(this, [this] { emit committed(); });
}

void Form1::connectFieldRules() {
  // Change rule: every keystroke in a text field. The heading counts too: a run must never
  // use a case that differs from its file.
  for (FieldEdit* e : findChildren<FieldEdit*>()) {
    if (e == m_nfack) continue;
    connect(e, &QLineEdit::textEdited, this, &Form1::markChanged);
  }
  connect(m_rubrik, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_store.rubrik = text;
    markLongHeading(text);
    if (text.size() > kReportHeading) emit statusMessage(longHeadingNote(text));
  });

  for (int i = 1; i <= kMaxSpans; ++i) {
    connect(m_spv[i], &FieldEdit::left, this,
            [this, i] { leaveSpanField(m_spv, m_store.spv, i, "##0.00", true); });
    connect(m_ptjl[i], &FieldEdit::left, this,
            [this, i] { leaveSpanField(m_ptjl, m_store.ptjl, i, "#0.000", false); });
    connect(m_plast[i], &FieldEdit::left, this,
            [this, i] { leaveSpanField(m_plast, m_store.plast, i, "##0.00", true); });
    connect(m_flast[i], &FieldEdit::left, this,
            [this, i] { leaveSpanField(m_flast, m_store.flast, i, "##0.00", true); });
    connect(m_upl[static_cast<std::size_t>(i)], &FieldEdit::left, this,
            [this, i] { leaveSupport(i); });
  }
  connect(m_konsv, &FieldEdit::left, this, [this] { leaveCantilever(m_konsv, m_store.konsv); });
  connect(m_konsh, &FieldEdit::left, this, [this] { leaveCantilever(m_konsh, m_store.konsh); });
  for (int slot = 0; slot < 6; ++slot) {
    FieldEdit* e = m_factors[static_cast<std::size_t>(slot)];
    connect(e, &FieldEdit::left, this, [this, e, slot] { leaveFactor(e, slot); });
  }
  connect(m_initiell, &FieldEdit::left, this,
          [this] { leaveWhole(m_initiell, m_store.initiell, "#0", true); });
  connect(m_tillkommande, &FieldEdit::left, this,
          [this] { leaveWhole(m_tillkommande, m_store.tillkommande, "#0", true); });
  connect(m_overhojning, &FieldEdit::left, this,
          [this] { leaveWhole(m_overhojning, m_store.overhojning, "#0", true); });
  connect(m_duarm, &FieldEdit::left, this,
          [this] { leaveWhole(m_duarm, m_store.duarm, "#0", false); });
  connect(m_ktack, &FieldEdit::left, this,
          [this] { leaveWhole(m_ktack, m_store.ktack, "#0.00", false); });
}

void Form1::connectChoiceRules() {
  // Lists: picking an entry is a change of the case and is stored at once. The concrete
  // class is stored whatever the market, since the run uses the stored class.
  const auto pickList = [this](QComboBox* box, qint16& value) {
    connect(box, &QComboBox::activated, this, [this, box, &value] {
      markChanged();
      value = listValue(box);
    });
  };
  pickList(m_aok, m_store.aok);
  pickList(m_dok, m_store.dok);
  pickList(m_auk, m_store.auk);
  pickList(m_duk, m_store.duk);
  pickList(m_btg, m_store.btg);
  connect(m_lokt, &QComboBox::activated, this, &Form1::pickLoadCategory);
  connect(m_brandk, &QComboBox::activated, this, &Form1::pickFireMethod);

  const auto pickOption = [this](QRadioButton* b, qint16& value, int k) {
    connect(b, &QRadioButton::clicked, this, [this, &value, k] {
      markChanged();
      value = static_cast<qint16>(k);
    });
  };
  for (int k = 1; k <= 4; ++k) pickOption(m_brandb[static_cast<std::size_t>(k)], m_store.brandb, k);
  for (int k = 1; k <= 2; ++k) {
    pickOption(m_kutak[static_cast<std::size_t>(k)], m_store.kutak, k);
    pickOption(m_brukskomb[static_cast<std::size_t>(k)], m_store.brukskomb, k);
  }
  for (int k = 1; k <= 3; ++k)
    pickOption(m_lastkomb[static_cast<std::size_t>(k)], m_store.lastkomb, k);
  connect(m_kavko, &QCheckBox::clicked, this, [this](bool ticked) {
    markChanged();
    m_store.kavko = ticked ? 1 : 0;
  });

  // Safety class: stored at the element of the button's market; the diagram stays. The free
  // market's buttons store their class too, so the class shown is the class saved.
  for (int m = 1; m <= kMarkets; ++m)
    for (int k = 1; k <= 3; ++k)
      connect(m_classButtons[static_cast<std::size_t>(m)][static_cast<std::size_t>(k)],
              &QRadioButton::clicked, this, [this, m, k] {
                m_store.changed = true;
                m_store.safetyClass[static_cast<std::size_t>(m)] = static_cast<qint16>(k);
                emit caseEdited();
              });
}

void Form1::markChanged() {
  clearCopyTint();
  markEdited(m_store);
  emit caseEdited();
}

void Form1::leaveSpanField(Row& row, SpanArray& values, int i, const char* pattern,
                           bool fullSketch) {
  const int n = std::clamp<int>(m_store.nfack, i, kMaxSpans);
  FieldEdit* own = row[static_cast<std::size_t>(i)];
  const SpanArray before = values;
  const SpanLeave r = leaveSpanRow(values, i, n, own->text(), QString::fromLatin1(pattern));
  if (r.refused) {
    refuse(own, r.shown);
    return;
  }
  if (r.stored) {
    for (int j = i + 1; j <= n; ++j) row[static_cast<std::size_t>(j)]->setText(r.shown);
    showCopy(row, i + 1, n, before, values, QStringLiteral("fack"), 0);
    if (fullSketch)
      emit layoutChanged();
    else
      emit spanSketchChanged();
  }
  own->setText(r.shown);
}

void Form1::leaveSupport(int i) {
  const int n = std::clamp<int>(m_store.nfack, 1, kMaxSpans);
  if (i >= n) return;  // the last support's field is disabled
  FieldEdit* own = m_upl[static_cast<std::size_t>(i)];
  const SpanArray before = m_store.upl;
  const SpanLeave r = leaveSpanRow(m_store.upl, i, n - 1, own->text(), u"0.000");
  if (r.refused) {
    refuse(own, r.shown);
    return;
  }
  if (r.stored) {
    for (int j = i + 1; j <= n - 1; ++j) m_upl[static_cast<std::size_t>(j)]->setText(r.shown);
    showCopy(m_upl, i + 1, n - 1, before, m_store.upl, QStringLiteral("stöd"), 1);
    m_upl[static_cast<std::size_t>(n)]->setText(
        supportText(m_store.upl[static_cast<std::size_t>(n)]));
    m_upl[static_cast<std::size_t>(n)]->setEnabled(false);
  }
  own->setText(r.shown);
}

void Form1::showCopy(const Row& row, int first, int last, const SpanArray& before,
                     const SpanArray& now, const QString& unit, int numberShift) {
  QStringList numbers;
  for (int j = first; j <= last; ++j) {
    const auto k = static_cast<std::size_t>(j);
    if (before[k] == now[k]) continue;
    tint(row[k]);
    m_tinted.append(row[k]);
    numbers << QString::number(j + numberShift);
  }
  if (!numbers.isEmpty())
    emit statusMessage(QStringLiteral("Värdet kopierades även till %1 %2.")
                           .arg(unit, numbers.join(QStringLiteral(", "))));
}

void Form1::clearCopyTint() {
  if (m_tinted.isEmpty()) return;
  for (FieldEdit* f : std::as_const(m_tinted)) f->setPalette(QPalette());
  m_tinted.clear();
  emit statusMessage(QString());  // the note of the copy goes with its tint
}

void Form1::refuse(FieldEdit* field, const QString& kept) {
  emit statusMessage(notANumberNote(field->text(), kept));
  field->setText(kept);
}

void Form1::markLongHeading(const QString& text) {
  const bool tooLong = text.size() > kReportHeading;
  m_rubrik->setStyleSheet(tooLong ? kLongHeadingTint : QString());
  m_rubrik->setToolTip(tooLong ? longHeadingNote(text) : QString());
}

void Form1::leaveCantilever(FieldEdit* field, float& value) {
  const std::optional<double> v = fieldNumber(field->text());
  if (!v) {
    refuse(field, shownExactly(value, u"#0.00"));
    return;
  }
  if (static_cast<float>(*v) != value) {
    value = static_cast<float>(*v);
    emit layoutChanged();
  }
  field->setText(shownExactly(value, u"#0.00"));
}

void Form1::leaveFactor(FieldEdit* field, int which) {
  if (!fieldNumber(field->text())) {
    const bool known = isMarket(m_store.market) && isLoadCategory(m_store.lokt);
    refuse(field,
           known ? formatNumber(currentFactors(m_store)[static_cast<std::size_t>(which)], u"#0.00")
                 : QString());
    return;
  }
  m_store.changed = true;
  field->setText(formatNumber(textToNumber(field->text()), u"#0.00"));
  const double v = textToNumber(field->text());
  const auto m = static_cast<std::size_t>(m_store.market);
  const auto c = static_cast<std::size_t>(m_store.lokt);
  if (!isMarket(m_store.market) || !isLoadCategory(m_store.lokt)) return;
  NationalTables& t = m_store.national;
  switch (which) {
    case 0:
      t.lambdaG[m] = v;
      break;
    case 1:
      t.ksi[m] = v;
      break;
    case 2:
      t.lambdaQ[m] = v;
      break;
    case 3:
      t.psi0[c][m] = v;
      break;
    case 4:
      t.psi1[c][m] = v;
      break;
    default:
      t.psi2[c][m] = v;
      break;
  }
  emit caseEdited();
}

void Form1::leaveWhole(FieldEdit* field, qint16& value, const char* pattern, bool setsChanged) {
  const WholeLeave w = leaveWholeNumber(field->text(), QString::fromLatin1(pattern));
  if (w.refused) {
    refuse(field, formatNumber(value, u"#0"));  // the whole number it holds
    return;
  }
  if (!w.value) {
    // Too large for the case file's whole numbers: the stored value stays and is shown.
    field->setText(formatNumber(value, QString::fromLatin1(pattern)));
    return;
  }
  field->setText(w.shown);
  value = *w.value;
  if (setsChanged) {
    m_store.changed = true;
    emit caseEdited();
  }
}

void Form1::pickLoadCategory(int position) {
  if (!isLoadCategory(position)) return;
  markChanged();
  m_store.lokt = static_cast<qint16>(position);
  fillImposedLoads(m_store);
  for (int i = 1; i <= kMaxSpans; ++i) m_flast[i]->setEnabled(false);
  showVariableLoads();
  showFactors();
  if (position == 0)
    for (int i = 1; i <= kMaxSpans; ++i) m_flast[i]->setEnabled(true);
  // The sketch shows the loads now in force.
  emit layoutChanged();
}

void Form1::pickFireMethod(int position) {
  markChanged();
  m_store.brandk = static_cast<qint16>(position + 1);
  showFireOptions();
}

void Form1::showFireOptions() {
  const std::array<QString, 5> captions{QString(), QStringLiteral(" REI  30 "),
                                        QStringLiteral(" REI  60 "), QStringLiteral(" REI  90 "),
                                        QStringLiteral(" REI 120 ")};
  for (std::size_t k = 1; k <= 4; ++k) m_brandb[k]->setText(captions[k]);
  m_brandb[4]->setVisible(false);
}

void Form1::showVariableLoads() {
  for (int i = 1; i <= kMaxSpans; ++i)
    m_flast[i]->setText(formatNumber(m_store.flast[static_cast<std::size_t>(i)], u"#0.00"));
}

void Form1::showFactors() {
  if (!isMarket(m_store.market) || !isLoadCategory(m_store.lokt)) return;
  const std::array<double, 6> f = currentFactors(m_store);
  for (std::size_t k = 0; k < 6; ++k) m_factors[k]->setText(formatNumber(f[k], u"#0.00"));
}

void Form1::applyMarket() {
  const int market = m_store.market;
  if (!isMarket(market)) return;
  for (int m = 1; m <= kMarkets; ++m)
    m_classFrames[static_cast<std::size_t>(m)]->setVisible(m == market);
  selectOption(m_classButtons[static_cast<std::size_t>(market)],
               m_store.safetyClass[static_cast<std::size_t>(market)]);
  for (FieldEdit* e : m_factors) e->setEnabled(factorsEditable(market));
}

void Form1::fillRow(int i) {
  const auto s = static_cast<std::size_t>(i);
  m_spv[s]->setText(formatNumber(m_store.spv[s], u"#0.00"));
  m_ptjl[s]->setText(formatNumber(m_store.ptjl[s], u"0.000"));
  m_upl[s]->setText(formatNumber(m_store.upl[s], u"0.000"));
  m_flast[s]->setText(formatNumber(m_store.flast[s], u"#0.00"));
  m_plast[s]->setText(formatNumber(m_store.plast[s], u"#0.00"));
  const QSignalBlocker quiet(m_stamp[s]);
  m_stamp[s]->setValue(m_store.stamp[s]);
}

void Form1::setRowVisible(int i, bool visible) {
  const auto s = static_cast<std::size_t>(i);
  for (QWidget* w : {static_cast<QWidget*>(m_spv[s]), static_cast<QWidget*>(m_ptjl[s]),
                     static_cast<QWidget*>(m_upl[s]), static_cast<QWidget*>(m_plast[s]),
                     static_cast<QWidget*>(m_flast[s]), static_cast<QWidget*>(m_stamp[s])})
    w->setVisible(visible);
}

void Form1::refreshSpanRows() {
  const int n = std::clamp<int>(m_store.nfack, 1, kMaxSpans);
  m_upl[0]->setText(supportText(m_store.upl[0]));
  for (int i = 1; i <= n; ++i) {
    setRowVisible(i, true);
    fillRow(i);
  }
  m_upl[static_cast<std::size_t>(n)]->setText(
      supportText(m_store.upl[static_cast<std::size_t>(n)]));
  for (int i = 1; i < n; ++i) m_upl[static_cast<std::size_t>(i)]->setEnabled(true);
  m_upl[static_cast<std::size_t>(n)]->setEnabled(false);
  for (int i = n + 1; i <= kMaxSpans; ++i) setRowVisible(i, false);
}

void Form1::spinDown() {
  const double shown = textToNumber(m_nfack->text());
  if (shown <= 1.0) return;
  clearCopyTint();
  m_store.changed = true;
  focusHeading();
  m_store.diagramEnabled = false;
  const int m = std::clamp(static_cast<int>(roundHalfEven(shown - 1.0)), 1, kMaxSpans);
  m_nfack->setText(formatNumber(m, u"#0"));
  const int n = std::clamp<int>(m_store.nfack, m, kMaxSpans);
  resizeSupportWidths(m_store.upl, n, m);
  for (int i = m + 1; i <= n; ++i) setRowVisible(i, false);
  m_upl[static_cast<std::size_t>(m)]->setText(
      supportText(m_store.upl[static_cast<std::size_t>(m)]));
  m_upl[static_cast<std::size_t>(m)]->setEnabled(false);
  m_store.nfack = static_cast<qint16>(m);
  emit caseEdited();
  emit layoutChanged();
}

void Form1::spinUp() {
  const double shown = textToNumber(m_nfack->text());
  if (shown >= kMaxSpans) return;
  clearCopyTint();
  m_store.changed = true;
  focusHeading();
  m_store.diagramEnabled = false;
  const int m = std::clamp(static_cast<int>(roundHalfEven(shown + 1.0)), 1, kMaxSpans);
  m_nfack->setText(formatNumber(m, u"#0"));
  const int n = std::clamp<int>(m_store.nfack, 1, m);
  resizeSupportWidths(m_store.upl, n, m);
  for (int i = n + 1; i <= m; ++i) {
    setRowVisible(i, true);
    fillRow(i);
  }
  m_upl[static_cast<std::size_t>(n)]->setText(
      formatNumber(m_store.upl[static_cast<std::size_t>(n)], u"0.000"));
  m_upl[static_cast<std::size_t>(n)]->setEnabled(true);
  m_upl[static_cast<std::size_t>(m)]->setText(
      supportText(m_store.upl[static_cast<std::size_t>(m)]));
  m_upl[static_cast<std::size_t>(m)]->setEnabled(false);
  m_store.nfack = static_cast<qint16>(m);
  emit caseEdited();
  emit layoutChanged();
}

void Form1::focusHeading() { m_rubrik->setFocus(Qt::OtherFocusReason); }

void Form1::commitEditedField() {
  auto* field = qobject_cast<FieldEdit*>(QApplication::focusWidget());
  if (field != nullptr && isAncestorOf(field)) field->commit();
}

void Form1::mousePressEvent(QMouseEvent* event) {
  focusHeading();
  QWidget::mousePressEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) { event->ignore(); }

void Form1::loadFromStore() {
  const CaseStore& s = m_store;
  clearCopyTint();
  m_rubrik->setText(s.rubrik);
  markLongHeading(s.rubrik);
  applyMarket();
  m_nfack->setText(formatNumber(s.nfack, u"#0"));
  m_ram5->setTitle(QStringLiteral("Laster enl. Eurokod"));
  fillList(m_lokt, s.loadCategories, s.lokt);
  showFactors();
  selectOption(m_lastkomb, s.lastkomb);
  for (int i = 1; i <= kMaxSpans; ++i) m_flast[i]->setEnabled(s.lokt == 0);
  m_konsv->setText(shownExactly(s.konsv, u"#0.00"));
  m_konsh->setText(shownExactly(s.konsh, u"#0.00"));
  fillList(m_btg, s.concreteClasses, s.btg - 1);
  fillList(m_aok, s.steelGrades, s.aok - 1);
  fillList(m_dok, s.barDiameters, s.dok - 1);
  m_kavko->setChecked(s.kavko != 0);
  m_ktack->setText(formatNumber(s.ktack, u"#0"));
  fillList(m_auk, s.steelGrades, s.auk - 1);
  fillList(m_duk, s.barDiameters, s.duk - 1);
  m_duarm->setText(formatNumber(s.duarm, u"#0"));
  fillList(m_brandk, s.fireMethods, s.brandk - 1);
  showFireOptions();
  selectOption(m_brandb, s.brandb);
  selectOption(m_kutak, s.kutak);
  m_overhojning->setText(formatNumber(s.overhojning, u"#0"));
  m_initiell->setText(formatNumber(s.initiell, u"####"));
  m_tillkommande->setText(formatNumber(s.tillkommande, u"####"));
  selectOption(m_brukskomb, s.brukskomb);
  selectOption(m_byggskede, s.byggskede);
  m_egenfrekvens->setText(shownExactly(s.egenfrekvens, u"#0.0"));
  showCrackWidth();
  refreshSpanRows();
}

}  // namespace solvow::forms
