#pragma once

#include <sys/types.h>

// Faults injected into the host's own calls, for the tests of this folder only: the
// calls below are defined again in this test program, which passes them on to the C
// library unless a fault is armed.
namespace tz::test::faults {

enum class Stage {
  none,
  open_source,  // opening the file named `name` for reading fails (EIO)
  create_temp,  // creating a copy's temporary file fails (ENOSPC)
  data,         // the data stops going in after `bytes` bytes: the disk is full (ENOSPC)
  flush,        // the first flush to the medium fails (EIO)
  rename,       // giving the temporary file its final name fails (EIO)
};

// Arms one fault until disarm(). `name` is the source's name for open_source.
void arm(Stage stage, const char* name = nullptr, off_t bytes = 0);
void disarm();
// The armed fault happened.
bool fired();

}  // namespace tz::test::faults
