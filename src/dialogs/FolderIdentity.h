// Telling folders apart by what they are, not by the path that reached them.
#pragma once
#include <string>

// The same text for every path to one folder (volume and file index); the lower-case path
// when the system cannot say. Walks keep those of their path to skip link loops.
std::string FolderIdentity(const std::string& Folder);
