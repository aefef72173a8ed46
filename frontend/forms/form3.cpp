#include "form3.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "form_controls.h"
#include "input_rules.h"
#include "text_conv.h"

namespace solvow::forms {
namespace {

constexpr int kMenuHeight = 330;  // twips taken by the form's own menu bar
constexpr int kRow1Y = 1100;      // first row, twips within the frame
constexpr int kRowPitch = 360;

QString ctl(const char* name, int i) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w, int h = 285) {
  auto* l = new QLabel(text, parent);
  placeTw(l, x, y, w, h);
  return l;
}

FieldEdit* field(QWidget* parent, const QString& name, int x, int y, int w) {
  auto* f = new FieldEdit(name, parent);
  placeTw(f, x, y, w, 300);
  return f;
}

const auto kDistancePattern = u"#0.00";
// The load is shown without thousands grouping, so that the shown text reads back as the same
// number under every locale.
const auto kLoadPattern = u"#0.00";

}  // namespace

Form3::Form3(CaseStore& store, QWidget* parent) : QWidget(parent), m_store(store) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Linjelaster"));
  useFormFont(this);
  setFixedSize(tw(7200), tw(kMenuHeight + 3500));

  m_menuBar = new QMenuBar(this);
  m_menuBar->setGeometry(0, 0, tw(7200), tw(kMenuHeight));
  m_back = m_menuBar->addMenu(QStringLiteral("Återgå till..."));
  m_back->setObjectName(QStringLiteral("ater"));
  m_lay = m_back->addAction(QStringLiteral("Layout"));
  m_lay->setObjectName(QStringLiteral("lay"));
  connect(m_back, &QMenu::aboutToShow, this, &Form3::focusFirstRow);
  connect(m_lay, &QAction::triggered, this, &Form3::backToLayout);

  auto* box = new QGroupBox(QStringLiteral("Linjelaster"), this);
  box->setObjectName(QStringLiteral("Frame1"));
  placeTw(box, 120, kMenuHeight + 60, 6960, 3360);
  label(box, QStringLiteral("Antal linjelaster:"), 150, 345, 1500);
  m_nllast = field(box, QStringLiteral("nllast"), 1700, 330, 450);
  m_nllast->setText(QStringLiteral("0"));
  m_nllast->setEnabled(false);
  m_spin = new SpinArrows(QStringLiteral("Spin1"), box);
  placeTw(m_spin, 2180, 270, 255, 420);

  label(box, QStringLiteral("Fack nr"), 150, 780, 900);
  label(box, QStringLiteral("Avstånd från vänster stöd"), 1200, 780, 2400);
  label(box, QStringLiteral("(m)"), 3600, 780, 400);
  label(box, QStringLiteral("Last"), 4200, 780, 500);
  label(box, QStringLiteral("(kN/m)"), 4700, 780, 700);
  for (int k = 1; k <= kLineLoads; ++k) {
    const int y = kRow1Y + kRowPitch * (k - 1);
    const auto s = static_cast<std::size_t>(k);
    m_llfnr[s] = field(box, ctl("llfnr", k), 150, y, 600);
    m_avst[s] = field(box, ctl("avst", k), 1200, y, 900);
    m_lllast[s] = field(box, ctl("lllast", k), 4200, y, 900);
    for (FieldEdit* e : {m_llfnr[s], m_avst[s], m_lllast[s]})
      connect(e, &QLineEdit::textEdited, this, &Form3::markChanged);
    connect(m_llfnr[s], &FieldEdit::left, this, [this, k] { leaveSpanNumber(k); });
    connect(m_avst[s], &FieldEdit::left, this, [this, k] { leaveDistance(k); });
    connect(m_lllast[s], &FieldEdit::left, this, [this, k] { leaveLoad(k); });
  }
  connect(m_spin, &SpinArrows::down, this, &Form3::spinDown);
  connect(m_spin, &SpinArrows::up, this, &Form3::spinUp);
  reportCommits(this, [this] { emit committed(); });
  loadFromStore();
}

void Form3::loadFromStore() {
  const int count = std::clamp<int>(m_store.nllast, 0, kLineLoads);
  const int rows = std::max(count, 1);
  m_nllast->setText(formatNumber(count, u"#0"));
  for (int k = 1; k <= kLineLoads; ++k) {
    setRowVisible(k, k <= rows);
    if (k <= rows) fillRow(k);
  }
}

void Form3::fillRow(int k) {
  const LineLoad& load = m_store.lineLoads[static_cast<std::size_t>(k)];
  const auto s = static_cast<std::size_t>(k);
  m_llfnr[s]->setText(formatNumber(load.llfnr, u"#0"));
  m_avst[s]->setText(formatNumber(load.avst, kDistancePattern));
  m_lllast[s]->setText(formatNumber(load.lllast, kLoadPattern));
}

void Form3::setRowVisible(int k, bool visible) {
  const auto s = static_cast<std::size_t>(k);
  m_llfnr[s]->setVisible(visible);
  m_avst[s]->setVisible(visible);
  m_lllast[s]->setVisible(visible);
}

void Form3::markChanged() {
  markEdited(m_store);
  emit caseEdited();
}

