// loadObject and saveObject on files in a temporary folder: slots, error-log lines, saving that
// never destroys an older file, and scenes with their textures from disk and from an archive.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <cmath>
#include <csignal>
#include <filesystem>
#include "graphics3d/Graphics3D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelBytes.h"
#include "graphics3d/SceneFiles.h"
#include "pack/ArchiveWriter.h"
#include "support/EngineTest.h"

namespace tarvoke {
namespace {

using test::Bytes;

ObjectSlot& slot(int id) { return kestrel3D->objects[std::size_t(id)]; }

// The object table alone: no window is needed to load and save models.
class ObjectCommands : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startGraphics3D()); }
    void TearDown() override { stopGraphics3D(); }

    std::string file(const std::string& name, const Bytes& bytes) {
        test::writeFile(temp.file(name), std::string(bytes.begin(), bytes.end()));
        return temp.file(name);
    }
    void load(const std::string& path, NumValue id) { loadObject(StrValue(path.c_str()), id); }
    std::string log() { return test::readFile(temp.file("ErrorLog.txt")); }

    test::ScopedTempDir temp;
};

TEST_F(ObjectCommands, DamagedFilesEmptyTheSlotAndLogWhy) {
    test::ModelSpec newer;
    newer.version = 1.03;
    Bytes cut = test::binaryCube();
    cut.resize(cut.size() - 1);
    struct Case {
        const char* name;
        Bytes bytes;
        const char* lines;
    } cases[] = {
        {"newer.ddd", test::binaryModel(newer), "Wrong .ddd version.\r\n# read error\r\n"},
        {"cut.ddd", cut, "# read error\r\n"},
        {"newer.txt", test::bytesOf("DDDA 1.2 0 0 0"), "Wrong .ddd version.\r\n# read error\r\n"},
        {"short.txt", test::bytesOf("DDDA 1.0 4 0 0"), "# read error\r\n"},
        {"empty.ddd", {}, "# read error\r\n"},
    };
    const std::string good = file("cube.ddd", test::binaryCube());
    for (const Case& c : cases) {
        load(good, 9);
        ASSERT_TRUE(slot(9).loaded && slot(9).meshes[0].normalsValid);
        std::filesystem::remove(temp.file("ErrorLog.txt"));
        load(file(c.name, c.bytes), 9);
        EXPECT_FALSE(slot(9).loaded) << c.name;
        EXPECT_TRUE(slot(9).meshes.empty()) << c.name;
        EXPECT_EQ(log(), c.lines + temp.file(c.name) + "\r\n");
    }
}

TEST_F(ObjectCommands, AMissingFileOrABadIdChangesNothing) {
    const std::string cube = file("cube.ddd", test::binaryCube());
    load(cube, 3);
    load(temp.file("missing.ddd"), 3);
    EXPECT_TRUE(slot(3).loaded);
    for (NumValue id : {4224.0, -1.0, 1e12, std::nan("")}) {
        load(cube, id);
        EXPECT_EQ(saveObject(temp.file("out.ddd").c_str(), id), 0) << id;
    }
    EXPECT_EQ(kestrel3D->objects.size(), 4224u);
    EXPECT_FALSE(slot(4223).loaded || slot(0).loaded);
    EXPECT_FALSE(test::fileExists(temp.file("out.ddd")));
    EXPECT_EQ(log(), "");
}

