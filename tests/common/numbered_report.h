// A report of `lines` lines "Rad 1", "Rad 2", ... with CR LF line ends, the page mark "^"
// alone on line `markLine` (none for 0): for the tests of paging and printing.
#pragma once

#include <QByteArray>

inline QByteArray numberedReport(int lines, int markLine = 0) {
  QByteArray bytes;
  for (int i = 1; i <= lines; ++i) {
    bytes += i == markLine ? QByteArray("^") : "Rad " + QByteArray::number(i);
    bytes += "\r\n";
  }
  return bytes;
}
