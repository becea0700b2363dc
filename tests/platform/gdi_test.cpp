#include "platform/doubles/test_application.h"
#include "platform/gdi.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr int32_t kRed = rgb(255, 0, 0);
constexpr int32_t kGreen = rgb(0, 255, 0);
constexpr int32_t kBlue = rgb(0, 0, 255);
constexpr int32_t kGrey = rgb(10, 20, 30);

// An engine-style buffer: RGBA rows with padding at the end of each row, filled
// with an opaque grey; the padding holds a marker that must survive.
class RgbaBuffer {
public:
    static constexpr int kWidth = 24, kHeight = 20, kStride = kWidth * 4 + 8;
    static constexpr uint8_t kPadding = 0xAB;

    RgbaBuffer() : bytes_(kStride * kHeight, kPadding) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint8_t* p = &bytes_[static_cast<std::size_t>(y * kStride + x * 4)];
                p[0] = redOf(kGrey), p[1] = greenOf(kGrey), p[2] = blueOf(kGrey), p[3] = 255;
            }
    }
    uint8_t* data() { return bytes_.data(); }
    const uint8_t* at(int x, int y) const { return &bytes_[static_cast<std::size_t>(y * kStride + x * 4)]; }
    bool paddingIntact() const {
        for (int y = 0; y < kHeight; ++y)
            for (int i = kWidth * 4; i < kStride; ++i)
                if (bytes_[static_cast<std::size_t>(y * kStride + i)] != kPadding) return false;
        return true;
    }

private:
    std::vector<uint8_t> bytes_;
};

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override { platform::doubles::testApplication(); }
    void TearDown() override {
        for (GdiObject o : created_) DeleteObject(o);
        EXPECT_TRUE(buffer_.paddingIntact());
    }
    GdiObject pen(int style, int width, int32_t colour) {
        created_.push_back(CreatePen(style, width, colour));
        return created_.back();
    }
    GdiObject brush(int32_t colour) {
        created_.push_back(CreateSolidBrush(colour));
        return created_.back();
    }

    RgbaBuffer buffer_;
    DeviceContext dc_{buffer_.data(), RgbaBuffer::kWidth, RgbaBuffer::kHeight, RgbaBuffer::kStride};
    std::vector<GdiObject> created_;
};

TEST_F(GdiTest, PixelsAreWrittenAsRgbaBytesIntoTheCallersBuffer) {
    FillRect(dc_, 3, 4, 4, 5, brush(rgb(200, 100, 50)));
    const uint8_t* p = buffer_.at(3, 4);
    EXPECT_EQ(p[0], 200);
    EXPECT_EQ(p[1], 100);
    EXPECT_EQ(p[2], 50);
    EXPECT_EQ(p[3], 255);
    EXPECT_EQ(GetPixel(dc_, 3, 4), rgb(200, 100, 50));
    EXPECT_EQ(GetPixel(dc_, 4, 4), kGrey);
    EXPECT_EQ(GetPixel(dc_, -1, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc_, RgbaBuffer::kWidth, 0), CLR_INVALID);
}

TEST_F(GdiTest, RectangleOutlinesInThePenAndLeavesRightAndBottomOut) {
    SelectObject(dc_, pen(PS_SOLID, 1, kRed));
    Rectangle(dc_, 2, 3, 8, 9);
    for (int x = 2; x <= 7; ++x) {
        EXPECT_EQ(GetPixel(dc_, x, 3), kRed) << x;
        EXPECT_EQ(GetPixel(dc_, x, 8), kRed) << x;
    }
    for (int y = 3; y <= 8; ++y) {
        EXPECT_EQ(GetPixel(dc_, 2, y), kRed) << y;
        EXPECT_EQ(GetPixel(dc_, 7, y), kRed) << y;
    }
    EXPECT_EQ(GetPixel(dc_, 8, 5), kGrey);
    EXPECT_EQ(GetPixel(dc_, 5, 9), kGrey);
    EXPECT_EQ(GetPixel(dc_, 5, 5), kGrey);  // the default brush is hollow

    SelectObject(dc_, brush(kBlue));
    Rectangle(dc_, 12, 3, 18, 9);
    EXPECT_EQ(GetPixel(dc_, 12, 3), kRed);
    EXPECT_EQ(GetPixel(dc_, 15, 6), kBlue);
}

TEST_F(GdiTest, LinesFollowTheCurrentPositionAndThePensWidth) {
    SelectObject(dc_, pen(PS_SOLID, 1, kGreen));
    MoveToEx(dc_, 2, 5);
    LineTo(dc_, 10, 5);
    LineTo(dc_, 10, 12);
    EXPECT_EQ(GetPixel(dc_, 6, 5), kGreen);
    EXPECT_EQ(GetPixel(dc_, 10, 9), kGreen);
    EXPECT_EQ(GetPixel(dc_, 6, 6), kGrey);
    PixelPoint previous;
    MoveToEx(dc_, 0, 0, &previous);
    EXPECT_EQ(previous.x, 10);
    EXPECT_EQ(previous.y, 12);

    SelectObject(dc_, pen(PS_SOLID, 3, kRed));
    MoveToEx(dc_, 2, 16);
    LineTo(dc_, 20, 16);
    for (int y : {15, 16, 17}) EXPECT_EQ(GetPixel(dc_, 11, y), kRed) << y;
    EXPECT_EQ(GetPixel(dc_, 11, 13), kGrey);
}