TEST_F(ObjectCommands, SavingThenLoadingGivesTheSameObject) {
    test::ModelSpec spec;  // a strip in two key frames, the second moved 4 along z
    spec.palette = {0x00FFFFFF, 0x00102030, 0xFFFFFFFE};
    spec.pairs = {{0.5f, 0.5f}, {1, 0}, {0, 1}, {1, 1}};
    test::FrameSpec frame;
    frame.vertices = {{0, 0, 0, 2, 2}, {9, 0, 0, 3, 0}, {0, 9, 0, 4, 1}, {9, 9, 0, 5, 0}};
    spec.frames = {frame, frame};
    spec.frames[1].offset[2] = -4;
    const Bytes original = test::binaryModel(spec);
    load(file("strip.ddd", original), 5);
    ASSERT_EQ(saveObject(temp.file("saved.ddd").c_str(), 5), 1);
    EXPECT_EQ(test::readFile(temp.file("saved.ddd")), std::string(original.begin(), original.end()));
    load(temp.file("saved.ddd"), 6);
    ASSERT_TRUE(slot(6).loaded);
    for (int f = 0; f < 2; ++f) {
        const Frame& loaded = slot(6).meshes[0].frames[std::size_t(f)];
        ASSERT_EQ(loaded.triangles.count(), 3u);
        EXPECT_EQ(loaded.triangles[1].position.y, 9.0f);
        EXPECT_EQ(loaded.triangles[1].position.z, f * 4.0f);
        EXPECT_EQ(loaded.triangles[1].v, -1.0f);  // pairs are shared by the frames
        EXPECT_EQ(loaded.centre.z, f * 4.0f);
        EXPECT_NEAR(loaded.radius, std::sqrt(45.0f), 1e-5);  // centre (6, 6); (9, 0) lies 3 and 6 away
    }

    // An empty slot saves as a model without frames, which loads back as a model of nothing.
    ASSERT_EQ(saveObject(temp.file("nothing.ddd").c_str(), 100), 1);
    load(temp.file("nothing.ddd"), 100);
    EXPECT_TRUE(slot(100).loaded);
    EXPECT_TRUE(slot(100).meshes[0].frames.empty());
}

// Saves slot 1 in a child whose files may not grow past 100 bytes; true when the save answered 0
// and left the older file and nothing else in its folder.
bool childSaveFailsAndKeepsTheOldFile(const std::string& folder) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const NumValue saved = saveObject((folder + "/old.ddd").c_str(), 1);
        const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
        _exit(saved == 0 && test::readFile(folder + "/old.ddd") == "older" && entries == 1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ObjectCommands, AFailedSaveAnswersZeroAndKeepsTheOlderFile) {
    load(file("cube.ddd", test::binaryCube()), 1);
    EXPECT_EQ(saveObject(temp.file("missing/cube.ddd").c_str(), 1), 0);
    EXPECT_EQ(saveObject(temp.path().c_str(), 1), 0);  // a folder is in the way
    std::filesystem::create_directory(temp.file("saves"));
    test::writeFile(temp.file("saves/old.ddd"), "older");
    EXPECT_TRUE(childSaveFailsAndKeepsTheOldFile(temp.file("saves")));
    EXPECT_EQ(saveObject(temp.file("saves\\old.ddd").c_str(), 1), 1);
    EXPECT_EQ(test::readFile(temp.file("saves/old.ddd")).size(), test::binaryCube().size());
}

TEST(SceneIni, ReadsSectionsAndKeysByTheIniRules) {
    const std::string text = "lone = before any header\r\n  ; a comment\n[Empty]\n[  My Section]\nkey=\n"
                             "key = value \x01\xE9\r\n" + std::string(1030, 'k') + "=cut\n";
    const std::vector<SceneIniSection> sections = parseSceneIni(test::bytesOf(text).data(), text.size());
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].keys[0], std::make_pair(std::string("lone"), std::string("before any header")));
    EXPECT_EQ(sections[1].name, "My");  // "[Empty]" had no keys; the empty value was skipped
    ASSERT_EQ(sections[1].keys.size(), 2u);
    EXPECT_EQ(sections[1].keys[0].second, "value ");  // trailing control bytes and bytes of 128 up go
    EXPECT_EQ(sections[1].keys[1].first, "kkkkkk");    // a line ends after 1024 bytes
}

