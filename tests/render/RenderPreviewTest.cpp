// The preview rendered headless into a 32-bit surface, checked for what a
// user would see.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "glue/SDLFuncs.hpp"
#include "mesh/MeshRecord.hpp"
#include "records/FieldAccess.hpp"
#include "render/RenderPreview.hpp"
#include "render/RiTransforms.hpp"
#include "shell/Constants.hpp"

namespace zil {
namespace {

constexpr Uint32 kSelected = 0xFFCF82;  // (1.0, 0.81, 0.51)
constexpr Uint32 kOther = 0x80A1BF;     // (0.5, 0.63, 0.75)

struct CountingRedraw : PreviewRedraw {
    int count = 0;
    void redrawPreview() override { ++count; }
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void add(int x, int y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

std::string capturedStdout(const std::function<void()>& f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

class RenderPreviewTest : public testing::Test {
protected:
    void SetUp() override {
        riStartUp();
        redraw = std::make_shared<CountingRedraw>();
        made.emplace(makeDemoPreview([this] { return lookup(); }, redraw));
        target = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        ASSERT_NE(target, nullptr);
    }
    void TearDown() override {
        made.reset();
        SDL_FreeSurface(target);
        riStartUp();
    }

    IRect2D lookup() {
        if (destroyed) throw ControlDestroyed();
        return box;
    }

    RenderPreview& preview() { return *made->preview; }
    DemoBarTargets& targets() { return made->targets; }
    SceneCells& cells() { return preview().cells(); }

    Uint32 pixel(int x, int y) const {
        return static_cast<const Uint32*>(target->pixels)[y * (target->pitch / 4) + x] & 0xFFFFFF;
    }
    static bool isSurface(Uint32 p) { return p != 0 && p != kSelected && p != kOther; }

    Box surfaceBox() const {
        Box b;
        for (int y = 0; y < target->h; ++y)
            for (int x = 0; x < target->w; ++x)
                if (isSurface(pixel(x, y))) b.add(x, y);
        return b;
    }

    int countInWindow(int cx, int cy, int r, Uint32 colour) const {
        int n = 0;
        for (int y = std::max(0, cy - r); y <= std::min(target->h - 1, cy + r); ++y)
            for (int x = std::max(0, cx - r); x <= std::min(target->w - 1, cx + r); ++x)
                if (pixel(x, y) == colour) ++n;
        return n;
    }

    // The base mesh's vertices as the preview places them: rotated by -30
    // degrees about x and 130 about y, scaled by 3.5, seen from the camera
    // through a 90-degree perspective onto the device. z is the camera depth.
    std::vector<Xyz> projectedVertices() const {
        const Matrix4x4 view = matrixMultiply(
            Matrix4x4{{{{3.5, 0, 0, 0}, {0, 3.5, 0, 0}, {0, 0, 3.5, 0}, {0, 0, 0, 1}}}},
            matrixMultiply(axisAngleRotation(130.0, 0, 1, 0), axisAngleRotation(-30.0, 1, 0, 0)));
        std::vector<Xyz> out;
        const Xyz camera = made->preview->sharedCells()->cameraPosition;
        const FieldArray mesh = made->preview->sharedCells()->mesh.fields();
        for (const ZilLValue& v : getArrayField(mesh, "vertices", stdOut())) {
            const Xyz w = Matrix4x4::Trans::transformPoint(view, SubdivisionMesh::readPoint(v, stdOut()));
            const Xyz c{w.x - camera.x, w.y - camera.y, w.z - camera.z};
            out.push_back({(c.x / c.z + 1.0) * box.w / 2.0, (1.0 - c.y / c.z) * box.h / 2.0, c.z});
        }
        return out;
    }

    Box cageBox() const {
        Box b;
        for (const Xyz& p : projectedVertices()) b.add(static_cast<int>(p.x), static_cast<int>(p.y));
        return b;
    }

    void render() { preview().render(target); }

    std::shared_ptr<CountingRedraw> redraw;
    std::optional<DemoPreview> made;
    SDL_Surface* target = nullptr;
    IRect2D box = Constants::demoPageRect;
    bool destroyed = false;
};

TEST_F(RenderPreviewTest, FirstRenderRegeneratesAndLaterRendersReplay) {
    EXPECT_EQ(cells().regenerated, 0);
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_EQ(cells().regenerated, 1);
    EXPECT_EQ(cells().upToDate, 1);
    std::vector<Uint32> first(static_cast<const Uint32*>(target->pixels),
                              static_cast<const Uint32*>(target->pixels) + 400 * 400);

    SDL_FillRect(target, nullptr, 0x123456);
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), static_cast<const Uint32*>(target->pixels)))
        << "the replayed surface draws the same image";
    // The device draws into the given surface with a depth buffer of the
    // control's size; the base mesh itself stays unsubdivided.
    ASSERT_TRUE(preview().ri().currentDevice);
    EXPECT_EQ(preview().ri().currentDevice->colourSurface, target);
    EXPECT_EQ(preview().ri().currentDevice->depthSurface->w, 400);
    EXPECT_EQ(preview().ri().currentDevice->depthSurface->h, 400);
    EXPECT_EQ(getArrayField(cells().mesh.fields(), "vertices", stdOut()).size(), 8u);
}

TEST_F(RenderPreviewTest, ABarChangeRegeneratesExactlyOnceAndZoomNever) {
    render();
    targets().corner(2.0);
    EXPECT_EQ(redraw->count, 1);
    EXPECT_EQ(cells().regenerated, 0);
    render();
    render();
    EXPECT_EQ(preview().regenerations(), 2u);

    targets().blue(1.5);
    targets().yellow(0.5);
    render();
    EXPECT_EQ(preview().regenerations(), 3u);

    targets().zoom(3.0);
    EXPECT_EQ(redraw->count, 4);
    EXPECT_EQ(cells().regenerated, 1);
    render();
    EXPECT_EQ(preview().regenerations(), 3u);
}

TEST_F(RenderPreviewTest, TheSurfaceIsLitInTheMiddleOfTheDevice) {
    render();
    const Box b = surfaceBox();
    ASSERT_GT(b.right, 0) << "no surface drawn";
    // Centred on the device, well inside it.
    EXPECT_NEAR((b.left + b.right) / 2.0, 200.0, 12.0);
    EXPECT_NEAR((b.top + b.bottom) / 2.0, 200.0, 12.0);
    EXPECT_GT(b.width(), 60);
    EXPECT_LT(b.width(), 200);
    EXPECT_TRUE(isSurface(pixel(200, 200)));
    // Lit: many shades, none black, with bright and darker parts.
    std::set<Uint32> shades;
    int bright = 0, dim = 0;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            if (Uint32 p = pixel(x, y); isSurface(p)) {
                shades.insert(p);
                const int green = (p >> 8) & 0xFF;
                if (green > 200) ++bright;
                if (green < 150) ++dim;
            }
    EXPECT_GT(shades.size(), 30u);
    EXPECT_GT(bright, 0);
    EXPECT_GT(dim, 0);
    // Outside the object the device is cleared to black.
    EXPECT_EQ(pixel(5, 5), 0u);
    EXPECT_EQ(pixel(395, 395), 0u);
}

TEST_F(RenderPreviewTest, MarkersShowInTheirColoursAndTheFarSideIsHidden) {
    render();
    const std::vector<Xyz> v = projectedVertices();
    std::size_t farthest = 0;
    for (std::size_t i = 1; i < v.size(); ++i)
        if (v[i].z > v[farthest].z) farthest = i;
    // Vertices nearer than the object's centre are in front of the surface:
    // their markers show, vertices 4 and 6 (selected with the yellow edges)
    // in the first colour, the others in the second.
    int front = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i].z >= 10.0) continue;
        ++front;
        const Uint32 colour = (i == 4 || i == 6) ? kSelected : kOther;
        EXPECT_GE(countInWindow(static_cast<int>(v[i].x), static_cast<int>(v[i].y), 3, colour), 3) << "vertex " << i;
    }
    EXPECT_GE(front, 3);
    // The far vertex lies behind the surface: no marker, only surface.
    const int fx = static_cast<int>(v[farthest].x), fy = static_cast<int>(v[farthest].y);
    EXPECT_EQ(countInWindow(fx, fy, 4, kSelected) + countInWindow(fx, fy, 4, kOther), 0);
    EXPECT_TRUE(isSurface(pixel(fx, fy)));
    // Both colours' edges are drawn.
    EXPECT_GT(countInWindow(200, 200, 200, kSelected), 100);
    EXPECT_GT(countInWindow(200, 200, 200, kOther), 100);
}

