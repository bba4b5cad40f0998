#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace tz {

class Results;

// The window "Tree comparison" (f_results): the report of branches found in one tree
// only, shown modally before the step-through. The report cannot be edited (every edit
// is undone at once) but can be selected and copied. Its buttons decide through
// Results; the caption bar's close and Esc go on like "proceed with common branches".
class ResultsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ResultsWindow(Results& results, QWidget* parent = nullptr);

  Results& results() const { return results_; }
  // Shows the report as it is now, centred on the screen, and returns once the window
  // is closed.
  void run();

  void reject() override;

 private:
  void build();
  void place();
  void show_report();
  void keep_report();

  Results& results_;
  QPlainTextEdit* text_ = nullptr;
  // The report as the box gives it back, and whether the box is being filled by us.
  QString shown_;
  bool filling_ = false;
};

// Shows the report in the window over `parent`, made at the first call and kept as its
// child, and returns once the user has decided: the decision is left in
// GLB_mismatch_text.
void show_results_window(Results& results, QWidget* parent);

}  // namespace tz
