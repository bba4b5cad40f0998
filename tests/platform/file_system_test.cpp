#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tz {
namespace {

TEST(FileTimes, SecondsApartIsTheTrueDistanceEvenAtTheExtremes) {
  constexpr qint64 max = std::numeric_limits<qint64>::max();
  constexpr qint64 min = std::numeric_limits<qint64>::min();
  EXPECT_EQ(seconds_apart(7, 7), 0u);
  EXPECT_EQ(seconds_apart(-3, 5), 8u);
  EXPECT_EQ(seconds_apart(5, -3), 8u);
  EXPECT_EQ(seconds_apart(max, min), UINT64_C(18446744073709551615));
  EXPECT_EQ(seconds_apart(min, max), UINT64_C(18446744073709551615));
  EXPECT_EQ(seconds_apart(min, 0), UINT64_C(9223372036854775808));
  EXPECT_EQ(seconds_apart(0, min), UINT64_C(9223372036854775808));
  EXPECT_EQ(seconds_apart(max, -1), UINT64_C(9223372036854775808));
  EXPECT_EQ(seconds_apart(min, min), 0u);
}

TEST(DisplayName, ShowsValidUtf8AsItIsAndEveryUnreadableByteEscaped) {
  EXPECT_EQ(display_name(QByteArray("caf\xC3\xA9 \\x.txt")), QStringLiteral("café \\x.txt"));
  EXPECT_EQ(display_name(QByteArray("\xF0\x9F\x98\x80")), QString::fromUcs4(U"\U0001F600", 1));
  EXPECT_EQ(display_name(QByteArray("caf\xE9.txt")), QStringLiteral("caf\\xE9.txt"));
  // Readable sequences around a bad byte are still read.
  EXPECT_EQ(display_name(QByteArray("\xC3\xA9\xff\xC3\xA9")), QStringLiteral("é\\xFFé"));
  EXPECT_EQ(display_name(QByteArray("\xE2\x28\xA1")), QStringLiteral("\\xE2(\\xA1"));
  // A sequence cut short, an overlong form, a surrogate and a code point past U+10FFFF.
  EXPECT_EQ(display_name(QByteArray("a\xE2\x82")), QStringLiteral("a\\xE2\\x82"));
  EXPECT_EQ(display_name(QByteArray("\xC0\xAF")), QStringLiteral("\\xC0\\xAF"));
  EXPECT_EQ(display_name(QByteArray("\xED\xA0\x80")), QStringLiteral("\\xED\\xA0\\x80"));
  EXPECT_EQ(display_name(QByteArray("\xF4\x90\x80\x80")), QStringLiteral("\\xF4\\x90\\x80\\x80"));
}

}  // namespace
}  // namespace tz
