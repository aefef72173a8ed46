// The design search's table (SOLVO-SEARCH.CSV): one row per listed design, semicolon-separated,
// decimal points, a header row naming the columns (UTF-8). The columns are those of the
// search's report table and the governing check; which column is which is read from the
// header, so their order may change. A value the search could not give (it overflowed its
// field, or the design has no solution) is missing: the row keeps the reason, and the window
// shows "–" with it instead of a number.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

#include "search_files.h"

namespace solvow {

// The columns of a design, as the search dialog shows them.
enum class SearchField {
  Thickness,
  Concrete,
  Bar,
  Curtailment,
  Props,
  Spacing,
  Volume,
  SteelTop,
  SteelBottom,
  Cost,
  Worst,
  Check
};

// One design of the table: its values (a missing number is NaN) and, for each missing value,
// why it is missing.
struct SearchTableRow {
  SearchRow row;
  bool own = false;  // the case itself, as calculated
  QMap<SearchField, QString> missing;
};

struct SearchTable {
  QList<SearchTableRow> rows;  // the designs, in the file's order; the case itself apart
  std::optional<SearchTableRow> own;
};

// Reads the table. Nothing, with `error` saying why, for bytes without a header naming at
// least the thickness, concrete, bar and largest utilisation, or with a row of too few fields.
// A design passes only when the file says so and its largest utilisation is a number of at
// most 1. The dialog takes the designs from parseSearchFiles and, from here, why values are
// missing and the stricter pass.
std::optional<SearchTable> readSearchTable(const QByteArray& bytes, QString* error = nullptr);

}  // namespace solvow
