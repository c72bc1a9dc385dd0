// Matrix4: a 4 x 4 matrix of 32-bit floats in OpenGL's column-major order (row r, column c at
// m[c * 4 + r]), so it goes to glLoadMatrixf and glMultMatrixf as it is; and the matrices the
// scene builds: translation, scaling, rotation, the camera's view, and the view frustum's planes.
#pragma once
#include <array>
#include "graphics3d/Vector3.h"

namespace tarvoke {

struct Matrix4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // identity

    float at(int row, int column) const { return m[std::size_t(column * 4 + row)]; }
    const float* data() const { return m.data(); }
};

struct Vector4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

// A plane a x + b y + c z + d = 0, positive on the inner side.
struct Plane {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
};

Matrix4 operator*(const Matrix4& left, const Matrix4& right);
Vector4 operator*(const Matrix4& matrix, Vector4 v);
Vector3 transformPoint(const Matrix4& matrix, Vector3 point);  // w = 1, no division

Matrix4 translationMatrix(Vector3 offset);
Matrix4 scalingMatrix(Vector3 factors);
// A rotation by `degrees` counter-clockwise about the axis as seen from its tip. An axis along
// x, y or z (only one component non-zero) gives the exact matrix for that axis and sign; any
// other is normalised first. False, and no matrix, for an axis of length 0.0001 or less.
bool rotationMatrix(float degrees, Vector3 axis, Matrix4& rotation);
// The view from `eye` towards `target` with `up` upward (as gluLookAt builds it); vectors of
// length 0 stay unnormalised.
Matrix4 lookAtMatrix(Vector3 eye, Vector3 target, Vector3 up);
// False when the matrix cannot be inverted; `inverse` is then left alone.
bool invert(const Matrix4& matrix, Matrix4& inverse);
bool isIdentity(const Matrix4& matrix);
// The length of column 0, 1 or 2's first three entries: the scale along that axis.
float axisLength(const Matrix4& matrix, int column);

// The six planes (left, right, bottom, top, near, far) of the frustum that `clip`
// (projection x model-view) maps into the unit cube, each scaled so that (a, b, c) has length 1.
std::array<Plane, 6> frustumPlanes(const Matrix4& clip);

} // namespace tarvoke
