// GLog captured for a scope: opened on a file of its own temporary folder with debug lines on, read back by the
// test, and the debug flag put back at the end. Header-only, for test folders that link no engine.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/BrFileDevice.h"
#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "tests/support/TempFolder.h"

namespace brtest {

class CapturedLog {
public:
  explicit CapturedLog(const std::string& tag = "br_log")
      : m_Folder(tag), m_Path(m_Folder / "log.txt"), m_bWasDebug(GIsDebug) {
    GLog.Close();
    GLog.Open(m_Path.c_str(), eFileSystem | eFileCreate);
    GIsDebug = true;
  }
  ~CapturedLog() {
    GLog.Close();
    GIsDebug = m_bWasDebug;
  }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  // Everything written so far.
  std::string Text() const {
    if (GLog.Handle()) std::fflush(GLog.Handle());
    std::ifstream in(m_Path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Has(const std::string& what) const { return Text().find(what) != std::string::npos; }
  int Count(const std::string& what) const {
    const std::string text = Text();
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
  // Forgets what was written so far.
  void Clear() {
    GLog.Close();
    GLog.Open(m_Path.c_str(), eFileSystem | eFileCreate);
  }

private:
  TempFolder m_Folder;
  const std::filesystem::path m_Path;
  bool m_bWasDebug;
};

// The lines of a log file GLog writes, everything written so far.
inline std::vector<std::string> LogLines(const std::filesystem::path& file) {
  if (GLog.Handle()) std::fflush(GLog.Handle());
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// How many of those lines contain text.
inline int CountLogLines(const std::filesystem::path& file, const std::string& text) {
  int n = 0;
  for (const std::string& line : LogLines(file))
    if (line.find(text) != std::string::npos) ++n;
  return n;
}

}  // namespace brtest
