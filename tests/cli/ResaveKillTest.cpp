// vorbix-cli resave killed at many points while it saves a large catalogue: each catalogue
// file is always the whole old file or the whole new one, never a mixture or a part.

#include "catalogue/Main_LoadSaveUnit.h"
#include "support/Builders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vorbix;
using vorbix::test::TempDir;
using Clock = std::chrono::steady_clock;

namespace {

// Starts vorbix-cli with the arguments; its output goes nowhere.
pid_t StartCli(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {VORBIX_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

double SecondsToRun(const std::vector<std::string>& args)
{
    const auto start = Clock::now();
    int status = 0;
    ::waitpid(StartCli(args), &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Watches a folder for the first temporary file a save creates in it.
class TemporaryFileWatch {
public:
    explicit TemporaryFileWatch(const std::string& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(fd_, 0);
        EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_CREATE), 0);
    }
    ~TemporaryFileWatch() { ::close(fd_); }
    TemporaryFileWatch(const TemporaryFileWatch&) = delete;
    TemporaryFileWatch& operator=(const TemporaryFileWatch&) = delete;

    // True once a file of a name with the temporary mark was created, false after 5 s.
    bool Wait() const
    {
        alignas(inotify_event) char buffer[4096];
        pollfd readable{fd_, POLLIN, 0};
        while (::poll(&readable, 1, 5000) > 0) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && std::string(event->name).find(".vbxtmp-") != std::string::npos)
                    return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return false;
    }

private:
    int fd_;
};

} // namespace

TEST(ResaveKill, EveryCatalogueFileIsWholeOldOrWholeNew)
{
    // VORBIX_KILL_PROGRAMS sets the size: larger for a longer run by hand, smaller under the
    // sanitizers, where starting the program costs most of each run.
    const char* sizeText = std::getenv("VORBIX_KILL_PROGRAMS");
    const int programs = sizeText != nullptr ? std::atoi(sizeText) : 20000;
    TempDir dir;
    Catalogue catalogue = test::CatalogueIn(dir.path());
    for (int i = 0; i < programs; ++i) {
        ProgramRecord p = test::MakeProgram("Publisher " + std::to_string(i % 97), "Program " + std::to_string(i),
            "Game", "/games/p" + std::to_string(i) + ".ssd");
        p.Comments = {"A comment about program " + std::to_string(i)};
        catalogue.ProgramList.push_back(std::move(p));
    }
    catalogue.EmuList.resize(3);
    // The old files have LF line ends, so the files resave writes (CR LF) differ from them.
    auto withLf = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    };
    const std::string oldPrograms = withLf(ProgramsFileBytes(catalogue));
    const std::string oldOptions = withLf(OptionsFileBytes(catalogue));
    const std::string programsPath = dir / "Data/programs.xml";
    const std::string optionsPath = dir / "Data/options.xml";
    auto restore = [&] {
        std::filesystem::create_directories(dir / "Data");
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Data"))
            std::filesystem::remove(entry.path());
        test::WriteAll(programsPath, oldPrograms);
        test::WriteAll(optionsPath, oldOptions);
    };
    const std::vector<std::string> resave = {"--appdir", dir.path(), "resave"};

    // One whole resave: how long it takes from its first temporary file to its end.
    restore();
    double save = 0;
    {
        const TemporaryFileWatch watch(dir / "Data");
        const pid_t pid = StartCli(resave);
        ASSERT_TRUE(watch.Wait());
        const auto saveStart = Clock::now();
        int status = 0;
        ::waitpid(pid, &status, 0);
        save = std::chrono::duration<double>(Clock::now() - saveStart).count();
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string newPrograms = test::ReadAll(programsPath);
    const std::string newOptions = test::ReadAll(optionsPath);
    ASSERT_TRUE(newPrograms.size() > oldPrograms.size() && newOptions.size() > oldOptions.size());

    // Kill points from the moment the first temporary file appears to the end of the save,
    // so that most of them land while a file is being written; the last lets the save end
    // (a loaded machine may save more slowly than the measured run).
    constexpr int kPoints = 30;
    constexpr int kCleanUpsChecked = 5;
    int oldSeen = 0;
    int newSeen = 0;
    int leftoversSeen = 0;
    for (int i = 0; i < kPoints; ++i) {
        restore();
        {
            const TemporaryFileWatch watch(dir / "Data");
            const pid_t pid = StartCli(resave);
            EXPECT_TRUE(watch.Wait()) << "kill point " << i << ": no temporary file";
            if (i + 1 < kPoints) {
                std::this_thread::sleep_for(std::chrono::duration<double>(save * i / (kPoints - 1)));
                ::kill(pid, SIGKILL);
            }
            ::waitpid(pid, nullptr, 0);
        }
        const std::string programsNow = test::ReadAll(programsPath);
        const std::string optionsNow = test::ReadAll(optionsPath);
        ASSERT_TRUE(programsNow == oldPrograms || programsNow == newPrograms)
            << "kill point " << i << ": programs file of " << programsNow.size() << " bytes";
        ASSERT_TRUE(optionsNow == oldOptions || optionsNow == newOptions)
            << "kill point " << i << ": options file of " << optionsNow.size() << " bytes";
        (programsNow == newPrograms ? newSeen : oldSeen)++;

        std::vector<std::filesystem::path> leftovers;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Data"))
            if (entry.path().filename().string().find(".vbxtmp-") != std::string::npos)
                leftovers.push_back(entry.path());
        if (leftovers.empty())
            continue;
        // The kill landed while a file was being written. A temporary file it left behind
        // goes with the next save of the same file, once it is older than a write could be
        // at its start.
        if (++leftoversSeen > kCleanUpsChecked)
            continue;
        for (const auto& leftover : leftovers)
            std::filesystem::last_write_time(leftover,
                std::filesystem::last_write_time(leftover) - std::chrono::minutes(1));
        SecondsToRun(resave);
        for (const auto& leftover : leftovers)
            EXPECT_FALSE(std::filesystem::exists(leftover)) << "kill point " << i << ": " << leftover;
    }
    std::cout << programs << " programs, save " << save << " s; programs file old at " << oldSeen << " and new at "
              << newSeen << " of " << kPoints << " kill points, " << leftoversSeen << " leaving a temporary file\n";
    // Kills during a write happened (about a third of them on a quiet machine), and the
    // save that was let end wrote the new files.
    EXPECT_GE(leftoversSeen, 1);
    EXPECT_GT(newSeen, 0);
}
