#include "render/RiTransforms.hpp"

#include <cmath>

#include "records/RecordConstants.hpp"
#include "shell/OutStream.hpp"

namespace zil {

Matrix4x4 axisAngleRotation(double degrees, double x, double y, double z) {
    const double theta = degrees * Constants::pi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double k = 1.0 - c;
    return {{{{x * x + (1.0 - x * x) * c, x * y * k - z * s, x * z * k + y * s, 0.0},
              {x * y * k + z * s, y * y + (1.0 - y * y) * c, y * z * k - x * s, 0.0},
              {x * z * k - y * s, y * z * k + x * s, z * z + (1.0 - z * z) * c, 0.0},
              {0.0, 0.0, 0.0, 1.0}}}};
}

void rotateCurrentTransform(RiState& st, double degrees, double x, double y, double z) {
    concatTransform(st, axisAngleRotation(degrees, x, y, z));
}

void previewViewTransform(RiState& st, std::int32_t n) {
    const auto i = static_cast<double>(n);
    rotateCurrentTransform(st, i - 30.0, 1.0, 0.0, 0.0);
    rotateCurrentTransform(st, i + 130.0, 0.0, 1.0, 0.0);
    rotateCurrentTransform(st, i / 13.0, 0.0, 0.0, 1.0);
    concatTransform(st, {{{{3.5, 0, 0, 0}, {0, 3.5, 0, 0}, {0, 0, 3.5, 0}, {0, 0, 0, 1}}}});
}

std::vector<Rt::Point> RiTransformPoints(RiState& st, const Rt::Token& from, const Rt::Token& to,
                                         const std::vector<Rt::Point>& points) {
    try {
        updateCombinedTransform(st);
        const RiStandardTokens& t = st.tokens;
        Matrix4x4 m = Constants::identity;
        if (from.id == t.object.id) {
            if (to.id == t.raster.id)
                m = matrixMultiply(st.rasterTransform, st.combinedTransform);
            else if (to.id == t.camera.id)
                m = st.combinedTransform;
            else
                printMessage("I have been lazy - only transformation of points to raster and camera space is "
                             "implemented (from object space)\n");
        } else if (from.id == t.raster.id) {
            if (to.id == t.object.id)
                m = Matrix4x4Mult::invert(matrixMultiply(st.rasterTransform, st.combinedTransform));
            else
                printMessage("I have been lazy - only transformation of points to object space is implemented "
                             "(from raster space)\n");
        } else if (from.id == t.camera.id) {
            if (to.id == t.object.id)
                m = Matrix4x4Mult::invert(st.combinedTransform);
            else
                printMessage("I have been lazy - only transformation of points to object space is implemented "
                             "(from camera space)\n");
        } else {
            printMessage("I have been lazy - only transformation of points from object, raster and camera space "
                         "is implemented\n");
        }
        std::vector<Rt::Point> out;
        out.reserve(points.size());
        for (const Rt::Point& p : points) out.push_back(Matrix4x4::Trans::transformPoint(m, p));
        return out;
    } catch (...) {
        return {};
    }
}

std::vector<double> realListToArray(const std::vector<double>& list) { return list; }

}  // namespace zil
