#include "graphics3d/Matrix4.h"
#include <cmath>

namespace tarvoke {
namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

float& element(Matrix4& matrix, int row, int column) { return matrix.m[std::size_t(column * 4 + row)]; }

// The rotation about one of the coordinate axes (0 x, 1 y, 2 z), built from its two affected
// rows and columns only, so the other entries stay exactly 0 and 1.
Matrix4 axisRotation(int axis, float cosine, float sine) {
    Matrix4 rotation;
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    element(rotation, a, a) = cosine;
    element(rotation, a, b) = -sine;
    element(rotation, b, a) = sine;
    element(rotation, b, b) = cosine;
    return rotation;
}

} // namespace

Matrix4 operator*(const Matrix4& left, const Matrix4& right) {
    Matrix4 product;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += left.at(row, k) * right.at(k, column);
            element(product, row, column) = sum;
        }
    return product;
}

Vector4 operator*(const Matrix4& matrix, Vector4 v) {
    const auto& m = matrix.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w, m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

Vector3 transformPoint(const Matrix4& matrix, Vector3 point) {
    const Vector4 result = matrix * Vector4{point.x, point.y, point.z, 1.0f};
    return {result.x, result.y, result.z};
}

Matrix4 translationMatrix(Vector3 offset) {
    Matrix4 matrix;
    matrix.m[12] = offset.x;
    matrix.m[13] = offset.y;
    matrix.m[14] = offset.z;
    return matrix;
}

Matrix4 scalingMatrix(Vector3 factors) {
    Matrix4 matrix;
    matrix.m[0] = factors.x;
    matrix.m[5] = factors.y;
    matrix.m[10] = factors.z;
    return matrix;
}

bool rotationMatrix(float degrees, Vector3 axis, Matrix4& rotation) {
    const double radians = double(degrees) * degreesToRadians;
    const float cosine = float(std::cos(radians)), sine = float(std::sin(radians));
    const float components[3] = {axis.x, axis.y, axis.z};
    for (int k = 0; k < 3; ++k) {
        const bool alone = components[k] != 0.0f && components[(k + 1) % 3] == 0.0f && components[(k + 2) % 3] == 0.0f;
        if (alone) {
            rotation = axisRotation(k, cosine, components[k] > 0.0f ? sine : -sine);
            return true;
        }
    }
    const float size = length(axis);
    if (!(size > 0.0001f)) return false;
    const Vector3 u = axis * (1.0f / size);
    const float c1 = 1.0f - cosine;
    rotation = Matrix4{};
    rotation.m = {u.x * u.x * c1 + cosine,       u.y * u.x * c1 + u.z * sine, u.z * u.x * c1 - u.y * sine, 0,
                  u.x * u.y * c1 - u.z * sine,   u.y * u.y * c1 + cosine,     u.z * u.y * c1 + u.x * sine, 0,
                  u.x * u.z * c1 + u.y * sine,   u.y * u.z * c1 - u.x * sine, u.z * u.z * c1 + cosine,     0,
                  0, 0, 0, 1};
    return true;
}

Matrix4 lookAtMatrix(Vector3 eye, Vector3 target, Vector3 up) {
    const Vector3 back = normalised(eye - target);
    const Vector3 side = normalised(cross(up, back));
    const Vector3 trueUp = normalised(cross(back, side));
    Matrix4 view;
    const Vector3 rows[3] = {side, trueUp, back};
    for (int row = 0; row < 3; ++row) {
        element(view, row, 0) = rows[row].x;
        element(view, row, 1) = rows[row].y;
        element(view, row, 2) = rows[row].z;
        element(view, row, 3) = -dot(rows[row], eye);
    }
    return view;
}

// Cofactor expansion in doubles; enough for the matrices a scene is made of.
bool invert(const Matrix4& matrix, Matrix4& inverse) {
    double a[16], inv[16];
    for (int i = 0; i < 16; ++i) a[i] = matrix.m[std::size_t(i)];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    const double determinant = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (determinant == 0.0 || !std::isfinite(determinant)) return false;
    for (int i = 0; i < 16; ++i) inverse.m[std::size_t(i)] = float(inv[i] / determinant);
    return true;
}

bool isIdentity(const Matrix4& matrix) { return matrix.m == Matrix4{}.m; }

float axisLength(const Matrix4& matrix, int column) {
    return length({matrix.at(0, column), matrix.at(1, column), matrix.at(2, column)});
}

std::array<Plane, 6> frustumPlanes(const Matrix4& clip) {
    auto row = [&](int r) { return Plane{clip.at(r, 0), clip.at(r, 1), clip.at(r, 2), clip.at(r, 3)}; };
    const Plane w = row(3);
    std::array<Plane, 6> planes;
    for (int axis = 0; axis < 3; ++axis) {
        const Plane p = row(axis);
        planes[std::size_t(axis * 2)] = {w.a + p.a, w.b + p.b, w.c + p.c, w.d + p.d};
        planes[std::size_t(axis * 2 + 1)] = {w.a - p.a, w.b - p.b, w.c - p.c, w.d - p.d};
    }
    for (Plane& plane : planes) {
        const float size = std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c);
        if (size > 0.0f) plane = {plane.a / size, plane.b / size, plane.c / size, plane.d / size};
    }
    return planes;
}

} // namespace tarvoke
