#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kaldra {

// A file to write and its whole contents.
struct OutputFile {
  std::string path;
  std::string contents;
};

// Whether `path` can be created: its directory exists and is a directory.
// Checked before any work, so a mistyped directory is a usage error rather than
// a lost rendering. Returns the reason when it cannot.
std::optional<std::string> CheckOutputPath(const std::string& path);

// Writes every file whole or not at all: each is first written to a temporary
// file in its own directory (so the rename stays on one file system), and only
// when all are complete are they renamed into place. On failure every
// temporary file is removed and the reason returned; no target is touched
// unless a rename itself fails.
std::optional<std::string> WriteFilesWhole(const std::vector<OutputFile>& files);

}  // namespace kaldra
