#pragma once
// The image-format list of the field frame: entry 0 is the user's own image height, every other
// entry a sensor or film format whose text ends in its image height (half the diagonal).
#include <span>
#include <string_view>

namespace rs::ui {

// Entry texts in list order.
std::span<const std::string_view> ImageFormatEntries();
int ImageFormatCount();

// Image height of entry `entry` in mm, read from the end of its text ("...  21.6mm" gives
// 21.6); 0 for entry 0 and for an entry outside the list.
float ImageFormatHeight(int entry);

// The height a text ends in: the leading number of its last blank-separated piece.
float HeightFromEntryText(std::string_view text);

}  // namespace rs::ui