TEST_F(GdiTest, DashDotPenLeavesGapsAlongTheLine) {
    SelectObject(dc_, pen(PS_DASHDOT, 1, kRed));
    MoveToEx(dc_, 0, 10);
    LineTo(dc_, 23, 10);
    int red = 0;
    for (int x = 0; x < 23; ++x) red += GetPixel(dc_, x, 10) == kRed;
    EXPECT_GT(red, 5);
    EXPECT_LT(red, 23);
}

TEST_F(GdiTest, PolyPolylineDrawsEachPolylineApart) {
    SelectObject(dc_, pen(PS_SOLID, 1, kBlue));
    const PixelPoint points[] = {{1, 2}, {8, 2}, {8, 6}, {12, 10}, {20, 10}};
    const uint32_t counts[] = {3, 2};
    ASSERT_TRUE(PolyPolyline(dc_, points, counts, 2));
    EXPECT_EQ(GetPixel(dc_, 4, 2), kBlue);
    EXPECT_EQ(GetPixel(dc_, 8, 4), kBlue);
    EXPECT_EQ(GetPixel(dc_, 16, 10), kBlue);
    // No segment joins the end of the first to the start of the second.
    EXPECT_EQ(GetPixel(dc_, 10, 8), kGrey);
}

TEST_F(GdiTest, EllipseTouchesItsBoxEdgesButNotTheCorners) {
    SelectObject(dc_, pen(PS_SOLID, 1, kRed));
    Ellipse(dc_, 2, 2, 13, 13);
    EXPECT_EQ(GetPixel(dc_, 7, 2), kRed);
    EXPECT_EQ(GetPixel(dc_, 2, 7), kRed);
    EXPECT_EQ(GetPixel(dc_, 2, 2), kGrey);
    EXPECT_EQ(GetPixel(dc_, 7, 7), kGrey);
}

TEST_F(GdiTest, TextIsDrawnInTheTextColourOverAnOpaqueOrTransparentBackground) {
    SetTextColor(dc_, kRed);
    EXPECT_EQ(SetBkColor(dc_, kBlue), rgb(255, 255, 255));
    EXPECT_EQ(SetBkMode(dc_, OPAQUE), OPAQUE);
    TextOutA(dc_, 1, 1, "WW");
    int red = 0, blue = 0;
    for (int y = 0; y < RgbaBuffer::kHeight; ++y)
        for (int x = 0; x < RgbaBuffer::kWidth; ++x) {
            red += GetPixel(dc_, x, y) == kRed;
            blue += GetPixel(dc_, x, y) == kBlue;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0);
    EXPECT_EQ(GetPixel(dc_, 0, 0), kGrey);  // nothing above or left of the text's corner

    FillRect(dc_, 0, 0, RgbaBuffer::kWidth, RgbaBuffer::kHeight, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(SetBkMode(dc_, TRANSPARENT), OPAQUE);
    TextOutA(dc_, 1, 1, "WW");
    blue = 0;
    for (int y = 0; y < RgbaBuffer::kHeight; ++y)
        for (int x = 0; x < RgbaBuffer::kWidth; ++x) blue += GetPixel(dc_, x, y) == kBlue;
    EXPECT_EQ(blue, 0);
}

TEST_F(GdiTest, FillRectCoversExactlyItsRectangleWithABrushOrSystemColour) {
    ASSERT_TRUE(FillRect(dc_, 4, 4, 6, 7, brush(kGreen)));
    EXPECT_EQ(GetPixel(dc_, 4, 4), kGreen);
    EXPECT_EQ(GetPixel(dc_, 5, 6), kGreen);
    EXPECT_EQ(GetPixel(dc_, 6, 5), kGrey);
    EXPECT_EQ(GetPixel(dc_, 5, 7), kGrey);

    ASSERT_TRUE(FillRect(dc_, 10, 10, 12, 12, 1));  // the scroll-bar colour
    EXPECT_EQ(GetPixel(dc_, 10, 10), rgb(200, 200, 200));
    EXPECT_FALSE(FillRect(dc_, 0, 0, 2, 2, 0x7FFF));
    EXPECT_EQ(GetPixel(dc_, 0, 0), kGrey);
}

TEST_F(GdiTest, StretchBltScalesASourceRectangle) {
    std::vector<uint8_t> srcBytes(2 * 2 * 4, 255);
    DeviceContext src(srcBytes.data(), 2, 2, 8);
    FillRect(src, 0, 0, 1, 1, brush(kRed));
    FillRect(src, 1, 1, 2, 2, brush(kBlue));
    ASSERT_TRUE(StretchBlt(dc_, 10, 10, 4, 4, src, 0, 0, 2, 2));
    EXPECT_EQ(GetPixel(dc_, 10, 10), kRed);
    EXPECT_EQ(GetPixel(dc_, 11, 11), kRed);
    EXPECT_EQ(GetPixel(dc_, 13, 13), kBlue);
    EXPECT_EQ(GetPixel(dc_, 13, 10), rgb(255, 255, 255));
    EXPECT_EQ(GetPixel(dc_, 14, 14), kGrey);
}

TEST_F(GdiTest, ObjectsAreSelectedByKindAndDeletedOnce) {
    const GdiObject red = pen(PS_SOLID, 1, kRed);
    const GdiObject blue = brush(kBlue);
    const GdiObject firstPen = SelectObject(dc_, red);
    EXPECT_EQ(firstPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc_, blue), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(SelectObject(dc_, firstPen), red);
    EXPECT_EQ(SelectObject(dc_, 0x7FFF), 0);

    const GdiObject extra = CreatePen(PS_SOLID, 2, kGreen);
    EXPECT_TRUE(DeleteObject(extra));
    EXPECT_FALSE(DeleteObject(extra));
    EXPECT_EQ(SelectObject(dc_, extra), 0);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_PEN)));
    EXPECT_NE(SelectObject(dc_, GetStockObject(WHITE_PEN)), 0);
}

