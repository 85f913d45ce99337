#pragma once

#include <string>
#include <string_view>

namespace kaldra {

// A JSON text written value by value, for the page's script to read with
// JSON.parse: objects and arrays, keys, strings, numbers, booleans and null,
// with the commas in between.
class JsonText {
 public:
  JsonText& Open(char bracket);   // '{' or '['
  JsonText& Close(char bracket);  // '}' or ']'
  JsonText& Key(std::string_view key);
  JsonText& String(std::string_view text);
  // A number as `text` writes it (decimal_text.h); null when not finite.
  JsonText& Number(double value, std::string (*text)(double));
  JsonText& Number(double value);  // 10 significant digits, enough to paint with
  JsonText& Bool(bool value);
  JsonText& Null();
  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();

  std::string text_;
  bool after_value_ = false;
};

}  // namespace kaldra
