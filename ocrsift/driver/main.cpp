#include "ocrsift/driver/ocrsift_main.h"

int main(int argc, char** argv) {
  return OcrsiftMain(argc, argv);
}
