// Loading a module and bounding every access to it by the image the loader mapped.
#include "host/module_image.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#endif

namespace gaugehost {

namespace {

bool FileExists(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return f.good();
}

template <typename T>
T Load(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

#ifndef _WIN32
constexpr const char* BitmapSectionPrefix = ".gauge_bitmap.";
constexpr size_t BmpFileHeaderSize = 14;

// The parts of an ELF file the loader does not give us: its export names and our
// bitmap section, which travels in the module file itself.
struct ElfExtras {
  std::vector<std::string> exports;
  std::map<uint16_t, std::vector<uint8_t>> bitmaps;  // by resource number: the .bmp file bytes
};

ElfExtras ReadElfExtras(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  ElfExtras out;
  auto fits = [&](uint64_t offset, uint64_t length) { return offset <= file.size() && length <= file.size() - offset; };
  if (!fits(0, sizeof(Elf32_Ehdr)) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0 || file[EI_CLASS] != ELFCLASS32)
    throw HostError(path + ": not a loadable module (no 32-bit ELF file)");
  auto eh = Load<Elf32_Ehdr>(file.data());
  if (eh.e_shentsize != sizeof(Elf32_Shdr) || !fits(eh.e_shoff, uint64_t(eh.e_shnum) * sizeof(Elf32_Shdr)) ||
      eh.e_shstrndx >= eh.e_shnum)
    throw HostError(path + ": malformed section table");
  std::vector<Elf32_Shdr> sections(eh.e_shnum);
  for (unsigned i = 0; i < eh.e_shnum; ++i)
    sections[i] = Load<Elf32_Shdr>(file.data() + eh.e_shoff + i * sizeof(Elf32_Shdr));
  auto sectionName = [&](const Elf32_Shdr& s) -> std::string {
    const Elf32_Shdr& names = sections[eh.e_shstrndx];
    if (s.sh_name >= names.sh_size || !fits(names.sh_offset, names.sh_size)) return {};
    const char* p = reinterpret_cast<const char*>(file.data() + names.sh_offset + s.sh_name);
    return std::string(p, strnlen(p, names.sh_size - s.sh_name));
  };
  for (const Elf32_Shdr& s : sections) {
    if (s.sh_type == SHT_DYNSYM && s.sh_link < sections.size() && fits(s.sh_offset, s.sh_size)) {
      const Elf32_Shdr& strtab = sections[s.sh_link];
      if (!fits(strtab.sh_offset, strtab.sh_size)) continue;
      for (uint32_t at = 0; at + sizeof(Elf32_Sym) <= s.sh_size; at += sizeof(Elf32_Sym)) {
        auto sym = Load<Elf32_Sym>(file.data() + s.sh_offset + at);
        unsigned bind = ELF32_ST_BIND(sym.st_info);
        if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK) || sym.st_name >= strtab.sh_size)
          continue;
        const char* p = reinterpret_cast<const char*>(file.data() + strtab.sh_offset + sym.st_name);
        out.exports.emplace_back(p, strnlen(p, strtab.sh_size - sym.st_name));
      }
    } else if (std::string name = sectionName(s); name.rfind(BitmapSectionPrefix, 0) == 0 && fits(s.sh_offset, s.sh_size)) {
      unsigned long id = std::strtoul(name.c_str() + std::strlen(BitmapSectionPrefix), nullptr, 10);
      if (id <= 0xffff)
        out.bitmaps[static_cast<uint16_t>(id)].assign(file.begin() + s.sh_offset, file.begin() + s.sh_offset + s.sh_size);
    }
  }
  return out;
}
#endif

}  // namespace

#ifdef _WIN32

ModuleImage::ModuleImage(const std::string& path) : path_(path) {
  if (!FileExists(path)) throw HostError(path + ": no such file");
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The altered search order (the module's own folder first) needs a full path.
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  std::string loadPath = n && n < sizeof full ? std::string(full, n) : path;
  HMODULE h = LoadLibraryExA(loadPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!h) throw HostError(path + ": not a loadable module (Windows error " + std::to_string(GetLastError()) + ")");
  handle_ = h;
  auto base = reinterpret_cast<const uint8_t*>(h);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    uintptr_t begin = reinterpret_cast<uintptr_t>(base) + section->VirtualAddress;
    uint32_t size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
    segments_.push_back({begin, begin + size, (section->Characteristics & IMAGE_SCN_MEM_WRITE) != 0,
                         (section->Characteristics & IMAGE_SCN_MEM_EXECUTE) != 0});
  }
}

ModuleImage::~ModuleImage() { FreeLibrary(static_cast<HMODULE>(handle_)); }

