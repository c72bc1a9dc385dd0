// A named pipe given where a file is expected fails at once: no reader or lookup waits in the
// system for a writer that never comes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <functional>
#include <future>
#include "files/ArchiveReader.h"
#include "files/ArchiveSlot.h"
#include "graphics2d/ImageFiles.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

class NamedPipe : public ::testing::Test {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);  // a writer let through below must not end the test
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    }

    // Runs the call on its own thread; when it has not returned after two seconds, the pipe is
    // opened from the other end so that the call (and the test) can still finish.
    bool returnsAtOnce(const std::function<void()>& call) {
        auto done = std::async(std::launch::async, call);
        if (done.wait_for(std::chrono::seconds(2)) == std::future_status::ready) return true;
        while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            const int end = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
            if (end >= 0) close(end);
        }
        return false;
    }

    test::ScopedTempDir temp;
    std::string pipe = temp.file("pipe.png");
};

TEST_F(NamedPipe, PictureReadersAndWritersRefuseIt) {
    Image image;
    bool read = true;
    EXPECT_TRUE(returnsAtOnce([&] { read = readImageFile(image, pipe, noColourKey); }));
    EXPECT_FALSE(read);
    const std::uint8_t bgr[3] = {1, 2, 3};
    bool written = true;
    EXPECT_TRUE(returnsAtOnce([&] { written = writeImageFile(pipe, bgr, 1, 1, 1, KeyProbe{}); }));
    EXPECT_FALSE(written);
}

TEST_F(NamedPipe, TheLookupAndTheArchiveReaderRefuseIt) {
    StrValue path;
    bool found = true;
    EXPECT_TRUE(returnsAtOnce([&] { found = resolveFile(nullptr, StrValue(pipe.c_str()), path); }));
    EXPECT_FALSE(found);

    ArchiveSlot slot;
    resetArchiveSlot(slot, pipe);
    EXPECT_TRUE(returnsAtOnce([&] { found = resolveFile(&slot, StrValue("hero.png"), path); }));
    EXPECT_FALSE(found);
    EXPECT_FALSE(slot.enabled);

    ArchiveReader reader;
    ArchiveReader::OpenResult opened = ArchiveReader::OpenResult::Opened;
    EXPECT_TRUE(returnsAtOnce([&] { opened = reader.open(pipe); }));
    EXPECT_EQ(opened, ArchiveReader::OpenResult::Unopenable);
}

} // namespace
} // namespace tarvoke
