#include "case_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "code_page.h"

namespace solvo::platform {

namespace {

using F = Field;
using K = FieldKind;
using Form = FieldForm;
using C = FieldCount;

constexpr double kInt16Min = -32768;
constexpr double kInt16Max = 32767;

// Ranges. Codes index the programs' tables. Lengths and loads are kept to what a composite
// slab on this deck can be: a span up to 30 m, a slab thicker than the deck's 45 mm profile
// and at most 0.5 m, supports at most 1 m wide, cantilevers at most 5 m, loads that are not
// negative and at most 100 kN/m2 (line loads 1000 kN/m). Partial factors 1 to 2, the
// reduction factor above 0 and at most 1, combination factors 0 to 1.
constexpr FieldRange codes(int lo, int hi) { return {double(lo), double(hi), false, false}; }
constexpr FieldRange above(double lo, double hi) { return {lo, hi, true, false}; }
constexpr FieldRange within(double lo, double hi) { return {lo, hi, false, false}; }
constexpr FieldRange kNone{};
constexpr FieldRange kWholeNumber{kInt16Min, kInt16Max, false, false};
constexpr FieldRange kLoadSpans{1, 10, false, true};

// One entry: id, line, repeat, key, kind, form, count, start, width, pitch, decimals, range,
// in use only, default, default text, unit, Swedish name, meaning (Swedish, English).
constexpr std::array<CaseField, kCaseFieldCount> kFields{{
    {F::CaseName, 1, 1, "case_name", K::Text, Form::Text, C::One, 0, 0, 0, 0, kNone, false, 0,
     "blanka", "", "fallets namn", "fallets namn; de 9 första tecknen namnger resultatfilen (.RES)",
     "case name; its first 9 characters name the report (.RES)"},
    {F::Heading, 2, 1, "heading", K::Text, Form::Text, C::One, 0, 0, 0, 0, kNone, false, 0,
     "blanka", "", "rubrik", "rubrik; de 40 första tecknen skrivs i resultatet",
     "heading; its first 40 characters are printed"},
    {F::Market, 3, 1, "market", K::Integer, Form::Columns, C::One, 0, 2, 2, 0, codes(1, 6), false,
     1, "1", "", "marknad", "marknad: 1 Sverige, 2 Polen, 3 Norge, 4 Finland, 5 Danmark, 6 Valfri",
     "market: 1 Sweden, 2 Poland, 3 Norway, 4 Finland, 5 Denmark, 6 free"},
    {F::SafetyClass, 4, 1, "safety_class", K::Integer, Form::Columns, C::One, 0, 2, 2, 0,
     codes(1, 3), false, 2, "2", "", "säkerhetsklass", "säkerhetsklass (pålitlighetsklass)",
     "safety class (reliability class)"},
    {F::Spans, 5, 1, "spans", K::Integer, Form::Columns, C::One, 0, 2, 2, 0, codes(1, 10), false, 2,
     "2", "", "antal fack", "antal fack n", "number of spans n"},
    {F::Span, 6, 1, "span", K::Real, Form::Columns, C::Spans, 0, 7, 7, 3, above(0, 30), false, 6,
     "6.0 i fack 1 och 2", "m", "spännvidd", "spännvidd per fack, centrum till centrum stöd",
     "span length per span, centre to centre of supports"},
    {F::Thickness, 7, 1, "thickness", K::Real, Form::Columns, C::Spans, 0, 7, 7, 3,
     above(0.045, 0.5), false, 0.14, "0.14 i fack 1 och 2", "m", "plattjocklek",
     "plattjocklek per fack; större än profilhöjden 0.045 m", "slab thickness per span"},
    {F::SupportWidth, 8, 1, "support_width", K::Real, Form::Columns, C::Supports, 0, 5, 6, 2,
     within(0, 1), false, 0, "0, 0.1, 0", "m", "upplagsbredd",
     "upplagsbredd per stöd 1..n+1 (fält om 6 tecken)", "support width per support 1..n+1"},
    {F::LoadCategory, 9, 1, "load_category", K::Integer, Form::Columns, C::One, 0, 2, 2, 0,
     codes(0, 9), false, 1, "1", "", "lastgrupp",
     "lastgrupp: 0 Valfri, 1 A, 2 B, 3 C1 ... 7 C5, 8 D1, 9 D2", "load category 0 to 9"},
    {F::GammaG, 10, 1, "gamma_g", K::Real, Form::Columns, C::One, 0, 7, 7, 3, within(1, 2), false,
     1.35, "1.35", "", "partialkoefficient permanent last",
     "partialkoefficient för permanent last, γG", "partial factor of the permanent load"},
    {F::Xsi, 10, 1, "xsi", K::Real, Form::Columns, C::One, 7, 7, 7, 3, above(0, 1), false, 0.89,
     "0.89", "", "reduktionsfaktor", "reduktionsfaktor ξ (ekvation 6.10 b)",
     "reduction factor xi (expression 6.10b)"},
    {F::GammaQ, 10, 1, "gamma_q", K::Real, Form::Columns, C::One, 14, 7, 7, 3, within(1, 2), false,
     1.5, "1.5", "", "partialkoefficient variabel last", "partialkoefficient för variabel last, γQ",
     "partial factor of the variable load"},
    {F::Psi0, 10, 1, "psi0", K::Real, Form::Columns, C::One, 21, 7, 7, 3, within(0, 1), false, 0.7,
     "0.7", "", "lastkombinationsfaktor psi0", "lastkombinationsfaktor ψ0",
     "combination factor psi0"},
    {F::Psi1, 10, 1, "psi1", K::Real, Form::Columns, C::One, 28, 7, 7, 3, within(0, 1), false, 0.5,
     "0.5", "", "lastkombinationsfaktor psi1", "lastkombinationsfaktor ψ1",
     "combination factor psi1"},
    {F::Psi2, 10, 1, "psi2", K::Real, Form::Columns, C::One, 35, 7, 7, 3, within(0, 1), false, 0.3,
     "0.3", "", "lastkombinationsfaktor psi2", "lastkombinationsfaktor ψ2",
     "combination factor psi2"},
    {F::LoadSet, 11, 1, "load_set", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 3), false,
     3, "3", "", "lastkombination", "lastkombination: 1 ekvation 6.10 a, 2 6.10 b, 3 båda",
     "load combination: 1 expression 6.10a, 2 6.10b, 3 both"},
    {F::PermanentLoad, 12, 1, "permanent_load", K::Real, Form::Columns, C::Spans, 0, 7, 7, 3,
     within(0, 100), false, 0, "0", "kN/m2", "permanent last",
     "permanent last per fack utöver plattans egentyngd",
     "permanent load per span besides the slab's self weight"},
    {F::ImposedLoad, 13, 1, "imposed_load", K::Real, Form::Columns, C::Spans, 0, 7, 7, 3,
     within(0, 100), false, 2, "2.0 i fack 1 och 2", "kN/m2", "last",
     "nyttig (variabel) last per fack", "imposed (variable) load per span"},
    {F::CantileverLeft, 14, 1, "cantilever_left", K::Real, Form::Free, C::One, 0, 0, 0, 0,
     within(0, 5), false, 0, "0", "m", "konsol vänster", "vänster konsols längd, 0 = ingen",
     "length of the left cantilever, 0 = none"},
    {F::CantileverRight, 15, 1, "cantilever_right", K::Real, Form::Free, C::One, 0, 0, 0, 0,
     within(0, 5), false, 0, "0", "m", "konsol höger", "höger konsols längd, 0 = ingen",
     "length of the right cantilever, 0 = none"},
    {F::Concrete, 16, 1, "concrete", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 9), false,
     4, "4", "", "betongklass", "betongklass: 1 C20/25 ... 9 C60/75",
     "concrete class 1 C20/25 to 9 C60/75"},
    {F::TopGrade, 17, 1, "top_grade", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 3),
     false, 2, "2", "", "stålkvalitet", "stålkvalitet i överkant: 1 400, 2 500, 3 600 MPa",
     "steel grade of the top bars: 400, 500, 600 MPa"},
    {F::TopBar, 18, 1, "top_bar", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 5), false, 3,
     "3", "", "stångdiameter", "stångdiameter i överkant: 1 ø6, 2 ø8, 3 ø10, 4 ø12, 5 ø16",
     "bar size of the top bars: 6, 8, 10, 12, 16 mm"},
    {F::Curtailment, 19, 1, "curtailment", K::Integer, Form::Free, C::One, 0, 0, 0, 0, kWholeNumber,
     false, 0, "0", "", "avkortning",
     "avkortning i överkant: 0 en stånglängd, annat värde två förskjutna längder",
     "curtailment of the top bars: 0 one length, any other value two staggered lengths"},
    {F::TopCover, 20, 1, "top_cover", K::Integer, Form::Free, C::One, 0, 0, 0, 0, within(0, 100),
     false, 15, "15", "mm", "täckande betongskikt", "täckande betongskikt i överkant",
     "concrete cover of the top bars"},
    {F::BottomGrade, 21, 1, "bottom_grade", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 3),
     false, 2, "2", "", "stålkvalitet", "stålkvalitet i underkant (som rad 17)",
     "steel grade of the bottom bars (as line 17)"},
    {F::BottomBar, 22, 1, "bottom_bar", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 5),
     false, 1, "1", "", "stångdiameter", "stångdiameter i underkant (som rad 18)",
     "bar size of the bottom bars (as line 18)"},
    {F::BottomPlacement, 23, 1, "bottom_placement", K::Integer, Form::Free, C::One, 0, 0, 0, 0,
     within(0, 200), false, 42, "42", "mm", "avstånd till armeringens tyngdpunkt",
     "avstånd från plattans underkant till underkantsarmeringens tyngdpunkt",
     "distance from the soffit to the centre of the bottom bars"},
    {F::FireMethod, 24, 1, "fire_method", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 1),
     false, 1, "–", "", "beräkningsmetod brand", "beräkningsmetod brand: 1 Brandteknisk klass",
     "fire design method: 1 resistance class"},
    {F::FireOption, 25, 1, "fire_option", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 4),
     false, 2, "2", "", "brandklass",
     "brandklass: 1 REI 30, 2 REI 60, 3 REI 90, 4 REI 120 (dimensioneras som REI 90)",
     "fire class: REI 30, 60, 90; 4 = REI 120, designed as REI 90"},
    {F::Ceiling, 26, 1, "ceiling", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 2), false,
     1, "1", "", "undertak", "undertak: 1 saknas, 2 13 mm gips",
     "suspended ceiling: 1 none, 2 13 mm gypsum board"},
    {F::Creep, 27, 1, "creep", K::Integer, Form::Free, C::One, 0, 0, 0, 0, within(0, 5), false, 2,
     "2", "", "kryptal", "kryptal (långtidslast)", "creep factor of the long-term load"},
    {F::Camber, 28, 1, "camber", K::Real, Form::Free, C::One, 0, 0, 0, 0, within(0, 100), false, 0,
     "0", "mm", "överhöjning", "överhöjning", "pre-camber"},
    {F::DeflectionInitial, 29, 1, "deflection_initial", K::Integer, Form::Free, C::One, 0, 0, 0, 0,
     within(50, 5000), false, 250, "250", "", "gräns för initiell nedböjning",
     "gräns för initiell nedböjning, L / värdet", "limit of the initial deflection, span / value"},
    {F::DeflectionAdditional, 30, 1, "deflection_additional", K::Integer, Form::Free, C::One, 0, 0,
     0, 0, within(50, 5000), false, 500, "500", "", "gräns för tillkommande nedböjning",
     "gräns för tillkommande nedböjning, L / värdet",
     "limit of the additional deflection, span / value"},
    {F::DeflectionLoads, 31, 1, "deflection_loads", K::Integer, Form::Free, C::One, 0, 0, 0, 0,
     codes(1, 2), false, 2, "2", "", "brukskombination",
     "laster för tillkommande nedböjning: 1 frekventa, 2 karakteristiska",
     "loads of the additional deflection: 1 frequent, 2 characteristic"},
    {F::LineLoads, 32, 1, "line_loads", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(0, 5),
     false, 0, "0", "", "antal linjelaster", "antal linjelaster i bruk",
     "number of line loads in use"},
    {F::LoadSpan, 33, 5, "load_span", K::Integer, Form::Columns, C::One, 0, 3, 3, 0, kLoadSpans,
     true, 1, "1", "", "facknummer", "linjelast 1..5: fack (3 tecken)",
     "line load 1..5: span number (3 characters)"},
    {F::LoadPosition, 33, 5, "load_position", K::Real, Form::Columns, C::One, 3, 7, 7, 3,
     within(-300, 300), true, 0, "0", "m", "avstånd",
     "linjelast: avstånd från fackets vänstra stöd (7 tecken)",
     "line load: distance from the span's left support (7 characters)"},
    {F::LoadValue, 33, 5, "load_value", K::Real, Form::Columns, C::One, 10, 7, 7, 3,
     within(0, 1000), true, 0, "0", "kN/m", "linjelast", "linjelast (7 tecken)",
     "line load (7 characters)"},
    {F::DeckSupport, 38, 1, "deck_support", K::Integer, Form::Free, C::One, 0, 0, 0, 0, codes(1, 2),
     false, 1, "1", "", "byggskede",
     "plåten under gjutningen: 1 kontinuerlig över stöd och stämp, 2 fritt upplagd",
     "the deck while cast: 1 continuous over supports and props, 2 simply supported"},
    {F::Props, 39, 1, "props", K::Integer, Form::Columns, C::Spans, 0, 3, 3, 0, codes(0, 4), false,
     0, "0", "", "antal stämp", "antal stämp per fack, jämnt fördelade (3 tecken)",
     "temporary props per span, equally spaced (3 characters)"},
    {F::FrequencyMin, 40, 1, "frequency_min", K::Real, Form::Free, C::One, 0, 0, 0, 0,
     within(0, 30), false, 5, "5", "Hz", "egenfrekvens", "lägsta egenfrekvens, 0 = ingen kontroll",
     "lowest natural frequency, 0 = no check"},
    {F::CrackWidthMax, 41, 1, "crack_width_max", K::Real, Form::Free, C::One, 0, 0, 0, 0,
     within(0, 1), false, 0.4, "0.4", "mm", "största sprickbredd",
     "största sprickbredd wmax över stöd, 0 = ingen kontroll",
     "largest crack width wmax over the supports, 0 = no check"},
}};

