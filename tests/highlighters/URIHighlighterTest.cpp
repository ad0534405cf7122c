#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>
#include "highlighters/CodeHighlighterURI.h"
#include "support/HighlighterContract.h"

namespace {

constexpr int Space = 1, Ftp = 2, Gopher = 3, Http = 4, Https = 5, Mail = 6, News = 7, Nntp = 8,
              Prospero = 9, Telnet = 10, Wais = 11, Www = 12, Other = 13, Zero = 14;
using Tok = std::pair<std::string, int>;
using Toks = std::vector<Tok>;

class URIHighlighter : public ::testing::Test {
protected:
  Toks Scan(const std::string& Line) {
    Toks result;
    for (const auto& t : testsupport::ScanLine(h, Line, 0)) result.emplace_back(t.Text, t.Kind);
    return result;
  }
  // The first token that is a link, or {"", 0}.
  Tok FirstLink(const std::string& Line) {
    for (const Tok& t : Scan(Line))
      if (t.second >= Ftp && t.second <= Www) return t;
    return {"", 0};
  }

  TCodeURIHighlighter h{nullptr};
};

TEST_F(URIHighlighter, RecognisesEverySchemeWithAnAddress) {
  const std::vector<Tok> links = {
      {"ftp://ftp.example.com/pub", Ftp},     {"gopher://g.example.edu/1", Gopher},
      {"http://www.example.com/a?b=c", Http}, {"https://example.org/x", Https},
      {"mailto:me@example.com", Mail},        {"news:comp.lang.misc", News},
      {"nntp://news.example.com/g", Nntp},    {"prospero://p.example.edu/x", Prospero},
      {"telnet://host.example.com", Telnet},  {"wais://w.example.com/db", Wais},
      {"www.example.com", Www},               {"someone@example.com", Mail},
      {"HTTP://EXAMPLE.COM", Http},
  };
  for (const Tok& link : links) {
    EXPECT_EQ(Scan(link.first), (Toks{link})) << link.first;
    EXPECT_EQ(Scan("see " + link.first + " now"),
              (Toks{{"see", Other}, {" ", Space}, link, {" ", Space}, {"now", Other}}))
        << link.first;
  }
}

TEST_F(URIHighlighter, LinksAtTheFirstColumnAndTheLineEnd) {
  EXPECT_EQ(Scan("http://a.de"), (Toks{{"http://a.de", Http}}));
  EXPECT_EQ(Scan("x http://a.de"), (Toks{{"x", Other}, {" ", Space}, {"http://a.de", Http}}));
  EXPECT_EQ(Scan("a@b.de"), (Toks{{"a@b.de", Mail}}));
  EXPECT_EQ(Scan("\ta@b.de"), (Toks{{"\t", Space}, {"a@b.de", Mail}}));
}

TEST_F(URIHighlighter, GivesBackTrailingPunctuation) {
  EXPECT_EQ(Scan("http://host.de/path,"), (Toks{{"http://host.de/path", Http}, {",", Other}}));
  EXPECT_EQ(FirstLink("(see http://host.de/a.)"), (Tok{"http://host.de/a", Http}));
  EXPECT_EQ(FirstLink("http://host.de/a?!"), (Tok{"http://host.de/a", Http}));
  // A slash is part of the address, even at its end.
  EXPECT_EQ(FirstLink("http://host.de/;"), (Tok{"http://host.de/", Http}));
  EXPECT_EQ(Scan("mail a@b.de."), (Toks{{"mail", Other}, {" ", Space}, {"a@b.de", Mail},
                                       {".", Other}}));
}

TEST_F(URIHighlighter, ASchemeWithoutAddressIsOtherText) {
  EXPECT_EQ(Scan("http://"), (Toks{{"http://", Other}}));
  EXPECT_EQ(Scan("http://,."), (Toks{{"http://", Other}, {",", Other}, {".", Other}}));
  EXPECT_EQ(Scan("news: x"), (Toks{{"news:", Other}, {" ", Space}, {"x", Other}}));
  // Without its slashes the scheme text differs.
  EXPECT_EQ(Scan("http:x")[0], (Tok{"http:", Other}));
}

TEST_F(URIHighlighter, TwoDotsEndTheAddressUnlessTheyAreAPathStep) {
  EXPECT_EQ(FirstLink("http://h.de/a/../b"), (Tok{"http://h.de/a/../b", Http}));
  EXPECT_EQ(FirstLink("http://h.de/a..b"), (Tok{"http://h.de/a", Http}));
}

TEST_F(URIHighlighter, WwwNeedsAHostAndADomain) {
  EXPECT_EQ(Scan("www"), (Toks{{"www", Other}}));
  EXPECT_EQ(Scan("www."), (Toks{{"www", Other}, {".", Other}}));
  EXPECT_EQ(Scan("www.example"), (Toks{{"www", Other}, {".", Other}, {"example", Other}}));
  EXPECT_EQ(Scan("www.example."), (Toks{{"www", Other}, {".", Other}, {"example", Other},
                                        {".", Other}}));
  EXPECT_EQ(Scan("www..x.y")[0], (Tok{"www", Other}));
  EXPECT_EQ(Scan("www.a.b"), (Toks{{"www.a.b", Www}}));
  EXPECT_EQ(Scan("www/x.y")[0], (Tok{"www", Other}));
}

TEST_F(URIHighlighter, EmailNeedsALocalPartAndADomainWithADot) {
  EXPECT_EQ(Scan("a@b"), (Toks{{"a", Other}, {"@", Other}, {"b", Other}}));
  EXPECT_EQ(Scan("@b.de")[0], (Tok{"@", Other}));
  EXPECT_EQ(Scan("a@.de")[0], (Tok{"a", Other}));
  EXPECT_EQ(Scan("a@b.c")[0], (Tok{"a@b.c", Mail}));
  // An address may start with a digit or a hyphen, not with a dot.
  EXPECT_EQ(Scan("1a@b.de"), (Toks{{"1a@b.de", Mail}}));
  EXPECT_EQ(Scan(".a@b.de"), (Toks{{".", Other}, {"a@b.de", Mail}}));
  // Two dots end it.
  EXPECT_EQ(Scan("a@b..de")[0], (Tok{"a", Other}));
  EXPECT_EQ(FirstLink("x.y@mail.example.com"), (Tok{"x.y@mail.example.com", Mail}));
  // Words before, between and after addresses of one line; a failed "@" does not hide the
  // next address, and words far from any "@" stay words.
  EXPECT_EQ(Scan("see a@b or x.y@mail.de, z@q.de end"),
            (Toks{{"see", Other}, {" ", Space}, {"a", Other}, {"@", Other}, {"b", Other},
                  {" ", Space}, {"or", Other}, {" ", Space}, {"x.y@mail.de", Mail}, {",", Other},
                  {" ", Space}, {"z@q.de", Mail}, {" ", Space}, {"end", Other}}));
}

TEST_F(URIHighlighter, LettersOfTheSameGroupMatchAScheme) {
  EXPECT_EQ(Scan("hwwq://host.de"), (Toks{{"hwwq://host.de", Http}}));
  EXPECT_EQ(Scan("xxx.a.b"), (Toks{{"xxx.a.b", Www}}));
  // The groups: A..D 5, E..I 6, J..N 7, O..S 8, T..X 9, Y Z 10; ":" 11 and "/" 12.
  const std::pair<char, int> values[] = {{'A', 5}, {'D', 5}, {'E', 6}, {'I', 6}, {'J', 7},
                                         {'N', 7}, {'O', 8}, {'S', 8}, {'T', 9}, {'X', 9},
                                         {'Y', 10}, {'z', 10}, {':', 11}, {'/', 12}, {'1', 0}};
  for (auto [c, value] : values)
    EXPECT_EQ(TCodeURIHighlighter::HashValue(static_cast<unsigned char>(c)), value) << c;
}

TEST_F(URIHighlighter, SplitsOtherTextIntoWordsAndSingleCharacters) {
  EXPECT_EQ(Scan("ab12-"), (Toks{{"ab", Other}, {"1", Other}, {"2", Other}, {"-", Other}}));
  EXPECT_EQ(Scan("a \t b"), (Toks{{"a", Other}, {" \t ", Space}, {"b", Other}}));
  EXPECT_EQ(Scan(std::string("a\0b", 3)), (Toks{{"a", Other}, {std::string(1, '\0'), Zero},
                                               {"b", Other}}));
  EXPECT_EQ(Scan("\xE4x"), (Toks{{"\xE4", Other}, {"x", Other}}));
  EXPECT_TRUE(Scan("").empty());
}

TEST_F(URIHighlighter, LongRunsScanInLinearTime) {
  // Each character starts an e-mail test; without remembering failed runs this is quadratic.
  auto repeat = [](const std::string& Piece, int Times) {
    std::string s;
    for (int i = 0; i < Times; ++i) s += Piece;
    return s;
  };
  for (const std::string& line :
       {std::string(400000, '1'), std::string(400000, '-'), repeat("www/", 100000),
        repeat("a1", 500000), repeat("x@", 200000), repeat("a.", 200000),
        "www." + std::string(400000, 'a'), "http://" + std::string(400000, ',')}) {
    h.SetLine(line, 0);
    int tokens = 0;
    while (!h.AtLineEnd()) {
      ++tokens;
      h.NextToken();
    }
    EXPECT_GT(tokens, 0);
  }
}

TEST_F(URIHighlighter, AttributesAndDefaults) {
  EXPECT_EQ(h.URIAttri()->Name(), "URI");
  EXPECT_EQ(h.URIAttri()->Foreground(), 0x00FF0000);
  EXPECT_TRUE(h.URIAttri()->Style().Contains(TFontStyle::fsUnderline));
  EXPECT_EQ(h.VisitedURIAttri()->Name(), "Visited URI");
  EXPECT_EQ(h.VisitedURIAttri()->Foreground(), 0x00800080);
  EXPECT_EQ(h.GetAttributeCount(), 2) << "Space and Identifier stay outside the list";
  EXPECT_EQ(h.GetDefaultAttribute(1)->Name(), "Identifier");
  EXPECT_EQ(h.GetDefaultAttribute(4)->Name(), "Space");
  EXPECT_EQ(h.GetDefaultAttribute(6), h.URIAttri());
  EXPECT_EQ(h.GetDefaultAttribute(7), h.VisitedURIAttri());
  for (int i : {0, 2, 3, 5, 8}) EXPECT_EQ(h.GetDefaultAttribute(i), nullptr) << i;
  EXPECT_EQ(h.LanguageName(), "URI");
  EXPECT_EQ(h.DefaultFilter(), "All Files (*.*)|*.*");
  EXPECT_FALSE(h.IsDefaultFilterStored());
  EXPECT_TRUE(h.GetIdentifierChars().test(0));
  EXPECT_FALSE(h.GetIdentifierChars().test('-'));

  auto tokens = testsupport::ScanLine(h, "go http://a.de", 0);
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].Attribute, h.GetDefaultAttribute(1));
  EXPECT_EQ(tokens[1].Attribute, h.GetDefaultAttribute(4));
  EXPECT_EQ(tokens[2].Attribute, h.URIAttri());
}

