#include "output/CopyEngine.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "output/CopyTarget.h"
#include "output/ItemTree.h"
#include "platform/CodePage.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"

namespace kestavel {
namespace {

// Columns of a list row: MainWindow and EditWindow show 序号 and 编码 first; a picture's only
// text is its 编码.
constexpr int kNumberColumn = 0;
constexpr int kCodeColumn = 1;
constexpr int kPictureCodeColumn = 0;

// What the worker needs, taken on the window thread before it starts; nothing else is shared.
struct CopyJob {
    std::string workshopFolder;
    std::string target;
    std::vector<std::string> ids;
};

// The worker's side of the window: every change is posted to the window thread, and nothing is
// posted once the window has abandoned the copy. Bar values are gathered and shown at most once
// per interval, since each post wakes the window thread and thousands of small files would keep
// it from anything else; a text, the summary and the end show the latest values first.
class CopyReport {
  public:
    CopyReport(const CopyWindow& window, const std::atomic<bool>& silent,
               std::chrono::milliseconds barInterval)
        : variant_(window.variant),
          resultBox_(&window.resultBox),
          progressBox_(window.progressBox),
          overallBar_(&window.overallBar),
          fileBar_(&window.fileBar),
          copyButton_(&window.copyButton),
          poster_(&window.poster),
          silent_(&silent),
          barInterval_(barInterval) {}

    bool silent() const { return silent_->load(); }

    void stage(std::string text) {
        if (variant_ == CopyVariant::Picture) return append(std::move(text));
        showBarValues(true);
        post([box = progressBox_, text = std::move(text)] { box->setText(text); });
    }
    void append(std::string text) {
        showBarValues(true);
        post([box = resultBox_, text = std::move(text)] { box->append(text); });
    }
    void showBars() {
        post([overall = overallBar_, file = fileBar_] {
            overall->setVisible(true);
            file->setVisible(true);
        });
    }
    void restartOverall(std::size_t maximum) {
        showBarValues(true);
        post([bar = overallBar_, maximum = BarNumber(maximum)] {
            bar->setValue(0);
            bar->setMaximum(maximum);
        });
        overall_ = {};
    }
    void overall(std::size_t value) {
        overall_.wanted = BarNumber(value);
        showBarValues(false);
    }
    void filePercent(int percent) {
        file_.wanted = percent;
        showBarValues(false);
    }
    void summary(const std::string& text) {
        if (variant_ == CopyVariant::Picture) return append("\r\n" + text);
        showBarValues(true);
        post([box = progressBox_, text] { box->setText(text); });
        append("\r\n\r\n" + text);
    }
    void enableButton() {
        showBarValues(true);
        post([button = copyButton_] { button->setEnabled(true); });
    }
    // After the closing pause: MainWindow hides its progress display, the others empty the bars.
    void reset() {
        if (variant_ == CopyVariant::Main) {
            post([box = progressBox_, overall = overallBar_, file = fileBar_] {
                box->setVisible(false);
                overall->setVisible(false);
                file->setVisible(false);
            });
        } else {
            post([overall = overallBar_, file = fileBar_] {
                overall->setValue(0);
                file->setValue(0);
            });
        }
    }

  private:
    // A bar's value as last posted and as the copy now stands.
    struct BarValue {
        int shown = 0;
        int wanted = 0;
        bool changed() const { return wanted != shown; }
    };

    static int BarNumber(std::size_t value) {
        return value > INT32_MAX ? INT32_MAX : static_cast<int>(value);
    }
    void post(std::function<void()> work) {
        if (!silent()) poster_->post(std::move(work));
    }
    void showBarValues(bool now) {
        if (!overall_.changed() && !file_.changed()) return;
        const auto time = std::chrono::steady_clock::now();
        if (!now && time - lastBarPost_ < barInterval_) return;
        lastBarPost_ = time;
        post([overallBar = overallBar_, fileBar = fileBar_, overall = overall_, file = file_] {
            if (overall.changed()) overallBar->setValue(overall.wanted);
            if (file.changed()) fileBar->setValue(file.wanted);
        });
        overall_.shown = overall_.wanted;
        file_.shown = file_.wanted;
    }

    CopyVariant variant_;
    TextBox* resultBox_;
    TextBox* progressBox_;
    ProgressBar* overallBar_;
    ProgressBar* fileBar_;
    Button* copyButton_;
    WindowPoster* poster_;
    const std::atomic<bool>* silent_;
    std::chrono::milliseconds barInterval_;
    std::chrono::steady_clock::time_point lastBarPost_{};
    BarValue overall_;
    BarValue file_{-1, -1};
};

// Waits out the closing pause; false when the thread is asked to end meanwhile.
bool PauseUnlessEnded(std::chrono::milliseconds pause, std::stop_token end) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, end, pause, [] { return false; });
}

