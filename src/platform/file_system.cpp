#include "platform/file_system.h"

namespace tz {

namespace {

bool continuation(uchar byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

int utf8_sequence(const uchar* at, qsizetype left, char32_t& code) {
  const uchar lead = at[0];
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  int length;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (left < length) return 0;
  for (int i = 1; i < length; ++i) {
    if (!continuation(at[i])) return 0;
    code = (code << 6) | (at[i] & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

namespace {

// Every byte of `name` part of a well-formed sequence. Checked without converting:
// this runs for every name a listing returns.
bool valid_utf8(const QByteArray& name) {
  const auto* bytes = reinterpret_cast<const uchar*>(name.constData());
  for (qsizetype i = 0; i < name.size();) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    char32_t code = 0;
    const int length = utf8_sequence(bytes + i, name.size() - i, code);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace

quint64 seconds_apart(FileTime a, FileTime b) {
  // In unsigned arithmetic the difference wraps to the true distance, which always
  // fits in 64 bits.
  const auto first = static_cast<quint64>(a);
  const auto second = static_cast<quint64>(b);
  return a >= b ? first - second : second - first;
}

QString display_name(const QByteArray& name) {
  if (valid_utf8(name)) return QString::fromUtf8(name);  // the usual case

  static constexpr char hex[] = "0123456789ABCDEF";
  QString shown;
  shown.reserve(name.size() * 2);
  const auto* bytes = reinterpret_cast<const uchar*>(name.constData());
  for (qsizetype i = 0; i < name.size();) {
    char32_t code = 0;
    const int length = utf8_sequence(bytes + i, name.size() - i, code);
    if (length > 0) {
      shown += QString::fromUcs4(&code, 1);
      i += length;
    } else {
      shown += QLatin1String("\\x");
      shown += QLatin1Char(hex[bytes[i] >> 4]);
      shown += QLatin1Char(hex[bytes[i] & 0x0F]);
      ++i;
    }
  }
  return shown;
}

}  // namespace tz
