// Whose report a report file is. The report name holds only the first nine characters of the
// case name, so two cases can meet in one file; the report's own header says whose it is:
// "INDATAFIL : " with the first eight characters of the case name on its second line, and the
// case heading (40 characters) on the line after "INDATA" and its rule. The design search's
// file and the fire moments file have no such header and belong to no case.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "case_store.h"
#include "report_text.h"

namespace solvow {

inline constexpr int kReportNameShown = 8;  // characters of the case name in the header
inline constexpr int kReportHeadingWidth = 40;

// The header (reportHeader, report_text.h) a report of `store` has: the case name and heading
// as the case file and the report hold them (letters the code page lacks as "?"), cut to
// their widths; no date or time.
ReportHeader expectedHeader(const CaseStore& store);

// Whether `lines` are the report of `store`: a case's report whose case name and heading are
// those of the case.
bool reportIsOfCase(const QStringList& lines, const CaseStore& store);

// The refusal of printing or exporting results calculated for an earlier version of the case.
QString staleExportRefusal();

// The message when the report in the case's report file is not this case's.
QString notThisCaseMessage(const CaseStore& store, const QStringList& lines);

}  // namespace solvow