uintptr_t ModuleImage::exportAddress(const char* name) const {
  return reinterpret_cast<uintptr_t>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::vector<std::string> ModuleImage::exportNames() const {
  std::vector<std::string> names;
  auto base = reinterpret_cast<const uint8_t*>(handle_);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!dir.VirtualAddress) return names;
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  return names;
}

std::optional<std::vector<uint8_t>> ModuleImage::bitmapResource(uint16_t id) const {
  HMODULE h = static_cast<HMODULE>(handle_);
  HRSRC found = FindResourceA(h, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(h, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(h, found);
  if (!data || !size) return std::nullopt;
  auto bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

#else

ModuleImage::ModuleImage(const std::string& path) : path_(path) {
  if (!FileExists(path)) throw HostError(path + ": no such file");
  ElfExtras extras = ReadElfExtras(path);
  std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw HostError(path + ": not a loadable module (" + dlerror() + ")");
  resources_ = std::move(extras.bitmaps);
  link_map* map = nullptr;
  if (dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map) throw HostError(path + ": loader gave no link map");
  struct Search {
    link_map* map;
    std::vector<Segment>* segments;
  } search{map, &segments_};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_addr != s->map->l_addr || std::strcmp(info->dlpi_name, s->map->l_name) != 0) return 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& ph = info->dlpi_phdr[i];
          if (ph.p_type != PT_LOAD) continue;
          uintptr_t begin = info->dlpi_addr + ph.p_vaddr;
          s->segments->push_back({begin, begin + ph.p_memsz, (ph.p_flags & PF_W) != 0, (ph.p_flags & PF_X) != 0});
        }
        return 1;
      },
      &search);
  if (segments_.empty()) throw HostError(path + ": loader gave no segments");
}

ModuleImage::~ModuleImage() { dlclose(handle_); }

uintptr_t ModuleImage::exportAddress(const char* name) const {
  return reinterpret_cast<uintptr_t>(dlsym(handle_, name));
}

std::vector<std::string> ModuleImage::exportNames() const { return ReadElfExtras(path_).exports; }

// A bitmap section holds the .bmp file; the resource is the DIB after its file header.
std::optional<std::vector<uint8_t>> ModuleImage::bitmapResource(uint16_t id) const {
  auto it = resources_.find(id);
  if (it == resources_.end() || it->second.size() < BmpFileHeaderSize || it->second[0] != 'B' || it->second[1] != 'M')
    return std::nullopt;
  return std::vector<uint8_t>(it->second.begin() + BmpFileHeaderSize, it->second.end());
}

#endif

const ModuleImage::Segment* ModuleImage::segmentFor(uintptr_t address, size_t length) const {
  for (const Segment& s : segments_)
    if (address >= s.begin && address < s.end && length <= s.end - address) return &s;
  return nullptr;
}

bool ModuleImage::readable(uintptr_t address, size_t length) const { return segmentFor(address, length) != nullptr; }

bool ModuleImage::writable(uintptr_t address, size_t length) const {
  const Segment* s = segmentFor(address, length);
  return s && s->write;
}

bool ModuleImage::executable(uintptr_t address) const {
  const Segment* s = segmentFor(address, 1);
  return s && s->exec;
}

static std::string Hex(uintptr_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(v));
  return text;
}

uint32_t ModuleImage::u32(uintptr_t address, const char* what) const {
  if (!readable(address, 4)) throw HostError(path_ + ": " + what + " at " + Hex(address) + " lies outside the module");
  return Load<uint32_t>(reinterpret_cast<const uint8_t*>(address));
}

double ModuleImage::f64(uintptr_t address, const char* what) const {
  if (!readable(address, 8)) throw HostError(path_ + ": " + what + " at " + Hex(address) + " lies outside the module");
  return Load<double>(reinterpret_cast<const uint8_t*>(address));
}

std::string ModuleImage::cstring(uintptr_t address, size_t maxLength, const char* what) const {
  std::string out;
  for (size_t i = 0; i < maxLength; ++i) {
    if (!readable(address + i, 1)) break;
    char c = *reinterpret_cast<const char*>(address + i);
    if (c == '\0') return out;
    out.push_back(c);
  }
  throw HostError(path_ + ": " + what + " at " + Hex(address) + " is not a NUL-terminated text inside the module");
}

void ModuleImage::write32(uintptr_t address, uint32_t value, const char* what) {
  if (!writable(address, 4)) throw HostError(path_ + ": " + what + " at " + Hex(address) + " is not writable module data");
  std::memcpy(reinterpret_cast<void*>(address), &value, sizeof value);
}

}  // namespace gaugehost
