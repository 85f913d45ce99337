#include "scene/scene_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "arithmetic/double_bits.h"
#include "scene/decimal_text.h"
#include "scene/scene_builder.h"

namespace kaldra {

namespace {

// Blanks and tabs separate the numbers; a carriage return is taken as a blank
// so that a file with CR LF line ends reads like any other.
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A token as it may be quoted in a message: short, and printable whatever
// bytes the file holds.
std::string Quote(std::string_view token) {
  constexpr std::size_t kMaxShown = 24;
  std::string shown;
  for (std::size_t i = 0; i < token.size() && i < kMaxShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (token.size() > kMaxShown) shown += "...";
  return "'" + shown + "'";
}

// One number of a scene line, or why it is none. The C locale's format
// whatever the process's locale, and trailing garbage refused; no leading plus
// sign is taken by the parser, so one is allowed here by hand.
std::optional<std::string> ParseNumber(std::string_view token, double& value) {
  std::string_view digits = token;
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+') {
    digits.remove_prefix(1);
  }
  std::size_t consumed = 0;
  const std::errc ec = ParseDecimal(digits, value, consumed);
  if (ec == std::errc::result_out_of_range) return Quote(token) + " is out of range";
  if (ec != std::errc() || consumed != digits.size()) return Quote(token) + " is not a number";
  if (!std::isfinite(value)) return Quote(token) + " is not a finite number";
  return std::nullopt;
}

// The blank-separated tokens of one line with its comment removed; at most
// five are kept, enough to tell that there are too many.
struct Tokens {
  std::array<std::string_view, 5> items;
  std::size_t count = 0;
};

Tokens Split(std::string_view line) {
  Tokens tokens;
  std::size_t i = 0;
  while (i < line.size() && tokens.count < tokens.items.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) tokens.items[tokens.count++] = line.substr(start, i - start);
  }
  return tokens;
}

std::string RefusalReason(const SceneBuilder& builder, const Verdict& verdict,
                          const std::vector<int>& lines) {
  const std::string other = verdict.other >= 0
                                ? "the segment on line " +
                                      std::to_string(lines[static_cast<std::size_t>(verdict.other)])
                                : std::string("another segment");
  return builder.Describe(verdict, other);
}

// Reads the four numbers of a segment line into `v`, or says why they are no
// segment.
std::optional<std::string> ParseSegment(const Tokens& tokens, std::array<double, 4>& v) {
  if (tokens.count != 4) {
    return "expected four numbers x1 y1 x2 y2, found " +
           (tokens.count > 4 ? std::string("more") : std::to_string(tokens.count));
  }
  for (std::size_t k = 0; k < 4; ++k) {
    if (auto problem = ParseNumber(tokens.items[k], v[k])) return problem;
  }
  return std::nullopt;
}

}  // namespace

SceneReadResult ReadScene(std::string_view text, double width, double height) {
  SceneReadResult result;
  auto refuse = [&result](int line, std::string reason) {
    result.lines.clear();
    result.error = SceneFileError{line, std::move(reason)};
    return result;
  };
  // A byte-order mark is how some editors start a UTF-8 file.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  SceneBuilder builder(width, height);
  int line_number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++line_number;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    const Tokens tokens = Split(line);
    if (tokens.count == 0) continue;

    if (builder.Count() == Scene::kMaxSegments) {
      return refuse(line_number, builder.Describe({Refusal::kTooMany}, {}));
    }
    std::array<double, 4> v{};
    if (auto problem = ParseSegment(tokens, v)) {
      return refuse(line_number, *problem);
    }
    // The generation stops with a run-time error when a slope, an intercept or
    // a crossing abscissa overflows; no generated scene holds such a segment,
    // so a loaded one may not either: the builder refuses it.
    const Verdict verdict = builder.Add(v[0], v[1], v[2], v[3]);
    if (!verdict.Accepted()) {
      return refuse(line_number, RefusalReason(builder, verdict, result.lines));
    }
    result.lines.push_back(line_number);
  }
  if (builder.Count() == 0) {
    return refuse(0, "no segments; a scene holds 1 to " + std::to_string(Scene::kMaxSegments));
  }
  result.scene = builder.Build();
  return result;
}

