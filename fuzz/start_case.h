// The case the fuzz targets start from: the defaults with two spans of 4 and 5 m, Sweden.
#pragma once

#include <QString>

#include "case_store.h"

inline solvow::CaseStore startCase() {
  solvow::CaseStore s;
  solvow::setDefaults(s);
  s.baseName = QStringLiteral("START");
  s.nfack = 2;
  s.spv[1] = 4.0f;
  s.spv[2] = 5.0f;
  s.market = 1;
  s.safetyClass[1] = 2;
  return s;
}
