// Files: loading by content, the decoded-image cache, and the writers.
#include "bmp_builder.h"
#include "temp_folder.h"

#include "api_support.h"
#include "image_io.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

using ombrel::Image;

namespace {

std::vector<uint8_t> solidBmp(int w, int h, bmptest::Colour c) {
    bmptest::BmpSpec s;
    s.width = w;
    s.height = h;
    s.bits = 24;
    std::vector<std::vector<uint32_t>> rows(std::size_t(h), std::vector<uint32_t>(std::size_t(w), uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b));
    s.pixels = bmptest::packRows(rows, 24);
    return bmptest::makeBmp(s);
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

Image pattern(int w, int h) {
    Image image;
    image.width = w;
    image.height = h;
    for (int i = 0; i < w * h; ++i)
        image.rgba.insert(image.rgba.end(), {uint8_t(i * 37), uint8_t(i * 91 + 3), uint8_t(255 - i * 13), 255});
    return image;
}

TEST(ImageIo, CacheSharesAnUnchangedFileAndRereadsAnEditedOne) {
    TempFolder folder;
    const std::string path = folder.file("wall.bmp");
    writeBytes(path, solidBmp(3, 2, {255, 0, 0}));
    const auto first = ombrel::loadImageFile(path);
    EXPECT_EQ(ombrel::loadImageFile(path), first);

    // Same size, new colour, a modification time clearly different from the first.
    const auto stamp = std::filesystem::last_write_time(path);
    writeBytes(path, solidBmp(3, 2, {0, 0, 255}));
    std::filesystem::last_write_time(path, stamp + std::chrono::seconds(10));
    const auto edited = ombrel::loadImageFile(path);
    ASSERT_NE(edited, first);
    EXPECT_EQ(edited->rgba[2], 255);
    EXPECT_EQ(first->rgba[0], 255);  // holders of the old image keep its pixels
    EXPECT_EQ(ombrel::loadImageFile(path), edited);

    ombrel::clearImageCache();
    EXPECT_NE(ombrel::loadImageFile(path), edited);
}

// A world opening loads one picture after another and holds most of them: the
// cache's upkeep must stay a constant share per file, and what nobody holds goes.
TEST(ImageIo, CacheUpkeepIsLinearInThePicturesLoaded) {
    TempFolder folder;
    const std::vector<uint8_t> bytes = solidBmp(1, 1, {10, 20, 30});
    for (const int pictures : {500, 4000}) {
        SCOPED_TRACE(std::to_string(pictures) + " pictures");
        ombrel::clearImageCache();
        const uint64_t before = ombrel::imageCacheCounts().visited;
        std::vector<std::shared_ptr<Image>> held;
        for (int i = 0; i < pictures; ++i) {
            const std::string path = folder.file("map" + std::to_string(i) + ".bmp");
            if (!std::filesystem::exists(path)) writeBytes(path, bytes);
            auto image = ombrel::loadImageFile(path);
            if (i % 4 != 0) held.push_back(std::move(image));  // every fourth is let go at once
        }
        const ombrel::ImageCacheCounts after = ombrel::imageCacheCounts();
        EXPECT_LE(after.visited - before, uint64_t(4 * pictures));
        EXPECT_LE(after.entries, 2 * held.size() + 1);
        EXPECT_GE(after.entries, held.size());
        EXPECT_EQ(ombrel::loadImageFile(folder.file("map3.bmp")), held[2]);
    }
}

TEST(ImageIo, ContentDecidesTheFormatNotTheName) {
    TempFolder folder;
    const std::string jpeg = folder.file("photo.jpg"), misnamed = folder.file("photo.bmp");
    ombrel::writeImageFile(pattern(8, 8), jpeg);
    std::filesystem::copy_file(jpeg, misnamed);
    const auto image = ombrel::loadImageFile(misnamed);
    EXPECT_EQ(image->width, 8);
}

TEST(ImageIo, UnreadablePathsNameTheFile) {
    TempFolder folder;
    const std::string missing = folder.file("missing.bmp");
    for (const std::string& path : {missing, folder.file("")}) {
        SCOPED_TRACE(path);
        try {
            ombrel::loadImageFile(path);
            ADD_FAILURE() << "no error";
        } catch (const ombrel::ApiError& e) {
            EXPECT_NE(std::string(e.what()).find("cannot read file " + path), std::string::npos) << e.what();
        }
    }
}

TEST(ImageIo, BmpWriterRoundTripsExactly) {
    TempFolder folder;
    const Image original = pattern(5, 3);  // odd width: padded rows
    const std::string path = folder.file("out.bmp");
    ombrel::writeImageFile(original, path);
    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], 24);  // 24 bits per pixel
    const auto back = ombrel::loadImageFile(path);
    EXPECT_EQ(back->width, 5);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->rgba, original.rgba);

    // Writing over a file forgets its decoded image at once, whatever the clock says.
    Image flipped = original;
    for (std::size_t i = 0; i < flipped.rgba.size(); ++i)
        if (i % 4 != 3) flipped.rgba[i] = uint8_t(255 - flipped.rgba[i]);
    const auto stamp = std::filesystem::last_write_time(path);
    ombrel::writeImageFile(flipped, path);
    std::filesystem::last_write_time(path, stamp);
    EXPECT_EQ(ombrel::loadImageFile(path)->rgba, flipped.rgba);
}

TEST(ImageIo, JpegChosenByExtensionInAnyCase) {
    TempFolder folder;
    for (const char* name : {"a.JPG", "b.jpeg", "c.Jpeg"}) {
        ombrel::writeImageFile(pattern(4, 4), folder.file(name));
        const std::vector<uint8_t> bytes = readBytes(folder.file(name));
        ASSERT_GE(bytes.size(), 2u) << name;
        EXPECT_EQ(bytes[0], 0xFF) << name;
        EXPECT_EQ(bytes[1], 0xD8) << name;
    }
    ombrel::writeImageFile(pattern(4, 4), folder.file("d.jpg.bmp"));
    EXPECT_EQ(readBytes(folder.file("d.jpg.bmp"))[0], 'B');
}

TEST(ImageIo, WriteFailuresThrow) {
    TempFolder folder;
    const std::string file = folder.file("plain");
    writeBytes(file, {1, 2, 3});
    // A regular file where a folder should be: fails even for root.
    EXPECT_THROW(ombrel::writeImageFile(pattern(2, 2), file + "/x.bmp"), ombrel::ApiError);
    EXPECT_THROW(ombrel::writeImageFile(pattern(2, 2), file + "/x.jpg"), ombrel::ApiError);
    EXPECT_THROW(ombrel::writeImageFile(Image{}, folder.file("empty.bmp")), ombrel::ApiError);
}

}  // namespace
