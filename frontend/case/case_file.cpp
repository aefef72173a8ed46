#include "case_file.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "atomic_write.h"
#include "file_names.h"
#include "text_conv.h"

namespace solvow {
namespace {

const QByteArray kLineEnd = "\r\n";

// A value left-aligned in a column of `width` characters, padded with blanks or cut.
QByteArray column(double v, QStringView pattern, int width) {
  QByteArray text = formatNumberC(v, pattern);
  if (text.size() > width) text.truncate(width);
  return text.leftJustified(width, ' ');
}

// A text line of the file: Windows-1252 with its Swedish letters moved to the DOS code page
// (first occurrence of each letter). Line breaks would split the record and become blanks.
QByteArray textLine(const QString& text) {
  QByteArray bytes = toWindows1252(text);
  bytes.replace('\r', ' ').replace('\n', ' ');
  return windowsToDos(bytes);
}

QString decodeTextLine(const QByteArray& bytes) { return fromWindows1252(dosToWindowsAll(bytes)); }

struct CodeRange {
  const char* what;
  int low;
  int high;
};

bool inRange(int v, const CodeRange& r) { return v >= r.low && v <= r.high; }

const CodeRange kMarket{"marknad 1 till 6", 1, kMarkets};
const CodeRange kSafetyClass{"säkerhetsklass 1 till 3", 1, 3};
const CodeRange kSpans{"antal fack 1 till 10", 1, kMaxSpans};
const CodeRange kCategory{"lastgrupp 0 till 9", 0, kLoadCategories - 1};
const CodeRange kCombination{"lastkombination 1 till 3", 1, 3};
const CodeRange kConcrete{"betongklass 1 till 9", 1, 9};
const CodeRange kSteel{"stålkvalitet 1 till 3", 1, 3};
const CodeRange kBar{"stångdiameter 1 till 5", 1, 5};
const CodeRange kFireOption{"brandklass 1 till 4", 1, 4};
const CodeRange kCeiling{"undertak 1 till 2", 1, 2};
const CodeRange kServiceability{"brukskombination 1 till 2", 1, 2};
const CodeRange kLineLoadCount{"antal linjelaster 0 till 5", 0, kLineLoads};
const CodeRange kDeckSupport{"byggskede 1 till 2", 1, 2};
const CodeRange kProps{"antal stämp 0 till 2", 0, 2};

// Checks the codes the engine and the national tables index with.
QString badCode(const CaseStore& s) {
  struct Check {
    int value;
    const CodeRange& range;
  };
  const Check checks[] = {
      {s.market, kMarket},         {s.nfack, kSpans},          {s.lokt, kCategory},
      {s.lastkomb, kCombination},  {s.btg, kConcrete},         {s.aok, kSteel},
      {s.dok, kBar},               {s.auk, kSteel},            {s.duk, kBar},
      {s.brandb, kFireOption},     {s.kutak, kCeiling},        {s.brukskomb, kServiceability},
      {s.nllast, kLineLoadCount},  {s.byggskede, kDeckSupport},
  };
  for (const Check& c : checks)
    if (!inRange(c.value, c.range))
      return QStringLiteral("Fallet kan inte sparas: %1 väntades (fann %2).")
          .arg(QString::fromUtf8(c.range.what))
          .arg(c.value);
  for (int i = 1; i <= s.nfack && inRange(s.nfack, kSpans); ++i)
    if (!inRange(s.stamp[static_cast<std::size_t>(i)], kProps))
      return QStringLiteral("Fallet kan inte sparas: %1 väntades i fack %2 (fann %3).")
          .arg(QString::fromUtf8(kProps.what))
          .arg(i)
          .arg(s.stamp[static_cast<std::size_t>(i)]);
  if (!(s.egenfrekvens >= 0.0f) || !std::isfinite(s.egenfrekvens))
    return QStringLiteral("Fallet kan inte sparas: en egenfrekvens av 0 Hz eller mer väntades "
                          "(fann %1).")
        .arg(static_cast<double>(s.egenfrekvens));
  if (isMarket(s.market) && !inRange(s.safetyClass[static_cast<std::size_t>(s.market)],
                                     kSafetyClass))
    return QStringLiteral("Fallet kan inte sparas: %1 väntades (fann %2).")
        .arg(QString::fromUtf8(kSafetyClass.what))
        .arg(s.safetyClass[static_cast<std::size_t>(s.market)]);
  return QString();
}

// The lines of a file, without their line ends.
std::vector<QByteArray> splitLines(const QByteArray& bytes) {
  std::vector<QByteArray> lines;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    const bool last = end < 0;
    if (last) end = bytes.size();
    QByteArray line = bytes.mid(start, end - start);
    if (!last && line.endsWith('\r')) line.chop(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Value i (1-based) of a line of `width`-character columns.
double cell(const QByteArray& line, int i, int width) {
  return textToNumber(line.mid(static_cast<qsizetype>(i - 1) * width, width));
}

// A value for a single-precision member: one beyond the range of a float (it would become an
// infinity, which the file writer cannot write) is refused, as the engine refuses it.
std::optional<float> toFloat(double v) {
  const auto f = static_cast<float>(v);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

// Reads the lines of one file into a case store, stopping at the first line that cannot be
// taken.
class Reader {
 public:
  Reader(const std::vector<QByteArray>& lines, const QString& label)
      : m_lines(lines), m_label(label) {}

  const QString& error() const { return m_error; }

  // True when the file holds nothing but blank lines after line `number`.
  bool endsAfter(int number) const {
    for (std::size_t k = static_cast<std::size_t>(number); k < m_lines.size(); ++k)
      if (!m_lines[k].trimmed().isEmpty()) return false;
    return true;
  }

  // Line `number` (1-based), or nothing when the file ended before it.
  const QByteArray* line(int number) {
    if (number > static_cast<int>(m_lines.size())) {
      fail(number, QStringLiteral("filen slutar för tidigt"));
      return nullptr;
    }
    return &m_lines[static_cast<std::size_t>(number - 1)];
  }

  // A whole number of one line, within `range` when one is given.
  std::optional<qint16> integer(int number, const CodeRange* range = nullptr) {
    const QByteArray* text = line(number);
    if (text == nullptr) return std::nullopt;
    const std::optional<qint16> v = toInt16(textToNumber(*text));
    if (!v || (range != nullptr && !inRange(*v, *range))) {
      const QString what = range != nullptr ? QString::fromUtf8(range->what)
                                            : QStringLiteral("ett heltal");
      fail(number, QStringLiteral("%1 väntades (fann \"%2\")")
                       .arg(what, fromWindows1252(text->trimmed())));
      return std::nullopt;
    }
    return v;
  }

  std::optional<float> real(int number) {
    const QByteArray* text = line(number);
    if (text == nullptr) return std::nullopt;
    const std::optional<float> v = toFloat(textToNumber(*text));
    if (!v)
      fail(number, QStringLiteral("ett tal väntades (fann \"%1\")")
                       .arg(fromWindows1252(text->trimmed())));
    return v;
  }

  // Value i of line `number` in `width`-character columns, as a float.
  std::optional<float> column(int number, const QByteArray& text, int i, int width) {
    const std::optional<float> v = toFloat(cell(text, i, width));
    if (!v)
      fail(number, QStringLiteral("ett tal väntades i fält %1 (fann \"%2\")")
                       .arg(i)
                       .arg(fromWindows1252(
                           text.mid(static_cast<qsizetype>(i - 1) * width, width).trimmed())));
    return v;
  }

  void fail(int number, const QString& what) {
    m_error = QStringLiteral("Filen %1 kan inte läsas, rad %2: %3.").arg(m_label).arg(number).arg(what);
  }

 private:
  const std::vector<QByteArray>& m_lines;
  QString m_label;
  QString m_error;
};

// Lines 38-40: the deck during casting, the props of spans 1..n in 3-character columns and the
// lowest natural frequency. A file that ends after line 37 (blank lines aside) keeps the
// defaults; once line 38 is there, 39 and 40 must follow.
bool parseCasting(Reader& r, CaseStore& s) {
  if (r.endsAfter(kCaseFileLines)) return true;
  const auto deck = r.integer(38, &kDeckSupport);
  if (!deck) return false;
  s.byggskede = *deck;
  const QByteArray* props = r.line(39);
  if (props == nullptr) return false;
  for (int i = 1; i <= s.nfack; ++i) {
    const QByteArray text = props->mid(static_cast<qsizetype>(i - 1) * 3, 3);
    const std::optional<qint16> v = toInt16(textToNumber(text));
    if (!v || !inRange(*v, kProps)) {
      r.fail(39, QStringLiteral("%1 väntades i fält %2 (fann \"%3\")")
                     .arg(QString::fromUtf8(kProps.what))
                     .arg(i)
                     .arg(fromWindows1252(text.trimmed())));
      return false;
    }
    s.stamp[static_cast<std::size_t>(i)] = *v;
  }
  const auto frequency = r.real(40);
  if (!frequency) return false;
  if (!(*frequency >= 0.0f)) {
    r.fail(40, QStringLiteral("en egenfrekvens av 0 Hz eller mer väntades (fann \"%1\")")
                   .arg(fromWindows1252(r.line(40)->trimmed())));
    return false;
  }
  s.egenfrekvens = *frequency;
  return true;
}

bool parseCase(const QByteArray& bytes, const QString& label, CaseStore& s, QString* error) {
  const std::vector<QByteArray> lines = splitLines(bytes);
  Reader r(lines, label);
  auto failed = [&] {
    if (error != nullptr) *error = r.error();
    return false;
  };

  const QByteArray* name = r.line(1);
  if (name == nullptr) return failed();
  s.baseName = upperCase(decodeTextLine(*name));
  // The case is saved under its name and the engine names its report after it: a name that
  // would leave the folder is refused, by the engine's own rule.
  if (!solvo::platform::case_name_ok(
          std::string_view(name->constData(), static_cast<size_t>(name->size())))) {
    r.fail(1, QStringLiteral("ett namn utan / och \\, styrtecken, . och .. väntades (fann \"%1\")")
                  .arg(s.baseName.left(40)));
    return failed();
  }
  const QByteArray* heading = r.line(2);
  if (heading == nullptr) return failed();
  s.rubrik = decodeTextLine(*heading);

  const auto market = r.integer(3, &kMarket);
  if (!market) return failed();
  s.market = *market;
  const auto safety = r.integer(4, &kSafetyClass);
  if (!safety) return failed();
  s.safetyClass[static_cast<std::size_t>(s.market)] = *safety;
  const auto n = r.integer(5, &kSpans);
  if (!n) return failed();
  s.nfack = *n;

  // Per-span lines of 7-character columns, spans 1..n.
  auto spanLine = [&](int number, std::array<float, kStoreSpans + 1>& values) {
    const QByteArray* text = r.line(number);
    if (text == nullptr) return false;
    for (int i = 1; i <= s.nfack; ++i) {
      const std::optional<float> v = r.column(number, *text, i, 7);
      if (!v) return false;
      values[static_cast<std::size_t>(i)] = *v;
    }
    return true;
  };
  if (!spanLine(6, s.spv) || !spanLine(7, s.ptjl)) return failed();
  const QByteArray* supports = r.line(8);
  if (supports == nullptr) return failed();
  for (int i = 1; i <= s.nfack + 1; ++i) {
    const std::optional<float> v = r.column(8, *supports, i, 6);
    if (!v) return failed();
    s.upl[static_cast<std::size_t>(i - 1)] = *v;
  }
  // The end supports of a case from a file carry no width.
  s.upl[0] = 0.0f;
  s.upl[static_cast<std::size_t>(s.nfack)] = 0.0f;

  const auto category = r.integer(9, &kCategory);
  if (!category) return failed();
  s.lokt = *category;
  const QByteArray* factors = r.line(10);
  if (factors == nullptr) return failed();
  const auto m = static_cast<std::size_t>(s.market);
  const auto c = static_cast<std::size_t>(s.lokt);
  s.national.lambdaG[m] = cell(*factors, 1, 7);
  s.national.ksi[m] = cell(*factors, 2, 7);
  s.national.lambdaQ[m] = cell(*factors, 3, 7);
  s.national.psi0[c][m] = cell(*factors, 4, 7);
  s.national.psi1[c][m] = cell(*factors, 5, 7);
  s.national.psi2[c][m] = cell(*factors, 6, 7);

  const auto combination = r.integer(11, &kCombination);
  if (!combination) return failed();
  s.lastkomb = *combination;
  if (!spanLine(12, s.plast) || !spanLine(13, s.flast)) return failed();
  const auto left = r.real(14);
  if (!left) return failed();
  s.konsv = *left;
  const auto right = r.real(15);
  if (!right) return failed();
  s.konsh = *right;

  // The fire method is a position in the method list, which holds what this program offers.
  const int fireMethods = static_cast<int>(s.fireMethods.size());
  const QByteArray fireMethodWhat =
      QStringLiteral("beräkningsmetod brand 1 till %1").arg(fireMethods).toUtf8();
  const CodeRange fireMethodRange{fireMethodWhat.constData(), 1, fireMethods};
  struct Field {
    qint16* value;
    const CodeRange* range;
  };
  const Field fields[] = {
      {&s.btg, &kConcrete},        {&s.aok, &kSteel},         {&s.dok, &kBar},
      {&s.kavko, nullptr},         {&s.ktack, nullptr},       {&s.auk, &kSteel},
      {&s.duk, &kBar},             {&s.duarm, nullptr},       {&s.brandk, &fireMethodRange},
      {&s.brandb, &kFireOption},   {&s.kutak, &kCeiling},     {&s.kryptal, nullptr},
      {&s.overhojning, nullptr},   {&s.initiell, nullptr},    {&s.tillkommande, nullptr},
      {&s.brukskomb, &kServiceability}, {&s.nllast, &kLineLoadCount},
  };
  int number = 16;
  for (const Field& f : fields) {
    const auto v = r.integer(number++, f.range);
    if (!v) return failed();
    *f.value = *v;
  }

  for (int k = 1; k <= kLineLoads; ++k, ++number) {
    const QByteArray* text = r.line(number);
    if (text == nullptr) return failed();
    // The span of a line load in use indexes the spans: 1 to n, as the engine requires.
    const std::optional<qint16> span = toInt16(cell(*text, 1, 3));
    if (!span || (k <= s.nllast && (*span < 1 || *span > s.nfack))) {
      if (error != nullptr)
        *error = QStringLiteral("Filen %1 kan inte läsas, rad %2: ett facknummer 1 till %3 "
                                "väntades.")
                     .arg(label)
                     .arg(number)
                     .arg(s.nfack);
      return false;
    }
    const std::optional<float> avst = toFloat(textToNumber(text->mid(3, 7)));
    const std::optional<float> lllast = toFloat(textToNumber(text->mid(10, 7)));
    if (!avst || !lllast) {
      if (error != nullptr)
        *error = QStringLiteral("Filen %1 kan inte läsas, rad %2: ett tal väntades.")
                     .arg(label)
                     .arg(number);
      return false;
    }
    LineLoad& load = s.lineLoads[static_cast<std::size_t>(k)];
    load.llfnr = *span;
    load.avst = *avst;
    load.lllast = *lllast;
  }
  if (!parseCasting(r, s)) return failed();
  return true;
}

// Writes `bytes` to a new file beside `path` and renames it over `path` once every byte is on
// the disk, so the old file stays whole until the new one is complete.
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
  const QFileInfo info(path);
  const solvo::platform::WriteResult written = solvo::platform::write_file_atomic(
      std::filesystem::path(QFile::encodeName(info.dir().path()).toStdString()),
      QFile::encodeName(info.fileName()).toStdString(),
      std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (written.error == 0) return true;
  if (error != nullptr)
    *error = QStringLiteral("Filen %1 kunde inte sparas: %2.")
                 .arg(QFile::decodeName(QByteArray::fromStdString(written.target.string())),
                      QString::fromLocal8Bit(std::strerror(written.error)));
  return false;
}

QString joinPath(const QString& folder, const QString& name) { return inFolder(folder, name); }

}  // namespace

bool replaceFile(const QString& path, const QByteArray& bytes, QString* error) {
  return writeBytes(path, bytes, error);
}

std::optional<QByteArray> caseFileBytes(const CaseStore& s, QString* error) {
  const QString bad = badCode(s);
  if (!bad.isEmpty()) {
    if (error != nullptr) *error = bad;
    return std::nullopt;
  }
  const int n = s.nfack;
  const auto m = static_cast<std::size_t>(s.market);
  const auto c = static_cast<std::size_t>(s.lokt);
  QByteArray out;
  auto line = [&](const QByteArray& text) { out += text + kLineEnd; };
  auto integer = [&](qint16 v) { line(QByteArray::number(v)); };
  auto spans = [&](const std::array<float, kStoreSpans + 1>& values) {
    QByteArray text;
    for (int i = 1; i <= n; ++i) text += column(values[static_cast<std::size_t>(i)], u"##0.000", 7);
    line(text);
  };

  line(textLine(s.baseName));
  line(textLine(s.rubrik));
  integer(s.market);
  integer(s.safetyClass[m]);
  integer(s.nfack);
  spans(s.spv);
  spans(s.ptjl);
  QByteArray supports;
  for (int i = 0; i <= n; ++i) supports += column(s.upl[static_cast<std::size_t>(i)], u"#0.000", 6);
  line(supports);
  integer(s.lokt);
  const NationalTables& t = s.national;
  QByteArray factors;
  for (const double f : {t.lambdaG[m], t.ksi[m], t.lambdaQ[m], t.psi0[c][m], t.psi1[c][m],
                         t.psi2[c][m]})
    factors += column(f, u"##0.000", 7);
  line(factors);
  integer(s.lastkomb);
  spans(s.plast);
  spans(s.flast);
  line(plainNumber(s.konsv));
  line(plainNumber(s.konsh));
  for (const qint16 v : {s.btg, s.aok, s.dok, s.kavko, s.ktack, s.auk, s.duk, s.duarm, s.brandk,
                         s.brandb, s.kutak, s.kryptal, s.overhojning, s.initiell,
                         s.tillkommande, s.brukskomb, s.nllast})
    integer(v);
  for (int k = 1; k <= kLineLoads; ++k) {
    const LineLoad& load = s.lineLoads[static_cast<std::size_t>(k)];
    line(column(load.llfnr, u"##0", 3) + column(load.avst, u"##0.000", 7) +
         column(load.lllast, u"##0.000", 7));
  }
  integer(s.byggskede);
  QByteArray props;
  for (int i = 1; i <= n; ++i) props += column(s.stamp[static_cast<std::size_t>(i)], u"##0", 3);
  line(props);
  line(plainNumber(s.egenfrekvens));
  return out;
}

bool readCaseBytes(const QByteArray& bytes, const QString& fileLabel, CaseStore& store,
                   QString* error) {
  CaseStore fresh = store;
  setDefaults(fresh);
  if (!parseCase(bytes, fileLabel, fresh, error)) return false;
  store = std::move(fresh);
  return true;
}

bool readCase(FileTable& files, qint16 number, CaseStore& store, QString* error) {
  QFile* file = files.file(number);
  if (file == nullptr) {
    if (error != nullptr) *error = QStringLiteral("Ingen fil är öppen för läsning.");
    return false;
  }
  return readCaseBytes(file->readAll(), file->fileName(), store, error);
}

bool writeCase(FileTable& files, qint16 number, CaseStore& store, QString* error) {
  QFile* file = files.file(number);
  if (file == nullptr) {
    if (error != nullptr) *error = QStringLiteral("Ingen fil är öppen för skrivning.");
    return false;
  }
  const std::optional<QByteArray> bytes = caseFileBytes(store, error);
  if (!bytes) return false;
  const qint64 end = file->pos() + bytes->size();
  // A short write (full disk) must not pass as a saved case: the file must reach its end.
  if (file->write(*bytes) != bytes->size() || !file->flush() || file->size() < end) {
    if (error != nullptr)
      *error = QStringLiteral("Filen %1 kunde inte sparas: %2.")
                   .arg(file->fileName(), file->errorString());
    return false;
  }
  store.changed = false;
  store.named = true;
  return true;
}

bool newCase(CaseStore& store, FileTable& files, const DiskDialogue& dialogue, QString* error) {
  const QString path = joinPath(store.programFolder, QStringLiteral("solvo.def"));
  const qint16 number = files.open(path, static_cast<int>(FileMode::Read), 0, dialogue);
  if (number == 0) {
    if (error != nullptr)
      *error = QStringLiteral("Standardfallet %1 kan inte öppnas.").arg(path);
    return false;
  }
  const bool ok = readCase(files, number, store, error);
  files.close(number);
  if (!ok) return false;
  store.named = false;
  store.changed = false;
  store.fileName = store.baseName + QStringLiteral(".IND");
  return true;
}

bool openCase(CaseStore& store, FileTable& files, const QString& folder, const QString& name,
              const DiskDialogue& dialogue, QString* error) {
  const QString path = joinPath(folder, name);
  const qint16 number = files.open(path, static_cast<int>(FileMode::Read), 0, dialogue);
  if (number == 0) {
    if (error != nullptr) *error = QStringLiteral("Filen %1 kan inte öppnas.").arg(path);
    return false;
  }
  const bool ok = readCase(files, number, store, error);
  files.close(number);
  if (!ok) return false;
  store.folder = folder;
  store.named = true;
  store.changed = false;
  // Save writes back to the file that was opened. Its first line names the case and the
  // report; a file renamed on disk must not be saved over the file its first line names.
  store.fileName = QFileInfo(resolveExisting(path)).fileName();
  return true;
}

QString adoptFileName(CaseStore& store) {
  const qsizetype point = store.fileName.indexOf(u'.');
  const QString ownName = upperCase(point < 0 ? store.fileName : store.fileName.left(point));
  if (ownName.isEmpty() || ownName == store.baseName.trimmed()) return {};
  const QString message =
      QStringLiteral("Filen %1 innehåller fallet %2. Fallet får filens namn, %3, och måste "
                     "sparas innan det beräknas; resultatet skrivs då till %3.RES.")
          .arg(store.fileName, store.baseName.trimmed(), ownName);
  store.baseName = ownName;
  store.changed = true;
  return message;
}

bool saveCase(CaseStore& store, QString* error) {
  const std::optional<QByteArray> bytes = caseFileBytes(store, error);
  if (!bytes) return false;
  if (!writeBytes(joinPath(store.folder, store.fileName), *bytes, error)) return false;
  store.changed = false;
  store.named = true;
  return true;
}

SaveAsName saveAsName(const QString& typed) {
  SaveAsName names;
  const QString text = upperCase(typed).trimmed();
  if (text.contains(u'/') || text.contains(u'\\')) {
    names.error = QStringLiteral("Filnamnet %1 får inte innehålla / eller \\.").arg(text);
    return names;
  }
  const qsizetype point = text.indexOf(u'.');
  if (point >= 0) {
    names.fileName = text.left(point + 1) + QStringLiteral("IND");
    names.baseName = text.left(point);
  } else {
    names.fileName = text + QStringLiteral(".IND");
    names.baseName = text;
  }
  if (names.baseName.isEmpty())
    names.error = QStringLiteral("Filnamnet \"%1\" saknar namn före punkten.").arg(text);
  return names;
}

QString newCaseNameProblem(const QString& baseName) {
  QStringList broken;
  if (baseName.size() > kNewCaseNameLength)
    broken << QStringLiteral("har %1 tecken").arg(baseName.size());
  if (baseName.contains(u' ')) broken << QStringLiteral("har mellanslag");
  if (baseName.contains(u',')) broken << QStringLiteral("har komma");
  if (baseName.contains(u'.')) broken << QStringLiteral("har punkt");
  for (QChar c : {u'å', u'ä', u'ö', u'Å', u'Ä', u'Ö'})
    if (baseName.contains(c)) {
      broken << QStringLiteral("har å, ä eller ö");
      break;
    }
  if (broken.isEmpty()) return {};
  return QStringLiteral("Filnamnet %1 %2. Filnamnet får innehålla max åtta tecken och inga "
                        "mellanslag, komma, punkt eller å, ä, ö.")
      .arg(baseName, broken.join(QStringLiteral(", ")));
}

bool saveCaseAs(CaseStore& store, const QString& folder, const QString& typed, QString* error) {
  const SaveAsName names = saveAsName(typed);
  if (!names.error.isEmpty()) {
    if (error != nullptr) *error = names.error;
    return false;
  }
  CaseStore renamed = store;
  renamed.baseName = names.baseName;
  renamed.fileName = names.fileName;
  renamed.folder = folder;
  if (!saveCase(renamed, error)) return false;
  store = std::move(renamed);
  return true;
}

}  // namespace solvow
