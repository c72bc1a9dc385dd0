// The OpenGL extension entry points the engine calls beyond OpenGL 1.1, loaded by their exact
// names after the context exists. An entry point the driver lacks stays null, and every user
// checks it before the call and falls back.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>
#include <string>

namespace tarvoke {

struct GlEntryPoints {
    // Multitexture and vertex buffers (ARB)
    PFNGLACTIVETEXTUREARBPROC activeTexture = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC multiTexCoord2f = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC clientActiveTexture = nullptr;
    PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
    PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAARBPROC bufferData = nullptr;
    PFNGLDELETEBUFFERSARBPROC deleteBuffers = nullptr;
    PFNGLMAPBUFFERARBPROC mapBuffer = nullptr;
    PFNGLUNMAPBUFFERARBPROC unmapBuffer = nullptr;
    PFNGLGETBUFFERPARAMETERIVARBPROC getBufferParameteriv = nullptr;
    // Shader objects (ARB)
    PFNGLCREATEPROGRAMOBJECTARBPROC createProgramObject = nullptr;
    PFNGLDELETEOBJECTARBPROC deleteObject = nullptr;
    PFNGLCREATESHADEROBJECTARBPROC createShaderObject = nullptr;
    PFNGLSHADERSOURCEARBPROC shaderSource = nullptr;
    PFNGLCOMPILESHADERARBPROC compileShader = nullptr;
    PFNGLGETOBJECTPARAMETERIVARBPROC getObjectParameteriv = nullptr;
    PFNGLATTACHOBJECTARBPROC attachObject = nullptr;
    PFNGLGETINFOLOGARBPROC getInfoLog = nullptr;
    PFNGLLINKPROGRAMARBPROC linkProgram = nullptr;
    PFNGLUSEPROGRAMOBJECTARBPROC useProgramObject = nullptr;
    PFNGLGETUNIFORMLOCATIONARBPROC getUniformLocation = nullptr;
    PFNGLUNIFORM1FARBPROC uniform1f = nullptr;
    PFNGLUNIFORM1IARBPROC uniform1i = nullptr;
    // Framebuffer objects (EXT)
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;

    bool hasShaderObjects() const { return createProgramObject && createShaderObject && useProgramObject; }
};

extern GlEntryPoints glExt;  // process-wide, filled by window creation

// Loads the multitexture/vertex-buffer and shader groups, each only when the extension string
// names it (a plain substring search, as drivers have always been probed).
void loadExtensionEntryPoints();
// Loads the framebuffer-object group; each entry may stay null.
void loadFramebufferFunctions();
// Forgets every entry point, as on a driver that offers none.
void clearExtensionEntryPoints();
// Forgets the shader-object entry points only, as on a driver without shaders.
void clearShaderEntryPoints();

// True when `name` is a whole blank-separated word of the window system's extension string
// (GLX or EGL) or of the GL extension string.
bool hasExtension(const std::string& name);
// Whole-word search in a given extension string.
bool extensionListHas(const char* list, const std::string& name);

} // namespace tarvoke
