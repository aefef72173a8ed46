#include "search_table.h"

#include <QStringList>
#include <cmath>
#include <limits>

#include "text_conv.h"

namespace solvow {
namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

enum class Column { Status, Field, Ignored };

struct Head {
  Column kind = Column::Ignored;
  SearchField field = SearchField::Check;
};

// A heading reduced to its plain letters: lower case, å ä → a, ö → o, no blanks or marks.
QString plain(const QString& text) {
  QString out;
  for (QChar c : text.toLower()) {
    if (c == u'å' || c == u'ä') c = u'a';
    if (c == u'ö') c = u'o';
    if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) out += c;
  }
  return out;
}

Head headOf(const QString& text) {
  const QString h = plain(text);
  struct Name {
    const char* prefix;
    bool exact;
    Column kind;
    SearchField field;
  };
  static const Name names[] = {
      {"status", false, Column::Status, SearchField::Check},
      {"godkand", false, Column::Status, SearchField::Check},
      {"lista", true, Column::Status, SearchField::Check},
      {"tjocklek", false, Column::Field, SearchField::Thickness},
      {"betongvolym", false, Column::Field, SearchField::Volume},
      {"betongm3", false, Column::Field, SearchField::Volume},
      {"betong", true, Column::Field, SearchField::Concrete},
      {"betongkvalitet", true, Column::Field, SearchField::Concrete},
      {"diam", false, Column::Field, SearchField::Bar},
      {"avk", false, Column::Field, SearchField::Curtailment},
      {"stamp", false, Column::Field, SearchField::Props},
      {"s", true, Column::Field, SearchField::Spacing},
      {"smm", true, Column::Field, SearchField::Spacing},
      {"stalover", false, Column::Field, SearchField::SteelTop},
      {"stalok", false, Column::Field, SearchField::SteelTop},
      {"stalfalt", false, Column::Field, SearchField::SteelBottom},
      {"staluk", false, Column::Field, SearchField::SteelBottom},
      {"kostnad", false, Column::Field, SearchField::Cost},
      {"maxny", false, Column::Field, SearchField::Worst},
      {"kontroll", false, Column::Field, SearchField::Check},
  };
  for (const Name& n : names) {
    const QString p = QString::fromLatin1(n.prefix);
    if (n.exact ? h == p : h.startsWith(p)) return {n.kind, n.field};
  }
  return {};
}

