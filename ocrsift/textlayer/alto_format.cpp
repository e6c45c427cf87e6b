// ALTO 4: one document with a Page per page, a TextBlock per text block (table cells
// included), TextLine, and String elements with SP between them; a word broken at a line end
// is a HypPart1 String with the hyphen as HYP, and the word that completes it a HypPart2
// String, both with the joined word as SUBS_CONTENT, so that a search finds the whole word
// and the printed parts stay. The fonts the text areas name become TextStyles.
//
// The styles and the source image come before the layout in the document, and are known only
// once every page has been read: the layout goes to a temporary file page by page, so memory
// stays that of one page, and follows them at the end of the run.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ocrsift/textlayer/document_formats.h"
#include "ocrsift/textlayer/language_tags.h"
#include "ocrsift/textlayer/xml_text.h"

namespace {

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<alto xmlns=\"http://www.loc.gov/standards/alto/ns-v4#\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.loc.gov/standards/alto/ns-v4#"
    " http://www.loc.gov/alto/v4/alto-4-4.xsd\">\n"
    " <Description>\n"
    "  <MeasurementUnit>pixel</MeasurementUnit>\n";

const char kProcessing[] =
    "  <OCRProcessing ID=\"ocr_1\">\n"
    "   <ocrProcessingStep>\n"
    "    <processingSoftware>\n"
    "     <softwareName>ocrsift</softwareName>\n"
    "     <softwareVersion>" OCRSIFT_VERSION
    "</softwareVersion>\n"
    "    </processingSoftware>\n"
    "   </ocrProcessingStep>\n"
    "  </OCRProcessing>\n"
    " </Description>\n";

class AltoFormat : public PageFormat {
 public:
  explicit AltoFormat(DocumentOutput& output)
      : output_(output), layoutFile_(std::tmpfile()), layout_(layoutFile_) {
    if (layoutFile_ == nullptr)
      output_.RecordFailure(errno);
  }
  ~AltoFormat() override {
    if (layoutFile_ != nullptr)
      std::fclose(layoutFile_);
  }
  AltoFormat(const AltoFormat&) = delete;
  AltoFormat& operator=(const AltoFormat&) = delete;

  void WritePage(const RecordedPage& page) override;
  void EndDocument() override;

 private:
  void AppendPosition(const TextRect& rect) {
    const TextRect r = Ordered(rect);
    AppendAttribute(" HPOS=\"", r.left);
    AppendAttribute(" VPOS=\"", r.top);
    AppendAttribute(" WIDTH=\"", r.right - r.left);
    AppendAttribute(" HEIGHT=\"", r.bottom - r.top);
  }
  void AppendAttribute(const char* name, int32_t value) {
    text_ += name;
    AppendDecimal(text_, value);
    text_ += '"';
  }
  // ID="<kind>_<page>_<n>", unique in the document also when two files give the same page
  // number.
  void AppendId(const char* kind, int32_t n) {
    text_ += " ID=\"";
    text_ += kind;
    text_ += '_';
    AppendDecimal(text_, pageSequence_);
    if (n > 0) {
      text_ += '_';
      AppendDecimal(text_, n);
    }
    text_ += '"';
  }
  // The STYLEREFS of an area's fonts, each font given its TextStyle on first use.
  std::string StyleRefs(const AreaNames& names);
  void AppendString(const RecordedPage& page, const RecordedWord& word, bool lastInLine, int32_t n);

