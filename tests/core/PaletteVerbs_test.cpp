// huebench palette list | export | import, driven through the verb dispatcher with string streams.
#include "TempFolder.h"
#include "VerbRun.h"

namespace fs = std::filesystem;

namespace
{

class PaletteVerbsTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        fs::copy(HUEBENCH_FACTORY_DATA, folder(), fs::copy_options::recursive);
    }

    VerbRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", folder().string(), "palette"});
        return runVerb(args);
    }
};

TEST_F(PaletteVerbsTest, ListShowsFileKindCountAndTitleOfEveryPalette)
{
    writeFile("c1.rgb", "FF000000FF00");
    const VerbRun listed = run({"list"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_TRUE(listed.out.starts_with("mycolor.rgb\t0\t")) << listed.out;
    EXPECT_NE(listed.out.find("\nc1.rgb\t0\t2\t"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\nrecent.rgb\t2\t0\t"), std::string::npos) << listed.out;
    EXPECT_FALSE(exists("recent.rgb")); // listing creates nothing
}

TEST_F(PaletteVerbsTest, ImportedFileExportsInItsOwnOrder)
{
    writeFile("brand.gpl", "GIMP Palette\nName: Brand\n255 0 0\n0 0 999\n0 0 255\n");
    const VerbRun imported = run({"import", (folder() / "brand.gpl").string(), "--title", "Mine"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(imported.out.starts_with("c10.rgb\t2 colors imported into \"Mine\".\n1 line "))
        << imported.out;
    EXPECT_EQ(run({"export", "Mine", "--format", "txt"}).out, "// Mine\n#FF0000\n#0000FF\n");
    const VerbRun written =
        run({"export", "c10.rgb", "--format", "css", "-o", (folder() / "out.css").string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(readFile("out.css"), ":root {\n  --mine-1: #ff0000;\n  --mine-2: #0000ff;\n}\n");
}

TEST_F(PaletteVerbsTest, BadArgumentsAndFilesEndWithTheirStatusAndOneMessage)
{
    writeFile("broken.ase", "ASEF");
    const std::string index = readFile("colorchart.cci");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string named; // what the message names
    } cases[] = {
        {{}, 2, "list, export or import"},
        {{"rename"}, 2, "rename"},
        {{"export", "My Colors", "--format", "png"}, 2, "png"},
        {{"export", "No Such", "--format", "gpl"}, 2, "No Such"},
        {{"export", "My Colors"}, 2, "--format"},
        {{"export", "--bogus", "--format", "gpl"}, 2, "unexpected argument '--bogus'"},
        {{"import"}, 2, "FILE"},
        {{"import", (folder() / "broken.ase").string()}, 2, "offset 0"},
        {{"import", (folder() / "missing.gpl").string()}, 1, "missing.gpl"},
        {{"export", "My Colors", "--format", "gpl", "-o", "/nonexistent/x.gpl"}, 1, "x.gpl"},
    };
    for (const auto& c : cases) {
        const VerbRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.named;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile("colorchart.cci"), index);
}

} // namespace
