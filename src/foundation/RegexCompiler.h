// Compiles a pattern into the node program of the regular-expression engine.
#pragma once
#include <memory>
#include <string>
#include "foundation/RegexProgram.h"

namespace regex {

// Thrown by the compiler and turned into TRegex.Error by its owner.
struct TCompileFailure {
  int Code;
  int Position;  // pattern characters consumed when the error was found
};

// Raises TCompileFailure on a syntax error. Pattern must not be empty.
std::unique_ptr<TProgram> CompileProgram(const std::string& Pattern, TRegexModifiers Modifiers,
                                         const TCharParams& Params);

}  // namespace regex
