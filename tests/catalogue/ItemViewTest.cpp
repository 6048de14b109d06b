#include "catalogue/ItemView.h"

#include <gtest/gtest.h>

#include "catalogue/ModCatalogue.h"
#include "support/CatalogueFixture.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

TEST(ItemView, SplitsTheDescriptionAtLineBreakMarks) {
    struct Case {
        std::string description;
        std::string lines;
    };
    const Case cases[] = {
        {"", ""},           {"a<br>b", "a\r\nb\r\n"}, {"a<br><br>b", "a\r\n\r\nb\r\n"},
        {"a<br>", "a\r\n"}, {"<br>a", "\r\na\r\n"},   {"\xB5\xC0<br>\xC2\xB7", "道\r\n路\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescriptionLines(GbkText::fromBytes(c.description)), c.lines) << c.description;
    }
}

TEST(ItemView, ShowsCaptionClipboardPictureAndTheJoinedDescription) {
    test::TempDir dir;
    test::MakeEmptyCatalogue(dir.file("DEVodu.edb"));
    {
        auto catalogue = ModCatalogue::open(dir.file("DEVodu.edb"), nullptr);
        for (int n = 1; n <= 7; ++n)
            catalogue->addRecord(n, GbkText::fromAscii(std::to_string(n * 100)));
        catalogue->goToRecord(7);
        // A line break mark cut across two pieces still splits the joined text.
        catalogue->write(Field::Description1, GbkText::fromBytes(std::string(254, 'x') + "<b"));
        catalogue->write(Field::Description2, GbkText::fromAscii("r>tail"));
    }
    test::FakeWindow window(dir.path());
    window.workshopFolder.setText(dir.makeFolder("w"));
    dir.write("w/123/123.jpg", "picture bytes");

    ShowItem(window.context, GbkText::fromAscii("7"), GbkText::fromAscii("123"));
    EXPECT_EQ(window.shell.clipboard, "123");
    EXPECT_EQ(window.previewCaption.text(), "预览图:7/123");
    EXPECT_EQ(window.previewPicture.shown, dir.file("w/123/123.jpg"));
    EXPECT_FALSE(window.noPreviewLink.visible);
    EXPECT_EQ(window.descriptionBox.text(), std::string(254, 'x') + "\r\ntail\r\n");

    ShowItem(window.context, GbkText::fromAscii("1"), GbkText::fromAscii("100"));
    EXPECT_EQ(window.previewCaption.text(), "预览图:1/100");
    EXPECT_FALSE(window.previewPicture.shown);
    EXPECT_TRUE(window.noPreviewLink.visible);
    EXPECT_EQ(window.descriptionBox.text(), "");
}

}  // namespace
}  // namespace kestavel
