// Shader programs: GLSL sources compiled and linked into numbered slots through the ARB
// shader-object entry points; one slot at a time applies to all drawing.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "graphics3d/Kestrel3D.h"
#include "graphics2d/GlExtensions.h"
#include "platform/Files.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

bool supportMessagePending = true;  // "No OpenGL 2.0 Shader Support" is reported once a run

bool isSlot(int index) { return std::uint32_t(index) < std::uint32_t(shaderSlotCount); }

// The whole file, or nothing when it is missing, unreadable or shorter than its size says.
// Shader files are read straight from the disk, relative to the current folder.
bool readSource(const StrValue& fileName, std::string& source) {
    const std::string path = platform::nativePath(fileName.cStr());
    if (path.empty()) return false;
    const platform::FileHandle file = platform::openFileForReading(path);
    if (!file) return false;
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) text.append(buffer, got);
    if (std::ferror(file.get())) return false;
    source = std::move(text);
    return true;
}

void reportInfoLog(GLhandleARB object) {
    GLint length = 0;
    glExt.getObjectParameteriv(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    std::vector<GLcharARB> log(std::size_t(std::max(length, 1)), '\0');
    if (length > 0) glExt.getInfoLog(object, length, nullptr, log.data());
    reportToErrorLogHook(log.data());
}

// Compiles one stage into `handle`; a failed compile is logged and the object kept.
void compileStage(GLenum type, const StrValue& fileName, GLhandleARB& handle) {
    std::string source;
    if (!readSource(fileName, source)) return;
    handle = glExt.createShaderObject(type);
    const GLcharARB* text = source.c_str();
    glExt.shaderSource(handle, 1, &text, nullptr);
    glExt.compileShader(handle);
    GLint compiled = 0;
    glExt.getObjectParameteriv(handle, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (!compiled) reportInfoLog(handle);
}

bool linkSlot(ShaderSlot& slot) {
    slot.program = glExt.createProgramObject();
    if (slot.vertexShader) glExt.attachObject(slot.program, slot.vertexShader);
    if (slot.fragmentShader) glExt.attachObject(slot.program, slot.fragmentShader);
    glExt.linkProgram(slot.program);
    GLint linked = 0;
    glExt.getObjectParameteriv(slot.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) reportInfoLog(slot.program);
    return linked != 0;
}

bool canCompileShaders() {
    return glExt.createShaderObject && glExt.compileShader && glExt.linkProgram && glExt.shaderSource &&
           glExt.getObjectParameteriv && glExt.getInfoLog && glExt.createProgramObject && glExt.attachObject;
}

} // namespace

NumValue loadShader(NumValue slotIndex, const StrValue& vertexFile, const StrValue& fragmentFile) {
    const int index = toInt(slotIndex);
    if (!kestrel3D || !isSlot(index)) return 0;
    if (!canCompileShaders()) {
        if (supportMessagePending) {
            supportMessagePending = false;
            reportToErrorLogHook("No OpenGL 2.0 Shader Support");
        }
        return 0;
    }
    ShaderSlot& slot = kestrel3D->shaders[std::size_t(index)];
    kestrel3D->clearShaderSlot(slot);
    compileStage(GL_VERTEX_SHADER_ARB, vertexFile, slot.vertexShader);
    compileStage(GL_FRAGMENT_SHADER_ARB, fragmentFile, slot.fragmentShader);
    if (!slot.vertexShader && !slot.fragmentShader) return 0;
    return linkSlot(slot) ? 1 : 0;
}

void setShader(NumValue slotIndex) {
    if (!kestrel3D || !glExt.useProgramObject) return;
    const int index = toInt(slotIndex);
    kestrel3D->currentShader = index;
    glExt.useProgramObject(isSlot(index) ? kestrel3D->shaders[std::size_t(index)].program : 0);
}

void setShaderUniform(const StrValue& name, NumValue value) {
    if (!kestrel3D || !isSlot(kestrel3D->currentShader) || !glExt.getUniformLocation || !glExt.uniform1f) return;
    const GLhandleARB program = kestrel3D->shaders[std::size_t(kestrel3D->currentShader)].program;
    const GLint location = glExt.getUniformLocation(program, name.cStr());
    if (location != -1) glExt.uniform1f(location, float(value));
}

} // namespace tarvoke
