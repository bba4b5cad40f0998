// The history file: any bytes load without a crash, and the list loaded is what saving
// it and loading it again gives back.
#include <stdlib.h>

#include <QFile>

#include "fuzz_check.h"
#include "models/history_list.h"
#include "platform/file_error.h"
#include "platform/host_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tz::fuzz::check;
  static const QByteArray root = [] {
    char pattern[] = "/tmp/tenzor-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    tz::fuzz::check(made != nullptr, "a temporary drive");
    return QByteArray(made);
  }();
  static tz::HostFileSystem fs(
      tz::DriveTable::parse(QStringLiteral("C=") + QString::fromUtf8(root)));
  QFile file(QString::fromUtf8(root + "/tenzor_his.tmp"));
  check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the file written");
  file.write(tz::fuzz::bytes_of(data, size));
  file.close();

  tz::HistoryList list;
  list.assign(fs.read_lines(QStringLiteral("C:\\tenzor_his.tmp")));
  const QStringList loaded = list.texts();
  fs.write_lines(QStringLiteral("C:\\again.tmp"), loaded);
  tz::HistoryList again;
  again.assign(fs.read_lines(QStringLiteral("C:\\again.tmp")));
  check(again.texts() == loaded, "saved and loaded again, the same list");
  return 0;
}
