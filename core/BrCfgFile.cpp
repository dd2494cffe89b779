// BrCfgFile: opening (and creating main.cfg), the section and key scans, value conversion and list splitting.
#include "core/BrCfgFile.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/BrLogFile.h"
#include "platform/win32/win32_kernel.h"

struct BrCfgFile::Text {
  W32FILESTAMP stamp;
  bool stamped;
  // The bytes as read, and when (real time, nanoseconds) they were last known to be the file's content.
  std::string raw;
  mutable uint64_t confirmedAt = 0;
  // Every line, each ended by a 0, as NextLine gives it; lineStart[i] is where line i begins.
  std::string chars;
  std::vector<uint32_t> lineStart;
  // Whether line i is a header line (one that ends a section).
  std::vector<char> header;
  // For each name, the lines that are exactly "[" name "]", in file order.
  std::unordered_map<std::string, std::vector<uint32_t>> sections;

  const char* Line(size_t i) const { return chars.data() + lineStart[i]; }
};

namespace {
const uint32_t kReadUpdate = 0x1000001;

// The engine's default main.cfg, one entry a line.
const char* const kDefaultText[] = {"[Engine]",
                                    "Safe=0",
                                    "",
                                    "[Render]",
                                    "Device=GfxDrv",
                                    "UseWBuffer=1",
                                    "UseZBuffer=0",
                                    "DepthBufferBitDepth=16",
                                    "",
                                    "[Display]",
                                    "WindowWidth=1024",
                                    "WindowHeight=768",
                                    "StartFullScreen=0",
                                    "ScreenWidth=800",
                                    "ScreenHeight=600",
                                    "",
                                    "[Game]",
                                    "Launch=",
                                    "Title=Hello World",
                                    "Parser=",
                                    "MouseSpeedX=50",
                                    "MouseSpeedY=50",
                                    "DefaultFont=Media\\Fonts\\fontVanilla.tga"};

// Only the main configuration has a default text worth writing; any other missing file is an error of the caller
// and must not appear on disk as a copy of the engine's settings.
bool IsMainConfig(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  const char* wanted = "main.cfg";
  for (; *name && *wanted; ++name, ++wanted) {
    char c = *name;
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != *wanted) return false;
  }
  return *name == 0 && *wanted == 0;
}

