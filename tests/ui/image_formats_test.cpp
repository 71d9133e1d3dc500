#include "ui/image_formats.h"

#include <gtest/gtest.h>

namespace rs::ui {
namespace {

TEST(ImageFormats, EveryFormatEntryEndsInItsHeight) {
    for (int i = 1; i < ImageFormatCount(); ++i) EXPECT_GT(ImageFormatHeight(i), 0.5f) << i;
    for (int outside : {0, -1, ImageFormatCount()}) EXPECT_EQ(ImageFormatHeight(outside), 0.0f);
    EXPECT_EQ(HeightFromEntryText("Mikrofilm [1.0 x 1.0] 0.7mm  "), 0.7f);
}

}  // namespace
}  // namespace rs::ui
