// Vector3: three 32-bit floats, the vector type of the 3D side.
#pragma once

namespace tarvoke {

struct Vector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

} // namespace tarvoke
