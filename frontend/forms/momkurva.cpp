#include "momkurva.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTransform>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "form6.h"
#include "moment_sheet.h"
#include "report_owner.h"
#include "report_print.h"

namespace solvow {

namespace {

// Where the drawing area lies in `target`: as large as fits with the proportions kept,
// centred.
QRect fittedViewport(const QRect& target) {
  const double scale = std::min(static_cast<double>(target.width()) / diagram::kWidth,
                                static_cast<double>(target.height()) / diagram::kHeight);
  const int w = static_cast<int>(std::lround(diagram::kWidth * scale));
  const int h = static_cast<int>(std::lround(diagram::kHeight * scale));
  return QRect(target.x() + (target.width() - w) / 2, target.y() + (target.height() - h) / 2, w, h);
}

// Draws in drawing units through `map` onto device coordinates, so the pens keep their width
// in device pixels however the drawing area is stretched, and a print preview scales them
// with the page like everything else on it.
struct Plot {
  QPainter& painter;
  QTransform map;
  void line(const QPointF& a, const QPointF& b) const { painter.drawLine(map.map(a), map.map(b)); }
  void rect(const QRectF& r) const { painter.drawPolygon(map.map(QPolygonF(r))); }
};

// A straight-line cantilever diagram from the tip to the support point `support`, with
// ordinates every twentieth of its drawn length.
void drawCantilever(const Plot& plot, double tipX, const QPointF& support) {
  plot.line(QPointF(tipX, diagram::kAxis), support);
  const double length = support.x() - tipX;  // negative for a right cantilever
  const double rise = support.y() - diagram::kAxis;
  for (int k = 1; k <= 20; ++k) {
    const double share = k / 20.0;
    const double x = tipX + share * length;
    plot.line(QPointF(x, diagram::kAxis), QPointF(x, diagram::kAxis + share * rise));
  }
}

void drawSupport(const Plot& plot, double x, double width, double y) {
  plot.rect(QRectF(QPointF(x, diagram::kAxis), QPointF(x + width, y)).normalized());
}

// x of the right end of the last support.
double slabEnd(const std::vector<SpanCurve>& block, const SlabGeometry& slab, double sx) {
  double x = diagram::kLeft + sx * slab.leftCantilever;
  for (double w : slab.supports) x += sx * w;
  for (const SpanCurve& span : block) x += 20.0 * span.step * sx;
  return x;
}

void drawBlock(const Plot& plot, const std::vector<SpanCurve>& block, const SlabGeometry& slab,
               double sx, double sy) {
  const auto at = [sy](double moment) { return diagram::kAxis + moment * sy; };
  double x = diagram::kLeft + sx * slab.leftCantilever;
  QPointF previous(x, diagram::kAxis);
  for (size_t i = 0; i < block.size(); ++i) {
    const SpanCurve& span = block[i];
    const double y0 = at(span.moment[0]);
    if (i == 0 && slab.leftCantilever > diagram::kCantileverMin)
      drawCantilever(plot, diagram::kLeft, QPointF(x, y0));
    const double support = sx * slab.supports[i];
    drawSupport(plot, x, support, y0);
    x += support;
    previous = QPointF(x, y0);
    for (int m = 1; m < kCurvePoints; ++m) {
      const QPointF point(x + span.step * sx, at(span.moment[static_cast<size_t>(m)]));
      plot.line(previous, point);
      plot.line(point, QPointF(point.x(), diagram::kAxis));
      x = point.x();
      previous = point;
    }
  }
  const double last = sx * slab.supports[block.size()];
  drawSupport(plot, x, last, previous.y());
  x += last;
  if (slab.rightCantilever > diagram::kCantileverMin)
    drawCantilever(plot, x + sx * slab.rightCantilever, QPointF(x, previous.y()));
}

}  // namespace

SheetText sheetText(const CaseStore& store, const QString& workingFolder) {
  SheetText text;
  text.caseName = store.baseName;
  text.heading = store.rubrik;
  const QDateTime calculated =
      QFileInfo(momentFilePath(workingFolder, kDesignMomentFile)).lastModified();
  text.date =
      (calculated.isValid() ? calculated.date() : QDate::currentDate()).toString(Qt::ISODate);
  return text;
}

SlabGeometry slabGeometry(const CaseStore& store, int spans) {
  SlabGeometry slab;
  const int n = std::clamp(spans, 0, kStoreSpans);
  slab.leftCantilever = store.konsv;
  slab.rightCantilever = store.konsh;
  for (int i = 1; i <= n; ++i) slab.spans.push_back(store.spv[static_cast<size_t>(i)]);
  for (int j = 0; j <= n; ++j) slab.supports.push_back(store.upl[static_cast<size_t>(j)]);
  return slab;
}

double horizontalScale(const SlabGeometry& slab) {
  double length = slab.leftCantilever + slab.rightCantilever;
  for (double span : slab.spans) length += span;
  return length > 0.0 ? (diagram::kRight - diagram::kLeft) / length : 0.0;
}

bool drawable(const MomentCurves& curves, const SlabGeometry& slab) {
  return curves.spans > 0 && curves.maximum.size() == static_cast<size_t>(curves.spans) &&
         curves.minimum.size() == curves.maximum.size() &&
         slab.supports.size() == curves.maximum.size() + 1;
}

double verticalScale(double mmax) {
  return mmax > 0.0 && std::isfinite(mmax) ? diagram::kReach / mmax : 0.0;
}

void paintMomentCurves(QPainter& painter, const QRect& viewport, const MomentCurves& curves,
                       const SlabGeometry& slab, qreal linePixels) {
  if (!drawable(curves, slab)) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  QTransform map;
  map.translate(viewport.left(), viewport.top());
  map.scale(viewport.width() / static_cast<double>(diagram::kWidth),
            viewport.height() / static_cast<double>(diagram::kHeight));
  const Plot plot{painter, map};
  const auto pen = [linePixels](const QColor& colour) {
    QPen p(colour, linePixels);
    p.setCapStyle(Qt::FlatCap);
    return p;
  };
  const double sx = horizontalScale(slab);
  const double sy = verticalScale(largestMoment(curves));
  const double end = slabEnd(curves.maximum, slab, sx);
  const double left = slab.leftCantilever > diagram::kCantileverMin
                          ? diagram::kLeft
                          : diagram::kLeft + sx * slab.leftCantilever;
  const double right =
      slab.rightCantilever > diagram::kCantileverMin ? end + sx * slab.rightCantilever : end;
  painter.setPen(pen(diagram::kMaxColour));
  plot.line(QPointF(left, diagram::kAxis), QPointF(right, diagram::kAxis));
  drawBlock(plot, curves.maximum, slab, sx, sy);
  painter.setPen(pen(diagram::kMinColour));
  drawBlock(plot, curves.minimum, slab, sx, sy);
  painter.restore();
}

void paintMomentDiagram(QPainter& painter, const QRect& target, const MomentCurves& curves,
                        const SlabGeometry& slab, qreal linePixels) {
  painter.fillRect(target, Qt::white);
  paintMomentCurves(painter, fittedViewport(target), curves, slab, linePixels);
}

QImage renderMomentDiagram(const MomentCurves& curves, const SlabGeometry& slab, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paintMomentDiagram(painter, image.rect(), curves, slab);
  painter.end();
  return image;
}

namespace {

// Picture1: shows the diagram sheet once it has been read.
class DiagramPicture : public QWidget {
 public:
  DiagramPicture(const MomentCurves& curves, const SlabGeometry& slab, const SheetText& text,
                 const bool& loaded, QWidget* parent)
      : QWidget(parent), m_curves(curves), m_slab(slab), m_text(text), m_loaded(loaded) {
    setObjectName(QStringLiteral("Picture1"));
    setMinimumSize(diagram::kWidth / 10, diagram::kHeight / 10);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_loaded) paintMomentSheet(painter, rect(), m_curves, m_slab, m_text);
  }

