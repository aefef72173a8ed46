// The moment diagram as a sheet: the same drawing in the window, on the printer page, in the
// print preview and on the last page of the PDF.
//
// The sheet fills its rectangle: at the top the case name, the heading and the date; on the
// left the moment scale in kNm/m (sagging positive, drawn downwards); in the middle the curves,
// stretched to the room left; under them the span numbers; at the largest sagging moment of
// every span and at the largest hogging moment of every support the moment written at its
// point. Text is sized from the rectangle, so a page and a window look alike.
#pragma once

#include <QRect>
#include <QString>
#include <vector>

#include "momkurva.h"

class QPagedPaintDevice;
class QPainter;

namespace solvow {

// A moment written at its point: drawing units x, the moment (kNm/m).
struct MarkedMoment {
  double x = 0.0;
  double moment = 0.0;
};

// The extreme moments of the curves: per span the largest sagging moment of the maximum curve
// at an inner point (only when positive), per support the largest hogging moment of the
// minimum curves meeting there (only when negative). Empty when the curves are not drawable.
std::vector<MarkedMoment> extremeMoments(const MomentCurves& curves, const SlabGeometry& slab);

// Step of the moment scale: 1, 2 or 5 times a power of ten, giving at most five steps from
// the axis to `mmax`; 0 when `mmax` is not a positive number.
double scaleStep(double mmax);

// Paints the sheet into `target` (device coordinates) on a white ground.
void paintMomentSheet(QPainter& painter, const QRect& target, const MomentCurves& curves,
                      const SlabGeometry& slab, const SheetText& text, qreal linePixels = 1.0);

// Paints the sheet over the printable area of the current page of `device` (begun by
// `painter`; `resolution` its dots per inch).
void paintMomentPage(QPainter& painter, const QPagedPaintDevice& device, int resolution,
                     const MomentCurves& curves, const SlabGeometry& slab, const SheetText& text);

}  // namespace solvow