// Why a field holds no number, or empty when it holds one.
QString missingReason(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty() || t == QStringLiteral("-") || t == QStringLiteral("–"))
    return QStringLiteral("sökningen gav inget tal (ingen lösning eller för stort för fältet)");
  if (t.startsWith(u'*') || t.compare(QStringLiteral("inf"), Qt::CaseInsensitive) == 0 ||
      t.compare(QStringLiteral("+inf"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("för stort för fältet (ingen lösning)");
  if (t.compare(QStringLiteral("nan"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("kunde inte beräknas");
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return QStringLiteral("inte ett tal: ") + t;
  return {};
}

// The number of `text`, NaN with the reason in `row.missing` when it holds none.
double numberOf(const QString& text, SearchField field, SearchTableRow& row) {
  const QString reason = missingReason(text);
  if (!reason.isEmpty()) {
    row.missing.insert(field, reason);
    return kMissing;
  }
  return text.trimmed().toDouble();
}

void setThickness(const QString& text, SearchTableRow& out) {
  const QString t = text.trimmed();
  if (t == QStringLiteral("-")) return;  // the case's own thicknesses
  for (const QString& part : t.split(u'/')) {
    out.row.thickness.append(numberOf(part, SearchField::Thickness, out));
  }
}

void setField(SearchField field, const QString& text, SearchTableRow& out) {
  SearchRow& r = out.row;
  const QString t = text.trimmed();
  switch (field) {
    case SearchField::Thickness:
      setThickness(t, out);
      break;
    case SearchField::Concrete:
      r.concrete = concreteCodeOf(t);
      break;
    case SearchField::Bar:
      r.bar = barCodeOf(t.toInt());
      break;
    case SearchField::Curtailment: {
      const QString p = plain(t);
      r.curtailment = p == QStringLiteral("pa") || p == QStringLiteral("on") ||
                              p == QStringLiteral("med") || p == QStringLiteral("1")
                          ? 1
                          : 0;
      break;
    }
    case SearchField::Props:
      r.props = t == QStringLiteral("-") || t.isEmpty() ? -1 : t.toInt();
      break;
    case SearchField::Spacing: {
      const double s = numberOf(t, field, out);
      r.spacing = std::isfinite(s) ? static_cast<int>(s) : 0;
      break;
    }
    case SearchField::Volume:
      r.concreteVolume = numberOf(t, field, out);
      break;
    case SearchField::SteelTop:
      r.steelTop = numberOf(t, field, out);
      break;
    case SearchField::SteelBottom:
      r.steelBottom = numberOf(t, field, out);
      break;
    case SearchField::Cost:
      r.cost = numberOf(t, field, out);
      break;
    case SearchField::Worst:
      r.worst = numberOf(t, field, out);
      break;
    case SearchField::Check:
      r.check = t;
      break;
  }
}

// What a status field says: 1 passes, 0 rejected, 2 the case itself.
int statusOf(const QString& text) {
  const QString p = plain(text);
  if (p.startsWith(QStringLiteral("fall")) || p.startsWith(QStringLiteral("egen"))) return 2;
  if (p.startsWith(QStringLiteral("godk")) || p == QStringLiteral("ja") || p == QStringLiteral("1"))
    return 1;
  return 0;
}

QStringList splitLines(const QByteArray& bytes) {
  QStringList lines;
  for (const QByteArray& line : fileLines(bytes)) lines.append(QString::fromUtf8(line));
  if (!lines.isEmpty() && lines.front().startsWith(QChar(0xFEFF))) lines.front().remove(0, 1);
  while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

std::optional<SearchTable> readSearchTable(const QByteArray& bytes, QString* error) {
  auto refuse = [error](const QString& why) -> std::optional<SearchTable> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  const QStringList lines = splitLines(bytes);
  if (lines.isEmpty()) return refuse(QStringLiteral("tabellen är tom"));
  QList<Head> heads;
  bool hasStatus = false;
  QList<SearchField> named;
  for (const QString& h : lines.front().split(u';')) {
    heads.append(headOf(h));
    if (heads.back().kind == Column::Status) hasStatus = true;
    if (heads.back().kind == Column::Field) named.append(heads.back().field);
  }
  for (SearchField needed :
       {SearchField::Thickness, SearchField::Concrete, SearchField::Bar, SearchField::Worst})
    if (!named.contains(needed)) return refuse(QStringLiteral("rubrikraden saknar en kolumn"));
  SearchTable table;
  for (qsizetype k = 1; k < lines.size(); ++k) {
    const QStringList fields = lines[k].split(u';');
    if (fields.size() < heads.size())
      return refuse(QStringLiteral("rad %1 har %2 fält, rubrikraden %3")
                        .arg(k + 1)
                        .arg(fields.size())
                        .arg(heads.size()));
    SearchTableRow out;
    int status = hasStatus ? 0 : 1;
    for (qsizetype c = 0; c < heads.size(); ++c) {
      if (heads[c].kind == Column::Status) status = statusOf(fields[c]);
      if (heads[c].kind == Column::Field) setField(heads[c].field, fields[c], out);
    }
    const bool withinOne = std::isfinite(out.row.worst) && out.row.worst <= 1.0;
    out.row.passes = withinOne && status != 0 && out.row.concrete >= 1 && out.row.bar >= 1;
    if (status == 2) {
      out.own = true;
      table.own = out;
    } else {
      table.rows.append(out);
    }
  }
  return table;
}

}  // namespace solvow
