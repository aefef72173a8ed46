// The layout sketch of the main window: the span sketch (the slab as a bar with one button
// per support) and the load sketch (distributed loads as blocks of arrows, line loads as
// single arrows), both to the scale of the slab's total length.
//
// Drawing is in twips through a QPainter window/viewport mapping, so the same functions draw
// on screen and into an image. The slab runs from x = 340 to x = 8740 twips in both panes.
#pragma once

#include <QWidget>
#include <functional>

#include "case_store.h"

class QPainter;

namespace solvow::forms {

inline constexpr int kSketchLeft = 340;      // twips from the pane's edge to the slab
inline constexpr int kSpanPaneWidth = 9080;  // twips
inline constexpr int kSpanPaneHeight = 390;
inline constexpr int kPropFoot = 330;  // y of the foot of a temporary prop's mark, twips
inline constexpr int kLoadPaneHeight = 1000;
inline constexpr int kLoadBase = 940;         // y of the loaded face of the slab, twips
inline constexpr int kLoadBlockHeight = 800;  // the largest load's height, twips
inline constexpr int kLineLoadHead = 150;     // half width of a line load's arrow head

// Colour 4 of the 16-colour basic palette.
inline const QColor kBasicRed{0x80, 0x00, 0x00};

// The slab bar of the span sketch and the temporary props as small posts under their spans;
// nothing when the slab has no length.
void paintSpanSketch(QPainter& p, const CaseStore& store);

// The distributed loads q = variable + additional permanent load of spans 1..n, each span's
// block 800 twips * q / largest q high (the cantilevers drawn with their neighbouring span),
// and the line loads in force as arrows 800 twips * load / largest line load long.
void paintLoadSketch(QPainter& p, const CaseStore& store);
void paintDistributedLoads(QPainter& p, const CaseStore& store);
void paintLineLoads(QPainter& p, const CaseStore& store);

// A picture box that paints in twips with one of the functions above.
class SketchPane : public QWidget {
  Q_OBJECT
 public:
  using Painter = std::function<void(QPainter&)>;
  SketchPane(const QString& name, int widthTwips, int heightTwips, Painter painter,
             QWidget* parent);

  // The pane as an image of its size in pixels, white background.
  QImage render() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintTo(QPainter& p, int widthPx, int heightPx) const;
  int m_widthTwips;
  int m_heightTwips;
  Painter m_painter;
};

}  // namespace solvow::forms
