#pragma once

#include <functional>

namespace tz {

// Runs `here` on this thread and `beside` on a thread of the pool at the same time, and
// returns when both are done. With no pool thread free, `beside` runs here after `here`.
// What either throws is thrown once both are done, `here`'s first. The two must not
// touch the same data, nor anything of the window.
void both_at_once(const std::function<void()>& here, const std::function<void()>& beside);

// Starts `task` on a thread of the pool, queued until one is free; with `if_free`, only
// when one is free now (false, and nothing started, otherwise). The task sees all that
// this thread wrote before the call.
enum class Start { queued, if_free };
bool start_in_pool(std::function<void()> task, Start when = Start::queued);

}  // namespace tz