std::string FormatSceneError(std::string_view file_name, const SceneFileError& error) {
  std::string message(file_name);
  if (error.line > 0) message += ":" + std::to_string(error.line);
  return message + ": " + error.reason;
}

bool SameSegments(const Scene& a, const Scene& b) {
  if (a.Count() != b.Count()) return false;
  // Bits, not ==, so that -0 differs from 0 and a NaN from itself.
  auto same = [](double u, double v) { return arithmetic::BitsOf(u) == arithmetic::BitsOf(v); };
  for (int k = 0; k < a.Count(); ++k) {
    const Segment& s = a[k];
    const Segment& t = b[k];
    if (!same(s.x1, t.x1) || !same(s.y1, t.y1) || !same(s.x2, t.x2) || !same(s.y2, t.y2) ||
        !same(s.slope, t.slope) || !same(s.intercept, t.intercept) ||
        s.left_end_first != t.left_end_first) {
      return false;
    }
  }
  return true;
}

std::string WriteScene(const Scene& scene, std::string_view comment) {
  std::string text;
  std::size_t start = 0;
  while (start < comment.size()) {
    std::size_t end = comment.find('\n', start);
    if (end == std::string_view::npos) end = comment.size();
    text += "# ";
    text += comment.substr(start, end - start);
    text += '\n';
    start = end + 1;
  }
  auto put = [&text](double value, char after) {
    text += GeneralText(value, 17);
    text += after;
  };

  for (const Segment& s : scene.Segments()) {
    if (s.left_end_first) {
      put(s.x1, ' ');
      put(s.y1, ' ');
      put(s.x2, ' ');
      put(s.y2, '\n');
    } else {
      put(s.x2, ' ');
      put(s.y2, ' ');
      put(s.x1, ' ');
      put(s.y1, '\n');
    }
  }
  return text;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::strerror(errno);
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::optional<std::string> problem;
  if (std::ferror(file) != 0) problem = std::strerror(errno);
  if (file != stdin) std::fclose(file);
  return problem;
}

std::optional<std::string> SavedSceneText(const Scene& scene, std::optional<std::uint32_t> seed) {
  const auto w = static_cast<long>(scene.Width());
  const auto h = static_cast<long>(scene.Height());
  std::string comment = "Kaldra scene, " + std::to_string(w) + "x" + std::to_string(h);
  if (seed) comment += ", seed " + std::to_string(*seed);
  comment += "\nx1 y1 x2 y2 per segment, (x1, y1) the end generated first";
  std::string text = WriteScene(scene, comment);
  const SceneReadResult back = ReadScene(text, scene.Width(), scene.Height());
  if (back.error || !SameSegments(*back.scene, scene)) return std::nullopt;
  return text;
}

std::optional<std::pair<int, int>> SavedSize(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  constexpr std::string_view kHead = "# Kaldra scene, ";
  if (!text.starts_with(kHead)) return std::nullopt;
  text.remove_prefix(kHead.size());
  const char* const end = text.data() + text.size();
  int width = 0;
  int height = 0;
  const auto w = std::from_chars(text.data(), end, width);
  if (w.ec != std::errc() || w.ptr == end || *w.ptr != 'x') return std::nullopt;
  const auto h = std::from_chars(w.ptr + 1, end, height);
  // The size ends the line or is followed by ", seed N".
  if (h.ec != std::errc() || (h.ptr != end && *h.ptr != ',' && *h.ptr != '\n' && *h.ptr != '\r')) {
    return std::nullopt;
  }
  if (width <= 0 || height <= 0) return std::nullopt;
  return std::pair{width, height};
}

}  // namespace kaldra
