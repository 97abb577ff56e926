#include "render/RiTokenTable.hpp"

#include <array>

namespace zil {

Rt::Token RiTokenTable::intern(std::string_view name) {
    if (const std::int32_t* id = tree_.lookup(name)) return {*id, std::string(name)};
    ++lastId_;
    tree_ = tree_.insert(name, lastId_);
    return {lastId_, std::string(name)};
}

namespace {
// The start-up names in interning order ("abort" appears twice).
constexpr std::array<std::string_view, 108> kStandardNames = {
    "P", "Pw", "Pz", "Pref", "N", "Np", "Cs", "Os", "st", "s", "t", "Ka", "Kd", "Ks", "Kr", "roughness",
    "texturename", "specularcolor", "periodic", "nonperiodic", "black", "clamp", "bilinear", "bicubic",
    "linear", "cubic", "width", "constantwidth", "fov", "intensity", "lightcolor", "from", "to", "coneangle",
    "conedeltaangle", "beamdistribution", "flatness", "constant", "smooth", "file", "framebuffer", "rgb",
    "rgba", "rgbz", "rgbaz", "a", "z", "az", "hidden", "paint", "null", "perspective", "orthographic",
    "ambientlight", "distantlight", "pointlight", "spotlight", "matte", "metal", "shinymetal", "plastic",
    "paintedplastic", "depthcue", "fog", "bumpy", "mindistance", "maxdistance", "background", "distance",
    "amplitude", "raster", "screen", "camera", "world", "object", "NDC", "catmull-clark", "hole", "crease",
    "corner", "interpolateboundary", "primitive", "intersection", "union", "difference", "comment",
    "structure", "verbatim", "inside", "outside", "lh", "rh", "identifier", "name", "shadinggroup", "abort",
    "ignore", "print", "abort", "DelayedReadArchive", "RunProgram", "DynamicLoad", "ProcFree", "gaussian",
    "catmull-rom", "sinc", "triangle", "box"};
}  // namespace

RiStandardTokens internStandardTokens(RiTokenTable& table) {
    RiStandardTokens t;
    for (std::string_view name : kStandardNames) {
        Rt::Token tok = table.intern(name);
        if (name == "P") t.P = tok;
        else if (name == "N") t.N = tok;
        else if (name == "perspective") t.perspective = tok;
        else if (name == "orthographic") t.orthographic = tok;
        else if (name == "raster") t.raster = tok;
        else if (name == "camera") t.camera = tok;
        else if (name == "object") t.object = tok;
        else if (name == "catmull-clark") t.catmullClark = tok;
        else if (name == "crease") t.crease = tok;
        else if (name == "corner") t.corner = tok;
    }
    return t;
}

}  // namespace zil
