#pragma once

#include <array>
#include <optional>
#include <stdexcept>

namespace tz {

// The five lists: List1 "only in dir 1", List2 "only in dir 2", List3 "newer in dir 1",
// List4 "newer in dir 2", List5 "aligned".
enum class ListId { List1 = 1, List2, List3, List4, List5 };

inline constexpr std::array<ListId, 5> all_lists{ListId::List1, ListId::List2, ListId::List3,
                                                 ListId::List4, ListId::List5};

// The lists under which an "align these files" button stands.
inline constexpr std::array<ListId, 4> aligned_by_button{ListId::List1, ListId::List2,
                                                         ListId::List3, ListId::List4};

// The list numbered `n` (1 to 5) as the window names it; nothing for any other number.
inline std::optional<ListId> list_id(int n) {
  if (n < 1 || n > 5) return std::nullopt;
  return static_cast<ListId>(n);
}

inline int list_number(ListId id) {
  return static_cast<int>(id);
}

// A list value that names none of the five: a programming error, never a default that
// could pick a list (and delete its files) by accident.
[[noreturn]] inline void no_such_list() {
  throw std::logic_error("no such list");
}

}  // namespace tz
