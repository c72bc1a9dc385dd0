// Shader slots on llvmpipe: loading, selecting, uniforms, logs, and a driver without shaders.
#define GL_GLEXT_PROTOTYPES  // glIsProgram and glIsShader, to see that objects were deleted
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>
#include "graphics3d/Kestrel3D.h"
#include "graphics2d/GlExtensions.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

const char solidRed[] = "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n";
const char levelled[] = "uniform float level;\nvoid main() { gl_FragColor = vec4(level, 0.0, 0.0, 1.0); }\n";
const char broken[] = "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0 }\n";
const char keepPosition[] = "void main() { gl_Position = ftransform(); }\n";

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

int redAt(int x, int y) { return test::readPixel(x, y)[0]; }

class Shaders : public testing::Test {
protected:
    std::string source(const std::string& name, const char* text) {
        test::writeFile(temp.file(name), text);
        return temp.file(name);
    }
    NumValue load(NumValue slot, const std::string& vertex, const std::string& fragment) {
        return loadShader(slot, StrValue(vertex.c_str()), StrValue(fragment.c_str()));
    }
    std::string log() { return test::readFile(temp.file("ErrorLog.txt")); }

    test::ScopedTempDir temp;
    test::EngineRun engine;
};

TEST_F(Shaders, AFragmentShaderAloneLinksAndColoursWhatIsDrawn) {
    ASSERT_EQ(load(0, "", source("red.frag", solidRed)), 1);
    const ShaderSlot& slot = kestrel3D->shaders[0];
    EXPECT_NE(slot.program, 0u);
    EXPECT_EQ(slot.vertexShader, 0u);
    glClear(GL_COLOR_BUFFER_BIT);
    setShader(0);
    EXPECT_EQ(GLuint(currentProgram()), slot.program);
    drawRect(10, 10, 4, 4, 0x00FF00);  // green, but the shader paints red
    EXPECT_EQ(redAt(11, 11), 255);
    EXPECT_EQ(test::readPixel(11, 11)[1], 0);
    setShader(-1);
    drawRect(20, 10, 4, 4, 0x00FF00);
    EXPECT_EQ(redAt(21, 11), 0);
    EXPECT_EQ(load(1, source("position.vert", keepPosition), source("red2.frag", solidRed)), 1);
    EXPECT_NE(kestrel3D->shaders[1].vertexShader, 0u);
}

TEST_F(Shaders, SlotsOutsideTheTableAreRefusedAndChangeNothing) {
    const std::string red = source("red.frag", solidRed);
    EXPECT_EQ(load(255, "", red), 0);
    EXPECT_EQ(load(-1, "", red), 0);
    for (const ShaderSlot& slot : kestrel3D->shaders) EXPECT_EQ(slot.program, 0u);
    EXPECT_EQ(load(0, "", temp.file("missing.frag")), 0);  // neither stage: no program
    EXPECT_EQ(kestrel3D->shaders[0].program, 0u);
}

TEST_F(Shaders, ReloadingASlotDeletesItsOldObjects) {
    ASSERT_EQ(load(3, "", source("red.frag", solidRed)), 1);
    const ShaderSlot first = kestrel3D->shaders[3];
    ASSERT_TRUE(glIsProgram(first.program));
    ASSERT_EQ(load(3, "", source("level.frag", levelled)), 1);
    EXPECT_FALSE(glIsProgram(first.program));
    EXPECT_FALSE(glIsShader(first.fragmentShader));
}

TEST_F(Shaders, UniformsReachTheActiveProgramUntilTheFrameEnds) {
    ASSERT_EQ(load(0, "", source("level.frag", levelled)), 1);
    setShader(0);
    setShaderUniform("level", 0.5);
    setShaderUniform("no such uniform", 1.0);  // ignored
    glClear(GL_COLOR_BUFFER_BIT);
    drawRect(0, 0, 4, 4, 0xFFFFFF);
    EXPECT_NEAR(redAt(1, 1), 128, 1);
    showScreen();  // every frame starts without a shader
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(kestrel3D->currentShader, -1);
    drawRect(0, 0, 4, 4, 0x0000FF);
    EXPECT_EQ(redAt(1, 1), 255);
    setShaderUniform("level", 0.1);  // no shader active: nothing happens
    setShader(300);
    EXPECT_EQ(currentProgram(), 0);
}

TEST_F(Shaders, CompileAndLinkLogsGoToTheErrorLog) {
    EXPECT_EQ(load(0, "", source("broken.frag", broken)), 0);
    const std::string text = log();
    EXPECT_NE(text.find("error"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(kestrel3D->shaders[0].fragmentShader, 0u);  // kept though it failed
}

TEST_F(Shaders, InDebugModeLogsGoToTheDebuggerInstead) {
    projectSettings.debugMode = 1;
    testing::internal::CaptureStderr();
    load(0, "", source("broken.frag", broken));
    const std::string sent = testing::internal::GetCapturedStderr();
    projectSettings.debugMode = 0;
    EXPECT_NE(sent.find("error"), std::string::npos);
    EXPECT_EQ(log(), "");
}

TEST_F(Shaders, WithoutShaderSupportLoadsFailAndSayItOnce) {
    clearShaderEntryPoints();
    const std::string red = source("red.frag", solidRed);
    EXPECT_EQ(load(0, "", red), 0);
    EXPECT_EQ(load(1, "", red), 0);
    EXPECT_EQ(log(), "No OpenGL 2.0 Shader Support\r\n");
    setShader(0);  // does nothing, not even remembering the slot
    EXPECT_EQ(kestrel3D->currentShader, -1);
    setShaderUniform("level", 1.0);
    glClear(GL_COLOR_BUFFER_BIT);
    drawRect(0, 0, 4, 4, 0x00FF00);
    EXPECT_EQ(test::readPixel(1, 1)[1], 255);
}

} // namespace
} // namespace tarvoke
