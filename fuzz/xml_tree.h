// A well-formed XML document (as XmlProblem accepts it) read into a tree of elements, for the
// checks that look at a document's structure: the PAGE and METS rules.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace fuzz_support {

struct XmlElement {
  std::string name;                                             // as written, with its prefix
  std::vector<std::pair<std::string, std::string>> attributes;  // values with references resolved
  std::vector<XmlElement> children;
  std::string text;  // the element's own text (not its children's), references resolved

  // The name without its namespace prefix.
  std::string LocalName() const;
  // The value of the attribute of that name as written (prefix included), or null.
  const std::string* Attribute(const char* attribute) const;
  // The children whose local name is `local`.
  std::vector<const XmlElement*> Children(const char* local) const;
  const XmlElement* Child(const char* local) const;
};

// Reads the document; "" when it is well formed (then root holds its root element), else what
// is wrong and where.
std::string ReadXmlTree(const std::string& document, XmlElement& root);

}  // namespace fuzz_support
