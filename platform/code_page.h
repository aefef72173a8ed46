// The code pages of the case file and the report: the six Swedish letters in the DOS code
// page, everything else in Windows-1252. Names on disk are UTF-8.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace solvo::platform {

// A Swedish letter in both code pages.
struct SwedishLetter {
  unsigned char dos;
  unsigned char windows;
};

// Å Ä Ö å ä ö, in the order the front end converts them.
inline constexpr std::array<SwedishLetter, 6> kSwedishLetters{
    {{143, 197}, {142, 196}, {153, 214}, {134, 229}, {132, 228}, {148, 246}}};

// The character of a Windows-1252 byte. The five bytes the code page leaves unused (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) are the control characters of the same value (U+0081 ...): a text
// keeps them through reading and writing, and the case-name check refuses them like any other
// control character, so they never reach a file name.
char32_t from_windows1252(unsigned char byte);

// The Windows-1252 byte of a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> to_windows1252(char32_t c);

// The character of a byte of a case-file text line: the DOS bytes of the Swedish letters are
// those letters, every other byte is read as Windows-1252.
char32_t from_case_byte(unsigned char byte);

// A control byte of a case-file text line: below 32, 127, or one of the five bytes that
// Windows-1252 leaves unused (and that from_case_byte does not take for a DOS letter).
bool is_control_byte(unsigned char byte);

// Upper case within the Windows-1252 letters, one character for one: a-z, à-þ (not ÷), š, œ,
// ž, ÿ; ß and µ, which have no capital in the code page, and every other character stay.
char32_t to_upper(char32_t c);

void append_utf8(std::string& out, char32_t c);

// Case-file text bytes as UTF-8 (from_case_byte for each byte).
std::string case_text_to_utf8(std::string_view bytes);

// The next character of a file name: a whole UTF-8 sequence when one starts at `pos`,
// otherwise the single byte read as a case-file byte (a name written in a code page); `pos`
// moves past what was read. Requires pos < name.size().
char32_t next_name_char(std::string_view name, size_t& pos);

}  // namespace solvo::platform
