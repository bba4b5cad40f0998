#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace tz {

// Exact on-disk names one after another in one block, each found by where it ends: a
// directory of 100,000 files costs their bytes and an offset each, not an allocation each.
class PackedNames {
 public:
  void append(QByteArrayView name) {
    all_.append(name);
    ends_.push_back(all_.size());
  }
  void reserve(size_t count) { ends_.reserve(count); }
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  QByteArrayView at(size_t i) const {
    const qsizetype begin = i == 0 ? 0 : ends_[i - 1];
    return QByteArrayView(all_.constData() + begin, ends_[i] - begin);
  }
  // The name as an entry holds it.
  QByteArray name(size_t i) const { return at(i).toByteArray(); }

 private:
  QByteArray all_;
  std::vector<qsizetype> ends_;
};

}  // namespace tz
