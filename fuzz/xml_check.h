// A small checker of the XML documents that ocrsift writes (hOCR, ALTO): well formed, and
// every character one that XML 1.0 allows. Enough for what the writers produce (a prolog, a
// document type declaration without an internal subset, elements, attributes, text and
// character or entity references); not a general XML parser.
#pragma once

#include <string>

namespace fuzz_support {

// "" when the document is well formed, else what is wrong and where.
std::string XmlProblem(const std::string& document);

}  // namespace fuzz_support
