#include "verdict.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "design.h"

namespace solvo {

namespace {

constexpr float kInvalid = std::numeric_limits<float>::infinity();
// A value function's answer where the check has nothing to say (a valid design): no item.
constexpr float kNotApplicable = -std::numeric_limits<float>::infinity();

enum class Place { kSpan, kSupport, kPage6 };

// The utilisation of a check at span or support `at`; kInvalid for a design that is not
// valid, kNotApplicable for none.
using Value = float (*)(const Run& run, int at);

// kInvalid where `invalid`, else kNotApplicable: a rule that a design meets or does not.
float invalid_if(bool invalid) {
  if (invalid) return kInvalid;
  return kNotApplicable;
}

struct CheckRow {
  Check check;
  std::string_view name;
  Place place;
  bool invalid;     // fails as an invalid design (governs over utilisations)
  CheckKind page6;  // the page-6 kind that this check stands for (kNone: not page 6)
  Value value;      // nullptr for page 6, which comes through its CheckVerdict
};

// The checks in the order in which they are examined. Rows of the same place that follow each
// other form one pass over the spans (or supports), the spans outermost, so that of equal
// utilisations the one of the lowest span governs, the columns of page 2 left to right.
constexpr CheckRow kChecks[] = {
    {Check::kLeastDepth, "Minsta plattjocklek", Place::kSpan, true, CheckKind::kNone,
     [](const Run& r, int i) { return invalid_if(r.indat.thickness[i] < kLeastSlabDepth); }},
    {Check::kSpanMoment, "Fält", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.uf[i]; }},
    {Check::kShearLeft, "Tvärkr vä", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.uvl[i]; }},
    {Check::kShearRight, "Tvärkr hö", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.uvr[i]; }},
    {Check::kBond, "Vidhäft", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.ub[i]; }},
    {Check::kDeflInitial, "Def(init.)", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.udi[i]; }},
    {Check::kDeflAdditional, "Def(tillk.)", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.udt[i]; }},
    {Check::kSlenderness, "Svikt", Place::kSpan, false, CheckKind::kNone,
     [](const Run& r, int i) { return r.utdat.us[i]; }},
    {Check::kTopBars, "Stödarmering saknar lösning", Place::kSupport, true, CheckKind::kNone,
     [](const Run& r, int j) {
       return invalid_if(r.utdat.top_solution[static_cast<size_t>(j)] != BarSolution::kSolved);
     }},
    {Check::kBottomBars, "Fältarmering (brand) saknar lösning", Place::kSpan, true,
     CheckKind::kNone,
     [](const Run& r, int i) {
       return invalid_if(r.utdat.bottom_solution[static_cast<size_t>(i)] != BarSolution::kSolved);
     }},
    {Check::kDeckSagging, "Byggskede, fältmoment", Place::kPage6, false, CheckKind::kDeckSagging,
     nullptr},
    {Check::kDeckHogging, "Byggskede, stödmoment", Place::kPage6, false, CheckKind::kDeckHogging,
     nullptr},
    {Check::kDeckDeflection, "Byggskede, nedböjning", Place::kPage6, false,
     CheckKind::kDeckDeflection, nullptr},
    {Check::kFrequency, "Egenfrekvens", Place::kPage6, false, CheckKind::kFrequency, nullptr},
    {Check::kCantileverMoment, "Byggskede, konsolmoment", Place::kPage6, false,
     CheckKind::kCantileverMoment, nullptr},
    {Check::kCantileverDeflection, "Byggskede, konsolnedböjning", Place::kPage6, false,
     CheckKind::kCantileverDeflection, nullptr},
    {Check::kPage6Other, "Kontroll sid 6", Place::kPage6, false, CheckKind::kNone, nullptr},
    {Check::kCrackWidth, "Sprickbredd", Place::kSupport, false, CheckKind::kNone,
     [](const Run& r, int j) {
       const CrackSupport& s = r.crack.at[static_cast<size_t>(j)];
       if (!s.checked) return kNotApplicable;
       return s.utilisation;
     }},
};

const CheckRow& row_of(Check check) {
  for (const CheckRow& r : kChecks)
    if (r.check == check) return r;
  return kChecks[0];
}

// The page-6 check of a kind; a kind without a row of its own is named as a check of page 6
// rather than being lost.
Check page6_check(CheckKind kind) {
  for (const CheckRow& r : kChecks)
    if (r.place == Place::kPage6 && r.page6 == kind && kind != CheckKind::kNone) return r.check;
  return Check::kPage6Other;
}

