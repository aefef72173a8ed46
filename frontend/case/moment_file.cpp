#include "moment_file.h"

#include <QDir>
#include <algorithm>
#include <cmath>

#include "case_store.h"
#include "text_conv.h"

namespace solvow {

namespace {

constexpr int kValuesPerSpan = kCurvePoints + 1;  // the step and 21 moments

bool fail(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
  return false;
}

// n and two blocks from line `first` on (the line after n and whatever stands before the
// blocks).
bool parseBlocks(const QList<QByteArray>& lines, const QString& file, qsizetype first,
                 MomentCurves* read, QString* error) {
  const double count = textToNumber(lines.first());
  if (!std::isfinite(count) || count != std::floor(count) || count < 1 || count > kMaxSpans)
    return fail(error, QStringLiteral("Momentfilen %1 anger %2 fack; 1 till %3 fack kan ritas.")
                           .arg(file, QString::fromLatin1(lines.first().trimmed()))
                           .arg(kMaxSpans));
  const int n = static_cast<int>(count);
  const qsizetype needed = first + 2 * static_cast<qsizetype>(n) * kValuesPerSpan;
  if (lines.size() < needed)
    return fail(error, QStringLiteral("Momentfilen %1 är ofullständig: %2 fack kräver %3 rader, "
                                      "filen har %4.")
                           .arg(file)
                           .arg(n)
                           .arg(needed)
                           .arg(lines.size()));
  read->spans = n;
  qsizetype line = first;
  for (std::vector<SpanCurve>* block : {&read->maximum, &read->minimum}) {
    for (int i = 0; i < n; ++i) {
      SpanCurve span;
      span.step = textToNumber(lines[line++]);
      for (double& m : span.moment) m = textToNumber(lines[line++]);
      block->push_back(span);
    }
  }
  return true;
}

}  // namespace

bool parseMomentCurves(const QByteArray& bytes, MomentCurves* curves, QString* error) {
  const QString file = QString::fromLatin1(kMomentFile);
  const QList<QByteArray> lines = fileLines(bytes);
  if (lines.isEmpty()) return fail(error, QStringLiteral("Momentfilen %1 är tom !").arg(file));
  MomentCurves read;
  read.loadSet = 1;
  if (!parseBlocks(lines, file, 1, &read, error)) return false;
  *curves = std::move(read);
  return true;
}

bool parseDesignCurves(const QByteArray& bytes, MomentCurves* curves, QString* error) {
  const QString file = QString::fromLatin1(kDesignMomentFile);
  const QList<QByteArray> lines = fileLines(bytes);
  if (lines.isEmpty()) return fail(error, QStringLiteral("Momentfilen %1 är tom !").arg(file));
  const double set = lines.size() > 1 ? textToNumber(lines[1]) : 0.0;
  if (set != 1.0 && set != 2.0 && set != 3.0)
    return fail(error, QStringLiteral("Momentfilen %1 anger lastuppsättning %2; 1, 2 eller 3 "
                                      "kan ritas.")
                           .arg(file, lines.size() > 1 ? QString::fromLatin1(lines[1].trimmed())
                                                       : QStringLiteral("(ingen)")));
  MomentCurves read;
  read.loadSet = static_cast<int>(set);
  if (!parseBlocks(lines, file, 2, &read, error)) return false;
  *curves = std::move(read);
  return true;
}

QString momentFilePath(const QString& workingFolder, const char* name) {
  return workingFolder.isEmpty() ? QString::fromLatin1(name)
                                 : QDir(workingFolder).filePath(QString::fromLatin1(name));
}

bool readDesignMomentFile(FileTable& files, const DiskDialogue& dialogue,
                          const QString& workingFolder, MomentCurves* curves, QString* error) {
  const qint16 number = files.open(momentFilePath(workingFolder, kDesignMomentFile),
                                   static_cast<int>(FileMode::Read), 0, dialogue);
  if (number == 0)
    return fail(
        error,
        QStringLiteral("Momentfilen %1 saknas !").arg(QString::fromLatin1(kDesignMomentFile)));
  QFile* file = files.file(number);
  const QByteArray bytes = file != nullptr ? file->readAll() : QByteArray();
  files.close(number);
  return parseDesignCurves(bytes, curves, error);
}

QString loadSetTitle(int loadSet) {
  const QString expression = loadSet == 2   ? QStringLiteral("6.10b")
                             : loadSet == 3 ? QStringLiteral("6.10a och b")
                                            : QStringLiteral("6.10a");
  return QStringLiteral("Moment enl. ekv. %1, kNm/m").arg(expression);
}

double largestMoment(const MomentCurves& curves) {
  double largest = 0.0;
  for (const auto* block : {&curves.maximum, &curves.minimum})
    for (const SpanCurve& span : *block)
      for (double m : span.moment) largest = std::max(largest, std::abs(m));
  return largest;
}

MomentExtremes momentExtremes(const MomentCurves& curves) {
  MomentExtremes extremes;
  for (const SpanCurve& span : curves.maximum)
    for (int p = 1; p < kCurvePoints - 1; ++p)
      extremes.sagging = std::max(extremes.sagging, span.moment[static_cast<size_t>(p)]);
  for (const SpanCurve& span : curves.minimum)
    extremes.hogging = std::min({extremes.hogging, span.moment.front(), span.moment.back()});
  return extremes;
}

}  // namespace solvow
