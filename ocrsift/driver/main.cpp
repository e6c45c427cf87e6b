#include <cerrno>
#include <cstdio>

#include "common/platform/platform.h"
#include "ocrsift/driver/ocrsift_main.h"
#include "ocrsift/driver/run_batch.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  const int result = OcrsiftMain(argc, argv);
  // The last bytes may leave only now, and a file system may report its failure only here.
  errno = 0;
  if (std::fclose(stdout) != 0 && result == 0) {
    ReportOutputFailure(errno);
    return 2;
  }
  return result;
}
