#pragma once

#include <string>
#include <string_view>

namespace kaldra {

// What a front end tells the user when a run-time error has stopped the
// drawing, before the program ends: the error's message under one line.
inline std::string RunTimeErrorText(std::string_view message) {
  return "Kaldra stopped drawing because of a run-time error:\n\n" + std::string(message);
}

}  // namespace kaldra