TEST_F(URIHighlighter, VisitedQueryIsInstalledNotUsedForColouring) {
  EXPECT_FALSE(h.IsVisitedURI("http://a.de"));
  h.SetAlreadyVisitedURIFunc([](const std::string&) { return true; });
  EXPECT_TRUE(h.IsVisitedURI("http://a.de"));
  EXPECT_EQ(testsupport::ScanLine(h, "http://a.de", 0)[0].Attribute, h.URIAttri());
}

TEST_F(URIHighlighter, SampleHasEveryKindAndMeetsTheContract) {
  std::vector<std::string> lines = testsupport::SplitLines(h.GetSampleText());
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, lines));
  std::vector<bool> seen(15);
  for (const std::string& line : lines)
    for (const auto& t : testsupport::ScanLine(h, line, 0)) seen[t.Kind] = true;
  for (int kind = Ftp; kind <= Www; ++kind) EXPECT_TRUE(seen[kind]) << "kind " << kind;
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"", "a@b", "http://x.de/../y,", std::string("\0\r\n", 3), "www.", "\xE4\xE4"}));
  // Resume points stand behind blanks, also between addresses and before a line's end.
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"mail a@b.de  or\tx.y@z.org, see http://a.de/p?q=1 and www.b.de.", " lead  ",
          "user@host.de\tftp://f.de/../x news:a.b", std::string("a \0 b", 5)}));
}

