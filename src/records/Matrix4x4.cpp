#include "records/Matrix4x4.hpp"

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil {

namespace detail {
void throwZeroDivideInTransformPoint() {
    throw Constants::errZeroDivideTransformPoint();
}
}  // namespace detail

Matrix4x4 matrixMultiply(const Matrix4x4& a, const Matrix4x4& b) {
    Matrix4x4 c;
    const auto& A = a.rows;
    const auto& B = b.rows;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            c.rows[i][j] = A[i][0] * B[0][j] + A[i][1] * B[1][j] + A[i][2] * B[2][j] + A[i][3] * B[3][j];
    return c;
}

namespace {

// Determinant of rows (a, b, c), (d, e, f), (g, h, i), along the first row.
double det3(double a, double b, double c, double d, double e, double f, double g, double h, double i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// The 3x3 determinant left when row `row` and column `col` are removed.
double minorOf(const Matrix4x4& m, int row, int col) {
    double v[9];
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == row) continue;
        for (int j = 0; j < 4; ++j) {
            if (j == col) continue;
            v[k++] = m.rows[i][j];
        }
    }
    return det3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
}

}  // namespace

namespace Matrix4x4Mult {

Matrix4x4 invert(const Matrix4x4& m) {
    const auto& r = m.rows;
    const double det = ((r[0][0] * minorOf(m, 0, 0) - r[0][1] * minorOf(m, 0, 1)) + r[0][2] * minorOf(m, 0, 2)) -
                       r[0][3] * minorOf(m, 0, 3);
    if (det == 0.0) throw Constants::errDivideByZero();
    const double k = 1.0 / det;
    Matrix4x4 inv;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            // Entry ij of the adjugate is the signed cofactor of (j, i).
            const double cof = ((i + j) % 2 == 0) ? minorOf(m, j, i) : -minorOf(m, j, i);
            inv.rows[i][j] = k * cof;
        }
    }
    return inv;
}

}  // namespace Matrix4x4Mult

}  // namespace zil
