// The moment diagram: the maximum and minimum moment curves of the load set the design uses
// (MOMD.DAT, see moment_file.h) over the slab: the maximum curves in black, the minimum curves
// in dark red. Its title names the load set.
//
// Drawing units: the slab runs from x = 340 to x = 8740 (8400 units for the cantilevers and
// spans); the zero line lies at y = 2000, y grows downwards and a moment M lies at
// y = 2000 + M * sy, so the largest moment lies 1900 units from the axis. Supports are
// outlined rectangles as wide as the support and as high as the support moment; a cantilever
// longer than 0.1 m is drawn as a straight-line diagram from its tip. The same painting
// function draws on screen, into an image and on the printer.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "case_store.h"
#include "file_access.h"
#include "moment_file.h"

class QLabel;
class QPainter;
class QPrinter;
class QPushButton;

namespace solvow {

class ReportPrinter;

// What the diagram sheet writes beside the curves.
struct SheetText {
  QString caseName;  // "PLATTA"
  QString heading;
  QString date;  // yyyy-MM-dd, the day the curves were calculated
};

// The slab as the diagram needs it, from the design case.
struct SlabGeometry {
  double leftCantilever = 0.0;   // m
  double rightCantilever = 0.0;  // m
  std::vector<double> spans;     // span i at index i - 1, m
  std::vector<double> supports;  // support widths, supports 0..n, m
};

namespace diagram {
inline constexpr double kLeft = 340.0;
inline constexpr double kRight = 8740.0;
inline constexpr double kAxis = 2000.0;
inline constexpr double kReach = 1900.0;       // distance of the largest moment from the axis
inline constexpr double kCantileverMin = 0.1;  // m; shorter or equal cantilevers are not drawn
inline constexpr int kWidth = 9080;            // drawing area in drawing units
inline constexpr int kHeight = 4000;
inline const QColor kMaxColour{0, 0, 0};
inline const QColor kMinColour{0x80, 0, 0};
}  // namespace diagram

// The texts of the sheet for the case and the curves calculated on the day MOMD.DAT of
// `workingFolder` was written.
SheetText sheetText(const CaseStore& store, const QString& workingFolder);

// The geometry of spans 1..n of the case.
SlabGeometry slabGeometry(const CaseStore& store, int spans);

// sx = 8400 / (left cantilever + span lengths + right cantilever); 0 for a slab of no length.
double horizontalScale(const SlabGeometry& slab);
// sy = 1900 / mmax; 0 when all moments are zero (only the axis is drawn).
double verticalScale(double mmax);

// Whether the curves and the slab belong together (n spans, n + 1 supports).
bool drawable(const MomentCurves& curves, const SlabGeometry& slab);

// Draws the axis and the curves with the drawing area mapped onto `viewport` (device
// coordinates), stretched to it; nothing when the curves are not drawable.
void paintMomentCurves(QPainter& painter, const QRect& viewport, const MomentCurves& curves,
                       const SlabGeometry& slab, qreal linePixels);

// Draws the diagram, scaled to fit `target` (device coordinates of `painter`) with its
// proportions kept, on a white ground. `linePixels`: the width of the lines in device pixels.
void paintMomentDiagram(QPainter& painter, const QRect& target, const MomentCurves& curves,
                        const SlabGeometry& slab, qreal linePixels = 1.0);

// The diagram in an image of `size`.
QImage renderMomentDiagram(const MomentCurves& curves, const SlabGeometry& slab, QSize size);

// Momkurva "Momentdiagram": Picture1 with the diagram sheet, Command1 "Plotta på skrivare",
// forh "Förhandsgranska...", ater "Återgå". The window, the printer page and the preview are
// painted by the one sheet painter; the printer page is landscape, as the sheet is wider than
// tall. While the case differs from the calculated one, the caption and the line Inaktuell
// above the diagram say so.
class Momkurva : public QWidget {
  Q_OBJECT

 public:
  using Notify = std::function<void(const QString&)>;

  Momkurva(const CaseStore& store, FileTable& files, DiskDialogue dialogue,
           const QString& workingFolder, ReportPrinter& printer, QWidget* parent = nullptr);

  void setNotify(Notify notify) { m_notify = std::move(notify); }

  // Reads MOMD.DAT of the working folder and draws it. False, after a message, when the file
  // is missing or incomplete; nothing is drawn then.
  bool loadDiagram();
  // "Plotta på skrivare": reads MOMD.DAT again and draws it on a printer page.
  bool plot();
  // "Förhandsgranska...": the printer page in the print preview.
  void preview();
  // Marks the diagram as calculated for another version of the case, or as current.
  void setStale(bool stale);
  bool isStale() const { return m_stale; }
  // What the sheet writes beside the curves.
  const SheetText& sheetText() const { return m_text; }

  const MomentCurves& curves() const { return m_curves; }
  const SlabGeometry& slab() const { return m_slab; }
  QWidget* picture() const { return m_picture; }

 signals:
  // "Återgå": the main window closes the diagram and shows the input form maximised.
  void returnRequested();

 private:
  bool readCurves(MomentCurves* curves, SlabGeometry* slab, SheetText* text);
  void tell(const QString& text);

  const CaseStore& m_store;
  FileTable& m_files;
  DiskDialogue m_dialogue;
  QString m_workingFolder;
  ReportPrinter& m_printer;
  Notify m_notify;
  MomentCurves m_curves;
  SlabGeometry m_slab;
  SheetText m_text;
  bool m_loaded = false;
  bool m_stale = false;
  QWidget* m_picture = nullptr;
  QLabel* m_staleLine = nullptr;
  QPushButton* m_command1 = nullptr;
  QPushButton* m_forh = nullptr;
  QPushButton* m_ater = nullptr;
};

}  // namespace solvow
