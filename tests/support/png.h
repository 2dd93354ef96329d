// A minimal PNG writer: 8-bit RGB, uncompressed deflate blocks, no dependency.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds width * height * 3 bytes, rows from the top. Returns false when
// the size does not match or the file cannot be written.
bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// The complete file contents, for tests of the encoder itself.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);
