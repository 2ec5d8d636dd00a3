#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Shared by the tests that walk the corpus of real shortcut files.
namespace CorpusSupport {

std::string Folder();
std::vector<std::uint8_t> ReadBytes(const std::string& sPath);
// The file names of the corpus, from its manifest.
std::vector<std::string> FileNames();

} // namespace CorpusSupport
