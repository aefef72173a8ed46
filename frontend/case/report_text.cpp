#include "report_text.h"

#include <QDir>

#include "startup_files.h"
#include "text_conv.h"

namespace solvow {

namespace {

QString joinFolder(const QString& folder, const QString& name) { return inFolder(folder, name); }

QByteArray readAllFrom(FileTable& files, qint16 number) {
  QFile* file = files.file(number);
  QByteArray bytes = file != nullptr ? file->readAll() : QByteArray();
  files.close(number);
  return bytes;
}

}  // namespace

QString staleResultLine() {
  return QStringLiteral("Fallet har ändrats sedan detta resultat beräknades. Kör beräkningen "
                        "igen för ett resultat som gäller fallet.");
}

QString staleCaption(const QString& caption) {
  return caption + QStringLiteral(" - fallet har ändrats sedan beräkningen");
}

QString missingReportMessage(const QString& baseName) {
  return QStringLiteral("Resultatfil till ") + baseName + QStringLiteral(".IND") +
         QStringLiteral(" saknas !");
}

QStringList reportLines(const QByteArray& bytes) {
  QStringList lines;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    const bool last = end < 0;
    if (last) end = bytes.size();
    QByteArray line = bytes.mid(start, end - start);
    if (line.endsWith('\r')) line.chop(1);
    lines.append(fromWindows1252(dosToWindowsAll(line)));
    start = end + 1;
  }
  return lines;
}

bool readReportLines(FileTable& files, const QString& path, const DiskDialogue& dialogue,
                     QStringList* lines) {
  const qint16 number = files.open(path, static_cast<int>(FileMode::Read), 0, dialogue);
  if (number == 0) return false;
  *lines = reportLines(readAllFrom(files, number));
  return true;
}

QString reportViewerText(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += QStringLiteral("\r\n") + line;
  return text;
}

QList<QStringList> reportPages(const QStringList& lines) {
  QList<QStringList> pages;
  QStringList page;
  for (const QString& line : lines) {
    page.append(line);
    if (page.size() == kLinesPerPage || line.contains(u'^')) {
      pages.append(page);
      page.clear();
    }
  }
  if (!page.isEmpty()) pages.append(page);
  return pages;
}

bool writeFontSetting(FileTable& files, const QString& folder, const QString& fontName,
                      const DiskDialogue& dialogue) {
  const QString path = joinFolder(folder, QString::fromLatin1(kFontFile));
  removeResolved(path);  // also a solvfnt.ini spelt in other case
  const qint16 number = files.open(path, static_cast<int>(FileMode::Write), 0, dialogue);
  if (number == 0) return false;
  QFile* file = files.file(number);
  const QByteArray line = toWindows1252(fontName) + "\r\n";
  const bool ok = file != nullptr && file->write(line) == line.size() && file->flush();
  files.close(number);
  return ok;
}

}  // namespace solvow
