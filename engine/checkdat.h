// Results of the checks on report page 6: the deck as formwork while the concrete is wet, the
// least reinforcement against cracking over the ribs, and the natural frequency of the floor.
// Arrays indexed from 1 by slab span i = 1..n.
#pragma once

#include <array>
#include <cstdint>

#include "slab_limits.h"

namespace solvo {

// The checks that have a utilisation (1.0 = 100 %).
enum class CheckKind : int32_t {
  kNone = 0,
  kDeckSagging,     // largest sagging moment of the deck / its resistance
  kDeckHogging,     // largest hogging moment of the deck / its resistance
  kDeckDeflection,  // deflection of the deck under the wet concrete / deck span / 180
  kFrequency,       // lowest acceptable natural frequency / natural frequency
};

// Whether a slab passes the page-6 checks, and the check that governs.
struct CheckVerdict {
  bool passes = true;  // no utilisation above 1.0 (and none that is not a number)
  CheckKind governing = CheckKind::kNone;
  int32_t span = 0;       // slab span of the governing check, 0 with kNone
  float utilisation = 0;  // the largest utilisation
};

// The deck spans of one slab span: the span divided by its props into equal deck spans.
struct CastingSpan {
  int32_t props = 0;
  float deck_span = 0;  // length of each deck span, m
  float g = 0;          // deck + wet concrete, kN/m2, without ponding
  float ponding = 0;    // largest ponding load added to a deck span of the group, kN/m2
  float q_work = 0;     // construction load of the working area, kN/m2 (0.75 elsewhere)
  float m_sag = 0;      // largest sagging moment of the ultimate envelope, kNm/m
  float m_hog = 0;      // largest hogging moment (0 or negative), props and supports included
  float u_sag = 0;
  float u_hog = 0;
  float defl = 0;        // largest deflection of a deck span under the permanent load, mm
  float defl_limit = 0;  // deck span / 180, mm
  float u_defl = 0;
};

struct Checkdat {
  // ---- Construction stage ----
  float ei_deck = 0;  // bending stiffness of the deck alone, kNm2/m
  float mrd = 0;      // design moment resistance of the deck, sagging and hogging, kNm/m
  std::array<CastingSpan, kMaxSpans + 1> casting{};
  // ---- Anti-crack reinforcement over the ribs ----
  Span1<kMaxSpans> crack_area{};    // least area, mm2/m
  Int1<kMaxSpans> crack_spacing{};  // spacing of the top bar that gives it, mm
  // ---- Natural frequency ----
  Span1<kMaxSpans> freq_defl{};  // largest deflection of the span, mm
  Span1<kMaxSpans> freq{};       // Hz; infinite when the span does not deflect downwards
  Span1<kMaxSpans> u_freq{};     // limit / f; 0 without a limit
  CheckVerdict verdict;
};

}  // namespace solvo
