#include "case_values.h"

#include <algorithm>

#include "national_tables.h"
#include "text_conv.h"

namespace solvow {
namespace {

namespace fmt = solvo::platform;
using F = CaseFieldId;

bool isLineLoadField(F id) {
  return id == F::LoadSpan || id == F::LoadPosition || id == F::LoadValue;
}

void spans(std::vector<CaseValue>& out, F id, const std::array<float, kStoreSpans + 1>& values,
           int n) {
  for (int i = 1; i <= n; ++i) out.push_back({id, values[static_cast<std::size_t>(i)], i});
}

// Lines 1-13: the market, class, spans, supports, category, factors and span loads.
void slabValues(const CaseStore& s, int n, std::vector<CaseValue>& out) {
  out.push_back({F::Market, double(s.market), 0});
  if (isMarket(s.market))
    out.push_back({F::SafetyClass, double(s.safetyClass[static_cast<std::size_t>(s.market)]), 0});
  out.push_back({F::Spans, double(s.nfack), 0});
  spans(out, F::Span, s.spv, n);
  spans(out, F::Thickness, s.ptjl, n);
  for (int j = 0; j <= n; ++j)
    out.push_back({F::SupportWidth, s.upl[static_cast<std::size_t>(j)], j + 1});
  out.push_back({F::LoadCategory, double(s.lokt), 0});
  if (isMarket(s.market) && isLoadCategory(s.lokt)) {
    const std::array<double, 6> f = currentFactors(s);
    const F ids[] = {F::GammaG, F::Xsi, F::GammaQ, F::Psi0, F::Psi1, F::Psi2};
    for (std::size_t k = 0; k < 6; ++k) out.push_back({ids[k], f[k], 0});
  }
  out.push_back({F::LoadSet, double(s.lastkomb), 0});
  spans(out, F::PermanentLoad, s.plast, n);
  spans(out, F::ImposedLoad, s.flast, n);
}

}  // namespace

std::vector<CaseValue> caseValues(const CaseStore& s) {
  std::vector<CaseValue> out;
  const int n = std::clamp<int>(s.nfack, 0, kMaxSpans);
  slabValues(s, n, out);
  const std::pair<F, double> single[] = {
      {F::CantileverLeft, s.konsv},
      {F::CantileverRight, s.konsh},
      {F::Concrete, s.btg},
      {F::TopGrade, s.aok},
      {F::TopBar, s.dok},
      {F::Curtailment, s.kavko},
      {F::TopCover, s.ktack},
      {F::BottomGrade, s.auk},
      {F::BottomBar, s.duk},
      {F::BottomPlacement, s.duarm},
      {F::FireMethod, s.brandk},
      {F::FireOption, s.brandb},
      {F::Ceiling, s.kutak},
      {F::Creep, s.kryptal},
      {F::Camber, s.overhojning},
      {F::DeflectionInitial, s.initiell},
      {F::DeflectionAdditional, s.tillkommande},
      {F::DeflectionLoads, s.brukskomb},
      {F::LineLoads, s.nllast},
  };
  for (const auto& [id, v] : single) out.push_back({id, v, 0});
  const int loads = std::clamp<int>(s.nllast, 0, kLineLoads);
  for (int k = 1; k <= loads; ++k) {
    const LineLoad& l = s.lineLoads[static_cast<std::size_t>(k)];
    out.push_back({F::LoadSpan, double(l.llfnr), k});
    out.push_back({F::LoadPosition, l.avst, k});
    out.push_back({F::LoadValue, l.lllast, k});
  }
  out.push_back({F::DeckSupport, double(s.byggskede), 0});
  for (int i = 1; i <= n; ++i)
    out.push_back({F::Props, double(s.stamp[static_cast<std::size_t>(i)]), i});
  out.push_back({F::FrequencyMin, s.egenfrekvens, 0});
  out.push_back({F::CrackWidthMax, s.sprickbredd, 0});
  return out;
}

double asWritten(CaseFieldId id, double value) {
  const fmt::CaseField& f = fmt::case_field(id);
  if (f.kind != fmt::FieldKind::Real || f.form != fmt::FieldForm::Columns) return value;
  return formatNumberC(value, kColumnPattern).toDouble();
}

bool inTable(const CaseValue& v, int spans) {
  return fmt::in_range(fmt::case_field(v.id), asWritten(v.id, v.value), spans);
}

QString fieldRange(CaseFieldId id, int spans) {
  const fmt::CaseField& f = fmt::case_field(id);
  return QString::fromUtf8(f.sv) + u' ' + QString::fromStdString(fmt::range_sv(f, spans));
}

QString valuePlace(const CaseValue& v) {
  if (v.index == 0) return {};
  const fmt::CaseField& f = fmt::case_field(v.id);
  if (isLineLoadField(v.id)) return QStringLiteral(" för linjelast %1").arg(v.index);
  if (f.count == fmt::FieldCount::Supports) return QStringLiteral(" vid stöd %1").arg(v.index);
  return QStringLiteral(" i fack %1").arg(v.index);
}

QString firstValueOutsideTable(const CaseStore& s) {
  for (const CaseValue& v : caseValues(s))
    if (!inTable(v, s.nfack))
      return QStringLiteral("%1 väntades%2 (fann %3)")
          .arg(fieldRange(v.id, s.nfack), valuePlace(v), QString::number(v.value, 'g', 7));
  return {};
}

}  // namespace solvow
