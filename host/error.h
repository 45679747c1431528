// error.h: the one exception the host throws for a module it cannot or will not run.
#pragma once
#include <stdexcept>
#include <string>

namespace gaugehost {

struct HostError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace gaugehost
