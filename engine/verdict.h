// Whether a calculated slab passes, and which checks govern: the one decision that report
// pages 2 and 6, the console's last line and the design search read.
//
// A slab passes when every utilisation of page 2 (span moment, shear at both ends, bond,
// deflections, slenderness) and of page 6 (the checks of checks.h, through their
// CheckVerdict, and the crack width over the supports of crack_width.h) is at most 1.0,
// no span is thinner than the least depth, and every support and span that needs bars has
// bars that can be built. A utilisation that is not a number
// passes nothing. A design that is not valid (too thin, bars without a solution) fails
// whatever its utilisations and governs over them; its utilisation is infinite.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run_state.h"

namespace solvo {

// Every check that can fail, as the design search and the console name them.
// To add a check: one value here, one row in the table of verdict.cpp (its name, whether it
// is counted by span or by support, and where its values come from).
enum class Check {
  kLeastDepth,            // a span thinner than the least depth
  kSpanMoment,            // page 2 "Fält"
  kShearLeft,             // page 2 "Tvärkr vä"
  kShearRight,            // page 2 "Tvärkr hö"
  kBond,                  // page 2 "Vidhäft"
  kDeflInitial,           // page 2 "Def(init.)"
  kDeflAdditional,        // page 2 "Def(tillk.)"
  kSlenderness,           // page 2 "Svikt"
  kTopBars,               // a support whose top bars have no solution
  kBottomBars,            // a span whose bottom bars for fire have no solution
  kDeckSagging,           // page 6 "Byggskede, fältmoment"
  kDeckHogging,           // page 6 "Byggskede, stödmoment"
  kDeckDeflection,        // page 6 "Byggskede, nedböjning"
  kFrequency,             // page 6 "Egenfrekvens"
  kCantileverMoment,      // page 6 "Byggskede, konsolmoment", at the cantilever's support
  kCantileverDeflection,  // page 6 "Byggskede, konsolnedböjning", at the cantilever's support
  kPage6Other,            // a page-6 kind without a row of its own: "Kontroll sid 6"
  kCrackWidth,            // page 6 "Sprickbredd", by support
};

// The name of a check with its span or support ("Svikt fack 5").
std::string check_name(Check check, int where);

// One check at one span or support.
struct VerdictItem {
  Check check = Check::kSpanMoment;
  int32_t where = 1;      // span or support
  float utilisation = 0;  // infinite for a design that is not valid
};

struct Verdict {
  bool passes = true;
  // The check that governs: the first invalid one, else the first that is not a number,
  // else the largest utilisation (the first of equal ones). Set for a passing slab too.
  VerdictItem governing;
  // The checks that fail, each check once at its worst span or support, the governing
  // first, then invalid ones, then by falling utilisation.
  std::vector<VerdictItem> failing;
};

// The verdict of a completed calculation: run.utdat filled by dimen and run.checkdat.verdict
// by slab_checks (or copied from a run with the same props, as the design search does).
Verdict slab_verdict(const Run& run);

// The console's last line: "Alla kontroller uppfyllda", or "Ej uppfyllt: " and the failing
// checks named, separated by ", ".
std::string verdict_line(const Verdict& verdict);

}  // namespace solvo
