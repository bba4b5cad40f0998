// Makes a directory pair for speed measurements: N files in dir 1, nine in ten of them
// in dir 2 (one in ten of those newer in dir 1), and one extra file in dir 2 for every
// thirteen.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

bool make_file(const std::string& path, int length, time_t mtime) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const std::string data(static_cast<size_t>(length), 'x');
  const bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
  struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ::futimens(fd, times);
  ::close(fd);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: make_pair DIR1 DIR2 COUNT\n", stderr);
    return 2;
  }
  const std::string dir1 = argv[1], dir2 = argv[2];
  const int count = std::atoi(argv[3]);
  ::mkdir(dir1.c_str(), 0755);
  ::mkdir(dir2.c_str(), 0755);
  const time_t t0 = 1700000000;
  char name[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "/file%06d.dat", i);
    if (!make_file(dir1 + name, i % 7, i % 10 == 1 ? t0 + 100 : t0)) return 1;
    if (i % 10 != 0 && !make_file(dir2 + name, i % 7, t0)) return 1;
    if (i % 13 == 0) {
      std::snprintf(name, sizeof name, "/Extra%06d.DAT", i);
      if (!make_file(dir2 + name, 1, t0)) return 1;
    }
  }
  return 0;
}
