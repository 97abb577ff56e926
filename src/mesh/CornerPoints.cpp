#include "mesh/CornerPoints.hpp"

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil::SubdivisionMesh {

void cornerRing(std::span<const GridFace> faces, int level, int startFace, int startCode, int stopFace,
                CornerRing& ring) {
    ring.count = 0;
    const std::size_t faceCount = faces.size();
    const double levelReal = static_cast<double>(level);

    int g = startFace;
    int e = startCode;
    bool last = false;
    for (std::size_t visits = 0;; ++visits) {
        if (g < 0 || static_cast<std::size_t>(g) >= faceCount) throw Subscript();
        if (e < 1 || e > 4) throw InconsistencyError();
        // A ring never holds more faces than the mesh: links that do not
        // come back to the own face are inconsistent.
        if (visits == faceCount) throw InconsistencyError();

        const GridFace& face = faces[static_cast<std::size_t>(g)];
        const PointGrid p = face.grid(level);
        const int h = p.rows();
        const int w = p.cols();
        // Sharpness of the edges ending and starting at the vertex.
        auto c = [&](std::size_t i) { return clampSharpness(face.edgeSharpness[i] - levelReal); };

        // The vertex is the end of the shared edge e, corner e mod 4; the
        // first entry lies along that edge, the second along the next one.
        const int corner = e & 3;
        const std::size_t i = ring.count;
        if (i == ring.diagonalStore.size()) {
            const std::size_t grown = i < 8 ? 8 : 2 * i;
            ring.edgeStore.resize(2 * grown);
            ring.diagonalStore.resize(grown);
            ring.visitStore.resize(grown);
        }
        ++ring.count;
        ring.visitStore[i] = {g, corner};
        EdgeEntry* entry = &ring.edgeStore[2 * i];
        Xyz& diagonal = ring.diagonalStore[i];
        switch (e) {
            case 1:
                entry[0] = {c(0), p.cell(0, w - 2)};
                entry[1] = {c(1), p.cell(1, w - 1)};
                diagonal = p.cell(1, w - 2);
                break;
            case 2:
                entry[0] = {c(1), p.cell(h - 2, w - 1)};
                entry[1] = {c(2), p.cell(h - 1, w - 2)};
                diagonal = p.cell(h - 2, w - 2);
                break;
            case 3:
                entry[0] = {c(2), p.cell(h - 1, 1)};
                entry[1] = {c(3), p.cell(h - 2, 0)};
                diagonal = p.cell(h - 2, 1);
                break;
            default:
                entry[0] = {c(3), p.cell(1, 0)};
                entry[1] = {c(0), p.cell(0, 1)};
                diagonal = p.cell(1, 1);
                break;
        }
        if (last) return;
        if (g == stopFace) last = true;
        // Follow the edge that starts at the vertex.
        g = face.neighborFace[static_cast<std::size_t>(corner)];
        e = face.neighborEdge[static_cast<std::size_t>(corner)];
    }
}

void cornerPoint(std::span<GridFace> faces, int face, int corner, int level, CornerRing& ring) {
    if (face < 0 || static_cast<std::size_t>(face) >= faces.size()) throw Subscript();
    if (corner < 0 || corner > 3) throw Subscript();
    GridFace& f = faces[static_cast<std::size_t>(face)];
    const PointGrid coarse = f.grid(level);
    const PointGrid fine = f.grid(level + 1);
    const std::size_t k = static_cast<std::size_t>(corner);

    const GridCell cc = cornerCell(corner, coarse.rows());
    const Xyz v = coarse.cell(cc.row, cc.col);

    // Around the vertex from the face across the edge starting at the
    // corner to the face across the edge ending there, then the own face.
    cornerRing(faces, level, f.neighborFace[k], f.neighborEdge[k], f.neighborFace[(k + 3) & 3], ring);
    if (level == 0) f.cornerValences[k] = ring.faceCount();

    const double s = clampSharpness(f.vertexSharpness[k] - static_cast<double>(level));
    Xyz result = v;
    if (s < 1.0) {
        const Xyz r = vertexPointWithSharpness(v, ring.diagonals(), ring.edges(), Constants::vertexWeights);
        result = s <= 0.0 ? r : blend(r, v, s);
    }
    const GridCell fc = cornerCell(corner, fine.rows());
    fine.cell(fc.row, fc.col) = result;
}

}  // namespace zil::SubdivisionMesh
