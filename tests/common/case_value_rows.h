// One list of values for both readers of the design-case file (the engine's and the front
// end's): each row is the default case (data/solvo.def, two spans) with one or two lines
// replaced, and the line at which both readers must refuse it, or 0 where both must take it.
// The ranges are those of the case file's fields as the help document gives them: codes of
// their tables, spans above 0 and at most 30 m, slabs thicker than the 0.045 m deck and at
// most 0.5 m, supports 0-1 m, loads 0-100 kN/m2, cantilevers 0-5 m, factors 1-2 (gamma),
// above 0 to 1 (xi) and 0-1 (psi), cover 0-100 mm, bottom bars 0-200 mm, creep 0-5, camber
// 0-100 mm, deflection limits L/50-L/5000, line loads in use at -300..300 m and 0-1000 kN/m,
// props 0-4, frequency 0-30 Hz, crack width 0-1 mm. Line 41 is added after line 40.
#pragma once

#include <string>
#include <string_view>

namespace solvo::testing {

struct CaseEdit {
  int line;               // 1..41; 0 = no edit
  std::string_view text;  // the new line, without its line end
};

struct CaseValueRow {
  const char* label;
  CaseEdit edit;
  CaseEdit second;  // {0, ""} when one edit is enough
  int refused_at;   // the line named in the refusal; 0 = read
};

// Line 10 of the default case is "1.350  0.890  1.500  0.700  0.500  0.300  ".
inline constexpr CaseValueRow kCaseValueRows[] = {
    // Codes just outside and just inside their tables.
    {"market 0", {3, "0"}, {}, 3},
    {"market 7", {3, "7"}, {}, 3},
    {"market 6", {3, "6"}, {}, 0},
    {"safety class 0", {4, "0"}, {}, 4},
    {"safety class 4", {4, "4"}, {}, 4},
    {"safety class 3", {4, "3"}, {}, 0},
    {"spans 0", {5, "0"}, {}, 5},
    {"spans 11", {5, "11"}, {}, 5},
    {"load category -1", {9, "-1"}, {}, 9},
    {"load category 10", {9, "10"}, {}, 9},
    {"load category 0", {9, "0"}, {}, 0},
    {"load set 0", {11, "0"}, {}, 11},
    {"load set 4", {11, "4"}, {}, 11},
    {"concrete 0", {16, "0"}, {}, 16},
    {"concrete 10", {16, "10"}, {}, 16},
    {"concrete 9", {16, "9"}, {}, 0},
    {"top grade 4", {17, "4"}, {}, 17},
    {"top bar 6", {18, "6"}, {}, 18},
    {"curtailment beyond 16 bits", {19, "32768"}, {}, 19},
    {"curtailment 5 (layout 2)", {19, "5"}, {}, 0},
    {"bottom grade 0", {21, "0"}, {}, 21},
    {"bottom bar 0", {22, "0"}, {}, 22},
    {"fire method 0", {24, "0"}, {}, 24},
    {"fire method 2", {24, "2"}, {}, 24},
    {"fire option 0", {25, "0"}, {}, 25},
    {"fire option 5", {25, "5"}, {}, 25},
    {"fire option 4 (REI 120)", {25, "4"}, {}, 0},
    {"ceiling 0", {26, "0"}, {}, 26},
    {"ceiling 3", {26, "3"}, {}, 26},
    {"ceiling 2", {26, "2"}, {}, 0},
    {"deflection loads 0", {31, "0"}, {}, 31},
    {"deflection loads 3", {31, "3"}, {}, 31},
    {"line loads -1", {32, "-1"}, {}, 32},
    {"line loads 6", {32, "6"}, {}, 32},
    {"deck support 0", {38, "0"}, {}, 38},
    {"deck support 3", {38, "3"}, {}, 38},
    {"props 5", {39, "0  5  "}, {}, 39},
    {"props -1", {39, "-1 0  "}, {}, 39},
    {"props 4", {39, "4  4  "}, {}, 0},
    // Lengths.
    {"span 0", {6, "0.000  6.000  "}, {}, 6},
    {"span negative", {6, "-6.000 6.000  "}, {}, 6},
    {"span above 30 m", {6, "6.000  30.001 "}, {}, 6},
    {"span 1e30", {6, "1E30   6.000  "}, {}, 6},
    {"span 30 m", {6, "30.000 6.000  "}, {}, 0},
    {"span 0.001 m", {6, "0.001  6.000  "}, {}, 0},
    {"thickness of the deck alone", {7, "0.045  0.160  "}, {}, 7},
    {"thickness 0", {7, "0.160  0.000  "}, {}, 7},
    {"thickness above 0.5 m", {7, "0.501  0.160  "}, {}, 7},
    {"thickness 0.046 m", {7, "0.046  0.160  "}, {}, 0},
    {"thickness 0.5 m", {7, "0.500  0.500  "}, {}, 0},
    {"support negative", {8, "0.000 -0.10 0.000 "}, {}, 8},
    {"support above 1 m", {8, "0.000 1.010 0.000 "}, {}, 8},
    {"support 1 m", {8, "0.000 1.000 0.000 "}, {}, 0},
    {"left cantilever negative", {14, "-0.1"}, {}, 14},
    {"right cantilever above 5 m", {15, "5.01"}, {}, 15},
    {"right cantilever 5 m", {15, "5"}, {}, 0},
    // Factors.
    {"gamma G below 1", {10, "0.990  0.890  1.500  0.700  0.500  0.300  "}, {}, 10},
    {"xi 0", {10, "1.350  0.000  1.500  0.700  0.500  0.300  "}, {}, 10},
    {"gamma Q above 2", {10, "1.350  0.890  2.010  0.700  0.500  0.300  "}, {}, 10},
    {"psi2 above 1", {10, "1.350  0.890  1.500  0.700  0.500  1.010  "}, {}, 10},
    {"factors at their bounds", {10, "1.000  1.000  2.000  1.000  0.000  1.000  "}, {}, 0},
    // Loads.
    {"permanent load negative", {12, "-0.010 0.500  "}, {}, 12},
    {"imposed load above 100", {13, "2.000  100.01 "}, {}, 13},
    {"imposed load 1e20", {13, "2.000  1E20   "}, {}, 13},
    {"loads 0 and 100", {12, "0.000  100.00 "}, {13, "100.00 0.000  "}, 0},
    // Reinforcement, creep, camber, deflection limits.
    {"cover negative", {20, "-1"}, {}, 20},
    {"cover above 100 mm", {20, "101"}, {}, 20},
    {"cover 2147483647 mm", {20, "2147483647"}, {}, 20},
    {"cover 100 mm", {20, "100"}, {}, 0},
    {"bottom bars above 200 mm", {23, "201"}, {}, 23},
    {"creep 6", {27, "6"}, {}, 27},
    {"creep 0", {27, "0"}, {}, 0},
    {"camber negative", {28, "-1"}, {}, 28},
    {"camber above 100 mm", {28, "101"}, {}, 28},
    {"initial limit L/49", {29, "49"}, {}, 29},
    {"initial limit L/0", {29, "0"}, {}, 29},
    {"additional limit L/5001", {30, "5001"}, {}, 30},
    {"limits L/50 and L/5000", {29, "50"}, {30, "5000"}, 0},
    // Line loads in use, and a slot not in use that is not checked.
    {"line load on span 3 of 2", {32, "1"}, {33, "  3  1.000 10.000"}, 33},
    {"line load negative", {32, "1"}, {33, "  1  1.000 -1.000"}, 33},
    {"line load beyond 300 m", {32, "1"}, {33, "  1 -300.1 10.000"}, 33},
    {"line load above 1000 kN/m", {32, "2"}, {34, "  2  1.000 1000.1"}, 34},
    {"line load of 1000 kN/m on span 2", {32, "2"}, {34, "  2  1.000 1000.0"}, 0},
    {"slot not in use holds anything", {32, "0"}, {33, "  9  1.000 -5.000"}, 0},
    // Lines 40 and 41.
    {"frequency negative", {40, "-0.1"}, {}, 40},
    {"frequency above 30 Hz", {40, "30.1"}, {}, 40},
    {"frequency 30 Hz", {40, "30"}, {}, 0},
    {"crack width negative", {41, "-0.1"}, {}, 41},
    {"crack width above 1 mm", {41, "1.01"}, {}, 41},
    {"crack width 1 mm", {41, "1"}, {}, 0},
    {"crack width 0 (no check)", {41, "0"}, {}, 0},
    // Text lines.
    {"heading with an escape sequence", {2, "Bj\x1b[2Jlklag"}, {}, 2},
    {"heading with a NUL byte", {2, std::string_view("Bj\0lklag", 8)}, {}, 2},
    {"case name with a carriage return inside", {1, "AB\rCD"}, {}, 1},
};

// The default case with the row's edits, every line ending with CR LF. `base` is the bytes
// of the default case.
inline std::string edited_case(const std::string& base, const CaseValueRow& row) {
  std::string lines[48];
  int count = 0;
  size_t start = 0;
  while (start < base.size() && count < 48) {
    size_t end = base.find("\r\n", start);
    if (end == std::string::npos) end = base.size();
    lines[count++] = base.substr(start, end - start);
    start = end + 2;
  }
  for (const CaseEdit& e : {row.edit, row.second}) {
    if (e.line <= 0) continue;
    while (count < e.line) lines[count++] = "";
    lines[e.line - 1] = std::string(e.text);
  }
  std::string out;
  for (int k = 0; k < count; ++k) out += lines[k] + "\r\n";
  return out;
}

}  // namespace solvo::testing
