#include "core/BitmapFileDialog.h"

#include "platform/doubles/scripted_prompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BitmapFileDialog, OffersBitmapsAndJpegImagesAndGivesTheChosenFilesOrNothing) {
    struct Case {
        bool many;
        std::vector<std::string> chosen;
    } cases[] = {{false, {"/pictures/sky.bmp"}}, {false, {}}, {true, {"/p/b.jpg", "/p/a.bmp"}}, {true, {}}};
    for (const Case& c : cases) {
        platform::doubles::ScriptedPrompts prompts;
        if (c.many)
            prompts.answerOpenFiles(c.chosen);
        else
            prompts.answerOpenFile(c.chosen.empty() ? "" : c.chosen.front());
        EXPECT_EQ(Globals::GetOpenedBitmapFile(c.many), c.chosen);
        ASSERT_EQ(prompts.shown().size(), 1u);
        EXPECT_EQ(prompts.shown()[0].filter, "Bitmaps (*.bmp);;JPEG Images (*.jpg);;Images (*.bmp *.jpg)");
        EXPECT_EQ(prompts.shown()[0].manyFiles, c.many);
    }
}

}  // namespace
