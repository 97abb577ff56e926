// The preview rendered headless into a 32-bit surface, checked for what a
// user would see.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

#include "RenderTestUtil.hpp"
#include "glue/SDLFuncs.hpp"
#include "mesh/MeshTestUtil.hpp"
#include "mesh/MeshRecord.hpp"
#include "records/FieldAccess.hpp"
#include "render/RenderPreview.hpp"
#include "render/RiTransforms.hpp"
#include "shell/Constants.hpp"

namespace zil::test {
namespace {

constexpr Uint32 kSelected = 0xFFCF82;  // (1.0, 0.81, 0.51)
constexpr Uint32 kOther = 0x80A1BF;     // (0.5, 0.63, 0.75)

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

class Preview : public testing::Test {
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
    const DemoBarTargets& bars() { return made->targets; }
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
    int countNear(const Xyz& c, int r, Uint32 colour) {
        int n = 0;
        for (int y = std::max(0, int(c.y) - r); y <= std::min(399, int(c.y) + r); ++y)
            for (int x = std::max(0, int(c.x) - r); x <= std::min(399, int(c.x) + r); ++x) n += pixel(x, y) == colour;
        return n;
    }
    // The base mesh's vertices as placed: rotated -30 degrees about x and 130
    // about y, scaled by 3.5, through a 90-degree perspective onto the
    // device; z is the camera depth.
    std::vector<Xyz> projectedVertices() {
        const Matrix4x4 view = matrixMultiply(
            Matrix4x4{{{{3.5, 0, 0, 0}, {0, 3.5, 0, 0}, {0, 0, 3.5, 0}, {0, 0, 0, 1}}}},
            matrixMultiply(axisAngleRotation(130.0, 0, 1, 0), axisAngleRotation(-30.0, 1, 0, 0)));
        std::vector<Xyz> out;
        const Xyz cam = cells().cameraPosition;
        for (const ZilLValue& v : getArrayField(cells().mesh.fields(), "vertices", stdOut())) {
            const Xyz c = Matrix4x4::Trans::transformPoint(view, SubdivisionMesh::readPoint(v, stdOut())) - cam;
            out.push_back({(c.x / c.z + 1.0) * box.w / 2.0, (1.0 - c.y / c.z) * box.h / 2.0, c.z});
        }
        return out;
    }

    std::shared_ptr<CountingRedraw> redraw = std::make_shared<CountingRedraw>();
    std::optional<DemoPreview> made;
    Surface target{400, 400};
    IRect2D box = Constants::demoPageRect;
};

TEST_F(Preview, TheSurfaceIsCentredLitAndHidesItsFarSideBehindTheMarkers) {
    render();
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_EQ(std::pair(cells().regenerated, cells().upToDate), std::pair(1, 1));
    const Box smooth = surfaceBox();
    EXPECT_NEAR(smooth.centreX(), 200.0, 12.0);
    EXPECT_NEAR((smooth.top + smooth.bottom) / 2.0, 200.0, 12.0);
    EXPECT_TRUE(smooth.width() > 60 && smooth.width() < 200) << smooth.width();
    std::set<Uint32> shades;  // lit: many shades; black round it
    for (int y = smooth.top; y <= smooth.bottom; ++y)
        for (int x = smooth.left; x <= smooth.right; ++x)
            if (isSurface(pixel(x, y))) shades.insert(pixel(x, y));
    EXPECT_GT(shades.size(), 30u);
    EXPECT_EQ(pixel(5, 5) | pixel(395, 395), 0u);
    // Vertices nearer than the object's centre show their markers, 4 and 6
    // (selected with the yellow edges) in the first colour.
    const std::vector<Xyz> v = projectedVertices();
    int front = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i].z < 10.0) {
            ++front;
            EXPECT_GE(countNear(v[i], 3, (i == 4 || i == 6) ? kSelected : kOther), 3) << "vertex " << i;
        }
    EXPECT_GE(front, 3);
    // The farthest vertex lies behind the surface: no marker, only surface.
    const Xyz far = *std::max_element(v.begin(), v.end(), [](const Xyz& p, const Xyz& q) { return p.z < q.z; });
    EXPECT_EQ(countNear(far, 4, kSelected) + countNear(far, 4, kOther), 0);
    EXPECT_TRUE(isSurface(pixel(int(far.x), int(far.y))));
    EXPECT_GT(countNear({200, 200, 0}, 200, kSelected), 100);  // both colours' edges are drawn
    EXPECT_GT(countNear({200, 200, 0}, 200, kOther), 100);

