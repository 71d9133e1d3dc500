#include "ui/image_formats.h"

#include <gtest/gtest.h>

namespace rs::ui {
namespace {

TEST(ImageFormats, HeightsComeFromTheEntryTexts) {
    ASSERT_EQ(ImageFormatCount(), 52);
    EXPECT_EQ(ImageFormatEntries()[25], "CCD 35mm [24 x 36]  21.6mm");
    EXPECT_EQ(ImageFormatHeight(25), 21.6f);
    EXPECT_EQ(ImageFormatHeight(0), 0.0f);
    EXPECT_EQ(ImageFormatHeight(52), 0.0f);
    for (int i = 1; i < ImageFormatCount(); ++i) EXPECT_GT(ImageFormatHeight(i), 0.5f) << i;
    EXPECT_EQ(HeightFromEntryText("Mikrofilm [1.0 x 1.0] 0.7mm  "), 0.7f);
}

}  // namespace
}  // namespace rs::ui
