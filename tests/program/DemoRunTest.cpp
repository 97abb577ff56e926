// The whole program through its entry, in a child process, in a copy of
// demo/: the idle hook pushes the user's events and keeps the screen.
#include <gtest/gtest-spi.h>

#include <string>
#include <utility>
#include <vector>

#include "ChildRun.hpp"
#include "PushEvents.hpp"
#include "shell/Constants.hpp"

namespace zil::testing {
namespace {

struct Boxes {
    IRect2D preview, zoomBar, cornerBar;
};

void saveBoxes(UIContext& ctx, const fs::path& file) {
    const ControlTree& t = ctx.tree;
    const IdCell main = t.windows().front().id;
    IRect2D page = windowBox(t, t.findControlByName(main, "zilbrovdemopage"));
    const IRect2D& v = Constants::demoPageRect;
    const IRect2D boxes[] = {{page.x + v.x, page.y + v.y, v.w, v.h},
                             windowBox(t, t.findControlByName(main, "zoombar")),
                             windowBox(t, t.findControlByName(main, "cornersharpnessbar"))};
    std::ofstream o(file);
    for (const IRect2D& b : boxes) o << b.x << ' ' << b.y << ' ' << b.w << ' ' << b.h << '\n';
}

Boxes loadBoxes(const fs::path& file) {
    std::ifstream in(file);
    Boxes b;
    for (IRect2D* r : {&b.preview, &b.zoomBar, &b.cornerBar}) in >> r->x >> r->y >> r->w >> r->h;
    return b;
}

// A press 10 pixels into the control's box, a motion by (dx, dy), a release.
void drag(const IRect2D& box, int dx, int dy) {
    const int x = box.x + 10, y = box.y + box.h / 2;
    pushButton(true, x, y);
    pushMotion(x + dx, y + dy, dx, dy);
    pushButton(false, x + dx, y + dy);
}

struct Changes {
    int in[2] = {0, 0};  // pixels changed inside each of the two boxes
    int outside = 0;
};

Changes compare(const Picture& a, const Picture& b, const IRect2D& first, const IRect2D& second) {
    Changes c;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x) {
            if (a.at(x, y) == b.at(x, y)) continue;
            if (inside(first, x, y))
                ++c.in[0];
            else if (inside(second, x, y))
                ++c.in[1];
            else
                ++c.outside;
        }
    return c;
}

// Pixels of the box that are not the preview's black background.
int litPixels(const Picture& p, const IRect2D& box) {
    int n = 0;
    for (int y = box.y; y < box.y + box.h; ++y)
        for (int x = box.x; x < box.x + box.w; ++x)
            if ((p.at(x, y) & 0xFFFFFF) != 0) ++n;
    return n;
}

TEST(DemoRun, BarsAndADragChangeOnlyWhatTheyDriveAndAQuitEndsWithZero) {
    DemoCopy demo;
    const fs::path dir = demo.dir();
    const Outcome o = runProgram(dir, [&](UIContext& ctx, int n) {
        saveScreen(dir / ("shot" + std::to_string(n)));
        if (n == 0) saveBoxes(ctx, dir / "boxes");
        const Boxes b = loadBoxes(dir / "boxes");
        switch (n) {
            case 0: drag(b.cornerBar, 60, 0); break;
            case 1: drag(b.zoomBar, 80, 0); break;
            case 2: drag({b.preview.x + 190, b.preview.y + 190, 20, 20}, 40, 25); break;
            default: pushQuit();
        }
    });
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    const Boxes b = loadBoxes(dir / "boxes");
    std::vector<Picture> shot;
    for (int i = 0; i < 4; ++i) shot.push_back(loadPicture(dir / ("shot" + std::to_string(i))));

    // The corner bar: its thumb and the surface move, nothing else.
    Changes corner = compare(shot[0], shot[1], b.cornerBar, b.preview);
    EXPECT_GT(corner.in[0], 0);
    EXPECT_GT(corner.in[1], 0);
    EXPECT_EQ(corner.outside, 0);

    // Zooming in brings the camera nearer: more of the preview is lit.
    Changes zoom = compare(shot[1], shot[2], b.zoomBar, b.preview);
    EXPECT_GT(zoom.in[0], 0);
    EXPECT_EQ(zoom.outside, 0);
    EXPECT_GT(litPixels(shot[2], b.preview), litPixels(shot[1], b.preview) * 11 / 10);

    // A drag over the preview turns the object; the bars stay.
    Changes turn = compare(shot[2], shot[3], b.preview, b.zoomBar);
    EXPECT_GT(turn.in[0], 0);
    EXPECT_EQ(turn.in[1], 0);
    EXPECT_EQ(turn.outside, 0);
}

// The run that scripts/test.sh also watches under valgrind.
TEST(DemoRun, AQuitAtTheFirstIdleMomentEndsCleanly) {
    DemoCopy demo;
    const Outcome o = runProgram(demo.dir(), quitAtOnce);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
}

const std::string stopApp = "Software bug: Unanticipated exception of type: StopApp raised with the following message: StopApp";

struct BadDescription {
    const char* what;
    std::function<void(DemoCopy&)> change;
    std::string out, err;
    int status;
};

TEST(DemoRun, BadDescriptionsGetTheirReportAndEndWithOne) {
    const BadDescription cases[] = {
        {"a control without its visible flag",
         [](DemoCopy& d) { d.edit("name='\"zoomlabel\"' visible='true'", "name='\"zoomlabel\"'"); }, "",
         "Generic exception of type UIXMLBuild raised: The attributes class, name, visible and boundingbox must "
         "always be specified for UI-controls! This is not done for the control zoomlabel\n",
         1},
        {"no zoom bar", [](DemoCopy& d) { d.edit("name='\"zoombar\"'", "name='\"zoomslider\"'"); },
         "Could not find expected control: zoombar", stopApp, 1},
        // The loader reports the text it could not read; the demo runs.
        {"an unreadable tail", [](DemoCopy& d) { d.write("ui.uixml", d.read("ui.uixml") + "<control oops\n"); },
         "Error during parsing: Could not parse the last part of UIXML file: <control oops\n", "", 1},
        {"a damaged tail",
         [](DemoCopy& d) { d.write("ui.uixml", d.read("ui.uixml") + std::string("\x1b]0;x\a\0\xc3\xa9\n", 10)); },
         "Error during parsing: Could not parse the last part of UIXML file: \\x1b]0;x\\x07\\x00\\xc3\\xa9\n", "", 1},
        // The message of the font loader ends in a newline of its own.
        {"no font bitmap", [](DemoCopy& d) { fs::remove(d.file("ui/fonts/FontLucida14ASCII.bmp")); }, "",
         "Generic exception of type RESSOURCE raised: Could not open font file ui/fonts/FontLucida14ASCII.bmp\n\n",
         1},
        {"every window hidden",
         [](DemoCopy& d) { d.edit("name='\"mainwindow\"' visible='true'", "name='\"mainwindow\"' visible='false'"); },
         "No top-level window is visible!\n", stopApp, 1},
        {"no window", [](DemoCopy& d) { d.write("ui.uixml", "<!-- nothing -->\n"); },
         "No top-level window was created!\n", stopApp, 1},
        {"no description", [](DemoCopy& d) { fs::remove(d.file("ui.uixml")); },
         "Error opening file ui.uixml!\nNo top-level window was created!\n", stopApp, 1},
        // Neither the tab row nor the page: the window runs as it is.
        {"a plain window",
         [](DemoCopy& d) {
             d.write("ui.uixml",
                     "<control class='\"VuqNoBackgroundWindow\"' name='\"w\"' visible='true' "
                     "boundingbox='{x=0,y=0,w=200,h=100}'>\n"
                     "<control class='\"VuqTextLabel\"' name='\"l\"' visible='true' "
                     "boundingbox='{x=8,y=8,w=100,h=16}' text='\"Hello\"'></control>\n</control>\n");
         },
         "", "", 0},
    };
    for (const BadDescription& c : cases) {
        SCOPED_TRACE(c.what);
        DemoCopy demo;
        c.change(demo);
        const Outcome o = runProgram(demo.dir(), quitAtOnce);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(o.status, c.status);
    }
}

TEST(DemoRun, AWriteThatFailsAtTheEndIsTheTopLevelHandlers) {
    DemoCopy demo;
    // Text left in standard output's buffer is written at the end, onto a
    // full device.
    const Outcome o = runProgram(
        demo.dir(),
        [](UIContext& ctx, int n) {
            outputString(stdOut(), "unflushed");
            quitAtOnce(ctx, n);
        },
        "/dev/full");
    EXPECT_EQ(o.err, "unhandled exception Io\n");
    EXPECT_EQ(o.status, 1);
}

TEST(DemoRun, TheProgramWithoutAVideoDeviceLogsAndEndsWithOne) {
    // A driver SDL does not have, and X11 (as scripts/demo.sh asks for it)
    // on a display where no server answers.
    const std::pair<const char*, const char*> drivers[] = {{"bogus", nullptr}, {"x11", ":4093"}};
    for (const auto& [driver, display] : drivers) {
        SCOPED_TRACE(driver);
        DemoCopy demo;
        const Outcome o = inChild(
            demo.dir(),
            [driver = driver, display = display] {
                ::setenv("SDL_VIDEODRIVER", driver, 1);
                if (display) ::setenv("DISPLAY", display, 1);
                ::execl(ZIL_DEMO_BINARY, ZIL_DEMO_BINARY, static_cast<char*>(nullptr));
                return 127;
            },
            nullptr, 20);
        const std::string log = slurp(demo.file("SDL_Init.log"));
        EXPECT_EQ(log.rfind("Could not initialize SDL: ", 0), 0u) << log;
        EXPECT_EQ(log.back(), '\n');
        EXPECT_EQ(o.err, log);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.status, 1);
    }
}

TEST(DemoRun, AProgramThatDoesNotEndFailsItsTestInsteadOfHangingIt) {
    DemoCopy demo;
    // Every idle moment brings a new event, none of them a quit.
    EXPECT_NONFATAL_FAILURE(runProgram(demo.dir(), [](UIContext&, int) { pushMotion(1, 1, 1, 0); }),
                            "had not quit after 20 idle moments");
    EXPECT_NONFATAL_FAILURE(inChild(demo.dir(), [] { return ::pause(); }, nullptr, 1),
                            "still running after 1 s and was killed");
}

}  // namespace
}  // namespace zil::testing
