#pragma once

#include <QObject>
#include <QString>

namespace tz {

// The state of one named control or menu entry that the logic reads and writes: its
// caption, visibility, enabled state and check mark. The window mirrors it.
class Control : public QObject {
  Q_OBJECT

 public:
  Control(const QString& name, const QString& caption, QObject* parent = nullptr);

  const QString& name() const { return name_; }
  const QString& caption() const { return caption_; }
  bool visible() const { return visible_; }
  bool enabled() const { return enabled_; }
  bool checked() const { return checked_; }

  void set_caption(const QString& caption);
  void set_visible(bool visible);
  void set_enabled(bool enabled);
  void set_checked(bool checked);

 signals:
  void changed();

 private:
  QString name_;
  QString caption_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
};

}  // namespace tz
