#include "run_gate.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <string>

#include "case_file.h"
#include "file_access.h"
#include "file_names.h"
#include "run_checks.h"

namespace solvow {
namespace {

// The case as its file holds it now; nothing when the file cannot be opened (the run then
// says that the report is missing, as it always has) or read: then `error` says why, in the
// reader's words (a file changed outside the program, with a value the form never saves).
std::optional<CaseStore> savedCase(const CaseStore& store, QString* error = nullptr) {
  CaseStore saved;
  setDefaults(saved);
  QFile file(resolveExisting(inFolder(store.folder, store.fileName)));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  if (!readCaseBytes(file.readAll(), file.fileName(), saved, error)) return std::nullopt;
  saved.baseName = store.baseName;
  saved.fileName = store.fileName;
  saved.folder = store.folder;
  return saved;
}

// The first line of a file, without its line end.
QByteArray firstLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray line = file.readLine(4096);
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  return line;
}

void addChecks(const CaseCheck& check, GateVerdict& verdict, QStringList& errors) {
  errors << check.errors;
  verdict.warnings << check.warnings;
}

// The case with the spans of every group at the thickness `pick` gives, and top bar `bar`.
CaseStore atRangeEnd(const CaseStore& saved, const SearchRanges& ranges, qint16 bar,
                     double (*pick)(const ThicknessRange&)) {
  CaseStore design = saved;
  for (const ThicknessRange& g : ranges.groups)
    for (int i : g.spans)
      if (i >= 1 && i <= kStoreSpans)
        design.ptjl[static_cast<size_t>(i)] = static_cast<float>(pick(g));
  design.dok = bar;
  return design;
}

}  // namespace

QString rei120Note() { return QStringLiteral("OBS! REI 120 dimensioneras inte; REI 90 redovisas"); }

QString lineLoadProblem(const CaseStore& store) {
  const int count = std::clamp<int>(store.nllast, 0, kLineLoads);
  for (int k = 1; k <= count; ++k) {
    const int span = store.lineLoads[static_cast<size_t>(k)].llfnr;
    if (span < 1 || span > store.nfack)
      return QStringLiteral(
                 "Linjelast %1 ligger i fack %2, men bjälklaget har %3 fack. "
                 "Rätta fack nr och spara innan beräkningen körs.")
          .arg(k)
          .arg(span)
          .arg(store.nfack);
  }
  return {};
}

QStringList casesSharingReport(const CaseStore& store, const QString& folder) {
  const std::string own = reportFileName(store.baseName).toStdString();
  const QString ownFile = resolveExisting(inFolder(store.folder, store.fileName));
  QStringList others;
  const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
  const QStringList entries = dir.entryList({QStringLiteral("*.ind")}, QDir::Files, QDir::Name);
  for (const QString& name : entries) {
    const QString path = dir.filePath(name);
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(ownFile).canonicalFilePath()) continue;
    const QByteArray line = firstLine(path);
    if (line.trimmed().isEmpty()) continue;
    const std::string theirs =
        solvo::platform::report_file_name(std::string_view(line.constData(), line.size()));
    if (solvo::platform::same_file_name(own, theirs)) others << name;
  }
  return others;
}

QString sharedReportNote(const CaseStore& store, const QStringList& others) {
  return QStringLiteral(
             "Fallet %1 (%2) och %3 skriver samma resultatfil %4: den ena "
             "beräkningen ersätter den andras resultat. Ge fallen namn som skiljer "
             "sig inom de första åtta tecknen.")
      .arg(store.baseName, store.fileName, others.join(QStringLiteral(", ")),
           reportFileName(store.baseName));
}

GateVerdict gateSavedCase(const CaseStore& store) {
  GateVerdict verdict;
  if (!store.named || store.changed) {
    verdict.refusal = QStringLiteral("Du måste spara Filen först !");
    return verdict;
  }
  if (const QString problem = lineLoadProblem(store); !problem.isEmpty()) {
    verdict.refusal = problem;
    return verdict;
  }
  QString unreadable;
  const std::optional<CaseStore> saved = savedCase(store, &unreadable);
  if (!unreadable.isEmpty()) {
    verdict.refusal = unreadable;
    return verdict;
  }
  if (saved) {
    const CaseCheck check = checkCase(*saved);
    if (!check.errors.isEmpty()) {
      verdict.refusal = refusalMessage(check);
      return verdict;
    }
    verdict.warnings = check.warnings;
    if (saved->brandb == kFireOptionRei120) verdict.notes << rei120Note();
  }
  if (const QStringList others = casesSharingReport(store, store.folder); !others.isEmpty())
    verdict.notes << sharedReportNote(store, others);
  return verdict;
}

GateVerdict gateSearch(const CaseStore& store, const SearchRanges& ranges) {
  GateVerdict verdict = gateSavedCase(store);
  const std::optional<CaseStore> saved = savedCase(store);
  if (!verdict.mayStart() || !saved) return verdict;
  const qint16 largestBar =
      ranges.bars.isEmpty()
          ? saved->dok
          : static_cast<qint16>(*std::max_element(ranges.bars.begin(), ranges.bars.end()));
  const qint16 smallestBar =
      ranges.bars.isEmpty()
          ? saved->dok
          : static_cast<qint16>(*std::min_element(ranges.bars.begin(), ranges.bars.end()));
  QStringList errors;
  addChecks(checkCase(atRangeEnd(*saved, ranges, largestBar,
                                 [](const ThicknessRange& g) { return g.from; })),
            verdict, errors);
  addChecks(checkCase(atRangeEnd(*saved, ranges, smallestBar,
                                 [](const ThicknessRange& g) { return g.to; })),
            verdict, errors);
  errors.removeDuplicates();
  verdict.warnings.removeDuplicates();
  if (!errors.isEmpty()) {
    CaseCheck refused;
    refused.errors = errors;
    verdict.refusal = refusalMessage(refused);
  }
  return verdict;
}

QString gateQuestion(const GateVerdict& verdict) {
  QStringList parts = verdict.notes;
  if (!verdict.warnings.isEmpty()) {
    CaseCheck check;
    check.warnings = verdict.warnings;
    parts << warningMessage(check);
  } else {
    parts << QStringLiteral("Köra beräkningen ändå?");
  }
  return parts.join(QStringLiteral("\n\n"));
}

}  // namespace solvow
