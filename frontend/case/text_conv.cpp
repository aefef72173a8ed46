#include "text_conv.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "code_page.h"

namespace solvow {
namespace {

bool isSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Scans the leading number of `text` into plain ASCII for from_chars. `comma` is the position
// of the first comma, which reads as a point.
double scanNumber(QStringView text, qsizetype size, qsizetype comma) {
  auto at = [&](qsizetype i) -> char16_t { return i == comma ? u'.' : text[i].unicode(); };
  qsizetype i = 0;
  auto skip = [&] {
    while (i < size && isSkipped(at(i))) ++i;
  };
  std::string clean;
  skip();
  if (i < size && (at(i) == u'+' || at(i) == u'-')) {
    if (at(i) == u'-') clean += '-';
    ++i;
  }
  int mantissaDigits = 0;
  bool point = false;
  for (;;) {
    skip();
    if (i >= size) break;
    const char16_t c = at(i);
    if (isDigit(c)) {
      clean += static_cast<char>(c);
      ++mantissaDigits;
    } else if (c == u'.' && !point) {
      clean += '.';
      point = true;
    } else {
      break;
    }
    ++i;
  }
  if (mantissaDigits == 0) return 0.0;
  skip();
  if (i < size && (at(i) == u'E' || at(i) == u'e')) {
    std::string exponent = "e";
    qsizetype j = i + 1;
    auto skipJ = [&] {
      while (j < size && isSkipped(at(j))) ++j;
    };
    skipJ();
    if (j < size && (at(j) == u'+' || at(j) == u'-')) {
      exponent += static_cast<char>(at(j));
      ++j;
    }
    int exponentDigits = 0;
    for (;;) {
      skipJ();
      if (j >= size || !isDigit(at(j))) break;
      exponent += static_cast<char>(at(j));
      ++exponentDigits;
      ++j;
    }
    if (exponentDigits > 0) clean += exponent;
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec != std::errc() || !std::isfinite(value)) return 0.0;
  (void)end;
  return value;
}

// 15 significant decimal digits of |v| as a digit string and the position of the decimal
// point in it (digits before the point).
struct Decimal {
  std::string digits;
  int point = 0;
};

Decimal decimalDigits(double v) {
  std::array<char, 64> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                 std::chars_format::scientific, 14);
  const std::string text(buf.data(), res.ptr);
  Decimal d;
  const auto e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') d.digits += text[i];
  d.point = std::stoi(text.substr(e + 1)) + 1;
  return d;
}

// Rounds the digit string half away from zero to `decimals` places after the point.
void roundDigits(Decimal& d, int decimals) {
  if (d.point < 0) {
    d.digits.insert(0, static_cast<std::size_t>(-d.point), '0');
    d.point = 0;
  }
  const int keep = d.point + decimals;
  if (static_cast<int>(d.digits.size()) < keep) {
    d.digits.append(static_cast<std::size_t>(keep) - d.digits.size(), '0');
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (!up) return;
  int k = keep - 1;
  while (k >= 0 && d.digits[static_cast<std::size_t>(k)] == '9') {
    d.digits[static_cast<std::size_t>(k)] = '0';
    --k;
  }
  if (k >= 0) {
    ++d.digits[static_cast<std::size_t>(k)];
  } else {
    d.digits.insert(0, 1, '1');
    ++d.point;
  }
}

QString formatWith(double v, QStringView pattern, QStringView decimalPoint, QStringView group) {
  if (!std::isfinite(v)) return QString();
  const qsizetype dot = pattern.indexOf(u'.');
  const QStringView whole = dot < 0 ? pattern : pattern.first(dot);
  const int decimals = dot < 0 ? 0 : static_cast<int>(pattern.size() - dot - 1);
  const int minWhole = static_cast<int>(whole.count(u'0'));
  const bool grouped = whole.contains(u',');

  Decimal d = decimalDigits(v);
  roundDigits(d, decimals);
  std::string wholeDigits = d.digits.substr(0, static_cast<std::size_t>(d.point));
  const std::string fraction = d.digits.substr(static_cast<std::size_t>(d.point));
  const auto firstNonZero = wholeDigits.find_first_not_of('0');
  wholeDigits =
      firstNonZero == std::string::npos ? std::string() : wholeDigits.substr(firstNonZero);
  if (static_cast<int>(wholeDigits.size()) < minWhole)
    wholeDigits.insert(0, static_cast<std::size_t>(minWhole) - wholeDigits.size(), '0');

  QString out;
  const bool nonZero = d.digits.find_first_not_of('0') != std::string::npos;
  if (v < 0 && nonZero) out += u'-';
  for (std::size_t i = 0; i < wholeDigits.size(); ++i) {
    if (grouped && i > 0 && (wholeDigits.size() - i) % 3 == 0) out += group;
    out += QLatin1Char(wholeDigits[i]);
  }
  if (decimals > 0) {
    out += decimalPoint;
    out += QLatin1String(fraction.data(), static_cast<qsizetype>(fraction.size()));
  }
  return out;
}

}  // namespace

double textToNumber(QStringView text) { return scanNumber(text, text.size(), text.indexOf(u',')); }

std::optional<double> fieldNumber(QStringView text) {
  qsizetype i = 0;
  const auto skip = [&] {
    while (i < text.size() && isSkipped(text[i].unicode())) ++i;
  };
  const auto digits = [&] {
    int count = 0;
    for (skip(); i < text.size() && isDigit(text[i].unicode()); skip()) {
      ++i;
      ++count;
    }
    return count;
  };
  skip();
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  int mantissa = digits();
  if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return std::nullopt;
  if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    skip();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  skip();
  if (i != text.size()) return std::nullopt;
  const double v = textToNumber(text);
  if (!std::isfinite(v)) return std::nullopt;
  // A number outside the range of a double reads as 0: only a mantissa of zeros may mean 0.
  if (v == 0.0) {
    for (QChar c : text) {
      if (c == u'E' || c == u'e') break;
      if (isDigit(c.unicode()) && c != u'0') return std::nullopt;
    }
  }
  return v;
}

double textToNumber(const QByteArray& text) {
  return textToNumber(QStringView(QString::fromLatin1(text)));
}

QList<QByteArray> fileLines(const QByteArray& bytes, bool* unended) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    QByteArray line = bytes.mid(start, end - start);
    if (line.endsWith('\r')) line.chop(1);
    lines.append(line);
    start = end + 1;
  }
  if (unended != nullptr) *unended = !bytes.isEmpty() && !bytes.endsWith('\n');
  return lines;
}

double roundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double down = std::floor(v);
  const double diff = v - down;
  if (diff < 0.5) return down;
  if (diff > 0.5) return down + 1.0;
  return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::optional<qint16> toInt16(double v) {
  const double r = roundHalfEven(v);
  if (!(r >= std::numeric_limits<qint16>::min() && r <= std::numeric_limits<qint16>::max()))
    return std::nullopt;
  return static_cast<qint16>(r);
}

QString formatNumber(double v, QStringView pattern, const QLocale& locale) {
  return formatWith(v, pattern, locale.decimalPoint(), locale.groupSeparator());
}

QByteArray formatNumberC(double v, QStringView pattern) {
  return formatWith(v, pattern, u".", u",").toLatin1();
}

QByteArray plainNumber(float v) {
  if (!std::isfinite(v)) return "0";
  std::array<char, 128> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed);
  QByteArray out(buf.data(), static_cast<qsizetype>(res.ptr - buf.data()));
  if (out == "-0") out = "0";
  return out;
}

QByteArray toWindows1252(QStringView text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text[i + 1].unicode())) {
      out += '?';
      ++i;
      continue;
    }
    out += static_cast<char>(solvo::platform::to_windows1252(c).value_or('?'));
  }
  return out;
}

QString fromWindows1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (const char b : bytes)
    out += QChar(
        static_cast<char16_t>(solvo::platform::from_windows1252(static_cast<unsigned char>(b))));
  return out;
}

QString upperCase(QStringView text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text)
    out += QChar(static_cast<char16_t>(solvo::platform::to_upper(c.unicode())));
  return out;
}

QByteArray windowsToDos(QByteArray bytes) {
  for (const auto& l : solvo::platform::kSwedishLetters) {
    const qsizetype i = bytes.indexOf(static_cast<char>(l.windows));
    if (i >= 0) bytes[i] = static_cast<char>(l.dos);
  }
  return bytes;
}

QByteArray dosToWindows(QByteArray bytes) {
  for (const auto& l : solvo::platform::kSwedishLetters) {
    const qsizetype i = bytes.indexOf(static_cast<char>(l.dos));
    if (i >= 0) bytes[i] = static_cast<char>(l.windows);
  }
  return bytes;
}

QByteArray dosToWindowsAll(QByteArray bytes) {
  for (char& b : bytes)
    for (const auto& l : solvo::platform::kSwedishLetters)
      if (b == static_cast<char>(l.dos)) {
        b = static_cast<char>(l.windows);
        break;
      }
  return bytes;
}

}  // namespace solvow
