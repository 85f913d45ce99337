#include "command_line/command_line_help.h"

#include <set>
#include <vector>

namespace kaldra {

namespace {

constexpr std::size_t kTextWidth = 80;

class SynopsisFormatter final : public CLI::Formatter {
 public:
  SynopsisFormatter() { column_width(24); }

  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    return make_usage(app, std::move(name)) + "\n" + app->get_description() + "\n" +
           make_groups(app, mode) + "\n" + make_footer(app);
  }

  // "Usage: NAME [-h | --help] [--seed N | --scene FILE] ...", wrapped under
  // the first option.
  std::string make_usage(const CLI::App* app, std::string name) const override {
    const std::string lead = "Usage: " + name;
    std::string text = lead;
    std::size_t line_start = 0;
    std::set<const CLI::Option*> shown;
    for (const CLI::Option* option : app->get_options()) {
      if (shown.contains(option)) continue;
      std::vector<const CLI::Option*> alternatives = {option};
      for (const CLI::Option* other : option->get_excludes()) alternatives.push_back(other);
      std::string item;
      for (const CLI::Option* alternative : alternatives) {
        shown.insert(alternative);
        item += item.empty() ? "[" : " | ";
        item += Names(*alternative);
      }
      item += "]";
      if (text.size() - line_start + 1 + item.size() > kTextWidth) {
        text += "\n" + std::string(lead.size(), ' ');
        line_start = text.size() - lead.size();
      }
      text += " " + item;
    }
    return text + "\n";
  }

 private:
  // "-h | --help", or "--seed N".
  static std::string Names(const CLI::Option& option) {
    std::string names;
    for (const std::string& s : option.get_snames()) names += (names.empty() ? "-" : " | -") + s;
    for (const std::string& l : option.get_lnames()) names += (names.empty() ? "--" : " | --") + l;
    if (const std::string type = option.get_type_name(); !type.empty()) names += " " + type;
    return names;
  }
};

}  // namespace

std::optional<std::uint32_t> ParseSeed(std::string_view text) {
  std::uint32_t seed = 0;
  if (!ParseDecimal(text, seed)) return std::nullopt;
  return seed;
}

CLI::Validator SeedCheck() {
  return {[](const std::string& text) -> std::string {
            if (ParseSeed(text)) return {};
            return "needs a whole number from 0 to 4294967295, not '" + text + "'";
          },
          "", ""};
}

std::shared_ptr<CLI::Formatter> UsageFormatter() { return std::make_shared<SynopsisFormatter>(); }

std::string UsageErrorLine(const std::string& program, const CLI::ParseError& error) {
  return program + ": " + error.what() + " (see " + program + " --help)";
}

}  // namespace kaldra
