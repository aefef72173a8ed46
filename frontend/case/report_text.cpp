#include "report_text.h"

#include <QDir>
#include <algorithm>

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
  return QStringLiteral(
      "Fallet har ändrats sedan detta resultat beräknades. Kör beräkningen "
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
  for (const QByteArray& line : fileLines(bytes))
    lines.append(fromWindows1252(dosToWindowsAll(line)));
  return lines;
}

bool readReportLines(FileTable& files, const QString& path, const DiskDialogue& dialogue,
                     QStringList* lines) {
  const qint16 number = files.open(path, static_cast<int>(FileMode::Read), 0, dialogue);
  if (number == 0) return false;
  *lines = reportLines(readAllFrom(files, number));
  return true;
}

bool isPageMark(QStringView line) {
  if (!line.startsWith(u'^')) return false;
  for (QChar c : line.mid(1))
    if (c != u' ') return false;
  return true;
}

QString reportViewerText(const QStringList& lines) {
  QString text;
  for (const QString& line : lines)
    if (!isPageMark(line)) text += QStringLiteral("\r\n") + line;
  return text;
}

QList<QStringList> reportPages(const QStringList& lines) {
  QList<QStringList> pages;
  QStringList page;
  const auto endPage = [&pages, &page] {
    if (!page.isEmpty()) pages.append(page);
    page.clear();
  };
  for (const QString& line : lines) {
    if (isPageMark(line)) {
      endPage();
      continue;
    }
    page.append(line);
    if (page.size() == kLinesPerPage) endPage();
  }
  endPage();
  return pages;
}

namespace {

constexpr qsizetype kHeaderReach = 10;

// The text after `label` on `line` when the line holds it after blanks only.
std::optional<QString> labelled(const QString& line, QStringView label) {
  const QString body = line.trimmed();
  if (!body.startsWith(label)) return std::nullopt;
  return body.mid(label.size()).trimmed();
}

std::optional<QString> headingAfterTitle(const QStringList& lines, qsizetype from) {
  const qsizetype end = std::min<qsizetype>(lines.size() - 2, from + kHeaderReach);
  for (qsizetype k = from; k < end; ++k) {
    if (isPageMark(lines[k])) break;
    if (lines[k].trimmed() == u"INDATA" && lines[k + 1].trimmed() == u"------") {
      QString heading = lines[k + 2].mid(5);
      while (heading.endsWith(u' ')) heading.chop(1);
      return heading;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<ReportHeader> reportHeader(const QStringList& lines) {
  const qsizetype reach = std::min<qsizetype>(lines.size(), kHeaderReach);
  for (qsizetype k = 0; k < reach; ++k) {
    if (isPageMark(lines[k])) break;
    const std::optional<QString> name = labelled(lines[k], u"INDATAFIL : ");
    if (!name) continue;
    ReportHeader header;
    header.caseName = *name;
    if (k + 1 < lines.size()) header.date = labelled(lines[k + 1], u"DATUM : ").value_or(QString());
    if (k + 2 < lines.size()) header.time = labelled(lines[k + 2], u"TID   : ").value_or(QString());
    const std::optional<QString> heading = headingAfterTitle(lines, k + 3);
    header.heading = heading.value_or(QString());
    header.titled = heading.has_value();
    return header;
  }
  return std::nullopt;
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
