// The files of the design search, on the front end's side: the plan it writes for
// "solvowb --search" from the ranges chosen in the dialog, the designs it reads back from the
// search's table (SOLVO-SEARCH.CSV) and the counts from its report (SOLVO-SEARCH.RES), and
// putting a chosen design into the case store.
//
// Thicknesses in m; concrete classes, bar sizes as the store's list positions (btg 1..9,
// dok 1..5); curtailment as the store keeps it (kavko 0 off, 1 on).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "case_store.h"
#include "file_names.h"

namespace solvow {

inline constexpr const char* kSearchPlanFile = "SEARCH.SPC";
// Named so that no case's report (nine characters and ".RES") can have either name.
inline constexpr const char* kSearchResultFile = solvo::platform::kSearchReportFile;
inline constexpr const char* kSearchTableFile = solvo::platform::kSearchTableFile;

// Spans that share one thickness, and the thicknesses tried for them.
struct ThicknessRange {
  QList<int> spans;  // 1..n, ascending
  double from = 0, to = 0, step = 0.01;
};

struct SearchRanges {
  QList<ThicknessRange> groups;
  QList<int> concrete;     // btg codes
  QList<int> bars;         // dok codes
  QList<int> curtailment;  // 0 and/or 1
  QList<int> props;        // temporary props in every span, 0..2; empty: the case's own
  std::optional<double> concretePrice;  // per m3, every class; none: the engine's defaults
  std::optional<double> steelPrice;     // per kg
  std::optional<double> propPrice;      // per m of a line of props
};

// The dialog's first proposal: the spans of equal thickness form a group whose range runs
// from 0.02 m below to 0.02 m above the case's value (never below 0.05 m) in steps of
// 0.01 m, in whole millimetres as the engine counts them; the case's concrete class, bar
// size and curtailment.
SearchRanges defaultRanges(const CaseStore& store);

// "1-2,9-10" for spans 1, 2, 9, 10; and back. parseSpans gives nothing for a text that is
// not such a list within 1..n.
QString spansText(const QList<int>& spans);
std::optional<QList<int>> parseSpans(const QString& text, int n);

// The number of designs the ranges name (0 when a list is empty or a range is backwards).
qint64 candidateCount(const SearchRanges& ranges);

// The plan file's text for the ranges.
QByteArray planText(const SearchRanges& ranges);

// One design of the search.
struct SearchRow {
  bool passes = false;
  QList<double> thickness;               // one per group, in the groups' order
  int concrete = 0;                      // btg code
  int bar = 0;                           // dok code
  int curtailment = 0;                   // kavko
  int props = -1;                        // props in every span; -1: the case's own
  int spacing = 0;                       // smallest top bar spacing, mm
  double concreteVolume = 0;             // m3/m2
  double steelTop = 0, steelBottom = 0;  // kg/m2
  double cost = 0;
  double worst = 0;  // largest utilisation; infinity for a design without solution or
                     // one whose utilisation is not a number
  QString check;
};

struct SearchResult {
  QList<QList<int>> groups;  // the spans of each thickness group
  QList<SearchRow> rows;     // passing designs first, then the listed rejected ones
  std::optional<SearchRow>
      own;  // the case itself; passes when its largest utilisation is at most 1
  qint64 tried = 0, passing = 0;
};

// The codes of a concrete class named as the lists name it ("C30/37") and of a top bar of
// `millimetres`; 0 for a name or a diameter the lists do not hold.
int concreteCodeOf(const QString& name);
int barCodeOf(int millimetres);

// Reads the search's report (Windows-1252). Nothing when the bytes are not such a file.
std::optional<SearchResult> parseSearchResult(const QByteArray& bytes);

// Reads the search's table (UTF-8, semicolons, a header row): the groups from the headings of
// the thickness columns, the case's own row and the listed designs; a value left empty is
// NaN (the largest utilisation: infinity). Nothing when the bytes are not such a table.
std::optional<SearchResult> parseSearchTable(const QByteArray& bytes);

// The result the dialog shows: the designs from the table, the counts from the report.
std::optional<SearchResult> parseSearchFiles(const QByteArray& report, const QByteArray& table);

// Puts the design into the store as an edit would: thicknesses of the group spans, concrete
// class, bar size and curtailment, and the props during casting in every span when the design
// names them; the case is then changed and has no diagram.
void applySearchRow(CaseStore& store, const SearchResult& result, const SearchRow& row);

}  // namespace solvow
