// Fortran-style text: the fixed fields of the report and the data files, and the fixed and
// free-form fields of the case file. Every report line and every data-file line is written
// through this unit; nothing else in the engine formats numbers for a file.
//
// Output fields (w = width, d = decimals, m = least number of digits):
//   Iw, Iw.m   whole number right-aligned; at least m digits, zero-padded
//   Fw.d       rounded to d decimals, right-aligned, "0" before the point when it fits
//   A, Aw      text at its full length; in w columns (cut to the first w, or blanks first)
//   nX, Tn     n blanks; continue at column n (columns from 1; may move left and overwrite)
// A number that does not fit its field, a NaN, an infinity and kBadInt are written as a row
// of w asterisks. A negative number that rounds to zero is written without its minus sign.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace solvo {

std::string i_field(int32_t v, int w, int m = 0);
std::string f_field(float v, int w, int d);

// Free numeric form, one value per line in the data files: a leading blank, then the number.
// Whole numbers have no point; a real has nine significant digits, which give the same float
// back, and an exponent "E" only where the plain form would be too long. A NaN or an
// infinity, which no reader could use, is written as 0.
std::string free_field(int32_t v);
std::string free_field(float v);

// The engine's own texts are UTF-8 in the source; files hold Windows-1252. Converts the
// letters that the engine writes (Å Ä Ö å ä ö Ø and the rest of Latin-1); other bytes
// pass unchanged.
std::string utf8_to_cp1252(std::string_view utf8);

// One output file being written. Lines end with CR LF unless told otherwise.
class FortranWriter {
 public:
  explicit FortranWriter(std::string line_end = "\r\n") : line_end_(std::move(line_end)) {}

  FortranWriter& i(int32_t v, int w, int m = 0);
  FortranWriter& f(float v, int w, int d);
  // One value in free numeric form on a line of its own.
  FortranWriter& line(int32_t v) { return put(free_field(v)).endl(); }
  FortranWriter& line(float v);
  // The engine's own text (UTF-8 source text, written as Windows-1252).
  FortranWriter& a(std::string_view utf8);
  FortranWriter& a(std::string_view utf8, int w) { return aw_bytes(utf8_to_cp1252(utf8), w); }
  // Bytes from the case file, copied unchanged.
  FortranWriter& raw(std::string_view bytes) { return put(bytes); }
  FortranWriter& raw(std::string_view bytes, int w) { return aw_bytes(bytes, w); }
  FortranWriter& x(int n) {
    pos_ += n;
    return *this;
  }
  FortranWriter& t(int column) {
    pos_ = column > 1 ? static_cast<size_t>(column - 1) : 0;
    return *this;
  }
  // Ends the current line (the "/" of a layout).
  FortranWriter& endl();

  // Room for a file of this many bytes, so that the text is not copied as it grows (memory
  // that is reserved and never written costs nothing).
  void reserve(size_t bytes) { out_.reserve(bytes); }

  // The file so far; a line that was started and not ended is not included.
  std::string str() const { return out_.substr(0, line_start_); }
  // The same, taken out of the writer without a copy; the writer starts a new file.
  std::string take();

 private:
  // The current line is the end of out_, from line_start_ on. Fields are formatted straight
  // into it when they go at its end (the usual case); at_end() pads it to the position first.
  size_t line_size() const { return out_.size() - line_start_; }
  bool at_end();
  FortranWriter& moved_to_end();
  FortranWriter& put(std::string_view bytes);
  FortranWriter& aw_bytes(std::string_view bytes, int w);

  std::string line_end_;
  std::string out_;
  size_t line_start_ = 0;
  size_t pos_ = 0;
};

// ---- Reading ----

// Iw input: blanks anywhere in the field are ignored, an all-blank field is 0, an optional
// sign then digits. False when the field holds anything else or the value overflows.
bool read_i_field(std::string_view field, int32_t& v);

// Fw.d input: blanks ignored, an all-blank field is 0. A field with a decimal point is read
// as written; one without takes d implied decimals ("6" in F7.3 is 0.006). An exponent may
// follow (E, D or a sign). False for any other text, and for a value that no real can hold
// (NaN, infinity and overflow are refused).
bool read_f_field(std::string_view field, int d, float& v);

// One free-form (list-directed) value: the first item of the line. Returns false when the
// item does not read as the type. `present` is false when the item is null ("," or "/" at
// the start), which leaves the value as it was.
bool read_free_int(std::string_view line, int32_t& v, bool& present);
bool read_free_real(std::string_view line, float& v, bool& present);

// True when a line holds nothing but blanks (free-form reading passes over it).
bool is_blank_line(std::string_view line);

}  // namespace solvo