// Whether anything answers to path, by searching its folder: no stream is opened, so nothing can be truncated or
// created, and a file without write permission still counts as existing.
bool PathExists(const char* path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// A header line: its first non-blank character is '[' and a ']' follows. Only such a line ends a section, so a
// comment or a value holding brackets ("Title=[Demo]") keeps the rest of its section readable.
// An existing entry that is no folder: a folder opens for reading on some systems, yet holds no text.
bool IsPlainFile(const char* path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Editors that save "UTF-8" (Windows' Notepad among them) may open the file with a byte-order mark. It is no
// part of the first line: left in, it hides the first section's header and the file reads as corrupt.
const char kUtf8Mark[] = "\xEF\xBB\xBF";
bool StartsWithUtf8Mark(const char* bytes, size_t size) { return size >= 3 && std::memcmp(bytes, kUtf8Mark, 3) == 0; }

bool IsHeaderLine(const char* line) {
  while (*line == ' ' || *line == '\t') ++line;
  return *line == '[' && std::strchr(line + 1, ']') != nullptr;
}

// The key at the very start of the line followed by '='; a comment never matches.
bool IsKeyLine(const char* line, const char* key) {
  const size_t n = std::strlen(key);
  return n > 0 && line[0] != '#' && std::strncmp(line, key, n) == 0 && line[n] == '=';
}

// The value of a key line: after the '=' characters that follow the key, up to the next '=' or the end.
void CopyValue(const char* line, const char* key, char* value) {
  const char* p = line + std::strlen(key);
  while (*p == '=') ++p;
  int n = 0;
  while (p[n] && p[n] != '=' && n < BrCfgFile::ciLineLen - 1) {
    value[n] = p[n];
    ++n;
  }
  value[n] = 0;
}

void CopyBounded(char* out, int outSize, const char* text) {
  int n = 0;
  while (text[n] && n < outSize - 1) {
    out[n] = text[n];
    ++n;
  }
  out[n] = 0;
}
}  // namespace

BrCfgFile::BrCfgFile() {}

BrCfgFile::BrCfgFile(const char* path) { Open(path, kReadUpdate); }

BrCfgFile::~BrCfgFile() {}

bool BrCfgFile::Open(const char* path, uint32_t flags) {
  char mode[16];
  GetPermissions(flags, mode);
  m_pText.reset();
  m_bHeld = false;
  if (m_pHandle) Close();
  if (m_bOpen || m_pHandle || !path) return false;

  if (FILE* f = OpenStream(path, mode)) {
    m_pHandle = f;
    m_bOpen = true;
    SetFullPath(path);
    return true;
  }
  // A file the user made read-only is still read; only writing it back needs write access, and that is
  // checked and reported there.
  if (std::strchr(mode, '+') && mode[0] == 'r' && IsPlainFile(path)) {
    if (FILE* f = OpenStream(path, std::strchr(mode, 'b') ? "rb" : "r")) {
      m_pHandle = f;
      m_bOpen = true;
      SetFullPath(path);
      return true;
    }
  }
  if (!IsMainConfig(path) || PathExists(path)) {
    // Recorded all the same, so whoever reports the failure can name the file.
    if (PathExists(path)) SetFullPath(path);
    return false;
  }
  // Exclusive creation: should the file appear between the test and here, it is left alone rather than emptied.
  FILE* f = OpenStream(path, "w+x");
  if (!f) return false;
  m_pHandle = f;
  m_bOpen = true;
  CreateDefault();
  SetFullPath(path);
  return true;
}

bool BrCfgFile::CreateDefault() {
  if (!IsValid()) return false;
  for (const char* line : kDefaultText) WriteLine(line);
  std::fflush(m_pHandle);
  return true;
}

bool BrCfgFile::CheckText(const char** problem) {
  const char* why = nullptr;
  int64_t saved = 0;
  if (!IsValid() || !GetPos(saved) || !SetPos(0)) why = "it cannot be read";
  if (!why) {
    char mark[3];
    const size_t got = std::fread(mark, 1, 3, m_pHandle);
    if (!StartsWithUtf8Mark(mark, got)) SetPos(0);
  }
  bool header = false;
  int c = 0;
  bool lineStart = true, comment = false, blankSoFar = true;
  while (!why && (c = std::fgetc(m_pHandle)) != EOF) {
    if (c < 32 && c != '\t' && c != '\r' && c != '\n')
      why = "it holds bytes that are not text";
    else if (c == '\n') {
      lineStart = true;
      blankSoFar = true;
      comment = false;
    } else {
      if (lineStart) comment = c == '#';
      lineStart = false;
      if (blankSoFar && c == '[' && !comment) header = true;
      if (c != ' ' && c != '\t' && c != '\r') blankSoFar = false;
      if (c == '=' && !header && !comment) why = "it holds keys before any section header";
    }
  }
  if (!why && IsValid() && std::ferror(m_pHandle)) why = "it cannot be read";
  if (IsValid()) {
    std::clearerr(m_pHandle);
    SetPos(saved);
  }
  if (problem) *problem = why;
  return why == nullptr;
}

bool BrCfgFile::NextLine(char* line) {
  int64_t at = -1;
  if (IsValid()) GetPos(at);
  if (!ReadLine(line, ciLineLen)) return false;
  size_t n = std::strlen(line);
  if (at == 0 && StartsWithUtf8Mark(line, n)) {
    std::memmove(line, line + 3, n - 2);
    n -= 3;
  }
  if (n > 0 && line[n - 1] == '\n') line[--n] = 0;
  // Files edited on Windows end their lines in "\r\n"; the '\r' is no part of any name or value.
  if (n > 0 && line[n - 1] == '\r') line[--n] = 0;
  return true;
}

namespace {
bool SameStamp(const W32FILESTAMP& a, const W32FILESTAMP& b) {
  return a.volume == b.volume && a.index == b.index && a.size == b.size && a.written == b.written &&
         a.changed == b.changed;
}

// File times move in steps as coarse as a clock tick (or a second on some file systems), so a file written
// again within that step of being read can keep its stamp. A stamp is trusted only when the file had last
// changed well before its bytes were read; otherwise the bytes are compared.
const uint64_t kStampStepNs = 2000000000ull;

uint64_t RealTimeNs() {
  timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return uint64_t(t.tv_sec) * 1000000000ull + uint64_t(t.tv_nsec);
}

// How many texts read lately are kept, so that a file opened again and again (once per configured object) is
// split and indexed once per content. The stamp decides: a file written since has another size or time.
const size_t kRecentTexts = 16;
}  // namespace

// The lines are cut exactly as NextLine cuts them from the stream: at most ciLineLen - 1 bytes a piece, a piece
// ending after its '\n'; the piece is read up to its first 0 byte, then loses its '\n' and a '\r' before it.
std::shared_ptr<BrCfgFile::Text> BrCfgFile::Parse(const char* bytes, size_t size) {
  auto text = std::make_shared<Text>();
  text->stamped = false;
  text->chars.reserve(size + size / 16 + 1);
  const size_t piece = size_t(ciLineLen - 1);
  for (size_t pos = 0; pos < size;) {
    const size_t limit = size - pos < piece ? size - pos : piece;
    const char* start = bytes + pos;
    const void* nl = std::memchr(start, '\n', limit);
    const size_t taken = nl ? size_t(static_cast<const char*>(nl) - start) + 1 : limit;
    pos += taken;
    const void* zero = std::memchr(start, 0, taken);
    size_t n = zero ? size_t(static_cast<const char*>(zero) - start) : taken;
    // As in NextLine: the first piece is cut with the mark in it, then loses it.
    if (start == bytes && StartsWithUtf8Mark(start, n)) {
      start += 3;
      n -= 3;
    }
    if (n > 0 && start[n - 1] == '\n') --n;
    if (n > 0 && start[n - 1] == '\r') --n;
    text->lineStart.push_back(uint32_t(text->chars.size()));
    text->chars.append(start, n);
    text->chars.push_back(0);
  }
  text->header.resize(text->lineStart.size());
  for (size_t i = 0; i < text->lineStart.size(); ++i) {
    const char* line = text->Line(i);
    text->header[i] = IsHeaderLine(line);
    const size_t n = std::strlen(line);
    // A line is the header of exactly one name: the one between its '[' and its last character ']'.
    if (n >= 2 && line[0] == '[' && line[n - 1] == ']')
      text->sections[std::string(line + 1, n - 2)].push_back(uint32_t(i));
  }
  return text;
}

const BrCfgFile::Text* BrCfgFile::CurrentText() {
  if (!IsValid()) return nullptr;
  if (m_bHeld && m_pText) return m_pText.get();
  W32FILESTAMP stamp;
  const bool stamped = W32GetFileStamp(m_pHandle, &stamp) != FALSE;
  static std::vector<std::shared_ptr<const Text>> recent;
  // A text of the same stamp whose file changed too close to its reading for the stamp to tell: kept only if
  // the bytes on disk are still its bytes.
  std::shared_ptr<const Text> unsure;
  if (stamped) {
    auto sameFile = [&](const std::shared_ptr<const Text>& text) {
      return text && text->stamped && SameStamp(text->stamp, stamp);
    };
    auto settled = [&](const Text& text) { return stamp.changed + kStampStepNs < text.confirmedAt; };
    if (sameFile(m_pText)) {
      if (settled(*m_pText)) return m_pText.get();
      unsure = m_pText;
    }
    for (size_t i = 0; !unsure && i < recent.size(); ++i)
      if (sameFile(recent[i])) {
        if (settled(*recent[i])) {
          m_pText = recent[i];
          return m_pText.get();
        }
        unsure = recent[i];
      }
  }

  // Read from the start through the stream itself, and put its position back for GetNextSection.
  const uint64_t readAt = RealTimeNs();
  int64_t saved = 0;
  if (!GetPos(saved) || !SetPos(0)) return nullptr;
  std::string bytes;
  char block[4096];
  size_t got = 0;
  while ((got = std::fread(block, 1, sizeof(block), m_pHandle)) > 0) bytes.append(block, got);
  const bool readError = std::ferror(m_pHandle) != 0;
  std::clearerr(m_pHandle);
  SetPos(saved);
  if (readError) return nullptr;
  if (unsure && unsure->raw == bytes) {
    unsure->confirmedAt = readAt;
    m_pText = unsure;
    return m_pText.get();
  }

  std::shared_ptr<Text> text = Parse(bytes.data(), bytes.size());
  text->confirmedAt = readAt;
  if (stamped) {
    text->stamped = true;
    text->stamp = stamp;
    text->raw = std::move(bytes);
    for (size_t i = 0; i < recent.size(); ++i)
      if (recent[i] == unsure) {
        recent.erase(recent.begin() + long(i));
        break;
      }
    if (recent.size() >= kRecentTexts) recent.erase(recent.begin());
    recent.push_back(text);
  }
  m_pText = text;
  return m_pText.get();
}

bool BrCfgFile::FindValue(const char* section, const char* key, char* value) {
  if (!IsValid() || !section || !key) return false;
  const Text* text = CurrentText();
  if (!text) return false;
  const auto found = text->sections.find(section);
  if (found == text->sections.end()) return false;
  // Each section of that name in file order, up to the next header line: a second section of the same name
  // is searched too when the first lacks the key.
  const size_t lines = text->lineStart.size();
  for (uint32_t head : found->second)
    for (size_t i = size_t(head) + 1; i < lines && !text->header[i]; ++i) {
      const char* line = text->Line(i);
      if (IsKeyLine(line, key)) {
        CopyValue(line, key, value);
        return true;
      }
    }
  return false;
}

bool BrCfgFile::HasValue(const char* section, const char* key) {
  char value[ciLineLen];
  return FindValue(section, key, value);
}

bool BrCfgFile::GetValue(char* out, const char* section, const char* key) {
  return GetValue(out, ciLineLen, section, key);
}

bool BrCfgFile::GetValue(char* out, int outSize, const char* section, const char* key) {
  char value[ciLineLen];
  if (!out || outSize < 1 || !FindValue(section, key, value) || !value[0]) return false;
  CopyBounded(out, outSize, value);
  return true;
}

bool BrCfgFile::GetValue(BrStringT<char>& out, const char* section, const char* key) {
  char value[ciLineLen];
  if (!FindValue(section, key, value) || !value[0]) return false;
  out = BrStringT<char>(value);
  return true;
}

namespace {
// atoi without its undefined overflow: the number saturates at the int range.
int ToInt(const char* text) {
  errno = 0;
  const long long v = std::strtoll(text, nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return int(v);
}
}  // namespace

bool BrCfgFile::GetValue(int& out, const char* section, const char* key) {
  char value[ciLineLen];
  if (!FindValue(section, key, value) || !value[0]) return false;
  out = ToInt(value);
  return true;
}

bool BrCfgFile::GetValue(float& out, const char* section, const char* key) {
  char value[ciLineLen];
  if (!FindValue(section, key, value) || !value[0]) return false;
  // A value that is no number leaves out as the caller set it, so a default survives, and says so. "%f" also
  // reads "nan" and "inf" (and a number too large for a float as infinity): no configured quantity can be one,
  // and one would spread into every position, size and timer computed from it, so it counts as no number.
  float f = 0.0f;
  if (std::sscanf(value, "%f", &f) != 1 || !std::isfinite(f)) return false;
  out = f;
  return true;
}

int BrCfgFile::SplitValue(const char* value, BrStringT<char>* out, int max) {
  // One rule for counting and splitting: every comma at parenthesis depth 0 separates, the last character
  // included, so "1,2," is three values of which the last is empty.
  int tokens = 0;
  int depth = 0;
  int start = 0;
  for (int i = 0;; ++i) {
    const char c = value[i];
    if (c == 0 || (c == ',' && depth == 0)) {
      if (out && tokens < max) {
        char token[ciLineLen];
        const int len = i - start;
        std::memcpy(token, value + start, size_t(len));
        token[len] = 0;
        out[tokens] = BrStringT<char>(token);
      }
      ++tokens;
      start = i + 1;
      if (c == 0) break;
      continue;
    }
    if (c == '(')
      ++depth;
    else if (c == ')')
      --depth;
  }
  return tokens;
}

bool BrCfgFile::GetNumValues(const char* section, const char* key, int& count) {
  char value[ciLineLen];
  if (!FindValue(section, key, value) || !value[0]) return false;
  count = SplitValue(value, nullptr, 0);
  return true;
}

bool BrCfgFile::GetValues(int* out, unsigned int max, const char* section, const char* key) {
  char value[ciLineLen];
  if (!out || max == 0 || !FindValue(section, key, value) || !value[0]) return false;
  if (max == 1) {
    out[0] = ToInt(value);
    return true;
  }
  const int n = SplitValue(value, nullptr, 0);
  if (unsigned(n) > max) return false;
  BrStringT<char> tokens[ciLineLen];
  SplitValue(value, tokens, n);
  for (int i = 0; i < n; ++i) out[i] = tokens[i].c_str() ? ToInt(tokens[i].c_str()) : 0;
  return true;
}

bool BrCfgFile::GetValues(BrStringT<char>* out, unsigned int max, const char* section, const char* key) {
  char value[ciLineLen];
  if (!out || max == 0 || !FindValue(section, key, value) || !value[0]) return false;
  if (max == 1) {
    out[0] = BrStringT<char>(value);
    return true;
  }
  const int n = SplitValue(value, nullptr, 0);
  if (unsigned(n) > max) return false;
  SplitValue(value, out, n);
  return true;
}

bool BrCfgFile::GetNextSection(char* out) { return GetNextSection(out, ciLineLen); }

bool BrCfgFile::GetNextSection(char* out, int outSize) {
  if (!IsValid() || !out || outSize < 1) return false;
  char line[ciLineLen];
  while (NextLine(line)) {
    if (!IsHeaderLine(line)) continue;
    int n = 0;
    for (const char* p = line; *p && n < outSize - 1; ++p)
      if (*p != '[' && *p != ']') out[n++] = *p;
    out[n] = 0;
    return true;
  }
  return false;
}
