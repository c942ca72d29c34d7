// The layout tool run on the book's prose: it reproduces the committed book,
// word index and chapter titles byte for byte, mends what the line format
// cannot hold, and refuses an incomplete book folder without writing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class LayBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = fs::temp_directory_path() / ("varnet-laybook-" + std::string(info->name()) + "-" +
                                             std::to_string(static_cast<long long>(::getpid())));
        fs::remove_all(work_);
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    // Runs the tool; its messages land in work_/messages.
    int run(const fs::path& bookFolder, const fs::path& out) {
        const std::string command = std::string("'") + VARNET_LAYBOOK + "' '" + bookFolder.string() + "' '" +
                                    out.string() + "' > '" + (work_ / "messages").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string messages() const { return readBytes(work_ / "messages"); }

    // A copy of the prose to spoil.
    fs::path copyOfTheProse() {
        const fs::path copy = work_ / "book";
        fs::copy(fs::path(VARNET_SOURCE_DIR) / "data" / "book", copy, fs::copy_options::recursive);
        return copy;
    }

    fs::path work_;
};

}  // namespace

TEST_F(LayBookTest, ReproducesTheCommittedFiles) {
    const fs::path data = fs::path(VARNET_SOURCE_DIR) / "data";
    ASSERT_EQ(run(data / "book", work_ / "out"), 0) << messages();
    for (const char* file : {"fable.txt", "fable.qdx", "book/chapters.txt"}) {
        const std::string made = readBytes(work_ / "out" / file);
        const std::string committed = readBytes(data / file);
        ASSERT_FALSE(made.empty()) << file;
        // Not EXPECT_EQ on the whole text: a failure should name the first
        // differing line, not print 600 kB.
        if (made != committed) {
            std::size_t at = 0;
            while (at < made.size() && at < committed.size() && made[at] == committed[at]) ++at;
            const auto line = std::count(made.begin(), made.begin() + static_cast<std::ptrdiff_t>(at), '\n');
            ADD_FAILURE() << file << " differs from the tool's output from line " << line + 1
                          << "; run the target varnet_laybook_update and commit the result";
        }
    }
}

TEST_F(LayBookTest, MendsCharactersTheFormatCannotHold) {
    const fs::path folder = copyOfTheProse();
    const fs::path chapter = folder / "chapter03.txt";
    std::string text = readBytes(chapter);
    const auto end = text.find('\n', text.find("\n\n") + 2);  // end of the first paragraph
    text.insert(end, " A bar | and a tab\there.");
    std::ofstream(chapter, std::ios::binary) << text;

    ASSERT_EQ(run(folder, work_ / "out"), 0) << messages();
    EXPECT_NE(messages().find("chapter03.txt:3: a bar replaced by '/'"), std::string::npos) << messages();
    // The phrases read again as prose: codes and tags removed, lines joined.
    std::istringstream book(readBytes(work_ / "out" / "fable.txt"));
    std::string line, prose;
    while (std::getline(book, line)) {
        if (line.size() < 3 || line[0] != 'l') continue;
        std::string words;
        for (std::size_t i = 3; i < line.size(); ++i) {
            if (line[i] == '|')
                i = line.find('>', i);
            else
                words += line[i];
        }
        prose += words;
    }
    EXPECT_NE(prose.find("A bar / and a tab here."), std::string::npos);
}

TEST_F(LayBookTest, RefusesAnIncompleteBookWithoutWriting) {
    const fs::path prose = copyOfTheProse();
    fs::remove(prose / "chapter24.txt");
    EXPECT_EQ(run(prose, work_ / "out"), 1);
    EXPECT_NE(messages().find("chapter24.txt"), std::string::npos) << messages();
    EXPECT_FALSE(fs::exists(work_ / "out" / "fable.txt"));
}
