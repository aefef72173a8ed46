// The table of the case file's fields: that it covers every line once and in order, its
// ranges at their bounds, the words of its messages, the columns a cut line is measured by,
// the quoting of input in messages, and the help document's table of the file format, which
// must be the table's own.
#include "case_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>

namespace solvo::platform {
namespace {

TEST(CaseFormat, EveryLineFromOneToFortyOneHasItsFieldsAndNoneOverlap) {
  std::multiset<int> lines;
  for (const CaseField& f : case_fields())
    for (int k = 0; k < f.repeat; ++k) lines.insert(f.line + k);
  for (int line = 1; line <= kCaseLinesWritten; ++line)
    EXPECT_GE(lines.count(line), 1u) << "line " << line;
  EXPECT_EQ(*lines.rbegin(), kCaseLinesWritten);
  // Line 10 holds six factors, lines 33-37 three values each; every other line one field.
  EXPECT_EQ(lines.count(10), 6u);
  for (int line = 33; line <= 37; ++line) EXPECT_EQ(lines.count(line), 3u) << line;
  // Fields of one line follow each other without overlapping.
  int end_of_last = 0, last_line = 0;
  for (const CaseField& f : case_fields()) {
    if (f.form != FieldForm::Columns) continue;
    if (f.line == last_line) {
      EXPECT_GE(f.start, end_of_last) << f.key;
    }
    EXPECT_LE(f.width, f.pitch) << f.key;
    last_line = f.line;
    end_of_last = f.start + f.pitch;
  }
  for (int k = 0; k < kCaseFieldCount; ++k)
    EXPECT_EQ(static_cast<int>(case_fields()[static_cast<size_t>(k)].id), k);
}

struct RangeRow {
  Field id;
  double value;
  int spans;
  bool inside;
};

TEST(CaseFormat, RangesHoldAtTheirBounds) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const RangeRow rows[] = {
      {Field::Span, 0.0, 2, false},
      {Field::Span, 1e-6, 2, true},
      {Field::Span, 30.0, 2, true},
      {Field::Span, 30.001, 2, false},
      {Field::Span, nan, 2, false},
      {Field::Span, inf, 2, false},
      {Field::Thickness, 0.045, 2, false},
      {Field::Thickness, 0.0451, 2, true},
      {Field::Thickness, 0.5, 2, true},
      {Field::Thickness, 0.5001, 2, false},
      {Field::SupportWidth, 0.0, 2, true},
      {Field::SupportWidth, -0.001, 2, false},
      {Field::Market, 0, 2, false},
      {Field::Market, 6, 2, true},
      {Field::Market, 7, 2, false},
      {Field::Market, 2.5, 2, false},
      {Field::Ceiling, 3, 2, false},
      {Field::FireOption, 4, 2, true},
      {Field::FireMethod, 2, 2, false},
      {Field::Props, 4, 2, true},
      {Field::Props, 5, 2, false},
      {Field::LoadSpan, 3, 3, true},
      {Field::LoadSpan, 4, 3, false},
      {Field::LoadSpan, 0, 3, false},
      {Field::LoadPosition, -0.4, 3, true},
      {Field::LoadValue, -0.001, 3, false},
      {Field::CrackWidthMax, 0.0, 2, true},
      {Field::CrackWidthMax, 1.0, 2, true},
      {Field::CrackWidthMax, 1.01, 2, false},
      {Field::Xsi, 0.0, 2, false},
      {Field::Curtailment, -32768, 2, true},
      {Field::Curtailment, 32768, 2, false},
      {Field::Heading, nan, 2, true},  // texts have no range
  };
  for (const RangeRow& r : rows)
    EXPECT_EQ(in_range(case_field(r.id), r.value, r.spans), r.inside)
        << case_field(r.id).key << " " << r.value;
}

TEST(CaseFormat, RangesInWords) {
  struct Row {
    Field id;
    int spans;
    const char* en;
    const char* sv;
  };
  const Row rows[] = {
      {Field::Market, 2, "1 to 6", "1 till 6"},
      {Field::Span, 2, "greater than 0 and at most 30 m", "större än 0 och högst 30 m"},
      {Field::Thickness, 2, "greater than 0.045 and at most 0.5 m",
       "större än 0.045 och högst 0.5 m"},
      {Field::PermanentLoad, 2, "from 0 to 100 kN/m2", "från 0 till 100 kN/m2"},
      {Field::TopCover, 2, "0 to 100 mm", "0 till 100 mm"},
      {Field::LoadSpan, 3, "1 to 3", "1 till 3"},
      {Field::CrackWidthMax, 2, "from 0 to 1 mm", "från 0 till 1 mm"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(range_en(case_field(r.id), r.spans), r.en);
    EXPECT_EQ(range_sv(case_field(r.id), r.spans), r.sv);
  }
}

TEST(CaseFormat, ColumnsNeededReachTheEndOfTheLastField) {
  // Spans: 7-character fields; n = 3 ends at character 21. Supports: F5.2 in 6 characters, the
  // last field's 5 characters read (n + 1 = 3 values: 6 + 6 + 5). Line loads: I3, F7.3, F7.3.
  EXPECT_EQ(columns_needed(case_field(Field::Span), 3), 21);
  EXPECT_EQ(columns_needed(case_field(Field::SupportWidth), 3), 17);
  EXPECT_EQ(columns_needed(case_field(Field::LoadValue), 1), 17);
  EXPECT_EQ(columns_needed(case_field(Field::Psi2), 1), 42);
  EXPECT_EQ(columns_needed(case_field(Field::Props), 2), 6);
  EXPECT_EQ(columns_needed(case_field(Field::LoadSet), 1), 0);  // free form
}

TEST(CaseFormat, InputIsQuotedShortAndEscaped) {
  struct Row {
    std::string in;
    std::string out;
  };
  const Row rows[] = {
      {"6.000", "6.000"},
      {std::string("A\0B", 3), "A\\x00B"},
      {"\x1b[2J\r\t", "\\x1B[2J\\x0D\\x09"},
      {"\x7f", "\\x7F"},
      {"\x81", "\\x81"},          // unused in Windows-1252
      {"NAMNL\x99S", "NAMNLÖS"},  // DOS letter
      {"\xe9t\xe9", "été"},       // Windows-1252
      {std::string(80, 'a'), std::string(80, 'a')},
      {std::string(81, 'a'), std::string(80, 'a') + "..."},
      {std::string(1 << 20, 'b'), std::string(80, 'b') + "..."},
  };
  for (const Row& r : rows) EXPECT_EQ(quoted_input(r.in), r.out) << r.out;
  EXPECT_TRUE(has_control_byte(std::string("a\0", 2)));
  EXPECT_TRUE(has_control_byte("a\x1b"));
  EXPECT_FALSE(has_control_byte("Bj\x84lklag i tv\x86 fack"));
}

TEST(CaseFormat, NumbersAreWrittenShortest) {
  EXPECT_EQ(number_text(0.045), "0.045");
  EXPECT_EQ(number_text(30), "30");
  EXPECT_EQ(number_text(-300), "-300");
  EXPECT_EQ(number_text(0.4), "0.4");
}

// The help document holds the table of the file format between two marks; it must be the
// table written from the fields. To bring it up to date, run the tool case_format_help with
// the help document's path.
TEST(CaseFormat, TheHelpDocumentHoldsTheTableOfTheFields) {
  std::ifstream in(SOLVO_DATA "/solvo_help.html", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string html = s.str();
  const std::string begin = "<!-- case-format-table -->\n";
  const std::string end = "<!-- /case-format-table -->";
  const size_t a = html.find(begin);
  const size_t b = html.find(end);
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(b, std::string::npos);
  EXPECT_EQ(html.substr(a + begin.size(), b - a - begin.size()), case_format_html());
  // Some rows as a reader of the help sees them.
  const std::string table = case_format_html();
  EXPECT_NE(table.find("<tr><td>26</td><td>heltal, fritt format</td><td>undertak: 1 saknas, "
                       "2 13 mm gips</td><td>1 till 2</td><td>1</td></tr>"),
            std::string::npos);
  EXPECT_NE(table.find("<td>33–37</td>"), std::string::npos);
  EXPECT_NE(table.find("<td>41</td>"), std::string::npos);
}

}  // namespace
}  // namespace solvo::platform
