// Fuzz target: the front end's design-case reader on any bytes. Besides the sanitizers'
// reports:
//  - a file that is refused leaves the case as it was, and says why;
//  - a file that is read gives a case that can be saved, to a file that reads back to the same case
//    (the second save writes the same bytes as the first), so no case read is lost on saving.
//    (See below for the characters that share a byte with a DOS letter.)
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "case_file.h"
#include "case_store.h"
#include "start_case.h"

namespace {

[[noreturn]] void fail(const char* what, const QString& detail = QString()) {
  std::fprintf(stderr, "fuzz_case_reader: %s: %s\n", what, detail.toUtf8().constData());
  std::abort();
}

// The case as the file writer sees it; a store whose codes it refuses gives nothing.
std::optional<QByteArray> saved(const solvow::CaseStore& store) {
  return solvow::caseFileBytes(store);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  static const solvow::CaseStore kStart = startCase();
  static const std::optional<QByteArray> kStartBytes = saved(kStart);
  if (!kStartBytes) fail("the starting case cannot be saved");

  solvow::CaseStore store = kStart;
  QString error;
  if (!solvow::readCaseBytes(bytes, QStringLiteral("FUZZ.IND"), store, &error)) {
    if (error.isEmpty()) fail("a file refused without a message");
    const std::optional<QByteArray> after = saved(store);
    if (!after || *after != *kStartBytes) fail("a refused file changed the case", error);
    return 0;
  }

  // Windows-1252 has characters on the bytes the file uses for the DOS letters (Ž is Ä's byte,
  // ™ Ö's, and so on); the file cannot tell them apart, so a text holding one reads back as the
  // letter. Those characters are left out of the comparison.
  for (QString* text : {&store.baseName, &store.rubrik})
    for (const char16_t c : {u'\u201E', u'\u2020', u'\u017D', u'\u201D', u'\u2122', u'\u008F'})
      text->replace(QChar(c), QLatin1Char('?'));
  const std::optional<QByteArray> first = saved(store);
  if (!first) fail("a case read cannot be saved");
  solvow::CaseStore again = kStart;
  QString error2;
  if (!solvow::readCaseBytes(*first, QStringLiteral("SAVED.IND"), again, &error2))
    fail("a saved case cannot be read back", error2);
  const std::optional<QByteArray> second = saved(again);
  if (!second || *second != *first)
    fail("a saved case reads back as another case",
         QString::fromLatin1(first->toPercentEncoding(" \r\n.-")) + QStringLiteral("\n----\n") +
             QString::fromLatin1(second ? second->toPercentEncoding(" \r\n.-") : QByteArray()));
  return 0;
}
