#include "file_names.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace solvo {

namespace fs = std::filesystem;

namespace {

bool same_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

void append_utf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Windows-1252 0x80..0x9F; 0 where the code page has no character.
constexpr unsigned kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::optional<fs::path> resolve_existing(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  fs::path exact = folder / std::string(name);
  if (fs::is_regular_file(exact, ec)) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (same_ignoring_ascii_case(entry, name) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

std::string dos_name_to_utf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    unsigned u = static_cast<unsigned char>(c);
    switch (u) {
      case 143: append_utf8(out, 0xC5); break;  // Å
      case 142: append_utf8(out, 0xC4); break;  // Ä
      case 153: append_utf8(out, 0xD6); break;  // Ö
      case 134: append_utf8(out, 0xE5); break;  // å
      case 132: append_utf8(out, 0xE4); break;  // ä
      case 148: append_utf8(out, 0xF6); break;  // ö
      default:
        if (u < 0x80 || u >= 0xA0)
          append_utf8(out, u);
        else
          append_utf8(out, kCp1252High[u - 0x80] ? kCp1252High[u - 0x80] : '?');
    }
  }
  return out;
}

bool write_file_replacing(const fs::path& folder, std::string_view name,
                          std::string_view contents, std::string& error, bool keep_old) {
  fs::path target = folder / std::string(name);
  if (auto existing = resolve_existing(folder, name)) {
    target = *existing;
    if (!keep_old) std::remove(existing->c_str());
  }
  std::string tmp = (folder / ("." + std::string(name) + ".tmp" +
                               std::to_string(static_cast<long>(getpid()))))
                        .string();
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = std::string(name) + ": " + std::strerror(errno);
      return false;
    }
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    if (!out) {
      error = std::string(name) + ": the file could not be written";
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), target.c_str()) != 0) {
    error = std::string(name) + ": " + std::strerror(errno);
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace solvo
