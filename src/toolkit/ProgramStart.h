// Starts a program through the shell's open verb with parameters, in one place, so tests can
// see what would start instead of starting it.
#pragma once
#include <functional>
#include <string>

// False when the shell refuses (a result of 32 or below).
bool ShellOpenProgram(const std::string& Program, const std::string& Params);
// Replaces the shell for tests; an empty function gives the real shell back.
void SetProgramStartOverride(
    std::function<bool(const std::string& Program, const std::string& Params)> Override);
