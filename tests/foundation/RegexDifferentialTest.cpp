// Generated patterns and subjects against the standard library's ECMAScript engine, over the
// features both share with the same meaning: literals, classes, "." without line breaks,
// input anchors, word boundaries, groups, alternation, greedy and lazy quantifiers and
// back-references to groups that are surely set. The first match and its groups must agree.
#include <gtest/gtest.h>
#include <cstdlib>
#include <random>
#include <regex>
#include "foundation/Regex.h"

namespace {

constexpr unsigned DefaultSeed = 20261207;
constexpr int PatternCount = 3000;
constexpr int SubjectsPerPattern = 4;
constexpr int MaxGroups = 9;

unsigned Seed() {
  const char* text = std::getenv("TARVOLINE_REGEX_SEED");
  return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : DefaultSeed;
}

// A random pattern in the common syntax. Groups inside repetitions keep their last pass in
// one engine and are reset per pass in the other, so they are not compared; back-references
// point only at groups that are closed and certainly set where they stand.
class TPatternGenerator {
public:
  explicit TPatternGenerator(std::mt19937& Rng) : rng_(Rng) {}

  std::string Make() {
    groups_ = 0;
    comparable_.assign(1, true);
    sureClosed_.clear();
    return Alternation(0, true, false);
  }
  const std::vector<bool>& Comparable() const { return comparable_; }

private:
  int Pick(int N) { return std::uniform_int_distribution<int>(0, N - 1)(rng_); }

  std::string Alternation(int Depth, bool Sure, bool InLoop) {
    const int branches = Depth < 2 && Pick(4) == 0 ? 2 + Pick(2) : 1;
    std::string result;
    for (int i = 0; i < branches; ++i) {
      if (i > 0) result += '|';
      result += Sequence(Depth, Sure && branches == 1, InLoop);
    }
    return result;
  }

  std::string Sequence(int Depth, bool Sure, bool InLoop) {
    const int pieces = 1 + Pick(Depth == 0 ? 4 : 3);
    std::string result;
    for (int i = 0; i < pieces; ++i) result += Piece(Depth, Sure, InLoop);
    return result;
  }

  std::string Piece(int Depth, bool Sure, bool InLoop) {
    static const char* const Quantifiers[] = {"*", "+", "?", "{2}", "{1,2}", "{0,2}", "{2,}"};
    const bool quantified = Pick(3) == 0;
    const std::string quantifier =
        quantified ? std::string(Quantifiers[Pick(7)]) + (Pick(3) == 0 ? "?" : "") : "";
    if (!quantified && Pick(8) == 0) return Assertion();
    return Atom(Depth, Sure && !quantified, InLoop || quantified) + quantifier;
  }

  std::string Assertion() {
    static const char* const Assertions[] = {"^", "$", "\\b", "\\B"};
    return Assertions[Pick(4)];
  }

  std::string Atom(int Depth, bool Sure, bool InLoop) {
    switch (Pick(Depth < 3 ? 9 : 7)) {
      case 0: case 1: case 2: return std::string(1, "abcAB -"[Pick(7)]);
      case 3: return Class();
      case 4: return Pick(2) ? "." : std::string(Pick(2) ? "\\d" : Pick(2) ? "\\w" : "\\s");
      case 5: case 6:
        if (!sureClosed_.empty() && Pick(2) == 0)
          return "\\" + std::to_string(sureClosed_[Pick(static_cast<int>(sureClosed_.size()))]);
        return std::string(1, "ab"[Pick(2)]);
      default: {
        if (groups_ >= MaxGroups) return "a";
        const int group = ++groups_;
        comparable_.push_back(!InLoop);
        std::string inner = Alternation(Depth + 1, Sure, InLoop);
        if (Sure) sureClosed_.push_back(group);
        return "(" + inner + ")";
      }
    }
  }

  std::string Class() {
    static const char* const Classes[] = {"[ab]", "[^ab]", "[a-c]", "[^a-c ]", "[A-Ca]",
                                          "[\\d\\s]", "[\\w-]", "[^\\r\\n]", "[b]", "[-a]"};
    return Classes[Pick(10)];
  }