// Scenes load pictures, so they need the engine's GL context.
class Scenes : public test::EngineTest {
protected:
    Scenes() {
        std::filesystem::create_directory(temp.file("models"));
        bmp("models/red.bmp", 4, 4, test::filled(4, 4, {255, 0, 0}));
        bmp("models/blue.bmp", 8, 2, test::filled(8, 2, {0, 0, 255}));
        write("models/cube.ddd", test::binaryCube());
        write("models/cube.txt", test::bytesOf(test::textCube("1.0")));
        write("models/broken.ddd", test::bytesOf("DDDA 1.0 9"));
    }
    void write(const std::string& name, const Bytes& bytes) {
        test::writeFile(temp.file(name), std::string(bytes.begin(), bytes.end()));
    }
    static GLint textureWidth(const GlTexture& texture) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture.name());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }
};

const char sceneText[] =
    ";DDW test scene\n[textures]\ncount = 3\n1 = red.bmp\n2 = missing.bmp\n3 = blue.bmp\n4 = red.bmp\n"
    "[objects]\ncount=3\n1=cube.ddd\n1ta=3\n1tb=-1\n2=cube.txt\n2ta=1.6\n3=broken.ddd\n3TB=0.4\n"
    "[Objects]\n1=broken.ddd\n";

TEST_F(Scenes, TexturesAndMeshesLoadRelativeToTheSceneFile) {
    write("models/scene.ddw", test::bytesOf(sceneText));
    loadObject((temp.path() + "/models/scene.ddw").c_str(), 7);
    const ObjectSlot& scene = slot(7);
    ASSERT_TRUE(scene.loaded);
    EXPECT_TRUE(scene.isScene);
    ASSERT_EQ(scene.textures.size(), 3u);  // entry 4 lies past the count
    EXPECT_EQ(textureWidth(scene.textures[0].texture), 4);
    EXPECT_FALSE(scene.textures[1].texture.exists());  // a missing picture keeps its place
    EXPECT_EQ(textureWidth(scene.textures[2].mipmapped), 8);
    ASSERT_EQ(scene.meshes.size(), 3u);
    struct Expected {
        std::size_t corners;
        int first, second;
    } expected[] = {{36, 2, -1}, {36, 1, 0}, {0, 0, 0}};  // a missing "tb" reads as 0
    for (std::size_t i = 0; i < 3; ++i) {
        const MeshObjectX& mesh = scene.meshes[i];
        EXPECT_EQ(mesh.frames.empty() ? 0 : mesh.frames[0].triangles.count(), expected[i].corners) << i;
        EXPECT_EQ(mesh.firstTexture, expected[i].first) << i;
        EXPECT_EQ(mesh.secondTexture, expected[i].second) << i;
    }
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "# read error\r\n" + temp.file("models/broken.ddd") + "\r\n");

    // Reloading the slot deletes the scene's textures.
    const GLuint red = scene.textures[0].texture.name();
    loadObject((temp.path() + "/models/cube.ddd").c_str(), 7);
    EXPECT_FALSE(glIsTexture(red));
    EXPECT_TRUE(slot(7).textures.empty());
    EXPECT_FALSE(slot(7).isScene);
}

TEST_F(Scenes, AScenePackedInAnArchiveFindsItsFilesThere) {
    std::vector<pack::PackMember> members;
    for (const char* name : {"scene.ddw", "red.bmp", "cube.ddd"}) {
        const std::string bytes = name == std::string("scene.ddw") ? sceneText : test::readFile(temp.file(std::string("models/") + name));
        members.push_back({name, Bytes(bytes.begin(), bytes.end())});
    }
    write("media.pak", pack::buildStandaloneArchive(members));
    setArchive(temp.file("media.pak").c_str(), "");
    loadObject("packed/scene.ddw", 8);
    ASSERT_TRUE(slot(8).loaded);
    EXPECT_TRUE(slot(8).textures[0].texture.exists());
    EXPECT_FALSE(slot(8).textures[2].texture.exists());
    EXPECT_EQ(slot(8).meshes[0].frames[0].triangles.count(), 36u);
    EXPECT_TRUE(slot(8).meshes[1].frames.empty());
}

} // namespace
} // namespace tarvoke
