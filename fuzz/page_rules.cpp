#include "fuzz/page_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "fuzz/xml_tree.h"

namespace fuzz_support {

namespace {

// How far outside its parent an outline may reach: rounding to whole pixels, and a little
// more, as OCR-D's validator allows.
constexpr double kSlack = 1.5;

struct Point {
  double x = 0;
  double y = 0;
};
using Polygon = std::vector<Point>;

std::string Describe(const XmlElement& element) {
  const std::string* id = element.Attribute("id");
  return element.LocalName() + (id != nullptr ? " " + *id : std::string());
}

// The points of a Coords or Baseline element; false (with a problem) when they are malformed
// or a coordinate is negative.
bool ReadPoints(const XmlElement& owner, const XmlElement* element, Polygon& points,
                std::vector<std::string>& problems) {
  points.clear();
  const std::string* text = element != nullptr ? element->Attribute("points") : nullptr;
  if (text == nullptr) {
    problems.push_back(Describe(owner) + ": no points");
    return false;
  }
  std::istringstream pairs(*text);
  std::string pair;
  while (pairs >> pair) {
    const std::string::size_type comma = pair.find(',');
    char* end = nullptr;
    Point point;
    point.x = std::strtod(pair.c_str(), &end);
    const bool xWhole = comma != std::string::npos && end == pair.c_str() + comma;
    point.y = xWhole ? std::strtod(pair.c_str() + comma + 1, &end) : 0;
    if (!xWhole || *end != '\0') {
      problems.push_back(Describe(owner) + ": malformed point \"" + pair + "\"");
      return false;
    }
    if (point.x < 0 || point.y < 0) {
      problems.push_back(Describe(owner) + ": negative point \"" + pair + "\"");
      return false;
    }
    points.push_back(point);
  }
  if (points.size() < 2) {
    problems.push_back(Describe(owner) + ": fewer than two points");
    return false;
  }
  return true;
}

double SegmentDistance(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = dx * dx + dy * dy;
  double t = length == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / length;
  t = std::min(1.0, std::max(0.0, t));
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Inside the polygon (by the crossings of a ray) or within the slack of its outline.
bool Inside(const Point& p, const Polygon& polygon) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if (SegmentDistance(p, a, b) <= kSlack)
      return true;
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

void RequireInside(const XmlElement& child, const Polygon& points, const XmlElement& parent,
                   const Polygon& outline, std::vector<std::string>& problems) {
  for (const Point& p : points) {
    if (!Inside(p, outline)) {
      std::ostringstream problem;
      problem << Describe(child) << ": point " << p.x << "," << p.y << " outside "
              << Describe(parent);
      problems.push_back(problem.str());
      return;
    }
  }
}

// The Unicode of the element's first TextEquiv; false when it has none.
bool TextOf(const XmlElement& element, std::string& text) {
  const XmlElement* equiv = element.Child("TextEquiv");
  const XmlElement* unicode = equiv != nullptr ? equiv->Child("Unicode") : nullptr;
  if (unicode == nullptr)
    return false;
  text = unicode->text;
  return true;
}

// The parent's text is its children's joined by the separator (when all have texts).
void RequireJoined(const XmlElement& parent, const char* childName, const char* separator,
                   std::vector<std::string>& problems) {
  std::string own;
  const std::vector<const XmlElement*> children = parent.Children(childName);
  if (children.empty() || !TextOf(parent, own))
    return;
  std::string joined;
  for (size_t i = 0; i < children.size(); ++i) {
    std::string text;
    if (!TextOf(*children[i], text))
      return;
    joined += (i == 0 ? "" : separator) + text;
  }
  if (joined != own)
    problems.push_back(Describe(parent) + ": text \"" + own + "\" is not its " + childName +
                       "s' \"" + joined + "\"");
}

bool EndsInHyphen(const std::string& text) {
  for (const char* hyphen : {"-", "\xC2\xAD", "\xE2\x80\x90", "\xC2\xAC", "\xE2\xB8\x97"}) {
    const size_t n = std::string(hyphen).size();
    if (text.size() > n && text.compare(text.size() - n, n, hyphen) == 0)
      return true;
  }
  return false;
}

class PageChecker {
 public:
  std::vector<std::string> Check(const std::string& document) {
    XmlElement root;
    const std::string problem = ReadXmlTree(document, root);
    if (!problem.empty())
      return {"not well formed: " + problem};
    const XmlElement* page = root.LocalName() == "PcGts" ? root.Child("Page") : nullptr;
    if (page == nullptr)
      return {"no PcGts with a Page"};
    for (const XmlElement& child : page->children) {
      if (IsRegion(child))
        Region(child, nullptr, {});
    }
    ReadingOrder(*page);
    Joins(*page);
    return problems_;
  }

 private:
  static bool IsRegion(const XmlElement& element) {
    const std::string name = element.LocalName();
    return name.size() > 6 && name.compare(name.size() - 6, 6, "Region") == 0;
  }

  // The element's outline, checked against its parent's; false when it has none to go on.
  bool Outline(const XmlElement& element, const XmlElement* parent, const Polygon& parentOutline,
               Polygon& outline) {
    if (!ReadPoints(element, element.Child("Coords"), outline, problems_))
      return false;
    if (parent != nullptr)
      RequireInside(element, outline, *parent, parentOutline, problems_);
    return true;
  }

  void Region(const XmlElement& region, const XmlElement* parent, const Polygon& parentOutline) {
    if (const std::string* id = region.Attribute("id"))
      regionIds_.push_back(*id);
    Polygon outline;
    if (!Outline(region, parent, parentOutline, outline))
      return;
    for (const XmlElement& child : region.children) {
      if (IsRegion(child))
        Region(child, &region, outline);
    }
    for (const XmlElement* line : region.Children("TextLine"))
      Line(*line, region, outline);
    RequireJoined(region, "TextLine", "\n", problems_);
  }

  void Line(const XmlElement& line, const XmlElement& region, const Polygon& regionOutline) {
    Polygon outline;
    if (!Outline(line, &region, regionOutline, outline))
      return;
    if (const XmlElement* baseline = line.Child("Baseline")) {
      Polygon points;
      if (ReadPoints(line, baseline, points, problems_))
        RequireInside(*baseline, points, line, outline, problems_);
    }
    for (const XmlElement* word : line.Children("Word")) {
      if (const std::string* id = word->Attribute("id"))
        wordOrder_[*id] = static_cast<int>(wordOrder_.size());
      Polygon wordOutline;
      if (!Outline(*word, &line, outline, wordOutline))
        continue;
      for (const XmlElement* glyph : word->Children("Glyph")) {
        Polygon glyphOutline;
        Outline(*glyph, word, wordOutline, glyphOutline);
      }
      RequireJoined(*word, "Glyph", "", problems_);
      if (const std::string* id = word->Attribute("id"))
        TextOf(*word, wordTexts_[*id]);
    }
    RequireJoined(line, "Word", " ", problems_);
  }

  // Every region once in the reading order, and nothing else.
  void ReadingOrder(const XmlElement& page) {
    std::vector<std::string> named;
    const XmlElement* order = page.Child("ReadingOrder");
    if (order != nullptr)
      CollectRefs(*order, named);
    std::vector<std::string> regions = regionIds_;
    std::sort(named.begin(), named.end());
    std::sort(regions.begin(), regions.end());
    if (std::adjacent_find(named.begin(), named.end()) != named.end())
      problems_.push_back("ReadingOrder names a region twice");
    if (named != regions)
      problems_.push_back("ReadingOrder does not name exactly the page's " +
                          std::to_string(regions.size()) + " regions");
  }
  static void CollectRefs(const XmlElement& group, std::vector<std::string>& named) {
    for (const XmlElement& child : group.children) {
      if (const std::string* ref = child.Attribute("regionRef"))
        named.push_back(*ref);
      CollectRefs(child, named);
    }
  }

  // A join ties a word ending in a hyphen to a later word of the page.
  void Joins(const XmlElement& page) {
    const XmlElement* relations = page.Child("Relations");
    if (relations == nullptr)
      return;
    for (const XmlElement* relation : relations->Children("Relation")) {
      const std::string* type = relation->Attribute("type");
      if (type == nullptr || *type != "join")
        continue;
      const XmlElement* source = relation->Child("SourceRegionRef");
      const XmlElement* target = relation->Child("TargetRegionRef");
      const std::string* from = source != nullptr ? source->Attribute("regionRef") : nullptr;
      const std::string* to = target != nullptr ? target->Attribute("regionRef") : nullptr;
      if (from == nullptr || to == nullptr || wordOrder_.count(*from) == 0 ||
          wordOrder_.count(*to) == 0) {
        problems_.push_back(Describe(*relation) + ": a join of other than two words");
        continue;
      }
      if (wordOrder_[*to] <= wordOrder_[*from])
        problems_.push_back(Describe(*relation) + ": the second part comes first");
      if (!EndsInHyphen(wordTexts_[*from]))
        problems_.push_back(Describe(*relation) + ": the first part \"" + wordTexts_[*from] +
                            "\" ends in no hyphen");
    }
  }

  std::vector<std::string> problems_;
  std::vector<std::string> regionIds_;
  std::map<std::string, int> wordOrder_;
  std::map<std::string, std::string> wordTexts_;
};

bool ReadFile(const std::string& path, std::string& contents) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  contents = bytes.str();
  return true;
}

const std::string* Href(const XmlElement& location) {
  for (const auto& pair : location.attributes) {
    const std::string& name = pair.first;
    if (name == "href" || (name.size() > 5 && name.compare(name.size() - 5, 5, ":href") == 0))
      return &pair.second;
  }
  return nullptr;
}

struct MetsFile {
  std::string group;
  std::string id;
  std::string href;
};

void CollectFiles(const XmlElement& element, const std::string& group,
                  std::vector<MetsFile>& files) {
  for (const XmlElement& child : element.children) {
    const std::string name = child.LocalName();
    if (name == "fileGrp") {
      const std::string* use = child.Attribute("USE");
      CollectFiles(child, use != nullptr ? *use : std::string(), files);
    } else if (name == "file") {
      MetsFile file;
      file.group = group;
      if (const std::string* id = child.Attribute("ID"))
        file.id = *id;
      const XmlElement* location = child.Child("FLocat");
      const std::string* href = location != nullptr ? Href(*location) : nullptr;
      if (href != nullptr)
        file.href = *href;
      files.push_back(file);
    }
  }
}

}  // namespace

std::vector<std::string> PageRuleProblems(const std::string& document) {
  return PageChecker().Check(document);
}

std::vector<std::string> WorkspaceRuleProblems(const std::string& folder) {
  std::vector<std::string> problems;
  std::string mets;
  if (!ReadFile(folder + "/mets.xml", mets))
    return {"no mets.xml in " + folder};
  XmlElement root;
  const std::string problem = ReadXmlTree(mets, root);
  if (!problem.empty())
    return {"mets.xml: not well formed: " + problem};
  const XmlElement* fileSec = root.Child("fileSec");
  if (root.LocalName() != "mets" || fileSec == nullptr)
    return {"mets.xml: no mets with a fileSec"};
  std::vector<MetsFile> files;
  CollectFiles(*fileSec, std::string(), files);
  std::set<std::string> images;
  for (const MetsFile& file : files) {
    if (file.group == "OCR-D-IMG")
      images.insert(file.href);
  }
  for (const MetsFile& file : files) {
    if (file.href.empty() || file.href[0] == '/' || file.href.find("..") != std::string::npos) {
      problems.push_back("mets.xml: file " + file.id + " has no relative href");
      continue;
    }
    // The images are the user's to put beside the workspace; every other file is ours.
    if (file.group == "OCR-D-IMG")
      continue;
    std::string contents;
    if (!ReadFile(folder + "/" + file.href, contents)) {
      problems.push_back("mets.xml: " + file.href + " is missing");
      continue;
    }
    XmlElement document;
    const std::string malformed = ReadXmlTree(contents, document);
    if (!malformed.empty()) {
      problems.push_back(file.href + ": not well formed: " + malformed);
      continue;
    }
    if (document.LocalName() == "PcGts") {
      for (const std::string& found : PageRuleProblems(contents))
        problems.push_back(file.href + ": " + found);
      const std::string* id = document.Attribute("pcGtsId");
      if (id == nullptr || *id != file.id)
        problems.push_back(file.href + ": pcGtsId is not the METS ID " + file.id);
      const XmlElement* page = document.Child("Page");
      const std::string* image = page != nullptr ? page->Attribute("imageFilename") : nullptr;
      if (image == nullptr || images.count(*image) == 0)
        problems.push_back(file.href + ": imageFilename is no image of OCR-D-IMG");
    }
  }
  return problems;
}

}  // namespace fuzz_support