void RunCopy(const CopyJob& job, CopyReport report, std::stop_token copyStop,
             std::stop_token threadEnd, std::chrono::milliseconds closingPause) {
    report.stage("正在统计所有文件/文件夹...");
    ItemTree tree;
    for (const std::string& id : job.ids) {
        if (IsItemFolderName(id)) GatherItemTree(job.workshopFolder, id, tree, copyStop);
    }
    // Whether a stop cut the copy short; the summary then says so.
    bool cut = copyStop.stop_requested();

    report.stage("正在创建所需文件夹...");
    report.showBars();
    report.restartOverall(job.ids.size() + tree.folders.size());
    std::size_t step = 0;
    // A folder that cannot be made is passed over: the files below it fail and are listed.
    for (const std::string& id : job.ids) {
        if (copyStop.stop_requested()) {
            cut = true;
            break;
        }
        if (IsItemFolderName(id)) CreateDirectory(JoinPath(job.target, id));
        report.overall(++step);
    }
    for (const std::string& folder : tree.folders) {
        if (copyStop.stop_requested()) {
            cut = true;
            break;
        }
        CreateDirectory(JoinPath(job.target, folder));
        report.overall(++step);
    }

    report.stage("文件复制中...");
    report.restartOverall(tree.files.size());
    std::size_t copied = 0;
    std::vector<std::string> failed;
    const CopyProgress progress = [&report](std::uint64_t done, std::uint64_t total) {
        report.filePercent(PercentDone(done, total));
    };
    for (const std::string& file : tree.files) {
        const std::string source = JoinPath(job.workshopFolder, file);
        const CopyResult result =
            CopyFileInChunks(source, JoinPath(job.target, file), progress, copyStop);
        if (result == CopyResult::Stopped) {
            cut = true;
            break;
        }
        if (result == CopyResult::Copied) {
            ++copied;
        } else {
            failed.push_back(source);
        }
        report.overall(copied + failed.size());
    }
    if (report.silent()) return;

    const std::string counts = "成功复制文件" + std::to_string(copied) + "个，失败：" +
                               std::to_string(failed.size()) + "个。";
    report.summary((cut ? "复制已停止！" : "复制完毕！") + counts);
    if (!failed.empty()) {
        std::string lines = "\r\n失败文件：\r\n";
        for (std::size_t m = 0; m < failed.size(); ++m) {
            lines += std::to_string(m + 1) + "." + failed[m] + "\r\n";
        }
        report.append(std::move(lines));
    }
    report.enableButton();
    // A copy started during the pause takes over the controls; this one then leaves them be.
    if (PauseUnlessEnded(closingPause, threadEnd)) report.reset();
}

}  // namespace

CopyEngine::CopyEngine(CopyWindow window, CopyPacing pacing) : window_(window), pacing_(pacing) {}

CopyEngine::~CopyEngine() {
    abandon();
}

void CopyEngine::start() {
    if (running()) return;
    const bool picture = window_.variant == CopyVariant::Picture;

    std::string target;
    if (picture && window_.defaultTarget->isChecked() && !window_.targetFolderBox->text().empty()) {
        target = window_.targetFolderBox->text();
    } else {
        target = window_.dialogs.chooseFolder("选择要复制到的文件夹").value_or("");
        if (target.empty()) {
            window_.dialogs.message("未选择要复制到的文件夹，按确定键返回。");
            return;
        }
        if (picture) window_.targetFolderBox->setText(target);
    }

    CopyJob job;
    std::string numbers;
    const ItemList& list = window_.list;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.isPicked(row)) continue;
        job.ids.push_back(GbkToUtf8(list.cell(row, picture ? kPictureCodeColumn : kCodeColumn)));
        if (picture) continue;
        if (!numbers.empty()) numbers += "，";
        numbers += GbkToUtf8(list.cell(row, kNumberColumn));
    }
    const std::string count = std::to_string(job.ids.size());
    window_.resultBox.append(picture ? "\r\n当前共选择MOD个数：" + count
                                     : "\r\n\r\n当前共选择MOD个数：" + count + "\r\n序号是：" +
                                           numbers);

    job.workshopFolder = window_.workshopFolder.text();
    job.target = target;
    if (auto refusal = CopyTargetRefusal(target, job.workshopFolder, job.ids)) {
        window_.dialogs.message(*refusal);
        return;
    }
    if (!window_.dialogs.confirm("已选择" + count + "个MOD，复制到" + target +
                                 "下，将覆盖原有文件，是否继续？")) {
        return;
    }
    window_.resultBox.append("\r\n复制到：" + target);
    if (window_.progressBox) window_.progressBox->setVisible(true);

    window_.copyButton.setEnabled(false);
    // A copy still in its closing pause ends here, leaving the progress display to this one.
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    copyStop_ = std::stop_source();
    worker_ = std::jthread(
        [job = std::move(job), report = CopyReport(window_, silent_, pacing_.barInterval),
         copyStop = copyStop_.get_token(), pause = pacing_.closingPause](
            std::stop_token threadEnd) { RunCopy(job, report, copyStop, threadEnd, pause); });
}

void CopyEngine::stop() {
    copyStop_.request_stop();
}

bool CopyEngine::askToStop() {
    if (!running() || !window_.dialogs.askYesNo("正在复制文件中，是否停止复制？")) return false;
    stop();
    return true;
}

bool CopyEngine::allowClose() {
    if (!running()) return true;
    if (!window_.dialogs.askYesNo("正在复制文件中，是否强制关闭？")) return false;
    abandon();
    return true;
}

void CopyEngine::abandon() {
    silent_ = true;
    copyStop_.request_stop();
    worker_.request_stop();
}

}  // namespace kestavel
