#pragma once
// The image-format list of the field frame: entry 0 is the user's own image height, every other
// entry a sensor or film format whose text ends in its image height (half the diagonal).
#include <span>
#include <string_view>

#include "app/design_state.h"

namespace rs::ui {

// Sets the value of a chosen general parameter as the user typed, slid or dragged it. An image
// height set so is no longer the height of the chosen image format, so the list returns to the
// user's own height.
void SetGeneralValue(app::DesignState& design, engine::CVarType& entry, float value);

// Entry texts in list order.
std::span<const std::string_view> ImageFormatEntries();
int ImageFormatCount();

// Image height of entry `entry` in mm, read from the end of its text ("...  21.6mm" gives
// 21.6); 0 for entry 0 and for an entry outside the list.
float ImageFormatHeight(int entry);

// The height a text ends in: the leading number of its last blank-separated piece.
float HeightFromEntryText(std::string_view text);

}  // namespace rs::ui
