#include "run_checks.h"

#include <algorithm>
#include <array>

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

void checkSpanErrors(const CaseStore& s, int i, QStringList& out) {
  const auto k = static_cast<std::size_t>(i);
  if (s.spv[k] <= 0.0f)
    out << span(i) + QStringLiteral("spännvidden måste vara större än 0");
  else if (clearSpan(s, i) <= 0.0f)
    out << span(i) + QStringLiteral("spännvidden måste vara större än upplagsbredderna");
  const float least = leastThickness(s);
  if (s.ptjl[k] <= least)
    out << span(i) + QStringLiteral("plattjockleken %1 m måste vara större än profilhöjd, "
                                    "täckskikt och stång i överkant (%2 m)")
                         .arg(m3(s.ptjl[k]), m3(least));
  if (s.plast[k] < 0.0f)
    out << span(i) + QStringLiteral("den permanenta lasten får inte vara negativ");
  if (s.flast[k] < 0.0f) out << span(i) + QStringLiteral("lasten får inte vara negativ");
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

void checkCaseErrors(const CaseStore& s, int n, QStringList& out) {
  for (int j = 0; j <= n; ++j)
    if (s.upl[static_cast<std::size_t>(j)] < 0.0f)
      out << QStringLiteral("Stöd %1: upplagsbredden får inte vara negativ").arg(j + 1);
  if (s.konsv < 0.0f) out << QStringLiteral("Konsol vänster får inte vara negativ");
  if (s.konsh < 0.0f) out << QStringLiteral("Konsol höger får inte vara negativ");
  if (s.ktack < 0) out << QStringLiteral("Täckande BTG-skikt i ÖK får inte vara negativt");
  if (s.duarm < 0)
    out << QStringLiteral("Avst. tyngdpkt armering i UK får inte vara negativt");
  if (s.initiell <= 0)
    out << QStringLiteral("Initiell nedböjning: gränsen L / %1 måste ha ett tal större än 0")
               .arg(s.initiell);
  if (s.tillkommande <= 0)
    out << QStringLiteral("Tillkommande nedböjning: gränsen L / %1 måste ha ett tal större "
                          "än 0")
               .arg(s.tillkommande);
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
      out.errors << name + QStringLiteral("avståndet %1 m från vänster stöd i fack %2 ligger "
                                          "utanför bjälklaget")
                               .arg(m2(load.avst))
                               .arg(load.llfnr);
    if (load.lllast < 0.0f)
      out.errors << name + QStringLiteral("lasten får inte vara negativ");
    else if (load.lllast > r.maxLineLoad)
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
  const int n = std::clamp<int>(store.nfack, 1, kMaxSpans);
  for (int i = 1; i <= n; ++i) {
    checkSpanErrors(store, i, check.errors);
    checkSpanWarnings(store, ranges, i, check.warnings);
  }
  checkCaseErrors(store, n, check.errors);
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