  std::mt19937& rng_;
  int groups_ = 0;
  std::vector<bool> comparable_;
  std::vector<int> sureClosed_;
};

std::string RandomSubject(std::mt19937& Rng) {
  static const char Alphabet[] = "aabbcAB1 _\n\r-";
  const int length = std::uniform_int_distribution<int>(0, 12)(Rng);
  std::string s;
  for (int i = 0; i < length; ++i)
    s += Alphabet[std::uniform_int_distribution<int>(0, sizeof Alphabet - 2)(Rng)];
  return s;
}

std::string Printable(const std::string& S) {
  std::string out;
  for (char c : S) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

// "none", or each compared subexpression as "index:pos,len" (pos 1-based, -1 when unset).
std::string OursResult(TRegex& Re, const std::string& Subject, const std::vector<bool>& Compare) {
  if (!Re.Exec(Subject)) return "none";
  std::string out;
  for (size_t i = 0; i < Compare.size(); ++i)
    if (Compare[i])
      out += std::to_string(i) + ":" + std::to_string(Re.GetMatchPos(static_cast<int>(i))) + "," +
             std::to_string(Re.GetMatchLen(static_cast<int>(i))) + " ";
  return out;
}

std::string ReferenceResult(const std::regex& Re, const std::string& Subject,
                            const std::vector<bool>& Compare) {
  std::smatch m;
  if (!std::regex_search(Subject, m, Re)) return "none";
  std::string out;
  for (size_t i = 0; i < Compare.size(); ++i) {
    if (!Compare[i]) continue;
    const bool set = i < m.size() && m[i].matched;
    out += std::to_string(i) + ":" +
           std::to_string(set ? static_cast<int>(m.position(i)) + 1 : -1) + "," +
           std::to_string(set ? static_cast<int>(m.length(i)) : -1) + " ";
  }
  return out;
}

}  // namespace

TEST(RegexDifferential, AgreesWithEcmaScriptOnSharedFeatures) {
  const unsigned seed = Seed();
  std::mt19937 rng(seed);
  TPatternGenerator generator(rng);
  int compared = 0, skipped = 0, mismatches = 0;
  for (int n = 0; n < PatternCount && mismatches < 10; ++n) {
    const std::string pattern = generator.Make();
    const bool ignoreCase = std::uniform_int_distribution<int>(0, 4)(rng) == 0;
    TRegex ours(CodeRegexDefaultModifiers);  // "^" and "$" at the ends of the subject only
    ours.SetModifier(3, false);              // "." stops at line breaks, as in ECMAScript
    ours.SetModifier(1, ignoreCase);
    ours.SetExpression(pattern);
    try {
      ours.Compile();
    } catch (const ERegex& e) {
      // Repeating what may be empty is refused here and allowed there.
      ASSERT_EQ(e.ErrorCode(), 106) << "seed " << seed << " pattern " << pattern << ": " << e.what();
      ++skipped;
      continue;
    }
    auto flags = std::regex::ECMAScript;
    if (ignoreCase) flags |= std::regex::icase;
    const std::regex reference(pattern, flags);
    for (int k = 0; k < SubjectsPerPattern; ++k) {
      const std::string subject = RandomSubject(rng);
      const std::string expected = ReferenceResult(reference, subject, generator.Comparable());
      const std::string actual = OursResult(ours, subject, generator.Comparable());
      ++compared;
      if (expected != actual) {
        ++mismatches;
        ADD_FAILURE() << "seed " << seed << " case " << n << (ignoreCase ? " (i)" : "")
                      << "\n  pattern: " << Printable(pattern) << "\n  subject: \""
                      << Printable(subject) << "\"\n  ECMAScript: " << expected
                      << "\n  ours:       " << actual;
      }
    }
  }
  EXPECT_GT(compared, PatternCount * SubjectsPerPattern / 2) << "skipped " << skipped;
}
