#pragma once

#include <QString>

namespace tz {

class Tenzor;
class FileError;

// The one routine that copies a file between the two directories, with its fallbacks.
class Copier {
 public:
  explicit Copier(Tenzor& tz) : tz_(tz) {}

  // The program started for a fallback copy: this executable, in its copy mode. When
  // it cannot be started, "tenzor" is looked up on the PATH.
  void set_copy_program(const QString& program) { copy_program_ = program; }

  // Copies `source` over `target` (full paths); the outcome is GLB_copy_done. An
  // unexpected error shows the fatal copy message and ends the program.
  void copy_file(const QString& source, const QString& target);
  // True when the target exists with the source's length and a modification time at
  // most 2 seconds from the source's.
  bool file_copy_verified(const QString& source, const QString& target);
  // True once a copy has ended the program (which, in tests, goes on running).
  bool program_ended() const { return program_ended_; }

  // The text for a file error that reached a transfer or a bulk alignment of `name`.
  static QString file_error_message(const FileError& error, const QString& name);

 private:
  bool start_external_copy(const QString& source, const QString& target);
  void fatal(const FileError& error, const QString& source);

  Tenzor& tz_;
  QString copy_program_;
  bool program_ended_ = false;
};

}  // namespace tz
