// The engine and the front end against each other: for every case name the front end's reader
// takes, the report the front end looks for is the file the engine writes. Every byte value
// stands in the name at its start, in the middle, at the ninth place (the last one that names
// the report) and beyond it, and nine times over.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "case_file.h"
#include "case_store.h"
#include "engine.h"
#include "file_access.h"
#include "text_conv.h"

namespace solvow {
namespace {

namespace fs = std::filesystem;

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The default case with `name` as its first line.
QByteArray caseNamed(const QByteArray& name) {
  static const QByteArray def = readAll(QStringLiteral(SOLVO_DATA "/solvo.def"));
  return name + def.mid(def.indexOf('\n') + 1).prepend("\r\n");
}

std::vector<QByteArray> namesWith(char b) {
  const QByteArray one(1, b);
  return {one,
          one + "bc",
          "A" + one + "Z",
          "ABCDEFGH" + one + "Z",
          "ABCDEFGHI" + one,
          QByteArray(9, b) + "XY"};
}

// Entries of the folder other than the case file and the data files: the reports.
QStringList reports(const QDir& dir) {
  QStringList out;
  for (const QString& e : dir.entryList(QDir::Files | QDir::Hidden))
    if (e != u"~INDATA~.TMP" && e != u"MOMK.DAT" && e != u"MOMD.DAT" && e != u"AL.DAT" &&
        e != u"MOMENTBRAND.RES" &&
        e != QLatin1String(solvo::platform::kLockFile))  // the folder's lock, kept between runs
      out << e;
  return out;
}

// Scratch files where flushing to the disk costs nothing when the machine has such a place.
QString scratchRoot() {
  return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                            : QDir::tempPath();
}

TEST(ReportName, TheFrontEndFindsTheReportTheEngineWritesForEveryNameByte) {
  QTemporaryDir scratch(scratchRoot() + QStringLiteral("/solvo-names-XXXXXX"));
  ASSERT_TRUE(scratch.isValid());
  const QDir dir(scratch.path());
  const fs::path folder(QFile::encodeName(scratch.path()).toStdString());
  int accepted = 0;
  for (int b = 0; b < 256; ++b) {
    for (const QByteArray& name : namesWith(static_cast<char>(b))) {
      const QByteArray text = caseNamed(name);
      SCOPED_TRACE(std::string("byte ") + std::to_string(b) + " name \"" +
                   name.toPercentEncoding().toStdString() + "\"");
      CaseStore store;
      setDefaults(store);
      QString error;
      const bool read = readCaseBytes(text, QStringLiteral("N.IND"), store, &error);

      for (const auto& e : fs::directory_iterator(folder)) fs::remove(e.path());
      QFile exchange(inFolder(scratch.path(), QStringLiteral("~INDATA~.TMP")));
      ASSERT_TRUE(exchange.open(QIODevice::WriteOnly));
      exchange.write(text);
      exchange.close();
      std::ostringstream console, errors;
      const int status = solvo::run_solvowb(folder, console, errors);

      // Line breaks split the name: the two programs then read other lines, which both refuse.
      EXPECT_EQ(read, status == 0) << error.toStdString() << " / " << errors.str();
      if (!read || status != 0) continue;
      ++accepted;
      const QStringList written = reports(dir);
      ASSERT_EQ(written.size(), 1) << written.join(u' ').toStdString();
      const QString lookedFor =
          resolveExisting(inFolder(scratch.path(), reportFileName(store.baseName)));
      EXPECT_EQ(QFileInfo(lookedFor).fileName(), written.front())
          << reportFileName(store.baseName).toStdString();
      EXPECT_TRUE(QFileInfo(lookedFor).isFile());
    }
  }
  // Every byte but the line breaks, "/", "\", the other control characters and the five bytes
  // Windows-1252 leaves unused can name a case.
  EXPECT_GT(accepted, 6 * 200);
}

// A report written before the letters were matched in both code pages: the older engine named
// it with the case name's letters in UTF-8 as they stood, in lower case too. The front end holds
// the base name in upper case, finds it and reads it. (A name in a code page's bytes, not UTF-8,
// is matched all the same, but Qt cannot open a file whose name is not UTF-8.)
TEST(ReportName, AnOlderReportIsFoundWhateverTheCaseOfItsLetters) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  for (const char* onDisk : {"\xc3\xa5"
                             "bc.RES",
                             "\xc3\xa5"
                             "Bc.res",
                             "\xc3\x85"
                             "BC.Res"}) {
    SCOPED_TRACE(onDisk);
    const QString path = inFolder(scratch.path(), QString::fromUtf8(onDisk));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RAPPORT\r\n");
    f.close();

    CaseStore store;
    setDefaults(store);
    ASSERT_TRUE(readCaseBytes(caseNamed("\x86"
                                        "bc"),
                              QStringLiteral("ABC.IND"), store));
    EXPECT_EQ(store.baseName, QStringLiteral("ÅBC"));
    const QString found = resolveExisting(inFolder(scratch.path(), reportFileName(store.baseName)));
    EXPECT_EQ(found, path);
    FileTable files;
    const qint16 n = files.open(found, static_cast<int>(FileMode::Read), 0, {});
    ASSERT_NE(n, 0) << found.toStdString();
    EXPECT_EQ(files.file(n)->readAll(), QByteArray("RAPPORT\r\n"));
    files.close(n);
    QFile::remove(path);
  }
}

}  // namespace
}  // namespace solvow
