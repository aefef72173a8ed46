// Results of the checks on report page 6: the deck as formwork while the concrete is wet
// (deck spans, cantilevers, the least props, the line loads on props and supports), the
// least reinforcement against cracking over the supports, and the lowest natural frequency
// of the floor. Arrays indexed from 1 by slab span i = 1..n or support j = 1..n+1.
#pragma once

#include <array>
#include <cstdint>

#include "slab_limits.h"

namespace solvo {

// Temporary props in one span during casting, equally spaced.
inline constexpr int kMaxProps = 4;
// Deck spans of the whole slab: every span divided by its props.
inline constexpr int kMaxDeckSpans = kMaxSpans * (kMaxProps + 1);

// The checks that have a utilisation (1.0 = 100 %).
enum class CheckKind : int32_t {
  kNone = 0,
  kDeckSagging,           // largest sagging moment of the deck / its resistance
  kDeckHogging,           // largest hogging moment of the deck / its resistance
  kDeckDeflection,        // deflection of the deck under the wet concrete / deck span / 180
  kFrequency,             // lowest acceptable natural frequency / lowest natural frequency
  kCantileverMoment,      // root moment of a deck cantilever / the deck's resistance
  kCantileverDeflection,  // tip deflection of a deck cantilever / (2 x its length / 180)
};

// One page-6 check at one span (or, for a cantilever, the support it hangs from).
struct CheckItem {
  CheckKind kind = CheckKind::kNone;
  int32_t span = 0;
  float utilisation = 0;  // infinite for a result that is not a number
};

// Whether a slab passes the page-6 checks, the check that governs, and every check that fails.
struct CheckVerdict {
  bool passes = true;  // no utilisation above 1.0 (and none that is not a number)
  CheckKind governing = CheckKind::kNone;
  // Slab span of the governing check (0 with kNone); for a cantilever check the support it
  // hangs from (1 or n + 1).
  int32_t span = 0;
  float utilisation = 0;  // the largest utilisation
  // Each kind of check that fails, once, at its worst place, in the order first met.
  static constexpr int kKinds = 6;  // sagging, hogging, deflection, root, tip, frequency
  std::array<CheckItem, kKinds> failing{};
  int32_t failing_count = 0;
};

// The deck spans of one slab span: the span divided by its props into equal deck spans.
struct CastingSpan {
  int32_t props = 0;
  float deck_span = 0;  // length of each deck span, m
  float g = 0;          // deck + wet concrete, kN/m2, without ponding
  float ponding = 0;    // largest ponding load added to a deck span of the group, kN/m2
  float q_work = 0;     // working-area load on top of the 0.75 kN/m2, kN/m2
  float m_sag = 0;      // largest sagging moment of the ultimate envelope, kNm/m
  float m_hog = 0;      // largest hogging moment (0 or negative), props and supports included
  float u_sag = 0;
  float u_hog = 0;
  float defl = 0;        // largest deflection of a deck span under the permanent load, mm
  float defl_limit = 0;  // deck span / 180, mm
  float u_defl = 0;
  // Ponding would make a deck span deflect more than its length / 20: the figures are those
  // without ponding, and the deck is far outside its range (the span fails).
  bool beyond_range = false;
  // The least number of props (0..kMaxProps) with which every check of this span passes,
  // kMaxProps + 1 when none does; -1 when the span passes with the props it has.
  int32_t props_needed = -1;
};

// A cantilever of the slab during casting: a deck cantilever from the end support.
struct CastingCantilever {
  float length = 0;   // m; 0 = none
  float g = 0;        // deck + wet concrete, kN/m2, without ponding
  float ponding = 0;  // kN/m2
  float q_work = 0;   // working-area load on top of the 0.75 kN/m2, kN/m2
  float m_root = 0;   // hogging moment at the root (0 or negative), kNm/m
  float u_moment = 0;
  float defl = 0;        // tip deflection under the permanent load, mm (downward positive)
  float defl_limit = 0;  // 2 x length / 180, mm
  float u_defl = 0;
  bool beyond_range = false;  // as for a span, with twice the length
};

// The line load on one support or prop line while the concrete is wet, kN/m.
struct CastingReaction {
  int32_t span = 0;  // 0: a support of the slab (support number in `at`); else the span
  int32_t at = 0;    // support number, or the prop's number in its span (1..props)
  float characteristic = 0;
  float design = 0;
};

struct Checkdat {
  // ---- Construction stage ----
  float ei_deck = 0;  // bending stiffness of the deck alone, kNm2/m
  float mrd = 0;      // design moment resistance of the deck, sagging and hogging, kNm/m
  std::array<CastingSpan, kMaxSpans + 1> casting{};
  CastingCantilever cant_left, cant_right;
  int32_t reactions = 0;  // in use in `reaction`, supports and props from left to right
  std::array<CastingReaction, kMaxDeckSpans + 1> reaction{};
  // ---- Anti-crack reinforcement over the supports ----
  Span1<kMaxSupports> crack_area{};        // least area, mm2/m
  Int1<kMaxSupports> crack_spacing{};      // spacing of the case's top bar that gives it, mm
  Int1<kMaxSupports> crack_spacing_max{};  // the largest spacing allowed there, mm
  // ---- Natural frequency of the whole slab ----
  Span1<kMaxSpans> freq_mass{};  // kg/m2 of every span (the cantilevers take their span's)
  Span1<kMaxSpans> freq_ei{};    // short-term composite stiffness, kNm2/m
  float freq = 0;                // the lowest natural frequency, Hz (NaN: none found)
  float u_freq = 0;              // limit / f; 0 without a limit
  int32_t freq_span = 0;         // the span where that mode deflects most
  CheckVerdict verdict;
};

}  // namespace solvo
