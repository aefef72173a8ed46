#include "run_checks.h"

#include <algorithm>
#include <array>

#include "case_values.h"
#include "text_conv.h"

namespace solvow {
namespace {

// Top bar diameters of the list positions 1..5, mm.
constexpr std::array<int, 6> kBarDiameter{0, 6, 8, 10, 12, 16};

QString m3(double v) { return formatNumber(v, u"0.000"); }
QString m2(double v) { return formatNumber(v, u"0.00"); }

QString span(int i) { return QStringLiteral("Fack %1: ").arg(i); }

// The least slab thickness: deck, cover and the top bar above it.
float leastThickness(const CaseStore& s) {
  const int bar = s.dok >= 1 && s.dok <= 5 ? kBarDiameter[static_cast<std::size_t>(s.dok)] : 0;
  return kDeckHeight + static_cast<float>(s.ktack + bar) / 1000.0f;
}

// A value outside its range in the case-format table, named as the checks name it:
// "Fack 2: spännvidd måste vara större än 0 och högst 30 m (är 0)".
QString outsideTable(const CaseValue& v, int spans) {
  const solvo::platform::CaseField& f = solvo::platform::case_field(v.id);
  QString where;
  if (v.index == 0) {
    where = QString::fromUtf8(f.sv);
    where[0] = where[0].toUpper();
    where += QStringLiteral(" måste vara ");
  } else {
    const bool support = f.count == solvo::platform::FieldCount::Supports;
    const bool lineLoad = f.line == solvo::platform::case_field(CaseFieldId::LoadSpan).line;
    where = (lineLoad  ? QStringLiteral("Linjelast %1: ")
             : support ? QStringLiteral("Stöd %1: ")
                       : QStringLiteral("Fack %1: "))
                .arg(v.index) +
            QString::fromUtf8(f.sv) + QStringLiteral(" måste vara ");
  }
  return where + QString::fromStdString(solvo::platform::range_sv(f, spans)) +
         QStringLiteral(" (är %1)").arg(QString::number(v.value, 'g', 7));
}

// Every value of the case against its range in the case-format table, the ranges the engine
// and the file reader hold the case to.
void checkTable(const CaseStore& s, QStringList& out) {
  for (const CaseValue& v : caseValues(s))
    if (!inTable(v, s.nfack)) out << outsideTable(v, s.nfack);
}

bool spanInTable(const CaseStore& s, CaseFieldId id, float v) {
  return inTable({id, v, 0}, s.nfack);
}

// What no single range holds: a span no longer than its supports, a slab too thin for the
// deck, the cover and the top bar.
void checkSpanErrors(const CaseStore& s, int i, QStringList& out) {
  const auto k = static_cast<std::size_t>(i);
  if (spanInTable(s, CaseFieldId::Span, s.spv[k]) && clearSpan(s, i) <= 0.0f)
    out << span(i) + QStringLiteral("spännvidden måste vara större än upplagsbredderna");
  const float least = leastThickness(s);
  if (spanInTable(s, CaseFieldId::Thickness, s.ptjl[k]) && s.ptjl[k] <= least)
    out << span(i) + QStringLiteral(
                         "plattjockleken %1 m måste vara större än profilhöjd, "
                         "täckskikt och stång i överkant (%2 m)")
                         .arg(m3(s.ptjl[k]), m3(least));
}

void checkSpanWarnings(const CaseStore& s, const SlabRanges& r, int i, QStringList& out) {
  const auto k = static_cast<std::size_t>(i);
  const float h = s.ptjl[k];
  if (h > leastThickness(s) && (h < r.minThickness || h > r.maxThickness))
    out << span(i) + QStringLiteral("plattjockleken %1 m ligger utanför %2–%3 m")
                         .arg(m3(h), m2(r.minThickness), m2(r.maxThickness));
  if (s.spv[k] > r.maxSpan)
    out << span(i) + QStringLiteral("spännvidden %1 m är längre än %2 m")
                         .arg(m2(s.spv[k]), m2(r.maxSpan));
  if (h > 0.0f && s.spv[k] > 0.0f && s.spv[k] / h > r.maxSlenderness)
    out << span(i) + QStringLiteral("spännvidd/plattjocklek = %1 är större än %2")
                         .arg(formatNumber(s.spv[k] / h, u"0"))
                         .arg(r.maxSlenderness);
  if (s.plast[k] > r.maxPermanent)
    out << span(i) + QStringLiteral("den permanenta lasten %1 kN/m2 är större än %2 kN/m2")
                         .arg(m2(s.plast[k]), m2(r.maxPermanent));
  if (s.flast[k] > r.maxImposed)
    out << span(i) + QStringLiteral("lasten %1 kN/m2 är större än %2 kN/m2")
                         .arg(m2(s.flast[k]), m2(r.maxImposed));
}

void checkCaseWarnings(const CaseStore& s, const SlabRanges& r, QStringList& out) {
  if (s.konsv > r.maxCantilever)
    out << QStringLiteral("Konsol vänster %1 m är längre än %2 m")
               .arg(m2(s.konsv), m2(r.maxCantilever));
  if (s.konsh > r.maxCantilever)
    out << QStringLiteral("Konsol höger %1 m är längre än %2 m")
               .arg(m2(s.konsh), m2(r.maxCantilever));
  if (s.ktack > r.maxCover)
    out << QStringLiteral("Täckande BTG-skikt i ÖK %1 mm är större än %2 mm")
               .arg(s.ktack)
               .arg(r.maxCover);
}

// Line loads in force on a span of the slab; a span number outside the slab is refused
// earlier, with its own message. A position beyond its span carries over into the next spans
// (or the previous ones), along the clear spans, as the engine places it; only a load beyond
// the ends of the cantilevers lies outside the slab.
void checkLineLoads(const CaseStore& s, const SlabRanges& r, CaseCheck& out) {
  const int n = std::clamp<int>(s.nfack, 1, kMaxSpans);
  std::array<float, kMaxSpans + 2> start{};  // start[i]: left support face of span i
  for (int i = 1; i <= n; ++i)
    start[static_cast<std::size_t>(i) + 1] = start[static_cast<std::size_t>(i)] + clearSpan(s, i);
  const float slabEnd = start[static_cast<std::size_t>(n) + 1] + s.konsh;
  const int count = std::clamp<int>(s.nllast, 0, kLineLoads);
  for (int k = 1; k <= count; ++k) {
    const LineLoad& load = s.lineLoads[static_cast<std::size_t>(k)];
    if (load.llfnr < 1 || load.llfnr > n) continue;
    const QString name = QStringLiteral("Linjelast %1: ").arg(k);
    const float x = start[static_cast<std::size_t>(load.llfnr)] + load.avst;
    if (x < -s.konsv || x > slabEnd)
      out.errors << name + QStringLiteral(
                               "avståndet %1 m från vänster stöd i fack %2 ligger "
                               "utanför bjälklaget")
                               .arg(m2(load.avst))
                               .arg(load.llfnr);
    if (load.lllast > r.maxLineLoad)
      out.warnings << name + QStringLiteral("lasten %1 kN/m är större än %2 kN/m")
                                 .arg(m2(load.lllast), m2(r.maxLineLoad));
  }
}

}  // namespace

float clearSpan(const CaseStore& store, int i) {
  const auto k = static_cast<std::size_t>(i);
  return store.spv[k] - 0.5f * (store.upl[k - 1] + store.upl[k]);
}

CaseCheck checkCase(const CaseStore& store, const SlabRanges& ranges) {
  CaseCheck check;
  checkTable(store, check.errors);
  const int n = std::clamp<int>(store.nfack, 1, kMaxSpans);
  for (int i = 1; i <= n; ++i) {
    checkSpanErrors(store, i, check.errors);
    checkSpanWarnings(store, ranges, i, check.warnings);
  }
  checkCaseWarnings(store, ranges, check.warnings);
  checkLineLoads(store, ranges, check);
  return check;
}

QString refusalMessage(const CaseCheck& check) {
  return QStringLiteral("Beräkningen startas inte. Rätta och spara fallet först:\n\n") +
         check.errors.join(u'\n');
}

QString warningMessage(const CaseCheck& check) {
  return QStringLiteral("Fallet ligger utanför det vanliga för bjälklag av detta slag:\n\n") +
         check.warnings.join(u'\n') +
         QStringLiteral("\n\nResultatet kan vara utan mening. Köra beräkningen ändå?");
}

}  // namespace solvow
