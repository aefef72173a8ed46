#include "layout_sketch.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "input_rules.h"

namespace solvow::forms {
namespace {

float at(const std::array<float, kStoreSpans + 1>& a, int i) {
  return a[static_cast<std::size_t>(i)];
}

// A downward arrow whose tip stands on the loaded face at x.
void downArrow(QPainter& p, double x, double length, double head) {
  const double top = kLoadBase - length;
  p.drawLine(QPointF(x, top), QPointF(x, kLoadBase));
  if (length <= 0.0) return;
  const double h = std::min(head, length / 2.0);
  p.drawLine(QPointF(x - h, kLoadBase - h), QPointF(x, kLoadBase));
  p.drawLine(QPointF(x + h, kLoadBase - h), QPointF(x, kLoadBase));
}

}  // namespace

void paintSpanSketch(QPainter& p, const CaseStore& store) {
  const SketchGeometry g = sketchGeometry(store);
  if (!g.drawable) return;
  p.setPen(QPen(kBasicRed, 0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(QPointF(kSketchLeft, 50), QPointF(kSketchLeft + 8400, 75)));
  // Temporary props: a post under the slab with a foot.
  p.setPen(QPen(Qt::black, 0));
  for (float x : propPositions(store)) {
    const double at = kSketchLeft + static_cast<double>(x);
    p.drawLine(QPointF(at, 90), QPointF(at, kPropFoot));
    p.drawLine(QPointF(at - 60, kPropFoot), QPointF(at + 60, kPropFoot));
  }
}

void paintDistributedLoads(QPainter& p, const CaseStore& store) {
  const SketchGeometry g = sketchGeometry(store);
  if (!g.drawable) return;
  const int n = std::clamp<int>(store.nfack, 1, kStoreSpans);
  float largest = 0.0f;
  for (int i = 1; i <= n; ++i) largest = std::max(largest, at(store.flast, i) + at(store.plast, i));
  if (!(largest > 0.0f)) return;
  p.setPen(QPen(Qt::black, 0));
  for (int i = 1; i <= n; ++i) {
    const float q = at(store.flast, i) + at(store.plast, i);
    if (!(q > 0.0f)) continue;
    const double height = kLoadBlockHeight * static_cast<double>(q / largest);
    // The left cantilever belongs to span 1's block, the right one to span n's.
    const double from = i == 1 ? 0.0 : g.x[static_cast<std::size_t>(i - 1)];
    const double to = i == n ? SketchGeometry::kSlabTwips : g.x[static_cast<std::size_t>(i)];
    p.drawRect(QRectF(QPointF(from, kLoadBase - height), QPointF(to, kLoadBase)));
    for (float dx : loadArrowPositions(static_cast<float>(to - from)))
      downArrow(p, from + dx, height, 60.0);
  }
}

void paintLineLoads(QPainter& p, const CaseStore& store) {
  const SketchGeometry g = sketchGeometry(store);
  const float largest = largestLineLoad(store);
  if (!g.drawable || !(largest > 0.0f)) return;
  p.setPen(QPen(QColor(0x00, 0x00, 0xFF), 2 * 15));  // two pixels wide
  const int count = std::clamp<int>(store.nllast, 0, kLineLoads);
  for (int k = 1; k <= count; ++k) {
    const LineLoad& load = store.lineLoads[static_cast<std::size_t>(k)];
    double metres = store.konsv;
    for (int j = 1; j < load.llfnr && j <= kStoreSpans; ++j) metres += at(store.spv, j);
    metres += load.avst;
    const double x = g.scale * metres;
    downArrow(p, x, kLoadBlockHeight * static_cast<double>(load.lllast / largest), kLineLoadHead);
  }
}

void paintLoadSketch(QPainter& p, const CaseStore& store) {
  p.save();
  p.translate(kSketchLeft, 0);
  paintDistributedLoads(p, store);
  paintLineLoads(p, store);
  p.restore();
}

SketchPane::SketchPane(const QString& name, int widthTwips, int heightTwips, Painter painter,
                       QWidget* parent)
    : QWidget(parent),
      m_widthTwips(widthTwips),
      m_heightTwips(heightTwips),
      m_painter(std::move(painter)) {
  setObjectName(name);
  setFixedSize(widthTwips / 15, heightTwips / 15);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void SketchPane::paintTo(QPainter& p, int widthPx, int heightPx) const {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setWindow(0, 0, m_widthTwips, m_heightTwips);
  p.setViewport(0, 0, widthPx, heightPx);
  m_painter(p);
}

void SketchPane::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  paintTo(p, width(), height());
}

QImage SketchPane::render() const {
  QImage image(width(), height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  paintTo(p, width(), height());
  return image;
}

}  // namespace solvow::forms