bool Form3::refuseNoNumber(FieldEdit* e, const QString& kept) {
  if (fieldNumber(e->text())) return false;
  emit statusMessage(notANumberNote(e->text(), kept));
  e->setText(kept);
  return true;
}

void Form3::leaveSpanNumber(int k) {
  FieldEdit* e = m_llfnr[static_cast<std::size_t>(k)];
  LineLoad& load = m_store.lineLoads[static_cast<std::size_t>(k)];
  if (refuseNoNumber(e, formatNumber(load.llfnr, u"#0"))) return;
  double v = textToNumber(e->text());
  if (v > kMaxLineLoadSpan) {
    e->setText(QString::number(kMaxLineLoadSpan));
    v = kMaxLineLoadSpan;
  }
  if (v == load.llfnr) return;
  const QString shown = formatNumber(v, u"#0");
  const std::optional<qint16> number = textToInt16(shown);
  if (!number) {
    // Too large for the case file: the stored span number stays and is shown.
    e->setText(formatNumber(load.llfnr, u"#0"));
    return;
  }
  e->setText(shown);
  load.llfnr = *number;
  emit loadSketchChanged();
}

void Form3::leaveDistance(int k) {
  FieldEdit* e = m_avst[static_cast<std::size_t>(k)];
  float& value = m_store.lineLoads[static_cast<std::size_t>(k)].avst;
  if (refuseNoNumber(e, formatNumber(value, kDistancePattern))) return;
  const double v = textToNumber(e->text());
  if (static_cast<float>(v) == value) return;
  const SpanLeave r = leaveSpanRow(std::span<float>(&value, 1), 0, 0, e->text(), kDistancePattern);
  e->setText(r.shown);
  emit loadSketchChanged();
}

void Form3::leaveLoad(int k) {
  FieldEdit* e = m_lllast[static_cast<std::size_t>(k)];
  float& value = m_store.lineLoads[static_cast<std::size_t>(k)].lllast;
  if (refuseNoNumber(e, formatNumber(value, kLoadPattern))) return;
  const double v = textToNumber(e->text());
  if (static_cast<float>(v) == value) return;
  const SpanLeave r = leaveSpanRow(std::span<float>(&value, 1), 0, 0, e->text(), kLoadPattern);
  e->setText(r.shown);
  emit loadSketchChanged();
}

void Form3::spinDown() {
  const double shown = textToNumber(m_nllast->text());
  if (shown <= 0.0) return;
  markChanged();
  const int m = std::clamp(static_cast<int>(roundHalfEven(shown - 1.0)), 0, kLineLoads);
  m_nllast->setText(formatNumber(m, u"#0"));
  const int count = std::clamp<int>(m_store.nllast, 0, kLineLoads);
  if (m != 0) {
    for (int k = m + 1; k <= count; ++k) setRowVisible(k, false);
  } else {
    // Row 1 stays on the form with zeros; load 1 keeps its values in the store.
    setRowVisible(1, true);
    m_llfnr[1]->setText(formatNumber(0, u"#0"));
    m_avst[1]->setText(formatNumber(0, kDistancePattern));
    m_lllast[1]->setText(formatNumber(0, kLoadPattern));
  }
  m_store.nllast = static_cast<qint16>(m);
  m_nllast->setText(formatNumber(m, u"#0"));
  emit loadSketchChanged();
}

void Form3::spinUp() {
  const double shown = textToNumber(m_nllast->text());
  if (shown >= kLineLoads) return;
  markChanged();
  const int m = std::clamp(static_cast<int>(roundHalfEven(shown + 1.0)), 0, kLineLoads);
  m_nllast->setText(formatNumber(m, u"#0"));
  const int count = std::clamp<int>(m_store.nllast, 0, kLineLoads);
  for (int k = count + 1; k <= m; ++k) {
    setRowVisible(k, true);
    fillRow(k);
  }
  m_store.nllast = static_cast<qint16>(m);
  emit loadSketchChanged();
}

void Form3::focusFirstRow() { m_llfnr[1]->setFocus(Qt::OtherFocusReason); }

void Form3::mousePressEvent(QMouseEvent* event) {
  focusFirstRow();
  QWidget::mousePressEvent(event);
}

void Form3::paintEvent(QPaintEvent*) {
  // A small picture of what a line load is: a span between two supports and a load on it.
  QPainter p(this);
  p.setWindow(0, 0, width() * 15, height() * 15);
  p.setViewport(rect());
  p.setPen(QPen(Qt::black, 0));
  const int top = kMenuHeight + 60 + 3360 - 1000;  // lower part of the frame, right side
  p.drawRect(QRect(QPoint(5500, top + 500), QPoint(6900, top + 560)));  // the slab
  p.drawLine(5500, top + 560, 5420, top + 700);                         // left support
  p.drawLine(5500, top + 560, 5580, top + 700);
  p.drawLine(6900, top + 560, 6820, top + 700);  // right support
  p.drawLine(6900, top + 560, 6980, top + 700);
  p.drawLine(6000, top + 100, 6000, top + 500);  // the line load
  p.drawLine(5920, top + 400, 6000, top + 500);
  p.drawLine(6080, top + 400, 6000, top + 500);
}

}  // namespace solvow::forms
