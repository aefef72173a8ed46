// Text and number conversions shared by every part of the front end.
//
// Numbers typed into a field or read from a file all go through textToNumber, whatever the
// user's locale. Numbers shown in a field go through formatNumber with a display pattern; the
// design-case file writes its columns with the same patterns but always with a point.
//
// The design-case file keeps its two text lines (case name and heading) in the DOS code page
// for the six Swedish letters and in Windows-1252 for everything else.
#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

namespace solvow {

// The number at the start of `text`: the first "," counts as a decimal point; then an optional
// sign, digits with an optional point, and an optional exponent ("E" or "e", optional sign,
// digits). Blanks, tabs and line feeds are skipped wherever they stand in the number; anything
// after it is ignored. Text without a leading number, and a number too large for a double,
// give 0.  "2,5" -> 2.5, "12 kN" -> 12, "1 000" -> 1000, "1,2,3" -> 1.2, "abc" -> 0.
double textToNumber(QStringView text);
double textToNumber(const QByteArray& text);

// The number a field's text holds when the text is a number and nothing else: blanks, tabs and
// line feeds anywhere aside, an optional sign, digits with at most one decimal point or comma,
// and an optional exponent; its value is textToNumber's. Nothing for an empty text, a text with
// anything else in it ("abc", "12 kN", "1,2,3") and a number too large for a double.
std::optional<double> fieldNumber(QStringView text);

// The lines of a file's bytes, each without its line end (LF, or CR LF; a CR that ends an
// unended last line goes too), and no empty line after the last line end. `unended`, when
// given, tells whether the last line lacks its line end. "a\r\nb\n" -> {"a", "b"}.
QList<QByteArray> fileLines(const QByteArray& bytes, bool* unended = nullptr);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// The value a whole-number field stores: v rounded halves-to-even, or nothing when that does
// not fit a 16-bit integer.
std::optional<qint16> toInt16(double v);

// v shown in a display pattern: "#" is an optional digit, "0" a digit always shown, "." the
// decimal point, "," in the whole part groups thousands. Patterns used: "#0", "####", "##0",
// "#0.00", "##0.00", "0.000", "#0.000", "##0.000", "##,##0.00". The shown digits are rounded
// half away from zero on the value's 15-digit decimal form, so 5.555 shows as 5.56. A pattern
// without a "0" in its whole part shows no whole digits for a value below 1 ("####" of 0 is
// empty). The decimal point and group separator come from `locale`, by default the program's
// default locale, which is the system locale unless a test or the program sets another; the
// minus sign is "-".
QString formatNumber(double v, QStringView pattern, const QLocale& locale = QLocale());

// As formatNumber with a point as decimal point and "," as group separator, whatever the
// locale: the form that goes into the design-case file.
QByteArray formatNumberC(double v, QStringView pattern);

// The shortest plain decimal text with a point that reads back to the same float
// (1.5f -> "1.5", 0.0f -> "0", 1.005f -> "1.005"). Used for the free-form reals of the file.
QByteArray plainNumber(float v);

// Windows-1252 <-> text. Encoding writes "?" for a character the code page cannot hold.
// The five bytes the code page leaves unused are the control characters of the same value.
QByteArray toWindows1252(QStringView text);
QString fromWindows1252(const QByteArray& bytes);

// Upper case one character for one, within the letters of Windows-1252 (ß and µ, which
// have no capital there, stay): the base name of a case, as the engine's report name is
// matched against it.
QString upperCase(QStringView text);

// The six Swedish letters between the Windows code page and the DOS code page:
// Å 197/143, Ä 196/142, Ö 214/153, å 229/134, ä 228/132, ö 246/148.
// windowsToDos and dosToWindows convert the first occurrence of each letter only, in the order
// Å Ä Ö å ä ö; applied again to a text that holds the converted part they convert the next
// occurrence. dosToWindowsAll converts every occurrence.
QByteArray windowsToDos(QByteArray bytes);
QByteArray dosToWindows(QByteArray bytes);
QByteArray dosToWindowsAll(QByteArray bytes);

}  // namespace solvow
