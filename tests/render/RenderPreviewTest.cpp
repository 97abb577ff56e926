// The preview rendered headless into a 32-bit surface, checked for what a
// user would see.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

#include "RenderTestUtil.hpp"
#include "glue/SDLFuncs.hpp"
#include "mesh/MeshRecord.hpp"
#include "records/FieldAccess.hpp"
#include "render/RenderPreview.hpp"
#include "render/RiTransforms.hpp"
#include "shell/Constants.hpp"

namespace zil::test {
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
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreX() const { return (left + right) / 2.0; }
};

class RenderPreviewTest : public testing::Test {
protected:
    void SetUp() override {
        riStartUp();
        made.emplace(makeDemoPreview([this] { return box; }, redraw));
    }
    void TearDown() override {
        made.reset();
        riStartUp();
    }

    RenderPreview& preview() { return *made->preview; }
    SceneCells& cells() { return preview().cells(); }
    void render() { preview().render(target.s); }
    Uint32 pixel(int x, int y) { return target.at(x, y) & 0xFFFFFF; }
    static bool isSurface(Uint32 p) { return p != 0 && p != kSelected && p != kOther; }

    Box surfaceBox() {
        Box b;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                if (isSurface(pixel(x, y))) b.add(x, y);
        return b;
    }

    int countInWindow(const Xyz& c, int r, Uint32 colour) {
        int n = 0;
        for (int y = std::max(0, int(c.y) - r); y <= std::min(399, int(c.y) + r); ++y)
            for (int x = std::max(0, int(c.x) - r); x <= std::min(399, int(c.x) + r); ++x) n += pixel(x, y) == colour;
        return n;
    }

    // The base mesh's vertices as the preview places them: rotated by -30
    // degrees about x and 130 about y, scaled by 3.5, seen from the camera
    // through a 90-degree perspective onto the device. z is the camera depth.
    std::vector<Xyz> projectedVertices() {
        const Matrix4x4 view = matrixMultiply(
            Matrix4x4{{{{3.5, 0, 0, 0}, {0, 3.5, 0, 0}, {0, 0, 3.5, 0}, {0, 0, 0, 1}}}},
            matrixMultiply(axisAngleRotation(130.0, 0, 1, 0), axisAngleRotation(-30.0, 1, 0, 0)));
        std::vector<Xyz> out;
        const Xyz cam = cells().cameraPosition;
        for (const ZilLValue& v : getArrayField(cells().mesh.fields(), "vertices", stdOut())) {
            const Xyz w = Matrix4x4::Trans::transformPoint(view, SubdivisionMesh::readPoint(v, stdOut()));
            const Xyz c{w.x - cam.x, w.y - cam.y, w.z - cam.z};
            out.push_back({(c.x / c.z + 1.0) * box.w / 2.0, (1.0 - c.y / c.z) * box.h / 2.0, c.z});
        }
        return out;
    }

    std::shared_ptr<CountingRedraw> redraw = std::make_shared<CountingRedraw>();
    std::optional<DemoPreview> made;
    Surface target{400, 400};
    IRect2D box = Constants::demoPageRect;
};

TEST_F(RenderPreviewTest, RegeneratesOnlyWhenTheMeshChanges) {
    EXPECT_EQ(cells().regenerated, 0);
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_EQ(std::pair(cells().regenerated, cells().upToDate), std::pair(1, 1));
    const Uint32* pixels = static_cast<const Uint32*>(target.s->pixels);
    const std::vector<Uint32> first(pixels, pixels + 400 * 400);
    SDL_FillRect(target.s, nullptr, 0x123456);
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), pixels)) << "the replay draws the same image";
    EXPECT_EQ(getArrayField(cells().mesh.fields(), "vertices", stdOut()).size(), 8u);  // the base mesh stays

    made->targets.corner(2.0);
    render();
    render();
    EXPECT_EQ(preview().regenerations(), 2u);
    made->targets.zoom(3.0);  // moves the camera only
    render();
    EXPECT_EQ(preview().regenerations(), 2u);
    EXPECT_EQ(redraw->count, 2);
}

