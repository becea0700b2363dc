#include "platform/doubles/recording_shell.h"
#include "platform/shell.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(ShellTest, LinksArePercentEncodedKeepingTheEscapesAlreadyWritten) {
    const struct {
        const char* link;
        const char* encoded;
    } cases[] = {
        {"https://example.org/help", "https://example.org/help"},
        {"mailto:bugs@example.org?subject=TALVORA Bug report&body=Error Description: x%0d%0d%0d\nEvents",
         "mailto:bugs@example.org?subject=TALVORA%20Bug%20report&body=Error%20Description:%20x%0d%0d%0d%0AEvents"},
        {"mailto:a@b?body=100% sure", "mailto:a@b?body=100%25%20sure"},
        {"mailto:a@b?body=50%", "mailto:a@b?body=50%25"},
        {"mailto:a@b?body=#1 \"x\"", "mailto:a@b?body=%231%20%22x%22"},
        {"mailto:a@b?body=\xc3\xa9", "mailto:a@b?body=%C3%A9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        EXPECT_EQ(encodeLink(c.link), c.encoded);
    }
}

TEST(ShellTest, TheRecordingDesktopKeepsEveryRequestInOrder) {
    Shell* before = &shell();
    {
        platform::doubles::RecordingShell desktop;
        EXPECT_TRUE(shell().openDocument("TALVORA Help.chm"));
        desktop.setSucceeds(false);
        EXPECT_FALSE(shell().startProgram("/opt/t/Viewer Mode/Orbview", "/opt/t/Viewer Mode/Viewer.wld"));
        ASSERT_EQ(desktop.calls().size(), 2u);
        EXPECT_EQ(desktop.calls()[0].kind, platform::doubles::ShellCall::Document);
        EXPECT_EQ(desktop.calls()[1].kind, platform::doubles::ShellCall::Program);
        EXPECT_EQ(desktop.calls()[1].argument, "/opt/t/Viewer Mode/Viewer.wld");
    }
    EXPECT_EQ(&shell(), before);
}

}  // namespace
