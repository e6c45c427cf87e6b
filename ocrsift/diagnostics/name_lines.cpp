#include "ocrsift/diagnostics/name_lines.h"

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/run_options.h"

namespace {

// The channels a name line can reach: standard output and standard error.
struct NamedChannel {
  FILE* channel = nullptr;
  std::string path;
};
NamedChannel gNamed[2];
// The file whose -q name line was written: that line is the format test's own and counts
// apart from the others.
std::string gQuietNamed;
bool gQuietLineWritten = false;

NamedChannel* SlotOf(FILE* channel) {
  for (NamedChannel& named : gNamed) {
    if (named.channel == channel)
      return &named;
  }
  return nullptr;
}

}  // namespace

void ForgetNameLines() {
  for (NamedChannel& named : gNamed)
    named = NamedChannel{};
  gQuietLineWritten = false;
}

void NoteNameLine(FILE* channel, const std::string& path) {
  if (channel == nullptr)
    return;
  NamedChannel* slot = SlotOf(channel);
  if (slot == nullptr)
    slot = SlotOf(nullptr);
  // More than two channels would need a larger table; forgetting one only repeats a name.
  if (slot == nullptr)
    slot = &gNamed[0];
  slot->channel = channel;
  slot->path = path;
}

void NameFileBeforeReport(const std::string& path) {
  FILE* channel = gRunOptions.ErrorStream;
  if (gRunOptions.Quiet) {
    if (gQuietLineWritten && gQuietNamed == path)
      return;
    ReportError("\n** File \"%s\"...", path.c_str());
    gQuietNamed = path;
    gQuietLineWritten = true;
  } else {
    const NamedChannel* slot = SlotOf(channel);
    if (channel == nullptr || (slot != nullptr && slot->path == path))
      return;
    ReportError("\n** File \"%s\"", path.c_str());
  }
  NoteNameLine(channel, path);
}
