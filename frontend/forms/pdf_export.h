// The results of a case as one PDF file for the checking engineer: the report pages as the
// printer gets them, then the moment diagram sheet on a landscape page. Text stays text and
// lines stay lines. The document's title is the case heading, its author the program and
// version.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include "momkurva.h"

namespace solvow {

struct ResultDocument {
  QList<QStringList> pages;  // the report, paged as printed
  QString fontFamily;        // the report font
  MomentCurves curves;
  SlabGeometry slab;
  SheetText sheet;
  QString title;  // the case heading
};

// "SOLVOW 7.1": the author of the documents the program writes.
QString documentAuthor();

// The PDF of `document` on pages of `layout` (the diagram page turned to landscape).
QByteArray resultPdf(const ResultDocument& document, const QPageLayout& layout);

// Writes the PDF to `path` beside it under a temporary name renamed into place: a failure
// leaves no half file and the old file as it was. False with `error` naming file and cause.
bool writeResultPdf(const QString& path, const ResultDocument& document, const QPageLayout& layout,
                    QString* error);

}  // namespace solvow
