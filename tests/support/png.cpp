// PNG encoding with stored (uncompressed) deflate blocks.
#include "png.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace {

const std::array<std::uint32_t, 256>& crcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void putChunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32(out.data() + typeStart, out.size() - typeStart));
}

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = crcTable()[(crc ^ data[i]) & 0xFFU] ^ (crc >> 8);
    }
    return ~crc;
}

std::uint32_t adler32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521U;
        b = (b + a) % 65521U;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return {};
    }

    // Each scanline is preceded by filter type 0 (none).
    std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y));
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }

    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::size_t offset = 0;
    do {
        std::size_t length = std::min<std::size_t>(raw.size() - offset, 65535);
        bool last = offset + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(length & 0xFFU));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length & 0xFFU));
        zlib.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFFU));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    putBigEndian(zlib, adler32(raw.data(), raw.size()));

    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlib);
    putChunk(out, "IEND", {});
    return out;
}

bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb)
{
    std::vector<std::uint8_t> bytes = encodePng(width, height, rgb);
    if (bytes.empty()) {
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