TEST_F(GdiTest, TheTransientLayerIsDrawnOverTheViewAndCleared) {
    TransientLayer layer;
    layer.resize(RgbaBuffer::kWidth, RgbaBuffer::kHeight);
    SelectObject(layer.dc(), pen(PS_SOLID, 1, kRed));
    Rectangle(layer.dc(), 2, 2, 10, 10);

    QImage view(RgbaBuffer::kWidth, RgbaBuffer::kHeight, QImage::Format_RGB32);
    view.fill(QColor(10, 20, 30));
    {
        QPainter p(&view);
        layer.paintOver(p);
    }
    EXPECT_EQ(view.pixelColor(2, 5), QColor(255, 0, 0));
    EXPECT_EQ(view.pixelColor(5, 5), QColor(10, 20, 30));

    layer.clear();
    view.fill(QColor(10, 20, 30));
    {
        QPainter p(&view);
        layer.paintOver(p);
    }
    EXPECT_EQ(view.pixelColor(2, 5), QColor(10, 20, 30));
}

}  // namespace

TEST_F(GdiTest, RectanglesDrawEachAsRectangleDoesClippedAtTheEdges) {
    // Squares, one over the corner of the buffer; and a list with a rectangle of
    // one pixel. Hollow and filled, on the engine's buffer and a layer's image.
    const std::vector<std::vector<int32_t>> lists = {{2, 3, 7, 8, -2, 16, 3, 22, 20, -1, 26, 4},
                                                     {2, 3, 7, 8, 10, 10, 11, 11}};
    for (const std::vector<int32_t>& boxes : lists)
        for (bool filled : {false, true})
            for (bool layer : {false, true}) {
                SCOPED_TRACE(std::to_string(boxes.size() / 4) + (filled ? " filled" : " hollow") +
                             (layer ? " on a layer" : " on the buffer"));
                const auto count = static_cast<int>(boxes.size() / 4);
                DeviceContext one(RgbaBuffer::kWidth, RgbaBuffer::kHeight), many(RgbaBuffer::kWidth, RgbaBuffer::kHeight);
                RgbaBuffer first, second;
                DeviceContext bufferOne(first.data(), RgbaBuffer::kWidth, RgbaBuffer::kHeight, RgbaBuffer::kStride),
                    bufferMany(second.data(), RgbaBuffer::kWidth, RgbaBuffer::kHeight, RgbaBuffer::kStride);
                DeviceContext& a = layer ? one : bufferOne;
                DeviceContext& b = layer ? many : bufferMany;
                for (DeviceContext* dc : {&a, &b}) {
                    SelectObject(*dc, pen(PS_SOLID, 1, kRed));
                    if (filled) SelectObject(*dc, brush(kGreen));
                }
                for (int i = 0; i < count; ++i)
                    Rectangle(a, boxes[4 * i], boxes[4 * i + 1], boxes[4 * i + 2], boxes[4 * i + 3]);
                ASSERT_TRUE(Rectangles(b, boxes.data(), count));
                int red = 0;
                for (int y = 0; y < RgbaBuffer::kHeight; ++y)
                    for (int x = 0; x < RgbaBuffer::kWidth; ++x) {
                        EXPECT_EQ(GetPixel(b, x, y), GetPixel(a, x, y)) << x << ", " << y;
                        red += GetPixel(b, x, y) == kRed;
                    }
                EXPECT_GE(red, 16);
                EXPECT_TRUE(second.paddingIntact());
            }
}
