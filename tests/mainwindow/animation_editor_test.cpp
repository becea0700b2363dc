// The animation editor as the textures page opens it: frames inserted under the
// five directions, their times and transparent colours, frames dragged onto
// others, "&Ok" writing the animation and "&Cancel" leaving it alone.
#include "EditorFixture.h"

#include "saved_world.h"
#include "texture_files.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "mainwindow/formAnimation.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "textures/PicturePreview.h"
#include "textures/TexturePicture.h"
#include "textures/formTrnsClrPcr.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <array>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using platform::MsgResult;
using textures::formTrnsClrPcr;

class AnimationEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        StartEditor();
        OpenEmptyWorld();
        form().tabWorkspace->setCurrentIndex(3);
        form().trwTextures_Populate();
    }

    std::string writeBitmap(const std::string& name) { return files.write(name, 2, 2); }

    void selectTexture(const std::string& key) {
        form().trwTextures->SetSelectedItem(form().trwTextures->Item(key));
        form().trwTextures_NodeClick();
    }

    // Opens the editor from the textures page: New on the folder, or Edit on the animation.
    void openEditor(int32_t anim, std::function<void(formAnimation&)> handler) {
        platform_.prompts.answerWindow<formAnimation>(std::move(handler));
        if (anim == 0) {
            selectTexture("ANIMATION");
            form().mnuTextureNew_Click();
        } else {
            selectTexture("Animation" + std::to_string(anim));
            form().mnuTextureEdit_Click();
        }
    }

    static std::vector<int32_t> ids(const formAnimation& w, int32_t direction) {
        std::vector<int32_t> out;
        for (const textures::Frame& f : w.Frames().Direction(direction)) out.push_back(f.Id);
        return out;
    }
    static std::vector<std::string> texts(const formAnimation& w, int32_t direction) {
        std::vector<std::string> out;
        for (const textures::Frame& f : w.Frames().Direction(direction)) out.push_back(f.Text);
        return out;
    }
    void insert(formAnimation& w, QTreeWidgetItem* at, const std::vector<std::string>& files) {
        w.trwAnim->SetSelectedItem(at);
        w.trwAnim_NodeClick(at);
        platform_.prompts.answerOpenFiles(files);
        w.cmdInsert_Click();
    }
    // Typed key by key over the field's text of the frame's time.
    static void typeTime(formAnimation& w, int32_t frame, const QString& keys) {
        w.trwAnim_NodeClick(w.FrameNode(frame));
        w.txtFrmTime->selectAll();
        QTest::keyClicks(w.txtFrmTime, keys);
    }
    static int32_t timeOf(const formAnimation& w, int32_t frame) { return w.Frames().Find(frame)->Record.Time; }
    static QPoint centreOf(formAnimation& w, QTreeWidgetItem* node) {
        w.trwAnim->scrollToItem(node);
        return w.trwAnim->visualItemRect(node).center();
    }

    TextureFiles files;
};

