#include "host/variables.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace gaugehost {

VariableValue VariableStore::get(uint32_t token) const {
  auto it = values_.find(token);
  return it == values_.end() ? VariableValue{} : it->second;
}

namespace {

long long ParseInteger(const std::string& text, const std::string& whole) {
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || *end || errno) throw std::invalid_argument("bad integer '" + text + "' in '" + whole + "'");
  return v;
}

}  // namespace

void VariableStore::assign(const std::string& text) {
  auto eq = text.find('=');
  if (eq == std::string::npos) throw std::invalid_argument("expected TOKEN=VALUE, got '" + text + "'");
  long long token = ParseInteger(text.substr(0, eq), text);
  if (token <= 0 || token > 0xffffffffLL) throw std::invalid_argument("token out of range in '" + text + "'");
  std::string value = text.substr(eq + 1);
  if (value.rfind("int:", 0) == 0) {
    long long v = ParseInteger(value.substr(4), text);
    if (v < INT32_MIN || v > UINT32_MAX) throw std::invalid_argument("integer out of 32-bit range in '" + text + "'");
    setInteger(static_cast<uint32_t>(token), static_cast<int32_t>(static_cast<uint32_t>(v)));
    return;
  }
  char* end = nullptr;
  double v = std::strtod(value.c_str(), &end);
  if (value.empty() || *end || !std::isfinite(v)) throw std::invalid_argument("bad number '" + value + "' in '" + text + "'");
  set(static_cast<uint32_t>(token), v);
}

}  // namespace gaugehost
