// The program's console and input files without the C++ streams: lines are passed on whole
// (what the front end reads line by line), and a file is read whole, whatever its size and
// bytes.
#include "console.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace solvo {
namespace {

// Records every piece that is passed on, to see where the lines are cut.
class Pieces final : public TextOut {
 public:
  std::vector<std::string> seen;

 private:
  void put_lines(std::string_view lines) override { seen.emplace_back(lines); }
};

TEST(TextOut, PassesOnWholeLinesOnlyAtTheirEnd) {
  Pieces out;
  out << "\n\n" << std::string(3, ' ') << "KLART!";
  EXPECT_TRUE(out.seen.empty());  // a line break inside the text does not pass it on
  out << end_line;
  out << int64_t{7} << "/" << int64_t{-12} << end_line;
  out << "rest";
  out.flush();
  out.flush();  // nothing left: nothing passed on
  const std::vector<std::string> want = {"\n\n   KLART!\n", "7/-12\n", "rest"};
  EXPECT_EQ(out.seen, want);
}

TEST(TextOut, AStreamGetsTheSameBytesAndWhatIsLeftAtTheEnd) {
  std::ostringstream text;
  {
    StreamOut out(text);
    out << "0/" << int64_t{1890} << end_line << "Å";  // UTF-8 bytes pass unchanged
  }
  EXPECT_EQ(text.str(), "0/1890\nÅ");
}

TEST(ReadWholeFile, EveryByteOfFilesOfEverySize) {
  const testing::TempFolder dir;
  ASSERT_FALSE(dir.path().empty());
  // Sizes around the 8 KB blocks the file is read in; every byte value, CR LF and NUL.
  for (size_t size :
       {size_t{0}, size_t{1}, size_t{8191}, size_t{8192}, size_t{8193}, size_t{40000}}) {
    std::string bytes(size, '\0');
    for (size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>((k * 7 + 13) % 256);
    const auto path = dir.path() / "~INDATA~.TMP";
    testing::put(path, bytes);
    std::string text = "old";
    EXPECT_EQ(read_whole_file(path, text), 0);
    EXPECT_EQ(text, bytes) << size << " bytes";
  }
}

TEST(ReadWholeFile, AFileThatIsNotThereGivesItsError) {
  const testing::TempFolder dir;
  std::string text;
  EXPECT_EQ(read_whole_file(dir.path() / "MISSING.IND", text), ENOENT);
}

}  // namespace
}  // namespace solvo
