#include "image_bmp.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace ombrel {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

// Little-endian reads that fail with the offset instead of reading past the end.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size, const std::string& source)
        : data_(data), size_(size), source_(source) {}

    std::size_t size() const { return size_; }
    const uint8_t* at(std::size_t offset) const { return data_ + offset; }

    [[noreturn]] void fail(const std::string& what, std::size_t offset) const { failImage(source_, what, offset); }

    void need(std::size_t offset, std::size_t count, const char* what) const {
        if (offset > size_ || count > size_ - offset) fail(std::string("truncated ") + what, std::min(offset, size_));
    }
    uint8_t u8(std::size_t offset, const char* what) const {
        need(offset, 1, what);
        return data_[offset];
    }
    uint16_t u16(std::size_t offset, const char* what) const {
        need(offset, 2, what);
        return uint16_t(data_[offset] | data_[offset + 1] << 8);
    }
    uint32_t u32(std::size_t offset, const char* what) const {
        need(offset, 4, what);
        return uint32_t(data_[offset]) | uint32_t(data_[offset + 1]) << 8 | uint32_t(data_[offset + 2]) << 16 |
               uint32_t(data_[offset + 3]) << 24;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    const std::string& source_;
};

struct Header {
    std::size_t headerSize = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {0, 0, 0};
    std::size_t paletteOffset = 0, paletteEntry = 4;
    uint32_t coloursUsed = 0;
    std::size_t dataOffset = 0;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    uint8_t operator()(uint32_t pixel) const {
        if (!max) return 0;
        return uint8_t((uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

Header readHeader(const Bytes& in) {
    Header h;
    in.need(0, kFileHeader, "file header");
    h.dataOffset = in.u32(10, "file header");
    h.headerSize = in.u32(kFileHeader, "info header");
    const std::size_t hs = h.headerSize;
    if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 64 && hs != 108 && hs != 124)
        in.fail("unsupported info header size " + std::to_string(hs), kFileHeader);
    in.need(kFileHeader, hs, "info header");

    if (hs == 12) {  // OS/2 core header: 16-bit sizes, bottom-up, 3-byte palette entries
        h.width = in.u16(18, "info header");
        h.height = in.u16(20, "info header");
        h.bits = in.u16(24, "info header");
        h.paletteEntry = 3;
    } else {
        h.width = int32_t(in.u32(18, "info header"));
        h.height = int32_t(in.u32(22, "info header"));
        h.bits = in.u16(28, "info header");
        h.compression = in.u32(30, "info header");
        h.coloursUsed = in.u32(46, "info header");
        // In the OS/2 2.x header, 3 and 4 mean Huffman and RLE24, which nobody writes.
        if (hs == 64 && h.compression >= kBiBitfields)
            in.fail("unsupported OS/2 compression " + std::to_string(h.compression), 30);
    }
    h.paletteOffset = kFileHeader + hs;

    const std::size_t heightAt = hs == 12 ? 20 : 22;
    if (h.width <= 0) in.fail("bad width " + std::to_string(h.width), 18);
    if (h.height == 0) in.fail("bad height 0", heightAt);
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }

    const bool paletted = h.bits == 1 || h.bits == 4 || h.bits == 8;
    const uint32_t c = h.compression;
    const bool ok = (paletted && c == kBiRgb) || (h.bits == 8 && c == kBiRle8) || (h.bits == 4 && c == kBiRle4) ||
                    (h.bits == 24 && c == kBiRgb) ||
                    ((h.bits == 16 || h.bits == 32) && (c == kBiRgb || c == kBiBitfields || c == kBiAlphaBitfields));
    if (!ok)
        in.fail("unsupported bit count " + std::to_string(h.bits) + " with compression " + std::to_string(c),
                hs == 12 ? 24 : 28);
    if (h.topDown && (c == kBiRle8 || c == kBiRle4)) in.fail("top-down RLE bitmap", heightAt);

    if (c == kBiBitfields || c == kBiAlphaBitfields) {
        // A plain info header is followed by the masks; later headers hold them.
        const std::size_t at = kFileHeader + kInfoHeader;
        for (int i = 0; i < 3; ++i) h.masks[i] = in.u32(at + 4 * std::size_t(i), "colour masks");
        if (hs == kInfoHeader) h.paletteOffset += c == kBiAlphaBitfields ? 16 : 12;
    } else if (h.bits == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else if (h.bits == 32) {
        h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
    }
    return h;
}

void readPalette(const Bytes& in, const Header& h, Image& image) {
    const uint32_t full = 1u << h.bits;
    // Counts beyond what the bit depth can address are common and harmless: ignore the rest.
    uint32_t count = h.coloursUsed == 0 || h.coloursUsed > full ? full : h.coloursUsed;
    // Writers that leave the count at 0 often store fewer entries: the pixels start
    // where the palette ends.
    if (h.dataOffset > h.paletteOffset)
        count = uint32_t(std::min<std::size_t>(count, (h.dataOffset - h.paletteOffset) / h.paletteEntry));
    in.need(h.paletteOffset, std::size_t(count) * h.paletteEntry, "palette");
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = in.at(h.paletteOffset + i * h.paletteEntry);
        image.palette[i] = Rgb8{e[2], e[1], e[0]};
    }
}

void checkSize(const Bytes& in, const Header& h, const ImageLimits& limits, bool expanding) {
    const std::size_t at = 18;  // the width, first of the two sizes
    if (expanding && (h.width > limits.maxSide || h.height > limits.maxSide))
        in.fail("dimensions " + std::to_string(h.width) + "x" + std::to_string(h.height) + " exceed " +
                    std::to_string(limits.maxSide) + " pixels a side",
                at);
    // rgba and index planes; both sides are at most 2^31, so the product fits.
    if (h.width * h.height > limits.maxBytes / 5)
        in.fail("dimensions " + std::to_string(h.width) + "x" + std::to_string(h.height) + " too large", at);
}

// Uncompressed rows: the file must hold every row (the last one may lack its padding).
// Checked before any plane is allocated, so a small file cannot claim a huge picture.
void checkRowsFit(const Bytes& in, const Header& h) {
    const int64_t w = h.width, ht = h.height;
    const int64_t rowBytes = (w * h.bits + 7) / 8;
    const int64_t stride = (w * h.bits + 31) / 32 * 4;
    const int64_t avail = h.dataOffset <= in.size() ? int64_t(in.size() - h.dataOffset) : -1;
    if (avail < rowBytes || (ht - 1) > (avail - rowBytes) / stride)
        in.fail("pixel data of " + std::to_string(w) + "x" + std::to_string(ht) + " at " + std::to_string(h.bits) +
                    " bits is larger than the file",
                std::min<std::size_t>(h.dataOffset, in.size()));
}

void decodeRows(const Bytes& in, const Header& h, Image& image) {
    const int64_t w = h.width, ht = h.height;
    const int64_t stride = (w * h.bits + 31) / 32 * 4;
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    for (int64_t row = 0; row < ht; ++row) {
        const uint8_t* src = in.at(h.dataOffset + std::size_t(row * stride));
        const int64_t y = h.topDown ? row : ht - 1 - row;
        uint8_t* rgba = image.rgba.data() + y * w * 4;
        switch (h.bits) {
            case 1:
            case 4:
            case 8: {
                uint8_t* index = image.index.data() + y * w;
                const int perByte = 8 / h.bits;
                const unsigned mask = (1u << h.bits) - 1;
                for (int64_t x = 0; x < w; ++x) {
                    const int slot = int(x % perByte);
                    index[x] = uint8_t(src[x / perByte] >> (8 - h.bits * (slot + 1)) & mask);
                }
                break;
            }
            case 16:
                for (int64_t x = 0; x < w; ++x) {
                    const uint32_t p = uint32_t(src[2 * x] | src[2 * x + 1] << 8);
                    rgba[4 * x] = red(p), rgba[4 * x + 1] = green(p), rgba[4 * x + 2] = blue(p);
                }
                break;
            case 24:
                for (int64_t x = 0; x < w; ++x) {
                    rgba[4 * x] = src[3 * x + 2], rgba[4 * x + 1] = src[3 * x + 1], rgba[4 * x + 2] = src[3 * x];
                }
                break;
            case 32:
                for (int64_t x = 0; x < w; ++x) {
                    const uint8_t* s = src + 4 * x;
                    const uint32_t p = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
                    rgba[4 * x] = red(p), rgba[4 * x + 1] = green(p), rgba[4 * x + 2] = blue(p);
                }
                break;
        }
    }
}

// RLE8/RLE4: runs, end of line, end of bitmap, delta and absolute runs. Pixels the
// data never reaches keep index 0; runs past the row's end are clipped.
void decodeRle(const Bytes& in, const Header& h, Image& image) {
    const bool four = h.compression == kBiRle4;
    const int64_t w = h.width, ht = h.height;
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](uint8_t v) {
        if (x < w && y < ht) image.index[std::size_t((ht - 1 - y) * w + x)] = v;
        ++x;
    };
    std::size_t pos = h.dataOffset;
    if (pos > in.size()) in.fail("pixel data offset past the end", in.size());
    for (;;) {
        if (in.size() - pos < 2) {
            if (y >= ht) return;  // every row written; only the final mark is missing
            in.fail("RLE data ends before the end-of-bitmap mark", pos);
        }
        const uint8_t count = in.at(pos)[0], value = in.at(pos)[1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? uint8_t(i % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        switch (value) {
            case 0:
                x = 0, ++y;
                break;
            case 1:
                return;
            case 2:
                in.need(pos, 2, "RLE delta");
                x += in.u8(pos, "RLE delta");
                y += in.u8(pos + 1, "RLE delta");
                pos += 2;
                break;
            default: {
                const std::size_t bytes = four ? (value + 1u) / 2 : value;
                in.need(pos, bytes, "RLE absolute run");
                const uint8_t* src = in.at(pos);
                for (int i = 0; i < value; ++i) put(four ? uint8_t(i % 2 ? src[i / 2] & 15 : src[i / 2] >> 4) : src[i]);
                pos += std::min(bytes + (bytes & 1), in.size() - pos);  // runs are word-aligned
                break;
            }
        }
    }
}

void put16(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    out[at] = uint8_t(v), out[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

}  // namespace

bool isBmp(const uint8_t* data, std::size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

Image decodeBmp(const uint8_t* data, std::size_t size, const std::string& source, const ImageLimits& limits) {
    const Bytes in(data, size, source);
    if (!isBmp(data, size)) in.fail("not a BMP file", 0);
    const Header h = readHeader(in);
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    checkSize(in, h, limits, rle);

    Image image;
    image.width = int(h.width);
    image.height = int(h.height);
    const bool paletted = h.bits <= 8;
    if (paletted) readPalette(in, h, image);
    if (!rle) checkRowsFit(in, h);
    const std::size_t pixels = std::size_t(h.width * h.height);
    image.rgba.assign(pixels * 4, 255);
    if (paletted) image.index.assign(pixels, 0);
    if (rle)
        decodeRle(in, h, image);
    else
        decodeRows(in, h, image);

    if (paletted) {
        for (std::size_t i = 0; i < pixels; ++i) {
            const Rgb8 c = image.palette[image.index[i]];
            image.rgba[4 * i] = c.r, image.rgba[4 * i + 1] = c.g, image.rgba[4 * i + 2] = c.b;
        }
    }
    return image;
}

std::vector<uint8_t> encodeBmp24(const Image& image) {
    const std::size_t w = std::size_t(image.width), h = std::size_t(image.height);
    const std::size_t stride = (w * 3 + 3) & ~std::size_t(3);
    const std::size_t offset = kFileHeader + kInfoHeader;
    std::vector<uint8_t> out(offset + stride * h, 0);
    out[0] = 'B', out[1] = 'M';
    put32(out, 2, uint32_t(out.size()));
    put32(out, 10, uint32_t(offset));
    put32(out, 14, uint32_t(kInfoHeader));
    put32(out, 18, uint32_t(w));
    put32(out, 22, uint32_t(h));  // positive: bottom-up
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 34, uint32_t(stride * h));
    put32(out, 38, 2835);  // 72 dpi
    put32(out, 42, 2835);
    for (std::size_t y = 0; y < h; ++y) {
        const uint8_t* src = image.rgba.data() + (h - 1 - y) * w * 4;
        uint8_t* dst = out.data() + offset + y * stride;
        for (std::size_t x = 0; x < w; ++x) {
            dst[3 * x] = src[4 * x + 2], dst[3 * x + 1] = src[4 * x + 1], dst[3 * x + 2] = src[4 * x];
        }
    }
    return out;
}

}  // namespace ombrel
