#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kaldra {

// An output file as the command line names it: the option, and the path ("-"
// for standard output).
struct OutputTarget {
  std::string option;
  std::string path;
};

// Whether every output can be written, checked before any work so that a
// mistyped path is a usage error rather than a lost rendering. A symbolic link
// stands for the file it points to. Refused: a path whose folder is missing or
// may not be written, a directory, an existing file the user may not write, a
// file in a sticky folder that another user owns, two outputs that are the same file (the same
// device and inode, or for files not there yet the same resolved path), and more than one "-".
// Returns the reason for the first refusal.
std::optional<std::string> CheckOutputs(const std::vector<OutputTarget>& targets);

// A file to write and its whole contents; "-" is standard output.
struct OutputFile {
  std::string path;
  std::string contents;
};

// Writes the files. A regular file, or one not there yet, is written next to
// its target under a temporary name and renamed onto it, keeping an existing
// file's permissions, so it is whole or not at all; a symbolic link
// is followed and kept. Anything else that exists (standard output, a FIFO, a
// terminal, a device) is written directly. The direct writes come after every
// regular file is complete, and the renames after them, so a failure anywhere
// before the renames replaces no file. Returns the reason of the first failure.
std::optional<std::string> WriteOutputs(const std::vector<OutputFile>& files);

}  // namespace kaldra
