#include "input_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "case_format.h"
#include "text_conv.h"

namespace solvow {

SpanLeave leaveSpanRow(std::span<float> values, int first, int last, QStringView typed,
                       QStringView pattern) {
  const auto at = [&](int i) -> float& { return values[static_cast<std::size_t>(i)]; };
  SpanLeave out;
  const std::optional<double> number = fieldNumber(typed);
  if (!number) {
    out.refused = true;
    out.shown = formatNumber(at(first), pattern);
    return out;
  }
  const double v = *number;
  out.shown = formatNumber(v, pattern);
  if (static_cast<float>(v) != at(first)) {
    out.stored = true;
    const auto kept = static_cast<float>(textToNumber(out.shown));
    for (int j = first; j <= last; ++j) at(j) = kept;
  }
  return out;
}

std::optional<qint16> textToInt16(QStringView text) { return toInt16(textToNumber(text)); }

QString notANumberNote(QStringView typed, QStringView kept) {
  return QStringLiteral("\"%1\" är inget tal. Fältet behåller sitt värde %2.")
      .arg(typed.trimmed(), kept);
}

float newInnerSupportWidth(std::span<const float> widths, int support) {
  return support >= 2 ? widths[static_cast<std::size_t>(support - 1)] : kNewSupportWidth;
}

void resizeSupportWidths(std::span<float> widths, int n, int m) {
  const float end = widths[static_cast<std::size_t>(n)];
  for (std::size_t s = static_cast<std::size_t>(std::min(n, m)); s < widths.size(); ++s)
    widths[s] = 0.0f;
  for (int s = n; s < m; ++s) widths[static_cast<std::size_t>(s)] = newInnerSupportWidth(widths, s);
  widths[static_cast<std::size_t>(m)] = end;
}

QString shownExactly(double v, QStringView pattern) {
  QString shown = formatNumber(v, pattern);
  QString wider = pattern.toString();
  if (!wider.contains(u'.')) wider += u'.';
  for (int more = 0; more < 6; ++more) {
    if (static_cast<float>(textToNumber(shown)) == static_cast<float>(v)) break;
    wider += u'0';
    shown = formatNumber(v, wider);
  }
  return shown;
}

WholeLeave leaveWholeNumber(QStringView typed, QStringView pattern) {
  WholeLeave out;
  const std::optional<double> number = fieldNumber(typed);
  if (!number) {
    out.refused = true;
    return out;
  }
  out.shown = formatNumber(*number, pattern);
  out.value = textToInt16(out.shown);
  return out;
}

SketchGeometry sketchGeometry(const CaseStore& store) {
  SketchGeometry g;
  const int n = std::clamp<int>(store.nfack, 0, kStoreSpans);
  float total = store.konsv;
  for (int i = 1; i <= n; ++i) total += store.spv[static_cast<std::size_t>(i)];
  total += store.konsh;
  g.total = total;
  if (!(total > 0.0f) || !std::isfinite(total)) return g;
  g.drawable = true;
  g.scale = SketchGeometry::kSlabTwips / total;
  g.x[0] = g.scale * store.konsv;
  for (int i = 1; i <= n; ++i)
    g.x[static_cast<std::size_t>(i)] =
        g.x[static_cast<std::size_t>(i - 1)] + g.scale * store.spv[static_cast<std::size_t>(i)];
  return g;
}

std::vector<float> propPositions(const CaseStore& store) {
  const SketchGeometry g = sketchGeometry(store);
  std::vector<float> xs;
  if (!g.drawable) return xs;
  const int n = std::clamp<int>(store.nfack, 0, kStoreSpans);
  for (int i = 1; i <= n; ++i) {
    const int props = store.stamp[static_cast<std::size_t>(i)];
    if (props < 1 || props > solvo::platform::max_props()) continue;
    const float from = g.x[static_cast<std::size_t>(i - 1)];
    const float step = (g.x[static_cast<std::size_t>(i)] - from) / static_cast<float>(props + 1);
    for (int k = 1; k <= props; ++k) xs.push_back(from + step * static_cast<float>(k));
  }
  return xs;
}

float largestLineLoad(const CaseStore& store) {
  float largest = 0.0f;
  const int count = std::clamp<int>(store.nllast, 0, kLineLoads);
  for (int k = 1; k <= count; ++k)
    largest = std::max(largest, store.lineLoads[static_cast<std::size_t>(k)].lllast);
  return largest;
}

std::vector<float> loadArrowPositions(float length) {
  const auto steps = static_cast<int>(length / 420.0f + 0.9f);
  std::vector<float> at{0.0f};
  if (steps < 1) return at;
  const float step = length / static_cast<float>(steps);
  for (int k = 1; k <= steps; ++k) at.push_back(step * static_cast<float>(k));
  return at;
}

}  // namespace solvow
