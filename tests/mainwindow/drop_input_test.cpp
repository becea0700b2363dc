// Files dropped on a view from outside the program: only the editor's own world
// files are taken, whatever the case of their extension.
#include "EditorFixture.h"

#include "core/Globals.h"

#include <QMimeData>
#include <QUrl>

#include <filesystem>

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
