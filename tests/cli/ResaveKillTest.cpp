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

} // namespace

TEST(ResaveKill, EveryCatalogueFileIsWholeOldOrWholeNew)
{
    // VORBIX_KILL_PROGRAMS sets the size: larger for a longer run by hand, smaller under the
    // sanitizers, where starting the program costs most of each of the 200 runs.
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

    restore();
    const double load = SecondsToRun({"--appdir", dir.path(), "info"});
    const double whole = SecondsToRun(resave);
    const std::string newPrograms = test::ReadAll(programsPath);
    const std::string newOptions = test::ReadAll(optionsPath);
    ASSERT_TRUE(newPrograms.size() > oldPrograms.size() && newOptions.size() > oldOptions.size());

    // 200 kill points spread from shortly before the save starts to past its end.
    constexpr int kPoints = 200;
    const double from = load * 0.8;
    const double to = whole * 1.1;
    int oldSeen = 0;
    int newSeen = 0;
    int leftoversSeen = 0;
    for (int i = 0; i < kPoints; ++i) {
        restore();
        const pid_t pid = StartCli(resave);
        std::this_thread::sleep_for(std::chrono::duration<double>(from + (to - from) * i / (kPoints - 1)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string programsNow = test::ReadAll(programsPath);
        const std::string optionsNow = test::ReadAll(optionsPath);
        ASSERT_TRUE(programsNow == oldPrograms || programsNow == newPrograms)
            << "kill point " << i << ": programs file of " << programsNow.size() << " bytes";
        ASSERT_TRUE(optionsNow == oldOptions || optionsNow == newOptions)
            << "kill point " << i << ": options file of " << optionsNow.size() << " bytes";
        (programsNow == newPrograms ? newSeen : oldSeen)++;

        // A temporary file the kill left behind goes with the next save of the same file,
        // once it is older than a write could be at its start.
        std::vector<std::filesystem::path> leftovers;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Data"))
            if (entry.path().filename().string().find(".vbxtmp-") != std::string::npos)
                leftovers.push_back(entry.path());
        if (!leftovers.empty()) {
            ++leftoversSeen;
            for (const auto& leftover : leftovers)
                std::filesystem::last_write_time(leftover,
                    std::filesystem::last_write_time(leftover) - std::chrono::minutes(1));
            SecondsToRun(resave);
            for (const auto& leftover : leftovers)
                EXPECT_FALSE(std::filesystem::exists(leftover)) << "kill point " << i << ": " << leftover;
        }
    }
    std::cout << programs << " programs, load " << load << " s, resave " << whole << " s; programs file old at "
              << oldSeen << " and new at " << newSeen << " of " << kPoints << " kill points, " << leftoversSeen
              << " leaving a temporary file\n";
}
