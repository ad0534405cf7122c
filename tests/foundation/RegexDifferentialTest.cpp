// Generated patterns and subjects checked two ways.
// Against the standard library's ECMAScript engine, over the features both share with the
// same meaning: literals, classes, "." without line breaks, input anchors, word boundaries,
// groups, alternation, greedy and lazy quantifiers and back-references to groups that are
// surely set. The first match and its groups must agree.
// Against itself with every search shortcut defeated: an empty group and a reference to it
// at the start of each alternative and after each quantifier leave the meaning unchanged but
// give no start character, first-character set, required literal, viable-alternative set,
// leading repetition or following literal to go by. All matches and their groups must agree,
// under every combination of the modifiers i, s, g and m and over subjects with CR LF.
// Each test runs over several seeds; TARVOLINE_REGEX_SEED picks one other seed instead. A
// mismatch prints seed, pattern and subject.
#include <gtest/gtest.h>
#include <cstdlib>
#include <random>
#include <regex>
#include <vector>
#include "foundation/Regex.h"

namespace {

constexpr unsigned DefaultSeed = 20261207;
constexpr unsigned DefaultSeedCount = 4;
constexpr int PatternCount = 3000;
constexpr int SubjectsPerPattern = 4;
// Where the defeated form puts a reference to its empty group.
constexpr char Shortcut = '\x01';

std::vector<unsigned> Seeds() {
  if (const char* text = std::getenv("TARVOLINE_REGEX_SEED"))
    return {static_cast<unsigned>(std::strtoul(text, nullptr, 10))};
  std::vector<unsigned> seeds;
  for (unsigned i = 0; i < DefaultSeedCount; ++i) seeds.push_back(DefaultSeed + i);
  return seeds;
}

// A random pattern in the common syntax. Groups inside repetitions keep their last pass in
// one engine and are reset per pass in the other, so they are not compared; back-references
// point only at groups that are closed and certainly set where they stand.
// Marks with Shortcut the places where the defeated form references its empty group.
// Extended adds what ECMAScript lacks or means differently: input anchors, inline modifiers
// and line-break escapes.
class TPatternGenerator {
public:
  TPatternGenerator(std::mt19937& Rng, int MaxGroups, bool Extended)
      : rng_(Rng), maxGroups_(MaxGroups), extended_(Extended) {}

  std::string Make() {
    groups_ = 0;
    comparable_.assign(1, true);
    sureClosed_.clear();
    return Alternation(0, true, false);
  }
  const std::vector<bool>& Comparable() const { return comparable_; }
  int Groups() const { return groups_; }

private:
  int Pick(int N) { return std::uniform_int_distribution<int>(0, N - 1)(rng_); }

