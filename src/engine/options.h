#pragma once
// The options the solver reads: advanced values (media, principal-plane separation, test
// wavelength), lens or mirror mode, object at infinity, and the effective values every formula
// sees.

namespace rs::engine {

inline constexpr float kDefaultWavelength = 546.1f;  // nm, the e-line

struct AdvancedOptions {
    float n = 1.0f;                         // object-space index
    float nImage = 1.0f;                    // image-space index as stored
    float separation = 0.0f;                // e, P to P' in mm
    float wavelength = kDefaultWavelength;  // nm

    friend bool operator==(const AdvancedOptions&, const AdvancedOptions&) = default;
};

class OptionState {
public:
    bool advOptions = false;
    bool mirrorMode = false;
    bool objAtInfinity = false;
    AdvancedOptions advanced;

    // Effective values: the standard values while advanced options are off, the stored ones
    // (a stored 0 read as the standard value) while they are on. In mirror mode the image index
    // is the negative object index, and there is no principal-plane separation.
    double ObjectIndex() const;
    double ImageIndex() const;
    double PrincipalPlaneSeparation() const;
    double TestWavelength() const;

    // Setting n to 0 keeps the old value; setting n' to 0 stores the standard value of the mode.
    void SetObjectIndex(float n);
    void SetImageIndex(float nImage);

    friend bool operator==(const OptionState&, const OptionState&) = default;
};

}  // namespace rs::engine
