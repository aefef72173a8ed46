#include "console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <ostream>

namespace solvo {

TextOut& TextOut::operator<<(std::string_view text) {
  pending_ += text;
  return *this;
}

TextOut& TextOut::operator<<(int64_t v) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  return *this << std::string_view(digits, static_cast<size_t>(end - digits));
}

void TextOut::flush() {
  if (pending_.empty()) return;
  put_lines(pending_);
  pending_.clear();
}

TextOut& end_line(TextOut& out) {
  out << "\n";
  out.flush();
  return out;
}

void FileOut::put_lines(std::string_view lines) {
  // A console that has gone away loses the text, as a stream would; the files still count.
  while (!lines.empty()) {
    const ssize_t n = ::write(fd_, lines.data(), lines.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    lines.remove_prefix(static_cast<size_t>(n));
  }
}

void StreamOut::put_lines(std::string_view lines) { out_ << lines << std::flush; }

int read_whole_file(const std::filesystem::path& path, std::string& text) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  text.clear();
  char block[8192];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      return error;
    }
    if (n == 0) break;
    text.append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  return 0;
}

}  // namespace solvo
