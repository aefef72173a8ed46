// solvowb: calculates the design case ~INDATA~.TMP of the current folder; with
// "--search PLAN" it searches the designs that the file PLAN lets vary (SEARCH.RES).
// The console is written without the C++ standard streams (see console.h).
#include <cstring>
#include <filesystem>

#include "console.h"
#include "engine.h"
#include "search.h"

int main(int argc, char** argv) {
  const std::filesystem::path here(".");
  solvo::FileOut console(1);
  solvo::FileOut errors(2);
  if (argc == 1) return solvo::run_solvowb(here, console, errors);
  if (argc == 3 && std::strcmp(argv[1], "--search") == 0)
    return solvo::run_solvowb_search(here, argv[2], console, errors);
  errors << "usage: solvowb, or solvowb --search PLAN (a file in the working folder)"
         << solvo::end_line;
  return 2;
}
