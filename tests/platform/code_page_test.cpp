// The code pages both programs read and write: expected characters from the published
// Windows-1252 chart and the DOS code page 850 positions of the Swedish letters.
#include "code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace solvo::platform {
namespace {

TEST(CodePage, Windows1252FromTheChart) {
  struct Row {
    unsigned char byte;
    char32_t want;
  };
  const Row rows[] = {
      {0x41, U'A'},
      {0x7F, 0x7F},
      {0x80, 0x20AC},  // €
      {0x82, 0x201A},
      {0x8A, 0x0160},
      {0x8C, 0x0152},  // ‚ Š Œ
      {0x8E, 0x017D},
      {0x91, 0x2018},
      {0x96, 0x2013},  // Ž ‘ –
      {0x99, 0x2122},
      {0x9A, 0x0161},
      {0x9F, 0x0178},  // ™ š Ÿ
      {0xA0, 0x00A0},
      {0xC5, 0x00C5},
      {0xE5, 0x00E5},  // nbsp Å å
      {0xFF, 0x00FF},
      // The five bytes the chart leaves empty: the control characters of the same value.
      {0x81, 0x0081},
      {0x8D, 0x008D},
      {0x8F, 0x008F},
      {0x90, 0x0090},
      {0x9D, 0x009D},
  };
  for (const Row& r : rows) EXPECT_EQ(from_windows1252(r.byte), r.want) << int(r.byte);
}

TEST(CodePage, EveryByteComesBackThroughItsCharacter) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    EXPECT_EQ(to_windows1252(from_windows1252(byte)), byte) << b;
  }
  EXPECT_FALSE(to_windows1252(0x0100).has_value());  // Ā
  EXPECT_FALSE(to_windows1252(0x039C).has_value());  // Greek capital mu
  EXPECT_FALSE(to_windows1252(0x1F600).has_value());
}

TEST(CodePage, CaseBytesReadTheDosLettersAsLetters) {
  struct Row {
    unsigned char byte;
    char32_t want;
  };
  const Row rows[] = {{143, U'Å'},    {142, U'Ä'},    {153, U'Ö'},   {134, U'å'},
                      {132, U'ä'},    {148, U'ö'},    {197, U'Å'},   {229, U'å'},
                      {0x80, 0x20AC}, {0x8A, 0x0160}, {0x81, 0x0081}};
  for (const Row& r : rows) EXPECT_EQ(from_case_byte(r.byte), r.want) << int(r.byte);
  EXPECT_EQ(case_text_to_utf8("R\x8eKNA\x8f\x99\x86\x84\x94"), "RÄKNAÅÖåäö");
  EXPECT_EQ(case_text_to_utf8("\xe9\x80 1"), "é€ 1");
}

TEST(CodePage, UpperCaseStaysInTheCodePageOneForOne) {
  struct Row {
    char32_t c, want;
  };
  const Row rows[] = {{U'a', U'A'}, {U'z', U'Z'}, {U'å', U'Å'}, {U'ä', U'Ä'}, {U'ö', U'Ö'},
                      {U'é', U'É'}, {U'þ', U'Þ'}, {U'ÿ', U'Ÿ'}, {U'š', U'Š'}, {U'œ', U'Œ'},
                      {U'ž', U'Ž'}, {U'ß', U'ß'}, {U'µ', U'µ'}, {U'÷', U'÷'}, {U'A', U'A'},
                      {U'Å', U'Å'}, {U'1', U'1'}, {U'{', U'{'}, {U'€', U'€'}};
  for (const Row& r : rows) EXPECT_EQ(to_upper(r.c), r.want) << std::hex << unsigned(r.c);
}

TEST(CodePage, NameCharactersInUtf8OrInACodePage) {
  struct Row {
    std::string name;
    std::u32string want;
  };
  const Row rows[] = {
      {"\xC3\xA5"
       "b",
       U"åb"},  // UTF-8
      {"\x86"
       "b",
       U"åb"},  // the DOS byte
      {"\xE5"
       "b",
       U"åb"},                 // the Windows-1252 byte
      {"\xE2\x82\xAC", U"€"},  // three-byte UTF-8
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"\xC3", U"Ã"},  // a sequence cut short: the byte alone
      {"\xC3"
       "A",
       U"ÃA"},
      {"\xC0\x80", U"À€"},            // an overlong form is no character
      {"\xED\xA0\x80", U"í\u00A0€"},  // nor is a surrogate
  };
  for (const Row& r : rows) {
    std::u32string got;
    for (size_t pos = 0; pos < r.name.size();) got += next_name_char(r.name, pos);
    EXPECT_EQ(got, r.want) << r.name;
  }
}

}  // namespace
}  // namespace solvo::platform
