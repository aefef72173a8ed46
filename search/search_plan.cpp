#include "search_plan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>

#include "case_input.h"
#include "comdat_deck.h"

namespace solvo {

namespace {

// Thicknesses are whole millimetres, as the case file holds them and as "Använd" puts them
// into the case, so that the steps add up exactly and the design listed is the one applied.
constexpr double kMillimetresPerMetre = 1000.0;
constexpr int kMaxRejectedListed = 1000;
constexpr float kMaxThickness = 1.0f;
// The prices that a plan may give: beyond these no price of concrete, bars or props lies.
constexpr double kMaxConcretePrice = 100000.0;  // per m3
constexpr double kMaxSteelPrice = 10000.0;      // per kg
constexpr double kMaxPropPrice = 100000.0;      // per m of a line of props

using Words = std::vector<std::string_view>;

Words split(std::string_view line) {
  Words words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::string joined(const Words& words) {
  std::string s;
  for (std::string_view w : words) {
    if (!s.empty()) s += ' ';
    s += w;
  }
  return s;
}

std::optional<double> number(std::string_view word) {
  double v = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v))
    return std::nullopt;
  return v;
}

std::optional<int32_t> whole(std::string_view word) {
  int32_t v = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return v;
}

bool same_letters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<int32_t> concrete_code(std::string_view word) {
  if (auto code = whole(word); code && *code >= 1 && *code <= comdat::kConcreteClasses) return code;
  for (int32_t c = 1; c <= comdat::kConcreteClasses; ++c)
    if (same_letters(word, comdat::kConcrete[static_cast<size_t>(c)].name)) return c;
  return std::nullopt;
}

std::optional<int32_t> bar_code(std::string_view word) {
  auto d = whole(word);
  for (int32_t b = 1; d && b <= comdat::kBarSizes; ++b)
    if (static_cast<float>(*d) == comdat::kBar[static_cast<size_t>(b)].diameter) return b;
  return std::nullopt;
}

std::optional<int32_t> prop_count(std::string_view word) {
  auto count = whole(word);
  if (count && *count >= 0 && *count <= 2) return count;
  return std::nullopt;
}

std::optional<int32_t> layout_code(std::string_view word) {
  if (same_letters(word, "off")) return 1;
  if (same_letters(word, "on")) return 2;
  return std::nullopt;
}

// Reads the file line by line; every failure names the file, the line and what was expected.
class PlanReader {
 public:
  PlanReader(std::string file, const Indat& c) : file_(std::move(file)), case_(c) {}

  SearchPlan read(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t lf = text.find('\n', start);
      size_t end = lf == std::string_view::npos ? text.size() : lf;
      ++line_no_;
      std::string_view line = text.substr(start, end - start);
      if (size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      words_ = split(line);
      if (!words_.empty()) statement();
      if (lf == std::string_view::npos) break;
      start = lf + 1;
    }
    finish();
    return plan_;
  }

 private:
  [[noreturn]] void fail(const std::string& expected) const {
    throw CaseError(file_, line_no_, expected, joined(words_));
  }

  void once(std::string_view keyword) {
    if (!seen_.insert(std::string(keyword)).second)
      fail("\"" + std::string(keyword) + "\" once in the file");
  }

