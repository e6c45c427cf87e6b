#include "fuzz/xml_tree.h"

#include <cstring>

#include "fuzz/xml_check.h"

namespace fuzz_support {

std::string XmlElement::LocalName() const {
  const std::string::size_type colon = name.find(':');
  return colon == std::string::npos ? name : name.substr(colon + 1);
}

const std::string* XmlElement::Attribute(const char* attribute) const {
  for (const auto& pair : attributes) {
    if (pair.first == attribute)
      return &pair.second;
  }
  return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(const char* local) const {
  std::vector<const XmlElement*> found;
  for (const XmlElement& child : children) {
    if (child.LocalName() == local)
      found.push_back(&child);
  }
  return found;
}

const XmlElement* XmlElement::Child(const char* local) const {
  for (const XmlElement& child : children) {
    if (child.LocalName() == local)
      return &child;
  }
  return nullptr;
}

namespace {

bool Blank(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool NameChar(char c) {
  return !Blank(c) && c != '=' && c != '>' && c != '/' && c != '<' && c != '"' && c != '\'';
}

// The document is well formed: the reader only takes it apart.
class TreeReader {
 public:
  explicit TreeReader(const std::string& s) : s_(s) {}

  void Read(XmlElement& root) {
    SkipMarkup();
    Element(root, 0);
  }

 private:
  // The prolog, the document type, comments and processing instructions before the root.
  void SkipMarkup() {
    for (;;) {
      while (pos_ < s_.size() && Blank(s_[pos_]))
        ++pos_;
      if (s_.compare(pos_, 4, "<!--") == 0) {
        SkipPast("-->");
      } else if (s_.compare(pos_, 2, "<?") == 0) {
        SkipPast("?>");
      } else if (s_.compare(pos_, 2, "<!") == 0) {
        SkipPast(">");
      } else {
        return;
      }
    }
  }
  void SkipPast(const char* literal) {
    const std::string::size_type at = s_.find(literal, pos_);
    pos_ = at == std::string::npos ? s_.size() : at + std::strlen(literal);
  }
  std::string Name() {
    const size_t start = pos_;
    while (pos_ < s_.size() && NameChar(s_[pos_]))
      ++pos_;
    return s_.substr(start, pos_ - start);
  }
  // An element from its '<' to the end of its end tag. Depth is bounded by the stack a
  // document of the tests may take; deeper content is skipped.
  void Element(XmlElement& element, int depth) {
    ++pos_;  // '<'
    element.name = Name();
    for (;;) {
      while (pos_ < s_.size() && Blank(s_[pos_]))
        ++pos_;
      if (pos_ >= s_.size())
        return;
      if (s_.compare(pos_, 2, "/>") == 0) {
        pos_ += 2;
        return;
      }
      if (s_[pos_] == '>') {
        ++pos_;
        break;
      }
      std::string attribute = Name();
      ++pos_;  // '='
      const char quote = s_[pos_++];
      const std::string::size_type end = s_.find(quote, pos_);
      element.attributes.emplace_back(std::move(attribute), XmlValue(s_.substr(pos_, end - pos_)));
      pos_ = end + 1;
    }
    while (pos_ < s_.size()) {
      if (s_[pos_] != '<') {
        const std::string::size_type end = s_.find('<', pos_);
        element.text += XmlValue(s_.substr(pos_, end - pos_));
        pos_ = end;
      } else if (s_.compare(pos_, 2, "</") == 0) {
        SkipPast(">");
        return;
      } else if (s_.compare(pos_, 4, "<!--") == 0) {
        SkipPast("-->");
      } else if (depth < kMostDepth) {
        element.children.emplace_back();
        Element(element.children.back(), depth + 1);
      } else {
        return;
      }
    }
  }

  static constexpr int kMostDepth = 200;
  const std::string& s_;
  size_t pos_ = 0;
};

}  // namespace

std::string ReadXmlTree(const std::string& document, XmlElement& root) {
  std::string problem = XmlProblem(document);
  if (!problem.empty())
    return problem;
  root = XmlElement();
  TreeReader(document).Read(root);
  return "";
}

}  // namespace fuzz_support
