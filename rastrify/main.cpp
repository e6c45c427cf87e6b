#include "rastrify/decoder_invocation.h"

int main(int argc, char** argv) {
  return RastrifyMain(argc, argv);
}
