// Reading the case file and the values derived from it. Expected values come from the file
// layout (columns, implied decimals, free-form lines), the material tables and the
// formulas for clear span, self weight and design strengths worked by hand.
#include "case_input.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace solvo {
namespace {

using solvo::testing::slurp;

// The first 37 lines of the default case (without line ends): the original layout.
std::vector<std::string> default_lines() {
  std::vector<std::string> lines;
  std::istringstream in(slurp(SOLVO_DATA "/solvo.def"));
  for (std::string line; std::getline(in, line) && lines.size() < 37;) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string join(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string s;
  for (const auto& l : lines) s += l + end;
  return s;
}

// The default case with line `no` (1-based) replaced.
std::string with_line(int no, const std::string& text) {
  auto lines = default_lines();
  lines.at(static_cast<size_t>(no - 1)) = text;
  return join(lines);
}

Run read(const std::string& text) {
  solvo::Run run;
  insolvo(run, text);
  return run;
}

TEST(CaseFile, DefaultCaseReadsEveryLine) {
  solvo::Run run = read(join(default_lines()));
  const Indat& c = run.indat;
  EXPECT_EQ(run.prfil, "NAMNL\x99S  ");  // DOS letter kept as its byte
  EXPECT_EQ(run.utfil, "NAMNL\x99S.RES  ");
  EXPECT_EQ(run.rubrad.substr(0, 19), "Bj\x84lklag i tv\x86 fack");
  EXPECT_EQ(run.rubrad.size(), 40u);
  EXPECT_EQ(c.market, 1);
  EXPECT_EQ(c.safety_class, 2);
  EXPECT_EQ(c.n, 2);
  EXPECT_FLOAT_EQ(c.span[1], 6.0f);
  EXPECT_FLOAT_EQ(c.span[2], 6.0f);
  EXPECT_FLOAT_EQ(c.thickness[2], 0.16f);
  EXPECT_FLOAT_EQ(c.support_width[1], 0.0f);
  EXPECT_FLOAT_EQ(c.support_width[2], 0.1f);
  EXPECT_FLOAT_EQ(c.support_width[3], 0.0f);
  EXPECT_EQ(c.load_category, 1);
  EXPECT_FLOAT_EQ(c.gamma_g, 1.35f);
  EXPECT_FLOAT_EQ(c.xsi, 0.89f);
  EXPECT_FLOAT_EQ(c.gamma_q, 1.5f);
  EXPECT_FLOAT_EQ(c.psi0, 0.7f);
  EXPECT_FLOAT_EQ(c.psi1, 0.5f);
  EXPECT_FLOAT_EQ(c.psi2, 0.3f);
  EXPECT_EQ(c.load_set, 3);
  EXPECT_FLOAT_EQ(c.perm_load[1], 0.5f);
  EXPECT_FLOAT_EQ(c.imposed_load[2], 2.0f);
  EXPECT_EQ(c.concrete_class, 3);
  EXPECT_EQ(c.top_grade, 2);
  EXPECT_EQ(c.top_bar, 3);
  EXPECT_EQ(c.top_layout, 1);
  EXPECT_EQ(c.top_cover, 20);
  EXPECT_EQ(c.bot_grade, 2);
  EXPECT_EQ(c.bot_bar, 1);
  EXPECT_EQ(c.bot_placement, 42);
  EXPECT_EQ(c.fire_minutes, 60);
  EXPECT_EQ(c.ceiling, 1);
  EXPECT_EQ(c.creep, 2);
  EXPECT_EQ(c.defl_initial, 250);
  EXPECT_EQ(c.defl_additional, 500);
  EXPECT_EQ(c.defl_load, 2);
  EXPECT_EQ(c.line_loads, 0);
}

TEST(CaseFile, LineFeedsAloneReadLikeCrLf) {
  solvo::Run crlf = read(join(default_lines(), "\r\n"));
  solvo::Run lf = read(join(default_lines(), "\n"));
  EXPECT_EQ(crlf.rubrad, lf.rubrad);
  EXPECT_EQ(crlf.prfil, lf.prfil);
  EXPECT_FLOAT_EQ(crlf.indat.perm_load[2], lf.indat.perm_load[2]);
  EXPECT_EQ(crlf.indat.defl_load, lf.indat.defl_load);
}

TEST(CaseFile, NameIsCutToNineCharactersAndNamesTheReport) {
  struct {
    const char* line;
    const char* prfil;
    const char* utfil;
  } cases[] = {
      {"ABCDEFGHIJKL", "ABCDEFGHI", "ABCDEFGHI.RES"},
      {"ABCDEFGHI", "ABCDEFGHI", "ABCDEFGHI.RES"},
      {"PLAN1", "PLAN1    ", "PLAN1.RES    "},
      {"PLAN1   ", "PLAN1    ", "PLAN1.RES    "},  // trailing blanks never reach the name
      {"AB CD", "AB CD    ", "AB CD.RES    "},
  };
  for (const auto& c : cases) {
    solvo::Run run = read(with_line(1, c.line));
    EXPECT_EQ(run.prfil, c.prfil) << c.line;
    EXPECT_EQ(run.utfil, c.utfil) << c.line;
  }
}

TEST(CaseFile, HeadingIsCutToFortyCharacters) {
  std::string heading = "0123456789012345678901234567890123456789TAIL, \"quoted\"";
  solvo::Run run = read(with_line(2, heading));
  EXPECT_EQ(run.rubrad, heading.substr(0, 40));
}

TEST(CaseFile, FixedColumnsForThreeSpans) {
  auto lines = default_lines();
  lines[4] = " 3";
  lines[5] = "  6.0006.000    4.5   9.999";  // right-aligned, left-aligned, blanks inside;
                                             // the fourth field is beyond n and ignored
  lines[6] = "0.140  0.160  0.180  ";
  lines[7] = " 0.1  0.20   0.25   0.3 junk";  // four 6-character fields: F5.2 and one skipped
  lines[11] = "      6      6      6";        // no point: three implied decimals
  lines[12] = "2.0    2.5    3.0    ";
  solvo::Run run = read(join(lines));
  const Indat& c = run.indat;
  EXPECT_EQ(c.n, 3);
  EXPECT_FLOAT_EQ(c.span[1], 6.0f);
  EXPECT_FLOAT_EQ(c.span[2], 6.0f);
  EXPECT_FLOAT_EQ(c.span[3], 4.5f);
  EXPECT_FLOAT_EQ(c.span[4], 0.0f);
  EXPECT_FLOAT_EQ(c.thickness[3], 0.18f);
  EXPECT_FLOAT_EQ(c.support_width[1], 0.1f);
  EXPECT_FLOAT_EQ(c.support_width[2], 0.2f);
  EXPECT_FLOAT_EQ(c.support_width[3], 0.25f);
  EXPECT_FLOAT_EQ(c.support_width[4], 0.3f);
  EXPECT_FLOAT_EQ(c.perm_load[1], 0.006f);
  EXPECT_FLOAT_EQ(c.imposed_load[3], 3.0f);
}

TEST(CaseFile, SupportFieldsWithoutPointTakeTwoDecimals) {
  solvo::Run run = read(with_line(8, "   10    15    10"));
  EXPECT_FLOAT_EQ(run.indat.support_width[1], 0.10f);
  EXPECT_FLOAT_EQ(run.indat.support_width[2], 0.15f);
}

TEST(CaseFile, ScratchIntegersSetLayoutAndFireMinutes) {
  const std::pair<const char*, int> layouts[] = {{"0", 1}, {"1", 2}, {"5", 2}, {"-1", 2}};
  for (const auto& [text, layout] : layouts)
    EXPECT_EQ(read(with_line(19, text)).indat.top_layout, layout) << text;
  const std::pair<const char*, int> fire[] = {{"1", 30}, {"2", 60}, {"3", 90}, {"4", 90}};
  for (const auto& [text, minutes] : fire)
    EXPECT_EQ(read(with_line(25, text)).indat.fire_minutes, minutes) << text;
  // Line 24, the fire method, is read and dropped: its one method is 1.
  EXPECT_EQ(read(with_line(24, "1")).indat.fire_minutes, 60);
}

TEST(CaseFile, LineLoadsAreReadEvenWhenNoneIsInUse) {
  auto lines = default_lines();
  lines[32] = "2  1.500  8.000  ";
  lines[33] = "  1 -0.300 12.500";
  lines[36] = " 99  0.000  0.000";  // a slot beyond the number in use is not checked
  solvo::Run run = read(join(lines));
  EXPECT_EQ(run.indat.line_loads, 0);
  EXPECT_EQ(run.indat.ll_span[1], 2);
  EXPECT_FLOAT_EQ(run.indat.ll_pos[1], 1.5f);
  EXPECT_FLOAT_EQ(run.indat.ll_load[1], 8.0f);
  EXPECT_EQ(run.indat.ll_span[2], 1);
  EXPECT_FLOAT_EQ(run.indat.ll_pos[2], -0.3f);
  EXPECT_FLOAT_EQ(run.indat.ll_load[2], 12.5f);
  EXPECT_EQ(run.indat.ll_span[5], 99);
}

TEST(CaseFile, FreeFormLinesTakeTheirFirstValueAndSkipBlankLines) {
  auto lines = default_lines();
  lines[10] = "  2   the load set";
  lines.insert(lines.begin() + 13, "");     // blank line before line 14
  lines.insert(lines.begin() + 14, "   ");  // and another
  lines.push_back("   ");                   // blank lines after line 37: no lines 38-40
  solvo::Run run = read(join(lines));
  EXPECT_EQ(run.indat.load_set, 2);
  EXPECT_FLOAT_EQ(run.indat.cant_left, 0.0f);
  EXPECT_EQ(run.indat.concrete_class, 3);
  EXPECT_EQ(run.indat.defl_load, 2);
}

TEST(CaseFile, DerivedValues) {
  auto lines = default_lines();
  lines[4] = " 1";
  lines[5] = "6.000  ";
  lines[6] = "0.140  ";
  lines[7] = "0.10  0.10  ";
  solvo::Run run = read(join(lines));
  EXPECT_FLOAT_EQ(run.dat.clear_span[1], 5.9f);  // 6 - (0.1 + 0.1) / 2
  // (0.14 - 0.0165) * 25 + 0.089 = 3.1765
  EXPECT_NEAR(run.dat.self_weight[1], 3.1765f, 2e-6f);
  EXPECT_FLOAT_EQ(run.dat.gamma_d, 0.91f);     // Sweden, safety class 2
  EXPECT_FLOAT_EQ(run.matdat.tau_rd, 255.0f);  // 306 * 5/6
  EXPECT_FLOAT_EQ(run.matdat.fypd, 320000.0f);
  EXPECT_FLOAT_EQ(run.matdat.es, 2.1e8f);
  EXPECT_FLOAT_EQ(run.matdat.mrd_deck, 5.29f);
  // C30/37 in Sweden: fcd = 30000 / 1.5, fctd = 2000 / 1.5, Ec = 3.3E10 N/m2
  EXPECT_FLOAT_EQ(run.matdat.fcd, 20000.0f);
  EXPECT_FLOAT_EQ(run.matdat.fctd, 2000.0f / 1.5f);
  EXPECT_FLOAT_EQ(run.matdat.ec, 3.3e10f);
  EXPECT_FLOAT_EQ(run.matdat.fyd_top, 500000.0f / 1.15f);
  EXPECT_FLOAT_EQ(run.matdat.fyd_top_fire, run.matdat.fyd_top);
  EXPECT_FLOAT_EQ(run.matdat.dia_top, 10.0f);
  EXPECT_FLOAT_EQ(run.matdat.area_top, 78.5f);
  EXPECT_FLOAT_EQ(run.matdat.mass_top, 0.664f);
  EXPECT_FLOAT_EQ(run.matdat.dia_bot, 6.0f);
  EXPECT_FLOAT_EQ(run.matdat.area_bot, 28.3f);
}

TEST(CaseFile, MarketValues) {
  struct {
    int market, safety, concrete, grade;
    float fyd, fcd, gamma_d, fypd;
  } cases[] = {
      // Denmark: gamma_s 1.2, gamma_c 1.45, gamma_M0 1.1, class 3 gives 1.1
      {5, 3, 4, 2, 500000.0f / 1.2f, 35000.0f / 1.45f, 1.1f, 320000.0f / 1.1f},
      // Norway: alpha_cc 0.85, gamma_M0 1.05
      {3, 1, 4, 1, 400000.0f / 1.15f, 0.85f * 35000.0f / 1.5f, 0.9f, 320000.0f / 1.05f},
      {4, 3, 9, 3, 600000.0f / 1.15f, 0.85f * 60000.0f / 1.5f, 1.1f, 320000.0f},
      {1, 1, 1, 2, 500000.0f / 1.15f, 20000.0f / 1.5f, 0.83f, 320000.0f},
  };
  for (const auto& c : cases) {
    auto lines = default_lines();
    lines[2] = std::to_string(c.market);
    lines[3] = std::to_string(c.safety);
    lines[15] = std::to_string(c.concrete);
    lines[16] = std::to_string(c.grade);
    solvo::Run run = read(join(lines));
    EXPECT_FLOAT_EQ(run.matdat.fyd_top, c.fyd) << "market " << c.market;
    EXPECT_FLOAT_EQ(run.matdat.fcd, c.fcd) << "market " << c.market;
    EXPECT_FLOAT_EQ(run.dat.gamma_d, c.gamma_d) << "market " << c.market;
    EXPECT_FLOAT_EQ(run.matdat.fypd, c.fypd) << "market " << c.market;
  }
}

// A case that must be refused: the message names the file and the line.
struct Refused {
  int line;
  const char* text;
};

TEST(CaseFile, CodesOutsideTheirTablesAreRefused) {
  const Refused cases[] = {
      {3, " 0"}, {3, " 7"}, {4, " 0"}, {4, " 4"}, {5, " 0"},  {5, "11"}, {5, "-1"},  {9, "-1"},
      {9, "10"}, {11, "0"}, {11, "4"}, {16, "0"}, {16, "10"}, {17, "0"}, {17, "4"},  {18, "0"},
      {18, "6"}, {21, "0"}, {21, "4"}, {22, "0"}, {22, "6"},  {32, "6"}, {32, "-1"},
  };
  for (const auto& c : cases) {
    try {
      read(with_line(c.line, c.text));
      ADD_FAILURE() << "line " << c.line << " \"" << c.text << "\" was accepted";
    } catch (const CaseError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
      EXPECT_NE(std::string(e.what()).find("~INDATA~.TMP, line " + std::to_string(c.line)),
                std::string::npos)
          << e.what();
    }
  }
}

TEST(CaseFile, LineLoadSpanMustLieInTheSlab) {
  auto lines = default_lines();
  lines[31] = "2";
  lines[32] = "  1  1.000  5.000";
  lines[33] = "  3  1.000  5.000";  // the default case has two spans
  try {
    read(join(lines));
    ADD_FAILURE() << "a line load on span 3 of 2 was accepted";
  } catch (const CaseError& e) {
    EXPECT_EQ(e.line(), 34) << e.what();
  }
  lines[33] = "  0  1.000  5.000";
  EXPECT_THROW(read(join(lines)), CaseError);
  lines[33] = "  2  1.000  5.000";
  EXPECT_NO_THROW(read(join(lines)));
}

TEST(CaseFile, FieldsThatDoNotReadAreRefused) {
  const Refused cases[] = {
      {3, "x"},           {6, "6.0x00 6.000"},
      {7, "0.1.4  0.14"}, {8, "0.1a  0.1  0.0"},
      {10, "1.35  abc"},  {11, "three"},
      {14, "1..2"},       {20, "15.5"},
      {28, "NaN"},        {33, "1x  0.000  0.000"},
  };
  for (const auto& c : cases) {
    try {
      read(with_line(c.line, c.text));
      ADD_FAILURE() << "line " << c.line << " \"" << c.text << "\" was accepted";
    } catch (const CaseError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
    }
  }
}

TEST(CaseFile, TruncatedAtEveryLineIsRefused) {
  auto lines = default_lines();
  ASSERT_EQ(lines.size(), 37u);
  for (int kept = 0; kept < 37; ++kept) {
    std::vector<std::string> part(lines.begin(), lines.begin() + kept);
    try {
      read(join(part));
      ADD_FAILURE() << "a case of " << kept << " lines was accepted";
    } catch (const CaseError& e) {
      EXPECT_NE(std::string(e.what()).find("line " + std::to_string(kept + 1) + " of the case"),
                std::string::npos)
          << e.what();
    }
  }
  // The last line without its line end still counts.
  std::string whole = join(lines);
  EXPECT_NO_THROW(read(whole.substr(0, whole.size() - 2)));
}

TEST(CaseFile, CaseNamesThatLeaveTheFolderAreRefused) {
  // The whole line counts, as the front end reads it, not only the nine characters that
  // name the report; so do the bytes Windows-1252 leaves unused.
  for (const char* name :
       {"../X", "A/B", "A\\B", ".", "..", "AB\x01", "\tX", "ABCDEFGHI/../../x", "A\x81"}) {
    try {
      read(with_line(1, name));
      ADD_FAILURE() << "case name \"" << name << "\" was accepted";
    } catch (const CaseError& e) {
      EXPECT_EQ(e.line(), 1) << e.what();
    }
  }
  EXPECT_NO_THROW(read(with_line(1, "...")));
}

// ---- Lines 38-40: the deck during casting, props, lowest natural frequency ----

// The default case (two spans) with lines 38 to 40 after its 37 lines.
std::string with_casting(const std::string& l38, const std::string& l39, const std::string& l40) {
  auto lines = default_lines();
  lines.push_back(l38);
  lines.push_back(l39);
  lines.push_back(l40);
  return join(lines);
}

TEST(CaseFile, ThirtySevenLinesKeepTheCastingDefaults) {
  for (const char* tail : {"", "\r\n", "   \r\n\r\n"}) {
    solvo::Run run = read(join(default_lines()) + tail);
    EXPECT_EQ(run.indat.deck_support, 1);
    EXPECT_EQ(run.indat.props[1], 0);
    EXPECT_EQ(run.indat.props[2], 0);
    EXPECT_FLOAT_EQ(run.indat.freq_min, 5.0f);
  }
}

TEST(CaseFile, CastingLinesAreRead) {
  solvo::Run run = read(with_casting("2", "1  2  ", "6.5"));
  EXPECT_EQ(run.indat.deck_support, 2);
  EXPECT_EQ(run.indat.props[1], 1);
  EXPECT_EQ(run.indat.props[2], 2);
  EXPECT_FLOAT_EQ(run.indat.freq_min, 6.5f);
  // Columns of 3 characters, blanks ignored, a missing column reads 0; 0 Hz = no check.
  run = read(with_casting(" 1 ", "  2", "0"));
  EXPECT_EQ(run.indat.deck_support, 1);
  EXPECT_EQ(run.indat.props[1], 2);
  EXPECT_EQ(run.indat.props[2], 0);
  EXPECT_FLOAT_EQ(run.indat.freq_min, 0.0f);
}

TEST(CaseFile, CastingValuesOutsideTheirTablesAreRefused) {
  struct Row {
    const char *l38, *l39, *l40;
    int line;
  };
  const Row rows[] = {
      {"0", "0  0  ", "5", 38},  {"3", "0  0  ", "5", 38},   {"x", "0  0  ", "5", 38},
      {"1", "5  0  ", "5", 39},  {"1", "0  -1 ", "5", 39},   {"1", "0  x  ", "5", 39},
      {"1", "0  0  ", "-1", 40}, {"1", "0  0  ", "abc", 40}, {"1", "0  0  ", "NaN", 40},
  };
  for (const Row& r : rows) {
    try {
      read(with_casting(r.l38, r.l39, r.l40));
      ADD_FAILURE() << r.l38 << " / " << r.l39 << " / " << r.l40 << " was accepted";
    } catch (const CaseError& e) {
      EXPECT_EQ(e.line(), r.line) << e.what();
    }
  }
  // Once line 38 is there, lines 39 and 40 must follow.
  auto lines = default_lines();
  lines.push_back("1");
  lines.push_back("0  0  ");
  try {
    read(join(lines));
    ADD_FAILURE() << "a case without line 40 was accepted";
  } catch (const CaseError& e) {
    EXPECT_NE(std::string(e.what()).find("line 40 of the case"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace solvo
