#include "tools/json_line.h"

#include <charconv>
#include <system_error>

namespace kaldra {

namespace {

// A cursor over the text with the few productions the summary line uses.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }

  // A key: printable characters between quotes, no escapes.
  std::optional<std::string> Key() {
    if (!Take('"')) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      const char c = text_[pos_];
      if (c == '\\' || static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      ++pos_;
    }
    if (pos_ == text_.size()) return std::nullopt;
    std::string key(text_.substr(start, pos_ - start));
    ++pos_;
    return key;
  }

  // null, or a number by JSON's grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
  bool Value(std::optional<double>& value) {
    SkipBlanks();
    if (text_.substr(pos_).starts_with("null")) {
      pos_ += 4;
      value.reset();
      return true;
    }
    const std::size_t start = pos_;
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else if (IsDigit(Peek())) {
      SkipDigits();
    } else {
      return false;
    }
    if (Peek() == '.') {
      ++pos_;
      if (!IsDigit(Peek())) return false;
      SkipDigits();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!IsDigit(Peek())) return false;
      SkipDigits();
    }
    double number = 0;
    const char* const end = text_.data() + pos_;
    const auto [ptr, ec] = std::from_chars(text_.data() + start, end, number);
    if (ec != std::errc() || ptr != end) return false;
    value = number;
    return true;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void SkipDigits() {
    while (IsDigit(Peek())) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<FlatJson> ParseFlatJson(std::string_view text) {
  Reader reader(text);
  FlatJson object;
  if (!reader.Take('{')) return std::nullopt;
  if (!reader.Take('}')) {
    do {
      std::optional<std::string> key = reader.Key();
      if (!key || !reader.Take(':')) return std::nullopt;
      std::optional<double> value;
      if (!reader.Value(value)) return std::nullopt;
      if (!object.emplace(std::move(*key), value).second) return std::nullopt;  // duplicate
    } while (reader.Take(','));
    if (!reader.Take('}')) return std::nullopt;
  }
  if (!reader.AtEnd()) return std::nullopt;
  return object;
}

}  // namespace kaldra