// Collects the items: the governing one and each failing check at its worst place.
class Collector {
 public:
  void take(const VerdictItem& item, bool invalid) {
    const float u = item.utilisation;
    if (better_governor(item, invalid)) {
      v_.governing = item;
      governing_invalid_ = invalid;
      has_governing_ = true;
    }
    if (u <= 1.0f) return;  // passes (NaN does not)
    v_.passes = false;
    for (VerdictItem& f : v_.failing) {
      if (f.check != item.check) continue;
      if (rank(item) > rank(f)) f = item;
      return;
    }
    v_.failing.push_back(item);
  }

  Verdict finish() {
    const Check first = v_.governing.check;
    std::stable_sort(v_.failing.begin(), v_.failing.end(),
                     [&](const VerdictItem& a, const VerdictItem& b) {
                       const bool ga = a.check == first, gb = b.check == first;
                       if (ga != gb) return ga;
                       return rank(a) > rank(b);
                     });
    return v_;
  }

 private:
  // Invalid designs above results that are not numbers, those above every utilisation.
  static double rank(const VerdictItem& item) {
    if (std::isnan(item.utilisation)) return std::numeric_limits<double>::max();
    if (std::isinf(item.utilisation) && item.utilisation > 0)
      return std::numeric_limits<double>::infinity();
    return item.utilisation;
  }

  bool better_governor(const VerdictItem& item, bool invalid) const {
    if (!has_governing_) return true;
    if (governing_invalid_) return false;
    if (invalid) return true;
    if (std::isnan(v_.governing.utilisation)) return false;
    return std::isnan(item.utilisation) || item.utilisation > v_.governing.utilisation;
  }

  Verdict v_;
  bool has_governing_ = false;
  bool governing_invalid_ = false;
};

// One pass over the spans or supports for the rows [first, last) of the same place.
void examine(const Run& run, size_t first, size_t last, Collector& out) {
  const int count = kChecks[first].place == Place::kSupport ? run.indat.n + 1 : run.indat.n;
  for (int at = 1; at <= count; ++at) {
    for (size_t k = first; k < last; ++k) {
      const CheckRow& r = kChecks[k];
      const float u = r.value(run, at);
      if (u == kNotApplicable) continue;
      out.take({r.check, at, u}, r.invalid);
    }
  }
}

// Every page-6 check that fails, each at its worst place; a passing page its governing check.
void examine_page6(const Run& run, Collector& out) {
  const CheckVerdict& p6 = run.checkdat.verdict;
  if (p6.governing == CheckKind::kNone) return;
  for (int k = 0; k < p6.failing_count; ++k) {
    const CheckItem& f = p6.failing[static_cast<size_t>(k)];
    out.take({page6_check(f.kind), f.span, f.utilisation}, false);
  }
  if (p6.failing_count > 0) return;
  // A page-6 verdict that fails with a utilisation within 1.0 (a check without one) fails.
  float u = p6.utilisation;
  if (!p6.passes && u <= 1.0f) u = kInvalid;
  out.take({page6_check(p6.governing), p6.span, u}, false);
}

}  // namespace

std::string check_name(Check check, int where) {
  const CheckRow& r = row_of(check);
  // A cantilever is named by the support it hangs from.
  const bool support = r.place == Place::kSupport || r.page6 == CheckKind::kCantileverMoment ||
                       r.page6 == CheckKind::kCantileverDeflection;
  const char* place = support ? " stöd " : " fack ";
  return std::string(r.name) + place + std::to_string(where);
}

Verdict slab_verdict(const Run& run) {
  Collector out;
  constexpr size_t count = std::size(kChecks);
  size_t first = 0;
  while (first < count) {
    size_t last = first + 1;
    while (last < count && kChecks[last].place == kChecks[first].place) ++last;
    if (kChecks[first].place == Place::kPage6)
      examine_page6(run, out);
    else
      examine(run, first, last, out);
    first = last;
  }
  return out.finish();
}

std::string verdict_line(const Verdict& verdict) {
  if (verdict.passes) return "Alla kontroller uppfyllda";
  std::string line = "Ej uppfyllt: ";
  for (size_t k = 0; k < verdict.failing.size(); ++k) {
    if (k > 0) line += ", ";
    line += check_name(verdict.failing[k].check, verdict.failing[k].where);
  }
  return line;
}

}  // namespace solvo