 private:
  const MomentCurves& m_curves;
  const SlabGeometry& m_slab;
  const SheetText& m_text;
  const bool& m_loaded;
};

}  // namespace

Momkurva::Momkurva(const CaseStore& store, FileTable& files, DiskDialogue dialogue,
                   const QString& workingFolder, ReportPrinter& printer, QWidget* parent)
    : QWidget(parent),
      m_store(store),
      m_files(files),
      m_dialogue(std::move(dialogue)),
      m_workingFolder(workingFolder),
      m_printer(printer) {
  setObjectName(QStringLiteral("Momkurva"));
  setWindowTitle(QStringLiteral("Momentdiagram"));
  m_picture = new DiagramPicture(m_curves, m_slab, m_text, m_loaded, this);
  m_staleLine = staleLineLabel(this);
  m_command1 = new QPushButton(QStringLiteral("Plotta på skrivare"), this);
  m_command1->setObjectName(QStringLiteral("Command1"));
  m_forh = new QPushButton(QStringLiteral("Förhandsgranska..."), this);
  m_forh->setObjectName(QStringLiteral("forh"));
  m_ater = new QPushButton(QStringLiteral("Återgå"), this);
  m_ater->setObjectName(QStringLiteral("ater"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_command1);
  buttons->addWidget(m_forh);
  buttons->addWidget(m_ater);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_staleLine);
  layout->addWidget(m_picture, 1);
  layout->addLayout(buttons);

  connect(m_command1, &QPushButton::clicked, this, &Momkurva::plot);
  connect(m_forh, &QPushButton::clicked, this, &Momkurva::preview);
  connect(m_ater, &QPushButton::clicked, this, &Momkurva::returnRequested);
}

