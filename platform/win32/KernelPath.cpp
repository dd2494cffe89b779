// The path layer: Windows paths (backslashes, case-insensitive names) mapped onto the real file system.
#include "platform/win32/win32_kernel.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/KernelInternal.h"

namespace {

bool PathExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Media and saves name their files in whatever case the author typed; a case-insensitive match against the
// folder's entries finds them. When several entries differ only in case, the first in byte order wins so the
// answer never depends on the order the file system lists them.
bool FindEntryIgnoringCase(const std::string& folder, const std::string& name, std::string& found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (struct dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, name.c_str()) != 0) continue;
    if (!any || std::strcmp(entry->d_name, found.c_str()) < 0) found = entry->d_name;
    any = true;
  }
  ::closedir(dir);
  return any;
}

}  // namespace

std::string brW32NormaliseSeparators(const char* path) {
  std::string out;
  out.reserve(std::strlen(path));
  for (const char* p = path; *p; ++p) {
    char c = (*p == '\\') ? '/' : *p;
    // Windows reads "a\\\\b" as "a\\b"; one slash keeps the component walk simple.
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(c);
  }
  return out;
}

std::string brW32ResolvePath(const char* path) {
  std::string norm = brW32NormaliseSeparators(path);
  if (norm.empty() || PathExists(norm)) return norm;

  std::vector<std::string> parts;
  size_t start = 0;
  bool absolute = norm[0] == '/';
  if (absolute) start = 1;
  while (start <= norm.size()) {
    size_t slash = norm.find('/', start);
    if (slash == std::string::npos) slash = norm.size();
    parts.push_back(norm.substr(start, slash - start));
    start = slash + 1;
  }
  // A trailing slash leaves an empty last part; it is written back as the slash.
  bool trailingSlash = !parts.empty() && parts.back().empty();
  if (trailingSlash) parts.pop_back();

  std::string result = absolute ? "/" : "";
  bool resolving = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    std::string name = part;
    if (resolving && part != "." && part != "..") {
      if (!PathExists(result + part)) {
        std::string found;
        if (FindEntryIgnoringCase(result, part, found))
          name = found;
        else
          resolving = false;  // the rest is about to be created: keep it as given
      }
    }
    result += name;
    if (i + 1 < parts.size()) result += '/';
  }
  if (trailingSlash) result += '/';
  return result;
}

bool W32MapPath(const char* path, char* out, size_t size) {
  if (!out || size == 0) return false;
  out[0] = 0;
  if (!path) return false;
  std::string real = brW32ResolvePath(path);
  if (real.size() + 1 > size) return false;
  std::memcpy(out, real.c_str(), real.size() + 1);
  return true;
}

FILE* W32fopen(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  std::string real = brW32ResolvePath(path);
  if (real.empty()) return nullptr;
  return std::fopen(real.c_str(), mode);
}
