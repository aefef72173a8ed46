// Checks of a saved case before the engine runs, free of widgets.
//
// An error makes the calculation meaningless: a value outside its range in the case-format
// table (the ranges the engine and the file reader refuse: a span without length, a negative
// load), a span no longer than its supports, a slab too thin for its top bars, a line load
// beside the slab. The run is refused. A warning names a value the engine can
// calculate but that lies outside what composite slabs on this deck are; the user may run it
// anyway. The checks only read the case; nothing is ever changed to make a case pass.
// Lengths in m, loads in kN/m2 (line loads kN/m), cover in mm.
#pragma once

#include <QString>
#include <QStringList>

#include "case_store.h"

namespace solvow {

// The ranges of what such slabs are; outside them a warning.
struct SlabRanges {
  float minThickness = 0.08f;    // m
  float maxThickness = 0.30f;    // m
  float maxSpan = 8.0f;          // m, span length
  float maxSlenderness = 40.0f;  // span length / slab thickness
  float maxCantilever = 2.0f;    // m
  float maxPermanent = 10.0f;    // kN/m2, additional permanent load
  float maxImposed = 20.0f;      // kN/m2
  float maxLineLoad = 100.0f;    // kN/m
  int maxCover = 50;             // mm, top cover
};

inline constexpr float kDeckHeight = 0.045f;  // m, height of the steel deck's profile

struct CaseCheck {
  QStringList errors;    // one line each, naming the field and the span
  QStringList warnings;  // likewise
};

// Checks spans 1..n, supports 0..n, cantilevers, cover, limits and the line loads in force.
// REQUIRES: 1 <= store.nfack <= kMaxSpans.
CaseCheck checkCase(const CaseStore& store, const SlabRanges& ranges = {});

// The clear span of span i: its length less half of each support width, m.
float clearSpan(const CaseStore& store, int i);

// The messages of the front end: the refusal, and the warning asked with "Kör ändå".
QString refusalMessage(const CaseCheck& check);
QString warningMessage(const CaseCheck& check);

}  // namespace solvow
