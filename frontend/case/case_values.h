// The values of the case store that the design-case file holds, each with its field of the
// case-format table (platform/case_format.h), so that the writer, the reader and the checks
// before a run hold the case to the same ranges as the engine.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "case_format.h"
#include "case_store.h"

namespace solvow {

using CaseFieldId = solvo::platform::Field;

struct CaseValue {
  CaseFieldId id;
  double value;
  int index;  // the span or line-load slot (1-based), the support (1-based); 0 for one value
};

// The values in file order: every single value, spans 1..n, supports 0..n (as supports
// 1..n+1), the line loads in use. Values that index by the market or the load category (the
// safety class, the factors) are left out while those codes are outside their tables.
std::vector<CaseValue> caseValues(const CaseStore& store);

// A real of a fixed-column field is written with three decimals; that value is the one the
// file keeps, and the one held to the field's range, so that a span of 0.0004 m is refused
// rather than saved as 0.000 and lost when the file is opened again.
inline constexpr QStringView kColumnPattern = u"0.000";
double asWritten(CaseFieldId id, double value);

// True when the value as written lies inside its field's range (`spans` = n, for line-load
// spans).
bool inTable(const CaseValue& v, int spans);

// The field's short Swedish name and its range in words: "spännvidd större än 0 och högst 30 m".
QString fieldRange(CaseFieldId id, int spans);

// Where a value stands, for messages: " i fack 2", " vid stöd 3", " för linjelast 1", or "".
QString valuePlace(const CaseValue& v);

// The first value outside its range as a sentence part, "spännvidd större än 0 och högst
// 30 m väntades i fack 2 (fann 0)"; empty when every value is inside.
QString firstValueOutsideTable(const CaseStore& store);

}  // namespace solvow
