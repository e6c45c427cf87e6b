// Writes the sample FRF files of tests/data (described in tests/data/README.md):
//   make_frf_samples <directory>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/frf_builder.h"

namespace {

using namespace testing_support;

FrfPage SampleV6() {
  FrfPage page = TwoBlockPage(6);
  page.names = true;
  page.name1 = u"Book";
  page.name2 = u"Page 1";
  page.imageName = u"page0001.tif";
  // The second block ends its head with the 8-byte filler.
  std::get<TextFrame>(page.frames[0]).body.blocks[1].v6Head = V6HeadForm::kFiller;
  return page;
}

FrfPage SampleV10() {
  FrfPage page = TwoBlockPage(10);
  page.flagC = 2;
  page.flagD = 1;
  page.v10CountG = 2;
  return page;
}

bool WriteSample(const std::string& directory, const std::string& name, const FrfPage& page) {
  BuiltFile built = Build(page);
  std::string path = directory + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(built.bytes.data()),
            static_cast<std::streamsize>(built.bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_frf_samples: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s: %zu bytes\n", path.c_str(), built.bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_frf_samples <directory>\n");
    return 1;
  }
  std::string directory = argv[1];
  bool ok = WriteSample(directory, "sample-v6.frf", SampleV6()) &&
            WriteSample(directory, "sample-v10.frf", SampleV10()) &&
            WriteSample(directory, "sample-frames-v6.frf", FramesPage(6)) &&
            WriteSample(directory, "sample-frames-v10.frf", FramesPage(10));
  return ok ? 0 : 1;
}
