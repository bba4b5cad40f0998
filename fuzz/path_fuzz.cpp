// Drive-form paths: any text is taken apart and resolved on a small drive without a
// crash, and what it resolves to never lies outside the drive's directory, whatever
// "..", "." or case it holds.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz_check.h"
#include "platform/file_error.h"
#include "platform/host_path_resolver.h"

namespace {

// A drive with a few entries to resolve against, made once per run.
QByteArray drive_root() {
  char pattern[] = "/tmp/tenzor-fuzz-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  tz::fuzz::check(made != nullptr, "a temporary drive");
  const QByteArray root(made);
  for (const char* dir : {"/Sub", "/Sub/inner", "/sub2", "/UPPER"})
    ::mkdir((root + dir).constData(), 0755);
  for (const char* file : {"/f.txt", "/Sub/g.TXT"}) {
    FILE* f = std::fopen((root + file).constData(), "w");
    if (f) std::fclose(f);
  }
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tz::fuzz::check;
  static const QByteArray root = drive_root();
  static tz::PathResolver resolver(
      tz::DriveTable::parse(QStringLiteral("C=") + QString::fromUtf8(root)));
  const QString path = tz::fuzz::text_of(data, size);
  try {
    const tz::ParsedPath parsed = resolver.parse(path);
    if (parsed.native()) return 0;  // native paths are the host's own
    check(!parsed.names.contains(QStringLiteral("..")) && !parsed.names.contains(u"."),
          "no \"..\" or \".\" left after parsing");
    const tz::HostPath found = resolver.resolve(parsed, tz::PathResolver::Last::may_be_missing);
    const QByteArray native = found.native();
    check(native == root || native.startsWith(root + '/'), "nothing outside the drive");
    for (const QByteArray& name : found.names)
      check(!name.isEmpty() && name != ".." && !name.contains('/'), "one name per component");
  } catch (const tz::FileError&) {
    // Refused with its error number: a clear answer.
  }
  return 0;
}
