#include "storage/AtomicFile.h"

#include "TempFolder.h"

#include <stdexcept>

class AtomicFileTest : public TempFolderTest
{
};

TEST_F(AtomicFileTest, RewriteReplacesContentAndLeavesNoTemporary)
{
    writeFile("a.rgb", "old content that is longer");
    rewriteFile(folder() / "a.rgb", folder() / "a.rgb.tmp", "new");
    EXPECT_EQ(readFile("a.rgb"), "new");
    EXPECT_FALSE(exists("a.rgb.tmp"));
}

TEST_F(AtomicFileTest, StaleLongerTemporaryIsTruncatedBeforeUse)
{
    writeFile("a.rgb.tmp", "FFFFFFFFFFFFFFFFFFFFFFFF");
    rewriteFile(folder() / "a.rgb", folder() / "a.rgb.tmp", "000000");
    EXPECT_EQ(readFile("a.rgb"), "000000");
}

TEST_F(AtomicFileTest, AbandonedRewriteKeepsTheOriginal)
{
    writeFile("a.rgb", "keep");
    {
        AtomicRewrite rewrite(folder() / "a.rgb", folder() / "a.rgb.tmp");
        rewrite.write("half");
    }
    EXPECT_EQ(readFile("a.rgb"), "keep");
    EXPECT_FALSE(exists("a.rgb.tmp"));
}

TEST_F(AtomicFileTest, FailuresNameTheFile)
{
    // A folder standing where the temporary file must go cannot be opened for writing,
    // even by root.
    std::filesystem::create_directory(folder() / "a.rgb.tmp");
    writeFile("a.rgb", "keep");
    try {
        rewriteFile(folder() / "a.rgb", folder() / "a.rgb.tmp", "new");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("a.rgb.tmp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile("a.rgb"), "keep");
    EXPECT_THROW(appendToFile(folder() / "missing" / "x.rgb", "x"), std::runtime_error);
}

TEST_F(AtomicFileTest, AppendCreatesThenExtends)
{
    appendToFile(folder() / "b.rgb", "1A2B3C");
    appendToFile(folder() / "b.rgb", "FFFFFF");
    EXPECT_EQ(readFile("b.rgb"), "1A2B3C"
                                 "FFFFFF");
}