void Momkurva::tell(const QString& text) {
  if (m_notify)
    m_notify(text);
  else
    QMessageBox::information(this, windowTitle(), text);
}

void Momkurva::setStale(bool stale) {
  m_stale = stale;
  m_staleLine->setVisible(stale);
  setWindowTitle(stale ? staleCaption(QStringLiteral("Momentdiagram"))
                       : QStringLiteral("Momentdiagram"));
}

bool Momkurva::readCurves(MomentCurves* curves, SlabGeometry* slab, SheetText* text) {
  QString error;
  if (!readDesignMomentFile(m_files, m_dialogue, m_workingFolder, curves, &error)) {
    tell(error);
    return false;
  }
  *slab = slabGeometry(m_store, curves->spans);
  *text = solvow::sheetText(m_store, m_workingFolder);
  return true;
}

bool Momkurva::loadDiagram() {
  const WaitCursor wait;
  MomentCurves curves;
  SlabGeometry slab;
  SheetText text;
  m_loaded = readCurves(&curves, &slab, &text);
  m_curves = m_loaded ? std::move(curves) : MomentCurves{};
  m_slab = m_loaded ? std::move(slab) : SlabGeometry{};
  m_text = m_loaded ? std::move(text) : SheetText{};
  m_picture->update();
  return m_loaded;
}

bool Momkurva::plot() {
  if (m_stale) {
    tell(staleExportRefusal());
    return false;
  }
  const WaitCursor wait;
  MomentCurves curves;
  SlabGeometry slab;
  SheetText text;
  if (!readCurves(&curves, &slab, &text)) return false;
  QPrinter& printer = m_printer.printer();
  const QPageLayout::Orientation kept = printer.pageLayout().orientation();
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter painter;
  QString error;
  bool printed = false;
  if (m_printer.startJob(painter, &error, m_store.baseName + QStringLiteral("-moment.pdf"))) {
    paintMomentPage(painter, printer, printer.resolution(), curves, slab, text);
    printed = painter.end();
  } else if (!error.isEmpty()) {
    tell(error);
  }
  printer.setPageOrientation(kept);
  return printed;
}

void Momkurva::preview() {
  if (!m_loaded) return;
  if (m_stale) return tell(staleExportRefusal());
  QPrinter& printer = m_printer.printer();
  const QPageLayout::Orientation kept = printer.pageLayout().orientation();
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintPreviewDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Förhandsgranska - Momentdiagram"));
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    QPainter painter(target);
    paintMomentPage(painter, *target, target->resolution(), m_curves, m_slab, m_text);
  });
  // "Skriv ut" in the preview prints as "Plotta på skrivare" does, once the preview is closed.
  bool print = false;
  takeOverPreviewPrint(dialog, [&dialog, &print] {
    print = true;
    dialog.accept();
  });
  dialog.exec();
  printer.setPageOrientation(kept);
  if (print) plot();
}

}  // namespace solvow
