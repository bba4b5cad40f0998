#pragma once

#include <QListView>

namespace tz {
class Tenzor;
}

namespace tz::ui {

// The history list box, laid over the window in the history view: one entry selected
// at a time, kept in the model; a double click opens the pair, Delete deletes it.
class HistoryView : public QListView {
  Q_OBJECT

 public:
  HistoryView(Tenzor& tz, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void selection_from_model(int index);

  Tenzor& tz_;
};

}  // namespace tz::ui
