#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: the input as text, and a check that ends the run with a
// crash report (and so fails it) when a promise does not hold.
namespace tz::fuzz {

inline QByteArray bytes_of(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline QString text_of(const uint8_t* data, size_t size) {
  return QString::fromUtf8(bytes_of(data, size));
}

inline void check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

}  // namespace tz::fuzz
