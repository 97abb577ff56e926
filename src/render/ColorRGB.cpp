#include "render/ColorRGB.hpp"

#include "shell/OutStream.hpp"

namespace zil {

ColorRGB ColorRGB::fromColorN(const std::vector<double>& components) {
    if (components.size() == 3) return {components[0], components[1], components[2]};
    printMessage("Exactly 3 color components are required in ColorRGB.fromColorN!\n");
    return {};
}

}  // namespace zil
