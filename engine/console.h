// The program's own input and output without the C++ standard streams: the progress lines and
// messages (standard output and error) and the reading of its input files. Setting up the
// streams' locale at start takes longer than the calculation of a small case, and the engine
// is a process started once per calculation.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace solvo {

// Text going out line by line. What is written is kept until `end_line` ends the line, which
// passes it on at once, as std::endl does for a stream.
class TextOut {
 public:
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  virtual ~TextOut() = default;

  TextOut& operator<<(std::string_view text);
  TextOut& operator<<(int64_t v);
  TextOut& operator<<(TextOut& (*manipulator)(TextOut&)) { return manipulator(*this); }
  // Passes on what was written and not yet passed on.
  void flush();

 protected:
  virtual void put_lines(std::string_view lines) = 0;

 private:
  std::string pending_;
};

// Ends the line and passes it on: `out << "KLART!" << end_line`.
TextOut& end_line(TextOut& out);

// The program's standard output (1) or error (2).
class FileOut final : public TextOut {
 public:
  explicit FileOut(int fd) : fd_(fd) {}
  ~FileOut() override { flush(); }
  FileOut(const FileOut&) = delete;
  FileOut& operator=(const FileOut&) = delete;

 private:
  void put_lines(std::string_view lines) override;
  int fd_;
};

// A stream of the caller's, e.g. a test's text.
class StreamOut final : public TextOut {
 public:
  explicit StreamOut(std::ostream& out) : out_(out) {}
  ~StreamOut() override { flush(); }
  StreamOut(const StreamOut&) = delete;
  StreamOut& operator=(const StreamOut&) = delete;

 private:
  void put_lines(std::string_view lines) override;
  std::ostream& out_;
};

// The whole file into `text`. Returns 0, or the errno of the step that failed.
int read_whole_file(const std::filesystem::path& path, std::string& text);

}  // namespace solvo
