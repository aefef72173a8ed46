#include "qt_swedish.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace solvow {

namespace {

// Texts the installed Swedish catalogue (written for older Qt) does not hold: the buttons of
// Qt's button boxes, which now take their texts from the platform theme, and the tool bar of
// the print preview. Worded as the catalogue words its own ("Avbryt", "Stäng", "Stående").
struct FallbackText {
  const char* context;
  const char* source;
  const char* swedish;
};
constexpr FallbackText kFallback[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "Spara"},
    {"QPlatformTheme", "Save All", "Spara alla"},
    {"QPlatformTheme", "Open", "Öppna"},
    {"QPlatformTheme", "&Yes", "&Ja"},
    {"QPlatformTheme", "Yes to &All", "Ja till &alla"},
    {"QPlatformTheme", "&No", "&Nej"},
    {"QPlatformTheme", "N&o to All", "N&ej till alla"},
    {"QPlatformTheme", "Abort", "Avbryt"},
    {"QPlatformTheme", "Retry", "Försök igen"},
    {"QPlatformTheme", "Ignore", "Ignorera"},
    {"QPlatformTheme", "Close", "Stäng"},
    {"QPlatformTheme", "Cancel", "Avbryt"},
    {"QPlatformTheme", "Discard", "Förkasta"},
    {"QPlatformTheme", "Help", "Hjälp"},
    {"QPlatformTheme", "Apply", "Verkställ"},
    {"QPlatformTheme", "Reset", "Återställ"},
    {"QPlatformTheme", "Restore Defaults", "Återställ standardvärden"},
    {"QPrintPreviewDialog", "Next page", "Nästa sida"},
    {"QPrintPreviewDialog", "Previous page", "Föregående sida"},
    {"QPrintPreviewDialog", "First page", "Första sidan"},
    {"QPrintPreviewDialog", "Last page", "Sista sidan"},
    {"QPrintPreviewDialog", "Fit width", "Anpassa till bredden"},
    {"QPrintPreviewDialog", "Fit page", "Anpassa till sidan"},
    {"QPrintPreviewDialog", "Zoom in", "Zooma in"},
    {"QPrintPreviewDialog", "Zoom out", "Zooma ut"},
    {"QPrintPreviewDialog", "Show single page", "Visa en sida"},
    {"QPrintPreviewDialog", "Show facing pages", "Visa uppslag"},
    {"QPrintPreviewDialog", "Show overview of all pages", "Visa alla sidor"},
    {"QPrintPreviewDialog", "Print", "Skriv ut"},
    {"QPrintPreviewDialog", "Page setup", "Utskriftsformat"},
    {"QPrintPreviewDialog", "Print Preview", "Förhandsgranskning"},
    {"QPrintPreviewDialog", "Export to PDF", "Exportera till PDF"},
};

class FallbackTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    for (const FallbackText& t : kFallback)
      if (qstrcmp(context, t.context) == 0 && qstrcmp(source, t.source) == 0)
        return QString::fromUtf8(t.swedish);
    return {};
  }
};

}  // namespace

QTranslator* installSwedishQtTexts(QCoreApplication& app) {
  auto* catalogue = new QTranslator(&app);
  if (!catalogue->load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qt"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(catalogue)) {
    delete catalogue;
    return nullptr;
  }
  // The fallback goes with the catalogue: deleting it removes both. Installed last, it is
  // asked first.
  QCoreApplication::installTranslator(new FallbackTexts(catalogue));
  return catalogue;
}

}  // namespace solvow
