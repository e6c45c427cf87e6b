#include "ocrsift/page/page_recorder.h"

#include <algorithm>
#include <cassert>
#include <utility>

PageRecorder::PageRecorder(RecordedPageReceiver& receiver, const RecorderSettings& settings)
    : receiver_(receiver),
      joinHyphenated_(settings.joinHyphenated),
      keepUnitBoxes_(settings.keepUnitBoxes),
      words_(settings.joinHyphenated, settings.keepUnitBoxes) {}

void PageRecorder::DescribePage(const UnitText& imageName, int32_t resolution) {
  nextImageName_ = imageName;
  nextResolution_ = resolution;
}

void PageRecorder::BeginPage(int32_t page, int32_t width, int32_t height) {
  page_.Clear();
  page_.number = page;
  page_.width = width;
  page_.height = height;
  page_.imageName.swap(nextImageName_);
  page_.resolution = nextResolution_;
  page_.fileTime = nextFileTime_;
  nextImageName_.clear();
  nextResolution_ = 0;
  pageOpen_ = true;
  area_ = -1;
  brokenWord_ = -1;
}

void PageRecorder::HandOn(bool complete) {
  if (pageOpen_)
    receiver_.ReceivePage(page_, complete);
  pageOpen_ = false;
  brokenWord_ = -1;
}

PageRecorder::~PageRecorder() {
  // A page still waiting would be lost from the document.
  assert(!waiting_ && "PageRecorder::Finish was not called at the end of the run");
}

void PageRecorder::ReleaseWaiting(bool nextComplete) {
  if (!waiting_)
    return;
  // The formats other than the script leave a failed page out: the word that completes the
  // first part is in no document with it.
  if (!nextComplete)
    waitingPage_.completion.clear();
  waiting_ = false;
  receiver_.ReceivePage(waitingPage_, true);
}

void PageRecorder::Finish() {
  ReleaseWaiting(false);
}

void PageRecorder::EndPage() {
  if (pageOpen_) {
    ReleaseWaiting(true);
    // Without joins no word completes another: nothing to wait for.
    const bool endsInFirstPart = joinHyphenated_ && brokenWord_ >= 0 &&
                                 static_cast<size_t>(brokenWord_) + 1 == page_.words.size();
    if (endsInFirstPart) {
      // The arrays trade places, so both pages keep their room.
      std::swap(waitingPage_, page_);
      waiting_ = true;
      pageOpen_ = false;
      brokenWord_ = -1;
      return;
    }
  }
  HandOn(true);
}

// A broken word's first part read before the failure still waits for the word that completes
// it, in every format as in the script: a file that fails before its page begins writes
// nothing, and the pages around it join as if it were not there.
void PageRecorder::FailPage() {
  if (pageOpen_)
    ReleaseWaiting(false);
  HandOn(false);
}

void PageRecorder::BeginArea(const AreaNames& names) {
  if (!pageOpen_)
    return;
  area_ = static_cast<int32_t>(page_.areas.size());
  page_.areas.push_back(names);
}

void PageRecorder::EndArea() {
  area_ = -1;
}

void PageRecorder::SetText(const uint16_t* codes, int32_t count) {
  words_.SetText(codes, count);
  if (!pageOpen_)
    return;
  RecordedBlock block;
  block.area = area_;
  block.firstLine = static_cast<int32_t>(page_.lines.size());
  page_.blocks.push_back(block);
}

void PageRecorder::ResetBoxes(int32_t count) {
  words_.ResetBoxes(count);
}

void PageRecorder::AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  words_.AddBox(left, top, right, bottom);
}

void PageRecorder::EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t count) {
  TextRect line{left, top, right, bottom};
  if (!words_.BeginLine(line, count))
    return;
  bool lineOpen = false;
  SplitWord word;
  while (words_.NextWord(word)) {
    // The words left out (a UTF-8 form of 500 bytes or more, or none at all) are left out of
    // every format: djvused would reject the script, and all formats hold the same words. A
    // line is recorded with its first written word, as djvused rejects a line without words.
    char utf8[LineWordSplitter::kWordCapacity];
    const int32_t size = LineWordSplitter::WrittenForm(word, utf8);
    if (size == 0) {
      if (word.broken || word.carried != 0)
        brokenWord_ = -1;
      continue;
    }
    if (!pageOpen_ || page_.blocks.empty())
      continue;
    if (!lineOpen) {
      RecordedLine recorded;
      recorded.rect = KeepInPage(line, page_.width, page_.height);
      recorded.firstWord = static_cast<int32_t>(page_.words.size());
      page_.lines.push_back(recorded);
      ++page_.blocks.back().lineCount;
      lineOpen = true;
    }
    ++page_.lines.back().wordCount;
    Record(word, utf8, size);
  }
}

void PageRecorder::Record(const SplitWord& word, const char* utf8, int32_t utf8Size) {
  // The UTF-8 form ends at a U+0000 inside the word; so do the units the formats write.
  const int32_t length =
      static_cast<int32_t>(std::find(word.units, word.units + word.length, 0) - word.units);
  RecordedWord recorded;
  recorded.firstUnit = static_cast<int32_t>(page_.units.size());
  recorded.length = length;
  // A word that completes a broken one but has no text of its own (it begins with U+0000)
  // completes nothing: it is the first part alone.
  const bool joined = word.carried != 0 && word.carried < length;
  recorded.carried = joined ? word.carried : 0;
  recorded.broken = word.broken && length == word.length;
  recorded.rect = PlaceWordInPage(word.rect, page_.width, page_.height);
  recorded.utf8Offset = static_cast<int32_t>(page_.utf8.size());
  recorded.utf8Size = utf8Size;
  page_.units.insert(page_.units.end(), word.units, word.units + length);
  if (keepUnitBoxes_)
    page_.boxes.insert(page_.boxes.end(), word.boxes, word.boxes + length);
  page_.utf8.append(utf8, static_cast<size_t>(utf8Size));

  const int32_t index = static_cast<int32_t>(page_.words.size());
  if (index == 0 && joined && waiting_) {
    // The first part is the waiting page's last word.
    waitingPage_.completion.assign(word.units, word.units + length);
    page_.completesPrevious = true;
  }
  if (word.carried != 0) {
    if (joined && brokenWord_ >= 0) {
      recorded.partner = brokenWord_;
      page_.words[static_cast<size_t>(brokenWord_)].partner = index;
    }
    brokenWord_ = -1;
  }
  if (word.broken)
    brokenWord_ = recorded.broken ? index : -1;
  page_.words.push_back(recorded);
}
