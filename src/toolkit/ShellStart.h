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
