#include <gtest/gtest.h>

#include "resources/about_dialog_template.h"
#include "resources/app_icon.h"

TEST(AboutDialogTemplate, HasCaptionSizeAndFont) {
    const DialogTemplate& t = AboutDialogTemplate();
    EXPECT_EQ(t.id, 100);
    EXPECT_EQ(t.caption, "About Lumivaro Configure Tool");
    EXPECT_EQ(t.width, 249);
    EXPECT_EQ(t.height, 55);
    EXPECT_EQ(t.fontFace, "Tahoma");
    EXPECT_EQ(t.fontPointSize, 9);
    EXPECT_TRUE(t.lists.empty());
}

TEST(AboutDialogTemplate, ItemsInTemplateOrder) {
    const auto items = AboutDialogTemplate().items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].kind, ItemKind::IconPicture);
    EXPECT_EQ(items[0].iconId, IDR_MAINFRAME);
    EXPECT_EQ(items[1].text, "Version: 1.6");
    EXPECT_EQ(items[1].kind, ItemKind::LabelLeft);
    EXPECT_EQ(items[2].kind, ItemKind::DefPushButton);
    EXPECT_EQ(items[2].id, 1);
    EXPECT_EQ(items[2].text, "OK");
    EXPECT_EQ((std::array{items[2].x, items[2].y, items[2].width, items[2].height}),
              (std::array{192, 7, 50, 14}));
    EXPECT_EQ(items[3].text, "KTR TOOL \xE2\x80\x93 ORBA III Configuration Software For KTR5520Q");
    EXPECT_EQ(items[4].kind, ItemKind::LabelLeft);
    EXPECT_TRUE(items[4].text.empty());
}