constexpr bool table_in_order() {
  for (int k = 0; k < kCaseFieldCount; ++k)
    if (static_cast<int>(kFields[static_cast<size_t>(k)].id) != k) return false;
  for (int k = 1; k < kCaseFieldCount; ++k)
    if (kFields[static_cast<size_t>(k)].line < kFields[static_cast<size_t>(k - 1)].line)
      return false;
  return true;
}
static_assert(table_in_order(), "the fields stand in file order, indexed by their id");

double upper(const CaseField& f, int spans) {
  return f.range.max_is_spans ? static_cast<double>(spans) : f.range.max;
}

std::string with_unit(const std::string& text, const CaseField& f) {
  return *f.unit == '\0' ? text : text + " " + f.unit;
}

}  // namespace

const std::array<CaseField, kCaseFieldCount>& case_fields() { return kFields; }

const CaseField& case_field(Field id) { return kFields[static_cast<size_t>(id)]; }

int max_props() { return static_cast<int>(case_field(Field::Props).range.max); }

bool in_range(const CaseField& f, double v, int spans) {
  if (f.kind == FieldKind::Text) return true;
  if (!std::isfinite(v)) return false;
  if (f.kind == FieldKind::Integer && v != std::trunc(v)) return false;
  double lo = f.range.min, hi = upper(f, spans);
  if (f.kind == FieldKind::Real) {
    if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
    // Both programs hold reals as floats: 0.045 read is the float nearest 0.045, which lies
    // above the double 0.045. The bounds are compared as those programs hold them.
    v = static_cast<float>(v);
    lo = static_cast<float>(lo);
    hi = static_cast<float>(hi);
  }
  const bool low_ok = f.range.min_open ? v > lo : v >= lo;
  return low_ok && v <= hi;
}

