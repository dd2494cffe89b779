// The RIFF WAVE reader: PCM sample data for OpenAL buffers, from a file or from a file image in memory.
#pragma once

// Reads a RIFF WAVE file (PCM, 8 or 16 bit, mono or stereo). Before reading, the results hold the defaults:
// AL_FORMAT_MONO16, no data, size 0, 22050 Hz, no loop. On success data is a new block of size + 31 bytes whose
// bytes after the samples are 0; the caller frees it with alutUnloadWAV. A file that cannot be opened, is not a
// RIFF WAVE file, holds another format, or whose sizes and fields disagree with the file leaves data null and
// writes a log line; the file is never read past its end. size is a whole number of sample frames.
void alutLoadWAVFile(const char* path, int* format, void** data, unsigned int* size, unsigned int* frequency,
                     bool* loop);

// The same reader over a whole file image of imageSize bytes already in memory; the samples are copied into a new
// block. name only labels log lines.
void alutLoadWAVMemory(const void* image, unsigned int imageSize, const char* name, int* format, void** data,
                       unsigned int* size, unsigned int* frequency, bool* loop);

// Frees sample data handed out by the readers above; null is ignored.
void alutUnloadWAV(int format, void* data, unsigned int size, unsigned int frequency);
