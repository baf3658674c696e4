#include "app/SeedDataFolder.h"

#include "TempFolder.h"
#include "palette/PaletteStore.h"

#include <fstream>

namespace fs = std::filesystem;

using DataFolderChoiceTest = TempFolderTest;

TEST_F(DataFolderChoiceTest, CommandLineThenEnvironmentThenExecutableThenUser)
{
    DataFolderInputs in{"/cli", "/env", folder(), "/user"};
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::CommandLine);
    in.commandLine.reset();
    EXPECT_EQ(chooseDataFolder(in).folder, "/env");
    in.environment = std::string(); // an empty variable counts as unset
    // The executable's folder needs the index file: other data files do not make it one.
    writeFile("colorset.dat", "");
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::User);
    EXPECT_EQ(chooseDataFolder(in).folder, "/user");
    fs::create_directory(folder() / "colorchart.cci");
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::User);
    fs::remove(folder() / "colorchart.cci");
    writeFile("colorchart.cci", "");
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::Executable);
}

TEST_F(DataFolderChoiceTest, ANamedFolderIsAFolderOrCanBeMadeInAnExistingParent)
{
    writeFile("file", "");
    const struct {
        std::string name;
        bool usable;
    } cases[] = {{"", true},      {"new", true},      {"new/", true},
                 {"file", false}, {"no/such", false}, {"file/new", false}};
    for (const auto& c : cases) {
        const auto problem = namedDataFolderProblem(folder() / c.name);
        EXPECT_EQ(!problem, c.usable) << c.name;
        if (problem) {
            EXPECT_NE(problem->find((folder() / c.name).string()), std::string::npos) << *problem;
        }
    }
}

// A factory folder in "factory" and a user folder "user/huebench" seeded from it.
class SeedingTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        fs::create_directories(folder() / "factory");
        writeFile("factory/colorchart.cci", crlf({"mycolor.rgb", "My Colors", "0", "recent.rgb",
                                                  "Recent Colors", "2", "c1.rgb", "Grays", "0"}));
        writeFile("factory/mycolor.rgb", "FF0000");
        writeFile("factory/c1.rgb", "000000808080");
        writeFile("factory/set.hcs", "Plain\r\n");
    }
    fs::path factory() const { return folder() / "factory"; }
    fs::path user() const { return folder() / "user" / "huebench"; }
    void seed() const { seedDataFolder(user(), factory()); }
    std::vector<std::string> userIndexFiles() const
    {
        std::vector<std::string> files;
        for (const auto& entry : PaletteStore(user()).ReadChartIndex())
            files.push_back(entry.file + "|" + entry.title + "|" + entry.kind);
        return files;
    }
    void addFactoryPalette(const std::string& file, const std::string& title)
    {
        writeFile("factory/" + file, "123456");
        std::ofstream(factory() / "colorchart.cci", std::ios::binary | std::ios::app)
            << file << "\r\n"
            << title << "\r\n0\r\n";
    }
};

TEST_F(SeedingTest, TheFirstStartCopiesEveryFactoryFileAndLaterOnesKeepTheUsersFiles)
{
    seed();
    for (const char* name : {"colorchart.cci", "mycolor.rgb", "c1.rgb", "set.hcs"})
        EXPECT_EQ(readFile(std::string("user/huebench/") + name),
                  readFile(std::string("factory/") + name))
            << name;
    EXPECT_FALSE(exists("user/huebench/recent.rgb"));

    // Later starts never overwrite nor bring back the user's files.
    writeFile("user/huebench/mycolor.rgb", "00FF0000FF00"); // the user's colors
    fs::remove(user() / "c1.rgb");                          // a palette the user cleared
    fs::remove(user() / "set.hcs");                         // a file the user deleted
    writeFile("factory/mycolor.rgb", "NEWNEW");             // an upgrade changes a factory file
    seed();
    EXPECT_EQ(readFile("user/huebench/mycolor.rgb"), "00FF0000FF00");
    EXPECT_FALSE(exists("user/huebench/c1.rgb"));
    EXPECT_FALSE(exists("user/huebench/set.hcs"));
}

TEST_F(SeedingTest, AnUpgradeAddsANewFactoryPaletteOnceButNeverUnderTheNameOfTheUsersOwn)
{
    seed();
    PaletteStore(user()).AppendChartEntry("c2.rgb", "Mine, cleared"); // listed, file deleted
    writeFile("user/huebench/c3.rgb", "ABCDEF");                      // a file, not listed
    addFactoryPalette("c2.rgb", "Pastels");
    addFactoryPalette("c3.rgb", "Neons");
    addFactoryPalette("c4.rgb", "Brights");
    writeFile("factory/huebench.html", "<html>help</html>");
    seed();
    EXPECT_FALSE(exists("user/huebench/c2.rgb"));
    EXPECT_EQ(readFile("user/huebench/c3.rgb"), "ABCDEF");
    EXPECT_EQ(readFile("user/huebench/c4.rgb"), "123456");
    EXPECT_EQ(readFile("user/huebench/huebench.html"), "<html>help</html>");
    const std::vector<std::string> expected{"mycolor.rgb|My Colors|0", "recent.rgb|Recent Colors|2",
                                            "c1.rgb|Grays|0", "c2.rgb|Mine, cleared|1",
                                            "c4.rgb|Brights|1"};
    EXPECT_EQ(userIndexFiles(), expected);

    // Removed by the user (entry deleted, file cleared): it stays away.
    PaletteStore(user()).DeleteChart(5);
    PaletteStore(user()).ClearChartFile("c4.rgb");
    seed();
    EXPECT_FALSE(exists("user/huebench/c4.rgb"));
    EXPECT_EQ(userIndexFiles().size(), 4u);
}

TEST_F(SeedingTest, AFolderFilledBeforeKeepsItsFilesAndWithoutFactoryDataNothingIsSeeded)
{
    seedDataFolder(user(), folder() / "missing");
    EXPECT_FALSE(exists("user"));
    fs::create_directories(user());
    writeFile("user/huebench/colorchart.cci", "mycolor.rgb\r\nMine\r\n0\r\n");
    seed();
    EXPECT_EQ(readFile("user/huebench/colorchart.cci"), "mycolor.rgb\r\nMine\r\n0\r\n");
    EXPECT_EQ(readFile("user/huebench/c1.rgb"), "000000808080");
    fs::remove_all(folder() / "user");
    writeFile("user", "a file where the folder must be");
    expectThrowNaming([&] { seed(); }, user().string());
}
