// Copies 200 item folders (about 300 MB, files from 1 KB to 20 MB) with the copy engine, its
// progress shown on a window thread, and compares it with `cp -r` of the same tree in the same
// run.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "output/CopyEngine.h"
#include "support/FakePorts.h"
#include "support/FakeThreadPorts.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kItems = 200;
constexpr int kRounds = 7;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

class Random {
  public:
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Between low and high, evenly on a log scale, as file sizes spread.
    std::uint64_t size(double low, double high) {
        const double t = next() / 4294967296.0;
        return static_cast<std::uint64_t>(low * std::pow(high / low, t));
    }

  private:
    std::uint32_t state_ = 2463534242u;
};

void WriteFile(const fs::path& path, std::uint64_t size, Random& random) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        const std::uint32_t word = random.next();
        std::memcpy(bytes.data() + i, &word, sizeof word);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
}

// Most items are a preview picture and a few small files, some in a subfolder; every eleventh
// carries a large asset. Gives the total size.
std::uint64_t MakeWorkshop(const fs::path& workshop) {
    Random random;
    std::uint64_t total = 0;
    const auto add = [&](const fs::path& path, std::uint64_t size) {
        WriteFile(path, size, random);
        total += size;
    };
    for (int item = 0; item < kItems; ++item) {
        const fs::path folder = workshop / std::to_string(400000000 + item);
        fs::create_directories(folder / "Assets");
        add(folder / (folder.filename().string() + ".jpg"), random.size(50 << 10, 300 << 10));
        add(folder / (folder.filename().string() + ".info.txt"), random.size(20 << 10, 120 << 10));
        for (int k = 0; k < 4; ++k) {
            add(folder / "Assets" / ("part" + std::to_string(k) + ".crp"),
                random.size(1 << 10, 64 << 10));
        }
        if (item % 11 == 0) add(folder / "Assets" / "model.crp", random.size(10 << 20, 20 << 20));
    }
    return total;
}

double CopyWithCp(const fs::path& workshop, const fs::path& target) {
    const std::string command = "cp -r '" + workshop.string() + "' '" + target.string() + "'";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cp failed\n");
    return Seconds(start);
}

double CopyWithEngine(const fs::path& workshop, const fs::path& target, std::string& summary) {
    using namespace kestavel;
    test::FakeItemList list;
    for (const auto& entry : fs::directory_iterator(workshop)) {
        list.appendRow(
            {GbkText::fromAscii("1"), GbkText::fromAscii(entry.path().filename().string())});
        list.setPicked(list.rowCount() - 1, true);
    }
    test::FakeTextBox workshopBox(workshop.string());
    test::FakeTextBox resultBox;
    test::FakeTextBox progressBox;
    progressBox.keepsHistory = false;
    test::FakeProgressBar overallBar;
    test::FakeProgressBar fileBar;
    test::FakeButton button;
    test::ScriptedDialogs dialogs;
    test::FakeWindowPoster poster;
    fs::create_directories(target);
    dialogs.paths.push_back(target.string());
    dialogs.answers.push_back(true);
    CopyEngine engine(CopyWindow{.variant = CopyVariant::Main,
                                 .list = list,
                                 .workshopFolder = workshopBox,
                                 .resultBox = resultBox,
                                 .overallBar = overallBar,
                                 .fileBar = fileBar,
                                 .copyButton = button,
                                 .dialogs = dialogs,
                                 .poster = poster,
                                 .progressBox = &progressBox},
                      CopyPacing{.closingPause = std::chrono::milliseconds(0)});
    const auto start = Clock::now();
    engine.start();
    // This thread plays the window thread: it shows every change the worker posts.
    poster.pumpUntil([&] { return button.enabled; });
    const double seconds = Seconds(start);
    summary = progressBox.value;
    return seconds;
}

}  // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / "kestavel-copy-bench";
    fs::remove_all(root);
    const fs::path workshop = root / "workshop";
    const std::uint64_t total = MakeWorkshop(workshop);
    std::printf("%d item folders, %.0f MB\n", kItems, static_cast<double>(total) / 1e6);

    std::vector<double> cp;
    std::vector<double> engine;
    std::string summary;
    for (int round = 0; round < kRounds; ++round) {
        // Each copy starts with no writes of the one before it still pending.
        fs::remove_all(root / "cp");
        fs::remove_all(root / "engine");
        std::system("sync");
        cp.push_back(CopyWithCp(workshop, root / "cp"));
        std::system("sync");
        engine.push_back(CopyWithEngine(workshop, root / "engine", summary));
    }
    std::sort(cp.begin(), cp.end());
    std::sort(engine.begin(), engine.end());
    const double cpMedian = cp[cp.size() / 2];
    const double engineMedian = engine[engine.size() / 2];
    std::printf("cp -r:       best %.3f s, median %.3f s\n", cp.front(), cpMedian);
    std::printf("copy engine: best %.3f s, median %.3f s\n", engine.front(), engineMedian);
    std::printf("ratio of medians %.2f, of bests %.2f (target at most 1.3)\n",
                engineMedian / cpMedian, engine.front() / cp.front());
    std::printf("engine summary: %s\n", summary.c_str());
    fs::remove_all(root);
    return 0;
}
