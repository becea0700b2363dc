// Files dropped on a view from outside the program: only the editor's own world
// files are taken, whatever the case of their extension.
#include "EditorFixture.h"

#include "core/Globals.h"

#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <optional>

namespace {

std::unique_ptr<QMimeData> fileList(const std::string& path) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    return data;
}

using DropTest = EditorFixture;

}  // namespace

TEST_F(DropTest, AWorldFileDroppedFromOutsideOpensIt) {
    const std::string saved = SaveSmallWorldFile("small.wld");
    Form1& f = StartEditor();
    struct Case {
        const char* name;
        bool opens;
    };
    const Case cases[] = {{"upper.WLD", true}, {"model.vandel", true}, {"scene.x", false}, {"picture.bmp", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = tempPath(c.name);
        std::filesystem::copy_file(saved, path);
        f.UnloadWorld();
        Globals::CurrWorldFile.clear();
        auto data = fileList(path);
        int effect = -1;
        f.picWindow_OLEDragOver(1, data.get(), effect);
        EXPECT_EQ(effect, c.opens ? 1 : 0);
        f.picWindow_OLEDragDrop(1, data.get(), effect, 1, 0, 10, 10);
        EXPECT_EQ(f.WorldLoaded, c.opens);
        EXPECT_EQ(Globals::CurrWorldFile, c.opens ? path : "");
    }
}

TEST_F(DropTest, AWorldDroppedOnAnOpenWorldAsksToSaveItFirst) {
    const std::string saved = SaveSmallWorldFile("dropped.wld");
    const std::string picture = tempPath("picture.bmp");
    std::filesystem::copy_file(saved, picture);
    Form1& f = StartEditor();
    struct Case {
        std::string file;
        std::optional<platform::MsgResult> answer;  // none: no question may come
        bool replaced;
    };
    const Case cases[] = {
        {saved, platform::MsgResult::Cancel, false},
        {picture, std::nullopt, false},
        {saved, platform::MsgResult::No, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        f.UnloadWorld();
        OpenSmallWorld();
        const int32_t openRoot = Globals::RootGrp;
        const std::size_t asked = platform_.prompts.shown().size();
        if (c.answer) platform_.prompts.answer(*c.answer);
        auto data = fileList(c.file);
        int effect = 1;
        f.picWindow_OLEDragDrop(1, data.get(), effect, 1, 0, 10, 10);
        const auto& shown = platform_.prompts.shown();
        ASSERT_EQ(shown.size(), asked + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_EQ(shown.back().text, "Save changes?");
        }
        EXPECT_TRUE(f.WorldLoaded);
        EXPECT_EQ(Globals::CurrWorldFile, c.replaced ? saved : "Untitled.wld");
        if (!c.replaced) {
            EXPECT_EQ(Globals::RootGrp, openRoot);
        }
    }
}

TEST_F(DropTest, ADragWithoutAFileListIsJudgedByTheGalleryModel) {
    Form1& f = StartEditor();
    QMimeData none;
    for (const char* model : {"", "Models/chair.jpg", "Models/Chair.Vandel"}) {
        f.GalleryDragFile = model;
        int effect = -1;
        f.picWindow_OLEDragOver(0, &none, effect);
        EXPECT_EQ(effect, std::string(model).ends_with("Vandel") ? 1 : 0) << model;
    }
    // A gallery drop never opens the model as the world.
    int effect = 1;
    f.picWindow_OLEDragDrop(0, &none, effect, 1, 0, 5, 5);
    EXPECT_FALSE(f.WorldLoaded);
}
