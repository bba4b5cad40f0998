#pragma once

#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/dialogs.h"
#include "platform/file_error.h"
#include "platform/services.h"

namespace tz {

// Services for runs without a window: messages go to standard error, questions are
// answered No without being shown (nobody could answer them), and nothing is started or
// pointed at.
class StderrDialogs : public Dialogs {
 public:
  Answer message_box(const MessageBox& box) override {
    if (box.buttons != Buttons::Ok) return Answer::No;
    const QByteArray text = box.text.toUtf8();
    std::fprintf(stderr, "%s\n", text.constData());
    return Answer::Ok;
  }
  std::optional<QString> input_box(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
};

class NoBusyPointer : public BusyPointer {
 public:
  void set_busy(bool) override {}
};

class NoEventPump : public EventPump {
 public:
  void process_events() override {}
};

class NoProcesses : public Processes {
 public:
  void start_detached(const QString&, const QStringList&) override {
    throw FileError(err::file_not_found);
  }
  bool open_url(const QString&) override { return false; }
  void beep() override {}
};

class NoWindowExit : public ProgramExit {
 public:
  void close_window() override {}
  // Nothing without a window asks for it; ends as a pair that cannot be compared.
  [[noreturn]] void end_now() override {
    std::fflush(nullptr);
    std::_Exit(2);
  }
};

}  // namespace tz
