// The design search's plan file: which values of the case may vary, and the prices
// by which the designs that pass are ranked.
//
// A small line-based text. "#" starts a comment that runs to the end of the line; blank lines
// are passed over; words are separated by blanks or tabs; numbers use a decimal point.
//
//   thickness [SPANS] FROM TO STEP   slab thickness in m, FROM, FROM+STEP, ... up to TO,
//                                    each rounded to whole millimetres (STEP at least 1 mm).
//                                    SPANS: "all" (the default) or a list such as 1-2,9-10;
//                                    the spans of one line share one thickness, every line is
//                                    a group that varies on its own; spans of no group keep
//                                    the case's thickness.
//   concrete CLASS...                concrete classes by name (C30/37) or code (1-9)
//   bar DIAMETER...                  top bar diameters in mm: 6, 8, 10, 12, 16
//   curtailment off|on...            off = one bar length (layout 1), on = staggered (layout 2)
//   props COUNT...                   temporary props in every span during casting, 0-2
//   price concrete [CLASS] PRICE     price of concrete per m3, of every class or of one
//                                    (at most 100000)
//   price steel PRICE                price of reinforcement per kg (at most 10000)
//   price prop PRICE                 price of a line of props per metre of its length
//                                    (at most 100000)
//   listed COUNT                     how many of the cheapest passing designs are listed
//   rejected COUNT                   how many of the best rejected designs are listed
//
// A value that a file does not name keeps the case's value. Every keyword but "thickness"
// and "price concrete CLASS" may stand once. A plan that gives only the case's own design
// is refused: there is nothing to search.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comdat.h"
#include "run_state.h"
#include "search_limits.h"

namespace solvo {

// Thicknesses are whole millimetres, prices plain reals; the candidates are the product of
// the lists.
struct ThicknessGroup {
  std::vector<int> spans;          // 1..n, ascending
  std::vector<float> thicknesses;  // m, ascending
};

// Default prices: concrete per m3 by class (a stronger class costs more), steel per kg.
inline constexpr std::array<float, comdat::kConcreteClasses + 1> kDefaultConcretePrice = {
    0.0f, 1400.0f, 1450.0f, 1500.0f, 1550.0f, 1600.0f, 1700.0f, 1800.0f, 1900.0f, 2000.0f};
inline constexpr float kDefaultSteelPrice = 15.0f;
inline constexpr float kDefaultPropPrice = 0.0f;
inline constexpr int kDefaultRejectedListed = 20;
inline constexpr int kDefaultPassingListed = 200;
inline constexpr int kMaxPassingListed = 10000;
inline constexpr int64_t kMaxCandidates = platform::kMaxSearchCandidates;

struct SearchPlan {
  std::vector<ThicknessGroup> groups;  // none: every span keeps its thickness
  std::vector<int32_t> concrete;       // class codes 1..9, in the file's order
  std::vector<int32_t> bars;           // bar size codes 1..5
  std::vector<int32_t> layouts;        // top bar layout 1 or 2
  std::vector<int32_t> props;          // props in every span, 0..2; empty: the case's own
  std::array<float, comdat::kConcreteClasses + 1> concrete_price = kDefaultConcretePrice;
  float steel_price = kDefaultSteelPrice;
  float prop_price = kDefaultPropPrice;
  int rejected_listed = kDefaultRejectedListed;
  int passing_listed = kDefaultPassingListed;

  // The number of candidates: the product of the list lengths.
  int64_t candidates() const;
};

// Reads a plan for the case `c` (its values fill what the file leaves out; its
// number of spans bounds the span lists). `file` names the file in messages. Throws
// CaseError: "<file>, line <n>: expected <what> (found "<text>")".
SearchPlan read_search_plan(std::string_view text, const std::string& file, const Indat& c);

}  // namespace solvo
