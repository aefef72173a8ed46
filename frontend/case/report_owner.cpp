#include "report_owner.h"

#include "file_access.h"
#include "text_conv.h"

namespace solvow {
namespace {

QString trimmedRight(QString text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return text;
}

// The text as a file in the code page holds it and a report shows it again.
QString asFileHolds(const QString& text) { return fromWindows1252(toWindows1252(text)); }

// The header of a case's report: one with its title block.
std::optional<ReportHeader> caseHeader(const QStringList& lines) {
  std::optional<ReportHeader> header = reportHeader(lines);
  if (header && !header->titled) return std::nullopt;
  return header;
}

}  // namespace

ReportHeader expectedHeader(const CaseStore& store) {
  ReportHeader header;
  header.caseName = trimmedRight(asFileHolds(store.baseName).left(kReportNameShown));
  header.heading = trimmedRight(asFileHolds(store.rubrik).left(kReportHeadingWidth));
  return header;
}

bool reportIsOfCase(const QStringList& lines, const CaseStore& store) {
  const std::optional<ReportHeader> found = caseHeader(lines);
  if (!found) return false;
  const ReportHeader wanted = expectedHeader(store);
  return found->caseName.left(kReportNameShown).compare(wanted.caseName, Qt::CaseInsensitive) ==
             0 &&
         trimmedRight(found->heading.left(kReportHeadingWidth)) == wanted.heading;
}

QString staleExportRefusal() {
  return QStringLiteral(
      "Resultatet gäller inte aktuella indata: fallet har ändrats sedan "
      "beräkningen. Kör beräkningen igen innan resultatet skrivs ut eller "
      "sparas som PDF.");
}

QString notThisCaseMessage(const CaseStore& store, const QStringList& lines) {
  const QString file = reportFileName(store.baseName);
  const std::optional<ReportHeader> found = caseHeader(lines);
  if (!found)
    return QStringLiteral(
               "Det finns inget giltigt resultat för fallet %1: %2 är inte "
               "resultatet av en beräkning av ett fall.")
        .arg(store.baseName, file);
  return QStringLiteral(
             "Det finns inget giltigt resultat för fallet %1: %2 hör till fallet "
             "%3 \"%4\". Kör beräkningen för detta fall.")
      .arg(store.baseName, file, found->caseName, found->heading);
}

}  // namespace solvow
