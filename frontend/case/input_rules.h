// The arithmetic of the input form's leave rules and of the layout sketch, free of widgets.
//
// A field's text is read with textToNumber and shown again in the field's display pattern;
// the store takes the value of the shown text, so a span typed as 5.555 is stored as 5.56.
// The sketch works in twips: the slab is drawn 8400 twips long, whatever its length in m.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "case_store.h"

namespace solvow {

// What leaving a per-span or per-support field did.
struct SpanLeave {
  bool stored = false;   // the value differed from the store: fields first..last took `shown`
  bool refused = false;  // the text was no number: nothing was stored or copied
  QString shown;         // the text every affected field now shows
};

// Leave rule of a row of per-span (or per-support) values. A text that is no number
// (fieldNumber) is refused: field `first` shows values[first] again in `pattern` and nothing
// changes. Otherwise v = its number: when v in single precision differs from values[first],
// fields first..last show v in `pattern` and values[first..last] take the number of that text;
// else only field `first` is reformatted. REQUIRES: 0 <= first, last < values.size().
SpanLeave leaveSpanRow(std::span<float> values, int first, int last, QStringView typed,
                       QStringView pattern);

// Leave rule of a whole-number field: the text shown in `pattern`, and the number of that
// text rounded halves-to-even; nothing when the text is no number (`refused`) or the number
// does not fit a 16-bit integer. The field then shows the stored value again.
struct WholeLeave {
  QString shown;
  std::optional<qint16> value;
  bool refused = false;
};
WholeLeave leaveWholeNumber(QStringView typed, QStringView pattern);

// The status line when a field's text `typed` is refused as no number; `kept` is the value the
// field shows again.
QString notANumberNote(QStringView typed, QStringView kept);

// `v` in `pattern`, with as many more decimals (up to six) as it takes for the text to read
// back as the same single-precision value: a field shows the value it stores.
// "#0.00" of 1.005 is "1.005", "#0.0" of 7.5 is "7.5".
QString shownExactly(double v, QStringView pattern);

// The width a support gets when a span added after it makes it an inner support: the width
// of the inner support before it, or the width of a new case's supports (0.1 m) when support
// `support` is the first inner support. REQUIRES: 1 <= support < widths.size().
inline constexpr float kNewSupportWidth = 0.1f;
float newInnerSupportWidth(std::span<const float> widths, int support);

// The support widths (supports 0..kMaxSpans) when the slab goes from n to m spans: the end
// supports keep their widths (the width of support n goes to the new last support m), a
// support that becomes inner takes newInnerSupportWidth, and the supports after m are 0.
// REQUIRES: 1 <= n, m <= widths.size() - 1.
void resizeSupportWidths(std::span<float> widths, int n, int m);

// The number of `text` as a 16-bit count or index: rounded halves-to-even; nothing when it
// does not fit.
std::optional<qint16> textToInt16(QStringView text);

// Geometry of the layout sketch, from the spans, the cantilevers and n.
struct SketchGeometry {
  static constexpr float kSlabTwips = 8400.0f;  // drawn length of the whole slab
  bool drawable = false;  // false when the slab has no positive length: nothing is drawn
  float total = 0.0f;     // left cantilever + spans 1..n + right cantilever, m
  float scale = 0.0f;     // twips per m
  std::array<float, kStoreSupports> x{};  // support i at x[i] twips from the slab's left end
};
SketchGeometry sketchGeometry(const CaseStore& store);

// The temporary props of spans 1..n, each span's props equally spaced: x in twips from the
// slab's left end, on the scale of sketchGeometry. None when the slab cannot be drawn; a
// count outside 0..2 draws no props in its span.
std::vector<float> propPositions(const CaseStore& store);

// The largest of the line loads 1..count, starting from 0: 0 without line loads or when no
// load is positive.
float largestLineLoad(const CaseStore& store);

// Arrows of a distributed load block of `length` twips: the stretch is divided into
// int(length / 420 + 0.9) equal steps and an arrow stands at the start and after each step.
// Returns the arrow positions relative to the start of the block; one arrow for a stretch
// too short to divide.
std::vector<float> loadArrowPositions(float length);

// The span number a line load takes from its field: the number of the text, cut to 15.
inline constexpr int kMaxLineLoadSpan = 15;

}  // namespace solvow
