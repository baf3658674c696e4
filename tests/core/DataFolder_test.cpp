#include "app/DataFolder.h"

#include "TempFolder.h"

#include <stdexcept>

TEST(DataFolder, OnlyPlainNamesAreFiles)
{
    for (const char* good : {"recent.rgb", "c12.rgb", "a b.rgb", ".hidden", "..x"})
        EXPECT_TRUE(isPlainFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "../x.rgb", "/etc/passwd", "sub/x.rgb", "a\\b"})
        EXPECT_FALSE(isPlainFileName(bad)) << bad;
    EXPECT_FALSE(isPlainFileName(std::string_view("a\0b", 3)));
    EXPECT_THROW(dataFilePath("/tmp", "../x"), std::runtime_error);
    EXPECT_EQ(dataFilePath("/data", "c1.rgb"), std::filesystem::path("/data/c1.rgb"));
}

class DataFolderChoiceTest : public TempFolderTest
{
};

TEST_F(DataFolderChoiceTest, CommandLineThenEnvironmentThenExecutableThenUser)
{
    DataFolderInputs in{"/cli", "/env", folder(), "/user"};
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::CommandLine);
    in.commandLine.reset();
    EXPECT_EQ(chooseDataFolder(in).folder, "/env");
    in.environment.reset();
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::User); // no index beside the program
    writeFile("colorchart.cci", "");
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::Executable);
}

TEST_F(DataFolderChoiceTest, SeedingNeverOverwritesTheUsersFiles)
{
    const auto factory = folder() / "factory";
    const auto user = folder() / "user" / "huebench";
    std::filesystem::create_directories(factory);
    writeFile("factory/mycolor.rgb", "FF0000");
    writeFile("factory/colorchart.cci", "factory");
    seedDataFolder(user, factory);
    EXPECT_EQ(readFile("user/huebench/mycolor.rgb"), "FF0000");
    writeFile("user/huebench/mycolor.rgb", "00FF0000FF00");
    writeFile("factory/mycolor.rgb", "NEWNEW");
    seedDataFolder(user, factory);
    EXPECT_EQ(readFile("user/huebench/mycolor.rgb"), "00FF0000FF00");
    EXPECT_EQ(readFile("user/huebench/colorchart.cci"), "factory");
}
