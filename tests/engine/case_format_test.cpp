// The engine's reader against the ranges of the case file's fields: the shared list of values
// (tests/common/case_value_rows.h) that the front end's reader is held to as well, the lines
// 38-41 and their defaults, a file cut inside its last line, the text lines, and a case file
// that is no file. Expected outcomes come from the ranges the help document gives.
#include "case_format.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "case_input.h"
#include "case_value_rows.h"
#include "comdat.h"
#include "test_files.h"

namespace solvo {
namespace {

using testing::kCaseValueRows;
using testing::slurp;

std::string default_case() { return slurp(SOLVO_DATA "/solvo.def"); }

// The default case up to and including line `lines`, each line with its CR LF.
std::string first_lines(int lines) {
  const std::string text = default_case();
  size_t end = 0;
  for (int k = 0; k < lines; ++k) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

// The line a refusal names, from "<file>, line <n>: ..."; 0 when the case was read.
int refused_at(const std::string& bytes, std::string* message = nullptr) {
  solvo::Run run;
  try {
    insolvo(run, bytes);
  } catch (const CaseError& e) {
    if (message != nullptr) *message = e.what();
    return e.line();
  }
  return 0;
}

std::string trimmed(std::string_view s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  return std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

TEST(CaseFormatReader, EachRowOfTheSharedListIsRefusedAtItsLineOrRead) {
  const std::string base = default_case();
  for (const auto& row : kCaseValueRows) {
    std::string message;
    const int line = refused_at(testing::edited_case(base, row), &message);
    EXPECT_EQ(line, row.refused_at) << row.label << ": " << message;
    if (row.refused_at == 0 || line != row.refused_at) continue;
    EXPECT_EQ(message.find('\n'), std::string::npos) << row.label;
    EXPECT_EQ(message.rfind("~INDATA~.TMP, line " + std::to_string(line) + ": expected ", 0), 0u)
        << row.label << ": " << message;
    if (row.edit.line <= 2) continue;  // text lines are quoted with their bytes escaped
    // The value refused is quoted: a part of the line that was put in.
    const size_t at = message.rfind("(found \"");
    ASSERT_NE(at, std::string::npos) << message;
    const std::string found = trimmed(message.substr(at + 8, message.size() - at - 10));
    EXPECT_FALSE(found.empty()) << row.label << ": " << message;
    const bool in_edit = row.edit.text.find(found) != std::string_view::npos ||
                         row.second.text.find(found) != std::string_view::npos;
    EXPECT_TRUE(in_edit) << row.label << ": " << message;
  }
}

TEST(CaseFormatReader, FilesOf37And40LinesKeepTheDefaultsOfTheLinesAfter) {
  solvo::Run run;
  insolvo(run, first_lines(37));
  EXPECT_EQ(run.indat.deck_support, 1);
  EXPECT_EQ(run.indat.props[1], 0);
  EXPECT_FLOAT_EQ(run.indat.freq_min, 5.0f);
  EXPECT_FLOAT_EQ(run.indat.crack_wmax, 0.4f);
  // The default case has 40 lines; its line 39 is "0  0  " and line 40 "5".
  insolvo(run, default_case());
  EXPECT_FLOAT_EQ(run.indat.freq_min, 5.0f);
  EXPECT_FLOAT_EQ(run.indat.crack_wmax, 0.4f);
  insolvo(run, default_case() + "0.3\r\n");
  EXPECT_FLOAT_EQ(run.indat.crack_wmax, 0.3f);
  insolvo(run, default_case() + "\r\n  0\r\n");  // a blank line before a free-form value
  EXPECT_FLOAT_EQ(run.indat.crack_wmax, 0.0f);
  // Once line 38 is there, 39 and 40 must follow; line 41 may be left out.
  EXPECT_EQ(refused_at(first_lines(38)), 39);
  EXPECT_EQ(refused_at(first_lines(39)), 40);
}

TEST(CaseFormatReader, PropsUpToFourAreRead) {
  solvo::Run run;
  insolvo(run, testing::edited_case(default_case(), {"", {39, "3  4  "}, {}, 0}));
  EXPECT_EQ(run.indat.props[1], 3);
  EXPECT_EQ(run.indat.props[2], 4);
}

// Line 37 of the default case is "1  0.000  0.000  " (17 characters: I3, 2F7.3).
TEST(CaseFormatReader, AFileEndingInsideItsLastFixedLineIsRefused) {
  const std::string before = first_lines(36);
  struct Row {
    const char* last;
    int refused_at;
  };
  const Row rows[] = {
      {"1  0.000  0.000  ", 0},  // whole, without its line end
      {"1  0.000  12", 37},      // a load of 12.5 cut to "12"
      {"1  0.000  0.000", 37},   // blanks of the last field missing: cannot be told apart
      {"1", 37},
      {"1  0.000  0.000  \r\n", 0},  // whole
      {"1\r\n", 0},                  // a shorter complete line reads its fields as blank
      {"1  0.000  12\n", 0},
  };
  for (const Row& r : rows) {
    std::string message;
    EXPECT_EQ(refused_at(before + r.last, &message), r.refused_at) << r.last << " " << message;
    if (r.refused_at != 0) {
      EXPECT_NE(message.find("the file ends inside it"), std::string::npos) << message;
    }
  }
  // A file cut inside line 8 is refused at line 8, not at the missing line 9.
  EXPECT_EQ(refused_at(first_lines(7) + "0.000 0.1"), 8);
}

TEST(CaseFormatReader, FireOptionFourAsksForRei120AndIsDesignedAsNinetyMinutes) {
  struct Row {
    const char* option;
    int minutes;
    bool rei120;
  };
  const Row rows[] = {{"1", 30, false}, {"2", 60, false}, {"3", 90, false}, {"4", 90, true}};
  for (const Row& r : rows) {
    solvo::Run run;
    insolvo(run, testing::edited_case(default_case(), {"", {25, r.option}, {}, 0}));
    EXPECT_EQ(run.indat.fire_minutes, r.minutes) << r.option;
    EXPECT_EQ(run.indat.fire_option, std::stoi(r.option));
    EXPECT_EQ(asks_rei120(run.indat), r.rei120) << r.option;
  }
}

TEST(CaseFormatReader, ABlankCaseNameIsRefused) {
  for (const char* name : {"", "   ", "         X"}) {
    std::string message;
    const int line =
        refused_at(testing::edited_case(default_case(), {"", {1, name}, {}, 0}), &message);
    // "         X": the 9 characters that name the report are blank.
    EXPECT_EQ(line, 1) << "[" << name << "]";
    EXPECT_NE(message.find("not blank"), std::string::npos) << message;
  }
}

TEST(CaseFormatReader, ARefusalQuotesAtMostEightyBytesWithControlBytesEscaped) {
  const std::string heading = "\x1b[2J" + std::string(200, 'x') + "\r";
  std::string message;
  ASSERT_EQ(refused_at(testing::edited_case(default_case(), {"", {2, heading}, {}, 0}), &message),
            2);
  EXPECT_NE(message.find("(found \"\\x1B[2J" + std::string(76, 'x') + "...\")"), std::string::npos)
      << message;
  EXPECT_EQ(message.find(std::string(77, 'x')), std::string::npos);
  EXPECT_EQ(message.find('\x1b'), std::string::npos);
  // A DOS letter of a refused line is shown as its letter.
  ASSERT_EQ(refused_at(testing::edited_case(default_case(), {"", {3, "\x8e"}, {}, 0}), &message),
            3);
  EXPECT_NE(message.find("(found \"Ä\")"), std::string::npos) << message;
}

// The codes of the case-format table index the engine's own tables.
TEST(CaseFormatReader, TheTableCodesAreTheEngineTables) {
  using platform::case_field;
  using platform::Field;
  struct Row {
    Field id;
    double lo, hi;
  };
  const Row rows[] = {
      {Field::Market, 1, comdat::kMarkets},
      {Field::Spans, 1, kMaxSpans},
      {Field::LoadCategory, 0, comdat::kLoadCategories - 1},
      {Field::Concrete, 1, comdat::kConcreteClasses},
      {Field::TopGrade, 1, comdat::kSteelGrades},
      {Field::BottomGrade, 1, comdat::kSteelGrades},
      {Field::TopBar, 1, comdat::kBarSizes},
      {Field::BottomBar, 1, comdat::kBarSizes},
      {Field::LineLoads, 0, kMaxLineLoads},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(case_field(r.id).range.min, r.lo) << case_field(r.id).key;
    EXPECT_EQ(case_field(r.id).range.max, r.hi) << case_field(r.id).key;
  }
}

// A field and the engine's default for it.
struct DefaultRow {
  template <typename T>
  DefaultRow(platform::Field i, T v) : id(i), value(static_cast<double>(v)) {}
  platform::Field id;
  double value;
};

// What a file leaves out keeps the engine's defaults: those of the table.
TEST(CaseFormatReader, TheEngineDefaultsAreTheTableDefaults) {
  using platform::case_field;
  using platform::Field;
  const Indat c{};
  const DefaultRow rows[] = {
      {Field::Market, c.market},
      {Field::SafetyClass, c.safety_class},
      {Field::Spans, c.n},
      {Field::LoadCategory, c.load_category},
      {Field::GammaG, c.gamma_g},
      {Field::Xsi, c.xsi},
      {Field::GammaQ, c.gamma_q},
      {Field::Psi0, c.psi0},
      {Field::Psi1, c.psi1},
      {Field::Psi2, c.psi2},
      {Field::LoadSet, c.load_set},
      {Field::CantileverLeft, c.cant_left},
      {Field::CantileverRight, c.cant_right},
      {Field::Concrete, c.concrete_class},
      {Field::TopGrade, c.top_grade},
      {Field::TopBar, c.top_bar},
      {Field::TopCover, c.top_cover},
      {Field::BottomGrade, c.bot_grade},
      {Field::BottomBar, c.bot_bar},
      {Field::BottomPlacement, c.bot_placement},
      {Field::FireOption, c.fire_option},
      {Field::Ceiling, c.ceiling},
      {Field::Creep, c.creep},
      {Field::Camber, c.precamber},
      {Field::DeflectionInitial, c.defl_initial},
      {Field::DeflectionAdditional, c.defl_additional},
      {Field::DeflectionLoads, c.defl_load},
      {Field::LineLoads, c.line_loads},
      {Field::DeckSupport, c.deck_support},
      {Field::FrequencyMin, c.freq_min},
      {Field::CrackWidthMax, c.crack_wmax},
  };
  for (const DefaultRow& r : rows)
    EXPECT_FLOAT_EQ(static_cast<float>(case_field(r.id).fallback), static_cast<float>(r.value))
        << case_field(r.id).key;
  EXPECT_EQ(c.fire_minutes, 60);  // option 2
}

struct EngineExit {
  int status = -1;
  std::string err;
};

// solvowb in `folder`, its error stream and exit status; a time limit of 20 s (a FIFO that
// were opened would block for ever).
EngineExit run_engine(const std::filesystem::path& folder) {
  const std::string cmd =
      "cd '" + folder.string() + "' && timeout 20 '" SOLVOWB_PATH "' >/dev/null 2>err.txt";
  const int raw = std::system(cmd.c_str());
  EngineExit r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.err = slurp(folder / "err.txt");
  return r;
}

TEST(CaseFormatReader, ACaseFileThatIsAFolderOrAFifoIsNamedSo) {
  struct Row {
    const char* kind;
    bool fifo;
    const char* name;
  };
  const Row rows[] = {{"it is a folder", false, "~INDATA~.TMP"},
                      {"it is a FIFO", true, "~INDATA~.TMP"},
                      {"it is a FIFO", true, "~indata~.tmp"}};
  for (const Row& r : rows) {
    testing::TempFolder folder;
    const std::filesystem::path path = folder.path() / r.name;
    if (r.fifo)
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    else
      std::filesystem::create_directory(path);
    const EngineExit o = run_engine(folder.path());
    EXPECT_EQ(o.status, 2) << r.kind;
    EXPECT_EQ(o.err, std::string("~INDATA~.TMP: the case file cannot be read (") + r.kind + ")\n");
  }
}

}  // namespace
}  // namespace solvo
