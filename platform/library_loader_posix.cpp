// The library loader on POSIX systems, over dlopen: same search, same use counting.
#include "platform/library_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

namespace {

// name plus ".so" when it has no extension; false when that does not fit.
bool WithExtension(const char* name, char* out, size_t size) {
  const char* base = strrchr(name, '/');
  base = base ? base + 1 : name;
  const char* ext = strchr(base, '.') ? "" : ".so";
  size_t n = strlen(name), e = strlen(ext);
  if (n + e + 1 > size) return false;
  memcpy(out, name, n);
  memcpy(out + n, ext, e + 1);
  return true;
}

bool JoinPath(const char* dir, size_t dirLength, const char* file, char* out, size_t size) {
  size_t f = strlen(file);
  if (dirLength + 1 + f + 1 > size) return false;
  memcpy(out, dir, dirLength);
  out[dirLength] = '/';
  memcpy(out + dirLength + 1, file, f + 1);
  return true;
}

HMODULE OpenIfPresent(const char* dir, size_t dirLength, const char* file) {
  char path[PATH_MAX];
  if (!JoinPath(dir, dirLength, file, path, sizeof path) || access(path, F_OK) != 0) return nullptr;
  return static_cast<HMODULE>(dlopen(path, RTLD_NOW | RTLD_LOCAL));
}

struct FindByBaseName {
  const char* wanted;
  char found[PATH_MAX];
};

int MatchBaseName(dl_phdr_info* info, size_t, void* data) {
  FindByBaseName* find = static_cast<FindByBaseName*>(data);
  const char* path = info->dlpi_name;
  if (!path || !*path) return 0;
  const char* base = strrchr(path, '/');
  base = base ? base + 1 : path;
  if (strcasecmp(base, find->wanted) != 0) return 0;
  if (strlen(path) >= sizeof find->found) return 0;
  strcpy(find->found, path);
  return 1;
}

}  // namespace

HMODULE GetModuleHandleA(const char* name) {
  char file[PATH_MAX];
  if (!name || !WithExtension(name, file, sizeof file)) return nullptr;
  const char* base = strrchr(file, '/');
  FindByBaseName find{base ? base + 1 : file, {}};
  if (!dl_iterate_phdr(MatchBaseName, &find)) return nullptr;
  // RTLD_NOLOAD still counts a use; give it straight back so the count is unchanged.
  void* handle = dlopen(find.found, RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return static_cast<HMODULE>(handle);
}

HMODULE LoadLibraryA(const char* name) {
  char file[PATH_MAX];
  if (!name || !WithExtension(name, file, sizeof file)) return nullptr;
  if (strchr(file, '/')) return static_cast<HMODULE>(dlopen(file, RTLD_NOW | RTLD_LOCAL));

  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    exe[n] = '\0';
    if (const char* slash = strrchr(exe, '/')) {
      if (HMODULE h = OpenIfPresent(exe, static_cast<size_t>(slash - exe), file)) return h;
    }
  }
  if (HMODULE h = OpenIfPresent(".", 1, file)) return h;
  const char* path = getenv("PATH");
  while (path && *path) {
    const char* end = strchr(path, ':');
    size_t length = end ? static_cast<size_t>(end - path) : strlen(path);
    if (length > 0) {
      if (HMODULE h = OpenIfPresent(path, length, file)) return h;
    }
    path = end ? end + 1 : nullptr;
  }
  return nullptr;
}

FARPROC GetProcAddress(HMODULE library, const char* name) {
  if (!library || !name) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(library, name));
}

int FreeLibrary(HMODULE library) { return library && dlclose(library) == 0; }
