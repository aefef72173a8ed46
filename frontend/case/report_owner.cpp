#include "report_owner.h"

#include "file_access.h"
#include "text_conv.h"

namespace solvow {
namespace {

const QString kNameLabel = QStringLiteral("INDATAFIL : ");
constexpr int kNameColumn = 56;  // blanks before the label
constexpr int kHeadingColumn = 5;
constexpr int kHeaderLines = 12;  // the header and the heading lie within these

QString trimmedRight(QString text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return text;
}

// The text as a file in the code page holds it and a report shows it again.
QString asFileHolds(const QString& text) { return fromWindows1252(toWindows1252(text)); }

}  // namespace

std::optional<ReportHeader> reportHeader(const QStringList& lines) {
  const QString namePrefix = QString(kNameColumn, u' ') + kNameLabel;
  int nameLine = -1;
  for (int k = 0; k < lines.size() && k < kHeaderLines && nameLine < 0; ++k)
    if (lines[k].startsWith(namePrefix)) nameLine = k;
  if (nameLine < 0) return std::nullopt;
  for (int k = nameLine + 1; k + 2 < lines.size() && k < kHeaderLines; ++k) {
    if (lines[k].trimmed() != QStringLiteral("INDATA") ||
        !lines[k + 1].trimmed().startsWith(QStringLiteral("------")))
      continue;
    ReportHeader header;
    header.caseName = trimmedRight(lines[nameLine].mid(namePrefix.size(), kReportNameShown));
    header.heading = trimmedRight(lines[k + 2].mid(kHeadingColumn, kReportHeadingWidth));
    return header;
  }
  return std::nullopt;
}

ReportHeader expectedHeader(const CaseStore& store) {
  ReportHeader header;
  header.caseName = trimmedRight(asFileHolds(store.baseName).left(kReportNameShown));
  header.heading = trimmedRight(asFileHolds(store.rubrik).left(kReportHeadingWidth));
  return header;
}

bool reportIsOfCase(const QStringList& lines, const CaseStore& store) {
  const std::optional<ReportHeader> found = reportHeader(lines);
  if (!found) return false;
  const ReportHeader wanted = expectedHeader(store);
  return found->caseName.compare(wanted.caseName, Qt::CaseInsensitive) == 0 &&
         found->heading == wanted.heading;
}

QString staleExportRefusal() {
  return QStringLiteral("Resultatet gäller inte aktuella indata: fallet har ändrats sedan "
                        "beräkningen. Kör beräkningen igen innan resultatet skrivs ut eller "
                        "sparas som PDF.");
}

QString notThisCaseMessage(const CaseStore& store, const QStringList& lines) {
  const QString file = reportFileName(store.baseName);
  const std::optional<ReportHeader> found = reportHeader(lines);
  if (!found)
    return QStringLiteral("Det finns inget giltigt resultat för fallet %1: %2 är inte "
                          "resultatet av en beräkning av ett fall.")
        .arg(store.baseName, file);
  return QStringLiteral("Det finns inget giltigt resultat för fallet %1: %2 hör till fallet "
                        "%3 \"%4\". Kör beräkningen för detta fall.")
      .arg(store.baseName, file, found->caseName, found->heading);
}

}  // namespace solvow
