#include "case_file.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "atomic_write.h"
#include "case_format.h"
#include "case_values.h"
#include "code_page.h"
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
// (first occurrence of each letter). Line breaks would split the record, and control bytes
// are refused by both readers: they become blanks.
QByteArray textLine(const QString& text) {
  QByteArray bytes = windowsToDos(toWindows1252(text));
  for (char& c : bytes)
    if (solvo::platform::is_control_byte(static_cast<unsigned char>(c))) c = ' ';
  return bytes;
}

// Input bytes as a refusal quotes them (at most 80, control bytes escaped).
QString quoted(const QByteArray& bytes) {
  return QString::fromStdString(solvo::platform::quoted_input(
      std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

QString decodeTextLine(const QByteArray& bytes) { return fromWindows1252(dosToWindowsAll(bytes)); }

using solvo::platform::case_field;
using F = CaseFieldId;

// The text of value i (1-based) of a fixed-column field of the table.
QByteArray cellText(const QByteArray& line, F id, int i, int pitch = 0) {
  const solvo::platform::CaseField& f = case_field(id);
  const int step = pitch > 0 ? pitch : f.pitch;
  const int at = f.start + (i - 1) * step;
  return line.mid(static_cast<qsizetype>(at), step);
}

// A value for a single-precision member: one beyond the range of a float (it would become an
// infinity, which the file writer cannot write) is refused, as the engine refuses it.
std::optional<float> toFloat(double v) {
  const auto f = static_cast<float>(v);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

// Reads the lines of one file into a case store, stopping at the first line that cannot be
// taken. Every number is held to the range of its field in the case-format table.
class Reader {
 public:
  Reader(const QList<QByteArray>& lines, bool unended, const QString& label)
      : m_lines(lines), m_unended(unended), m_label(label) {}

  const QString& error() const { return m_error; }
  int spans = static_cast<int>(case_field(F::Spans).range.max);  // n, once line 5 is read

  // True when the file holds nothing but blank lines after line `number`.
  bool endsAfter(int number) const {
    for (qsizetype k = number; k < m_lines.size(); ++k)
      if (!m_lines[k].trimmed().isEmpty()) return false;
    return true;
  }

  // Line `number` (1-based), or nothing when the file ended before it.
  const QByteArray* line(int number) {
    if (number > static_cast<int>(m_lines.size())) {
      fail(number, QStringLiteral("filen slutar för tidigt"));
      return nullptr;
    }
    return &m_lines[number - 1];
  }

  // A fixed-column line that is the last of the file without a line end must reach the end
  // of its last field: shorter, the file was cut inside it.
  const QByteArray* columnLine(int number, int needed) {
    const QByteArray* text = line(number);
    if (text != nullptr && m_unended && number == static_cast<int>(m_lines.size()) &&
        text->size() < needed) {
      fail(number,
           QStringLiteral("hela raden väntades (%1 tecken; filen slutar inne i den)").arg(needed));
      return nullptr;
    }
    return text;
  }

  // A whole number of one line, within the range of its field.
  std::optional<qint16> integer(int number, F id) {
    const QByteArray* text = line(number);
    if (text == nullptr) return std::nullopt;
    return checkedInteger(number, id, *text, QString());
  }

  std::optional<qint16> checkedInteger(int number, F id, const QByteArray& text,
                                       const QString& place) {
    const std::optional<qint16> v = toInt16(textToNumber(text));
    if (!v || !inTable({id, double(*v), 0}, spans)) {
      refuse(number, id, text, place, v.has_value() ? nullptr : "ett heltal");
      return std::nullopt;
    }
    return v;
  }

  // A real of one line, or one value of a fixed-column line, within its field's range.
  std::optional<float> real(int number, F id) {
    const QByteArray* text = line(number);
    if (text == nullptr) return std::nullopt;
    return checkedReal(number, id, *text, QString());
  }

  std::optional<float> checkedReal(int number, F id, const QByteArray& text, const QString& place) {
    const std::optional<float> v = toFloat(textToNumber(text));
    if (!v || !inTable({id, double(*v), 0}, spans)) {
      refuse(number, id, text, place, v.has_value() ? nullptr : "ett tal");
      return std::nullopt;
    }
    return v;
  }

  void fail(int number, const QString& what) {
    m_error =
        QStringLiteral("Filen %1 kan inte läsas, rad %2: %3.").arg(m_label).arg(number).arg(what);
  }

 private:
  // "<field> <range> väntades<place> (fann "<text>")"; `kind` ("ett tal") first when the
  // text held no number of the field's kind that the store can hold.
  void refuse(int number, F id, const QByteArray& text, const QString& place, const char* kind) {
    const QString what = kind != nullptr ? QString::fromUtf8(kind) + QStringLiteral(", ") +
                                               fieldRange(id, spans) + u','
                                         : fieldRange(id, spans);
    fail(number,
         QStringLiteral("%1 väntades%2 (fann \"%3\")").arg(what, place, quoted(text.trimmed())));
  }

  const QList<QByteArray>& m_lines;
  bool m_unended;
  QString m_label;
  QString m_error;
};

// A line of `count` values of a fixed-column field into values[first..first+count-1].
template <std::size_t N>
bool columns(Reader& r, F id, int count, std::array<float, N>& values, int first = 1) {
  const solvo::platform::CaseField& f = case_field(id);
  // The front end writes the support widths in 6 characters and reads all 6.
  const int width = f.count == solvo::platform::FieldCount::Supports ? f.pitch : f.width;
  const QByteArray* text = r.columnLine(f.line, solvo::platform::columns_needed(f, count));
  if (text == nullptr) return false;
  for (int i = 1; i <= count; ++i) {
    const QString place = QStringLiteral(" i fält %1").arg(i);
    const std::optional<float> v =
        r.checkedReal(f.line, id, cellText(*text, id, i).left(width), place);
    if (!v) return false;
    values[static_cast<std::size_t>(first + i - 1)] = *v;
  }
  return true;
}

// Lines 1 and 2. The case is saved under its name and the engine names its report after it:
// a name that would leave the folder, or that is blank where it names the report, is refused
// by the engine's own rules; a heading must not carry control bytes into the report.
bool parseTextLines(Reader& r, CaseStore& s) {
  const QByteArray* name = r.line(1);
  if (name == nullptr) return false;
  s.baseName = upperCase(decodeTextLine(*name));
  if (!solvo::platform::case_name_ok(
          std::string_view(name->constData(), static_cast<size_t>(name->size())))) {
    r.fail(1, QStringLiteral("ett namn utan / och \\, styrtecken, . och .. väntades (fann \"%1\")")
                  .arg(quoted(*name)));
    return false;
  }
  if (solvo::platform::case_name_blank(
          std::string_view(name->constData(), static_cast<size_t>(name->size())))) {
    r.fail(1,
           QStringLiteral("ett namn som inte är blankt väntades (fann \"%1\")").arg(quoted(*name)));
    return false;
  }
  const QByteArray* heading = r.line(2);
  if (heading == nullptr) return false;
  if (solvo::platform::has_control_byte(
          std::string_view(heading->constData(), static_cast<size_t>(heading->size())))) {
    r.fail(
        2,
        QStringLiteral("en rubrik utan styrtecken väntades (fann \"%1\")").arg(quoted(*heading)));
    return false;
  }
  s.rubrik = decodeTextLine(*heading);
  return true;
}

// Lines 3-10: market, class, spans, thicknesses, supports, load category and factors.
bool parseSlab(Reader& r, CaseStore& s) {
  const auto market = r.integer(3, F::Market);
  if (!market) return false;
  s.market = *market;
  const auto safety = r.integer(4, F::SafetyClass);
  if (!safety) return false;
  s.safetyClass[static_cast<std::size_t>(s.market)] = *safety;
  const auto n = r.integer(5, F::Spans);
  if (!n) return false;
  s.nfack = *n;
  r.spans = s.nfack;
  if (!columns(r, F::Span, s.nfack, s.spv) || !columns(r, F::Thickness, s.nfack, s.ptjl))
    return false;
  if (!columns(r, F::SupportWidth, s.nfack + 1, s.upl, 0)) return false;
  // The end supports keep the widths the file gives them: the calculation takes its clear
  // spans from them, so the case opened must be the case the engine reads. (The form never
  // edits them; a new case has none.)

  const auto category = r.integer(9, F::LoadCategory);
  if (!category) return false;
  s.lokt = *category;
  const QByteArray* factors =
      r.columnLine(10, solvo::platform::columns_needed(case_field(F::Psi2), 1));
  if (factors == nullptr) return false;
  const auto m = static_cast<std::size_t>(s.market);
  const auto c = static_cast<std::size_t>(s.lokt);
  NationalTables& t = s.national;
  double* const targets[] = {&t.lambdaG[m], &t.ksi[m],     &t.lambdaQ[m],
                             &t.psi0[c][m], &t.psi1[c][m], &t.psi2[c][m]};
  const F ids[] = {F::GammaG, F::Xsi, F::GammaQ, F::Psi0, F::Psi1, F::Psi2};
  for (std::size_t k = 0; k < 6; ++k) {
    const QByteArray text = cellText(*factors, ids[k], 1);
    if (!r.checkedReal(10, ids[k], text, QStringLiteral(" i fält %1").arg(k + 1))) return false;
    *targets[k] = textToNumber(text);
  }
  return true;
}

// Lines 11-32: load set, span loads, cantilevers, materials, fire, deflection, line loads.
bool parseLoadsAndMaterials(Reader& r, CaseStore& s) {
  const auto combination = r.integer(11, F::LoadSet);
  if (!combination) return false;
  s.lastkomb = *combination;
  if (!columns(r, F::PermanentLoad, s.nfack, s.plast) ||
      !columns(r, F::ImposedLoad, s.nfack, s.flast))
    return false;
  const auto left = r.real(14, F::CantileverLeft);
  if (!left) return false;
  s.konsv = *left;
  const auto right = r.real(15, F::CantileverRight);
  if (!right) return false;
  s.konsh = *right;
  const std::pair<qint16*, F> fields[] = {
      {&s.btg, F::Concrete},
      {&s.aok, F::TopGrade},
      {&s.dok, F::TopBar},
      {&s.kavko, F::Curtailment},
      {&s.ktack, F::TopCover},
      {&s.auk, F::BottomGrade},
      {&s.duk, F::BottomBar},
      {&s.duarm, F::BottomPlacement},
      {&s.brandk, F::FireMethod},
      {&s.brandb, F::FireOption},
      {&s.kutak, F::Ceiling},
      {&s.kryptal, F::Creep},
      {&s.overhojning, F::Camber},
      {&s.initiell, F::DeflectionInitial},
      {&s.tillkommande, F::DeflectionAdditional},
      {&s.brukskomb, F::DeflectionLoads},
      {&s.nllast, F::LineLoads},
  };
  for (const auto& [value, id] : fields) {
    const auto v = r.integer(case_field(id).line, id);
    if (!v) return false;
    *value = *v;
  }
  return true;
}

// Lines 33-37: the five line-load slots; the slots in use are held to their ranges, the
// others need only numbers a float holds.
bool parseLineLoads(Reader& r, CaseStore& s) {
  const int first = case_field(F::LoadSpan).line;
  const int needed = solvo::platform::columns_needed(case_field(F::LoadValue), 1);
  for (int k = 1; k <= kLineLoads; ++k) {
    const int number = first + k - 1;
    const QByteArray* text = r.columnLine(number, needed);
    if (text == nullptr) return false;
    const QString place = QStringLiteral(" för linjelast %1").arg(k);
    const QByteArray spanText = cellText(*text, F::LoadSpan, 1);
    const QByteArray avstText = cellText(*text, F::LoadPosition, 1);
    const QByteArray loadText = cellText(*text, F::LoadValue, 1);
    LineLoad& load = s.lineLoads[static_cast<std::size_t>(k)];
    if (k <= s.nllast) {
      const auto span = r.checkedInteger(number, F::LoadSpan, spanText, place);
      const auto avst =
          span ? r.checkedReal(number, F::LoadPosition, avstText, place) : std::nullopt;
      const auto lllast =
          avst ? r.checkedReal(number, F::LoadValue, loadText, place) : std::nullopt;
      if (!lllast) return false;
      load = {*span, *avst, *lllast};
      continue;
    }
    const std::optional<qint16> span = toInt16(textToNumber(spanText));
    const std::optional<float> avst = toFloat(textToNumber(avstText));
    const std::optional<float> lllast = toFloat(textToNumber(loadText));
    if (!span || !avst || !lllast) {
      r.fail(number, QStringLiteral("ett tal väntades"));
      return false;
    }
    load = {*span, *avst, *lllast};
  }
  return true;
}

// Lines 38-41: the deck during casting, the props of spans 1..n in 3-character columns, the
// lowest natural frequency and the largest crack width. A file that ends after line 37 or
// after line 40 (blank lines aside) keeps the defaults of the lines it leaves out; once line
// 38 is there, 39 and 40 must follow.
bool parseCasting(Reader& r, CaseStore& s) {
  if (r.endsAfter(solvo::platform::kCaseLines)) return true;
  const auto deck = r.integer(38, F::DeckSupport);
  if (!deck) return false;
  s.byggskede = *deck;
  const solvo::platform::CaseField& props = case_field(F::Props);
  const QByteArray* text =
      r.columnLine(props.line, solvo::platform::columns_needed(props, s.nfack));
  if (text == nullptr) return false;
  for (int i = 1; i <= s.nfack; ++i) {
    const auto v = r.checkedInteger(props.line, F::Props, cellText(*text, F::Props, i),
                                    QStringLiteral(" i fält %1").arg(i));
    if (!v) return false;
    s.stamp[static_cast<std::size_t>(i)] = *v;
  }
  const auto frequency = r.real(40, F::FrequencyMin);
  if (!frequency) return false;
  s.egenfrekvens = *frequency;
  if (r.endsAfter(solvo::platform::kCastingLastLine)) return true;
  const auto wmax = r.real(41, F::CrackWidthMax);
  if (!wmax) return false;
  s.sprickbredd = *wmax;
  return true;
}

bool parseCase(const QByteArray& bytes, const QString& label, CaseStore& s, QString* error) {
  bool unended = false;
  const QList<QByteArray> lines = fileLines(bytes, &unended);
  Reader r(lines, unended, label);
  if (parseTextLines(r, s) && parseSlab(r, s) && parseLoadsAndMaterials(r, s) &&
      parseLineLoads(r, s) && parseCasting(r, s))
    return true;
  if (error != nullptr) *error = r.error();
  return false;
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
  // What the reader would refuse is not written: a saved case must open again.
  const QString bad = firstValueOutsideTable(s);
  if (!bad.isEmpty()) {
    if (error != nullptr) *error = QStringLiteral("Fallet kan inte sparas: %1.").arg(bad);
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
  for (const double f :
       {t.lambdaG[m], t.ksi[m], t.lambdaQ[m], t.psi0[c][m], t.psi1[c][m], t.psi2[c][m]})
    factors += column(f, u"##0.000", 7);
  line(factors);
  integer(s.lastkomb);
  spans(s.plast);
  spans(s.flast);
  line(plainNumber(s.konsv));
  line(plainNumber(s.konsh));
  for (const qint16 v :
       {s.btg, s.aok, s.dok, s.kavko, s.ktack, s.auk, s.duk, s.duarm, s.brandk, s.brandb, s.kutak,
        s.kryptal, s.overhojning, s.initiell, s.tillkommande, s.brukskomb, s.nllast})
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
  line(plainNumber(s.sprickbredd));
  return out;
}

bool readCaseBytes(const QByteArray& bytes, const QString& fileLabel, CaseStore& store,
                   QString* error) {
  CaseStore fresh = store;
  setDefaults(fresh);
  if (!parseCase(bytes, fileLabel, fresh, error)) return false;
  fillImposedLoadsAfter(fresh, fresh.nfack);
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
    if (error != nullptr) *error = QStringLiteral("Standardfallet %1 kan inte öppnas.").arg(path);
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
      QStringLiteral(
          "Filen %1 innehåller fallet %2. Fallet får filens namn, %3, och måste "
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
  return QStringLiteral(
             "Filnamnet %1 %2. Filnamnet får innehålla max åtta tecken och inga "
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
