#include "mesh/SceneObject.hpp"

#include "mesh/MeshRecord.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/PrimitiveOutput.hpp"
#include "mesh/SubdivisionStep.hpp"
#include "mesh/SurfaceOutput.hpp"
#include "records/FieldAccess.hpp"
#include "render/RiTransforms.hpp"

namespace zil::SubdivisionMesh {

namespace {

// Clears the recording flag when the regeneration leaves, by any path.
struct RecordingReset {
    RiObjectDefinition& definition;
    ~RecordingReset() { definition.recording = false; }
};

}  // namespace

void regenerate(SceneObject& obj, const ZilLValue& baseMesh, RiState& st, OutStream& report) {
    RecordingReset reset{obj.definition};
    ZilLValue surface;
    try {
        obj.linkedMesh = linkNeighbours(baseMesh, report);
        obj.subdividedMesh = subdivideStep(obj.linkedMesh, report);
        surface = linkNeighbours(obj.subdividedMesh, report);
    } catch (...) {
        printMessage(report, "Exception while regenerating object!");
        printMessage(report, "Exception while validating object\n");
        throw;
    }
    validate(obj, st, surface, report);
}

namespace {

// The vectors of the surface recorded last, emptied, to be filled again:
// a regeneration then allocates nothing new for its output.
SurfaceMesh takeRecordedSurface(const RiState& st, RiObjectDefinition& definition) {
    SurfaceMesh s;
    if (definition.recordedCalls.size() != 1) return s;
    RiPrimitiveCall& call = definition.recordedCalls.front();
    s.counts = std::move(call.vertexCounts);
    s.indices = std::move(call.vertexIndices);
    for (RiParam& p : call.params) {
        if (p.token.id == st.tokens.P.id && p.value.tag == RiParamValue::Points)
            s.points = std::move(p.value.xyz);
        if (p.token.id == st.tokens.N.id && p.value.tag == RiParamValue::Normals)
            s.normals = std::move(p.value.xyz);
    }
    return s;
}

}  // namespace

void validate(SceneObject& obj, RiState& st, const ZilLValue& mesh, OutStream& report) {
    try {
        obj.surfaceMesh = mesh;
        const ZilLValue& m = obj.surfaceMesh;
        SurfaceWorkspace& work = obj.workspace;
        readSurfaceInput(m, report, work);
        refineGrids(work.input.faces, true, work);

        RiObjectDefinition& definition = obj.definition;
        SurfaceMesh s = takeRecordedSurface(st, definition);
        definition.recordedCalls.clear();
        definition.recording = true;
        st.surfaceReady = 1;

        checkCornerRecords(m, report);
        buildSurface(work.input.faces, work.input.vertexCount, s, work);
        RiParamList params;
        params.push_back({st.tokens.P, RiParamValue::points(std::move(s.points))});
        params.push_back({st.tokens.N, RiParamValue::normals(std::move(s.normals))});
        riPrimitiveOutput(st, definition, std::move(s.counts), std::move(s.indices), std::move(params));
    } catch (...) {
        // A recording left open would take every later draw for a recording.
        obj.definition.recording = false;
        printMessage(report, "Exception while validating object\n");
        throw;
    }
}

ObjectHandles outputObject(const SceneObject& obj, const ZilLValue& baseMesh, RiState& st,
                           const Matrix4x4& combined, int& flagCell, const Rt::Token& toSpace,
                           OutStream& report) {
    setCurrentTransform(st, combined);
    flagCell = 1;
    try {
        if (st.surfaceReady == 1)
            for (const RiPrimitiveCall& call : obj.definition.recordedCalls) drawPrimitive(st, call);
    } catch (...) {
        printMessage(report, "Exception while calling Ri.ObjectInstance\n");
        printMessage(report, "Exception while outputting object\n");
        throw;
    }
    try {
        const ValueArray vertices = getArrayField(baseMesh.fields(), MeshRecord::names().vertices, report);
        std::vector<Rt::Point> points;
        points.reserve(vertices.size());
        for (const ZilLValue& v : vertices) points.push_back(readPoint(v, report));
        points = RiTransformPoints(st, st.tokens.object, toSpace, points);

        ObjectHandles out;
        out.vertices.reserve(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            out.vertices.emplace_back(static_cast<std::int32_t>(i), points[i]);
        out.edges = collectEdges(baseMesh, report);
        return out;
    } catch (...) {
        printMessage(report, "Exception while outputting object\n");
        throw;
    }
}

}  // namespace zil::SubdivisionMesh
