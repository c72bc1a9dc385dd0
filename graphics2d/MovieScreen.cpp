// The window while a movie plays: the frame the game was drawing and every piece of drawing
// state are kept aside, each picture is uploaded into one texture and stretched by GL into its
// rectangle, and afterwards the frame and the state come back exactly as they were.
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>
#include "graphics2d/GlExtensions.h"
#include "graphics2d/GlTexture.h"
#include "graphics2d/Graphics2D.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {
namespace {

// Pictures larger than this are made smaller before upload, which bounds the memory a movie
// can ask for whatever its file claims.
constexpr int largestMovieSide = 4096;

struct MovieScreen {
    GlTexture texture;
    int pictureWidth = 0, pictureHeight = 0;
    int textureWidth = 0, textureHeight = 0;
    int frameWidth = 0, frameHeight = 0;
    std::vector<std::uint8_t> keptFrame;    // the back buffer as it was, RGBA, bottom row first
    std::array<GLdouble, 16> projection{}, modelview{}, textureMatrix{};
    GLint framebuffer = 0;                  // where drawing went: a framebuffer object or 0
    GLint program = 0;                      // the shader program in use, 0 for none
};

std::unique_ptr<MovieScreen> movie;

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

// Same shape, within limit x limit, never below 1 x 1.
void fitWithin(int& width, int& height, int limit) {
    if (width <= limit && height <= limit) return;
    const double scale = std::min(double(limit) / width, double(limit) / height);
    width = std::clamp(int(width * scale), 1, limit);
    height = std::clamp(int(height * scale), 1, limit);
}

void useUnit(GLenum unit) {
    if (glExt.activeTexture) glExt.activeTexture(unit);
}

void keepState(MovieScreen& screen) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    useUnit(GL_TEXTURE0_ARB);
    glGetDoublev(GL_PROJECTION_MATRIX, screen.projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, screen.modelview.data());
    glGetDoublev(GL_TEXTURE_MATRIX, screen.textureMatrix.data());
    if (glExt.bindFramebuffer) {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &screen.framebuffer);
        glExt.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    }
    if (glExt.useProgramObject) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &screen.program);
        glExt.useProgramObject(0);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    screen.keptFrame.resize(std::size_t(screen.frameWidth) * std::size_t(screen.frameHeight) * 4);
    glReadPixels(0, 0, screen.frameWidth, screen.frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, screen.keptFrame.data());
}

void restoreState(MovieScreen& screen) {
    useUnit(GL_TEXTURE0_ARB);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixd(screen.textureMatrix.data());
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(screen.projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(screen.modelview.data());
    if (glExt.useProgramObject) glExt.useProgramObject(GLhandleARB(screen.program));
    if (glExt.bindFramebuffer) glExt.bindFramebuffer(GL_FRAMEBUFFER_EXT, GLuint(screen.framebuffer));
    glPopClientAttrib();
    glPopAttrib();
}

// Pixels go through as they are: no blending, test, texture or mask changes them.
void plainFragments() {
    const GLenum off[] = {GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_CULL_FACE, GL_FOG,
                          GL_LIGHTING, GL_SCISSOR_TEST, GL_COLOR_MATERIAL, GL_DITHER, GL_COLOR_LOGIC_OP,
                          GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T};
    for (GLenum capability : off) glDisable(capability);
    if (glExt.activeTexture) {
        useUnit(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        useUnit(GL_TEXTURE0_ARB);
    }
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void windowPixelSpace(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool makeTexture(MovieScreen& screen) {
    const bool anySize = hasExtension("GL_ARB_texture_non_power_of_two");
    screen.textureWidth = anySize ? screen.pictureWidth : powerOfTwoAtLeast(screen.pictureWidth);
    screen.textureHeight = anySize ? screen.pictureHeight : powerOfTwoAtLeast(screen.pictureHeight);
    while (glGetError() != GL_NO_ERROR) {  // an error left by earlier drawing is not the texture's
    }
    glBindTexture(GL_TEXTURE_2D, screen.texture.generate());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    screen.texture.applyFilter(GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, screen.textureWidth, screen.textureHeight, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    glEnable(GL_TEXTURE_2D);
    return glGetError() == GL_NO_ERROR;
}

// The kept frame goes back to the lower-left corner, pixel for pixel.
void putBackFrame(const MovieScreen& screen) {
    glViewport(0, 0, screen.frameWidth, screen.frameHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glRasterPos2f(-1.0f, -1.0f);
    glDrawPixels(screen.frameWidth, screen.frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, screen.keptFrame.data());
}

} // namespace

bool beginMovieScreen(int& pictureWidth, int& pictureHeight) {
    endMovieScreen();
    if (!hasMainWindow() || pictureWidth <= 0 || pictureHeight <= 0) return false;
    const int limit = std::min(largestTextureSide(), largestMovieSide);
    if (limit <= 0) return false;
    fitWithin(pictureWidth, pictureHeight, limit);
    auto screen = std::make_unique<MovieScreen>();
    screen->pictureWidth = pictureWidth;
    screen->pictureHeight = pictureHeight;
    screen->frameWidth = openGLKestrel->main.screenWidth;
    screen->frameHeight = openGLKestrel->main.screenHeight;
    keepState(*screen);
    movie = std::move(screen);
    plainFragments();
    windowPixelSpace(movie->frameWidth, movie->frameHeight);
    if (!makeTexture(*movie)) {
        endMovieScreen();
        return false;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void showMoviePicture(const std::uint8_t* bgra, int rowBytes, int x, int y, int width, int height) {
    if (!movie) return;
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowBytes / 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, movie->pictureWidth, movie->pictureHeight, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    const float s = float(movie->pictureWidth) / float(movie->textureWidth);
    const float t = float(movie->pictureHeight) / float(movie->textureHeight);
    const float left = float(x), top = float(y), right = float(x + width), bottom = float(y + height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(left, top);
    glTexCoord2f(0, t);
    glVertex2f(left, bottom);
    glTexCoord2f(s, t);
    glVertex2f(right, bottom);
    glTexCoord2f(s, 0);
    glVertex2f(right, top);
    glEnd();
    swapFrame();
}

void endMovieScreen() {
    if (!movie) return;
    if (hasMainWindow()) {
        movie->texture.reset();
        putBackFrame(*movie);
        restoreState(*movie);
    }
    movie.reset();
}

} // namespace tarvoke
