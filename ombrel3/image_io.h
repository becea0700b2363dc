// Reading and writing bitmap files (BMP, JPEG). Every image gets a 256-entry
// palette and an index plane; drawing uses the true colours.
#pragma once

#include "file_replace.h"
#include "records.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ombrel {

// How large a decoded image may grow. Uncompressed BMPs are further bounded by
// the bytes their file holds; RLE and JPEG data can expand, so they meet these caps.
struct ImageLimits {
    int maxSide = 16384;                   // width and height, in pixels
    int64_t maxBytes = int64_t(256) << 20;  // decoded planes (rgba + index), in bytes
};

// Decodes BMP or JPEG data (recognised by content). Throws ApiError naming
// `source` and the offset of the fault.
std::shared_ptr<Image> decodeImage(const uint8_t* data, std::size_t size, const std::string& source);
std::shared_ptr<Image> decodeImage(const uint8_t* data, std::size_t size, const std::string& source,
                                   const ImageLimits& limits);

// Reads and decodes a file. Images are shared: the same file, unchanged in size and
// modification time, gives the same decoded image.
std::shared_ptr<Image> loadImageFile(const std::string& path);

// The file's bytes in 24-bit colour: JPEG (quality 90) when the path ends in
// .jpg/.jpeg in any case, otherwise BMP. Throws ApiError when it cannot be made.
std::vector<uint8_t> encodeImageFile(const Image& image, const std::string& path);

// Replaces the file at path with the encoded image (replaceFile); the default
// suits the engine's own run files. Returns the file written; throws ApiError.
std::string writeImageFile(const Image& image, const std::string& path, FileSync sync = FileSync::Scratch);

// Fills palette and index plane of a true-colour image (median cut).
void buildPalette(Image& image);

// Forgets every cached decoded image (engine_close).
void clearImageCache();

// The cache's size and the entries its sweeps have looked at since the start.
struct ImageCacheCounts {
    std::size_t entries = 0;
    uint64_t visited = 0;
};
ImageCacheCounts imageCacheCounts();

// For the decoders: throws ApiError "cannot read image <source>: <what> at offset <n>".
[[noreturn]] void failImage(const std::string& source, const std::string& what, std::size_t offset);

}  // namespace ombrel
