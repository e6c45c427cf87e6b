#include "ocrsift/driver/run_options.h"

int main(int argc, char** argv) {
  return OcrsiftMain(argc, argv);
}
