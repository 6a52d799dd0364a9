#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "FileTestSupport.h"
#include "file/AtomicFile.h"
#include "file/DeferredFlush.h"

namespace {

// Saves made under a DeferredFlush create a new file and replace an old one (keeping its
// permission bits) as any save does, but no temporary name ever shows in the folder: the files
// have none until they are linked into place. The folder's file system is then flushed at once.
TEST(DeferredFlush, SavesCreateAndReplaceWithoutTemporaryNames) {
    TempDir dir;
    WriteBytes(dir / "old.txt", "old text");
    ASSERT_EQ(::chmod((dir / "old.txt").c_str(), 0640), 0);
    FileSystemFlush flush(dir.path().string());
    {
        const DeferredFlush deferred;
        for (const char* name : {"old.txt", "new.txt"}) {
            SCOPED_TRACE(name);
            AtomicFile file;
            ASSERT_TRUE(file.Open(dir / name));
            const std::string text = std::string("new text of ") + name;
            ASSERT_TRUE(file.Write(text.data(), text.size()));
            ASSERT_TRUE(file.Finish());
            EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.txt"});
            ASSERT_TRUE(file.Commit());
            EXPECT_EQ(ReadBytes(dir / name), text);
        }
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"new.txt", "old.txt"}));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "old.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_TRUE(flush.Flush()) << flush.Error();
    EXPECT_FALSE(DeferredFlush::Active());
}

// A deferred save does not look at the folder before it creates its file there, yet a folder
// that is missing, or a file in place of one, gives the error a save always gave.
TEST(DeferredFlush, OpenInAFolderThatIsNoneFailsAsAnySave) {
    TempDir dir;
    WriteBytes(dir / "plain", "a file");
    const struct {
        const char* target;
        int error;
    } cases[] = {{"missing/new.txt", ENOENT}, {"plain/new.txt", ENOTDIR}};
    const DeferredFlush deferred;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        AtomicFile file;
        EXPECT_FALSE(file.Open(dir / c.target));
        EXPECT_EQ(file.Error(), c.error);
        EXPECT_TRUE(file.Refusal().empty());
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plain"}));
}

}  // namespace
