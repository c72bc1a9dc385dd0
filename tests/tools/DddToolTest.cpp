// tarvoke-ddd run as a child process: OBJ models converted and read back with the engine's own
// reader, "info" on model files, and clear errors for bad input.
#include <gtest/gtest.h>
#include <filesystem>
#include "graphics3d/ModelBytes.h"
#include "graphics3d/ModelFiles.h"
#include "platform/Process.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

const char crateObj[] =
    "# a box, partly\nmtllib crate.mtl\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vt 0 0\nvt 1 0\nvt 1 0.75\nvt 0 1\nvn 0 0 -1\n"
    "usemtl wood\nf 1/1/1 4/4/1 3/3/1 2/2/1\r\nf 5/1 6/2 7/3 8/4\n"
    "usemtl red\nf 1//1 2//1 6//1 5//1\nf -7 -6 -2\n";
const char crateMtl[] = "newmtl wood\nKd 0.8 0.8 0.8\nmap_Kd crate.png\nnewmtl red\nKd 1 0 0\n";

struct ToolResult {
    int exitCode = -1;
    std::string out, err;
};

class DddTool : public testing::Test {
protected:
    std::string at(const std::string& name) const { return temp.file(name); }

    ToolResult run(const std::vector<std::string>& arguments) {
        std::vector<std::string> command = {"/bin/sh", "-c", "exec \"$0\" \"$@\" >\"$OUT\" 2>\"$ERR\"", TARVOKE_DDD};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto process = platform::startProgram(command, {"OUT=" + at("out"), "ERR=" + at("err")});
        ToolResult result;
        EXPECT_TRUE(platform::waitProcess(process, 60000, result.exitCode));
        result.out = test::readFile(at("out"));
        result.err = test::readFile(at("err"));
        return result;
    }

    test::ScopedTempDir temp;
};

TEST_F(DddTool, ConvertsAnObjModelThatTheEngineLoads) {
    test::writeFile(at("crate.obj"), crateObj);
    test::writeFile(at("crate.mtl"), crateMtl);
    const ToolResult converted = run({"convert", at("crate.obj"), at("crate.ddd")});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_NE(converted.out.find("7 triangles"), std::string::npos) << converted.out;
    EXPECT_NE(converted.out.find("texture: crate.png"), std::string::npos) << converted.out;

    const std::string file = test::readFile(at("crate.ddd"));
    MeshObject mesh;
    ASSERT_EQ(readModel(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), mesh), ModelStatus::Loaded);
    ASSERT_TRUE(buildTriangles(mesh));
    const GrowableArray<ExpandedVertex>& corners = mesh.frames[0].triangles;
    ASSERT_EQ(corners.count(), 21u);
    struct Corner {
        std::size_t index;
        float x, y, z, u, v, normalZ;
        std::uint32_t colour;
    } expected[] = {
        {1, 0, 1, 0, 0, 1, -1, 0x00FFFFFF},      // the quad's fan; textured: white; v as in the OBJ
        {5, 1, 0, 0, 1, 0, -1, 0x00FFFFFF},
        {8, 1, 1, 1, 1, 0.75f, 1, 0x00FFFFFF},   // no normal given: the face's own
        {20, 1, 1, 1, 0, 0, 0, 0x000000FF},      // negative indices count back; normal (1, 0, 0)
    };
    for (const Corner& c : expected) {
        const ExpandedVertex& got = corners[c.index];
        EXPECT_FLOAT_EQ(got.position.x, c.x) << c.index;
        EXPECT_FLOAT_EQ(got.position.y, c.y) << c.index;
        EXPECT_FLOAT_EQ(got.position.z, c.z) << c.index;
        EXPECT_EQ(got.u, c.u) << c.index;
        EXPECT_EQ(got.v, c.v) << c.index;
        EXPECT_NEAR(got.normal.z, c.normalZ, 1e-6) << c.index;
        EXPECT_EQ(got.rawColour, c.colour) << c.index;
    }

    const ToolResult info = run({"info", at("crate.ddd")});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    for (const char* line : {"frames: 1\n", "vertices: 21 per frame (0 markers)\n", "colours: 2 (vertex colours)\n",
                             "frame 0: 7 triangles, bounds x 0 .. 1, y 0 .. 1, z 0 .. 1\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;

    test::writeFile(at("cube.txt"), test::textCube("1.0"));  // text models count their fan markers
    const ToolResult text = run({"info", at("cube.txt")});
    EXPECT_NE(text.out.find("30 per frame (6 markers)\nprimitives: 12 triangles per frame (markers: 0 triangle "
                            "lists, 0 strips, 6 fans)"), std::string::npos) << text.out;
}

TEST_F(DddTool, BadInputGivesAClearErrorAndWritesNothing) {
    test::writeFile(at("cut.ddd"), "DDDA 1.0 5");
    const std::vector<std::pair<std::string, std::string>> objs = {
        {"v 0 0 0\nf 1 2 3\n", "bad.obj:2: index 2 refers to nothing (1 defined)"},
        {"v 0 0 0\nv 1 0 0\nf 1 2\n", "bad.obj:3: a face needs at least 3 corners"},
        {"v 0 zero 0\n", "bad.obj:1: expected a number"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/x 2 3\n", "bad.obj:4: bad index 'x'"},
        {"# nothing\n", "bad.obj:1: no faces"},
    };
    for (const auto& [text, message] : objs) {
        test::writeFile(at("bad.obj"), text);
        const ToolResult result = run({"convert", at("bad.obj"), at("bad.ddd")});
        EXPECT_EQ(result.exitCode, 1) << message;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(at("bad.ddd")));
    }
    test::writeFile(at("tri.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const std::vector<std::tuple<std::vector<std::string>, std::string, int>> mistakes = {
        {{}, "no command given", 2},
        {{"frob"}, "unknown command 'frob'", 2},
        {{"info"}, "wrong number of arguments for info", 2},
        {{"convert", at("missing.obj"), at("x.ddd")}, "cannot read '" + at("missing.obj") + "'", 1},
        {{"convert", at("tri.obj"), at("no/such/folder.ddd")}, "cannot write", 1},
        {{"info", at("cut.ddd")}, "'" + at("cut.ddd") + "': damaged, or not a model file", 1},
    };
    for (const auto& [arguments, message, exitCode] : mistakes) {
        const ToolResult result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << message;
        EXPECT_EQ(result.err.rfind("tarvoke-ddd: " + message, 0), 0u) << result.err;
    }
}

} // namespace
} // namespace tarvoke
