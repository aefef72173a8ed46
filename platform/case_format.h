// The design-case file's fields: one table that the engine's reader, the front end's reader and
// writer, the checks before a run and the help document's table of the file format all read.
//
// The file holds 37 lines, then the optional lines 38-40 (deck during casting, props, lowest
// natural frequency) and 41 (largest crack width). A file may end after line 37 or after line
// 40; the lines it leaves out keep their defaults. Each entry says where its value stands, how
// it is read, what it may hold and what it means. Lengths in m, loads in kN/m2 (line loads
// kN/m), cover, bar placement and camber in mm, frequency in Hz, crack width in mm.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvo::platform {

// How a line holds its value.
enum class FieldForm {
  Text,     // the whole line, as bytes
  Free,     // one value, the first of its line (list-directed)
  Columns,  // fixed columns
};

enum class FieldKind { Text, Integer, Real };

// How many values a line holds.
enum class FieldCount {
  One,       // one value
  Spans,     // n values, one per span
  Supports,  // n + 1 values, one per support
};

// The fields, in file order. Line loads are lines 33-37 with three fields each.
enum class Field : int {
  CaseName,
  Heading,
  Market,
  SafetyClass,
  Spans,
  Span,
  Thickness,
  SupportWidth,
  LoadCategory,
  GammaG,
  Xsi,
  GammaQ,
  Psi0,
  Psi1,
  Psi2,
  LoadSet,
  PermanentLoad,
  ImposedLoad,
  CantileverLeft,
  CantileverRight,
  Concrete,
  TopGrade,
  TopBar,
  Curtailment,
  TopCover,
  BottomGrade,
  BottomBar,
  BottomPlacement,
  FireMethod,
  FireOption,
  Ceiling,
  Creep,
  Camber,
  DeflectionInitial,
  DeflectionAdditional,
  DeflectionLoads,
  LineLoads,
  LoadSpan,
  LoadPosition,
  LoadValue,
  DeckSupport,
  Props,
  FrequencyMin,
  CrackWidthMax,
};
inline constexpr int kCaseFieldCount = static_cast<int>(Field::CrackWidthMax) + 1;

// The range a number must lie in: min..max, min itself left out when `min_open`. A line-load
// span number has the number of spans n as its upper bound (`max_is_spans`).
struct FieldRange {
  double min = 0;
  double max = 0;
  bool min_open = false;
  bool max_is_spans = false;
};

struct CaseField {
  Field id;
  int line;         // the line that holds it; line loads: the first of lines 33-37
  int repeat;       // lines that hold it in turn: 1, or 5 for the line loads
  const char* key;  // identifier in messages and documents
  FieldKind kind;
  FieldForm form;
  FieldCount count;
  int start;                  // Columns: first character of the first value (0-based)
  int width;                  // Columns: characters the engine reads of each value
  int pitch;                  // Columns: characters from one value to the next
  int decimals;               // Columns: implied decimals of a field without a point
  FieldRange range;           // numbers only
  bool in_use_only;           // line loads: checked for the loads in use only
  double fallback;            // the engine's default
  const char* fallback_text;  // the default as the help document gives it
  const char* unit;           // "" for codes and texts
  const char* sv;             // short Swedish name in messages ("spännvidd")
  const char* meaning_sv;     // one line in Swedish, for the help document
  const char* meaning_en;     // one line in English
};

// The table, in file order.
const std::array<CaseField, kCaseFieldCount>& case_fields();
const CaseField& case_field(Field id);

// Lines of the original layout, the last optional groups, and the lines the writer writes.
inline constexpr int kCaseLines = 37;
inline constexpr int kCastingLastLine = 40;
inline constexpr int kCaseLinesWritten = 41;

// The largest number of props in a span and the largest crack width, from the table.
int max_props();

// True when `v` lies inside the field's range; `spans` is the case's n (line-load spans).
bool in_range(const CaseField& f, double v, int spans);

// The range in words, for messages: "1 to 6", "greater than 0 and at most 30 m";
// Swedish "1 till 6", "större än 0 och högst 30 m". `spans` as for in_range.
std::string range_en(const CaseField& f, int spans);
std::string range_sv(const CaseField& f, int spans);

// A number as the table writes it: the shortest text that reads back as the value ("0.045").
std::string number_text(double v);

// The characters a fixed-column line must hold for `values` values: up to the end of the last
// value's field. A last line of a file that has no line end and fewer characters was cut.
int columns_needed(const CaseField& f, int values);

// At most 80 bytes of a line of the input as one console line can show it: control bytes
// (below 32, 127, and those Windows-1252 leaves unused) as "\xNN", the DOS letters as their
// letters and every other byte as Windows-1252, in UTF-8; "..." after a cut.
std::string quoted_input(std::string_view bytes);
inline constexpr size_t kQuotedBytes = 80;

// True when `bytes` holds a control byte, as quoted_input escapes them.
bool has_control_byte(std::string_view bytes);

// The help document's table of the file format: an HTML <table> of every field.
std::string case_format_html();

}  // namespace solvo::platform
