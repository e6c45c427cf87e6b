#include "rastrify/rastrify_main.h"

int main(int argc, char** argv) {
  return RastrifyMain(argc, argv);
}
