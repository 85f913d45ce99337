#pragma once

#include <memory>
#include <string>

#include <CLI/CLI.hpp>

namespace kaldra {

// The --help text of both programs, made from the option definitions: a usage
// line naming every option (those that exclude each other as alternatives),
// the description, one line per option, and the footer.
std::shared_ptr<CLI::Formatter> UsageFormatter();

// The one line that tells what was wrong with a command line, as
// "PROGRAM: WHAT (see PROGRAM --help)".
std::string UsageErrorLine(const std::string& program, const CLI::ParseError& error);

}  // namespace kaldra
