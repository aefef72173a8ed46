#include "code_page.h"

namespace solvo::platform {

namespace {

// Windows-1252 bytes 0x80..0x9F.
constexpr std::array<char32_t, 32> kHigh1252{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The letters of 0x80..0x9F with their capitals.
struct CasePair {
  char32_t lower;
  char32_t upper;
};
constexpr std::array<CasePair, 4> kHighCase{
    {{0x0161, 0x0160}, {0x0153, 0x0152}, {0x017E, 0x017D}, {0x00FF, 0x0178}}};

}  // namespace

char32_t from_windows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh1252[byte - 0x80u];
  return byte;
}

std::optional<unsigned char> to_windows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (size_t k = 0; k < kHigh1252.size(); ++k)
    if (kHigh1252[k] == c) return static_cast<unsigned char>(0x80 + k);
  return std::nullopt;
}

char32_t from_case_byte(unsigned char byte) {
  for (const SwedishLetter& l : kSwedishLetters)
    if (l.dos == byte) return l.windows;
  return from_windows1252(byte);
}

bool is_control_byte(unsigned char b) {
  return b < 32 || b == 127 || (b >= 0x80 && b <= 0x9F && from_case_byte(b) == b);
}

char32_t to_upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  for (const CasePair& p : kHighCase)
    if (p.lower == c) return p.upper;
  return c;
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string case_text_to_utf8(std::string_view bytes) {
  std::string out;
  for (const char b : bytes) append_utf8(out, from_case_byte(static_cast<unsigned char>(b)));
  return out;
}

char32_t next_name_char(std::string_view name, size_t& pos) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(name[k]); };
  const unsigned char lead = byte(pos);
  size_t extra = 0;
  char32_t c = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    c = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    c = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    c = lead & 0x07u;
  }
  if (extra > 0 && pos + extra < name.size()) {
    bool whole = true;
    for (size_t k = 1; whole && k <= extra; ++k) {
      if ((byte(pos + k) & 0xC0u) != 0x80u) whole = false;
      c = (c << 6) | (byte(pos + k) & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are not characters.
    const char32_t least = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (whole && c >= least && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
      pos += extra + 1;
      return c;
    }
  }
  ++pos;
  return from_case_byte(lead);
}

}  // namespace solvo::platform
