#include "moment_sheet.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace solvow {

namespace {

constexpr int kInnerFirst = 1;
constexpr int kInnerLast = kCurvePoints - 2;

// Drawing-unit positions along the slab, laid out as the curves are drawn: support widths to
// scale, each span over its 20 steps.
struct Stations {
  std::vector<double> supportMid;  // supports 0..n
  std::vector<double> spanStart;   // spans 1..n at index i - 1
  std::vector<double> spanMid;
};

Stations stations(const MomentCurves& curves, const SlabGeometry& slab) {
  const double sx = horizontalScale(slab);
  Stations s;
  double x = diagram::kLeft + sx * slab.leftCantilever;
  for (size_t i = 0; i < slab.supports.size(); ++i) {
    const double width = sx * slab.supports[i];
    s.supportMid.push_back(x + width / 2.0);
    x += width;
    if (i < curves.maximum.size()) {
      const double length = 20.0 * curves.maximum[i].step * sx;
      s.spanStart.push_back(x);
      s.spanMid.push_back(x + length / 2.0);
      x += length;
    }
  }
  return s;
}

// Maps drawing units and moments onto the device rectangle the curves are stretched to.
struct SheetMap {
  QRectF viewport;
  double sy = 0.0;
  double x(double units) const {
    return viewport.left() + units / diagram::kWidth * viewport.width();
  }
  double y(double moment) const {
    return viewport.top() + (diagram::kAxis + moment * sy) / diagram::kHeight * viewport.height();
  }
};

QString momentText(double moment, int decimals) { return QString::number(moment, 'f', decimals); }

void drawHeader(QPainter& painter, const QRectF& band, qreal line, const SheetText& text,
                const QString& title, qreal linePixels) {
  QFont bold = painter.font();
  bold.setBold(true);
  const QFont plain = painter.font();
  painter.setPen(Qt::black);
  painter.setFont(bold);
  const QRectF first(band.left(), band.top(), band.width(), line);
  painter.drawText(first, Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Momentdiagram  ") + text.caseName);
  painter.setFont(plain);
  painter.drawText(first, Qt::AlignRight | Qt::AlignVCenter, text.date);
  painter.drawText(first.translated(0, line), Qt::AlignLeft | Qt::AlignVCenter, text.heading);

  // The load set on the left, the legend on the right: a line sample before each curve's name.
  const QRectF third = first.translated(0, 2 * line);
  painter.setFont(bold);
  painter.drawText(third, Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.setFont(plain);
  const QFontMetricsF metrics(plain, painter.device());
  const QString names[] = {QStringLiteral("Största moment"), QStringLiteral("Minsta moment")};
  const QColor colours[] = {diagram::kMaxColour, diagram::kMinColour};
  qreal x = third.right();
  for (int k = 1; k >= 0; --k) {
    x -= metrics.horizontalAdvance(names[k]);
    painter.setPen(QPen(colours[k], linePixels));
    painter.drawText(QPointF(x, third.center().y() + metrics.ascent() / 2.5), names[k]);
    x -= line * 0.4;
    painter.drawLine(QPointF(x - line * 1.5, third.center().y()), QPointF(x, third.center().y()));
    x -= line * 2.5;
  }
}

void drawScale(QPainter& painter, const SheetMap& map, double mmax, qreal line, qreal linePixels) {
  const double step = scaleStep(mmax);
  if (step <= 0.0) return;
  const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
  const qreal axisX = map.x(0.0);
  const int ticks = static_cast<int>(std::floor(mmax / step + 1e-9));
  painter.setPen(QPen(Qt::black, linePixels));
  // The axis reaches the largest moment either way; the labelled ticks stay on whole steps.
  painter.drawLine(QPointF(axisX, map.y(-mmax)), QPointF(axisX, map.y(mmax)));
  for (int k = -ticks; k <= ticks; ++k) {
    const double y = map.y(k * step);
    painter.drawLine(QPointF(axisX - line * 0.3, y), QPointF(axisX, y));
    const QRectF label(axisX - line * 6, y - line / 2, line * 5.5, line);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, momentText(k * step, decimals));
  }
  const QRectF unit(axisX - line * 6, map.y(-ticks * step) - line * 1.6, line * 6.5, line);
  painter.drawText(unit, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("M [kNm/m]"));
}

void drawSpanNumbers(QPainter& painter, const SheetMap& map, const Stations& where, qreal top,
                     qreal line) {
  painter.setPen(Qt::black);
  for (size_t i = 0; i < where.spanMid.size(); ++i) {
    const double middle = map.x(where.spanMid[i]);
    painter.drawText(QRectF(middle - line * 3, top, line * 6, line), Qt::AlignCenter,
                     QStringLiteral("Fack %1").arg(i + 1));
  }
}

void drawExtremes(QPainter& painter, const SheetMap& map, const MomentCurves& curves,
                  const SlabGeometry& slab, qreal line) {
  for (const MarkedMoment& m : extremeMoments(curves, slab)) {
    const bool sagging = m.moment > 0.0;
    painter.setPen(sagging ? diagram::kMaxColour : diagram::kMinColour);
    const qreal x = map.x(m.x);
    const qreal y = map.y(m.moment);
    const QRectF box(x - line * 3, sagging ? y + line * 0.1 : y - line * 1.1, line * 6, line);
    painter.drawText(box, Qt::AlignCenter, momentText(m.moment, 1));
  }
}

}  // namespace

std::vector<MarkedMoment> extremeMoments(const MomentCurves& curves, const SlabGeometry& slab) {
  std::vector<MarkedMoment> marks;
  if (!drawable(curves, slab)) return marks;
  const Stations where = stations(curves, slab);
  const double sx = horizontalScale(slab);
  const size_t n = curves.maximum.size();
  for (size_t i = 0; i < n; ++i) {
    const SpanCurve& span = curves.maximum[i];
    const auto first = span.moment.begin() + kInnerFirst;
    const auto largest = std::max_element(first, span.moment.begin() + kInnerLast + 1);
    if (*largest > 0.0)
      marks.push_back(
          {where.spanStart[i] + static_cast<double>(largest - span.moment.begin()) * span.step * sx,
           *largest});
  }
  for (size_t j = 0; j <= n; ++j) {
    double hogging = 0.0;
    if (j < n) hogging = std::min(hogging, curves.minimum[j].moment.front());
    if (j > 0) hogging = std::min(hogging, curves.minimum[j - 1].moment.back());
    if (hogging < 0.0) marks.push_back({where.supportMid[j], hogging});
  }
  return marks;
}

double scaleStep(double mmax) {
  if (!(mmax > 0.0) || !std::isfinite(mmax)) return 0.0;
  const double power = std::pow(10.0, std::floor(std::log10(mmax / 5.0)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (mmax / (factor * power) <= 5.0 + 1e-9) return factor * power;
  return 10.0 * power;
}

void paintMomentSheet(QPainter& painter, const QRect& target, const MomentCurves& curves,
                      const SlabGeometry& slab, const SheetText& text, qreal linePixels) {
  painter.save();
  painter.fillRect(target, Qt::white);
  const int fontPx = std::max(7, std::min(target.height() / 40, target.width() / 100));
  QFont font;  // the program's font, whatever the painter drew before
  font.setPixelSize(fontPx);
  painter.setFont(font);
  const qreal line = fontPx * 1.4;
  const qreal margin = fontPx;
  const QRectF area = QRectF(target).adjusted(margin, margin, -margin, -margin);
  drawHeader(painter, QRectF(area.topLeft(), QSizeF(area.width(), 3 * line)), line, text,
             loadSetTitle(curves.loadSet), linePixels);

  // The curves' room: right of the scale labels, between the header and the span numbers,
  // with a line above and below for the moments written at the extreme points.
  const QRectF room = area.adjusted(line * 6.5, 4 * line, 0, -1.5 * line);
  SheetMap map;
  map.viewport = room.adjusted(0, line * 1.2, 0, -line * 1.2);
  const double mmax = largestMoment(curves);
  map.sy = verticalScale(mmax);
  paintMomentCurves(painter, map.viewport.toAlignedRect(), curves, slab, linePixels);
  if (drawable(curves, slab)) {
    drawScale(painter, map, mmax, line, linePixels);
    drawSpanNumbers(painter, map, stations(curves, slab), room.bottom() + line * 0.3, line);
    drawExtremes(painter, map, curves, slab, line);
  }
  painter.restore();
}

void paintMomentPage(QPainter& painter, const QPagedPaintDevice& device, int resolution,
                     const MomentCurves& curves, const SlabGeometry& slab, const SheetText& text) {
  const QRect page(QPoint(0, 0), device.pageLayout().paintRectPixels(resolution).size());
  // Lines of about 0.2 mm: thin enough that the ordinates stay apart at ten spans.
  paintMomentSheet(painter, page, curves, slab, text, std::max<qreal>(1.0, resolution / 127.0));
}

}  // namespace solvow
