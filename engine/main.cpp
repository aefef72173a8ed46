// solvowb: calculates the design case ~INDATA~.TMP of the current folder; with
// "--search PLAN" it searches the designs that the file PLAN lets vary (SEARCH.RES).
#include <cstring>
#include <filesystem>
#include <iostream>

#include "engine.h"
#include "search.h"

int main(int argc, char** argv) {
  const std::filesystem::path here(".");
  if (argc == 1) return solvo::run_solvowb(here, std::cout, std::cerr);
  if (argc == 3 && std::strcmp(argv[1], "--search") == 0)
    return solvo::run_solvowb_search(here, argv[2], std::cout, std::cerr);
  std::cerr << "usage: solvowb, or solvowb --search PLAN (a file in the working folder)"
            << std::endl;
  return 2;
}
