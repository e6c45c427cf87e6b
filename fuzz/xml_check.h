// A small checker of the XML documents that ocrsift writes (hOCR, ALTO): well formed, and
// every character one that XML 1.0 allows. Enough for what the writers produce (a prolog, a
// document type declaration without an internal subset, elements, attributes, text and
// character or entity references); not a general XML parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz_support {

// A character that XML 1.0 allows in a document.
bool XmlChar(uint32_t c);
// Decodes the UTF-8 character at i and moves past it; false for a malformed sequence.
bool NextChar(const std::string& s, size_t& i, uint32_t& c);
void AppendUtf8(std::string& out, uint32_t c);
// The text of an attribute value or element content with its references resolved.
std::string XmlValue(const std::string& escaped);

// "" when the document is well formed, else what is wrong and where.
std::string XmlProblem(const std::string& document);

}  // namespace fuzz_support