  void statement() {
    const std::string_view key = words_[0];
    if (key == "thickness") {
      thickness();
    } else if (key == "concrete") {
      once(key);
      plan_.concrete = list(concrete_code, "concrete classes by name (C30/37) or code (1-9)");
    } else if (key == "bar") {
      once(key);
      plan_.bars = list(bar_code, "top bar diameters in mm (6, 8, 10, 12, 16)");
    } else if (key == "curtailment") {
      once(key);
      plan_.layouts = list(layout_code, "curtailment \"off\" and/or \"on\"");
    } else if (key == "props") {
      once(key);
      plan_.props = list(prop_count, "numbers of props in every span, 0, 1 or 2");
    } else if (key == "price") {
      price();
    } else if (key == "listed") {
      once(key);
      auto count = words_.size() == 2 ? whole(words_[1]) : std::nullopt;
      if (!count || *count < 0 || *count > kMaxPassingListed)
        fail("listed COUNT, a whole number 0 to " + std::to_string(kMaxPassingListed));
      plan_.passing_listed = *count;
    } else if (key == "rejected") {
      once(key);
      auto count = words_.size() == 2 ? whole(words_[1]) : std::nullopt;
      if (!count || *count < 0 || *count > kMaxRejectedListed)
        fail("rejected COUNT, a whole number 0 to " + std::to_string(kMaxRejectedListed));
      plan_.rejected_listed = *count;
    } else {
      fail(
          "a keyword: thickness, concrete, bar, curtailment, props, price, listed or "
          "rejected");
    }
    check_count();
  }

  template <typename Code>
  std::vector<int32_t> list(Code code, const std::string& expected) {
    if (words_.size() < 2) fail(expected);
    std::vector<int32_t> codes;
    for (size_t k = 1; k < words_.size(); ++k) {
      auto c = code(words_[k]);
      if (!c) fail(expected);
      if (std::find(codes.begin(), codes.end(), *c) != codes.end()) fail(expected + ", each once");
      codes.push_back(*c);
    }
    return codes;
  }

