// solvowb: calculates the design case ~INDATA~.TMP of the current folder; with
// "--search PLAN" it searches the designs that the file PLAN lets vary (SOLVO-SEARCH.RES
// and SOLVO-SEARCH.CSV).
// The console is written without the C++ standard streams (see console.h).
#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "console.h"
#include "engine.h"
#include "search.h"

// The bounds of the program's image, from the linker.
extern "C" char __executable_start, __data_start, _end;

namespace {

// A calculation touches much of the program's code and constants and some 100 KB of stack,
// each page first met costing a page fault; in a virtual machine a fault costs microseconds.
// Asking for all of them at once maps them in one call each. A kernel without the advice
// (before Linux 5.14) refuses it, and the pages come one by one as before.
void map_in_advance() {
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
  constexpr int kPopulateRead = 22;   // MADV_POPULATE_READ
  constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE
  constexpr uintptr_t kPage = 4096;
  constexpr uintptr_t kStack = uintptr_t{96} * 1024;
  const auto page_down = [](uintptr_t a) { return a & ~(kPage - 1); };
  const auto page_up = [&](uintptr_t a) { return page_down(a + kPage - 1); };
  const auto advise = [](uintptr_t from, uintptr_t to, int advice) {
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, advice);
  };
  // Code and constants (read only), then the data (written by the start-up code anyway).
  const auto image = page_down(reinterpret_cast<uintptr_t>(&__executable_start));
  const auto data = page_down(reinterpret_cast<uintptr_t>(&__data_start));
  advise(image, data, kPopulateRead);
  advise(data, page_up(reinterpret_cast<uintptr_t>(&_end)), kPopulateWrite);
  char here = 0;
  const auto top = page_down(reinterpret_cast<uintptr_t>(&here));
  advise(top - kStack, top, kPopulateWrite);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  map_in_advance();
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
