#include "case_input.h"

#include <vector>

#include "comdat.h"
#include "comdat_deck.h"
#include "file_names.h"
#include "fortran_io.h"

namespace solvo {

namespace {

// A text fit for a one-line console message: printable ASCII, at most 40 characters.
std::string shown(std::string_view text) {
  std::string s;
  for (char c : text.substr(0, 40)) {
    unsigned char u = static_cast<unsigned char>(c);
    s += (u >= 32 && u < 127) ? c : '?';
  }
  if (text.size() > 40) s += "...";
  return s;
}

// The case file as records. A record ends at LF; one CR before the LF is part of the line
// end (files written on the original platform end their lines with CR LF).
class Records {
 public:
  Records(std::string_view text, std::string file) : file_(std::move(file)) {
    size_t start = 0;
    while (start < text.size()) {
      size_t lf = text.find('\n', start);
      size_t end = lf == std::string_view::npos ? text.size() : lf;
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  // The next record for line `line_no` of the layout.
  std::string_view take(int line_no, const std::string& expected) {
    if (next_ >= lines_.size()) throw missing(line_no, expected);
    return lines_[next_++];
  }

  // The next record that is not blank, for a free-form value.
  std::string_view take_nonblank(int line_no, const std::string& expected) {
    while (next_ < lines_.size() && is_blank_line(lines_[next_])) ++next_;
    return take(line_no, expected);
  }

  // True when nothing but blank records is left.
  bool at_end() const {
    for (size_t k = next_; k < lines_.size(); ++k)
      if (!is_blank_line(lines_[k])) return false;
    return true;
  }

  // The physical line number of the record taken last, and its text.
  int taken() const { return static_cast<int>(next_); }
  std::string_view last() const { return next_ > 0 ? lines_[next_ - 1] : std::string_view(); }

  CaseError bad(const std::string& expected, std::string_view found) const {
    return CaseError(file_, taken(), expected, shown(found));
  }

 private:
  CaseError missing(int line_no, const std::string& expected) const {
    return CaseError(file_, static_cast<int>(lines_.size()) + 1,
                     "line " + std::to_string(line_no) + " of the case is missing; expected " +
                         expected,
                     "end of file");
  }

  std::string file_;
  std::vector<std::string_view> lines_;
  size_t next_ = 0;
};

std::string_view field(std::string_view line, size_t start, size_t width) {
  if (start >= line.size()) return {};
  return line.substr(start, width);
}

// Codes index the engine's tables: one outside its table is refused, never used.
void check_range(Records& in, int32_t v, int32_t lo, int32_t hi, const std::string& what) {
  if (v < lo || v > hi)
    throw in.bad(what + " " + std::to_string(lo) + " to " + std::to_string(hi), in.last());
}

int32_t fixed_int(Records& in, int line_no, const std::string& what, int width = 2) {
  std::string expected = what + " (a whole number in columns 1-" + std::to_string(width) + ")";
  std::string_view line = in.take(line_no, expected);
  int32_t v = 0;
  if (!read_i_field(field(line, 0, static_cast<size_t>(width)), v)) throw in.bad(expected, line);
  return v;
}

// `count` reals in fields of `pitch` characters, the first `width` of each read with
// `decimals` implied decimals; values after the last field are ignored.
template <size_t N>
void fixed_reals(Records& in, int line_no, const std::string& what, int count, size_t pitch,
                 size_t width, int decimals, std::array<float, N>& out, size_t first = 1) {
  std::string expected = std::to_string(count) + " " + what + " in fields of " +
                         std::to_string(pitch) + " characters";
  std::string_view line = in.take(line_no, expected);
  for (int k = 0; k < count; ++k) {
    std::string_view f = field(line, static_cast<size_t>(k) * pitch, width);
    float v = 0;
    if (!read_f_field(f, decimals, v))
      throw in.bad(expected + " (field " + std::to_string(k + 1) + ")", f);
    out[first + static_cast<size_t>(k)] = v;
  }
}

void free_int(Records& in, int line_no, const std::string& what, int32_t& v) {
  std::string expected = what + " (a whole number)";
  std::string_view line = in.take_nonblank(line_no, expected);
  bool present = false;
  if (!read_free_int(line, v, present)) throw in.bad(expected, line);
}

void free_real(Records& in, int line_no, const std::string& what, float& v) {
  std::string expected = what + " (a number)";
  std::string_view line = in.take_nonblank(line_no, expected);
  bool present = false;
  if (!read_free_real(line, v, present)) throw in.bad(expected, line);
}

std::string padded(std::string_view bytes, size_t width) {
  std::string s(bytes.substr(0, width));
  s.resize(width, ' ');
  return s;
}

std::string trimmed_right(std::string_view s) {
  size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

// The case name names the report in the working folder: it must stay there.
void check_case_name(Records& in, std::string_view line) {
  if (!platform::case_name_ok(line))
    throw in.bad("a case name that names a report in the working folder (no \"/\", \"\\\", "
                 "control characters, \".\" or \"..\")",
                 line);
}

// Lines 38-40: the deck during casting, the props of every span and the lowest natural
// frequency. A file that ends after line 37 (blank lines aside) keeps the defaults; once line
// 38 is there, 39 and 40 must follow.
void read_casting(Records& in, Indat& c) {
  if (in.at_end()) return;
  free_int(in, 38, "the deck during casting", c.deck_support);
  check_range(in, c.deck_support, 1, 2, "a deck support code");
  const std::string expected = std::to_string(c.n) +
                               " numbers of props (0 to 2) in columns of 3 characters";
  std::string_view line = in.take(39, expected);
  for (int i = 1; i <= c.n; ++i) {
    std::string_view f = field(line, static_cast<size_t>(i - 1) * 3, 3);
    if (!read_i_field(f, c.props[i])) throw in.bad(expected, line);
    check_range(in, c.props[i], 0, 2, "a number of props");
  }
  free_real(in, 40, "the lowest natural frequency in Hz", c.freq_min);
  if (!(c.freq_min >= 0.0f))
    throw in.bad("a lowest natural frequency of 0 Hz or more", in.last());
}

}  // namespace

CaseError::CaseError(const std::string& file, int line, const std::string& expected,
                     const std::string& found)
    : std::runtime_error(file + ", line " + std::to_string(line) + ": expected " + expected +
                         " (found \"" + found + "\")"),
      line_(line) {}

void blkdat(Run& run) {
  Indat& c = run.indat;
  c = Indat{};
  c.span[1] = c.span[2] = 6.0f;
  c.thickness[1] = c.thickness[2] = 0.14f;
  c.support_width[2] = 0.1f;
  c.imposed_load[1] = c.imposed_load[2] = 2.0f;
  for (int k = 1; k <= kMaxLineLoads; ++k) c.ll_span[k] = 1;
  run.rubrad = std::string(40, ' ');
  run.prfil = std::string(9, ' ');
  run.utfil = std::string(13, ' ');
  run.arbvar = Arbvar{};
  run.utdat = Utdat{};
  run.files.clear();
}

void insolvo(Run& run, std::string_view case_text, const std::string& file) {
  blkdat(run);
  Indat& c = run.indat;
  Records in(case_text, file);

  std::string_view line = in.take(1, "the case name");
  run.prfil = padded(line, 9);
  check_case_name(in, line);
  std::string name = trimmed_right(run.prfil).substr(0, 13) + ".RES";
  run.utfil = padded(name, 13);

  run.rubrad = padded(in.take(2, "the heading"), 40);

  c.market = fixed_int(in, 3, "the market code");
  check_range(in, c.market, 1, comdat::kMarkets, "a market code");
  c.safety_class = fixed_int(in, 4, "the safety class");
  check_range(in, c.safety_class, 1, 3, "a safety class");
  c.n = fixed_int(in, 5, "the number of spans");
  check_range(in, c.n, 1, kMaxSpans, "a number of spans");
  fixed_reals(in, 6, "span lengths", c.n, 7, 7, 3, c.span);
  fixed_reals(in, 7, "slab thicknesses", c.n, 7, 7, 3, c.thickness);
  fixed_reals(in, 8, "support widths", c.n + 1, 6, 5, 2, c.support_width);
  c.load_category = fixed_int(in, 9, "the load category");
  check_range(in, c.load_category, 0, comdat::kLoadCategories - 1, "a load category");
  std::array<float, 7> factors{};
  fixed_reals(in, 10, "load factors", 6, 7, 7, 3, factors);
  c.gamma_g = factors[1];
  c.xsi = factors[2];
  c.gamma_q = factors[3];
  c.psi0 = factors[4];
  c.psi1 = factors[5];
  c.psi2 = factors[6];
  free_int(in, 11, "the load set selector", c.load_set);
  check_range(in, c.load_set, 1, 3, "a load set selector");
  fixed_reals(in, 12, "permanent loads", c.n, 7, 7, 3, c.perm_load);
  fixed_reals(in, 13, "imposed loads", c.n, 7, 7, 3, c.imposed_load);
  free_real(in, 14, "the left cantilever length", c.cant_left);
  free_real(in, 15, "the right cantilever length", c.cant_right);
  free_int(in, 16, "the concrete class", c.concrete_class);
  check_range(in, c.concrete_class, 1, comdat::kConcreteClasses, "a concrete class");
  free_int(in, 17, "the steel grade of the top bars", c.top_grade);
  check_range(in, c.top_grade, 1, comdat::kSteelGrades, "a steel grade");
  free_int(in, 18, "the bar size of the top bars", c.top_bar);
  check_range(in, c.top_bar, 1, comdat::kBarSizes, "a bar size");
  int32_t curtailment = 0;
  free_int(in, 19, "the curtailment of the top bars", curtailment);
  c.top_layout = curtailment == 0 ? 1 : 2;
  free_int(in, 20, "the cover of the top bars", c.top_cover);
  free_int(in, 21, "the steel grade of the bottom bars", c.bot_grade);
  check_range(in, c.bot_grade, 1, comdat::kSteelGrades, "a steel grade");
  free_int(in, 22, "the bar size of the bottom bars", c.bot_bar);
  check_range(in, c.bot_bar, 1, comdat::kBarSizes, "a bar size");
  free_int(in, 23, "the placement of the bottom bars", c.bot_placement);
  int32_t fire_method = 0;
  free_int(in, 24, "the fire design method", fire_method);
  int32_t fire_option = 0;
  free_int(in, 25, "the fire resistance class", fire_option);
  c.fire_minutes = fire_option == 1 ? 30 : fire_option == 2 ? 60 : 90;
  free_int(in, 26, "the ceiling code", c.ceiling);
  free_int(in, 27, "the creep factor", c.creep);
  free_real(in, 28, "the pre-camber", c.precamber);
  free_int(in, 29, "the limit of the initial deflection", c.defl_initial);
  free_int(in, 30, "the limit of the additional deflection", c.defl_additional);
  free_int(in, 31, "the loads for the additional deflection", c.defl_load);
  free_int(in, 32, "the number of line loads", c.line_loads);
  check_range(in, c.line_loads, 0, kMaxLineLoads, "a number of line loads");
  for (int k = 1; k <= kMaxLineLoads; ++k) {
    const int line_no = 32 + k;
    const std::string expected =
        "line load " + std::to_string(k) + ": span (3 characters), position and load (7 each)";
    std::string_view ll = in.take(line_no, expected);
    float pos = 0, load = 0;
    int32_t span = 0;
    if (!read_i_field(field(ll, 0, 3), span)) throw in.bad(expected, ll);
    if (!read_f_field(field(ll, 3, 7), 3, pos)) throw in.bad(expected, ll);
    if (!read_f_field(field(ll, 10, 7), 3, load)) throw in.bad(expected, ll);
    if (k <= c.line_loads) check_range(in, span, 1, c.n, "the span of a line load");
    c.ll_span[k] = span;
    c.ll_pos[k] = pos;
    c.ll_load[k] = load;
  }
  read_casting(in, c);
  berdat(run);
}

void berdat(Run& run) {
  const Indat& c = run.indat;
  Matdat& m = run.matdat;
  const comdat::Market& market = comdat::kMarket[static_cast<size_t>(c.market)];
  const comdat::Concrete& concrete = comdat::kConcrete[static_cast<size_t>(c.concrete_class)];
  const comdat::Bar& top = comdat::kBar[static_cast<size_t>(c.top_bar)];
  const comdat::Bar& bot = comdat::kBar[static_cast<size_t>(c.bot_bar)];

  m.fypd = comdat::kDeckFyp / market.gamma_m0;
  m.es = comdat::kEs;
  m.tau_rd = comdat::kDeckShearStrength * (5.0f / 6.0f);
  m.mrd_deck = comdat::kDeckMomentResistance / market.gamma_m0;
  m.fyd_top = comdat::kFyk[static_cast<size_t>(c.top_grade)] / market.gamma_s;
  m.fyd_top_fire = m.fyd_top;
  m.fyd_bot = comdat::kFyk[static_cast<size_t>(c.bot_grade)] / market.gamma_s;
  m.dia_top = top.diameter;
  m.area_top = top.area;
  m.mass_top = top.mass;
  m.dia_bot = bot.diameter;
  m.area_bot = bot.area;
  m.mass_bot = bot.mass;
  m.fcd = market.alpha_cc * concrete.fck / market.gamma_c;
  m.fctd = market.alpha_ct * concrete.fctk005 / market.gamma_c;
  m.ec = 1000.0f * concrete.ecm;

  run.dat.gamma_d = market.gamma_d[static_cast<size_t>(c.safety_class - 1)];
  for (int i = 1; i <= c.n; ++i) {
    run.dat.clear_span[i] =
        c.span[i] - 0.5f * (c.support_width[i] + c.support_width[i + 1]);
    run.dat.self_weight[i] = (c.thickness[i] - comdat::kRibVoidDepth) *
                                 comdat::kConcreteUnitWeight +
                             comdat::kDeckWeight;
  }
}

}  // namespace solvo
