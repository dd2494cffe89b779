// BrFileDevice: the root of every file of the system (a C stream, its open flag and full path, folder listing).
#pragma once

#include <cstdint>
#include <cstdio>

template <class T>
class BrStringT;
template <class T>
class TDArray;

// Open flags: a 32-bit mask; GetPermissions turns it into a C runtime mode.
enum {
  eFileRead = 0x10000000,  // "r"; only eFileBinary is looked at beside it
  eFileReadWrite = 0x1,    // "r+"
  eFileCreate = 0x10,      // "w+"
  eFileAppend = 0x100,     // "a+"
  eFileBinary = 0x1000,    // "b", appended last
  eFileSystem = 0x1000000  // set in every mask the system passes; changes nothing
};

// The order of a folder listing.
enum EFileOrder {
  eFileOrderNone = 0,  // the order of the search
  eFileOrderDate = 1   // newest creation time first
};

// A file on disk. Not copyable: a copy would share the stream.
class BrFileDevice {
public:
  // Length of the full-path field, terminator included.
  static const int ciFullPathLen = 260;

  // A closed device with an empty full path.
  BrFileDevice();
  // Closes the file.
  virtual ~BrFileDevice();
  // Opens path with the mode of flags; each file kind decides what that means.
  virtual bool Open(const char* path, uint32_t flags) = 0;

  BrFileDevice(const BrFileDevice&) = delete;
  BrFileDevice& operator=(const BrFileDevice&) = delete;

  // Closes the stream: false without one or when fclose fails (then nothing changes); true once closed.
  bool Close();
  // True while a stream is open (handle and open flag both set).
  bool IsValid() const;
  // The stream, null when closed.
  FILE* Handle() const;
  // Absolute position; false when not open or when the seek fails.
  bool SetPos(int64_t pos);
  // Current position; false when not open or when it cannot be read.
  bool GetPos(int64_t& pos) const;
  // Moves by delta from the current position; false when not open or when the seek fails.
  bool Skip(int64_t delta);

  // True when path is non-null and names a file that can be opened for reading and writing; nothing is created.
  static bool Exists(const char* path);
  // Records path: one holding ':' (or starting with '/') as given, any other as the current folder, "\\" and
  // path. A result that does not fit the field, or a current folder that cannot be read, records an empty path
  // and gives false: never a cut path nor one at the root.
  bool SetFullPath(const char* path);
  // Writes buffered bytes out and asks the system to put them on the disk; false when either fails or no file
  // is open.
  bool Flush();
  // The recorded full path (never null).
  const char* GetFullPath() const;
  // The first of stem + ext, stem + "_2" + ext, stem + "_3" + ext, ... that names nothing on disk, so a new file
  // never replaces an older one (files named by the time alone meet within a second). Empty when none is free.
  static BrStringT<char> FreeFileName(const char* stem, const char* ext);
  // Writes the C runtime mode of flags into mode (room for 16 characters) and returns mode.
  static const char* GetPermissions(uint32_t flags, char* mode);

  // Lists the names of folder's entries that match pattern into out (cleared first), files and folders alike,
  // "." and ".." included when they match; by date with eFileOrderDate. A folder that cannot be entered or a
  // pattern that matches nothing leaves out empty; the current folder is the same afterwards. True when the
  // folder could be entered.
  static bool GetFileList(const BrStringT<char>& pattern, const BrStringT<char>& folder, TDArray<BrStringT<char>>& out,
                          EFileOrder order);
  // As GetFileList, but only entries with the folder attribute.
  static bool GetFolderList(const BrStringT<char>& pattern, const BrStringT<char>& folder,
                            TDArray<BrStringT<char>>& out, EFileOrder order);
  // qsort comparison of two WIN32_FIND_DATAA records: newest creation time first, compared from year to second.
  static int SortFileListByDateCallback(const void* a, const void* b);

protected:
  // Opens path through the path layer with the C runtime mode; null on failure.
  static FILE* OpenStream(const char* path, const char* mode);

  FILE* m_pHandle;
  bool m_bOpen;
  char m_szFullPath[ciFullPathLen];
};
