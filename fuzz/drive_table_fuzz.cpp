// The drive table: any text is read as a table or refused with a message, never guessed
// at; and a native path given in drive form names the very same place again.
#include <QDir>

#include "fuzz_check.h"
#include "platform/drive_table.h"

namespace {

// The native path a drive-form path stands for.
QString native_of(const tz::DriveTable& table, const QString& drive_form) {
  const QString root = table.host_root(drive_form[0]).value_or(QString());
  QString rest = drive_form.mid(3);
  rest.replace(u'\\', u'/');
  return QDir::cleanPath(rest.isEmpty() ? root : root + u'/' + rest);
}

void check_round_trip(const tz::DriveTable& table, const QString& native) {
  using tz::fuzz::check;
  const std::optional<QString> form = table.to_drive_form(native);
  if (!form) return;
  check(form->size() >= 3 && form->at(1) == u':' && form->at(2) == u'\\', "drive form");
  check(native_of(table, *form) == QDir::cleanPath(native), "the same place again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tz::fuzz::check;
  const QString text = tz::fuzz::text_of(data, size);
  const tz::DriveTableReading reading = tz::DriveTable::read(text);
  check(reading.table.has_value() == reading.error.isEmpty(), "a table or a message");
  // The text as a path, for the table read or else one of two drives.
  const tz::DriveTable table =
      reading.table ? *reading.table : tz::DriveTable::parse(QStringLiteral("C=/;D=/media/usb"));
  for (const QChar letter : table.letters()) {
    const std::optional<QString> root = table.host_root(letter);
    check(root && root->startsWith(u'/'), "an absolute host directory");
    check_round_trip(table, *root + QStringLiteral("/x"));
  }
  check_round_trip(table, text);
  table.drive_of_host_path(text);
  return 0;
}
