#include "fortran_io.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numeric.h"

namespace solvo {

namespace {

std::string stars(int w) { return std::string(static_cast<size_t>(w > 0 ? w : 0), '*'); }

std::string right_align(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<size_t>(w) - s.size(), ' ') + s;
}

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

// Parses a Fortran real (no blanks) with `d` implied decimals when it has no point.
bool parse_real(const std::string& s, int d, float& v) {
  if (s.empty()) {
    v = 0.0f;
    return true;
  }
  size_t k = 0;
  std::string sign;
  if (s[k] == '+' || s[k] == '-') {
    if (s[k] == '-') sign = "-";
    ++k;
  }
  std::string int_digits, frac_digits;
  bool point = false;
  while (k < s.size() && s[k] >= '0' && s[k] <= '9') int_digits += s[k++];
  if (k < s.size() && s[k] == '.') {
    point = true;
    ++k;
    while (k < s.size() && s[k] >= '0' && s[k] <= '9') frac_digits += s[k++];
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
    std::string exp_text = s.substr(k);
    size_t e = 0;
    bool negative = false;
    if (e < exp_text.size() && (exp_text[e] == '+' || exp_text[e] == '-')) {
      negative = exp_text[e] == '-';
      ++e;
    }
    std::string digits = exp_text.substr(e);
    if (!all_digits(digits)) return false;
    if (digits.size() > 6) return false;  // far outside the range of a real
    exponent = digits.empty() ? 0 : std::strtol(digits.c_str(), nullptr, 10);
    if (negative) exponent = -exponent;
  }
  if (!point) exponent -= d;
  std::string text = sign + (int_digits.empty() ? "0" : int_digits) + "." +
                     (frac_digits.empty() ? "0" : frac_digits) + "e" + std::to_string(exponent);
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

// The exact decimal value of a non-negative number rounded to d decimals, halves away from
// zero (as Fortran writes them): 0.125 with two decimals is "0.13".
std::string round_decimal(double magnitude, int d) {
  // A float times 10^d (d <= 9) has at most 24 + 21 significant bits, so the product is
  // exact in a double; below 2^51 adding the half is exact too.
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (d >= 0 && d <= 9 && magnitude * kPow10[d] < 2251799813685248.0) {
    const double whole = std::floor(magnitude * kPow10[d] + 0.5);
    std::string kept = std::to_string(static_cast<uint64_t>(whole));
    if (kept.size() < static_cast<size_t>(d) + 1)
      kept.insert(0, static_cast<size_t>(d) + 1 - kept.size(), '0');
    if (d == 0) return kept;
    const size_t int_len = kept.size() - static_cast<size_t>(d);
    return kept.substr(0, int_len) + "." + kept.substr(int_len);
  }
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
  if (d == 0) return kept;
  return kept.substr(0, int_len) + "." + kept.substr(int_len);
}

}  // namespace

std::string i_field(int32_t v, int w, int m) {
  if (v == kBadInt) return stars(w);
  int64_t magnitude = v < 0 ? -static_cast<int64_t>(v) : v;
  std::string digits = std::to_string(magnitude);
  if (static_cast<int>(digits.size()) < m)
    digits.insert(0, static_cast<size_t>(m) - digits.size(), '0');
  if (m == 0 && v == 0 && w > 0) digits = "0";
  return right_align((v < 0 ? "-" : "") + digits, w);
}

std::string f_field(float v, int w, int d) {
  if (!std::isfinite(v)) return stars(w);
  double magnitude = std::fabs(static_cast<double>(v));
  if (magnitude >= 1e30) return stars(w);
  std::string digits = round_decimal(magnitude, d);
  if (d == 0) digits += ".";
  bool nonzero = digits.find_first_of("123456789") != std::string::npos;
  std::string sign = (std::signbit(v) && nonzero) ? "-" : "";
  std::string s = sign + digits;
  if (static_cast<int>(s.size()) <= w) return right_align(s, w);
  // Drop the leading zero of a value below one when that makes it fit.
  if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.' &&
      static_cast<int>(s.size()) - 1 <= w && d > 0)
    return right_align(sign + digits.substr(1), w);
  return stars(w);
}

std::string free_field(int32_t v) { return " " + std::to_string(v); }

std::string free_field(float v) {
  if (!std::isfinite(v) || v == 0.0f) return " 0";  // no "-0" either
  // The shortest text that gives the same float back; plain decimals in the range the
  // moments and lengths of a slab take, an exponent "E" outside it.
  char buf[64];
  const float a = std::fabs(v);
  const auto format = (a >= 1e-6f && a < 1e9f) ? std::chars_format::fixed
                                               : std::chars_format::scientific;
  const auto result = std::to_chars(buf, buf + sizeof buf, v, format);
  std::string text(buf, result.ptr);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return " " + text;
}

std::string utf8_to_cp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t k = 0; k < utf8.size(); ++k) {
    unsigned char c = static_cast<unsigned char>(utf8[k]);
    if (c == 0xC2 || c == 0xC3) {
      if (k + 1 < utf8.size()) {
        unsigned char c2 = static_cast<unsigned char>(utf8[k + 1]);
        if (c2 >= 0x80 && c2 <= 0xBF) {
          out += static_cast<char>(c == 0xC2 ? c2 : c2 + 0x40);
          ++k;
          continue;
        }
      }
    }
    out += static_cast<char>(c);
  }
  return out;
}

FortranWriter& FortranWriter::put(std::string_view bytes) {
  if (line_.size() < pos_) line_.resize(pos_, ' ');
  line_.replace(pos_, std::min(bytes.size(), line_.size() - pos_), bytes);
  pos_ += bytes.size();
  return *this;
}

FortranWriter& FortranWriter::aw_bytes(std::string_view bytes, int w) {
  size_t width = static_cast<size_t>(w > 0 ? w : 0);
  if (bytes.size() >= width) return put(bytes.substr(0, width));
  return put(std::string(width - bytes.size(), ' ') + std::string(bytes));
}

FortranWriter& FortranWriter::endl() {
  out_ += line_;
  out_ += line_end_;
  line_.clear();
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
