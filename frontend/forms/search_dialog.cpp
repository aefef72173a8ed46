#include "search_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "file_access.h"
#include "run_gate.h"
#include "search_limits.h"
#include "text_conv.h"

namespace solvow::forms {

namespace {

constexpr qint64 kMostCandidates = solvo::platform::kMaxSearchCandidates;
constexpr int kIndexRole = Qt::UserRole + 1;

enum Column {
  kThickness,
  kConcrete,
  kBar,
  kCurtailment,
  kProps,
  kSpacing,
  kVolume,
  kSteelTop,
  kSteelBottom,
  kCost,
  kWorst,
  kCheck,
  kColumns
};

const char* const kHeads[kColumns] = {"Tjocklek (m)", "Betong",     "Diam",         "Avkortning",
                                      "Stämp",        "S (mm)",     "Betong m3/m2", "Stöd kg/m2",
                                      "Fält kg/m2",   "Kostnad/m2", "Max. nyttj.",  "Kontroll"};

// A cell shown as text and sorted by its number.
class NumberItem : public QTableWidgetItem {
 public:
  NumberItem(double value, const QString& text) : QTableWidgetItem(text) {
    setData(Qt::UserRole, value);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
  }
};

// A value with `decimals` decimals; a dash for one the search could not give (as in the table).
QString fixed(double v, int decimals) {
  return std::isfinite(v) ? QString::number(v, 'f', decimals) : QStringLiteral("–");
}

QString thicknessText(const SearchRow& row) {
  QStringList parts;
  for (double t : row.thickness) parts.append(fixed(t, 3));
  return parts.isEmpty() ? QStringLiteral("som fallet") : parts.join(QLatin1Char('/'));
}

QLineEdit* numberEdit(QWidget* parent, const QString& text) {
  auto* e = new QLineEdit(text, parent);
  e->setMaximumWidth(90);
  return e;
}

}  // namespace

SearchDialog::SearchDialog(CaseStore& store, EngineRun& run, QWidget* parent)
    : QDialog(parent), m_store(store), m_run(run) {
  setObjectName(QStringLiteral("SokLosning"));
  setWindowTitle(QStringLiteral("Sök lösning"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  buildRangeControls();
  buildResultControls();
  loadRanges(defaultRanges(store));
  connect(&m_engine, &QProcess::readyReadStandardOutput, this, &SearchDialog::readProgress);
  connect(&m_engine, &QProcess::finished, this, &SearchDialog::engineFinished);
  layout->setSizeConstraint(QLayout::SetDefaultConstraint);
  resize(1080, 720);
  updateButtons();
}

SearchDialog::~SearchDialog() {
  if (running()) {
    m_engine.kill();
    m_engine.waitForFinished(-1);
  }
}

QWidget* SearchDialog::buildThicknessGroups() {
  auto* thick = new QGroupBox(QStringLiteral("Plattjocklek (m): fack med gemensam tjocklek"), this);
  auto* thickLayout = new QVBoxLayout(thick);
  m_groups = new QTableWidget(0, 4, thick);
  m_groups->setObjectName(QStringLiteral("grupper"));
  m_groups->setHorizontalHeaderLabels({QStringLiteral("Fack"), QStringLiteral("Från"),
                                       QStringLiteral("Till"), QStringLiteral("Steg")});
  m_groups->verticalHeader()->hide();
  m_groups->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_groups->verticalHeader()->setDefaultSectionSize(24);
  m_groups->setMaximumHeight(170);
  connect(m_groups, &QTableWidget::cellChanged, this, &SearchDialog::updateCount);
  thickLayout->addWidget(m_groups);
  auto* groupButtons = new QHBoxLayout;
  auto* add = new QPushButton(QStringLiteral("Ny grupp"), thick);
  add->setObjectName(QStringLiteral("nyGrupp"));
  auto* remove = new QPushButton(QStringLiteral("Ta bort grupp"), thick);
  remove->setObjectName(QStringLiteral("taBortGrupp"));
  connect(add, &QPushButton::clicked, this, [this] {
    addGroupRow({{}, 0.12, 0.20, 0.01});
    updateCount();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    m_groups->removeRow(m_groups->currentRow() >= 0 ? m_groups->currentRow()
                                                    : m_groups->rowCount() - 1);
    updateCount();
  });
  groupButtons->addWidget(add);
  groupButtons->addWidget(remove);
  groupButtons->addStretch();
  thickLayout->addLayout(groupButtons);
  return thick;
}

QGroupBox* SearchDialog::choiceBoxes(const QString& title, const QStringList& texts,
                                     const char* name, int columns, QList<QCheckBox*>& out) {
  auto* box = new QGroupBox(title, this);
  auto* grid = new QGridLayout(box);
  for (int k = 0; k < texts.size(); ++k) {
    auto* c = new QCheckBox(texts[k], box);
    c->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(k + 1));
    connect(c, &QCheckBox::toggled, this, &SearchDialog::updateCount);
    grid->addWidget(c, k / columns, k % columns);
    out.append(c);
  }
  return box;
}

QWidget* SearchDialog::buildPrices() {
  auto* prices = new QGroupBox(QStringLiteral("Priser"), this);
  auto* priceGrid = new QGridLayout(prices);
  m_concretePrice = numberEdit(prices, QString());
  m_concretePrice->setObjectName(QStringLiteral("betongpris"));
  m_concretePrice->setPlaceholderText(QStringLiteral("per kvalitet"));
  m_steelPrice = numberEdit(prices, QStringLiteral("15"));
  m_steelPrice->setObjectName(QStringLiteral("stalpris"));
  priceGrid->addWidget(new QLabel(QStringLiteral("Betong per m3:"), prices), 0, 0);
  priceGrid->addWidget(m_concretePrice, 0, 1);
  priceGrid->addWidget(new QLabel(QStringLiteral("Stål per kg:"), prices), 0, 2);
  priceGrid->addWidget(m_steelPrice, 0, 3);
  m_propPrice = numberEdit(prices, QStringLiteral("0"));
  m_propPrice->setObjectName(QStringLiteral("stamppris"));
  priceGrid->addWidget(new QLabel(QStringLiteral("Stämp per m stämplinje:"), prices), 1, 0);
  priceGrid->addWidget(m_propPrice, 1, 1);
  return prices;
}

QLayout* SearchDialog::buildRunRow() {
  auto* runRow = new QHBoxLayout;
  m_count = new QLabel(this);
  m_count->setObjectName(QStringLiteral("antal"));
  m_search = new QPushButton(QStringLiteral("Sök"), this);
  m_search->setObjectName(QStringLiteral("sok"));
  m_cancel = new QPushButton(QStringLiteral("Avbryt"), this);
  m_cancel->setObjectName(QStringLiteral("Avbryt"));
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("forlopp"));
  m_progress->setFormat(QStringLiteral("%v/%m"));
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_progress->setTextVisible(false);
  connect(m_search, &QPushButton::clicked, this, &SearchDialog::startSearch);
  connect(m_cancel, &QPushButton::clicked, this, &SearchDialog::cancelSearch);
  runRow->addWidget(m_count);
  runRow->addWidget(m_search);
  runRow->addWidget(m_cancel);
  runRow->addWidget(m_progress, 1);
  return runRow;
}

void SearchDialog::buildRangeControls() {
  auto* top = new QHBoxLayout;
  top->addWidget(buildThicknessGroups(), 3);
  auto* choices = new QVBoxLayout;
  choices->addWidget(choiceBoxes(QStringLiteral("Betongkvalitet"), m_store.concreteClasses,
                                 "betong", 3, m_concrete));
  choices->addWidget(
      choiceBoxes(QStringLiteral("Överkantsarmering"), m_store.barDiameters, "diam", 5, m_bars));
  choices->addWidget(
      choiceBoxes(QStringLiteral("Avkortning"),
                  {QStringLiteral("Utan avkortning"), QStringLiteral("Med avkortning")},
                  "avkortning", 2, m_curtailment));
  choices->addWidget(choiceBoxes(
      QStringLiteral("Stämp per fack under gjutningen (inget val: som fallet)"),
      {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}, "stamp", 3, m_props));
  choices->addWidget(buildPrices());
  top->addLayout(choices, 4);
  static_cast<QVBoxLayout*>(layout())->addLayout(top);
  static_cast<QVBoxLayout*>(layout())->addLayout(buildRunRow());
}

void SearchDialog::buildResultControls() {
  m_summary = new QLabel(this);
  m_summary->setObjectName(QStringLiteral("sammanfattning"));
  m_summary->setWordWrap(true);
  m_table = new QTableWidget(0, kColumns, this);
  m_table->setObjectName(QStringLiteral("losningar"));
  QStringList heads;
  for (const char* h : kHeads) heads.append(QString::fromUtf8(h));
  m_table->setHorizontalHeaderLabels(heads);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->verticalHeader()->hide();
  m_table->verticalHeader()->setDefaultSectionSize(22);
  m_table->horizontalHeader()->setStretchLastSection(true);
  m_table->setSortingEnabled(true);
  connect(m_table, &QTableWidget::itemSelectionChanged, this, &SearchDialog::updateButtons);
  m_apply = new QPushButton(QStringLiteral("Använd"), this);
  m_apply->setObjectName(QStringLiteral("anvand"));
  auto* close = new QPushButton(QStringLiteral("Stäng"), this);
  close->setObjectName(QStringLiteral("stang"));
  connect(m_apply, &QPushButton::clicked, this, &SearchDialog::applyChosen);
  connect(close, &QPushButton::clicked, this, &SearchDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_apply);
  buttons->addWidget(close);
  auto* l = static_cast<QVBoxLayout*>(layout());
  l->addWidget(m_summary);
  l->addWidget(m_table, 1);
  l->addLayout(buttons);
}

void SearchDialog::addGroupRow(const ThicknessRange& g) {
  const QSignalBlocker block(m_groups);
  const int row = m_groups->rowCount();
  m_groups->insertRow(row);
  const QString texts[] = {spansText(g.spans), formatNumber(g.from, QStringLiteral("0.000")),
                           formatNumber(g.to, QStringLiteral("0.000")),
                           formatNumber(g.step, QStringLiteral("0.000"))};
  for (int c = 0; c < 4; ++c) m_groups->setItem(row, c, new QTableWidgetItem(texts[c]));
}

void SearchDialog::loadRanges(const SearchRanges& r) {
  m_groups->setRowCount(0);
  for (const ThicknessRange& g : r.groups) addGroupRow(g);
  for (int k = 0; k < m_concrete.size(); ++k) m_concrete[k]->setChecked(r.concrete.contains(k + 1));
  for (int k = 0; k < m_bars.size(); ++k) m_bars[k]->setChecked(r.bars.contains(k + 1));
  for (int k = 0; k < m_curtailment.size(); ++k)
    m_curtailment[k]->setChecked(r.curtailment.contains(k));
  for (int k = 0; k < m_props.size(); ++k) m_props[k]->setChecked(r.props.contains(k));
  updateCount();
}

std::optional<SearchRanges> SearchDialog::ranges(QString* problem) const {
  SearchRanges r;
  QList<int> seen;
  for (int row = 0; row < m_groups->rowCount(); ++row) {
    auto text = [&](int c) {
      return m_groups->item(row, c) ? m_groups->item(row, c)->text() : QString();
    };
    const auto spans = parseSpans(text(0), m_store.nfack);
    if (!spans) {
      *problem = QStringLiteral("Grupp %1: skriv facken som t.ex. 1-2,9-10 (fack 1 till %2).")
                     .arg(row + 1)
                     .arg(m_store.nfack);
      return std::nullopt;
    }
    for (int i : *spans) {
      if (seen.contains(i)) {
        *problem = QStringLiteral("Fack %1 står i mer än en grupp.").arg(i);
        return std::nullopt;
      }
      seen.append(i);
    }
    ThicknessRange g{*spans, textToNumber(text(1)), textToNumber(text(2)), textToNumber(text(3))};
    if (!(g.from > 0.045 && g.from <= g.to && g.to <= 1.0 && g.step >= 0.0001)) {
      *problem = QStringLiteral(
                     "Grupp %1: tjocklek från och till i m (över 0,045 och högst 1,0, "
                     "från högst till), steg större än 0.")
                     .arg(row + 1);
      return std::nullopt;
    }
    r.groups.append(g);
  }
  auto checked = [](const QList<QCheckBox*>& boxes, int first) {
    QList<int> codes;
    for (int k = 0; k < boxes.size(); ++k)
      if (boxes[k]->isChecked()) codes.append(k + first);
    return codes;
  };
  r.concrete = checked(m_concrete, 1);
  r.bars = checked(m_bars, 1);
  r.curtailment = checked(m_curtailment, 0);
  r.props = checked(m_props, 0);
  if (r.concrete.isEmpty() || r.bars.isEmpty() || r.curtailment.isEmpty()) {
    *problem = QStringLiteral("Välj minst en betongkvalitet, en diameter och en avkortning.");
    return std::nullopt;
  }
  if (!m_concretePrice->text().trimmed().isEmpty())
    r.concretePrice = textToNumber(m_concretePrice->text());
  if (!m_steelPrice->text().trimmed().isEmpty()) r.steelPrice = textToNumber(m_steelPrice->text());
  if (!m_propPrice->text().trimmed().isEmpty()) r.propPrice = textToNumber(m_propPrice->text());
  if (r.concretePrice.value_or(0) < 0 || r.steelPrice.value_or(0) < 0 ||
      r.propPrice.value_or(0) < 0) {
    *problem = QStringLiteral("Priserna får inte vara negativa.");
    return std::nullopt;
  }
  const qint64 count = candidateCount(r);
  if (count > kMostCandidates) {
    *problem =
        QStringLiteral("%1 utformningar är för många; högst %2.").arg(count).arg(kMostCandidates);
    return std::nullopt;
  }
  return r;
}

void SearchDialog::updateCount() {
  QString problem;
  const auto r = ranges(&problem);
  m_count->setText(r ? QStringLiteral("Antal utformningar: %1").arg(candidateCount(*r)) : problem);
}

void SearchDialog::startSearch() {
  QString problem;
  const auto r = ranges(&problem);
  if (!r) return tell(problem);
  // The same gate as "Kör...", with the ends of the ranges.
  if (!m_run.admit(gateSearch(m_store, *r))) return;
  const QDir work(m_run.workingFolder());
  for (const char* name : {kSearchResultFile, kSearchTableFile}) {
    const QString result = resolveExisting(work.filePath(QString::fromLatin1(name)));
    if (QFileInfo::exists(result) && !QFile::remove(result))
      return tell(QStringLiteral("Den gamla filen %1 kan inte tas bort.").arg(result));
  }
  QFile plan(work.filePath(QString::fromLatin1(kSearchPlanFile)));
  const QByteArray text = planText(*r);
  if (!plan.open(QIODevice::WriteOnly | QIODevice::Truncate) || plan.write(text) != text.size() ||
      !plan.flush())
    return tell(QStringLiteral("%1 kan inte skrivas: %2").arg(plan.fileName(), plan.errorString()));
  plan.close();
  if (!m_run.copyExchange(m_store))
    return tell(QStringLiteral("%1 kan inte kopieras till %2.")
                    .arg(m_store.fileName, QString::fromLatin1(kExchangeFile)));
  m_result = {};
  m_table->setRowCount(0);
  m_summary->clear();
  m_cancelled = false;
  m_pending.clear();
  m_progress->setRange(0, static_cast<int>(candidateCount(*r)));
  m_progress->setValue(0);
  m_progress->setTextVisible(true);
  m_engine.setProgram(m_run.programPath());
  m_engine.setArguments({QStringLiteral("--search"), QString::fromLatin1(kSearchPlanFile)});
  m_engine.setWorkingDirectory(m_run.workingFolder());
  m_engine.start(QIODevice::ReadOnly);
  updateButtons();
}

void SearchDialog::readProgress() {
  m_pending += m_engine.readAllStandardOutput();
  qsizetype lf = 0;
  while ((lf = m_pending.indexOf('\n')) >= 0) {
    const QByteArray line = m_pending.left(lf).trimmed();
    m_pending.remove(0, lf + 1);
    const qsizetype slash = line.indexOf('/');
    bool doneOk = false, totalOk = false;
    const int done = line.left(slash).toInt(&doneOk);
    const int total = line.mid(slash + 1).toInt(&totalOk);
    if (slash > 0 && doneOk && totalOk && total > 0) {
      m_progress->setRange(0, total);
      m_progress->setValue(done);
    }
  }
}

void SearchDialog::cancelSearch() {
  if (!running()) return;
  m_cancelled = true;
  m_engine.kill();
}

void SearchDialog::engineFinished(int exitCode, QProcess::ExitStatus status) {
  readProgress();
  updateButtons();
  if (m_cancelled) {
    m_summary->setText(QStringLiteral("Sökningen avbröts."));
  } else if (status != QProcess::NormalExit || exitCode != 0) {
    const QString errors = QString::fromLocal8Bit(m_engine.readAllStandardError()).trimmed();
    tell(QStringLiteral("Sökningen kunde inte göras.\n%1").arg(errors));
  } else {
    showResult();
  }
  emit searchFinished();
}

void SearchDialog::showResult() {
  // The designs from the table, the counts from the report.
  QByteArray bytes[2];
  const char* names[2] = {kSearchResultFile, kSearchTableFile};
  for (int k = 0; k < 2; ++k) {
    QFile file(
        resolveExisting(QDir(m_run.workingFolder()).filePath(QString::fromLatin1(names[k]))));
    if (!file.open(QIODevice::ReadOnly))
      return tell(QStringLiteral("Resultatfil %1 saknas !").arg(QString::fromLatin1(names[k])));
    bytes[k] = file.readAll();
  }
  const std::optional<SearchResult> parsed = parseSearchFiles(bytes[0], bytes[1]);
  if (!parsed) return tell(QStringLiteral("Resultatfil %1 saknas !").arg(kSearchResultFile));
  m_result = *parsed;
  // Why values are missing, row by row; a design passes only with a largest utilisation that
  // is a number of at most 1.
  m_missing = QList<QMap<SearchField, QString>>(m_result.rows.size());
  if (const std::optional<SearchTable> table = readSearchTable(bytes[1]);
      table && table->rows.size() == m_result.rows.size()) {
    for (qsizetype k = 0; k < m_result.rows.size(); ++k) {
      m_missing[k] = table->rows[k].missing;
      m_result.rows[k].passes = m_result.rows[k].passes && table->rows[k].row.passes;
    }
  } else {
    for (SearchRow& row : m_result.rows) row.passes = false;
  }
  QString summary =
      QStringLiteral("Prövade: %1, godkända: %2.").arg(m_result.tried).arg(m_result.passing);
  if (m_result.own)
    summary +=
        QStringLiteral(" Fallet självt: kostnad %1 per m2, största nyttjandegrad %2 (%3).")
            .arg(fixed(m_result.own->cost, 2), fixed(m_result.own->worst, 3), m_result.own->check);
  summary += QStringLiteral(" Underkända (grå) visas sist.");
  m_summary->setText(summary);
  m_table->setSortingEnabled(false);
  m_table->setRowCount(static_cast<int>(m_result.rows.size()));
  for (int k = 0; k < m_result.rows.size(); ++k) fillRow(k);
  // The order of the file, passing designs cheapest first, until a heading is clicked.
  m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  m_table->setSortingEnabled(true);
  m_table->resizeColumnsToContents();
  if (m_result.passing > 0 && !m_result.rows.isEmpty() && m_result.rows.front().passes)
    m_table->selectRow(0);
  updateButtons();
}

void SearchDialog::fillRow(int k) {
  const SearchRow& row = m_result.rows[k];
  const QMap<SearchField, QString>& missing = m_missing[k];
  auto number = [&](SearchField field, double value, const QString& text) -> QTableWidgetItem* {
    if (!missing.contains(field)) return new NumberItem(value, text);
    // Sorted after every number.
    auto* item = new NumberItem(std::numeric_limits<double>::infinity(), QStringLiteral("–"));
    item->setToolTip(missing.value(field));
    return item;
  };
  QString check = row.check;
  for (auto m = missing.cbegin(); m != missing.cend(); ++m)
    check += QStringLiteral("%1%2: %3")
                 .arg(check.isEmpty() ? QString() : QStringLiteral("; "),
                      QString::fromUtf8(kHeads[static_cast<int>(m.key())]), m.value());
  QTableWidgetItem* items[kColumns] = {
      missing.contains(SearchField::Thickness) ? new QTableWidgetItem(QStringLiteral("–"))
                                               : new QTableWidgetItem(thicknessText(row)),
      new QTableWidgetItem(m_store.concreteClasses.value(row.concrete - 1)),
      new NumberItem(row.bar, m_store.barDiameters.value(row.bar - 1)),
      new QTableWidgetItem(row.curtailment != 0 ? QStringLiteral("Med") : QStringLiteral("Utan")),
      new NumberItem(row.props,
                     row.props < 0 ? QStringLiteral("som fallet") : QString::number(row.props)),
      number(SearchField::Spacing, row.spacing, QString::number(row.spacing)),
      number(SearchField::Volume, row.concreteVolume, fixed(row.concreteVolume, 4)),
      number(SearchField::SteelTop, row.steelTop, fixed(row.steelTop, 2)),
      number(SearchField::SteelBottom, row.steelBottom, fixed(row.steelBottom, 2)),
      number(SearchField::Cost, row.cost, fixed(row.cost, 2)),
      number(SearchField::Worst, row.worst, fixed(row.worst, 3)),
      new QTableWidgetItem(check)};
  items[0]->setData(kIndexRole, k);
  if (missing.contains(SearchField::Thickness))
    items[0]->setToolTip(missing.value(SearchField::Thickness));
  for (int c = 0; c < kColumns; ++c) {
    if (!row.passes) items[c]->setForeground(Qt::gray);
    m_table->setItem(k, c, items[c]);
  }
}

void SearchDialog::applyChosen() {
  const QList<QTableWidgetItem*> chosen = m_table->selectedItems();
  if (chosen.isEmpty()) return;
  const QTableWidgetItem* first = m_table->item(chosen.front()->row(), kThickness);
  const SearchRow& row = m_result.rows[first->data(kIndexRole).toInt()];
  if (!row.passes) return;
  applySearchRow(m_store, m_result, row);
  emit designApplied();
  accept();
}

void SearchDialog::reject() {
  cancelSearch();
  QDialog::reject();
}

void SearchDialog::updateButtons() {
  const bool busy = running();
  m_search->setEnabled(!busy);
  m_cancel->setEnabled(busy);
  bool passing = false;
  const QList<QTableWidgetItem*> chosen = m_table->selectedItems();
  if (!busy && !chosen.isEmpty()) {
    const QTableWidgetItem* first = m_table->item(chosen.front()->row(), kThickness);
    const int index = first->data(kIndexRole).toInt();
    passing = index >= 0 && index < m_result.rows.size() && m_result.rows[index].passes;
  }
  m_apply->setEnabled(passing);
}

void SearchDialog::tell(const QString& text) {
  QMessageBox::information(this, QStringLiteral("SOLVOW"), text);
}

}  // namespace solvow::forms
