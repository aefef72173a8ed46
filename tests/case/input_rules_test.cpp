// The support widths when the number of spans changes: the end supports keep the widths the
// case holds, a support that becomes inner takes the width before it.
#include "input_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace solvow {
namespace {

TEST(SupportWidths, TheEndWidthsStayWhenSpansAreAddedOrRemoved) {
  using Widths = std::vector<float>;  // supports 0..n
  const struct {
    const char* label;
    int n, m;
    Widths before, after;
  } rows[] = {
      // 1 -> 2: the old end becomes the first inner support (0.1 m); the end keeps 0.2.
      {"one span more", 1, 2, {0.3f, 0.2f}, {0.3f, 0.1f, 0.2f}},
      // 2 -> 4: each new inner support takes the width before it.
      {"two spans more", 2, 4, {0.3f, 0.15f, 0.2f}, {0.3f, 0.15f, 0.15f, 0.15f, 0.2f}},
      // 3 -> 2: the new end takes the end width; the inner width of support 2 goes.
      {"one span less", 3, 2, {0.3f, 0.15f, 0.25f, 0.2f}, {0.3f, 0.15f, 0.2f}},
      // 3 -> 1: one span between the two end supports.
      {"down to one span", 3, 1, {0.3f, 0.15f, 0.25f, 0.2f}, {0.3f, 0.2f}},
      // Zero end widths, the usual case, stay zero.
      {"zero ends", 2, 3, {0.0f, 0.1f, 0.0f}, {0.0f, 0.1f, 0.1f, 0.0f}},
  };
  for (const auto& r : rows) {
    std::array<float, kStoreSpans + 1> widths{};
    for (std::size_t s = 0; s < r.before.size(); ++s) widths[s] = r.before[s];
    resizeSupportWidths(widths, r.n, r.m);
    for (std::size_t s = 0; s < widths.size(); ++s) {
      const float want = s < r.after.size() ? r.after[s] : 0.0f;
      EXPECT_FLOAT_EQ(widths[s], want) << r.label << ", support " << s;
    }
  }
}

}  // namespace
}  // namespace solvow
