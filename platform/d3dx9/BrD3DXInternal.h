// Internals of the D3DX layer: the buffer object, deferred deletion and decoded images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"

namespace brd3dx {

// Deletes buffers given up by their last Release at the next D3DX call (never inside their own Release).
void drainGraveyard();

// Makes a buffer holding a copy of size bytes.
ID3DXBuffer* makeBuffer(const void* data, size_t size);

// An image decoded to 32-bit B, G, R, A texels, top row first, with as many mip levels as the file had.
struct Image {
  uint32_t width = 0, height = 0;
  bool hasAlpha = false;
  std::vector<std::vector<uint8_t>> levels;
};

// The largest width or height a loaded image may have.
constexpr uint32_t kMaxImageSize = 8192;

// Decoders over a file in memory; false with a reason on any malformed input.
bool decodeDds(const uint8_t* data, size_t size, Image& image, std::string& error);
bool decodeStb(const uint8_t* data, size_t size, Image& image, std::string& error);

// The vs_1_1 assembler: tokens or an error text naming the line.
bool assembleVs(const char* text, size_t length, std::vector<uint32_t>& tokens, std::string& error);

// The bytes of a 24-bit bottom-up BMP file from 32-bit B, G, R, A rows (pitch in bytes).
std::vector<uint8_t> encodeBmp24(const uint8_t* texels, uint32_t width, uint32_t height, int32_t pitch);

}  // namespace brd3dx
