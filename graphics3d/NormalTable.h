// The fixed table of 162 unit normals that a model's vertices index (one byte each), and the
// search that finds the entry nearest to a given normal.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include "graphics3d/Vector3.h"

namespace tarvoke {

constexpr std::size_t normalTableSize = 162;  // valid normal indices are 0..161
extern const std::array<Vector3, normalTableSize> normalTable;

// The entry t with the smallest |n.n - n.t|, n being the normal scaled to unit length (when its
// squared length exceeds 1e-7). The first exact match ends the search; among equally near
// entries the later one wins, so a zero normal gives index 0.
std::uint8_t nearestNormalIndex(Vector3 normal);

} // namespace tarvoke
