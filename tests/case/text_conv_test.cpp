#include "text_conv.h"

#include <gtest/gtest.h>

#include <cmath>

namespace solvow {
namespace {

struct NumberCase {
  const char16_t* text;
  double want;
};

TEST(TextToNumber, ReadsTheLeadingNumberWhateverTheSeparator) {
  const NumberCase cases[] = {
      {u"2,5", 2.5},     {u"2.5", 2.5},      {u"12 kN", 12.0}, {u"", 0.0},
      {u"1,2,3", 1.2},   {u"0,125", 0.125},  {u" 7", 7.0},     {u"abc", 0.0},
      {u"-2,5", -2.5},   {u"1 000", 1000.0}, {u"+4", 4.0},     {u"\t3\n4", 34.0},
      {u"1E3", 1000.0},  {u"1.5e-2", 0.015}, {u"2E", 2.0},     {u"2E-x", 2.0},
      {u"12.5.6", 12.5}, {u".5", 0.5},       {u"5.", 5.0},     {u".", 0.0},
      {u"-", 0.0},       {u"- 3", -3.0},     {u"1E999", 0.0},  {u"6.000  ", 6.0},
      {u"3\r4", 3.0},    {u"0,7 0,5", 0.7},
  };
  for (const NumberCase& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_DOUBLE_EQ(textToNumber(QStringView(text)), c.want) << text.toStdString();
    EXPECT_DOUBLE_EQ(textToNumber(text.toLatin1()), c.want) << text.toStdString();
  }
}

TEST(FieldNumber, TakesATextThatIsANumberAndNothingElse) {
  const struct {
    const char16_t* text;
    bool number;
    double want;
  } cases[] = {
      {u"2,5", true, 2.5},      {u"2.5", true, 2.5},     {u" 7 ", true, 7.0},
      {u"1 000", true, 1000.0}, {u"-2,5", true, -2.5},   {u"+4", true, 4.0},
      {u".5", true, 0.5},       {u"5.", true, 5.0},      {u"1.5e-2", true, 0.015},
      {u"0", true, 0.0},        {u"0,000", true, 0.0},   {u"0e5", true, 0.0},
      {u"- 3", true, -3.0},     {u"\t3\n4", true, 34.0}, {u"", false, 0},
      {u"   ", false, 0},       {u"abc", false, 0},      {u"12 kN", false, 0},
      {u"1,2,3", false, 0},     {u"1.2,5", false, 0},    {u"12.5.6", false, 0},
      {u".", false, 0},         {u"-", false, 0},        {u"2E", false, 0},
      {u"2E-x", false, 0},      {u"1E999", false, 0},    {u"5a", false, 0},
      {u"a5", false, 0},        {u"3\r4", false, 0},     {u"--3", false, 0},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    const std::optional<double> v = fieldNumber(text);
    ASSERT_EQ(v.has_value(), c.number) << text.toStdString();
    if (c.number) {
      EXPECT_DOUBLE_EQ(*v, c.want) << text.toStdString();
    }
  }
}

TEST(FileLines, EachLineWithoutItsLineEnd) {
  const struct {
    QByteArray bytes;
    QList<QByteArray> lines;
    bool unended;
  } cases[] = {
      {"", {}, false},
      {"\n", {""}, false},
      {"a\r\nb\n", {"a", "b"}, false},
      {"a\nb", {"a", "b"}, true},
      {"a\r\n\r\nb\r", {"a", "", "b"}, true},
      {"a\rb\n", {"a\rb"}, false},  // a CR inside a line is the line's own
      {"^\n\n", {"^", ""}, false},
  };
  for (const auto& c : cases) {
    bool unended = !c.unended;
    EXPECT_EQ(fileLines(c.bytes, &unended), c.lines) << c.bytes.toStdString();
    EXPECT_EQ(unended, c.unended) << c.bytes.toStdString();
  }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{0.5, 0},   {1.5, 2},  {2.5, 2},  {3.5, 4}, {-2.5, -2},
                                             {-3.5, -4}, {2.49, 2}, {2.51, 3}, {-0.4, 0}};
  for (const auto& [v, want] : cases) EXPECT_EQ(roundHalfEven(v), want) << v;
}

TEST(ToInt16, RefusesWhatASixteenBitFieldCannotHold) {
  EXPECT_EQ(toInt16(32767.4), qint16(32767));
  EXPECT_EQ(toInt16(-32768.5), qint16(-32768));  // -32768 is the even neighbour
  EXPECT_FALSE(toInt16(32767.5));
  EXPECT_FALSE(toInt16(99999));
  EXPECT_FALSE(toInt16(std::nan("")));
}

struct FormatCase {
  double v;
  const char16_t* pattern;
  const char* want;
};

TEST(FormatNumber, DisplayPatterns) {
  const FormatCase cases[] = {
      {12.5, u"##0.000", "12.500"},
      {5.555, u"##0.00", "5.56"},
      {1.005, u"#0.00", "1.01"},
      {0.17f, u"0.000", "0.170"},
      {0.17f, u"#0.000", "0.170"},
      {0.0, u"####", ""},
      {250.0, u"####", "250"},
      {0.4, u"#0", "0"},
      {2.5, u"#0", "3"},
      {-2.5, u"#0", "-3"},
      {7.0, u"##0", "7"},
      {0.999, u"#0.00", "1.00"},
      {9.9996, u"#0.000", "10.000"},
      {-0.0001, u"0.000", "0.000"},
      {-1.25, u"#0.00", "-1.25"},
      {1234.5678, u"##0.000", "1234.568"},
      {1234567.891, u"##,##0.00", "1,234,567.89"},
      {999.0, u"##,##0.00", "999.00"},
      {1e-7, u"#0.00", "0.00"},
      {2.0, u"#0.00", "2.00"},
  };
  const QLocale c = QLocale::c();
  for (const FormatCase& fc : cases) {
    const QString pattern = QString::fromUtf16(fc.pattern);
    EXPECT_EQ(formatNumber(fc.v, pattern, c).toStdString(), fc.want)
        << fc.v << " " << pattern.toStdString();
    EXPECT_EQ(formatNumberC(fc.v, pattern).toStdString(), fc.want) << fc.v;
  }
}

TEST(FormatNumber, SwedishLocaleShowsADecimalComma) {
  const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
  EXPECT_EQ(formatNumber(6.0, u"##0.00", swedish), QStringLiteral("6,00"));
  EXPECT_EQ(formatNumber(-0.15, u"0.000", swedish), QStringLiteral("-0,150"));
  // The file form keeps its point under any locale.
  EXPECT_EQ(formatNumberC(6.0, u"##0.00"), QByteArray("6.00"));
}

TEST(PlainNumber, ShortestTextThatReadsBack) {
  EXPECT_EQ(plainNumber(0.0f), QByteArray("0"));
  EXPECT_EQ(plainNumber(1.5f), QByteArray("1.5"));
  EXPECT_EQ(plainNumber(1.005f), QByteArray("1.005"));
  EXPECT_EQ(plainNumber(-0.25f), QByteArray("-0.25"));
  EXPECT_EQ(plainNumber(-0.0f), QByteArray("0"));
}

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(LetterConversion, FirstOccurrenceOfEachLetter) {
  // åå: the first becomes DOS 134, the second stays Windows 229.
  EXPECT_EQ(windowsToDos(bytes({229, 229})), bytes({134, 229}));
  EXPECT_EQ(dosToWindows(bytes({134, 229})), bytes({229, 229}));
  // All six letters, in both directions.
  const QByteArray windows = bytes({197, 196, 214, 229, 228, 246});
  const QByteArray dos = bytes({143, 142, 153, 134, 132, 148});
  EXPECT_EQ(windowsToDos(windows), dos);
  EXPECT_EQ(dosToWindows(dos), windows);
  // Applied again, the next occurrence is converted.
  EXPECT_EQ(windowsToDos(windowsToDos(bytes({228, 'x', 228}))), bytes({132, 'x', 132}));
  // Text without a Swedish letter passes unchanged.
  const QByteArray plain = "Kontor, plan 2 \"B\"";
  EXPECT_EQ(windowsToDos(plain), plain);
  EXPECT_EQ(dosToWindows(plain), plain);
}

TEST(LetterConversion, AllOccurrencesOnRead) {
  EXPECT_EQ(dosToWindowsAll(bytes({134, 'a', 134, 148, 148})), bytes({229, 'a', 229, 246, 246}));
  EXPECT_EQ(dosToWindowsAll(bytes({134, 229})), bytes({229, 229}));
}

TEST(Windows1252, EncodesWhatItCanAndAQuestionMarkForTheRest) {
  EXPECT_EQ(toWindows1252(u"ø 16 €"), bytes({0xF8, ' ', '1', '6', ' ', 0x80}));
  EXPECT_EQ(toWindows1252(u"Ω"), QByteArray("?"));
  EXPECT_EQ(toWindows1252(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                            "b")),
            QByteArray("a?b"));
  EXPECT_EQ(fromWindows1252(bytes({0x80, 0x96, 0xC5, 0x81})), QString::fromUtf16(u"€–Å\u0081"));
}

}  // namespace
}  // namespace solvow
