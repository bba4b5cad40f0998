#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QStyle>
#include <functional>

#include "app/tenzor.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "history/history.h"
#include "models/pane_model.h"
#include "tree/tree_comparison.h"
#include "ui/alignment_actions.h"
#include "ui/control_binding.h"
#include "ui/directory_box.h"
#include "ui/directory_menu_view.h"
#include "ui/drive_box.h"
#include "ui/file_list_view.h"
#include "ui/free_area.h"
#include "ui/help_menu.h"
#include "ui/history_view.h"
#include "ui/main_layout.h"
#include "ui/results_window.h"
#include "ui/run_guard.h"
#include "ui/window_keys.h"

namespace tz {

using namespace ui;

namespace {

// Calls `on_move` whenever the pointer moves over the widget it watches.
class PointerMoves : public QObject {
 public:
  PointerMoves(QWidget& watched, std::function<void()> on_move)
      : QObject(&watched), on_move_(std::move(on_move)) {
    watched.setMouseTracking(true);
    watched.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) on_move_();
    return false;
  }

 private:
  std::function<void()> on_move_;
};

QString pane_name(const char* stem, int pane) {
  return QString::fromLatin1(stem) + QString::number(pane);
}

}  // namespace

MainWindow::MainWindow(Tenzor& tz, QWidget* parent) : QMainWindow(parent), tz_(tz) {
  WindowModel& w = tz_.window();
  set_control_name(this, QStringLiteral("form_tenzor"));
  auto show_caption = [this, &w] { setWindowTitle(w.caption.caption()); };
  show_caption();
  connect(&w.caption, &Control::changed, this, show_caption);

  auto* area = new QWidget(this);
  area->setObjectName(QStringLiteral("form_area"));
  setCentralWidget(area);
  build_panes(area);
  build_drop_boxes(area);
  build_lists(area);
  build_buttons(area);
  build_menus();
  set_tab_order();

  connect(&w, &WindowModel::focus_requested, this, [this](const QString& name) {
    if (QWidget* widget = control(name)) widget->setFocus();
  });
  connect(&w, &WindowModel::results_requested, this,
          [this] { show_results_window(tz_.results(), this); });
  // The load step decides when the window appears.
  connect(&w, &WindowModel::show_requested, this, &QWidget::show);

  new MainLayout(*this, tz_);
  new FreeArea(
      *area, [this] { tz_.history().m_history_Click(); },
      [this] { tz_.comparison().set_default_comment(); });
  new WindowKeys(*this, tz_);
  new RunGuard(*this, w);
  connect_alignment_actions(tz_, *this);
  connect_directory_menu(tz_, *this);
  connect_help_menu(tz_, *this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A comparison or an alignment may be running from an event turn: it sees these and
  // stops after the file in progress, never in the middle of a copy.
  Globals& g = tz_.globals();
  g.GLB_closing = true;
  g.GLB_cancel = true;
  event->accept();
  // Ends the event loop once control is back in it, even while another window is open.
  // Before the loop runs this does nothing; the load step's caller checks GLB_closing.
  QMetaObject::invokeMethod(this, &QCoreApplication::quit, Qt::QueuedConnection);
}

QWidget* MainWindow::control(const QString& name) const {
  if (name == objectName()) return const_cast<MainWindow*>(this);
  return findChild<QWidget*>(name);
}

QAction* MainWindow::menu_entry(const QString& name) const {
  return findChild<QAction*>(name);
}

QMenu* MainWindow::menu(const QString& name) const {
  return findChild<QMenu*>(name);
}

QLabel* MainWindow::add_label(Control& control, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  // Captions start at the top of their place; the control below may overlap the rest.
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  set_control_name(label, control.name());
  bind_widget(control, label, [label](const QString& caption) { label->setText(caption); });
  return label;
}

QPushButton* MainWindow::add_button(Control& control, QWidget* parent) {
  auto* button = new QPushButton(parent);
  set_control_name(button, control.name());
  bind_widget(control, button, [button](const QString& caption) { button->setText(caption); });
  return button;
}

QAction* MainWindow::add_entry(Control& control, QMenu* menu) {
  auto* action = new QAction(this);
  bind_action(control, action);
  if (menu != nullptr)
    menu->addAction(action);
  else
    menuBar()->addAction(action);
  return action;
}

QMenu* MainWindow::add_menu(Control& control) {
  auto* menu = new QMenu(this);
  menu->setObjectName(control.name());
  bind_action(control, menu->menuAction());
  return menu;
}

void MainWindow::build_panes(QWidget* area) {
  WindowModel& w = tz_.window();
  for (int n = 1; n <= 2; ++n) {
    PaneModel& pane = w.pane(n);
    Control& caption = n == 1 ? w.lab_dir1 : w.lab_dir2;
    QLabel* label = add_label(caption, area);

    auto* drive = new DriveBox(pane, area);
    set_control_name(drive, pane_name("Drive", n));
    name_after_label(drive, label, caption);
    connect(drive, &DriveBox::drive_chosen, this, [this, n, drive](QChar letter) {
      tz_.panes().set_drive(n, letter);
      // A refused drive leaves the model on the old one; show what the model holds.
      drive->show_pane();
    });

    auto* dir = new DirectoryBox(pane, area);
    set_control_name(dir, pane_name("Dir", n));
    name_after_caption(dir, caption);
    connect(dir, &DirectoryBox::row_opened, this,
            [this, n](int row) { tz_.panes().open_row(n, row); });
    connect(dir, &DirectoryBox::pointer_moved, this,
            [this] { tz_.comparison().set_default_comment(); });

    // The file box is never shown; it mirrors the pane's files for tools that look.
    // A string list model shares the pane's list instead of copying 100,000 names.
    auto* files = new QListView(area);
    auto* file_names = new QStringListModel(files);
    files->setModel(file_names);
    set_control_name(files, pane_name("File", n));
    files->hide();
    auto show_files = [file_names, &pane] { file_names->setStringList(pane.files()); };
    show_files();
    connect(&pane, &PaneModel::files_changed, files, show_files);

    add_label(n == 1 ? w.lab_bytes_dir1 : w.lab_bytes_dir2, area);
  }
}

void MainWindow::build_drop_boxes(QWidget* area) {
  WindowModel& w = tz_.window();
  struct Drop {
    Control& caption;
    int number;
    QStyle::StandardPixmap icon;
  };
  const Drop drops[] = {{w.lab_drop_to_see, 1, QStyle::SP_FileIcon},
                        {w.lab_drop_to_delete, 2, QStyle::SP_TrashIcon}};
  for (const Drop& drop : drops) {
    QLabel* label = add_label(drop.caption, area);
    auto* text = new QLineEdit(area);
    text->setReadOnly(true);
    set_control_name(text, pane_name("Text", drop.number));
    name_after_label(text, label, drop.caption);
    auto* picture = new QLabel(area);
    set_control_name(picture, pane_name("Picture", drop.number));
    picture->setPixmap(style()->standardIcon(drop.icon).pixmap(32, 32));
    picture->setAlignment(Qt::AlignCenter);
  }
  add_label(w.Label5, area);
}

void MainWindow::build_lists(QWidget* area) {
  WindowModel& w = tz_.window();
  for (ListId id : all_lists) {
    Control& caption = w.list_caption(id);
    QLabel* label = add_label(caption, area);
    auto* view = new FileListView(w.list(id), area);
    set_control_name(view, pane_name("List", list_number(id)));
    name_after_label(view, label, caption);
  }
  for (ListId id : aligned_by_button) {
    QPushButton* button = add_button(w.align_button(id), area);
    name_with_list(button, w.align_button(id), w.list_caption(id));
  }
  QPushButton* next = add_button(w.b_next_alignment, area);
  connect(next, &QPushButton::clicked, this, [this] { tz_.tree().b_next_alignment_Click(); });
  new PointerMoves(*next, [this] { tz_.comparison().set_default_comment(); });

  new HistoryView(tz_, area);

  QLabel* hint = add_label(w.lab_drag_drop, area);
  hint->setWordWrap(true);
}

void MainWindow::build_buttons(QWidget* area) {
  WindowModel& w = tz_.window();
  auto* frame = new QFrame(area);
  set_control_name(frame, QStringLiteral("Frame_bottoni"));
  frame->setFrameShape(QFrame::StyledPanel);

  connect(add_button(w.bot_compare_tree, frame), &QPushButton::clicked, this,
          [this] { tz_.tree().bot_compare_tree_Click(); });
  connect(add_button(w.bot_compare, frame), &QPushButton::clicked, this,
          [this] { tz_.comparison().bot_compare_Click(); });
  add_button(w.bot_delete, frame);
  add_button(w.bot_cancel, frame);
  connect(add_button(w.bot_exit, frame), &QPushButton::clicked, this, &QWidget::close);
}

void MainWindow::set_tab_order() {
  // As the window reads: band after band, each band's columns from left to right and a
  // column from top to bottom (a list, then its align button).
  static const char* const order[] = {
      // the selectors and the drop boxes
      "Drive1", "Dir1", "Text1", "b_next_alignment", "Text2", "Drive2", "Dir2",
      // the lists
      "List1", "bot_list1", "List3", "bot_list3", "List5", "List4", "bot_list4", "List2",
      "bot_list2",
      // the button frame, then the history that covers the window
      "bot_compare_tree", "bot_compare", "bot_delete", "bot_cancel", "bot_exit", "history"};
  QWidget* previous = nullptr;
  for (const char* name : order) {
    QWidget* next = control(QString::fromLatin1(name));
    if (previous != nullptr && next != nullptr) setTabOrder(previous, next);
    if (next != nullptr) previous = next;
  }
}

void MainWindow::build_menus() {
  WindowModel& w = tz_.window();

  QMenu* file = add_menu(w.m_file);
  menuBar()->addMenu(file);
  QAction* refresh = add_entry(w.m_refresh, file);
  refresh->setShortcut(QKeySequence(Qt::Key_F5));
  connect(refresh, &QAction::triggered, this, [this] { tz_.panes().m_refresh_Click(); });
  QAction* skip = new QAction(this);
  skip->setCheckable(true);
  bind_action(w.m_skip_delete_confirmations, skip);
  file->addAction(skip);
  connect(add_entry(w.exit, file), &QAction::triggered, this, &QWidget::close);

  connect(add_entry(w.m_history, nullptr), &QAction::triggered, this,
          [this] { tz_.history().m_history_Click(); });
  connect(add_entry(w.m_close, nullptr), &QAction::triggered, this,
          [this] { tz_.history().m_close_Click(); });
  connect(add_entry(w.m_select, nullptr), &QAction::triggered, this,
          [this] { tz_.history().m_select_Click(); });
  connect(add_entry(w.m_delete, nullptr), &QAction::triggered, this,
          [this] { tz_.history().m_delete_Click(); });
  connect(add_entry(w.m_clear_all, nullptr), &QAction::triggered, this,
          [this] { tz_.history().m_clear_all_Click(); });
  connect(add_entry(w.m_tree, nullptr), &QAction::triggered, this,
          [this] { tz_.tree().m_tree_Click(); });

  QMenu* help = add_menu(w.m_help);
  menuBar()->addMenu(help);
  for (Control* entry :
       {&w.m_comman_line, &w.m_directory_flags, &w.m_version_history, &w.m_web_site, &w.m_about})
    add_entry(*entry, help);

  // Context menus: opened at the pointer over a list or a directory box.
  QMenu* popup = add_menu(w.m_popup);
  for (Control* entry : {&w.m_select_all, &w.m_delete_all_files, &w.m_delete_selected_files})
    add_entry(*entry, popup);
  QMenu* popup_dir = add_menu(w.m_popup_dir);
  for (Control* entry : {&w.m_rename_dir, &w.m_delete_dir, &w.m_create_dir})
    add_entry(*entry, popup_dir);
}

}  // namespace tz
