#include "ui/list_drag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStringList>
#include <optional>

#include "align/bulk_align.h"
#include "align/deletion.h"
#include "align/opener.h"
#include "align/transfers.h"
#include "app/tenzor.h"
#include "compare/comparison.h"
#include "models/drop_rules.h"
#include "ui/file_list_view.h"
#include "ui/main_window.h"

namespace tz::ui {

namespace {

// The list a control's name stands for, if any.
std::optional<ListId> list_named(const QString& name) {
  for (ListId id : all_lists)
    if (name == QStringLiteral("List%1").arg(list_number(id))) return id;
  return std::nullopt;
}

// The controls that refuse a drop and show so while the dragged name is over them.
bool refuses_drop(const QString& name) {
  if (const std::optional<ListId> id = list_named(name)) return !takes_drops(*id);
  static const QStringList names = QStringLiteral(
                                       "bot_compare bot_delete bot_list1 bot_list2 bot_list3 "
                                       "bot_list4 Dir1 Dir2 Drive1 Drive2 form_tenzor form_area "
                                       "lab_dir1 lab_dir2 lab_drag_drop lab_drop_to_delete "
                                       "lab_drop_to_see lab_list1 lab_list2 lab_list3 lab_list4 "
                                       "lab_list5 Label5")
                                       .split(u' ');
  return names.contains(name);
}

}  // namespace

ListDrag::ListDrag(Tenzor& tz, MainWindow& window) : QObject(&window), tz_(tz), window_(window) {
  for (int n = 1; n <= 5; ++n) {
    auto* view = qobject_cast<FileListView*>(window_.control(QStringLiteral("List%1").arg(n)));
    lists_[static_cast<size_t>(n - 1)] = view;
    viewports_[static_cast<size_t>(n - 1)] = view->viewport();
    // Moves without a button show the file under the pointer.
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
  }
  text1_ = window_.control(QStringLiteral("Text1"));
  text2_ = window_.control(QStringLiteral("Text2"));
  for (QWidget* target : {text1_, text2_}) {
    target->setMouseTracking(true);
    target->installEventFilter(this);
  }
  // The icons drawn on the two targets are part of them: a drop on an icon counts.
  for (const char* picture : {"Picture1", "Picture2"})
    if (QWidget* icon = window_.control(QString::fromLatin1(picture)))
      icon->setAttribute(Qt::WA_TransparentForMouseEvents);
  label5_ = qobject_cast<QLabel*>(window_.control(QStringLiteral("Label5")));
  outline_ = new QFrame(label5_->parentWidget());
  outline_->setFrameShape(QFrame::Box);
  outline_->setAttribute(Qt::WA_TransparentForMouseEvents);
  outline_->hide();
}

ListDrag::~ListDrag() {
  show_no_drop(false);
}

int ListDrag::list_number(const QObject* viewport) const {
  // Compared, never followed: while the window is torn down some lists are gone.
  for (int n = 1; n <= 5; ++n)
    if (viewports_[static_cast<size_t>(n - 1)] == viewport) return n;
  return 0;
}

bool ListDrag::eventFilter(QObject* watched, QEvent* event) {
  if (forwarding_) return false;
  if (watched == text1_ || watched == text2_) {
    if (event->type() == QEvent::MouseMove) {
      if (watched == text1_)
        tz_.opener().Text1_MouseMove();
      else
        tz_.comparison().set_default_comment();
    }
    return false;
  }
  const int n = list_number(watched);
  return n != 0 && list_event(n, event);
}

bool ListDrag::list_event(int n, QEvent* event) {
  FileListView* view = lists_[static_cast<size_t>(n - 1)];
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* press = static_cast<QMouseEvent*>(event);
      if (press->button() == Qt::RightButton) {
        // The selection stays as it is: the menu's commands act on it.
        tz_.transfers().set_popup_list(*list_id(n));
        if (QMenu* popup = window_.menu(QStringLiteral("m_popup")))
          popup->popup(press->globalPosition().toPoint());
        return true;
      }
      if (drag_list_ == 0) start(n, *press);
      return false;
    }
    case QEvent::MouseMove: {
      auto* move = static_cast<QMouseEvent*>(event);
      if (drag_list_ == n) {
        // Swallowed, so that the list does not stretch its selection under the drag.
        drag_over(move->globalPosition().toPoint());
        return true;
      }
      if (drag_list_ == 0)
        tz_.transfers().list_mouse_move(*list_id(n),
                                        view->indexAt(move->position().toPoint()).row());
      return false;
    }
    case QEvent::MouseButtonRelease: {
      auto* release = static_cast<QMouseEvent*>(event);
      if (drag_list_ != n || release->button() != drag_button_) return false;
      finish(n, release);
      return true;
    }
    default:
      return false;
  }
}

