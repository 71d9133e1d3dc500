#include "engine/options.h"

namespace rs::engine {

double OptionState::ObjectIndex() const {
    if (!advOptions || advanced.n == 0.0f) return 1.0;
    return advanced.n;
}

double OptionState::ImageIndex() const {
    if (mirrorMode) return -ObjectIndex();
    if (!advOptions) return 1.0;
    return advanced.nImage;
}

double OptionState::PrincipalPlaneSeparation() const {
    return (advOptions && !mirrorMode) ? advanced.separation : 0.0;
}

double OptionState::TestWavelength() const {
    if (!advOptions || advanced.wavelength == 0.0f) return kDefaultWavelength;
    return advanced.wavelength;
}

void OptionState::SetObjectIndex(float n) {
    if (n != 0.0f) advanced.n = n;
}

void OptionState::SetImageIndex(float nImage) {
    advanced.nImage = nImage != 0.0f ? nImage : (mirrorMode ? -1.0f : 1.0f);
}

}  // namespace rs::engine
