// Files named as the game names them, with a backslash before the file name; folders; replacing
// a file in one step.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/gorvendal-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // The game's name of a path in the test folder: "FOLDER\name".
    std::string gamePath(const std::string& name) const { return folder.string() + "\\" + name; }
    std::string contents(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
};

TEST_F(FilesTest, BackslashIsAFolderSeparator) {
    ASSERT_TRUE(plat::makeDirectory(gamePath("sauv").c_str()));
    EXPECT_TRUE(fs::is_directory(folder / "sauv"));
    std::FILE* file = plat::openFile(gamePath("sauv\\ABCDE.SAV").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("1\n", file);
    std::fclose(file);
    EXPECT_EQ(contents(folder / "sauv" / "ABCDE.SAV"), "1\n");
    EXPECT_EQ(plat::openFile(gamePath("sauv\\MISSING.SAV").c_str(), "r"), nullptr);
}

TEST_F(FilesTest, MakeDirectoryIsTrueWhenTheFolderIsThere) {
    EXPECT_TRUE(plat::makeDirectory(gamePath("sauv").c_str()));
    EXPECT_TRUE(plat::makeDirectory(gamePath("sauv").c_str()));  // already there
    std::ofstream(folder / "plain") << "x";
    EXPECT_FALSE(plat::makeDirectory(gamePath("plain").c_str()));  // a file in the way
    EXPECT_FALSE(plat::makeDirectory(gamePath("no\\such\\parent").c_str()));
}

TEST_F(FilesTest, ReplaceAndRemove) {
    std::ofstream(folder / "old.SAV") << "old";
    std::ofstream(folder / "new.tmp") << "new";
    ASSERT_TRUE(plat::replaceFile(gamePath("new.tmp").c_str(), gamePath("old.SAV").c_str()));
    EXPECT_EQ(contents(folder / "old.SAV"), "new");
    EXPECT_FALSE(fs::exists(folder / "new.tmp"));
    // Into a place where nothing was yet.
    std::ofstream(folder / "other.tmp") << "other";
    ASSERT_TRUE(plat::replaceFile(gamePath("other.tmp").c_str(), gamePath("fresh.SAV").c_str()));
    EXPECT_EQ(contents(folder / "fresh.SAV"), "other");
    EXPECT_FALSE(plat::replaceFile(gamePath("gone.tmp").c_str(), gamePath("old.SAV").c_str()));
    EXPECT_EQ(contents(folder / "old.SAV"), "new");
    EXPECT_TRUE(plat::removeFile(gamePath("old.SAV").c_str()));
    EXPECT_FALSE(plat::removeFile(gamePath("old.SAV").c_str()));
}

}  // namespace
