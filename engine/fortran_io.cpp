#include "fortran_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "numeric.h"

namespace solvo {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The field's text without blanks.
std::string squeeze(std::string_view field) {
  std::string s;
  for (char c : field)
    if (c != ' ') s += c;
  return s;
}

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Parses a Fortran real (no blanks) with `d` implied decimals when it has no point. The
// number is handed to strtof as "[-]digits.digitsE<exponent>".
bool parse_real(std::string_view s, int d, float& v) {
  if (s.empty()) {
    v = 0.0f;
    return true;
  }
  size_t k = 0;
  const bool minus = s[0] == '-';
  if (s[0] == '+' || s[0] == '-') ++k;
  auto digits_from = [&](size_t from) {
    while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
    return s.substr(from, k - from);
  };
  const std::string_view int_digits = digits_from(k);
  std::string_view frac_digits;
  bool point = false;
  if (k < s.size() && s[k] == '.') {
    point = true;
    ++k;
    frac_digits = digits_from(k);
  }
  if (int_digits.empty() && frac_digits.empty()) return false;
  long exponent = 0;
  if (k < s.size()) {
    char c = s[k];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q') {
      ++k;
    } else if (c != '+' && c != '-') {
      return false;
    }
    std::string_view exp_text = s.substr(k);
    bool negative = false;
    if (!exp_text.empty() && (exp_text[0] == '+' || exp_text[0] == '-')) {
      negative = exp_text[0] == '-';
      exp_text.remove_prefix(1);
    }
    if (!all_digits(exp_text)) return false;
    if (exp_text.size() > 6) return false;  // far outside the range of a real
    std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);
    if (negative) exponent = -exponent;
  }
  if (!point) exponent -= d;
  std::string text;
  text.reserve(int_digits.size() + frac_digits.size() + 12);
  if (minus) text += '-';
  text.append(int_digits.empty() ? "0" : int_digits);
  text += '.';
  text.append(frac_digits.empty() ? "0" : frac_digits);
  text += 'e';
  char exp_buf[24];
  text.append(exp_buf, std::to_chars(exp_buf, exp_buf + sizeof exp_buf, exponent).ptr);
  errno = 0;
  char* end = nullptr;
  float value = std::strtof(text.c_str(), &end);
  if (end == nullptr || *end != '\0') return false;
  if (!std::isfinite(value) || (errno == ERANGE && std::fabs(value) > 1.0f)) return false;
  v = value;
  return true;
}

bool parse_int(const std::string& s, int32_t& v) {
  if (s.empty()) {
    v = 0;
    return true;
  }
  size_t k = 0;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    k = 1;
  }
  std::string digits = s.substr(k);
  if (!all_digits(digits)) return false;
  int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return false;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  v = static_cast<int32_t>(value);
  return true;
}

// The first item of a free-form line. `present` false for a null item.
bool first_item(std::string_view line, std::string& item, bool& present) {
  size_t k = 0;
  while (k < line.size() && is_blank(line[k])) ++k;
  present = false;
  if (k == line.size() || line[k] == ',' || line[k] == '/') return true;
  size_t end = k;
  while (end < line.size() && !is_blank(line[end]) && line[end] != ',' && line[end] != '/') ++end;
  item = std::string(line.substr(k, end - k));
  // A repeat count: "r*c" is c, "r*" is a null item.
  size_t star = item.find('*');
  if (star != std::string::npos) {
    if (!all_digits(item.substr(0, star))) return false;
    item = item.substr(star + 1);
    if (item.empty()) return true;
  }
  present = true;
  return true;
}

void append_stars(std::string& out, int w) {
  if (w > 0) out.append(static_cast<size_t>(w), '*');
}

