// Fuzz target: a case name (the first line of a case file) read by both programs. Besides the
// sanitizers' reports:
//  - the front end's reader and the engine take or refuse the same names;
//  - for a name both take, the report the front end looks for (by its base name, in upper
//    case) is the file the engine writes: written into a scratch folder by the engine's rule,
//    found there by the front end's lookup.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "atomic_write.h"
#include "case_file.h"
#include "case_input.h"
#include "case_store.h"
#include "file_access.h"
#include "file_names.h"
#include "run_state.h"
#include "start_case.h"

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& name) {
  std::fprintf(stderr, "fuzz_report_name: %s: \"%s\"\n", what,
               name.toPercentEncoding(" ").constData());
  std::abort();
}

// A valid case file whose first line is replaced by the input.
const QByteArray& rest() {
  static const QByteArray kRest = [] {
    const std::optional<QByteArray> bytes = solvow::caseFileBytes(startCase());
    if (!bytes) std::abort();
    return bytes->mid(bytes->indexOf('\n') + 1);
  }();
  return kRest;
}

// A scratch folder for the whole fuzzing run, removed at its end.
struct Scratch {
  std::filesystem::path folder;
  Scratch() {
    // In memory where the machine offers it: every write is flushed to the disk.
    std::error_code ec;
    const std::filesystem::path root = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string tmpl = (root / "fuzz-names-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    folder = tmpl;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
};

const std::filesystem::path& scratch() {
  static const Scratch kScratch;
  return kScratch.folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first line of the input is the name (so whole case files seed it), at most 64 bytes:
  // the name counts, the line's length does not.
  QByteArray name(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (const qsizetype end = name.indexOf('\n'); end >= 0) name.truncate(end);
  if (name.endsWith('\r')) name.chop(1);
  name.truncate(64);
  const QByteArray text = name + "\r\n" + rest();

  solvow::CaseStore store;
  solvow::setDefaults(store);
  const bool frontEnd = solvow::readCaseBytes(text, QStringLiteral("FUZZ.IND"), store);
  solvo::Run run;
  bool engine = true;
  try {
    solvo::insolvo(run, std::string_view(text.constData(), static_cast<size_t>(text.size())));
  } catch (const solvo::CaseError&) {
    engine = false;
  }
  if (frontEnd != engine)
    fail(engine ? "only the engine reads the name" : "only the front end reads the name", name);
  if (!engine) return 0;

  const std::string written = solvo::platform::report_file_name(run.prfil);
  const solvo::platform::WriteResult w =
      solvo::platform::write_file_atomic(scratch(), written, "R");
  if (w.error != 0) fail("the engine's report cannot be written", name);
  const QString folder = QFile::decodeName(QByteArray::fromStdString(scratch().string()));
  const QString found =
      solvow::resolveExisting(solvow::inFolder(folder, solvow::reportFileName(store.baseName)));
  const bool same =
      QFileInfo(found).isFile() &&
      QFile::encodeName(QFileInfo(found).fileName()).toStdString() == w.target.filename().string();
  std::filesystem::remove(w.target);
  if (!same) fail("the front end looks for another report than the engine writes", name);
  return 0;
}
