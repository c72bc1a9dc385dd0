// Vector3: three 32-bit floats, the vector type of the 3D side, with the arithmetic the scene
// and the drawing code need.
#pragma once
#include <cmath>

namespace tarvoke {

struct Vector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator*(Vector3 a, float factor) { return {a.x * factor, a.y * factor, a.z * factor}; }
inline float dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector3 cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vector3 a) { return std::sqrt(dot(a, a)); }

// Scaled to length 1 when its squared length exceeds 1e-7; shorter vectors stay as they are.
inline Vector3 normalised(Vector3 a) {
    const float squared = dot(a, a);
    return squared > 1e-7f ? a * (1.0f / std::sqrt(squared)) : a;
}

} // namespace tarvoke
