#pragma once
// Constant data shared across the program: built once, never changed.
// Each subsystem keeps its constants in its own section below.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "shell/Errors.hpp"
#include "shell/IRect2D.hpp"

namespace zil {

// The type of an attribute value: one constant per type, compared by
// address, never by name.
struct AttributeType {
    std::string_view name;
};

// A run of character codes, first to last: an alphabet or one character.
struct CharacterSpec {
    unsigned char first;
    unsigned char last;
};

}  // namespace zil

namespace zil::Constants {

// --- Core services and shell ---

// Named error values that are raised as they are. Each is built on first
// use and shared from then on.
const EGeneric& errReadAt();              // IndexOutOfRange: readAt
const EGeneric& errWriteAt();             // IndexOutOfRange: writeAt
const EGeneric& errChildNotInParent();    // ChildNotInParent
const EGeneric& errNoCharacterSpecs();    // internal: no character specs in BitmapFontFunc
const EGeneric& errCacheNotReady();       // CacheNotReady
const EGeneric& errDivideByZero();        // DivideByZero: Matrix4x4Mult.invert
const EGeneric& errZeroDivideTransformPoint();  // internal: Matrix4x4.Trans.transformPoint
const EGeneric& errRectangleAttribute();  // UIXMLBuild: unparsable rectangle
const EGeneric& errMandatoryAttributes(); // UIXMLBuild: class, name, visible, boundingbox

// Builds every constant that is built on first use, so that all of them
// exist before anything else runs. Called first thing by the program.
void initGlobals();

// Largest number of elements an array or string may have.
inline constexpr std::int64_t maxArrayLength = 2147483645;

inline constexpr IRect2D emptyRect{0, 0, 0, 0};

// Flag lists; users take the bitwise OR of the elements.
inline constexpr std::array<std::uint32_t, 1> sdlInitFlags{0x20};  // SDL's video subsystem
inline constexpr std::array<std::uint32_t, 1> videoModeFlags{0};
inline constexpr std::array<int, 1> fileOpenFlags{0};  // read-only

// Conversion letter for reals written with a chosen number of significant digits.
inline constexpr std::string_view realFormat = "g";

// Colours (red, green, blue in 0..1) as lists of reals; the looks make
// their colour records from the same lists.
inline constexpr std::array<double, 3> accentColour{1.0, 0.81, 0.51};
inline constexpr std::array<double, 3> highlightColour{0.5, 0.63, 0.75};
inline constexpr std::array<double, 3> whiteColour{1.0, 1.0, 1.0};

// The line that a failed SDL start leaves in "SDL_Init.log", before SDL's
// own text; the program also writes it on standard error.
inline constexpr char sdlInitFailure[] = "Could not initialize SDL: ";

// SDL start: Unicode characters on key events; a held key repeats after
// the delay, then at every interval (milliseconds).
inline constexpr int unicodeKeys = 1;
inline constexpr int keyRepeatDelay = 200;
inline constexpr int keyRepeatInterval = 10;

// Files read at start-up from the working directory.
inline constexpr std::string_view appConfigFile = "app.config";
inline constexpr std::string_view uiDescriptionFile = "ui.uixml";
// Resource directory used when "app.config" gives none for a key.
inline constexpr std::string_view defaultResourcePath = "./";
// Most characters read from the file to show an unparsed tail.
inline constexpr std::size_t unparsedTailChars = 64;

// --- Records and transforms ---
// The identity, unit rows and vectors, the origin and the unit scale
// transform list need the records' types: see records/RecordConstants.hpp.

// --- Subdivision mesh ---

// The default cube: vertex positions (x, y, z) and the vertex numbers of
// each face's four corners, in corner order.
inline constexpr std::array<std::array<double, 3>, 8> cubePoints{{
    {-0.5, -0.5, 0.5}, {-0.5, -0.5, -0.5}, {0.5, -0.5, -0.5}, {0.5, -0.5, 0.5},
    {-0.5, 0.5, 0.5}, {-0.5, 0.5, -0.5}, {0.5, 0.5, -0.5}, {0.5, 0.5, 0.5},
}};
inline constexpr std::array<std::array<std::int32_t, 4>, 6> cubeFaces{{
    {0, 1, 2, 3}, {0, 4, 5, 1}, {6, 5, 4, 7}, {6, 7, 3, 2}, {3, 7, 4, 0}, {5, 6, 2, 1},
}};

// Groups of the demo bars: vertex numbers, and edge numbers in the order of
// SubdivisionMesh::collectEdges on the default cube. Yellow: the four edges
// joining square 0-1-2-3 to square 4-5-6-7; blue: the edges of both squares.
inline constexpr std::array<std::int32_t, 8> cubeVertices{0, 1, 2, 3, 4, 5, 6, 7};
inline constexpr std::array<std::int32_t, 4> yellowEdges{4, 6, 8, 11};
inline constexpr std::array<std::int32_t, 8> blueEdges{0, 1, 2, 3, 5, 7, 9, 10};

// Subdivision weights. Smooth edge point: edgeWeights[0] on each end point,
// edgeWeights[1] taken twice on each face point. crossWeight is the face
// point weight of the edge rule next to a valence-4 end. vertexWeights are
// the vertex rule's centre, edge-point and face-point weights for valence 4.
struct EdgeWeights {
    double end;
    double face;
};
struct VertexWeights {
    double centre;
    double edge;
    double face;
};
inline constexpr EdgeWeights edgeWeights{0.375, 0.0625};
inline constexpr double crossWeight = 0.0625;
inline constexpr VertexWeights vertexWeights{0.5625, 0.09375, 0.015625};
// The sharp forms. A crease vertex keeps `centre` of itself and takes
// `edge` of each of its two crease neighbours; a sharp edge point next to a
// corner of valence other than 4 takes `corner` of the corner and `other`
// of the edge's other end.
struct CreaseWeights {
    double centre;
    double edge;
};
struct SharpCornerWeights {
    double corner;
    double other;
};
inline constexpr CreaseWeights creaseWeights{0.75, 0.125};
inline constexpr SharpCornerWeights sharpCornerWeights{0.75, 0.25};

// --- Renderer ---

// Raster positions are integers in 1/512 pixel.
inline constexpr double subPixelScale = 512.0;
// Flags and masks of the renderer's depth surfaces: the bitwise OR of
// [0, 0x00010000] (a software surface with source alpha), 32 bits per pixel.
inline constexpr std::array<std::uint32_t, 2> depthSurfaceFlags{0, 0x00010000};
inline constexpr std::array<std::uint32_t, 4> surfaceMasks{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
// The output name the demo begins its rendering context with.
inline constexpr std::string_view riOutputName = "subdivisionTestOutput.rib";

// The 3-D preview. The object's colour; where its light sits, as a
// translation from the world origin (at the camera's start position); the
// marker colours of the selected and of the other base-mesh vertices and
// edges; and the widths of the edge quads, in pixels, across edges that run
// mostly horizontally or mostly vertically.
inline constexpr std::array<double, 3> previewObjectColour{0.9, 1.0, 0.8};
inline constexpr std::array<double, 3> previewLightOffset{0.0, 0.0, -10.0};
inline constexpr std::array<double, 3> previewSelectedColour = accentColour;
inline constexpr std::array<double, 3> previewOtherColour = highlightColour;
inline constexpr std::array<double, 3> previewHorizontalEdgeOffset{0.0, 2.0, 0.0};
inline constexpr std::array<double, 3> previewVerticalEdgeOffset{2.0, 0.0, 0.0};

// --- UI ---

// Attribute types, in the order they are built.
inline constexpr AttributeType controlNotifyType{"ControlNotify"};
inline constexpr AttributeType nBoolsType{"NBools"};
inline constexpr AttributeType nIRect2DType{"NIRect2D"};
inline constexpr AttributeType nUIControlIDType{"NUIControlID"};
inline constexpr AttributeType nBoolType{"NBool"};
inline constexpr AttributeType nRealType{"NReal"};
inline constexpr AttributeType nIntType{"NInt"};
inline constexpr AttributeType nStringsType{"NStrings"};
inline constexpr AttributeType nStringType{"NString"};

// The blanks of a description: space, TAB, LF and CR.
inline constexpr std::string_view blanks = " \t\n\r";

// Booleans as the description writes them.
inline constexpr std::string_view trueText = "true";
inline constexpr std::string_view falseText = "false";

// The two bitmap fonts: their files, character lists, glyph widths, glyph
// heights and replacement characters. The font tool in tools/ draws the
// bitmaps from the same tables.
inline constexpr CharacterSpec lowerCase{'a', 'z'};
inline constexpr CharacterSpec upperCase{'A', 'Z'};
inline constexpr CharacterSpec digits{'0', '9'};

inline constexpr std::array<CharacterSpec, 3> clean14Specs{digits, upperCase, lowerCase};

// One spec per character, codes 32 to 127.
inline constexpr std::array<CharacterSpec, 96> lucida14Specs = [] {
    std::array<CharacterSpec, 96> specs{};
    for (int i = 0; i < 96; ++i) specs[i] = {static_cast<unsigned char>(i + 32), static_cast<unsigned char>(i + 32)};
    return specs;
}();

// '0'-'9', 'A'-'Z', 'a'-'z'.
inline constexpr std::array<std::int32_t, 62> clean14Widths{
    8, 6, 6, 6, 8, 7, 6, 7, 6, 7,                                                        //
    7, 7, 6, 7, 6, 7, 7, 7, 6, 7, 7, 6, 6, 7, 7, 7, 7, 7, 6, 7, 6, 7, 6, 7, 7, 7,        //
    6, 7, 6, 7, 7, 7, 6, 7, 7, 6, 7, 7, 6, 7, 7, 6, 7, 6, 8, 6, 7, 7, 6, 6, 7, 6};

// Codes 32 to 127.
inline constexpr std::array<std::int32_t, 96> lucida14Widths{
    8, 4,  8, 10, 9, 13, 11, 4,  6,  5,  7,  9,  5,  10, 4,  9,   // ' ' to '/'
    10, 9, 10, 9, 11, 9, 10, 10, 9,  10, 5,  5,  9,  10, 9,  9,   // '0' to '?'
    12, 11, 9, 11, 12, 9, 8,  11, 12, 4,  9,  10, 9,  13, 11, 14,  // '@' to 'O'
    8, 13, 10, 8, 12, 10, 11, 14, 9,  11, 10, 5,  9,  6,  8,  8,   // 'P' to '_'
    4, 9,  10, 7, 10, 9,  7,  11, 10, 4,  7,  10, 5,  14, 9,  11,  // '`' to 'o'
    9, 11, 7,  8, 7,  9,  10, 13, 8,  10, 8,  6,  3,  6,  10, 6};  // 'p' to 127

struct FontDefinition {
    std::string_view name;
    std::string_view fileName;
    unsigned char replacement;
    std::span<const std::int32_t> widths;
    std::span<const CharacterSpec> specs;
    std::int32_t glyphHeight;
    std::int32_t spacing;
};

inline constexpr std::array<FontDefinition, 2> fontDefinitions{{
    {"clean-14", "FontClean14.bmp", '/', clean14Widths, clean14Specs, 12, 2},
    {"lucida-14", "FontLucida14ASCII.bmp", '?', lucida14Widths, lucida14Specs, 15, 2},
}};

// The definition of `name`, or null.
constexpr const FontDefinition* findFontDefinition(std::string_view name) {
    for (const FontDefinition& d : fontDefinitions)
        if (d.name == name) return &d;
    return nullptr;
}

// --- The demo ---

// Controls the demo's start looks for in the main window.
inline constexpr std::string_view mainTabName = "maintab";
inline constexpr std::string_view mainTabBookName = "maintabbook";
inline constexpr std::string_view demoPageName = "zilbrovdemopage";

// Where the demo puts its 3-D view inside the page.
inline constexpr IRect2D demoPageRect{0, 0, 400, 400};

// Each bar of the page, the value of the 3-D view it drives and the value
// at the bar's far end.
struct DemoBar {
    std::string_view control;
    std::string_view value;
    double range;
};
inline constexpr std::array<DemoBar, 4> demoBars{{
    {"zoombar", "zoom", 5.0},
    {"cornersharpnessbar", "cornersharpness", 4.0},
    {"yellowedgesharpnessbar", "yellowedgesharpness", 4.0},
    {"blueedgesharpnessbar", "blueedgesharpness", 4.0},
}};

}  // namespace zil::Constants