// The exact decimal value of a non-negative number rounded to d decimals, halves away from
// zero (as Fortran writes them): 0.125 with two decimals is "0.13". "3." for d = 0.
std::string round_decimal_exact(double magnitude, int d) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.200f", magnitude);  // exact for every float
  std::string s = buf;
  size_t point = s.find('.');
  std::string int_part = s.substr(0, point);
  std::string frac = s.substr(point + 1);
  bool up = frac[static_cast<size_t>(d)] >= '5';
  std::string kept = int_part + frac.substr(0, static_cast<size_t>(d));
  if (up) {
    int k = static_cast<int>(kept.size()) - 1;
    while (k >= 0 && kept[static_cast<size_t>(k)] == '9') kept[static_cast<size_t>(k--)] = '0';
    if (k < 0)
      kept.insert(0, "1");
    else
      ++kept[static_cast<size_t>(k)];
  }
  size_t int_len = kept.size() - static_cast<size_t>(d);
  return kept.substr(0, int_len) + "." + kept.substr(int_len);
}

// The same for the usual case, through whole numbers: a float times 10^d (d <= 9) has at
// most 24 + 21 significant bits, so the product is exact in a double; below 2^51 adding the
// half is exact too. Written at the end of `buf`; empty when the value needs the exact
// expansion. `nonzero` tells whether any digit is not 0.
std::string_view round_decimal_fast(double magnitude, int d, std::array<char, 40>& buf,
                                    bool& nonzero) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (d < 0 || d > 9 || !(magnitude * kPow10[d] < 2251799813685248.0)) return {};
  auto whole = static_cast<uint64_t>(std::floor(magnitude * kPow10[d] + 0.5));
  nonzero = whole != 0;
  size_t start = buf.size();
  auto digit = [&] {
    buf[--start] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  };
  for (int k = 0; k < d; ++k) digit();
  buf[--start] = '.';
  do digit();  // "0.05", not ".05"
  while (whole != 0);
  return {buf.data() + start, buf.size() - start};
}

// Appends the field: blanks, the sign, the digits (I and F fields).
void append_f(std::string& out, float v, int w, int d) {
  if (!std::isfinite(v)) return append_stars(out, w);
  const double magnitude = std::fabs(static_cast<double>(v));
  if (magnitude >= 1e30) return append_stars(out, w);
  std::array<char, 40> buf;
  bool nonzero = false;
  std::string_view digits = round_decimal_fast(magnitude, d, buf, nonzero);
  std::string slow;
  if (digits.empty()) {
    slow = round_decimal_exact(magnitude, d);
    digits = slow;
    nonzero = digits.find_first_of("123456789") != std::string_view::npos;
  }
  const bool minus = std::signbit(v) && nonzero;
  const int size = static_cast<int>(digits.size()) + (minus ? 1 : 0);
  // Drop the leading zero of a value below one when that makes it fit.
  if (size > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.' && size - 1 <= w &&
      d > 0)
    digits.remove_prefix(1);
  else if (size > w)
    return append_stars(out, w);
  out.append(static_cast<size_t>(w) - digits.size() - (minus ? 1 : 0), ' ');
  if (minus) out += '-';
  out.append(digits);
}

void append_i(std::string& out, int32_t v, int w, int m) {
  if (v == kBadInt) return append_stars(out, w);
  const uint32_t magnitude = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
  char digits[16];
  const auto count =
      static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  const int zeros = m > count ? m - count : 0;
  const int size = (v < 0 ? 1 : 0) + zeros + count;
  if (size > w) return append_stars(out, w);
  out.append(static_cast<size_t>(w - size), ' ');
  if (v < 0) out += '-';
  out.append(static_cast<size_t>(zeros), '0');
  out.append(digits, static_cast<size_t>(count));
}

void append_free(std::string& out, float v) {
  if (!std::isfinite(v) || v == 0.0f) {  // no "-0" either
    out.append(" 0");
    return;
  }
  // The shortest text that gives the same float back; plain decimals in the range the
  // moments and lengths of a slab take, an exponent "E" outside it.
  char buf[64];
  buf[0] = ' ';
  const float a = std::fabs(v);
  const bool plain = a >= 1e-6f && a < 1e9f;
  const auto format = plain ? std::chars_format::fixed : std::chars_format::scientific;
  char* end = std::to_chars(buf + 1, buf + sizeof buf, v, format).ptr;
  if (!plain) std::replace(buf + 1, end, 'e', 'E');
  out.append(buf, static_cast<size_t>(end - buf));
}

