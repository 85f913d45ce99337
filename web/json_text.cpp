#include "web/json_text.h"

#include <cmath>
#include <cstdio>

#include "scene/decimal_text.h"

namespace kaldra {

namespace {

std::string TenDigits(double value) { return GeneralText(value, 10); }

}  // namespace

void JsonText::BeforeValue() {
  if (after_value_) text_ += ',';
  after_value_ = true;
}

JsonText& JsonText::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  after_value_ = false;
  return *this;
}

JsonText& JsonText::Close(char bracket) {
  text_ += bracket;
  after_value_ = true;
  return *this;
}

JsonText& JsonText::Key(std::string_view key) {
  String(key);
  text_ += ':';
  after_value_ = false;
  return *this;
}

JsonText& JsonText::String(std::string_view text) {
  BeforeValue();
  text_ += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      text_ += escaped;
    } else {
      text_ += c;  // UTF-8 passes as it is
    }
  }
  text_ += '"';
  return *this;
}

JsonText& JsonText::Number(double value, std::string (*text)(double)) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  text_ += text(value);
  return *this;
}

JsonText& JsonText::Number(double value) { return Number(value, TenDigits); }

JsonText& JsonText::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonText& JsonText::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

}  // namespace kaldra