TEST_F(RenderPreviewTest, TheSurfaceIsCentredLitAndHidesItsFarSideBehindTheMarkers) {
    render();
    const Box b = surfaceBox();
    ASSERT_GT(b.right, 0) << "no surface drawn";
    EXPECT_NEAR(b.centreX(), 200.0, 12.0);
    EXPECT_NEAR((b.top + b.bottom) / 2.0, 200.0, 12.0);
    EXPECT_GT(b.width(), 60);
    EXPECT_LT(b.width(), 200);
    EXPECT_TRUE(isSurface(pixel(200, 200)));
    // Lit: many shades, none black, with bright and darker parts.
    std::set<Uint32> shades;
    int bright = 0, dim = 0;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            if (const Uint32 p = pixel(x, y); isSurface(p)) {
                shades.insert(p);
                bright += ((p >> 8) & 0xFF) > 200;
                dim += ((p >> 8) & 0xFF) < 150;
            }
    EXPECT_GT(shades.size(), 30u);
    EXPECT_GT(bright, 0);
    EXPECT_GT(dim, 0);
    EXPECT_EQ(pixel(5, 5), 0u);  // outside the object the device is cleared to black
    EXPECT_EQ(pixel(395, 395), 0u);

    // Vertices nearer than the object's centre show their markers, 4 and 6
    // (selected with the yellow edges) in the first colour.
    const std::vector<Xyz> v = projectedVertices();
    int front = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i].z < 10.0) {
            ++front;
            EXPECT_GE(countInWindow(v[i], 3, (i == 4 || i == 6) ? kSelected : kOther), 3) << "vertex " << i;
        }
    EXPECT_GE(front, 3);
    // The farthest vertex lies behind the surface: no marker, only surface.
    const Xyz far = *std::max_element(v.begin(), v.end(), [](const Xyz& p, const Xyz& q) { return p.z < q.z; });
    EXPECT_EQ(countInWindow(far, 4, kSelected) + countInWindow(far, 4, kOther), 0);
    EXPECT_TRUE(isSurface(pixel(int(far.x), int(far.y))));
    EXPECT_GT(countInWindow({200, 200, 0}, 200, kSelected), 100);  // both colours' edges are drawn
    EXPECT_GT(countInWindow({200, 200, 0}, 200, kOther), 100);
}

TEST_F(RenderPreviewTest, ZoomAndSharpnessChangeTheOutline) {
    render();
    const Box smooth = surfaceBox();
    Box cage;
    for (const Xyz& p : projectedVertices()) cage.add(int(p.x), int(p.y));
    const auto insets = [&](const Box& b) {
        return std::array{b.left - cage.left, cage.right - b.right, b.top - cage.top, cage.bottom - b.bottom};
    };
    for (int d : insets(smooth)) EXPECT_GT(d, 8);

    made->targets.zoom(5.0);  // camera from z = -10 to z = -5
    EXPECT_DOUBLE_EQ(cells().cameraPosition.z, -5.0);
    render();
    const Box near = surfaceBox();
    EXPECT_GT(near.width(), smooth.width() * 3 / 2);
    EXPECT_GT(near.height(), smooth.height() * 3 / 2);
    EXPECT_NEAR(near.centreX(), 200.0, 12.0);
    made->targets.zoom(0.0);

    made->targets.corner(4.0);
    render();
    for (int d : insets(surfaceBox())) EXPECT_LE(d, 5);
    made->targets.yellow(4.0);
    made->targets.blue(4.0);
    render();
    for (int d : insets(surfaceBox())) EXPECT_LE(d, 5);
    EXPECT_EQ(preview().regenerations(), 3u);
}

TEST_F(RenderPreviewTest, TheDeviceFollowsTheControlsSize) {
    box = {0, 0, 0, 300};  // empty: nothing drawn, nothing regenerated
    SDL_FillRect(target.s, nullptr, 0x123456);
    render();
    EXPECT_EQ(pixel(200, 200), 0x123456u);
    EXPECT_EQ(cells().regenerated, 0);
    SDL_FillRect(target.s, nullptr, 0);
    box = {10, 20, 200, 120};
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    ASSERT_TRUE(preview().ri().renderer().currentDevice);
    EXPECT_EQ(preview().ri().renderer().currentDevice->depthSurface->w, 200);
    EXPECT_EQ(preview().ri().renderer().currentDevice->depthSurface->h, 120);
    EXPECT_NEAR(surfaceBox().centreX(), 100.0, 12.0);

    // A frame of the same size keeps the depth surface and draws the same
    // picture over the old depths; a new size makes a new one.
    const SDL_Surface* depth = preview().ri().renderer().currentDevice->depthSurface;
    const std::uint32_t centre = pixel(100, 60);
    ASSERT_NE(centre, 0u);  // on the surface
    SDL_FillRect(target.s, nullptr, 0);
    render();
    EXPECT_EQ(preview().ri().renderer().currentDevice->depthSurface, depth);
    EXPECT_EQ(pixel(100, 60), centre);
    box = {0, 0, 300, 200};
    render();
    EXPECT_EQ(preview().ri().renderer().currentDevice->depthSurface->w, 300);
    EXPECT_EQ(preview().ri().renderer().currentDevice->depthSurface->h, 200);
    EXPECT_NEAR(surfaceBox().centreX(), 150.0, 12.0);
}

TEST_F(RenderPreviewTest, ItDrawsIntoASubSurfaceOfTheScreenAndNowhereElse) {
    Surface screen(520, 460);
    SDL_FillRect(screen.s, nullptr, 0x123456);
    SDL_Surface* sub = mltVuq_MakeSubSurface(screen.s, 100, 40, 400, 400);
    preview().render(sub);
    mltVuq_FreeSubSurface(sub);
    Box drawn;
    for (int y = 0; y < 460; ++y)
        for (int x = 0; x < 520; ++x)
            if (screen.at(x, y) != 0x123456) drawn.add(x, y);
    EXPECT_EQ(std::tuple(drawn.left, drawn.top, drawn.right, drawn.bottom), std::tuple(100, 40, 499, 439));
    EXPECT_NE(screen.at(300, 240) & 0xFFFFFF, 0u) << "the object sits in the middle of the sub-surface";
}

