// BrBin: the archive over one file through which every persistent class saves and loads itself.
#pragma once

#include <cstdint>

#include "core/BrFileDevice.h"

// An archive: one file, a direction (saving or loading) and a version. The same Serialize code saves and loads.
//
// Failure is sticky: a short read or write, a read from a closed archive, a bad header or a count that cannot
// fit in the bytes left sets a flag that stays set until ClearFailed. A failed loading archive reads nothing more:
// every later Stream zero-fills its destination, so loaders see zeros (empty strings, empty arrays) and can test
// HasFailed once at the end.
class BrBin : public BrFileDevice {
public:
  // The version of a file without the "GINF" header.
  static const int32_t ciHeaderlessVersion = 262;

  // Saving, version GEngineVer, no file.
  BrBin();
  // Saving, then Open(path): creates or empties the file.
  explicit BrBin(const BrStringT<char>& path);
  // Closes the file.
  ~BrBin() override;

  // Closes an open file, then opens path: "w+b" when saving, "r+b" when loading (flags are not used). Failure
  // logs one line and returns false. When loading, reads the header (see LoadVersion): a version above 0 becomes
  // the archive's, 0 or less keeps GEngineVer; a header cut short or a version above GEngineVer fails the archive
  // and the open (the file is closed again).
  bool Open(const char* path, uint32_t flags) override;
  // Closes the file. A saving archive first writes out its buffered bytes and has them put on the disk; when that
  // or the close fails, the archive is marked failed (and the failure logged) and the result is false.
  bool Close();

  // Writes (saving) or reads (loading) count items of size bytes. Nothing is transferred after a failure or while
  // no file is open. A short transfer, a closed archive or a negative size or count sets the failure flag; when
  // loading, whatever was not read is zero-filled. True when all bytes were transferred.
  bool Stream(void* data, int size, int count);

  // Switches to loading; unless keepPos, back to the start of the file.
  void Loading(bool keepPos = false);
  // Switches to saving; unless keepPos, back to the start of the file.
  void Saving(bool keepPos = false);
  bool IsLoading() const;
  bool IsSaving() const;
  // The version of the data: GEngineVer for a new archive, the file's after a load.
  int GetVersion() const;

  // True once any transfer or check has failed.
  bool HasFailed() const;
  // Marks the archive failed and logs why (reason may be null: nothing is logged).
  void MarkFailed(const char* reason);
  // Clears the failure flag (for a caller that recovers, for example by switching direction).
  void ClearFailed();
  // Loading: the bytes from the current position to the end of the file (0 when closed). Saving: a large
  // number, since a writer is not bounded by the file.
  int64_t BytesLeft() const;
  // Checks a count read from the archive before anything is allocated for it: it must be 0 or more, at most
  // ciMaxCount, and (loading) count x bytesEach must fit in BytesLeft (bytesEach below 1 is taken as 1). A bad
  // count fails the archive, logs what was read and returns false.
  bool CheckCount(int64_t count, int64_t bytesEach);
  // The largest count CheckCount accepts.
  static const int64_t ciMaxCount = 0x10000000;

protected:
  // Switches to loading at the start of the file and reads the header: "GINF" followed by the signed 32-bit
  // version, which is returned; any other start (or a file shorter than 4 bytes) moves back to the start and
  // returns 262. 0 without a file; when "GINF" is followed by fewer than 4 bytes, 0 with the archive failed.
  int LoadVersion();
  // Records the file size for BytesLeft.
  void MeasureSize();

  bool m_bLoading;
  bool m_bSaving;
  int32_t m_iVersion;
  bool m_bFailed;
  int64_t m_iFileSize;
};
