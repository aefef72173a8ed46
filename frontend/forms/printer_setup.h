// "Skrivarinställning": where printouts go and on what paper, chosen before printing. No
// print job starts from here: the dialog has "OK" and "Avbryt", not a print button.
#pragma once

#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace solvow {

class PrinterSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // The entry of the printer list that prints to a PDF file; the installed printers follow.
  static QString pdfEntry() { return QStringLiteral("PDF-fil"); }

  PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

  QComboBox* printers() const { return m_printers; }
  QComboBox* papers() const { return m_papers; }
  QRadioButton* portrait() const { return m_portrait; }
  QRadioButton* landscape() const { return m_landscape; }

  // "OK": the choices go to the printer.
  void accept() override;

 private:
  QPrinter& m_printer;
  QComboBox* m_printers = nullptr;
  QComboBox* m_papers = nullptr;
  QRadioButton* m_portrait = nullptr;
  QRadioButton* m_landscape = nullptr;
};

}  // namespace solvow
