#pragma once

#include <gtest/gtest.h>

#include <QFile>

#include "align/transfers.h"
#include "compare/comparison.h"
#include "support/test_program.h"

namespace tz::test {

inline constexpr qint64 t0 = 1'700'000'000;

// The pair C:\one and D:\two on temporary drives, compared into the five lists.
class AlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.clock.step = 0.25;  // so that pauses end
    file1("only1.txt", "one");
    file2("only2.txt", "two");
    file1("new1.txt", "newer in 1", t0 + 60);
    file2("new1.txt", "old");
    file1("new2.txt", "old");
    file2("new2.txt", "newer in 2", t0 + 60);
    file1("same.txt", "same");
    file2("same.txt", "same");
  }
  void file1(const QString& name, const QByteArray& data, qint64 mtime = t0) {
    p.drives.write_file("C:\\one\\" + name, data, mtime);
  }
  void file2(const QString& name, const QByteArray& data, qint64 mtime = t0) {
    p.drives.write_file("D:\\two\\" + name, data, mtime);
  }
  void compare() {
    p.open_panes("C:\\one", "D:\\two");
    p.tz.comparison().bot_compare_Click();
  }
  QStringList list(int n) { return p.tz.window().list(n).entries(); }
  // The entry `name` of list `n` becomes current, as a press on it makes it.
  void press(int n, const QString& name) {
    FileList& l = p.tz.window().list(n);
    l.set_current(l.find(name));
    p.tz.transfers().start_drag(n);
  }
  void select(int n, const QStringList& names) {
    FileList& l = p.tz.window().list(n);
    for (const QString& name : names) l.set_selected(l.find(name), true);
  }
  QByteArray content(const QString& drive_path) {
    QFile file(p.drives.host_path(drive_path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  bool exists(const QString& drive_path) { return QFile::exists(p.drives.host_path(drive_path)); }

  TestProgram p;
};

}  // namespace tz::test
