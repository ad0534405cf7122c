// The regular-expression engine for 8-bit text: one pattern compiled into a node program,
// a backtracking matcher over one subject, substitution templates and one-call helpers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include "rtl/Exception.h"

// Raised for compile errors (codes 100 to 128, with the pattern position) and match-time
// errors (codes from 1000, position 0).
class ERegex : public Exception {
public:
  ERegex(const std::string& Message, int ErrorCode, int CompilerErrorPos)
      : Exception(Message), errorCode_(ErrorCode), compilerErrorPos_(CompilerErrorPos) {}
  int ErrorCode() const noexcept { return errorCode_; }
  int CompilerErrorPos() const noexcept { return compilerErrorPos_; }
  // Whether the search gave up on the subject (too many steps or too much backtracking
  // memory) rather than on the pattern.
  bool IsRunaway() const noexcept;

private:
  int errorCode_;
  int compilerErrorPos_;
};

// The modifier word: bit n-1 is modifier n of SetModifier/GetModifier.
using TRegexModifiers = uint32_t;
enum : TRegexModifiers {
  rmI = 1,   // case-insensitive literals, classes and back-references
  rmR = 2,   // Cyrillic range extension in classes
  rmS = 4,   // "." also matches line separators
  rmG = 8,   // greedy quantifiers
  rmM = 16,  // "^" and "$" also match at line separators
  rmX = 32,  // blanks and "#" comments in the pattern are ignored
};
// The search instance (search, replace, line removal, find files, file-type rules).
inline constexpr TRegexModifiers RegexDefaultModifiers = rmR | rmS | rmG | rmM;
// The code instance (the mixed web-page highlighter): the same without multi-line.
inline constexpr TRegexModifiers CodeRegexDefaultModifiers = rmR | rmS | rmG;

// Subexpression 0 is the whole match, 1 to 14 the groups.
inline constexpr int RegexSubExpCount = 15;

// Match-time error raised when backtracking would need more memory than the engine allows.
inline constexpr int RegexBacktrackLimitError = 1016;
// Match-time error raised when one search takes more steps than its budget: 16.8 million
// plus 64 per character from the offset to the end, some ten times what a pattern of linear
// cost needs, so that only runaway backtracking meets it, within about a second. A try at one
// position has a budget of its own, about a million plus 64 per character it reached, so a
// pattern that explodes at one place stops there within milliseconds, however long the text.
inline constexpr int RegexStepLimitError = 1017;

inline bool ERegex::IsRunaway() const noexcept {
  return errorCode_ == RegexBacktrackLimitError || errorCode_ == RegexStepLimitError;
}

namespace regex {
struct TProgram;
class TMatcher;
}  // namespace regex

// One pattern and one subject. Single owner; not shared between threads.
class TRegex {
public:
  // Modifiers i, r, s, g and m come from Defaults; x is always off at creation.
  explicit TRegex(TRegexModifiers Defaults = RegexDefaultModifiers);
  TRegex(const TRegex&) = delete;
  TRegex& operator=(const TRegex&) = delete;

  // Records Code as LastError and raises ERegex; a derived class may report differently.
  virtual void Error(int Code);
  virtual std::string ErrorMsg(int Code) const;
  virtual ~TRegex();

  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& Value);
  // Index 1 to 6 (i, r, s, g, m, x); any other raises error 1013.
  bool GetModifier(int Index);
  void SetModifier(int Index, bool Value);
  // Applies a modifier string like "i-s" to Modifiers; false (Modifiers unchanged) on any
  // character other than the six letters in either case and "-".
  static bool ParseModifiers(const std::string& Text, TRegexModifiers& Modifiers);

  const std::string& SpaceChars() const { return spaceChars_; }
  void SetSpaceChars(const std::string& Value);
  const std::string& WordChars() const { return wordChars_; }
  void SetWordChars(const std::string& Value);
  const std::string& LineSeparators() const { return lineSeparators_; }
  void SetLineSeparators(const std::string& Value);
  const std::string& LinePairedSeparator() const { return linePairedSeparator_; }
  // Two different characters or an empty text; anything else raises error 128.
  void SetLinePairedSeparator(const std::string& Value);

  // Compiles Expression now; error 1003 without one.
  void Compile();
  // During compilation the pattern characters consumed so far; 0 otherwise.
  int CompilerErrorPos() const { return compilerErrorPos_; }

  // The subject, an own copy; raises error 1008 when none was set.
  const std::string& InputString();
  void SetInputString(const std::string& Value);
  // Sets the subject without copying it: Value must stay alive and unchanged until the
  // subject is replaced or the object destroyed. InputString copies it on first use.
  void SetInputView(std::string_view Value);
  // Sets the subject and searches it from position 1.
  bool Exec(const std::string& Input);
  // The same without copying Input, which must stay alive as for SetInputView.
  bool ExecView(std::string_view Input);
  // Searches the current subject from Offset (1-based); error 1006 below 1, false beyond
  // the subject's length + 1.
  bool ExecPos(int Offset = 1);
  // Searches on from the end of the last match, one further after an empty match.
  bool ExecNext();

  // 1-based position, length and text of subexpression Index of the last match; -1, -1 and
  // "" when Index is outside 0 to 14, there is no subject or the subexpression did not match.
  int GetMatchPos(int Index) const;
  int GetMatchLen(int Index) const;
  std::string GetMatch(int Index) const;

  // Expands "$0".."$14", "$&", "${n}" and "\c" in Template against the last match.
  std::string Substitute(const std::string& Template);
  // Input with every match replaced by Replacement (expanded when UseSubstitution).
  std::string Replace(const std::string& Input, const std::string& Replacement,
                      bool UseSubstitution);

  int LastError() const { return lastError_; }

private:
  void EnsureProgram();
  bool ExecPrim(int Offset);
  bool MatchAt(int Pos);
  void ClearMatchRegisters();
  void DiscardProgram();

  std::string expression_;
  TRegexModifiers modifiers_;
  std::unique_ptr<regex::TProgram> program_;
  std::unique_ptr<regex::TMatcher> matcher_;
  std::string spaceChars_;
  std::string wordChars_;
  std::string lineSeparators_;
  std::string linePairedSeparator_;
  std::string input_;
  bool hasInput_ = false;
  // The subject searched: input_, or the caller's text until InputString copies it.
  std::string_view subject_;
  int startp_[RegexSubExpCount];
  int endp_[RegexSubExpCount];
  int lastError_ = 0;
  int compilerErrorPos_ = 0;
};

// Whole match or replace in one call with the search instance's defaults; the object is
// freed also when an error passes.
bool ExecRegex(const std::string& Pattern, const std::string& Input);
std::string ReplaceRegex(const std::string& Pattern, const std::string& Input,
                         const std::string& Replacement, bool UseSubstitution);