void append_cp1252(std::string& out, std::string_view utf8) {
  size_t done = 0;  // bytes of utf8 appended so far
  for (size_t k = 0; k + 1 < utf8.size(); ++k) {
    const auto c = static_cast<unsigned char>(utf8[k]);
    const auto c2 = static_cast<unsigned char>(utf8[k + 1]);
    if ((c == 0xC2 || c == 0xC3) && c2 >= 0x80 && c2 <= 0xBF) {
      out.append(utf8.substr(done, k - done));
      out += static_cast<char>(c == 0xC2 ? c2 : c2 + 0x40);
      done = k + 2;
      ++k;
    }
  }
  out.append(utf8.substr(done));
}

}  // namespace

std::string i_field(int32_t v, int w, int m) {
  std::string s;
  append_i(s, v, w, m);
  return s;
}

std::string f_field(float v, int w, int d) {
  std::string s;
  append_f(s, v, w, d);
  return s;
}

std::string free_field(int32_t v) { return " " + std::to_string(v); }

std::string free_field(float v) {
  std::string s;
  append_free(s, v);
  return s;
}

std::string utf8_to_cp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  append_cp1252(out, utf8);
  return out;
}

FortranWriter& FortranWriter::i(int32_t v, int w, int m) {
  if (!at_end()) return put(i_field(v, w, m));
  append_i(out_, v, w, m);
  return moved_to_end();
}

FortranWriter& FortranWriter::f(float v, int w, int d) {
  if (!at_end()) return put(f_field(v, w, d));
  append_f(out_, v, w, d);
  return moved_to_end();
}

FortranWriter& FortranWriter::line(float v) {
  if (!at_end()) return put(free_field(v)).endl();
  append_free(out_, v);
  return moved_to_end().endl();
}

FortranWriter& FortranWriter::a(std::string_view utf8) {
  if (!at_end()) return put(utf8_to_cp1252(utf8));
  append_cp1252(out_, utf8);
  return moved_to_end();
}

bool FortranWriter::at_end() {
  const size_t size = line_size();
  if (pos_ < size) return false;
  if (pos_ > size) out_.append(pos_ - size, ' ');
  return true;
}

FortranWriter& FortranWriter::moved_to_end() {
  pos_ = line_size();
  return *this;
}

FortranWriter& FortranWriter::put(std::string_view bytes) {
  if (line_size() < pos_) out_.resize(line_start_ + pos_, ' ');
  out_.replace(line_start_ + pos_, std::min(bytes.size(), line_size() - pos_), bytes);
  pos_ += bytes.size();
  return *this;
}

FortranWriter& FortranWriter::aw_bytes(std::string_view bytes, int w) {
  size_t width = static_cast<size_t>(w > 0 ? w : 0);
  if (bytes.size() >= width) return put(bytes.substr(0, width));
  return put(std::string(width - bytes.size(), ' ') + std::string(bytes));
}

std::string FortranWriter::take() {
  out_.resize(line_start_);
  std::string file = std::move(out_);
  out_.clear();
  line_start_ = 0;
  pos_ = 0;
  return file;
}

FortranWriter& FortranWriter::endl() {
  out_ += line_end_;
  line_start_ = out_.size();
  pos_ = 0;
  return *this;
}

bool read_i_field(std::string_view field, int32_t& v) { return parse_int(squeeze(field), v); }

bool read_f_field(std::string_view field, int d, float& v) {
  return parse_real(squeeze(field), d, v);
}

bool read_free_int(std::string_view line, int32_t& v, bool& present) {
  std::string item;
  if (!first_item(line, item, present)) return false;
  return !present || parse_int(item, v);
}

bool read_free_real(std::string_view line, float& v, bool& present) {
  std::string item;
  if (!first_item(line, item, present)) return false;
  return !present || parse_real(item, 0, v);
}

bool is_blank_line(std::string_view line) {
  for (char c : line)
    if (!is_blank(c)) return false;
  return true;
}

}  // namespace solvo
