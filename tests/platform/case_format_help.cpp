// Writes the table of the case file's fields into the help document, between its marks
// "<!-- case-format-table -->" and "<!-- /case-format-table -->":
//     case_format_help data/solvo_help.html
// The platform tests check that the document holds the table as this writes it.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "case_format.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: case_format_help HELP.html\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string html = s.str();
  const std::string begin = "<!-- case-format-table -->\n";
  const std::string end = "<!-- /case-format-table -->";
  const size_t a = html.find(begin);
  const size_t b = html.find(end);
  if (a == std::string::npos || b == std::string::npos || b < a) {
    std::cerr << argv[1] << ": the marks of the table are missing\n";
    return 2;
  }
  html.replace(a + begin.size(), b - a - begin.size(), solvo::platform::case_format_html());
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << html;
  return out ? 0 : 3;
}
