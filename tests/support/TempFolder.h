// The one temporary folder of the tests: fresh and empty, unique to the process and the instance, optionally the
// current folder, and removed with everything in it at the end of its scope. Header-only, so test folders that
// link no engine (core, templates, platform) use it as well.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace brtest {

namespace fs = std::filesystem;

class TempFolder {
public:
  // The folder is named "<tag>_<process>_<count>_<random>" under the system's temporary folder; a stale one of the
  // same name (a crashed run's) is emptied first.
  explicit TempFolder(const std::string& tag = "br") : m_Owner(::getpid()) {
    static std::atomic<unsigned> counter{0};
    m_Path = fs::temp_directory_path() / (tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) +
                                          "_" + std::to_string(std::random_device{}()));
    std::error_code ec;
    fs::remove_all(m_Path, ec);
    fs::create_directories(m_Path);
  }
  // Makes it and enters Path() / sub at once.
  TempFolder(const std::string& tag, const fs::path& enter) : TempFolder(tag) { Enter(enter); }
  // Only the process that made it removes it: a death test's forked child ends with exit, which destroys what
  // the parent still uses.
  ~TempFolder() {
    if (::getpid() != m_Owner) return;
    Leave();
    if (m_bKeep) return;
    std::error_code ec;
    fs::remove_all(m_Path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return m_Path; }
  std::string String() const { return m_Path.string(); }
  fs::path operator/(const fs::path& sub) const { return m_Path / sub; }

  // Makes Path() / sub (created when missing) the current folder until Leave or the end of the scope; the folder
  // current before the first Enter is the one Leave returns to.
  void Enter(const fs::path& sub = {}) {
    const fs::path target = sub.empty() ? m_Path : m_Path / sub;
    fs::create_directories(target);
    if (!m_bEntered) m_Previous = fs::current_path();
    m_bEntered = true;
    fs::current_path(target);
  }
  // Leaves the folder in place at the end, to be looked at after the run.
  void Keep() { m_bKeep = true; }
  void Leave() {
    if (!m_bEntered) return;
    std::error_code ec;
    fs::current_path(m_Previous, ec);
    m_bEntered = false;
  }

private:
  pid_t m_Owner;
  fs::path m_Path;
  fs::path m_Previous;
  bool m_bEntered = false;
  bool m_bKeep = false;
};

// Every byte of a file (empty when it cannot be read), and a file made of bytes, replacing any.
inline std::vector<char> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
inline void WriteBytes(const fs::path& file, const std::vector<char>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

// The whole second of a file's birth (its last change where the file system records no birth), the time the
// file lists order by; -1 when the file cannot be read.
inline int64_t FileBirthSecond(const fs::path& file) {
  struct statx sx;
  if (::statx(AT_FDCWD, file.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return -1;
  return (sx.stx_mask & STATX_BTIME) ? int64_t(sx.stx_btime.tv_sec) : int64_t(sx.stx_mtime.tv_sec);
}

// Returns once a file made now is born a whole second after `older`: files listed newest first then compare
// apart. Waits on the file system's own clock in short steps, never longer than that second takes to turn, rather
// than sleeping a fixed second and more.
inline bool WaitForALaterFileSecond(const fs::path& older) {
  const int64_t then = FileBirthSecond(older);
  if (then < 0) return false;
  const fs::path probe = older.parent_path() / ".br_clock_probe";
  for (int step = 0; step < 1000; ++step) {
    { std::ofstream(probe) << step; }
    const int64_t now = FileBirthSecond(probe);
    std::error_code ec;
    fs::remove(probe, ec);
    if (now > then) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

}  // namespace brtest