TEST_F(RenderPreviewTest, ASharpCubeReachesItsCornersAndASmoothOneDoesNot) {
    render();
    const Box cage = cageBox();
    const Box smooth = surfaceBox();
    EXPECT_GT(smooth.left - cage.left, 8);
    EXPECT_GT(cage.right - smooth.right, 8);
    EXPECT_GT(smooth.top - cage.top, 8);
    EXPECT_GT(cage.bottom - smooth.bottom, 8);

    targets().corner(4.0);
    render();
    const Box corners = surfaceBox();
    EXPECT_LE(corners.left - cage.left, 5);
    EXPECT_LE(cage.right - corners.right, 5);
    EXPECT_LE(corners.top - cage.top, 5);
    EXPECT_LE(cage.bottom - corners.bottom, 5);

    targets().yellow(4.0);
    targets().blue(4.0);
    render();
    const Box sharp = surfaceBox();
    EXPECT_LE(sharp.left - cage.left, 5);
    EXPECT_LE(cage.right - sharp.right, 5);
    EXPECT_LE(sharp.top - cage.top, 5);
    EXPECT_LE(cage.bottom - sharp.bottom, 5);
    EXPECT_EQ(preview().regenerations(), 3u);
}

TEST_F(RenderPreviewTest, ZoomChangesTheSizeOnScreen) {
    render();
    const Box far = surfaceBox();
    targets().zoom(5.0);  // camera from z = -10 to z = -5
    EXPECT_DOUBLE_EQ(cells().cameraPosition.z, -5.0);
    render();
    const Box near = surfaceBox();
    EXPECT_GT(near.width(), far.width() * 3 / 2);
    EXPECT_GT(near.height(), far.height() * 3 / 2);
    EXPECT_NEAR((near.left + near.right) / 2.0, 200.0, 12.0);
}