std::string number_text(double v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

std::string range_en(const CaseField& f, int spans) {
  const std::string lo = number_text(f.range.min);
  const std::string hi = number_text(upper(f, spans));
  if (f.kind == FieldKind::Integer && !f.range.min_open) return with_unit(lo + " to " + hi, f);
  if (f.range.min_open) return "greater than " + lo + " and at most " + with_unit(hi, f);
  return "from " + lo + " to " + with_unit(hi, f);
}

std::string range_sv(const CaseField& f, int spans) {
  const std::string lo = number_text(f.range.min);
  const std::string hi = number_text(upper(f, spans));
  if (f.kind == FieldKind::Integer && !f.range.min_open) return with_unit(lo + " till " + hi, f);
  if (f.range.min_open) return "större än " + lo + " och högst " + with_unit(hi, f);
  return "från " + lo + " till " + with_unit(hi, f);
}

int columns_needed(const CaseField& f, int values) {
  if (f.form != FieldForm::Columns || values <= 0) return 0;
  return f.start + (values - 1) * f.pitch + f.width;
}

std::string quoted_input(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes.substr(0, kQuotedBytes)) {
    const auto b = static_cast<unsigned char>(c);
    if (is_control_byte(b)) {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      append_utf8(out, from_case_byte(b));
    }
  }
  if (bytes.size() > kQuotedBytes) out += "...";
  return out;
}

bool has_control_byte(std::string_view bytes) {
  for (const char c : bytes)
    if (is_control_byte(static_cast<unsigned char>(c))) return true;
  return false;
}

}  // namespace solvo::platform
