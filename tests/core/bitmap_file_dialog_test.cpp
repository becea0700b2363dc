#include "core/BitmapFileDialog.h"

#include "platform/prompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Answers the open-file dialog and keeps what it was asked; any other prompt fails.
class OpenFileOnly : public platform::Prompts {
public:
    explicit OpenFileOnly(std::string answer) : answer_(std::move(answer)), previous_(platform::installPrompts(this)) {}
    ~OpenFileOnly() override { platform::installPrompts(previous_); }

    std::vector<platform::FileRequest> asked;

    platform::MsgResult msgBox(const std::string& text, platform::MsgButtons, platform::MsgIcon,
                               const std::string&) override {
        ADD_FAILURE() << "unexpected message " << text;
        return platform::MsgResult::Cancel;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        ADD_FAILURE() << "unexpected input box";
        return {};
    }
    std::string openFileName(const platform::FileRequest& request) override {
        asked.push_back(request);
        return answer_;
    }
    std::string saveFileName(const platform::FileRequest&) override {
        ADD_FAILURE() << "unexpected save dialog";
        return {};
    }
    std::optional<int32_t> chooseColour(int32_t) override {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    int showModal(QDialog&) override {
        ADD_FAILURE() << "unexpected window";
        return 0;
    }
    QAction* popupMenu(QMenu&, const QPoint&) override {
        ADD_FAILURE() << "unexpected pop-up menu";
        return nullptr;
    }

private:
    std::string answer_;
    platform::Prompts* previous_;
};

TEST(BitmapFileDialog, OffersBitmapsAndJpegImagesAndGivesTheChoiceOrNothing) {
    for (const std::string answer : {"/pictures/sky.bmp", ""}) {
        OpenFileOnly prompts(answer);
        EXPECT_EQ(Globals::GetOpenedBitmapFile(false), answer);
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].filter, "Bitmaps (*.bmp);;JPEG Images (*.jpg);;Images (*.bmp *.jpg)");
    }
}

}  // namespace
