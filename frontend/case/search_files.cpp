#include "search_files.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "text_conv.h"

namespace solvow {

namespace {

constexpr double kLeastThickness = 0.05;  // above the deck's 0.045 m ribs
constexpr double kProposedSpread = 0.02;
constexpr int kRejectedListed = 20;

// Thickness in whole millimetres, as the engine counts its steps.
qint64 millimetres(double metres) { return std::llround(metres * 1000.0); }

const CaseStore& lists() {
  static const CaseStore store = [] {
    CaseStore s;
    setDefaults(s);
    return s;
  }();
  return store;
}

// The diameter in mm of bar size code `dok` ("ø 12" -> 12).
int barMillimetres(int dok) {
  const QStringList& bars = lists().barDiameters;
  if (dok < 1 || dok > bars.size()) return 0;
  return static_cast<int>(textToNumber(QStringView(bars[dok - 1]).mid(2)));
}

int barCode(int millimetres) {
  for (int dok = 1; dok <= lists().barDiameters.size(); ++dok)
    if (barMillimetres(dok) == millimetres) return dok;
  return 0;
}

QString number(double v, int decimals) { return QString::number(v, 'f', decimals); }

// A number of the report; "-" (no value) and asterisks count as no solution.
double fieldNumber(const QString& text) {
  if (text.startsWith(QLatin1Char('*')) || text == QLatin1String("-"))
    return std::numeric_limits<double>::infinity();
  return textToNumber(QStringView(text));
}

// A number of the table; an empty field has no value.
double tableNumber(const QString& text) {
  if (text.isEmpty()) return std::numeric_limits<double>::quiet_NaN();
  return textToNumber(QStringView(text));
}

// A design row of the table: list, Nr, one thickness per group, then the columns of the
// report from the concrete class on.
std::optional<SearchRow> parseTableRow(const QStringList& f, qsizetype groups) {
  const qsizetype c = 2 + groups;  // the concrete class
  if (f.size() != c + 11) return std::nullopt;
  SearchRow row;
  row.passes = f[0] == QStringLiteral("Godkänd");
  for (qsizetype g = 0; g < groups; ++g) row.thickness.append(tableNumber(f[2 + g]));
  row.concrete = static_cast<int>(lists().concreteClasses.indexOf(f[c])) + 1;
  row.bar = barCode(f[c + 1].toInt());
  row.curtailment = f[c + 2] == QStringLiteral("PÅ") ? 1 : 0;
  row.props = f[c + 3].isEmpty() ? -1 : f[c + 3].toInt();
  row.spacing = f[c + 4].toInt();
  row.concreteVolume = tableNumber(f[c + 5]);
  row.steelTop = tableNumber(f[c + 6]);
  row.steelBottom = tableNumber(f[c + 7]);
  row.cost = tableNumber(f[c + 8]);
  row.worst = f[c + 9].isEmpty() ? std::numeric_limits<double>::infinity() : tableNumber(f[c + 9]);
  row.check = f[c + 10];
  if (row.concrete < 1 || row.bar < 1) return std::nullopt;
  return row;
}

// A data line of a table: Nr, thicknesses, concrete, bar, AV/PÅ, props, S, volume, steel top
// and bottom, cost, largest utilisation, the check.
std::optional<SearchRow> parseRow(const QString& line, bool passes) {
  const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (f.size() < 13) return std::nullopt;
  bool numbered = false;
  f[0].toInt(&numbered);
  if (!numbered) return std::nullopt;
  SearchRow row;
  row.passes = passes;
  if (f[1] != QLatin1String("-"))
    for (const QString& t : f[1].split(QLatin1Char('/'))) row.thickness.append(fieldNumber(t));
  row.concrete = static_cast<int>(lists().concreteClasses.indexOf(f[2])) + 1;
  row.bar = barCode(f[3].toInt());
  row.curtailment = f[4] == QStringLiteral("PÅ") ? 1 : 0;
  row.props = f[5] == QLatin1String("-") ? -1 : f[5].toInt();
  row.spacing = f[6].toInt();
  row.concreteVolume = fieldNumber(f[7]);
  row.steelTop = fieldNumber(f[8]);
  row.steelBottom = fieldNumber(f[9]);
  row.cost = fieldNumber(f[10]);
  row.worst = fieldNumber(f[11]);
  row.check = f.mid(12).join(QLatin1Char(' '));
  if (row.concrete < 1 || row.bar < 1) return std::nullopt;
  return row;
}

}  // namespace

int concreteCodeOf(const QString& name) {
  return static_cast<int>(lists().concreteClasses.indexOf(name.trimmed())) + 1;
}

int barCodeOf(int millimetres) { return barCode(millimetres); }

SearchRanges defaultRanges(const CaseStore& store) {
  SearchRanges r;
  for (int i = 1; i <= store.nfack; ++i) {
    const double t = store.ptjl[static_cast<size_t>(i)];
    bool placed = false;
    for (ThicknessRange& g : r.groups) {
      if (millimetres(store.ptjl[static_cast<size_t>(g.spans.front())]) == millimetres(t)) {
        g.spans.append(i);
        placed = true;
      }
    }
    if (placed) continue;
    ThicknessRange g;
    g.spans = {i};
    g.from = std::max(kLeastThickness, static_cast<double>(millimetres(t - kProposedSpread)) / 1e3);
    g.to = std::max(g.from, static_cast<double>(millimetres(t + kProposedSpread)) / 1e3);
    g.step = 0.01;
    r.groups.append(g);
  }
  r.concrete = {store.btg};
  r.bars = {store.dok};
  r.curtailment = {store.kavko != 0 ? 1 : 0};
  return r;
}

QString spansText(const QList<int>& spans) {
  QStringList parts;
  for (qsizetype k = 0; k < spans.size();) {
    qsizetype end = k;
    while (end + 1 < spans.size() && spans[end + 1] == spans[end] + 1) ++end;
    parts.append(end == k ? QString::number(spans[k])
                          : QStringLiteral("%1-%2").arg(spans[k]).arg(spans[end]));
    k = end + 1;
  }
  return parts.join(QLatin1Char(','));
}

std::optional<QList<int>> parseSpans(const QString& text, int n) {
  static const QRegularExpression item(QStringLiteral("^(\\d+)(?:-(\\d+))?$"));
  QList<int> spans;
  const QString compact = text.simplified().remove(QLatin1Char(' '));
  if (compact.isEmpty()) return std::nullopt;
  for (const QString& part : compact.split(QLatin1Char(','))) {
    const QRegularExpressionMatch m = item.match(part);
    if (!m.hasMatch()) return std::nullopt;
    const int lo = m.captured(1).toInt();
    const int hi = m.captured(2).isEmpty() ? lo : m.captured(2).toInt();
    if (lo < 1 || hi > n || lo > hi) return std::nullopt;
    for (int i = lo; i <= hi; ++i)
      if (!spans.contains(i)) spans.append(i);
  }
  std::sort(spans.begin(), spans.end());
  return spans;
}

qint64 candidateCount(const SearchRanges& r) {
  qint64 count = static_cast<qint64>(r.concrete.size()) * r.bars.size() * r.curtailment.size() *
                 std::max<qsizetype>(r.props.size(), 1);
  for (const ThicknessRange& g : r.groups) {
    const qint64 lo = millimetres(g.from), hi = millimetres(g.to), by = millimetres(g.step);
    if (by <= 0 || lo > hi) return 0;
    count *= (hi - lo) / by + 1;
  }
  return count;
}

QByteArray planText(const SearchRanges& r) {
  QStringList lines = {QStringLiteral("# Design search written by SOLVOW")};
  for (const ThicknessRange& g : r.groups)
    lines.append(
        QStringLiteral("thickness %1 %2 %3 %4")
            .arg(spansText(g.spans), number(g.from, 4), number(g.to, 4), number(g.step, 4)));
  QStringList concrete, bars, curtailment;
  for (int c : r.concrete) concrete.append(lists().concreteClasses.value(c - 1));
  for (int b : r.bars) bars.append(QString::number(barMillimetres(b)));
  for (int k : r.curtailment)
    curtailment.append(k != 0 ? QStringLiteral("on") : QStringLiteral("off"));
  lines.append(QStringLiteral("concrete ") + concrete.join(QLatin1Char(' ')));
  lines.append(QStringLiteral("bar ") + bars.join(QLatin1Char(' ')));
  lines.append(QStringLiteral("curtailment ") + curtailment.join(QLatin1Char(' ')));
  if (!r.props.isEmpty()) {
    QStringList props;
    for (int p : r.props) props.append(QString::number(p));
    lines.append(QStringLiteral("props ") + props.join(QLatin1Char(' ')));
  }
  if (r.concretePrice)
    lines.append(QStringLiteral("price concrete ") + number(*r.concretePrice, 2));
  if (r.steelPrice) lines.append(QStringLiteral("price steel ") + number(*r.steelPrice, 2));
  if (r.propPrice) lines.append(QStringLiteral("price prop ") + number(*r.propPrice, 2));
  lines.append(QStringLiteral("rejected %1").arg(kRejectedListed));
  return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1();
}

std::optional<SearchResult> parseSearchResult(const QByteArray& bytes) {
  if (!fromWindows1252(bytes.left(64)).startsWith(QStringLiteral("SÖKNING AV LÖSNING")))
    return std::nullopt;
  SearchResult result;
  enum class Part { kHead, kOwn, kPassing, kRejected } part = Part::kHead;
  static const QRegularExpression counts(
      QStringLiteral("^Prövade:\\s*(\\d+)\\s+Godkända:\\s*(\\d+)"));
  for (const QByteArray& bytesOfLine : fileLines(bytes)) {
    const QString line = fromWindows1252(bytesOfLine);
    if (line.startsWith(QStringLiteral("  Grupp"))) {
      const QString spans = line.section(QStringLiteral("fack"), 1);
      QList<int> group;
      for (const QString& s : spans.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        group.append(s.toInt());
      result.groups.append(group);
    } else if (const QRegularExpressionMatch m = counts.match(line); m.hasMatch()) {
      result.tried = m.captured(1).toLongLong();
      result.passing = m.captured(2).toLongLong();
    } else if (line.startsWith(QStringLiteral("Fallet självt:"))) {
      part = Part::kOwn;
    } else if (line.startsWith(QStringLiteral("GODKÄNDA"))) {
      part = Part::kPassing;
    } else if (line.startsWith(QStringLiteral("UNDERKÄNDA"))) {
      part = Part::kRejected;
    } else if (part == Part::kOwn) {
      if (auto row = parseRow(line, false)) {
        row->passes = row->worst <= 1.0;
        result.own = row;
      }
    } else if (part != Part::kHead) {
      if (auto row = parseRow(line, part == Part::kPassing)) result.rows.append(*row);
    }
  }
  return result;
}

std::optional<SearchResult> parseSearchTable(const QByteArray& bytes) {
  QStringList lines;
  for (const QByteArray& line : fileLines(bytes)) lines.append(QString::fromUtf8(line));
  if (lines.isEmpty() || !lines.front().startsWith(QStringLiteral("Lista;Nr;")))
    return std::nullopt;
  SearchResult result;
  static const QRegularExpression group(QStringLiteral("^Tjocklek fack (.+) \\(m\\)$"));
  for (const QString& head : lines.front().split(QLatin1Char(';'))) {
    const QRegularExpressionMatch m = group.match(head);
    if (!m.hasMatch()) continue;
    const auto spans = parseSpans(m.captured(1), kStoreSpans);
    if (!spans) return std::nullopt;
    result.groups.append(*spans);
  }
  for (qsizetype k = 1; k < lines.size(); ++k) {
    if (lines[k].isEmpty()) continue;
    const QStringList f = lines[k].split(QLatin1Char(';'));
    auto row = parseTableRow(f, result.groups.size());
    if (!row) return std::nullopt;
    if (f[0] == QStringLiteral("Fallet")) {
      row->passes = row->worst <= 1.0;
      result.own = row;
    } else {
      result.rows.append(*row);
    }
  }
  return result;
}

std::optional<SearchResult> parseSearchFiles(const QByteArray& report, const QByteArray& table) {
  const std::optional<SearchResult> counts = parseSearchResult(report);
  std::optional<SearchResult> result = parseSearchTable(table);
  if (!counts || !result) return std::nullopt;
  result->tried = counts->tried;
  result->passing = counts->passing;
  return result;
}

void applySearchRow(CaseStore& store, const SearchResult& result, const SearchRow& row) {
  for (qsizetype g = 0; g < result.groups.size() && g < row.thickness.size(); ++g)
    for (int i : result.groups[g])
      if (i >= 1 && i <= kStoreSpans)
        store.ptjl[static_cast<size_t>(i)] = static_cast<float>(row.thickness[g]);
  store.btg = static_cast<qint16>(row.concrete);
  store.dok = static_cast<qint16>(row.bar);
  store.kavko = static_cast<qint16>(row.curtailment);
  if (row.props >= 0)
    for (int i = 1; i <= kStoreSpans; ++i)
      store.stamp[static_cast<size_t>(i)] = static_cast<qint16>(row.props);
  markEdited(store);
}

}  // namespace solvow
