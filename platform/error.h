// The program's one error type. Whatever fails at run time becomes a RuntimeError whose message a
// user can read; it travels up to the single place that reports it and ends the process.
#pragma once

#include <stdexcept>
#include <string>

namespace gloam {

class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace gloam