void ListDrag::start(int n, const QMouseEvent& press) {
  FileListView* view = lists_[static_cast<size_t>(n - 1)];
  // Label5 becomes a row of the list's width, centred on the pointer.
  const int h = window_.fontMetrics().height();
  const int y = view->viewport()->mapTo(view, press.position().toPoint()).y();
  label5_->setGeometry(view->x(), view->y() + y - h / 2, view->width(), h);
  drag_list_ = n;
  drag_button_ = press.button();
  press_local_ = press.position().toPoint();
  press_global_ = press.globalPosition().toPoint();
  tz_.transfers().start_drag(*list_id(n));
}

void ListDrag::drag_over(const QPoint& global) {
  outline_->setGeometry(label5_->geometry().translated(global - press_global_));
  outline_->raise();
  outline_->show();
  show_no_drop(refuses_drop(control_at(global)));
}

void ListDrag::finish(int n, QMouseEvent* release) {
  drag_list_ = 0;
  drag_button_ = Qt::NoButton;
  outline_->hide();
  show_no_drop(false);
  const QString target = control_at(release->globalPosition().toPoint());

  // The list ends its own press first, whatever the drop then changes in it. Released
  // elsewhere, it ends as a click on the pressed entry: that entry alone stays selected,
  // as a press selects it in a list box.
  QWidget* viewport = lists_[static_cast<size_t>(n - 1)]->viewport();
  const bool over_self = target == QStringLiteral("List%1").arg(n);
  QMouseEvent at_press(QEvent::MouseButtonRelease, press_local_, press_global_, release->button(),
                       release->buttons(), release->modifiers());
  forwarding_ = true;
  QCoreApplication::sendEvent(viewport, over_self ? release : &at_press);
  forwarding_ = false;

  drop_on(target);
  if (n <= 4 && over_self) tz_.bulk_align().set_align_caption(*list_id(n));
}

void ListDrag::drop_on(const QString& target) {
  if (const std::optional<ListId> id = list_named(target)) {
    if (takes_drops(*id)) tz_.transfers().list_DragDrop(*id);
  } else if (target == u"Text2") {
    tz_.deletion().Text2_DragDrop();
  } else if (target == u"Text1") {
    tz_.opener().Text1_DragDrop();
  }
}

QString ListDrag::control_at(const QPoint& global) const {
  const QPoint local = window_.mapFromGlobal(global);
  if (!window_.rect().contains(local)) return {};
  QWidget* widget = window_.childAt(local);
  if (widget == nullptr) return window_.objectName();
  // Inner parts of a control (a list's viewport, a scroll bar) stand for the control.
  while (widget != nullptr &&
         (widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_")))
    widget = widget->parentWidget();
  return widget != nullptr ? widget->objectName() : window_.objectName();
}

void ListDrag::show_no_drop(bool no_drop) {
  if (no_drop == no_drop_shown_) return;
  if (no_drop)
    QGuiApplication::setOverrideCursor(QCursor(Qt::ForbiddenCursor));
  else
    QGuiApplication::restoreOverrideCursor();
  no_drop_shown_ = no_drop;
}

}  // namespace tz::ui
