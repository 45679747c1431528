// variables.h: the host's simulator variables, a value per token, as RefreshVariable
// delivers them: a double, or a 32-bit integer in the first four bytes of Value.
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace gaugehost {

struct VariableValue {
  bool isInteger = false;
  double number = 0.0;
  int32_t integer = 0;
};

class VariableStore {
 public:
  void set(uint32_t token, double value) { values_[token] = {false, value, 0}; }
  void setInteger(uint32_t token, int32_t value) { values_[token] = {true, 0.0, value}; }
  // Unset tokens read as the double 0.0.
  VariableValue get(uint32_t token) const;
  // "TOKEN=VALUE" (a double) or "TOKEN=int:VALUE" (32-bit integer, decimal or 0x hex);
  // TOKEN decimal or 0x hex. Throws std::invalid_argument with a message on bad text.
  void assign(const std::string& text);
  const std::map<uint32_t, VariableValue>& all() const { return values_; }

 private:
  std::map<uint32_t, VariableValue> values_;
};

}  // namespace gaugehost
