// The report's escaping: an escaped name is one field on one line (no TAB, line end or
// control character is left), and reading its escapes back gives the exact bytes.
#include "app/report.h"
#include "fuzz_check.h"

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What `printf '%b'` makes of the escapes the report writes.
QByteArray unescaped(const QByteArray& text) {
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    tz::fuzz::check(i + 1 < text.size(), "no lone backslash at the end");
    const char kind = text[++i];
    if (kind == 't') {
      out += '\t';
    } else if (kind == 'n') {
      out += '\n';
    } else if (kind == 'r') {
      out += '\r';
    } else if (kind == '\\') {
      out += '\\';
    } else {
      tz::fuzz::check(kind == 'x' && i + 2 < text.size(), "a known escape");
      const int high = hex_value(text.at(i + 1)), low = hex_value(text.at(i + 2));
      tz::fuzz::check(high >= 0 && low >= 0, "two hex digits");
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tz::fuzz::check;
  const QByteArray name = tz::fuzz::bytes_of(data, size);
  const QByteArray escaped = tz::escaped_name(name);
  for (const char c : escaped) {
    const auto byte = static_cast<unsigned char>(c);
    check(byte >= 0x20 && byte != 0x7F, "no control character left");
  }
  check(QString::fromUtf8(escaped).toUtf8() == escaped, "valid UTF-8");
  check(unescaped(escaped) == name, "escapes read back give the exact bytes");
  return 0;
}