TEST_F(AnimationEditorTest, ACreatedAnimationIsReopenedWithItsFramesAndTimes) {
    const std::string a = writeBitmap("a"), b = writeBitmap("b"), c = writeBitmap("c"), d = writeBitmap("d");
    openEditor(0, [&](formAnimation& w) {
        EXPECT_EQ(w.windowTitle(), "Animation 2D.");
        EXPECT_EQ(w.txtAnimName->text(), "Animation01");
        EXPECT_FALSE(w.txtFrmTime->isEnabled()) << "a direction is selected";
        insert(w, w.DirectionNode(1), {a, b});
        insert(w, w.DirectionNode(3), {c, d});
        EXPECT_EQ(texts(w, 1), (std::vector<std::string>{"a.bmp", "b.bmp"}));
        EXPECT_EQ(texts(w, 3), (std::vector<std::string>{"c.bmp", "d.bmp"}));
        const std::vector<int32_t> all = {ids(w, 1)[0], ids(w, 1)[1], ids(w, 3)[0], ids(w, 3)[1]};
        for (std::size_t i = 0; i < all.size(); ++i) typeTime(w, all[i], QString::number(5 + i));
        w.cmdOk_Click();
    });
    const int32_t anim = OMBREL_animation_get_handle("Animation01");
    ASSERT_NE(anim, 0);
    const std::string key = "Animation" + std::to_string(anim);
    ASSERT_TRUE(form().trwTextures->Exists(key));
    EXPECT_EQ(KeyedTree::Key(form().trwTextures->Item(key)->parent()), "ANIMATION");
    EXPECT_EQ(form().trwTextures->Item("ANIMATION")->text(0), "ANIMATION");

    openEditor(anim, [&](formAnimation& w) {
        EXPECT_EQ(w.txtAnimName->text(), "Animation01");
        EXPECT_EQ(texts(w, 1), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(texts(w, 3), (std::vector<std::string>{"c", "d"}));
        std::vector<QString> shown;
        for (int32_t dir : {1, 3})
            for (int32_t id : ids(w, dir)) {
                w.trwAnim_NodeClick(w.FrameNode(id));
                shown.push_back(w.txtFrmTime->text());
            }
        EXPECT_EQ(shown, (std::vector<QString>{"5", "6", "7", "8"}));
        EXPECT_FALSE(form().tmrAnimPreview->isActive()) << "the preview rests while the editor is open";
        w.txtAnimName->setText("walk");
        w.cmdOk_Click();
    });
    EXPECT_EQ(form().trwTextures->Item(key)->text(0), "walk");
    EXPECT_TRUE(form().tmrAnimPreview->isActive());
}

TEST_F(AnimationEditorTest, FramesInsertedAfterAFrameComeInReverseAndBadFilesAreRefused) {
    const std::string f = writeBitmap("f"), x = writeBitmap("x"), y = writeBitmap("y"), z = writeBitmap("z");
    const auto junk = files.folder() / "junk.bmp";
    std::ofstream(junk, std::ios::binary) << "BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";
    openEditor(0, [&](formAnimation& w) {
        insert(w, w.DirectionNode(2), {f});
        const int32_t first = ids(w, 2)[0];
        w.trwAnim_NodeClick(w.FrameNode(first));
        platform_.prompts.answerOpenFiles({x, junk.string(), y, z}).answer(MsgResult::OK);
        w.cmdInsert_Click();
        EXPECT_EQ(texts(w, 2), (std::vector<std::string>{"f.bmp", "z.bmp", "y.bmp", "x.bmp"}));
        EXPECT_EQ(platform_.prompts.shown().back().text, "Unsupported bitmap.");
        const textures::FrameRecord& inserted = w.Frames().Find(ids(w, 2)[1])->Record;
        EXPECT_EQ(inserted.Time, 10);
        EXPECT_EQ(inserted.Colour, -1);
        // Remove takes a frame, never a direction.
        w.trwAnim->SetSelectedItem(w.DirectionNode(2));
        w.cmdRemove_Click();
        w.trwAnim->SetSelectedItem(w.FrameNode(first));
        w.cmdRemove_Click();
        EXPECT_EQ(texts(w, 2), (std::vector<std::string>{"z.bmp", "y.bmp", "x.bmp"}));
        EXPECT_EQ(w.trwAnim->topLevelItemCount(), 5);
        w.cmdCancel_Click();
    });
}

TEST_F(AnimationEditorTest, CancelAfterInsertingChangesNothing) {
    const int32_t before = OMBREL_animation_get_first_animation();
    const std::string a = writeBitmap("a");
    openEditor(0, [&](formAnimation& w) {
        insert(w, w.DirectionNode(1), {a});
        w.cmdCancel_Click();
    });
    EXPECT_EQ(OMBREL_animation_get_first_animation(), before);
    EXPECT_EQ(form().trwTextures->Item("ANIMATION")->childCount(), 0);
}

TEST_F(AnimationEditorTest, LeavingTheEditorTakesBackThePicturesItLoadedThatNothingKeeps) {
    const auto keyed = files.folder() / "keyed.bmp";
    writeBmp8(keyed, 2, 1, {{255, 255, 255}, {0, 0, 255}}, {0, 1});
    const std::string x = writeBitmap("x"), y = writeBitmap("y");
    struct Case {
        const char* name;
        bool ok;
        std::vector<std::string> added;  // the bitmap records a save writes beyond the world's own
    } cases[] = {{"Cancel", false, {}}, {"Ok", true, {"x.bmp -1", "keyed.bmp 1"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform_.prompts.answer(MsgResult::No);  // the last case's world is not saved again
        OpenEmptyWorld();
        // The world's own: a bitmap on a polygon and one that is an animation's frame.
        const int32_t group = MakeGroup("box", Globals::RootGrp);
        const std::string used = writeBitmap("used"), frame = writeBitmap("frame");
        OMBREL_polygon_set_bitmap_fill(MakePolygon(group, {{0, 0}, {0, 1}, {1, 1}}), OMBREL_bitmap_load(used.c_str(), -1));
        makeAnimation("walk", {{OMBREL_bitmap_load(frame.c_str(), -1)}});
        form().trwTextures_Populate();
        const std::vector<std::string> own = {"used.bmp -1", "frame.bmp -1"};

        openEditor(0, [&](formAnimation& w) {
            insert(w, w.DirectionNode(1), {x, y, keyed.string(), used, frame});
            for (int32_t id : ids(w, 1)) w.trwAnim_NodeClick(w.FrameNode(id));  // each one previewed
            // The keyed picture's blue half becomes its transparent colour.
            const int32_t keyedFrame = ids(w, 1)[2];
            w.trwAnim_NodeClick(w.FrameNode(keyedFrame));
            w.chkTransparent->click();
            platform_.prompts.answerWindow<formTrnsClrPcr>([](formTrnsClrPcr& p) {
                p.Picture1_MouseDown(1, p.Picture1->width() * 3 / 4, p.Picture1->height() / 2);
                p.cmdOK_Click();
            });
            w.cmdColor_Click();
            w.trwAnim_NodeClick(w.FrameNode(ids(w, 1)[1]));
            w.cmdRemove_Click();  // y
            if (c.ok)
                w.cmdOk_Click();
            else
                w.cmdCancel_Click();
        });
        std::vector<std::string> expected = own;
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(SavedBitmapFiles(form(), platform_, tempPath(std::string(c.name) + ".wld")), expected);
    }
}

TEST_F(AnimationEditorTest, AFrameDroppedOnAFrameOfAnotherDirectionMovesRightAfterIt) {
    const std::string a = writeBitmap("a"), b = writeBitmap("b"), s = writeBitmap("s"), t = writeBitmap("t");
    openEditor(0, [&](formAnimation& w) {
        insert(w, w.DirectionNode(1), {a, b});
        insert(w, w.DirectionNode(3), {s, t});
        const int32_t moving = ids(w, 1)[0];
        typeTime(w, moving, "42");
        w.trwAnim_MouseDown(1, 0, centreOf(w, w.FrameNode(moving)).x(), centreOf(w, w.FrameNode(moving)).y());
        QMimeData data;
        const QPoint target = centreOf(w, w.FrameNode(ids(w, 3)[0]));
        w.trwAnim_OLEDragDrop(&data, target.x(), target.y());
        EXPECT_EQ(texts(w, 1), (std::vector<std::string>{"b.bmp"}));
        EXPECT_EQ(texts(w, 3), (std::vector<std::string>{"s.bmp", "a.bmp", "t.bmp"}));
        EXPECT_EQ(timeOf(w, moving), 42);
        EXPECT_EQ(w.FrameNode(moving)->parent(), w.DirectionNode(3));
        // Onto a direction node nothing moves.
        w.trwAnim_MouseDown(1, 0, centreOf(w, w.FrameNode(moving)).x(), centreOf(w, w.FrameNode(moving)).y());
        const QPoint direction = centreOf(w, w.DirectionNode(5));
        w.trwAnim_OLEDragDrop(&data, direction.x(), direction.y());
        EXPECT_EQ(texts(w, 3), (std::vector<std::string>{"s.bmp", "a.bmp", "t.bmp"}));
        w.cmdOk_Click();
    });
    const int32_t anim = OMBREL_animation_get_handle("Animation01");
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(anim), 4);
    // a is entry 2: one frame under FRONT, then its place under SIDE.
    EXPECT_EQ(OMBREL_animation_get_frame_time(anim, 2), 42);
}

TEST_F(AnimationEditorTest, AFrameDroppedAnywhereLeavesTheTreeAsOkWritesTheAnimation) {
    // FRONT a b, SIDE s t, BACK k, with the times 1 to 5 in that order.
    const std::map<std::string, int32_t> times = {{"a", 1}, {"b", 2}, {"s", 3}, {"t", 4}, {"k", 5}};
    using Layout = std::array<std::vector<std::string>, 5>;
    struct Case {
        const char* name;
        std::string dragged, onto;
        Layout after;
    } cases[] = {
        {"onto an earlier direction", "t", "a", {{{"a", "t", "b"}, {}, {"s"}, {}, {"k"}}}},
        {"from the last onto the first direction", "k", "b", {{{"a", "b", "k"}, {}, {"s", "t"}, {}, {}}}},
        {"onto a later direction", "a", "k", {{{"b"}, {}, {"s", "t"}, {}, {"k", "a"}}}},
        {"onto an earlier frame of its direction", "t", "s", {{{"a", "b"}, {}, {"s", "t"}, {}, {"k"}}}},
        {"onto a later frame of its direction", "a", "b", {{{"b", "a"}, {}, {"s", "t"}, {}, {"k"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<std::string, int32_t> bitmaps;
        for (const auto& [name, time] : times) bitmaps[name] = files.load(name, 2, 2);
        const int32_t anim = makeAnimation("walk", {{bitmaps["a"], bitmaps["b"]}, {}, {bitmaps["s"], bitmaps["t"]}, {},
                                                    {bitmaps["k"]}});
        for (const char* name : {"a", "b", "s", "t", "k"})
            OMBREL_animation_set_frame_time(anim, times.at(name) - 1, times.at(name));
        form().trwTextures_Populate();
        Layout shown;
        openEditor(anim, [&](formAnimation& w) {
            auto nodeOf = [&](const std::string& name) {
                for (int32_t d = 1; d <= 5; ++d)
                    for (std::size_t i = 0; i < texts(w, d).size(); ++i)
                        if (texts(w, d)[i] == name) return w.FrameNode(ids(w, d)[i]);
                return static_cast<QTreeWidgetItem*>(nullptr);
            };
            const QPoint from = centreOf(w, nodeOf(c.dragged));
            w.trwAnim_MouseDown(1, 0, from.x(), from.y());
            QMimeData data;
            const QPoint to = centreOf(w, nodeOf(c.onto));
            w.trwAnim_OLEDragDrop(&data, to.x(), to.y());
            for (int32_t d = 1; d <= 5; ++d) {
                QTreeWidgetItem* direction = w.DirectionNode(d);
                for (int i = 0; i < direction->childCount(); ++i)
                    shown[static_cast<std::size_t>(d - 1)].push_back(direction->child(i)->text(0).toStdString());
            }
            w.cmdOk_Click();
        });
        EXPECT_EQ(shown, c.after);
        Layout written;
        std::vector<int32_t> writtenTimes, expectedTimes;
        for (int32_t d = 1; d <= 5; ++d)
            for (int32_t i = 0; OMBREL_animation_get_bitmap(anim, d, i) != 0; ++i) {
                const std::string name = Globals::GetBitmapFileName(OMBREL_animation_get_bitmap(anim, d, i));
                written[static_cast<std::size_t>(d - 1)].push_back(name);
                expectedTimes.push_back(times.at(name));
                writtenTimes.push_back(OMBREL_animation_get_frame_time(anim, static_cast<int32_t>(writtenTimes.size())));
            }
        EXPECT_EQ(written, c.after);
        EXPECT_EQ(writtenTimes, expectedTimes);
        OMBREL_animation_delete(anim);
        for (const auto& [name, bitmap] : bitmaps) OMBREL_bitmap_unload(bitmap);
    }
}

// The time is written as it is typed while it lies within the limits; the text
// stays as typed. Leaving the field takes a number beyond a limit as the limit
// and anything else back to the time the edit started from.
TEST_F(AnimationEditorTest, TheFrameTimeFieldWritesEveryNumberWithinItsLimits) {
    const std::string a = writeBitmap("a"), b = writeBitmap("b");
    openEditor(0, [&](formAnimation& w) {
        insert(w, w.DirectionNode(1), {a, b});
        const int32_t frame = ids(w, 1)[0];
        struct Case {
            QString keys, typed;
            int32_t whileTyping;
            QString left;
            int32_t time;
        } cases[] = {{"250", "250", 250, "250", 250},
                     {"0", "0", 250, "1", 1},
                     {"abc", "1", 1, "1", 1},
                     {"1e999", "1e999", 1000000000, "1", 1},
                     {"37", "37", 37, "37", 37},
                     {"5e12", "5e12", 50, "2147483647", 2147483647}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.keys.toStdString());
            typeTime(w, frame, c.keys);
            EXPECT_EQ(w.txtFrmTime->text(), c.typed);
            EXPECT_EQ(timeOf(w, frame), c.whileTyping);
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(w.txtFrmTime, &out);
            EXPECT_EQ(w.txtFrmTime->text(), c.left);
            EXPECT_EQ(timeOf(w, frame), c.time);
        }
        // A spinner click at the top stays there; leaving the field shows the spinner's value.
        w.updwnFrmTime->clickUp();
        EXPECT_EQ(timeOf(w, frame), 2147483647);
        w.updwnFrmTime->clickDown();
        EXPECT_EQ(timeOf(w, frame), 2147483646);
        w.txtFrmTime->setText("xyz");
        w.txtFrmTime_LostFocus();
        EXPECT_EQ(w.txtFrmTime->text(), "2147483646");
        w.cmdApplyFrmTimeAll_Click();
        EXPECT_EQ(timeOf(w, ids(w, 1)[1]), 2147483646);
        // Ok ends an edit as leaving the field does: what was written while typing is taken back.
        typeTime(w, frame, "1e999");
        EXPECT_EQ(timeOf(w, frame), 1000000000);
        w.cmdOk_Click();
    });
    EXPECT_EQ(OMBREL_animation_get_frame_time(OMBREL_animation_get_handle("Animation01"), 0), 2147483646);
}

TEST_F(AnimationEditorTest, ThePickedColourGoesToTheFrameAndCancelKeepsIt) {
    const auto keyed = files.folder() / "keyed.bmp";
    writeBmp8(keyed, 2, 1, {{255, 255, 255}, {0, 0, 255}}, {0, 1});
    openEditor(0, [&](formAnimation& w) {
        insert(w, w.DirectionNode(1), {keyed.string()});
        const int32_t frame = ids(w, 1)[0];
        w.trwAnim_NodeClick(w.FrameNode(frame));
        EXPECT_FALSE(w.chkTransparent->isChecked());
        EXPECT_FALSE(w.cmdColor->isEnabled());
        w.chkTransparent->click();
        EXPECT_TRUE(w.cmdColor->isEnabled());
        // The right half of the picture is blue.
        platform_.prompts.answerWindow<formTrnsClrPcr>([](formTrnsClrPcr& p) {
            p.Picture1_MouseDown(1, p.Picture1->width() * 3 / 4, p.Picture1->height() / 2);
            p.cmdOK_Click();
        });
        w.cmdColor_Click();
        EXPECT_EQ(w.Frames().Find(frame)->Record.Colour, 0xFF0000);
        EXPECT_EQ(w.ColorButtonColour(), 0xFF0000);
        platform_.prompts.answerWindow<formTrnsClrPcr>([](formTrnsClrPcr& p) {
            p.Picture1_MouseDown(1, 1, p.Picture1->height() / 2);
            p.cmdCancel_Click();
        });
        w.cmdColor_Click();
        EXPECT_EQ(w.Frames().Find(frame)->Record.Colour, 0xFF0000);
        // Clicking the frame again shows its colour as the palette has it.
        w.trwAnim_NodeClick(w.DirectionNode(1));
        w.trwAnim_NodeClick(w.FrameNode(frame));
        EXPECT_TRUE(w.chkTransparent->isChecked());
        EXPECT_EQ(w.ColorButtonColour(), 0xFF0000);
        w.cmdOk_Click();
    });
    const int32_t anim = OMBREL_animation_get_handle("Animation01");
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(anim, 1, 0), 1);
}

TEST_F(AnimationEditorTest, AnAnimationOfLongPathsAndRepeatedPicturesSurvivesEditAndOk) {
    const auto deep = files.deepFolder(300);
    const auto path = deep / "far.bmp";
    writeBmp24(path, 2, 2, std::vector<TestRgb>(4, TestRgb{9, 9, 9}));
    const int32_t far = OMBREL_bitmap_load(path.c_str(), -1);
    const int32_t anim = OMBREL_animation_create("far");
    OMBREL_animation_add_bitmap(anim, 1, far, 0);
    OMBREL_animation_add_bitmap(anim, 1, far, 1);
    OMBREL_animation_add_bitmap(anim, 4, far, 0);
    form().trwTextures_Populate();
    openEditor(anim, [&](formAnimation& w) {
        EXPECT_EQ(texts(w, 1), (std::vector<std::string>{"far", "far"}));
        EXPECT_EQ(texts(w, 4), std::vector<std::string>{"far"});
        platform_.prompts.answerWindow<formTrnsClrPcr>([](formTrnsClrPcr& p) { p.cmdOK_Click(); });
        w.trwAnim_NodeClick(w.FrameNode(ids(w, 1)[1]));
        w.chkTransparent->click();
        w.cmdColor_Click();
        w.cmdOk_Click();
    });
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(anim), 3);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 1, 1), far);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 4, 0), far);
}

}  // namespace
