// The path layer: Windows paths (backslashes, case-insensitive names) mapped onto the real file system.
#include "platform/win32/win32_kernel.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/KernelInternal.h"

namespace {

// Case folding of the 8-bit text: ASCII and the Latin-1 capitals (the multiplication sign is not a letter).
unsigned char FoldCase(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return (unsigned char)(c + 0x20);
  return c;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase((unsigned char)a[i]) != FoldCase((unsigned char)b[i])) return false;
  return true;
}

// A name the system creates is written to disk in UTF-8, so that other programs show it as the game does.
std::string FileSystemName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (unsigned char c : name) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Media and saves name their files in whatever case the author typed; a case-insensitive match against the
// folder's entries finds them, each read as the system's 8-bit text (a listed name finds its file). When several
// entries match, the first in byte order wins so the answer never depends on the order the file system lists them.
bool FindEntryIgnoringCase(const std::string& folder, const std::string& name, std::string& found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (struct dirent* entry = ::readdir(dir)) {
    if (!SameNameIgnoringCase(brW32SystemName(entry->d_name), name)) continue;
    if (!any || std::strcmp(entry->d_name, found.c_str()) < 0) found = entry->d_name;
    any = true;
  }
  ::closedir(dir);
  return any;
}

}  // namespace

std::string brW32SystemName(const char* fsName) {
  std::string out;
  const unsigned char* p = (const unsigned char*)fsName;
  while (*p) {
    const unsigned char c = *p;
    int extra = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
    bool sequence = extra > 0;
    for (int i = 1; sequence && i <= extra; ++i) sequence = (p[i] & 0xC0) == 0x80;
    if (!sequence) {
      out.push_back(char(c));
      ++p;
      continue;
    }
    // Two-byte sequences from C2 hold U+0080 to U+07FF: below U+0100 they are Latin-1 itself.
    out.push_back(extra == 1 && c <= 0xC3 ? char(((c & 0x1F) << 6) | (p[1] & 0x3F)) : '?');
    p += 1 + extra;
  }
  return out;
}

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
          resolving = false;  // the rest is about to be created
      }
    }
    if (!resolving) name = FileSystemName(part);
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
