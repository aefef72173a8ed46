// The reference analysis's view of a design case: the loads of every load set read from the
// table of load sets, the line loads placed by the placement rule, all rows analysed (row 3
// formed from rows 1 and 2 as the engine forms it), and design cases drawn at random for the
// comparisons.
#pragma once

#include <initializer_list>
#include <random>
#include <vector>

#include "reference_analysis.h"
#include "run_state.h"

namespace solvo::reference {

// Every load set that is analysed (row 3 is formed from rows 1 and 2, row 9 by the fire
// design).
inline constexpr int kAnalysedRows[] = {kRowUlsA,       kRowUlsB,     kRowQuasiLong,
                                        kRowQuasiShort, kRowFrequent, kRowCharacteristic,
                                        kRowQuasiGammaD};

// The permanent load of every span, the extra load of a loaded span, the line-load factor
// and the creep factor of load set k.
struct RowLoads {
  std::vector<double> g, q;
  double l1 = 0, creep = 0;
};
RowLoads loads_of(const Run& run, int k);

// The slab of load set k with its line loads placed: clear spans, stiffness (the engine's
// section routine), supports, cantilevers and loads. `run` has been read (berdat done).
Slab slab_of(const Run& run, int k);

// Rows 1..8 of a case, each analysed with the twenty point loads; row 3 has row 2's curves
// and slab, and the more severe support moments of rows 1 and 2. Indexed by row.
struct Rows {
  std::vector<Slab> slab;
  std::vector<Envelopes> envelopes;
};
Rows rows_of(const Run& run);

// Design cases drawn at random, every market in turn: 1..10 spans (a third of them equal),
// slabs 0.10..0.30 m, supports 0..0.3 m wide, loads per span or alike, cantilevers, up to five
// line loads in a span, on the left cantilever, carried on into a later span or past the last
// one, and back into the previous span (a negative position after span 1). The other inputs
// (concrete, bars, cover, fire class, deflection limits) are drawn from their tables too.
class RandomSlabs {
 public:
  explicit RandomSlabs(unsigned seed) : rng_(seed) {}
  // Fills `run` as the case reader would (blkdat, the case, berdat).
  void next(Run& run, int index);

 private:
  void line_load(Run& run, int l);
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  float real(double lo, double hi) {
    return static_cast<float>(std::uniform_real_distribution<double>(lo, hi)(rng_));
  }
  bool chance(double p) { return real(0.0, 1.0) < p; }
  int one_of(std::initializer_list<int> values) {
    return *(values.begin() + pick(0, static_cast<int>(values.size()) - 1));
  }
  std::mt19937 rng_;
};

}  // namespace solvo::reference
