// Whole files as bytes, for the engine tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace solvo::testing {

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void put(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace solvo::testing
