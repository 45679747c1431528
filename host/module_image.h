// module_image.h: a gauge module loaded into this process, and checked access to its
// memory, so that a malformed module is refused with a message instead of crashing us.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/error.h"

namespace gaugehost {

class ModuleImage {
 public:
  // Loads the module; throws HostError when the file is missing or is no loadable module.
  explicit ModuleImage(const std::string& path);
  ~ModuleImage();
  ModuleImage(const ModuleImage&) = delete;
  ModuleImage& operator=(const ModuleImage&) = delete;

  const std::string& path() const { return path_; }
  // Address of an exported symbol, 0 when the module does not export it.
  uintptr_t exportAddress(const char* name) const;
  // Every exported name, for checking a module exports nothing else.
  std::vector<std::string> exportNames() const;

  bool readable(uintptr_t address, size_t length) const;
  bool writable(uintptr_t address, size_t length) const;
  bool executable(uintptr_t address) const;

  // Checked reads and writes: throw HostError naming `what` when out of the image.
  uint32_t u32(uintptr_t address, const char* what) const;
  int32_t i32(uintptr_t address, const char* what) const { return static_cast<int32_t>(u32(address, what)); }
  double f64(uintptr_t address, const char* what) const;
  std::string cstring(uintptr_t address, size_t maxLength, const char* what) const;
  void write32(uintptr_t address, uint32_t value, const char* what);

  // A bitmap resource by number, as the DIB bytes (header, palette, pixels), or nothing.
  std::optional<std::vector<uint8_t>> bitmapResource(uint16_t id) const;

 private:
  struct Segment {
    uintptr_t begin, end;
    bool write, exec;
  };
  const Segment* segmentFor(uintptr_t address, size_t length) const;

  std::string path_;
  void* handle_ = nullptr;
  std::vector<Segment> segments_;
  std::map<uint16_t, std::vector<uint8_t>> resources_;  // bitmaps read from the file where the loader has none
};

}  // namespace gaugehost
