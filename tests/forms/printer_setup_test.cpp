// The printer set-up dialog and Qt's own dialogs in Swedish.
#include "printer_setup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest/QTest>

#include "modal_script.h"
#include "qt_swedish.h"
#include "report_print.h"

namespace solvow {
namespace {

TEST(PrinterSetup, OkSetsPrinterPaperAndOrientationAndAvbrytChangesNothing) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  const struct {
    const char* button;
    bool landscape;
    QPageSize::PageSizeId want;
    QPageLayout::Orientation wantOrientation;
  } rows[] = {
      {"Avbryt", true, QPageSize::A4, QPageLayout::Portrait},
      {"OK", true, QPageSize::A3, QPageLayout::Landscape},
  };
  for (const auto& r : rows) {
    bool confirmed = false;
    {
      test::ModalScript script{[&r](QWidget* w) {
        auto* d = qobject_cast<PrinterSetupDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Skrivarinställning"));
        // A set-up dialog: nothing in it starts a print job.
        QStringList buttons;
        for (QAbstractButton* b : d->findChildren<QPushButton*>()) buttons << b->text();
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("Avbryt"), QStringLiteral("OK")}));
        EXPECT_EQ(d->printers()->itemText(0), QStringLiteral("PDF-fil"));
        d->papers()->setCurrentIndex(d->papers()->findText(QStringLiteral("A3")));
        QTest::mouseClick(r.landscape ? d->landscape() : d->portrait(), Qt::LeftButton);
        test::clickText(w, QString::fromLatin1(r.button));
      }};
      confirmed = printerSetup(printer, nullptr);
    }
    EXPECT_EQ(confirmed, QByteArray(r.button) == "OK") << r.button;
    EXPECT_EQ(printer.pageLayout().pageSize().id(), r.want) << r.button;
    EXPECT_EQ(printer.pageLayout().orientation(), r.wantOrientation) << r.button;
  }
  // Without an installed printer the PDF file is the destination.
  EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
  EXPECT_FALSE(printer.outputFileName().isEmpty());
}

TEST(QtSwedish, TheStandardDialogsSpeakSwedish) {
  QTranslator* swedish = installSwedishQtTexts(*QCoreApplication::instance());
  ASSERT_NE(swedish, nullptr) << "qt6-translations-l10n missing";
  QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                  QMessageBox::Cancel | QMessageBox::Close);
  const QString cancel = box.button(QMessageBox::Cancel)->text().remove(u'&');
  const QString close = box.button(QMessageBox::Close)->text().remove(u'&');
  QPrinter printer;
  QPrintPreviewDialog preview(&printer);
  QStringList actions;
  for (QAction* a : preview.findChildren<QAction*>()) actions << a->text();
  delete swedish;  // takes the button texts with it
  EXPECT_EQ(cancel, QStringLiteral("Avbryt"));
  EXPECT_EQ(close, QString::fromUtf8("Stäng"));
  EXPECT_TRUE(actions.contains(QStringLiteral("Skriv ut"))) << actions.join(u'|').toStdString();
  EXPECT_FALSE(actions.contains(QStringLiteral("Print")));
  QMessageBox english(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                      QMessageBox::Cancel);
  EXPECT_EQ(english.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace solvow
