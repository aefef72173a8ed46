#include "case_input.h"

#include <vector>

#include "case_format.h"
#include "comdat.h"
#include "comdat_deck.h"
#include "file_names.h"
#include "fortran_io.h"

namespace solvo {

namespace {

using platform::case_field;
using platform::CaseField;
using platform::Field;

// The case file as records. A record ends at LF; one CR before the LF is part of the line
// end (files written on the original platform end their lines with CR LF). The last record
// may lack its line end.
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
    ends_with_line_end_ = !text.empty() && text.back() == '\n';
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

  // True when the record taken last is the end of the file and has no line end: the file may
  // have been cut inside it.
  bool last_taken_unended() const { return next_ == lines_.size() && !ends_with_line_end_; }

  // The physical line number of the record taken last, and its text.
  int taken() const { return static_cast<int>(next_); }
  std::string_view last() const { return next_ > 0 ? lines_[next_ - 1] : std::string_view(); }

  CaseError bad(const std::string& expected, std::string_view found) const {
    return CaseError(file_, taken(), expected, platform::quoted_input(found));
  }

 private:
  CaseError missing(int line_no, const std::string& expected) const {
    return CaseError(
        file_, static_cast<int>(lines_.size()) + 1,
        "line " + std::to_string(line_no) + " of the case is missing; expected " + expected,
        "end of file");
  }