TEST_F(RenderPreviewTest, TheDeviceIsTheControlsSize) {
    box = {10, 20, 200, 120};
    render();
    ASSERT_TRUE(preview().ri().currentDevice);
    EXPECT_EQ(preview().ri().currentDevice->depthSurface->w, 200);
    EXPECT_EQ(preview().ri().currentDevice->depthSurface->h, 120);
    const Box b = surfaceBox();
    ASSERT_GT(b.right, 0);
    EXPECT_LT(b.right, 200);
    EXPECT_LT(b.bottom, 120);
    EXPECT_NEAR((b.left + b.right) / 2.0, 100.0, 12.0);
}

TEST_F(RenderPreviewTest, ItDrawsIntoASubSurfaceOfTheScreenAndNowhereElse) {
    SDL_Surface* screen =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 520, 460, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(screen, nullptr);
    SDL_FillRect(screen, nullptr, 0x123456);
    SDL_Surface* sub = mltVuq_MakeSubSurface(screen, 100, 40, 400, 400);
    preview().render(sub);
    const auto at = [&](int x, int y) { return static_cast<const Uint32*>(screen->pixels)[y * (screen->pitch / 4) + x]; };
    Box drawn;
    for (int y = 0; y < screen->h; ++y)
        for (int x = 0; x < screen->w; ++x)
            if (at(x, y) != 0x123456) drawn.add(x, y);
    EXPECT_EQ(drawn.left, 100);
    EXPECT_EQ(drawn.top, 40);
    EXPECT_EQ(drawn.right, 499);
    EXPECT_EQ(drawn.bottom, 439);
    EXPECT_NE(at(300, 240), 0u) << "the object sits in the middle of the sub-surface";
    mltVuq_FreeSubSurface(sub);
    SDL_FreeSurface(screen);
}

