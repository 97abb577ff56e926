#pragma once
// Constant data shared across the program: built once, never changed.
// Each subsystem keeps its constants in its own section below.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shell/Errors.hpp"
#include "shell/IRect2D.hpp"

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

inline constexpr IRect2D emptyRect{0, 0, 0, 0};
inline constexpr IRect2D demoPageRect{0, 0, 400, 400};

// Flag lists; users take the bitwise OR of the elements.
inline constexpr std::array<std::uint32_t, 1> sdlInitFlags{0x20};  // SDL's video subsystem
inline constexpr std::array<std::uint32_t, 1> videoModeFlags{0};
inline constexpr std::array<int, 1> fileOpenFlags{0};  // read-only

// Conversion letter for reals written with a chosen number of significant digits.
inline constexpr std::string_view realFormat = "g";

// Colours (red, green, blue in 0..1) as lists of reals.
inline constexpr std::array<double, 3> accentColour{1.0, 0.81, 0.51};
inline constexpr std::array<double, 3> highlightColour{0.5, 0.63, 0.75};
inline constexpr std::array<double, 3> whiteColour{1.0, 1.0, 1.0};

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

}  // namespace zil::Constants
