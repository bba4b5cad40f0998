// Makes COUNT files in DIR whose lengths are spread evenly between MIN and MAX bytes, of
// data that does not compress, all with one time in the past: the files a bulk alignment
// or a deletion is measured on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: make_bench_files DIR COUNT MIN MAX\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  const long count = std::atol(argv[2]), least = std::atol(argv[3]), most = std::atol(argv[4]);
  if (count < 1 || least < 0 || most < least) return 2;
  ::mkdir(dir.c_str(), 0755);
  std::mt19937_64 random(7);
  std::vector<char> data(static_cast<size_t>(most));
  for (char& c : data) c = static_cast<char>(random());
  const time_t t0 = 1700000000;
  char name[64];
  for (long i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "/file%07ld.dat", i);
    const long length = least + (count > 1 ? (most - least) * i / (count - 1) : 0);
    const int fd = ::open((dir + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return 1;
    // Each file its own: the data starts at another place for each.
    const size_t from = static_cast<size_t>(i * 4099) % (data.size() - length + 1);
    const bool ok = ::write(fd, data.data() + from, static_cast<size_t>(length)) == length;
    const struct timespec times[2] = {{t0, 0}, {t0, 0}};
    ::futimens(fd, times);
    if (::close(fd) != 0 || !ok) return 1;
  }
  return 0;
}
