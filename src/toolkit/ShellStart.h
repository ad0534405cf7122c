// Hands a document or link to the shell's open operation, in one place, so tests can see what
// would start instead of starting it.
#pragma once
#include <functional>
#include <string>

// Opens Target with its associated program (no verb, no parameters, normal window); false when
// the shell refuses it.
bool ShellStart(const std::string& Target);
// Replaces the shell for tests; an empty function gives the real shell back.
void SetShellStartOverride(std::function<bool(const std::string& Target)> Override);

// One start through the shell with a verb, arguments and a window state.
struct TShellRequest {
  std::string Verb;        // "open", or empty for the default action
  std::string File;        // program, document or address
  std::string Parameters;  // arguments for a program
  int ShowCmd = 1;         // SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED
};
// False when the shell refuses it (its answer is 32 or below).
bool ShellRun(const TShellRequest& Request);
// Replaces the shell for tests; an empty function gives the real shell back.
void SetShellRunOverride(std::function<bool(const TShellRequest& Request)> Override);
