// BrCfgFile: an INI-style configuration file, read straight from the open file on every query.
#pragma once

#include <cstdint>
#include <memory>

#include "core/BrAnsiFile.h"
#include "templates/BrStringT.h"

// Syntax as read: lines of at most 259 characters (longer ones read as several lines); '\r' before a line's end
// is ignored. A line starting with '#' is a comment. A section header is exactly "[" name "]". A key line
// "key=value" belongs to the nearest header above it; a section ends at the next header line, one whose first
// non-blank character is '[' with a ']' after it (so "Title=[Demo]" or "# [x]" end nothing). The value
// runs from after the '=' characters that follow the key to the next '=' or the line's end; spaces stay in it.
// Every query answers from the file as it is on disk at that moment (unless HoldText) and leaves the file
// position alone, so queries mix freely with GetNextSection. A query checks the file's stamp (size, times) and
// reads the text again only when it changed; the lines are indexed by section once per content, so a query
// costs a lookup rather than a scan of the whole file. Every query returns false while no file is open. Nothing
// is logged.
class BrCfgFile : public BrAnsiFile {
public:
  // Length of the line buffer, terminator included, and of the output buffers the callers pass by default.
  static const int ciLineLen = 260;

  // A closed file.
  BrCfgFile();
  // Open(path, 0x1000001): read and update.
  explicit BrCfgFile(const char* path);
  // Closes the file.
  ~BrCfgFile() override;

  // Opens path with the mode of flags. When the file does not exist and its name is "main.cfg" (any case), it is
  // created, CreateDefault writes the default text and the file stays open for reading; any other missing file
  // gives false, so reading a configuration never creates one. An existing file that refuses the update mode is
  // opened for reading only; one that cannot be opened at all gives false and is never truncated.
  bool Open(const char* path, uint32_t flags) override;
  // True when the whole file reads as configuration text: no byte below 32 but tab, '\r' and '\n', and no key
  // line before the first section header. Otherwise false, with why in problem (when not null). The position is
  // kept. A closed file is not text.
  bool CheckText(const char** problem);
  // Writes the engine's default main.cfg text; false unless the file is open.
  virtual bool CreateDefault();
  // For a reader of many values from a file that nothing writes meanwhile: later queries answer from the text
  // as the next query reads it, without asking the disk again, until the file is opened again.
  void HoldText() { m_bHeld = true; }

  // True when section has a line for key (the key at the start of the line, followed by '='), value or not.
  bool HasValue(const char* section, const char* key);
  // Copies the value into out, which must hold ciLineLen characters; false when missing or empty (out untouched).
  bool GetValue(char* out, const char* section, const char* key);
  // As above into a buffer of outSize characters; a longer value is cut to fit and terminated.
  bool GetValue(char* out, int outSize, const char* section, const char* key);
  // The value as a string.
  bool GetValue(BrStringT<char>& out, const char* section, const char* key);
  // atoi of the value (saturated to the int range).
  bool GetValue(int& out, const char* section, const char* key);
  // The value read as "%f"; false (out untouched) when it does not start with a number or reads as no finite
  // one (nan, inf, or beyond the float range).
  bool GetValue(float& out, const char* section, const char* key);
  // count = 1 + the number of ',' outside parentheses in the value ("1,2," counts three values, the last empty).
  bool GetNumValues(const char* section, const char* key, int& count);
  // Splits the value at commas outside parentheses into at most max integers (atoi; an empty token gives 0).
  // max 1 takes the whole value; more values than max gives false and writes nothing. Tokens are not trimmed.
  bool GetValues(int* out, unsigned int max, const char* section, const char* key);
  // The same as strings: 'f(1,2),3' gives 'f(1,2)' and '3'; 'a, b' gives 'a' and ' b'.
  bool GetValues(BrStringT<char>* out, unsigned int max, const char* section, const char* key);
  // From the current position, the next header line (first non-blank character '[', a ']' after): out receives the line
  // without '[', ']' and the line break and must hold ciLineLen characters. The position stays after the header.
  bool GetNextSection(char* out);
  // As above into a buffer of outSize characters, cut to fit.
  bool GetNextSection(char* out, int outSize);

private:
  BrCfgFile(const BrCfgFile&) = delete;
  BrCfgFile& operator=(const BrCfgFile&) = delete;

  // The file's lines as the line reader splits them, with the header lines of each section name.
  struct Text;

  // Finds key's line in section and copies its value (possibly empty) into value (ciLineLen characters). The
  // file position is kept. False when the file is closed or no line matches.
  bool FindValue(const char* section, const char* key, char* value);
  // The text of the open file as it is now; null when the file is closed or cannot be read.
  const Text* CurrentText();
  // Splits and indexes the bytes of a whole file.
  static std::shared_ptr<Text> Parse(const char* bytes, size_t size);
  // Reads the next line without its line break ('\n' and a '\r' before it); false at the end of the file.
  bool NextLine(char* line);
  // Splits value at commas outside parentheses into tokens (out may be null to count only); returns the count.
  static int SplitValue(const char* value, BrStringT<char>* out, int max);

  // What the last query read, shared with every other open file of the same contents.
  std::shared_ptr<const Text> m_pText;
  // HoldText was called since the file was opened.
  bool m_bHeld = false;
};