    // A redraw replays the recorded surface; zoom moves only the camera.
    const Uint32* pixels = static_cast<const Uint32*>(target.s->pixels);
    const std::vector<Uint32> first(pixels, pixels + 400 * 400);
    SDL_FillRect(target.s, nullptr, 0x123456);
    render();
    EXPECT_TRUE(std::equal(first.begin(), first.end(), pixels)) << "the replay draws the same image";
    EXPECT_EQ(getArrayField(cells().mesh.fields(), "vertices", stdOut()).size(), 8u);  // the base mesh stays
    bars().zoom(5.0);  // camera from z = -10 to z = -5
    render();
    const Box near = surfaceBox();
    EXPECT_GT(near.width(), smooth.width() * 3 / 2);
    EXPECT_GT(near.height(), smooth.height() * 3 / 2);
    EXPECT_NEAR(near.centreX(), 200.0, 12.0);
    EXPECT_EQ(preview().regenerations(), 1u);
    EXPECT_EQ(redraw->calls, 1);
}

// Each edit regenerates once. Sharp corners pull the outline out to the
// cage of the base mesh. Leaves pictures of the states in the build folder.
TEST_F(Preview, SharpnessEditsRegenerateAndPullTheOutlineToTheCage) {
    const struct { double corner, yellow, blue; const char* name; } states[] = {
        {0, 0, 0, "smooth"}, {4, 0, 0, "corners-sharp"}, {0, 4, 0, "yellow-edges-sharp"}, {0, 0, 4, "blue-edges-sharp"}};
    Box cage;
    for (const Xyz& p : projectedVertices()) cage.add(int(p.x), int(p.y));
    std::filesystem::create_directories("preview-images");
    SDL_Surface* opaque = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    for (std::size_t i = 0; i < std::size(states); ++i) {
        const auto& k = states[i];
        bars().corner(k.corner);
        bars().yellow(k.yellow);
        bars().blue(k.blue);
        render();
        render();
        EXPECT_EQ(preview().regenerations(), i + 1);
        const Box b = surfaceBox();
        for (int d : {b.left - cage.left, cage.right - b.right, b.top - cage.top, cage.bottom - b.bottom}) {
            EXPECT_TRUE(i != 0 || d > 8) << d;
            EXPECT_TRUE(i != 1 || d <= 5) << d;
        }
        for (int y = 0; y < 400; ++y)
            std::memcpy(static_cast<Uint8*>(opaque->pixels) + y * opaque->pitch, &target.at(0, y), 400 * 4);
        EXPECT_EQ(SDL_SaveBMP(opaque, (std::string("preview-images/preview-") + k.name + ".bmp").c_str()), 0);
    }
    SDL_FreeSurface(opaque);
}

TEST_F(Preview, TheDeviceFollowsTheControlAndDrawsOnlyInsideItsSubSurface) {
    box = {0, 0, 0, 300};  // empty: nothing drawn, nothing regenerated
    SDL_FillRect(target.s, nullptr, 0x123456);
    render();
    EXPECT_EQ(pixel(200, 200), 0x123456u);
    EXPECT_EQ(cells().regenerated, 0);
    SDL_FillRect(target.s, nullptr, 0);
    box = {10, 20, 200, 120};
    render();
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

    box = Constants::demoPageRect;
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

// Failures before the frame (the regeneration) and inside the world (the
// object output, in a transform block) print their trace lines and leave
// the Ri state closed; the next render draws again. A nesting report ends
// the render quietly, unwound to before the outer frame.
TEST_F(Preview, FailuresAndReportsCloseTheBlocks) {
    const ZilLValue cube = cells().mesh;
    cells().mesh = ZilLValue::INT(3);
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
    EXPECT_FALSE(st.inFrame || st.inWorld || preview().scene().definition.recording);
    EXPECT_TRUE(st.blockStack.empty());
    vertices.set(0, vertex);
    SDL_FillRect(target.s, nullptr, 0);
    EXPECT_EQ(stdoutOf([&] { render(); }), "");
    EXPECT_TRUE(isSurface(pixel(200, 200)));

    RiFrameBegin(preview().ri(), 10, 10);
    EXPECT_EQ(stdoutOf([&] { EXPECT_NO_THROW(render()); }), "Calls to RiFrameBegin cannot be nested!\n");
    EXPECT_FALSE(st.inFrame);
    EXPECT_TRUE(st.blockStack.empty());
    EXPECT_EQ(st.deviceWidth, 0);
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
    EXPECT_TRUE(st.blockStack.empty());
}

}  // namespace
}  // namespace zil::test
