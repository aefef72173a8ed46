// The moment-curve files the engine writes beside the report, read for the moment diagram.
//
// MOMK.DAT holds the number of spans n and then four blocks of moment curves, one value a
// line: the maximum and minimum curves of expression 6.10a, then those of 6.10b. A block
// holds per span the step (m, a twentieth of the clear span), the moment at the left support,
// the moments at the 19 inner points and at the right support (kNm/m, sagging positive).
//
// MOMD.DAT holds the curves the design uses: n, then the load set of the case (1 = 6.10a,
// 2 = 6.10b, 3 = the envelope of both), then its maximum and its minimum block in the layout
// of MOMK.DAT. Its largest values are the moments of the report's ultimate-limit-state page.
//
// Every line is read with the text-to-number rule, so a decimal comma reads like a point.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include "file_access.h"

namespace solvow {

inline constexpr const char* kMomentFile = "MOMK.DAT";
inline constexpr const char* kDesignMomentFile = "MOMD.DAT";

inline constexpr int kCurvePoints = 21;  // left support, 19 inner points, right support

struct SpanCurve {
  double step = 0.0;  // m
  std::array<double, kCurvePoints> moment{};
};

struct MomentCurves {
  int spans = 0;
  // The load set the curves belong to: 1 = 6.10a, 2 = 6.10b, 3 = the envelope of both.
  int loadSet = 1;
  std::vector<SpanCurve> maximum;  // span i at index i - 1
  std::vector<SpanCurve> minimum;
};

// The curves of MOMK.DAT: n and its first two blocks (6.10a). False with `error` set when n is
// not a whole number of spans from 1 to 10 or the file has fewer lines than n requires;
// `curves` is then untouched.
bool parseMomentCurves(const QByteArray& bytes, MomentCurves* curves, QString* error);

// The curves of MOMD.DAT. False with `error` set, and `curves` untouched, also when the load
// set is not 1, 2 or 3.
bool parseDesignCurves(const QByteArray& bytes, MomentCurves* curves, QString* error);

// The path of file `name` in `workingFolder` (the current folder when empty).
QString momentFilePath(const QString& workingFolder, const char* name);

// Reads MOMD.DAT of `workingFolder` through the file-open routine. False with `error` set when
// it is missing or cannot be read as curves.
bool readDesignMomentFile(FileTable& files, const DiskDialogue& dialogue,
                          const QString& workingFolder, MomentCurves* curves, QString* error);

// The diagram's title for the load set: "Moment enl. ekv. 6.10b, kNm/m"; for 3
// "Moment enl. ekv. 6.10a och b, kNm/m", as the report's first page names the load sets.
QString loadSetTitle(int loadSet);

// The largest absolute moment of both blocks.
double largestMoment(const MomentCurves& curves);

// The largest sagging moment of the maximum curves at an inner point of any span, and the
// largest hogging moment (the least value) of the minimum curves at any support; 0 when there
// is none of that sign.
struct MomentExtremes {
  double sagging = 0.0;
  double hogging = 0.0;
};
MomentExtremes momentExtremes(const MomentCurves& curves);

}  // namespace solvow
