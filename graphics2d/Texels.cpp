#include "graphics2d/Texels.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvoke {
namespace {

std::size_t texelIndex(int column, int row, int width) { return (std::size_t(row) * std::size_t(width) + std::size_t(column)) * 4; }

// Zeroes the texels right of and above a w x h picture (transparent black).
void clearOutsidePicture(Texels& texels, int w, int h, int textureWidth, int textureHeight) {
    const std::size_t rowBytes = std::size_t(textureWidth) * 4;
    if (w < textureWidth)
        for (int row = 0; row < h; ++row)
            std::memset(&texels[texelIndex(w, row, textureWidth)], 0, std::size_t(textureWidth - w) * 4);
    if (h < textureHeight) std::memset(&texels[std::size_t(h) * rowBytes], 0, std::size_t(textureHeight - h) * rowBytes);
}

} // namespace

Texels copyUpsideDown(const Image& image, int x, int y, int w, int h, int textureWidth, int textureHeight) {
    const int firstColumn = std::max(x, 0);
    const int endColumn = std::min({x + textureWidth, image.width, x + w});
    const int firstRow = std::max(y, 0);
    const int endRow = std::min({y + textureHeight, image.height, y + h});
    const bool coversPicture = firstColumn == x && endColumn == x + w && firstRow == y && endRow == y + h;
    Texels texels(std::size_t(textureWidth) * std::size_t(textureHeight) * 4);
    if (coversPicture) {
        clearOutsidePicture(texels, w, h, textureWidth, textureHeight);
    } else {
        std::fill(texels.begin(), texels.end(), 0);
    }
    if (endColumn <= firstColumn) return texels;
    const std::size_t rowBytes = std::size_t(endColumn - firstColumn) * 4;
    for (int sourceRow = firstRow; sourceRow < endRow; ++sourceRow) {
        const int texelRow = h - 1 - (sourceRow - y);
        std::memcpy(&texels[texelIndex(firstColumn - x, texelRow, textureWidth)],
                    image.pixel(firstColumn, sourceRow), rowBytes);
    }
    return texels;
}

void bleedColours(Texels& texels, int width, int height) {
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            std::uint8_t* texel = &texels[texelIndex(column, row, width)];
            if (texel[3] != 0) continue;
            unsigned sum[3] = {0, 0, 0};
            unsigned counted = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int c = column + dx, r = row + dy;
                    if ((dx == 0 && dy == 0) || c < 1 || c > width - 2 || r < 1 || r > height - 2) continue;
                    const std::uint8_t* neighbour = &texels[texelIndex(c, r, width)];
                    if (neighbour[3] == 0) continue;
                    for (int channel = 0; channel < 3; ++channel) sum[channel] += neighbour[channel];
                    ++counted;
                }
            }
            for (int channel = 0; channel < 3; ++channel)
                texel[channel] = std::uint8_t(counted ? sum[channel] / counted : 0);
        }
    }
}

Texels normalMapOf(const Texels& texels, int width, int height) {
    Texels normals(texels.size());
    auto heightAt = [&](int column, int row) {
        column = (column % width + width) % width;
        row = (row % height + height) % height;
        return texels[texelIndex(column, row, width) + 2] / 255.0;
    };
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double upperLeft = heightAt(column - 1, row - 1), upper = heightAt(column, row - 1),
                         upperRight = heightAt(column + 1, row - 1), left = heightAt(column - 1, row),
                         right = heightAt(column + 1, row), lowerLeft = heightAt(column - 1, row + 1),
                         lower = heightAt(column, row + 1), lowerRight = heightAt(column + 1, row + 1);
            const double dx = (upperRight + right * 2 + lowerRight) - (upperLeft + left * 2 + lowerLeft);
            const double dy = (lowerLeft + lower * 2 + lowerRight) - (upperLeft + upper * 2 + upperRight);
            const double nx = -dx, ny = dy;
            const double scale = 1.0 / double(float(std::sqrt(nx * nx + ny * ny + 1.0)));
            std::uint8_t* out = &normals[texelIndex(column, row, width)];
            out[0] = std::uint8_t(int((nx * scale + 1.0) * 0.5 * 255.0));
            out[1] = std::uint8_t(int((ny * scale + 1.0) * 0.5 * 255.0));
            out[2] = std::uint8_t(int((scale + 1.0) * 0.5 * 255.0));
            out[3] = texels[texelIndex(column, row, width) + 3];
        }
    }
    return normals;
}

namespace {

// One row of the next level from two rows of this one; the last column has no right neighbour.
void averageRowPair(const std::uint8_t* above, const std::uint8_t* below, std::uint8_t* out, int nextWidth) {
    for (int column = 0; column < nextWidth - 1; ++column, out += 4, above += 8, below += 8) {
        out[0] = std::uint8_t((4u * above[0] + 2u * above[4] + 2u * below[4] + below[0]) / 9);
        out[1] = std::uint8_t((4u * above[1] + 2u * above[5] + 2u * below[5] + below[1]) / 9);
        out[2] = std::uint8_t((4u * above[2] + 2u * above[6] + 2u * below[6] + below[2]) / 9);
        out[3] = std::uint8_t((4u * above[3] + 2u * above[7] + 2u * below[7] + below[3]) / 9);
    }
    for (int channel = 0; channel < 4; ++channel) out[channel] = std::uint8_t((2u * above[channel] + below[channel]) / 3);
}

// The last row of the next level: no row below it.
void averageLastRow(const std::uint8_t* row, std::uint8_t* out, int nextWidth) {
    for (int column = 0; column < nextWidth - 1; ++column, out += 4, row += 8)
        for (int channel = 0; channel < 4; ++channel) out[channel] = std::uint8_t((2u * row[channel] + row[4 + channel]) / 3);
    for (int channel = 0; channel < 4; ++channel) out[channel] = row[channel];
}

} // namespace

// The weights are 4, 2, 2 and 1 over the texel, its right neighbour, the one below that and the
// one below the texel; edge texels use what the level has.
Texels nextMipLevel(const Texels& level, int width, int height, int& nextWidth, int& nextHeight) {
    nextWidth = std::max(width / 2, 1);
    nextHeight = std::max(height / 2, 1);
    Texels next(std::size_t(nextWidth) * std::size_t(nextHeight) * 4);
    const std::size_t rowBytes = std::size_t(width) * 4;
    for (int row = 0; row < nextHeight; ++row) {
        const std::uint8_t* above = &level[std::size_t(row) * 2 * rowBytes];
        std::uint8_t* out = &next[std::size_t(row) * std::size_t(nextWidth) * 4];
        if (row < nextHeight - 1)
            averageRowPair(above, above + rowBytes, out, nextWidth);
        else
            averageLastRow(above, out, nextWidth);
    }
    return next;
}

} // namespace tarvoke