// A failure before the frame (the regeneration) and one inside the world
// (the object output, in a transform block): each prints its trace lines and
// leaves the Ri state closed, and the next render draws again.
TEST_F(RenderPreviewTest, FailuresCloseTheBlocksAndTheNextRenderRetries) {
    render();
    const ZilLValue cube = cells().mesh;
    cells().mesh = ZilLValue::INT(3);  // not a mesh record
    cells().regenerated = 0;
    EXPECT_EQ(stdoutOf([&] { EXPECT_THROW(render(), Match); }),
              "Exception while regenerating object!Exception while validating object\n"
              "Exception in RenderPreview.render\n");
    EXPECT_EQ(std::pair(cells().regenerated, cells().upToDate), std::pair(0, 0));
    cells().mesh = cube;
    render();
    const ValueArray vertices = getArrayField(cube.fields(), "vertices", stdOut());
    const ZilLValue vertex = vertices[0];
    vertices.set(0, ZilLValue::INT(3));
    EXPECT_EQ(stdoutOf([&] { EXPECT_THROW(render(), Match); }),
              "Exception while outputting object\nException in RenderPreview.render\n");
    const RiState& st = preview().ri();
    EXPECT_FALSE(st.inFrame || st.inWorld || st.recording);
    EXPECT_TRUE(st.blockStack.empty());
    vertices.set(0, vertex);
    SDL_FillRect(target.s, nullptr, 0);
    EXPECT_EQ(stdoutOf([&] { render(); }), "");
    EXPECT_EQ(std::pair(cells().regenerated, cells().upToDate), std::pair(1, 1));
    EXPECT_TRUE(isSurface(pixel(200, 200)));
}

TEST_F(RenderPreviewTest, NestingReportsAndBadTargets) {
    // A nesting report ends the render quietly, unwound to before the outer
    // frame: no frame, device size 0 again.
    RiFrameBegin(preview().ri(), 10, 10);
    EXPECT_EQ(stdoutOf([&] { EXPECT_NO_THROW(render()); }), "Calls to RiFrameBegin cannot be nested!\n");
    EXPECT_FALSE(preview().ri().inFrame);
    EXPECT_TRUE(preview().ri().blockStack.empty());
    EXPECT_EQ(preview().ri().deviceWidth, 0);
    EXPECT_EQ(std::pair(cells().regenerated, cells().upToDate), std::pair(1, 1));

    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 16, 0xF800, 0x07E0, 0x001F, 0);
    EXPECT_EQ(stdoutOf([&] { EXPECT_THROW(preview().render(small), BackendError); }),
              "Exception in RenderPreview.render\n");
    SDL_FreeSurface(small);
    EXPECT_EQ(cells().upToDate, 0);
    EXPECT_EQ(stdoutOf([&] {
                  EXPECT_THROW(preview().renderSelectable({{1, 1, 0}, {2, 2, 0}}, {{0, 1}, {1, 2}}), Subscript);
              }),
              "Exception in RenderPreview.renderSelectable\n");
    EXPECT_TRUE(preview().ri().blockStack.empty());
}

// Writes what the preview shows in a few states into the build folder, as
// BMP files without alpha for anyone to look at, and reads each back.
TEST_F(RenderPreviewTest, WritesImagesOfTheDemoStates) {
    const struct { double corner, yellow, blue; const char* name; } states[] = {
        {0, 0, 0, "smooth"}, {4, 0, 0, "corners-sharp"}, {0, 4, 0, "yellow-edges-sharp"}, {0, 0, 4, "blue-edges-sharp"}};
    std::filesystem::create_directories("preview-images");
    SDL_Surface* opaque = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(opaque, nullptr);
    for (const auto& k : states) {
        SCOPED_TRACE(k.name);
        made->targets.corner(k.corner);
        made->targets.yellow(k.yellow);
        made->targets.blue(k.blue);
        render();
        for (int y = 0; y < 400; ++y)
            std::memcpy(static_cast<Uint8*>(opaque->pixels) + y * opaque->pitch, &target.at(0, y), 400 * 4);
        const std::string path = std::string("preview-images/preview-") + k.name + ".bmp";
        ASSERT_EQ(SDL_SaveBMP(opaque, path.c_str()), 0);
        SDL_Surface* file = SDL_LoadBMP(path.c_str());
        ASSERT_NE(file, nullptr);
        SDL_Surface* back = SDL_ConvertSurface(file, opaque->format, SDL_SWSURFACE);
        SDL_FreeSurface(file);
        ASSERT_NE(back, nullptr);
        int differing = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                differing += (static_cast<Uint32*>(back->pixels)[y * back->pitch / 4 + x] & 0xFFFFFF) != pixel(x, y);
        EXPECT_EQ(differing, 0);
        EXPECT_TRUE(isSurface(static_cast<Uint32*>(back->pixels)[200 * back->pitch / 4 + 200] & 0xFFFFFF));
        SDL_FreeSurface(back);
    }
    SDL_FreeSurface(opaque);
}

}  // namespace
}  // namespace zil::test