  std::string Alternation(int Depth, bool Sure, bool InLoop) {
    const int branches = Depth < 2 && Pick(4) == 0 ? 2 + Pick(2) : 1;
    std::string result;
    for (int i = 0; i < branches; ++i) {
      if (i > 0) result += '|';
      result += Shortcut + Sequence(Depth, Sure && branches == 1, InLoop);
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
        quantified ? std::string(Quantifiers[Pick(7)]) + (Pick(3) == 0 ? "?" : "") + Shortcut
                   : "";
    if (!quantified && Pick(8) == 0) return Assertion();
    return Atom(Depth, Sure && !quantified, InLoop || quantified) + quantifier;
  }

  std::string Assertion() {
    static const char* const Assertions[] = {"^",    "$",     "\\b",   "\\B",   "\\A",
                                             "\\Z",  "(?i)",  "(?-i)", "(?s)",  "(?-s)",
                                             "(?m)", "(?-m)", "(?-g)", "(?g)"};
    return Assertions[Pick(extended_ ? 14 : 4)];
  }

  std::string Atom(int Depth, bool Sure, bool InLoop) {
    switch (Pick(Depth < 3 ? 9 : 7)) {
      case 0: case 1: case 2:
        if (extended_ && Pick(4) == 0) return Pick(2) ? "\\r" : "\\n";
        return std::string(1, "abcAB -"[Pick(7)]);
      case 3: return Class();
      case 4: return Pick(2) ? "." : std::string(Pick(2) ? "\\d" : Pick(2) ? "\\w" : "\\s");
      case 5: case 6:
        if (!sureClosed_.empty() && Pick(2) == 0)
          return "\\" + std::to_string(sureClosed_[Pick(static_cast<int>(sureClosed_.size()))]);
        return std::string(1, "ab"[Pick(2)]);
      default: {
        if (groups_ >= maxGroups_) return "a";
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
  const int maxGroups_;
  const bool extended_;
  int groups_ = 0;
  std::vector<bool> comparable_;
  std::vector<int> sureClosed_;
};

// The pattern as written, without the shortcut marks.
std::string Plain(const std::string& Pattern) {
  std::string out;
  for (char c : Pattern)
    if (c != Shortcut) out += c;
  return out;
}

// Groups of the defeated form: its own two, then the pattern's.
constexpr int DefeatShift = 2;

// "()\1(" pattern ")" with the marks turned into "\1" and back-references renumbered.
std::string Defeated(const std::string& Pattern) {
  std::string out = "()\\1(";
  for (size_t i = 0; i < Pattern.size(); ++i) {
    const char c = Pattern[i];
    if (c == Shortcut) {
      out += "\\1";
    } else if (c == '\\' && i + 1 < Pattern.size()) {
      const char next = Pattern[++i];
      out += '\\';
      out += next >= '1' && next <= '9' ? static_cast<char>(next + DefeatShift) : next;
    } else {
      out += c;
    }
  }
  return out + ")";
}

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
  for (const unsigned seed : Seeds()) {
    std::mt19937 rng(seed);
    TPatternGenerator generator(rng, 9, false);
    int compared = 0, skipped = 0, mismatches = 0;
    for (int n = 0; n < PatternCount && mismatches < 10; ++n) {
      const std::string pattern = Plain(generator.Make());
      const bool ignoreCase = std::uniform_int_distribution<int>(0, 4)(rng) == 0;
      TRegex ours(CodeRegexDefaultModifiers);  // "^" and "$" at the ends of the subject only
      ours.SetModifier(3, false);              // "." stops at line breaks, as in ECMAScript
      ours.SetModifier(1, ignoreCase);
      ours.SetExpression(pattern);
      try {
        ours.Compile();
      } catch (const ERegex& e) {
        // Repeating what may be empty is refused here and allowed there.
        ASSERT_EQ(e.ErrorCode(), 106)
            << "seed " << seed << " pattern " << pattern << ": " << e.what();
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
}

namespace {

// Subjects with lone CR and LF and with CR LF pairs.
std::string RandomLineSubject(std::mt19937& Rng) {
  static const char* const Pieces[] = {"a", "b", "c", "A", "B", "1", " ", "_", "-",
                                       "\r", "\n", "\r\n", "\r\n"};
  const int length = std::uniform_int_distribution<int>(0, 14)(Rng);
  std::string s;
  for (int i = 0; i < length; ++i)
    s += Pieces[std::uniform_int_distribution<int>(0, std::size(Pieces) - 1)(Rng)];
  return s;
}

// r on; i, s, g and m each on or off.
TRegexModifiers RandomModifiers(std::mt19937& Rng) {
  TRegexModifiers modifiers = rmR;
  for (TRegexModifiers bit : {rmI, rmS, rmG, rmM})
    if (std::uniform_int_distribution<int>(0, 1)(Rng)) modifiers |= bit;
  return modifiers;
}

// Every match from the start on (Exec, then ExecNext) with its groups; Shift is the number
// of groups the pattern is preceded by, which are left out. A search stopped by the step
// limit ends the list with its code.
std::string AllMatches(TRegex& Re, const std::string& Subject, int Groups, int Shift) {
  std::string out;
  int count = 0;
  try {
    for (bool found = Re.Exec(Subject); found && count < 32; found = Re.ExecNext(), ++count) {
      for (int i = 0; i <= Groups; ++i) {
        const int index = i == 0 ? 0 : i + Shift;
        out += std::to_string(Re.GetMatchPos(index)) + "," +
               std::to_string(Re.GetMatchLen(index)) + " ";
      }
      out += "| ";
    }
  } catch (const ERegex& e) {
    out += "error " + std::to_string(e.ErrorCode());
  }
  return out;
}

}  // namespace

TEST(RegexDifferential, SearchShortcutsNeverChangeAResult) {
  for (const unsigned seed : Seeds()) {
    std::mt19937 rng(seed);
    TPatternGenerator generator(rng, 9 - DefeatShift, true);
    int compared = 0, mismatches = 0;
    for (int n = 0; n < PatternCount && mismatches < 10; ++n) {
      const std::string marked = generator.Make();
      const std::string pattern = Plain(marked);
      const std::string defeated = Defeated(marked);
      const TRegexModifiers modifiers = RandomModifiers(rng);
      TRegex fast(modifiers), slow(modifiers);
      fast.SetExpression(pattern);
      slow.SetExpression(defeated);
      try {
        fast.Compile();
      } catch (const ERegex& e) {
        ASSERT_EQ(e.ErrorCode(), 106)
            << "seed " << seed << " pattern " << pattern << ": " << e.what();
        continue;
      }
      ASSERT_NO_THROW(slow.Compile()) << "seed " << seed << " pattern " << defeated;
      for (int k = 0; k < SubjectsPerPattern; ++k) {
        const std::string subject = RandomLineSubject(rng);
        const std::string expected = AllMatches(slow, subject, generator.Groups(), DefeatShift);
        // without its shortcuts a pattern may backtrack past the step limit; no verdict then
        if (expected.find("error " + std::to_string(RegexStepLimitError)) != std::string::npos)
          continue;
        const std::string actual = AllMatches(fast, subject, generator.Groups(), 0);
        ++compared;
        if (expected != actual) {
          ++mismatches;
          ADD_FAILURE() << "seed " << seed << " case " << n << " modifiers " << modifiers
                        << "\n  pattern: " << Printable(pattern) << "\n  subject: \""
                        << Printable(subject) << "\"\n  without shortcuts: " << expected
                        << "\n  with shortcuts:    " << actual;
        }
      }
    }
    EXPECT_GT(compared, PatternCount * SubjectsPerPattern / 2);
  }
}
