// The rule checker finds each fault it is there for: one damage at a time to a sound page.
#include "fuzz/page_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kPage[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<PcGts xmlns="http://schema.primaresearch.org/PAGE/gts/pagecontent/2019-07-15" pcGtsId="p">
 <Page imageFilename="a.tif" imageWidth="400" imageHeight="300">
  <ReadingOrder><OrderedGroup id="ro"><RegionRefIndexed index="0" regionRef="r1"/></OrderedGroup></ReadingOrder>
  <Relations><Relation id="j1" type="join"><SourceRegionRef regionRef="w2"/><TargetRegionRef regionRef="w3"/></Relation></Relations>
  <TextRegion id="r1">
   <Coords points="10,10 200,10 200,100 10,100"/>
   <TextLine id="l1">
    <Coords points="10,10 200,10 200,40 10,40"/>
    <Baseline points="10,40 200,40"/>
    <Word id="w1"><Coords points="10,10 60,10 60,40 10,40"/>
     <Glyph id="g1"><Coords points="10,10 30,10 30,40 10,40"/><TextEquiv><Unicode>a</Unicode></TextEquiv></Glyph>
     <Glyph id="g2"><Coords points="30,10 60,10 60,40 30,40"/><TextEquiv><Unicode>b</Unicode></TextEquiv></Glyph>
     <TextEquiv><Unicode>ab</Unicode></TextEquiv></Word>
    <Word id="w2"><Coords points="70,10 200,10 200,40 70,40"/><TextEquiv><Unicode>wor-</Unicode></TextEquiv></Word>
    <TextEquiv><Unicode>ab wor-</Unicode></TextEquiv>
   </TextLine>
   <TextLine id="l2">
    <Coords points="10,60 100,60 100,100 10,100"/>
    <Word id="w3"><Coords points="10,60 100,60 100,100 10,100"/><TextEquiv><Unicode>ld.</Unicode></TextEquiv></Word>
    <TextEquiv><Unicode>ld.</Unicode></TextEquiv>
   </TextLine>
   <TextEquiv><Unicode>ab wor-
ld.</Unicode></TextEquiv>
  </TextRegion>
 </Page>
</PcGts>
)";

TEST(PageRulesTest, EachDamageIsFound) {
  ASSERT_EQ(fuzz_support::PageRuleProblems(kPage), std::vector<std::string>());
  const struct {
    const char* from;
    const char* to;
    const char* problem;  // a part of the first problem reported
  } damages[] = {
      {"<Unicode>b</Unicode>", "<Unicode>c</Unicode>", "Word w1: text \"ab\" is not its Glyphs'"},
      {"<Unicode>ab wor-</Unicode>", "<Unicode>ab world.</Unicode>", "TextLine l1: text"},
      {"wor-\nld.", "world.", "TextRegion r1: text"},
      {"30,10 60,10 60,40 30,40", "30,10 62,10 62,40 30,40",
       "Glyph g2: point 62,10 outside Word w1"},
      {"10,40 200,40", "10,42 200,42", "Baseline: point 10,42 outside TextLine l1"},
      {"10,60 100,60 100,100 10,100\"/>\n    <Word", "10,60 100,60 100,-1 10,100\"/>\n    <Word",
       "negative point"},
      {"regionRef=\"r1\"", "regionRef=\"r2\"", "ReadingOrder does not name exactly"},
      {"regionRef=\"w2\"/><T", "regionRef=\"w1\"/><T", "ends in no hyphen"},
      {"regionRef=\"w3\"/>", "regionRef=\"w0\"/>", "a join of other than two words"},
  };
  for (const auto& damage : damages) {
    std::string page = kPage;
    const size_t at = page.find(damage.from);
    ASSERT_NE(at, std::string::npos) << damage.from;
    page.replace(at, std::string(damage.from).size(), damage.to);
    const std::vector<std::string> problems = fuzz_support::PageRuleProblems(page);
    ASSERT_FALSE(problems.empty()) << damage.from;
    EXPECT_NE(problems[0].find(damage.problem), std::string::npos) << problems[0];
  }
}

}  // namespace
