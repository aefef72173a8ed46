#include "printer_setup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace solvow {

namespace {

constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5,
                                             QPageSize::Letter, QPageSize::Legal};

// A printout to a file before the user has named one goes here; every job asks for the name.
const char* const kDefaultPdf = "utskrift.pdf";

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
  setObjectName(QStringLiteral("Skrivarinstallning"));
  setWindowTitle(QStringLiteral("Skrivarinställning"));
  setModal(true);

  m_printers = new QComboBox(this);
  m_printers->setObjectName(QStringLiteral("Skrivare"));
  m_printers->addItem(pdfEntry());
  m_printers->addItems(QPrinterInfo::availablePrinterNames());
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat || m_printers->count() == 1;
  m_printers->setCurrentIndex(toFile ? 0
                                     : std::max(0, m_printers->findText(printer.printerName())));

  m_papers = new QComboBox(this);
  m_papers->setObjectName(QStringLiteral("Papper"));
  for (QPageSize::PageSizeId id : kPapers) m_papers->addItem(QPageSize::name(id), int(id));
  m_papers->setCurrentIndex(
      std::max(0, m_papers->findData(int(printer.pageLayout().pageSize().id()))));

  m_portrait = new QRadioButton(QStringLiteral("Stående"), this);
  m_portrait->setObjectName(QStringLiteral("Staende"));
  m_landscape = new QRadioButton(QStringLiteral("Liggande"), this);
  m_landscape->setObjectName(QStringLiteral("Liggande"));
  (printer.pageLayout().orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)
      ->setChecked(true);
  auto* orientation = new QHBoxLayout;
  orientation->addWidget(m_portrait);
  orientation->addWidget(m_landscape);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Avbryt"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Skrivare:"), m_printers);
  form->addRow(QStringLiteral("Papper:"), m_papers);
  form->addRow(QStringLiteral("Orientering:"), orientation);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void PrinterSetupDialog::accept() {
  if (m_printers->currentIndex() == 0) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    if (m_printer.outputFileName().isEmpty())
      m_printer.setOutputFileName(QDir::current().filePath(QLatin1String(kDefaultPdf)));
  } else {
    m_printer.setOutputFileName(QString());
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setPrinterName(m_printers->currentText());
  }
  m_printer.setPageSize(
      QPageSize(static_cast<QPageSize::PageSizeId>(m_papers->currentData().toInt())));
  m_printer.setPageOrientation(m_landscape->isChecked() ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
  QDialog::accept();
}

}  // namespace solvow