  std::string file_;
  std::vector<std::string_view> lines_;
  size_t next_ = 0;
  bool ends_with_line_end_ = false;
};

std::string_view field(std::string_view line, size_t start, size_t width) {
  if (start >= line.size()) return {};
  return line.substr(start, width);
}

// The name of a field in messages: its key with blanks.
std::string name_of(const CaseField& f) {
  std::string s = f.key;
  for (char& c : s)
    if (c == '_') c = ' ';
  return s;
}

// A value outside the range of its field in the case-format table is refused, never used:
// codes index the engine's tables, and a length or load outside what such a slab can be gives
// numbers without meaning. `where` names the value of a line of several ("field 2").
void check_range(Records& in, Field id, double v, std::string_view found, int spans = 0,
                 const std::string& where = "") {
  const CaseField& f = case_field(id);
  if (!platform::in_range(f, v, spans))
    throw in.bad(name_of(f) + where + " " + platform::range_en(f, spans), found);
}

// A fixed-column line that ends the file without its line end must reach the end of its
// last field; shorter, the file was cut inside it and a value would read short.
void check_not_cut(Records& in, std::string_view line, int needed) {
  if (in.last_taken_unended() && static_cast<int>(line.size()) < needed)
    throw in.bad(
        "the whole line (" + std::to_string(needed) + " characters; the file ends inside it)",
        line);
}

// An I2 code of lines 3, 4, 5 and 9.
int32_t fixed_int(Records& in, Field id) {
  const CaseField& f = case_field(id);
  const std::string expected =
      "the " + name_of(f) + " (a whole number in columns 1-" + std::to_string(f.width) + ")";
  std::string_view line = in.take(f.line, expected);
  check_not_cut(in, line, platform::columns_needed(f, 1));
  int32_t v = 0;
  if (!read_i_field(field(line, 0, static_cast<size_t>(f.width)), v)) throw in.bad(expected, line);
  check_range(in, id, v, line);
  return v;
}

// `count` reals of one field in the columns the table gives it, each checked.
template <size_t N>
void fixed_reals(Records& in, Field id, int count, std::array<float, N>& out) {
  const CaseField& f = case_field(id);
  const std::string expected = std::to_string(count) + " values of " + name_of(f) +
                               " in fields of " + std::to_string(f.pitch) + " characters";
  std::string_view line = in.take(f.line, expected);
  check_not_cut(in, line, platform::columns_needed(f, count));
  for (int k = 0; k < count; ++k) {
    const std::string where = " (field " + std::to_string(k + 1) + ")";
    const int at = f.start + k * f.pitch;
    std::string_view text = field(line, static_cast<size_t>(at), static_cast<size_t>(f.width));
    float v = 0;
    if (!read_f_field(text, f.decimals, v)) throw in.bad(expected + where, text);
    check_range(in, id, v, text, 0, where);
    out[1 + static_cast<size_t>(k)] = v;
  }
}

// One real of a line of several fields (line 10, the line loads), read but not checked.
bool column_real(std::string_view line, Field id, float& v) {
  const CaseField& f = case_field(id);
  return read_f_field(field(line, static_cast<size_t>(f.start), static_cast<size_t>(f.width)),
                      f.decimals, v);
}

void free_int(Records& in, Field id, int32_t& v) {
  const CaseField& f = case_field(id);
  const std::string expected = "the " + name_of(f) + " (a whole number)";
  std::string_view line = in.take_nonblank(f.line, expected);
  bool present = false;
  if (!read_free_int(line, v, present)) throw in.bad(expected, line);
  check_range(in, id, v, line);
}

void free_real(Records& in, Field id, float& v) {
  const CaseField& f = case_field(id);
  const std::string expected = "the " + name_of(f) + " (a number)";
  std::string_view line = in.take_nonblank(f.line, expected);
  bool present = false;
  if (!read_free_real(line, v, present)) throw in.bad(expected, line);
  check_range(in, id, v, line);
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

// Lines 1 and 2. The case name names the report in the working folder: it must stay there
// and name something. Neither line may carry control bytes into the report.
void read_text_lines(Records& in, Run& run) {
  std::string_view line = in.take(1, "the case name");
  if (!platform::case_name_ok(line))
    throw in.bad(
        "a case name that names a report in the working folder (no \"/\", \"\\\", "
        "control characters, \".\" or \"..\")",
        line);
  if (platform::case_name_blank(line)) throw in.bad("a case name that is not blank", line);
  run.prfil = padded(line, 9);
  std::string name = trimmed_right(run.prfil);
  run.utfil = padded(name.substr(0, 13) + ".RES", 13);

  std::string_view heading = in.take(2, "the heading");
  if (platform::has_control_byte(heading))
    throw in.bad("a heading without control characters", heading);
  run.rubrad = padded(heading, 40);
}

// Lines 3-10: market, class, spans, thicknesses, supports, load category and factors.
void read_slab(Records& in, Indat& c) {
  c.market = fixed_int(in, Field::Market);
  c.safety_class = fixed_int(in, Field::SafetyClass);
  c.n = fixed_int(in, Field::Spans);
  fixed_reals(in, Field::Span, c.n, c.span);
  fixed_reals(in, Field::Thickness, c.n, c.thickness);
  fixed_reals(in, Field::SupportWidth, c.n + 1, c.support_width);
  c.load_category = fixed_int(in, Field::LoadCategory);

  const Field factor_ids[] = {Field::GammaG, Field::Xsi,  Field::GammaQ,
                              Field::Psi0,   Field::Psi1, Field::Psi2};
  float* const factors[] = {&c.gamma_g, &c.xsi, &c.gamma_q, &c.psi0, &c.psi1, &c.psi2};
  const std::string expected = "6 load factors in fields of 7 characters";
  std::string_view line = in.take(case_field(Field::GammaG).line, expected);
  check_not_cut(in, line, platform::columns_needed(case_field(Field::Psi2), 1));
  for (size_t k = 0; k < 6; ++k) {
    const CaseField& f = case_field(factor_ids[k]);
    std::string_view text = field(line, static_cast<size_t>(f.start), static_cast<size_t>(f.width));
    if (!column_real(line, factor_ids[k], *factors[k]))
      throw in.bad(expected + " (field " + std::to_string(k + 1) + ")", text);
    check_range(in, factor_ids[k], *factors[k], text);
  }
}

// Lines 11-32: load set, loads, cantilevers, materials, fire, deflection and line-load count.
void read_loads_and_materials(Records& in, Indat& c) {
  free_int(in, Field::LoadSet, c.load_set);
  fixed_reals(in, Field::PermanentLoad, c.n, c.perm_load);
  fixed_reals(in, Field::ImposedLoad, c.n, c.imposed_load);
  free_real(in, Field::CantileverLeft, c.cant_left);
  free_real(in, Field::CantileverRight, c.cant_right);
  free_int(in, Field::Concrete, c.concrete_class);
  free_int(in, Field::TopGrade, c.top_grade);
  free_int(in, Field::TopBar, c.top_bar);
  int32_t curtailment = 0;
  free_int(in, Field::Curtailment, curtailment);
  c.top_layout = curtailment == 0 ? 1 : 2;
  free_int(in, Field::TopCover, c.top_cover);
  free_int(in, Field::BottomGrade, c.bot_grade);
  free_int(in, Field::BottomBar, c.bot_bar);
  free_int(in, Field::BottomPlacement, c.bot_placement);
  int32_t fire_method = 0;
  free_int(in, Field::FireMethod, fire_method);
  free_int(in, Field::FireOption, c.fire_option);
  c.fire_minutes = c.fire_option == 1 ? 30 : c.fire_option == 2 ? 60 : 90;
  free_int(in, Field::Ceiling, c.ceiling);
  free_int(in, Field::Creep, c.creep);
  free_real(in, Field::Camber, c.precamber);
  free_int(in, Field::DeflectionInitial, c.defl_initial);
  free_int(in, Field::DeflectionAdditional, c.defl_additional);
  free_int(in, Field::DeflectionLoads, c.defl_load);
  free_int(in, Field::LineLoads, c.line_loads);
}

// Lines 33-37: the five line-load slots; those in use are checked against the table.
void read_line_loads(Records& in, Indat& c) {
  const CaseField& span_field = case_field(Field::LoadSpan);
  for (int k = 1; k <= kMaxLineLoads; ++k) {
    const int line_no = span_field.line + k - 1;
    const std::string expected =
        "line load " + std::to_string(k) + ": span (3 characters), position and load (7 each)";
    std::string_view ll = in.take(line_no, expected);
    check_not_cut(in, ll, platform::columns_needed(case_field(Field::LoadValue), 1));
    float pos = 0, load = 0;
    int32_t span = 0;
    if (!read_i_field(field(ll, 0, static_cast<size_t>(span_field.width)), span) ||
        !column_real(ll, Field::LoadPosition, pos) || !column_real(ll, Field::LoadValue, load))
      throw in.bad(expected, ll);
    if (k <= c.line_loads) {
      check_range(in, Field::LoadSpan, span, ll, c.n);
      check_range(in, Field::LoadPosition, pos, ll);
      check_range(in, Field::LoadValue, load, ll);
    }
    c.ll_span[k] = span;
    c.ll_pos[k] = pos;
    c.ll_load[k] = load;
  }
}

// Lines 38-41: the deck during casting, the props of every span, the lowest natural frequency
// and the largest crack width. A file that ends after line 37 or after line 40 (blank lines
// aside) keeps the defaults of the lines it leaves out; once line 38 is there, 39 and 40 must
// follow.
void read_casting(Records& in, Indat& c) {
  if (in.at_end()) return;
  free_int(in, Field::DeckSupport, c.deck_support);
  const CaseField& props = case_field(Field::Props);
  const std::string expected = std::to_string(c.n) + " numbers of props (" +
                               platform::range_en(props, c.n) + ") in columns of 3 characters";
  std::string_view line = in.take(props.line, expected);
  check_not_cut(in, line, platform::columns_needed(props, c.n));
  for (int i = 1; i <= c.n; ++i) {
    const int at = (i - 1) * props.pitch;
    std::string_view f = field(line, static_cast<size_t>(at), static_cast<size_t>(props.width));
    if (!read_i_field(f, c.props[i])) throw in.bad(expected, line);
    check_range(in, Field::Props, c.props[i], f, c.n, " (span " + std::to_string(i) + ")");
  }
  free_real(in, Field::FrequencyMin, c.freq_min);
  if (in.at_end()) return;
  free_real(in, Field::CrackWidthMax, c.crack_wmax);
}

}  // namespace

CaseError::CaseError(const std::string& file, int line, const std::string& expected,
                     const std::string& found)
    : std::runtime_error(file + ", line " + std::to_string(line) + ": expected " + expected +
                         " (found \"" + found + "\")"),
      line_(line) {}

const char* not_a_case_file(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return nullptr;  // reading says why
  switch (status.type()) {
    case std::filesystem::file_type::regular:
      return nullptr;
    case std::filesystem::file_type::directory:
      return "it is a folder";
    case std::filesystem::file_type::fifo:
      return "it is a FIFO";
    case std::filesystem::file_type::socket:
      return "it is a socket";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
      return "it is a device";
    default:
      return "it is no regular file";
  }
}

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
  read_text_lines(in, run);
  read_slab(in, c);
  read_loads_and_materials(in, c);
  read_line_loads(in, c);
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
    run.dat.clear_span[i] = c.span[i] - 0.5f * (c.support_width[i] + c.support_width[i + 1]);
    run.dat.self_weight[i] =
        (c.thickness[i] - comdat::kRibVoidDepth) * comdat::kConcreteUnitWeight +
        comdat::kDeckWeight;
  }
}

}  // namespace solvo