// Lines without a blank: minified data, base64, links inside them and words that only look
// like a scheme. Every place has a resume point close before the token holding it.
TEST_F(URIHighlighter, LinesWithoutBlanksResumeCloseBeforeEveryToken) {
  std::string data, base64;
  for (int i = 0; i < 30; ++i) {
    const std::string n = std::to_string(i);
    data += "{\"id\":" + n + ",\"href\":\"https://example.org/a?b=" + n + "\",\"mail\":\"me" + n +
            "@example.org\",\"blob\":\"QUJD+REVG/R0hJ==\"},";
    base64 += "QUJDREVGR0hJ+SktMTU5PUFFS/U1RVVldYWVph";
  }
  const std::string lines[] = {data, base64, "data:text/plain;base64," + base64,
                               base64 + ",www.a.de/" + base64, "http://" + base64};
  for (const std::string& line : lines) {
    const auto tokens = testsupport::ScanLine(h, line, 0);
    size_t held = 0;
    int farFrom = -1;
    for (int pos = 0; pos < static_cast<int>(line.size()) && farFrom < 0; ++pos) {
      while (held + 1 < tokens.size() && tokens[held + 1].Pos <= pos) ++held;
      if (h.ResumePointBefore(line, pos) < tokens[held].Pos - 64) farFrom = pos;
    }
    EXPECT_EQ(farFrom, -1) << line.substr(0, 40);
    EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, {line})) << line.substr(0, 40);
  }
}

