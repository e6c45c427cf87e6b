#include "rastrify/decoder_invocation.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/platform/platform.h"
#include "rastrify/export_settings.h"

namespace {

std::string gModuleDirectory;

// The page number as "%04d" writes it: at least four digits, a minus sign before them.
std::string PageDigits(int32_t page) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(page));
  return digits;
}

}  // namespace

const std::string& ModuleDirectory() {
  // The platform layer already drops the trailing separator (a drive's root gives "C:").
  if (gModuleDirectory.empty())
    gModuleDirectory = platform::ExecutableDirectory();
  return gModuleDirectory;
}

void ResetModuleDirectory() {
  gModuleDirectory.clear();
}

std::string DecoderRelativeName() {
  return std::string("decoder") + platform::DirSeparator() + "DjVuDecode.exe";
}

std::string DecoderPath() {
  return ModuleDirectory() + platform::DirSeparator() + DecoderRelativeName();
}

DecoderArguments DecoderArgumentsForPage(int32_t page) {
  const ExportSettings& s = gExportSettings;
  DecoderArguments args;
  args.text = "--layer=all --page-range=" + std::to_string(page) + " ";
  args.text += std::string("--output-format=") + s.Format + " ";
  if (s.ExtraArguments != nullptr) {
    args.text += " ";
    args.text += s.ExtraArguments;
  }
  // The names are never split: a blank in a folder's name stays part of it.
  args.names.push_back(s.DjvuFile);
  args.names.push_back(std::string(s.OutputTemplate) + PageDigits(page) + "." + s.Format);
  return args;
}

bool RunDecoder(const std::string& relativeName, const DecoderArguments& args) {
  const std::string& directory = ModuleDirectory();
  // Started by its path, never by the head of a command line: a blank in the folder rastrify
  // is installed in must not make another program ("C:\Program.exe") run in its place.
  const std::string program = directory + platform::DirSeparator() + relativeName;
  std::fflush(stdout);
  std::fflush(stderr);
  platform::ProgramResult result = platform::RunProgram(program, args.text, args.names, directory);
  if (!result.started) {
    std::fputs("\n*** Can't start DjVuDecode.EXE", stderr);
    std::fflush(stderr);
    return false;
  }
  if (result.exitCode == 0) {
    std::printf("\nProcessed page #%s", PageDigits(gExportSettings.CurrentPage).c_str());
    std::fflush(stdout);
    return true;
  }
  // Without a range list a refused page is how the document's end shows: no message then.
  if (gExportSettings.RangeText != nullptr) {
    std::fputs("\n*** Error in DjVuDecode.EXE", stderr);
    std::fflush(stderr);
  }
  return false;
}
