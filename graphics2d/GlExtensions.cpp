#include "graphics2d/GlExtensions.h"
#include <cstring>
#include "platform/Video.h"

namespace tarvoke {

GlEntryPoints glExt;

namespace {

template <typename Function>
void load(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(platform::glProcAddress(name));
}

const char* glExtensionString() {
    return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
}

void loadMultitextureAndBuffers() {
    load(glExt.activeTexture, "glActiveTextureARB");
    load(glExt.multiTexCoord2f, "glMultiTexCoord2fARB");
    load(glExt.clientActiveTexture, "glClientActiveTextureARB");
    load(glExt.genBuffers, "glGenBuffersARB");
    load(glExt.bindBuffer, "glBindBufferARB");
    load(glExt.bufferData, "glBufferDataARB");
    load(glExt.deleteBuffers, "glDeleteBuffersARB");
    load(glExt.mapBuffer, "glMapBufferARB");
    load(glExt.unmapBuffer, "glUnmapBufferARB");
    load(glExt.getBufferParameteriv, "glGetBufferParameterivARB");
}

void loadShaderObjects() {
    load(glExt.createProgramObject, "glCreateProgramObjectARB");
    load(glExt.deleteObject, "glDeleteObjectARB");
    load(glExt.createShaderObject, "glCreateShaderObjectARB");
    load(glExt.shaderSource, "glShaderSourceARB");
    load(glExt.compileShader, "glCompileShaderARB");
    load(glExt.getObjectParameteriv, "glGetObjectParameterivARB");
    load(glExt.attachObject, "glAttachObjectARB");
    load(glExt.getInfoLog, "glGetInfoLogARB");
    load(glExt.linkProgram, "glLinkProgramARB");
    load(glExt.useProgramObject, "glUseProgramObjectARB");
    load(glExt.getUniformLocation, "glGetUniformLocationARB");
    load(glExt.uniform1f, "glUniform1fARB");
    load(glExt.uniform1i, "glUniform1iARB");
}

} // namespace

void loadExtensionEntryPoints() {
    const char* extensions = glExtensionString();
    if (!extensions) return;
    if (std::strstr(extensions, "GL_ARB_multitexture")) loadMultitextureAndBuffers();
    // Shader objects are probed through the fragment-program extension, which every driver
    // offering them also names.
    if (std::strstr(extensions, "GL_ARB_fragment_program")) loadShaderObjects();
}

void loadFramebufferFunctions() {
    load(glExt.bindRenderbuffer, "glBindRenderbufferEXT");
    load(glExt.deleteRenderbuffers, "glDeleteRenderbuffersEXT");
    load(glExt.genRenderbuffers, "glGenRenderbuffersEXT");
    load(glExt.renderbufferStorage, "glRenderbufferStorageEXT");
    load(glExt.bindFramebuffer, "glBindFramebufferEXT");
    load(glExt.deleteFramebuffers, "glDeleteFramebuffersEXT");
    load(glExt.genFramebuffers, "glGenFramebuffersEXT");
    load(glExt.checkFramebufferStatus, "glCheckFramebufferStatusEXT");
    load(glExt.framebufferTexture2D, "glFramebufferTexture2DEXT");
    load(glExt.framebufferRenderbuffer, "glFramebufferRenderbufferEXT");
}

void clearExtensionEntryPoints() { glExt = GlEntryPoints{}; }

void clearShaderEntryPoints() {
    const GlEntryPoints none;
    glExt.createProgramObject = none.createProgramObject;
    glExt.deleteObject = none.deleteObject;
    glExt.createShaderObject = none.createShaderObject;
    glExt.shaderSource = none.shaderSource;
    glExt.compileShader = none.compileShader;
    glExt.getObjectParameteriv = none.getObjectParameteriv;
    glExt.attachObject = none.attachObject;
    glExt.getInfoLog = none.getInfoLog;
    glExt.linkProgram = none.linkProgram;
    glExt.useProgramObject = none.useProgramObject;
    glExt.getUniformLocation = none.getUniformLocation;
    glExt.uniform1f = none.uniform1f;
    glExt.uniform1i = none.uniform1i;
}

bool extensionListHas(const char* list, const std::string& name) {
    if (!list || name.empty() || name.find(' ') != std::string::npos) return false;
    const std::size_t size = name.size();
    for (const char* at = std::strstr(list, name.c_str()); at; at = std::strstr(at + 1, name.c_str())) {
        bool startsWord = at == list || at[-1] == ' ';
        bool endsWord = at[size] == ' ' || at[size] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

bool hasExtension(const std::string& name) {
    std::string windowSystem = platform::windowSystemExtensions();
    return extensionListHas(windowSystem.c_str(), name) || extensionListHas(glExtensionString(), name);
}

} // namespace tarvoke
