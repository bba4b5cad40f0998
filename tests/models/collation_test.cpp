#include "models/collation.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>
#include <random>

namespace tz::test {
namespace {

std::vector<QString> sorted(const std::vector<QString>& texts) {
  std::vector<QString> out;
  for (size_t i : collation::order(texts)) out.push_back(texts[i]);
  return out;
}

// order() gives compare()'s order exactly: a permutation whose neighbours compare below
// zero (compare() is zero only for equal texts).
void expect_order_agrees_with_compare(const std::vector<QString>& texts) {
  const std::vector<size_t> order = collation::order(texts);
  ASSERT_EQ(order.size(), texts.size());
  std::vector<bool> seen(texts.size());
  for (size_t i : order) {
    ASSERT_LT(i, texts.size());
    ASSERT_FALSE(seen[i]);
    seen[i] = true;
  }
  for (size_t k = 1; k < order.size(); ++k) {
    const QString& a = texts[order[k - 1]];
    const QString& b = texts[order[k]];
    if (a == b) continue;
    ASSERT_LT(collation::compare(a, b), 0) << qPrintable(a) << " | " << qPrintable(b);
    ASSERT_GT(collation::compare(b, a), 0) << qPrintable(a) << " | " << qPrintable(b);
  }
}

// Random texts from `alphabet`, up to 14 characters, some of them repeated.
std::vector<QString> random_texts(const QString& alphabet, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<QString> texts;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && random() % 20 == 0) {
      texts.push_back(texts[random() % texts.size()]);
      continue;
    }
    QString text;
    for (unsigned n = random() % 15; n > 0; --n)
      text.append(alphabet[static_cast<int>(random() % static_cast<unsigned>(alphabet.size()))]);
    texts.push_back(text);
  }
  return texts;
}

class CollationTest : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
  void TearDown() override { QLocale::setDefault(saved_); }

 private:
  const QLocale saved_;
};

TEST_F(CollationTest, SortsByLetterThenAccentThenCaseInTheLocalesOwnWay) {
  const struct {
    const char* locale;
    std::vector<QString> texts, sorted;
  } cases[] = {
      // Accented letters sort with their base letter, in the C locale too.
      {"en_US",
       {"zebra", "f", "École", "é", "ecole", "e", "E"},
       {"E", "e", "é", "ecole", "École", "f", "zebra"}},
      {"C", {"z", "é", "f", "e"}, {"e", "é", "f", "z"}},
      // Letter case is ignored and only orders twins.
      {"en_US",
       {"cherry", "Banana", "apple", "Ab", "aa"},
       {"aa", "Ab", "apple", "Banana", "cherry"}},
      {"en_US",
       {"readme", "README", "read", "Readme", "B", "a", "b", "A"},
       {"A", "a", "B", "b", "read", "README", "Readme", "readme"}},
      // Digits and punctuation are ordinary characters.
      {"en_US",
       {"file9.txt", "file10.txt", "ab", "a-c", "a b", "a1"},
       {"a b", "a-c", "a1", "ab", "file10.txt", "file9.txt"}},
      // Locales where letter pairs or accent-like letters make ASCII text order
      // differently from character by character.
      {"cs_CZ", {"chata", "hrad", "cihla"}, {"cihla", "hrad", "chata"}},
      {"lt_LT", {"ic", "yb"}, {"yb", "ic"}},
      {"en_US", {"ic", "yb", "hrad", "chata"}, {"chata", "hrad", "ic", "yb"}},
  };
  for (const auto& c : cases) {
    QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(sorted(c.texts), c.sorted) << c.locale;
  }
}

TEST_F(CollationTest, OrderAgreesWithCompare) {
  QString ascii;  // every printable character
  for (char16_t c = 0x20; c <= 0x7E; ++c) ascii.append(QChar(c));
  const QString mixed = ascii + ascii + QStringLiteral("éèêÉàÅåæÆøßçñőŁłαβΩдЖя中文日本한") +
                        QChar(0x0301) + QChar('\t') + QChar(0x01);
  for (const char* locale : {"en_US", "sv_SE", "fr_CA", "cs_CZ", "lt_LT", "da_DK", "C"}) {
    SCOPED_TRACE(locale);
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    expect_order_agrees_with_compare(random_texts(mixed, 3000, 1));
    expect_order_agrees_with_compare(random_texts(ascii, 3000, 2));
    expect_order_agrees_with_compare(random_texts(QStringLiteral("aAbBcChHyYiI- ."), 2000, 3));
  }
  // Names of one folder share their start and often much more; the rest orders them.
  std::vector<QString> names;
  for (const QString& text : random_texts(QStringLiteral("aAb-"), 2000, 4))
    names.push_back(QStringLiteral("Report 2023-04") + text);
  expect_order_agrees_with_compare(names);
}

}  // namespace
}  // namespace tz::test
