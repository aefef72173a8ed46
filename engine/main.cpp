// solvowb: calculates the design case ~INDATA~.TMP of the current folder.
#include <filesystem>
#include <iostream>

#include "engine.h"

int main() { return solvo::run_solvowb(std::filesystem::path("."), std::cout, std::cerr); }
