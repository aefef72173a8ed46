// Fuzz target: the files the front end reads back after a run, the report and the moment
// files, and the number a field's text holds. Besides the sanitizers' reports:
//  - the printed pages hold every line of the report but the page marks, in order, none of
//    them empty and none longer than 70 lines;
//  - the viewer text has one line end before every line but the page marks;
//  - a moment file that is read has 1 to 10 spans, both blocks complete and a known load set;
//  - a field's number, when the text is one, is the number the text-to-number rule reads.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "case_store.h"
#include "moment_file.h"
#include "report_text.h"
#include "text_conv.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_result_files: %s\n", what);
  std::abort();
}

void checkReport(const QByteArray& bytes) {
  const QStringList lines = solvow::reportLines(bytes);
  const QList<QStringList> pages = solvow::reportPages(lines);
  QStringList printed;
  for (const QStringList& page : pages) {
    if (page.isEmpty()) fail("an empty page");
    if (page.size() > solvow::kLinesPerPage) fail("a page of more than 70 lines");
    for (const QString& line : page)
      if (solvow::isPageMark(line)) fail("a page mark printed");
    printed += page;
  }
  QStringList want;
  for (const QString& line : lines)
    if (!solvow::isPageMark(line)) want << line;
  if (printed != want) fail("the pages do not hold the report's lines");
  const QString text = solvow::reportViewerText(lines);
  if (text.count(QStringLiteral("\r\n")) != want.size()) fail("the viewer text lost a line");
  (void)solvow::reportHeader(lines);
}

void checkCurves(bool read, const solvow::MomentCurves& c) {
  if (!read) return;
  if (c.spans < 1 || c.spans > solvow::kMaxSpans) fail("a moment file of impossible spans");
  if (c.maximum.size() != static_cast<size_t>(c.spans) ||
      c.minimum.size() != static_cast<size_t>(c.spans))
    fail("a moment file with an incomplete block");
  if (c.loadSet < 1 || c.loadSet > 3) fail("a moment file of an unknown load set");
  const solvow::MomentExtremes e = solvow::momentExtremes(c);
  if (e.sagging < 0.0 || e.hogging > 0.0) fail("extremes of the wrong sign");
}

void checkFieldNumber(const QByteArray& bytes) {
  const QString text = QString::fromLatin1(bytes.left(64));
  const std::optional<double> v = solvow::fieldNumber(text);
  if (!v) return;
  if (!std::isfinite(*v)) fail("a field number that is not finite");
  if (*v != solvow::textToNumber(QStringView(text)))
    fail("a field number the rule reads otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  checkReport(bytes);
  solvow::MomentCurves curves;
  checkCurves(solvow::parseMomentCurves(bytes, &curves, nullptr), curves);
  solvow::MomentCurves design;
  checkCurves(solvow::parseDesignCurves(bytes, &design, nullptr), design);
  checkFieldNumber(bytes);
  return 0;
}
