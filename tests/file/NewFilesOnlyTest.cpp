#include <gtest/gtest.h>

#include <cerrno>

#include "FileTestSupport.h"
#include "file/AtomicFile.h"
#include "file/DeferredFlush.h"
#include "file/NewFilesOnly.h"

namespace {

// Under a NewFilesOnly a save does not look at its name before writing, so a name taken between
// Open and Commit must make Commit fail rather than replace what took it: for the unnamed file
// a thread gets first and for the named one the next gets while the first is open.
TEST(NewFilesOnly, ASaveCreatesItsFileButNeverReplacesANameTakenMeanwhile) {
    TempDir dir;
    const DeferredFlush deferred;
    const NewFilesOnly fresh;
    AtomicFile unnamed;
    AtomicFile named;
    ASSERT_TRUE(unnamed.Open(dir / "a.txt"));
    ASSERT_TRUE(named.Open(dir / "b.txt"));
    for (AtomicFile* file : {&unnamed, &named}) {
        ASSERT_TRUE(file->Write("new", 3));
        ASSERT_TRUE(file->Finish());
    }
    for (const char* name : {"a.txt", "b.txt"}) WriteBytes(dir / name, "taken");
    for (AtomicFile* file : {&unnamed, &named}) {
        EXPECT_FALSE(file->Commit());
        EXPECT_EQ(file->Error(), EEXIST);
        file->Discard();
    }
    EXPECT_EQ(ReadBytes(dir / "a.txt"), "taken");
    EXPECT_EQ(ReadBytes(dir / "b.txt"), "taken");

    AtomicFile free;
    ASSERT_TRUE(free.Open(dir / "c.txt"));
    ASSERT_TRUE(free.Write("new", 3));
    ASSERT_TRUE(free.Finish());
    ASSERT_TRUE(free.Commit());
    EXPECT_EQ(ReadBytes(dir / "c.txt"), "new");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
}

}  // namespace
