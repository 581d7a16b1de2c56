#include "print/PrintTable.h"

namespace vantrep::print {

Placement placementFromCode(int code) {
    if (code < 0 || code > 8) return {};
    static constexpr HorizontalPlace across[] = {HorizontalPlace::Left, HorizontalPlace::Centre,
                                                 HorizontalPlace::Right};
    static constexpr VerticalPlace down[] = {VerticalPlace::Top, VerticalPlace::Bottom, VerticalPlace::Middle};
    return {across[code % 3], down[code / 3]};
}

}  // namespace vantrep::print