TEST_F(RenderPreviewTest, AFailedRegenerationReportsAndTheNextRenderRetries) {
    render();
    const ZilLValue cube = cells().mesh;
    cells().mesh = ZilLValue::INT(3);  // not a mesh record
    cells().regenerated = 0;
    std::string out = capturedStdout([&] { EXPECT_THROW(render(), Match); });
    EXPECT_EQ(out,
              "Exception while regenerating object!Exception while validating object\n"
              "Exception in RenderPreview.render\n");
    const RiState& st = preview().ri();
    EXPECT_FALSE(st.inFrame);
    EXPECT_FALSE(st.inWorld);
    EXPECT_TRUE(st.blockStack.empty());
    EXPECT_FALSE(st.recording);
    EXPECT_EQ(cells().upToDate, 0);
    EXPECT_EQ(cells().regenerated, 0);

    cells().mesh = cube;
    out = capturedStdout([&] { render(); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(preview().regenerations(), 3u);
    EXPECT_EQ(cells().upToDate, 1);
    EXPECT_EQ(cells().regenerated, 1);
    EXPECT_TRUE(isSurface(pixel(200, 200)));
}

TEST_F(RenderPreviewTest, ANestingReportEndsTheRenderQuietly) {
    RiState& st = preview().ri();
    RiFrameBegin(st, 10, 10);
    const std::string out = capturedStdout([&] { EXPECT_NO_THROW(render()); });
    EXPECT_EQ(out, "Calls to RiFrameBegin cannot be nested!\n");
    EXPECT_FALSE(st.inFrame);
    EXPECT_TRUE(st.blockStack.empty());
    EXPECT_EQ(cells().upToDate, 1);
    EXPECT_EQ(cells().regenerated, 1);
}

TEST_F(RenderPreviewTest, ALookupFailureDrawsNothing) {
    destroyed = true;
    SDL_FillRect(target, nullptr, 0x123456);
    const std::string out = capturedStdout([&] { EXPECT_THROW(render(), ControlDestroyed); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(pixel(200, 200), 0x123456u);
    EXPECT_FALSE(preview().ri().currentDevice);
    EXPECT_EQ(preview().regenerations(), 0u);
}

TEST_F(RenderPreviewTest, AControlOfEmptySizeDrawsNothingAndRegeneratesLater) {
    box = {0, 0, 0, 300};
    SDL_FillRect(target, nullptr, 0x123456);
    render();
    EXPECT_EQ(pixel(200, 200), 0x123456u);
    EXPECT_EQ(cells().regenerated, 0);
    box = Constants::demoPageRect;
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_TRUE(isSurface(pixel(200, 200)));
}

TEST_F(RenderPreviewTest, ATargetThatIsNot32BitsIsRefused) {
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(small, nullptr);
    const std::string out = capturedStdout([&] { EXPECT_THROW(preview().render(small), BackendError); });
    EXPECT_EQ(out, "Exception in RenderPreview.render\n");
    EXPECT_EQ(cells().upToDate, 0);
    SDL_FreeSurface(small);
    render();
    EXPECT_EQ(cells().upToDate, 1);
}

TEST_F(RenderPreviewTest, MarkersForAVertexOutsideTheMeshFail) {
    const std::string out = capturedStdout(
        [&] { EXPECT_THROW(preview().renderSelectable({{1, 1, 0}, {2, 2, 0}}, {{0, 1}, {1, 2}}), Subscript); });
    EXPECT_EQ(out, "Exception in RenderPreview.renderSelectable\n");
    EXPECT_TRUE(preview().ri().blockStack.empty());
}

// Writes what the preview shows in a few states as BMP files into the build
// folder, for anyone to look at.
TEST_F(RenderPreviewTest, WritesImagesOfTheDemoStates) {
    const auto save = [&](const char* name) {
        render();
        EXPECT_EQ(SDL_SaveBMP(target, name), 0) << name;
    };
    save("preview-smooth.bmp");
    targets().corner(4.0);
    save("preview-corners-sharp.bmp");
    targets().corner(0.0);
    targets().yellow(4.0);
    save("preview-yellow-edges-sharp.bmp");
    targets().yellow(0.0);
    targets().blue(4.0);
    save("preview-blue-edges-sharp.bmp");
    targets().corner(4.0);
    targets().yellow(4.0);
    save("preview-all-sharp.bmp");
    targets().zoom(5.0);
    save("preview-all-sharp-zoomed.bmp");
}

}  // namespace
}  // namespace zil
