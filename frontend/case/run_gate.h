// The gate before the engine starts: every way of starting it ("Kör...", the design search)
// asks here first, so one case meets the same checks and the same words whichever way it goes.
//
// A refusal stops the start with one message. Warnings are asked once, with "Kör ändå" and
// "Avbryt". The gate reads the case file the engine would calculate, never the form, and
// changes nothing. Thicknesses in m.
#pragma once

#include <QString>
#include <QStringList>

#include "case_store.h"
#include "search_files.h"

namespace solvow {

struct GateVerdict {
  QString refusal;       // not empty: nothing may start; the message that says why
  QStringList notes;     // said before the warnings: REI 120, a report shared with another case
  QStringList warnings;  // values outside what such slabs are
  bool mayStart() const { return refusal.isEmpty(); }
  bool asks() const { return mayStart() && (!notes.isEmpty() || !warnings.isEmpty()); }
};

// Fire option 4 of the file: the engine designs it as REI 90 and page 1 says so in these words.
inline constexpr qint16 kFireOptionRei120 = 4;
QString rei120Note();

// The message for a line load in force outside spans 1..n, or empty when all lie inside.
QString lineLoadProblem(const CaseStore& store);

// The other design-case files (*.IND, any case of letters) of `folder` whose case name (line 1)
// gives the same report file as `store`'s base name; their file names, in name order. The
// case's own file is not among them.
QStringList casesSharingReport(const CaseStore& store, const QString& folder);
QString sharedReportNote(const CaseStore& store, const QStringList& others);

// The gate of a run of the saved case: "Du måste spara Filen först !" for an unnamed or
// changed case; a line load outside the slab; the checks of the file as saved (errors refuse,
// warnings ask); the REI 120 note; the other cases of the case's folder with the same report.
GateVerdict gateSavedCase(const CaseStore& store);

// The gate of a design search over `ranges`: that of the saved case, and the checks of the
// designs at the ends of the ranges (each group at its least and its largest thickness, with
// the largest bar chosen), so that the search never offers a design "Kör..." would refuse.
GateVerdict gateSearch(const CaseStore& store, const SearchRanges& ranges);

// The question asked for the notes and warnings of `verdict`, answered "Kör ändå" or "Avbryt".
QString gateQuestion(const GateVerdict& verdict);

}  // namespace solvow