// Separators inside links, after words that take slashes and around look-alikes, and random
// lines of pieces that make, break and imitate links, also where the code page has double-byte
// characters: every resume point scans as the whole line does.
TEST_F(URIHighlighter, ResumePointsBehindSeparatorsScanLikeTheWholeLine) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"/mailto://=", "data://+x", "ab:/=c", "x+http://a.de/b+c/d=e", "q=hwwq://h.de/+/",
          "+xxx.a.b/+c", "+www.a/+b", "a+b@c.de+d", "1+a.b@c.de/e", "news:a+b,c",
          "+mailto:x@y.de+", "http://a.de..+b", "http://+", "prospero:///+"}));
  const std::string pieces[] = {"http://", "hwwq://", "news:", "mailto:", "data:", "gopher:/",
                                "www", "xxx", "www.a.de", "prospero://", "ab", "b.c", "1a", ".",
                                "..", "/../", ":", "/", "@", "a@b.de", "+", "=", "-", "_", ",",
                                "?", "(", "QUJD", "9", "\"", "{", "\\", "\xE4", "\x81", " ", "\t",
                                "\r", "\n", std::string(1, '\0')};
  std::mt19937 random(7);
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) {
    std::string line;
    for (int n = random() % 40; n > 0; --n) line += pieces[random() % std::size(pieces)];
    lines.push_back(line);
  }
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, lines));
  h.SetLeadByteTest([](unsigned char C) { return C >= 0x81; });
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, lines));
}

TEST(URIHighlighterClass, IsRegistered) {
  EXPECT_FALSE(RegisterHighlighterClass(TCodeURIHighlighter::StaticClass()));
}

}  // namespace