  // "all" or a list of spans and ranges of spans such as 1-2,9-10, within 1..n.
  std::vector<int> spans(std::string_view word) {
    const std::string expected =
        "the spans of a thickness group: \"all\" or a list such as 1-2,9-10 "
        "within spans 1 to " +
        std::to_string(case_.n);
    std::vector<int> out;
    if (same_letters(word, "all")) {
      for (int i = 1; i <= case_.n; ++i) out.push_back(i);
      return out;
    }
    size_t start = 0;
    while (start <= word.size()) {
      size_t comma = word.find(',', start);
      std::string_view item = word.substr(
          start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
      size_t dash = item.find('-');
      auto lo = whole(item.substr(0, dash));
      auto hi = dash == std::string_view::npos ? lo : whole(item.substr(dash + 1));
      if (!lo || !hi || *lo < 1 || *hi > case_.n || *lo > *hi) fail(expected);
      for (int i = *lo; i <= *hi; ++i) out.push_back(i);
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    return out;
  }

  void thickness() {
    const std::string expected =
        "thickness [SPANS] FROM TO STEP in m, whole millimetres, FROM <= TO, STEP at least "
        "0.001, thicknesses above the deck's 0.045 and at most 1.0";
    if (words_.size() != 4 && words_.size() != 5) fail(expected);
    const size_t first = words_.size() - 3;
    ThicknessGroup group;
    group.spans = spans(first == 2 ? words_[1] : std::string_view("all"));
    for (int i : group.spans)
      if (!grouped_.insert(i).second) fail("each span in one thickness group only");
    auto from = number(words_[first]), to = number(words_[first + 1]);
    auto step = number(words_[first + 2]);
    if (!from || !to || !step || std::fabs(*from) > 1e6 || std::fabs(*to) > 1e6 ||
        *step * kMillimetresPerMetre < 1.0 - 1e-9 || *step > 1e6)
      fail(expected);
    const auto lo = std::llround(*from * kMillimetresPerMetre);
    const auto hi = std::llround(*to * kMillimetresPerMetre);
    const auto by = std::llround(*step * kMillimetresPerMetre);
    if (lo > hi || lo <= std::llround(comdat::kProfileHeight * kMillimetresPerMetre) ||
        hi > std::llround(kMaxThickness * kMillimetresPerMetre))
      fail(expected);
    if ((hi - lo) / by + 1 > kMaxCandidates)
      fail(expected + ", at most " + std::to_string(kMaxCandidates) + " steps");
    for (auto t = lo; t <= hi; t += by)
      group.thicknesses.push_back(static_cast<float>(t) / static_cast<float>(kMillimetresPerMetre));
    plan_.groups.push_back(std::move(group));
  }

  void price() {
    const std::string expected =
        "price concrete [CLASS] PRICE (per m3, 0 to 100000), price steel PRICE (per kg, 0 to "
        "10000) or price prop PRICE (per m of a line of props, 0 to 100000)";
    auto value = words_.size() >= 3 ? number(words_.back()) : std::nullopt;
    if (!value || *value < 0) fail(expected);
    const double most = words_[1] == "steel"  ? kMaxSteelPrice
                        : words_[1] == "prop" ? kMaxPropPrice
                                              : kMaxConcretePrice;
    if (*value > most) fail(expected);
    const float p = static_cast<float>(*value);
    if (words_[1] == "steel" && words_.size() == 3) {
      once("price steel");
      plan_.steel_price = p;
    } else if (words_[1] == "prop" && words_.size() == 3) {
      once("price prop");
      plan_.prop_price = p;
    } else if (words_[1] == "concrete" && words_.size() == 3) {
      once("price concrete");
      general_concrete_ = p;
    } else if (words_[1] == "concrete" && words_.size() == 4) {
      auto code = concrete_code(words_[2]);
      if (!code) fail(expected);
      once("price concrete " + std::string(comdat::kConcrete[static_cast<size_t>(*code)].name));
      class_price_.emplace_back(*code, p);
    } else {
      fail(expected);
    }
  }

  void check_count() {
    if (current().candidates() > kMaxCandidates)
      fail("at most " + std::to_string(kMaxCandidates) + " candidates in all");
  }

  // The plan so far, with the case's values where the file names none.
  SearchPlan current() const {
    SearchPlan s = plan_;
    if (s.concrete.empty()) s.concrete = {case_.concrete_class};
    if (s.bars.empty()) s.bars = {case_.top_bar};
    if (s.layouts.empty()) s.layouts = {case_.top_layout};
    return s;
  }

  // True when the plan gives only the case's own design.
  bool varies_nothing(const SearchPlan& s) const {
    if (s.candidates() != 1) return false;
    for (const ThicknessGroup& g : s.groups)
      for (int i : g.spans)
        if (g.thicknesses.front() != case_.thickness[i]) return false;
    if (s.concrete.front() != case_.concrete_class || s.bars.front() != case_.top_bar ||
        s.layouts.front() != case_.top_layout)
      return false;
    for (int i = 1; i <= case_.n && !s.props.empty(); ++i)
      if (s.props.front() != case_.props[i]) return false;
    return true;
  }

  void finish() {
    SearchPlan s = current();
    if (varies_nothing(s)) {
      words_.clear();
      fail(
          "a plan that varies the case: a thickness range, or concrete classes, bar sizes, "
          "curtailment or props other than the case's own");
    }
    if (general_concrete_) s.concrete_price.fill(*general_concrete_);
    for (auto [code, p] : class_price_) s.concrete_price[static_cast<size_t>(code)] = p;
    plan_ = s;
  }

  std::string file_;
  const Indat& case_;
  int line_no_ = 0;
  Words words_;
  SearchPlan plan_;
  std::set<std::string> seen_;
  std::set<int> grouped_;
  std::optional<float> general_concrete_;
  std::vector<std::pair<int32_t, float>> class_price_;
};

}  // namespace

int64_t SearchPlan::candidates() const {
  int64_t count = static_cast<int64_t>(std::max<size_t>(concrete.size(), 1)) *
                  static_cast<int64_t>(std::max<size_t>(bars.size(), 1)) *
                  static_cast<int64_t>(std::max<size_t>(layouts.size(), 1)) *
                  static_cast<int64_t>(std::max<size_t>(props.size(), 1));
  for (const ThicknessGroup& g : groups) {
    count *= static_cast<int64_t>(g.thicknesses.size());
    if (count > kMaxCandidates) return count;
  }
  return count;
}

SearchPlan read_search_plan(std::string_view text, const std::string& file, const Indat& c) {
  return PlanReader(file, c).read(text);
}

}  // namespace solvo