  DocumentOutput& output_;
  FILE* layoutFile_;
  DocumentOutput layout_;
  std::string text_;  // the page being composed; its room serves every page
  int32_t pageSequence_ = 0;
  std::string imageName_;  // of the first page that names its image
  std::map<std::string, int32_t> fontIds_;
  std::vector<const std::string*> fonts_;  // in the order of their IDs
};

std::string AltoFormat::StyleRefs(const AreaNames& names) {
  std::vector<int32_t> ids;
  std::string refs;
  for (const std::string& font : names.fonts) {
    auto found = fontIds_.find(font);
    if (found == fontIds_.end()) {
      found = fontIds_.emplace(font, static_cast<int32_t>(fonts_.size()) + 1).first;
      fonts_.push_back(&found->first);
    }
    // IDREFS may name a style once only.
    if (std::find(ids.begin(), ids.end(), found->second) != ids.end())
      continue;
    ids.push_back(found->second);
    if (!refs.empty())
      refs += ' ';
    refs += "font_";
    refs += std::to_string(found->second);
  }
  return refs;
}

void AltoFormat::AppendString(const RecordedPage& page, const RecordedWord& word, bool lastInLine,
                              int32_t n) {
  const uint16_t* units = page.units.data() + word.firstUnit;
  // A broken word ends in "- ": at the line's end the hyphen is the line's HYP, elsewhere
  // (HYP may only end a line) it stays in the content.
  int32_t contentEnd = word.length;
  if (word.broken)
    contentEnd -= lastInLine ? 2 : 1;
  text_ += "      <String";
  AppendId("string", n);
  AppendPosition(word.rect);
  text_ += " CONTENT=\"";
  AppendXmlUnits(text_, units + word.carried, contentEnd - word.carried);
  text_ += '"';
  if (word.carried > 0) {
    text_ += " SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"";
    AppendXmlUnits(text_, units, word.length);
    text_ += '"';
  } else if (word.broken && word.partner >= 0) {
    const RecordedWord& whole = page.words[static_cast<size_t>(word.partner)];
    text_ += " SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"";
    AppendXmlUnits(text_, page.units.data() + whole.firstUnit, whole.length);
    text_ += '"';
  }
  text_ += "/>\n";
  if (word.broken && lastInLine) {
    text_ += "      <HYP CONTENT=\"-\"/>\n";
  } else if (!lastInLine) {
    text_ += "      <SP/>\n";
  }
}

void AltoFormat::WritePage(const RecordedPage& page) {
  ++pageSequence_;
  if (imageName_.empty())
    imageName_ = page.imageName;
  text_.clear();
  text_ += "  <Page";
  AppendId("page", 0);
  AppendAttribute(" WIDTH=\"", page.width);
  AppendAttribute(" HEIGHT=\"", page.height);
  AppendAttribute(" PHYSICAL_IMG_NR=\"", page.number);
  text_ += ">\n   <PrintSpace";
  AppendPosition({0, 0, page.width, page.height});
  text_ += ">\n";

  int32_t blockCount = 0;
  int32_t lineCount = 0;
  int32_t wordCount = 0;
  int32_t styledArea = -2;
  std::string refs;
  const char* lang = nullptr;
  for (const RecordedBlock& block : page.blocks) {
    if (block.lineCount == 0)
      continue;
    if (block.area != styledArea) {
      styledArea = block.area;
      const AreaNames none;
      const AreaNames& names = block.area >= 0 ? page.areas[static_cast<size_t>(block.area)] : none;
      refs = StyleRefs(names);
      lang = LanguageTag(names.languages);
    }
    TextRect blockRect;
    for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l)
      Unite(blockRect, Ordered(page.lines[static_cast<size_t>(l)].rect), l == block.firstLine);
    text_ += "    <TextBlock";
    AppendId("block", ++blockCount);
    AppendPosition(blockRect);
    if (!refs.empty()) {
      text_ += " STYLEREFS=\"";
      text_ += refs;
      text_ += '"';
    }
    if (lang != nullptr) {
      text_ += " LANG=\"";
      text_ += lang;
      text_ += '"';
    }
    text_ += ">\n";
    for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
      const RecordedLine& line = page.lines[static_cast<size_t>(l)];
      text_ += "     <TextLine";
      AppendId("line", ++lineCount);
      AppendPosition(line.rect);
      text_ += ">\n";
      const int32_t end = line.firstWord + line.wordCount;
      for (int32_t w = line.firstWord; w < end; ++w)
        AppendString(page, page.words[static_cast<size_t>(w)], w + 1 == end, ++wordCount);
      text_ += "     </TextLine>\n";
    }
    text_ += "    </TextBlock>\n";
  }
  text_ += "   </PrintSpace>\n  </Page>\n";
  layout_.Write(text_.data(), text_.size());
}

void AltoFormat::EndDocument() {
  text_.assign(kHeader);
  if (!imageName_.empty()) {
    text_ += "  <sourceImageInformation>\n   <fileName>";
    AppendXmlUtf8(text_, imageName_);
    text_ += "</fileName>\n  </sourceImageInformation>\n";
  }
  text_ += kProcessing;
  if (!fonts_.empty()) {
    text_ += " <Styles>\n";
    for (size_t i = 0; i < fonts_.size(); ++i) {
      text_ += "  <TextStyle ID=\"font_";
      AppendDecimal(text_, static_cast<int32_t>(i + 1));
      text_ += "\" FONTFAMILY=\"";
      AppendXmlUtf8(text_, *fonts_[i]);
      text_ += "\"/>\n";
    }
    text_ += " </Styles>\n";
  }
  text_ += " <Layout>\n";
  output_.Write(text_.data(), text_.size());

  if (layoutFile_ != nullptr) {
    if (!layout_.Flush()) {
      output_.RecordFailure(layout_.Error());
    } else {
      std::rewind(layoutFile_);
      std::vector<char> block(size_t{1} << 16);
      size_t n;
      while ((n = std::fread(block.data(), 1, block.size(), layoutFile_)) > 0)
        output_.Write(block.data(), n);
      if (std::ferror(layoutFile_))
        output_.RecordFailure(errno);
    }
  }
  const char trailer[] = " </Layout>\n</alto>\n";
  output_.Write(trailer, sizeof trailer - 1);
}

}  // namespace

std::unique_ptr<PageFormat> MakeAltoFormat(DocumentOutput& output) {
  return std::make_unique<AltoFormat>(output);
}
